// Pen order: the painted stroke is thinned to its centre line, the centre line is followed as a pen
// would (straight on at crossings, back later for the arms passed), and every pixel of the stroke
// is drawn when the pen passes the centre point nearest to it.
#include "route/marche.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>

namespace {

// Map position -> index into the points, open addressing: a route has at most 36001 pixels.
class Index {
  public:
    explicit Index(std::size_t n) {
        std::size_t c = 16;
        while (c < 4 * n)
            c *= 2;
        cles.assign(c, VIDE);
        valeurs.assign(c, -1);
        masque = c - 1;
    }
    void pose(QPoint p, int v) {
        const std::uint64_t k = cle(p);
        std::size_t i = hache(k);
        while (cles[i] != VIDE && cles[i] != k)
            i = (i + 1) & masque;
        cles[i] = k;
        valeurs[i] = v;
    }
    int lit(QPoint p) const {
        const std::uint64_t k = cle(p);
        for (std::size_t i = hache(k);; i = (i + 1) & masque) {
            if (cles[i] == k) return valeurs[i];
            if (cles[i] == VIDE) return -1;
        }
    }

  private:
    static constexpr std::uint64_t VIDE = ~std::uint64_t{0};
    static std::uint64_t cle(QPoint p) {
        return (std::uint64_t{static_cast<std::uint32_t>(p.x())} << 32) |
               static_cast<std::uint32_t>(p.y());
    }
    std::size_t hache(std::uint64_t k) const {
        return static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ull) >> 20) & masque;
    }
    std::vector<std::uint64_t> cles;
    std::vector<int> valeurs;
    std::size_t masque = 0;
};

// The eight neighbours clockwise from north, as the thinning counts them (P2 .. P9).
constexpr QPoint AUTOUR[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

// Zhang and Suen's thinning over the stroke's pixels: the border is peeled in two alternating
// passes until only a line one pixel wide is left. Returns, for each point, whether it is on it.
std::vector<char> squelette(const std::vector<QPoint>& pts, const Index& index) {
    const std::size_t n = pts.size();
    std::vector<char> vivant(n, 1);
    std::vector<int> voisins(n * 8, -1);
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 8; ++k)
            voisins[i * 8 + k] = index.lit(pts[i] + AUTOUR[k]);
    std::vector<int> retire;
    for (bool change = true; change;) {
        change = false;
        for (int passe = 0; passe < 2; ++passe) {
            retire.clear();
            for (std::size_t i = 0; i < n; ++i) {
                if (!vivant[i]) continue;
                bool v[8];
                int b = 0;
                for (int k = 0; k < 8; ++k) {
                    const int j = voisins[i * 8 + k];
                    v[k] = j >= 0 && vivant[j];
                    b += v[k];
                }
                if (b < 2 || b > 6) continue;
                int a = 0;
                for (int k = 0; k < 8; ++k)
                    a += !v[k] && v[(k + 1) % 8];
                if (a != 1) continue;
                // P2, P4, P6, P8 are v[0], v[2], v[4], v[6].
                if (passe == 0 && ((v[0] && v[2] && v[4]) || (v[2] && v[4] && v[6]))) continue;
                if (passe == 1 && ((v[0] && v[2] && v[6]) || (v[0] && v[4] && v[6]))) continue;
                retire.push_back(static_cast<int>(i));
            }
            for (const int i : retire)
                vivant[i] = 0;
            change = change || !retire.empty();
        }
    }
    // The corners of a thick stroke leave short spurs on its centre line; a pen does not draw
    // them. Ends are cut back by about half the stroke's width (its area over its length).
    int centres = 0;
    for (char v : vivant)
        centres += v;
    const int elague = std::clamp(static_cast<int>(n) / std::max(centres, 1) / 2 + 1, 1, 30);
    for (int tour = 0; tour < elague; ++tour) {
        retire.clear();
        for (std::size_t i = 0; i < n; ++i) {
            if (!vivant[i]) continue;
            int b = 0;
            for (int k = 0; k < 8; ++k) {
                const int j = voisins[i * 8 + k];
                b += j >= 0 && vivant[j];
            }
            if (b <= 1) retire.push_back(static_cast<int>(i));
        }
        for (const int i : retire)
            vivant[i] = 0;
    }

    // A blob the thinning erased whole (a 2 x 2 square) keeps one pixel.
    std::vector<char> couvert(n, 0);
    std::deque<int> file;
    for (std::size_t i = 0; i < n; ++i)
        if (vivant[i]) {
            couvert[i] = 1;
            file.push_back(static_cast<int>(i));
        }
    for (;;) {
        while (!file.empty()) {
            const int i = file.front();
            file.pop_front();
            for (int k = 0; k < 8; ++k) {
                const int j = voisins[i * 8 + k];
                if (j >= 0 && !couvert[j]) {
                    couvert[j] = 1;
                    file.push_back(j);
                }
            }
        }
        const auto reste = std::find(couvert.begin(), couvert.end(), 0);
        if (reste == couvert.end()) break;
        const int i = static_cast<int>(reste - couvert.begin());
        vivant[i] = couvert[i] = 1;
        file.push_back(i);
    }
    return vivant;
}

double norme(double x, double y) {
    return std::sqrt(x * x + y * y);
}

} // namespace

std::vector<int> ordreplume(std::vector<QPoint>& points, QPoint depart) {
    const std::size_t n = points.size();
    std::vector<int> sauts;
    if (n < 3) return sauts;
    Index index(n);
    for (std::size_t i = 0; i < n; ++i)
        index.pose(points[i], static_cast<int>(i));
    const std::vector<char> centre = squelette(points, index);

    // Neighbours on the centre line.
    const auto voisin = [&](int i, int k) {
        const int j = index.lit(points[i] + AUTOUR[k]);
        return j >= 0 && centre[j] ? j : -1;
    };

    std::vector<int> rang(n, -1); // the pen's order of the centre points
    int rangs = 0;
    std::vector<int> trait; // centre points of the current stroke, for its direction
    std::vector<int> pile;  // points passed that may still have arms to draw
    const auto libre = [&](int i) {
        for (int k = 0; k < 8; ++k) {
            const int j = voisin(i, k);
            if (j >= 0 && rang[j] < 0) return true;
        }
        return false;
    };
    std::vector<char> debuts; // ranks where the pen sets down on a new piece
    const auto passe = [&](int i) {
        rang[i] = rangs++;
        trait.push_back(i);
    };
    const auto pose = [&](int i) {
        debuts.resize(static_cast<std::size_t>(rangs) + 1, 0);
        debuts[static_cast<std::size_t>(rangs)] = 1;
        passe(i);
    };
    // Some steps ahead along an arm, each as straight on as the arm allows, to see where it
    // heads.
    std::vector<int> vus;
    const auto devant = [&](int depuis, int premier, double dx, double dy) {
        vus.assign({depuis, premier});
        int p = premier;
        for (int pas = 0; pas < 16; ++pas) {
            int meilleur = -1;
            double score = -1e9;
            for (int k = 0; k < 8; ++k) {
                const int j = voisin(p, k);
                if (j < 0 || rang[j] >= 0 || std::find(vus.begin(), vus.end(), j) != vus.end())
                    continue;
                const QPoint d = points[j] - points[p];
                const double s = dx * d.x() + dy * d.y() - k * 1e-6;
                if (s > score) {
                    score = s;
                    meilleur = j;
                }
            }
            if (meilleur < 0) break;
            vus.push_back(meilleur);
            p = meilleur;
        }
        return p;
    };

    // The start: the centre point nearest the click.
    int courant = -1;
    double mieux = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < n; ++i) {
        if (!centre[i]) continue;
        const double d = norme(points[i].x() - depart.x(), points[i].y() - depart.y());
        if (d < mieux) {
            mieux = d;
            courant = static_cast<int>(i);
        }
    }
    int centres = 0;
    for (char c : centre)
        centres += c;
    pose(courant);
    while (rangs < centres) {
        // The arms not drawn yet from here; the one that goes on most straight is taken.
        int suivant = -1;
        double score = -std::numeric_limits<double>::max();
        const std::size_t t = trait.size();
        const QPoint ici = points[courant];
        const QPoint avant = points[trait[t > 16 ? t - 17 : 0]];
        const double dx = ici.x() - avant.x(), dy = ici.y() - avant.y();
        const double dn = norme(dx, dy);
        for (int k = 0; k < 8; ++k) {
            const int j = voisin(courant, k);
            if (j < 0 || rang[j] >= 0) continue;
            const QPoint loin = points[devant(courant, j, dx, dy)];
            const double ax = loin.x() - ici.x(), ay = loin.y() - ici.y();
            const double an = norme(ax, ay);
            const double s = dn > 0 && an > 0 ? (dx * ax + dy * ay) / (dn * an) : -k * 1e-3;
            if (s > score) {
                score = s;
                suivant = j;
            }
        }
        if (suivant >= 0) {
            if (libre(courant)) pile.push_back(courant);
            // Pixels of a stair step beside both are taken on the way, not left for later.
            for (int k = 0; k < 8; ++k) {
                const int j = voisin(courant, k);
                if (j < 0 || j == suivant || rang[j] >= 0) continue;
                const QPoint d = points[j] - points[suivant];
                if (std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1) {
                    rang[j] = rangs++;
                    if (libre(j)) pile.push_back(j);
                }
            }
            passe(suivant);
            courant = suivant;
            continue;
        }
        // A dead end: back to the last point passed that still has an arm to draw.
        while (!pile.empty() && !libre(pile.back()))
            pile.pop_back();
        int reprise = -1;
        if (!pile.empty()) {
            reprise = pile.back();
        } else {
            // Nothing left on this piece: the nearest piece not drawn yet.
            mieux = std::numeric_limits<double>::max();
            for (std::size_t i = 0; i < n; ++i) {
                if (!centre[i] || rang[i] >= 0) continue;
                const double d = norme(points[i].x() - ici.x(), points[i].y() - ici.y());
                if (d < mieux) {
                    mieux = d;
                    reprise = static_cast<int>(i);
                }
            }
            if (reprise < 0) break;
            pose(reprise);
        }
        trait.clear();
        trait.push_back(reprise);
        courant = reprise;
    }

    // Every pixel takes the rank of the centre point nearest to it within the stroke: a
    // breadth-first spread from the centre points, in the pen's order.
    std::vector<int> parrang(static_cast<std::size_t>(rangs), -1);
    for (std::size_t i = 0; i < n; ++i)
        if (centre[i] && rang[i] >= 0)
            parrang[static_cast<std::size_t>(rang[i])] = static_cast<int>(i);
    std::vector<int> distance(n, -1);
    std::deque<int> file;
    for (const int i : parrang)
        if (i >= 0) {
            distance[i] = 0;
            file.push_back(i);
        }
    while (!file.empty()) {
        const int i = file.front();
        file.pop_front();
        for (int k = 0; k < 8; ++k) {
            const int j = index.lit(points[i] + AUTOUR[k]);
            if (j < 0 || distance[j] >= 0) continue;
            distance[j] = distance[i] + 1;
            rang[j] = rang[i];
            file.push_back(j);
        }
    }
    std::vector<int> ordre(n);
    for (std::size_t i = 0; i < n; ++i)
        ordre[i] = static_cast<int>(i);
    debuts.resize(static_cast<std::size_t>(rangs) + 1, 0);
    // Where the pen sets down, the end of the stroke beyond the centre line is drawn from its
    // tip in; everywhere else the stroke widens out from the centre.
    const auto premier = [&](int a, int b) {
        if (rang[a] != rang[b]) return rang[a] < rang[b];
        const bool debut = rang[a] >= 0 && debuts[static_cast<std::size_t>(rang[a])];
        return debut ? distance[a] > distance[b] : distance[a] < distance[b];
    };
    std::stable_sort(ordre.begin(), ordre.end(), premier);
    std::vector<QPoint> range(n);
    for (std::size_t i = 0; i < n; ++i)
        range[i] = points[static_cast<std::size_t>(ordre[i])];
    points.swap(range);
    // Where the pen lifts: two points in a row that do not touch and lie far apart.
    for (std::size_t i = 1; i < n; ++i) {
        const QPoint d = points[i] - points[i - 1];
        if (std::abs(d.x()) > 8 || std::abs(d.y()) > 8) sauts.push_back(static_cast<int>(i));
    }
    return sauts;
}
