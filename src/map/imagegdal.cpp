#include "map/imagegdal.h"

#include <QFileInfo>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void enregistre() {
    static const bool fait = [] {
        horsreseau();
        GDALAllRegister();
        return true;
    }();
    (void)fait;
}

// GDAL's errors go to the message, not to the terminal.
struct Silence {
    Silence() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~Silence() { CPLPopErrorHandler(); }
};

struct Jeu {
    GDALDatasetH d = nullptr;
    ~Jeu() {
        if (d) GDALClose(d);
    }
};

// How a band's samples become bytes: as they are, or scaled from their range.
struct Bande {
    GDALRasterBandH h = nullptr;
    bool octet = true;
    double bas = 0, pas = 1;
};

bool prepare(Bande& b, bool approche) {
    b.octet = GDALGetRasterDataType(b.h) == GDT_Byte;
    if (b.octet) return true;
    double mm[2] = {0, 0};
    if (GDALComputeRasterMinMax(b.h, approche, mm) != CE_None || !std::isfinite(mm[0]) ||
        !std::isfinite(mm[1]))
        return false;
    b.bas = mm[0];
    b.pas = mm[1] > mm[0] ? 255.0 / (mm[1] - mm[0]) : 0;
    return true;
}

// Row y of band b as bytes.
bool ligne(const Bande& b, int y, int largeur, std::vector<unsigned char>& o,
           std::vector<double>& tampon) {
    o.resize(static_cast<std::size_t>(largeur));
    if (b.octet)
        return GDALRasterIO(b.h, GF_Read, 0, y, largeur, 1, o.data(), largeur, 1, GDT_Byte, 0, 0) ==
               CE_None;
    tampon.resize(static_cast<std::size_t>(largeur));
    if (GDALRasterIO(b.h, GF_Read, 0, y, largeur, 1, tampon.data(), largeur, 1, GDT_Float64, 0,
                     0) != CE_None)
        return false;
    for (int x = 0; x < largeur; ++x) {
        const double v = (tampon[static_cast<std::size_t>(x)] - b.bas) * b.pas;
        o[static_cast<std::size_t>(x)] =
            static_cast<unsigned char>(std::isfinite(v) ? std::clamp(std::lround(v), 0L, 255L) : 0);
    }
    return true;
}

} // namespace

void horsreseau() {
    static const bool fait = [] {
        qputenv("PROJ_NETWORK", "OFF");
        CPLSetConfigOption("PROJ_NETWORK", "OFF");
        OSRSetPROJEnableNetwork(FALSE);
        return true;
    }();
    (void)fait;
}

const char* const* pilotesgdal() {
    static const char* const pilotes[] = {"GTiff", "COG",  "JP2OpenJPEG", "HFA",
                                          "NITF",  "WEBP", nullptr};
    return pilotes;
}

LectureGdal chargegdal(const QString& chemin, QImage& img, QString& erreur, long long maxpixels) {
    enregistre();
    const Silence s;
    const QString nom = QFileInfo(chemin).fileName();
    Jeu j;
    j.d = GDALOpenEx(chemin.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, pilotesgdal(),
                     nullptr, nullptr);
    if (!j.d) return LectureGdal::inconnue;
    const int L = GDALGetRasterXSize(j.d), H = GDALGetRasterYSize(j.d);
    const int n = GDALGetRasterCount(j.d);
    if (L <= 0 || H <= 0 || n <= 0) {
        erreur = QStringLiteral("Le fichier « %1 » n'a pas d'image.").arg(nom);
        return LectureGdal::refusee;
    }
    if (static_cast<long long>(L) * H > maxpixels) {
        erreur = QStringLiteral("L'image « %1 » est trop grande : %2*%3 pixels, "
                                "%4 millions de pixels au plus.")
                     .arg(nom)
                     .arg(L)
                     .arg(H)
                     .arg(maxpixels / 1'000'000);
        return LectureGdal::refusee;
    }
    // Red, green and blue by what the file says each band is; else the first three; a single
    // band is grey, or indices into its palette.
    Bande b[3];
    GDALColorTableH palette = nullptr;
    if (n >= 3) {
        int rvb[3] = {1, 2, 3};
        for (int k = 1; k <= n; ++k) {
            const GDALColorInterp c = GDALGetRasterColorInterpretation(GDALGetRasterBand(j.d, k));
            if (c == GCI_RedBand) rvb[0] = k;
            if (c == GCI_GreenBand) rvb[1] = k;
            if (c == GCI_BlueBand) rvb[2] = k;
        }
        for (int k = 0; k < 3; ++k)
            b[k].h = GDALGetRasterBand(j.d, rvb[k]);
    } else {
        b[0].h = b[1].h = b[2].h = GDALGetRasterBand(j.d, 1);
        if (GDALGetRasterColorInterpretation(b[0].h) == GCI_PaletteIndex)
            palette = GDALGetRasterColorTable(b[0].h);
    }
    const auto illisible = [&] {
        erreur = QStringLiteral("Impossible de lire l'image « %1 » : %2.")
                     .arg(nom, QString::fromUtf8(CPLGetLastErrorMsg()).left(200));
        return LectureGdal::refusee;
    };
    // The range from a sample of a large picture, from every sample of a small one.
    const bool approche = static_cast<long long>(L) * H > 4'000'000;
    for (Bande& x : b)
        if (!x.h || !prepare(x, approche)) return illisible();
    QImage r(L, H, QImage::Format_RGB32);
    if (r.isNull()) {
        erreur =
            QStringLiteral("Impossible de lire l'image « %1 » : pas assez de mémoire.").arg(nom);
        return LectureGdal::refusee;
    }
    std::vector<QRgb> couleurs(256, qRgb(0, 0, 0));
    if (palette)
        for (int k = 0; k < std::min(256, GDALGetColorEntryCount(palette)); ++k) {
            const GDALColorEntry* c = GDALGetColorEntry(palette, k);
            if (c) couleurs[static_cast<std::size_t>(k)] = qRgb(c->c1, c->c2, c->c3);
        }
    std::vector<unsigned char> v[3];
    std::vector<double> tampon;
    for (int y = 0; y < H; ++y) {
        const int bandes = n >= 3 ? 3 : 1;
        for (int k = 0; k < bandes; ++k)
            if (!ligne(b[k], y, L, v[k], tampon)) return illisible();
        auto* o = reinterpret_cast<QRgb*>(r.scanLine(y));
        for (int x = 0; x < L; ++x) {
            const auto i = static_cast<std::size_t>(x);
            o[x] = palette  ? couleurs[v[0][i]]
                   : n >= 3 ? qRgb(v[0][i], v[1][i], v[2][i])
                            : qRgb(v[0][i], v[0][i], v[0][i]);
        }
    }
    img = std::move(r);
    return LectureGdal::lue;
}
