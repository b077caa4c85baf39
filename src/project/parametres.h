// The project parameters file beside the map: written from the project state, read whole into a
// staged result, then applied to the project only when the whole file is valid.
#pragma once

#include "map/surfaces.h"
#include "state/etat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

// The longest line and the largest file the reader takes. A file with full tables of V1.50 is
// under 2 MB; a point line of a longer route is under 64 bytes, GPS values included.
constexpr qsizetype MAXLIGNE = 8192;
constexpr qsizetype MAXFICHIER = 16 * 1024 * 1024 + qsizetype{MAXROUTE} * 64;

// A route longer than V1.50's 36001 points is written whole in "[ROUTE]", ahead of "[CHEMIN]"
// where a reader of old skips every line; "[CHEMIN]" then holds 36001 of its points spread
// evenly from the first to the last, so that such a reader plays the same film, sparser.
// Row k of "[CHEMIN]" is point echantillon(k, n) of a route of n points.
inline int echantillon(int k, int n) {
    if (n <= MAXPT) return k;
    const long long d = MAXPT - 1;
    return static_cast<int>((static_cast<long long>(k) * (n - 1) + d / 2) / d);
}

// Ranges of the numbers a file may hold, so that what is computed from them never overflows.
// Coordinates and view offsets go far past any map the picture limit lets in, while a few of
// them still add up within an int; segments are counted up from 0.
constexpr int MAXCOORD = 100'000'000; // -MAXCOORD..MAXCOORD
constexpr int MAXTRON = 100'000'000;  // segment numbers 0..MAXTRON
constexpr int MAXIPS = 1000;          // frames per second 1..MAXIPS
constexpr int MAXTAILLE = 1000;       // legend font height -MAXTAILLE..MAXTAILLE

struct PointLu {
    int x = 0, y = 0;
    Couleur coul = 0; // when `colore`
    int tron = 0;     // when `colore`
    bool colore = false;
    // What a GPS track told of the point (fields 5, 6, 7), when given.
    std::optional<double> dist, temps, alt;
    bool operator==(const PointLu&) const = default;
};

struct ImageLue {
    int decx = 0, decy = 0, avance = 0;
    double zoom = 0; // a field of our own after the three; 0: the film's
};

struct CleLue {
    int decx = 0, decy = 0;
    QString temps;
    int img = 0; // from `temps` at the frame rate in force at its line
    // Fields of our own after the three: the keyframe's zoom (0: the film's), the share of the
    // route it pins (-1: none).
    double zoom = 0;
    int avance = -1;
};

struct OmbreLue {
    Couleur couleur = 0;
    int x = 0, y = 0;
};

struct LoupeLue {
    QString fichier;
    int zoom = 0;
    int estompe = 0;
};

// What a file holds. The tables are always taken (the load empties them first); every other value
// is absent when its section is missing, or when its lines said nothing valid ("[MONTRE]" with a
// line other than "0" and "1").
struct Parametres {
    std::vector<PointLu> points;
    std::vector<ImageLue> images;
    std::vector<CleLue> cles;
    std::optional<int> ips;
    std::optional<QString> police;
    std::optional<QString> cptmax;
    std::optional<int> taille;
    std::optional<int> posy;
    std::optional<Couleur> couleur;
    std::optional<bool> montre;
    std::optional<int> km;
    std::optional<int> posx;
    std::optional<int> imgmax;
    std::optional<Couleur> coulroute;
    std::optional<Couleur> coulfond;
    std::optional<QString> visu;
    std::optional<bool> bordok;
    std::optional<Couleur> bordcoul;
    std::optional<int> bordnb;
    std::optional<QString> txtautre;
    std::optional<bool> okombre;
    std::optional<OmbreLue> ombre;
    std::optional<bool> okloupe;
    std::optional<LoupeLue> loupe;
    // Sections of our own, ahead of "[CHEMIN]"; absent means all off.
    ReglagesTrace trace;
    bool adoucit = false;       // "[CAMERA]": eased moves
    ReglagesGeo geo;            // "[GEO]": placement, pace, true distance
    std::optional<Film> film;   // "[FILM]": absent means the classic film
    std::optional<Style> style; // "[STYLE]": absent means the route's own pixels
    Rejeu rejeu;                // "[PISTES]": the tracks of a replay, none without it
    // "[ROUTE]" was there but "[CHEMIN]" no longer holds its points (changed elsewhere since):
    // `points` are those of "[CHEMIN]".
    bool routeecartee = false;
};

// The first line that a file cannot be read past.
struct ErreurLecture {
    int ligne = 0;   // counted from 1; 0 when the file as a whole is refused
    QString texte;   // that line, shortened when very long
    QString message; // French, ends with "(ligne N)" when a line is at fault
};

using Lecture = std::variant<Parametres, ErreurLecture>;

// dossiercarte + fichierparam.
QString cheminparametres(const Etat& e);

// The file as bytes; `ips` is the frame rate in force before the load, which keyframe lines ahead
// of any "[IPS]" are read at.
Lecture lisparametres(QByteArrayView octets, int ips);
// The same from a file; a message then starts with the file's path.
Lecture chargeparametres(const QString& chemin, int ips);

// Applies a read file as the controls would take its values, then rebuilds what follows from
// them and redraws the current frame. Returns the messages to show, in order, language table
// applied (missing pictures, the magnifier switched off).
// "Nombre maxi" holds digits only: anything else, the empty text included, becomes "0".
QString nombremaxi(const QString& texte);

QStringList appliqueparametres(Etat& e, Surfaces& surf, const Parametres& p);
// The load offered after a map load: cheminparametres(e) read whole and applied. A file that
// cannot be read gives its error and leaves the project as it was.
std::optional<ErreurLecture> chargeprojet(Etat& e, Surfaces& surf, QStringList& messages);

// The whole file for the project.
QByteArray ecrisparametres(const Etat& e);
// What in the project the file could not hold as its reader reads it back (a value past the
// reader's limits, a text that would read as a key or be too long a line), said for the user;
// empty when the whole project can be saved and read again.
std::optional<QString> horslimites(const Etat& e);
// The name the file gives a display or magnifier picture: its name alone when it lies beside the
// map (the project's folder can then be moved or copied whole), else its full path.
QString nomimage(const Etat& e, const QString& chemin);
// The zoom as the file holds it: a decimal point, no more digits than needed.
QString textezoom(double z);
// Writes it to cheminparametres(e) through a temporary file, so a failed write leaves the former
// file whole. False with a message in `erreur` when no map is loaded, when horslimites() refuses
// the project (nothing is written then) or when the write fails.
bool sauveparametres(const Etat& e, QString& erreur);
