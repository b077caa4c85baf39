#include "export/bmp.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

Surface bigarree(int l, int h) {
    Surface s(l, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x)
            s.setpixel(x, y, (x * 7 + y * 13) ^ (x << 9) ^ (y << 17));
    return s;
}

quint32 l32(const QByteArray& o, int i) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(o.constData()) + i);
}
quint16 l16(const QByteArray& o, int i) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(o.constData()) + i);
}

} // namespace

class TstBmp : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;

  private slots:
    void entetes_data() {
        QTest::addColumn<int>("largeur");
        QTest::addColumn<int>("hauteur");
        QTest::addColumn<int>("ligne");
        QTest::newRow("vue") << VUEL << VUEH << VUEL * 3;
        QTest::newRow("lignes completees") << 7 << 3 << 24;
        QTest::newRow("un pixel") << 1 << 1 << 4;
    }
    void entetes() {
        QFETCH(int, largeur);
        QFETCH(int, hauteur);
        QFETCH(int, ligne);
        const Surface s = bigarree(largeur, hauteur);
        const QByteArray o = octetsbmp(s.image());
        QCOMPARE(o.size(), 54 + ligne * hauteur);
        QCOMPARE(o.left(2), QByteArray("BM"));
        QCOMPARE(l32(o, 2), quint32(o.size()));
        QCOMPARE(l32(o, 10), 54u);
        QCOMPARE(l32(o, 14), 40u);
        QCOMPARE(l32(o, 18), quint32(largeur));
        QCOMPARE(l32(o, 22), quint32(hauteur)); // positive: bottom-up
        QCOMPARE(l16(o, 26), 1);
        QCOMPARE(l16(o, 28), 24);
        QCOMPARE(l32(o, 30), 0u); // BI_RGB
        QCOMPARE(l32(o, 34), quint32(ligne * hauteur));
        // The first stored row is the bottom one, blue first; the padding is zero.
        const QRgb bas = s.image().pixel(0, hauteur - 1);
        QCOMPARE(uchar(o[54]), uchar(qBlue(bas)));
        QCOMPARE(uchar(o[55]), uchar(qGreen(bas)));
        QCOMPARE(uchar(o[56]), uchar(qRed(bas)));
        for (int i = largeur * 3; i < ligne; ++i)
            QCOMPARE(o[54 + i], '\0');
        // Any bitmap reader gets the same pixels back.
        const QImage relue = QImage::fromData(o, "BMP").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(relue, s.image());
    }

    void ecritEtRemplace() {
        const QString chemin = tmp.filePath(QStringLiteral("vue.bmp"));
        QCOMPARE(ecritbmp(bigarree(5, 5), chemin), std::nullopt);
        const Surface s = bigarree(VUEL, VUEH);
        QCOMPARE(ecritbmp(s, chemin), std::nullopt);
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), octetsbmp(s.image()));
        QImage relue(chemin);
        QCOMPARE(relue.size(), QSize(VUEL, VUEH));
        QCOMPARE(relue.convertToFormat(QImage::Format_RGB32), s.image());
    }

    void echecsNommentLeFichier_data() {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("raison");
        QTest::newRow("dossier absent")
            << tmp.filePath(QStringLiteral("absent/pari0001.bmp")) << QStringLiteral("dossier");
        QTest::newRow("dossier qui est un fichier")
            << tmp.filePath(QStringLiteral("fichier/pari0001.bmp")) << QStringLiteral("dossier");
        QTest::newRow("disque plein")
            << QStringLiteral("/dev/full") << QStringLiteral("disque est plein");
    }
    void echecsNommentLeFichier() {
        QFETCH(QString, chemin);
        QFETCH(QString, raison);
        QFile bouchon(tmp.filePath(QStringLiteral("fichier")));
        QVERIFY(bouchon.open(QIODevice::WriteOnly));
        bouchon.close();
        const std::optional<QString> erreur = ecritbmp(bigarree(VUEL, VUEH), chemin);
        QVERIFY(erreur);
        QVERIFY2(erreur->contains(chemin), qPrintable(*erreur));
        QVERIFY2(erreur->contains(raison), qPrintable(*erreur));
        QVERIFY(!QFileInfo(chemin).isFile()); // nothing left behind, the device not replaced
    }

    void prefixes_data() {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("prefixe");
        QTest::newRow("coupe a quatre") << "/films/paris.bmp"
                                        << "/films/pari";
        QTest::newRow("sans extension") << "/films/vue"
                                        << "/films/vue";
        QTest::newRow("coupe au point") << "/films/a.b"
                                        << "/films/a";
        QTest::newRow("points du dossier") << "/f.ilms/vue.x.y"
                                           << "/f.ilms/vue";
        QTest::newRow("point en tete") << "/films/.x"
                                       << "";
        QTest::newRow("sans nom") << "/films/"
                                  << "";
    }
    void prefixes() {
        QFETCH(QString, chemin);
        QFETCH(QString, prefixe);
        QCOMPARE(prefixesuite(chemin).value_or(QString()), prefixe);
    }

    void numeros() {
        QCOMPARE(fichiersuite(QStringLiteral("/f/pari"), 7), QStringLiteral("/f/pari0007.bmp"));
        QCOMPARE(fichiersuite(QStringLiteral("/f/pari"), 150), QStringLiteral("/f/pari0150.bmp"));
        QCOMPARE(fichiersuite(QStringLiteral("a"), 2900), QStringLiteral("a2900.bmp"));
    }

    void bitmapUnique_data() {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("fichier");
        QTest::newRow("autre extension") << "/f/carte.jpg"
                                         << "/f/carte.bmp";
        QTest::newRow("sans extension") << "/f/carte"
                                        << "/f/carte.bmp";
        QTest::newRow("deux points") << "/f/carte.a.b"
                                     << "/f/carte.bmp";
        QTest::newRow("sans nom") << "/f/"
                                  << "";
    }
    void bitmapUnique() {
        QFETCH(QString, chemin);
        QFETCH(QString, fichier);
        QCOMPARE(fichierbmp(chemin).value_or(QString()), fichier);
    }

    void video_data() {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("fichier");
        QTest::newRow("majuscules") << "/Mes Films/Film.AVI"
                                    << "/Mes Films/film.avi";
        QTest::newRow("autre extension") << "/F/film.mp4"
                                         << "/F/film.mp4.avi";
        QTest::newRow("sans extension") << "/F/Film"
                                        << "/F/film.avi";
        QTest::newRow("deja bonne") << "/F/film.avi"
                                    << "/F/film.avi";
    }
    void video() {
        QFETCH(QString, chemin);
        QFETCH(QString, fichier);
        QCOMPARE(fichiervideo(chemin), fichier);
    }
};

QTEST_GUILESS_MAIN(TstBmp)
#include "tst_bmp.moc"
