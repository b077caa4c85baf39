// The walk over the map: a 36000-pixel route on an 8000 x 6000 map, exact and with a colour
// tolerance; the pen order of 36000 pixels; the map without its route.
#include "route/marche.h"
#include "route/sanschemin.h"

#include <benchmark/benchmark.h>

#include <QPainter>

namespace {

const QRgb ROUGE = qRgb(200, 30, 40);

// A one-pixel route of 36000 pixels across a large map: long rows joined by short steps.
const QImage& grandecarte(bool bruit) {
    static QImage cartes[2];
    QImage& c = cartes[bruit];
    if (!c.isNull()) return c;
    c = QImage(8000, 6000, QImage::Format_RGB32);
    c.fill(qRgb(240, 235, 220));
    int n = 0, y = 100, x = 100, sens = 1;
    while (n < 36000) {
        const QRgb r = bruit ? qRgb(200 + n % 5, 30 - n % 3, 40 + n % 4) : ROUGE;
        c.setPixel(x, y, r);
        ++n;
        if ((sens > 0 && x == 7900) || (sens < 0 && x == 100)) {
            for (int k = 1; k <= 20 && n < 36000; ++k, ++n)
                c.setPixel(x, y + k, r);
            y += 21;
            sens = -sens;
        } else {
            x += sens;
        }
    }
    return c;
}

void BM_cartetiere(benchmark::State& st) {
    const bool tolerance = st.range(0) != 0;
    const QImage& c = grandecarte(tolerance);
    auto e = nouveletat();
    ReglagesTrace r;
    r.carte = true;
    r.tolerance = tolerance ? 10 : 0;
    std::size_t points = 0;
    for (auto _ : st) {
        const Marche m = marchecarte(c, {100, 100}, ROUGE, r, *e, MAXPT);
        points = m.points.size();
    }
    st.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_cartetiere)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A thick serpentine of 36000 pixels: rows 6 px wide.
void BM_plume(benchmark::State& st) {
    QImage c(1400, 1000, QImage::Format_RGB32);
    c.fill(Qt::white);
    {
        QPainter p(&c);
        p.setPen(QPen(QColor(ROUGE), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygon l;
        for (int k = 0; k < 5; ++k) {
            l << QPoint(50, 50 + 40 * k) << QPoint(1350, 50 + 40 * k + 20);
        }
        p.drawPolyline(l);
    }
    auto e = nouveletat();
    ReglagesTrace r;
    r.carte = true;
    const Marche brut = marchecarte(c, {50, 50}, ROUGE, r, *e, MAXPT);
    std::vector<QPoint> pts;
    for (auto _ : st) {
        st.PauseTiming();
        pts = brut.points;
        st.ResumeTiming();
        ordreplume(pts, {50, 50});
    }
    st.counters["points"] = static_cast<double>(pts.size());
}
BENCHMARK(BM_plume)->Unit(benchmark::kMillisecond);

void BM_sanschemin(benchmark::State& st) {
    const QImage& c = grandecarte(false);
    auto e = nouveletat();
    ReglagesTrace r;
    r.carte = true;
    const Marche m = marchecarte(c, {100, 100}, ROUGE, r, *e, MAXPT);
    e->nbpt = static_cast<int>(m.points.size()) - 1;
    for (std::size_t i = 0; i < m.points.size(); ++i) {
        e->ptx[i] = m.points[i].x();
        e->pty[i] = m.points[i].y();
    }
    for (auto _ : st)
        benchmark::DoNotOptimize(cartesanschemin(c, *e));
    st.counters["points"] = e->nbpt + 1;
}
BENCHMARK(BM_sanschemin)->Unit(benchmark::kMillisecond)->Iterations(3);

// Gaps bridged 50 pixels wide over a 15000-pixel line along which `st.range(0)` stray pixels of
// its colour lie 30 pixels off: each stray is a gap of its own, searched for from the newest
// point back.
void BM_pont(benchmark::State& st) {
    const int egares = static_cast<int>(st.range(0));
    QImage c(15200, 200, QImage::Format_RGB32);
    c.fill(qRgb(240, 235, 220));
    std::vector<QPoint> ligne;
    for (int x = 100; x < 15100; ++x)
        ligne.push_back({x, 100});
    for (const QPoint p : ligne)
        c.setPixel(p, ROUGE);
    for (int k = 0; k < egares; ++k) {
        const QPoint p = ligne[static_cast<std::size_t>(k) * ligne.size() / egares];
        c.setPixel(p.x(), p.y() + 30, ROUGE);
    }
    auto e = nouveletat();
    ReglagesTrace r;
    r.carte = true;
    r.pont = 50;
    std::size_t points = 0;
    for (auto _ : st)
        points = marchecarte(c, ligne.front(), ROUGE, r, *e, MAXPT).points.size();
    st.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_pont)->Arg(0)->Arg(288)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
