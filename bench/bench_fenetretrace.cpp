// The walk in the window: a one-pixel route of 36000 pixels in one view, from the start click to
// "Terminé", with the window painting between the slices. Counts the repaints of the view, which
// show the route growing.
#include "aide_dialogues.h"

#include "app/tform1.h"
#include "app/vue.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

constexpr QRgb NOIR = 0xff000000;

// Rows of 700 pixels ten apart, joined at alternate ends by runs of nine: 36000 pixels in all.
QImage serpent() {
    QImage image(VUEL, VUEH, QImage::Format_RGB32);
    image.fill(Qt::white);
    int reste = 36000;
    for (int k = 0; reste > 0; ++k) {
        const int y = 5 + 10 * k;
        const int n = std::min(reste, 700);
        const int x0 = k % 2 == 0 ? 10 : 709 - n + 1;
        for (int x = x0; x < x0 + n; ++x)
            image.setPixel(x, y, NOIR);
        reste -= n;
        const int bout = k % 2 == 0 ? 709 : 10;
        for (int j = 1; j <= 9 && reste > 0; ++j, --reste)
            image.setPixel(bout, y + j, NOIR);
    }
    return image;
}

class Compteur : public QObject {
  public:
    int peintures = 0;
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() == QEvent::Paint) ++peintures;
        return false;
    }
};

void BM_tracefenetre36000(benchmark::State& st) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("serpent.bmp"));
    serpent().save(chemin, "BMP");
    DialoguesScript d;
    TForm1 f(d, dossier.path());
    f.show();
    while (!f.windowHandle() || !f.windowHandle()->isExposed())
        QApplication::processEvents();
    f.chargecarte(chemin);
    Compteur compteur;
    f.fond->installEventFilter(&compteur);
    int peintures = 0;
    for (auto _ : st) {
        // The view shows the painted route again, as before the first walk.
        f.e().nbpt = -1;
        f.redessine();
        d.couleurs.append(0x0000ff);
        f.calculvia->click();
        f.Chechecouleur(10, 5);
        compteur.peintures = 0;
        f.fondMouseDown(Qt::LeftButton, 10, 5);
        while (f.e().etatcalcul != 0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        peintures = compteur.peintures;
    }
    st.counters["points"] = f.e().nbpt + 1;
    st.counters["repaints"] = peintures;
}
BENCHMARK(BM_tracefenetre36000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
