#include "route/traceur.h"

#include <QSet>
#include <QTest>

#include <algorithm>

namespace {

constexpr Couleur BLANC = 0xffffff;
constexpr Couleur NOIR = 0x000000; // the painted route
constexpr Couleur ROUGE = 0x0000ff;

// A white map with a route painted on it in black, the view onto it and a tracer over the view.
struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surface carte;
    Surface vue{VUEL, VUEH};
    Traceur t{vue};
    QList<QPoint> redessins; // the offsets at each redraw

    explicit Banc(int largeur = VUEL, int hauteur = VUEH, int ascl = 0, int asch = 0)
        : carte(largeur, hauteur) {
        carte.remplit(BLANC);
        e->fichiercarte = QStringLiteral("carte.bmp");
        e->largeurcarte = largeur;
        e->hauteurcarte = hauteur;
        e->asclmax = largeur - VUEL;
        e->aschmax = hauteur - VUEH;
        e->ascl = ascl;
        e->asch = asch;
    }
    void peint(const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                carte.setpixel(x, y, NOIR);
    }
    // The frame at progress 1000 as far as the walk cares: the map at the offsets, then every
    // stored point in its own colour.
    void compose() {
        vue.copie(carte, QRect(e->ascl, e->asch, VUEL, VUEH), QPoint(0, 0));
        for (int i = 0; i <= e->nbpt; ++i)
            vue.setpixel(e->ptx[i] - e->ascl, e->pty[i] - e->asch, e->ptcoul[i]);
    }
    // What the window does once the route colour is chosen.
    void arme(bool nouvelle, Couleur route = ROUGE) {
        e->nouvelleroute = nouvelle;
        armetrace(*e, route);
    }
    // A start click at map position p, the probe having left `suivie` in coulmon.
    bool clic(QPoint p, Couleur suivie = NOIR) {
        compose();
        e->coulmon = suivie;
        return t.demarre(*e, p.x() - e->ascl, p.y() - e->asch);
    }
    int trace() {
        return tracetout(t, *e, [this] {
            redessins << QPoint(e->ascl, e->asch);
            compose();
        });
    }
    QList<QPoint> points(int depuis = 0) const {
        QList<QPoint> l;
        for (int i = depuis; i <= e->nbpt; ++i)
            l << QPoint(e->ptx[i], e->pty[i]);
        return l;
    }
};

QList<QPoint> ligne(int y, std::initializer_list<int> xs) {
    QList<QPoint> l;
    for (int x : xs)
        l << QPoint(x, y);
    return l;
}

QList<int> suite(int de, int a, int pas) {
    QList<int> l;
    for (int v = de; pas > 0 ? v <= a : v >= a; v += pas)
        l << v;
    return l;
}

} // namespace

class TstTraceur : public QObject {
    Q_OBJECT
  private slots:
    // ---- The order of the stored points ---------------------------------------------------
    void ordre_data() {
        QTest::addColumn<QRect>("route");
        QTest::addColumn<QPoint>("clic");
        QTest::addColumn<QList<QPoint>>("attendu");
        QTest::newRow("ligne cliquée à gauche")
            << QRect(50, 100, 10, 1) << QPoint(50, 100)
            << ligne(100, {50, 51, 52, 53, 54, 55, 56, 57, 58, 59});
        QTest::newRow("ligne cliquée au milieu")
            << QRect(50, 100, 9, 1) << QPoint(54, 100)
            << ligne(100, {53, 54, 55, 52, 56, 51, 57, 50, 58});
        // Its left neighbour comes before the clicked pixel.
        QTest::newRow("ligne cliquée à droite") << QRect(50, 100, 9, 1) << QPoint(58, 100)
                                                << ligne(100, {57, 58, 56, 55, 54, 53, 52, 51, 50});
        QTest::newRow("clic à côté de la ligne")
            << QRect(50, 100, 5, 1) << QPoint(49, 100) << ligne(100, {50, 51, 52, 53, 54});
        QTest::newRow("bloc 3x3 cliqué au centre")
            << QRect(50, 100, 3, 3) << QPoint(51, 101)
            << QList<QPoint>{{50, 100}, {50, 101}, {50, 102}, {51, 100}, {51, 101},
                             {51, 102}, {52, 100}, {52, 101}, {52, 102}};
        QTest::newRow("rien sous le clic")
            << QRect(50, 100, 5, 1) << QPoint(300, 300) << QList<QPoint>{};
    }
    void ordre() {
        QFETCH(QRect, route);
        QFETCH(QPoint, clic);
        QFETCH(QList<QPoint>, attendu);
        Banc b;
        b.peint(route);
        b.arme(true);
        QVERIFY(b.clic(clic));
        QCOMPARE(b.trace(), attendu.size());
        QCOMPARE(b.points(), attendu);
        for (int i = 0; i <= b.e->nbpt; ++i) {
            QCOMPARE(b.e->pttron[i], 0);
            QCOMPARE(b.e->ptcoul[i], ROUGE);
            QCOMPARE(b.vue.pixel(b.e->ptx[i], b.e->pty[i]), ROUGE); // marked on the view
        }
        QVERIFY(b.redessins.isEmpty());
    }

    // ---- The view follows the walk --------------------------------------------------------
    void suitLaVue_data() {
        QTest::addColumn<QSize>("carte");
        QTest::addColumn<QPoint>("depart"); // offsets at the click
        QTest::addColumn<QRect>("route");
        QTest::addColumn<QPoint>("clic");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QList<int>>("positions"); // the moving offset at each redraw

        // Each 10 pixels past column 710 one step; the range ends at 280, where the last
        // point (991..999 and the last head) still asks and the redraw still happens.
        QTest::newRow("droite") << QSize(1000, 576) << QPoint(0, 0) << QRect(600, 300, 400, 1)
                                << QPoint(600, 300) << true
                                << suite(10, 280, 10) + QList<int>(10, 280);
        // The last step is cut to the range (224), then rows 791..799 ask again.
        QTest::newRow("bas") << QSize(720, 800) << QPoint(0, 0) << QRect(300, 450, 1, 350)
                             << QPoint(300, 450) << false
                             << suite(10, 220, 10) + QList<int>(11, 224);
        QTest::newRow("gauche") << QSize(1000, 576) << QPoint(280, 0) << QRect(0, 300, 401, 1)
                                << QPoint(400, 300) << true
                                << suite(270, 0, -10) + QList<int>(6, 0);
    }
    void suitLaVue() {
        QFETCH(QSize, carte);
        QFETCH(QPoint, depart);
        QFETCH(QRect, route);
        QFETCH(QPoint, clic);
        QFETCH(bool, horizontal);
        QFETCH(QList<int>, positions);
        Banc b(carte.width(), carte.height(), depart.x(), depart.y());
        b.peint(route);
        b.arme(true);
        QVERIFY(b.clic(clic));
        QCOMPARE(b.trace(), route.width() * route.height()); // nothing lost on the way
        QList<int> vues;
        for (QPoint o : b.redessins) {
            vues << (horizontal ? o.x() : o.y());
            QCOMPARE(horizontal ? o.y() : o.x(), horizontal ? depart.y() : depart.x());
        }
        QCOMPARE(vues, positions);
    }

    void brancheHorsVuePerdue() {
        // Clicked in the middle of a line longer than the view, the walk alternates between its
        // two ends. When the right end scrolls the view, the left end (map column 9) falls out
        // of it and its remaining pixels are never reached.
        Banc b(1000, 576);
        b.peint(QRect(0, 300, 1000, 1));
        b.arme(true);
        QVERIFY(b.clic(QPoint(360, 300)));
        QCOMPARE(b.trace(), 991);
        int mini = 1000, maxi = -1;
        QSet<int> xs;
        for (QPoint p : b.points()) {
            mini = std::min(mini, p.x());
            maxi = std::max(maxi, p.x());
            xs.insert(p.x());
        }
        QCOMPARE(mini, 9);
        QCOMPARE(maxi, 999);
        QCOMPARE(xs.size(), 991);
    }

    void barresDeDefilement_data() {
        QTest::addColumn<QSize>("carte");
        QTest::addColumn<bool>("ascl");
        QTest::addColumn<bool>("asch");
        QTest::newRow("720 x 576") << QSize(720, 576) << false << false;
        QTest::newRow("plus large") << QSize(721, 576) << true << false;
        QTest::newRow("plus haute") << QSize(720, 577) << false << true;
        QTest::newRow("les deux") << QSize(1000, 800) << true << true;
    }
    void barresDeDefilement() {
        QFETCH(QSize, carte);
        QFETCH(bool, ascl);
        QFETCH(bool, asch);
        Banc b(carte.width(), carte.height());
        b.peint(QRect(100, 100, 20, 1));
        b.arme(true);
        QVERIFY(b.clic(QPoint(100, 100)));
        QVERIFY(!b.e->asclvisible);
        QVERIFY(!b.e->aschvisible);
        QVERIFY(b.t.pas(*b.e, {}));
        QVERIFY(!b.e->asclvisible);
        QVERIFY(!b.e->aschvisible);
        b.trace();
        b.t.termine(*b.e);
        QCOMPARE(b.e->asclvisible, ascl);
        QCOMPARE(b.e->aschvisible, asch);
    }

    // ---- States and captions --------------------------------------------------------------
    void etatsEtLibelles_data() {
        QTest::addColumn<QString>("stop");    // language entry 55
        QTest::addColumn<QString>("vialume"); // language entry 1
        QTest::addColumn<QString>("attstop");
        QTest::addColumn<QString>("attvialume");
        QTest::newRow("français") << QString() << QString() << "Stop calcul"
                                  << "Vialume";
        QTest::newRow("traduit") << "Stop computing"
                                 << "Vialume!"
                                 << "Stop computing"
                                 << "Vialume!";
    }
    void etatsEtLibelles() {
        QFETCH(QString, stop);
        QFETCH(QString, vialume);
        QFETCH(QString, attstop);
        QFETCH(QString, attvialume);
        Banc b;
        b.e->textes[55] = stop;
        b.e->textes[1] = vialume;
        b.e->estompe = 3;
        b.peint(QRect(100, 100, 30, 2));
        b.arme(true);
        QVERIFY(b.clic(QPoint(100, 100)));
        QCOMPARE(b.e->coulsuivie, NOIR);
        QCOMPARE(b.e->etatcalcul, 2);
        QCOMPARE(b.e->calculviacaption, attstop);
        QCOMPARE(b.t.enattente(), 1);
        QCOMPARE(b.e->nbpt, -1); // the click is queued, not stored
        b.trace();
        QVERIFY(b.e->calculactif); // a walk that runs out keeps it until the end steps
        b.t.termine(*b.e);
        QCOMPARE(b.e->etatcalcul, 0);
        QVERIFY(!b.e->calculactif);
        QVERIFY(b.e->button9actif);
        QCOMPARE(b.e->calculviacaption, attvialume);
        // The magnifier path follows the new route.
        const int n = b.e->nbpt;
        QCOMPARE(n, 59);
        QCOMPARE(b.e->loupex[0], b.e->ptx[0]);
        QCOMPARE(b.e->loupex[n], b.e->ptx[n]);
        QCOMPARE(b.e->loupey[n], b.e->pty[n]);
        QVERIFY(b.e->loupex[n / 2] > 100 && b.e->loupex[n / 2] < 129);
    }

    void demarreSeulementArme_data() {
        QTest::addColumn<bool>("calculactif");
        QTest::addColumn<int>("etatcalcul");
        QTest::newRow("au repos") << false << 0;
        QTest::newRow("stop confirmé avant le clic") << false << 1;
        QTest::newRow("pendant le trace") << true << 2;
    }
    void demarreSeulementArme() {
        QFETCH(bool, calculactif);
        QFETCH(int, etatcalcul);
        Banc b;
        b.peint(QRect(100, 100, 5, 1));
        b.e->nbpt = 2;
        b.e->calculactif = calculactif;
        b.e->etatcalcul = etatcalcul;
        b.e->nouvelleroute = true;
        QVERIFY(!b.clic(QPoint(100, 100)));
        QCOMPARE(b.e->nbpt, 2);
        QCOMPARE(b.e->etatcalcul, etatcalcul);
        QCOMPARE(b.t.enattente(), 0);
        QVERIFY(!b.t.pas(*b.e, {}));
        QCOMPARE(b.e->nbpt, 2);
    }

    // ---- Runs: new route, continuation, stop ----------------------------------------------
    void runs_data() {
        QTest::addColumn<bool>("nouvelle");
        QTest::addColumn<int>("avant");   // points already stored
        QTest::addColumn<int>("dernier"); // their segment number
        QTest::addColumn<int>("segment");
        QTest::newRow("suite") << false << 5 << 2 << 3;
        QTest::newRow("suite d'une route vide") << false << 0 << 0 << 0;
        QTest::newRow("nouvelle route") << true << 5 << 2 << 0;
        QTest::newRow("nouvelle route sur vide") << true << 0 << 0 << 0;
    }
    void runs() {
        QFETCH(bool, nouvelle);
        QFETCH(int, avant);
        QFETCH(int, dernier);
        QFETCH(int, segment);
        Banc b;
        // A route as a parameters file leaves it: points, colours and segment numbers.
        for (int i = 0; i < avant; ++i) {
            b.e->ptx[i] = 400 + i;
            b.e->pty[i] = 50;
            b.e->ptcoul[i] = 0x00ff00;
            b.e->pttron[i] = i < avant - 1 ? 0 : dernier;
        }
        b.e->nbpt = avant - 1;
        b.peint(QRect(100, 200, 10, 1));
        b.arme(nouvelle);
        QVERIFY(b.clic(QPoint(100, 200)));
        QCOMPARE(b.e->troncours, segment);
        QCOMPARE(b.trace(), 10);
        const int premier = nouvelle ? 0 : avant;
        QCOMPARE(b.t.premier(), premier);
        QCOMPARE(b.e->nbpt, premier + 9);
        QCOMPARE(b.points(premier), ligne(200, {100, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
        for (int i = premier; i <= b.e->nbpt; ++i) {
            QCOMPARE(b.e->pttron[i], segment);
            QCOMPARE(b.e->ptcoul[i], ROUGE);
        }
        for (int i = 0; i < premier; ++i) {
            QCOMPARE(b.e->ptx[i], 400 + i);
            QCOMPARE(b.e->ptcoul[i], 0x00ff00);
        }
    }

    void arretPendantLeTrace() {
        Banc b;
        b.peint(QRect(100, 100, 100, 100));
        b.arme(true);
        QVERIFY(b.clic(QPoint(150, 150)));
        for (int i = 0; i < 50; ++i)
            QVERIFY(b.t.pas(*b.e, {}));
        const QList<QPoint> avant = b.points();
        QVERIFY(b.t.enattente() > 1);
        // The confirmed stop, as the window does it between two steps.
        b.e->calculactif = false;
        b.e->etatcalcul = 0;
        QVERIFY(!b.t.pas(*b.e, {})); // one more head, then the queue is empty
        QCOMPARE(b.t.enattente(), 0);
        const QList<QPoint> apres = b.points();
        QCOMPARE(apres.mid(0, avant.size()), avant);
        QVERIFY(apres.size() > avant.size());
        QVERIFY(apres.size() - avant.size() <= 9);
        QVERIFY(!b.t.plein());
        b.t.termine(*b.e);
        QCOMPARE(b.e->loupex[b.e->nbpt], b.e->ptx[b.e->nbpt]);
    }

    // With the route colour equal to the followed colour, marking does not set a pixel apart;
    // the walk still ends, and in the same order as with another colour.
    void memeCouleur_data() {
        QTest::addColumn<QSize>("carte");
        QTest::addColumn<QRect>("route");
        QTest::addColumn<QPoint>("clic");
        QTest::newRow("bloc 3x3") << QSize(720, 576) << QRect(50, 100, 3, 3) << QPoint(51, 101);
        QTest::newRow("bloc plein") << QSize(720, 576) << QRect(50, 100, 60, 40) << QPoint(70, 120);
        // The redraws after each scroll paint the stored points in the followed colour too.
        QTest::newRow("avec défilement")
            << QSize(1000, 576) << QRect(600, 300, 400, 1) << QPoint(600, 300);
    }
    void memeCouleur() {
        QFETCH(QSize, carte);
        QFETCH(QRect, route);
        QFETCH(QPoint, clic);
        QList<QPoint> ordres[2];
        for (Couleur c : {ROUGE, NOIR}) {
            Banc b(carte.width(), carte.height());
            b.peint(route);
            b.arme(true, c);
            QVERIFY(b.clic(clic));
            QCOMPARE(b.trace(), route.width() * route.height());
            QVERIFY(!b.t.plein());
            ordres[c == NOIR] = b.points();
        }
        QCOMPARE(ordres[1], ordres[0]);
    }

    // A followed colour of "no colour" (a file's background colour, then a click without a move
    // of the probe) matches nothing outside the view: the walk stays on the view.
    void sansCouleurHorsVue() {
        Banc b;
        b.arme(true);
        QVERIFY(b.clic(QPoint(0, 0), AUCUNECOULEUR));
        QCOMPARE(b.trace(), 0);
        QCOMPARE(b.e->nbpt, -1);
    }

    // A walk stores every pixel it finds, past the 36001 points of old; one that would go beyond
    // the route's limit stops there as a stop does.
    void limite_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("limite");
        QTest::addColumn<bool>("plein");
        QTest::newRow("juste assez") << MAXPT << MAXPT << false;
        QTest::newRow("un de trop") << MAXPT + 1 << MAXPT << true;
        QTest::newRow("bien trop") << 200 * 200 << MAXPT << true;
        QTest::newRow("au-delà de 36001") << 200 * 200 << MAXROUTE << false;
    }
    void limite() {
        QFETCH(int, pixels);
        QFETCH(int, limite);
        QFETCH(bool, plein);
        Banc b;
        for (int i = 0; i < pixels; ++i)
            b.carte.setpixel(100 + i % 200, 100 + i / 200, NOIR);
        b.t.limite(limite);
        b.arme(true);
        QVERIFY(b.clic(QPoint(100, 100)));
        // The step that finds the tables full is the last one.
        while (b.t.pas(*b.e, {}))
            QVERIFY(!b.t.plein());
        const int points = std::min(pixels, limite);
        QCOMPARE(b.e->nbpt, points - 1);
        QCOMPARE(b.t.plein(), plein);
        QCOMPARE(b.e->calculactif, !plein);
        QCOMPARE(b.t.enattente(), 0);
        const QList<QPoint> l = b.points();
        QCOMPARE(QSet<QPoint>(l.begin(), l.end()).size(), points);
    }

    void suiteDUneRoutePleine() {
        Banc b;
        b.t.limite(MAXPT);
        b.e->nbpt = MAXPT - 1;
        b.e->pttron[MAXPT - 1] = 4;
        b.peint(QRect(100, 100, 10, 1));
        b.arme(false);
        QVERIFY(b.clic(QPoint(100, 100)));
        QCOMPARE(b.trace(), 0);
        QVERIFY(b.t.plein());
        QCOMPARE(b.e->nbpt, MAXPT - 1);
        QCOMPARE(b.e->pttron[MAXPT - 1], 4);
        QCOMPARE(b.vue.pixel(100, 100), NOIR); // nothing was marked either
    }
};

QTEST_APPLESS_MAIN(TstTraceur)
#include "tst_traceur.moc"
