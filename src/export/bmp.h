// Bitmap export: the Windows bitmap writer and the names of the single bitmap and of the files of
// a sequence. The names are plain functions of the path the save dialog returned.
#pragma once

#include "map/surface.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The complete 24-bit Windows bitmap file of `img` (file header, information header, rows
// bottom-up, each padded to four bytes).
QByteArray octetsbmp(const QImage& img);

// Writes `s` to `chemin` as a 24-bit bitmap, replacing the file. Empty on success, else a French
// message naming the file and the reason.
std::optional<QString> ecritbmp(const Surface& s, const QString& chemin);

// The prefix of a sequence: the folder of `chemin` (with its separator) and the first four
// characters of the file name up to its first "."; empty when that base is empty.
std::optional<QString> prefixesuite(const QString& chemin);
// File n of a sequence: the prefix, n on four digits, ".bmp".
QString fichiersuite(const QString& prefixe, int n);
// The single bitmap: the folder of `chemin`, its file name up to the first ".", ".bmp"; empty when
// the path has no file name.
std::optional<QString> fichierbmp(const QString& chemin);
// The video file: only the file name is put in lower case (folders stay as chosen), and ".avi" is
// appended unless the name already ends with it.
QString fichiervideo(const QString& chemin);
