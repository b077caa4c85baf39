// The walk's settings in the window: the dialog beside the tracing buttons, a walk that bridges a
// gap with them, the offer of the map without its route and what it leaves on the map.
#include "aide_route.h"

#include "project/parametres.h"
#include "route/sanschemin.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

namespace {

const QString QUESTION = QStringLiteral("Faire la carte sans chemin (image de visu) ?");

// A map of its own folder, with a line broken by a 2-pixel gap.
void prepare(Banc& b) {
    b.carte(800, 600);
    b.e().dossiercarte = b.dossier.path() + u'/';
    b.e().fichiercarte = b.e().dossiercarte + QStringLiteral("carte.bmp");
    b.e().fichierparam = QStringLiteral("carte.vlp");
    peintligne(b, 100, 300, 200);
    peintligne(b, 302, 300, 100);
}

int couleurslaissees(const QImage& i, Couleur c) {
    int n = 0;
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            n += depuisqrgb(i.pixel(x, y)) == c;
    return n;
}

} // namespace

class TstReglagesTrace : public QObject {
    Q_OBJECT
  private slots:
    // Classic settings: the walk stops at the gap and nothing more is asked.
    void classique() {
        Banc b;
        prepare(b);
        QVERIFY(trace(b, false, 0x00ff00, 100, 300));
        QCOMPARE(b.e().nbpt + 1, 200);
        QVERIFY(!b.d.questions.contains(QUESTION));
        QVERIFY(!ecrisparametres(b.e()).contains("[TRACE]"));
    }

    void dialogue() {
        Banc b;
        prepare(b);
        b->optionstrace->click(); // cancelled
        QVERIFY(b.e().reglagestrace.classique());
        b.d.traces.append(ChoixTrace{ReglagesTrace{0, true, 2, false}, false});
        b->optionstrace->click();
        QCOMPARE(b.d.tracesdepart.size(), 2);
        QVERIFY(b.d.tracesdepart.last().classique());
        QVERIFY(b.e().reglagestrace == (ReglagesTrace{0, true, 2, false}));
        QVERIFY(ecrisparametres(b.e()).startsWith("[TRACE]\r\ncarte\t1\r\npont\t2\r\n[CHEMIN]"));
        // The dialog opens on what is in force.
        b->optionstrace->click();
        QVERIFY(b.d.tracesdepart.last() == (ReglagesTrace{0, true, 2, false}));
    }

    // With gaps bridged the whole line is traced; the map without its route is offered, made
    // beside the map and shown: none of the painted colour is left on it.
    void pontEtCarteSansChemin() {
        Banc b;
        prepare(b);
        b.d.traces.append(ChoixTrace{ReglagesTrace{0, true, 2, false}, false});
        b->optionstrace->click();
        b.d.reponses.append(true);
        QVERIFY(trace(b, false, 0x00ff00, 100, 300));
        QCOMPARE(b.e().nbpt + 1, 300);
        QVERIFY(b.d.questions.contains(QUESTION));
        const QString visu = cheminsanschemin(b.e());
        QVERIFY(QFileInfo::exists(visu));
        QCOMPARE(b.e().fichiervisu, visu);
        QVERIFY(b.e().check);
        QVERIFY(b->Check->isChecked());
        QCOMPARE(couleurslaissees(QImage(visu), LIGNE), 0);
        QCOMPARE(couleurslaissees(b->s().carte.image(), LIGNE), 0);
    }

    // Made on request from the dialog; refused without a route and over the display picture.
    void surDemande() {
        Banc b;
        prepare(b);
        b.d.traces.append(ChoixTrace{ReglagesTrace{}, true});
        b->optionstrace->click();
        QCOMPARE(b.d.messages.last(), QStringLiteral("Tracer d'abord la route"));
        QVERIFY(trace(b, false, 0x00ff00, 100, 300));
        b.e().check = true;
        b.d.traces.append(ChoixTrace{ReglagesTrace{}, true});
        b->optionstrace->click();
        QCOMPARE(b.d.messages.last(), QStringLiteral("Avec l'image de base SVP"));
        b.e().check = false;
        b.d.traces.append(ChoixTrace{ReglagesTrace{}, true});
        b->optionstrace->click();
        QVERIFY(QFileInfo::exists(cheminsanschemin(b.e())));
        QVERIFY(b.d.erreurs.isEmpty());
    }
};

QTEST_MAIN(TstReglagesTrace)
#include "tst_reglagestrace.moc"
