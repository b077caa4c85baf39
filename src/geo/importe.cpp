#include "geo/importe.h"

#include "geo/arret.h"

#include <GeographicLib/Geodesic.hpp>

#include <atomic>
#include <numbers>
#include <thread>

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

namespace {

// Metres between two track points. Steps of a GPS are short: within a few kilometres the
// ellipsoid's radii of curvature at the middle latitude give the geodesic to well under a
// millimetre, a hundred times faster; longer steps take the geodesic itself.
double pasgps(const PointGps& a, const PointGps& b) {
    constexpr double A = 6378137.0, F = 1 / 298.257223563, E2 = F * (2 - F);
    constexpr double RAD = std::numbers::pi / 180;
    const double dlat = b.lat - a.lat, dlon = deroule(b.lon, a.lon) - a.lon;
    if (std::abs(dlat) > 0.02 || std::abs(dlon) > 0.02 || std::abs(a.lat) > 89)
        return geodesique(a.lat, a.lon, b.lat, b.lon);
    const double phi = (a.lat + b.lat) / 2 * RAD, s = std::sin(phi);
    const double w = 1 - E2 * s * s;
    const double n = A / std::sqrt(w), m = A * (1 - E2) / (w * std::sqrt(w));
    return std::hypot(dlat * RAD * m, dlon * RAD * n * std::cos(phi));
}

// One track made ready for the walk: projected, stops made one, distances and times along it.
struct Prete {
    std::vector<std::vector<Repere>> segs;
    double longueur = 0;
    Arrets arrets;
    bool temps = false, alt = false;
    long long pixels = 0;
    double hors = 0;
};

Prete prepare(const TraceGps& gps, const Projection& p, int L, int H) {
    Prete r;
    TraceGps t = gps;
    r.arrets = immobilise(t, rayonarret(bruitgps(t)));
    r.temps = t.temps();
    r.alt = t.altitude();
    const double origine = r.temps ? t.segments.front().front().temps : 0;
    std::vector<double> lat, lon, x, y;
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
            if (i > 0) dist += pasgps(s[i - 1], s[i]);
            v[i] = {x[i], y[i], dist, r.temps ? s[i].temps - origine : 0, r.alt ? s[i].alt : 0};
        }
        r.segs.push_back(std::move(v));
    }
    r.longueur = dist;
    Marche m(r.segs, L, H);
    // Counting: no pixel is wanted.
    m.parcourt([](long long) { return std::numeric_limits<long long>::max(); },
               [](Pixel, const Repere&, int, std::size_t) {});
    r.pixels = m.rang;
    r.hors = m.hors;
    return r;
}

// Each track prepared on its own projection, on as many threads as the machine has.
std::vector<Prete> preparetout(const std::vector<const TraceGps*>& traces, const Projection& p,
                               int L, int H) {
    std::vector<Prete> r(traces.size());
    const unsigned nb = std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 8);
    if (traces.size() < 2 || nb < 2) {
        for (std::size_t k = 0; k < traces.size(); ++k)
            r[k] = prepare(*traces[k], p, L, H);
        return r;
    }
    std::atomic<std::size_t> suivant{0};
    const auto travail = [&](const Projection& q) {
        for (std::size_t k; (k = suivant++) < traces.size();)
            r[k] = prepare(*traces[k], q, L, H);
    };
    std::vector<std::unique_ptr<Projection>> copies;
    std::vector<std::thread> fils;
    for (unsigned f = 1; f < std::min<std::size_t>(nb, traces.size()); ++f) {
        auto q = p.copie();
        if (!q) break;
        copies.push_back(std::move(q));
        fils.emplace_back(travail, std::cref(*copies.back()));
    }
    travail(p);
    for (std::thread& f : fils)
        f.join();
    return r;
}

} // namespace

std::variant<std::vector<Importation>, QString>
importepistes(Etat& e, const std::vector<const TraceGps*>& traces, const Projection& p,
              const std::vector<Couleur>& couleurs, bool ajoute) {
    if (e.largeurcarte <= 0 || e.hauteurcarte <= 0)
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    if (traces.empty() || couleurs.size() != traces.size()) return QStringLiteral("Aucun tracé");
    // Longitudes are taken on the map's side of the 180th meridian.
    p.centre((e.largeurcarte - 1) / 2.0, (e.hauteurcarte - 1) / 2.0);
    std::vector<Prete> pretes = preparetout(traces, p, e.largeurcarte, e.hauteurcarte);
    long long total = 0;
    for (std::size_t k = 0; k < pretes.size(); ++k) {
        if (pretes[k].pixels == 0)
            return traces.size() == 1
                       ? QStringLiteral("Le tracé est entièrement hors de la carte")
                       : traduit(1208,
                                 QStringLiteral("Le tracé %1 est entièrement hors de la carte"))
                             .arg(k + 1);
        total += pretes[k].pixels;
    }
    // Each point keeps its distance, time and elevation in the parameters file, which holds none
    // past MAXREEL: a track beyond it is refused here rather than saved unreadable.
    const auto hors = [](double x) { return !(std::abs(x) <= MAXREEL); };
    for (const Prete& pr : pretes)
        for (const auto& v : pr.segs)
            for (const Repere& pt : v) {
                if (hors(pt.alt))
                    return traduit(e, 808,
                                   QStringLiteral("Altitude de %1 m dans le tracé : hors des "
                                                  "limites (%2 au plus)"))
                        .arg(pt.alt)
                        .arg(MAXREEL);
                if (hors(pt.temps))
                    return traduit(e, 809,
                                   QStringLiteral("Le tracé dure %1 s : hors des limites (%2 "
                                                  "au plus)"))
                        .arg(pt.temps)
                        .arg(MAXREEL);
                if (hors(pt.dist))
                    return traduit(e, 810,
                                   QStringLiteral("Le tracé mesure %1 m : hors des limites (%2 "
                                                  "au plus)"))
                        .arg(pt.dist)
                        .arg(MAXREEL);
            }
    // Added tracks go after the route, which must then be a GPS one throughout.
    ajoute = ajoute && geovalide(e);
    const int base = ajoute ? dernierpoint(e) + 1 : 0;
    const bool seule = pretes.size() == 1 && !ajoute;
    // Several tracks share the replay's room in proportion to their pixels, one at least each.
    const long long place = (seule ? std::clamp(MAXPTGPS, 1, MAXROUTE) : MAXPTREJEU) - base;
    if (static_cast<long long>(pretes.size()) > place)
        return QStringLiteral("Trop de tracés : %1 au plus").arg(place);
    std::vector<long long> gardes(pretes.size());
    const auto nbpistes = static_cast<long long>(pretes.size());
    for (std::size_t k = 0; k < pretes.size(); ++k)
        gardes[k] = total <= place ? pretes[k].pixels
                                   : std::min(pretes[k].pixels,
                                              1 + pretes[k].pixels * (place - nbpistes) / total);

    long long somme = base;
    for (const long long g : gardes)
        somme += g;
    if (!placeroute(e, static_cast<int>(somme)) || !placegeo(e, static_cast<int>(somme)))
        return QStringLiteral("Tracé trop long : %1 points au plus").arg(MAXROUTE);
    std::vector<Importation> resultats(pretes.size());
    int nb = base - 1;
    // The next track's first segment number.
    int tronbase = ajoute ? e.pttron[static_cast<std::size_t>(base - 1)] + 1 : 0;
    for (std::size_t k = 0; k < pretes.size(); ++k) {
        Prete& pr = pretes[k];
        Importation& r = resultats[k];
        const long long tot = pr.pixels, garde = gardes[k];
        // Evenly thinned: the kept pixels are ranks ceil(j * (tot - 1) / (garde - 1)).
        long long prochain = 0;
        const auto veut = [&](long long rang) {
            if (prochain >= garde) return std::numeric_limits<long long>::max();
            if (garde == tot || garde == 1) return rang;
            const long long cible = (prochain * (tot - 1) + (garde - 2)) / (garde - 1);
            return std::max(rang, cible);
        };
        r.premier = nb + 1;
        int dernier = -1;
        Marche m(pr.segs, e.largeurcarte, e.hauteurcarte);
        m.parcourt(veut, [&](Pixel q, const Repere& v, int tron, std::size_t s) {
            ++prochain;
            if (nb + 1 >= somme) return;
            ++nb;
            e.ptx[nb] = q.x;
            e.pty[nb] = q.y;
            e.pttron[nb] = tronbase + tron;
            // One track: its segments in colours of their own; a replay: each track its colour.
            e.ptcoul[nb] = seule && s > 0 ? PALETTE[(s - 1) % std::size(PALETTE)] : couleurs[k];
            e.ptdist[nb] = v.dist;
            e.pttemps[nb] = v.temps;
            e.ptalt[nb] = v.alt;
            dernier = tron;
        });
        r.dernier = nb;
        r.points = nb + 1 - r.premier;
        r.segments = dernier + 1;
        tronbase += dernier + 1;
        r.longueur = pr.longueur;
        r.hors = pr.hors;
        r.pixels = tot;
        r.arrets = pr.arrets.nombre;
        r.dureearrets = pr.arrets.duree;
        r.temps = pr.temps;
        r.alt = pr.alt;
        if (r.hors > 0 && r.longueur > 0)
            r.messages
                << QStringLiteral(
                       "%1 % du tracé (%2 km) est hors de la carte : cette partie est coupée.")
                       .arg(
                           QString::number(100.0 * r.hors / r.longueur, 'f', 1).replace(u'.', u','),
                           QString::number(r.hors / 1000.0, 'f', 2).replace(u'.', u','));
        if (r.arrets > 0)
            r.messages << (pr.temps
                               ? traduit(1201, QStringLiteral("%1 arrêt(s), %2 min en tout : le "
                                                              "GPS immobile n'ajoute pas de "
                                                              "distance."))
                                     .arg(r.arrets)
                                     .arg(std::lround(r.dureearrets / 60))
                               : traduit(1202, QStringLiteral("%1 arrêt(s) : le GPS immobile "
                                                              "n'ajoute pas de distance."))
                                     .arg(r.arrets));
        if (tot > garde)
            r.messages << QStringLiteral("Tracé de %1 pixels réduit à %2 points, régulièrement.")
                              .arg(tot)
                              .arg(garde);
    }
    bool temps = !ajoute || e.gpstemps, alt = !ajoute || e.gpsalt;
    for (const Importation& r : resultats) {
        temps = temps && r.temps;
        alt = alt && r.alt;
    }
    e.nbpt = nb;
    e.nbgeo = nb + 1;
    e.gpsdist = true;
    e.gpstemps = temps;
    e.gpsalt = alt;
    e.troncours = nb >= 0 ? e.pttron[nb] : 0;
    return resultats;
}

std::variant<Importation, QString> importe(Etat& e, const TraceGps& t, const Projection& p,
                                           Couleur couleur) {
    auto r = importepistes(e, {&t}, p, {couleur});
    if (auto* erreur = std::get_if<QString>(&r)) return *erreur;
    return std::move(std::get<std::vector<Importation>>(r).front());
}
