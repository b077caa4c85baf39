#include "geo/distance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double METRESMILLE = 1609.344;

bool milles(const Etat& e) {
    return e.unite == Unite::MILE;
}

} // namespace

QString decimalfr(double v, int decimales) {
    return QString::number(v, 'f', std::clamp(decimales, 0, MAXDECIMALES)).replace(u'.', u',');
}

std::optional<double> distancepoint(const Etat& e, int n) {
    if (n < 0 || n > dernierpoint(e)) return std::nullopt;
    const ReglagesGeo& g = e.geo;
    if (g.echelle()) {
        // Along the map: the pixels walked so far times the scale's metres a pixel.
        const double pixels = std::hypot(g.echx2 - g.echx1, g.echy2 - g.echy1);
        double s = 0;
        for (int i = 1; i <= n; ++i) {
            if (e.pttron[i] != e.pttron[i - 1]) continue; // a jump between segments is not walked
            s += std::hypot(e.ptx[i] - e.ptx[i - 1], e.pty[i] - e.pty[i - 1]);
        }
        return s * g.echmetres / pixels;
    }
    if (geovalide(e) && e.gpsdist) return e.ptdist[n];
    return std::nullopt;
}

std::optional<QString> chiffredistance(const Etat& e, int n) {
    if (!e.geo.distance) return std::nullopt;
    const auto m = distancepoint(e, n);
    if (!m) return std::nullopt;
    return decimalfr(*m / (milles(e) ? METRESMILLE : 1000.0), e.geo.decimales);
}

QStringList lignesgps(const Etat& e, int n) {
    QStringList l;
    if (!geovalide(e) || n < 0 || n > e.nbpt) return l;
    const ReglagesGeo& g = e.geo;
    if (g.temps && e.gpstemps) {
        const auto s = static_cast<long long>(std::max(0.0, e.pttemps[n]));
        l << QStringLiteral("Temps: %1:%2:%3")
                 .arg(s / 3600)
                 .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                 .arg(s % 60, 2, 10, QLatin1Char('0'));
    }
    if (g.vitesse && e.gpstemps && e.gpsdist) {
        // Over the last minute of the track, so that GPS jitter does not make it dance.
        int i = n;
        while (i > 0 && e.pttemps[n] - e.pttemps[i - 1] <= 60)
            --i;
        const double dt = e.pttemps[n] - e.pttemps[i];
        const double v = dt > 0 ? (e.ptdist[n] - e.ptdist[i]) / dt * 3.6 : 0;
        l << (milles(e) ? QStringLiteral("Vitesse: %1 mph").arg(decimalfr(v / 1.609344, 1))
                        : QStringLiteral("Vitesse: %1 km/h").arg(decimalfr(v, 1)));
    }
    if (g.altitude && e.gpsalt) l << QStringLiteral("Altitude: %1 m").arg(std::lround(e.ptalt[n]));
    return l;
}
