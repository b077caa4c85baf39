#include "map/image.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray le32(quint32 v) {
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

// The 54-byte header of a 24-bit bitmap of w x h, as a file would start.
QByteArray entetebmp(qint32 w, qint32 h) {
    const quint32 ligne = (w * 24u + 31) / 32 * 4;
    QByteArray b = "BM" + le32(54 + ligne * h) + le32(0) + le32(54);
    b += le32(40) + le32(w) + le32(h);
    b += QByteArray::fromHex("01001800") + le32(0) + le32(ligne * h) + le32(2835) + le32(2835) +
         le32(0) + le32(0);
    return b;
}

// A PNG signature and header chunk announcing w x h, with a correct checksum.
QByteArray entetepng(quint32 w, quint32 h) {
    QByteArray corps = "IHDR";
    QByteArray d(8, 0);
    qToBigEndian(w, d.data());
    qToBigEndian(h, d.data() + 4);
    corps += d + QByteArray::fromHex("0802000000");
    quint32 crc = 0xffffffff;
    for (const char c : corps) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    QByteArray l(4, 0), s(4, 0);
    qToBigEndian(13u, l.data());
    qToBigEndian(~crc, s.data());
    // An empty data chunk after the header, so that the reader reaches the end of the header.
    return QByteArray::fromHex("89504e470d0a1a0a") + l + corps + s +
           QByteArray::fromHex("0000000049444154") + QByteArray::fromHex("35af061e");
}

// An uncompressed little-endian TIFF of w x h, `canaux` samples of `bits` bits a pixel, in one
// strip: the form in which GIS tools write GeoTIFF maps.
QByteArray tiff(int w, int h, int canaux, int bits, const QByteArray& pixels) {
    QByteArray o("II*\0", 4);
    const auto u16 = [&](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        o += b;
    };
    const quint32 nb = 9, ifd = 8, extra = ifd + 2 + nb * 12 + 4, donnees = extra + 8;
    o += le32(ifd);
    u16(nb);
    const auto entree = [&](quint16 tag, quint16 type, quint32 n, quint32 v) {
        u16(tag);
        u16(type);
        o += le32(n);
        if (type == 3 && n == 1) {
            u16(static_cast<quint16>(v));
            u16(0);
        } else {
            o += le32(v);
        }
    };
    entree(256, 3, 1, w);
    entree(257, 3, 1, h);
    if (canaux == 1)
        entree(258, 3, 1, bits);
    else
        entree(258, 3, 3, extra);
    entree(259, 3, 1, 1);
    entree(262, 3, 1, canaux == 1 ? 1 : 2);
    entree(273, 4, 1, donnees);
    entree(277, 3, 1, canaux);
    entree(278, 3, 1, h);
    entree(279, 4, 1, static_cast<quint32>(pixels.size()));
    o += le32(0);
    for (int k = 0; k < 4; ++k)
        u16(static_cast<quint16>(bits));
    return o + pixels;
}

QString ecrit(const QTemporaryDir& d, const QString& nom, const QByteArray& contenu) {
    QFile f(d.filePath(nom));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(contenu);
    return f.fileName();
}

} // namespace

class TstImage : public QObject {
    Q_OBJECT
    QTemporaryDir dossier;

  private slots:
    void chargeExactement_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("bmp") << "carte.bmp" << QByteArray("BMP");
        QTest::newRow("png") << "carte.png" << QByteArray("PNG");
        QTest::newRow("sans extension") << "carte" << QByteArray("PNG");
    }
    void chargeExactement() {
        QFETCH(QString, nom);
        QFETCH(QByteArray, format);
        QImage i(7, 5, QImage::Format_RGB888);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                i.setPixel(x, y, qRgb(x * 30, y * 50, 7));
        QVERIFY(i.save(dossier.filePath(nom), format.constData()));
        Surface s;
        QString erreur;
        QVERIFY(chargeimage(dossier.filePath(nom), s, erreur));
        QCOMPARE(s.largeur(), 7);
        QCOMPARE(s.hauteur(), 5);
        QCOMPARE(s.image().format(), QImage::Format_RGB32);
        QCOMPARE(s.pixel(6, 4), 0x07c8b4); // 0x00BBGGRR
        QCOMPARE(s.pixel(0, 0), 0x070000);
    }

    void refuseSansToucher_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("raison"); // a word of the message
        QImage i(40, 30, QImage::Format_RGB888);
        i.fill(Qt::red);
        QByteArray bmp;
        {
            QFile f(dossier.filePath("entier.bmp"));
            i.save(&f, "BMP");
            f.close();
            f.open(QIODevice::ReadOnly);
            bmp = f.readAll();
        }
        QTest::newRow("bmp tronqué") << "tronque.bmp" << bmp.left(bmp.size() / 2) << "tronqué";
        QTest::newRow("entête seul") << "entete.bmp" << bmp.left(54) << "tronqué";
        QTest::newRow("entête coupé") << "coupe.bmp" << bmp.left(20) << "lisible";
        QTest::newRow("texte renommé")
            << "texte.bmp" << QByteArray("Ceci est un texte.\r\n") << "lisible";
        QTest::newRow("vide") << "vide.bmp" << QByteArray() << "lisible";
        QTest::newRow("bmp 100000 x 100000")
            << "geant.bmp" << entetebmp(100000, 100000) + QByteArray(64, 0) << "trop grande";
        QTest::newRow("png 100000 x 100000")
            << "geant.png" << entetepng(100000, 100000) << "trop grande";
    }
    void refuseSansToucher() {
        QFETCH(QString, nom);
        QFETCH(QByteArray, contenu);
        QFETCH(QString, raison);
        const QString chemin = ecrit(dossier, nom, contenu);
        QVERIFY(!chemin.isEmpty());
        Surface s(3, 2);
        s.setpixel(1, 1, 0x123456);
        QString erreur;
        QVERIFY(!chargeimage(chemin, s, erreur));
        QVERIFY2(erreur.contains(nom), qPrintable(erreur));
        QVERIFY2(erreur.contains(raison), qPrintable(erreur));
        QCOMPARE(s.largeur(), 3);
        QCOMPARE(s.pixel(1, 1), 0x123456);
    }
    // TIFF, which Qt does not read here, comes through GDAL: 8-bit colour as it is, 16-bit grey
    // scaled from its least to its largest sample; a file cut short is refused whole.
    void tiffs_data() {
        QTest::addColumn<int>("canaux");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<int>>("attendus"); // 0x00BBGGRR of pixels (0,0), (39,0), (39,29)
        QTest::newRow("couleur 8 bits") << 3 << 8 << QList<int>{0x000000, 0x0000ea, 0x1d00ea};
        QTest::newRow("gris 16 bits") << 1 << 16 << QList<int>{0x000000, 0xededed, 0xffffff};
    }
    void tiffs() {
        QFETCH(int, canaux);
        QFETCH(int, bits);
        QFETCH(QList<int>, attendus);
        const int w = 40, h = 30;
        QByteArray px;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (bits == 8) {
                    px += char(x * 6);
                    px += char(0);
                    px += char(y);
                } else {
                    QByteArray b(2, 0); // 1000 + 100 x + 10 y: 1000 to 5190
                    qToLittleEndian(quint16(1000 + 100 * x + 10 * y), b.data());
                    px += b;
                }
            }
        const QByteArray t = tiff(w, h, canaux, bits, px);
        Surface s;
        QString erreur;
        QVERIFY2(chargeimage(ecrit(dossier, "carte.tif", t), s, erreur), qPrintable(erreur));
        QCOMPARE(s.largeur(), w);
        QCOMPARE(s.hauteur(), h);
        QCOMPARE(s.pixel(0, 0), attendus[0]);
        QCOMPARE(s.pixel(39, 0), attendus[1]);
        QCOMPARE(s.pixel(39, 29), attendus[2]);
        Surface garde(3, 2);
        QVERIFY(!chargeimage(ecrit(dossier, "coupe.tif", t.left(t.size() / 2)), garde, erreur));
        QVERIFY2(erreur.contains("coupe.tif"), qPrintable(erreur));
        QCOMPARE(garde.largeur(), 3);
    }

    void fichierAbsent() {
        Surface s;
        QString erreur;
        QVERIFY(!chargeimage(dossier.filePath("absent.bmp"), s, erreur));
        QVERIFY(erreur.contains(QStringLiteral("absent.bmp")));
        QVERIFY(s.vide());
    }

    void filtre() {
        const QString f = filtreimages(QStringLiteral("Carte BMP|*.bmp"));
        QVERIFY2(f.startsWith(QStringLiteral("Carte BMP|*.bmp|Images|*.bmp;*.png;*.jpg;*.jpeg")),
                 qPrintable(f));
        QStringList motifs = f.section(QLatin1Char('|'), 3).split(QLatin1Char(';'));
        QVERIFY(motifs.size() >= QImageReader::supportedImageFormats().size());
        for (const QByteArray& qt : QImageReader::supportedImageFormats())
            QVERIFY(motifs.contains("*." + QString::fromLatin1(qt).toLower()));
        QVERIFY(motifs.contains("*.tif")); // GeoTIFF maps, through GDAL
        QCOMPARE(motifs.removeDuplicates(), 0);
        QVERIFY(filtreimages(QStringLiteral("Loupe BMP|*.bmp")).startsWith("Loupe BMP|*.bmp|"));
    }
};

QTEST_MAIN(TstImage)
#include "tst_image.moc"
