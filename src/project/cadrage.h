// Changing the film's size and zoom on a loaded project: the checks against the map, the scroll
// ranges that follow, and the same framing rendered at another size.
#pragma once

#include "map/surfaces.h"
#include "state/etat.h"

#include <QString>

#include <optional>

// The sizes offered, the classic film first.
struct FormatFilm {
    int largeur, hauteur;
    const char* nom; // UTF-8
};
inline constexpr FormatFilm FORMATSFILM[] = {
    {720, 576, "(classique)"}, {1280, 720, "(720p)"},      {1920, 1080, "(1080p)"},
    {3840, 2160, "(4K)"},      {1080, 1920, "(vertical)"}, {1080, 1080, "(carré)"},
};

// Takes the film `f` when the map holds its view; otherwise the refusal, and nothing changes. The
// scroll ranges follow; the frame is not redrawn.
std::optional<QString> prendfilm(Etat& e, const Film& f);

// Renders the same film at l x h: when the aspect is the project's, everything measured in film
// pixels (the zoom, the legend's place, size and shadow, the route's width and outline, the
// magnifier) is scaled with the frame, so the framing stays; otherwise only the size changes, as
// prendfilm does. The refusal when the size or the zoom it needs is out of range.
std::optional<QString> changetaille(Etat& e, Surfaces& surf, int l, int h);

// A legend that reads on a frame of this height: the font about 4 % of it, the shadow offset
// 3 pixels at 576 lines.
void proposelegende(Etat& e);

// "1920x1080" (or with '*' or 'X'): the size, when the text holds one.
std::optional<std::pair<int, int>> lisltaille(const QString& texte);
