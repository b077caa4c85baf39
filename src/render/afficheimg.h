// The frame compositor: one call composes the whole view from the state and the map surface.
#pragma once

#include "map/surfaces.h"
#include "state/etat.h"

#include <optional>

// Composes frame content with the progress `avance` (0..1000) at the offsets (ascl, asch) into
// surf.vue: map, route points, tip, legend with shadow, magnifier. Writes coulfondloupe,
// coulverreloupe and txtautrevisible into the state; reads no widget. With `fond` the map is left
// out and the view filled with that colour instead (the transparent overlay is composed so).
void afficheimg(Etat& e, Surfaces& surf, int avance, std::optional<Couleur> fond = std::nullopt);

// The view surface takes the film's size.
void ajustevue(const Etat& e, Surfaces& surf);

// Shows frame p of the film as the time line does: TL := p (kept within 0..N), Wtl, majmodecle,
// the offsets of row p (kept within the scroll ranges), then afficheimg with the frame's progress.
void montreimage(Etat& e, Surfaces& surf, int p, std::optional<Couleur> fond = std::nullopt);

// Redraws the current frame: afficheimg with the progress of the frame at TL, at the offsets as
// they stand.
void redessine(Etat& e, Surfaces& surf);
