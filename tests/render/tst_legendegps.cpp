// What a GPS route adds to a frame: the legend's true distance and its further lines, and the
// elevation strip with the current point marked.
#include "geo/distance.h"
#include "render/afficheimg.h"

#include <QTest>

#include <memory>

namespace {

constexpr Couleur BLEU = 0xff0000;

// A grey 1000 x 800 map and a GPS route of 11 points along row 100: 1234.5 m and 60 s apart,
// climbing 10 m a point from 200 m.
struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    Banc() {
        s.carte.redimensionne(1000, 800);
        s.carte.remplit(0x808080);
        e->asclmax = 1000 - VUEL;
        e->aschmax = 800 - VUEH;
        e->nbpt = 10;
        for (int i = 0; i <= 10; ++i) {
            e->ptx[i] = 100 + 40 * i;
            e->pty[i] = 100;
            e->ptcoul[i] = 0x0000ff;
            e->ptdist[i] = 1234.5 * i;
            e->pttemps[i] = 60.0 * i;
            e->ptalt[i] = 200 + 10 * i;
        }
        e->nbgeo = 11;
        e->gpsdist = e->gpstemps = e->gpsalt = true;
        e->montre = true;
        e->unite = KM;
        e->lkm = QStringLiteral("99");
        e->police.taille = -20;
        e->police.couleur = BLEU;
        e->xt = 40;
        e->yt = 300;
    }
    // The frame without the legend.
    QImage fond(int avance) {
        e->montre = false;
        afficheimg(*e, s, avance);
        e->montre = true;
        return s.vue.image().copy();
    }
};

} // namespace

class TstLegendeGps : public QObject {
    Q_OBJECT
  private slots:
    void distance_data() {
        QTest::addColumn<bool>("vraie");
        QTest::addColumn<int>("unite");
        QTest::addColumn<int>("decimales");
        QTest::addColumn<QStringList>("lignes");
        QTest::newRow("compteur d'avant") << false << int(KM) << 1 << QStringList{"Kms: 49"};
        QTest::newRow("kms, une décimale") << true << int(KM) << 1 << QStringList{"Kms: 6,2"};
        QTest::newRow("miles, deux décimales")
            << true << int(MILE) << 2 << QStringList{"Miles: 3,84"};
        QTest::newRow("sans unité, entier") << true << int(SANS) << 0 << QStringList{"6"};
    }
    // Frame at progress 500: point 5, 6172.5 m from the start.
    void distance() {
        QFETCH(bool, vraie);
        QFETCH(int, unite);
        QFETCH(int, decimales);
        QFETCH(QStringList, lignes);
        Banc b;
        b.e->geo.distance = vraie;
        b.e->unite = unite;
        b.e->geo.decimales = decimales;
        Surface attendu;
        attendu.prend(b.fond(500));
        attendu.texte(40, 300, lignes[0], b.e->police, BLEU);
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.s.vue.image(), attendu.image());
    }

    // Elapsed time, speed and elevation under the distance, one line each, with the shadow.
    void lignes() {
        Banc b;
        b.e->geo.distance = true;
        b.e->geo.temps = b.e->geo.vitesse = b.e->geo.altitude = true;
        b.e->okombre = true;
        b.e->coulombre = 0;
        QCOMPARE(lignesgps(*b.e, 5),
                 (QStringList{"Temps: 0:05:00", "Vitesse: 74,1 km/h", "Altitude: 250 m"}));
        Surface attendu;
        attendu.prend(b.fond(500));
        const QStringList t = {"Kms: 6,2", "Temps: 0:05:00", "Vitesse: 74,1 km/h",
                               "Altitude: 250 m"};
        const int pas = Surface::hauteurligne(b.e->police);
        for (int k = 0; k < t.size(); ++k) {
            attendu.texte(43, 303 + k * pas, t[k], b.e->police, 0);
            attendu.texte(40, 300 + k * pas, t[k], b.e->police, BLEU);
        }
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.s.vue.image(), attendu.image());
        // A route traced by hand has none of them.
        b.e->nbpt = 11;
        QVERIFY(lignesgps(*b.e, 5).isEmpty());
    }

    // The strip at the foot of the frame, its marker at the current point's share of the way;
    // nothing without elevations.
    void profil() {
        Banc b;
        b.e->montre = false;
        afficheimg(*b.e, b.s, 500);
        const QImage sans = b.s.vue.image().copy();
        b.e->geo.profil = true;
        afficheimg(*b.e, b.s, 500);
        const QImage avec = b.s.vue.image();
        QCOMPARE(avec.copy(0, 0, VUEL, 500), sans.copy(0, 0, VUEL, 500));
        QVERIFY(avec.copy(0, 500, VUEL, 76) != sans.copy(0, 500, VUEL, 76));
        // The marker: a red line at 8 + 704 * 0.5 = 360.
        int rouges = 0;
        for (int y = 504; y < 568; ++y)
            rouges += qRed(avec.pixel(360, y)) > 180 && qGreen(avec.pixel(360, y)) < 80;
        QVERIFY2(rouges > 30, qPrintable(QString::number(rouges)));
        b.e->gpsalt = false;
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.s.vue.image(), sans);
    }
};

QTEST_MAIN(TstLegendeGps)
#include "tst_legendegps.moc"
