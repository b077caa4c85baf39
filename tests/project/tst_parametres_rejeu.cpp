// A replay in the parameters file: its tracks in a section of their own ahead of the route, read
// back the same; refused at their line when malformed; and read as V1.50 reads it, one route.
#include "aide_parametres.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Projet(const QTemporaryDir& d) {
        e->cipstexte = QStringLiteral("25 images/secondes");
        filmdepart(*e);
        const QString chemin = d.filePath("plan.bmp");
        if (!QFileInfo::exists(chemin)) ecritimage(chemin, 800, 700, 0x808080);
        chargecarte(*e, s, chemin);
        e->bordnb = QStringLiteral("30");
    }
};

// Three tracks of 40, 60 and 20 points along rows 100, 200, 300, starts a minute apart.
void rejeu(Etat& e) {
    const int tailles[] = {40, 60, 20};
    const Couleur couleurs[] = {0x0000ff, 0x00a000, 0xff0000};
    for (int k = 0; k < 3; ++k) {
        Piste p;
        p.premier = e.nbpt + 1;
        for (int j = 0; j < tailles[k]; ++j) {
            const int i = ++e.nbpt;
            e.ptx[i] = 50 + j;
            e.pty[i] = 100 * (k + 1);
            e.ptcoul[i] = couleurs[k];
            e.pttron[i] = k;
            e.ptdist[i] = 7.5 * j;
            e.pttemps[i] = 2.0 * j;
        }
        p.dernier = e.nbpt;
        p.couleur = couleurs[k];
        p.debut = 1.7e9 + 60 * k;
        p.decalage = k == 2 ? -12.5 : 0;
        p.horloge = true;
        p.montre = k != 1;
        p.nom = QStringLiteral("Coureur %1 «é»").arg(k + 1);
        e.rejeu.pistes.push_back(p);
    }
    e.nbgeo = e.nbpt + 1;
    e.gpsdist = e.gpstemps = true;
    e.geo.allure = true;
    e.rejeu.depart = Depart::COMMUN;
    e.rejeu.queue = 45;
    e.rejeu.classement = true;
    e.rejeu.classx = 500;
    e.rejeu.classy = 20;
    e.rejeu.suivi = Suivi::TOUTES;
    calculimages(e);
}

// What a reader of the 22 sections takes: from "[CHEMIN]" on, and of each row its own fields.
QByteArray commev150(const QByteArray& o) {
    QByteArray r;
    int champs = 0;
    for (const QByteArray& l : o.mid(o.indexOf("[CHEMIN]")).split('\n')) {
        if (l.isEmpty()) continue;
        if (l.startsWith('['))
            champs = l == "[CHEMIN]\r" ? 4 : l == "[PHOTO]\r" || l == "[CLE]\r" ? 3 : 0;
        const QList<QByteArray> f = QByteArray(l).replace('\r', "").split('\t');
        r += (champs && f.size() > champs ? f.mid(0, champs).join('\t')
                                          : QByteArray(l).replace('\r', "")) +
             "\r\n";
    }
    return r;
}

} // namespace

class TstParametresRejeu : public QObject {
    Q_OBJECT
  private slots:
    void allerretour();
    void lecturev150();
    void refus_data();
    void refus();
};

void TstParametresRejeu::allerretour() {
    QTemporaryDir d;
    Projet a(d);
    rejeu(*a.e);
    QString erreur;
    QVERIFY2(sauveparametres(*a.e, erreur), qPrintable(erreur));
    const QByteArray octets = ecrisparametres(*a.e);
    QVERIFY(octets.indexOf("[PISTES]\r\n") >= 0);
    QVERIFY(octets.indexOf("[PISTES]") < octets.indexOf("[CHEMIN]"));
    Projet b(d);
    QStringList messages;
    const auto refus = chargeprojet(*b.e, b.s, messages);
    QVERIFY2(!refus, qPrintable(refus ? refus->message : QString()));
    QVERIFY(b.e->rejeu == a.e->rejeu);
    QCOMPARE(ecrisparametres(*b.e), octets);
    // The clock of each frame comes back with the table.
    for (int c = 0; c <= a.e->nbimg; ++c)
        QCOMPARE(b.e->imgtemps[c], a.e->imgtemps[c]);
    // Without tracks, nothing of it.
    a.e->rejeu = Rejeu{};
    QVERIFY(!ecrisparametres(*a.e).contains("[PISTES]"));
}

// A reader of V1.50 opens the replay and sees one route of all the tracks, each in its colour,
// and the same film: the frame table's offsets and the share of the route at each frame.
void TstParametresRejeu::lecturev150() {
    QTemporaryDir d;
    Projet a(d);
    rejeu(*a.e);
    const QByteArray v150 = commev150(ecrisparametres(*a.e));
    QVERIFY(!v150.contains("PISTES") && !v150.contains("Coureur"));
    const Lecture l = lisparametres(v150, 25);
    QVERIFY(std::holds_alternative<Parametres>(l));
    Projet b(d);
    appliqueparametres(*b.e, b.s, std::get<Parametres>(l));
    QVERIFY(!b.e->rejeu.actif());
    QCOMPARE(b.e->nbpt, 119);
    QCOMPARE(b.e->ptcoul[45], 0x00a000);
    QCOMPARE(b.e->nbimg, a.e->nbimg);
    for (int c = 0; c <= a.e->nbimg; ++c) {
        QCOMPARE(b.e->imgavance[c], a.e->imgavance[c]);
        QCOMPARE(b.e->imgdecx[c], a.e->imgdecx[c]);
        QCOMPARE(b.e->imgdecy[c], a.e->imgdecy[c]);
    }
    for (int c = 1; c <= a.e->nbimg; ++c)
        QVERIFY(b.e->imgavance[c] >= b.e->imgavance[c - 1]);
}

void TstParametresRejeu::refus_data() {
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<int>("ligne");
    const QString route = "[CHEMIN]";
    QTest::newRow("départ inconnu") << QStringList{"[PISTES]", "depart\tdemain"} << 2;
    QTest::newRow("queue négative") << QStringList{"[PISTES]", "queue\t-3"} << 2;
    QTest::newRow("piste à l'envers")
        << QStringList{"[PISTES]", "piste\t5\t2\t255\t1\t0\t0\t1\tA", route} << 2;
    QTest::newRow("couleur système")
        << QStringList{"[PISTES]", "piste\t0\t2\t-2147483643\t1\t0\t0\t1\tA", route} << 2;
    QTest::newRow("pistes qui se recouvrent")
        << QStringList{"[PISTES]", "piste\t0\t2\t255\t1\t0\t0\t1\tA",
                       "piste\t2\t3\t255\t1\t0\t0\t1\tB", route}
        << 3;
    QTest::newRow("piste au-delà de la route") << QStringList{"[PISTES]",
                                                              "piste\t0\t1\t255\t1\t0\t0\t1\tA",
                                                              "piste\t2\t3\t255\t1\t0\t0\t1\tB",
                                                              route,
                                                              "1\t1\t255\t0",
                                                              "2\t1\t255\t0",
                                                              "3\t1\t255\t0"}
                                               << 3;
    QTest::newRow("décalage illisible")
        << QStringList{"[PISTES]", "piste\t0\t0\t255\t1\tx\t0\t1\tA", route} << 2;
}

void TstParametresRejeu::refus() {
    QFETCH(QStringList, lignes);
    QFETCH(int, ligne);
    const Lecture l = lisparametres(texte(lignes), 25);
    const auto* e = std::get_if<ErreurLecture>(&l);
    QVERIFY(e);
    QCOMPARE(e->ligne, ligne);
}

QTEST_MAIN(TstParametresRejeu)
#include "tst_parametres_rejeu.moc"
