// Reading the pictures the user gives: map, display and magnifier pictures.
#pragma once

#include "map/surface.h"

#include <QString>
#include <QStringList>

// The largest picture accepted, in pixels, whatever its use; larger headers are refused before
// decoding. With the decoder's own allocation limit (MAXDECODE), decoding a picture into
// whatever format its file holds and then converting it to 4 bytes a pixel stays under 2 GB.
constexpr long long MAXPIXELS = 200'000'000LL;
constexpr int MAXDECODE = 1024; // MiB
// A magnifier picture is drawn on the film's frames, and the magnifier holds a second surface of
// its size: none larger than the largest frame is of use, and this keeps a whole project (a map
// at the limit, its magnifier, the frame) under 2 GB.
constexpr long long MAXLOUPE = static_cast<long long>(MAXFILML) * MAXFILMH;

// Loads `chemin` into `dest`, which takes the picture's size. On failure returns false, sets
// `erreur` to a message naming the file and the reason, and leaves `dest` untouched. Pictures of
// more than `maxpixels` are refused before they are decoded.
bool chargeimage(const QString& chemin, Surface& dest, QString& erreur,
                 long long maxpixels = MAXPIXELS);

// The patterns of the picture files the program reads ("*.bmp", "*.png", ...), the usual map
// formats first.
QStringList motifsimages();
// The open-dialog filter of the picture formats the program reads, after `premier`
// ("Carte BMP|*.bmp" or "Loupe BMP|*.bmp").
QString filtreimages(const QString& premier);
