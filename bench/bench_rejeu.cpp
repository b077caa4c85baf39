// A replay of 50 tracks of 20000 points: the import (reading the 50 GPX files, placing them on the
// map, making them the route and the film's clock), then a 1920 x 1080 frame with the tracks'
// tails, their heads and names and the ranking.
#include "geo/calage.h"
#include "project/gps.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int PISTES = 50, POINTS = 20000;

// Runner k on a winding course of about 60 km around 45 N 3 E, a point a second, at their own
// speed, starting up to ten minutes apart, a few metres to the side of the others.
QByteArray fichier(int k) {
    QByteArray o = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>Coureur " +
                   QByteArray::number(k + 1) + "</name><trkseg>\n";
    const double vitesse = 0.8 + 0.4 * ((k * 37) % 50) / 50.0;
    const int depart = (k * 97) % 600;
    for (int i = 0; i < POINTS; ++i) {
        const double u = i * vitesse * 2.2e-5;
        const double lat =
            45.0 + 0.1 * std::sin(u * 3.1) + 0.02 * std::sin(u * 17) + 2e-5 * (k % 7);
        const double lon =
            3.0 + 0.18 * std::sin(u * 2.3) + 0.03 * std::cos(u * 13) + 2e-5 * (k % 5);
        const int s = depart + i;
        o += "<trkpt lat=\"" + QByteArray::number(lat, 'f', 7) + "\" lon=\"" +
             QByteArray::number(lon, 'f', 7) + "\"><ele>" + QByteArray::number(300 + i % 500) +
             "</ele><time>2024-05-01T" + QByteArray::number(8 + s / 3600).rightJustified(2, '0') +
             ":" + QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ":" +
             QByteArray::number(s % 60).rightJustified(2, '0') + "Z</time></trkpt>\n";
    }
    return o + "</trkseg></trk></gpx>\n";
}

struct Course {
    QTemporaryDir d;
    QStringList gpx;
    Course() {
        for (int k = 0; k < PISTES; ++k) {
            const QString c = d.filePath(QStringLiteral("coureur%1.gpx").arg(k + 1));
            QFile f(c);
            if (f.open(QIODevice::WriteOnly)) f.write(fichier(k));
            gpx << c;
        }
    }
};

Course& course() {
    static Course c;
    return c;
}

// A 4000 x 3000 map of UTM zone 31, 10 metres a pixel, over the course.
std::unique_ptr<Etat> projet() {
    auto e = nouveletat();
    e->largeurcarte = 4000;
    e->hauteurcarte = 3000;
    e->fichiercarte = QStringLiteral("carte.bmp");
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    e->nbi = QStringLiteral("1500"); // a minute of film
    majcles(*e);
    return e;
}

const Calage CALAGE = Calage::nord(10, 480000, 5000000, QStringLiteral("EPSG:32631"));

void BM_rejeu_import(benchmark::State& state) {
    Course& c = course();
    auto e = projet();
    for (auto _ : state) {
        const auto r = importerejeu(*e, c.gpx, OptionsRejeu{}, CALAGE);
        if (std::holds_alternative<QString>(r))
            state.SkipWithError(qPrintable(std::get<QString>(r)));
    }
    state.counters["pistes"] = static_cast<double>(e->rejeu.pistes.size());
    state.counters["points_route"] = e->nbpt + 1;
}
BENCHMARK(BM_rejeu_import)->Unit(benchmark::kMillisecond)->Iterations(3);

// Frames of the film's middle, one after the other as playback shows them.
void BM_rejeu_image(benchmark::State& state) {
    auto e = projet();
    const auto r = importerejeu(*e, course().gpx, OptionsRejeu{}, CALAGE);
    if (std::holds_alternative<QString>(r)) {
        state.SkipWithError(qPrintable(std::get<QString>(r)));
        return;
    }
    e->film.largeur = 1920;
    e->film.hauteur = 1080;
    e->film.zoom = 0.5;
    e->rejeu.queue = state.range(0);
    e->rejeu.classement = true;
    e->rejeu.classx = 20;
    e->rejeu.classy = 20;
    e->style.largeur = static_cast<int>(state.range(1));
    calculimages(*e);
    Surfaces s;
    s.carte.redimensionne(4000, 3000);
    s.carte.remplit(0xd0e0e8);
    e->asclmax = 4000;
    e->aschmax = 3000;
    int c = 700;
    for (auto _ : state) {
        montreimage(*e, s, c);
        c = c >= 800 ? 700 : c + 1;
    }
}
BENCHMARK(BM_rejeu_image)
    ->Args({60, 0})
    ->Args({60, 4})
    ->Args({0, 0})
    ->Args({0, 4})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The names and the ranking need the font database of a GUI application.
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
