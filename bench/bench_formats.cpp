// Delivery-format export throughput: the start-up film (151 frames) of a 36000-point route with
// every decoration, composed and written as .mp4 (H.264), .webm (VP9), .mov (ProRes) and the
// transparent overlay (ProRes 4444), against the same writer fed the frames already composed.
#include "aidefilm.h"
#include "export/film.h"
#include "project/langue.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Cas {
    Format format;
    const char* nom;
    bool transparent;
};

QString fichier(Format f, const char* quoi) {
    const char* ext = f == Format::mp4 ? "mp4" : f == Format::webm ? "webm" : "mov";
    return dossier().filePath(QStringLiteral("%1.%2").arg(QLatin1String(quoi), QLatin1String(ext)));
}

// The whole film composed and written; the time it took.
double exporte(const Cas& c) {
    const Format fmt = c.format;
    OptionsFilm o;
    o.transparent = c.transparent;
    Film& f = film();
    const auto t = std::chrono::steady_clock::now();
    ExportVideo v(*f.e, f.s);
    if (v.ouvre(fichier(fmt, "export"), fmt, o)) return -1;
    while (!v.fini())
        v.etape();
    if (v.ferme() || v.faites() != f.e->tlmax + 1) return -1;
    return secondes(t);
}

// The same frames, composed beforehand, through the same writer.
double encode(const Cas& c) {
    const Format fmt = c.format;
    OptionsFilm o;
    o.transparent = c.transparent;
    Film& f = film();
    static std::vector<QImage> opaques, transparentes;
    std::vector<QImage>& images = c.transparent ? transparentes : opaques;
    if (images.empty())
        for (int n = 0; n <= f.e->tlmax; ++n) {
            if (c.transparent) {
                images.push_back(imagetransparente(*f.e, f.s, n));
            } else {
                montreimage(*f.e, f.s, n);
                images.push_back(f.s.vue.image().copy());
            }
        }
    const auto t = std::chrono::steady_clock::now();
    EcritureVideo v;
    if (v.ouvrefilm(fichier(fmt, "encodeur"), ipsvideo(*f.e), fmt, o, f.e->film.largeur,
                    f.e->film.hauteur))
        return -1;
    for (const QImage& i : images)
        v.ecrit(i);
    if (v.ferme()) return -1;
    return secondes(t);
}

// Each iteration runs the encoder alone, then the export, so both meet the same machine; the
// best run of each is kept. The time reported is the export's.
void paire(benchmark::State& etat, Cas c) {
    double meilleurencode = 1e9, meilleurexport = 1e9;
    for (auto _ : etat) {
        const double en = encode(c), ex = exporte(c);
        if (en < 0 || ex < 0) {
            etat.SkipWithError("écriture");
            break;
        }
        meilleurencode = std::min(meilleurencode, en);
        meilleurexport = std::min(meilleurexport, ex);
        etat.SetIterationTime(ex);
    }
    const double images = film().e->tlmax + 1;
    etat.counters["export_img/s"] = images / meilleurexport;
    etat.counters["encodeur_img/s"] = images / meilleurencode;
    etat.counters["part"] = meilleurencode / meilleurexport;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // the legend is drawn with real fonts
    benchmark::Initialize(&argc, argv);
    const Cas cas[] = {{Format::mp4, "mp4-h264", false},
                       {Format::webm, "webm-vp9", false},
                       {Format::mov, "mov-prores", false},
                       {Format::mov, "mov-4444-alpha", true}};
    for (const Cas& c : cas)
        benchmark::RegisterBenchmark((std::string("format/") + c.nom).c_str(), paire, c)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
    Rapport rapport;
    benchmark::RunSpecifiedBenchmarks(&rapport);
    benchmark::Shutdown();
}
