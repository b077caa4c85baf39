// The magnifier's path: a smoothed copy of the route, so that the glass glides along the bends
// instead of following every pixel step.
#pragma once

#include "state/etat.h"

// Writes loupex/loupey for entries 0..nbpt from ptx/pty: the end points as they are, the inner
// points averaged over three neighbours, once from the route and then estompe + 1 more times in
// place. Fewer than two points: nothing is written.
void lisseloupe(Etat& e);
