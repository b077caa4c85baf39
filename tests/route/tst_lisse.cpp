#include "route/lisse.h"

#include <QTest>

#include <algorithm>

class TstLisse : public QObject {
    Q_OBJECT
  private slots:
    void chemin_data() {
        QTest::addColumn<QList<int>>("x");
        QTest::addColumn<QList<int>>("y");
        QTest::addColumn<int>("estompe");
        QTest::addColumn<QList<int>>("attx");
        QTest::addColumn<QList<int>>("atty");

        const QList<int> cinq{5, 5, 5, 5, 5};
        // 0, 3, 6, 9, 9 from the route, then 0, 3, 6, 8, 9 and 0, 3, 5, 7, 9 in place.
        QTest::newRow("exemple") << QList<int>{0, 0, 9, 9, 9} << cinq << 1
                                 << QList<int>{0, 3, 5, 7, 9} << cinq;
        // One pass more than above: (0+3+5)/3, (2+5+7)/3, (4+7+9)/3.
        QTest::newRow("une passe de plus")
            << QList<int>{0, 0, 9, 9, 9} << cinq << 2 << QList<int>{0, 2, 4, 6, 9} << cinq;

        QList<int> rx, ry;
        for (int i = 0; i < 40; ++i) {
            rx << 3 * i;
            ry << 200 - 2 * i;
        }
        QTest::newRow("droite régulière") << rx << ry << 10 << rx << ry;
        QTest::newRow("droite régulière, lissage maxi") << rx << ry << 50 << rx << ry;

        QTest::newRow("deux points")
            << QList<int>{4, 8} << QList<int>{1, 2} << 10 << QList<int>{4, 8} << QList<int>{1, 2};
        QTest::newRow("trois points") << QList<int>{4, 8, 1} << QList<int>{1, 9, 2} << 10
                                      << QList<int>{4, 8, 1} << QList<int>{1, 9, 2};
        // A single point is its own path, whatever the table held before (-1 here).
        QTest::newRow("un point") << QList<int>{7} << QList<int>{3} << 10 << QList<int>{7}
                                  << QList<int>{3};
    }
    void chemin() {
        QFETCH(QList<int>, x);
        QFETCH(QList<int>, y);
        QFETCH(int, estompe);
        QFETCH(QList<int>, attx);
        QFETCH(QList<int>, atty);
        auto e = nouveletat();
        std::fill(e->loupex.begin(), e->loupex.end(), -1);
        std::fill(e->loupey.begin(), e->loupey.end(), -1);
        e->estompe = estompe;
        e->nbpt = static_cast<int>(x.size()) - 1;
        for (int i = 0; i < x.size(); ++i) {
            e->ptx[i] = x[i];
            e->pty[i] = y[i];
        }
        lisseloupe(*e);
        for (int i = 0; i < attx.size(); ++i) {
            QCOMPARE(e->loupex[i], attx[i]);
            QCOMPARE(e->loupey[i], atty[i]);
        }
        // Nothing beyond the route is touched.
        QCOMPARE(e->loupex[x.size()], -1);
        QCOMPARE(e->loupey[x.size()], -1);
    }

    void routeVideRienEcrit() {
        auto e = nouveletat();
        std::fill(e->loupex.begin(), e->loupex.end(), -1);
        lisseloupe(*e);
        QCOMPARE(e->loupex[0], -1);
    }
};

QTEST_APPLESS_MAIN(TstLisse)
#include "tst_lisse.moc"
