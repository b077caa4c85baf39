// Files the user names are read only when they are regular files: opening a pipe or a device
// waits for a writer that may never come, and a folder has nothing to read.
#pragma once

#include <QString>

#include <optional>

// Empty when `chemin` is a regular file (or a link to one) or names nothing (its open then says
// why); otherwise the French reason, to follow "Impossible de lire … : ".
std::optional<QString> pasunfichier(const QString& chemin);
