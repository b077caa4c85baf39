#include "render/afficheimg.h"

#include <QTest>

#include <memory>

namespace {

constexpr Couleur FOND = 0xff00ff;  // magenta outside the glass
constexpr Couleur VERRE = 0xffffff; // white glass
constexpr Couleur BORD = 0x00ff00;  // green rim
constexpr Couleur ROUGE = 0x0000ff;

// Never magenta, white, green or black.
Couleur motif(int x, int y) {
    return 0x100000 | ((x & 0x3ff) << 10) | (y & 0x3ff);
}

// A W x H magnifier: two outside rows and columns all round, a rim two pixels wide, the glass
// inside. One rim pixel has the glass colour and one the outside colour.
Surface dessinloupe(int W, int H) {
    Surface s(W, H);
    s.remplit(FOND);
    for (int y = 2; y < H - 2; ++y)
        for (int x = 2; x < W - 2; ++x)
            s.setpixel(x, y, (x < 4 || y < 4 || x >= W - 4 || y >= H - 4) ? BORD : VERRE);
    s.setpixel(2, H / 2, VERRE);
    s.setpixel(W - 3, H / 2, FOND);
    return s;
}

struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    QImage base; // the frame without magnifier
    Banc(int W, int H, int zoom, QPoint point, QPoint decalage = QPoint(100, 50)) {
        s.carte.redimensionne(1000, 800);
        for (int y = 0; y < 800; ++y)
            for (int x = 0; x < 1000; ++x)
                s.carte.setpixel(x, y, motif(x, y));
        s.loupe = dessinloupe(W, H);
        s.tempo.remplit(ROUGE); // what an earlier frame might have left
        e->ascl = decalage.x();
        e->asch = decalage.y();
        e->nbpt = 10;
        for (int i = 0; i <= 10; ++i) {
            e->ptx[i] = 400 + i;
            e->pty[i] = 300;
            e->ptcoul[i] = ROUGE;
            e->loupex[i] = point.x() + decalage.x();
            e->loupey[i] = point.y() + decalage.y();
        }
        e->txloupe = zoom;
        afficheimg(*e, s, 1000);
        base = s.vue.image().copy();
        e->okloupe = true;
        afficheimg(*e, s, 1000);
    }
    Couleur avant(int x, int y) const {
        return base.rect().contains(x, y) ? depuisqrgb(base.pixel(x, y)) : 0;
    }
    Couleur vue(int x, int y) const { return s.vue.pixel(x, y); }
    // Top-left corner of the magnifier in the view.
    QPoint coin() const {
        return {e->loupex[10] - e->ascl - s.loupe.largeur() / 2,
                e->loupey[10] - e->asch - s.loupe.hauteur() / 2};
    }
};

} // namespace

class TstLoupe : public QObject {
    Q_OBJECT
  private slots:
    // Every pixel of the magnifier against the rule: outside pixels leave the view, rim pixels are
    // drawn, glass pixels show the region (w x h, cut at the bottom row, black beyond the view)
    // stretched to W x H.
    void chaquePixel_data() {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("point"); // path point in the view
        QTest::newRow("zoom 0") << 40 << 40 << 0 << QPoint(300, 200);
        QTest::newRow("zoom W/2") << 40 << 40 << 20 << QPoint(300, 200);
        QTest::newRow("large, zoom W/2") << 60 << 40 << 30 << QPoint(300, 200);
        QTest::newRow("zoom W") << 40 << 40 << 40 << QPoint(300, 200);
        QTest::newRow("zoom au-delà de H") << 60 << 30 << 45 << QPoint(300, 200);
        QTest::newRow("près du bas") << 40 << 40 << 0 << QPoint(300, 560);
        QTest::newRow("près du bas, zoom") << 40 << 40 << 10 << QPoint(300, 570);
        QTest::newRow("sous la vue") << 40 << 40 << 30 << QPoint(300, 582);
        QTest::newRow("à gauche de la vue") << 40 << 40 << 20 << QPoint(-10, 200);
        QTest::newRow("en haut à droite") << 40 << 40 << 16 << QPoint(715, 3);
    }
    void chaquePixel() {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(int, zoom);
        QFETCH(QPoint, point);
        Banc b(W, H, zoom, point);
        const int w = std::max(W - zoom, 1);
        int h = std::max(H - zoom, 1);
        const int L = point.x() - w / 2, T = point.y() - h / 2;
        if (T + h > VUEH) h = std::max(VUEH - T, 1);
        const QPoint c = b.coin();
        int verre = 0;
        for (int gy = 0; gy < H; ++gy)
            for (int gx = 0; gx < W; ++gx) {
                const int x = c.x() + gx, y = c.y() + gy;
                if (x < 0 || y < 0 || x >= VUEL || y >= VUEH) continue;
                const Couleur l = b.s.loupe.pixel(gx, gy);
                Couleur attendu = l;
                if (l == FOND) {
                    attendu = b.avant(x, y);
                } else if (l == VERRE) {
                    attendu = b.avant(L + gx * w / W, T + gy * h / H);
                    ++verre;
                }
                if (b.vue(x, y) != attendu)
                    QFAIL(qPrintable(QStringLiteral("loupe %1,%2: %3 au lieu de %4")
                                         .arg(gx)
                                         .arg(gy)
                                         .arg(b.vue(x, y), 0, 16)
                                         .arg(attendu, 0, 16)));
            }
        QVERIFY(verre > 0);
        // Around the magnifier the view is as drawn.
        for (const QPoint p : {QPoint(c.x() - 1, c.y()), QPoint(c.x() + W, c.y() + H - 1)})
            if (QRect(0, 0, VUEL, VUEH).contains(p))
                QCOMPARE(b.vue(p.x(), p.y()), b.avant(p.x(), p.y()));
        QCOMPARE(b.s.tempo.largeur(), W);
        QCOMPARE(b.s.tempo.hauteur(), H);
        QCOMPARE(b.e->coulfondloupe, FOND);
        QCOMPARE(b.e->coulverreloupe, VERRE);
    }

    void zoomZeroMontreLaVueTelleQuelle() {
        Banc b(40, 40, 0, QPoint(300, 200));
        const QPoint c = b.coin();
        for (int g = 4; g < 36; ++g) {
            QCOMPARE(b.vue(c.x() + g, c.y() + 20), b.avant(c.x() + g, c.y() + 20));
            QCOMPARE(b.vue(c.x() + 20, c.y() + g), b.avant(c.x() + 20, c.y() + g));
        }
    }
    void zoomMoitieDoubleEnLargeur() {
        // 60 x 40 at zoom 30: a 30 x 10 region, twice as wide and four times as high.
        Banc b(60, 40, 30, QPoint(300, 200));
        const QPoint c = b.coin();
        for (int j = 2; j < 28; ++j) {
            const Couleur gauche = b.vue(c.x() + 2 * j, c.y() + 20);
            QCOMPARE(b.vue(c.x() + 2 * j + 1, c.y() + 20), gauche);
            QCOMPARE(gauche, b.avant(300 - 15 + j, 200 - 5 + 5));
        }
        QCOMPARE(b.vue(c.x() + 20, c.y() + 8), b.avant(300 - 15 + 10, 200 - 5 + 2));
        QCOMPARE(b.vue(c.x() + 20, c.y() + 11), b.avant(300 - 15 + 10, 200 - 5 + 2));
    }
    void borduresDeCouleurVerreOuFond() {
        Banc b(40, 40, 20, QPoint(300, 200));
        const QPoint c = b.coin();
        // The glass-coloured rim pixel (2, 20) shows the enlarged frame, not the rim.
        QCOMPARE(b.vue(c.x() + 2, c.y() + 20), b.avant(300 - 10 + 1, 200 - 10 + 10));
        // The outside-coloured rim pixel (37, 20) leaves the view as it was.
        QCOMPARE(b.vue(c.x() + 37, c.y() + 20), b.avant(c.x() + 37, c.y() + 20));
        QCOMPARE(b.vue(c.x() + 3, c.y() + 20), BORD);
    }
    void horsDeLaVueNoirEtJamaisPerime() {
        // The region lies below the view: the glass shows black, not the scratch surface's past.
        Banc b(40, 40, 30, QPoint(300, 582));
        const QPoint c = b.coin();
        QCOMPARE(b.vue(c.x() + 20, c.y() + 6), 0);
        QCOMPARE(b.vue(c.x() + 20, VUEH - 1), 0);
    }
    void routeVideSansLoupe() {
        Banc b(40, 40, 0, QPoint(300, 200));
        b.e->nbpt = -1;
        b.e->okloupe = false;
        afficheimg(*b.e, b.s, 1000);
        const QImage sans = b.s.vue.image().copy();
        b.e->okloupe = true;
        b.e->coulfondloupe = 123;
        afficheimg(*b.e, b.s, 1000);
        QCOMPARE(b.s.vue.image(), sans);
        QCOMPARE(b.e->coulfondloupe, 123);
    }
    void suitLeCheminALAvance() {
        Banc b(40, 40, 0, QPoint(300, 200));
        b.e->loupex[5] = 100 + 500; // point 5 of 10 is the head at progress 500
        b.e->loupey[5] = 50 + 100;
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.vue(500 - 20 + 3, 100), BORD);
        QCOMPARE(b.vue(300 - 20 + 3, 200), b.avant(300 - 20 + 3, 200));
    }
    void couleursReluesAChaqueImage() {
        Banc b(40, 40, 0, QPoint(300, 200));
        Surface autre = dessinloupe(40, 40);
        autre.setpixel(1, 1, ROUGE);
        autre.setpixel(20, 20, BORD);
        b.s.loupe = autre;
        afficheimg(*b.e, b.s, 1000);
        QCOMPARE(b.e->coulfondloupe, ROUGE);
        QCOMPARE(b.e->coulverreloupe, BORD);
        // Now the green rim is the glass and the former outside is drawn as a rim.
        const QPoint c = b.coin();
        QCOMPARE(b.vue(c.x() + 0, c.y() + 0), FOND);
        QCOMPARE(b.vue(c.x() + 3, c.y() + 20), b.avant(c.x() + 3, c.y() + 20));
    }
};

QTEST_MAIN(TstLoupe)
#include "tst_loupe.moc"
