// Placing the map: world files (with and without a .prj), the fit of placed points, and the
// projection of latitudes and longitudes onto the map's pixels.
#include "geo/calage.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// UTM zone 31 north as an ESRI .prj writes it.
const char* UTM31 =
    R"(PROJCS["WGS_1984_UTM_Zone_31N",GEOGCS["GCS_WGS_1984",DATUM["D_WGS_1984",SPHEROID["WGS_1984",6378137.0,298.257223563]],PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["False_Easting",500000.0],PARAMETER["False_Northing",0.0],PARAMETER["Central_Meridian",3.0],PARAMETER["Scale_Factor",0.9996],PARAMETER["Latitude_Of_Origin",0.0],UNIT["Meter",1.0]])";

bool ecrit(const QString& chemin, const QByteArray& o) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(o) == o.size();
}

// The pixel of a latitude and longitude through a placement.
QPointF pixel(const Calage& c, double lat, double lon) {
    QString erreur;
    const auto p = Projection::cree(c, erreur);
    if (!p) return {NAN, NAN};
    double x = 0, y = 0;
    p->verspixel(&lat, &lon, &x, &y, 1);
    return {x, y};
}

// A placement made by hand: pixel -> Mercator metres, scale s metres a pixel, turned by `angle`
// degrees, with the picture's rows going south.
Calage connu(double s, double angle, double x0, double y0, double sx = 1, double cisaille = 0) {
    const double t = angle * M_PI / 180;
    Calage c;
    c.place = true;
    c.a = s * sx * std::cos(t);
    c.b = s * std::sin(t) + cisaille;
    c.d = s * sx * std::sin(t);
    c.e = -s * std::cos(t);
    c.c = x0;
    c.f = y0;
    return c;
}

// Where a known placement puts pixel (x, y) on the Earth.
Amer amer(const Calage& c, double x, double y) {
    QString erreur;
    const auto p = Projection::cree(c, erreur);
    Amer a{x, y, 0, 0};
    p->verslatlon(x, y, a.lat, a.lon);
    return a;
}

// A 4 x 3 GeoTIFF in degrees: the top-left corner of its top-left pixel at 46 N 2 E, 0.001
// degree a pixel, written tag by tag.
QByteArray geotiff() {
    QByteArray o;
    QDataStream d(&o, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    d.setFloatingPointPrecision(QDataStream::DoublePrecision);
    const quint32 nb = 12, ifd = 8, donnees = ifd + 2 + nb * 12 + 4;
    const quint32 echelle = donnees, attache = echelle + 24, cles = attache + 48,
                  pixels = cles + 32;
    d.writeRawData("II", 2);
    d << quint16(42) << ifd << quint16(nb);
    const auto entree = [&](quint16 tag, quint16 type, quint32 n, quint32 v) {
        d << tag << type << n;
        if (type == 3 && n == 1)
            d << quint16(v) << quint16(0);
        else
            d << v;
    };
    entree(256, 3, 1, 4);
    entree(257, 3, 1, 3);
    entree(258, 3, 1, 8);
    entree(259, 3, 1, 1);
    entree(262, 3, 1, 1);
    entree(273, 4, 1, pixels);
    entree(277, 3, 1, 1);
    entree(278, 3, 1, 3);
    entree(279, 4, 1, 12);
    entree(33550, 12, 3, echelle);
    entree(33922, 12, 6, attache);
    entree(34735, 3, 16, cles);
    d << quint32(0);
    d << 0.001 << 0.001 << 0.0;
    d << 0.0 << 0.0 << 0.0 << 2.0 << 46.0 << 0.0;
    for (quint16 v : {1, 1, 0, 3, 1024, 0, 1, 2, 1025, 0, 1, 1, 2048, 0, 1, 4326})
        d << v;
    for (int i = 0; i < 12; ++i)
        d << quint8(i * 20);
    return o;
}

} // namespace

class TstCalage : public QObject {
    Q_OBJECT
  private slots:
    void monde_data();
    void monde();
    void tif();
    void mondefautif_data();
    void mondefautif();
    void ajustement_data();
    void ajustement();
    void pointfaux();
    void antimeridien();
    void degenere_data();
    void degenere();
};

// Known positions: UTM zone 31 puts 45 N on its central meridian 3 E at northing 4982950.40 m
// and 0 N 0 E at easting 166021.44 m; a world file in degrees needs no .prj.
void TstCalage::monde_data() {
    QTest::addColumn<QByteArray>("wld");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QByteArray>("prj");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QPointF>("attendu");
    QTest::newRow("UTM, méridien central")
        << QByteArray("10\n0\n0\n-10\n495000\n4985000\n") << QString("bpw") << QByteArray(UTM31)
        << 45.0 << 3.0 << QPointF(500, 204.96);
    QTest::newRow("UTM, équateur, .wld, CR LF")
        << QByteArray("1000.0\r\n0.0\r\n0.0\r\n-1000.0\r\n0.0\r\n5000000.0\r\n") << QString("wld")
        << QByteArray(UTM31) << 0.0 << 0.0 << QPointF(166.02144, 5000);
    QTest::newRow("degrés sans .prj")
        << QByteArray(" 0.001\n0\n0\n-0.001\n2.0\n46.0\n") << QString("bmpw") << QByteArray()
        << 45.9 << 2.5 << QPointF(500, 100);
    QTest::newRow("tourné de 90 degrés")
        << QByteArray("0\n-0.001\n0.001\n0\n2.0\n46.0\n") << QString("bpw") << QByteArray() << 45.9
        << 2.5 << QPointF(100, 500);
}

void TstCalage::monde() {
    QFETCH(QByteArray, wld);
    QFETCH(QString, extension);
    QFETCH(QByteArray, prj);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QPointF, attendu);
    QTemporaryDir d;
    const QString carte = d.filePath("carte.bmp");
    QVERIFY(ecrit(carte, "BM"));
    QVERIFY(ecrit(d.filePath("carte." + extension), wld));
    if (!prj.isEmpty()) QVERIFY(ecrit(d.filePath("carte.prj"), prj));
    QCOMPARE(fichiermonde(carte), std::optional<QString>(d.filePath("carte." + extension)));
    const LectureCalage l = calagecarte(carte);
    if (const auto* e = std::get_if<ErreurGeo>(&l)) QFAIL(qPrintable(e->message));
    const QPointF p = pixel(std::get<Calage>(l), lat, lon);
    QVERIFY2(std::abs(p.x() - attendu.x()) < 0.01 && std::abs(p.y() - attendu.y()) < 0.01,
             qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
}

// GDAL reads the GeoTIFF's own placement; its corner convention becomes our pixel centres.
void TstCalage::tif() {
    QTemporaryDir d;
    const QString carte = d.filePath("carte.tif");
    QVERIFY(ecrit(carte, geotiff()));
    const LectureCalage l = calagecarte(carte);
    if (const auto* e = std::get_if<ErreurGeo>(&l)) QFAIL(qPrintable(e->message));
    const Calage& c = std::get<Calage>(l);
    QCOMPARE(c.crs, QString("EPSG:4326"));
    const QPointF p = pixel(c, 45.9, 2.5);
    QVERIFY2(std::abs(p.x() - 499.5) < 1e-6 && std::abs(p.y() - 99.5) < 1e-6,
             qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    // A plain TIFF without placement, and no world file: said so.
    QVERIFY(ecrit(carte, geotiff().left(8)));
    QVERIFY(std::holds_alternative<ErreurGeo>(calagecarte(carte)));
}

void TstCalage::mondefautif_data() {
    QTest::addColumn<QByteArray>("wld");
    QTest::addColumn<int>("ligne");
    QTest::newRow("lettre") << QByteArray("10\n0\n0\nmoins dix\n495000\n4985000\n") << 4;
    QTest::newRow("cinq nombres") << QByteArray("10\n0\n0\n-10\n495000\n") << 6;
    QTest::newRow("infini") << QByteArray("10\n0\ninf\n-10\n495000\n4985000\n") << 3;
    QTest::newRow("pixel plat") << QByteArray("10\n0\n0\n0\n495000\n4985000\n") << 0;
    QTest::newRow("vide") << QByteArray() << 1;
}

void TstCalage::mondefautif() {
    QFETCH(QByteArray, wld);
    QFETCH(int, ligne);
    const LectureCalage l = lismonde(wld);
    const auto* e = std::get_if<ErreurGeo>(&l);
    QVERIFY(e);
    QCOMPARE(e->ligne, ligne);
    if (ligne) QVERIFY(e->message.endsWith(QString("(ligne %1)").arg(ligne)));
}

// Two points recover a similarity, three or more an affine map (here with a shear and unequal
// scales), each to a thousandth of a pixel, with nothing left over at the points.
void TstCalage::ajustement_data() {
    QTest::addColumn<double>("echelle");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("sx");
    QTest::addColumn<double>("cisaille");
    QTest::addColumn<int>("nb");
    QTest::newRow("similitude, deux points") << 12.5 << 17.0 << 1.0 << 0.0 << 2;
    QTest::newRow("similitude, nord en haut") << 3.0 << 0.0 << 1.0 << 0.0 << 2;
    QTest::newRow("affine, trois points") << 8.0 << -30.0 << 1.4 << 2.5 << 3;
    QTest::newRow("affine, six points") << 8.0 << 5.0 << 0.7 << -1.0 << 6;
}

void TstCalage::ajustement() {
    QFETCH(double, echelle);
    QFETCH(double, angle);
    QFETCH(double, sx);
    QFETCH(double, cisaille);
    QFETCH(int, nb);
    const Calage vrai = connu(echelle, angle, 250000, 5600000, sx, cisaille);
    const QPointF lieux[] = {{100, 80}, {900, 650}, {120, 700}, {800, 90}, {450, 300}, {20, 400}};
    std::vector<Amer> amers;
    for (int i = 0; i < nb; ++i)
        amers.push_back(amer(vrai, lieux[i].x(), lieux[i].y()));
    const LectureCalage l = ajuste(amers);
    if (const auto* e = std::get_if<ErreurGeo>(&l)) QFAIL(qPrintable(e->message));
    const Calage& c = std::get<Calage>(l);
    QCOMPARE(c.amers.size(), amers.size());
    for (const QPointF essai : {QPointF(0, 0), QPointF(1500, 1000), QPointF(333, 777)}) {
        const Amer a = amer(vrai, essai.x(), essai.y());
        const QPointF p = pixel(c, a.lat, a.lon);
        QVERIFY2(std::abs(p.x() - essai.x()) < 1e-3 && std::abs(p.y() - essai.y()) < 1e-3,
                 qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    }
    for (double r : residus(c))
        QVERIFY(r < 1e-3);
}

// A point given 30 pixels off among seven: the placement of the six others puts it 30 pixels
// from where it was clicked, the largest error. Three points fit each other whatever they are:
// no check.
void TstCalage::pointfaux() {
    const Calage vrai = connu(10, 12, 250000, 5600000);
    std::vector<Amer> amers;
    for (const QPointF p :
         {QPointF(100, 80), QPointF(900, 650), QPointF(120, 700), QPointF(800, 90),
          QPointF(450, 300), QPointF(500, 620), QPointF(60, 380)})
        amers.push_back(amer(vrai, p.x(), p.y()));
    amers[3].x += 30;
    const LectureCalage l = ajuste(amers);
    QVERIFY(std::holds_alternative<Calage>(l));
    const std::vector<double> r = residus(std::get<Calage>(l));
    QCOMPARE(r.size(), std::size_t(7));
    const auto pire = std::max_element(r.begin(), r.end()) - r.begin();
    QCOMPARE(pire, 3);
    QVERIFY2(std::abs(r[3] - 30) < 0.01, qPrintable(QString::number(r[3])));
    amers.resize(3);
    QVERIFY(residus(std::get<Calage>(ajuste(amers))).empty());
}

// Points clicked on both sides of the 180th meridian, their longitudes typed as a user does
// (within -180..180): the fit and the projection stay on one side, to the pixel.
void TstCalage::antimeridien() {
    const double x0 = 6378137.0 * M_PI - 3000; // 3 km west of the meridian
    const Calage vrai = connu(10, 8, x0, -2000000);
    const auto tape = [](Amer a) {
        if (a.lon > 180) a.lon -= 360;
        return a;
    };
    std::vector<Amer> amers;
    for (const QPointF p : {QPointF(100, 80), QPointF(900, 650), QPointF(120, 700)})
        amers.push_back(tape(amer(vrai, p.x(), p.y())));
    QVERIFY(amers[0].lon > 0 && amers[1].lon < 0); // the meridian runs between them
    const LectureCalage l = ajuste(amers);
    QVERIFY(std::holds_alternative<Calage>(l));
    for (const QPointF essai : {QPointF(50, 50), QPointF(700, 500), QPointF(999, 10)}) {
        const Amer a = tape(amer(vrai, essai.x(), essai.y()));
        const QPointF p = pixel(std::get<Calage>(l), a.lat, a.lon);
        QVERIFY2(std::abs(p.x() - essai.x()) < 1e-3 && std::abs(p.y() - essai.y()) < 1e-3,
                 qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    }
}

void TstCalage::degenere_data() {
    QTest::addColumn<std::vector<Amer>>("amers");
    QTest::newRow("un point") << std::vector<Amer>{{10, 10, 45, 2}};
    QTest::newRow("même pixel") << std::vector<Amer>{{10, 10, 45, 2}, {10, 10, 46, 3}};
    QTest::newRow("même lieu") << std::vector<Amer>{{10, 10, 45, 2}, {50, 90, 45, 2}};
    QTest::newRow("alignés") << std::vector<Amer>{
        {0, 0, 45, 2}, {10, 10, 45.1, 2.1}, {20, 20, 45.2, 2.2}};
}

void TstCalage::degenere() {
    QFETCH(std::vector<Amer>, amers);
    QVERIFY(std::holds_alternative<ErreurGeo>(ajuste(amers)));
}

QTEST_GUILESS_MAIN(TstCalage)
#include "tst_calage.moc"
