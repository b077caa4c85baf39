#include "route/sanschemin.h"

#include "map/fichier.h"

#include <QFileInfo>
#include <QSaveFile>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/photo.hpp>

#include <algorithm>
#include <vector>

namespace {

// The map is filled tile by tile, each with a margin of map around it to fill from: a route across
// a large map then costs the tiles it crosses, not the whole picture.
constexpr int TUILE = 256;
constexpr int BORD = 24;

} // namespace

QImage cartesanschemin(const QImage& source, const Etat& e, int frange, const Avance* av) {
    if (source.isNull()) return {};
    QImage carte = source.convertToFormat(QImage::Format_RGB32);
    const int l = carte.width(), h = carte.height();
    frange = std::clamp(frange, 0, 10);
    // The mask: each point and the disc of `frange` around it.
    std::vector<unsigned char> masque(static_cast<std::size_t>(l) * h, 0);
    const int tx = (l + TUILE - 1) / TUILE, ty = (h + TUILE - 1) / TUILE;
    std::vector<char> tuiles(static_cast<std::size_t>(tx) * ty, 0);
    for (int i = 0; i <= dernierpoint(e); ++i) {
        const int px = e.ptx[i], py = e.pty[i];
        for (int dy = -frange; dy <= frange; ++dy)
            for (int dx = -frange; dx <= frange; ++dx) {
                const int x = px + dx, y = py + dy;
                if (x < 0 || y < 0 || x >= l || y >= h || dx * dx + dy * dy > frange * frange + 1)
                    continue;
                masque[static_cast<std::size_t>(y) * l + x] = 255;
                tuiles[static_cast<std::size_t>(y / TUILE) * tx + x / TUILE] = 1;
            }
    }
    const cv::Mat image(h, l, CV_8UC4, carte.bits(),
                        static_cast<std::size_t>(carte.bytesPerLine()));
    const cv::Mat tout(h, l, CV_8UC1, masque.data());
    const long long afaire = std::count(tuiles.begin(), tuiles.end(), 1);
    long long faites = 0;
    signale(av, 0, afaire);
    for (int j = 0; j < ty; ++j)
        for (int i = 0; i < tx; ++i) {
            if (!tuiles[static_cast<std::size_t>(j) * tx + i]) continue;
            if (arrete(av)) return {};
            signale(av, faites++, afaire);
            const cv::Rect coeur(i * TUILE, j * TUILE, std::min(TUILE, l - i * TUILE),
                                 std::min(TUILE, h - j * TUILE));
            const cv::Rect large = (coeur + cv::Size(2 * BORD, 2 * BORD) - cv::Point(BORD, BORD)) &
                                   cv::Rect(0, 0, l, h);
            cv::Mat bgr, rempli;
            cv::cvtColor(image(large), bgr, cv::COLOR_BGRA2BGR);
            cv::inpaint(bgr, tout(large), rempli, 3, cv::INPAINT_TELEA);
            // Only the tile's own masked pixels are written back: the neighbours fill theirs.
            const cv::Rect dans(coeur.x - large.x, coeur.y - large.y, coeur.width, coeur.height);
            cv::Mat cible = image(coeur);
            const cv::Mat m = tout(coeur);
            for (int y = 0; y < coeur.height; ++y)
                for (int x = 0; x < coeur.width; ++x) {
                    if (!m.at<unsigned char>(y, x)) continue;
                    const auto c = rempli.at<cv::Vec3b>(dans.y + y, dans.x + x);
                    cible.at<cv::Vec4b>(y, x) = {c[0], c[1], c[2], 255};
                }
        }
    return carte;
}

QString cheminsanschemin(const Etat& e) {
    const QFileInfo carte(e.fichiercarte);
    return e.dossiercarte + carte.completeBaseName() + QStringLiteral("-sanschemin.png");
}

bool sauvesanschemin(const QImage& carte, const Etat& e, QString& erreur, const Avance* av,
                     QImage* fait) {
    const QString chemin = cheminsanschemin(e);
    const QImage sans = cartesanschemin(carte, e, 2, av);
    if (arrete(av)) {
        erreur.clear();
        return false;
    }
    if (sans.isNull()) {
        erreur = QStringLiteral("Charger d'abord une image");
        return false;
    }
    QSaveFile f(chemin);
    const bool ecrit = f.open(QIODevice::WriteOnly) && sans.save(&f, "PNG");
    // Stopped while it was written: the file of before stays.
    if (ecrit && arrete(av)) {
        f.cancelWriting();
        erreur.clear();
        return false;
    }
    if (!ecrit || !confirme(f)) {
        erreur = QStringLiteral("Impossible d'enregistrer %1 : %2").arg(chemin, f.errorString());
        return false;
    }
    if (fait) *fait = sans;
    return true;
}
