// A replay's frame: a tail of S seconds fading out behind its head, names that never overlap
// where heads meet, each track drawn as far as its clock.
#include "render/afficheimg.h"
#include "render/rejeu.h"
#include "timeline/rejeu.h"

#include <QTest>

#include <memory>

namespace {

constexpr QRgb GRIS = 0xff808080;

// A grey 1000 x 800 map; tracks added one after the other along the route, a point a pixel.
struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    Banc() {
        s.carte.redimensionne(1000, 800);
        s.carte.remplit(0x808080);
        e->asclmax = 1000 - VUEL;
        e->aschmax = 800 - VUEH;
        e->gpsdist = e->gpstemps = true;
        e->rejeu.depart = Depart::COMMUN;
    }
    // From x0 to x1 along row y, `secondes` a pixel.
    void piste(int x0, int x1, int y, double secondes, Couleur c, const QString& nom) {
        Piste p;
        p.premier = e->nbpt + 1;
        const int pas = x1 >= x0 ? 1 : -1;
        for (int x = x0, k = 0;; x += pas, ++k) {
            const int i = ++e->nbpt;
            e->ptx[i] = x;
            e->pty[i] = y;
            e->ptcoul[i] = c;
            e->pttron[i] = static_cast<int>(e->rejeu.pistes.size());
            e->ptdist[i] = 10.0 * k;
            e->pttemps[i] = secondes * k;
            if (x == x1) break;
        }
        p.dernier = e->nbpt;
        p.couleur = c;
        p.horloge = true;
        p.nom = nom;
        e->rejeu.pistes.push_back(p);
        e->nbgeo = e->nbpt + 1;
    }
    const QImage& image(double t) {
        e->tl = 0;
        e->imgtemps[0] = t;
        afficheimg(*e, s, 0);
        return s.vue.image();
    }
};

} // namespace

class TstRejeuImage : public QObject {
    Q_OBJECT
  private slots:
    void queue_data();
    void queue();
    void jusquau();
    void rencontre();
    void placenoms_data();
    void placenoms();
};

// One pixel a second along row 100 from x 100, at 300 s with a tail of 60 s: nothing older than
// 60 s, the rest fading from the head back, in either route style.
void TstRejeuImage::queue_data() {
    QTest::addColumn<int>("largeur");
    QTest::newRow("pixels de la route") << 0;
    QTest::newRow("trait de 3") << 3;
}

void TstRejeuImage::queue() {
    QFETCH(int, largeur);
    Banc b;
    b.piste(100, 700, 100, 1.0, 0x0000ff, "A");
    b.e->rejeu.queue = 60;
    b.e->style.largeur = largeur;
    const QImage& i = b.image(300);
    // The head is at x 400: 90 s back is gone, 34 s back about half there, 10 s back nearly
    // whole.
    QCOMPARE(i.pixel(310, 100), GRIS);
    QCOMPARE(i.pixel(200, 100), GRIS);
    const auto rouge = [&](int x) { return qRed(i.pixel(x, 100)); };
    QVERIFY2(rouge(366) >= 175 && rouge(366) <= 200, qPrintable(QString::number(rouge(366))));
    QVERIFY2(rouge(390) >= 128 + 127 * 4 / 5, qPrintable(QString::number(rouge(390))));
    QVERIFY(rouge(350) < rouge(366) && rouge(366) < rouge(390));
    QCOMPARE(qGreen(i.pixel(366, 100)), qBlue(i.pixel(366, 100)));
    // Without a tail the whole way is drawn, in its colour.
    b.e->rejeu.queue = 0;
    QCOMPARE(b.image(300).pixel(200, 100), qRgb(255, 0, 0));
}

// Three tracks at 1, 2 and 0.5 s a pixel: at 100 s each drawn to its own point, none further.
void TstRejeuImage::jusquau() {
    Banc b;
    b.piste(100, 600, 100, 1.0, 0x0000ff, "A");
    b.piste(100, 600, 200, 2.0, 0x00ff00, "B");
    b.piste(100, 600, 300, 0.5, 0xff0000, "C");
    const QImage& i = b.image(100);
    const int tetes[] = {200, 150, 300};
    const QRgb couleurs[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const int lignes[] = {100, 200, 300};
    for (int k = 0; k < 3; ++k) {
        // Behind the head's disc, the track's colour; past its name, the map.
        for (int x = 100; x < tetes[k] - 12; ++x)
            QCOMPARE(i.pixel(x, lignes[k]), couleurs[k]);
        for (int x = tetes[k] + 80; x < 600; ++x)
            QCOMPARE(i.pixel(x, lignes[k]), GRIS);
        const Piste& p = b.e->rejeu.pistes[static_cast<std::size_t>(k)];
        QCOMPARE(b.e->ptx[pointau(*b.e, p, 100)], tetes[k]);
    }
}

// Two runners meeting head on, and a third close by: their names side by side, none over
// another or over a head.
void TstRejeuImage::rencontre() {
    Banc b;
    b.piste(100, 700, 300, 1.0, 0x0000ff, "Alexandra");
    b.piste(700, 100, 300, 1.0, 0xff0000, "Bertrand");
    b.piste(100, 700, 306, 1.0, 0x00a000, "Claude");
    b.image(300);
    const std::vector<QRect>& r = nomsplaces(b.s);
    QCOMPARE(r.size(), std::size_t(3));
    for (std::size_t a = 0; a < r.size(); ++a) {
        QVERIFY(QRect(0, 0, VUEL, VUEH).contains(r[a]));
        QVERIFY(!r[a].contains(QPoint(400, 300)) && !r[a].contains(QPoint(400, 306)));
        for (std::size_t c = a + 1; c < r.size(); ++c)
            QVERIFY2(!r[a].intersects(r[c]), qPrintable(QString("%1 et %2").arg(a).arg(c)));
    }
}

// However many heads meet, in the middle or in a corner, no two names overlap.
void TstRejeuImage::placenoms_data() {
    QTest::addColumn<QPoint>("lieu");
    QTest::addColumn<int>("nombre");
    QTest::newRow("deux au milieu") << QPoint(360, 288) << 2;
    QTest::newRow("douze au milieu") << QPoint(360, 288) << 12;
    QTest::newRow("cinq dans un coin") << QPoint(3, 3) << 5;
    QTest::newRow("cinquante") << QPoint(700, 560) << 50;
}

void TstRejeuImage::placenoms() {
    QFETCH(QPoint, lieu);
    QFETCH(int, nombre);
    std::vector<QPoint> t;
    std::vector<QSize> s;
    for (int k = 0; k < nombre; ++k) {
        t.push_back(lieu + QPoint(k % 3, k % 2));
        s.emplace_back(40 + 7 * (k % 5), 18);
    }
    const std::vector<QRect> r = ::placenoms(t, s, 6, QRect(0, 0, VUEL, VUEH));
    QCOMPARE(r.size(), t.size());
    for (std::size_t a = 0; a < r.size(); ++a) {
        QCOMPARE(r[a].size(), s[a]);
        for (const QPoint& h : t)
            QVERIFY(!r[a].contains(h));
        for (std::size_t c = a + 1; c < r.size(); ++c)
            QVERIFY2(!r[a].intersects(r[c]), qPrintable(QString("%1 et %2").arg(a).arg(c)));
    }
}

QTEST_MAIN(TstRejeuImage)
#include "tst_rejeu.moc"
