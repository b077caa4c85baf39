#include "project/verrou.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include <algorithm>

namespace {

// A lock file is written whole right after it is made: one that stays empty or unreadable longer
// than this was left by a crash or a power cut at that moment.
constexpr qint64 ILLISIBLE = 1000; // ms
// No holder works on a project for a day: a lock that old was left by a computer that stopped.
constexpr qint64 ABANDON = 24LL * 3600 * 1000; // ms

QString occupe() {
    return traduit(820, QStringLiteral("Le projet est occupé par un autre programme : réessayer "
                                       "quand il aura fini."));
}

} // namespace

Verrou::Verrou(const QString& parametres)
    : verrou(parametres + QStringLiteral(".lock")), fichier(parametres + QStringLiteral(".lock")) {
    // A trace may take long: only a holder that has died leaves a lock to take over.
    verrou.setStaleLockTime(0);
}

Verrou::Qui Verrou::qui(QString& hote, qint64& pid, QString& programme) const {
    const QFileInfo f(fichier);
    if (!f.exists()) return Qui::libre;
    const qint64 age = std::abs(f.lastModified().msecsTo(QDateTime::currentDateTime()));
    if (!verrou.getLockInfo(&pid, &hote, &programme))
        return age > ILLISIBLE ? Qui::abandonne : Qui::illisible;
    if (!hote.isEmpty() && hote != QSysInfo::machineHostName())
        return age > ABANDON ? Qui::abandonne : Qui::ailleurs;
    // On this computer the holder's process tells: QLockFile takes over the lock of a dead one.
    return Qui::tenu;
}

std::optional<QString> Verrou::prend(int attente) {
    QElapsedTimer t;
    t.start();
    QString hote, programme;
    qint64 pid = 0;
    Qui q = Qui::libre;
    for (;;) {
        if (verrou.tryLock(0)) return std::nullopt;
        if (verrou.error() != QLockFile::LockFailedError) return std::nullopt;
        q = qui(hote, pid, programme);
        // Left behind for good: taken over at once, whoever made it.
        if (q == Qui::abandonne) {
            verrou.removeStaleLockFile();
            if (verrou.tryLock(0)) return std::nullopt;
        }
        if (t.elapsed() >= attente) break;
        QThread::msleep(
            static_cast<unsigned long>(std::clamp<qint64>(attente - t.elapsed(), 1, 100)));
    }
    switch (q) {
    case Qui::ailleurs:
        return traduit(821,
                       QStringLiteral("Le projet est verrouillé depuis l'ordinateur « %1 » par "
                                      "%2 (processus %3). Si rien n'y tourne plus, supprimer "
                                      "le fichier « %4 », puis réessayer."))
            .arg(hote, programme.isEmpty() ? traduit(822, QStringLiteral("un autre programme"))
                                           : programme)
            .arg(pid)
            .arg(fichier);
    case Qui::tenu:
        return traduit(823, QStringLiteral("Le projet est occupé par %1 (processus %2 sur %3) : "
                                           "réessayer quand il aura fini."))
            .arg(programme.isEmpty() ? traduit(822, QStringLiteral("un autre programme"))
                                     : programme)
            .arg(pid)
            .arg(hote);
    case Qui::libre:
    case Qui::illisible:
    case Qui::abandonne:
        break;
    }
    return occupe();
}

QString parametresdecarte(const QString& carte) {
    const QFileInfo f(carte);
    return f.absolutePath() + QLatin1Char('/') + f.fileName().section(QLatin1Char('.'), 0, 0) +
           QStringLiteral(".vlp");
}
