#include "map/fichier.h"

#include <QFileInfo>

std::optional<QString> pasunfichier(const QString& chemin) {
    const QFileInfo f(chemin);
    if (!f.exists() || f.isFile()) return std::nullopt;
    if (f.isDir()) return QStringLiteral("c'est un dossier");
    return QStringLiteral("ce n'est pas un fichier ordinaire (tube ou périphérique)");
}
