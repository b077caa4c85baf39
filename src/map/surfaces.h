// The surfaces of a project: the map (or display) picture, the view every frame is composed into,
// the magnifier picture and the scratch surface where the glass is assembled.
#pragma once

#include "map/surface.h"

#include <memory>

struct Brouillon; // the compositor's scratch memory

struct Surfaces {
    Surface carte{VUEL, VUEH}; // Image1: the map picture, or the display picture while "Visu" is on
    Surface vue{VUEL, VUEH};   // fond: the view, one frame of the film
    Surface loupe{121, 105};   // the magnifier picture
    Surface tempo{361, 249};   // scratch surface for the magnifier
    std::shared_ptr<Brouillon> brouillon; // made by the compositor when a film needs it
};
