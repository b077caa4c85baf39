#include "export/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int CELLES = 32 * 32 * 32;

int cellule(QRgb p) {
    return static_cast<int>(((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31));
}

// A box of 5-5-5 cells, bounds inclusive, per channel (red, green, blue).

} // namespace

Palette::Palette() : compte(CELLES, 0), somme(CELLES * 3, 0) {}

void Palette::ajoute(const QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = l[x];
            const int c = cellule(p);
            ++compte[c];
            somme[3 * c] += qRed(p);
            somme[3 * c + 1] += qGreen(p);
            somme[3 * c + 2] += qBlue(p);
        }
    }
}

QList<QRgb> Palette::calcule(int couleurs, const QList<QRgb>& imposees) const {
    couleurs = std::clamp(couleurs, 2, 256);
    QList<QRgb> palette;
    for (QRgb c : imposees)
        if (palette.size() < couleurs / 2 && !palette.contains(c | 0xff000000u))
            palette.append(c | 0xff000000u);
    couleurs -= static_cast<int>(palette.size());
    // Each used cell by its mean colour and its pixel count.
    struct Cellule {
        double m[3];
        double n;
    };
    std::vector<Cellule> cells;
    for (int c = 0; c < CELLES; ++c)
        if (compte[c]) {
            const double n = compte[c];
            cells.push_back({{somme[3 * c] / n, somme[3 * c + 1] / n, somme[3 * c + 2] / n}, n});
        }
    if (cells.empty()) return palette;

    // Boxes are runs of `cells`. The box that strays most from its mean colour (summed squared
    // error, weighted by pixels) is cut in two where the two halves stray least: a colour of
    // few pixels far from the rest, such as a route over a map, is cut off early.
    struct Boite {
        size_t debut, fin; // [debut, fin)
        double erreur = 0;
        int canal = 0;
    };
    auto mesure = [&](Boite& b) {
        double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
        for (size_t i = b.debut; i < b.fin; ++i)
            for (int k = 0; k < 3; ++k) {
                s[k] += cells[i].n * cells[i].m[k];
                q[k] += cells[i].n * cells[i].m[k] * cells[i].m[k];
                if (k == 0) n += cells[i].n;
            }
        b.erreur = 0;
        double pire = -1;
        for (int k = 0; k < 3; ++k) {
            const double v = q[k] - s[k] * s[k] / n;
            b.erreur += v;
            if (v > pire) {
                pire = v;
                b.canal = k;
            }
        }
    };
    std::vector<Boite> boites{{0, cells.size()}};
    mesure(boites[0]);
    std::vector<double> pn, ps[3], pq;
    while (static_cast<int>(boites.size()) < couleurs) {
        size_t choisie = boites.size();
        double pire = 0;
        for (size_t b = 0; b < boites.size(); ++b)
            if (boites[b].fin - boites[b].debut >= 2 && boites[b].erreur > pire) {
                pire = boites[b].erreur;
                choisie = b;
            }
        if (choisie == boites.size()) break;
        const Boite b = boites[choisie];
        const int canal = b.canal;
        const auto debut = cells.begin() + static_cast<std::ptrdiff_t>(b.debut);
        const auto fin = cells.begin() + static_cast<std::ptrdiff_t>(b.fin);
        std::sort(debut, fin,
                  [canal](const Cellule& x, const Cellule& y) { return x.m[canal] < y.m[canal]; });
        // Prefix sums over the box, then the cut with the least error on both sides.
        const size_t t = b.fin - b.debut;
        pn.assign(t + 1, 0);
        pq.assign(t + 1, 0);
        for (auto& v : ps)
            v.assign(t + 1, 0);
        for (size_t i = 0; i < t; ++i) {
            const Cellule& c = cells[b.debut + i];
            pn[i + 1] = pn[i] + c.n;
            pq[i + 1] = pq[i];
            for (int k = 0; k < 3; ++k) {
                ps[k][i + 1] = ps[k][i] + c.n * c.m[k];
                pq[i + 1] += c.n * c.m[k] * c.m[k];
            }
        }
        auto erreur = [&](size_t a, size_t z) { // cells [a, z) of the box
            const double n = pn[z] - pn[a];
            double e = pq[z] - pq[a];
            for (int k = 0; k < 3; ++k) {
                const double s = ps[k][z] - ps[k][a];
                e -= s * s / n;
            }
            return e;
        };
        size_t coupe = 1;
        double meilleure = -1;
        for (size_t i = 1; i < t; ++i) {
            const double e = erreur(0, i) + erreur(i, t);
            if (meilleure < 0 || e < meilleure) {
                meilleure = e;
                coupe = i;
            }
        }
        Boite a{b.debut, b.debut + coupe}, z{b.debut + coupe, b.fin};
        mesure(a);
        mesure(z);
        boites[choisie] = a;
        boites.push_back(z);
    }

    for (const Boite& b : boites) {
        double n = 0, s[3] = {0, 0, 0};
        for (size_t i = b.debut; i < b.fin; ++i) {
            n += cells[i].n;
            for (int k = 0; k < 3; ++k)
                s[k] += cells[i].n * cells[i].m[k];
        }
        auto v = [&](int k) { return std::clamp(static_cast<int>(std::lround(s[k] / n)), 0, 255); };
        palette.append(qRgb(v(0), v(1), v(2)));
    }
    return palette;
}

Table::Table(const QList<QRgb>& couleurs) : cases(64 * 64 * 64, 0) {
    for (int c = 0; c < 64 * 64 * 64; ++c) {
        // The centre of the cell, in 8-bit values.
        const int r = ((c >> 12) & 63) * 4 + 2, g = ((c >> 6) & 63) * 4 + 2, b = (c & 63) * 4 + 2;
        int meilleur = 1 << 30;
        for (qsizetype i = 0; i < couleurs.size(); ++i) {
            const int dr = qRed(couleurs[i]) - r, dg = qGreen(couleurs[i]) - g,
                      db = qBlue(couleurs[i]) - b;
            // Weighted as the eye weighs the channels, near enough.
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < meilleur) {
                meilleur = d;
                cases[c] = static_cast<uint8_t>(i);
            }
        }
    }
}

void Table::convertit(const QImage& img, uint8_t* dest, int pas) const {
    for (int y = 0; y < img.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uint8_t* d = dest + static_cast<std::ptrdiff_t>(pas) * y;
        for (int x = 0; x < img.width(); ++x)
            d[x] = index(l[x]);
    }
}
