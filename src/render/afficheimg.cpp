#include "render/afficheimg.h"

#include "timeline/temps.h"

#include <algorithm>
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

void legende(Etat& e, Surface& vue, int avance) {
    const long long d = partde(nombre(e.lkm).value_or(0), avance);
    QString texte;
    switch (e.unite) {
    case SANS:
        texte = QString::number(d);
        e.txtautrevisible = false;
        break;
    case KM:
        texte = QStringLiteral("Kms: ") + QString::number(d);
        e.txtautrevisible = false;
        break;
    case MILE:
        texte = QStringLiteral("Miles: ") + QString::number(d);
        e.txtautrevisible = false;
        break;
    case AUTRE:
        texte = e.txtautre + QLatin1Char(' ') + QString::number(d);
        e.txtautrevisible = true;
        break;
    default:
        return;
    }
    // The shadow first, so that the text covers it.
    if (e.okombre) vue.texte(e.xt + e.xombre, e.yt + e.yombre, texte, e.police, e.coulombre);
    vue.texte(e.xt, e.yt, texte, e.police, e.police.couleur);
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

    if (e.montre) legende(e, vue, avance);

    if (e.okloupe && n >= 0) loupe(e, surf, n, sx, sy);
}

void redessine(Etat& e, Surfaces& surf) {
    afficheimg(e, surf, e.imgavance[std::clamp(e.tl, 0, MAXIMG - 1)]);
}
