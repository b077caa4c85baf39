// The camera that follows the route: every drawn head in view with the margin, a smooth move,
// inside the map; and the eased moves between keyframes.
#include "timeline/camera.h"
#include "timeline/temps.h"

#include <QTest>

#include <cmath>

namespace {

constexpr int LARGEUR = 3000, HAUTEUR = 2000;

// A film of n frames at 25 a second on a 3000 x 2000 map, the route given point by point.
std::unique_ptr<Etat> film(const std::vector<QPoint>& route, int n = 750) {
    auto e = nouveletat();
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    e->largeurcarte = LARGEUR;
    e->hauteurcarte = HAUTEUR;
    e->asclmax = LARGEUR - VUEL;
    e->aschmax = HAUTEUR - VUEH;
    e->nbi = QString::number(n);
    majduree(*e);
    majcles(*e);
    e->nbpt = static_cast<int>(route.size()) - 1;
    for (std::size_t i = 0; i < route.size(); ++i) {
        e->ptx[i] = route[i].x();
        e->pty[i] = route[i].y();
    }
    return e;
}

// Joins the corners pixel by pixel, as a walk stores a line.
std::vector<QPoint> ligne(const std::vector<QPoint>& coins) {
    std::vector<QPoint> r{coins.front()};
    for (std::size_t k = 1; k < coins.size(); ++k) {
        const QPoint a = coins[k - 1], b = coins[k];
        const int pas = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        for (int i = 1; i <= pas; ++i)
            r.push_back({a.x() + (b.x() - a.x()) * i / pas, a.y() + (b.y() - a.y()) * i / pas});
    }
    return r;
}

std::vector<QPoint> spirale() {
    std::vector<QPoint> c;
    for (int i = 0; i <= 400; ++i) {
        const double t = i / 400.0 * 6 * M_PI, r = 80 + 800 * i / 400.0;
        c.push_back({1500 + int(r * std::cos(t) * 1.5), 1000 + int(r * std::sin(t))});
    }
    for (QPoint& p : c)
        p = {std::clamp(p.x(), 0, LARGEUR - 1), std::clamp(p.y(), 0, HAUTEUR - 1)};
    return ligne(c);
}

std::vector<QPoint> zigzag() {
    std::vector<QPoint> c;
    for (int i = 0; i < 14; ++i)
        c.push_back({100 + 200 * i, i % 2 ? 1800 : 200});
    return ligne(c);
}

// Round the map, one pixel from its edges.
std::vector<QPoint> bord() {
    return ligne(
        {{1, 1}, {LARGEUR - 2, 1}, {LARGEUR - 2, HAUTEUR - 2}, {1, HAUTEUR - 2}, {1, 900}});
}

} // namespace

class TstCamera : public QObject {
    Q_OBJECT
  private slots:
    void suit_data() {
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("adoucit");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("secousse"); // the largest second difference of the offsets
        QTest::newRow("spirale") << 0 << false << 750 << 8;
        QTest::newRow("zigzag") << 1 << false << 2900 << 8;
        // Starting in a corner at 19 pixels a frame, the margin makes the view start at once.
        QTest::newRow("bord de carte") << 2 << false << 750 << 14;
        QTest::newRow("spirale adoucie") << 0 << true << 750 << 8;
    }
    void suit() {
        QFETCH(int, route);
        QFETCH(bool, adoucit);
        QFETCH(int, n);
        QFETCH(int, secousse);
        const std::vector<QPoint> r = route == 0 ? spirale() : route == 1 ? zigzag() : bord();
        auto e = film(r, n);
        e->adoucit = adoucit;
        constexpr int MARGE = 80;
        QVERIFY(!suisroute(*e, MARGE, 0));
        QVERIFY(e->nbcle >= 2 && e->nbcle <= MAXCLE);
        QCOMPARE(e->cleimg[0], 0);
        QCOMPARE(e->cleimg[e->nbcle - 1], n);
        int pire = 0;
        for (int c = 0; c <= n; ++c) {
            const int ox = e->imgdecx[c], oy = e->imgdecy[c];
            QVERIFY(ox >= 0 && ox <= e->asclmax && oy >= 0 && oy <= e->aschmax);
            const int i = static_cast<int>(partde(e->nbpt, e->imgavance[c]));
            const int hx = e->ptx[i], hy = e->pty[i];
            // In view, with the margin wherever the map leaves room for it.
            QVERIFY2(hx - ox >= std::min(MARGE, hx) && hy - oy >= std::min(MARGE, hy),
                     qPrintable(QStringLiteral("image %1").arg(c)));
            QVERIFY2(ox + VUEL - 1 - hx >= std::min(MARGE, LARGEUR - 1 - hx) &&
                         oy + VUEH - 1 - hy >= std::min(MARGE, HAUTEUR - 1 - hy),
                     qPrintable(QStringLiteral("image %1").arg(c)));
            if (c >= 2)
                for (const auto* t : {&e->imgdecx, &e->imgdecy}) {
                    const int d2 = std::abs((*t)[c] - 2 * (*t)[c - 1] + (*t)[c - 2]);
                    pire = std::max(pire, d2);
                }
        }
        qInfo("%d images clés, plus grande seconde différence %d", e->nbcle, pire);
        // The head moves 7 to 30 pixels a frame here: the view's speed changes far less.
        QVERIFY2(pire <= secousse, qPrintable(QString::number(pire)));
    }

    void sansRoute() {
        auto e = film({});
        e->nbpt = -1;
        QCOMPARE(suisroute(*e, 80, 0),
                 std::optional<QString>(QStringLiteral("Tracer d'abord la route")));
    }

    // Eased moves: each keyframe reached on its frame, half-way at the middle, slow at both ends.
    void adoucit() {
        QCOMPARE(interpole(0, 100, 0, 10, true), 0);
        QCOMPARE(interpole(0, 100, 5, 10, true), 50);
        QCOMPARE(interpole(0, 100, 10, 10, true), 100);
        QCOMPARE(interpole(0, 100, 1, 10, true), 3); // 2.8
        QCOMPARE(interpole(0, 100, 1, 10, false), 10);
        QCOMPARE(interpole(100, 0, 3, 10, true), 78); // 100 - 21.6
        auto e = film(zigzag(), 100);
        e->nbcle = 3;
        const int img[] = {0, 40, 100}, dx[] = {0, 400, 100};
        for (int k = 0; k < 3; ++k) {
            e->cleimg[k] = img[k];
            e->cledecx[k] = dx[k];
            e->cledecy[k] = 0;
            e->cletemps[k] = imgverstemps(*e, img[k]);
        }
        e->adoucit = true;
        calculimages(*e);
        QCOMPARE(e->imgdecx[40], 400);
        QCOMPARE(e->imgdecx[20], 200);
        QCOMPARE(e->imgdecx[100], 100);
        QVERIFY(e->imgdecx[41] - e->imgdecx[40] > -3 && e->imgdecx[40] - e->imgdecx[39] < 3);
        // Straight moves as before when off.
        e->adoucit = false;
        calculimages(*e);
        QCOMPARE(e->imgdecx[1], 10);
    }

    // Keyframes with their own zooms: each reached on its frame, the zoom in between even in
    // its logarithm (the geometric mean half-way), the view's centre moving straight, the
    // offsets inside the map at every zoom. Without zooms the table has none.
    void zoomParCle() {
        auto e = film(zigzag(), 100);
        calculimages(*e);
        for (int c = 0; c <= 100; ++c)
            QCOMPARE(e->imgzoom[c], 0.0);
        e->nbcle = 3;
        const int img[] = {0, 40, 100};
        const double z[] = {0.5, 2.0, 2.0};
        const int dx[] = {0, 1000, 2000}, dy[] = {0, 600, 600};
        for (int k = 0; k < 3; ++k) {
            e->cleimg[k] = img[k];
            e->cledecx[k] = dx[k];
            e->cledecy[k] = dy[k];
            e->clezoom[k] = z[k];
            e->cletemps[k] = imgverstemps(*e, img[k]);
        }
        calculimages(*e);
        QCOMPARE(e->imgzoom[0], 0.5);
        QCOMPARE(e->imgzoom[40], 2.0);
        QCOMPARE(e->imgzoom[100], 2.0);
        QVERIFY(std::abs(e->imgzoom[20] - 1.0) < 1e-9);
        QCOMPARE(e->imgdecx[40], 1000);
        QCOMPARE(e->imgdecy[40], 600);
        // Half-way the centre is half-way: (0 + 720) and (1000 + 180) over two, less half of
        // the 720-pixel view at zoom 1.
        QCOMPARE(e->imgdecx[20], (720 + 1180) / 2 - 360);
        for (int c = 0; c <= 100; ++c) {
            const double zc = e->imgzoom[c];
            QVERIFY(e->imgdecx[c] >= 0 && e->imgdecx[c] + champl(*e, zc) <= LARGEUR);
            QVERIFY(e->imgdecy[c] >= 0 && e->imgdecy[c] + champh(*e, zc) <= HAUTEUR);
            if (c > 0 && c <= 40) QVERIFY(zc > e->imgzoom[c - 1]);
        }
        // Eased: the zoom too arrives slowly.
        e->adoucit = true;
        calculimages(*e);
        QVERIFY(std::abs(e->imgzoom[20] - 1.0) < 1e-9);
        QVERIFY(e->imgzoom[1] / e->imgzoom[0] < 1.01);
    }

    // Keyframes that pin the share of the route: reached at their frames, straight in between;
    // the rest of the film grows as before.
    void avanceEpinglee() {
        auto e = film(zigzag(), 100);
        e->nbcle = 3;
        const int img[] = {0, 50, 100}, pin[] = {SANSAVANCE, 200, SANSAVANCE};
        for (int k = 0; k < 3; ++k) {
            e->cleimg[k] = img[k];
            e->cledecx[k] = e->cledecy[k] = 0;
            e->cleavance[k] = pin[k];
            e->cletemps[k] = imgverstemps(*e, img[k]);
        }
        calculimages(*e);
        QCOMPARE(e->imgavance[0], 0);
        QCOMPARE(e->imgavance[25], 100);
        QCOMPARE(e->imgavance[50], 200);
        QCOMPARE(e->imgavance[75], 600);
        QCOMPARE(e->imgavance[100], 1000);
        // A pause: two keyframes pinning the same share hold the route still.
        e->cleavance[0] = 200;
        calculimages(*e);
        QCOMPARE(e->imgavance[0], 200);
        QCOMPARE(e->imgavance[30], 200);
    }

    // Following at a zoom, with the overview: the film opens and closes on the whole route,
    // zoomed out, while the route waits; in between every head is in the zoomed view.
    void suitAuZoomAvecApercu() {
        auto e = film(spirale(), 750);
        QVERIFY(!suisroute(*e, 80, 0, 2.0, true));
        QCOMPARE(e->cleimg[0], 0);
        QCOMPARE(e->cleimg[e->nbcle - 1], 750);
        const double za = e->imgzoom[0];
        QVERIFY2(za < 2.0 && za >= 576.0 / HAUTEUR, qPrintable(QString::number(za)));
        QCOMPARE(e->imgzoom[750], za);
        QCOMPARE(e->imgavance[0], 0);
        QCOMPARE(e->imgavance[50], 0); // two seconds of overview
        QCOMPARE(e->imgavance[700], 1000);
        QCOMPARE(e->imgavance[750], 1000);
        // The whole route in the first frame's view.
        for (int i = 0; i <= e->nbpt; ++i) {
            QVERIFY(e->ptx[i] >= e->imgdecx[0] && e->ptx[i] < e->imgdecx[0] + champl(*e, za));
            QVERIFY(e->pty[i] >= e->imgdecy[0] && e->pty[i] < e->imgdecy[0] + champh(*e, za));
        }
        for (int c = 50; c <= 700; ++c) {
            QCOMPARE(e->imgzoom[c], 2.0);
            const int i = static_cast<int>(partde(e->nbpt, e->imgavance[c]));
            QVERIFY2(e->ptx[i] >= e->imgdecx[c] && e->ptx[i] < e->imgdecx[c] + 360 &&
                         e->pty[i] >= e->imgdecy[c] && e->pty[i] < e->imgdecy[c] + 288,
                     qPrintable(QStringLiteral("image %1").arg(c)));
        }
        // A zoom whose view the map cannot hold is refused.
        QVERIFY(suisroute(*e, 80, 0, 0.2, false));
    }
};

QTEST_APPLESS_MAIN(TstCamera)
#include "tst_camera.moc"
