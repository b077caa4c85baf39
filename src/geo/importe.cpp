#include "geo/importe.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Colours of the second and later segments, 0x00BBGGRR, apart from each other and from maps.
constexpr Couleur PALETTE[] = {0xFF0000, 0x00A000, 0xFF00FF, 0x00C0FF, 0x800080, 0x0080FF};

struct Pixel {
    int x, y;
};

// One track point as the walk needs it.
struct Repere {
    double x, y;             // map pixel
    double dist, temps, alt; // along the track
};

// Liang-Barsky: the part [t0, t1] of the step a->b inside the box; false when none.
bool coupe(double ax, double ay, double bx, double by, double xmax, double ymax, double& t0,
           double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax + 0.5, xmax - ax, ay + 0.5, ymax - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

// Walks the joined track pixel by pixel in travel order. Pixels are ranked from 0; `veut`(r)
// gives the first rank from r on that is wanted, and only those are handed to
// `f`(pixel, repere, segment number, track segment). Ranks passed over cost nothing, so a track
// of millions of pixels is thinned in the time of its points.
class Marche {
  public:
    Marche(const std::vector<std::vector<Repere>>& segs, int l, int h) : segs(segs), l(l), h(h) {}

    template <typename V, typename F> void parcourt(V&& veut, F&& f) {
        hors = 0;
        rang = 0;
        tron = -1;
        for (std::size_t s = 0; s < segs.size(); ++s) {
            const auto& r = segs[s];
            rompu = true;
            if (r.size() == 1) {
                pas(veut, f, r[0], r[0], s);
                continue;
            }
            for (std::size_t i = 0; i + 1 < r.size(); ++i)
                pas(veut, f, r[i], r[i + 1], s);
        }
    }

    double hors = 0;    // metres of track off the map
    long long rang = 0; // pixels walked
    int tron = -1;      // the last segment number given

  private:
    template <typename V, typename F>
    void pas(V& veut, F& f, const Repere& a, const Repere& b, std::size_t s) {
        double t0 = 0, t1 = 1;
        const double longueur = b.dist - a.dist;
        if (!std::isfinite(a.x + a.y + b.x + b.y) ||
            !coupe(a.x, a.y, b.x, b.y, l - 0.5, h - 0.5, t0, t1)) {
            hors += longueur;
            rompu = true;
            return;
        }
        hors += longueur * (1 - (t1 - t0));
        if (t0 > 0) rompu = true;
        const auto lieu = [&](double t) {
            return Repere{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.dist + longueur * t,
                          a.temps + (b.temps - a.temps) * t, a.alt + (b.alt - a.alt) * t};
        };
        const auto borne = [](double c, int m) {
            return std::clamp(static_cast<int>(std::lround(c)), 0, m - 1);
        };
        const int x0 = borne(a.x + (b.x - a.x) * t0, l), y0 = borne(a.y + (b.y - a.y) * t0, h);
        const int x1 = borne(a.x + (b.x - a.x) * t1, l), y1 = borne(a.y + (b.y - a.y) * t1, h);
        const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        // The step's first pixel is the last one's end when the track goes on.
        const int k0 = !rompu && x0 == dernier.x && y0 == dernier.y ? 1 : 0;
        if (k0 <= n) {
            if (rompu) ++tron; // a segment, or the track coming back onto the map
            rompu = false;
            // Straight steps of one pixel, each with its share of the distance and time.
            const long long debut = rang, fin = rang + (n - k0 + 1);
            for (long long r = veut(debut); r < fin; r = veut(r + 1)) {
                const int k = k0 + static_cast<int>(r - debut);
                const double f0 = n ? static_cast<double>(k) / n : 0;
                const Pixel p{x0 + static_cast<int>(std::lround((x1 - x0) * f0)),
                              y0 + static_cast<int>(std::lround((y1 - y0) * f0))};
                f(p, lieu(t0 + (t1 - t0) * f0), tron, s);
            }
            rang = fin;
            dernier = {x1, y1};
        }
        if (t1 < 1) rompu = true;
    }

    const std::vector<std::vector<Repere>>& segs;
    int l, h;
    bool rompu = true;
    Pixel dernier{0, 0};
};

} // namespace

double geodesique(double lat1, double lon1, double lat2, double lon2) {
    double s = 0;
    GeographicLib::Geodesic::WGS84().Inverse(lat1, lon1, lat2, lon2, s);
    return s;
}

std::variant<Importation, QString> importe(Etat& e, const TraceGps& t, const Projection& p,
                                           Couleur couleur) {
    if (e.largeurcarte <= 0 || e.hauteurcarte <= 0)
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    const bool temps = t.temps(), alt = t.altitude();
    const double origine = temps ? t.segments.front().front().temps : 0;
    Importation r;
    std::vector<std::vector<Repere>> segs;
    std::vector<double> lat, lon, x, y;
    const GeographicLib::Geodesic& g = GeographicLib::Geodesic::WGS84();
    double dist = 0;
    for (const SegmentGps& s : t.segments) {
        const std::size_t n = s.size();
        lat.resize(n);
        lon.resize(n);
        x.resize(n);
        y.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            lat[i] = s[i].lat;
            lon[i] = s[i].lon;
        }
        p.verspixel(lat.data(), lon.data(), x.data(), y.data(), n);
        std::vector<Repere> v(n);
        for (std::size_t i = 0; i < n; ++i) {
            // The gap between two segments was not walked: the distance goes on from where it was.
            if (i > 0) {
                double d = 0;
                g.Inverse(s[i - 1].lat, s[i - 1].lon, s[i].lat, s[i].lon, d);
                dist += d;
            }
            v[i] = {x[i], y[i], dist, temps ? s[i].temps - origine : 0, alt ? s[i].alt : 0};
        }
        segs.push_back(std::move(v));
    }
    r.longueur = dist;
    // Each point keeps its distance, time and elevation in the parameters file, which holds none
    // past MAXREEL: a track beyond it is refused here rather than saved unreadable.
    for (const auto& v : segs)
        for (const Repere& p : v) {
            const auto hors = [](double x) { return !(std::abs(x) <= MAXREEL); };
            if (hors(p.alt))
                return traduit(e, 808,
                               QStringLiteral("Altitude de %1 m dans le tracé : hors des "
                                              "limites (%2 au plus)"))
                    .arg(p.alt)
                    .arg(MAXREEL);
            if (hors(p.temps))
                return traduit(e, 809,
                               QStringLiteral("Le tracé dure %1 s : hors des limites (%2 "
                                              "au plus)"))
                    .arg(p.temps)
                    .arg(MAXREEL);
            if (hors(p.dist))
                return traduit(e, 810,
                               QStringLiteral("Le tracé mesure %1 m : hors des limites (%2 "
                                              "au plus)"))
                    .arg(p.dist)
                    .arg(MAXREEL);
        }

    Marche m(segs, e.largeurcarte, e.hauteurcarte);
    // Counting: no pixel is wanted.
    m.parcourt([](long long) { return std::numeric_limits<long long>::max(); },
               [](Pixel, const Repere&, int, std::size_t) {});
    const long long total = m.rang;
    r.hors = m.hors;
    r.pixels = total;
    if (total == 0) return QStringLiteral("Le tracé est entièrement hors de la carte");

    // Evenly thinned: the kept pixels are ranks ceil(k * (total - 1) / (garde - 1)), k =
    // 0..garde-1.
    const long long garde = std::min<long long>(total, std::clamp(MAXPTGPS, 1, MAXROUTE));
    if (!placeroute(e, static_cast<int>(garde)) || !placegeo(e, static_cast<int>(garde)))
        return QStringLiteral("Tracé trop long : %1 points au plus").arg(MAXROUTE);
    long long prochain = 0; // the next k
    const auto veut = [&](long long rang) {
        if (prochain >= garde) return std::numeric_limits<long long>::max();
        if (garde == total || garde == 1) return rang;
        const long long cible = (prochain * (total - 1) + (garde - 2)) / (garde - 1);
        return std::max(rang, cible);
    };
    int nb = -1;
    m.parcourt(veut, [&](Pixel q, const Repere& v, int tron, std::size_t s) {
        ++prochain;
        if (nb + 1 >= garde) return;
        ++nb;
        e.ptx[nb] = q.x;
        e.pty[nb] = q.y;
        e.pttron[nb] = tron;
        e.ptcoul[nb] = s == 0 ? couleur : PALETTE[(s - 1) % std::size(PALETTE)];
        e.ptdist[nb] = v.dist;
        e.pttemps[nb] = v.temps;
        e.ptalt[nb] = v.alt;
    });
    const int tron = nb >= 0 ? e.pttron[nb] : 0;
    e.nbpt = nb;
    e.nbgeo = nb + 1;
    e.gpsdist = true;
    e.gpstemps = temps;
    e.gpsalt = alt;
    e.troncours = tron;
    r.points = nb + 1;
    r.segments = tron + 1;

    if (r.hors > 0 && r.longueur > 0) {
        r.messages
            << QStringLiteral(
                   "%1 % du tracé (%2 km) est hors de la carte : cette partie est coupée.")
                   .arg(QString::number(100.0 * r.hors / r.longueur, 'f', 1).replace(u'.', u','),
                        QString::number(r.hors / 1000.0, 'f', 2).replace(u'.', u','));
    }
    if (total > garde)
        r.messages << QStringLiteral("Tracé de %1 pixels réduit à %2 points, régulièrement.")
                          .arg(total)
                          .arg(garde);
    return r;
}
