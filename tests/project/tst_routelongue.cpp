// Routes longer than the 36001 points of old: kept whole in the file, still read by a reader
// that knows only "[CHEMIN]", and tables that follow the route's length.
#include "aide_parametres.h"
#include "timeline/temps.h"

#include <QTest>

namespace {

// A project as the window starts it, whose file reads back.
std::unique_ptr<Etat> projet() {
    auto e = nouveletat();
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    e->bordnb = QStringLiteral("30");
    return e;
}

// A route of n points along rows of 1000 pixels: two segments in two colours, and with `gps`
// a distance and an elevation for each point.
void route(Etat& e, int n, bool gps) {
    QVERIFY(placeroute(e, n));
    e.nbpt = n - 1;
    for (int i = 0; i < n; ++i) {
        e.ptx[i] = i % 1000;
        e.pty[i] = i / 1000;
        e.ptcoul[i] = i < n / 2 ? 0x0000ff : 0x00ff00;
        e.pttron[i] = i < n / 2 ? 0 : 1;
    }
    if (!gps) return;
    QVERIFY(placegeo(e, n));
    e.nbgeo = n;
    e.gpsdist = e.gpsalt = true;
    for (int i = 0; i < n; ++i) {
        e.ptdist[i] = i * 1.5;
        e.ptalt[i] = 200 + i % 7;
    }
}

// The value lines of a section.
QList<QByteArray> section(const QByteArray& fichier, QByteArrayView cle) {
    QList<QByteArray> l;
    bool dedans = false;
    for (const QByteArray& ligne : fichier.split('\n')) {
        const QByteArray t = ligne.trimmed();
        if (t.startsWith('[')) {
            dedans = t == cle;
            continue;
        }
        if (dedans) l << t;
    }
    return l;
}

Parametres lu(const QByteArray& octets) {
    const Lecture l = lisparametres(octets, 25);
    if (const auto* e = std::get_if<ErreurLecture>(&l)) qWarning() << e->message;
    return std::get_if<Parametres>(&l) ? std::get<Parametres>(l) : Parametres{};
}

} // namespace

class TstRouteLongue : public QObject {
    Q_OBJECT
  private slots:
    // Up to 36001 points the file is as it always was; past them every point is kept, and a
    // reader of "[CHEMIN]" alone gets 36001 of them from the first to the last, in order.
    void fichier_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("gps");
        QTest::newRow("36001 points") << MAXPT << false;
        QTest::newRow("36002 points") << MAXPT + 1 << false;
        QTest::newRow("250 000 points") << 250'000 << false;
        QTest::newRow("100 000 points GPS") << 100'000 << true;
    }
    void fichier() {
        QFETCH(int, n);
        QFETCH(bool, gps);
        auto e = projet();
        route(*e, n, gps);
        const QByteArray o = ecrisparametres(*e);
        const QList<QByteArray> chemin = section(o, "[CHEMIN]");
        QCOMPARE(chemin.size(), std::min(n, MAXPT));
        QCOMPARE(section(o, "[ROUTE]").size(), n > MAXPT ? n : 0);
        // "[ROUTE]" stands where a reader of old skips every line.
        if (n > MAXPT) QVERIFY(o.indexOf("[ROUTE]") < o.indexOf("[CHEMIN]"));

        const Parametres tout = lu(o);
        QCOMPARE(std::ssize(tout.points), n);
        QVERIFY(!tout.routeecartee);
        for (int i : {0, 1, n / 2 - 1, n / 2, n - 1}) {
            const PointLu& p = tout.points[i];
            QCOMPARE(QPoint(p.x, p.y), QPoint(e->ptx[i], e->pty[i]));
            QCOMPARE(p.coul, e->ptcoul[i]);
            QCOMPARE(p.tron, e->pttron[i]);
            QCOMPARE(p.dist.has_value(), gps);
            if (gps) QCOMPARE(*p.alt, e->ptalt[i]);
        }
        // Read back into a project, it writes the same bytes again.
        auto f = projet();
        Surfaces s;
        appliqueparametres(*f, s, tout);
        QCOMPARE(f->nbpt, n - 1);
        QCOMPARE(ecrisparametres(*f), o);

        // What a reader that starts at "[CHEMIN]" sees: the route from its first point to its
        // last, evenly, never backwards.
        const Parametres ancien = lu(o.mid(o.indexOf("[CHEMIN]")));
        QCOMPARE(std::ssize(ancien.points), std::min(n, MAXPT));
        const auto rang = [](const PointLu& p) { return p.y * 1000 + p.x; };
        QCOMPARE(rang(ancien.points.front()), 0);
        QCOMPARE(rang(ancien.points.back()), n - 1);
        int pasmax = 0;
        for (std::size_t k = 1; k < ancien.points.size(); ++k) {
            const int pas = rang(ancien.points[k]) - rang(ancien.points[k - 1]);
            QVERIFY(pas >= 1);
            pasmax = std::max(pasmax, pas);
        }
        QVERIFY(pasmax <= (n + MAXPT - 2) / (MAXPT - 1));
    }

    // A program that knows only "[CHEMIN]" changed the route there and kept "[ROUTE]" as it
    // was: the route is the one of "[CHEMIN]", and the user is told.
    void cheminChangeAilleurs() {
        auto e = projet();
        route(*e, 50'000, false);
        QByteArray o = ecrisparametres(*e);
        const qsizetype i = o.indexOf("[CHEMIN]\r\n") + 10;
        o.insert(i, "7\t8\t255\t0\r\n"); // one point more in front
        const Parametres p = lu(o);
        QVERIFY(p.routeecartee);
        QCOMPARE(std::ssize(p.points), MAXPT + 1);
        QCOMPARE(QPoint(p.points[0].x, p.points[0].y), QPoint(7, 8));
        auto f = projet();
        Surfaces s;
        const QStringList m = appliqueparametres(*f, s, p);
        QCOMPARE(f->nbpt, MAXPT);
        QCOMPARE(m.size(), 1);
        QVERIFY2(m[0].contains("[CHEMIN]") && m[0].contains("36002 points"), qPrintable(m[0]));
    }

    // A point line reads the same whichever way it is written and whichever section holds it;
    // what is wrong is refused at its line.
    void lignes_data() {
        QTest::addColumn<QString>("ligne");
        QTest::addColumn<QString>("attendu"); // "x y coul tron dist temps alt", or an error
        const QString p = QStringLiteral("5 6 255 2 - - -");
        QTest::newRow("ordinaire") << "5\t6\t255\t2" << p;
        QTest::newRow("signes et zéros") << "+5\t006\t+255\t02" << p;
        QTest::newRow("couleur hexadécimale") << "5\t6\t$FF\t2" << p;
        QTest::newRow("couleur nommée") << "5\t6\tclRed\t2" << p;
        QTest::newRow("négatifs") << "-5\t-6\t-2147483643\t0"
                                  << "-5 -6 -2147483643 0 - - -";
        QTest::newRow("GPS") << "5\t6\t255\t2\t12.5\t\t-3"
                             << "5 6 255 2 12.5 - -3";
        QTest::newRow("GPS exposant") << "5\t6\t255\t2\t1e2"
                                      << "5 6 255 2 100 - -";
        QTest::newRow("champs en plus") << "5\t6\t255\t2\t\t\t\tx" << p;
        QTest::newRow("segment négatif") << "5\t6\t255\t-1"
                                         << "'-1' est hors des limites";
        QTest::newRow("x trop grand") << "100000001\t6\t255\t2"
                                      << "'100000001' est hors";
        QTest::newRow("couleur hors 32 bits") << "5\t6\t99999999999\t2"
                                              << "'99999999999' n'est pas une valeur entière";
        QTest::newRow("distance infinie") << "5\t6\t255\t2\t1e999"
                                          << "'1e999' n'est pas un nombre";
        QTest::newRow("ligne vide") << ""
                                    << "'' n'est pas une valeur entière";
        QTest::newRow("espace") << "5 \t6\t255\t2"
                                << "'5 ' n'est pas une valeur entière";
    }
    void lignes() {
        QFETCH(QString, ligne);
        QFETCH(QString, attendu);
        // In "[ROUTE]" the same two points follow in "[CHEMIN]", as this program writes them.
        for (const bool longue : {false, true}) {
            const QString cle = longue ? QStringLiteral("[ROUTE]") : QStringLiteral("[CHEMIN]");
            QStringList t{cle, "1\t1\t255\t2", ligne};
            if (longue)
                t << "[CHEMIN]"
                  << "1\t1\t255\t2" << ligne;
            const QByteArray o = texte(t << "[IPS]" << "25");
            const Lecture l = lisparametres(o, 25);
            if (const auto* err = std::get_if<ErreurLecture>(&l)) {
                QVERIFY2(err->message.startsWith(attendu), qPrintable(cle + u' ' + err->message));
                QCOMPARE(err->ligne, 3);
                continue;
            }
            const auto& pts = std::get<Parametres>(l).points;
            QCOMPARE(pts.size(), std::size_t{2});
            const PointLu& q = pts[1];
            const auto reel = [](const std::optional<double>& v) {
                return v ? QString::number(*v) : QStringLiteral("-");
            };
            QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                         .arg(q.x)
                         .arg(q.y)
                         .arg(q.coul)
                         .arg(q.tron)
                         .arg(reel(q.dist), reel(q.temps), reel(q.alt)),
                     attendu);
        }
    }

    // The tables hold 36001 entries from the start and grow with the route; a shorter route
    // read after a long one gives the memory back.
    void memoire() {
        auto e = nouveletat();
        QCOMPARE(e->ptx.size(), std::size_t(MAXPT));
        QCOMPARE(e->ptdist.size(), std::size_t(MAXPT));
        route(*e, 300'000, false);
        QVERIFY(e->ptx.size() >= 300'000u);
        QCOMPARE(e->ptdist.size(), std::size_t(MAXPT)); // a hand route has no GPS values
        QVERIFY(!placeroute(*e, MAXROUTE + 1));
        QVERIFY(e->ptx.size() < std::size_t(MAXROUTE));
        Surfaces s;
        appliqueparametres(*e, s, lu(texte({"[CHEMIN]", "1\t2\t255\t0", "[IPS]", "25"})));
        QCOMPARE(e->nbpt, 0);
        for (const auto* t : {&e->ptx, &e->pty, &e->ptcoul, &e->pttron, &e->loupex, &e->loupey})
            QCOMPARE(t->capacity(), std::size_t(MAXPT));
    }
};

QTEST_GUILESS_MAIN(TstRouteLongue)
#include "tst_routelongue.moc"
