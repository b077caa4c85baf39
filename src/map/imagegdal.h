// Pictures that Qt has no reader for, read through GDAL: GeoTIFF above all (the usual form of a
// map that knows where it lies on the Earth), and the other raster formats of geodata.
#pragma once

#include <QImage>
#include <QString>

// GDAL's drivers for the formats taken, as GDALOpenEx wants them (ends with a null). Only
// picture formats: a text or a virtual file is never read as a map.
const char* const* pilotesgdal();

enum class LectureGdal { inconnue, lue, refusee };

// `inconnue`: not a picture of those formats (the caller says why it cannot read it). `lue`:
// `img` holds it, RGB32, samples of more than 8 bits scaled from their least to their largest.
// `refusee`: `erreur` says why (too large, cut short).
LectureGdal chargegdal(const QString& chemin, QImage& img, QString& erreur, long long maxpixels);

// PROJ and GDAL never reach the network, whatever the user's environment says (PROJ_NETWORK): a
// project, a .prj or a picture would otherwise make the program fetch grids from any address.
// Called before any use of either; the PROJ contexts of the program switch it off too.
void horsreseau();
