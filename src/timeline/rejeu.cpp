#include "timeline/rejeu.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The track's last point the route holds.
int finpiste(const Etat& e, const Piste& p) {
    return std::min(p.dernier, std::min(dernierpoint(e), static_cast<int>(e.pttemps.size()) - 1));
}

bool valide(const Etat& e, const Piste& p) {
    return p.premier >= 0 && p.premier <= finpiste(e, p);
}

} // namespace

double basepiste(const Rejeu& r, const Piste& p) {
    return (r.depart == Depart::HEURE ? p.debut : 0) + p.decalage;
}

int pointau(const Etat& e, const Piste& p, double t) {
    if (!valide(e, p)) return p.premier - 1;
    const double local = t - basepiste(e.rejeu, p);
    const auto debut = e.pttemps.begin() + p.premier;
    const auto fin = e.pttemps.begin() + finpiste(e, p) + 1;
    // Times along a track never go back: the last one not after `local`.
    return static_cast<int>(std::upper_bound(debut, fin, local) - e.pttemps.begin()) - 1;
}

bool bornesrejeu(const Etat& e, double& debut, double& fin) {
    debut = INFINITY;
    fin = -INFINITY;
    for (const Piste& p : e.rejeu.pistes) {
        if (!p.montre || !valide(e, p)) continue;
        debut = std::min(debut, tempspoint(e, p, p.premier));
        fin = std::max(fin, tempspoint(e, p, finpiste(e, p)));
    }
    return debut <= fin;
}

bool horlogerejeu(Etat& e, int r, bool avance) {
    if (!e.rejeu.actif() || !geovalide(e) || r < 1) return false;
    // Every moment something happens, on one clock.
    std::vector<double> t;
    long long total = 0;
    for (const Piste& p : e.rejeu.pistes) {
        if (!valide(e, p)) continue;
        total += finpiste(e, p) - p.premier + 1;
        if (!p.montre) continue;
        const double b = basepiste(e.rejeu, p);
        for (int i = p.premier; i <= finpiste(e, p); ++i)
            t.push_back(b + e.pttemps[static_cast<std::size_t>(i)]);
    }
    if (t.empty() || total <= 0) return false;
    std::sort(t.begin(), t.end());
    // The film's time: each gap between moments counts at most the pause cap.
    const double cap = e.geo.pause > 0 ? e.geo.pause : INFINITY;
    std::vector<double> film(t.size());
    film[0] = 0;
    for (std::size_t j = 1; j < t.size(); ++j)
        film[j] = film[j - 1] + std::min(t[j] - t[j - 1], cap);
    const double duree = film.back();
    for (int c = 0; c <= r; ++c) {
        double temps = t.back();
        if (duree > 0 && c < r) {
            const double u = duree * c / r;
            const auto it = std::upper_bound(film.begin(), film.end(), u);
            const std::size_t j = static_cast<std::size_t>(it - film.begin()) - 1;
            temps = t[j];
            if (j + 1 < t.size() && film[j + 1] > film[j])
                temps += (u - film[j]) / (film[j + 1] - film[j]) * (t[j + 1] - t[j]);
        }
        e.imgtemps[static_cast<std::size_t>(c)] = temps;
        if (!avance) continue;
        // The share of the whole route reached, for whatever reads the progress alone.
        long long faits = 0;
        for (const Piste& p : e.rejeu.pistes)
            if (valide(e, p)) faits += pointau(e, p, temps) - p.premier + 1;
        e.imgavance[static_cast<std::size_t>(c)] =
            c == r ? 1000 : static_cast<int>(std::clamp(faits * 1000 / total, 0LL, 1000LL));
    }
    return true;
}

std::vector<Tete> tetes(const Etat& e, double t) {
    std::vector<Tete> v;
    for (std::size_t k = 0; k < e.rejeu.pistes.size(); ++k) {
        const Piste& p = e.rejeu.pistes[k];
        if (!p.montre || !valide(e, p)) continue;
        Tete h;
        h.piste = static_cast<int>(k);
        const int i = pointau(e, p, t);
        h.parti = i >= p.premier;
        h.point = std::max(i, p.premier);
        h.fini = i >= finpiste(e, p);
        h.dist = h.parti ? e.ptdist[static_cast<std::size_t>(h.point)] -
                               e.ptdist[static_cast<std::size_t>(p.premier)]
                         : 0;
        h.duree = h.fini ? e.pttemps[static_cast<std::size_t>(h.point)] -
                               e.pttemps[static_cast<std::size_t>(p.premier)]
                         : std::max(0.0, t - tempspoint(e, p, p.premier));
        v.push_back(h);
    }
    return v;
}

std::vector<Rang> classement(const Etat& e, double t) {
    std::vector<Rang> v;
    for (const Tete& h : tetes(e, t))
        v.push_back({h, 0, false});
    std::stable_sort(v.begin(), v.end(), [](const Rang& a, const Rang& b) {
        if (a.tete.fini != b.tete.fini) return a.tete.fini;
        if (a.tete.fini) return a.tete.duree < b.tete.duree;
        return a.tete.dist > b.tete.dist;
    });
    if (v.empty()) return v;
    const Piste& tete = e.rejeu.pistes[static_cast<std::size_t>(v[0].tete.piste)];
    for (std::size_t k = 1; k < v.size(); ++k) {
        Rang& r = v[k];
        if (r.tete.fini && v[0].tete.fini) {
            r.ecart = r.tete.duree - v[0].tete.duree;
            r.ecarttemps = true;
            continue;
        }
        // The leader in, this one not: at least the time since the leader's finish (their ways
        // may differ in length, so the distance tells nothing).
        if (v[0].tete.fini) {
            r.ecart = std::max(0.0, t - tempspoint(e, tete, finpiste(e, tete)));
            r.ecarttemps = true;
            continue;
        }
        if (tete.horloge) {
            // When the leader was where this one is now.
            const double d = e.ptdist[static_cast<std::size_t>(tete.premier)] + r.tete.dist;
            const auto debut = e.ptdist.begin() + tete.premier;
            const auto fin = e.ptdist.begin() + finpiste(e, tete) + 1;
            const auto it = std::lower_bound(debut, fin, d);
            if (it != fin) {
                const int j = static_cast<int>(it - e.ptdist.begin());
                r.ecart = std::max(0.0, t - tempspoint(e, tete, j));
                r.ecarttemps = true;
                continue;
            }
        }
        r.ecart = std::max(0.0, v[0].tete.dist - r.tete.dist);
    }
    return v;
}

void camerarejeu(Etat& e, int r) {
    const Rejeu& rj = e.rejeu;
    if (!rj.actif() || rj.suivi == Suivi::CLES || r < 1 || e.largeurcarte <= 0) return;
    const int n = r + 1;
    const double zf = e.film.zoom;
    const double Lf = e.film.largeur, Hf = e.film.hauteur;
    // Film pixels kept between a head and the frame's edge.
    const double marge = std::min({60.0, Lf / 6, Hf / 6});
    const double zmin = std::max(MINZOOM, std::min(Lf / e.largeurcarte, Hf / e.hauteurcarte));
    std::vector<double> cx(n), cy(n), z(n);
    std::vector<std::array<double, 4>> boites(n);
    for (int c = 0; c < n; ++c) {
        const double t = e.imgtemps[static_cast<std::size_t>(c)];
        double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
        const auto prend = [&](const Tete& h) {
            const double x = e.ptx[static_cast<std::size_t>(h.point)] + 0.5;
            const double y = e.pty[static_cast<std::size_t>(h.point)] + 0.5;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        };
        if (rj.suivi == Suivi::TETE) {
            const auto v = classement(e, t);
            if (!v.empty()) prend(v[0].tete);
        } else {
            for (const Tete& h : tetes(e, t))
                prend(h);
        }
        if (!(x0 <= x1)) x0 = x1 = e.largeurcarte / 2.0, y0 = y1 = e.hauteurcarte / 2.0;
        boites[static_cast<std::size_t>(c)] = {x0, y0, x1, y1};
        cx[static_cast<std::size_t>(c)] = (x0 + x1) / 2;
        cy[static_cast<std::size_t>(c)] = (y0 + y1) / 2;
        // The closest zoom, no closer than the film's, that holds them all with the margin.
        const double zl = (Lf - 2 * marge) / std::max(x1 - x0, 1.0);
        const double zh = (Hf - 2 * marge) / std::max(y1 - y0, 1.0);
        z[static_cast<std::size_t>(c)] =
            std::clamp(std::min({zf, zl, zh}), zmin, std::max(zf, zmin));
    }
    // Smoothed over about a second each way: the zoom as the least of its neighbours' (so that
    // the average never comes closer than a frame needs), the centre as an average.
    const int w = std::max(1, e.ips);
    std::vector<double> zm(n), zs(n), sx(n), sy(n);
    for (int c = 0; c < n; ++c) {
        double m = INFINITY;
        for (int j = std::max(0, c - w); j <= std::min(n - 1, c + w); ++j)
            m = std::min(m, z[static_cast<std::size_t>(j)]);
        zm[static_cast<std::size_t>(c)] = m;
    }
    for (int c = 0; c < n; ++c) {
        const int a = std::max(0, c - w / 2), b = std::min(n - 1, c + w / 2);
        double lz = 0, mx = 0, my = 0;
        for (int j = a; j <= b; ++j) {
            lz += std::log(zm[static_cast<std::size_t>(j)]);
            mx += cx[static_cast<std::size_t>(j)];
            my += cy[static_cast<std::size_t>(j)];
        }
        const double k = b - a + 1;
        zs[static_cast<std::size_t>(c)] = std::exp(lz / k);
        sx[static_cast<std::size_t>(c)] = mx / k;
        sy[static_cast<std::size_t>(c)] = my / k;
    }
    for (int c = 0; c < n; ++c) {
        const auto uc = static_cast<std::size_t>(c);
        double zc = std::min(zs[uc], z[uc]);
        const int vl = champl(e, zc), vh = champh(e, zc);
        const auto& b = boites[uc];
        const double m = marge / zc;
        // Centred on the smoothed point, then moved as little as needed to hold every head.
        const auto place = [](double centre, int vue, double lo, double hi, double m, int carte) {
            double o = centre - vue / 2.0;
            const double omin = hi + m - vue, omax = lo - m;
            if (omin <= omax)
                o = std::clamp(o, omin, omax);
            else
                o = (lo + hi) / 2 - vue / 2.0;
            return std::clamp(static_cast<int>(std::lround(o)), 0, std::max(0, carte - vue));
        };
        e.imgdecx[uc] = place(sx[uc], vl, b[0], b[2], m, e.largeurcarte);
        e.imgdecy[uc] = place(sy[uc], vh, b[1], b[3], m, e.hauteurcarte);
        e.imgzoom[uc] = zc == 1.0 && zf == 1.0 ? 0 : zc;
    }
}
