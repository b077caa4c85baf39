// The replay's clock: when each track reached each of its points, where every head stands at a
// moment, the ranking, and the film's frames on that clock (and the camera that follows them).
#pragma once

#include "state/etat.h"

#include <vector>

// Where track p's own clock stands on the replay's: its start time (heure) or the film's start
// (commun), plus its handicap.
double basepiste(const Rejeu& r, const Piste& p);
// The replay's time of the track's point i.
inline double tempspoint(const Etat& e, const Piste& p, int i) {
    return basepiste(e.rejeu, p) + e.pttemps[static_cast<std::size_t>(i)];
}
// The last point the track had reached at time t: p.premier - 1 before its start.
int pointau(const Etat& e, const Piste& p, double t);

// The first start and the last end of the shown tracks; false when none is shown.
bool bornesrejeu(const Etat& e, double& debut, double& fin);

// With a replay, rows 0..r of the frame table take its clock: imgtemps from the first start to
// the last end (a time when no shown track moves counts at most the pause cap), imgavance the
// share of all the tracks' points reached by then. False, and nothing written, without one.
// With `avance` false only imgtemps is written (a frame table read from a file keeps its own).
bool horlogerejeu(Etat& e, int r, bool avance = true);

// A track's head at a time: its last point reached (the first before it starts).
struct Tete {
    int piste = 0;
    int point = 0;
    double dist = 0;    // metres from its start
    bool parti = false; // started
    bool fini = false;  // at its end
    double duree = 0;   // seconds on its own clock since its start
};
std::vector<Tete> tetes(const Etat& e, double t); // shown tracks only, in track order

// The ranking at a time: finished tracks by their time, then the others by distance. The gap to
// the leader: how long before now the leader was where this track is (when the leader's track
// has times), else the distance behind.
struct Rang {
    Tete tete;
    double ecart = 0;
    bool ecarttemps = false;
};
std::vector<Rang> classement(const Etat& e, double t);

// With a followed camera (Suivi::TOUTES, TETE), the offsets and zoom of rows 0..r keep every
// shown head in view at the film's zoom or wider (or the leader in the middle).
void camerarejeu(Etat& e, int r);
