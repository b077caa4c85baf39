#include "aidepannes.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// A field of /proc/self/status in kB ("VmPeak:   1234 kB").
long long statut(const char* cle) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefixe = QByteArray(cle) + ':';
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(prefixe))
            return l.mid(prefixe.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool ecrittout(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w <= 0) return false;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// Mounts made by the tests vanish with the process, whatever way it ends.
QString espaceprive() {
    static const QString erreur = [] {
        if (::geteuid() != 0) return QStringLiteral("root is needed to mount a tmpfs");
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("unshare: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("mount --make-rprivate: %1")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }();
    return erreur;
}
#endif

} // namespace

Mesure mesure(const std::function<QByteArray()>& travail) {
    Mesure m;
#ifdef Q_OS_LINUX
    int tube[2];
    if (::pipe(tube) != 0) return m;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(tube[0]);
        // The child's peak starts at its size at the fork.
        const long long avant = statut("VmPeak");
        const QByteArray sortie = travail();
        const long long apres = statut("VmPeak");
        const QByteArray message = QByteArray::number((apres - avant) / 1024) + '\n' + sortie;
        const bool ok = ecrittout(tube[1], message.constData(), message.size());
        // No destructors of the parent's objects in the child.
        ::_exit(ok ? 0 : 1);
    }
    ::close(tube[1]);
    if (pid < 0) {
        ::close(tube[0]);
        return m;
    }
    QByteArray recu;
    char tampon[4096];
    for (ssize_t n; (n = ::read(tube[0], tampon, sizeof tampon)) > 0;)
        recu.append(tampon, n);
    ::close(tube[0]);
    int etat = 0;
    ::waitpid(pid, &etat, 0);
    m.fini = WIFEXITED(etat) && WEXITSTATUS(etat) == 0;
    const qsizetype fin = recu.indexOf('\n');
    m.croissancemio = recu.left(fin).toLongLong();
    m.sortie = fin < 0 ? QByteArray() : recu.mid(fin + 1);
#else
    m.sortie = travail();
    m.fini = true;
#endif
    return m;
}

Volume::Volume(const QString& dossier, int kio) : racine(QDir(dossier).absolutePath()) {
#ifdef Q_OS_LINUX
    pourquoi = espaceprive();
    if (!pourquoi.isEmpty()) return;
    QDir().mkpath(racine);
    const QByteArray options = "size=" + QByteArray::number(kio) + "k";
    if (::mount("tmpfs", QFile::encodeName(racine).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        pourquoi =
            QStringLiteral("mount tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    monte = true;
#else
    Q_UNUSED(kio);
    pourquoi = QStringLiteral("tmpfs mounts are made on Linux only");
#endif
}

Volume::~Volume() {
#ifdef Q_OS_LINUX
    if (monte) ::umount2(QFile::encodeName(racine).constData(), MNT_DETACH);
#endif
}

bool Volume::lectureseule() {
#ifdef Q_OS_LINUX
    return monte && ::mount("tmpfs", QFile::encodeName(racine).constData(), "tmpfs",
                            MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#else
    return false;
#endif
}

bool Volume::remplit() {
#ifdef Q_OS_LINUX
    if (!monte) return false;
    const int fd = ::open(QFile::encodeName(chemin(QStringLiteral(".bourre"))).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const QByteArray bloc(4096, 'x');
    while (ecrittout(fd, bloc.constData(), bloc.size())) {
    }
    // Then byte by byte, so not even a small file fits.
    while (ecrittout(fd, "x", 1)) {
    }
    const bool plein = errno == ENOSPC;
    ::close(fd);
    return plein;
#else
    return false;
#endif
}

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool ecrit(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(octets) == octets.size();
}
