// Importing a GPX file into a project on a map beside its world file: what the import says and
// keeps when the GPS clock stood still or the world file was corrected after a first import.
#include "aide_parametres.h"
#include "geo/distance.h"
#include "project/carte.h"
#include "project/gps.h"
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool ecrit(const QString& chemin, const QByteArray& o) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(o) == o.size();
}

// An 800 x 700 map whose top-left pixel centre is 46 N 2 E, `pas` degree a pixel.
struct Projet {
    QTemporaryDir d;
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Projet(double pas = 0.0001) {
        e->cipstexte = QStringLiteral("25 images/secondes");
        filmdepart(*e);
        const QString chemin = d.filePath("plan.bmp");
        ecritimage(chemin, 800, 700, 0x808080);
        monde(pas);
        chargecarte(*e, s, chemin);
    }
    bool monde(double pas) {
        return ecrit(d.filePath("plan.wld"), QByteArray::number(pas, 'g', 12) + "\n0\n0\n" +
                                                 QByteArray::number(-pas, 'g', 12) + "\n2\n46\n");
    }
    QString gpx(const QByteArray& points) {
        const QString c = d.filePath("trace.gpx");
        ecrit(c, "<gpx><trk><trkseg>" + points + "</trkseg></trk></gpx>");
        return c;
    }
};

QByteArray point(double lat, double lon, const char* heure) {
    return QByteArray("<trkpt lat=\"") + QByteArray::number(lat, 'g', 10) + "\" lon=\"" +
           QByteArray::number(lon, 'g', 10) + "\"><time>" + heure + "</time></trkpt>";
}

} // namespace

class TstGps : public QObject {
    Q_OBJECT
  private slots:
    void horlogefigee();
    void calagecorrige_data();
    void calagecorrige();
    void pistes_data();
    void pistes();
};

// Every point stamped 1901-12-13T20:45:52: said so, the route paced evenly, no time or speed.
void TstGps::horlogefigee() {
    Projet p;
    QByteArray pts;
    for (int k = 0; k < 5; ++k)
        pts += point(45.99, 2.01 + 0.01 * k, "1901-12-13T20:45:52Z");
    const auto r = importegps(*p.e, p.gpx(pts), std::nullopt, true);
    QVERIFY(std::holds_alternative<Importation>(r));
    const QString dit = std::get<Importation>(r).messages.join(u'\n');
    QVERIFY2(dit.contains("même heure") && dit.contains("1901-12-13T20:45:52"), qPrintable(dit));
    QVERIFY(!p.e->gpstemps);
    p.e->geo.temps = p.e->geo.vitesse = true;
    QVERIFY(lignesgps(*p.e, p.e->nbpt).isEmpty());
    p.e->nbi = "100";
    majcles(*p.e);
    QCOMPARE(p.e->imgavance[50], 500);
}

// A project imported once, its world file then corrected by 0.002 degree east: the next import
// places the track by the file and says so. Points the user clicked are never overridden.
void TstGps::calagecorrige_data() {
    QTest::addColumn<bool>("clics");
    QTest::newRow("calage du fichier") << false;
    QTest::newRow("points cliqués") << true;
}

void TstGps::calagecorrige() {
    QFETCH(bool, clics);
    Projet p;
    const QString gpx = p.gpx(point(45.99, 2.03, "2024-05-01T10:00:00Z") +
                              point(45.98, 2.03, "2024-05-01T10:01:00Z"));
    if (clics) {
        // Two clicks along the track's row that agree with the first file.
        p.e->geo.calage =
            std::get<Calage>(ajuste({{100, 100, 45.99, 2.01}, {500, 100, 45.99, 2.05}}));
    }
    auto r = importegps(*p.e, gpx, std::nullopt, false);
    QVERIFY(std::holds_alternative<Importation>(r));
    QCOMPARE(p.e->ptx[0], 300);
    QVERIFY(ecrit(p.d.filePath("plan.wld"), "0.0001\n0\n0\n-0.0001\n2.002\n46\n"));
    r = importegps(*p.e, gpx, std::nullopt, false);
    QVERIFY(std::holds_alternative<Importation>(r));
    const QString dit = std::get<Importation>(r).messages.join(u'\n');
    QCOMPARE(dit.contains("a changé"), !clics);
    QCOMPARE(p.e->ptx[0], clics ? 300 : 280);
    QCOMPARE(p.e->geo.calage.c, clics ? p.e->geo.calage.c : 2.002);
}

// Several files made a replay: each file a track, or with `pistes` each <trk>; names from the
// command, the GPX or the file; a track without times paced evenly over the others' time.
void TstGps::pistes_data() {
    QTest::addColumn<bool>("parpiste");
    QTest::addColumn<QStringList>("noms");
    QTest::addColumn<QStringList>("attendus");
    QTest::addColumn<double>("duree"); // of the track without times
    // Whole, a.gpx's clock goes back between its tracks: no track has a pace, ten minutes each.
    QTest::newRow("un fichier, une piste")
        << false << QStringList{} << QStringList{"a", "b"} << 600.0;
    QTest::newRow("chaque <trk>") << true << QStringList{"Zoé"} << QStringList{"Zoé", "Marc", "b"}
                                  << 240.0;
}

void TstGps::pistes() {
    QFETCH(bool, parpiste);
    QFETCH(QStringList, noms);
    QFETCH(QStringList, attendus);
    QFETCH(double, duree);
    Projet p;
    const QString a = p.d.filePath("a.gpx"), b = p.d.filePath("b.gpx");
    QVERIFY(ecrit(a, "<gpx><trk><name>Anne</name><trkseg>" +
                         point(45.99, 2.01, "2024-05-01T10:00:00Z") +
                         point(45.99, 2.02, "2024-05-01T10:02:00Z") +
                         "</trkseg></trk><trk><name>Marc</name><trkseg>" +
                         point(45.98, 2.01, "2024-05-01T10:01:00Z") +
                         point(45.98, 2.03, "2024-05-01T10:05:00Z") + "</trkseg></trk></gpx>"));
    QVERIFY(ecrit(b, "<gpx><trk><trkseg><trkpt lat=\"45.97\" lon=\"2.01\"/><trkpt lat=\"45.97\" "
                     "lon=\"2.04\"/></trkseg></trk></gpx>"));
    OptionsRejeu o;
    o.pistes = parpiste;
    o.noms = noms;
    const auto r = importerejeu(*p.e, {a, b}, o, std::nullopt);
    if (const auto* erreur = std::get_if<QString>(&r)) QFAIL(qPrintable(*erreur));
    const Rejeu& rj = p.e->rejeu;
    QCOMPARE(int(rj.pistes.size()), attendus.size());
    for (int k = 0; k < attendus.size(); ++k) {
        const Piste& t = rj.pistes[static_cast<std::size_t>(k)];
        QCOMPARE(t.nom, attendus[k]);
        QCOMPARE(t.couleur, couleurpiste(static_cast<std::size_t>(k)));
        QCOMPARE(p.e->ptcoul[t.premier], t.couleur);
        if (k > 0) QCOMPARE(t.premier, rj.pistes[static_cast<std::size_t>(k - 1)].dernier + 1);
    }
    QCOMPARE(rj.pistes.back().dernier, p.e->nbpt);
    // The file without times: over the longest timed track, evenly, from the earliest start.
    const Piste& sans = rj.pistes.back();
    QVERIFY(!sans.horloge);
    QCOMPARE(p.e->pttemps[sans.dernier], duree);
    QCOMPARE(sans.debut, rj.pistes.front().debut);
    const int milieu = (sans.premier + sans.dernier) / 2;
    QVERIFY(std::abs(p.e->pttemps[milieu] - duree / 2) < 2);
    QVERIFY(
        std::get<std::vector<Importation>>(r).back().messages.join(' ').contains("régulièrement"));
    // The film follows the replay's clock.
    QVERIFY(p.e->geo.allure);
    QVERIFY(p.e->imgtemps[p.e->nbimg] > p.e->imgtemps[0]);
}

QTEST_GUILESS_MAIN(TstGps)
#include "tst_gps.moc"
