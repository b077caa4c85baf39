// A GPS standing still does not stand still in its file: its points wander a few metres around
// the place. Such runs are found here and made one stop, so that the wandering adds neither
// distance nor moving film time.
#pragma once

#include "geo/gpx.h"

// The track's GPS noise in metres: how far a point typically lies from the middle of its two
// neighbours, which on a straight walk is the error alone.
double bruitgps(const TraceGps& t);

struct Arrets {
    int nombre = 0;
    double duree = 0;      // seconds stood still in all, when the track has times
    qsizetype retires = 0; // points taken out
};

// Each run of points that stays within `rayon` metres of its own centre for a stop's time (for
// at least ARRETPOINTS points when the track has no times), going nowhere (its last third about
// where its first is), becomes its first point, then that same place at the run's last time: no
// distance inside it, and its time one standstill that the pause cap shortens.
constexpr double ARRETSECONDES = 30;
constexpr qsizetype ARRETPOINTS = 10;
Arrets immobilise(TraceGps& t, double rayon);

// The radius that tells a stop from a slow walk, from the track's noise.
double rayonarret(double bruit);
