// The command line of the program: `vialume [CARTE]` opens the window, the sub-commands (export,
// trace, info) make and examine a film without a window, on the same core the window uses.
#pragma once

#include "export/video.h"
#include "map/surfaces.h"
#include "state/etat.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

// What --version prints.
QString versionligne();

// Exit status of the program.
constexpr int SORTIEOK = 0;
constexpr int SORTIEECHEC = 1; // the work failed; its message is on standard error
constexpr int SORTIEUSAGE = 2; // the command line is wrong

// What the command line asks for, once parsed (no file is looked at yet).
struct Demande {
    enum Action { fenetre, aide, version, exporte, trace, camera, info, gpx };
    enum Sortie { avi, bmps, bmp, film, png };

    Action action = fenetre;
    QString carte; // the map picture; empty = the window opens without one

    // export
    Sortie sortie = avi;
    QString cible;                         // the film, the sequence's prefix or the bitmap
    QString codec = QStringLiteral("rgb"); // the command-line name of the codec
    std::optional<int> qualite, debit, cle;
    int image = 0;                             // --bmp: the frame composed first
    bool transparent = false;                  // --film, --png: the map left out
    std::optional<std::pair<int, int>> taille; // --film, --png: the film's size
    std::optional<double> zoom;                // --film, --png: film pixels per map pixel

    // trace
    int x = 0, y = 0;
    Couleur couleur = 0;
    bool suite = false;
    // The walk's settings given here; the others stay the project's.
    std::optional<int> tolerance, pont;
    bool carteentiere = false, plume = false;
    bool sanschemin = false; // make the map without its route afterwards

    // camera
    bool suivre = false;
    int marge = 80;
    int lisse = 0; // 0: two seconds
    std::optional<bool> adoucir;
    bool apercu = false; // --apercu: the whole route at the start and the end

    // info
    bool json = false;

    // gpx
    QString fichiergpx;        // the GPX file
    std::vector<Amer> calages; // placed points; none: the project's or the map's placement
    // For each placed point, the track point whose place it is ("@N", -1 the last), or 0 when its
    // latitude and longitude were given.
    std::vector<qsizetype> calagespoints;
    bool temps = false;    // the film at the track's pace
    bool distance = false; // the legend tells the true distance
    std::optional<int> pause, decimales;
    // A replay: several GPX files (or each <trk> with --pistes), their names and colours, how
    // they start, their tails, the ranking box, what the camera follows, the film's length.
    QStringList fichiersgpx;
    bool rejeu = false;
    QStringList noms;
    std::vector<Couleur> couleurs;
    bool pistes = false;
    std::optional<Depart> depart;
    std::optional<double> queue;
    std::optional<std::pair<int, int>> classement;
    std::optional<Suivi> suivi;
    std::optional<int> duree; // seconds of film
};

// A command line that cannot be run as written: the message says why.
struct ErreurUsage {
    QString texte;
};

// Parses the arguments after the program's name, with QCommandLineParser: the sub-command first,
// then its options in any order.
std::variant<Demande, ErreurUsage> analyse(const QStringList& args);

// The text of --help.
QString aide();

// A colour given on the command line: "#RRGGBB", or a colour value as the parameters file holds
// it (signed decimal, "$" hexadecimal 0x00BBGGRR, or a colour name such as clRed), or a colour
// name a user types ("red", "darkgreen": the SVG names).
std::optional<Couleur> couleurligne(const QString& texte);

// Whether the arguments ask for something other than the window (a sub-command, the help, or a
// command line that cannot be parsed). Looked at before any application object exists, since
// such a run must not need a display.
bool horsfenetre(int argc, char** argv);

// From the start-up state, loads the map `carte` and, when it has one, its parameters file, as
// "Charger" does when its question is answered Oui; the folder of the map becomes the current
// one, so that pictures the file names without a folder are found beside the map. Empty on
// success, else the message; a malformed parameters file changes nothing. Missing display or
// magnifier pictures are reported on standard error and the load goes on, as in the window.
std::optional<QString> ouvreprojet(Etat& e, Surfaces& surf, const QString& carte);

// Runs a parsed sub-command (export, trace, info); returns the exit status.
int lance(const Demande& d);

// The map the window is to open (as an absolute path), when the arguments name one.
QString cartefenetre(int argc, char** argv);

// Runs what horsfenetre() accepted, with an offscreen QGuiApplication of its own; returns the exit
// status.
int executeligne(int argc, char** argv);
