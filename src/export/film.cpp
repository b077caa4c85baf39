#include "export/film.h"

#include "export/bmp.h"
#include "export/palette.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

template <class Ouvre>
std::optional<QString> ExportVideo::prepare(const QString& chemin, Ouvre ecrit) {
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
    if (f.exists() && !f.isFile()) return ecrit(cible);
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
    auto erreur = ecrit(provisoire);
    if (erreur) {
        QFile::remove(provisoire);
        provisoire.clear();
    }
    return erreur;
}

std::optional<QString> ExportVideo::ouvre(const QString& chemin, const OptionsVideo& options) {
    transparent = false;
    ajustevue(e, surf);
    return prepare(chemin, [&](const QString& c) {
        return video.ouvre(c, ipsvideo(e), options, surf.vue.largeur(), surf.vue.hauteur());
    });
}

std::optional<QString> ExportVideo::ouvre(const QString& chemin, Format format,
                                          const OptionsFilm& options) {
    if (options.transparent && !avecalpha(format)) return ERRSANSALPHA;
    // An AVI is the film of before, uncompressed: the quality has no meaning there.
    if (format == Format::avi) return ouvre(chemin, OptionsVideo{});
    transparent = options.transparent;
    ajustevue(e, surf);
    QList<QRgb> couleurs;
    if (format == Format::gif || format == Format::apng) {
        if (auto refus = fichierduprojet(e, chemin)) return refus;
        // A few dozen frames spread over the film show every colour it has: the map under
        // every offset, the route in all its colours, the legend and the magnifier.
        Palette p;
        const int n = dernierimage(e);
        const int echantillons = std::min(n + 1, 32);
        for (int k = 0; k < echantillons; ++k) {
            montreimage(e, surf, echantillons == 1 ? 0 : n * k / (echantillons - 1));
            p.ajoute(surf.vue.image());
        }
        // The route, its tip and the legend keep their exact colours.
        QList<QRgb> imposees;
        auto impose = [&imposees](Couleur c) {
            if (!imposees.contains(versqrgb(c))) imposees.append(versqrgb(c));
        };
        for (int i = 0; i <= dernierpoint(e) && imposees.size() < 64; ++i)
            impose(e.ptcoul[i]);
        if (e.checkbox1) impose(e.coulbord);
        if (e.montre) {
            impose(e.police.couleur);
            if (e.okombre) impose(e.coulombre);
        }
        couleurs = p.calcule(couleursgif(options.qualite), imposees);
    }
    return prepare(chemin, [&](const QString& c) {
        return video.ouvrefilm(c, ipsvideo(e), format, options, surf.vue.largeur(),
                               surf.vue.hauteur(), couleurs);
    });
}

std::optional<QString> ExportVideo::etape() {
    if (fini()) return std::nullopt;
    std::optional<QString> erreur;
    if (transparent) {
        erreur = video.ecrit(imagetransparente(e, surf, video.images()));
    } else {
        montreimage(e, surf, video.images());
        erreur = video.ecrit(surf.vue);
    }
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

QImage imagetransparente(Etat& e, Surfaces& surf, int p) {
    montreimage(e, surf, p, 0x000000);
    const QImage noir = surf.vue.image().copy();
    montreimage(e, surf, p, 0xffffff);
    const QImage& blanc = surf.vue.image();
    QImage sortie(noir.size(), QImage::Format_ARGB32);
    for (int y = 0; y < sortie.height(); ++y) {
        const auto* n = reinterpret_cast<const QRgb*>(noir.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(blanc.constScanLine(y));
        auto* s = reinterpret_cast<QRgb*>(sortie.scanLine(y));
        for (int x = 0; x < sortie.width(); ++x) {
            // Over black a pixel shows colour x alpha, over white that plus (1 - alpha) x 255.
            const int passe = std::max({qRed(b[x]) - qRed(n[x]), qGreen(b[x]) - qGreen(n[x]),
                                        qBlue(b[x]) - qBlue(n[x]), 0});
            const int a = 255 - std::min(passe, 255);
            if (a == 0) {
                s[x] = 0;
                continue;
            }
            auto c = [a](int v) { return std::min(255, (v * 255 + a / 2) / a); };
            s[x] = qRgba(c(qRed(n[x])), c(qGreen(n[x])), c(qBlue(n[x])), a);
        }
    }
    return sortie;
}

ExportPng::ExportPng(Etat& e, Surfaces& surf, const QString& prefixe, bool transparent)
    : e(e), surf(surf), prefixe(prefixe), transparent(transparent), derniere(dernierimage(e)) {}

QString ExportPng::fichier(int n) const {
    const int chiffres = std::max(4, static_cast<int>(QString::number(derniere).size()));
    return prefixe + QStringLiteral("%1.png").arg(n, chiffres, 10, QLatin1Char('0'));
}

std::optional<QString> ExportPng::etape() {
    if (fini()) return std::nullopt;
    if (suivante == 0) {
        for (int k = 0; k <= derniere; ++k) {
            if (auto refus = fichierduprojet(e, fichier(k))) {
                echec = true;
                return refus;
            }
        }
    }
    const int n = suivante;
    QImage img;
    if (transparent) {
        img = imagetransparente(e, surf, n);
    } else {
        montreimage(e, surf, n);
        img = surf.vue.image();
    }
    // A frame is whole or absent: a half-written file never takes the name.
    QSaveFile f(fichier(n));
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "PNG") || !f.commit()) {
        echec = true;
        return QStringLiteral("Impossible d'écrire « %1 »").arg(fichier(n));
    }
    ++suivante;
    return std::nullopt;
}
