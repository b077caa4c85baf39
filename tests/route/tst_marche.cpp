// The walk over the map picture: JPEG and anti-aliased strokes within a colour tolerance, gaps
// bridged, crossings and letters in pen order, and the report of a walk that went wrong. Every
// picture is drawn here, the way a paint program would.
#include "map/lab.h"
#include "route/marche.h"
#include "route/traceur.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QTest>

#include <cmath>

namespace {

const QColor ROUGE(200, 30, 40);

// A white picture with `chemin` stroked on it.
QImage dessine(const QPainterPath& chemin, qreal largeur, bool lisse, QSize taille = {600, 400}) {
    QImage i(taille, QImage::Format_RGB32);
    i.fill(Qt::white);
    QPainter p(&i);
    p.setRenderHint(QPainter::Antialiasing, lisse);
    p.setPen(QPen(ROUGE, largeur, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chemin);
    return i;
}

QImage jpeg(const QImage& i, int qualite) {
    QByteArray octets;
    QBuffer b(&octets);
    b.open(QIODevice::WriteOnly);
    i.save(&b, "JPG", qualite);
    return QImage::fromData(octets).convertToFormat(QImage::Format_RGB32);
}

QPainterPath courbe() {
    QPainterPath c(QPointF(40, 300));
    c.cubicTo(150, 40, 350, 380, 560, 90);
    return c;
}

// The pixels within `tolerance` of the stroke's colour.
QSet<QPoint> proches(const QImage& i, int tolerance) {
    ProcheCouleur proche(ROUGE.rgb(), tolerance);
    QSet<QPoint> s;
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            if (proche(i.pixel(x, y))) s.insert({x, y});
    return s;
}

// With VIALUME_ORDRE set, the order is saved as a picture: blue first, red last.
void montre(const QImage& i, const Marche& m) {
    const QByteArray nom = qgetenv("VIALUME_ORDRE");
    if (nom.isEmpty()) return;
    QImage o = i.copy();
    const double n = std::max<double>(1, m.points.size() - 1);
    for (std::size_t k = 0; k < m.points.size(); ++k)
        o.setPixel(m.points[k], qRgb(int(255 * k / n), 0, int(255 * (1 - k / n))));
    o.save(QString::fromLocal8Bit(nom) + QTest::currentTestFunction() +
           QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + ".png");
}

// The walk from the pixel nearest `clic` that is within the tolerance, as the user clicks it.
Marche marche(const QImage& i, QPoint clic, const ReglagesTrace& r) {
    ProcheCouleur proche(ROUGE.rgb(), std::max(r.tolerance, 1));
    QPoint depart = clic;
    double mieux = 1e9;
    for (int y = clic.y() - 10; y <= clic.y() + 10; ++y)
        for (int x = clic.x() - 10; x <= clic.x() + 10; ++x)
            if (i.rect().contains(x, y) && proche(i.pixel(x, y)) &&
                std::hypot(x - clic.x(), y - clic.y()) < mieux) {
                mieux = std::hypot(x - clic.x(), y - clic.y());
                depart = {x, y};
            }
    auto e = nouveletat();
    Marche m = marchecarte(i, depart, ROUGE.rgb(), r, *e, MAXPT);
    montre(i, m);
    return m;
}

double part(const std::vector<QPoint>& pris, const QSet<QPoint>& attendus) {
    int dedans = 0;
    for (QPoint p : pris)
        dedans += attendus.contains(p);
    return attendus.isEmpty() ? 0 : double(dedans) / attendus.size();
}

// Two points in a row further apart than `ecart`, but for the pen's announced jumps.
int ecarts(const Marche& m, double ecart) {
    int n = 0;
    for (std::size_t i = 1; i < m.points.size(); ++i) {
        const QPoint d = m.points[i] - m.points[i - 1];
        if (std::hypot(d.x(), d.y()) > ecart) {
            ++n;
            if (qEnvironmentVariableIsSet("VIALUME_ORDRE"))
                qInfo("saut %zu : %d,%d -> %d,%d", i, m.points[i - 1].x(), m.points[i - 1].y(),
                      m.points[i].x(), m.points[i].y());
        }
    }
    return n;
}

// The last index at which a point lies within `r` of `c`.
int dernierpres(const Marche& m, QPointF c, double r) {
    int dernier = -1;
    for (std::size_t i = 0; i < m.points.size(); ++i)
        if (std::hypot(m.points[i].x() - c.x(), m.points[i].y() - c.y()) <= r)
            dernier = static_cast<int>(i);
    return dernier;
}
int premierpres(const Marche& m, QPointF c, double r) {
    for (std::size_t i = 0; i < m.points.size(); ++i)
        if (std::hypot(m.points[i].x() - c.x(), m.points[i].y() - c.y()) <= r)
            return static_cast<int>(i);
    return -1;
}

// The tracer over a map picture as the window runs it, the view at the map's top-left corner.
struct Course {
    std::unique_ptr<Etat> e = nouveletat();
    Surface carte;
    Surface vue{VUEL, VUEH};
    std::unique_ptr<Traceur> t;

    Course(const QImage& i, const ReglagesTrace& r) {
        carte.prend(i);
        e->fichiercarte = QStringLiteral("carte.bmp");
        e->largeurcarte = i.width();
        e->hauteurcarte = i.height();
        e->asclmax = std::max(i.width() - VUEL, 0);
        e->aschmax = std::max(i.height() - VUEH, 0);
        e->reglagestrace = r;
        vue.copie(carte, QRect(0, 0, VUEL, VUEH), QPoint(0, 0));
        t = std::make_unique<Traceur>(vue, &carte);
    }
    // A new route from view pixel `clic`, following `suivie`, to its end; `redessine` composes
    // the view after each scroll.
    bool trace(QPoint clic, Couleur suivie, const Traceur::Redessine& redessine = {}) {
        e->nouvelleroute = true;
        armetrace(*e, 0x00ff00);
        e->coulmon = suivie;
        if (!t->demarre(*e, clic.x(), clic.y())) return false;
        tracetout(*t, *e, redessine);
        t->termine(*e);
        return true;
    }
};

} // namespace

class TstMarche : public QObject {
    Q_OBJECT
  private slots:
    void distance() {
        QCOMPARE(ProcheCouleur(qRgb(10, 20, 30), 0)(qRgb(10, 20, 30)), true);
        QCOMPARE(ProcheCouleur(qRgb(10, 20, 30), 0)(qRgb(10, 20, 31)), false);
        // Near colours are a few units apart, other colours of a map tens.
        QVERIFY(ProcheCouleur(ROUGE.rgb(), 5)(qRgb(203, 28, 42)));
        QVERIFY(!ProcheCouleur(ROUGE.rgb(), 30)(qRgb(30, 120, 200)));
        QVERIFY(!ProcheCouleur(ROUGE.rgb(), 30)(qRgb(255, 255, 255)));
        const Lab blanc = verslab(qRgb(255, 255, 255));
        QVERIFY(std::abs(blanc.l - 100) < 0.01 && std::abs(blanc.a) < 0.01);
    }

    // Strokes as people paint them: everything within the tolerance is taken, from one click.
    void traitsPeints_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<int>("pont");
        QTest::addColumn<double>("minimum");
        QTest::newRow("JPEG 90") << jpeg(dessine(courbe(), 4, false), 90) << 30 << 0 << 0.97;
        QTest::newRow("JPEG 75") << jpeg(dessine(courbe(), 4, false), 75) << 35 << 2 << 0.95;
        // A thin soft line has pixels only partly covered: a wider tolerance and small gaps.
        QTest::newRow("lissé 1 px") << dessine(courbe(), 1, true) << 60 << 3 << 0.97;
        for (int l = 2; l <= 5; ++l)
            QTest::addRow("lissé %d px", l) << dessine(courbe(), l, true) << 45 << 2 << 0.97;
    }
    void traitsPeints() {
        QFETCH(QImage, image);
        QFETCH(int, tolerance);
        QFETCH(int, pont);
        QFETCH(double, minimum);
        ReglagesTrace r;
        r.tolerance = tolerance;
        r.pont = pont;
        const Marche m = marche(image, {40, 300}, r);
        const QSet<QPoint> attendus = proches(image, tolerance);
        const double p = part(m.points, attendus);
        qInfo("%s : %.1f %% de %lld pixels", QTest::currentDataTag(), 100 * p, attendus.size());
        QVERIFY2(p >= minimum, qPrintable(QString::number(p)));
        // Nothing else than the stroke's colours.
        QCOMPARE(part(m.points, attendus) * attendus.size(), double(m.points.size()));
        // Exact, as the classic walk, the same pictures fall apart.
        const Marche exacte = marche(image, {40, 300}, ReglagesTrace{0, true, 0, false});
        QVERIFY(exacte.points.size() < m.points.size());
    }

    // A dashed line (3 px gaps): bridged up to the distance set, one piece without.
    void pointilles() {
        QImage i(600, 100, QImage::Format_RGB32);
        i.fill(Qt::white);
        for (int x = 20; x < 580; ++x)
            if ((x - 20) % 13 < 10)
                for (int y = 49; y <= 51; ++y)
                    i.setPixel(x, y, ROUGE.rgb());
        ReglagesTrace r;
        r.carte = true;
        QCOMPARE(marche(i, {20, 50}, r).points.size(), std::size_t(30));
        r.pont = 3;
        const Marche m = marche(i, {20, 50}, r);
        QCOMPARE(int(m.points.size()), int(proches(i, 0).size()));
        QCOMPARE(int(m.ponts.size()), 43); // 44 dashes
        // Nearest loose end first: the dashes are taken left to right.
        for (std::size_t k = 1; k < m.ponts.size(); ++k)
            QVERIFY(m.points[m.ponts[k]].x() > m.points[m.ponts[k - 1]].x());
    }

    // All settings on but the tolerance, a route inside the view walks as the classic walk does.
    void carteEgaleVue() {
        QImage i(VUEL, VUEH, QImage::Format_RGB32);
        i.fill(Qt::white);
        QPainter p(&i);
        p.setPen(QPen(Qt::black, 3));
        p.drawEllipse(100, 100, 300, 200);
        p.drawLine(50, 50, 600, 500);
        p.end();
        std::vector<QPoint> ordres[2];
        for (int k = 0; k < 2; ++k) {
            Course c(i, ReglagesTrace{0, k == 1, 0, false});
            QVERIFY(c.trace({50, 50}, 0));
            for (int j = 0; j <= c.e->nbpt; ++j)
                ordres[k].push_back({c.e->ptx[j], c.e->pty[j]});
        }
        QVERIFY(ordres[0].size() > 1000);
        QCOMPARE(ordres[1], ordres[0]);
    }

    // A route longer than the view, clicked in the view: the whole map is walked in one run and
    // the view follows, jumping where the walk went.
    void carteEntiere() {
        QImage i(2000, 1400, QImage::Format_RGB32);
        i.fill(Qt::white);
        QPainter p(&i);
        p.setPen(QPen(QColor(0, 0, 0), 4));
        p.drawLine(100, 100, 1900, 1300);
        p.drawLine(100, 1300, 1900, 100);
        p.end();
        Course c(i, ReglagesTrace{0, true, 0, false});
        Etat* e = c.e.get();
        QVERIFY(c.trace({101, 101}, 0, [&] {
            c.vue.copie(c.carte, QRect(e->ascl, e->asch, VUEL, VUEH), {0, 0});
        }));
        int noirs = 0;
        for (int y = 0; y < 1400; ++y)
            for (int x = 0; x < 2000; ++x)
                noirs += i.pixel(x, y) == qRgb(0, 0, 0);
        QCOMPARE(e->nbpt + 1, noirs);
        // The view ended on the last point.
        QVERIFY(e->ptx[e->nbpt] >= e->ascl && e->ptx[e->nbpt] < e->ascl + VUEL);
        QVERIFY(e->pty[e->nbpt] >= e->asch && e->pty[e->nbpt] < e->asch + VUEH);
        const Bilan b = c.t->bilan(*e);
        QCOMPARE(b.restants, 0);
        QVERIFY(!messagebilan(b));
    }

    // Pen order on a thick X: from the clicked end straight through the crossing to the far
    // end, then back for the other stroke.
    void croisement() {
        QPainterPath x;
        x.moveTo(50, 50);
        x.lineTo(550, 350);
        x.moveTo(50, 350);
        x.lineTo(550, 50);
        const QImage i = dessine(x, 7, false);
        ReglagesTrace r;
        r.plume = true;
        const Marche m = marche(i, {50, 50}, r);
        QCOMPARE(int(m.points.size()), int(proches(i, 0).size()));
        const int finA = dernierpres(m, {545, 347}, 4);
        const int brasB1 = premierpres(m, {100, 320}, 4);
        const int brasB2 = premierpres(m, {500, 80}, 4);
        QVERIFY(finA >= 0 && brasB1 >= 0 && brasB2 >= 0);
        QVERIFY2(finA < brasB1 && finA < brasB2,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(finA).arg(brasB1).arg(brasB2)));
        // The first stroke grows from its clicked end: its middle after its start.
        QVERIFY(premierpres(m, {300, 200}, 3) > dernierpres(m, {60, 56}, 3));
        // The pen lifts only to come back to the crossing, once for each arm.
        QVERIFY2(ecarts(m, 12) <= 2, qPrintable(QString::number(ecarts(m, 12))));
    }

    // A loop and an out-and-back: one stroke each, in travel order, no jumps along the way.
    void boucleEtAllerRetour_data() {
        QTest::addColumn<QPainterPath>("chemin");
        QTest::addColumn<QPoint>("clic");
        QTest::addColumn<QPointF>("avant");
        QTest::addColumn<QPointF>("apres");
        // Round a circle and on, across it.
        QPainterPath boucle(QPointF(60, 350));
        boucle.lineTo(300, 200);
        boucle.arcTo(300, 100, 200, 200, 180, -360);
        boucle.lineTo(560, 60);
        QTest::newRow("boucle") << boucle << QPoint(60, 350) << QPointF(400, 300)
                                << QPointF(560, 60);
        QPainterPath aller(QPointF(60, 100));
        aller.lineTo(500, 100);
        aller.cubicTo(580, 100, 580, 200, 500, 200);
        aller.lineTo(60, 200);
        QTest::newRow("aller et retour")
            << aller << QPoint(60, 100) << QPointF(300, 100) << QPointF(300, 200);
    }
    void boucleEtAllerRetour() {
        QFETCH(QPainterPath, chemin);
        QFETCH(QPoint, clic);
        QFETCH(QPointF, avant);
        QFETCH(QPointF, apres);
        const QImage i = dessine(chemin, 6, false);
        ReglagesTrace r;
        r.plume = true;
        const Marche m = marche(i, clic, r);
        QCOMPARE(int(m.points.size()), int(proches(i, 0).size()));
        QVERIFY(dernierpres(m, avant, 2) < premierpres(m, apres, 2));
        // The pen lifts only to come back for an arm it passed.
        QVERIFY2(ecarts(m, 12) <= 3, qPrintable(QString::number(ecarts(m, 12))));
    }

    // Filled letters draw as strokes: the "l" from its top down, the "o" round its ring.
    void lettres() {
        QImage i(400, 300, QImage::Format_RGB32);
        i.fill(Qt::white);
        QPainter p(&i);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(220);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ROUGE);
        p.drawText(QRect(0, 0, 400, 300), Qt::AlignCenter, QStringLiteral("lo"));
        p.end();
        const QSet<QPoint> tous = proches(i, 0);
        QVERIFY(tous.size() > 3000);
        int haut = 300, xl = 0;
        for (QPoint q : tous)
            if (q.x() < 150 && q.y() < haut) haut = q.y(), xl = q.x();
        ReglagesTrace r;
        r.plume = true;
        r.pont = 0;
        auto e = nouveletat();
        Marche m = marchecarte(i, {xl, haut}, ROUGE.rgb(), r, *e, MAXPT);
        montre(i, m);
        // The "l" alone from the click: it is a piece of its own.
        QVERIFY(m.points.size() > 500);
        int ymax = 0;
        for (QPoint q : m.points)
            ymax = std::max(ymax, q.y());
        // From the top down: each tenth of the points lies lower than the one before.
        double avant = -1;
        const std::size_t dixieme = m.points.size() / 10;
        for (std::size_t d = 0; d < 10; ++d) {
            double y = 0;
            for (std::size_t k = d * dixieme; k < (d + 1) * dixieme; ++k)
                y += m.points[k].y();
            y /= double(dixieme);
            QVERIFY(y > avant);
            avant = y;
        }
        QVERIFY(avant > haut + (ymax - haut) * 0.8);
        // Never further from the previous point than the stroke is wide (about 35 px here,
        // 50 across its corners).
        QVERIFY2(ecarts(m, 50) == 0, qPrintable(QString::number(ecarts(m, 50))));

        // The "o" is a ring: the pen goes round it, one way, without lifting.
        int ho = 300, xo = 0;
        for (QPoint q : tous)
            if (q.x() > 200 && q.y() < ho) ho = q.y(), xo = q.x();
        Marche o = marchecarte(i, {xo, ho}, ROUGE.rgb(), r, *e, MAXPT);
        QVERIFY(o.points.size() > 2000);
        QCOMPARE(int(o.points.size() + m.points.size()), int(tous.size()));
        QVERIFY2(ecarts(o, 50) == 0, qPrintable(QString::number(ecarts(o, 50))));
        // Half-way round, the pen is at the bottom of the ring.
        QVERIFY(o.points[o.points.size() / 2].y() > ho + 80);
    }

    // What the walk says when it went wrong.
    void bilan_data() {
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QString>("debut");
        QTest::newRow("JPEG exact") << 0 << "Seulement";
        QTest::newRow("JPEG tolérance") << 30 << "";
    }
    void bilan() {
        QFETCH(int, tolerance);
        QFETCH(QString, debut);
        const QImage i = jpeg(dessine(courbe(), 4, false), 90);
        Course c(i, ReglagesTrace{tolerance, false, 0, false});
        QVERIFY(c.trace({41, 299}, depuisqrgb(i.pixel(41, 299))));
        const auto m = messagebilan(c.t->bilan(*c.e));
        QCOMPARE(m.value_or(QString()).left(debut.size()), debut);
    }
};

QTEST_MAIN(TstMarche)
#include "tst_marche.moc"
