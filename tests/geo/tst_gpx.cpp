// The GPX reader: tracks, segments and routes of both versions read whole; a malformed file
// refused at its line.
#include "geo/gpx.h"

#include <QDateTime>
#include <QTest>

#include <cmath>

class TstGpx : public QObject {
    Q_OBJECT
  private slots:
    void lit_data();
    void lit();
    void refuse_data();
    void refuse();
    void heures();
    void points_data();
    void points();
};

void TstGpx::lit_data() {
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QList<int>>("segments"); // points of each
    QTest::addColumn<bool>("temps");
    QTest::addColumn<bool>("altitude");
    QTest::newRow("1.1, deux segments, route, point de passage ignoré")
        << QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="essai" xmlns="http://www.topografix.com/GPX/1/1">
  <metadata><name>x</name></metadata>
  <wpt lat="1" lon="1"><name>ignoré</name></wpt>
  <trk><name>t</name>
    <trkseg>
      <trkpt lat="45.0" lon="2.0"><ele>100</ele><time>2024-05-01T10:00:00Z</time></trkpt>
      <trkpt lat="45.001" lon="2.0"><ele>101.5</ele><time>2024-05-01T10:00:10Z</time></trkpt>
    </trkseg>
    <trkseg></trkseg>
    <trkseg>
      <trkpt lat="45.002" lon="2.0"><ele>102</ele><time>2024-05-01T10:01:00Z</time><extensions><x>1</x></extensions></trkpt>
    </trkseg>
  </trk>
  <rte><rtept lat="-33.5" lon="-70.25"/><rtept lat="-33.6" lon="-70.3"/><rtept lat="-33.7" lon="-70.35"/></rte>
</gpx>)")
        << QList<int>{2, 1, 3} << false << false;
    QTest::newRow("1.0, heures et altitudes partout") << QByteArray(R"(<?xml version="1.0"?>
<gpx version="1.0" xmlns="http://www.topografix.com/GPX/1/0">
<trk><trkseg>
<trkpt lat="10" lon="20"><ele>5</ele><time>2002-02-27T17:18:33Z</time></trkpt>
<trkpt lat="10.5" lon="20.5"><ele>6</ele><time>2002-02-27T17:18:34.500Z</time></trkpt>
</trkseg></trk></gpx>)") << QList<int>{2} << true << true;
    QTest::newRow("heures qui reculent: pas d'allure") << QByteArray(R"(<gpx><trk><trkseg>
<trkpt lat="10" lon="20"><time>2002-02-27T17:18:33Z</time></trkpt>
<trkpt lat="10" lon="20"><time>2002-02-27T17:18:30Z</time></trkpt>
</trkseg></trk></gpx>)") << QList<int>{2} << false << false;
    QTest::newRow("une seule heure partout: pas d'allure") << QByteArray(R"(<gpx><trk><trkseg>
<trkpt lat="10" lon="20"><time>1901-12-13T20:45:52Z</time></trkpt>
<trkpt lat="10.1" lon="20"><time>1901-12-13T20:45:52Z</time></trkpt>
<trkpt lat="10.2" lon="20"><time>1901-12-13T20:45:52Z</time></trkpt>
</trkseg></trk></gpx>)") << QList<int>{3} << false << false;
    QTest::newRow("altitude et heure vides: sans elles") << QByteArray(R"(<gpx><trk><trkseg>
<trkpt lat="10" lon="20"><ele></ele><time>2002-02-27T17:18:33Z</time></trkpt>
<trkpt lat="10.5" lon="20.5"><ele>6</ele><time> </time></trkpt>
<trkpt lat="10.6" lon="20.5"><ele/><time/></trkpt>
</trkseg></trk></gpx>)") << QList<int>{3} << false << false;
}

void TstGpx::lit() {
    QFETCH(QByteArray, gpx);
    QFETCH(QList<int>, segments);
    const LectureGpx l = lisgpx(gpx);
    if (const auto* e = std::get_if<ErreurGeo>(&l)) QFAIL(qPrintable(e->message));
    const TraceGps& t = std::get<TraceGps>(l);
    QCOMPARE(t.segments.size(), std::size_t(segments.size()));
    qsizetype total = 0;
    for (int i = 0; i < segments.size(); ++i) {
        QCOMPARE(int(t.segments[i].size()), segments[i]);
        total += segments[i];
    }
    QCOMPARE(t.nbpoints, total);
    QTEST(t.temps(), "temps");
    QTEST(t.altitude(), "altitude");
}

void TstGpx::refuse_data() {
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<int>("ligne");
    QTest::addColumn<QString>("mot"); // a word of the message
    QTest::newRow("balise non fermée")
        << QByteArray("<gpx>\n<trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\">\n</trkseg></trk></gpx>\n")
        << 4 << QString("GPX");
    QTest::newRow("latitude illisible")
        << QByteArray("<gpx>\n<trk><trkseg>\n<trkpt lat=\"4x\" lon=\"2\"/>\n</trkseg></trk></gpx>")
        << 3 << QString("latitude");
    QTest::newRow("latitude hors limites")
        << QByteArray("<gpx><trk><trkseg>\n\n<trkpt lat=\"91\" lon=\"2\"/></trkseg></trk></gpx>")
        << 3 << QString("latitude");
    QTest::newRow("longitude absente")
        << QByteArray("<gpx><rte>\n<rtept lat=\"1\"/></rte></gpx>") << 2 << QString("lon");
    QTest::newRow("heure illisible")
        << QByteArray("<gpx><trk><trkseg><trkpt lat=\"1\" "
                      "lon=\"2\">\n\n<time>hier</time></trkpt></trkseg></trk></gpx>")
        << 3 << QString("heure");
    QTest::newRow("altitude illisible")
        << QByteArray("<gpx><trk><trkseg><trkpt lat=\"1\" "
                      "lon=\"2\">\n<ele>haut</ele></trkpt></trkseg></trk></gpx>")
        << 2 << QString("altitude");
    QTest::newRow("autre racine") << QByteArray("<?xml version=\"1.0\"?>\n<kml/>") << 2
                                  << QString("racine");
    QTest::newRow("pas du XML") << QByteArray("12\t45\r\n") << 1 << QString("GPX");
    QTest::newRow("aucun point") << QByteArray("<gpx><trk><trkseg/></trk></gpx>") << 0
                                 << QString("Aucun");
    QTest::newRow("points de passage seulement")
        << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/><wpt lat=\"1\" lon=\"3\"/></gpx>") << 0
        << QString("points de passage (2)");
    QTest::newRow("texte après la racine")
        << QByteArray("<gpx><rte><rtept lat=\"1\" lon=\"2\"/></rte></gpx>\n<gpx/>") << 2
        << QString("GPX");
}

void TstGpx::refuse() {
    QFETCH(QByteArray, gpx);
    QFETCH(int, ligne);
    QFETCH(QString, mot);
    const LectureGpx l = lisgpx(gpx);
    const auto* e = std::get_if<ErreurGeo>(&l);
    QVERIFY(e);
    QCOMPARE(e->ligne, ligne);
    QVERIFY2(e->message.contains(mot), qPrintable(e->message));
    if (ligne > 0)
        QVERIFY2(e->message.endsWith(QString("(ligne %1)").arg(ligne)), qPrintable(e->message));
}

// Times with a fraction, an offset or no zone (taken as UTC) land on the same clock.
void TstGpx::heures() {
    const LectureGpx l = lisgpx(QByteArray(R"(<gpx><trk><trkseg>
<trkpt lat="0" lon="0"><time>2024-05-01T10:00:00Z</time></trkpt>
<trkpt lat="0" lon="0"><time>2024-05-01T10:00:01.250Z</time></trkpt>
<trkpt lat="0" lon="0"><time>2024-05-01T12:00:05+02:00</time></trkpt>
<trkpt lat="0" lon="0"><time>2024-05-01T10:00:07</time></trkpt>
</trkseg></trk></gpx>)"));
    QVERIFY(std::holds_alternative<TraceGps>(l));
    const SegmentGps& s = std::get<TraceGps>(l).segments[0];
    QCOMPARE(s[1].temps - s[0].temps, 1.25);
    QCOMPARE(s[2].temps - s[0].temps, 5.0);
    QCOMPARE(s[3].temps - s[0].temps, 7.0);
    QCOMPARE(s[0].temps, 1714557600.0);
    // Leap days, the turn of the century, a fraction: as the calendar has them.
    for (const char* h : {"2000-02-29T23:59:59.5Z", "1999-12-31T00:00:00Z", "2024-02-29T12:00:00Z",
                          "2100-03-01T00:00:00Z", "1970-01-01T00:00:00.001Z"}) {
        const LectureGpx u = lisgpx(QByteArray("<gpx><rte><rtept lat=\"0\" lon=\"0\"><time>") + h +
                                    "</time></rtept></rte></gpx>");
        QVERIFY(std::holds_alternative<TraceGps>(u));
        const double attendu =
            QDateTime::fromString(h, Qt::ISODateWithMs).toMSecsSinceEpoch() / 1000.0;
        QCOMPARE(std::get<TraceGps>(u).segments[0][0].temps, attendu);
    }
    // A day the month does not have.
    QVERIFY(std::holds_alternative<ErreurGeo>(
        lisgpx("<gpx><rte><rtept lat=\"0\" "
               "lon=\"0\"><time>2023-02-29T10:00:00Z</time></rtept></rte></gpx>")));
}

// Track points named by their number over all segments, in file order.
void TstGpx::points_data() {
    QTest::addColumn<QString>("nom");
    QTest::addColumn<double>("lat"); // NaN: no such point
    QTest::newRow("premier") << "@1" << 1.0;
    QTest::newRow("dans le second segment") << "@ 3" << 3.0;
    QTest::newRow("fin") << "@fin" << 4.0;
    QTest::newRow("FIN") << "@FIN" << 4.0;
    QTest::newRow("au-delà") << "@5" << qQNaN();
    QTest::newRow("zéro") << "@0" << qQNaN();
    QTest::newRow("pas un nom") << "45,3" << qQNaN();
}

void TstGpx::points() {
    QFETCH(QString, nom);
    QFETCH(double, lat);
    const LectureGpx l = lisgpx(
        QByteArray(R"(<gpx><trk><trkseg><trkpt lat="1" lon="0"/><trkpt lat="2" lon="0"/></trkseg>
<trkseg><trkpt lat="3" lon="0"/></trkseg></trk><rte><rtept lat="4" lon="0"/></rte></gpx>)"));
    QVERIFY(std::holds_alternative<TraceGps>(l));
    const auto n = nompoint(nom);
    const auto p = n ? pointtrace(std::get<TraceGps>(l), *n) : std::nullopt;
    if (std::isnan(lat)) {
        QVERIFY(!p);
    } else {
        QVERIFY(p);
        QCOMPARE(p->lat, lat);
    }
}

QTEST_GUILESS_MAIN(TstGpx)
#include "tst_gpx.moc"
