// The main window: every control, every handler. The handlers store a control's value in the
// project state and react; the core (state, timeline, map, route, render, export, project) does
// the work and never sees a widget.
//
// The handlers are grouped by topic over several files: tform1.cpp (layout, start-up, messages,
// about), tform1_temps.cpp (time line, playback, keyframes), tform1_options.cpp (legend, tip,
// magnifier settings), tform1_carte.cpp (map and display picture), tform1_trace.cpp (tracer),
// tform1_couleur.cpp (segment colours), tform1_fichiers.cpp (parameters file, exports),
// tform1_langue.cpp (language tables).
#pragma once

#include "app/dialogues.h"
#include "map/surfaces.h"
#include "state/etat.h"

#include <QWidget>

#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

struct Chargement;

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QStatusBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;
class Vue;
class HautBas;
class PageGps;
class Traceur;
class Travail;
struct LectureCarte;
struct Lue;
struct Marche;
struct Importation;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // `dialogues` is borrowed; it must outlive the window. `dossierprog` is the folder of the
    // program (where langue.ini and langue.csv live); empty = the executable's folder.
    explicit TForm1(Dialogues& dialogues, const QString& dossierprog = QString(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    Etat& e() { return *etat; }
    Surfaces& s() { return surf; }

    // The message routine: the language entry when not empty, else the French text.
    void affiche(const QString& francais, int entree);
    // Redraws the current frame: afficheimg with imgavance at the position of TL, then presents.
    void redessine();
    // Composes with the given progress and presents.
    void afficheimg(int avance);
    // Presents the view as the core last composed it (fond repaints; txtautre shown or hidden).
    void presente();
    // Copies every setting of the state into its control, with the controls' signals blocked:
    // used after the core has changed the state itself (and already run the reactions).
    void synchro();
    // Opens `chemin` as the map, exactly as "Charger" does after its dialog (the command line and
    // a dropped file use this). A large picture is read away from the window's thread: the map
    // is in place once travail() is no longer active.
    void chargecarte(const QString& chemin);

    // Long work away from the window's thread (tform1_travaux.cpp): pictures of at least
    // `seuiltravail` pixels (maps, display pictures, the map without its route and the walk
    // over such a map) and GPS tracks of at least `seuilgpx` bytes; smaller ones are quick and
    // done in place.
    long long seuiltravail = 2'000'000;
    qint64 seuilgpx = 1 << 20;
    Travail& travail() { return *travaux; }
    // The tip length every map load starts with (30), set before the dialog of "Charger".
    void embout30();
    // Whether the project differs from what was last saved or loaded: the parameters file it
    // would write is not the one of that moment. Without a map there is nothing to lose.
    bool modifie() const;
    // Before the project is dropped (quit, another map): "Quitter sans sauver ?" when it has
    // changes. True when the caller may go on (Oui; Non once the save went through).
    bool abandonne();
    // Undo and redo of project changes (tform1_annule.cpp). A step is the parameters file the
    // project would write, compressed; a change is noted when that file differs from the last
    // one noted: on an idle check of the window, at the end of a trace and after a load.
    static constexpr int MAXPAS = 100;
    void note();
    void annule();
    void refait();
    int pasannulables() const { return int(passe.size()); }
    int pasrefaisables() const { return int(futur.size()); }
    // The memory the steps hold, in bytes.
    qsizetype memoireannule() const;

    // Recent maps (tform1_recents.cpp): kept in the user's settings, ten at most, those that
    // still exist.
    static constexpr int MAXRECENTES = 10;
    QStringList recentes() const;
    // Opens a map of the list (or any map) as "Charger" does after its dialog, question first.
    void ouvrerecente(const QString& chemin);

    // Size and place (tform1_place.cpp). At the first size every control stands where V1.50
    // puts it; larger, the view grows and the panel keeps to the right; smaller (a small screen),
    // the panel scrolls and the view scales its frame down. The status bar takes the bottom when
    // there is room for it below the first size's layout.
    static constexpr int LARGEURPANNEAU = 201; // from Asch's right edge to the window's
    static constexpr int HAUTEURPANNEAU = 599; // what the panel's controls need
    // The size and place last kept, or the first size with its status bar, centred; either made
    // to fit the screen's available room. The program calls it before showing the window.
    void placefenetre();
    // Keeps the size and place (and whether maximised) for the next start.
    void retiensfenetre();
    // The window's first size with the status bar below it.
    QSize taillepremiere() const;

    // Title and status bar (tform1_barre.cpp): the title names the project and shows " *" while
    // it has unsaved changes; the bar shows the frame and its time, the map pixel under the mouse
    // and its colour, the zoom, the status tips, and the progress of long work.
    void majtitre();
    void majbarre();
    // The texts of the window's own additions in the language in force.
    void majtextesfenetre();

    // ---- Controls (object names as the control names) --------------------------------------
    Vue* fond = nullptr;
    QScrollBar *Ascl = nullptr, *Asch = nullptr;
    QPushButton *Button10 = nullptr, *Button13 = nullptr, *Button1 = nullptr;
    QComboBox* langue = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QToolButton *Joue = nullptr, *stop = nullptr, *Debut = nullptr, *pred = nullptr,
                *suiv = nullptr, *dern = nullptr;
    QLineEdit* Wtl = nullptr;
    QSlider* TL = nullptr;
    QTabWidget* Onglet2 = nullptr;
    QWidget *Tab10 = nullptr, *TabSheet4 = nullptr, *tab11 = nullptr, *tab12 = nullptr;
    QWidget* pagefilm = nullptr; // "Film": the film's size and zoom, the route's style

    // Page "Fichier".
    QPlainTextEdit* Memo1 = nullptr;
    QLabel *Label3 = nullptr, *Label14 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label2 = nullptr, *Label6 = nullptr, *Label16 = nullptr, *Label12 = nullptr,
           *Label7 = nullptr, *Label8 = nullptr, *Label11 = nullptr;
    QPushButton* optionstrace = nullptr; // the walk's settings
    QPushButton *Charger = nullptr, *calculvia = nullptr, *Button9 = nullptr, *Button12 = nullptr,
                *sauver = nullptr, *Button11 = nullptr, *Suite = nullptr, *Button3 = nullptr;
    QLineEdit *coulr = nullptr, *coulmon = nullptr;
    QCheckBox* Check = nullptr;
    // The last maps opened, most recent first, beside "Charger" (tform1_recents.cpp).
    QToolButton* Recents = nullptr;

    // Page "Couleur".
    QPlainTextEdit* Memo6 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button8 = nullptr;
    QComboBox* tronson = nullptr;
    QLineEdit* coultron = nullptr;

    // Page "Clés".
    QPlainTextEdit* Memo2 = nullptr;
    QLabel *Label10 = nullptr, *Label9 = nullptr;
    QToolButton *Button4 = nullptr, *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr;
    QLineEdit *Dmax = nullptr, *NbI = nullptr;
    QComboBox* Cips = nullptr;
    QListWidget* Icle = nullptr;
    QPushButton *creerIC = nullptr, *SupIC = nullptr;
    QPushButton* suivre = nullptr; // keyframes that follow the route
    QCheckBox* adoucir = nullptr;  // eased moves

    // Page "Film".
    QComboBox* formatfilm = nullptr;
    QSpinBox *largeurfilm = nullptr, *hauteurfilm = nullptr;
    QDoubleSpinBox* zoomfilm = nullptr;
    QPushButton* appliquefilm = nullptr;
    QSpinBox *largeurtrait = nullptr, *halotrait = nullptr;
    QPushButton* choixhalo = nullptr;
    QLineEdit* coulhalo = nullptr;
    QCheckBox* transparentfilm = nullptr; // exports without the map, where the format allows
    QDoubleSpinBox* zoomcle = nullptr;    // the zoom of the keyframe shown; 0: the film's
    QSpinBox* avancecle = nullptr;        // the share it pins; -1: none
    // Page "Options" and its pages.
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    QLabel *Label13 = nullptr, *Label15 = nullptr;
    QCheckBox* montre = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* Lkm = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton *sans = nullptr, *mile = nullptr, *km = nullptr, *Autre = nullptr;
    QLineEdit* txtautre = nullptr;
    QSlider *Yt = nullptr, *Xt = nullptr;
    QCheckBox* okombre = nullptr;
    QLineEdit* coulombre = nullptr;
    QPushButton* Button15 = nullptr;
    QSlider *Xombre = nullptr, *Yombre = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* coulbord = nullptr;
    QPushButton* Button14 = nullptr;
    HautBas* UpDown1 = nullptr;
    QLineEdit* bordnb = nullptr;
    QPlainTextEdit* Memo5 = nullptr;
    QCheckBox* Okloupe = nullptr;
    QPushButton* Button16 = nullptr;
    QLabel *Label17 = nullptr, *Label18 = nullptr;
    QSlider *txloupe = nullptr, *estompe = nullptr;

    QTimer* Timer1 = nullptr;

    // Page "GPS" (tform1_gps.cpp).
    PageGps* pagegps = nullptr;

    // The status bar and its fields; the panel's scroll bar on a small screen.
    QStatusBar* barre = nullptr;
    QLabel *barretemps = nullptr, *barrepixel = nullptr, *barrecouleur = nullptr,
           *barrezoom = nullptr, *barretravail = nullptr;
    QProgressBar* barreprogres = nullptr;
    QPushButton* barreannule = nullptr;
    QScrollBar* defilepanneau = nullptr;

  public slots:
    // Window (tform1.cpp).
    void Button1Click();
    void Button10Click();
    void Button13Click();

    // Time line and playback (tform1_temps.cpp).
    void TLChange(int position);
    void JoueClick();
    void stopClick();
    void DebutClick();
    void predClick();
    void suivClick();
    void dernClick();
    void Timer1Timer();
    // Keyframes and film timing (tform1_temps.cpp).
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void CipsChange(const QString& texte);
    void IcleClick();
    void creerICClick();
    void SupICClick();
    void suivreClick();
    void adoucirClick(bool coche);

    // The film's size, zoom and route style (tform1_film.cpp).
    void creepagefilm();
    void montrefilm();
    void formatfilmChange(int index);
    void appliquefilmClick();
    void traitChange();
    void choixhaloClick();
    void montrecle();
    void cleChange();
    QPoint verscarte(int x, int y) const;
    // The view with the mouse: the wheel scrolls (Shift: sideways; Ctrl: the film's zoom), a
    // drag pans.
    void fondRoule(int pas, Qt::KeyboardModifiers touches);
    void fondGlisse(int dx, int dy, Qt::MouseButtons boutons);
    // The small map with the camera's rectangle, for a moment.
    void montrecarte();
    void exportepng(const QString& nom);

    // Legend, tip and magnifier settings (tform1_options.cpp).
    void Button2Click();
    void montreClick();
    void uniteClick();
    void txtautreChange();
    void XtChange(int);
    void YtChange(int);
    void LkmChange(const QString& texte);
    void okombreClick();
    void Button15Click();
    void XombreChange(int);
    void YombreChange(int);
    void CheckBox1Click();
    void Button14Click();
    void UpDown1Click(int position);
    void Button16Click();
    void OkloupeClick();
    void txloupeChange(int);
    void estompeChange(int);

    // Map, view and display picture (tform1_carte.cpp).
    void ChargerClick();
    void AsclChange(int);
    void AschChange(int);
    void Button12Click();
    void CheckClick();

    // Tracer (tform1_trace.cpp).
    void calculviaClick();
    void Button9Click();
    void optionstraceClick();
    void Chechecouleur(int x, int y);
    void fondMouseDown(Qt::MouseButton bouton, int x, int y);

    // Segment colours (tform1_couleur.cpp).
    void Onglet2Change(int page);
    void tronsonChange(int index);
    void affichecoultron();
    void Button8Click();

    // Parameters file and exports (tform1_fichiers.cpp).
    void sauverClick();
    void SuiteClick();
    void Button3Click();
    void Button11Click();

    // GPS track, placement, pace and true distance (tform1_gps.cpp).
    void gpsimporteClick();
    void gpsfichiercalageClick();
    void gpsretireClick();
    void gpsreglageChange();
    void gpsechellekmChange(double km);
    // The replay of several tracks.
    void gpsajoutepisteClick();
    void gpspisteChange(int ligne, int colonne);
    void gpspisteCouleur(int ligne, int colonne);
    void gpsrejeuChange();

    // Language (tform1_langue.cpp).
    void langueChange(int index);
    void chargelangue();

  protected:
    bool event(QEvent* ev) override;
    void resizeEvent(QResizeEvent* ev) override;
    void wheelEvent(QWheelEvent* ev) override;
    void closeEvent(QCloseEvent* ev) override;
    void dragEnterEvent(QDragEnterEvent* ev) override;
    void dropEvent(QDropEvent* ev) override;

  private:
    void construit();     // builds every control (tform1.cpp)
    void connecte();      // connects every handler (tform1.cpp)
    void demarrage();     // the start-up sequence (tform1.cpp)
    void initlangue();    // its language steps: langue.ini, the list `langue`, the loader
    void montretemps();   // mirrors Wtl, Dmax, NbI, Icle, creerIC, SupIC from the state
    void majmodecle();    // core majmodecle, then the controls
    void litparametres(); // the parameters-file offer at the end of a map load
    // Shows what a picture load refused (a rule of the program in the message routine, a
    // reader's failure in an error box); true when it went through (tform1_carte.cpp).
    bool signale(const Chargement& r);
    // Without a map: "Charger d'abord une image" shown, and true.
    bool sanscarte();

    // The tracer's walk, run in slices by a timer so that the window paints between them
    // (tform1_trace.cpp).
    void marche();
    void finmarche();
    // The map without its route, made, saved beside the map and shown as the display picture.
    void faissanschemin();
    void demandearret(const QString& question, bool rendsuite);
    QTimer* pasdetrace = nullptr;

    Dialogues& dialogues;
    std::unique_ptr<Etat> etat;
    Surfaces surf;
    std::unique_ptr<Traceur> traceur;

    void connectegps();
    using ImportGps = std::variant<Importation, QString>;
    void fingps(const ImportGps& r);
    void montregps();
    // A click on the view that places a point or a scale bar's end; false when none is armed.
    bool cliquegps(int x, int y);
    double echx = 0, echy = 0; // the scale bar's first end, while its second is awaited
    QString dernieregpx;       // the track last chosen, whose points "@N" names
    bool echpremier = false;

    // The panel's controls with their places at the first size, moved together.
    void dispose();
    std::vector<std::pair<QWidget*, QRect>> panneau;
    void construitbarre();
    // The mouse over the view: the status bar's pixel and colour, the magnifier while armed.
    void survol(int x, int y);
    // The cursor, the magnifier and the aiming zoom follow the tracer's state.
    void montrevisee();
    // The halves of long work that run on the window's thread (tform1_travaux.cpp).
    void finchargecarte(const QString& chemin, LectureCarte l);
    void finsanschemin(bool fait, const QString& erreur, Lue l);
    void demarremarche(int x, int y, std::optional<Marche> calcule);
    void lisvisu(const QString& chemin, std::function<void(Lue)> suite);
    // Whether picture `image` (the map when empty) is large enough to be worked on away from
    // the window's thread.
    bool grand(const QString& image) const;
    void lancemarche(int x, int y);
    void lancesanschemin();
    Travail* travaux = nullptr;
    // The map reduced for the small map, made with it when it was large; for the picture whose
    // cache key is `clereduite`.
    QImage reduite;
    qint64 clereduite = 0;

    void construitrecents();
    void construitannule();
    // A new map starts a new history.
    void oublie();
    void restaure(const QByteArray& octets);
    std::vector<QByteArray> passe, futur; // compressed, the latest at the back
    QByteArray actuel;                    // the last noted, uncompressed
    QTimer* veille = nullptr;
    void ajouterecente(const QString& chemin);

    // The project as last saved or loaded (its parameters file), for modifie().
    void retiens();
    QByteArray reference;

    // SaveDialog1 is shared: the bitmap exports keep the filter its last use set
    // (tform1_fichiers.cpp). Each export starts in the folder it last wrote to, else the map's.
    enum Sortie { sortievideo, sortiesuite, sortiebmp, nbsorties };
    QString dossierexport(Sortie s) const;
    void retiensdossier(Sortie s, const QString& fichier);
    QString filtresauve, dossiers[nbsorties];
};

// The single instance, set while a window exists.
extern TForm1* Form1;
