// GPS files made to take the machine: what would make the reading time grow faster than the file
// is refused at its line, a file of blanks is read in little memory, and a well-formed file with
// every kind of markup reads as before.
#include "aidepannes.h"

#include "geo/gpx.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray gpx(const QByteArray& corps) {
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\">\n<trk><trkseg>\n" + corps +
           "<trkpt lat=\"46.02\" lon=\"2.02\"/>\n</trkseg></trk></gpx>\n";
}

QByteArray attributs(int n) {
    QByteArray a;
    for (int i = 0; i < n; ++i)
        a += " a" + QByteArray::number(i) + "=\"1\"";
    return a;
}

} // namespace

class TstGpxHostile : public QObject {
    Q_OBJECT

  private slots:
    // Past the limits the reader is stopped at the line at fault, quickly whatever the file's size.
    void refus_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<int>("ligne");
        QTest::newRow("40000 attributes on a point")
            << gpx("<trkpt lat=\"46.01\" lon=\"2.01\"" + attributs(40000) + "/>\n") << 4;
        QTest::newRow("200000 attributes on an extension")
            << gpx("\n<trkpt lat=\"46.01\" lon=\"2.01\"><extensions><x" + attributs(200000) +
                   "/></extensions></trkpt>\n")
            << 5;
        QByteArray espaces = "<trkpt lat=\"46.01\" lon=\"2.01\"><extensions>\n";
        for (int i = 0; i < 20000; ++i)
            espaces += "<a xmlns:n" + QByteArray::number(i) + "=\"u\">";
        QTest::newRow("20000 nested namespaces") << gpx(espaces) << 5;
        QTest::newRow("500000 nested elements")
            << gpx("<trkpt lat=\"46.01\" lon=\"2.01\"><extensions>" +
                   QByteArray(3 * 500000, 'x').replace("xxx", "<a>") + "\n</extensions></trkpt>\n")
            << 4;
    }
    void refus() {
        QFETCH(QByteArray, octets);
        QFETCH(int, ligne);
        QElapsedTimer t;
        t.start();
        const LectureGpx l = lisgpx(octets);
        qInfo("%lld bytes refused in %lld ms", static_cast<long long>(octets.size()), t.elapsed());
        QVERIFY(std::holds_alternative<ErreurGeo>(l));
        const ErreurGeo& e = std::get<ErreurGeo>(l);
        qInfo("%s", qPrintable(e.message));
        QCOMPARE(e.ligne, ligne);
        QVERIFY(e.message.contains(QStringLiteral("(ligne %1)").arg(ligne)));
    }

    // What a GPX may hold and the guard must read through as the XML reader does: comments and
    // CDATA with markup in them, a document type whose subset holds quotes and '>', attributes
    // with '>' in their values, namespaces, long runs of blanks in every place they may stand.
    void balisage() {
        const QByteArray blancs = QByteArray(6000, ' ') + QByteArray(3000, '\n');
        const QByteArray x =
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE gpx [\n<!-- it's a '>' -->\n<!ENTITY e \"4\">\n<!ATTLIST gpx a CDATA "
            "'>'>\n]>\n"
            "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
            "xmlns:g=\"urn:g\">\n<!-- <trkpt lat=\"1\" lon=\"1\"/> -->\n<metadata><desc><![CDATA["
            "<trkpt lat=\"2\" lon=\"2\"/>]]></desc></metadata>\n<trk><name a=\">\">x</name>"
            "<trkseg>" +
            blancs + "<trkpt" + blancs + "lat=\"" + blancs + "46.5" + blancs +
            "\" lon=\"2.5\"><ele>" + blancs + "1&e;0" + blancs +
            "</ele><g:x g:y=\"1\"/></trkpt>\n<?pi '>'?>\n"
            "<trkpt lat=\"46.6\" lon=\"2.6\"/></trkseg></trk></gpx>" +
            blancs;
        const LectureGpx l = lisgpx(x);
        const auto* err = std::get_if<ErreurGeo>(&l);
        QVERIFY2(!err, err ? qPrintable(err->message) : "");
        const TraceGps& t = std::get<TraceGps>(l);
        QCOMPARE(t.nbpoints, 2);
        QCOMPARE(t.segments[0][0].lat, 46.5);
        QCOMPARE(t.segments[0][0].alt, 140.0);
        QVERIFY(t.segments[0][0].aalt);
        QCOMPARE(t.segments[0][1].lon, 2.6);
        // A fault after the runs of blanks names the file's own line.
        QByteArray faux = x;
        faux.replace("lon=\"2.6\"", "lon=\"z\"");
        const LectureGpx f = lisgpx(faux);
        QVERIFY(std::holds_alternative<ErreurGeo>(f));
        const int ligne = static_cast<int>(faux.left(faux.indexOf("lon=\"z\"")).count('\n')) + 1;
        QCOMPARE(std::get<ErreurGeo>(f).ligne, ligne);
    }

    // A file of blanks is read as it goes: the memory does not follow its size.
    void blancs() {
        QTemporaryDir d;
        const QString chemin = d.filePath(QStringLiteral("blancs.gpx"));
        {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<?xml version=\"1.0\"?>\n<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/>");
            const QByteArray bloc = QByteArray(1 << 20, ' ').replace(0, 1, "\n");
            for (int k = 0; k < 96; ++k)
                f.write(bloc);
            f.write("<trkpt lat=\"1.5\" lon=\"2.5\"/></trkseg></trk></gpx>\n");
        }
        const Mesure m = mesure([&] {
            const LectureGpx l = chargegpx(chemin);
            const auto* t = std::get_if<TraceGps>(&l);
            return QByteArray::number(t ? t->nbpoints : -1);
        });
        QVERIFY(m.fini);
        QCOMPARE(m.sortie, QByteArray("2"));
        qInfo("96 MB of blanks: peak growth %lld MiB", m.croissancemio);
#if defined(__SANITIZE_ADDRESS__)
        // The address checker keeps freed blocks in quarantine (256 MB by default): only the
        // plain build measures what the reader itself holds.
        QSKIP("memory measured in the build without the address checker");
#endif
        QVERIFY2(m.croissancemio < 48, qPrintable(QString::number(m.croissancemio)));
    }
};

QTEST_MAIN(TstGpxHostile)
#include "tst_gpxhostile.moc"
