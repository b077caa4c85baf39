#include "timeline/camera.h"

#include "timeline/temps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Axe {
    std::vector<int> cible; // the smoothed offset wanted at each frame
    std::vector<int> bas;   // the offsets that keep the head in view with the margin
    std::vector<int> haut;
};

// One axis: heads h[c], a view of `vue` pixels, offsets 0..maxi.
Axe axe(const std::vector<int>& h, int vue, int maxi, int marge, int lisse) {
    const int n = static_cast<int>(h.size());
    Axe a;
    a.cible.resize(n);
    a.bas.resize(n);
    a.haut.resize(n);
    maxi = std::max(maxi, 0);
    // The view centred on the head, kept inside the map, then averaged: it slows down into the
    // map's edges instead of stopping there at once. Running sums: the average over
    // [c - lisse / 2, c + lisse] looks ahead of the head.
    std::vector<long long> somme(n + 1, 0);
    for (int c = 0; c < n; ++c)
        somme[c + 1] = somme[c] + std::clamp(h[c] - vue / 2, 0, maxi);
    for (int c = 0; c < n; ++c) {
        const int de = std::max(0, c - lisse / 2), a_ = std::min(n - 1, c + lisse);
        const double moyenne = double(somme[a_ + 1] - somme[de]) / (a_ - de + 1);
        int lo = std::clamp(h[c] - (vue - 1 - marge), 0, maxi);
        int hi = std::clamp(h[c] - marge, 0, maxi);
        // A head nearer the map's edge than the margin: the view stands against that edge.
        if (lo > hi) lo = hi = std::clamp(h[c] - vue / 2, 0, maxi);
        a.bas[c] = lo;
        a.haut[c] = hi;
        a.cible[c] = std::clamp(static_cast<int>(std::lround(moyenne)), lo, hi);
    }
    return a;
}

// Keyframes from frame 0 to n - 1: each move as long as its interpolation keeps within the band
// of both axes and within `ecart` of the smoothed path.
std::vector<int> cles(const Axe& x, const Axe& y, int ecart, bool adoucit) {
    const int n = static_cast<int>(x.cible.size());
    std::vector<int> k{0};
    int a = 0;
    while (a < n - 1) {
        int meilleur = a + 1;
        for (int b = a + 1; b < n; ++b) {
            bool ok = true;
            for (int j = a + 1; j < b && ok; ++j) {
                for (const Axe* ax : {&x, &y}) {
                    const int v = interpole(ax->cible[a], ax->cible[b], j - a, b - a, adoucit);
                    ok = ok && v >= ax->bas[j] && v <= ax->haut[j] &&
                         std::abs(v - ax->cible[j]) <= ecart;
                }
            }
            if (!ok) break;
            meilleur = b;
        }
        k.push_back(meilleur);
        a = meilleur;
    }
    return k;
}

} // namespace

std::optional<QString> suisroute(Etat& e, int marge, int lisse, double zoom, bool apercu) {
    const int dernier = dernierpoint(e);
    if (dernier < 0) return QStringLiteral("Tracer d'abord la route");
    // The zoom the camera follows at, and the view it gives; the map must hold that view.
    const double zs = zoom > 0 ? zoom : e.film.zoom;
    if (!zoomvalide(zs)) return QStringLiteral("Zoom de %1 à %2").arg(MINZOOM).arg(MAXZOOM);
    const int vl = champl(e, zs), vh = champh(e, zs);
    if (e.largeurcarte > 0 && (vl > e.largeurcarte || vh > e.hauteurcarte))
        return QStringLiteral("Au zoom %1 la vue (%2*%3) dépasse la carte").arg(zs).arg(vl).arg(vh);
    const int maxx = e.largeurcarte > 0 ? e.largeurcarte - vl : e.asclmax;
    const int maxy = e.hauteurcarte > 0 ? e.hauteurcarte - vh : e.aschmax;
    // The frame table as it stands gives each frame's progress.
    calculimages(e);
    const int n = std::clamp(e.nbimg, 1, MAXNBI);
    marge = std::clamp(marge, 0, MAXMARGE);
    if (lisse <= 0) lisse = 2 * std::max(e.ips, 1);

    // The overview: the whole route in view, as close as the map allows, for about two seconds at
    // each end while the route waits, then draws on; none when the route fits the followed view.
    int bx0 = e.ptx[0], bx1 = bx0, by0 = e.pty[0], by1 = by0;
    for (int i = 0; i <= dernier; ++i) {
        bx0 = std::min(bx0, e.ptx[i]);
        bx1 = std::max(bx1, e.ptx[i]);
        by0 = std::min(by0, e.pty[i]);
        by1 = std::max(by1, e.pty[i]);
    }
    double za = 0;
    int ax = 0, ay = 0;
    const int T = std::min(2 * std::max(e.ips, 1), n / 5);
    if (apercu && T >= 1 && e.largeurcarte > 0) {
        const double l = (bx1 - bx0 + 1) * 1.1, h = (by1 - by0 + 1) * 1.1;
        const double zmin = std::max(double(e.film.largeur) / e.largeurcarte,
                                     double(e.film.hauteur) / e.hauteurcarte);
        za = std::clamp(std::min(e.film.largeur / l, e.film.hauteur / h), std::max(zmin, MINZOOM),
                        zs);
        if (za >= zs * 0.95) {
            za = 0;
        } else {
            ax = std::clamp((bx0 + bx1) / 2 - champl(e, za) / 2, 0,
                            std::max(0, e.largeurcarte - champl(e, za)));
            ay = std::clamp((by0 + by1) / 2 - champh(e, za) / 2, 0,
                            std::max(0, e.hauteurcarte - champh(e, za)));
        }
    }
    // The frames the camera follows: all, or those between the overviews, where the route then
    // draws from nothing to whole.
    const int debut = za > 0 ? T : 0, fin = za > 0 ? n - T : n;
    const int suivies = fin - debut;
    std::vector<int> hx(suivies + 1), hy(suivies + 1);
    for (int c = 0; c <= suivies; ++c) {
        const int avance = za > 0 ? (suivies > 0 ? c * 1000 / suivies : 1000)
                                  : std::clamp(e.imgavance[c], 0, 1000);
        const int i = static_cast<int>(partde(dernier, avance));
        hx[c] = e.ptx[i];
        hy[c] = e.pty[i];
    }
    // The margin is in film pixels; the view moves in map pixels.
    const int m = static_cast<int>(std::lround(marge / zs));
    const Axe x = axe(hx, vl, maxx, std::min(m, vl / 2 - 1), lisse);
    const Axe y = axe(hy, vh, maxy, std::min(m, vh / 2 - 1), lisse);
    const int place = za > 0 ? MAXCLE - 2 : MAXCLE;
    // Closer to the smoothed path first; looser when the table would overflow.
    std::vector<int> k;
    for (int ecart = 4;; ecart *= 2) {
        k = cles(x, y, ecart, e.adoucit);
        if (static_cast<int>(k.size()) <= place || ecart > 4 * (vl + vh)) break;
    }
    if (static_cast<int>(k.size()) > place) {
        // A route that winds faster than any hundred moves can follow: even steps.
        k.clear();
        for (int i = 0; i < place; ++i)
            k.push_back(static_cast<int>(static_cast<long long>(suivies) * i / (place - 1)));
        k.erase(std::unique(k.begin(), k.end()), k.end());
    }
    const double zcle = zoom > 0 ? zoom : 0;
    e.nbcle = 0;
    const auto ajoute = [&e](int img, int x, int y, double z, int avance) {
        const int i = e.nbcle++;
        e.cleimg[i] = img;
        e.cledecx[i] = x;
        e.cledecy[i] = y;
        e.clezoom[i] = z;
        e.cleavance[i] = avance;
        e.cletemps[i] = imgverstemps(e, img);
    };
    if (za > 0) ajoute(0, ax, ay, za, 0);
    for (std::size_t i = 0; i < k.size(); ++i) {
        int avance = SANSAVANCE;
        if (za > 0 && i == 0) avance = 0;
        if (za > 0 && i + 1 == k.size()) avance = 1000;
        ajoute(debut + k[i], x.cible[k[i]], y.cible[k[i]], zcle, avance);
    }
    if (za > 0) ajoute(n, ax, ay, za, 1000);
    majcles(e);
    return std::nullopt;
}
