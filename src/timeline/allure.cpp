// The film at the pace the track was walked: frame c shows the route as far as the track had
// gone at c / N of its (pause-capped) duration. Only the progress column changes, so any reader
// of the frame table plays the same film.
#include "timeline/temps.h"

#include <algorithm>
#include <cmath>
#include <vector>

bool avancehorloge(Etat& e, int r) {
    if (!e.geo.allure || !e.gpstemps || e.nbpt < 1 || !geovalide(e) || r < 1) return false;
    const int n = dernierpoint(e);
    // Time along the route with every standstill longer than the cap cut down to it.
    std::vector<double> t(static_cast<std::size_t>(n) + 1);
    t[0] = 0;
    const double cap = e.geo.pause > 0 ? e.geo.pause : INFINITY;
    for (int i = 1; i <= n; ++i) {
        const double dt = e.pttemps[i] - e.pttemps[i - 1];
        t[i] = t[i - 1] + std::clamp(std::isfinite(dt) ? dt : 0.0, 0.0, cap);
    }
    const double total = t[n];
    if (!(total > 0)) return false;
    for (int c = 0; c <= r; ++c) {
        const double cible = total * c / r;
        // The last point the track had reached by then.
        const auto it = std::upper_bound(t.begin(), t.end(), cible * (1 + 1e-12));
        const int i = static_cast<int>(it - t.begin()) - 1;
        e.imgavance[c] =
            c == r ? 1000 : std::clamp(static_cast<int>(std::lround(i * 1000.0 / n)), 0, 1000);
    }
    return true;
}
