// The GPS track's settings and per-point values in the parameters file: written only when used,
// read back the same, refused at their line when malformed.
#include "aide_parametres.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Projet(const QTemporaryDir& d) {
        e->cipstexte = QStringLiteral("25 images/secondes");
        filmdepart(*e);
        const QString chemin = d.filePath("plan.bmp");
        if (!QFileInfo::exists(chemin)) ecritimage(chemin, 800, 700, 0x808080);
        chargecarte(*e, s, chemin);
        e->bordnb = QStringLiteral("30");
    }
};

// A route of four GPS points and every GPS setting away from its start value.
void gps(Etat& e) {
    e.nbpt = 3;
    for (int i = 0; i <= 3; ++i) {
        e.ptx[i] = 10 + i;
        e.pty[i] = 20;
        e.ptcoul[i] = 255;
        e.pttron[i] = 0;
        e.ptdist[i] = 12.3 * i;
        e.pttemps[i] = 4.5 * i;
        e.ptalt[i] = -3.5 + i;
    }
    e.nbgeo = 4;
    e.gpsdist = e.gpstemps = e.gpsalt = true;
    ReglagesGeo& g = e.geo;
    g.calage = Calage{true,
                      0.1 / 3,
                      1e-7,
                      495000.123456789,
                      -2e-7,
                      -10.0 / 3,
                      4985000.5,
                      QStringLiteral("EPSG:32631"),
                      {{10.5, 20.25, 45.123456789, 2.987654321}, {700, 650, -33.5, -70.25}}};
    g.distance = true;
    g.decimales = 2;
    g.echx1 = 1, g.echy1 = 2, g.echx2 = 101, g.echy2 = 2, g.echmetres = 500;
    g.allure = true;
    g.pause = 30;
    g.temps = g.vitesse = g.altitude = g.profil = true;
}

} // namespace

class TstParametresGeo : public QObject {
    Q_OBJECT
  private slots:
    void allerretour();
    void seulementsiutilise();
    void refus_data();
    void refus();
};

// Saved and read into a fresh project: the same bytes, the same values to the last digit.
void TstParametresGeo::allerretour() {
    QTemporaryDir d;
    Projet a(d);
    gps(*a.e);
    QString erreur;
    QVERIFY2(sauveparametres(*a.e, erreur), qPrintable(erreur));
    const QByteArray octets = ecrisparametres(*a.e);
    QVERIFY(octets.indexOf("[GEO]\r\n") >= 0);
    QVERIFY(octets.indexOf("[GEO]") < octets.indexOf("[CHEMIN]"));
    QVERIFY(octets.contains(
        "[CHEMIN]\r\n10\t20\t255\t0\t0.0\t0.0\t-3.5\r\n11\t20\t255\t0\t12.3\t4.5\t-2.5\r\n"));

    Projet b(d);
    QStringList messages;
    const auto refus = chargeprojet(*b.e, b.s, messages);
    QVERIFY2(!refus, qPrintable(refus ? refus->message : QString()));
    QCOMPARE(ecrisparametres(*b.e), octets);
    QVERIFY(b.e->geo == a.e->geo);
    QVERIFY(geovalide(*b.e) && b.e->gpsdist && b.e->gpstemps && b.e->gpsalt);
    QCOMPARE(b.e->ptdist[3], 36.9);
    QCOMPARE(b.e->pttemps[2], 9.0);
}

// Nothing of it in a project without GPS; a route whose points lack one value writes an empty
// field for it; a hand trace over a GPS route writes the four fields of old.
void TstParametresGeo::seulementsiutilise() {
    QTemporaryDir d;
    Projet a(d);
    gps(*a.e);
    a.e->geo = ReglagesGeo{};
    a.e->gpstemps = false;
    QByteArray o = ecrisparametres(*a.e);
    QVERIFY(!o.contains("[GEO]"));
    QVERIFY(o.contains("\r\n11\t20\t255\t0\t12.3\t\t-2.5\r\n"));
    Projet b(d);
    QVERIFY(std::holds_alternative<Parametres>(lisparametres(o, 25)));
    const Parametres p = std::get<Parametres>(lisparametres(o, 25));
    appliqueparametres(*b.e, b.s, p);
    QVERIFY(b.e->gpsdist && !b.e->gpstemps && b.e->gpsalt);

    a.e->nbpt = 4; // a point traced by hand after the track
    o = ecrisparametres(*a.e);
    QVERIFY(o.contains("[CHEMIN]\r\n10\t20\t255\t0\r\n"));
}

void TstParametresGeo::refus_data() {
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<int>("ligne");
    QTest::newRow("calage incomplet") << QStringList{"[GEO]", "calage\t1\t0\t5\t0\t-1"} << 2;
    QTest::newRow("amer illisible")
        << QStringList{"[GEO]", "distance\t1", "amer\t1\t2\tnord\t3"} << 3;
    QTest::newRow("décimales hors limites") << QStringList{"[GEO]", "decimales\t9"} << 2;
    QTest::newRow("distance d'un point")
        << QStringList{"[GEO]", "[CHEMIN]", "1\t2\t255\t0\t12.5", "1\t3\t255\t0\tdouze"} << 4;
    QTest::newRow("heure infinie") << QStringList{"[CHEMIN]", "1\t2\t255\t0\t\tinf"} << 2;
}

void TstParametresGeo::refus() {
    QFETCH(QStringList, lignes);
    QFETCH(int, ligne);
    const Lecture l = lisparametres(texte(lignes), 25);
    const auto* e = std::get_if<ErreurLecture>(&l);
    QVERIFY(e);
    QCOMPARE(e->ligne, ligne);
}

QTEST_MAIN(TstParametresGeo)
#include "tst_parametres_geo.moc"
