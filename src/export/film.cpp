#include "export/film.h"

#include "export/bmp.h"
#include "export/palette.h"
#include "map/fichier.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
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
    const std::pair<QString, QString> fichiers[] = {
        {e.dossiercarte + e.fichiercarte,
         traduit(e, 902,
                 QStringLiteral("« %1 » est la carte du projet : l'export ne l'écrase pas."))},
        {e.fichiervisu, traduit(e, 903,
                                QStringLiteral("« %1 » est l'image de visu du projet : "
                                               "l'export ne l'écrase pas."))},
        {e.fichierloupe, traduit(e, 904,
                                 QStringLiteral("« %1 » est l'image de la loupe du projet : "
                                                "l'export ne l'écrase pas."))},
        {cheminparametres(e), traduit(e, 905,
                                      QStringLiteral("« %1 » est le fichier de paramètres "
                                                     "du projet : l'export ne l'écrase pas."))},
    };
    for (const auto& [f, refus] : fichiers)
        if (memefichier(chemin, f)) return refus.arg(chemin);
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
    partiel.lache();
}

template <class Ouvre>
std::optional<QString> ExportVideo::prepare(const QString& chemin, Ouvre ecrit) {
    if (auto refus = fichierduprojet(e, chemin)) return refus;
    derniere = dernierimage(e);
    video.ferme();
    if (!provisoire.isEmpty()) QFile::remove(provisoire);
    provisoire.clear();
    partiel.lache();
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
    // what it is when a killed export leaves it behind, and the next export of the film removes
    // those that no running export holds.
    nettoiepartiels(cible);
    if (const int err = partiel.cree(cible, false))
        return traduit(e, 836, QStringLiteral("Impossible d'écrire le fichier « %1 » : %2."))
            .arg(cible, raisonecriture(cible, err));
    provisoire = partiel.chemin();
    // The film gets the permissions of the one it replaces, or those of a new file.
    QFile::setPermissions(provisoire, f.exists() ? f.permissions()
                                                 : QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ReadGroup | QFile::ReadOther);
    auto erreur = nomme(ecrit(provisoire));
    if (erreur) {
        QFile::remove(provisoire);
        provisoire.clear();
        partiel.lache();
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
    if (options.transparent && !avecalpha(format)) return errsansalpha();
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
    return nomme(erreur);
}

std::optional<QString> ExportVideo::nomme(std::optional<QString> message) const {
    // The user named the film, not the hidden file it is written to first.
    if (message && !provisoire.isEmpty()) message->replace(provisoire, cible);
    return message;
}

std::optional<QString> ExportVideo::ferme() {
    const bool entier = video.ouverte() && video.images() > derniere;
    auto erreur = nomme(video.ferme());
    if (provisoire.isEmpty()) return erreur;
    const QString t = provisoire;
    provisoire.clear();
    if (erreur || rate) {
        QFile::remove(t);
        partiel.lache();
        return erreur;
    }
    // Stopped early: the film of before, when there is one, is kept rather than the beginning of
    // the new one.
    if (!entier && QFileInfo::exists(cible)) {
        garde = true;
        QFile::remove(t);
        partiel.lache();
        return std::nullopt;
    }
    // A rename replaces the old film in one step: whoever looks sees the old one or the new one.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(t).toStdString()),
                            std::filesystem::path(QFile::encodeName(cible).toStdString()), ec);
    partiel.lache();
    if (ec) {
        QFile::remove(t);
        return traduit(e, 836, QStringLiteral("Impossible d'écrire le fichier « %1 » : %2."))
            .arg(cible, raisonecriture(cible, ec.value()));
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

ExportPng::~ExportPng() {
    const QString dossier = partiel.chemin();
    if (dossier.isEmpty() || echec || suivante > derniere) return;
    // Stopped by the user: what was written takes the names only when no sequence had them, as a
    // film stopped early does; the partial folder goes either way.
    if (!QFileInfo::exists(fichier(0)))
        for (int n = 0; n < suivante; ++n)
            deplace(provisoire(n), fichier(n));
    QDir(dossier).removeRecursively();
}

QString ExportPng::fichier(int n) const {
    const int chiffres = std::max(4, static_cast<int>(QString::number(derniere).size()));
    return prefixe + QStringLiteral("%1.png").arg(n, chiffres, 10, QLatin1Char('0'));
}

QString ExportPng::provisoire(int n) const {
    return partiel.chemin() + QLatin1Char('/') + QFileInfo(fichier(n)).fileName();
}

QString ExportPng::marque() const {
    return prefixe + QStringLiteral("-incomplet.txt");
}

std::optional<QString> ExportPng::ecriture(const QString& chemin, int erreur) {
    echec = true;
    return traduit(e, 836, QStringLiteral("Impossible d'écrire le fichier « %1 » : %2."))
        .arg(chemin, raisonecriture(chemin, erreur));
}

bool ExportPng::deplace(const QString& de, const QString& vers) {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(de).toStdString()),
                            std::filesystem::path(QFile::encodeName(vers).toStdString()), ec);
    erreurdeplace = ec.value();
    return !ec;
}

std::optional<QString> ExportPng::range() {
    // While the frames are put in place the folder holds old and new ones: a note says so until
    // the last one is there.
    QSaveFile note(marque());
    const QByteArray texte =
        traduit(e, 850,
                QStringLiteral("Suite d'images incomplète : l'export a été arrêté pendant qu'il "
                               "mettait les images en place. Relancer l'export."))
            .toUtf8() +
        '\n';
    if (!note.open(QIODevice::WriteOnly) || note.write(texte) != texte.size() || !confirme(note))
        return ecriture(marque(), 0);
    for (int n = 0; n <= derniere; ++n)
        if (!deplace(provisoire(n), fichier(n))) return ecriture(fichier(n), erreurdeplace);
    // Frames of a longer sequence of before, numbered on from the new last one.
    for (int n = derniere + 1; n < 100'000 && QFile::remove(fichier(n)); ++n) {
    }
    QFile::remove(marque());
    QDir().rmdir(partiel.chemin());
    partiel.lache();
    return std::nullopt;
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
        // The new frames go to a hidden folder beside the sequence and take their names only
        // once all are written: a kill leaves the sequence of before as it was.
        nettoiepartiels(prefixe);
        if (const int err = partiel.cree(prefixe, true)) return ecriture(fichier(0), err);
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
    QSaveFile f(provisoire(n));
    errno = 0;
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "PNG") || !confirme(f)) {
        const int erreur = errno;
        f.cancelWriting();
        QDir(partiel.chemin()).removeRecursively();
        partiel.lache();
        return ecriture(fichier(n), erreur);
    }
    ++suivante;
    if (suivante > derniere) return range();
    return std::nullopt;
}
