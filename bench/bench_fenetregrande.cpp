// The window at large: a resize from the first size to 1920 x 1080 with a 1080p film shown (the
// layout and the repaint of every control, the frame scaled into the larger view), and the
// longest wait of the window's thread while a 100-megapixel map is read and while its map without
// route is made, both away from that thread. A timer ticks every 5 ms on the window's thread: the
// longest gap between two ticks is the longest any event waited. The same work done in place, as
// before, is measured beside it.
//
// The 100-megapixel map is a 300 MB bitmap written in the temporary folder for the run.
#include "aide_dialogues.h"

#include "app/tform1.h"
#include "app/travail.h"
#include "app/vue.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <limits>

namespace {

void expose(TForm1& f) {
    f.show();
    while (!f.windowHandle() || !f.windowHandle()->isExposed())
        QApplication::processEvents();
}

void BM_redimension1080(benchmark::State& st) {
    QTemporaryDir dossier;
    QImage carte(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < carte.height(); ++y)
        for (int x = 0; x < carte.width(); ++x)
            carte.setPixel(x, y, qRgb(x * 7, y * 3, (x ^ y) & 255));
    const QString chemin = dossier.filePath(QStringLiteral("carte.bmp"));
    carte.save(chemin, "BMP");
    DialoguesScript d;
    TForm1 f(d, dossier.path());
    expose(f);
    f.chargecarte(chemin);
    // A map this large is read beside the window: the film is set once it is in.
    while (f.travail().actif())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    f.largeurfilm->setValue(1920);
    f.hauteurfilm->setValue(1080);
    f.appliquefilm->click();
    f.redessine();
    for (auto _ : st) {
        st.PauseTiming();
        f.resize(937, 599);
        f.repaint();
        QApplication::processEvents();
        st.ResumeTiming();
        f.resize(1920, 1080);
        f.repaint();
    }
    if (f.e().film != (Film{1920, 1080, 1.0})) st.SkipWithError("1080p film not taken");
    st.counters["echelle"] = f.fond->echelle();
    st.counters["vue_l"] = f.fond->width();
}
BENCHMARK(BM_redimension1080)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The longest gap between two ticks of a 5 ms timer while `travail` runs, in milliseconds.
double plusgrandecart(const std::function<void()>& travail, const std::function<bool()>& fini) {
    QElapsedTimer montre;
    qint64 dernier = 0, ecart = 0;
    QTimer t;
    t.setTimerType(Qt::PreciseTimer);
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&] {
        const qint64 n = montre.nsecsElapsed();
        ecart = std::max(ecart, n - dernier);
        dernier = n;
    });
    t.start();
    montre.start();
    travail();
    while (!fini())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    ecart = std::max(ecart, montre.nsecsElapsed() - dernier);
    return ecart / 1e6;
}

// The same gap with nothing to do for 5 s: what the machine itself makes a timer wait.
void BM_repos(benchmark::State& st) {
    double ecart = 0;
    for (auto _ : st) {
        QElapsedTimer t;
        t.start();
        ecart = plusgrandecart([] {}, [&t] { return t.elapsed() > 5000; });
    }
    st.counters["attente_ms"] = ecart;
}
BENCHMARK(BM_repos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

struct Grande {
    QTemporaryDir dossier;
    QString chemin;
    Grande() {
        chemin = dossier.filePath(QStringLiteral("grande.bmp"));
        QImage carte(10000, 10000, QImage::Format_RGB32);
        carte.fill(qRgb(240, 235, 220));
        for (int y = 0; y < carte.height(); y += 50)
            for (int x = 0; x < carte.width(); ++x)
                carte.setPixel(x, y, qRgb(120, 120, 120));
        carte.save(chemin, "BMP");
    }
};

Grande& grande() {
    static Grande g;
    return g;
}

void BM_fenetre100MP(benchmark::State& st) {
    const bool afond = st.range(0) == 1;
    const QString chemin = grande().chemin;
    DialoguesScript d;
    TForm1 f(d, grande().dossier.path());
    if (!afond) f.seuiltravail = std::numeric_limits<long long>::max();
    expose(f);
    double lecture = 0, sanschemin = 0;
    QElapsedTimer duree;
    for (auto _ : st) {
        duree.start();
        lecture =
            plusgrandecart([&] { f.chargecarte(chemin); }, [&] { return !f.travail().actif(); });
        st.counters["lecture_s"] = duree.elapsed() / 1000.0;
        if (f.e().largeurcarte != 10000) st.SkipWithError("map not loaded");
        // A diagonal route across the whole map, then its map without route.
        Etat& e = f.e();
        for (int i = 0; i < MAXPT; ++i) {
            e.ptx[i] = i * 9999 / (MAXPT - 1);
            e.pty[i] = i * 9999 / (MAXPT - 1);
        }
        e.nbpt = MAXPT - 1;
        e.check = false;
        d.traces.append(ChoixTrace{e.reglagestrace, true});
        duree.start();
        sanschemin =
            plusgrandecart([&] { f.optionstrace->click(); }, [&] { return !f.travail().actif(); });
        st.counters["sanschemin_s"] = duree.elapsed() / 1000.0;
        if (!d.erreurs.isEmpty()) st.SkipWithError(qPrintable(d.erreurs.last()));
    }
    st.counters["attente_lecture_ms"] = lecture;
    st.counters["attente_sanschemin_ms"] = sanschemin;
}
BENCHMARK(BM_fenetre100MP)
    ->ArgName("afond")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
