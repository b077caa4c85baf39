#include "aidevideo.h"
#include "export/video.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// A smooth picture, different for each k, whose rows and columns cannot be confused.
Surface motif(int k, int l = VUEL, int h = VUEH) {
    Surface s(l, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x)
            s.setpixel(x, y, (x * 255 / l) | ((y * 255 / h) << 8) | (((k * 60) & 255) << 16));
    return s;
}

// Mean difference per channel between two pictures of the same size.
double ecart(const QImage& a, const QImage& b) {
    double somme = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            somme += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    return somme / (3.0 * a.width() * a.height());
}

bool sansperte(Codec c) {
    return c == Codec::rgb || c == Codec::ffv1 || c == Codec::huffyuv || c == Codec::utvideo;
}

} // namespace

class TstVideo : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;

  private slots:
    void listeDesCodecs() {
        const QList<CodecVideo> l = codecsvideo();
        QVERIFY(!l.isEmpty());
        QCOMPARE(l.first().codec, Codec::rgb); // the default comes first
        for (const CodecVideo& c : l) {
            QCOMPARE(codecdepuisnom(c.ligne), std::optional<Codec>(c.codec));
            QVERIFY(!c.nom.isEmpty());
        }
        QCOMPARE(codecdepuisnom(QStringLiteral("divx")), std::nullopt);
    }

    void chaqueCodecRelu_data() {
        QTest::addColumn<int>("codec");
        for (const CodecVideo& c : codecsvideo())
            QTest::newRow(qPrintable(c.ligne)) << static_cast<int>(c.codec);
    }
    void chaqueCodecRelu() {
        QFETCH(int, codec);
        OptionsVideo o;
        o.codec = static_cast<Codec>(codec);
        o.cle = 2; // also exercises inter frames where the codec has them
        const QString chemin = tmp.filePath(QStringLiteral("c%1.avi").arg(codec));
        {
            EcritureVideo v;
            QCOMPARE(v.ouvre(chemin, 25, o), std::nullopt);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(v.ecrit(motif(k)), std::nullopt);
            QCOMPARE(v.ferme(), std::nullopt);
            QVERIFY(!v.ouverte());
        }
        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.largeur, VUEL);
        QCOMPARE(r.hauteur, VUEH);
        QCOMPARE(r.ipsnum, 25);
        QCOMPARE(r.ipsden, 1);
        QCOMPARE(r.declarees, 4);
        QCOMPARE(r.images.size(), 4);
        for (int k = 0; k < 4; ++k) {
            const QImage attendu = motif(k).image();
            if (sansperte(o.codec))
                QCOMPARE(r.images[k], attendu); // upright and exact
            else
                QVERIFY2(ecart(r.images[k], attendu) < 6, qPrintable(QString::number(k)));
        }
    }

    void rgbStockeEnBasDAbord() {
        // Players expect an uncompressed AVI frame laid out as a bitmap: last row first, and the
        // header height positive.
        const QString chemin = tmp.filePath(QStringLiteral("bas.avi"));
        {
            EcritureVideo v;
            QCOMPARE(v.ouvre(chemin, 10, OptionsVideo{}), std::nullopt);
            QCOMPARE(v.ecrit(motif(0)), std::nullopt);
        }
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray o = f.readAll();
        const qsizetype strf = o.indexOf("strf");
        QVERIFY(strf > 0);
        const auto l32 = [&](qsizetype i) {
            return qFromLittleEndian<qint32>(reinterpret_cast<const uchar*>(o.constData()) + i);
        };
        QCOMPARE(l32(strf + 8 + 4), VUEL);
        QCOMPARE(l32(strf + 8 + 8), VUEH);
        const qsizetype donnees = o.indexOf("00dc", o.indexOf("movi"));
        QVERIFY(donnees > 0);
        // First stored pixel = bottom-left: blue 0, green of the last row, red 0.
        QCOMPARE(static_cast<uchar>(o[donnees + 8]), uchar(0));
        QCOMPARE(static_cast<uchar>(o[donnees + 9]), uchar((VUEH - 1) * 255 / VUEH));
    }

    void fermeeParLeDestructeur() {
        const QString chemin = tmp.filePath(QStringLiteral("arret.avi"));
        {
            EcritureVideo v;
            QCOMPARE(v.ouvre(chemin, 12, OptionsVideo{Codec::ffv1}), std::nullopt);
            for (int k = 0; k < 5; ++k)
                QCOMPARE(v.ecrit(motif(k)), std::nullopt);
        }
        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.declarees, 5);
        QCOMPARE(r.images.size(), 5);
        QCOMPARE(r.ipsnum, 12);
    }

    void imageDeMauvaiseTaille() {
        const QString chemin = tmp.filePath(QStringLiteral("taille.avi"));
        EcritureVideo v;
        QCOMPARE(v.ouvre(chemin, 25, OptionsVideo{}), std::nullopt);
        QCOMPARE(v.ecrit(motif(0)), std::nullopt);
        QCOMPARE(v.ecrit(motif(1, 100, 100)), ERRCREATION);
        QVERIFY(!v.ouverte());
        QCOMPARE(v.ecrit(motif(2)), ERRCREATION);
        QCOMPARE(relis(chemin).images.size(), 1); // what was written before stays playable
    }

    void echecs() {
        EcritureVideo v;
        const QString absent = tmp.filePath(QStringLiteral("absent/film.avi"));
        // A missing folder is named as such.
        const std::optional<QString> m = v.ouvre(absent, 25, OptionsVideo{});
        QVERIFY(m && m->contains(QStringLiteral("n'existe pas")));
        QVERIFY(!v.ouverte());
        QVERIFY(!QFile::exists(absent));
        QCOMPARE(v.ouvre(tmp.filePath(QStringLiteral("zero.avi")), 0, OptionsVideo{}), ERRFLUX);
        QVERIFY(!v.ouverte());
        // An odd size cannot be subsampled for H.264.
        if (codecdepuisnom(QStringLiteral("h264")))
            QCOMPARE(v.ouvre(tmp.filePath(QStringLiteral("impair.avi")), 25,
                             OptionsVideo{Codec::h264}, 719, 575),
                     ERRCOMPRESSION);
        QVERIFY(!v.ouverte());
    }

    void disquePlein() {
        // Whatever step meets the full disk, the message says the disk is full.
        EcritureVideo v;
        std::optional<QString> erreur = v.ouvre(QStringLiteral("/dev/full"), 25, OptionsVideo{});
        for (int k = 0; k < 3 && !erreur; ++k)
            erreur = v.ecrit(motif(k));
        if (!erreur) erreur = v.ferme();
        QVERIFY(erreur && erreur->contains(QStringLiteral("le disque est plein")));
        QVERIFY(!v.ouverte());
    }
};

QTEST_GUILESS_MAIN(TstVideo)
#include "tst_video.moc"
