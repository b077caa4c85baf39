#include "render/afficheimg.h"

#include "geo/distance.h"
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
    const int dernier = std::min(e.nbpt, MAXPT - 1);
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

// The magnifier centred on the smoothed path point m: the view region under it, enlarged onto
// the scratch surface, seen through the glass of the magnifier picture.
void loupe(Etat& e, Surfaces& surf, int m, int sx, int sy) {
    const Surface& dessin = surf.loupe;
    const int W = dessin.largeur(), H = dessin.hauteur();
    if (W <= 0 || H <= 0) return;
    const int px = e.loupex[m], py = e.loupey[m];
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

void afficheimg(Etat& e, Surfaces& surf, int avance, std::optional<Couleur> fond) {
    avance = std::clamp(avance, 0, 1000);
    const int sx = e.ascl, sy = e.asch;
    Surface& vue = surf.vue;

    // The map under the offsets; whatever lies beyond the map is black.
    const QRect champ(sx, sy, vue.largeur(), vue.hauteur());
    if (fond) {
        vue.remplit(*fond);
    } else {
        if (!surf.carte.image().rect().contains(champ)) vue.remplit(0);
        vue.copie(surf.carte, champ, QPoint(0, 0));
    }

    // The route up to the progress, its last k points in the tip colour (none when finished).
    const int dernier = std::min(e.nbpt, MAXPT - 1);
    const int n = dernier < 0 ? -1 : static_cast<int>(partde(dernier, avance));
    if (n >= 0) {
        int bout = n + 1; // first point of the tip
        if (e.checkbox1 && avance != 1000) {
            if (const auto k = nombre(e.bordnb))
                bout = static_cast<int>(n + 1 - std::clamp(*k, 0LL, static_cast<long long>(n + 1)));
        }
        points(e, vue.image(), 0, bout - 1, sx, sy, std::nullopt);
        points(e, vue.image(), bout, n, sx, sy, versqrgb(e.coulbord));
    }

    // The strip under the legend, so that a legend placed low stays readable.
    if (e.geo.profil) profil(e, vue, n);
    if (e.montre) legende(e, vue, avance, n);

    if (e.okloupe && n >= 0) loupe(e, surf, n, sx, sy);
}

void redessine(Etat& e, Surfaces& surf) {
    afficheimg(e, surf, e.imgavance[std::clamp(e.tl, 0, MAXIMG - 1)]);
}
