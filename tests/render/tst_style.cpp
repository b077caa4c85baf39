// Films of other sizes and zooms, and routes drawn in a style: what the frame shows.
#include "project/cadrage.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace {

constexpr Couleur ROUGE = 0x0000ff;
constexpr Couleur JAUNE = 0x00ffff;
constexpr Couleur BLANC = 0xffffff;
constexpr QRgb GRIS = 0xff808080;

// A project on a uniform grey map of l x h with a film of `film`.
struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Banc(Film film, int l = 2000, int h = 1500) {
        s.carte.redimensionne(l, h);
        s.carte.image().fill(GRIS);
        e->largeurcarte = l;
        e->hauteurcarte = h;
        e->film = film;
        e->asclmax = std::max(0, l - film.champl());
        e->aschmax = std::max(0, h - film.champh());
    }
    void ajoute(int x, int y, Couleur c = ROUGE) {
        ++e->nbpt;
        e->ptx[e->nbpt] = x;
        e->pty[e->nbpt] = y;
        e->ptcoul[e->nbpt] = c;
    }
    QImage compose(int avance = 1000) {
        afficheimg(*e, s, avance);
        return s.vue.image().copy();
    }
};

int ecart(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

double psnr(const QImage& a, const QImage& b) {
    double se = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                se += d * d;
        }
    const double mse = se / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

class TstStyle : public QObject {
    Q_OBJECT
  private slots:
    void taillesDuFilm_data();
    void taillesDuFilm();
    void traitLarge();
    void ordreIndifferent();
    void filmQuiAvance_data();
    void filmQuiAvance();
    void contourSousLaRoute();
    void pointeLarge();
    void longuePointe();
    void memesPixelsParSeize();
    void zoomAgranditLesPixels();
    void loupeAuZoom();
    void memeCadrageEnPlusGrand();
    void refusDesTailles();
};

// The frame takes the film's size, and the view is film size / zoom map pixels.
void TstStyle::taillesDuFilm_data() {
    QTest::addColumn<int>("l");
    QTest::addColumn<int>("h");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("champl");
    QTest::addColumn<int>("champh");
    QTest::newRow("classique") << 720 << 576 << 1.0 << 720 << 576;
    QTest::newRow("1080p") << 1920 << 1080 << 1.0 << 1920 << 1080;
    QTest::newRow("vertical zoom 2") << 1080 << 1920 << 2.0 << 540 << 960;
    QTest::newRow("carré zoom 0.5") << 1080 << 1080 << 0.5 << 2160 << 2160;
}

void TstStyle::taillesDuFilm() {
    QFETCH(int, l);
    QFETCH(int, h);
    QFETCH(double, zoom);
    QFETCH(int, champl);
    QFETCH(int, champh);
    Banc b(Film{l, h, zoom}, 3000, 3000);
    QCOMPARE(b.e->film.champl(), champl);
    QCOMPARE(b.e->film.champh(), champh);
    // A point at the view's far corner lands in the frame's far corner.
    b.ajoute(b.e->ascl + champl - 1, b.e->asch + champh - 1);
    const QImage f = b.compose();
    QCOMPARE(f.size(), QSize(l, h));
    QCOMPARE(f.pixel(l - 1, h - 1), versqrgb(ROUGE));
    QCOMPARE(f.pixel(0, 0), GRIS);
}

// A straight run of points 8 film pixels wide: solid on the axis, soft at the edge, nothing
// beyond.
void TstStyle::traitLarge() {
    Banc b(Film{1280, 720, 1.0});
    b.e->style.largeur = 8;
    for (int x = 100; x <= 300; ++x)
        b.ajoute(x, 200);
    const QImage f = b.compose();
    const QRgb rouge = versqrgb(ROUGE);
    for (int dy = -3; dy <= 3; ++dy)
        QCOMPARE(f.pixel(200, 200 + dy), rouge);
    QCOMPARE(f.pixel(200, 200 + 7), GRIS);
    QCOMPARE(f.pixel(200, 200 - 6), GRIS);
    // The edge row is partly covered: between the map and the route.
    const QRgb bord = f.pixel(200, 204);
    QVERIFY2(bord != rouge && bord != GRIS, qPrintable(QString::number(bord, 16)));
    // Round ends: the corner beyond the last point's disc stays the map.
    QCOMPARE(f.pixel(304, 196), GRIS);
    QCOMPARE(f.pixel(303, 200), rouge);
}

// The same pixels walked in another order draw the same frame: overlapping discs never darken
// an edge twice.
void TstStyle::ordreIndifferent() {
    std::vector<QPoint> points;
    for (int t = 0; t < 400; ++t)
        for (int w = 0; w < 3; ++w)
            points.emplace_back(200 + t, 300 + w + static_cast<int>(40 * std::sin(t / 30.0)));
    QImage vues[2];
    for (int k = 0; k < 2; ++k) {
        Banc b(Film{1280, 720, 1.0});
        b.e->style = Style{6, 3, BLANC};
        if (k == 1) std::shuffle(points.begin(), points.end(), std::mt19937(7));
        for (const QPoint& p : points)
            b.ajoute(p.x(), p.y());
        vues[k] = b.compose();
    }
    QCOMPARE(vues[1], vues[0]);
}

// A film played frame by frame keeps the line's masks and only adds what each frame adds; every
// frame must still be the one drawn from nothing: forward, with pans, a jump back, a zoom that
// changes, a point moved and a colour changed under it.
void TstStyle::filmQuiAvance_data() {
    QTest::addColumn<double>("zoom");
    QTest::newRow("zoom 1") << 1.0;
    QTest::newRow("zoom 1.5") << 1.5;
    QTest::newRow("zoom 0.7") << 0.7;
}

void TstStyle::filmQuiAvance() {
    QFETCH(double, zoom);
    Banc suivi(Film{640, 360, zoom}), neuf(Film{640, 360, zoom});
    for (Banc* b : {&suivi, &neuf}) {
        b->e->style = Style{5, 2, BLANC};
        b->e->checkbox1 = true;
        b->e->bordnb = QStringLiteral("40");
        b->e->coulbord = JAUNE;
        b->e->ascl = 300;
        b->e->asch = 300;
        // A loop that crosses itself, in three colours.
        std::mt19937 hasard(3);
        for (int t = 0; t < 3000; ++t) {
            const int x = 600 + static_cast<int>(180 * std::sin(t / 200.0)) + (hasard() % 3 == 0);
            const int y = 480 + static_cast<int>(110 * std::sin(t / 130.0));
            b->ajoute(x, y, t < 1000 ? ROUGE : t < 2000 ? 0x00ff00 : 0xff0000);
        }
    }
    struct Pas {
        int avance, dx, dy;
    };
    const Pas pas[] = {{0, 0, 0},      {100, 0, 0}, {101, 0, 0},  {250, 3, 0},
                       {400, 0, -2},   {400, 0, 0}, {600, 40, 0}, {550, 0, 0},
                       {700, -90, 60}, {999, 0, 0}, {1000, 1, 1}};
    for (const Pas& p : pas) {
        for (Banc* b : {&suivi, &neuf}) {
            b->e->ascl += p.dx;
            b->e->asch += p.dy;
        }
        // Edits under a kept line: a colour changed, then a point moved.
        for (Banc* b : {&suivi, &neuf}) {
            if (p.avance == 999) b->e->ptcoul[20] = BLANC;
            if (p.avance == 1000) b->e->ptx[500] += 2;
        }
        neuf.s.brouillon.reset();
        const QImage a = suivi.compose(p.avance), b = neuf.compose(p.avance);
        QVERIFY2(a == b, qPrintable(QStringLiteral("avance %1").arg(p.avance)));
    }
    // The camera's zoom changes under a kept line.
    for (Banc* b : {&suivi, &neuf})
        b->e->zoomvue = zoom * 1.25;
    neuf.s.brouillon.reset();
    QCOMPARE(suivi.compose(1000), neuf.compose(1000));
}

// The outline lies under the line and around it, in its colour.
void TstStyle::contourSousLaRoute() {
    Banc b(Film{1280, 720, 1.0});
    b.e->style = Style{6, 4, BLANC};
    for (int x = 100; x <= 400; ++x)
        b.ajoute(x, 300);
    const QImage f = b.compose();
    QCOMPARE(f.pixel(250, 300), versqrgb(ROUGE));
    // 3 pixels of line, then 4 of outline: rows 304 and 305 are white.
    QCOMPARE(f.pixel(250, 305), versqrgb(BLANC));
    QCOMPARE(f.pixel(250, 295), versqrgb(BLANC));
    QCOMPARE(f.pixel(250, 310), GRIS);
    // Without the outline those rows show the map.
    b.e->style.halo = 0;
    QCOMPARE(b.compose().pixel(250, 305), GRIS);
}

// The tip's points are discs of the tip colour drawn over the line they end.
void TstStyle::pointeLarge() {
    Banc b(Film{1280, 720, 1.0});
    b.e->style.largeur = 6;
    for (int x = 100; x <= 499; ++x)
        b.ajoute(x, 300);
    b.e->checkbox1 = true;
    b.e->bordnb = QStringLiteral("50");
    b.e->coulbord = JAUNE;
    // Progress 999 of 400 points: points 0..398, the last 50 in the tip colour.
    const QImage f = b.compose(999);
    QCOMPARE(f.pixel(480, 300), versqrgb(JAUNE));
    // The tip's first disc covers the end of the line fully, as the line covers it: the tip,
    // which comes later, wins.
    QCOMPARE(f.pixel(448, 300), versqrgb(JAUNE));
    QCOMPARE(f.pixel(444, 300), versqrgb(ROUGE));
    QCOMPARE(f.pixel(480, 302), versqrgb(JAUNE));
    QCOMPARE(f.pixel(300, 302), versqrgb(ROUGE));
}

// A tip of many points is the same as those points drawn in the tip colour at the end of the
// line: the line's points around them do not stand in for them.
void TstStyle::longuePointe() {
    Banc avec(Film{1280, 720, 1.0}), peinte(Film{1280, 720, 1.0});
    for (Banc* b : {&avec, &peinte}) {
        b->e->style = Style{5, 2, BLANC};
        // Back and forth over the same band three points wide, so that the tip runs over the
        // line.
        for (int passe = 0; passe < 6; ++passe)
            for (int x = 0; x < 400; ++x)
                for (int w = 0; w < 3; ++w)
                    b->ajoute(300 + (passe % 2 ? 399 - x : x), 300 + w);
    }
    avec.e->checkbox1 = true;
    avec.e->bordnb = QStringLiteral("1200");
    avec.e->coulbord = JAUNE;
    // Progress 999 draws all but the last few points; the tip is the last 1200 of them.
    const int n = static_cast<int>(partde(avec.e->nbpt, 999));
    for (int i = n + 1 - 1200; i <= n; ++i)
        peinte.e->ptcoul[i] = JAUNE;
    peinte.e->nbpt = n;
    QCOMPARE(avec.compose(999), peinte.compose(1000));
}

// The line is blended sixteen pixels at a time where its masks' columns allow, one by one at a
// span's ends. Two films one column apart in width place those columns differently; the pixels
// they share must not change.
void TstStyle::memesPixelsParSeize() {
    QImage vues[2];
    const int largeurs[2] = {1280, 1288};
    for (int k = 0; k < 2; ++k) {
        Banc b(Film{largeurs[k], 720, 1.0});
        QImage& carte = b.s.carte.image();
        for (int y = 0; y < carte.height(); ++y)
            for (int x = 0; x < carte.width(); ++x)
                carte.setPixel(x, y, qRgb(x * 7 % 256, y * 3 % 256, (x + y) % 256));
        b.e->style = Style{5, 3, BLANC};
        b.e->checkbox1 = true;
        b.e->bordnb = QStringLiteral("300");
        b.e->coulbord = JAUNE;
        for (int t = 0; t < 4000; ++t)
            b.ajoute(200 + t / 5, 300 + static_cast<int>(150 * std::sin(t / 90.0)),
                     t % 700 < 350 ? ROUGE : 0xff8000);
        vues[k] = b.compose(999);
    }
    QCOMPARE(vues[1].copy(0, 0, 1280, 720), vues[0]);
}

// At zoom 3 a map pixel is a block of 3 x 3 film pixels, the route's own pixels too.
void TstStyle::zoomAgranditLesPixels() {
    Banc b(Film{720, 576, 3.0});
    QImage& carte = b.s.carte.image();
    carte.setPixel(110, 120, qRgb(0, 0, 250)); // one blue map pixel
    b.e->ascl = 100;
    b.e->asch = 100;
    b.ajoute(105, 105);
    const QImage f = b.compose();
    for (int y = 15; y < 18; ++y)
        for (int x = 15; x < 18; ++x)
            QCOMPARE(f.pixel(x, y), versqrgb(ROUGE));
    QCOMPARE(f.pixel(18, 16), GRIS);
    // The map is smoothed when enlarged: the blue pixel's centre stays blue, its block
    // shades into the grey around it.
    QVERIFY(ecart(f.pixel(31, 61), qRgb(0, 0, 250)) <= 40);
    QVERIFY(ecart(f.pixel(36, 61), GRIS) == 0);
}

// The magnifier stands on the film position of its path point and enlarges the film.
void TstStyle::loupeAuZoom() {
    Banc b(Film{720, 576, 2.0});
    // A 21 x 21 magnifier: black outside, white glass.
    b.s.loupe.redimensionne(21, 21);
    b.s.loupe.remplit(0);
    for (int y = 3; y < 18; ++y)
        for (int x = 3; x < 18; ++x)
            b.s.loupe.setpixel(x, y, BLANC);
    b.e->okloupe = true;
    b.e->txloupe = 10;
    b.ajoute(150, 100);
    b.e->loupex[0] = 150;
    b.e->loupey[0] = 100;
    const QImage f = b.compose();
    // Map pixel (150, 100) is film block (300..301, 200..201): the glass is centred there and
    // shows the enlarged red block.
    QCOMPARE(f.pixel(301, 201), versqrgb(ROUGE));
    QCOMPARE(f.pixel(301 - 10, 201), GRIS); // outside colour left out
    // Without the magnifier the red block is 2 pixels wide; through it, wider.
    int large = 0;
    for (int x = 280; x < 320; ++x)
        large += f.pixel(x, 201) == versqrgb(ROUGE);
    QVERIFY2(large > 2, qPrintable(QString::number(large)));
}

// Twice the size at the same aspect is the same film, twice as sharp: scaled down it matches.
void TstStyle::memeCadrageEnPlusGrand() {
    Banc b(Film{}, 1600, 1200);
    QImage& carte = b.s.carte.image();
    for (int y = 0; y < carte.height(); ++y)
        for (int x = 0; x < carte.width(); ++x)
            carte.setPixel(x, y, qRgb((x / 40) % 2 ? 200 : 60, (y / 30) % 2 ? 180 : 90, 120));
    b.e->ascl = 300;
    b.e->asch = 200;
    b.e->style = Style{4, 2, BLANC};
    for (int t = 0; t < 3000; ++t)
        b.ajoute(400 + t / 6, 400 + static_cast<int>(100 * std::sin(t / 300.0)));
    const QImage petit = b.compose();
    QVERIFY(!changetaille(*b.e, b.s, 1440, 1152));
    QCOMPARE(b.e->film.zoom, 2.0);
    QCOMPARE(b.e->style.largeur, 8);
    const QImage grand = b.compose();
    QCOMPARE(grand.size(), QSize(1440, 1152));
    const QImage reduit = grand.scaled(720, 576, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double p = psnr(reduit, petit);
    QVERIFY2(p > 28, qPrintable(QString::number(p)));
}

// Odd sides, sizes out of range and a map too small for the view are refused; nothing changes.
void TstStyle::refusDesTailles() {
    Banc b(Film{}, 1000, 800);
    b.e->fichiercarte = QStringLiteral("carte.bmp");
    QVERIFY(prendfilm(*b.e, Film{721, 576, 1.0}));
    QVERIFY(prendfilm(*b.e, Film{62, 62, 1.0}));
    QVERIFY(prendfilm(*b.e, Film{720, 576, 40.0}));
    const auto refus = prendfilm(*b.e, Film{1920, 1080, 1.0});
    QVERIFY(refus);
    QVERIFY2(refus->contains(QStringLiteral("1920*1080")) &&
                 refus->contains(QStringLiteral("1.92")),
             qPrintable(*refus));
    QCOMPARE(b.e->film, Film{});
    QVERIFY(!prendfilm(*b.e, Film{1920, 1080, 2.0}));
    QCOMPARE(b.e->asclmax, 1000 - 960);
    QCOMPARE(b.e->aschmax, 800 - 540);
}

QTEST_GUILESS_MAIN(TstStyle)
#include "tst_style.moc"
