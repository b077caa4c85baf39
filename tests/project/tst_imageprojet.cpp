// The picture a project records: written only where the file's name could not tell, read from
// ahead of the first key, and invisible to the reader of the 22 sections.
#include "project/imageprojet.h"
#include "project/langue.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::unique_ptr<Etat> projet(const QTemporaryDir& d, const QString& carte) {
    auto e = nouveletat();
    // The window's start-up film, as a map load leaves it.
    cipsdepart(*e);
    filmdepart(*e);
    e->bordnb = QStringLiteral("30");
    e->dossiercarte = d.path() + u'/';
    e->fichiercarte = carte;
    e->fichierparam = carte.section(u'.', 0, 0) + QStringLiteral(".vlp");
    e->nbpt = 1;
    e->ptx[0] = 10, e->pty[0] = 20, e->ptcoul[0] = 255;
    e->ptx[1] = 11, e->pty[1] = 20, e->ptcoul[1] = 255;
    return e;
}

void touche(const QTemporaryDir& d, const QString& nom) {
    QFile f(d.filePath(nom));
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TstImageProjet : public QObject {
    Q_OBJECT

  private slots:
    void ecrit_data() {
        QTest::addColumn<QString>("carte");
        QTest::addColumn<QStringList>("voisines"); // files beside the map
        QTest::addColumn<QString>("notee");
        QTest::addColumn<bool>("sien"); // the file reads as the map's own
        QTest::newRow("x.bmp") << "x.bmp" << QStringList{"x.jpg"} << "" << true;
        QTest::newRow("majuscules") << "X.BMP" << QStringList{} << "" << true;
        QTest::newRow("jpeg") << "x.jpg" << QStringList{} << "x.jpg" << true;
        QTest::newRow("png a cote du bmp") << "x.png" << QStringList{"x.bmp"} << "x.png" << true;
        QTest::newRow("bmp a point seul") << "x.etape.bmp" << QStringList{} << "" << true;
        QTest::newRow("bmp a point et x.bmp")
            << "x.etape.bmp" << QStringList{"x.bmp"} << "x.etape.bmp" << true;
        // Not recorded, since the line would start the 22 sections; such a file then reads as
        // another picture's, which asks before a save: no harm done.
        QTest::newRow("nom de cle") << "[CHEMIN]" << QStringList{} << "" << false;
    }
    // The section, when there is one, is the only difference: the rest is the 22 sections as
    // the same project without it writes them, and the reader takes both alike.
    void ecrit() {
        QFETCH(QString, carte);
        QFETCH(QStringList, voisines);
        QFETCH(QString, notee);
        QFETCH(bool, sien);
        QTemporaryDir d;
        for (const QString& v : voisines)
            touche(d, v);
        const auto e = projet(d, carte);
        QCOMPARE(imagenotee(*e), notee);
        const QByteArray octets = ecrisparametres(*e);
        auto sans = projet(d, carte);
        sans->fichiercarte = imagepardefaut(sans->fichierparam);
        const QByteArray attendu =
            (notee.isEmpty() ? QByteArray() : "[IMAGE]\r\n" + notee.toLatin1() + "\r\n") +
            ecrisparametres(*sans);
        QCOMPARE(octets, attendu);
        QVERIFY(octets.contains("\r\n[CHEMIN]\r\n") || octets.startsWith("[CHEMIN]\r\n"));
        const Lecture l = lisparametres(octets, 25);
        const auto* p = std::get_if<Parametres>(&l);
        QVERIFY2(p, p ? "" : qPrintable(std::get<ErreurLecture>(l).message));
        QCOMPARE(p->points.size(), size_t(2));
        QCOMPARE(p->points[1].x, 11);
        const Appartenance a = imageduprojet(octets, e->fichierparam, e->dossiercarte);
        QCOMPARE(!a.autre(carte), sien);
    }

    void lit_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<bool>("xbmp"); // x.bmp lies beside the file
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("carte");
        QTest::addColumn<bool>("autre");
        const QByteArray v150 = "[CHEMIN]\r\n1\t2\t255\t0\r\n";
        const QByteArray jpg = "[IMAGE]\r\nx.jpg\r\n" + v150;
        QTest::newRow("sans, x.bmp la") << v150 << true << "x.bmp"
                                        << "x.jpg" << true;
        QTest::newRow("sans, pour x.bmp") << v150 << true << "x.bmp"
                                          << "x.bmp" << false;
        QTest::newRow("sans, bmp inconnu") << v150 << false << ""
                                           << "x.etape.bmp" << false;
        QTest::newRow("sans, pour un jpeg") << v150 << false << ""
                                            << "x.jpg" << true;
        QTest::newRow("note, meme") << jpg << true << "x.jpg"
                                    << "X.JPG" << false;
        QTest::newRow("note, autre") << jpg << true << "x.jpg"
                                     << "x.bmp" << true;
        QTest::newRow("apres CHEMIN") << v150 + "[IMAGE]\r\nx.jpg\r\n"
                                      << true << "x.bmp"
                                      << "x.bmp" << false;
        QTest::newRow("vide") << QByteArray("[IMAGE]\r\n\r\n") + v150 << false << ""
                              << "x.bmp" << false;
        QTest::newRow("fin de fichier") << QByteArray("[IMAGE]") << false << ""
                                        << "x.png" << true;
    }
    void lit() {
        QFETCH(QByteArray, octets);
        QFETCH(bool, xbmp);
        QFETCH(QString, image);
        QFETCH(QString, carte);
        QFETCH(bool, autre);
        QTemporaryDir d;
        if (xbmp) touche(d, QStringLiteral("x.bmp"));
        const Appartenance a = imageduprojet(octets, QStringLiteral("x.vlp"), d.path() + u'/');
        QCOMPARE(a.image, image);
        QCOMPARE(a.autre(carte), autre);
    }

    // Nothing to read is nobody's project.
    void absent() {
        QTemporaryDir d;
        const auto e = projet(d, QStringLiteral("x.jpg"));
        QVERIFY(!imagedufichier(*e).lisible);
        QVERIFY(!imagedufichier(*e).autre(e->fichiercarte));
    }
};

QTEST_MAIN(TstImageProjet)
#include "tst_imageprojet.moc"
