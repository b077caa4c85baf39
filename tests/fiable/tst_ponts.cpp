// The gap search of a walk with bridges, over maps strewn with pixels of the route's colour:
// whatever index it keeps, it takes the same pixels in the same order as the plain search it
// stands for (every point from the newest back, every offset of the disc nearest first).
#include "route/marche.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

const QRgb ROUGE = qRgb(200, 30, 40);

// The walk as its description reads, pixel by pixel: breadth-first over the eight neighbours,
// then, when the queue runs dry, the first pixel of the colour in the disc of radius pont + 1
// (nearest first, then by row and column) around the newest point that has one.
Marche reference(const QImage& c, QPoint depart, int pont, const Etat& e, int place) {
    Marche m;
    const int l = c.width(), h = c.height();
    std::vector<char> pris(static_cast<std::size_t>(l) * h, 0);
    for (int i = 0; i <= e.nbpt; ++i)
        pris[static_cast<std::size_t>(e.pty[i]) * l + e.ptx[i]] = 1;
    const auto accepte = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < l && y < h && !pris[static_cast<std::size_t>(y) * l + x] &&
               c.pixel(x, y) == ROUGE;
    };
    const auto prend = [&](int x, int y) {
        pris[static_cast<std::size_t>(y) * l + x] = 1;
        m.points.push_back({x, y});
        if (static_cast<int>(m.points.size()) >= place) m.plein = true;
    };
    const auto voisins = [&](QPoint p) {
        for (int dx = -1; dx <= 1 && !m.plein; ++dx)
            for (int dy = -1; dy <= 1 && !m.plein; ++dy)
                if (accepte(p.x() + dx, p.y() + dy)) prend(p.x() + dx, p.y() + dy);
    };
    std::vector<QPoint> rond;
    const int r = pont + 1;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if ((dx || dy) && dx * dx + dy * dy <= r * r) rond.push_back({dx, dy});
    std::stable_sort(rond.begin(), rond.end(), [](QPoint a, QPoint b) {
        return a.x() * a.x() + a.y() * a.y() < b.x() * b.x() + b.y() * b.y();
    });
    voisins(depart);
    std::size_t tete = 0;
    while (!m.plein) {
        if (tete < m.points.size()) {
            voisins(m.points[tete++]);
            continue;
        }
        bool saute = false;
        for (std::size_t k = m.points.size(); k-- > 0 && !saute;)
            for (const QPoint d : rond) {
                const QPoint q = m.points[k] + d;
                if (!accepte(q.x(), q.y())) continue;
                m.ponts.push_back(static_cast<int>(m.points.size()));
                prend(q.x(), q.y());
                saute = true;
                break;
            }
        if (!saute) break;
    }
    return m;
}

} // namespace

class TstPonts : public QObject {
    Q_OBJECT

  private slots:
    void commeladescription_data() {
        QTest::addColumn<int>("graine");
        QTest::addColumn<int>("pont");
        QTest::addColumn<int>("egares"); // stray pixels of the colour
        QTest::addColumn<int>("deja");   // points of the route before the walk
        QTest::addColumn<int>("place");
        for (const int pont : {1, 3, 12, MAXPONT})
            for (const int egares : {0, 40, 400})
                QTest::addRow("bridges %d, %d strays", pont, egares)
                    << pont * 7 + egares << pont << egares << 0 << MAXPT;
        QTest::newRow("continuation beside a route") << 5 << 10 << 200 << 300 << MAXPT;
        QTest::newRow("full after 700 points") << 6 << 20 << 300 << 0 << 700;
        QTest::newRow("strays on the map's edges") << 7 << MAXPONT << 1000 << 0 << MAXPT;
    }
    void commeladescription() {
        QFETCH(int, graine);
        QFETCH(int, pont);
        QFETCH(int, egares);
        QFETCH(int, deja);
        QFETCH(int, place);
        QRandomGenerator g(static_cast<quint32>(graine));
        QImage c(400, 300, QImage::Format_RGB32);
        c.fill(qRgb(240, 235, 220));
        // A dashed zigzag: dashes of 5 to 30 pixels, gaps of 1 to 8.
        int x = 5, y = 150;
        QPoint premier;
        while (x < 395) {
            const int trait = g.bounded(5, 30);
            for (int k = 0; k < trait && x < 395; ++k, ++x) {
                y = std::clamp(y + g.bounded(-1, 2), 1, 298);
                c.setPixel(x, y, ROUGE);
                if (premier.isNull()) premier = {x, y};
            }
            x += g.bounded(1, 9);
        }
        for (int k = 0; k < egares; ++k) {
            const bool bord = graine == 7 && k % 2;
            c.setPixel(bord ? (k % 4 ? 0 : 399) : g.bounded(400),
                       bord ? g.bounded(300) : g.bounded(300), ROUGE);
        }
        auto e = nouveletat();
        for (int i = 0; i < deja; ++i) {
            e->ptx[i] = i % 400;
            e->pty[i] = 10 + i / 400;
            c.setPixel(e->ptx[i], e->pty[i], ROUGE);
        }
        e->nbpt = deja - 1;
        ReglagesTrace r;
        r.carte = true;
        r.pont = pont;
        const Marche m = marchecarte(c, premier, ROUGE, r, *e, place);
        const Marche attendu = reference(c, premier, pont, *e, place);
        QVERIFY(!m.points.empty());
        QCOMPARE(m.points.size(), attendu.points.size());
        QVERIFY(m.points == attendu.points);
        QVERIFY(m.ponts == attendu.ponts);
        QCOMPARE(m.plein, attendu.plein);
        qInfo("%d points, %d bridges", int(m.points.size()), int(m.ponts.size()));
    }
};

QTEST_GUILESS_MAIN(TstPonts)
#include "tst_ponts.moc"
