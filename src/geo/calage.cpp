// World files are read here (six numbers, faults by line); GeoTIFFs through GDAL; reference
// systems and the transforms between them through PROJ.
#include "geo/calage.h"

#include "map/imagegdal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <cpl_error.h>
#include <gdal.h>
#include <proj.h>

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr double RAYON = 6378137.0; // the sphere of web maps
constexpr qsizetype MAXPRJ = 64 * 1024;
constexpr std::size_t MAXCRS = 4000; // well within a line of the parameters file

// Every PROJ context of the program: quiet, and off the network.
PJ_CONTEXT* contexte() {
    horsreseau();
    PJ_CONTEXT* ctx = proj_context_create();
    proj_log_level(ctx, PJ_LOG_NONE);
    proj_context_set_enable_network(ctx, 0);
    return ctx;
}

// The folders PROJ takes its grids from.
QStringList dossiersproj() {
    static const QStringList d = [] {
        QStringList r;
        for (const QString& c : QString::fromLocal8Bit(proj_info().searchpath)
                                    .split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
            const QString canon = QFileInfo(c).canonicalFilePath();
            if (!canon.isEmpty()) r << canon;
        }
        return r;
    }();
    return d;
}

// A grid named by a reference system: a name alone is looked for in PROJ's own folders; a path
// is taken only to a regular file in one of them, and an address never.
std::optional<QString> refusgrille(QString nom) {
    nom = nom.trimmed();
    if (nom.startsWith(u'@')) nom.remove(0, 1);
    if (nom.contains(QLatin1String("://")))
        return traduit(854, QStringLiteral("« %1 » est une adresse réseau : le programme ne va "
                                           "pas chercher de grille sur le réseau"))
            .arg(nom);
    const bool chemin =
        nom.contains(u'/') || nom.contains(u'\\') || nom.contains(u':') || nom.startsWith(u'~');
    if (!chemin) return std::nullopt;
    const QFileInfo f(nom);
    const QString canon = f.canonicalFilePath();
    if (f.isAbsolute() && f.isFile() && !canon.isEmpty())
        for (const QString& d : dossiersproj())
            if (canon.startsWith(d + u'/')) return std::nullopt;
    return traduit(853, QStringLiteral("« %1 » n'est pas une grille des dossiers de PROJ : seules "
                                       "les grilles installées avec PROJ sont prises, par leur "
                                       "nom seul"))
        .arg(nom);
}

// A PROJ string: +init names a file of definitions, and the grid parameters name files.
std::optional<QString> refusproj(const QString& texte) {
    static const QStringList GRILLES = {QStringLiteral("nadgrids"), QStringLiteral("geoidgrids"),
                                        QStringLiteral("grids"),    QStringLiteral("xy_grids"),
                                        QStringLiteral("z_grids"),  QStringLiteral("file"),
                                        QStringLiteral("model")};
    for (const QString& mot :
         texte.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const qsizetype egal = mot.indexOf(u'=');
        if (egal < 0) continue;
        QString cle = mot.left(egal).toLower();
        if (cle.startsWith(u'+')) cle.remove(0, 1);
        const QString valeur = mot.mid(egal + 1);
        if (cle == u"init")
            return traduit(852, QStringLiteral("« %1 » nomme un fichier de définitions : donner le "
                                               "système par son code EPSG, son WKT ou une chaîne "
                                               "PROJ sans +init"))
                .arg(mot);
        if (GRILLES.contains(cle)) {
            for (const QString& g : valeur.split(u','))
                if (auto r = refusgrille(g)) return r;
        } else if (valeur.contains(QLatin1String("://"))) {
            return refusgrille(valeur);
        }
    }
    return std::nullopt;
}

bool decimal(QByteArrayView t, double& v) {
    bool ok = false;
    v = QString::fromLatin1(t).trimmed().toDouble(&ok);
    return ok && std::isfinite(v);
}

std::optional<QByteArray> litpetit(const QString& chemin, qsizetype max) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly) || f.size() > max) return std::nullopt;
    return f.readAll();
}

// A sibling of `carte` with the extension `ext`, in either case.
std::optional<QString> voisin(const QString& carte, const QString& ext) {
    const QFileInfo i(carte);
    for (const QString& e : {ext.toLower(), ext.toUpper()}) {
        const QString c = i.path() + u'/' + i.completeBaseName() + u'.' + e;
        if (QFileInfo(c).isFile()) return c;
    }
    return std::nullopt;
}

// The determinant of the linear part: zero when the map would be flat.
double determinant(const Calage& c) {
    return c.a * c.e - c.b * c.d;
}

// GeoTIFF, and any picture read through GDAL: GDAL's geotransform gives the corner of the
// top-left pixel; ours the centre.
std::optional<LectureCalage> geotiff(const QString& carte) {
    const QString suffixe = QFileInfo(carte).suffix().toLower();
    // Pictures Qt reads carry no placement of their own: theirs is their world file's.
    if (suffixe != u"tif" && suffixe != u"tiff" && QImageReader(carte).canRead())
        return std::nullopt;
    static const bool enregistre = [] {
        horsreseau();
        GDALAllRegister();
        return true;
    }();
    (void)enregistre;
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetH d = GDALOpenEx(carte.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY,
                                pilotesgdal(), nullptr, nullptr);
    CPLPopErrorHandler();
    if (!d) return std::nullopt;
    double gt[6] = {};
    const bool a = GDALGetGeoTransform(d, gt) == CE_None;
    const QString wkt = QString::fromUtf8(GDALGetProjectionRef(d));
    GDALClose(d);
    if (!a || wkt.isEmpty()) return std::nullopt;
    Calage c;
    c.place = true;
    c.a = gt[1];
    c.b = gt[2];
    c.c = gt[0] + 0.5 * gt[1] + 0.5 * gt[2];
    c.d = gt[4];
    c.e = gt[5];
    c.f = gt[3] + 0.5 * gt[4] + 0.5 * gt[5];
    QString erreur;
    c.crs = litcrs(wkt, erreur);
    if (c.crs.isEmpty()) return ErreurGeo{0, carte + u'\n' + erreur};
    return c;
}

// Solves the 3x3 system m v = b in place (Gauss with partial pivoting); false when singular.
bool resous(std::array<std::array<double, 4>, 3> m, std::array<double, 3>& v) {
    for (int k = 0; k < 3; ++k) {
        int p = k;
        for (int i = k + 1; i < 3; ++i)
            if (std::abs(m[i][k]) > std::abs(m[p][k])) p = i;
        if (std::abs(m[p][k]) < 1e-9) return false;
        std::swap(m[p], m[k]);
        for (int i = k + 1; i < 3; ++i) {
            const double f = m[i][k] / m[k][k];
            for (int j = k; j < 4; ++j)
                m[i][j] -= f * m[k][j];
        }
    }
    for (int k = 2; k >= 0; --k) {
        double s = m[k][3];
        for (int j = k + 1; j < 3; ++j)
            s -= m[k][j] * v[j];
        v[k] = s / m[k][k];
    }
    return true;
}

} // namespace

void mercator(double lat, double lon, double& x, double& y) {
    constexpr double rad = std::numbers::pi / 180.0;
    lat = std::clamp(lat, -85.0, 85.0);
    x = RAYON * lon * rad;
    y = RAYON * std::log(std::tan(std::numbers::pi / 4 + lat * rad / 2));
}

LectureCalage lismonde(QByteArrayView octets) {
    std::array<double, 6> v{};
    int n = 0;
    int ligne = 0;
    qsizetype pos = 0;
    while (pos < octets.size() && n < 6) {
        ++ligne;
        qsizetype fin = octets.indexOf('\n', pos);
        if (fin < 0) fin = octets.size();
        const QByteArrayView l = octets.sliced(pos, fin - pos);
        pos = fin + 1;
        if (QByteArrayView(l).trimmed().isEmpty()) continue;
        if (l.size() > 200 || !decimal(l, v[n]))
            return ErreurGeo{
                ligne,
                QStringLiteral("Fichier de calage incorrect : '%1' n'est pas un nombre (ligne %2)")
                    .arg(QString::fromLatin1(l.first(std::min<qsizetype>(l.size(), 40))).trimmed())
                    .arg(ligne)};
        ++n;
    }
    if (n < 6)
        return ErreurGeo{
            ligne + 1,
            QStringLiteral("Fichier de calage incomplet : six nombres attendus, %1 lus (ligne %2)")
                .arg(n)
                .arg(ligne + 1)};
    Calage c;
    c.place = true;
    c.a = v[0];
    c.d = v[1];
    c.b = v[2];
    c.e = v[3];
    c.c = v[4];
    c.f = v[5];
    if (!(std::abs(determinant(c)) > 0))
        return ErreurGeo{0, QStringLiteral("Fichier de calage incorrect : taille de pixel nulle")};
    if (const auto refus = refuscalage(c))
        return ErreurGeo{
            0, traduit(802, QStringLiteral("Fichier de calage incorrect : %1")).arg(*refus)};
    return c;
}

std::optional<QString> refuscalage(const Calage& c) {
    for (const double v : {c.a, c.b, c.c, c.d, c.e, c.f})
        if (!(std::abs(v) <= MAXREEL))
            return traduit(803, QStringLiteral("coefficient %1 hors des limites (%2 au plus)"))
                .arg(v)
                .arg(MAXREEL);
    const double det = determinant(c);
    const bool inverse = std::isfinite(c.e / det) && std::isfinite(c.b / det) &&
                         std::isfinite(c.d / det) && std::isfinite(c.a / det);
    if (!(std::abs(det) > 0) || !inverse)
        return traduit(804, QStringLiteral("placement dégénéré : la carte y serait écrasée sur "
                                           "une ligne ou un point"));
    return std::nullopt;
}

std::optional<QString> fichiermonde(const QString& carte) {
    const QString ext = QFileInfo(carte).suffix();
    QStringList essais;
    if (ext.size() >= 2) essais << QString(ext.front()) + ext.back() + u'w';
    if (!ext.isEmpty()) essais << ext + u'w';
    essais << QStringLiteral("wld");
    for (const QString& e : essais)
        if (auto c = voisin(carte, e)) return c;
    return std::nullopt;
}

std::optional<QString> refuscrs(const QString& texte) {
    const QString t = texte.trimmed();
    std::optional<QString> r;
    if (t.startsWith(u'{')) {
        r = traduit(851, QStringLiteral("un système écrit en JSON n'est pas pris : donner son code "
                                        "EPSG, son WKT ou une chaîne PROJ"));
    } else if (t.contains(u'[')) {
        // WKT names files in its parameter files, and may carry a PROJ string in an extension.
        static const QRegularExpression fichier(
            QStringLiteral(
                "PARAMETERFILE\\s*\\[\\s*\"(?:[^\"]|\"\")*\"\\s*,\\s*\"((?:[^\"]|\"\")*)\""),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression extension(
            QStringLiteral("EXTENSION\\s*\\[\\s*\"PROJ4\"\\s*,\\s*\"((?:[^\"]|\"\")*)\""),
            QRegularExpression::CaseInsensitiveOption);
        for (auto m = fichier.globalMatch(t); m.hasNext() && !r;)
            r = refusgrille(m.next().captured(1));
        for (auto m = extension.globalMatch(t); m.hasNext() && !r;)
            r = refusproj(m.next().captured(1));
    } else {
        r = refusproj(t);
    }
    if (!r) return std::nullopt;
    return traduit(855, QStringLiteral("Système de coordonnées refusé : %1")).arg(*r);
}

QString litcrs(const QString& texte, QString& erreur) {
    if (const auto refus = refuscrs(texte)) {
        erreur = *refus;
        return {};
    }
    PJ_CONTEXT* ctx = contexte();
    const QByteArray t = texte.trimmed().toUtf8();
    PJ* crs = proj_create(ctx, t.constData());
    QString r;
    if (!crs || !proj_is_crs(crs)) {
        erreur = QStringLiteral("Système de coordonnées inconnu");
    } else {
        const char* auth = proj_get_id_auth_name(crs, 0);
        const char* code = proj_get_id_code(crs, 0);
        if (auth && code) {
            r = QString::fromUtf8(auth) + u':' + QString::fromUtf8(code);
        } else {
            // One line that the parameters file takes back: the WKT, or when that is too long
            // for a line of it, the shorter PROJ string.
            const char* options[] = {"MULTILINE=NO", nullptr};
            const char* wkt = proj_as_wkt(ctx, crs, PJ_WKT2_2019, options);
            if (wkt && std::strlen(wkt) <= MAXCRS) r = QString::fromUtf8(wkt);
            const char* chaine =
                r.isEmpty() ? proj_as_proj_string(ctx, crs, PJ_PROJ_5, nullptr) : nullptr;
            if (chaine && std::strlen(chaine) <= MAXCRS) r = QString::fromUtf8(chaine);
            if (r.isEmpty()) erreur = QStringLiteral("Système de coordonnées inconnu");
        }
    }
    if (crs) proj_destroy(crs);
    proj_context_destroy(ctx);
    return r;
}

LectureCalage calagecarte(const QString& carte) {
    if (auto g = geotiff(carte)) return *g;
    const auto monde = fichiermonde(carte);
    if (!monde)
        return ErreurGeo{
            0, QStringLiteral(
                   "La carte n'a pas de fichier de calage (%1.wld) : placer au moins deux points")
                   .arg(QFileInfo(carte).completeBaseName())};
    const auto octets = litpetit(*monde, 4096);
    if (!octets) return ErreurGeo{0, QStringLiteral("Impossible de lire %1").arg(*monde)};
    LectureCalage l = lismonde(*octets);
    if (auto* e = std::get_if<ErreurGeo>(&l)) {
        e->message = *monde + u'\n' + e->message;
        return l;
    }
    Calage& c = std::get<Calage>(l);
    if (const auto prj = voisin(carte, QStringLiteral("prj"))) {
        const auto texte = litpetit(*prj, MAXPRJ);
        QString erreur;
        if (texte) c.crs = litcrs(QString::fromUtf8(*texte), erreur);
        if (c.crs.isEmpty())
            return ErreurGeo{0, *prj + u'\n' + (texte ? erreur : QStringLiteral("Illisible"))};
    } else if (std::abs(c.c) <= 180 && std::abs(c.f) <= 90 && std::abs(c.a) < 1 &&
               std::abs(c.e) < 1) {
        c.crs = QStringLiteral("EPSG:4326");
    } else {
        return ErreurGeo{
            0, QStringLiteral("%1\nPas de fichier .prj : le système de coordonnées est inconnu")
                   .arg(*monde)};
    }
    return l;
}

double deroule(double lon, double reference) {
    if (!std::isfinite(lon) || !std::isfinite(reference)) return lon;
    return lon + 360.0 * std::round((reference - lon) / 360.0);
}

LectureCalage ajuste(const std::vector<Amer>& amers) {
    const auto n = amers.size();
    if (n < 2) return ErreurGeo{0, QStringLiteral("Placer au moins deux points")};
    if (n > MAXAMERS)
        return ErreurGeo{
            0, traduit(805, QStringLiteral("Trop de points de calage : plus de %1")).arg(MAXAMERS)};
    for (std::size_t i = 0; i < n; ++i) {
        const Amer& a = amers[i];
        for (const double v : {a.x, a.y, a.lat, a.lon})
            if (!(std::abs(v) <= MAXREEL))
                return ErreurGeo{
                    0, traduit(806, QStringLiteral("Point de calage %1 : %2 hors des limites (%3 "
                                                   "au plus)"))
                           .arg(i + 1)
                           .arg(v)
                           .arg(MAXREEL)};
    }
    std::vector<double> mx(n), my(n);
    double cx = 0, cy = 0, cX = 0, cY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // Points on both sides of the 180th meridian are a few metres apart, not a turn.
        mercator(amers[i].lat, deroule(amers[i].lon, amers[0].lon), mx[i], my[i]);
        cx += amers[i].x;
        cy += amers[i].y;
        cX += mx[i];
        cY += my[i];
    }
    // Centred sums keep the arithmetic exact enough at Mercator's millions of metres.
    cx /= n;
    cy /= n;
    cX /= n;
    cY /= n;
    Calage c;
    c.place = true;
    c.amers = amers;
    double c0 = 0, f0 = 0; // the shifts of the centred fit
    if (n == 2) {
        // X + iY = alpha (x - i y) + beta: the picture's rows go down, north goes up.
        const double wx = amers[1].x - amers[0].x, wy = -(amers[1].y - amers[0].y);
        const double zx = mx[1] - mx[0], zy = my[1] - my[0];
        const double w2 = wx * wx + wy * wy;
        if (w2 == 0 || (zx == 0 && zy == 0))
            return ErreurGeo{0, QStringLiteral("Les deux points sont au même endroit")};
        const double p = (zx * wx + zy * wy) / w2, q = (zy * wx - zx * wy) / w2;
        c.a = p;
        c.b = q;
        c.d = q;
        c.e = -p;
    } else {
        std::array<std::array<double, 4>, 3> mX{}, mY{};
        for (std::size_t i = 0; i < n; ++i) {
            const std::array<double, 3> r{amers[i].x - cx, amers[i].y - cy, 1.0};
            for (int j = 0; j < 3; ++j) {
                for (int k = 0; k < 3; ++k)
                    mX[j][k] += r[j] * r[k];
                mX[j][3] += r[j] * (mx[i] - cX);
                mY[j][3] += r[j] * (my[i] - cY);
            }
        }
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                mY[j][k] = mX[j][k];
        std::array<double, 3> vx{}, vy{};
        if (!resous(mX, vx) || !resous(mY, vy))
            return ErreurGeo{
                0, QStringLiteral("Les points sont alignés : en placer un hors de leur ligne")};
        c.a = vx[0];
        c.b = vx[1];
        c.d = vy[0];
        c.e = vy[1];
        c0 = vx[2];
        f0 = vy[2];
        if (!(std::abs(determinant(c)) > 1e-12))
            return ErreurGeo{
                0, QStringLiteral("Les points sont alignés : en placer un hors de leur ligne")};
    }
    c.c = cX + c0 - c.a * cx - c.b * cy;
    c.f = cY + f0 - c.d * cx - c.e * cy;
    // Points a hair apart give a scale that nothing can hold.
    if (const auto refus = refuscalage(c))
        return ErreurGeo{
            0, traduit(807, QStringLiteral("Points de calage trop proches : %1")).arg(*refus)};
    return c;
}

Projection::Projection(const Calage& c) : calage(c) {
    const double det = determinant(c);
    inv[0] = c.e / det;
    inv[1] = -c.b / det;
    inv[2] = -c.d / det;
    inv[3] = c.a / det;
}

Projection::~Projection() {
    if (pj) proj_destroy(static_cast<PJ*>(pj));
    if (ctx) proj_context_destroy(static_cast<PJ_CONTEXT*>(ctx));
}

std::unique_ptr<Projection> Projection::cree(const Calage& c, QString& erreur) {
    if (!c.place) {
        erreur = QStringLiteral("La carte n'est pas placée");
        return nullptr;
    }
    if (const auto refus = refuscalage(c)) {
        erreur = *refus;
        return nullptr;
    }
    std::unique_ptr<Projection> p(new Projection(c));
    if (c.crs.isEmpty()) {
        p->centre(0, 0);
        return p;
    }
    if (const auto refus = refuscrs(c.crs)) {
        erreur = *refus;
        return nullptr;
    }
    auto* ctx = contexte();
    p->ctx = ctx;
    const QByteArray cible = c.crs.toUtf8();
    PJ* t = proj_create_crs_to_crs(ctx, "EPSG:4326", cible.constData(), nullptr);
    PJ* n = t ? proj_normalize_for_visualization(ctx, t) : nullptr;
    if (t) proj_destroy(t);
    if (!n) {
        erreur = QStringLiteral("Système de coordonnées inconnu : %1").arg(c.crs.left(80));
        return nullptr;
    }
    p->pj = n;
    // A grid the transform needs and that is not installed would put every point nowhere, which
    // would be told as a track lying off the map. Grids marked optional ("@") may be missing.
    QStringList manque;
    for (int k = 0; k < proj_coordoperation_get_grid_used_count(ctx, n); ++k) {
        const char* nom = nullptr;
        int disponible = 1;
        if (proj_coordoperation_get_grid_used(ctx, n, k, &nom, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, &disponible) &&
            !disponible && nom && nom[0] != '@')
            manque << QString::fromUtf8(nom);
    }
    if (!manque.isEmpty()) {
        erreur =
            traduit(856, QStringLiteral("La grille %1 de ce système de coordonnées n'est pas "
                                        "installée : l'ajouter dans un dossier de PROJ (%2), "
                                        "ou placer la carte dans un autre système"))
                .arg(manque.join(QStringLiteral(", ")), dossiersproj().join(QStringLiteral(", ")));
        return nullptr;
    }
    p->centre(0, 0);
    return p;
}

std::unique_ptr<Projection> Projection::copie() const {
    QString erreur;
    auto p = cree(calage, erreur);
    if (p) p->lonref = lonref;
    return p;
}

void Projection::centre(double x, double y) const {
    double lat = 0, lon = 0;
    if (verslatlon(x, y, lat, lon)) lonref = lon;
}

void Projection::verspixel(const double* lat, const double* lon, double* x, double* y,
                           std::size_t n) const {
    if (pj) {
        for (std::size_t i = 0; i < n; ++i) {
            x[i] = deroule(lon[i], lonref);
            y[i] = lat[i];
        }
        proj_trans_generic(static_cast<PJ*>(pj), PJ_FWD, x, sizeof(double), n, y, sizeof(double), n,
                           nullptr, 0, 0, nullptr, 0, 0);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            mercator(lat[i], deroule(lon[i], lonref), x[i], y[i]);
    }
    const Calage& c = calage;
    for (std::size_t i = 0; i < n; ++i) {
        const double X = x[i] - c.c, Y = y[i] - c.f;
        // A point PROJ cannot place comes back as infinity: it lands off the map.
        x[i] = inv[0] * X + inv[1] * Y;
        y[i] = inv[2] * X + inv[3] * Y;
    }
}

bool Projection::verslatlon(double x, double y, double& lat, double& lon) const {
    const Calage& c = calage;
    double X = c.a * x + c.b * y + c.c, Y = c.d * x + c.e * y + c.f;
    if (pj) {
        PJ_COORD p = proj_coord(X, Y, 0, 0);
        p = proj_trans(static_cast<PJ*>(pj), PJ_INV, p);
        lon = p.xy.x;
        lat = p.xy.y;
    } else {
        lon = X / RAYON * 180.0 / std::numbers::pi;
        lat =
            (2 * std::atan(std::exp(Y / RAYON)) - std::numbers::pi / 2) * 180.0 / std::numbers::pi;
    }
    return std::isfinite(lat) && std::isfinite(lon);
}

std::vector<double> residus(const Calage& c) {
    std::vector<double> r;
    if (c.amers.size() < MINCONTROLE) return r;
    for (std::size_t i = 0; i < c.amers.size(); ++i) {
        std::vector<Amer> autres = c.amers;
        autres.erase(autres.begin() + static_cast<std::ptrdiff_t>(i));
        const LectureCalage l = ajuste(autres);
        QString erreur;
        const auto* fait = std::get_if<Calage>(&l);
        const auto p = fait ? Projection::cree(*fait, erreur) : nullptr;
        double x = NAN, y = NAN;
        // The others aligned: they place nothing, the point cannot be checked.
        if (p) p->verspixel(&c.amers[i].lat, &c.amers[i].lon, &x, &y, 1);
        r.push_back(std::hypot(x - c.amers[i].x, y - c.amers[i].y));
    }
    return r;
}
