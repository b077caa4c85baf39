// A replay's clock: three made tracks of known speeds and starts, at the film's middle frame,
// each as far as its clock says, on one clock and from a common start; the ranking against the
// tracks' distances; the followed camera keeping every head in view.
#include "geo/calage.h"
#include "geo/importe.h"
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <QTest>

#include <cmath>

namespace {

// A 1000 x 800 map whose top-left pixel centre is 46 N 2 E, 0.0001 degree a pixel.
constexpr double PAS = 0.0001;
constexpr double T0 = 1.7e9;

struct Course {
    double vitesse; // metres a second, due east
    double depart;  // seconds after T0
    double lat;
};
const Course COURSES[] = {{3, 0, 45.99}, {4, 60, 45.98}, {5, 120, 45.97}};

double metresdegre(double lat) {
    // One degree of longitude along the parallel, on the ellipsoid.
    const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f);
    const double p = lat * M_PI / 180;
    return M_PI / 180 * a * std::cos(p) / std::sqrt(1 - e2 * std::sin(p) * std::sin(p));
}

// Ten minutes each, a point every ten seconds.
TraceGps trace(const Course& c) {
    SegmentGps s;
    for (int k = 0; k <= 60; ++k) {
        PointGps p;
        p.lat = c.lat;
        p.lon = 2.01 + c.vitesse * 10 * k / metresdegre(c.lat);
        p.temps = T0 + c.depart + 10 * k;
        p.atemps = true;
        s.push_back(p);
    }
    TraceGps t;
    t.nbpoints = std::ssize(s);
    t.segments.push_back(s);
    return t;
}

std::unique_ptr<Etat> rejeu(Depart depart) {
    auto e = nouveletat();
    e->largeurcarte = 1000;
    e->hauteurcarte = 800;
    e->cipstexte = QStringLiteral("25 images/secondes");
    filmdepart(*e);
    QString erreur;
    const auto p = Projection::cree(Calage::nord(PAS, 2.0, 46.0, "EPSG:4326"), erreur);
    std::vector<TraceGps> t;
    for (const Course& c : COURSES)
        t.push_back(trace(c));
    const auto r = importepistes(*e, {&t[0], &t[1], &t[2]}, *p, {0x0000ff, 0x00ff00, 0xff0000});
    if (!std::holds_alternative<std::vector<Importation>>(r)) return nullptr;
    const auto& v = std::get<std::vector<Importation>>(r);
    for (std::size_t k = 0; k < v.size(); ++k) {
        Piste q;
        q.premier = v[k].premier;
        q.dernier = v[k].dernier;
        q.debut = T0 + COURSES[k].depart;
        q.horloge = true;
        q.nom = QString("P%1").arg(k + 1);
        e->rejeu.pistes.push_back(q);
    }
    e->rejeu.depart = depart;
    e->nbi = "100";
    majcles(*e);
    return e;
}

// The pixel column where a track stands after `s` seconds of it.
double colonne(const Course& c, double s) {
    return (c.vitesse * s / metresdegre(c.lat)) / PAS + 100;
}

} // namespace

class TstRejeu : public QObject {
    Q_OBJECT
  private slots:
    void milieu_data();
    void milieu();
    void classement_data();
    void classement();
    void pause();
    void camera_data();
    void camera();
};

void TstRejeu::milieu_data() {
    QTest::addColumn<int>("depart");
    QTest::addColumn<double>("temps");        // the middle frame's clock, after T0
    QTest::addColumn<QList<double>>("faits"); // seconds each track has run by then
    // One clock from 0 to 720 s; a common start from 0 to 600 s.
    QTest::newRow("heure") << int(Depart::HEURE) << 360.0 << QList<double>{360, 300, 240};
    QTest::newRow("commun") << int(Depart::COMMUN) << 300.0 << QList<double>{300, 300, 300};
}

void TstRejeu::milieu() {
    QFETCH(int, depart);
    QFETCH(double, temps);
    QFETCH(QList<double>, faits);
    const auto e = rejeu(static_cast<Depart>(depart));
    QVERIFY(e);
    QCOMPARE(e->nbimg, 100);
    const double base = depart == int(Depart::HEURE) ? T0 : 0;
    QVERIFY(std::abs(e->imgtemps[50] - base - temps) < 1e-6);
    double debut = 0, fin = 0;
    QVERIFY(bornesrejeu(*e, debut, fin));
    QCOMPARE(e->imgtemps[0], debut);
    QCOMPARE(e->imgtemps[100], fin);
    for (int k = 0; k < 3; ++k) {
        const Piste& p = e->rejeu.pistes[static_cast<std::size_t>(k)];
        const int n = pointau(*e, p, e->imgtemps[50]);
        const double x = colonne(COURSES[k], faits[k]);
        QVERIFY2(std::abs(e->ptx[n] - x) <= 1,
                 qPrintable(QString("%1: %2 / %3").arg(k).arg(e->ptx[n]).arg(x)));
        QCOMPARE(e->pty[n], p.premier >= 0 ? e->pty[p.premier] : -1);
    }
    // The progress alone is the share of every point reached, for a reader of the route.
    QVERIFY(e->imgavance[50] > 0 && e->imgavance[50] < 1000);
    QCOMPARE(e->imgavance[100], 1000);
}

// From a common start, at 300 s: 1500, 1200 and 900 metres. The leader was at 1200 m at 240 s
// and at 900 m at 180 s: the others are 60 s and 120 s behind.
void TstRejeu::classement_data() {
    QTest::addColumn<double>("temps");
    QTest::addColumn<QList<int>>("ordre");
    QTest::addColumn<QList<double>>("distances");
    QTest::addColumn<QList<double>>("ecarts");
    QTest::newRow("au milieu") << 300.0 << QList<int>{2, 1, 0} << QList<double>{1500, 1200, 900}
                               << QList<double>{0, 60, 120};
    QTest::newRow("au départ") << 0.0 << QList<int>{0, 1, 2} << QList<double>{0, 0, 0}
                               << QList<double>{0, 0, 0};
    // All finished: by their times, gaps the differences.
    QTest::newRow("à la fin") << 600.0 << QList<int>{0, 1, 2} << QList<double>{1800, 2400, 3000}
                              << QList<double>{0, 0, 0};
    // On one clock at 660 s: the first two in (600 s each), the third 540 s into its run, at
    // least the 60 s since the leader's finish behind, whatever its way.
    QTest::newRow("après l'arrivée du premier")
        << 660.0 << QList<int>{0, 1, 2} << QList<double>{1800, 2400, 2700}
        << QList<double>{0, 0, 60};
}

void TstRejeu::classement() {
    QFETCH(double, temps);
    QFETCH(QList<int>, ordre);
    QFETCH(QList<double>, distances);
    QFETCH(QList<double>, ecarts);
    const bool heure = QByteArray(QTest::currentDataTag()).startsWith("après");
    const auto e = rejeu(heure ? Depart::HEURE : Depart::COMMUN);
    QVERIFY(e);
    const std::vector<Rang> v = ::classement(*e, temps + (heure ? T0 : 0));
    QCOMPARE(v.size(), std::size_t(3));
    for (int k = 0; k < 3; ++k) {
        const Rang& r = v[static_cast<std::size_t>(k)];
        QCOMPARE(r.tete.piste, ordre[k]);
        // A pixel of the map is 7.7 m: the distance and the gap within a pixel.
        QVERIFY2(std::abs(r.tete.dist - distances[k]) < 8,
                 qPrintable(QString("%1: %2").arg(k).arg(r.tete.dist)));
        QVERIFY2(std::abs(r.ecart - ecarts[k]) < 3.5,
                 qPrintable(QString("%1: %2").arg(k).arg(r.ecart)));
        if (k > 0 && temps > 0) QVERIFY(r.ecarttemps);
        QVERIFY(r.ecart >= 0);
    }
}

// Tracks on days apart, on one clock: the night between them counts as the pause cap.
void TstRejeu::pause() {
    auto e = rejeu(Depart::HEURE);
    QVERIFY(e);
    e->rejeu.pistes[2].debut += 86400;
    e->geo.pause = 30;
    calculimages(*e);
    // 600 s of the first two (they overlap by 540 s), then 30 s of night, then 600 s.
    double debut = 0, fin = 0;
    QVERIFY(bornesrejeu(*e, debut, fin));
    QVERIFY(std::abs(fin - debut - (86400 + 720)) < 1e-6);
    // 660 + 30 + 600 = 1290 s of film: frame 75 is 967.5 s in, 277.5 s into the third track.
    QVERIFY(std::abs(e->imgtemps[75] - (T0 + 86400 + 120 + 277.5)) < 1e-6);
    const int n = pointau(*e, e->rejeu.pistes[2], e->imgtemps[75]);
    QVERIFY(std::abs(e->ptx[n] - colonne(COURSES[2], 277.5)) <= 1);
    QVERIFY(std::abs(e->imgtemps[50] - (T0 + 645)) < 1e-6);
}

// A followed camera: every shown head in view on every frame, with the film zoomed close.
void TstRejeu::camera_data() {
    QTest::addColumn<int>("suivi");
    QTest::newRow("toutes les têtes") << int(Suivi::TOUTES);
    QTest::newRow("la tête de course") << int(Suivi::TETE);
}

void TstRejeu::camera() {
    QFETCH(int, suivi);
    auto e = rejeu(Depart::COMMUN);
    QVERIFY(e);
    e->film.zoom = 3;
    e->rejeu.suivi = static_cast<Suivi>(suivi);
    calculimages(*e);
    for (int c = 0; c <= e->nbimg; ++c) {
        const double z = e->imgzoom[c] > 0 ? e->imgzoom[c] : e->film.zoom;
        QVERIFY(z <= 3 + 1e-9);
        const QRect vue(e->imgdecx[c], e->imgdecy[c], champl(*e, z), champh(*e, z));
        const std::vector<Rang> v = ::classement(*e, e->imgtemps[c]);
        for (std::size_t k = 0; k < v.size(); ++k) {
            if (suivi == int(Suivi::TETE) && k > 0) break;
            const QPoint h(e->ptx[v[k].tete.point], e->pty[v[k].tete.point]);
            QVERIFY2(vue.contains(h), qPrintable(QString("image %1, piste %2").arg(c).arg(k)));
        }
    }
}

QTEST_GUILESS_MAIN(TstRejeu)
#include "tst_rejeu.moc"
