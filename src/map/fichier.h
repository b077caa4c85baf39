// Files the user names are read only when they are regular files: opening a pipe or a device
// waits for a writer that may never come, and a folder has nothing to read. And when a file the
// user asked for cannot be written, what is in the way is said plainly.
#pragma once

#include <QString>

#include <optional>

class QSaveFile;

// Empty when `chemin` is a regular file (or a link to one) or names nothing (its open then says
// why); otherwise the French reason, to follow "Impossible de lire … : ".
std::optional<QString> pasunfichier(const QString& chemin);

// Why writing `chemin` failed, for the user: the disk is full, the folder is read-only, missing
// or not ours to write in, or the system's own words. `erreur` is the system's error number when
// known (errno), else 0: the folder is then examined, and `taille` (the bytes that were to be
// written, 0 when unknown) compared with the room left on its disk.
QString raisonecriture(const QString& chemin, int erreur = 0, qint64 taille = 0);

// Puts a file written through QSaveFile in place, or leaves the former one as it was. The buffer
// is written out first: this Qt's commit() takes bytes it could not write at the last moment (a
// full disk) for written ones, and would put an empty or cut file in the place of a good one.
// False on failure, with errno of the failing call kept.
bool confirme(QSaveFile& f);
