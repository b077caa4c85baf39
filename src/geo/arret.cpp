// Distances here are local and small: metres on a plane tangent at the point, which is exact
// enough at the scale of GPS noise and costs no geodesic.
#include "geo/arret.h"

#include "geo/calage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double METRESDEGRE = 6371008.8 * std::numbers::pi / 180.0;

// East and north metres of `p` from (lat0, lon0).
void plan(const PointGps& p, double lat0, double lon0, double& x, double& y) {
    x = (deroule(p.lon, lon0) - lon0) * METRESDEGRE * std::cos(lat0 * std::numbers::pi / 180.0);
    y = (p.lat - lat0) * METRESDEGRE;
}

} // namespace

double rayonarret(double bruit) {
    // Four times the typical error holds every point of a fix standing still but one in a
    // million or so.
    return std::clamp(4 * bruit, 0.5, 50.0);
}

double bruitgps(const TraceGps& t) {
    std::vector<double> ecarts;
    ecarts.reserve(static_cast<std::size_t>(std::max<qsizetype>(t.nbpoints, 0)));
    for (const SegmentGps& s : t.segments)
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
            double ax = 0, ay = 0, bx = 0, by = 0;
            plan(s[i - 1], s[i].lat, s[i].lon, ax, ay);
            plan(s[i + 1], s[i].lat, s[i].lon, bx, by);
            const double e = std::hypot((ax + bx) / 2, (ay + by) / 2);
            if (std::isfinite(e)) ecarts.push_back(e);
        }
    if (ecarts.empty()) return 0;
    const auto milieu = ecarts.begin() + static_cast<std::ptrdiff_t>(ecarts.size() / 2);
    std::nth_element(ecarts.begin(), milieu, ecarts.end());
    return *milieu;
}

Arrets immobilise(TraceGps& t, double rayon) {
    Arrets a;
    const bool temps = t.temps();
    qsizetype total = 0;
    for (SegmentGps& s : t.segments) {
        SegmentGps garde;
        garde.reserve(s.size());
        std::size_t i = 0;
        while (i < s.size()) {
            // The run from i: points within the radius of the centre of those before them.
            const double lat0 = s[i].lat, lon0 = s[i].lon;
            double sx = 0, sy = 0;
            std::size_t j = i + 1;
            for (; j < s.size(); ++j) {
                const double n = static_cast<double>(j - i);
                double x = 0, y = 0;
                plan(s[j], lat0, lon0, x, y);
                if (!(std::hypot(x - sx / n, y - sy / n) <= rayon)) break;
                sx += x;
                sy += y;
            }
            const std::size_t fin = j - 1; // the run's last point
            bool arret = temps ? s[fin].temps - s[i].temps >= ARRETSECONDES
                               : static_cast<qsizetype>(j - i) >= ARRETPOINTS;
            if (arret) {
                // A slow walk stays as long near its moving centre, but goes one way: its last
                // third lies apart from its first. A fix standing still wanders all round.
                const std::size_t tiers = std::max<std::size_t>(1, (j - i) / 3);
                double ax = 0, ay = 0, bx = 0, by = 0;
                for (std::size_t k = 0; k < tiers; ++k) {
                    double x = 0, y = 0;
                    plan(s[i + k], lat0, lon0, x, y);
                    ax += x;
                    ay += y;
                    plan(s[fin - k], lat0, lon0, x, y);
                    bx += x;
                    by += y;
                }
                arret = std::hypot(bx - ax, by - ay) / static_cast<double>(tiers) < rayon / 2;
            }
            garde.push_back(s[i]);
            if (!arret) {
                ++i;
                continue;
            }
            if (temps) {
                PointGps fige = s[i];
                fige.temps = s[fin].temps;
                garde.push_back(fige);
                a.duree += s[fin].temps - s[i].temps;
            }
            ++a.nombre;
            i = j;
        }
        a.retires += std::ssize(s) - std::ssize(garde);
        s = std::move(garde);
        total += std::ssize(s);
    }
    t.nbpoints = total;
    return a;
}
