// The map without its route: the painted route's pixels and their soft fringe are filled from the
// map around them, so that a film shows the route only as it grows.
#pragma once

#include "state/avance.h"
#include "state/etat.h"

#include <QImage>
#include <QString>

// The map with the pixels within `frange` of the route's points 0..nbpt filled in (inpainting).
// Null when the map is empty, or when `av` asks to stop; `av` hears of each tile filled.
QImage cartesanschemin(const QImage& carte, const Etat& e, int frange = 2,
                       const Avance* av = nullptr);

// Where it is kept: beside the map, "<name>-sanschemin.png" (lossless, whatever the map's format).
QString cheminsanschemin(const Etat& e);

// Makes it from `carte` and writes it there whole (a failed write leaves any former file as it
// was). False with a French message in `erreur`; false with `erreur` empty when `av` asked to
// stop (nothing is written then). `fait`, when given, takes the picture written.
bool sauvesanschemin(const QImage& carte, const Etat& e, QString& erreur,
                     const Avance* av = nullptr, QImage* fait = nullptr);
