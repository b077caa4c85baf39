// A GPS track made into the route: projected onto the map, each segment joined pixel to pixel
// along straight steps, what lies off the map cut, thinned evenly to the route's capacity.
#pragma once

#include "geo/calage.h"
#include "geo/gpx.h"
#include "state/etat.h"

#include <QStringList>

#include <variant>

// A track is thinned evenly to this many points. The route holds up to MAXROUTE; a track keeps
// V1.50's table, so that its project is saved and played as V1.50 does.
constexpr int MAXPTGPS = MAXPT;
// The tracks of a replay together: a route longer than V1.50's, sampled in [CHEMIN] for it.
constexpr int MAXPTREJEU = 2'000'000;

struct Importation {
    int points = 0;       // route points written
    int segments = 0;     // pttron values used
    double longueur = 0;  // metres along the Earth, the whole track
    double hors = 0;      // metres of it off the map, cut
    qsizetype pixels = 0; // pixels of the joined track before thinning
    int arrets = 0;       // stops where the GPS stood still, each made one point
    double dureearrets = 0;
    int premier = 0, dernier = -1;   // the route points made of it
    bool temps = false, alt = false; // its points have times that pace, elevations
    QStringList messages;            // French, for the user: what was cut or thinned
};

// The route (ptx, pty, ptcoul, pttron, nbpt) and its per-point distance, time and elevation are
// replaced; nothing changes when the result is an error (the track lies wholly off the map).
// `couleur` is the first segment's colour; further segments take colours of their own.
std::variant<Importation, QString> importe(Etat& e, const TraceGps& t, const Projection& p,
                                           Couleur couleur);

// Several tracks one after the other in the route, each in its colour: a replay. The route's
// capacity is shared among them by their length; one result per track, in order. Nothing
// changes on an error (a track wholly off the map).
// With `ajoute` the tracks go after the route's points, in what room is left.
std::variant<std::vector<Importation>, QString>
importepistes(Etat& e, const std::vector<const TraceGps*>& traces, const Projection& p,
              const std::vector<Couleur>& couleurs, bool ajoute = false);

// Metres along the Earth between two points (geodesic on WGS 84).
double geodesique(double lat1, double lon1, double lat2, double lon2);
