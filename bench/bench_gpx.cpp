// A GPX file of 100000 points read, placed on a map through PROJ (UTM), and made into route
// points: the whole import a user waits for.
#include "geo/calage.h"
#include "geo/gpx.h"
#include "geo/importe.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A wandering track of n points, one every 5 seconds, over about 60 x 45 km around 45 N 3 E.
QByteArray fichier(int n) {
    QByteArray o = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (int i = 0; i < n; ++i) {
        const double t = i * 1e-4;
        const double lat = 45.0 + 0.2 * std::sin(t * 7.1) + 0.05 * std::sin(t * 53);
        const double lon = 3.0 + 0.35 * std::sin(t * 5.3) + 0.05 * std::cos(t * 41);
        const int s = i * 5;
        o += "<trkpt lat=\"" + QByteArray::number(lat, 'f', 7) + "\" lon=\"" +
             QByteArray::number(lon, 'f', 7) + "\"><ele>" + QByteArray::number(300 + i % 500) +
             "</ele><time>2024-05-0" + QByteArray::number(1 + s / 86400) + "T" +
             QByteArray::number(10 + s / 3600 % 24 % 14).rightJustified(2, '0') + ":" +
             QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ":" +
             QByteArray::number(s % 60).rightJustified(2, '0') + "Z</time></trkpt>\n";
    }
    return o + "</trkseg></trk></gpx>\n";
}

void BM_gpx(benchmark::State& state) {
    const QByteArray gpx = fichier(100000);
    auto e = nouveletat();
    // A 6000 x 4500 map of UTM zone 31, 10 metres a pixel.
    e->largeurcarte = 6000;
    e->hauteurcarte = 4500;
    const Calage c = Calage::nord(10, 470000, 5005000, QStringLiteral("EPSG:32631"));
    for (auto _ : state) {
        const LectureGpx l = lisgpx(gpx);
        QString erreur;
        const auto p = Projection::cree(c, erreur);
        const auto r = importe(*e, std::get<TraceGps>(l), *p, 255);
        benchmark::DoNotOptimize(r);
    }
    state.counters["points"] = e->nbpt + 1;
    state.counters["Mo"] = gpx.size() / 1e6;
}
BENCHMARK(BM_gpx)->Unit(benchmark::kMillisecond);

// The parts: the XML reading alone, then placing and joining an already read track.
void BM_gpx_lecture(benchmark::State& state) {
    const QByteArray gpx = fichier(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(lisgpx(gpx));
}
BENCHMARK(BM_gpx_lecture)->Unit(benchmark::kMillisecond);

void BM_gpx_route(benchmark::State& state) {
    const LectureGpx l = lisgpx(fichier(100000));
    auto e = nouveletat();
    e->largeurcarte = 6000;
    e->hauteurcarte = 4500;
    const Calage c = Calage::nord(10, 470000, 5005000, QStringLiteral("EPSG:32631"));
    for (auto _ : state) {
        QString erreur;
        const auto p = Projection::cree(c, erreur);
        benchmark::DoNotOptimize(importe(*e, std::get<TraceGps>(l), *p, 255));
    }
}
BENCHMARK(BM_gpx_route)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
