#include "project/erreurfichier.h"

QString raisonfichier(const QFileDevice& f) {
    QString raison;
    switch (f.error()) {
    case QFileDevice::ReadError:
        raison = QStringLiteral("erreur de lecture");
        break;
    case QFileDevice::WriteError:
        raison = QStringLiteral("erreur d'écriture");
        break;
    case QFileDevice::OpenError:
        raison = QStringLiteral("ouverture impossible");
        break;
    case QFileDevice::PermissionsError:
        raison = QStringLiteral("accès refusé");
        break;
    case QFileDevice::ResourceError:
        raison = QStringLiteral("plus de place sur le disque");
        break;
    case QFileDevice::RenameError:
        raison = QStringLiteral("remplacement impossible");
        break;
    default:
        raison = QStringLiteral("erreur d'entrée-sortie");
        break;
    }
    const QString systeme = f.errorString();
    return systeme.isEmpty() ? raison : raison + QStringLiteral(" (") + systeme + u')';
}
