#include "export/partiel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int HASARD = 6; // characters of the random part
const QLatin1StringView FIN(".partiel");
// The name a partial file has for the moment it is made and not yet held: the cleaner leaves it
// alone while it is young, and then takes it for one that a kill left at that very moment.
const QLatin1StringView NAISSANT(".creation");
constexpr qint64 NAISSANCE = 10'000; // ms

QString debut(const QString& cible) {
    return QLatin1Char('.') + QFileInfo(cible).fileName() + QLatin1Char('.');
}

// Whether `nom` is a partial file of the target whose name starts `d`, ending with `fin`.
bool estpartiel(const QString& nom, const QString& d, QLatin1StringView fin) {
    if (nom.size() != d.size() + HASARD + fin.size() || !nom.startsWith(d) || !nom.endsWith(fin))
        return false;
    for (const QChar c : QStringView(nom).mid(d.size(), HASARD))
        if (!c.isLetterOrNumber() || c.unicode() > 127) return false;
    return true;
}

#ifdef Q_OS_UNIX
int ouvre(const QString& chemin, bool dossier, bool cree) {
    const QByteArray c = QFile::encodeName(chemin);
    if (dossier) {
        if (cree && ::mkdir(c.constData(), 0755) != 0) return -1;
        return ::open(c.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    const int mode = cree ? O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC : O_RDONLY | O_CLOEXEC;
    return ::open(c.constData(), mode, 0644);
}
#endif

} // namespace

Partiel::~Partiel() {
    lache();
}

void Partiel::lache() {
#ifdef Q_OS_UNIX
    if (fd >= 0) ::close(fd);
#endif
    fd = -1;
}

int Partiel::cree(const QString& cible, bool dossier) {
    lache();
    nom.clear();
    const QFileInfo f(cible);
    static const char CHIFFRES[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int essai = 0; essai < 100; ++essai) {
        QString hasard;
        for (int k = 0; k < HASARD; ++k)
            hasard += QLatin1Char(CHIFFRES[QRandomGenerator::global()->bounded(62)]);
        const QString chemin = f.dir().filePath(debut(cible) + hasard + FIN);
#ifdef Q_OS_UNIX
        // Made under a name of its own, held, then given the partial name: a cleaner never sees
        // a partial file that nobody holds but the ones a kill left.
        const QString naissant = f.dir().filePath(debut(cible) + hasard + NAISSANT);
        if (QFileInfo::exists(chemin)) continue;
        const int d = ouvre(naissant, dossier, true);
        if (d < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        ::flock(d, LOCK_EX | LOCK_NB);
        if (::rename(QFile::encodeName(naissant).constData(),
                     QFile::encodeName(chemin).constData()) != 0) {
            const int err = errno;
            ::close(d);
            if (dossier)
                QDir().rmdir(naissant);
            else
                QFile::remove(naissant);
            return err;
        }
        fd = d;
        nom = chemin;
        return 0;
#else
        if (QFileInfo::exists(chemin)) continue;
        const bool ok = dossier ? QDir().mkdir(chemin) : QFile(chemin).open(QIODevice::WriteOnly);
        if (!ok) return EACCES;
        nom = chemin;
        return 0;
#endif
    }
    return EEXIST;
}

int nettoiepartiels(const QString& cible) {
    int n = 0;
#ifdef Q_OS_UNIX
    const QFileInfo f(cible);
    const QString d = debut(cible);
    const QDir dossier = f.dir();
    // Every name is compared by hand: the target's own name may hold wildcard characters.
    const QStringList noms = dossier.entryList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                               QDir::System | QDir::NoDotAndDotDot);
    for (const QString& nom : noms) {
        const bool naissant = estpartiel(nom, d, NAISSANT);
        if (!naissant && !estpartiel(nom, d, FIN)) continue;
        const QString chemin = dossier.filePath(nom);
        const QFileInfo i(chemin);
        if (i.isSymLink()) continue;
        if (naissant &&
            std::abs(i.lastModified().msecsTo(QDateTime::currentDateTime())) <= NAISSANCE)
            continue;
        const bool estdossier = i.isDir();
        const int fd = ouvre(chemin, estdossier, false);
        if (fd < 0) continue;
        // Held: a running export writes it.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            const bool parti =
                estdossier ? QDir(chemin).removeRecursively() : QFile::remove(chemin);
            if (parti) ++n;
        }
        ::close(fd);
    }
#else
    Q_UNUSED(cible);
#endif
    return n;
}
