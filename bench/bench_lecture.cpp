// Playback in the window, headless: a 1001-frame film at 30 frames per second over a large map,
// with a full route, its tip, the legend with its shadow and the magnifier on every frame.
// Reports the frames shown and painted, the ticks that came more than one interval late, the
// worst delay of a tick, the drift of the last frame and the real frame rate.
#include "app/dialogues.h"
#include "app/tform1.h"
#include "app/vue.h"
#include "timeline/temps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// Playback asks nothing.
class Muets : public Dialogues {
  public:
    void message(const QString&) override {}
    void erreur(const QString&) override {}
    bool confirmation(const QString&) override { return false; }
    Choix question(const QString&) override { return Choix::annuler; }
    Fermeture fermeture(const QString&) override { return Fermeture::annuler; }
    std::optional<QString> ouvrir(const QString&, const QString&) override { return {}; }
    std::optional<Enregistrement> enregistrer(const QString&, const QString&) override {
        return {};
    }
    std::optional<Couleur> couleur() override { return {}; }
    std::optional<Police> police(const Police&) override { return {}; }
    bool optionsvideo(OptionsVideo&) override { return false; }
    std::optional<ChoixTrace> reglagestrace(const ReglagesTrace&) override { return {}; }
};

constexpr int DERNIERE = 1000;

// Counts the paints of the view: a frame is shown once it is painted.
class Peintures : public QObject {
  public:
    long nombre = 0;
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() == QEvent::Paint) ++nombre;
        return false;
    }
};

void prepare(TForm1& f) {
    Etat& e = f.e();
    Surfaces& s = f.s();
    s.carte.redimensionne(4000, 3000);
    s.carte.remplit(0x336699);
    e.largeurcarte = 4000;
    e.hauteurcarte = 3000;
    e.fichiercarte = QStringLiteral("carte.bmp");
    e.asclmax = 4000 - VUEL;
    e.aschmax = 3000 - VUEH;
    // A diagonal route of every point the tables hold.
    e.nbpt = MAXPT - 1;
    for (int i = 0; i < MAXPT; ++i) {
        e.ptx[i] = 100 + i / 10;
        e.pty[i] = 100 + i / 15;
        e.ptcoul[i] = 0x0000ff;
        e.loupex[i] = e.ptx[i];
        e.loupey[i] = e.pty[i];
    }
    e.checkbox1 = true;
    e.bordnb = QStringLiteral("30");
    e.coulbord = 0x00ffff;
    e.montre = true;
    e.unite = KM;
    e.lkm = QStringLiteral("250");
    e.okombre = true;
    e.xt = e.yt = 20;
    s.loupe.redimensionne(300, 300);
    s.loupe.remplit(0);
    for (int y = 50; y < 250; ++y)
        for (int x = 50; x < 250; ++x)
            s.loupe.setpixel(x, y, 0xffffff);
    e.fichierloupe = QStringLiteral("loupe.bmp");
    e.okloupe = true;
    e.txloupe = 150;
    e.txloupemax = 300;

    f.CipsChange(QStringLiteral("30 images/secondes"));
    dureeplus(e, DERNIERE - e.tlmax);
    // The view follows the route: the last keyframe stands over its end.
    e.cledecx[1] = e.ptx[e.nbpt] - VUEL / 2;
    e.cledecy[1] = e.pty[e.nbpt] - VUEH / 2;
    calculimages(e);
    f.synchro();
}

void BM_lecture30ips(benchmark::State& state) {
    long vues = 0, retards = 0, peintes = 0;
    double pire = 0, ips = 0, derive = 0;
    for (auto _ : state) {
        Muets d;
        QTemporaryDir dossier;
        TForm1 f(d, dossier.path());
        prepare(f);
        f.show();
        QCoreApplication::processEvents();
        Peintures peintures;
        f.fond->installEventFilter(&peintures);

        std::vector<qint64> temps;
        temps.reserve(DERNIERE);
        QElapsedTimer horloge;
        QObject::connect(f.TL, &QSlider::valueChanged, &f,
                         [&](int) { temps.push_back(horloge.nsecsElapsed()); });
        QEventLoop boucle;
        QTimer guet;
        QObject::connect(&guet, &QTimer::timeout, &boucle, [&] {
            if (!f.Timer1->isActive()) boucle.quit();
        });
        guet.start(5);
        horloge.start();
        f.JoueClick();
        boucle.exec();
        const double total = horloge.nsecsElapsed() / 1e9;

        // A tick is late when it comes more than one interval after it was due: one interval
        // after the tick before it. The drift is how far the last frame lags the ideal schedule.
        const double intervalle = f.Timer1->interval() * 1e6;
        vues = static_cast<long>(temps.size());
        retards = 0;
        pire = 0;
        for (std::size_t k = 0; k < temps.size(); ++k) {
            const double precedent = k == 0 ? 0 : static_cast<double>(temps[k - 1]);
            const double retard = temps[k] - precedent - intervalle;
            pire = std::max(pire, retard);
            if (retard > intervalle) ++retards;
        }
        derive = vues > 0 ? (temps.back() - vues * intervalle) / 1e6 : 0;
        ips = vues / total;
        peintes = peintures.nombre;
    }
    state.counters["images"] = static_cast<double>(vues);
    state.counters["peintes"] = static_cast<double>(peintes);
    state.counters["en_retard"] = static_cast<double>(retards);
    state.counters["pire_ms"] = pire / 1e6;
    state.counters["ips_reel"] = ips;
    state.counters["derive_ms"] = derive;
}
BENCHMARK(BM_lecture30ips)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
