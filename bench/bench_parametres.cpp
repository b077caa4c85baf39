// Saving and loading a project with full tables: 36001 points (and a route of 2 million), 2901
// frames, 101 keyframes.
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<Etat> projetplein(const QString& dossier, int points = MAXPT) {
    auto e = nouveletat();
    e->dossiercarte = dossier + u'/';
    e->fichiercarte = QStringLiteral("alpes.bmp");
    e->fichierparam = QStringLiteral("alpes.vlp");
    e->bordnb = QStringLiteral("30"); // as every map load sets it
    placeroute(*e, points);
    e->nbpt = points - 1;
    for (int i = 0; i < points; ++i) {
        e->ptx[i] = 1000 + i % 3000;
        e->pty[i] = 2000 + i / 3 % 4000;
        e->ptcoul[i] = 0x00FF00 + i % 7;
        e->pttron[i] = i / 5000;
    }
    e->ips = 25;
    e->nbi = QString::number(MAXNBI);
    e->nbcle = MAXCLE;
    for (int k = 0; k < MAXCLE; ++k) {
        e->cleimg[k] = k * MAXNBI / (MAXCLE - 1);
        e->cledecx[k] = 13 * k;
        e->cledecy[k] = 7 * k;
        e->cletemps[k] = imgverstemps(*e, e->cleimg[k]);
    }
    calculimages(*e);
    return e;
}

void BM_ecris(benchmark::State& s) {
    const auto e = projetplein(QStringLiteral("/tmp"), static_cast<int>(s.range(0)));
    for (auto _ : s)
        benchmark::DoNotOptimize(ecrisparametres(*e));
}
BENCHMARK(BM_ecris)->Arg(MAXPT)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

void BM_sauve(benchmark::State& s) {
    QTemporaryDir d;
    const auto e = projetplein(d.path(), static_cast<int>(s.range(0)));
    QString erreur;
    for (auto _ : s)
        if (!sauveparametres(*e, erreur)) s.SkipWithError(qPrintable(erreur));
}
BENCHMARK(BM_sauve)->Arg(MAXPT)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

void BM_lis(benchmark::State& s) {
    const QByteArray octets =
        ecrisparametres(*projetplein(QStringLiteral("/tmp"), static_cast<int>(s.range(0))));
    for (auto _ : s)
        benchmark::DoNotOptimize(lisparametres(octets, 25));
    s.SetBytesProcessed(s.iterations() * octets.size());
}
BENCHMARK(BM_lis)->Arg(MAXPT)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

void BM_charge(benchmark::State& s) {
    QTemporaryDir d;
    const auto e = projetplein(d.path(), static_cast<int>(s.range(0)));
    QString erreur;
    sauveparametres(*e, erreur);
    for (auto _ : s)
        benchmark::DoNotOptimize(chargeparametres(cheminparametres(*e), 25));
}
BENCHMARK(BM_charge)->Arg(MAXPT)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

// The whole load: read, applied, the path smoothed, the frame drawn.
void BM_chargeprojet(benchmark::State& s) {
    QTemporaryDir d;
    auto e = projetplein(d.path(), static_cast<int>(s.range(0)));
    Surfaces surf;
    QString erreur;
    sauveparametres(*e, erreur);
    QStringList messages;
    for (auto _ : s)
        if (const auto r = chargeprojet(*e, surf, messages))
            s.SkipWithError(qPrintable(r->message));
}
BENCHMARK(BM_chargeprojet)->Arg(MAXPT)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
