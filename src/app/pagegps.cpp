#include "app/pagegps.h"

#include "app/libelles.h"
#include "geo/calage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

#include <cmath>

namespace {

template <class W> W* place(W* w, const char* nom, int x, int y, int l, int h) {
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(x, y, l, h);
    return w;
}

QString nombre(double v, int decimales) {
    return QString::number(v, 'f', decimales).replace(u'.', u',');
}

} // namespace

std::optional<std::pair<double, double>> litlatlon(const QString& texte) {
    static const QRegularExpression n(QStringLiteral("-?\\d+(?:[.,]\\d+)?"));
    QList<double> v;
    for (auto it = n.globalMatch(texte); it.hasNext();) {
        bool ok = false;
        v << it.next().captured().replace(u',', u'.').toDouble(&ok);
        if (!ok) return std::nullopt;
    }
    if (v.size() != 2 || std::abs(v[0]) > 90 || std::abs(v[1]) > 180) return std::nullopt;
    return std::pair{v[0], v[1]};
}

PageGps::PageGps(Libelles& t, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageGps"));
    importe = place(new QPushButton(this), "gpximporte", 4, 4, 173, 25);
    t.texte(importe, 190, QStringLiteral("Importer un tracé GPX"));
    t.bulle(importe, 191,
            QStringLiteral("Le tracé devient la route (GPX d'un téléphone ou d'une montre)"));
    t.texte(place(new QLabel(this), "gpstitre", 4, 34, 90, 21), 192,
            QStringLiteral("Placer la carte :"));
    fichiercalage = place(new QPushButton(this), "gpsfichiercalage", 100, 32, 77, 25);
    t.texte(fichiercalage, 193, QStringLiteral("Fichier"));
    t.bulle(fichiercalage, 194,
            QStringLiteral("Le fichier de calage à côté de la carte (.wld, .bpw, .pgw, .jgw, .tfw "
                           "et .prj) ou une carte GeoTIFF"));
    etatcalage = place(new QLabel(this), "gpsetatcalage", 4, 58, 173, 28);
    etatcalage->setWordWrap(true);
    amers = place(new QListWidget(this), "gpsamers", 4, 88, 173, 58);
    t.bulle(amers, 195,
            QStringLiteral("Points de calage : pixel = latitude, longitude (écart en pixels)"));
    latlon = place(new QLineEdit(this), "gpslatlon", 4, 150, 96, 23);
    t.indication(latlon, 196, QStringLiteral("lat, lon"));
    t.bulle(latlon, 197,
            QStringLiteral("Latitude et longitude du point, en degrés (45,832 6,865)"));
    amerclic = place(new QPushButton(this), "gpsamerclic", 102, 149, 75, 25);
    t.texte(amerclic, 198, QStringLiteral("Sur la carte"));
    amerclic->setCheckable(true);
    t.bulle(amerclic, 199,
            QStringLiteral("Puis cliquer ce lieu sur la carte. Deux points ou plus placent la "
                           "carte"));
    retire = place(new QPushButton(this), "gpsretire", 4, 176, 173, 23);
    t.texte(retire, 200, QStringLiteral("Retirer le point"));

    allure = place(new QCheckBox(this), "gpsallure", 4, 206, 173, 19);
    t.texte(allure, 201, QStringLiteral("À l'heure du tracé"));
    t.bulle(allure, 202, QStringLiteral("Le film avance comme l'heure des points du tracé"));
    t.texte(place(new QLabel(this), "gpspausetexte", 20, 228, 80, 21), 203,
            QStringLiteral("Arrêts au plus"));
    pause = place(new QSpinBox(this), "gpspause", 100, 228, 77, 21);
    pause->setRange(0, MAXPAUSE);
    pause->setSuffix(QStringLiteral(" s"));
    t.special(pause, 204, QStringLiteral("sans limite"));
    distance = place(new QCheckBox(this), "gpsdistance", 4, 256, 110, 19);
    t.texte(distance, 205, QStringLiteral("Vraie distance"));
    t.bulle(distance, 206,
            QStringLiteral("La légende compte la distance parcourue (kms ou miles)"));
    decimales = place(new QSpinBox(this), "gpsdecimales", 120, 255, 57, 21);
    decimales->setRange(0, MAXDECIMALES);
    t.suffixe(decimales, 207, QStringLiteral(" déc."));
    t.bulle(decimales, 208, QStringLiteral("Décimales de la distance"));
    echelle = place(new QPushButton(this), "gpsechelle", 4, 280, 80, 23);
    t.texte(echelle, 209, QStringLiteral("Échelle"));
    echelle->setCheckable(true);
    t.bulle(echelle, 210,
            QStringLiteral("Cliquer les deux bouts de la barre d'échelle de la carte : la "
                           "distance se mesure alors sur la carte"));
    echellekm = place(new QDoubleSpinBox(this), "gpsechellekm", 88, 281, 89, 21);
    echellekm->setRange(0, 100000);
    echellekm->setDecimals(3);
    echellekm->setSuffix(QStringLiteral(" km"));
    t.bulle(echellekm, 211, QStringLiteral("La longueur de la barre d'échelle"));
    temps = place(new QCheckBox(this), "gpstemps", 4, 308, 80, 19);
    t.texte(temps, 212, QStringLiteral("Temps"));
    vitesse = place(new QCheckBox(this), "gpsvitesse", 90, 308, 87, 19);
    t.texte(vitesse, 213, QStringLiteral("Vitesse"));
    altitude = place(new QCheckBox(this), "gpsaltitude", 4, 328, 80, 19);
    t.texte(altitude, 214, QStringLiteral("Altitude"));
    profil = place(new QCheckBox(this), "gpsprofil", 90, 328, 87, 19);
    t.texte(profil, 215, QStringLiteral("Profil"));
    t.bulle(profil, 216,
            QStringLiteral("Le profil d'altitude en bas du film, le point courant marqué"));

    setMinimumHeight(HAUTEUR);
    rejeu = place(new QLabel(this), "gpsrejeu", 4, 356, 173, 19);
    ajoutepiste = place(new QPushButton(this), "gpsajoutepiste", 4, 376, 173, 25);
    pistes = place(new QTableWidget(0, 3, this), "gpspistes", 4, 404, 173, 130);
    pistes->verticalHeader()->hide();
    pistes->horizontalHeader()->setMinimumSectionSize(16);
    pistes->setColumnWidth(0, 34);
    pistes->setColumnWidth(1, 78);
    pistes->horizontalHeader()->setStretchLastSection(true);
    pistes->verticalHeader()->setDefaultSectionSize(20);
    pistes->setSelectionMode(QAbstractItemView::SingleSelection);
    depart = place(new QComboBox(this), "gpsdepart", 4, 538, 173, 22);
    textequeue = place(new QLabel(this), "gpsqueuetexte", 4, 564, 60, 21);
    queue = place(new QSpinBox(this), "gpsqueue", 70, 564, 107, 21);
    queue->setRange(0, static_cast<int>(MAXQUEUE));
    queue->setSuffix(QStringLiteral(" s"));
    classement = place(new QCheckBox(this), "gpsclassement", 4, 590, 173, 19);
    suivi = place(new QComboBox(this), "gpssuivi", 4, 614, 173, 22);
    traduis(nullptr);
}

void PageGps::montre(const Etat& e, const std::vector<double>& residus) {
    const ReglagesGeo& g = e.geo;
    const QSignalBlocker b[] = {
        QSignalBlocker(allure),    QSignalBlocker(pause),     QSignalBlocker(distance),
        QSignalBlocker(decimales), QSignalBlocker(echellekm), QSignalBlocker(temps),
        QSignalBlocker(vitesse),   QSignalBlocker(altitude),  QSignalBlocker(profil)};
    const Calage& c = g.calage;
    if (!c.place)
        etatcalage->setText(c.amers.empty()
                                ? traduit(e, 217, QStringLiteral("Carte non placée"))
                                : traduit(e, 218, QStringLiteral("Un point : en placer un autre")));
    else if (c.amers.size() >= MINCONTROLE)
        etatcalage->setText(
            traduit(e, 219, QStringLiteral("Placée par %1 points")).arg(c.amers.size()));
    else if (!c.amers.empty())
        etatcalage->setText(traduit(e, 1207,
                                    QStringLiteral("Placée par %1 points (contrôle à "
                                                   "partir de %2)"))
                                .arg(c.amers.size())
                                .arg(MINCONTROLE));
    else
        etatcalage->setText(traduit(e, 220, QStringLiteral("Placée par son fichier de calage")));
    const int selection = amers->currentRow();
    amers->clear();
    for (std::size_t i = 0; i < c.amers.size(); ++i) {
        const Amer& a = c.amers[i];
        QString t = QStringLiteral("%1,%2 = %3 ; %4")
                        .arg(std::lround(a.x))
                        .arg(std::lround(a.y))
                        .arg(nombre(a.lat, 5), nombre(a.lon, 5));
        if (i < residus.size()) t += QStringLiteral(" (%1 px)").arg(nombre(residus[i], 1));
        amers->addItem(t);
    }
    if (selection >= 0 && selection < amers->count()) amers->setCurrentRow(selection);
    allure->setChecked(g.allure);
    pause->setValue(g.pause);
    distance->setChecked(g.distance);
    decimales->setValue(g.decimales);
    echellekm->setValue(g.echmetres / 1000.0);
    temps->setChecked(g.temps);
    vitesse->setChecked(g.vitesse);
    altitude->setChecked(g.altitude);
    profil->setChecked(g.profil);

    const Rejeu& r = e.rejeu;
    const QSignalBlocker bloque[] = {QSignalBlocker(pistes), QSignalBlocker(depart),
                                     QSignalBlocker(queue), QSignalBlocker(classement),
                                     QSignalBlocker(suivi)};
    pistes->setRowCount(static_cast<int>(r.pistes.size()));
    for (int k = 0; k < pistes->rowCount(); ++k) {
        const Piste& p = r.pistes[static_cast<std::size_t>(k)];
        auto* montre = new QTableWidgetItem;
        montre->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        montre->setCheckState(p.montre ? Qt::Checked : Qt::Unchecked);
        montre->setBackground(
            QColor(p.couleur & 0xff, (p.couleur >> 8) & 0xff, (p.couleur >> 16) & 0xff));
        pistes->setItem(k, 0, montre);
        pistes->setItem(k, 1, new QTableWidgetItem(p.nom));
        pistes->setItem(
            k, 2,
            new QTableWidgetItem(nombre(p.decalage, p.decalage == std::round(p.decalage) ? 0 : 1)));
    }
    depart->setCurrentIndex(r.depart == Depart::COMMUN ? 1 : 0);
    queue->setValue(static_cast<int>(std::lround(r.queue)));
    classement->setChecked(r.classement);
    suivi->setCurrentIndex(r.suivi == Suivi::TOUTES ? 1 : r.suivi == Suivi::TETE ? 2 : 0);
    for (QWidget* w : std::initializer_list<QWidget*>{pistes, depart, queue, classement, suivi})
        w->setEnabled(r.actif());
}

void PageGps::traduis(const Etat* etat) {
    // The replay's captions from the language table in force, in French without one.
    const auto traduit = [etat](int n, const QString& f) {
        return etat ? ::traduit(*etat, n, f) : f;
    };
    rejeu->setText(traduit(1210, QStringLiteral("Rejeu de plusieurs tracés :")));
    ajoutepiste->setText(traduit(1211, QStringLiteral("Ajouter un tracé")));
    ajoutepiste->setToolTip(traduit(
        1212, QStringLiteral("Chaque tracé ajouté avance à sa propre heure, dans sa couleur")));
    pistes->setHorizontalHeaderLabels({QString(), traduit(1213, QStringLiteral("Nom")),
                                       traduit(1214, QStringLiteral("Décalage"))});
    pistes->setToolTip(
        traduit(1215, QStringLiteral("Case : montré, double clic sur la couleur pour la "
                                     "changer, décalage en secondes (départ en handicap)")));
    const QSignalBlocker b1(depart), b2(suivi);
    const int d = depart->currentIndex(), s = suivi->currentIndex();
    depart->clear();
    depart->addItems({traduit(1216, QStringLiteral("À l'heure de chacun")),
                      traduit(1217, QStringLiteral("Départ commun"))});
    depart->setCurrentIndex(std::max(d, 0));
    textequeue->setText(traduit(1218, QStringLiteral("Queue")));
    queue->setSpecialValueText(traduit(1219, QStringLiteral("tout le tracé")));
    classement->setText(traduit(1220, QStringLiteral("Classement")));
    classement->setToolTip(
        traduit(1221, QStringLiteral("Nom, distance ou temps, écart au premier, placé "
                                     "à la position de la légende")));
    suivi->clear();
    suivi->addItems({traduit(1222, QStringLiteral("Caméra : images clés")),
                     traduit(1223, QStringLiteral("Caméra : toutes les têtes")),
                     traduit(1224, QStringLiteral("Caméra : la tête de course"))});
    suivi->setCurrentIndex(std::max(s, 0));
}
