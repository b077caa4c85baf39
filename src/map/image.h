// Reading the pictures the user gives: map, display and magnifier pictures.
#pragma once

#include "map/surface.h"

#include <QString>
#include <QStringList>

// The largest picture accepted, in pixels; larger headers are refused before decoding.
constexpr long long MAXPIXELS = 400'000'000LL;

// Loads `chemin` into `dest`, which takes the picture's size. On failure returns false, sets
// `erreur` to a French message naming the file and the reason, and leaves `dest` untouched.
bool chargeimage(const QString& chemin, Surface& dest, QString& erreur);

// The open-dialog filter of the picture formats the program reads, after `premier`
// ("Carte BMP|*.bmp" or "Loupe BMP|*.bmp").
QString filtreimages(const QString& premier);
