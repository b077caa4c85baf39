// The camera that follows the route: keyframes written so that the head of the route stays in the
// view, with a margin, for the whole film, the view moving smoothly; the user edits them as any
// others afterwards.
#pragma once

#include "state/etat.h"

#include <QString>

#include <optional>

constexpr int MARGEDEFAUT = 80; // pixels between the head and the view's edge
constexpr int MAXMARGE = 280;   // less than half the view's height

// Replaces the keyframes. `marge` is kept between the drawn head and the view's edges wherever the
// map allows; `lisse` is how many frames the path is averaged over (0: two seconds). The frame
// table follows. An error text (French) when there is no route.
// `zoom` (0: the film's) is the keyframes' own zoom; with `apercu` the film opens and closes on
// the whole route, zoomed out as far as needed, while the route waits for the camera.
std::optional<QString> suisroute(Etat& e, int marge, int lisse, double zoom = 0,
                                 bool apercu = false);
