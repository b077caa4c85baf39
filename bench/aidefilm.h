// Shared by the export benchmarks: the film they write (a 36000-point route with every
// decoration over a 2400 x 1800 map), the folder in memory they write it to, a stopwatch, and
// the report of each export's throughput against its encoder's.
#pragma once

#include "export/film.h"
#include "project/langue.h"
#include "timeline/temps.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
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
        // VIALUME_BENCH_FILM=1920x1080: the same film at that size, the route 4 pixels wide
        // with a 2-pixel outline, the legend sized for the frame.
        const QStringList taille = qEnvironmentVariable("VIALUME_BENCH_FILM").split(u'x');
        if (taille.size() == 2) {
            e->film = ::Film{taille[0].toInt(), taille[1].toInt(), 1.0};
            e->style = Style{4, 2, 0xffffff};
            e->police.taille = -e->film.hauteur / 25;
            e->asclmax = l - e->film.champl();
            e->aschmax = h - e->film.champh();
            e->cledecx[1] = e->asclmax;
            e->cledecy[1] = e->aschmax;
            calculimages(*e);
        }
    }
};

inline Film& film() {
    static Film f;
    return f;
}

// Files go to memory where the system has it: the disk's write-back would otherwise decide
// which of two runs of a 180 MB film is faster.
inline QTemporaryDir& dossier() {
    static QTemporaryDir d(QDir(QStringLiteral("/dev/shm")).exists()
                               ? QStringLiteral("/dev/shm/vialume-bench-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/vialume-bench-XXXXXX"));
    return d;
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

inline double secondes(std::chrono::steady_clock::time_point depuis) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - depuis).count();
}

} // namespace
