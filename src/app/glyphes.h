// The faces of the six playback buttons, drawn by the program: a blue rounded face with a light
// embossed symbol, 25 x 24 pixels.
#pragma once

#include <QPixmap>

enum class Glyphe { debut, joue, stop, pred, suiv, dern };

constexpr int GLYPHEL = 25;
constexpr int GLYPHEH = 24;

QPixmap glyphe(Glyphe g);
