#include "export/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int CELLES = 32 * 32 * 32;

int cellule(QRgb p) {
    return static_cast<int>(((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31));
}

// A box of 5-5-5 cells, bounds inclusive, per channel (red, green, blue).

int composante(int c, int canal) {
    return canal == 0 ? (c >> 10) & 31 : canal == 1 ? (c >> 5) & 31 : c & 31;
}

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

QList<QRgb> Palette::calcule(int couleurs) const {
    couleurs = std::clamp(couleurs, 2, 256);
    std::vector<int> cells;
    for (int c = 0; c < CELLES; ++c)
        if (compte[c]) cells.push_back(c);
    if (cells.empty()) return {};

    // Each box holds a run of `cells`; a box is cut at the median of its widest channel.
    struct Morceau {
        size_t debut, fin; // [debut, fin)
        int etendue = 0, canal = 0;
        uint64_t poids = 0;
    };
    auto mesure = [&](Morceau& m) {
        int bas[3] = {31, 31, 31}, haut[3] = {0, 0, 0};
        m.poids = 0;
        for (size_t i = m.debut; i < m.fin; ++i) {
            for (int k = 0; k < 3; ++k) {
                bas[k] = std::min(bas[k], composante(cells[i], k));
                haut[k] = std::max(haut[k], composante(cells[i], k));
            }
            m.poids += compte[cells[i]];
        }
        m.etendue = 0;
        for (int k = 0; k < 3; ++k)
            if (haut[k] - bas[k] > m.etendue) {
                m.etendue = haut[k] - bas[k];
                m.canal = k;
            }
    };
    std::vector<Morceau> boites{{0, cells.size()}};
    mesure(boites[0]);
    while (static_cast<int>(boites.size()) < couleurs) {
        // The widest box weighted by the square root of its pixels: a route colour of a few
        // pixels still gets a box of its own, the map's many shades get most of them.
        size_t choisie = boites.size();
        double meilleur = 0;
        for (size_t b = 0; b < boites.size(); ++b) {
            if (boites[b].fin - boites[b].debut < 2) continue;
            const double p = boites[b].etendue * std::sqrt(static_cast<double>(boites[b].poids));
            if (p > meilleur) {
                meilleur = p;
                choisie = b;
            }
        }
        if (choisie == boites.size()) break;
        Morceau m = boites[choisie];
        const int canal = m.canal;
        std::sort(cells.begin() + static_cast<std::ptrdiff_t>(m.debut),
                  cells.begin() + static_cast<std::ptrdiff_t>(m.fin),
                  [&](int a, int b) { return composante(a, canal) < composante(b, canal); });
        // The cut at half the pixels, leaving at least one cell on each side.
        uint64_t cumul = 0;
        size_t coupe = m.debut + 1;
        for (size_t i = m.debut; i + 1 < m.fin; ++i) {
            cumul += compte[cells[i]];
            coupe = i + 1;
            if (cumul * 2 >= m.poids) break;
        }
        Morceau a{m.debut, coupe}, b{coupe, m.fin};
        mesure(a);
        mesure(b);
        boites[choisie] = a;
        boites.push_back(b);
    }

    QList<QRgb> palette;
    for (const Morceau& m : boites) {
        uint64_t s[3] = {0, 0, 0}, n = 0;
        for (size_t i = m.debut; i < m.fin; ++i) {
            for (int k = 0; k < 3; ++k)
                s[k] += somme[3 * cells[i] + k];
            n += compte[cells[i]];
        }
        palette.append(qRgb(static_cast<int>((s[0] + n / 2) / n),
                            static_cast<int>((s[1] + n / 2) / n),
                            static_cast<int>((s[2] + n / 2) / n)));
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
