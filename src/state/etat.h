// The project state: the route, the tracer's values, the map's identity, the time line, the
// magnifier path, the language table, and the settings that the window's controls show. Plain data
// with fixed capacities; the window and the core routines read and change it directly.
#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// Capacities. Every append checks them; nothing is ever written past a table.
constexpr int MAXPT = 36001;        // V1.50's route table: what its [CHEMIN] rows hold at most
constexpr int MAXROUTE = 4'000'000; // route points kept, indices 0..MAXROUTE-1
constexpr int MAXCLE = 101;         // keyframes, indices 0..100
constexpr int MAXIMG = 2901;        // frame table rows, indices 0..2900
constexpr int MAXNBI = 2900;        // largest last frame number
constexpr int NBTEXTES = 101;       // V1.50's language entries 0..100
constexpr int MAXTEXTES = 2000;     // the table: V1.50's entries, then later versions' from 101 on

// The classic film: every frame 720 x 576, one map pixel a film pixel.
constexpr int VUEL = 720;
constexpr int VUEH = 576;

// A colour is a 32-bit value 0x00BBGGRR. With the top bit set it names a system colour (low byte =
// system colour index) and is resolved only when drawn.
using Couleur = std::int32_t;
constexpr Couleur COULSYSTEME = static_cast<Couleur>(0x80000000u);
constexpr Couleur clScrollBar = COULSYSTEME | 0;
constexpr Couleur clBackground = COULSYSTEME | 1;
constexpr Couleur clWindow = COULSYSTEME | 5;     // -2147483643: the swatches' start colour
constexpr Couleur clWindowText = COULSYSTEME | 8; // the legend font's start colour
constexpr Couleur clBtnFace = COULSYSTEME | 15;
constexpr Couleur clInfoBk = COULSYSTEME | 24;
// What a read outside a surface yields: no colour, which never equals a real one.
constexpr Couleur AUCUNECOULEUR = -1;

inline bool estsysteme(Couleur c) {
    return (c & COULSYSTEME) != 0;
}

// The legend font, as the font dialog and the parameters file know it. A negative height is the
// character height in pixels, a positive one the cell height.
struct Police {
    QString nom = QStringLiteral("MS Sans Serif");
    int taille = -11;
    Couleur couleur = clWindowText;
    bool gras = false;
    bool italique = false;
    bool souligne = false;
    bool barre = false;
    bool operator==(const Police&) const = default;
};

// How the walk reads the painted route. All off is the classic walk over the view, colour for
// colour; any of them makes it walk the map picture itself.
struct ReglagesTrace {
    int tolerance = 0;  // largest colour distance (CIE 1976 delta E) still taken; 0 = exact
    bool carte = false; // walk the whole map, not only what passes through the view
    int pont = 0;       // gaps in the painted line bridged up to this many pixels
    bool plume = false; // order the pixels along the line's centre, as a pen draws it
    bool operator==(const ReglagesTrace&) const = default;
    bool classique() const { return *this == ReglagesTrace{}; }
};
constexpr int MAXTOLERANCE = 100;
constexpr int MAXPONT = 50;

// The map placed on the Earth: an affine map from pixel centres to coordinates of a reference
// system, and what it was made from. `crs` empty: the coordinates are spherical Mercator metres
// (the fit of clicked points); otherwise any text PROJ takes (a one-line WKT, "EPSG:4326").
struct Amer {
    double x = 0, y = 0;     // map pixel
    double lat = 0, lon = 0; // degrees
    bool operator==(const Amer&) const = default;
};
struct Calage {
    bool place = false;
    // X = a x + b y + c, Y = d x + e y + f, (x, y) the pixel centre.
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
    QString crs;
    std::vector<Amer> amers; // the clicked points the fit came from (none for a world file)
    bool operator==(const Calage&) const = default;
    // North up: each pixel `pas` units east and south of its neighbours, the first pixel's
    // centre at (x0, y0).
    static Calage nord(double pas, double x0, double y0, const QString& crs) {
        Calage c;
        c.place = true;
        c.a = pas;
        c.e = -pas;
        c.c = x0;
        c.f = y0;
        c.crs = crs;
        return c;
    }
};

// What the GPS track adds to the film; all off is the film of old. Saved in a [GEO] section.
struct ReglagesGeo {
    Calage calage;
    bool distance = false; // the legend counts the distance covered, not Lkm's even share
    int decimales = 1;     // of that distance
    // A scale from two clicks on the map's scale bar: pixels (x1, y1) to (x2, y2) span `metres`.
    // When set, the distance is measured along the map instead of along the Earth.
    double echx1 = 0, echy1 = 0, echx2 = 0, echy2 = 0, echmetres = 0;
    bool allure = false; // the progress follows the track's clock
    int pause = 0;       // seconds a standstill counts at most in the film; 0 = as walked
    bool temps = false, vitesse = false, altitude = false; // further legend lines
    bool profil = false;                                   // elevation strip along the bottom
    bool operator==(const ReglagesGeo&) const = default;
    bool echelle() const { return echmetres > 0 && (echx1 != echx2 || echy1 != echy2); }
};
constexpr int MAXDECIMALES = 3;
constexpr std::size_t MAXAMERS = 100;
// Placement coefficients and points, a point's distance, time and elevation: far beyond any map
// or track, and still exact in a double. The parameters file holds no larger value.
constexpr double MAXREEL = 1e12;
constexpr int MAXPAUSE = 86400;
// A replay: several GPS tracks on the map at once, each advancing at its own clock. The tracks
// are runs of the route's points one after the other, so that a reader of the route alone sees
// one route; each point's time (pttemps) is on its own track's clock, its distance (ptdist) from
// its own track's start.
struct Piste {
    QString nom;
    Couleur couleur = 0x0000ff;
    bool montre = true;
    double decalage = 0;           // seconds added to the track's clock: a handicap start
    double debut = 0;              // the clock of its first point, seconds since 1970 UTC
    bool horloge = false;          // its points carry their times (else paced evenly)
    int premier = 0, dernier = -1; // its route points
    bool operator==(const Piste&) const = default;
};
// `heure`: one clock for all, from the earliest start to the latest end; `commun`: every track
// starts with the film (a mass start).
enum class Depart { HEURE, COMMUN };
// What the camera follows in a replay: the keyframes as ever, every shown head, or the leader.
enum class Suivi { CLES, TOUTES, TETE };
struct Rejeu {
    std::vector<Piste> pistes; // none: no replay
    Depart depart = Depart::HEURE;
    double queue = 0;           // seconds of each track drawn behind its head; 0: all of it
    bool classement = false;    // the ranking box
    int classx = 8, classy = 8; // its top-left corner in film pixels, as the legend's
    Suivi suivi = Suivi::CLES;
    bool operator==(const Rejeu&) const = default;
    bool actif() const { return !pistes.empty(); }
};
constexpr int MAXPISTES = 200;
constexpr double MAXQUEUE = 86400;

// The film's frame size and how many film pixels a map pixel takes. The view is the map rectangle
// of film size / zoom at the scroll offsets; the tables keep their offsets in map pixels.
struct Film {
    int largeur = VUEL, hauteur = VUEH;
    double zoom = 1.0;
    bool operator==(const Film&) const = default;
    bool classique() const { return *this == Film{}; }
    // The view in map pixels.
    int champl() const { return std::max(1, static_cast<int>(std::lround(largeur / zoom))); }
    int champh() const { return std::max(1, static_cast<int>(std::lround(hauteur / zoom))); }
    // The shadow's offset range grows with the frame (6 at 576 lines).
    int ombremax() const { return std::max(6, hauteur * 6 / VUEH); }
};
constexpr int MINFILM = 64;
constexpr int MAXFILML = 7680, MAXFILMH = 4320;
constexpr double MINZOOM = 0.1, MAXZOOM = 16.0;
// Sides even (the video encoders' chroma needs it) and within the limits.
inline bool taillevalide(int l, int h) {
    return l >= MINFILM && h >= MINFILM && l <= MAXFILML && h <= MAXFILMH && l % 2 == 0 &&
           h % 2 == 0;
}
inline bool zoomvalide(double z) {
    return std::isfinite(z) && z >= MINZOOM && z <= MAXZOOM;
}

// How the route is drawn. A width of 0 draws the route's own pixels, exactly; a width draws each
// point as an anti-aliased disc of that diameter in film pixels, with an optional outline (halo)
// around the line.
struct Style {
    int largeur = 0;
    int halo = 0; // outline width in film pixels beyond the line; only with a width
    Couleur coulhalo = 0xffffff;
    bool operator==(const Style&) const = default;
    bool classique() const { return *this == Style{}; }
};
constexpr int MAXLARGEUR = 64;
constexpr int MAXHALO = 32;

// Legend units, in the order of the parameters file's [KM] digit.
enum Unite { SANS = 0, KM = 1, MILE = 2, AUTRE = 3 };

constexpr int SANSAVANCE = -1;
inline std::array<int, MAXCLE> sansavance() {
    std::array<int, MAXCLE> a;
    a.fill(SANSAVANCE);
    return a;
}

struct Etat {
    // --- Route -----------------------------------------------------------------------------
    // The route tables hold V1.50's 36001 entries from the start and grow with a longer route
    // (placeroute), so a short route costs what it always did.
    std::vector<int> ptx = std::vector<int>(MAXPT);
    std::vector<int> pty = std::vector<int>(MAXPT);
    std::vector<Couleur> ptcoul = std::vector<Couleur>(MAXPT);
    std::vector<int> pttron = std::vector<int>(MAXPT);
    int nbpt = -1; // index of the last point; -1 = empty route
    int troncours = 0;
    // What a GPS track tells of each point: distance from the start along the Earth (metres),
    // time from the start (seconds), elevation (metres). Each holds for points 0..nbgeo-1 when its
    // flag is set; a route traced by hand has none (see geovalide). They grow apart from the
    // route (placegeo): a long hand-traced route does not pay for them.
    std::vector<double> ptdist = std::vector<double>(MAXPT);
    std::vector<double> pttemps = std::vector<double>(MAXPT);
    std::vector<double> ptalt = std::vector<double>(MAXPT);
    int nbgeo = 0;
    bool gpsdist = false, gpstemps = false, gpsalt = false;

    // --- Tracer ----------------------------------------------------------------------------
    int etatcalcul = 0; // 0 idle, 1 armed, 2 tracing
    bool calculactif = false;
    bool nouvelleroute = false;
    Couleur coulsuivie = 0;
    Couleur coulmarque = 0;
    Couleur coulpixel = 0;

    // --- Map -------------------------------------------------------------------------------
    int largeurcarte = 0;
    int hauteurcarte = 0;
    QString dossiercarte; // ends with '/'
    QString fichiercarte; // empty = no map loaded
    QString fichierparam;
    QString fichiervisu;
    QString fichierloupe;

    // --- Time line -------------------------------------------------------------------------
    int ips = 0;
    std::array<int, MAXCLE> cleimg{};
    std::array<int, MAXCLE> cledecx{};
    std::array<int, MAXCLE> cledecy{};
    std::array<QString, MAXCLE> cletemps{};
    // A keyframe's own zoom (0: the film's) and the share of the route it pins (-1: none, the
    // share then follows from the frame number).
    std::array<double, MAXCLE> clezoom{};
    std::array<int, MAXCLE> cleavance = sansavance();
    int nbcle = 0;
    int creationcle = 0;
    std::array<int, MAXIMG> imgdecx{};
    std::array<int, MAXIMG> imgdecy{};
    std::array<int, MAXIMG> imgavance{};
    std::array<double, MAXIMG> imgzoom{}; // a frame's zoom; 0: the film's
    // A replay's clock at each frame (seconds on its tracks' clock); follows the frame table.
    std::array<double, MAXIMG> imgtemps{};
    int nbimg = 0;
    double zoomvue = 0; // the zoom of the frame shown; 0: the film's

    // --- Magnifier -------------------------------------------------------------------------
    // One entry per route point: they grow with the route tables.
    std::vector<int> loupex = std::vector<int>(MAXPT);
    std::vector<int> loupey = std::vector<int>(MAXPT);
    Couleur coulfondloupe = 0;
    Couleur coulverreloupe = 0;

    // --- Segments and language -------------------------------------------------------------
    int nbtron = 0;
    std::array<QString, MAXTEXTES> textes{};
    int numlangue = 0;
    QString dossierprog; // ends with '/'

    // --- Settings the controls show (the window mirrors these) ------------------------------
    // View offsets: Ascl, Asch.
    int ascl = 0, asclmax = 100;
    bool asclvisible = true;
    int asch = 0, aschmax = 100;
    bool aschvisible = true;

    // Time line TL, Wtl, Dmax, NbI, Cips.
    int tl = 0, tlmax = 0;
    QString wtl = QStringLiteral("00:00");
    QString dmax = QStringLiteral("06:00");
    QString nbi;
    // The rates of the frame-rate list, in its order: its entries read them, a video takes the
    // selected one.
    static constexpr int CADENCES[] = {10, 12, 15, 20, 24, 25, 30};
    QStringList cips;   // the entries of the frame-rate list
    int cipsindex = -1; // selected entry; -1 when a typed text stands there
    QString cipstexte;  // the text of the frame-rate list

    // Keyframe list Icle, the keyframe buttons, the hidden frame listing ListBox1.
    QStringList icle;
    int icleselection = -1;
    QString creerICcaption;
    bool supicactif = false;
    QStringList listbox1;

    // Colour swatches.
    Couleur coulmon = clWindow;
    Couleur coulr = clWindow;
    Couleur coultron = clWindow;
    Couleur coulombre = clWindow;
    Couleur coulbord = clWindow;

    // Segment list.
    QStringList tronson;
    int tronsonselection = -1;

    // Legend.
    bool montre = false;
    int unite = SANS;
    QString txtautre;
    bool txtautrevisible = true;
    QString lkm = QStringLiteral("0");
    Police police;
    int xt = 0, yt = 0;
    bool okombre = false;
    int xombre = 3, yombre = 3;

    // Tip.
    bool checkbox1 = false;
    int updown1 = 0;
    QString bordnb;

    // Magnifier controls.
    bool okloupe = false;
    int txloupe = 0, txloupemax = 100;
    int estompe = 10;
    // The window hides the magnifier while it waits for a click on the map, so that the glass
    // never covers the place to click. Not a setting: never saved, and off for every export.
    bool loupecachee = false;

    // Display picture switch "Visu".
    bool check = true;
    bool checkvisible = false;

    // The walk's own settings (saved with the project when not all off).
    ReglagesTrace reglagestrace;
    // The camera eases in and out of each keyframe instead of moving in straight lines at one
    // speed (saved with the project when on).
    bool adoucit = false;
    // The GPS track's placement, pace and legend (saved with the project when not all off).
    ReglagesGeo geo;
    // The film's size and zoom and the route's style (saved when not the classic ones).
    Film film;
    Style style;
    // Several GPS tracks replayed at once (saved when there are some).
    Rejeu rejeu;

    // Caption of calculvia and whether Button9 is enabled (the tracer keeps them).
    QString calculviacaption = QStringLiteral("Vialume");
    bool button9actif = true;
};

// The zoom of the frame shown, and the view it gives in map pixels.
inline double zoomde(const Etat& e) {
    return e.zoomvue > 0 ? e.zoomvue : e.film.zoom;
}
inline int champl(const Etat& e, double z) {
    return std::max(1, static_cast<int>(std::lround(e.film.largeur / z)));
}
inline int champh(const Etat& e, double z) {
    return std::max(1, static_cast<int>(std::lround(e.film.hauteur / z)));
}

// The state is about 1.3 MB: always on the heap.
inline std::unique_ptr<Etat> nouveletat() {
    return std::make_unique<Etat>();
}

// Room in ptx, pty, ptcoul, pttron, loupex and loupey for points 0..n-1. They grow by half
// again at least, so that a walk storing one point at a time copies them only now and then.
// False, with nothing changed, past MAXROUTE.
inline bool placeroute(Etat& e, int n) {
    if (n < 0 || n > MAXROUTE) return false;
    const auto besoin = static_cast<std::size_t>(n);
    if (besoin <= e.ptx.size()) return true;
    const std::size_t taille =
        std::clamp(e.ptx.size() + e.ptx.size() / 2, besoin, static_cast<std::size_t>(MAXROUTE));
    for (auto* t : {&e.ptx, &e.pty, &e.ptcoul, &e.pttron, &e.loupex, &e.loupey})
        t->resize(taille);
    return true;
}
// The route tables sized for exactly n points, never under V1.50's 36001: a route read or
// made whole gives back what a longer one before it took. False past MAXROUTE.
inline bool tailleroute(Etat& e, int n) {
    if (n < 0 || n > MAXROUTE) return false;
    const auto taille = static_cast<std::size_t>(std::max(n, MAXPT));
    if (taille == e.ptx.size()) return true;
    for (auto* t : {&e.ptx, &e.pty, &e.ptcoul, &e.pttron, &e.loupex, &e.loupey}) {
        t->resize(taille);
        t->shrink_to_fit();
    }
    return true;
}
// The same for the GPS values ptdist, pttemps and ptalt, exactly n entries (at least 36001).
inline bool placegeo(Etat& e, int n) {
    if (n < 0 || n > MAXROUTE) return false;
    const auto taille = static_cast<std::size_t>(std::max(n, MAXPT));
    for (auto* t : {&e.ptdist, &e.pttemps, &e.ptalt}) {
        t->resize(taille);
        t->shrink_to_fit();
    }
    return true;
}
// The last route point the tables hold: nbpt, unless a caller set nbpt past them.
inline int dernierpoint(const Etat& e) {
    return std::min(e.nbpt, static_cast<int>(e.ptx.size()) - 1);
}

// Whether the per-point GPS data covers the whole route: a hand trace that replaced or extended
// it leaves the data behind.
inline bool geovalide(const Etat& e) {
    return e.nbpt >= 0 && e.nbgeo == e.nbpt + 1 &&
           e.ptdist.size() >= static_cast<std::size_t>(e.nbgeo);
}
inline void videgeo(Etat& e) {
    e.nbgeo = 0;
    e.gpsdist = e.gpstemps = e.gpsalt = false;
    placegeo(e, 0);
    e.rejeu.pistes.clear(); // the tracks were runs of the route
}

// The text of language entry `entree` when it is not empty, else the French text.
inline QString traduit(const Etat& e, int entree, const QString& francais) {
    if (entree >= 0 && entree < MAXTEXTES && !e.textes[entree].isEmpty()) return e.textes[entree];
    return francais;
}

// The table in force for the parts that hold no project (file readers, the command line, worker
// threads' messages): the language loader puts each table it reads here too.
using Textes = std::array<QString, MAXTEXTES>;
inline Textes& textesglobaux() {
    static Textes t;
    return t;
}
// The text of entry `entree` of that table when it is not empty, else the French text.
inline QString traduit(int entree, const QString& francais) {
    const Textes& t = textesglobaux();
    if (entree >= 0 && entree < MAXTEXTES && !t[entree].isEmpty()) return t[entree];
    return francais;
}
