// Delivery-format export throughput: the start-up film (151 frames) of a 36000-point route with
// every decoration, composed and written as .mp4 (H.264), .webm (VP9), .mov (ProRes) and the
// transparent overlay (ProRes 4444), against the same writer fed the frames already composed.
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

struct Film {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;

    Film() {
        const int l = 2400, h = 1800;
        s.carte.redimensionne(l, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < l; ++x)
                s.carte.setpixel(x, y, ((x * 3) & 255) | (((y * 5) & 255) << 8) | 0x604000);
        e->fichiercarte = QStringLiteral("carte.bmp");
        e->largeurcarte = l;
        e->hauteurcarte = h;
        e->asclmax = l - VUEL;
        e->aschmax = h - VUEH;
        // A winding route of 36001 points over the whole map.
        e->nbpt = MAXPT - 1;
        for (int i = 0; i <= e->nbpt; ++i) {
            const double t = i / static_cast<double>(e->nbpt);
            e->ptx[i] = 100 + static_cast<int>(t * (l - 200));
            e->pty[i] = h / 2 + static_cast<int>(std::sin(t * 40) * (h / 2 - 100));
            e->ptcoul[i] = 0x0000ff;
            e->loupex[i] = e->ptx[i];
            e->loupey[i] = e->pty[i];
        }
        cipsdepart(*e);
        filmdepart(*e);
        e->cledecx[1] = e->asclmax;
        e->cledecy[1] = e->aschmax;
        calculimages(*e);
        // Tip, legend with shadow, magnifier.
        e->checkbox1 = true;
        e->bordnb = QStringLiteral("30");
        e->coulbord = 0x00ffff;
        e->montre = true;
        e->unite = KM;
        e->lkm = QStringLiteral("1234");
        e->xt = 20;
        e->yt = 20;
        e->okombre = true;
        e->coulombre = 0;
        e->okloupe = true;
        e->txloupe = 50;
        s.loupe.remplit(0x00ff00);
        for (int y = 10; y < 95; ++y)
            for (int x = 10; x < 111; ++x)
                s.loupe.setpixel(x, y, 0xffffff);
    }
};

Film& film() {
    static Film f;
    return f;
}

// Files go to memory where the system has it: the disk's write-back would otherwise decide
// which of two runs of a 180 MB film is faster.
QTemporaryDir& dossier() {
    static QTemporaryDir d(QDir(QStringLiteral("/dev/shm")).exists()
                               ? QStringLiteral("/dev/shm/vialume-bench-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/vialume-bench-XXXXXX"));
    return d;
}

double secondes(std::chrono::steady_clock::time_point depuis) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - depuis).count();
}

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
    if (v.ouvrefilm(fichier(fmt, "encodeur"), ipsvideo(*f.e), fmt, o, VUEL, VUEH)) return -1;
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

// Prints, after the usual table, each codec's export throughput as a share of its encoder's.
class Rapport : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.counters.count("part")) lignes.push_back(r);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-10s %14s %14s %8s\n", "codec", "export img/s", "encodeur img/s", "part");
        for (const Run& r : lignes) {
            const std::string nom =
                r.run_name.function_name.substr(r.run_name.function_name.find('/') + 1);
            std::printf("%-10s %14.1f %14.1f %8.2f\n", nom.c_str(),
                        static_cast<double>(r.counters.at("export_img/s")),
                        static_cast<double>(r.counters.at("encodeur_img/s")),
                        static_cast<double>(r.counters.at("part")));
        }
    }

  private:
    std::vector<Run> lignes;
};

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
