#include "render/afficheimg.h"

#include "geo/distance.h"
#include "render/rejeu.h"
#include "render/trait.h"
#include "timeline/temps.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The value of a control text holding an integer; nothing when it holds none.
std::optional<long long> nombre(const QString& texte) {
    bool ok = false;
    const long long v = texte.toLongLong(&ok);
    return ok ? std::optional<long long>(v) : std::nullopt;
}

// Route points first..last in one colour, straight into the view's rows. Points outside the
// view are dropped.
void points(const Etat& e, QImage& vue, int premier, int dernier, int sx, int sy,
            std::optional<QRgb> teinte) {
    uchar* base = vue.bits();
    const qsizetype pas = vue.bytesPerLine();
    const auto lv = static_cast<unsigned long long>(vue.width());
    const auto hv = static_cast<unsigned long long>(vue.height());
    for (int i = premier; i <= dernier; ++i) {
        const auto x = static_cast<unsigned long long>(static_cast<long long>(e.ptx[i]) - sx);
        const auto y = static_cast<unsigned long long>(static_cast<long long>(e.pty[i]) - sy);
        if (x >= lv || y >= hv) continue;
        reinterpret_cast<QRgb*>(base + static_cast<qsizetype>(y) * pas)[x] =
            teinte ? *teinte : versqrgb(e.ptcoul[i]);
    }
}

// `n` is the last route point drawn, -1 when none.
void legende(Etat& e, Surface& vue, int avance, int n) {
    // The true distance when asked for and known, else Lkm's even share of the route.
    const QString d = chiffredistance(e, std::max(n, 0))
                          .value_or(QString::number(partde(nombre(e.lkm).value_or(0), avance)));
    QString texte;
    switch (e.unite) {
    case SANS:
        texte = d;
        e.txtautrevisible = false;
        break;
    case KM:
        texte = QStringLiteral("Kms: ") + d;
        e.txtautrevisible = false;
        break;
    case MILE:
        texte = QStringLiteral("Miles: ") + d;
        e.txtautrevisible = false;
        break;
    case AUTRE:
        texte = e.txtautre + QLatin1Char(' ') + d;
        e.txtautrevisible = true;
        break;
    default:
        return;
    }
    // The shadow first, so that the text covers it.
    if (e.okombre) vue.texte(e.xt + e.xombre, e.yt + e.yombre, texte, e.police, e.coulombre);
    vue.texte(e.xt, e.yt, texte, e.police, e.police.couleur);
    // Elapsed time, speed, elevation: further lines under the first, when asked for.
    const QStringList autres = lignesgps(e, n);
    if (autres.isEmpty()) return;
    const int pas = Surface::hauteurligne(e.police);
    for (int k = 0; k < autres.size(); ++k) {
        const int y = e.yt + (k + 1) * pas;
        if (e.okombre) vue.texte(e.xt + e.xombre, y + e.yombre, autres[k], e.police, e.coulombre);
        vue.texte(e.xt, y, autres[k], e.police, e.police.couleur);
    }
}

// The elevation along the route as a strip at the foot of the view, the current point marked.
void profil(const Etat& e, Surface& vue, int n) {
    if (!geovalide(e) || !e.gpsalt || e.nbpt < 1) return;
    const int hauteur = 64, marge = 8;
    const int L = vue.largeur() - 2 * marge, T = vue.hauteur() - hauteur - marge;
    if (L <= 0 || T < 0) return;
    const int dernier = dernierpoint(e);
    double bas = e.ptalt[0], haut = e.ptalt[0];
    for (int i = 1; i <= dernier; ++i) {
        bas = std::min(bas, e.ptalt[i]);
        haut = std::max(haut, e.ptalt[i]);
    }
    const double ecart = std::max(haut - bas, 1.0);
    // Along the distance when there is one, so that a climb looks as steep as it was.
    const bool pardist = e.gpsdist && e.ptdist[dernier] > 0;
    const auto abscisse = [&](int i) {
        const double s =
            pardist ? e.ptdist[i] / e.ptdist[dernier] : static_cast<double>(i) / dernier;
        return marge + s * L;
    };
    const auto ordonnee = [&](int i) {
        return T + hauteur - 4 - (e.ptalt[i] - bas) / ecart * (hauteur - 8);
    };
    QPainterPath trace;
    trace.moveTo(abscisse(0), ordonnee(0));
    const int pas = std::max(1, dernier / (2 * L));
    for (int i = pas; i <= dernier; i += pas)
        trace.lineTo(abscisse(i), ordonnee(i));
    trace.lineTo(abscisse(dernier), ordonnee(dernier));
    QPainter p(&vue.image());
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(marge, T, L, hauteur), QColor(255, 255, 255, 170));
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawPath(trace);
    if (n >= 0) {
        const int i = std::min(n, dernier);
        p.setPen(QPen(QColor(220, 0, 0), 1));
        // On a pixel's centre, so that the marker is one sharp column.
        const double x = std::floor(abscisse(i)) + 0.5;
        p.drawLine(QPointF(x, T), QPointF(x, T + hauteur));
        p.setBrush(QColor(220, 0, 0));
        p.drawEllipse(QPointF(abscisse(i), ordonnee(i)), 3.5, 3.5);
    }
}

// The route's exact pixels at a zoom: each point a block of film pixels.
void blocs(const Etat& e, QImage& vue, int premier, int dernier, int sx, int sy, double z,
           std::optional<QRgb> teinte) {
    const int L = vue.width(), H = vue.height();
    for (int i = premier; i <= dernier; ++i) {
        const int x0 = std::max(0, static_cast<int>(std::floor((e.ptx[i] - sx) * z)));
        const int x1 = std::min(L, static_cast<int>(std::floor((e.ptx[i] - sx + 1) * z)));
        const int y0 = std::max(0, static_cast<int>(std::floor((e.pty[i] - sy) * z)));
        const int y1 = std::min(H, static_cast<int>(std::floor((e.pty[i] - sy + 1) * z)));
        const QRgb q = teinte ? *teinte : versqrgb(e.ptcoul[i]);
        for (int y = y0; y < y1; ++y) {
            auto* ligne = reinterpret_cast<QRgb*>(vue.scanLine(y));
            std::fill(ligne + x0, ligne + std::max(x0, x1), q);
        }
    }
}

// The map under the offsets at the film's zoom, smoothed; whatever lies beyond the map is black.
// A camera standing still reuses the last one.
void cartezoomee(const Etat& e, Surfaces& surf, int sx, int sy) {
    Brouillon& b = brouillon(surf.brouillon);
    QImage& vue = surf.vue.image();
    const QImage& carte = surf.carte.image();
    const double z = zoomde(e);
    if (b.fond.size() == vue.size() && b.clefond == carte.cacheKey() && b.fondx == sx &&
        b.fondy == sy && b.fondzoom == z) {
        vue = b.fond;
        return;
    }
    vue.fill(0xff000000);
    const QRectF champ(sx, sy, vue.width() / z, vue.height() / z);
    const QRectF pris = champ.intersected(QRectF(carte.rect()));
    if (!pris.isEmpty()) {
        QPainter p(&vue);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF cible((pris.x() - sx) * z, (pris.y() - sy) * z, pris.width() * z,
                           pris.height() * z);
        p.drawImage(cible, carte, pris);
    }
    b.fond = vue;
    b.clefond = carte.cacheKey();
    b.fondx = sx;
    b.fondy = sy;
    b.fondzoom = z;
}

// The film position of map position v on one axis (the centre of its block).
int versfilm(int v, int s, double z) {
    return z == 1.0 ? v - s : static_cast<int>(std::floor((v - s + 0.5) * z));
}

// The magnifier centred on the smoothed path point m: the film region under it, enlarged onto
// the scratch surface, seen through the glass of the magnifier picture.
void loupe(Etat& e, Surfaces& surf, int m, int sx, int sy) {
    const Surface& dessin = surf.loupe;
    const int W = dessin.largeur(), H = dessin.hauteur();
    if (W <= 0 || H <= 0) return;
    const int px = versfilm(e.loupex[m], sx, zoomde(e)) + sx;
    const int py = versfilm(e.loupey[m], sy, zoomde(e)) + sy;
    // A zoom as large as the picture would leave nothing to enlarge: one pixel is enlarged.
    const int w = std::max(W - e.txloupe, 1);
    int h = std::max(H - e.txloupe, 1);
    const int L = px - w / 2 - sx;
    const int T = py - h / 2 - sy;
    if (T + h > surf.vue.hauteur()) h = std::max(surf.vue.hauteur() - T, 1);
    if (surf.tempo.largeur() != W || surf.tempo.hauteur() != H) surf.tempo.redimensionne(W, H);
    // The part of the region outside the view comes out black.
    surf.tempo.etire(surf.vue, QRect(L, T, w, h), QRect(0, 0, W, H));
    e.coulfondloupe = dessin.pixel(1, 1);
    e.coulverreloupe = dessin.pixel(W / 2, H / 2);
    surf.tempo.copiecle(dessin, QRect(0, 0, W, H), QPoint(0, 0), e.coulverreloupe);
    surf.vue.copiecle(surf.tempo, QRect(0, 0, W, H), QPoint(px - W / 2 - sx, py - H / 2 - sy),
                      e.coulfondloupe);
}

} // namespace

void ajustevue(const Etat& e, Surfaces& surf) {
    if (surf.vue.largeur() != e.film.largeur || surf.vue.hauteur() != e.film.hauteur)
        surf.vue.redimensionne(e.film.largeur, e.film.hauteur);
}

void afficheimg(Etat& e, Surfaces& surf, int avance, std::optional<Couleur> fond) {
    avance = std::clamp(avance, 0, 1000);
    ajustevue(e, surf);
    const int sx = e.ascl, sy = e.asch;
    const double z = zoomde(e);
    Surface& vue = surf.vue;

    // The map under the offsets; whatever lies beyond the map is black.
    const QRect champ(sx, sy, vue.largeur(), vue.hauteur());
    if (fond) {
        vue.remplit(*fond);
    } else if (z != 1.0) {
        cartezoomee(e, surf, sx, sy);
    } else {
        if (!surf.carte.image().rect().contains(champ)) vue.remplit(0);
        vue.copie(surf.carte, champ, QPoint(0, 0));
    }

    // The route up to the progress, its last k points in the tip colour (none when finished).
    const int dernier = dernierpoint(e);
    const int n = dernier < 0 ? -1 : static_cast<int>(partde(dernier, avance));
    // A replay draws its tracks by the clock of the frame shown instead.
    const bool rejeu = e.rejeu.actif() && geovalide(e);
    if (rejeu) {
        dessinerejeu(e, surf, e.imgtemps[static_cast<std::size_t>(std::clamp(e.tl, 0, MAXIMG - 1))],
                     sx, sy, z);
    } else if (n >= 0) {
        int bout = n + 1; // first point of the tip
        if (e.checkbox1 && avance != 1000) {
            if (const auto k = nombre(e.bordnb))
                bout = static_cast<int>(n + 1 - std::clamp(*k, 0LL, static_cast<long long>(n + 1)));
        }
        const QRgb tip = versqrgb(e.coulbord);
        if (e.style.largeur > 0) {
            Trait t(brouillon(surf.brouillon), e, z, vue.largeur(), vue.hauteur());
            t.route(e, bout, n, tip);
            t.compose(vue.image());
        } else if (z != 1.0) {
            blocs(e, vue.image(), 0, bout - 1, sx, sy, z, std::nullopt);
            blocs(e, vue.image(), bout, n, sx, sy, z, tip);
        } else {
            points(e, vue.image(), 0, bout - 1, sx, sy, std::nullopt);
            points(e, vue.image(), bout, n, sx, sy, tip);
        }
    }

    // The strip under the legend, so that a legend placed low stays readable.
    // The elevation strip and the magnifier follow one route; a replay has many.
    if (e.geo.profil && !rejeu) profil(e, vue, n);
    if (e.montre) legende(e, vue, avance, n);

    if (e.okloupe && n >= 0 && !rejeu) loupe(e, surf, n, sx, sy);
}

void redessine(Etat& e, Surfaces& surf) {
    afficheimg(e, surf, e.imgavance[std::clamp(e.tl, 0, MAXIMG - 1)]);
}
