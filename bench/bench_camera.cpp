// The camera's budgets: following a 36000-point route for a 2900-frame film, and the eased frame
// table of 2901 rows.
#include "timeline/camera.h"
#include "timeline/temps.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

std::unique_ptr<Etat> film() {
    auto e = nouveletat();
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    e->largeurcarte = 8000;
    e->hauteurcarte = 6000;
    e->asclmax = 8000 - VUEL;
    e->aschmax = 6000 - VUEH;
    e->nbi = QString::number(MAXNBI);
    majduree(*e);
    majcles(*e);
    // A winding route of 36001 points across the map.
    e->nbpt = MAXPT - 1;
    for (int i = 0; i < MAXPT; ++i) {
        const double t = i / double(MAXPT);
        e->ptx[i] = 400 + int(7000 * t);
        e->pty[i] = 3000 + int(2400 * std::sin(t * 12));
    }
    return e;
}

void BM_suisroute(benchmark::State& st) {
    auto e = film();
    for (auto _ : st)
        suisroute(*e, MARGEDEFAUT, 0);
    st.counters["cles"] = e->nbcle;
}
BENCHMARK(BM_suisroute)->Unit(benchmark::kMillisecond);

void BM_tableadoucie(benchmark::State& st) {
    auto e = film();
    suisroute(*e, MARGEDEFAUT, 0);
    e->adoucit = st.range(0) != 0;
    for (auto _ : st)
        calculimages(*e);
    st.counters["lignes"] = e->nbimg + 1;
}
// 0: straight moves, the table as before; 1: eased.
BENCHMARK(BM_tableadoucie)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Following at zoom 2 with the overview at both ends: keyframes of their own zooms.
void BM_suisroute_zoom_apercu(benchmark::State& st) {
    auto e = film();
    for (auto _ : st)
        suisroute(*e, MARGEDEFAUT, 0, 2.0, true);
    st.counters["cles"] = e->nbcle;
}
BENCHMARK(BM_suisroute_zoom_apercu)->Unit(benchmark::kMillisecond);

// The eased, zoomed frame table of 2901 rows: budget 1 ms.
void BM_tablezoomee(benchmark::State& st) {
    auto e = film();
    e->adoucit = true;
    suisroute(*e, MARGEDEFAUT, 0, 2.0, true);
    for (auto _ : st)
        calculimages(*e);
    st.counters["lignes"] = e->nbimg + 1;
}
BENCHMARK(BM_tablezoomee)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
