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

struct Importation {
    int points = 0;       // route points written
    int segments = 0;     // pttron values used
    double longueur = 0;  // metres along the Earth, the whole track
    double hors = 0;      // metres of it off the map, cut
    qsizetype pixels = 0; // pixels of the joined track before thinning
    QStringList messages; // French, for the user: what was cut or thinned
};

// The route (ptx, pty, ptcoul, pttron, nbpt) and its per-point distance, time and elevation are
// replaced; nothing changes when the result is an error (the track lies wholly off the map).
// `couleur` is the first segment's colour; further segments take colours of their own.
std::variant<Importation, QString> importe(Etat& e, const TraceGps& t, const Projection& p,
                                           Couleur couleur);

// Metres along the Earth between two points (geodesic on WGS 84).
double geodesique(double lat1, double lon1, double lat2, double lon2);
