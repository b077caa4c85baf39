// Routes made the way the user makes them: lines painted on the map, then traced with the
// window's own buttons and clicks.
#pragma once

#include "aide_fenetre.h"

// The colour of the painted lines: above every colour of the bench's map.
constexpr Couleur LIGNE = 0xff00ff;

// Paints `longueur` pixels of LIGNE on the map from (x, y) to the right, and shows the map
// without the display picture, as a trace needs it.
void peintligne(Banc& b, int x, int y, int longueur);

// Arms a new route (or a continuation) in `couleur`, moves to and clicks view pixel (x, y) and lets
// the walk run to its end. False when the walk did not end in time.
bool trace(Banc& b, bool suite, Couleur couleur, int x, int y);
