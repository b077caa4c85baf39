#include "export/film.h"

#include "export/bmp.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// The last frame number N, within the frame table.
int dernierimage(const Etat& e) {
    return std::clamp(e.tlmax, 0, MAXNBI);
}

// Two names of one file: the same file on the same device, when both exist.
bool memefichier(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo fa(a), fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath()))
        return true;
    if (!fa.exists() || !fb.exists()) return false;
    if (fa.canonicalFilePath() == fb.canonicalFilePath()) return true;
#ifdef Q_OS_UNIX
    struct stat sa = {};
    struct stat sb = {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
#else
    return false;
#endif
}

} // namespace

std::optional<QString> fichierduprojet(const Etat& e, const QString& chemin) {
    if (e.fichiercarte.isEmpty()) return std::nullopt;
    const std::pair<QString, const char*> fichiers[] = {
        {e.dossiercarte + e.fichiercarte, "la carte"},
        {e.fichiervisu, "l'image de visu"},
        {e.fichierloupe, "l'image de la loupe"},
        {cheminparametres(e), "le fichier de paramètres"},
    };
    for (const auto& [f, quoi] : fichiers)
        if (memefichier(chemin, f))
            return QStringLiteral("« %1 » est %2 du projet : l'export ne l'écrase pas.")
                .arg(chemin, QString::fromUtf8(quoi));
    return std::nullopt;
}

int ipsvideo(const Etat& e) {
    if (e.cipsindex >= 0 && e.cipsindex < static_cast<int>(std::size(Etat::CADENCES)))
        return Etat::CADENCES[e.cipsindex];
    return e.ips;
}

ExportSuite::ExportSuite(Etat& e, Surfaces& surf, const QString& prefixe)
    : e(e), surf(surf), prefixe(prefixe), derniere(dernierimage(e)) {}

std::optional<QString> ExportSuite::etape() {
    if (fini()) return std::nullopt;
    if (suivante == 1) {
        for (int k = 1; k <= derniere; ++k) {
            if (auto refus = fichierduprojet(e, fichiersuite(prefixe, k))) {
                echec = true;
                return refus;
            }
        }
    }
    const int n = suivante;
    // The time line shows frame n at its offsets and progress: that is the picture written.
    montreimage(e, surf, n);
    if (auto erreur = ecritbmp(surf.vue, fichiersuite(prefixe, n))) {
        echec = true;
        return erreur;
    }
    ++suivante;
    return std::nullopt;
}

ExportVideo::ExportVideo(Etat& e, Surfaces& surf) : e(e), surf(surf), derniere(dernierimage(e)) {}

ExportVideo::~ExportVideo() {
    video.ferme();
    if (!provisoire.isEmpty()) QFile::remove(provisoire);
}

std::optional<QString> ExportVideo::ouvre(const QString& chemin, const OptionsVideo& options) {
    if (auto refus = fichierduprojet(e, chemin)) return refus;
    derniere = dernierimage(e);
    video.ferme();
    if (!provisoire.isEmpty()) QFile::remove(provisoire);
    provisoire.clear();
    rate = garde = false;
    // A link is followed, as QSaveFile does: the film replaces the file it leads to.
    const QFileInfo lien(chemin);
    cible = !lien.isSymLink() ? chemin
            : lien.exists()   ? lien.canonicalFilePath()
                              : lien.symLinkTarget();
    const QFileInfo f(cible);
    // A device or a pipe cannot be replaced by renaming a file over it: it is written in place.
    if (f.exists() && !f.isFile())
        return video.ouvre(cible, ipsvideo(e), options, surf.vue.largeur(), surf.vue.hauteur());
    // Beside the film, so that putting it in place is a rename on the same disk; its name says
    // what it is when a killed export leaves it behind.
    QTemporaryFile t(
        f.dir().filePath(QLatin1Char('.') + f.fileName() + QStringLiteral(".XXXXXX.partiel")));
    t.setAutoRemove(false);
    if (!t.open()) return ERRCREATION;
    provisoire = t.fileName();
    t.close();
    // The film gets the permissions of the one it replaces, or those of a new file.
    QFile::setPermissions(provisoire, f.exists() ? f.permissions()
                                                 : QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ReadGroup | QFile::ReadOther);
    auto erreur =
        video.ouvre(provisoire, ipsvideo(e), options, surf.vue.largeur(), surf.vue.hauteur());
    if (erreur) {
        QFile::remove(provisoire);
        provisoire.clear();
    }
    return erreur;
}

std::optional<QString> ExportVideo::etape() {
    if (fini()) return std::nullopt;
    montreimage(e, surf, video.images());
    auto erreur = video.ecrit(surf.vue);
    if (erreur) rate = true;
    return erreur;
}

std::optional<QString> ExportVideo::ferme() {
    const bool entier = video.ouverte() && video.images() > derniere;
    auto erreur = video.ferme();
    if (provisoire.isEmpty()) return erreur;
    const QString t = provisoire;
    provisoire.clear();
    if (erreur || rate) {
        QFile::remove(t);
        return erreur;
    }
    // Stopped early: the film of before, when there is one, is kept rather than the beginning of
    // the new one.
    if (!entier && QFileInfo::exists(cible)) {
        garde = true;
        QFile::remove(t);
        return std::nullopt;
    }
    // A rename replaces the old film in one step: whoever looks sees the old one or the new one.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(t).toStdString()),
                            std::filesystem::path(QFile::encodeName(cible).toStdString()), ec);
    if (ec) {
        QFile::remove(t);
        return ERRCREATION;
    }
    return std::nullopt;
}
