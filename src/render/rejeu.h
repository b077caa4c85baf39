// A replay over the map: each shown track as far as its clock has reached (only its last
// seconds when a tail is asked for, fading out), its head a disc in its colour with its name
// beside it, and the ranking box.
#pragma once

#include "map/surfaces.h"
#include "state/etat.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <vector>

// Where each name's box (of tailles[k]) goes beside its head (tetes[k], discs of radius `rayon`):
// no two boxes overlap and none covers a head, inside `cadre` wherever room is left there.
// Heads listed first get the places nearest to them.
std::vector<QRect> placenoms(const std::vector<QPoint>& tetes, const std::vector<QSize>& tailles,
                             int rayon, const QRect& cadre);

// The ranking box's lines at time t: rank, name, distance or time, gap to the leader.
QStringList lignesclassement(const Etat& e, double t);

// The replay at time t onto the view, whose top-left is map pixel (sx, sy) at zoom z.
void dessinerejeu(const Etat& e, Surfaces& surf, double t, int sx, int sy, double z);

// The name boxes drawn at time t, in film pixels, as the last dessinerejeu placed them.
const std::vector<QRect>& nomsplaces(Surfaces& surf);
