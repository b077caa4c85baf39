#include "project/verrou.h"

#include <QFileInfo>

Verrou::Verrou(const QString& parametres) : verrou(parametres + QStringLiteral(".lock")) {
    // A trace may take long: only a holder that has died leaves a lock to take over.
    verrou.setStaleLockTime(0);
}

std::optional<QString> Verrou::prend(int attente) {
    if (verrou.tryLock(attente)) return std::nullopt;
    if (verrou.error() != QLockFile::LockFailedError) return std::nullopt;
    qint64 pid = 0;
    QString hote, programme;
    if (!verrou.getLockInfo(&pid, &hote, &programme))
        return QStringLiteral("Le projet est occupé par un autre programme : réessayer quand il "
                              "aura fini.");
    return QStringLiteral("Le projet est occupé par %1 (processus %2 sur %3) : réessayer quand "
                          "il aura fini.")
        .arg(programme.isEmpty() ? QStringLiteral("un autre programme") : programme)
        .arg(pid)
        .arg(hote);
}

QString parametresdecarte(const QString& carte) {
    const QFileInfo f(carte);
    return f.absolutePath() + QLatin1Char('/') + f.fileName().section(QLatin1Char('.'), 0, 0) +
           QStringLiteral(".vlp");
}
