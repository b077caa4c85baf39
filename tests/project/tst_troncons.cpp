#include "project/troncons.h"

#include <QTest>

class TstTroncons : public QObject {
    Q_OBJECT
  private slots:
    // One item per run of points of one number, in the order of the route; a number met again
    // after another one starts a new item.
    void liste() {
        auto e = nouveletat();
        const int numeros[] = {0, 0, 1, 1, 1, 2, 1};
        e->nbpt = 6;
        for (int i = 0; i <= e->nbpt; ++i) {
            e->pttron[i] = numeros[i];
            e->ptcoul[i] = 0x10 * (i + 1);
        }
        e->nbtron = 9;
        listetroncons(*e);
        QCOMPARE(e->tronson,
                 QStringList({QStringLiteral("tronçon 0"), QStringLiteral("tronçon 1"),
                              QStringLiteral("tronçon 2"), QStringLiteral("tronçon 1")}));
        QCOMPARE(e->nbtron, 4);
        QCOMPARE(e->tronsonselection, 0);

        QCOMPARE(couleurtroncon(*e, 1), std::optional<Couleur>(0x30));
        QCOMPARE(couleurtroncon(*e, 5), std::nullopt);
        colorietroncon(*e, 1, 0xabcdef);
        for (int i = 0; i <= e->nbpt; ++i)
            QCOMPARE(e->ptcoul[i], numeros[i] == 1 ? 0xabcdef : 0x10 * (i + 1));
    }

    void routeVide() {
        auto e = nouveletat();
        e->nbpt = -1;
        listetroncons(*e);
        QVERIFY(e->tronson.isEmpty());
        QCOMPARE(e->nbtron, 0);
        QCOMPARE(e->tronsonselection, -1);
        QCOMPARE(couleurtroncon(*e, -1), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TstTroncons)
#include "tst_troncons.moc"
