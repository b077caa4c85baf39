#include "route/marche.h"

#include "map/lab.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace {

// One bit a map pixel: taken (or part of the route already).
class Bits {
  public:
    Bits(int l, int h)
        : largeur(l), mots((static_cast<std::size_t>(l) * static_cast<std::size_t>(h) + 63) / 64) {}
    bool lit(int x, int y) const {
        const std::size_t k = index(x, y);
        return (mots[k >> 6] >> (k & 63)) & 1u;
    }
    void pose(int x, int y) {
        const std::size_t k = index(x, y);
        mots[k >> 6] |= std::uint64_t{1} << (k & 63);
    }

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(largeur) +
               static_cast<std::size_t>(x);
    }
    int largeur;
    std::vector<std::uint64_t> mots;
};

// The pixels a gap search may take, by square cells of the map: a cell's pixels of the followed
// colour are listed the first time a search reaches it, and those taken since are dropped as they
// are met. A search then looks at a few lists instead of every pixel within reach, however many
// pixels of the colour lie about the map.
class Candidats {
  public:
    Candidats(int l, int h, int rayon)
        : l(l), h(h), cote(std::max(rayon, 32)), nx((l + cote - 1) / cote),
          ny((h + cote - 1) / cote), vues(static_cast<std::size_t>(nx) * ny, false),
          listes(static_cast<std::size_t>(nx) * ny) {}

    // The pixel nearest `centre` within `rayon` that `couleur` takes and `pris` does not hold;
    // among equals the upper one, then the left one (the order of a scan of the disc).
    template <class Couleur, class Pris>
    std::optional<QPoint> proche(QPoint centre, int rayon, const Couleur& couleur,
                                 const Pris& pris) {
        const int r2 = rayon * rayon;
        std::optional<QPoint> meilleur;
        long long cle = 0;
        const int cx0 = std::max(centre.x() - rayon, 0) / cote;
        const int cx1 = std::min(centre.x() + rayon, l - 1) / cote;
        const int cy0 = std::max(centre.y() - rayon, 0) / cote;
        const int cy1 = std::min(centre.y() + rayon, h - 1) / cote;
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx) {
                const std::size_t c = static_cast<std::size_t>(cy) * nx + cx;
                if (!vues[c]) liste(cx, cy, couleur);
                std::vector<QPoint>& v = listes[c];
                for (std::size_t i = 0; i < v.size();) {
                    const QPoint p = v[i];
                    if (pris(p.x(), p.y())) { // taken since: never a candidate again
                        v[i] = v.back();
                        v.pop_back();
                        continue;
                    }
                    ++i;
                    const int dx = p.x() - centre.x(), dy = p.y() - centre.y();
                    const int d2 = dx * dx + dy * dy;
                    if (d2 > r2 || d2 == 0) continue;
                    // Distance first, then the row, then the column.
                    const long long k = (static_cast<long long>(d2) << 32) |
                                        (static_cast<long long>(dy + 0x8000) << 16) | (dx + 0x8000);
                    if (!meilleur || k < cle) {
                        meilleur = p;
                        cle = k;
                    }
                }
            }
        return meilleur;
    }

  private:
    template <class Couleur> void liste(int cx, int cy, const Couleur& couleur) {
        vues[static_cast<std::size_t>(cy) * nx + cx] = true;
        std::vector<QPoint>& v = listes[static_cast<std::size_t>(cy) * nx + cx];
        for (int y = cy * cote; y < std::min((cy + 1) * cote, h); ++y)
            for (int x = cx * cote; x < std::min((cx + 1) * cote, l); ++x)
                if (couleur(x, y)) v.push_back({x, y});
    }

    int l, h, cote, nx, ny;
    std::vector<bool> vues;
    std::vector<std::vector<QPoint>> listes;
};

} // namespace

Marche marchecarte(const QImage& carte, QPoint depart, QRgb suivie, const ReglagesTrace& r,
                   const Etat& e, int place, const Avance* av) {
    Marche m;
    m.plein = place <= 0;
    const int l = carte.width(), h = carte.height();
    if (l <= 0 || h <= 0 || place <= 0 || carte.format() != QImage::Format_RGB32) return m;
    const auto* pixels = reinterpret_cast<const QRgb*>(carte.constBits());
    const qsizetype ligne = carte.bytesPerLine() / 4;
    Bits pris(l, h);
    // The route stored so far is not walked again (a continuation starts beside it).
    for (int i = 0; i <= dernierpoint(e); ++i)
        if (e.ptx[i] >= 0 && e.pty[i] >= 0 && e.ptx[i] < l && e.pty[i] < h)
            pris.pose(e.ptx[i], e.pty[i]);
    ProcheCouleur proche(suivie, std::clamp(r.tolerance, 0, MAXTOLERANCE));
    const auto accepte = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < l && y < h && !pris.lit(x, y) &&
               proche(pixels[static_cast<qsizetype>(y) * ligne + x]);
    };

    m.points.reserve(static_cast<std::size_t>(std::min(place, MAXPT)));
    // The queue holds the start and every point taken: the points themselves, read in order.
    std::size_t tete = 0;
    bool depuisclic = true;
    const auto prend = [&](int x, int y) {
        pris.pose(x, y);
        m.points.push_back({x, y});
        if (static_cast<int>(m.points.size()) >= place) m.plein = true;
    };
    const auto voisins = [&](QPoint p) {
        for (int dx = -1; dx <= 1 && !m.plein; ++dx)
            for (int dy = -1; dy <= 1 && !m.plein; ++dy)
                if (accepte(p.x() + dx, p.y() + dy)) prend(p.x() + dx, p.y() + dy);
    };
    // A gap of `pont` missing pixels lies pont + 1 away.
    const int pont = std::clamp(r.pont, 0, MAXPONT);
    const int portee = pont + 1;
    std::optional<Candidats> candidats;
    // Points whose reach holds nothing to take: it never will, as pixels are only ever taken.
    // The newest of the others is on top.
    std::vector<std::size_t> bouts;
    std::size_t empiles = 0;

    for (unsigned tour = 1; !m.plein; ++tour) {
        if ((tour & 4095) == 1) {
            if (arrete(av)) return m;
            signale(av, static_cast<long long>(m.points.size()), 0);
        }
        if (depuisclic) {
            voisins(depart);
            depuisclic = false;
            continue;
        }
        if (tete < m.points.size()) {
            voisins(m.points[tete++]);
            continue;
        }
        // The queue is dry: bridge a gap from the newest point that has a taker within reach,
        // the nearest one (the upper, then the left one among equals).
        if (pont == 0) break;
        if (!candidats) candidats.emplace(l, h, portee);
        for (; empiles < m.points.size(); ++empiles)
            bouts.push_back(empiles);
        bool saute = false;
        while (!bouts.empty() && !saute) {
            const auto p = candidats->proche(
                m.points[bouts.back()], portee,
                [&](int x, int y) { return proche(pixels[static_cast<qsizetype>(y) * ligne + x]); },
                [&](int x, int y) { return pris.lit(x, y); });
            if (!p) {
                bouts.pop_back();
                continue;
            }
            m.ponts.push_back(static_cast<int>(m.points.size()));
            prend(p->x(), p->y());
            saute = true;
        }
        if (!saute) break;
    }
    if (r.plume && !m.points.empty()) m.ponts = ordreplume(m.points, depart);
    return m;
}

Bilan bilantrace(const QImage& carte, const Etat& e, int debut, QRgb suivie, int tolerance,
                 bool plein) {
    Bilan b;
    b.plein = plein;
    const int fin = dernierpoint(e);
    debut = std::max(debut, 0);
    b.traces = std::max(fin - debut + 1, 0);
    const int l = carte.width(), h = carte.height();
    if (l <= 0 || h <= 0 || carte.format() != QImage::Format_RGB32) return b;
    // Around the route, or around the click when nothing was taken.
    constexpr int MARGE = 64;
    int x0 = l, y0 = h, x1 = -1, y1 = -1;
    for (int i = debut; i <= fin; ++i) {
        x0 = std::min(x0, e.ptx[i]);
        y0 = std::min(y0, e.pty[i]);
        x1 = std::max(x1, e.ptx[i]);
        y1 = std::max(y1, e.pty[i]);
    }
    if (x1 < 0) return b;
    x0 = std::max(x0 - MARGE, 0);
    y0 = std::max(y0 - MARGE, 0);
    x1 = std::min(x1 + MARGE, l - 1);
    y1 = std::min(y1 + MARGE, h - 1);
    if (x0 > x1 || y0 > y1) return b;
    const int bl = x1 - x0 + 1, bh = y1 - y0 + 1;
    Bits pris(bl, bh);
    for (int i = 0; i <= fin; ++i)
        if (e.ptx[i] >= x0 && e.ptx[i] <= x1 && e.pty[i] >= y0 && e.pty[i] <= y1)
            pris.pose(e.ptx[i] - x0, e.pty[i] - y0);
    ProcheCouleur proche(suivie, std::max(2 * std::clamp(tolerance, 0, MAXTOLERANCE), 20));
    for (int y = y0; y <= y1; ++y) {
        const auto* ligne = reinterpret_cast<const QRgb*>(carte.constScanLine(y));
        for (int x = x0; x <= x1; ++x)
            if (!pris.lit(x - x0, y - y0) && proche(ligne[x])) ++b.restants;
    }
    return b;
}

std::optional<QString> messagebilan(const Bilan& b) {
    const QString essai = QStringLiteral(
        "Essayer une tolérance de couleur, les ponts entre les morceaux ou la carte entière.");
    if (b.plein) return QStringLiteral("Route pleine : %1 points au plus").arg(b.capacite);
    if (b.traces < 10)
        return QStringLiteral("Seulement %1 point(s) tracé(s) : la couleur suivie ne se retrouve "
                              "pas autour du clic.\n%2")
            .arg(b.traces)
            .arg(essai);
    if (b.restants >= std::max(30, b.traces / 20))
        return QStringLiteral("%1 points tracés, mais %2 pixels de couleur voisine restent "
                              "autour de la route.\n%3")
            .arg(b.traces)
            .arg(b.restants)
            .arg(essai);
    return std::nullopt;
}
