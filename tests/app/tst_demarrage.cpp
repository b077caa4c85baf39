// The window as it opens: every control in its place with its caption and range, the start-up
// film, the language choice file, the message routine, the about and versions boxes, closing.
#include "aide_fenetre.h"

#include "app/glyphes.h"
#include "app/hautbas.h"
#include "app/vue.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QString texte(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* l = qobject_cast<QLineEdit*>(w)) return l->text();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) return m->toPlainText();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        QStringList lignes;
        for (int i = 0; i < l->count(); ++i)
            lignes.append(l->item(i)->text());
        return lignes.join(QLatin1Char('|'));
    }
    return {};
}

// Minimum, maximum and position; for a check box or radio button 0, 1 and its state.
QList<int> bornes(QWidget* w) {
    if (auto* s = qobject_cast<QAbstractSlider*>(w))
        return {s->minimum(), s->maximum(), s->value()};
    if (auto* h = qobject_cast<HautBas*>(w)) return {h->minimum(), h->maximum(), h->value()};
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
        return {0, 1, b->isChecked() ? 1 : 0};
    return {};
}

QStringList lignes(const QString& t) {
    return t.split(QLatin1Char('\n'));
}

} // namespace

class TstDemarrage : public QObject {
    Q_OBJECT
  private slots:
    void controles_data();
    void controles();
    void pagesEtFenetre();
    void filmDeDepart();
    void boutonsDImages();
    void langueIniCreeAvecDeux();
    void langueIniExistantGarde();
    void languesDuFichier();
    void routineDesMessages();
    void aPropos();
    void versions();
    void fermerTermineLeProgramme_data();
    void fermerTermineLeProgramme();
    void changementsDeCodeSeulementPourLesValeurs();
};

void TstDemarrage::controles_data() {
    QTest::addColumn<QString>("classe");
    QTest::addColumn<QString>("dans");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("bulle");
    QTest::addColumn<QString>("aide");
    QTest::addColumn<QList<int>>("bornes");
    QTest::addColumn<bool>("cache");

    const auto ligne = [](const char* nom, const char* classe, const char* dans, QRect place,
                          const QString& texte = {}, const QString& bulle = {},
                          const QString& aide = {}, QList<int> bornes = {}, bool cache = false) {
        QTest::newRow(nom) << QString::fromLatin1(classe) << QString::fromLatin1(dans) << place
                           << texte << bulle << aide << bornes << cache;
    };
    const QString u;
    // Main area.
    ligne("fond", "Vue", "Form1", {0, 0, 720, 576});
    ligne("Ascl", "QScrollBar", "Form1", {0, 576, 721, 16}, u, u, u, {0, 100, 0});
    ligne("Asch", "QScrollBar", "Form1", {720, 0, 16, 577}, u, u, u, {0, 100, 0});
    ligne("Button10", "QPushButton", "Form1", {744, 0, 60, 25}, "A propos");
    ligne("Button13", "QPushButton", "Form1", {803, 0, 57, 25}, "Versions");
    ligne("Button1", "QPushButton", "Form1", {856, 0, 75, 25}, "Fermer", "Fermer");
    ligne("langue", "QComboBox", "Form1", {830, 32, 97, 21}, "Français");
    ligne(
        "Memo3", "QPlainTextEdit", "Form1", {744, 64, 185, 49},
        "Création d'un film avec un vialume \nen mouvement. \nBonus : Effet d'écriture de texte.");
    ligne("Joue", "QToolButton", "Form1", {744, 120, 25, 25}, u, u, "Jouer");
    ligne("stop", "QToolButton", "Form1", {768, 120, 25, 25}, u, u, "Stop");
    ligne("Wtl", "QLineEdit", "Form1", {792, 120, 41, 21}, "00:00", u, "temps courant");
    ligne("Debut", "QToolButton", "Form1", {832, 120, 25, 25}, u, u, "Début");
    ligne("pred", "QToolButton", "Form1", {856, 120, 25, 25}, u, u, "Précédent");
    ligne("suiv", "QToolButton", "Form1", {880, 120, 25, 25}, u, u, "Suivant");
    ligne("dern", "QToolButton", "Form1", {904, 120, 25, 25}, u, u, "Fin");
    ligne("TL", "QSlider", "Form1", {740, 144, 190, 33}, u, u, "Ligne de temps", {0, 150, 0});
    ligne("Onglet2", "QTabWidget", "Form1", {741, 184, 191, 409});
    // Page "Fichier".
    ligne("Memo1", "QPlainTextEdit", "Tab10", {0, 4, 177, 53},
          "Charger un BMP\nCalculer l'vialume\nSauver et générer");
    ligne("Label3", "QLabel", "Tab10", {7, 69, 10, 24}, "1", "Charger une image");
    ligne("Charger", "QPushButton", "Tab10", {46, 68, 75, 25}, "Charger",
          "Image pour le calcul et la visualisation");
    ligne("coulr", "QLineEdit", "Tab10", {136, 72, 33, 21}, u, u, u, {}, true);
    ligne("Label14", "QLabel", "Tab10", {8, 104, 177, 13}, "La couleur vous sera demandée");
    ligne("Label4", "QLabel", "Tab10", {8, 125, 10, 24}, "2",
          "Choisir la couleur finale de la route");
    ligne("calculvia", "QPushButton", "Tab10", {24, 120, 145, 25}, "Vialume",
          "Calcul de l'vialume (début)");
    ligne("Button9", "QPushButton", "Tab10", {24, 144, 49, 25}, "Suite",
          "Calcul la suite de l'vialume");
    ligne("coulmon", "QLineEdit", "Tab10", {96, 144, 33, 21});
    ligne("Label5", "QLabel", "Tab10", {7, 173, 10, 24}, "3", "Calculer le chemin de l'vialume");
    ligne("Label2", "QLabel", "Tab10", {25, 176, 90, 13}, "CLES et OPTIONS");
    ligne("Label6", "QLabel", "Tab10", {7, 205, 10, 24}, "4", "Paramètrer l'vialume");
    ligne("Label16", "QLabel", "Tab10", {24, 208, 64, 13}, "Modif couleur");
    ligne("Label12", "QLabel", "Tab10", {31, 240, 120, 13}, "Option carte sans chemin");
    ligne("Label7", "QLabel", "Tab10", {7, 261, 10, 24}, "5", "Visualiser votre vialume");
    ligne("Button12", "QPushButton", "Tab10", {30, 260, 59, 25}, "Charger",
          "Autre BMP à l'affichage (option) même dimension que BMP calcul");
    ligne("Check", "QCheckBox", "Tab10", {104, 264, 49, 17}, "Visu", u, u, {0, 1, 1}, true);
    ligne("Label8", "QLabel", "Tab10", {7, 301, 10, 24}, "6", "Sauver les paramètres");
    ligne("sauver", "QPushButton", "Tab10", {30, 300, 75, 25}, "Sauver");
    ligne("Label11", "QLabel", "Tab10", {7, 344, 10, 24}, "7", "Exporter l'vialume");
    ligne("Button11", "QPushButton", "Tab10", {30, 344, 43, 25}, "Avi");
    ligne("Suite", "QPushButton", "Tab10", {78, 344, 43, 25}, "BmpS", "Suite de BMP");
    ligne("Button3", "QPushButton", "Tab10", {126, 344, 43, 25}, "Bmp");
    // Page "Couleur".
    ligne("Memo6", "QPlainTextEdit", "TabSheet4", {8, 8, 169, 41},
          "Permet de modifier la couleur pour \nchaque tronçon");
    ligne("Label1", "QLabel", "TabSheet4", {16, 100, 145, 13}, "Couleur de la route");
    ligne("Button8", "QPushButton", "TabSheet4", {46, 116, 75, 25}, "Couleur");
    ligne("tronson", "QComboBox", "TabSheet4", {32, 152, 97, 21});
    ligne("coultron", "QLineEdit", "TabSheet4", {128, 152, 41, 21});
    // Page "Clés".
    ligne("Memo2", "QPlainTextEdit", "tab11", {0, 0, 177, 65},
          "Régler la durée totale, IPS (les \nmodifications pertubent les images \nclés)\n"
          "Placer les images clés.");
    ligne("Label10", "QLabel", "tab11", {3, 76, 78, 13}, "Durée total (ss:ii)");
    ligne("Button4", "QToolButton", "tab11", {38, 96, 10, 10});
    ligne("Button5", "QToolButton", "tab11", {38, 106, 10, 10});
    ligne("Dmax", "QLineEdit", "tab11", {48, 96, 33, 21}, "06:00");
    ligne("Button6", "QToolButton", "tab11", {82, 96, 10, 10});
    ligne("Button7", "QToolButton", "tab11", {82, 106, 10, 10});
    ligne("NbI", "QLineEdit", "tab11", {96, 96, 33, 21}, "150");
    // A change of rate keeps the keyframes at their times: the hint says so.
    ligne("Cips", "QComboBox", "tab11", {24, 128, 129, 21}, "25 images/secondes",
          "Les images clés gardent leurs temps");
    ligne("Label9", "QLabel", "tab11", {24, 160, 100, 13}, "Liste des images clés");
    ligne("Icle", "QListWidget", "tab11", {56, 180, 65, 85}, "00:00|06:00");
    // Frame 0 carries the first keyframe.
    ligne("creerIC", "QPushButton", "tab11", {54, 272, 75, 25}, "Modifier");
    ligne("SupIC", "QPushButton", "tab11", {54, 304, 75, 25}, "Supprimer");
    // Page "Options" and its pages.
    ligne("PageControl1", "QTabWidget", "tab12", {-3, 24, 188, 361});
    ligne("Label13", "QLabel", "TabSheet1", {8, 32, 49, 13}, "Kms/Miles");
    ligne("montre", "QCheckBox", "TabSheet1", {88, 32, 73, 17}, "Actif", u, u, {0, 1, 0});
    ligne("Button2", "QPushButton", "TabSheet1", {56, 56, 73, 25}, "police");
    ligne("Label15", "QLabel", "TabSheet1", {16, 88, 61, 13}, "Nombre maxi");
    ligne("Lkm", "QLineEdit", "TabSheet1", {16, 104, 145, 21}, "0");
    ligne("GroupBox1", "QGroupBox", "TabSheet1", {56, 135, 65, 110}, "Légende");
    ligne("sans", "QRadioButton", "GroupBox1", {8, 20, 49, 17}, "sans", u, u, {0, 1, 1});
    ligne("mile", "QRadioButton", "GroupBox1", {8, 36, 49, 17}, "miles", u, u, {0, 1, 0});
    ligne("km", "QRadioButton", "GroupBox1", {8, 52, 49, 17}, "kms", u, u, {0, 1, 0});
    ligne("Autre", "QRadioButton", "GroupBox1", {8, 68, 57, 17}, "Autre", u, u, {0, 1, 0});
    ligne("txtautre", "QLineEdit", "GroupBox1", {0, 88, 65, 21});
    ligne("Yt", "QSlider", "TabSheet1", {11, 148, 38, 97}, u, u, u, {0, 576, 0});
    ligne("Xt", "QSlider", "TabSheet1", {139, 148, 33, 97}, u, u, u, {0, 720, 0});
    ligne("okombre", "QCheckBox", "TabSheet1", {8, 256, 65, 17}, "Ombre", u, u, {0, 1, 0});
    ligne("coulombre", "QLineEdit", "TabSheet1", {80, 256, 33, 21});
    ligne("Button15", "QPushButton", "TabSheet1", {112, 256, 65, 25}, "Couleur");
    ligne("Xombre", "QSlider", "TabSheet1", {0, 296, 60, 33}, u, u, u, {-6, 6, 3});
    ligne("Yombre", "QSlider", "TabSheet1", {56, 296, 60, 33}, u, u, u, {-6, 6, 3});
    ligne("Memo4", "QPlainTextEdit", "TabSheet2", {0, 24, 177, 41},
          "Permet de changer la couleur de \nl'embout");
    ligne("CheckBox1", "QCheckBox", "TabSheet2", {72, 116, 81, 17}, "Actif", u, u, {0, 1, 0});
    ligne("coulbord", "QLineEdit", "TabSheet2", {48, 144, 33, 21});
    ligne("Button14", "QPushButton", "TabSheet2", {104, 140, 73, 25}, "Couleur");
    ligne("UpDown1", "HautBas", "TabSheet2", {48, 173, 16, 24}, u, u, u, {0, 200, 0});
    ligne("bordnb", "QLineEdit", "TabSheet2", {72, 176, 33, 21});
    ligne("Memo5", "QPlainTextEdit", "TabSheet3", {0, 0, 177, 201},
          "La loupe est un BMP (300*300 pour \nmes essais en théorie libre).\n"
          "La couleur 'zoomée' est la couleur \ndu centre du dessin (le verre de la \nloupe)\n"
          "La couleur de fond est le pixel 1,1 \n(ce qui est en dehors de la loupe)\n"
          "Sur un fond NOIR dessiner une \nloupe (vert,jaune ..au choix) et le \n"
          "verre de la loupe en BLANC\nN'aime pas fleurter avec les bords\n"
          "Adoucissement chemin loupe est un \ncompromis");
    ligne("Okloupe", "QCheckBox", "TabSheet3", {8, 216, 57, 17}, "Actif", u, u, {0, 1, 0});
    ligne("Button16", "QPushButton", "TabSheet3", {72, 216, 75, 25}, "Charge");
    ligne("Label17", "QLabel", "TabSheet3", {8, 240, 27, 13}, "Zoom");
    ligne("txloupe", "QSlider", "TabSheet3", {16, 256, 150, 33}, u, u, u, {0, 100, 0});
    ligne("Label18", "QLabel", "TabSheet3", {0, 288, 172, 13}, "Taux d'adoucissement chemin loupe");
    ligne("estompe", "QSlider", "TabSheet3", {16, 304, 150, 45}, u, u, u, {1, 50, 10});
}

void TstDemarrage::controles() {
    QFETCH(QString, classe);
    QFETCH(QString, dans);
    QFETCH(QRect, place);
    QFETCH(QString, texte);
    QFETCH(QString, bulle);
    QFETCH(QString, aide);
    QFETCH(QList<int>, bornes);
    QFETCH(bool, cache);
    Banc b;
    auto* w = b->findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), classe);
    QVERIFY(w->parentWidget());
    QCOMPARE(w->parentWidget()->objectName(), dans);
    QCOMPARE(w->geometry(), place);
    QCOMPARE(::texte(w), texte);
    QCOMPARE(w->toolTip(), bulle);
    QCOMPARE(w->statusTip(), aide);
    QCOMPARE(::bornes(w), bornes);
    QCOMPARE(w->isHidden(), cache);
}

void TstDemarrage::pagesEtFenetre() {
    Banc b;
    QCOMPARE(b->windowTitle(), QStringLiteral("Vialume par M.R. V1.50"));
    QCOMPARE(b->size(), QSize(937, 599));
    // The four pages of before keep their places; the film's settings and the GPS track come
    // after them.
    const QStringList onglets = {QStringLiteral("Fichier"), QStringLiteral("Couleur"),
                                 QStringLiteral("Clés"),    QStringLiteral("Options"),
                                 QStringLiteral("Film"),    QStringLiteral("GPS")};
    QCOMPARE(b->Onglet2->count(), 6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(b->Onglet2->tabText(i), onglets[i]);
    QCOMPARE(b->Onglet2->currentWidget(), b->Tab10);
    const QStringList options = {QStringLiteral("Légende"), QStringLiteral("Embout"),
                                 QStringLiteral("Loupe")};
    QCOMPARE(b->PageControl1->count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(b->PageControl1->tabText(i), options[i]);
    QCOMPARE(b->Onglet2->widget(3), b->tab12);
    QCOMPARE(b->PageControl1->widget(2), b->TabSheet3);
    QCOMPARE(b->font().pixelSize(), 11);
    QCOMPARE(b->Label3->font().pixelSize(), 19);
    QVERIFY(!b->Timer1->isActive());
    QVERIFY(b->Dmax->isReadOnly() && b->NbI->isReadOnly() && b->Wtl->isReadOnly());
    QVERIFY(!b->Lkm->isReadOnly());
    for (QComboBox* c : {b->langue, b->Cips, b->tronson})
        QVERIFY(c->isEditable());
    QCOMPARE(Form1, b.f.get());
}

void TstDemarrage::filmDeDepart() {
    Banc b;
    const Etat& e = b.e();
    QCOMPARE(e.ips, 25);
    QCOMPARE(e.numlangue, 0);
    QVERIFY(!e.calculactif);
    QCOMPARE(e.etatcalcul, 0);
    QCOMPARE(e.nbcle, 2);
    QCOMPARE(e.nbimg, 150);
    QCOMPARE(e.imgavance[75], 500);
    QStringList taux;
    for (int i = 0; i < b->Cips->count(); ++i)
        taux.append(b->Cips->itemText(i));
    QCOMPARE(taux, (QStringList{"10 images/secondes", "12 images/secondes", "15 images/secondes",
                                "20 images/secondes", "24 images/secondes", "25 images/secondes",
                                "30 images/secondes"}));
    QCOMPARE(b->Cips->currentIndex(), 5);
    QCOMPARE(b->langue->count(), 1);
    QCOMPARE(b->Icle->currentRow(), 0);
    QVERIFY(!b->SupIC->isEnabled());
    QVERIFY(b->bordnb->text().isEmpty());
    QCOMPARE(e.dossierprog, b.dossier.path() + QLatin1Char('/'));
}

void TstDemarrage::boutonsDImages() {
    Banc b;
    QHash<QString, QImage> faces;
    for (QToolButton* t : {b->Joue, b->stop, b->Debut, b->pred, b->suiv, b->dern}) {
        QCOMPARE(t->iconSize(), QSize(25, 24));
        QVERIFY(t->toolTip().isEmpty());
        const QImage i = t->icon().pixmap(QSize(25, 24)).toImage();
        QCOMPARE(i.size(), QSize(25, 24));
        faces.insert(t->objectName(), i);
    }
    // Play and next share their face; the six symbols are otherwise all different.
    QCOMPARE(faces["Joue"], faces["suiv"]);
    const QStringList distincts = {"Joue", "stop", "Debut", "pred", "dern"};
    for (int i = 0; i < distincts.size(); ++i)
        for (int j = i + 1; j < distincts.size(); ++j)
            QVERIFY2(faces[distincts[i]] != faces[distincts[j]],
                     qPrintable(distincts[i] + " = " + distincts[j]));
    // Blue face, light symbol in the middle of the square.
    const QColor face = glyphe(Glyphe::stop).toImage().pixelColor(3, 12);
    QVERIFY(face.blue() > face.red() + 60);
    const QColor symbole = glyphe(Glyphe::stop).toImage().pixelColor(12, 12);
    QVERIFY(symbole.red() > 200 && symbole.green() > 200 && symbole.blue() > 200);
}

void TstDemarrage::langueIniCreeAvecDeux() {
    Banc b;
    QFile f(b.dossier.filePath("langue.ini"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("2\r\n"));
}

void TstDemarrage::langueIniExistantGarde() {
    QTemporaryDir dossier;
    QFile f(dossier.filePath("langue.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("4\r\n");
    f.close();
    DialoguesScript d;
    TForm1 fenetre(d, dossier.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("4\r\n"));
    // Without langue.csv there is no language column in use, and the rates are French.
    QCOMPARE(fenetre.e().numlangue, 0);
    QCOMPARE(fenetre.Cips->currentText(), QStringLiteral("25 images/secondes"));
}

void TstDemarrage::languesDuFichier() {
    QTemporaryDir dossier;
    QFile ini(dossier.filePath("langue.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("3\r\n");
    ini.close();
    QFile csv(dossier.filePath("langue.csv"));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("num;Fran\xe7"
              "ais;English;Deutsch\r\n10;Charger d'abord une image;Load a picture "
              "first;Zuerst ein Bild laden\r\n");
    csv.close();
    DialoguesScript d;
    TForm1 fenetre(d, dossier.path());
    QCOMPARE(fenetre.langue->count(), 3);
    QCOMPARE(fenetre.langue->itemText(2), QStringLiteral("Deutsch"));
    QCOMPARE(fenetre.langue->currentIndex(), 1);
    QCOMPARE(fenetre.e().numlangue, 3);
    // The rates are in the list before the film reads its rate from it.
    QCOMPARE(fenetre.Cips->count(), 7);
    QCOMPARE(fenetre.e().ips, 25);
    QCOMPARE(fenetre.NbI->text(), QStringLiteral("150"));
    QVERIFY(d.erreurs.isEmpty());
}

void TstDemarrage::routineDesMessages() {
    Banc b;
    b->affiche(QStringLiteral("Charger d'abord une image"), 10);
    b.e().textes[10] = QStringLiteral("Load a picture first");
    b->affiche(QStringLiteral("Charger d'abord une image"), 10);
    b->affiche(QStringLiteral("sans entrée"), -1);
    QCOMPARE(b.d.messages,
             (QStringList{"Charger d'abord une image", "Load a picture first", "sans entrée"}));
}

void TstDemarrage::aPropos() {
    Banc b;
    // Not translated: the table has no say in it.
    b.e().textes.fill(QStringLiteral("traduit"));
    QTest::mouseClick(b->Button10, Qt::LeftButton);
    QCOMPARE(b.d.messages.size(), 1);
    const QStringList l = lignes(b.d.messages[0]);
    QCOMPARE(l.size(), 7);
    QVERIFY(l[0].startsWith(QStringLiteral("VIALUME est écrit par ")));
    QCOMPARE(l[1], QStringLiteral("C'est un outil perso que je mets"));
    QVERIFY(l[2].startsWith(QStringLiteral("à disposition pour ")));
    QCOMPARE(l[3], QStringLiteral("Il a des anomalies (j'en connais)"));
    QVERIFY(l[4].contains(QStringLiteral("Qt")) && l[4].contains(QStringLiteral("FFmpeg")));
    QVERIFY(!b.d.messages[0].contains(QStringLiteral("directX"), Qt::CaseInsensitive));
    QVERIFY(l[5].startsWith(QStringLiteral("grace à ")) && l[5].contains(QStringLiteral(" de ")));
    QVERIFY(l[6].startsWith(QStringLiteral("Homepage: ")));
}

void TstDemarrage::versions() {
    Banc b;
    QTest::mouseClick(b->Button13, Qt::LeftButton);
    QCOMPARE(b.d.messages.size(), 1);
    QStringList l = lignes(b.d.messages[0]);
    QCOMPARE(l.size(), 20);
    QVERIFY(l.takeLast().startsWith(QStringLiteral("Doc et explications sur ")));
    QCOMPARE(l, (QStringList{"-----VERSIONS-----------------", "", "V1.50 ",
                             "    * Création AVI avec choix d'un CODEC", "V1.30 ",
                             "    * Multilanguage (ouvert pour les courageux)",
                             "    langue.csv > colonne 1 et 2 ne pas toucher",
                             "    colonne 3,4,5,6 libre (amusez-vous bien)", "V1.21 ",
                             "    * Affichage d'une loupe (ou autre je vous fais confiance)",
                             "    * Choix du texte de légende",
                             "    * Couleur différente pour chaque tronçon",
                             "    * Adoucissement chemin loupe (compromis)", "V1.11 ",
                             "    * Afficher un autre BMP que celui du calcul",
                             "    * Calcul en discontinu (pour écriture par exemple)",
                             "    * Affichage d'un embout", "Version 1.00  (je me lance)", ""}));
}

void TstDemarrage::fermerTermineLeProgramme_data() {
    QTest::addColumn<bool>("parlebouton");
    QTest::newRow("Button1") << true;
    QTest::newRow("cadre") << false;
}

void TstDemarrage::fermerTermineLeProgramme() {
    QFETCH(bool, parlebouton);
    Banc b;
    b->show();
    b->Joue->click();
    QTimer::singleShot(0, b.f.get(), [&] {
        if (parlebouton)
            QTest::mouseClick(b->Button1, Qt::LeftButton);
        else
            b->close();
    });
    // A program that did not end would be stopped with another code.
    QTimer garde;
    garde.setSingleShot(true);
    connect(&garde, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    garde.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!b->isVisible());
    QVERIFY(!b->Timer1->isActive());
    QVERIFY(b.d.messages.isEmpty() && b.d.questions.isEmpty());
}

void TstDemarrage::changementsDeCodeSeulementPourLesValeurs() {
    Banc b;
    // A check box set by code runs its handler; a combo entry selected by code runs none.
    b->montre->setChecked(true);
    QVERIFY(b.e().montre);
    b->Cips->setCurrentIndex(0);
    QCOMPARE(b.e().ips, 25);
    QCOMPARE(b->NbI->text(), QStringLiteral("150"));
}

QTEST_MAIN(TstDemarrage)
#include "tst_demarrage.moc"
