// Reference systems from .prj files, GeoTIFFs and projects: none makes PROJ open a file of the
// user's or reach the network, and one that needs a grid not installed says so.
#include "geo/calage.h"
#include "project/parametres.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

const QString WKTGRILLE = QStringLiteral(
    "BOUNDCRS[SOURCECRS[GEOGCRS[\"NTF\",DATUM[\"NTF\",ELLIPSOID[\"Clarke 1880 "
    "(IGN)\",6378249.2,293.466021293627]],CS[ellipsoidal,2],AXIS[\"lat\",north],AXIS[\"lon\",east],"
    "ANGLEUNIT[\"degree\",0.0174532925199433]]],TARGETCRS[GEOGCRS[\"WGS 84\",DATUM[\"WGS "
    "84\",ELLIPSOID[\"WGS 84\",6378137,298.257223563]],CS[ellipsoidal,2],AXIS[\"lat\",north],"
    "AXIS[\"lon\",east],ANGLEUNIT[\"degree\",0.0174532925199433]]],ABRIDGEDTRANSFORMATION["
    "\"grille\",METHOD[\"NTv2\"],PARAMETERFILE[\"Latitude and longitude difference "
    "file\",\"%1\"]]]");

} // namespace

class TstSystemes : public QObject {
    Q_OBJECT

  private slots:
    // Systems that name a file or an address are refused before PROJ sees them, wherever they
    // come from; those that name none, or grids of PROJ's own by their names, pass.
    void refus_data() {
        QTest::addColumn<QString>("crs");
        QTest::addColumn<bool>("refuse");
        QTest::newRow("+init of /etc/passwd") << QStringLiteral("+init=/etc/passwd:root") << true;
        QTest::newRow("+init of PROJ's own") << QStringLiteral("+init=epsg:4326") << true;
        QTest::newRow("grid by a path")
            << QStringLiteral("+proj=longlat +ellps=GRS80 +nadgrids=/tmp/g.gsb +no_defs") << true;
        QTest::newRow("grid by a relative path")
            << QStringLiteral("+proj=longlat +ellps=GRS80 +geoidgrids=../g.gtx") << true;
        QTest::newRow("grid by an address")
            << QStringLiteral("+proj=longlat +ellps=GRS80 +nadgrids=@http://127.0.0.1:9/g.tif")
            << true;
        QTest::newRow("WKT with a grid by a path")
            << WKTGRILLE.arg(QStringLiteral("/tmp/g.gsb")) << true;
        QTest::newRow("WKT carrying +init")
            << QStringLiteral("GEOGCS[\"x\",DATUM[\"WGS_1984\",SPHEROID[\"WGS "
                              "84\",6378137,298.257223563]],PRIMEM[\"Greenwich\",0],"
                              "UNIT[\"degree\",0.0174532925199433],EXTENSION[\"PROJ4\",\"+init="
                              "/etc/passwd:root\"]]")
            << true;
        QTest::newRow("JSON") << QStringLiteral("{\"type\": \"GeographicCRS\"}") << true;
        QTest::newRow("EPSG code") << QStringLiteral("EPSG:2154") << false;
        QTest::newRow("URN") << QStringLiteral("urn:ogc:def:crs:EPSG::4326") << false;
        QTest::newRow("grid of PROJ's by its name")
            << QStringLiteral("+proj=longlat +ellps=clrk80ign +pm=paris +nadgrids=ntf_r93.gsb "
                              "+no_defs")
            << false;
        QTest::newRow("WKT with a grid of PROJ's")
            << WKTGRILLE.arg(QStringLiteral("ntf_r93.gsb")) << false;
        QTest::newRow("WKT with slashes in its names")
            << QStringLiteral("PROJCS[\"NAD83 / UTM zone 17N\",GEOGCS[\"NAD83\",DATUM[\"D_North_"
                              "American_1983\",SPHEROID[\"GRS_1980\",6378137,298.257222101]],"
                              "PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]],"
                              "PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"latitude_of_origin\""
                              ",0],PARAMETER[\"central_meridian\",-81],PARAMETER[\"scale_factor\","
                              "0.9996],PARAMETER[\"false_easting\",500000],PARAMETER[\"false_"
                              "northing\",0],UNIT[\"Meter\",1]]")
            << false;
    }
    void refus() {
        QFETCH(QString, crs);
        QFETCH(bool, refuse);
        QCOMPARE(refuscrs(crs).has_value(), refuse);
        // What PROJ then makes of a system that passes is its own affair.
        const QString refus = QStringLiteral("Système de coordonnées refusé");
        QString erreur;
        const QString lu = litcrs(crs, erreur);
        QCOMPARE(erreur.startsWith(refus), refuse);
        if (refuse) QVERIFY(lu.isEmpty());
        erreur.clear();
        const auto p = Projection::cree(Calage::nord(0.001, 2, 46, crs), erreur);
        QCOMPARE(erreur.startsWith(refus), refuse);
        if (refuse) {
            QVERIFY(!p);
            qInfo("%s", qPrintable(erreur));
        }
        const QByteArray fichier =
            "[GEO]\r\ncrs\t" + crs.toUtf8() + "\r\n[CHEMIN]\r\n[PHOTO]\r\n[IPS]\r\n25\r\n";
        const Lecture l = lisparametres(fichier, 25);
        QCOMPARE(std::holds_alternative<ErreurLecture>(l), refuse);
        if (refuse) QCOMPARE(std::get<ErreurLecture>(l).ligne, 2);
    }

#ifdef Q_OS_LINUX
    // A pipe named by +init would block the reading for ever: it is never opened.
    void tube() {
        QTemporaryDir d;
        const QString tube = d.filePath(QStringLiteral("def"));
        QCOMPARE(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
        QString erreur;
        QCOMPARE(litcrs(QStringLiteral("+init=") + tube + QStringLiteral(":x"), erreur), QString());
        QVERIFY(!Projection::cree(
            Calage::nord(0.001, 2, 46, QStringLiteral("+init=") + tube + QStringLiteral(":x")),
            erreur));
    }

    // Whatever the environment asks of PROJ, it fetches nothing: a grid that is not installed is
    // named as such, and no request reaches the address PROJ would download it from.
    void sansreseau() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(s >= 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        QCOMPARE(::listen(s, 8), 0);
        socklen_t l = sizeof a;
        QCOMPARE(::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l), 0);
        std::atomic<int> appels = 0;
        std::atomic<bool> fini = false;
        // Answers every connection by closing it, so a PROJ that calls does not wait.
        std::thread serveur([&] {
            while (!fini) {
                pollfd p = {s, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0) {
                    const int c = ::accept(s, nullptr, nullptr);
                    if (c >= 0) {
                        ++appels;
                        ::close(c);
                    }
                }
            }
        });
        qputenv("PROJ_NETWORK", "ON");
        qputenv("PROJ_NETWORK_ENDPOINT",
                QByteArrayLiteral("http://127.0.0.1:") + QByteArray::number(ntohs(a.sin_port)));
        QString erreur;
        const auto p = Projection::cree(
            Calage::nord(0.001, 2, 46,
                         QStringLiteral("+proj=longlat +ellps=GRS80 +nadgrids=absent_de_proj.tif "
                                        "+no_defs")),
            erreur);
        double x = 2.1, y = 46.1;
        if (p) p->verspixel(&y, &x, &x, &y, 1);
        ::usleep(200000);
        fini = true;
        serveur.join();
        ::close(s);
        qunsetenv("PROJ_NETWORK");
        qunsetenv("PROJ_NETWORK_ENDPOINT");
        QCOMPARE(appels.load(), 0);
        // The missing grid is named; an optional one ("@") may be missing.
        QVERIFY(!p);
        qInfo("%s", qPrintable(erreur));
        QVERIFY(erreur.contains(QStringLiteral("absent_de_proj.tif")));
        QVERIFY(Projection::cree(
            Calage::nord(0.001, 2, 46,
                         QStringLiteral("+proj=longlat +ellps=GRS80 +nadgrids=@absent_de_proj.tif "
                                        "+no_defs")),
            erreur));
    }
#endif
};

QTEST_GUILESS_MAIN(TstSystemes)
#include "tst_systemes.moc"
