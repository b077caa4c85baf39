#pragma once

#include "state/etat.h"

#include <optional>

// The segments of the route, for the page "Couleur".

// Lists them as the route stands, one item per run of points of one segment number, and
// selects the first (none for an empty route).
void listetroncons(Etat& e);
// The colour of the first point of segment `numero`; nothing when no point has that number.
std::optional<Couleur> couleurtroncon(const Etat& e, int numero);
// Every point of segment `numero` takes colour `c`.
void colorietroncon(Etat& e, int numero, Couleur c);
