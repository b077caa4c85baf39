// Every input the GPS fuzz target found, and its seeds, through the same readers; and a track
// file that the reader must refuse without taking the machine.
#include "../../fuzz/essaigeo.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

namespace {

// The track imported onto a 1000 x 800 map placed north up at 2 E, 46 N, 0.0001 degree a pixel.
std::variant<Importation, QString> surpetitecarte(Etat& e, const TraceGps& t) {
    e.largeurcarte = 1000;
    e.hauteurcarte = 800;
    const Calage c = Calage::nord(0.0001, 2.0, 46.0, QStringLiteral("EPSG:4326"));
    QString erreur;
    const auto p = Projection::cree(c, erreur);
    return importe(e, t, *p, 255);
}

} // namespace

class TstPannesGeo : public QObject {
    Q_OBJECT
  private slots:
    void entreesdufuzz() {
        auto e = nouveletat();
        int n = 0;
        for (const char* sous : {"regressions/geo", "corpus/geo"}) {
            QDirIterator i(
                QDir::cleanPath(QStringLiteral(FIXTURES "/../../fuzz/") + QLatin1String(sous)),
                QDir::Files);
            while (i.hasNext()) {
                const QString source = i.next();
                QFile f(source);
                QVERIFY(f.open(QIODevice::ReadOnly));
                QVERIFY2(essaigeo(f.readAll(), *e), qPrintable(source));
                ++n;
            }
        }
        QVERIFY(n > 0);
    }

    // Entities that would swell to gigabytes are refused, not expanded.
    void entites() {
        QByteArray x = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY a \"aaaaaaaaaa\">\n";
        const char* noms = "abcdefghij";
        // Each entity is ten of the one before.
        for (int k = 1; k < 10; ++k) {
            x += QByteArray("<!ENTITY ") + noms[k] + " \"";
            for (int r = 0; r < 10; ++r)
                x += QByteArray("&") + noms[k - 1] + ";";
            x += "\">\n";
        }
        x += "]>\n<gpx><trk><trkseg><trkpt lat=\"1\" "
             "lon=\"2\"><ele>&j;</ele></trkpt></trkseg></trk></gpx>";
        const LectureGpx l = lisgpx(x);
        QVERIFY(std::holds_alternative<ErreurGeo>(l));
    }

    // GPS noise gone mad: a million points from one corner of the map to the other, a thousand
    // million pixels joined. Thinned to the route's table, every kept point on the map, in the
    // time of the points (ranks passed over are never walked).
    void vaetvient() {
        TraceGps t;
        SegmentGps s(1'000'000);
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i].lat = i % 2 ? 45.9201 : 45.9999;
            s[i].lon = i % 2 ? 2.0999 : 2.0001;
        }
        t.nbpoints = std::ssize(s);
        t.segments.push_back(std::move(s));
        auto e = nouveletat();
        const auto r = surpetitecarte(*e, t);
        QVERIFY(std::holds_alternative<Importation>(r));
        QVERIFY(std::get<Importation>(r).pixels > 900'000'000LL);
        QCOMPARE(e->nbpt, MAXPT - 1);
        for (int i = 0; i <= e->nbpt; ++i)
            QVERIFY(e->ptx[i] >= 1 && e->ptx[i] <= 999 && e->pty[i] >= 1 && e->pty[i] <= 799);
        QCOMPARE(e->ptx[e->nbpt], 999);
    }

    // A huge track spanning the Earth, on the small map: cut down to what lies on it, quickly.
    void tourdumonde() {
        TraceGps t;
        SegmentGps s;
        for (int i = 0; i <= 3600; ++i) {
            PointGps p;
            p.lon = -180 + i * 0.1;
            p.lat = 45.96 + 40 * std::sin((p.lon - 2.05) * 0.1); // across the map at 2.05 E
            s.push_back(p);
        }
        t.nbpoints = std::ssize(s);
        t.segments.push_back(s);
        auto e = nouveletat();
        const auto r = surpetitecarte(*e, t);
        QVERIFY(std::holds_alternative<Importation>(r));
        const Importation& i = std::get<Importation>(r);
        QVERIFY(i.hors > 0.99 * i.longueur);
        QCOMPARE(i.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstPannesGeo)
#include "tst_pannesgeo.moc"
