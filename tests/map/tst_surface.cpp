#include "map/surface.h"

#include <QTest>

class TstSurface : public QObject {
    Q_OBJECT
  private slots:
    void pixelsRelusTelsQuEcrits_data() {
        QTest::addColumn<int>("couleur");
        QTest::newRow("noir") << 0;
        QTest::newRow("rouge") << 0x0000ff;
        QTest::newRow("bleu") << 0xff0000;
        QTest::newRow("quelconque") << 0x123456;
        QTest::newRow("blanc") << 0xffffff;
    }
    void pixelsRelusTelsQuEcrits() {
        QFETCH(int, couleur);
        Surface s(10, 10);
        s.setpixel(3, 4, couleur);
        QCOMPARE(s.pixel(3, 4), couleur);
    }
    void horsSurface() {
        Surface s(10, 10);
        s.setpixel(-1, 0, 0xffffff); // ignored
        s.setpixel(10, 0, 0xffffff);
        QCOMPARE(s.pixel(-1, 0), AUCUNECOULEUR);
        QCOMPARE(s.pixel(0, 10), AUCUNECOULEUR);
        QCOMPARE(s.pixel(9, 9), 0);
    }
    void couleurSystemeResolueAuDessin() {
        Surface s(2, 2);
        s.remplit(clWindow);
        QCOMPARE(s.pixel(0, 0), 0xffffff);
        s.remplit(clWindowText);
        QCOMPARE(s.pixel(1, 1), 0);
    }
    void copieDecoupee() {
        Surface a(4, 4), b(4, 4);
        a.remplit(0x0000ff);
        b.remplit(0);
        // A copy that starts left of the source and runs off the destination's right edge.
        b.copie(a, QRect(-2, 0, 4, 4), QPoint(2, 0));
        QCOMPARE(b.pixel(3, 0), 0); // source column -1 does not exist
        QCOMPARE(b.pixel(0, 0), 0);
        Surface c(4, 4);
        c.remplit(0);
        c.copie(a, QRect(0, 0, 4, 4), QPoint(2, 2));
        QCOMPARE(c.pixel(2, 2), 0x0000ff);
        QCOMPARE(c.pixel(3, 3), 0x0000ff);
        QCOMPARE(c.pixel(1, 1), 0);
    }
    void copieAvecCle() {
        Surface a(3, 1), b(3, 1);
        a.setpixel(0, 0, 0x00ff00);
        a.setpixel(1, 0, 0xffffff);
        a.setpixel(2, 0, 0x00ff00);
        b.remplit(0x0000ff);
        b.copiecle(a, QRect(0, 0, 3, 1), QPoint(0, 0), 0x00ff00);
        QCOMPARE(b.pixel(0, 0), 0x0000ff);
        QCOMPARE(b.pixel(1, 0), 0xffffff);
        QCOMPARE(b.pixel(2, 0), 0x0000ff);
    }
    void etirementAuPlusProche() {
        Surface a(2, 1), b(4, 2);
        a.setpixel(0, 0, 0x0000ff);
        a.setpixel(1, 0, 0x00ff00);
        b.etire(a, QRect(0, 0, 2, 1), QRect(0, 0, 4, 2));
        QCOMPARE(b.pixel(0, 0), 0x0000ff);
        QCOMPARE(b.pixel(1, 1), 0x0000ff);
        QCOMPARE(b.pixel(2, 0), 0x00ff00);
        QCOMPARE(b.pixel(3, 1), 0x00ff00);
    }
    void etirementHorsSourceEtReduction() {
        Surface a(4, 1), b(4, 2);
        for (int x = 0; x < 4; ++x)
            a.setpixel(x, 0, 0x000010 * (x + 1));
        b.remplit(0xffffff);
        // Columns -2..1 of a: the two on the left do not exist and come out black, as row 1 does.
        b.etire(a, QRect(-2, 0, 4, 2), QRect(0, 0, 4, 2));
        QCOMPARE(b.pixel(0, 0), 0);
        QCOMPARE(b.pixel(1, 0), 0);
        QCOMPARE(b.pixel(2, 0), 0x10);
        QCOMPARE(b.pixel(3, 0), 0x20);
        QCOMPARE(b.pixel(3, 1), 0);
        Surface c(2, 1);
        c.etire(a, QRect(0, 0, 4, 1), QRect(0, 0, 2, 1));
        QCOMPARE(c.pixel(0, 0), 0x10);
        QCOMPARE(c.pixel(1, 0), 0x30);
    }
    void texteHauteurs() {
        // Rows holding text pixels, for a negative (character) and a positive (cell) height.
        const auto lignes = [](int taille, const QString& nom) {
            Surface s(200, 100);
            Police p;
            p.nom = nom;
            p.taille = taille;
            s.texte(10, 10, QStringLiteral("Hg"), p, 0xffffff);
            int haut = -1, bas = -1;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 200; ++x)
                    if (s.pixel(x, y) == 0xffffff) {
                        if (haut < 0) haut = y;
                        bas = y;
                    }
            return haut < 0 ? 0 : bas - haut + 1;
        };
        const int caractere = lignes(-40, QStringLiteral("MS Sans Serif"));
        const int cellule = lignes(40, QStringLiteral("MS Sans Serif"));
        QVERIFY(caractere > 30);
        QVERIFY2(cellule < caractere && cellule > 20, qPrintable(QString::number(cellule)));
        QVERIFY(lignes(-40, QStringLiteral("DejaVu Serif")) > 30);
    }
};

QTEST_MAIN(TstSurface)
#include "tst_surface.moc"
