// The page "GPS": a track imported as the route, the map placed on the Earth by its world file or
// by clicked points, the film's pace and the legend's true distance.
#include "app/pagegps.h"
#include "app/tform1.h"
#include "app/travail.h"

#include "geo/calage.h"
#include "geo/distance.h"
#include "geo/gpx.h"
#include "project/gps.h"
#include "timeline/temps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

void TForm1::connectegps() {
    PageGps* p = pagegps;
    connect(p->importe, &QPushButton::clicked, this, &TForm1::gpsimporteClick);
    connect(p->fichiercalage, &QPushButton::clicked, this, &TForm1::gpsfichiercalageClick);
    connect(p->retire, &QPushButton::clicked, this, &TForm1::gpsretireClick);
    // Arming one kind of click disarms the other.
    connect(p->amerclic, &QPushButton::toggled, this, [this](bool arme) {
        if (arme) pagegps->echelle->setChecked(false);
    });
    connect(p->echelle, &QPushButton::toggled, this, [this](bool arme) {
        echpremier = false;
        if (arme) pagegps->amerclic->setChecked(false);
    });
    for (QCheckBox* c : {p->allure, p->distance, p->temps, p->vitesse, p->altitude, p->profil})
        connect(c, &QCheckBox::toggled, this, &TForm1::gpsreglageChange);
    for (QSpinBox* s : {p->pause, p->decimales})
        connect(s, &QSpinBox::valueChanged, this, &TForm1::gpsreglageChange);
    connect(p->echellekm, &QDoubleSpinBox::valueChanged, this, &TForm1::gpsechellekmChange);
    connect(p->ajoutepiste, &QPushButton::clicked, this, &TForm1::gpsajoutepisteClick);
    connect(p->pistes, &QTableWidget::cellChanged, this, &TForm1::gpspisteChange);
    connect(p->pistes, &QTableWidget::cellDoubleClicked, this, &TForm1::gpspisteCouleur);
    // Lists chosen by the user only: code that selects an entry runs nothing.
    connect(p->depart, &QComboBox::activated, this, &TForm1::gpsrejeuChange);
    connect(p->suivi, &QComboBox::activated, this, &TForm1::gpsrejeuChange);
    connect(p->queue, &QSpinBox::valueChanged, this, &TForm1::gpsrejeuChange);
    connect(p->classement, &QCheckBox::toggled, this, &TForm1::gpsrejeuChange);
}

void TForm1::montregps() {
    pagegps->montre(*etat, residus(etat->geo.calage));
}

void TForm1::gpsimporteClick() {
    if (sanscarte()) return;
    const std::optional<QString> fichier =
        dialogues.ouvrir(QStringLiteral("Tracé GPS|*.gpx;*.GPX"), etat->dossiercarte);
    if (!fichier) return;
    dernieregpx = *fichier;
    // A big track is read and placed on a copy of the project away from the window's thread;
    // the copy, once done, becomes the project.
    if (QFileInfo(*fichier).size() >= seuilgpx) {
        auto copie = std::make_shared<Etat>(*etat);
        travail().lance(traduit(*etat, 363, QStringLiteral("Import du tracé GPS")),
                        [this, copie, gpx = *fichier](const Avance&) -> Travail::Suite {
                            auto r = std::make_shared<ImportGps>(
                                importegps(*copie, gpx, std::nullopt, copie->geo.allure));
                            return [this, copie, r] {
                                if (std::holds_alternative<Importation>(*r))
                                    *etat = std::move(*copie);
                                fingps(*r);
                            };
                        });
        return;
    }
    fingps(importegps(*etat, *fichier, std::nullopt, etat->geo.allure));
}

void TForm1::fingps(const ImportGps& r) {
    if (const auto* erreur = std::get_if<QString>(&r)) {
        dialogues.erreur(*erreur);
        if (!etat->geo.calage.place)
            affiche(
                QStringLiteral("Pour placer la carte : taper la latitude et la longitude d'un lieu "
                               "(ou @1, @fin : le début, la fin du tracé), cliquer « Sur la "
                               "carte », puis ce lieu sur la carte ; deux lieux ou plus."),
                -1);
        return;
    }
    const Importation& i = std::get<Importation>(r);
    QStringList texte{QStringLiteral("Tracé importé : %1 points, %2 tronçon(s), %3 km.")
                          .arg(i.points)
                          .arg(i.segments)
                          .arg(QString::number(i.longueur / 1000, 'f', 1).replace(u'.', u','))};
    texte << i.messages;
    affiche(texte.join(u'\n'), -1);
    synchro();
    TLChange(etat->tl);
}

void TForm1::gpsfichiercalageClick() {
    if (sanscarte()) return;
    const LectureCalage l = calagecarte(etat->dossiercarte + etat->fichiercarte);
    if (const auto* erreur = std::get_if<ErreurGeo>(&l)) {
        dialogues.erreur(erreur->message);
        return;
    }
    etat->geo.calage = std::get<Calage>(l);
    montregps();
    if (geovalide(*etat))
        affiche(QStringLiteral("Carte placée. Importer de nouveau le tracé pour le placer ainsi."),
                -1);
}

bool TForm1::cliquegps(int x, int y) {
    PageGps* p = pagegps;
    if (!p->amerclic->isChecked() && !p->echelle->isChecked()) return false;
    if (sanscarte()) return true;
    // The film may be zoomed: the map pixel under the click.
    const QPoint m = verscarte(x, y);
    const double mx = m.x() + etat->ascl, my = m.y() + etat->asch;
    if (p->echelle->isChecked()) {
        if (!echpremier) {
            echx = mx;
            echy = my;
            echpremier = true;
            return true;
        }
        ReglagesGeo& g = etat->geo;
        g.echx1 = echx;
        g.echy1 = echy;
        g.echx2 = mx;
        g.echy2 = my;
        // A length not given yet: the scale waits for it.
        g.echmetres = p->echellekm->value() * 1000;
        p->echelle->setChecked(false);
        montregps();
        redessine();
        return true;
    }
    // One click, one point: whatever comes of it, the next click is the tracer's again.
    p->amerclic->setChecked(false);
    auto ll = litlatlon(p->latlon->text());
    // "@N": where the track last chosen passes.
    if (const auto n = nompoint(p->latlon->text())) {
        if (dernieregpx.isEmpty()) {
            affiche(QStringLiteral("Choisir d'abord le tracé avec « Importer un tracé GPX »"), -1);
            return true;
        }
        const LectureGpx l = chargegpx(dernieregpx);
        if (const auto* erreur = std::get_if<ErreurGeo>(&l)) {
            dialogues.erreur(erreur->message);
            return true;
        }
        const auto pt = pointtrace(std::get<TraceGps>(l), *n);
        if (!pt) {
            affiche(QStringLiteral("Le tracé n'a pas de point %1 : il en a %2")
                        .arg(*n)
                        .arg(std::get<TraceGps>(l).nbpoints),
                    -1);
            return true;
        }
        ll = std::pair{pt->lat, pt->lon};
    }
    if (!ll) {
        affiche(QStringLiteral("Donner d'abord la latitude et la longitude du point, en degrés "
                               "(par exemple 45,832 ; 6,865)"),
                -1);
        return true;
    }
    Calage& c = etat->geo.calage;
    std::vector<Amer> amers = c.place && c.amers.empty() ? std::vector<Amer>{} : c.amers;
    if (amers.size() >= MAXAMERS) return true;
    amers.push_back({mx, my, ll->first, ll->second});
    p->latlon->clear();
    if (amers.size() < 2) {
        c = Calage{};
        c.amers = amers;
    } else {
        const LectureCalage l = ajuste(amers);
        if (const auto* erreur = std::get_if<ErreurGeo>(&l)) {
            affiche(erreur->message, -1);
            return true;
        }
        c = std::get<Calage>(l);
    }
    montregps();
    return true;
}

void TForm1::gpsretireClick() {
    Calage& c = etat->geo.calage;
    const int i = pagegps->amers->currentRow();
    if (i < 0 || i >= static_cast<int>(c.amers.size())) return;
    std::vector<Amer> amers = c.amers;
    amers.erase(amers.begin() + i);
    const LectureCalage l = ajuste(amers);
    if (const auto* fait = std::get_if<Calage>(&l)) {
        c = *fait;
    } else {
        c = Calage{};
        c.amers = amers;
    }
    montregps();
}

void TForm1::gpsreglageChange() {
    const PageGps* p = pagegps;
    ReglagesGeo& g = etat->geo;
    const bool rythme = g.allure != p->allure->isChecked() || g.pause != p->pause->value();
    g.allure = p->allure->isChecked();
    g.pause = p->pause->value();
    g.distance = p->distance->isChecked();
    g.decimales = p->decimales->value();
    g.temps = p->temps->isChecked();
    g.vitesse = p->vitesse->isChecked();
    g.altitude = p->altitude->isChecked();
    g.profil = p->profil->isChecked();
    if (rythme) {
        calculimages(*etat);
        TLChange(etat->tl);
        return;
    }
    redessine();
}

void TForm1::gpsechellekmChange(double km) {
    etat->geo.echmetres = km * 1000;
    redessine();
}

void TForm1::gpsajoutepisteClick() {
    if (sanscarte()) return;
    // The first track of a replay takes the route's place.
    if (!etat->rejeu.actif() && etat->nbpt >= 0 &&
        !dialogues.confirmation(traduit(*etat, 1225,
                                        QStringLiteral("Le rejeu remplace la route. "
                                                       "Continuer ?"))))
        return;
    const std::optional<QString> fichier =
        dialogues.ouvrir(QStringLiteral("Tracé GPS|*.gpx;*.GPX"), etat->dossiercarte);
    if (!fichier) return;
    OptionsRejeu o;
    o.ajoute = true;
    const auto r = importerejeu(*etat, {*fichier}, o, std::nullopt);
    if (const auto* erreur = std::get_if<QString>(&r)) {
        dialogues.erreur(*erreur);
        return;
    }
    QStringList texte;
    for (const Importation& i : std::get<std::vector<Importation>>(r)) {
        texte << traduit(*etat, 1226, QStringLiteral("Tracé ajouté : %1 points, %2 km."))
                     .arg(i.points)
                     .arg(decimalfr(i.longueur / 1000, 1));
        texte << i.messages;
    }
    affiche(texte.join(u'\n'), -1);
    synchro();
    montregps();
    TLChange(etat->tl);
}

void TForm1::gpspisteChange(int ligne, int colonne) {
    Rejeu& r = etat->rejeu;
    if (ligne < 0 || ligne >= static_cast<int>(r.pistes.size())) return;
    Piste& p = r.pistes[static_cast<std::size_t>(ligne)];
    const QTableWidgetItem* c = pagegps->pistes->item(ligne, colonne);
    if (!c) return;
    if (colonne == 0) {
        p.montre = c->checkState() == Qt::Checked;
    } else if (colonne == 1) {
        // A name stands on one line of the file.
        p.nom = c->text().simplified();
    } else {
        bool ok = false;
        const double v = QString(c->text()).replace(u',', u'.').toDouble(&ok);
        if (ok && std::isfinite(v) && std::abs(v) <= MAXQUEUE) p.decalage = v;
        montregps();
    }
    // What is shown and when each starts change the film's clock.
    calculimages(*etat);
    TLChange(etat->tl);
}

void TForm1::gpspisteCouleur(int ligne, int colonne) {
    Rejeu& r = etat->rejeu;
    if (colonne != 0 || ligne < 0 || ligne >= static_cast<int>(r.pistes.size())) return;
    const std::optional<Couleur> c = dialogues.couleur();
    if (!c) return;
    Piste& p = r.pistes[static_cast<std::size_t>(ligne)];
    p.couleur = *c;
    for (int i = p.premier; i <= p.dernier && i <= etat->nbpt; ++i)
        etat->ptcoul[static_cast<std::size_t>(i)] = *c;
    montregps();
    redessine();
}

void TForm1::gpsrejeuChange() {
    const PageGps* p = pagegps;
    Rejeu& r = etat->rejeu;
    r.depart = p->depart->currentIndex() == 1 ? Depart::COMMUN : Depart::HEURE;
    r.queue = p->queue->value();
    if (p->classement->isChecked() && !r.classement) {
        // Where the legend would stand, under it when it is shown.
        r.classx = etat->xt;
        r.classy = etat->yt + (etat->montre ? 2 * Surface::hauteurligne(etat->police) : 0);
    }
    r.classement = p->classement->isChecked();
    const int s = p->suivi->currentIndex();
    r.suivi = s == 1 ? Suivi::TOUTES : s == 2 ? Suivi::TETE : Suivi::CLES;
    calculimages(*etat);
    TLChange(etat->tl);
}
