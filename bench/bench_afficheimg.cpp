// afficheimg at the end of a full route on a large map: the frame the player and the exporters
// compose most often. Budgets: 0.11 ms for today's 720 x 576 frame; 2 ms at 1080p and 8 ms at
// 4K for a wide route with its outline, the tip, the legend and the magnifier.
#include "render/afficheimg.h"
#include "render/trait.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Projet(bool loupe) {
        s.carte.redimensionne(4000, 3000);
        QImage& c = s.carte.image();
        for (int y = 0; y < c.height(); ++y) {
            auto* ligne = reinterpret_cast<QRgb*>(c.scanLine(y));
            for (int x = 0; x < c.width(); ++x)
                ligne[x] = qRgb(x & 0xff, y & 0xff, 128);
        }
        e->asclmax = 4000 - VUEL;
        e->aschmax = 3000 - VUEH;
        e->ascl = 1500;
        e->asch = 1200;
        // 36001 points winding through the view, so that every one is written.
        e->nbpt = MAXPT - 1;
        for (int i = 0; i <= e->nbpt; ++i) {
            const double a = i * 0.002;
            e->ptx[i] = 1500 + 360 + static_cast<int>(300 * std::sin(a) * std::cos(a * 0.1));
            e->pty[i] = 1200 + 288 + static_cast<int>(250 * std::cos(a * 0.7));
            e->ptcoul[i] = 0x0000ff;
            e->loupex[i] = e->ptx[i];
            e->loupey[i] = e->pty[i];
        }
        e->checkbox1 = true;
        e->bordnb = QStringLiteral("30");
        e->coulbord = 0x00ffff;
        e->montre = true;
        e->unite = KM;
        e->lkm = QStringLiteral("1250");
        e->police.taille = -24;
        e->xt = 20;
        e->yt = 20;
        e->okombre = true;
        e->coulombre = 0x404040;
        if (loupe) {
            // 300 x 300: black outside, a green rim, a white glass.
            s.loupe.redimensionne(300, 300);
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 300; ++x) {
                    const int d2 = (x - 150) * (x - 150) + (y - 150) * (y - 150);
                    s.loupe.setpixel(x, y,
                                     d2 < 120 * 120   ? 0xffffff
                                     : d2 < 140 * 140 ? 0x00ff00
                                                      : 0);
                }
            e->okloupe = true;
            e->txloupe = 150;
            e->txloupemax = 300;
        }
    }
};

void compose(benchmark::State& etat, bool loupe, int avance) {
    Projet p(loupe);
    for (auto _ : etat) {
        afficheimg(*p.e, p.s, avance);
        benchmark::DoNotOptimize(p.s.vue.image().constBits());
    }
}

// Progress 999 keeps the tip, which a finished route (1000) never draws.
void BM_afficheimg(benchmark::State& etat) {
    compose(etat, false, 1000);
}
void BM_afficheimg_embout(benchmark::State& etat) {
    compose(etat, false, 999);
}
void BM_afficheimg_loupe(benchmark::State& etat) {
    compose(etat, true, 1000);
}
void BM_afficheimg_embout_loupe(benchmark::State& etat) {
    compose(etat, true, 999);
}

// The same route on a film of l x h at zoom z, drawn 4 film pixels wide with a 2-pixel outline,
// the legend sized for the frame, the tip and the magnifier: budget 2 ms at 1080p, 8 ms at 4K.
void film(Projet& p, int l, int h, double z, Style style) {
    p.e->film = Film{l, h, z};
    p.e->style = style;
    p.e->asclmax = 4000 - p.e->film.champl();
    p.e->aschmax = 3000 - p.e->film.champh();
    p.e->ascl = 1500 + 360 - p.e->film.champl() / 2;
    p.e->asch = 1200 + 288 - p.e->film.champh() / 2;
    p.e->police.taille = -h / 25;
}
// The camera and the progress standing: the line's masks are kept, the tip stamped again.
void filmlarge(benchmark::State& etat, int l, int h, double z, Style style = {4, 2, 0xffffff}) {
    Projet p(true);
    film(p, l, h, z, style);
    // The first frame allocates the masks and draws the whole line: not what is measured here.
    afficheimg(*p.e, p.s, 999);
    for (auto _ : etat) {
        afficheimg(*p.e, p.s, 999);
        benchmark::DoNotOptimize(p.s.vue.image().constBits());
    }
}
// A film playing: each frame one per mille further along the route and the camera one pixel
// further right, from the start again after the last (which draws the whole line anew).
void filmjoue(benchmark::State& etat, int l, int h) {
    Projet p(true);
    film(p, l, h, 1.0, Style{4, 2, 0xffffff});
    const int x0 = p.e->ascl - 500;
    afficheimg(*p.e, p.s, 0);
    int k = 0;
    for (auto _ : etat) {
        p.e->ascl = x0 + k;
        afficheimg(*p.e, p.s, k);
        benchmark::DoNotOptimize(p.s.vue.image().constBits());
        k = (k + 1) % 1001;
    }
}
// Every frame drawing the whole line again: the first frame, or one after a jump back or a
// change of zoom.
void filmredessine(benchmark::State& etat, int l, int h) {
    Projet p(true);
    film(p, l, h, 1.0, Style{4, 2, 0xffffff});
    afficheimg(*p.e, p.s, 999);
    for (auto _ : etat) {
        brouillon(p.s.brouillon).calquezoom = 0;
        afficheimg(*p.e, p.s, 999);
        benchmark::DoNotOptimize(p.s.vue.image().constBits());
    }
}
void BM_film_1080p(benchmark::State& etat) {
    filmlarge(etat, 1920, 1080, 1.0);
}
void BM_film_1080p_joue(benchmark::State& etat) {
    filmjoue(etat, 1920, 1080);
}
void BM_film_1080p_redessine(benchmark::State& etat) {
    filmredessine(etat, 1920, 1080);
}
void BM_film_4k_joue(benchmark::State& etat) {
    filmjoue(etat, 3840, 2160);
}
void BM_film_4k_redessine(benchmark::State& etat) {
    filmredessine(etat, 3840, 2160);
}
void BM_film_4k_pixels(benchmark::State& etat) {
    filmlarge(etat, 3840, 2160, 1.0, Style{});
}
// The same frame with the route's own pixels: what the wide route adds.
void BM_film_1080p_pixels(benchmark::State& etat) {
    filmlarge(etat, 1920, 1080, 1.0, Style{});
}
void BM_film_4k(benchmark::State& etat) {
    filmlarge(etat, 3840, 2160, 1.0);
}
// Zoomed in: the map is scaled under a still camera (reused), then the route over it.
void BM_film_1080p_zoom2(benchmark::State& etat) {
    filmlarge(etat, 1920, 1080, 2.0);
}
// A camera that moves every frame: the zoomed map is scaled again each time.
void BM_film_1080p_zoom2_panoramique(benchmark::State& etat) {
    Projet p(false);
    p.e->film = Film{1920, 1080, 2.0};
    p.e->style = Style{4, 2, 0xffffff};
    p.e->asclmax = 4000 - p.e->film.champl();
    p.e->aschmax = 3000 - p.e->film.champh();
    int i = 0;
    for (auto _ : etat) {
        p.e->ascl = 1000 + (i++ % 500);
        afficheimg(*p.e, p.s, 999);
        benchmark::DoNotOptimize(p.s.vue.image().constBits());
    }
}

BENCHMARK(BM_afficheimg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p_joue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p_redessine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p_pixels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_4k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_4k_joue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_4k_redessine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_4k_pixels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p_zoom2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_film_1080p_zoom2_panoramique)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_afficheimg_embout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_afficheimg_loupe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_afficheimg_embout_loupe)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Text needs the font database of a GUI application.
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
