#include "map/fichier.h"

#include "state/etat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#include <unistd.h>
#endif

std::optional<QString> pasunfichier(const QString& chemin) {
    const QFileInfo f(chemin);
    if (!f.exists() || f.isFile()) return std::nullopt;
    if (f.isDir()) return traduit(840, QStringLiteral("c'est un dossier"));
    return traduit(841, QStringLiteral("ce n'est pas un fichier ordinaire (tube ou périphérique)"));
}

namespace {

QString plein() {
    return traduit(842, QStringLiteral("le disque est plein"));
}
QString lectureseule(const QString& dossier) {
    return traduit(843, QStringLiteral("le dossier « %1 » est en lecture seule")).arg(dossier);
}
QString absent(const QString& dossier) {
    return traduit(844, QStringLiteral("le dossier « %1 » n'existe pas")).arg(dossier);
}
QString interdit(const QString& dossier) {
    return traduit(845, QStringLiteral("pas le droit d'écrire dans le dossier « %1 »"))
        .arg(dossier);
}

// The folder as it stands: missing, read-only or closed to us, or nothing of the kind.
std::optional<QString> examine(const QString& dossier, qint64 taille) {
    if (!QFileInfo(dossier).isDir()) return absent(dossier);
#ifdef Q_OS_UNIX
    const QByteArray d = QFile::encodeName(dossier);
    struct statvfs v = {};
    if (::statvfs(d.constData(), &v) == 0) {
        if (v.f_flag & ST_RDONLY) return lectureseule(dossier);
        const auto libre = static_cast<qint64>(v.f_bavail) * static_cast<qint64>(v.f_frsize);
        // Unknown size: a disk with less than a few blocks left is full for any file.
        if (libre < std::max<qint64>(taille, 64 * 1024)) return plein();
    }
    if (::access(d.constData(), W_OK) != 0)
        return errno == EROFS ? lectureseule(dossier) : interdit(dossier);
#else
    Q_UNUSED(taille);
    if (!QFileInfo(dossier).isWritable()) return interdit(dossier);
#endif
    return std::nullopt;
}

} // namespace

QString raisonecriture(const QString& chemin, int erreur, qint64 taille) {
    const QString dossier = QDir::toNativeSeparators(QFileInfo(chemin).absolutePath());
    switch (erreur) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return plein();
    case EROFS:
        return lectureseule(dossier);
    case ENOENT:
    case ENOTDIR:
        return absent(dossier);
    case EFBIG:
        return traduit(846, QStringLiteral("le fichier est trop grand pour ce disque"));
    default:
        break;
    }
    // A refused access may be a read-only disk or a folder of someone else's; any other error is
    // told by the state of the folder when it says something, else by the system's words.
    if (const auto r = examine(dossier, taille)) return *r;
    if (erreur == EACCES || erreur == EPERM) return interdit(dossier);
    if (erreur != 0)
        return traduit(847, QStringLiteral("erreur d'écriture (%1)"))
            .arg(QString::fromLocal8Bit(std::strerror(erreur)));
    return traduit(848, QStringLiteral("erreur d'écriture"));
}

bool confirme(QSaveFile& f) {
    errno = 0;
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        const int erreur = errno;
        f.cancelWriting();
        errno = erreur;
        return false;
    }
    return f.commit();
}
