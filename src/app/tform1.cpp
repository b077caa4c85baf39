// The main window: its controls at their places, the start-up, the message routine, the about and
// versions boxes, and the copy of the project state into the controls.
#include "app/tform1.h"
#include "app/pagegps.h"

#include "app/clavier.h"
#include "app/glyphes.h"
#include "app/hautbas.h"
#include "app/lignetemps.h"
#include "app/teinte.h"
#include "app/travail.h"
#include "app/vue.h"
#include "project/cadrage.h"
#include "project/langue.h"
#include "render/afficheimg.h"
#include "route/traceur.h"
#include "timeline/temps.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <vector>

TForm1* Form1 = nullptr;

namespace {

// Outer size of the window; the client area is what is left inside a 4-pixel frame under a
// 30-pixel caption, which the controls' places fill to their last pixel.
constexpr int LARGEURFENETRE = 945;
constexpr int HAUTEURFENETRE = 633;
constexpr int LARGEURCLIENT = 937;
constexpr int HAUTEURCLIENT = 599;

const QString TITRE = QStringLiteral("Vialume par M.R. V1.50");

// Marks the controls that synchro() silences, so that Qt's own inner objects keep talking.
constexpr char CONTROLE[] = "vialume_controle";

// Background colours of the classic palette used by the layout.
constexpr int COULINFO = 24;    // info-tip background
constexpr int COULDEGRADE = 27; // active-caption gradient
constexpr int COULBOUTON = 15;  // button face
constexpr QRgb AQUA = 0xff00ffff;

template <class W, class... A>
W* cree(QWidget* parent, const char* nom, int x, int y, int l, int h, A&... avant) {
    auto* w = new W(avant..., parent);
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(x, y, l, h);
    w->setProperty(CONTROLE, true);
    return w;
}

void colore(QWidget* w, QRgb c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* etiquette(QWidget* parent, const char* nom, int x, int y, int l, int h,
                  const QString& texte) {
    auto* w = cree<QLabel>(parent, nom, x, y, l, h);
    w->setText(texte);
    return w;
}

// The aqua step numbers beside the buttons of the page "Fichier".
QLabel* etape(QWidget* parent, const char* nom, int x, int y, const QString& chiffre,
              const QString& bulle) {
    auto* w = etiquette(parent, nom, x, y, 10, 24, chiffre);
    QFont f = w->font();
    f.setPixelSize(19);
    w->setFont(f);
    colore(w, AQUA);
    w->setToolTip(bulle);
    return w;
}

QPushButton* bouton(QWidget* parent, const char* nom, int x, int y, int l, int h,
                    const QString& texte) {
    auto* w = cree<QPushButton>(parent, nom, x, y, l, h);
    w->setText(texte);
    return w;
}

QLineEdit* champtexte(QWidget* parent, const char* nom, int x, int y, int l, int h,
                      bool lectureseule) {
    auto* w = cree<QLineEdit>(parent, nom, x, y, l, h);
    w->setReadOnly(lectureseule);
    return w;
}

QPlainTextEdit* memo(QWidget* parent, const char* nom, int x, int y, int l, int h,
                     const QStringList& lignes, int couleur, bool lectureseule) {
    auto* w = cree<QPlainTextEdit>(parent, nom, x, y, l, h);
    w->setPlainText(lignes.join(QLatin1Char('\n')));
    w->setReadOnly(lectureseule);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->document()->setDocumentMargin(2);
    colore(w->viewport(), couleursysteme(couleur));
    colore(w, couleursysteme(couleur));
    return w;
}

QCheckBox* coche(QWidget* parent, const char* nom, int x, int y, int l, int h,
                 const QString& texte) {
    auto* w = cree<QCheckBox>(parent, nom, x, y, l, h);
    w->setText(texte);
    return w;
}

QRadioButton* radio(QWidget* parent, const char* nom, int x, int y, int l, const QString& texte) {
    auto* w = cree<QRadioButton>(parent, nom, x, y, l, 17);
    w->setText(texte);
    return w;
}

QSlider* glissiere(QWidget* parent, const char* nom, Qt::Orientation sens, int x, int y, int l,
                   int h, int mini, int maxi, int valeur) {
    auto* w = cree<QSlider>(parent, nom, x, y, l, h);
    w->setOrientation(sens);
    w->setRange(mini, maxi);
    w->setValue(valeur);
    // The track bars of the legend run from the top down, as view rows do.
    if (sens == Qt::Vertical) w->setInvertedAppearance(true);
    return w;
}

QComboBox* liste(QWidget* parent, const char* nom, int x, int y, int l, int h) {
    auto* w = cree<QComboBox>(parent, nom, x, y, l, h);
    w->setEditable(true);
    w->setInsertPolicy(QComboBox::NoInsert);
    return w;
}

QToolButton* image(QWidget* parent, const char* nom, int x, Glyphe g, const QString& aide) {
    auto* w = cree<QToolButton>(parent, nom, x, 120, 25, 25);
    w->setIcon(QIcon(glyphe(g)));
    w->setIconSize(QSize(GLYPHEL, GLYPHEH));
    w->setAutoRaise(true);
    w->setStatusTip(aide);
    return w;
}

QToolButton* petit(QWidget* parent, const char* nom, int x, int y, Qt::ArrowType fleche) {
    auto* w = cree<QToolButton>(parent, nom, x, y, 10, 10);
    w->setArrowType(fleche);
    return w;
}

QWidget* page(QTabWidget* onglets, const char* nom, const QString& titre) {
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(nom));
    onglets->addTab(w, titre);
    return w;
}

// Compact tabs: the six titles of the settings pages share 191 pixels.
class OngletsSerres : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
        if (m == PM_TabBarTabHSpace) return 5;
        if (m == PM_TabBarTabVSpace) return 8;
        return QProxyStyle::pixelMetric(m, o, w);
    }
};

// Blocks the signals of every control of the window while code copies the state into them.
class Silence {
  public:
    explicit Silence(QWidget* fenetre) {
        for (QWidget* w : fenetre->findChildren<QWidget*>())
            if (w->property(CONTROLE).toBool()) blocs.emplace_back(w);
    }

  private:
    std::vector<QSignalBlocker> blocs;
};

void remplis(QListWidget* w, const QStringList& lignes, int selection) {
    QStringList avant;
    for (int i = 0; i < w->count(); ++i)
        avant.append(w->item(i)->text());
    if (avant != lignes) {
        w->clear();
        w->addItems(lignes);
    }
    if (selection >= 0 && selection < w->count()) {
        w->setCurrentRow(selection);
    } else {
        w->clearSelection();
        w->setCurrentRow(-1);
    }
}

void remplis(QComboBox* w, const QStringList& entrees, int selection, const QString& texte) {
    QStringList avant;
    for (int i = 0; i < w->count(); ++i)
        avant.append(w->itemText(i));
    if (avant != entrees) {
        w->clear();
        w->addItems(entrees);
    }
    if (selection >= 0 && selection < w->count())
        w->setCurrentIndex(selection);
    else
        w->setEditText(texte);
}

} // namespace

TForm1::TForm1(Dialogues& dialogues, const QString& dossierprog, QWidget* parent)
    : QWidget(parent), dialogues(dialogues), etat(nouveletat()),
      traceur(std::make_unique<Traceur>(surf.vue, &surf.carte)) {
    Form1 = this;
    QString dossier = dossierprog.isEmpty() ? QCoreApplication::applicationDirPath() : dossierprog;
    if (!dossier.endsWith(QLatin1Char('/'))) dossier += QLatin1Char('/');
    etat->dossierprog = dossier;
    construit();
    demarrage();
    synchro();
    connecte();
    new Clavier(*this);
    construitannule();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::construit() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(TITRE);
    QFont police;
    // A narrow face at 11 pixels puts every caption in the width its place gives it.
    police.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                        QStringLiteral("Nimbus Sans Narrow"),
                        QStringLiteral("DejaVu Sans Condensed")});
    police.setStyleHint(QFont::SansSerif);
    police.setPixelSize(11);
    setFont(police);
    QPalette p = palette();
    p.setColor(QPalette::Window, couleursysteme(COULBOUTON));
    setPalette(p);
    // The first size; the window grows and shrinks from there (tform1_place.cpp).
    resize(LARGEURCLIENT, HAUTEURCLIENT);
    setMinimumSize(480, 360);
    // A picture file dropped on the window is loaded as the map.
    setAcceptDrops(true);
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - QPoint(LARGEURFENETRE / 2, HAUTEURFENETRE / 2));

    // ---- Main area -----------------------------------------------------------------------
    fond = new Vue(surf.vue, this);
    fond->setObjectName(QStringLiteral("fond"));
    fond->setGeometry(0, 0, VUEL, VUEH);
    Ascl = cree<QScrollBar>(this, "Ascl", 0, 576, 721, 16);
    Ascl->setOrientation(Qt::Horizontal);
    Asch = cree<QScrollBar>(this, "Asch", 720, 0, 16, 577);
    Asch->setOrientation(Qt::Vertical);
    for (QScrollBar* b : {Ascl, Asch}) {
        b->setRange(0, 100);
        b->setSingleStep(1);
        b->setPageStep(1);
    }
    Button10 = bouton(this, "Button10", 744, 0, 60, 25, QStringLiteral("A propos"));
    Button13 = bouton(this, "Button13", 803, 0, 57, 25, QStringLiteral("Versions"));
    Button1 = bouton(this, "Button1", 856, 0, 75, 25, QStringLiteral("Fermer"));
    Button1->setToolTip(QStringLiteral("Fermer"));
    langue = liste(this, "langue", 830, 32, 97, 21);
    Memo3 = memo(this, "Memo3", 744, 64, 185, 49,
                 {QStringLiteral("Création d'un film avec un vialume "),
                  QStringLiteral("en mouvement. "),
                  QStringLiteral("Bonus : Effet d'écriture de texte.")},
                 COULINFO, false);
    Joue = image(this, "Joue", 744, Glyphe::joue, QStringLiteral("Jouer"));
    stop = image(this, "stop", 768, Glyphe::stop, QStringLiteral("Stop"));
    Wtl = champtexte(this, "Wtl", 792, 120, 41, 21, true);
    Wtl->setStatusTip(QStringLiteral("temps courant"));
    bulletemps(Wtl, *etat);
    Debut = image(this, "Debut", 832, Glyphe::debut, QStringLiteral("Début"));
    pred = image(this, "pred", 856, Glyphe::pred, QStringLiteral("Précédent"));
    suiv = image(this, "suiv", 880, Glyphe::suiv, QStringLiteral("Suivant"));
    dern = image(this, "dern", 904, Glyphe::dern, QStringLiteral("Fin"));
    TL = cree<LigneTemps>(this, "TL", 740, 144, 190, 33, *etat);
    TL->setOrientation(Qt::Horizontal);
    TL->setRange(0, 0);
    TL->setTickPosition(QSlider::TicksAbove);
    TL->setStatusTip(QStringLiteral("Ligne de temps"));
    Onglet2 = cree<QTabWidget>(this, "Onglet2", 741, 184, 191, 409);
    Tab10 = page(Onglet2, "Tab10", QStringLiteral("Fichier"));
    TabSheet4 = page(Onglet2, "TabSheet4", QStringLiteral("Couleur"));
    tab11 = page(Onglet2, "tab11", QStringLiteral("Clés"));
    tab12 = page(Onglet2, "tab12", QStringLiteral("Options"));
    pagefilm = page(Onglet2, "pagefilm", QStringLiteral("Film"));
    creepagefilm();
    pagegps = new PageGps;
    // Taller than the tab: it scrolls.
    auto* defilegps = new QScrollArea;
    defilegps->setObjectName(QStringLiteral("defilegps"));
    defilegps->setFrameShape(QFrame::NoFrame);
    defilegps->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    defilegps->setWidgetResizable(true);
    defilegps->setWidget(pagegps);
    Onglet2->addTab(defilegps, QStringLiteral("GPS"));

    // ---- Page "Fichier" ------------------------------------------------------------------
    QWidget* w = Tab10;
    Memo1 = memo(w, "Memo1", 0, 4, 177, 53,
                 {QStringLiteral("Charger un BMP"), QStringLiteral("Calculer l'vialume"),
                  QStringLiteral("Sauver et générer")},
                 COULINFO, true);
    Label3 = etape(w, "Label3", 7, 69, QStringLiteral("1"), QStringLiteral("Charger une image"));
    Charger = bouton(w, "Charger", 46, 68, 75, 25, QStringLiteral("Charger"));
    Charger->setToolTip(QStringLiteral("Image pour le calcul et la visualisation"));
    coulr = champtexte(w, "coulr", 136, 72, 33, 21, true);
    coulr->hide();
    construitrecents();
    Label14 =
        etiquette(w, "Label14", 8, 104, 177, 13, QStringLiteral("La couleur vous sera demandée"));
    Label4 = etape(w, "Label4", 8, 125, QStringLiteral("2"),
                   QStringLiteral("Choisir la couleur finale de la route"));
    calculvia = bouton(w, "calculvia", 24, 120, 145, 25, QStringLiteral("Vialume"));
    calculvia->setToolTip(QStringLiteral("Calcul de l'vialume (début)"));
    Button9 = bouton(w, "Button9", 24, 144, 49, 25, QStringLiteral("Suite"));
    Button9->setToolTip(QStringLiteral("Calcul la suite de l'vialume"));
    coulmon = champtexte(w, "coulmon", 96, 144, 33, 21, true);
    optionstrace = bouton(w, "optionstrace", 136, 144, 33, 21, QStringLiteral("..."));
    optionstrace->setToolTip(QStringLiteral("Réglages du tracé : tolérance de couleur, toute la "
                                            "carte, ponts, ordre du crayon, carte sans chemin"));
    Label5 = etape(w, "Label5", 7, 173, QStringLiteral("3"),
                   QStringLiteral("Calculer le chemin de l'vialume"));
    Label2 = etiquette(w, "Label2", 25, 176, 90, 13, QStringLiteral("CLES et OPTIONS"));
    Label6 =
        etape(w, "Label6", 7, 205, QStringLiteral("4"), QStringLiteral("Paramètrer l'vialume"));
    Label16 = etiquette(w, "Label16", 24, 208, 64, 13, QStringLiteral("Modif couleur"));
    Label12 = etiquette(w, "Label12", 31, 240, 120, 13, QStringLiteral("Option carte sans chemin"));
    Label7 =
        etape(w, "Label7", 7, 261, QStringLiteral("5"), QStringLiteral("Visualiser votre vialume"));
    Button12 = bouton(w, "Button12", 30, 260, 59, 25, QStringLiteral("Charger"));
    Button12->setToolTip(
        QStringLiteral("Autre BMP à l'affichage (option) même dimension que BMP calcul"));
    Check = coche(w, "Check", 104, 264, 49, 17, QStringLiteral("Visu"));
    Check->setChecked(true);
    Check->hide();
    Label8 =
        etape(w, "Label8", 7, 301, QStringLiteral("6"), QStringLiteral("Sauver les paramètres"));
    sauver = bouton(w, "sauver", 30, 300, 75, 25, QStringLiteral("Sauver"));
    Label11 =
        etape(w, "Label11", 7, 344, QStringLiteral("7"), QStringLiteral("Exporter l'vialume"));
    Button11 = bouton(w, "Button11", 30, 344, 43, 25, QStringLiteral("Avi"));
    Suite = bouton(w, "Suite", 78, 344, 43, 25, QStringLiteral("BmpS"));
    Suite->setToolTip(QStringLiteral("Suite de BMP"));
    Button3 = bouton(w, "Button3", 126, 344, 43, 25, QStringLiteral("Bmp"));

    // ---- Page "Couleur" ------------------------------------------------------------------
    w = TabSheet4;
    Memo6 = memo(
        w, "Memo6", 8, 8, 169, 41,
        {QStringLiteral("Permet de modifier la couleur pour "), QStringLiteral("chaque tronçon")},
        COULINFO, false);
    Label1 = etiquette(w, "Label1", 16, 100, 145, 13, QStringLiteral("Couleur de la route"));
    Button8 = bouton(w, "Button8", 46, 116, 75, 25, QStringLiteral("Couleur"));
    tronson = liste(w, "tronson", 32, 152, 97, 21);
    coultron = champtexte(w, "coultron", 128, 152, 41, 21, true);

    // ---- Page "Clés" ---------------------------------------------------------------------
    w = tab11;
    Memo2 = memo(w, "Memo2", 0, 0, 177, 65,
                 {QStringLiteral("Régler la durée totale, IPS (les "),
                  QStringLiteral("modifications pertubent les images "), QStringLiteral("clés)"),
                  QStringLiteral("Placer les images clés.")},
                 COULINFO, true);
    Label10 = etiquette(w, "Label10", 3, 76, 78, 13, QStringLiteral("Durée total (ss:ii)"));
    Button4 = petit(w, "Button4", 38, 96, Qt::UpArrow);
    Button5 = petit(w, "Button5", 38, 106, Qt::DownArrow);
    Dmax = champtexte(w, "Dmax", 48, 96, 33, 21, true);
    Button6 = petit(w, "Button6", 82, 96, Qt::UpArrow);
    Button7 = petit(w, "Button7", 82, 106, Qt::DownArrow);
    NbI = champtexte(w, "NbI", 96, 96, 33, 21, true);
    Cips = liste(w, "Cips", 24, 128, 129, 21);
    Cips->setToolTip(QStringLiteral("Attention RAZ des images Clés"));
    Label9 = etiquette(w, "Label9", 24, 160, 100, 13, QStringLiteral("Liste des images clés"));
    Icle = cree<QListWidget>(w, "Icle", 56, 180, 65, 85);
    creerIC = bouton(w, "creerIC", 54, 272, 75, 25, QStringLiteral("Créer"));
    SupIC = bouton(w, "SupIC", 54, 304, 75, 25, QStringLiteral("Supprimer"));
    suivre = bouton(w, "suivre", 24, 336, 129, 25, QStringLiteral("Suivre la route"));
    suivre->setToolTip(QStringLiteral("Écrit les images clés : la vue suit la tête de la route "
                                      "tout le film (les clés d'avant sont remplacées)"));
    adoucir = coche(w, "adoucir", 24, 364, 129, 17, QStringLiteral("Adoucir les mouvements"));
    adoucir->setToolTip(QStringLiteral("La vue accélère et ralentit à chaque image clé"));

    // ---- Page "Options" ------------------------------------------------------------------
    PageControl1 = cree<QTabWidget>(tab12, "PageControl1", -3, 24, 188, 361);
    TabSheet1 = page(PageControl1, "TabSheet1", QStringLiteral("Légende"));
    TabSheet2 = page(PageControl1, "TabSheet2", QStringLiteral("Embout"));
    TabSheet3 = page(PageControl1, "TabSheet3", QStringLiteral("Loupe"));

    w = TabSheet1;
    Label13 = etiquette(w, "Label13", 8, 32, 49, 13, QStringLiteral("Kms/Miles"));
    colore(Label13, couleursysteme(COULDEGRADE));
    montre = coche(w, "montre", 88, 32, 73, 17, QStringLiteral("Actif"));
    Button2 = bouton(w, "Button2", 56, 56, 73, 25, QStringLiteral("police"));
    Label15 = etiquette(w, "Label15", 16, 88, 61, 13, QStringLiteral("Nombre maxi"));
    Lkm = champtexte(w, "Lkm", 16, 104, 145, 21, false);
    Lkm->setText(QStringLiteral("0"));
    GroupBox1 = cree<QGroupBox>(w, "GroupBox1", 56, 135, 65, 110);
    GroupBox1->setTitle(QStringLiteral("Légende"));
    sans = radio(GroupBox1, "sans", 8, 20, 49, QStringLiteral("sans"));
    mile = radio(GroupBox1, "mile", 8, 36, 49, QStringLiteral("miles"));
    km = radio(GroupBox1, "km", 8, 52, 49, QStringLiteral("kms"));
    Autre = radio(GroupBox1, "Autre", 8, 68, 57, QStringLiteral("Autre"));
    sans->setChecked(true);
    txtautre = champtexte(GroupBox1, "txtautre", 0, 88, 65, 21, false);
    Yt = glissiere(w, "Yt", Qt::Vertical, 11, 148, 38, 97, 0, VUEH, 0);
    Xt = glissiere(w, "Xt", Qt::Vertical, 139, 148, 33, 97, 0, VUEL, 0);
    okombre = coche(w, "okombre", 8, 256, 65, 17, QStringLiteral("Ombre"));
    coulombre = champtexte(w, "coulombre", 80, 256, 33, 21, true);
    Button15 = bouton(w, "Button15", 112, 256, 65, 25, QStringLiteral("Couleur"));
    Xombre = glissiere(w, "Xombre", Qt::Horizontal, 0, 296, 60, 33, -6, 6, 3);
    Yombre = glissiere(w, "Yombre", Qt::Horizontal, 56, 296, 60, 33, -6, 6, 3);

    w = TabSheet2;
    Memo4 = memo(w, "Memo4", 0, 24, 177, 41,
                 {QStringLiteral("Permet de changer la couleur de "), QStringLiteral("l'embout")},
                 COULDEGRADE, false);
    CheckBox1 = coche(w, "CheckBox1", 72, 116, 81, 17, QStringLiteral("Actif"));
    coulbord = champtexte(w, "coulbord", 48, 144, 33, 21, true);
    Button14 = bouton(w, "Button14", 104, 140, 73, 25, QStringLiteral("Couleur"));
    UpDown1 = cree<HautBas>(w, "UpDown1", 48, 173, 16, 24);
    UpDown1->setRange(0, 200);
    bordnb = champtexte(w, "bordnb", 72, 176, 33, 21, true);

    w = TabSheet3;
    Memo5 =
        memo(w, "Memo5", 0, 0, 177, 201,
             {QStringLiteral("La loupe est un BMP (300*300 pour "),
              QStringLiteral("mes essais en théorie libre)."),
              QStringLiteral("La couleur 'zoomée' est la couleur "),
              QStringLiteral("du centre du dessin (le verre de la "), QStringLiteral("loupe)"),
              QStringLiteral("La couleur de fond est le pixel 1,1 "),
              QStringLiteral("(ce qui est en dehors de la loupe)"),
              QStringLiteral("Sur un fond NOIR dessiner une "),
              QStringLiteral("loupe (vert,jaune ..au choix) et le "),
              QStringLiteral("verre de la loupe en BLANC"),
              QStringLiteral("N'aime pas fleurter avec les bords"),
              QStringLiteral("Adoucissement chemin loupe est un "), QStringLiteral("compromis")},
             COULDEGRADE, false);
    Okloupe = coche(w, "Okloupe", 8, 216, 57, 17, QStringLiteral("Actif"));
    Button16 = bouton(w, "Button16", 72, 216, 75, 25, QStringLiteral("Charge"));
    Label17 = etiquette(w, "Label17", 8, 240, 27, 13, QStringLiteral("Zoom"));
    txloupe = glissiere(w, "txloupe", Qt::Horizontal, 16, 256, 150, 33, 0, 100, 0);
    Label18 = etiquette(w, "Label18", 0, 288, 172, 13,
                        QStringLiteral("Taux d'adoucissement chemin loupe"));
    estompe = glissiere(w, "estompe", Qt::Horizontal, 16, 304, 150, 45, 1, 50, 10);

    auto* serres = new OngletsSerres;
    serres->setParent(this);
    for (QTabBar* b : findChildren<QTabBar*>())
        b->setStyle(serres);

    // Playback ticks never pile up: a late tick is taken once, and each shows one frame.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);

    construitbarre();
    dispose();
}

void TForm1::connecte() {
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(Button13, &QPushButton::clicked, this, &TForm1::Button13Click);
    // Lists and combos react to the user only (activated, typed text), never to code.
    connect(langue, &QComboBox::activated, this, &TForm1::langueChange);
    connect(langue->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { langueChange(langue->findText(t)); });

    connect(Joue, &QToolButton::clicked, this, &TForm1::JoueClick);
    connect(stop, &QToolButton::clicked, this, &TForm1::stopClick);
    connect(Debut, &QToolButton::clicked, this, &TForm1::DebutClick);
    connect(pred, &QToolButton::clicked, this, &TForm1::predClick);
    connect(suiv, &QToolButton::clicked, this, &TForm1::suivClick);
    connect(dern, &QToolButton::clicked, this, &TForm1::dernClick);
    connect(TL, &QSlider::valueChanged, this, &TForm1::TLChange);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Onglet2, &QTabWidget::currentChanged, this, &TForm1::Onglet2Change);

    connect(fond, &Vue::bouge, this, &TForm1::Chechecouleur);
    connect(fond, &Vue::bouge, this, &TForm1::survol);
    connect(fond, &Vue::quitte, this, [this] { survol(-1, -1); });
    connect(fond, &Vue::appui, this, &TForm1::fondMouseDown);
    connect(fond, &Vue::roule, this, &TForm1::fondRoule);
    connect(fond, &Vue::glisse, this, &TForm1::fondGlisse);
    connect(Ascl, &QScrollBar::valueChanged, this, &TForm1::AsclChange);
    connect(Asch, &QScrollBar::valueChanged, this, &TForm1::AschChange);
    connect(Charger, &QPushButton::clicked, this, &TForm1::ChargerClick);
    connect(calculvia, &QPushButton::clicked, this, &TForm1::calculviaClick);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(optionstrace, &QPushButton::clicked, this, &TForm1::optionstraceClick);
    connect(Button12, &QPushButton::clicked, this, &TForm1::Button12Click);
    connect(Check, &QCheckBox::toggled, this, &TForm1::CheckClick);
    connect(sauver, &QPushButton::clicked, this, &TForm1::sauverClick);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(Suite, &QPushButton::clicked, this, &TForm1::SuiteClick);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);

    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(tronson, &QComboBox::activated, this, &TForm1::tronsonChange);
    connect(tronson->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { tronsonChange(tronson->findText(t)); });

    connect(Button4, &QToolButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QToolButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QToolButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QToolButton::clicked, this, &TForm1::Button7Click);
    connect(Cips, &QComboBox::activated, this, [this](int i) { CipsChange(Cips->itemText(i)); });
    connect(Cips->lineEdit(), &QLineEdit::textEdited, this, &TForm1::CipsChange);
    connect(Icle, &QListWidget::itemSelectionChanged, this, &TForm1::IcleClick);
    // A click on the keyframe already selected changes no selection, and still goes to it.
    connect(Icle, &QListWidget::itemClicked, this, &TForm1::IcleClick);
    connect(creerIC, &QPushButton::clicked, this, &TForm1::creerICClick);
    connect(SupIC, &QPushButton::clicked, this, &TForm1::SupICClick);
    connect(suivre, &QPushButton::clicked, this, &TForm1::suivreClick);
    connect(adoucir, &QCheckBox::toggled, this, &TForm1::adoucirClick);

    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(montre, &QCheckBox::toggled, this, &TForm1::montreClick);
    for (QRadioButton* r : {sans, mile, km, Autre})
        connect(r, &QRadioButton::toggled, this, [this](bool coche) {
            if (coche) uniteClick();
        });
    connect(txtautre, &QLineEdit::textChanged, this, &TForm1::txtautreChange);
    connect(Xt, &QSlider::valueChanged, this, &TForm1::XtChange);
    connect(Yt, &QSlider::valueChanged, this, &TForm1::YtChange);
    connect(Lkm, &QLineEdit::textChanged, this, &TForm1::LkmChange);
    connect(okombre, &QCheckBox::toggled, this, &TForm1::okombreClick);
    connect(Button15, &QPushButton::clicked, this, &TForm1::Button15Click);
    connect(Xombre, &QSlider::valueChanged, this, &TForm1::XombreChange);
    connect(Yombre, &QSlider::valueChanged, this, &TForm1::YombreChange);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(Button14, &QPushButton::clicked, this, &TForm1::Button14Click);
    connect(UpDown1, &HautBas::valueChanged, this, &TForm1::UpDown1Click);
    connect(Button16, &QPushButton::clicked, this, &TForm1::Button16Click);
    connect(Okloupe, &QCheckBox::toggled, this, &TForm1::OkloupeClick);
    connect(txloupe, &QSlider::valueChanged, this, &TForm1::txloupeChange);
    connect(estompe, &QSlider::valueChanged, this, &TForm1::estompeChange);
    connectegps();
}

void TForm1::demarrage() {
    Etat& e = *etat;
    // The rates are there before anything reads them, whatever the language files hold.
    cipsdepart(e);
    initlangue();
    e.calculactif = false;
    Onglet2->setCurrentIndex(0);
    filmdepart(e);
}

void TForm1::affiche(const QString& francais, int entree) {
    dialogues.message(traduit(*etat, entree, francais));
}

bool TForm1::sanscarte() {
    if (!etat->fichiercarte.isEmpty()) return false;
    affiche(QStringLiteral("Charger d'abord une image"), 10);
    return true;
}

void TForm1::redessine() {
    ::redessine(*etat, surf);
    presente();
}

void TForm1::afficheimg(int avance) {
    ::afficheimg(*etat, surf, avance);
    presente();
}

void TForm1::presente() {
    // The compositor decides whether the other unit's text is in use.
    txtautre->setVisible(etat->txtautrevisible);
    fond->update();
    majbarre();
}

void TForm1::synchro() {
    const Etat& e = *etat;
    {
        const Silence silence(this);
        Ascl->setRange(0, e.asclmax);
        Ascl->setValue(e.ascl);
        Ascl->setVisible(e.asclvisible);
        Asch->setRange(0, e.aschmax);
        Asch->setValue(e.asch);
        Asch->setVisible(e.aschvisible);
        remplis(Cips, e.cips, e.cipsindex, e.cipstexte);
        teinte(coulmon, e.coulmon);
        teinte(coulr, e.coulr);
        teinte(coultron, e.coultron);
        teinte(coulombre, e.coulombre);
        teinte(coulbord, e.coulbord);
        remplis(tronson, e.tronson, e.tronsonselection, QString());
        montre->setChecked(e.montre);
        QRadioButton* unites[] = {sans, km, mile, Autre};
        if (e.unite >= SANS && e.unite <= AUTRE) unites[e.unite]->setChecked(true);
        txtautre->setText(e.txtautre);
        txtautre->setVisible(e.txtautrevisible);
        Lkm->setText(e.lkm);
        // The legend's place and shadow are in film pixels: their ranges follow the frame.
        Xt->setRange(0, e.film.largeur);
        Yt->setRange(0, e.film.hauteur);
        Xombre->setRange(-e.film.ombremax(), e.film.ombremax());
        Yombre->setRange(-e.film.ombremax(), e.film.ombremax());
        Xt->setValue(e.xt);
        Yt->setValue(e.yt);
        okombre->setChecked(e.okombre);
        Xombre->setValue(e.xombre);
        Yombre->setValue(e.yombre);
        CheckBox1->setChecked(e.checkbox1);
        UpDown1->setValue(e.updown1);
        bordnb->setText(e.bordnb);
        Okloupe->setChecked(e.okloupe);
        txloupe->setRange(0, e.txloupemax);
        txloupe->setValue(e.txloupe);
        estompe->setValue(e.estompe);
        Check->setChecked(e.check);
        adoucir->setChecked(e.adoucit);
        montrefilm();
        Check->setVisible(e.checkvisible);
        calculvia->setText(e.calculviacaption);
        Button9->setEnabled(e.button9actif);
        // The core has shown its frame already: the time line is only mirrored.
        TL->setRange(0, e.tlmax);
        TL->setValue(e.tl);
    }
    montregps();
    montretemps();
}

void TForm1::montretemps() {
    const Etat& e = *etat;
    // The time line's handlers moved it in the core (a shorter film): that frame is shown.
    const bool deplace = TL->value() != e.tl;
    {
        const Silence silence(this);
        TL->setRange(0, e.tlmax);
        TL->setValue(e.tl);
        Wtl->setText(e.wtl);
        Dmax->setText(e.dmax);
        NbI->setText(e.nbi);
        remplis(Icle, e.icle, e.icleselection);
        creerIC->setText(e.creerICcaption);
        SupIC->setEnabled(e.supicactif);
    }
    static_cast<LigneTemps*>(TL)->majregle();
    TL->update();
    montrecle();
    majbarre();
    if (deplace) TLChange(e.tl);
}

void TForm1::majmodecle() {
    ::majmodecle(*etat);
    montretemps();
}

void TForm1::Button1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* ev) {
    // Changes are not lost without a word; the program ends once the question allows it.
    if (!abandonne()) {
        ev->ignore();
        return;
    }
    Timer1->stop();
    travaux->annule();
    retiensfenetre();
    ev->accept();
    QCoreApplication::quit();
}

void TForm1::Button10Click() {
    dialogues.message(QStringList{
        QStringLiteral("VIALUME est écrit par M.R."),
        QStringLiteral("C'est un outil perso que je mets"),
        QStringLiteral("à disposition pour le forum Rando-Cartes (www.rando-cartes.example)"),
        QStringLiteral("Il a des anomalies (j'en connais)"),
        QStringLiteral(
            "L'utilisation de Qt (fenêtre et dessin) et de FFmpeg (vidéo) a été possible"),
        QStringLiteral("grace à Qt de The Qt Company et FFmpeg de l'équipe FFmpeg"),
        QStringLiteral("Homepage: https://www.qt.io et https://ffmpeg.org")}
                          .join(QLatin1Char('\n')));
}

void TForm1::Button13Click() {
    dialogues.message(
        QStringList{QStringLiteral("-----VERSIONS-----------------"),
                    QString(),
                    QStringLiteral("V1.50 "),
                    QStringLiteral("    * Création AVI avec choix d'un CODEC"),
                    QStringLiteral("V1.30 "),
                    QStringLiteral("    * Multilanguage (ouvert pour les courageux)"),
                    QStringLiteral("    langue.csv > colonne 1 et 2 ne pas toucher"),
                    QStringLiteral("    colonne 3,4,5,6 libre (amusez-vous bien)"),
                    QStringLiteral("V1.21 "),
                    QStringLiteral("    * Affichage d'une loupe (ou autre je vous fais confiance)"),
                    QStringLiteral("    * Choix du texte de légende"),
                    QStringLiteral("    * Couleur différente pour chaque tronçon"),
                    QStringLiteral("    * Adoucissement chemin loupe (compromis)"),
                    QStringLiteral("V1.11 "),
                    QStringLiteral("    * Afficher un autre BMP que celui du calcul"),
                    QStringLiteral("    * Calcul en discontinu (pour écriture par exemple)"),
                    QStringLiteral("    * Affichage d'un embout"),
                    QStringLiteral("Version 1.00  (je me lance)"),
                    QString(),
                    QStringLiteral("Doc et explications sur https://vialume.example/doc")}
            .join(QLatin1Char('\n')));
}

void TForm1::creepagefilm() {
    QWidget* w = pagefilm;
    etiquette(w, "Label20", 6, 6, 170, 17, QStringLiteral("Taille du film"));
    formatfilm = cree<QComboBox>(w, "formatfilm", 6, 24, 170, 22);
    for (const auto& [l, h, nom] : FORMATSFILM)
        formatfilm->addItem(QStringLiteral("%1 x %2 %3").arg(l).arg(h).arg(QString::fromUtf8(nom)));
    formatfilm->addItem(QStringLiteral("Autre taille"));
    const auto nombre = [w](const char* nom, const QString& texte, int y, int mini, int maxi) {
        etiquette(w, "", 6, y + 2, 60, 17, texte);
        auto* s = cree<QSpinBox>(w, nom, 76, y, 80, 22);
        s->setRange(mini, maxi);
        return s;
    };
    largeurfilm = nombre("largeurfilm", QStringLiteral("Largeur"), 52, MINFILM, MAXFILML);
    hauteurfilm = nombre("hauteurfilm", QStringLiteral("Hauteur"), 78, MINFILM, MAXFILMH);
    for (QSpinBox* s : {largeurfilm, hauteurfilm})
        s->setSingleStep(2);
    etiquette(w, "", 6, 106, 60, 17, QStringLiteral("Zoom"));
    zoomfilm = cree<QDoubleSpinBox>(w, "zoomfilm", 76, 104, 80, 22);
    zoomfilm->setRange(MINZOOM, MAXZOOM);
    zoomfilm->setDecimals(2);
    zoomfilm->setSingleStep(0.25);
    zoomfilm->setToolTip(QStringLiteral("Pixels du film par pixel de la carte"));
    appliquefilm = bouton(w, "appliquefilm", 76, 132, 80, 25, QStringLiteral("Appliquer"));

    etiquette(w, "Label21", 6, 172, 170, 17, QStringLiteral("Trait de la route"));
    largeurtrait = nombre("largeurtrait", QStringLiteral("Largeur"), 192, 0, MAXLARGEUR);
    largeurtrait->setSpecialValueText(QStringLiteral("pixels"));
    largeurtrait->setToolTip(QStringLiteral("En pixels du film ; « pixels » : les pixels de la "
                                            "route, tels quels"));
    halotrait = nombre("halotrait", QStringLiteral("Contour"), 218, 0, MAXHALO);
    halotrait->setToolTip(QStringLiteral("Largeur du contour autour du trait"));
    etiquette(w, "", 6, 248, 60, 17, QStringLiteral("Couleur"));
    coulhalo = champtexte(w, "coulhalo", 76, 246, 33, 21, true);
    choixhalo = bouton(w, "choixhalo", 116, 244, 40, 25, QStringLiteral("..."));
    choixhalo->setToolTip(QStringLiteral("Couleur du contour"));

    etiquette(w, "Label22", 6, 288, 170, 17, QStringLiteral("Export (bouton Avi)"));
    transparentfilm =
        coche(w, "transparentfilm", 6, 308, 170, 17, QStringLiteral("Sans la carte (transparent)"));
    transparentfilm->setToolTip(QStringLiteral(
        "Route, pointe, légende et loupe sur fond transparent : .mov, .webm, .mkv, suite PNG"));

    // The keyframe of the frame shown: its own zoom and the share of the route it pins.
    etiquette(w, "Label23", 6, 334, 70, 17, QStringLiteral("Clé : zoom"));
    zoomcle = cree<QDoubleSpinBox>(w, "zoomcle", 76, 332, 80, 22);
    zoomcle->setRange(0, MAXZOOM);
    zoomcle->setDecimals(2);
    zoomcle->setSingleStep(0.25);
    zoomcle->setSpecialValueText(QStringLiteral("du film"));
    zoomcle->setToolTip(QStringLiteral("Le zoom de cette image clé ; entre deux clés le zoom "
                                       "change en douceur"));
    etiquette(w, "Label24", 6, 360, 70, 17, QStringLiteral("Clé : route"));
    avancecle = cree<QSpinBox>(w, "avancecle", 76, 358, 80, 22);
    avancecle->setRange(SANSAVANCE, 1000);
    avancecle->setSpecialValueText(QStringLiteral("libre"));
    avancecle->setSuffix(QStringLiteral(" ‰"));
    avancecle->setToolTip(QStringLiteral("La part de la route tracée à cette image clé (en "
                                         "millièmes) ; « libre » : selon le numéro d'image"));

    connect(formatfilm, &QComboBox::currentIndexChanged, this, &TForm1::formatfilmChange);
    connect(appliquefilm, &QPushButton::clicked, this, &TForm1::appliquefilmClick);
    connect(largeurtrait, &QSpinBox::valueChanged, this, &TForm1::traitChange);
    connect(halotrait, &QSpinBox::valueChanged, this, &TForm1::traitChange);
    connect(choixhalo, &QPushButton::clicked, this, &TForm1::choixhaloClick);
    connect(zoomcle, &QDoubleSpinBox::valueChanged, this, &TForm1::cleChange);
    connect(avancecle, &QSpinBox::valueChanged, this, &TForm1::cleChange);
}
