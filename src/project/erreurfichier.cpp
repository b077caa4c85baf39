#include "project/erreurfichier.h"

#include "state/etat.h"

QString raisonfichier(const QFileDevice& f) {
    QString raison;
    switch (f.error()) {
    case QFileDevice::ReadError:
        raison = traduit(892, QStringLiteral("erreur de lecture"));
        break;
    case QFileDevice::WriteError:
        raison = traduit(848, QStringLiteral("erreur d'écriture"));
        break;
    case QFileDevice::OpenError:
        raison = traduit(893, QStringLiteral("ouverture impossible"));
        break;
    case QFileDevice::PermissionsError:
        raison = traduit(894, QStringLiteral("accès refusé"));
        break;
    case QFileDevice::ResourceError:
        raison = traduit(895, QStringLiteral("plus de place sur le disque"));
        break;
    case QFileDevice::RenameError:
        raison = traduit(896, QStringLiteral("remplacement impossible"));
        break;
    default:
        raison = traduit(897, QStringLiteral("erreur d'entrée-sortie"));
        break;
    }
    const QString systeme = f.errorString();
    return systeme.isEmpty() ? raison : raison + QStringLiteral(" (") + systeme + u')';
}
