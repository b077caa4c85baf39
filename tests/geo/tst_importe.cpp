// A track made into the route on a made map placed in degrees: pixels, segments, what is cut,
// the true distance against a reference, the pace of the frame table.
#include "geo/calage.h"
#include "geo/distance.h"
#include "geo/importe.h"
#include "timeline/temps.h"

#include <QTest>

#include <cmath>
#include <random>

namespace {

// A 1000 x 800 map whose top-left pixel centre is 46 N 2 E, 0.0001 degree a pixel.
Calage degres() {
    return Calage::nord(0.0001, 2.0, 46.0, QStringLiteral("EPSG:4326"));
}

std::unique_ptr<Etat> carte() {
    auto e = nouveletat();
    e->largeurcarte = 1000;
    e->hauteurcarte = 800;
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    return e;
}

PointGps pt(double lat, double lon, double t = -1) {
    PointGps p;
    p.lat = lat;
    p.lon = lon;
    if (t >= 0) {
        p.temps = 1.7e9 + t;
        p.atemps = true;
    }
    return p;
}

TraceGps trace(std::vector<SegmentGps> s) {
    TraceGps t;
    for (const auto& x : s)
        t.nbpoints += std::ssize(x);
    t.segments = std::move(s);
    return t;
}

std::variant<Importation, QString> fais(Etat& e, const TraceGps& t, const Calage& c = degres()) {
    QString erreur;
    const auto p = Projection::cree(c, erreur);
    if (!p) return erreur;
    return importe(e, t, *p, 0x0000FF);
}

// The meridian arc of WGS 84 from the equator to `lat` (series to e^6, millimetre-exact).
double meridien(double lat) {
    const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f);
    const double e4 = e2 * e2, e6 = e4 * e2, p = lat * M_PI / 180;
    return a * ((1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256) * p -
                (3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * std::sin(2 * p) +
                (15 * e4 / 256 + 45 * e6 / 1024) * std::sin(4 * p) -
                (35 * e6 / 3072) * std::sin(6 * p));
}

} // namespace

class TstImporte : public QObject {
    Q_OBJECT
  private slots:
    void pixels();
    void coupe();
    void horsdecarte();
    void aminci();
    void distance_data();
    void distance();
    void legende();
    void allure();
    void pause();
    void arret();
    void antimeridien();
};

// A known point lands on its pixel; steps join pixel to pixel; each track segment a segment.
void TstImporte::pixels() {
    auto e = carte();
    const auto r =
        fais(*e, trace({{pt(45.99, 2.01), pt(45.99, 2.02), pt(45.98, 2.03)}, {pt(45.97, 2.05)}}));
    QVERIFY(std::holds_alternative<Importation>(r));
    QCOMPARE(e->ptx[0], 100);
    QCOMPARE(e->pty[0], 100);
    QCOMPARE(e->ptx[e->nbpt], 500);
    QCOMPARE(e->pty[e->nbpt], 300);
    QCOMPARE(std::get<Importation>(r).segments, 2);
    int sauts = 0;
    for (int i = 1; i <= e->nbpt; ++i) {
        const int d =
            std::max(std::abs(e->ptx[i] - e->ptx[i - 1]), std::abs(e->pty[i] - e->pty[i - 1]));
        if (e->pttron[i] == e->pttron[i - 1])
            QCOMPARE(d, 1);
        else
            ++sauts;
    }
    QCOMPARE(sauts, 1);
    // 100 steps east, then 100 diagonal: 201 pixels, then the lone point.
    QCOMPARE(e->nbpt, 201);
    QVERIFY(e->ptcoul[0] != e->ptcoul[e->nbpt]);
    QVERIFY(geovalide(*e) && e->gpsdist && !e->gpstemps);
}

// A track that leaves the map and comes back is cut at the edge, said so, and comes back as a
// new segment.
void TstImporte::coupe() {
    auto e = carte();
    // East from x 900 to x 1100 and back: the part beyond x 999.5 is off the map.
    const auto r =
        fais(*e, trace({{pt(45.99, 2.09), pt(45.99, 2.11), pt(45.98, 2.11), pt(45.98, 2.09)}}));
    QVERIFY(std::holds_alternative<Importation>(r));
    const Importation& i = std::get<Importation>(r);
    QCOMPARE(i.segments, 2);
    QCOMPARE(i.messages.size(), 1);
    QVERIFY2(i.messages[0].contains("hors de la carte"), qPrintable(i.messages[0]));
    // 100.5 of 200 pixels east, the 100 north, 100.5 west off the map; a pixel east is shorter
    // than a pixel north by the cosine of the latitude.
    const double c = std::cos(45.985 * M_PI / 180);
    const double part = (201 * c + 100) / (400 * c + 100);
    QVERIFY2(std::abs(i.hors / i.longueur - part) < 0.005,
             qPrintable(QString::number(i.hors / i.longueur)));
    for (int k = 0; k <= e->nbpt; ++k)
        QVERIFY(e->ptx[k] >= 900 && e->ptx[k] <= 999);
    // The distance goes on over the part cut: the route's last point ends the whole track.
    QVERIFY(std::abs(e->ptdist[e->nbpt] / i.longueur - 1.0) < 0.01);
}

// Wholly off the map: refused, the route as it was.
void TstImporte::horsdecarte() {
    auto e = carte();
    e->nbpt = 2;
    e->ptx[0] = 7;
    const auto r = fais(*e, trace({{pt(10, 10), pt(10.1, 10.1)}}));
    QVERIFY(std::holds_alternative<QString>(r));
    QCOMPARE(e->nbpt, 2);
    QCOMPARE(e->ptx[0], 7);
    QVERIFY(!geovalide(*e));
}

// A track of more pixels than the route holds is thinned evenly, ends kept.
void TstImporte::aminci() {
    auto e = carte();
    SegmentGps s;
    // 60 rounds of a 900 x 700 box: about 190000 pixels.
    for (int k = 0; k < 60; ++k)
        for (auto [y, x] :
             {std::pair{45.99, 2.01}, {45.99, 2.099}, {45.921, 2.099}, {45.921, 2.01}})
            s.push_back(pt(y, x));
    const auto r = fais(*e, trace({s}));
    QVERIFY(std::holds_alternative<Importation>(r));
    QCOMPARE(e->nbpt, MAXPT - 1);
    QCOMPARE(std::get<Importation>(r).messages.size(), 1);
    QCOMPARE(e->ptx[0], 100);
    QCOMPARE(e->pty[0], 100);
    QCOMPARE(e->ptx[e->nbpt], 100);
    QCOMPARE(e->pty[e->nbpt], 790); // the last corner
    // Evenly: consecutive kept points are about the same number of pixels apart.
    const double pas = std::get<Importation>(r).pixels / double(MAXPT - 1);
    for (int i = 1; i <= e->nbpt; ++i) {
        const int d =
            std::max(std::abs(e->ptx[i] - e->ptx[i - 1]), std::abs(e->pty[i] - e->pty[i - 1]));
        QVERIFY(d <= std::ceil(pas));
    }
}

// The true distance of made tracks against references of their own: the meridian arc of the
// ellipsoid and the equator's circle.
void TstImporte::distance_data() {
    QTest::addColumn<bool>("equateur");
    QTest::addColumn<int>("pas");
    QTest::newRow("méridien, 50 points") << false << 50;
    QTest::newRow("méridien, 2 points") << false << 1;
    QTest::newRow("équateur, 30 points") << true << 30;
}

void TstImporte::distance() {
    QFETCH(bool, equateur);
    QFETCH(int, pas);
    auto e = carte();
    SegmentGps s;
    Calage c = degres();
    double reference = 0;
    if (equateur) {
        c.c = 0;
        c.f = 0.04;
        for (int k = 0; k <= pas; ++k)
            s.push_back(pt(0, 0.001 + 0.09 * k / pas));
        reference = 6378137.0 * 0.09 * M_PI / 180;
    } else {
        for (int k = 0; k <= pas; ++k)
            s.push_back(pt(45.99 - 0.07 * k / pas, 2.05));
        reference = meridien(45.99) - meridien(45.92);
    }
    const auto r = fais(*e, trace({s}), c);
    QVERIFY(std::holds_alternative<Importation>(r));
    const double d = e->ptdist[e->nbpt];
    QVERIFY2(std::abs(d - reference) / reference < 0.001,
             qPrintable(QString("%1 / %2").arg(d).arg(reference)));
    QVERIFY(std::abs(distancepoint(*e, e->nbpt).value() - d) < 1e-9);
}

// The legend's number: kilometres or miles with the decimals asked, a scale on the map instead
// of the Earth, nothing when the option is off.
void TstImporte::legende() {
    auto e = carte();
    QVERIFY(std::holds_alternative<Importation>(
        fais(*e, trace({{pt(45.99, 2.05), pt(45.921, 2.05)}}))));
    const double km = e->ptdist[e->nbpt] / 1000; // 7.67 km
    QVERIFY(!chiffredistance(*e, e->nbpt));
    e->geo.distance = true;
    e->unite = KM;
    QCOMPARE(chiffredistance(*e, e->nbpt).value_or("rien"), decimalfr(km, 1));
    QCOMPARE(chiffredistance(*e, e->nbpt)->count(u','), 1);
    e->geo.decimales = 0;
    QCOMPARE(chiffredistance(*e, 0).value_or("rien"), QString("0"));
    e->unite = MILE;
    e->geo.decimales = 2;
    QCOMPARE(chiffredistance(*e, e->nbpt).value_or("rien"), decimalfr(km / 1.609344, 2));
    // A scale bar of 100 pixels for 2 km: the 690 pixels walked are 13.8 km.
    e->unite = KM;
    e->geo.echx1 = 10, e->geo.echy1 = 10, e->geo.echx2 = 70, e->geo.echy2 = 90,
    e->geo.echmetres = 2000;
    QCOMPARE(chiffredistance(*e, e->nbpt).value_or("rien"), QString("13,80"));
    // A hand-traced route replacing the track leaves no distance but the scale's.
    e->geo.echmetres = 0;
    e->nbpt += 5;
    QVERIFY(!chiffredistance(*e, 3));
}

// Times set the progress column: the first half of the way in 100 s, the second in 300 s.
void TstImporte::allure() {
    auto e = carte();
    QVERIFY(std::holds_alternative<Importation>(
        fais(*e, trace({{pt(45.99, 2.01, 0), pt(45.99, 2.03, 100), pt(45.99, 2.05, 400)}}))));
    QCOMPARE(e->nbpt, 400);
    e->geo.allure = true;
    e->nbi = "100";
    majcles(*e);
    QCOMPARE(e->nbimg, 100);
    QCOMPARE(e->imgavance[0], 0);
    QCOMPARE(e->imgavance[100], 1000);
    QVERIFY(std::abs(e->imgavance[25] - 500) <= 3); // 100 s of 400: half the way
    QVERIFY(std::abs(e->imgavance[10] - 200) <= 3);
    QVERIFY(std::abs(e->imgavance[55] - 700) <= 3); // 220 s: 120 s of 300 into the slow half
    for (int c = 1; c <= 100; ++c)
        QVERIFY(e->imgavance[c] >= e->imgavance[c - 1]);
    QVERIFY(e->listbox1[25].endsWith(QString::number(e->imgavance[25])));
    // Off again: evenly as ever.
    e->geo.allure = false;
    calculimages(*e);
    QCOMPARE(e->imgavance[25], 250);
}

// A standstill of an hour counts as the cap: the film does not stand still for most of it.
void TstImporte::pause() {
    auto e = carte();
    QVERIFY(std::holds_alternative<Importation>(
        fais(*e, trace({{pt(45.99, 2.01, 0), pt(45.99, 2.03, 100), pt(45.99, 2.03, 3700),
                         pt(45.99, 2.05, 3800)}}))));
    e->geo.allure = true;
    e->nbi = "100";
    majcles(*e);
    QVERIFY(e->imgavance[50] >= 490 &&
            e->imgavance[50] <= 510); // an hour of 3800 s: frames 3..97 wait
    QCOMPARE(e->imgavance[10], e->imgavance[90]);
    e->geo.pause = 20;
    calculimages(*e);
    // 100 + 20 + 100 s: frame 25 is at 55 s, a little past a quarter of the way.
    QVERIFY(std::abs(e->imgavance[25] - 275) <= 4);
    QVERIFY(e->imgavance[60] > 510);
}

// Ten minutes east at 3 m/s, two hours parked with 3 m of GPS noise, ten minutes more: the
// stop adds no distance, and with a pause cap of a minute it takes a minute of the film.
void TstImporte::arret() {
    auto e = carte();
    e->largeurcarte = 6000;
    const double lat = 45.995, mlon = 111320 * std::cos(lat * M_PI / 180), mlat = 111320;
    std::mt19937 alea(26);
    std::normal_distribution<double> bruit(0, 3);
    SegmentGps s;
    double t = 0, est = 0; // metres east of the start
    for (int k = 0; k < 600; ++k, t += 1, est += 3)
        s.push_back(pt(lat, 2.001 + est / mlon, t));
    for (int k = 0; k < 7200; ++k, t += 1)
        s.push_back(pt(lat + bruit(alea) / mlat, 2.001 + (est + bruit(alea)) / mlon, t));
    for (int k = 0; k <= 600; ++k, t += 1, est += 3)
        s.push_back(pt(lat, 2.001 + est / mlon, t));
    const auto r = fais(*e, trace({s}), Calage::nord(0.00001, 2.0, 46.0, "EPSG:4326"));
    QVERIFY(std::holds_alternative<Importation>(r));
    const Importation& i = std::get<Importation>(r);
    QVERIFY2(std::abs(e->ptdist[e->nbpt] - 3600) < 100, qPrintable(QString::number(i.longueur)));
    QVERIFY(i.arrets >= 1);
    QVERIFY2(std::abs(i.dureearrets - 7200) < 60, qPrintable(QString::number(i.dureearrets)));
    QVERIFY(i.messages.join(' ').contains("arrêt"));
    e->geo.allure = true;
    e->geo.pause = 60;
    e->nbi = "100";
    majcles(*e);
    // 600 + 60 + 600 s: about five frames of a hundred stand still.
    int immobiles = 0;
    for (int c = 1; c <= 100; ++c)
        immobiles += e->imgavance[c] == e->imgavance[c - 1];
    QVERIFY2(immobiles <= 8, qPrintable(QString::number(immobiles)));
    QVERIFY(std::abs(e->imgavance[25] - 250) <= 20);
    // A slow walk in the same noise (0.6 m/s for twenty minutes) has no stop.
    SegmentGps lent;
    for (int k = 0; k < 1200; ++k)
        lent.push_back(pt(lat + bruit(alea) / mlat, 2.001 + (0.6 * k + bruit(alea)) / mlon, k));
    const auto l = fais(*e, trace({lent}), Calage::nord(0.00001, 2.0, 46.0, "EPSG:4326"));
    QVERIFY(std::holds_alternative<Importation>(l));
    QCOMPARE(std::get<Importation>(l).arrets, 0);
}

// A map in degrees astride the 180th meridian, a track across it (longitudes as GPS writes
// them, -180..180): the whole track on the map, east of the meridian east of the map's middle.
void TstImporte::antimeridien() {
    auto e = carte();
    const auto r = fais(*e, trace({{pt(-17.0005, 179.996), pt(-17.0005, -179.996)}}),
                        Calage::nord(0.00001, 179.995, -17.0, "EPSG:4326"));
    QVERIFY(std::holds_alternative<Importation>(r));
    QCOMPARE(std::get<Importation>(r).hors, 0.0);
    QCOMPARE(e->ptx[0], 100);
    QCOMPARE(e->ptx[e->nbpt], 900);
    QCOMPARE(e->pty[e->nbpt], 50);
    QCOMPARE(e->nbpt, 800);
    QVERIFY(std::abs(e->ptdist[e->nbpt] - 0.008 * 111320 * std::cos(17 * M_PI / 180)) < 10);
}

QTEST_GUILESS_MAIN(TstImporte)
#include "tst_importe.moc"
