// The map without its route: filled only near the route, and no colour of the route left.
#include "map/lab.h"
#include "route/marche.h"
#include "route/sanschemin.h"

#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include <cmath>

class TstSansChemin : public QObject {
    Q_OBJECT
  private slots:
    // Both long functions stop when asked and say how far they are: the filling tile by tile,
    // the walk by the points taken so far.
    void arret() {
        QImage carte(2048, 1024, QImage::Format_RGB32);
        carte.fill(qRgb(200, 190, 170));
        auto e = nouveletat();
        for (int i = 0; i < 2000; ++i) {
            e->ptx[i] = i;
            e->pty[i] = i / 2;
            carte.setPixel(i, i / 2, qRgb(10, 10, 200));
        }
        e->nbpt = 1999;
        std::atomic<bool> arret{false};
        QList<long long> faits;
        long long total = 0;
        Avance av;
        av.arret = &arret;
        av.progres = [&](long long f, long long t) {
            faits.append(f);
            total = t;
            if (faits.size() == 3) arret = true;
        };
        QVERIFY(cartesanschemin(carte, *e, 2, &av).isNull());
        QCOMPARE(faits, (QList<long long>{0, 0, 1}));
        // The diagonal crosses 8 tiles of 256 pixels, and a few more by its fringe at their
        // corners.
        QVERIFY2(total >= 8 && total <= 16, qPrintable(QString::number(total)));
        arret = false;
        faits.clear();
        av.progres = [&](long long f, long long t) {
            faits.append(f);
            total = t;
        };
        QVERIFY(!cartesanschemin(carte, *e, 2, &av).isNull());
        QCOMPARE(faits.last(), total - 1);
        QVERIFY(std::is_sorted(faits.begin(), faits.end()));

        // The walk along the painted diagonal: stopped at once, it takes less than all of it.
        auto vide = nouveletat();
        const Marche tout =
            marchecarte(carte, {0, 0}, qRgb(10, 10, 200), ReglagesTrace{1}, *vide, MAXPT, nullptr);
        QCOMPARE(tout.points.size(), std::size_t{2000});
        arret = true;
        const Marche coupe =
            marchecarte(carte, {0, 0}, qRgb(10, 10, 200), ReglagesTrace{1}, *vide, MAXPT, &av);
        QVERIFY(coupe.points.size() < tout.points.size());
    }
    void remplissage() {
        // A map with texture (a gradient and a grid) and a soft 4 px route across it.
        QImage carte(500, 360, QImage::Format_RGB32);
        for (int y = 0; y < carte.height(); ++y)
            for (int x = 0; x < carte.width(); ++x)
                carte.setPixel(x, y,
                               qRgb(150 + x / 5, 200 - y / 4, 120 + ((x / 20 + y / 20) % 2) * 30));
        const QColor rouge(210, 20, 30);
        QPainter p(&carte);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(rouge, 4, Qt::SolidLine, Qt::RoundCap));
        QPainterPath c(QPointF(30, 300));
        c.cubicTo(150, 20, 300, 360, 470, 60);
        p.drawPath(c);
        p.end();

        auto e = nouveletat();
        ReglagesTrace r;
        r.tolerance = 45;
        r.pont = 2;
        const Marche m = marchecarte(carte, {31, 299}, rouge.rgb(), r, *e, MAXPT);
        QVERIFY(m.points.size() > 1000);
        e->nbpt = static_cast<int>(m.points.size()) - 1;
        for (std::size_t i = 0; i < m.points.size(); ++i) {
            e->ptx[i] = m.points[i].x();
            e->pty[i] = m.points[i].y();
        }
        const QImage sans = cartesanschemin(carte, *e);
        QCOMPARE(sans.size(), carte.size());

        // Away from the route (more than the fringe), not a pixel changed.
        QImage loin(carte.size(), QImage::Format_Grayscale8);
        loin.fill(255);
        for (const QPoint q : m.points)
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (loin.rect().contains(q + QPoint(dx, dy)))
                        loin.setPixel(q + QPoint(dx, dy), 0);
        int changes = 0, rouges = 0, rougesavant = 0;
        ProcheCouleur proche(rouge.rgb(), 30);
        for (int y = 0; y < carte.height(); ++y)
            for (int x = 0; x < carte.width(); ++x) {
                if (qGray(loin.pixel(x, y)) && sans.pixel(x, y) != carte.pixel(x, y)) ++changes;
                rouges += proche(sans.pixel(x, y));
                rougesavant += proche(carte.pixel(x, y));
            }
        QCOMPARE(changes, 0);
        // The route's colour is gone (within 30 delta E): none of the painted pixels is left.
        qInfo("pixels rouges : %d avant, %d après", rougesavant, rouges);
        QVERIFY(rougesavant > 1000);
        QCOMPARE(rouges, 0);
        // And what fills it is the map's own gradient, within a few levels.
        int pire = 0;
        for (const QPoint q : m.points) {
            const QRgb a = sans.pixel(q);
            pire = std::max({pire, std::abs(qRed(a) - (150 + q.x() / 5)),
                             std::abs(qGreen(a) - (200 - q.y() / 4))});
        }
        qInfo("plus grand écart au fond : %d", pire);
        QVERIFY(pire <= 12);
    }

    void nom() {
        auto e = nouveletat();
        e->dossiercarte = QStringLiteral("/d/");
        e->fichiercarte = QStringLiteral("/d/paris.jpg");
        QCOMPARE(cheminsanschemin(*e), QStringLiteral("/d/paris-sanschemin.png"));
    }
};

QTEST_APPLESS_MAIN(TstSansChemin)
#include "tst_sanschemin.moc"
