#include "aideprojet.h"
#include "aidevideo.h"
#include "export/bmp.h"
#include "export/film.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList bitmaps(const QString& dossier) {
    return QDir(dossier).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
}

} // namespace

class TstFilm : public QObject {
    Q_OBJECT

  private slots:
    void cadence_data() {
        QTest::addColumn<int>("entree");
        QTest::addColumn<int>("ips");
        QTest::addColumn<int>("attendu");
        const int rates[] = {10, 12, 15, 20, 24, 25, 30};
        for (int i = 0; i < 7; ++i)
            QTest::addRow("entree %d", i) << i << 17 << rates[i];
        QTest::newRow("texte tape") << -1 << 17 << 17;
    }
    void cadence() {
        QFETCH(int, entree);
        QFETCH(int, ips);
        QFETCH(int, attendu);
        auto e = nouveletat();
        e->cipsindex = entree;
        e->ips = ips;
        QCOMPARE(ipsvideo(*e), attendu);
    }

    void suiteDeCentCinquante() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 150);
        const auto prefixe = prefixesuite(tmp.filePath(QStringLiteral("paris.bmp")));
        QVERIFY(prefixe);
        ExportSuite suite(*e, s, *prefixe);
        QCOMPARE(suite.total(), 150);
        while (!suite.fini())
            QCOMPARE(suite.etape(), std::nullopt);
        QCOMPARE(suite.faites(), 150);
        const QStringList l = bitmaps(tmp.path());
        QCOMPARE(l.size(), 150);
        QCOMPARE(l.first(), QStringLiteral("pari0001.bmp"));
        QCOMPARE(l.last(), QStringLiteral("pari0150.bmp"));
        QCOMPARE(e->tl, 150);
        QCOMPARE(e->wtl, QStringLiteral("06:00"));
        // Each file holds its own frame: the last one shows the whole route at the end offsets.
        montreimage(*e, s, 150);
        QCOMPARE(QImage(tmp.filePath(l.last())).convertToFormat(QImage::Format_RGB32),
                 s.vue.image());
    }

    void suiteVide() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 10);
        e->tlmax = 0;
        ExportSuite suite(*e, s, tmp.filePath(QStringLiteral("vue")));
        QVERIFY(suite.fini());
        QCOMPARE(suite.etape(), std::nullopt);
        QVERIFY(bitmaps(tmp.path()).isEmpty());
    }

    void suiteDansUnDossierAbsent() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 10);
        ExportSuite suite(*e, s, tmp.filePath(QStringLiteral("absent/pari")));
        const auto erreur = suite.etape();
        QVERIFY(erreur);
        QVERIFY2(erreur->contains(QStringLiteral("pari0001.bmp")), qPrintable(*erreur));
        QVERIFY(suite.fini());
        QCOMPARE(suite.faites(), 0);
    }

    void videoEgaleLaSuite_data() {
        QTest::addColumn<int>("codec");
        QTest::newRow("rgb") << static_cast<int>(Codec::rgb);
        QTest::newRow("ffv1") << static_cast<int>(Codec::ffv1);
    }
    void videoEgaleLaSuite() {
        QFETCH(int, codec);
        constexpr int N = 12;
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, N);
        ExportSuite suite(*e, s, tmp.filePath(QStringLiteral("img")));
        while (!suite.fini())
            QCOMPARE(suite.etape(), std::nullopt);
        const QString chemin = tmp.filePath(QStringLiteral("film.avi"));
        ExportVideo video(*e, s);
        QCOMPARE(video.ouvre(chemin, OptionsVideo{static_cast<Codec>(codec)}), std::nullopt);
        QCOMPARE(video.total(), N + 1);
        while (!video.fini())
            QCOMPARE(video.etape(), std::nullopt);
        QCOMPARE(video.ferme(), std::nullopt);
        QCOMPARE(e->tl, N);

        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.images.size(), N + 1);
        for (int n = 1; n <= N; ++n) {
            const QImage bmp(
                tmp.filePath(QStringLiteral("img%1.bmp").arg(n, 4, 10, QLatin1Char('0'))));
            QVERIFY2(r.images[n] == bmp.convertToFormat(QImage::Format_RGB32),
                     qPrintable(QString::number(n)));
        }
        montreimage(*e, s, 0);
        QCOMPARE(r.images[0], s.vue.image()); // frame 0 is in the video, not in the sequence
        QVERIFY(r.images[0] != r.images[N]);
    }

    void videoDeCentCinquanteEtUne() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 150);
        const QString chemin = fichiervideo(tmp.filePath(QStringLiteral("Film.AVI")));
        ExportVideo video(*e, s);
        QCOMPARE(video.ouvre(chemin, OptionsVideo{Codec::mjpeg}), std::nullopt);
        while (!video.fini())
            QCOMPARE(video.etape(), std::nullopt);
        QCOMPARE(video.ferme(), std::nullopt);
        QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("film.avi"))));
        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.declarees, 151);
        QCOMPARE(r.images.size(), 151);
        QCOMPARE(r.ipsnum, 25);
        QCOMPARE(r.ipsden, 1);
        QCOMPARE(r.largeur, VUEL);
        QCOMPARE(r.hauteur, VUEH);
    }

    void videoArreteeALImageDix() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 150);
        const QString chemin = tmp.filePath(QStringLiteral("arret.avi"));
        ExportVideo video(*e, s);
        QCOMPARE(video.ouvre(chemin, OptionsVideo{}), std::nullopt);
        while (video.faites() < 10)
            QCOMPARE(video.etape(), std::nullopt);
        QCOMPARE(video.ferme(), std::nullopt);
        QVERIFY(video.fini());
        QCOMPARE(e->tl, 9); // the time line stays on the last frame written
        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.declarees, 10);
        QCOMPARE(r.images.size(), 10);
    }
};

QTEST_GUILESS_MAIN(TstFilm)
#include "tst_film.moc"
