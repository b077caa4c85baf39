// The tracer's budgets: a headless walk of a 36000-pixel route in one view, and the smoothing of
// a full route at the largest amount.
#include "route/lisse.h"
#include "route/traceur.h"

#include <benchmark/benchmark.h>

namespace {

constexpr Couleur FOND = 0xffffff;
constexpr Couleur ROUTE = 0x000000;
constexpr int LONGUEUR = 36000;

// A one-pixel serpentine: rows from column 10 to 700, four rows apart, joined by short vertical
// runs; it stays clear of the margins where the view would scroll.
Surface serpentine() {
    Surface s(VUEL, VUEH);
    s.remplit(FOND);
    int x = 10, y = 10, sens = 1, n = 0;
    while (n < LONGUEUR) {
        s.setpixel(x, y, ROUTE);
        ++n;
        if ((sens > 0 && x == 700) || (sens < 0 && x == 10)) {
            for (int k = 1; k <= 3 && n < LONGUEUR; ++k, ++n)
                s.setpixel(x, y + k, ROUTE);
            y += 4;
            sens = -sens;
            if (n < LONGUEUR) {
                s.setpixel(x, y, ROUTE);
                ++n;
            }
        }
        x += sens;
    }
    return s;
}

void BM_marche36000(benchmark::State& st) {
    const Surface carte = serpentine();
    Surface vue(VUEL, VUEH);
    Traceur t(vue);
    auto e = nouveletat();
    e->largeurcarte = VUEL;
    e->hauteurcarte = VUEH;
    e->asclmax = e->aschmax = 0;
    int redessins = 0, points = 0;
    for (auto _ : st) {
        st.PauseTiming();
        vue.copie(carte, QRect(0, 0, VUEL, VUEH), QPoint(0, 0));
        e->nouvelleroute = true;
        armetrace(*e, 0x0000ff);
        e->coulmon = ROUTE;
        st.ResumeTiming();
        t.demarre(*e, 10, 10);
        points = tracetout(t, *e, [&] { ++redessins; });
        t.termine(*e);
    }
    st.counters["points"] = points;
    st.counters["redessins"] = redessins;
}
BENCHMARK(BM_marche36000)->Unit(benchmark::kMillisecond);

void BM_lisseloupe50(benchmark::State& st) {
    auto e = nouveletat();
    e->nbpt = MAXPT - 1;
    for (int i = 0; i < MAXPT; ++i) {
        e->ptx[i] = 10 + (i / 700 % 2 ? 699 - i % 700 : i % 700); // back and forth, like a route
        e->pty[i] = 10 + i / 700 * 4;
    }
    e->estompe = 50;
    for (auto _ : st) {
        lisseloupe(*e);
        benchmark::DoNotOptimize(e->loupex.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_lisseloupe50)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
