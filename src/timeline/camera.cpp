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

std::optional<QString> suisroute(Etat& e, int marge, int lisse) {
    const int dernier = std::min(e.nbpt, MAXPT - 1);
    if (dernier < 0) return QStringLiteral("Tracer d'abord la route");
    // The frame table as it stands gives each frame's progress.
    calculimages(e);
    const int n = std::clamp(e.nbimg, 1, MAXNBI);
    marge = std::clamp(marge, 0, MAXMARGE);
    if (lisse <= 0) lisse = 2 * std::max(e.ips, 1);
    std::vector<int> hx(n + 1), hy(n + 1);
    for (int c = 0; c <= n; ++c) {
        const int i = static_cast<int>(partde(dernier, std::clamp(e.imgavance[c], 0, 1000)));
        hx[c] = e.ptx[i];
        hy[c] = e.pty[i];
    }
    const int vl = e.film.champl(), vh = e.film.champh();
    // The margin is in film pixels; the view moves in map pixels.
    const int m = static_cast<int>(std::lround(marge / e.film.zoom));
    const Axe x = axe(hx, vl, e.asclmax, std::min(m, vl / 2 - 1), lisse);
    const Axe y = axe(hy, vh, e.aschmax, std::min(m, vh / 2 - 1), lisse);
    // Closer to the smoothed path first; looser when the table would overflow.
    std::vector<int> k;
    for (int ecart = 4;; ecart *= 2) {
        k = cles(x, y, ecart, e.adoucit);
        if (static_cast<int>(k.size()) <= MAXCLE || ecart > 4 * (vl + vh)) break;
    }
    if (static_cast<int>(k.size()) > MAXCLE) {
        // A route that winds faster than any hundred moves can follow: even steps.
        k.clear();
        for (int i = 0; i < MAXCLE; ++i)
            k.push_back(static_cast<int>(static_cast<long long>(n) * i / (MAXCLE - 1)));
        k.erase(std::unique(k.begin(), k.end()), k.end());
    }
    e.nbcle = static_cast<int>(k.size());
    for (int i = 0; i < e.nbcle; ++i) {
        e.cleimg[i] = k[i];
        e.cledecx[i] = x.cible[k[i]];
        e.cledecy[i] = y.cible[k[i]];
        e.cletemps[i] = imgverstemps(e, k[i]);
    }
    majcles(e);
    return std::nullopt;
}
