// Long work away from the window's thread: a large map read, the map without its route, the walk
// over the map and a big GPS track. Each gives what the same work done in place gives, holds the
// window's controls meanwhile, and can be cancelled, leaving the project as it was.
#include "aide_fenetre.h"
#include "aide_images.h"
#include "aide_route.h"

#include "app/pagegps.h"
#include "app/travail.h"
#include "app/vue.h"
#include "project/parametres.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <limits>

namespace {

enum Ou { enplace, afond };

// Work of any size goes to the worker, or none does.
void regle(Banc& b, Ou ou) {
    b->seuiltravail = ou == afond ? 0 : std::numeric_limits<long long>::max();
    b->seuilgpx = ou == afond ? 0 : std::numeric_limits<qint64>::max();
}

bool finit(Banc& b) {
    return QTest::qWaitFor([&b] { return !b->travail().actif(); }, 20000);
}

// The project as its parameters file says it, and the map surface.
QByteArray projet(Banc& b) {
    return ecrisparametres(b.e());
}

// A map with a painted line, traced with tolerance so that the walk reads the map itself.
void routesurcarte(Banc& b) {
    b.carte(1200, 900);
    b.e().dossiercarte = b.dossier.path() + u'/';
    peintligne(b, 100, 300, 400);
    b.e().reglagestrace.tolerance = 5;
}

} // namespace

class TstTravaux : public QObject {
    Q_OBJECT
  private slots:
    void commeEnPlace_data();
    void commeEnPlace();
    void tientLaFenetre();
    void annuleSansRienChanger();
};

void TstTravaux::commeEnPlace_data() {
    QTest::addColumn<QString>("quoi");
    for (const char* q : {"carte", "sanschemin", "marche", "gps"})
        QTest::newRow(q) << QString::fromLatin1(q);
}

void TstTravaux::commeEnPlace() {
    QFETCH(QString, quoi);
    QByteArray fichier[2];
    QImage carte[2];
    for (const Ou ou : {enplace, afond}) {
        Banc b;
        regle(b, ou);
        if (quoi == "carte") {
            b->chargecarte(ecritbmp(b.dossier.path(), "carte.bmp", dessin(900, 700)));
        } else if (quoi == "sanschemin") {
            routesurcarte(b);
            QVERIFY(trace(b, false, 0x0000ff, 100, 300));
            b.d.traces.append(ChoixTrace{b.e().reglagestrace, true});
            b->optionstrace->click();
        } else if (quoi == "marche") {
            routesurcarte(b);
            b.d.couleurs.append(0x0000ff);
            b->calculvia->click();
            b->Chechecouleur(250, 300);
            b->fondMouseDown(Qt::LeftButton, 250, 300);
        } else {
            b.carte(800, 600);
            b.e().dossiercarte = b.dossier.path() + u'/';
            QFile monde(b.dossier.filePath("carte.bpw"));
            QVERIFY(monde.open(QIODevice::WriteOnly));
            monde.write("0.001\n0\n0\n-0.001\n2.0\n46.0\n");
            monde.close();
            QFile gpx(b.dossier.filePath("t.gpx"));
            QVERIFY(gpx.open(QIODevice::WriteOnly));
            gpx.write(R"(<gpx><trk><trkseg>
<trkpt lat="45.8" lon="2.1"><ele>100</ele><time>2024-05-01T10:00:00Z</time></trkpt>
<trkpt lat="45.7" lon="2.4"><ele>300</ele><time>2024-05-01T10:01:40Z</time></trkpt>
</trkseg></trk></gpx>)");
            gpx.close();
            b.d.fichiers.append(gpx.fileName());
            b->pagegps->importe->click();
        }
        QCOMPARE(b->travail().actif(), ou == afond);
        QVERIFY(finit(b));
        QVERIFY(QTest::qWaitFor([&b] { return b.e().etatcalcul == 0; }, 5000));
        QCOMPARE(b.d.erreurs, QStringList());
        // The display picture is named with its folder, each bench's own.
        fichier[ou] = projet(b).replace(b.dossier.path().toUtf8(), "DOSSIER");
        carte[ou] = b->s().carte.image();
    }
    QVERIFY(fichier[enplace].contains("[CHEMIN]"));
    QCOMPARE(fichier[afond], fichier[enplace]);
    QCOMPARE(carte[afond], carte[enplace]);
}

// While the map is read the controls take no input, the status bar shows the work and its cancel
// button; afterwards every control is as it was.
void TstTravaux::tientLaFenetre() {
    Banc b;
    regle(b, afond);
    b->resize(b->taillepremiere());
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
    b->langue->setEnabled(false);
    b->chargecarte(ecritbmp(b.dossier.path(), "carte.bmp", dessin(2000, 1500)));
    QVERIFY(b->travail().actif());
    QVERIFY(!b->Onglet2->isEnabled() && !b->fond->isEnabled() && !b->TL->isEnabled());
    QVERIFY(b->barreannule->isVisible() && b->barreannule->isEnabled());
    QVERIFY(b->barreprogres->isVisible());
    QVERIFY(finit(b));
    QVERIFY(b->Onglet2->isEnabled() && b->fond->isEnabled() && b->TL->isEnabled());
    QVERIFY(!b->langue->isEnabled());
    QVERIFY(!b->barreannule->isVisible());
    QCOMPARE(b.e().largeurcarte, 2000);
}

// Cancelled: the window is free at once, and the work, when it ends, changes nothing.
void TstTravaux::annuleSansRienChanger() {
    Banc b;
    regle(b, afond);
    const QByteArray avant = projet(b);
    b->chargecarte(ecritbmp(b.dossier.path(), "carte.bmp", dessin(3000, 2000)));
    QVERIFY(b->travail().actif());
    b->barreannule->click();
    QVERIFY(!b->travail().actif());
    QVERIFY(b->Onglet2->isEnabled());
    QTest::qWait(1500);
    QVERIFY(b.e().fichiercarte.isEmpty());
    QCOMPARE(projet(b), avant);
    QCOMPARE(b->s().carte.largeur(), VUEL);
}

QTEST_MAIN(TstTravaux)
#include "tst_travaux.moc"
