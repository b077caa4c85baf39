#include "timeline/temps.h"

#include <QTest>

namespace {

// A film as the start-up leaves it, then brought to n frames at the given rate.
std::unique_ptr<Etat> film(int n = 150, int ips = 25) {
    auto e = nouveletat();
    e->cipstexte = QString::number(ips) + QStringLiteral(" images/secondes");
    filmdepart(*e);
    e->nbi = QString::number(n);
    majduree(*e);
    majcles(*e);
    return e;
}

// Keyframes at the given frames with the given horizontal offsets; the last one ends the film.
void posecles(Etat& e, const QList<int>& images, const QList<int>& decx) {
    for (int k = 0; k < images.size(); ++k) {
        e.cleimg[k] = images[k];
        e.cledecx[k] = decx[k];
        e.cledecy[k] = 0;
        e.cletemps[k] = imgverstemps(e, images[k]);
    }
    e.nbcle = static_cast<int>(images.size());
    e.nbi = QString::number(images.last());
    majduree(e);
    majcles(e);
}

QList<int> cles(const Etat& e) {
    return {e.cleimg.begin(), e.cleimg.begin() + e.nbcle};
}

} // namespace

class TstCles : public QObject {
    Q_OBJECT
  private slots:
    void depart() {
        const auto e = film();
        QCOMPARE(e->ips, 25);
        QCOMPARE(e->nbi, QStringLiteral("150"));
        QCOMPARE(e->dmax, QStringLiteral("06:00"));
        QCOMPARE(e->tlmax, 150);
        QCOMPARE(e->nbimg, 150);
        QCOMPARE(e->imgavance[1], 6);
        QCOMPARE(e->imgavance[75], 500);
        QCOMPARE(e->imgavance[150], 1000);
        for (int c = 0; c <= 150; ++c)
            QVERIFY(e->imgdecx[c] == 0 && e->imgdecy[c] == 0);
        QCOMPARE(e->icle, QStringList({"00:00", "06:00"}));
        QCOMPARE(e->listbox1.size(), 151);
        QCOMPARE(e->listbox1.first(), QStringLiteral("0 0 0  0"));
        QCOMPARE(e->listbox1.last(), QStringLiteral("150 0 0  1000"));
        QCOMPARE(e->etatcalcul, 0);
    }

    void interpolation_data() {
        QTest::addColumn<int>("debut");
        QTest::addColumn<int>("fin");
        QTest::addColumn<QList<int>>("lignes");
        QTest::addColumn<QList<int>>("decalages");
        QTest::newRow("0 vers 100") << 0 << 100 << QList{1, 2, 75, 150} << QList{0, 1, 50, 100};
        QTest::newRow("100 vers 0") << 100 << 0 << QList{1, 2, 150} << QList{100, 99, 0};
        QTest::newRow("vers le negatif") << 0 << -100 << QList{1, 2} << QList{0, -1};
    }
    void interpolation() {
        QFETCH(int, debut);
        QFETCH(int, fin);
        QFETCH(QList<int>, lignes);
        QFETCH(QList<int>, decalages);
        auto e = film();
        e->cledecx[0] = e->cledecy[0] = debut;
        e->cledecx[1] = e->cledecy[1] = fin;
        calculimages(*e);
        for (int i = 0; i < lignes.size(); ++i) {
            QCOMPARE(e->imgdecx[lignes[i]], decalages[i]);
            QCOMPARE(e->imgdecy[lignes[i]], decalages[i]);
        }
    }

    void raccourcir() {
        auto e = film();
        posecles(*e, {0, 100, 120, 125}, {0, 7, 8, 9});
        QCOMPARE(dureemoins(*e, 25), 100);
        QCOMPARE(cles(*e), QList<int>({0, 100}));
        QCOMPARE(e->cledecx[1], 7);
        QCOMPARE(e->icle, QStringList({"00:00", "04:00"}));
        QCOMPARE(e->nbimg, 100);
        QCOMPARE(e->imgdecx[100], 7);
        QCOMPARE(e->imgdecx[50], 3);
    }

    void mode_data() {
        QTest::addColumn<int>("tl");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("libelle");
        QTest::addColumn<bool>("supprimable");
        QTest::newRow("premiere cle") << 0 << 0 << "Modifier" << false;
        QTest::newRow("cle du milieu") << 75 << 1 << "Modifier" << true;
        QTest::newRow("derniere cle") << 150 << 2 << "Modifier" << false;
        QTest::newRow("sans cle") << 40 << -1 << "Créer" << false;
    }
    void mode() {
        QFETCH(int, tl);
        QFETCH(int, selection);
        QFETCH(QString, libelle);
        QFETCH(bool, supprimable);
        auto e = film();
        posecles(*e, {0, 75, 150}, {0, 0, 0});
        e->tl = tl;
        majmodecle(*e);
        QCOMPARE(e->icleselection, selection);
        QCOMPARE(e->creationcle, selection < 0 ? 1 : 0);
        QCOMPARE(e->creerICcaption, libelle);
        QCOMPARE(e->supicactif, supprimable);
    }

    void modeTraduit() {
        auto e = film();
        e->textes[33] = QStringLiteral("Modify");
        e->textes[34] = QStringLiteral("Create");
        majmodecle(*e);
        QCOMPARE(e->creerICcaption, QStringLiteral("Modify"));
        e->tl = 1;
        majmodecle(*e);
        QCOMPARE(e->creerICcaption, QStringLiteral("Create"));
    }

    // Past 99 seconds the seconds keep their hundreds: frame 1000 is not taken for frame 0.
    void modeTempsRepete() {
        auto e = film(1000, 10);
        QCOMPARE(e->icle, QStringList({"00:00", "100:00"}));
        QCOMPARE(e->icleselection, 0);
    }

    void durees_data() {
        QTest::addColumn<int>("depart");
        QTest::addColumn<bool>("plus");
        QTest::addColumn<int>("pas");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("duree");
        QTest::newRow("Button4 sur 06:00") << 150 << true << 25 << 175 << "07:00";
        QTest::newRow("Button6 sur 06:00") << 150 << true << 1 << 151 << "06:01";
        QTest::newRow("Button7 sur 00:01") << 1 << false << 1 << 1 << "00:01";
        QTest::newRow("Button5 sur 00:20") << 20 << false << 25 << 1 << "00:01";
        QTest::newRow("Button5 sur 06:00") << 150 << false << 25 << 125 << "05:00";
        QTest::newRow("jusqu'a 2200") << 2175 << true << 25 << 2200 << "88:00";
        QTest::newRow("au-dela de 2200") << 2190 << true << 25 << 2900 << "116:00";
        QTest::newRow("Button6 sur 2200") << 2200 << true << 1 << 2900 << "116:00";
        QTest::newRow("Button4 sur 2900") << 2900 << true << 25 << 2900 << "116:00";
    }
    void durees() {
        QFETCH(int, depart);
        QFETCH(bool, plus);
        QFETCH(int, pas);
        QFETCH(int, n);
        QFETCH(QString, duree);
        auto e = film(depart);
        QCOMPARE(plus ? dureeplus(*e, pas) : dureemoins(*e, pas), n);
        QCOMPARE(e->nbi, QString::number(n));
        QCOMPARE(e->dmax, duree);
        QCOMPARE(e->tlmax, n);
        QCOMPARE(cles(*e), QList<int>({0, n}));
        QCOMPARE(e->cletemps[1], duree);
        QCOMPARE(e->nbimg, n);
        QCOMPARE(e->imgavance[n], 1000);
    }

    // At 10 frames a second a 100-second film reads "100:00"; one second more is 1010 frames.
    void dureeAuDelaDeCentSecondes() {
        auto e = film(1000, 10);
        QCOMPARE(e->dmax, QStringLiteral("100:00"));
        QCOMPARE(dureeplus(*e, 10), 1010);
    }

    void filmLePlusLong() {
        auto e = film(2200);
        e->cledecx[1] = 4;
        QCOMPARE(dureeplus(*e, 1), 2900);
        e->cledecx[1] = 2900;
        calculimages(*e);
        QCOMPARE(e->nbimg, 2900);
        QCOMPARE(e->listbox1.size(), 2901);
        for (int c = 0; c <= 2900; ++c)
            QVERIFY2(e->imgdecx[c] == c && e->imgavance[c] == c * 1000 / 2900,
                     qPrintable(e->listbox1[c]));
    }

    void finDeplaceeSiTLDepasse() {
        auto e = film();
        e->tl = 150;
        e->nbi = QStringLiteral("100");
        QVERIFY(majduree(*e));
        QCOMPARE(e->tl, 100);
        QCOMPARE(e->wtl, QStringLiteral("04:00"));
        e->nbi = QStringLiteral("120");
        QVERIFY(!majduree(*e));
        QCOMPARE(e->tl, 100);
    }

    void cadence_data() {
        QTest::addColumn<int>("ipsavant");
        QTest::addColumn<int>("nav");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("ips");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("temps"); // Wtl at frame 50
        QTest::newRow("25 vers 10") << 25 << 150 << "10 images/secondes" << 10 << 60 << "05:00";
        QTest::newRow("25 vers 30") << 25 << 150 << "30 images/secondes" << 30 << 180 << "01:20";
        QTest::newRow("texte tape") << 25 << 150 << "12" << 12 << 72 << "04:02";
        QTest::newRow("borne haute") << 10 << 999 << "30 images/secondes" << 30 << 2900 << "01:20";
        QTest::newRow("au moins une image")
            << 30 << 29 << "10 images/secondes" << 10 << 29 << "05:00";
    }
    void cadence() {
        QFETCH(int, ipsavant);
        QFETCH(int, nav);
        QFETCH(QString, texte);
        QFETCH(int, ips);
        QFETCH(int, n);
        QFETCH(QString, temps);
        auto e = film(nav, ipsavant);
        posecles(*e, {0, 10, nav}, {5, 6, 7});
        e->tl = 50 < nav ? 50 : nav;
        QCOMPARE(changeips(*e, texte), std::nullopt);
        QCOMPARE(e->ips, ips);
        QCOMPARE(e->nbi, QString::number(n));
        QCOMPARE(cles(*e), QList<int>({0, n}));
        QVERIFY(e->cledecx[0] == 0 && e->cledecx[1] == 0);
        QCOMPARE(e->icle, QStringList({"00:00", imgverstemps(*e, n)}));
        QCOMPARE(e->dmax, imgverstemps(*e, n));
        QCOMPARE(e->nbimg, n);
        if (e->tl == 50) QCOMPARE(e->wtl, temps);
    }

    void cadenceRefusee_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("lu");
        QTest::newRow("lettres") << "ab images"
                                 << "ab";
        QTest::newRow("un chiffre") << "5 images"
                                    << "5 ";
        QTest::newRow("vide") << ""
                              << "";
        QTest::newRow("zero") << "00 images"
                              << "00";
        QTest::newRow("negatif") << "-5"
                                 << "-5";
    }
    void cadenceRefusee() {
        QFETCH(QString, texte);
        QFETCH(QString, lu);
        auto e = film();
        posecles(*e, {0, 10, 150}, {5, 6, 7});
        const auto avant = e->listbox1;
        QCOMPARE(changeips(*e, texte), erreurentier(lu));
        QCOMPARE(e->ips, 25);
        QCOMPARE(e->nbi, QStringLiteral("150"));
        QCOMPARE(cles(*e), QList<int>({0, 10, 150}));
        QCOMPARE(e->listbox1, avant);
    }

    // Kept at their times: each keyframe at the frame nearest its time, one frame each, in
    // order, with its offsets; the last on N. Too many for the frames: those before the end go.
    void cadenceGardeLesTemps_data() {
        QTest::addColumn<int>("ipsavant");
        QTest::addColumn<QList<int>>("avant");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QList<int>>("apres");
        QTest::addColumn<QList<int>>("decx"); // whose offsets each keyframe carries
        QTest::addColumn<int>("retirees");
        QTest::newRow("25 vers 10") << 25 << QList<int>{0, 50, 100, 150} << "10 images/secondes"
                                    << QList<int>{0, 20, 40, 60} << QList<int>{1, 2, 3, 4} << 0;
        QTest::newRow("25 vers 30, arrondi")
            << 25 << QList<int>{0, 13, 137, 150} << "30" << QList<int>{0, 16, 164, 180}
            << QList<int>{1, 2, 3, 4} << 0;
        // 1 and 2 both round to 0 at 10 a second: pushed on, one frame each.
        QTest::newRow("serrees") << 25 << QList<int>{0, 1, 2, 3, 150} << "10"
                                 << QList<int>{0, 1, 2, 3, 60} << QList<int>{1, 2, 3, 4, 5} << 0;
        // Near the end they are pushed back before it.
        QTest::newRow("contre la fin") << 25 << QList<int>{0, 148, 149, 150} << "10"
                                       << QList<int>{0, 58, 59, 60} << QList<int>{1, 2, 3, 4} << 0;
        // A film of 7 frames at 1 a second holds 7 keyframes: two go, the last stays.
        QTest::newRow("trop de cles")
            << 25 << QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 150} << "01"
            << QList<int>{0, 1, 2, 3, 4, 5, 6} << QList<int>{1, 2, 3, 4, 5, 6, 9} << 2;
    }
    void cadenceGardeLesTemps() {
        QFETCH(int, ipsavant);
        QFETCH(QList<int>, avant);
        QFETCH(QString, texte);
        QFETCH(QList<int>, apres);
        QFETCH(QList<int>, decx);
        QFETCH(int, retirees);
        auto e = film(avant.last(), ipsavant);
        QList<int> x;
        for (int k = 1; k <= avant.size(); ++k)
            x << k;
        posecles(*e, avant, x);
        e->clezoom[1] = 2.5;
        e->cleavance[1] = 300;
        const TableCles t = tablecles(*e);
        QVERIFY(!clesdepart(t));
        int r = -1;
        QCOMPARE(changeips(*e, texte, t, r), std::nullopt);
        QCOMPARE(r, retirees);
        QCOMPARE(cles(*e), apres);
        QCOMPARE(QList<int>(e->cledecx.begin(), e->cledecx.begin() + e->nbcle), decx);
        QCOMPARE(e->clezoom[1], 2.5);
        QCOMPARE(e->cleavance[1], 300);
        QCOMPARE(e->nbimg, apres.last());
        for (int k = 0; k < e->nbcle; ++k)
            QCOMPARE(e->icle[k], imgverstemps(*e, apres[k]));
    }

    // Only the start film's two bare keyframes count as nothing to lose.
    void clesDeDepart() {
        auto e = film();
        QVERIFY(clesdepart(tablecles(*e)));
        e->cledecx[1] = 1;
        QVERIFY(!clesdepart(tablecles(*e)));
        e->cledecx[1] = 0;
        e->cleavance[0] = 0;
        QVERIFY(!clesdepart(tablecles(*e)));
        e->cleavance[0] = SANSAVANCE;
        posecles(*e, {0, 75, 150}, {0, 0, 0});
        QVERIFY(!clesdepart(tablecles(*e)));
    }

    void creerPuisModifier() {
        auto e = film();
        e->tl = 75;
        majmodecle(*e);
        e->ascl = 100;
        e->asch = 50;
        QVERIFY(creecle(*e));
        QCOMPARE(cles(*e), QList<int>({0, 75, 150}));
        QCOMPARE(e->icle, QStringList({"00:00", "03:00", "06:00"}));
        QCOMPARE(e->icleselection, 1);
        QCOMPARE(e->creerICcaption, QStringLiteral("Modifier"));
        QVERIFY(e->supicactif);
        QCOMPARE(e->imgdecx[37], 49); // 100 * 37 / 75, truncated
        e->ascl = 120;
        QVERIFY(creecle(*e));
        QCOMPARE(cles(*e), QList<int>({0, 75, 150}));
        QCOMPARE(e->cledecx[1], 120);
        QCOMPARE(e->imgdecx[37], 59);
        QCOMPARE(e->imgdecx[75], 120);
        QCOMPARE(e->imgdecy[75], 50);
        QCOMPARE(e->imgdecx[112], 61); // 120 - 120 * 37 / 75: truncated toward zero
    }

    // A stale mode never duplicates a keyframe nor loses the click.
    void creerSansSelection_data() {
        QTest::addColumn<int>("tl");
        QTest::addColumn<int>("creationcle");
        QTest::addColumn<QList<int>>("attendu");
        QTest::newRow("modifier sans cle ici") << 75 << 0 << QList{0, 75, 150};
        QTest::newRow("modifier la premiere") << 0 << 0 << QList{0, 150};
        QTest::newRow("creer sur une cle") << 150 << 1 << QList{0, 150};
    }
    void creerSansSelection() {
        QFETCH(int, tl);
        QFETCH(int, creationcle);
        QFETCH(QList<int>, attendu);
        auto e = film();
        e->tl = tl;
        e->creationcle = creationcle;
        e->icleselection = -1;
        e->ascl = 33;
        QVERIFY(creecle(*e));
        QCOMPARE(cles(*e), attendu);
        QCOMPARE(e->cledecx[attendu.indexOf(tl)], 33);
        QCOMPARE(e->creerICcaption, QStringLiteral("Modifier"));
    }

    void tableDeClesPleine() {
        auto e = film();
        for (int t = 1; t <= 99; ++t) {
            e->tl = t;
            majmodecle(*e);
            QVERIFY(creecle(*e));
        }
        QCOMPARE(e->nbcle, MAXCLE);
        e->tl = 120;
        majmodecle(*e);
        const auto avant = cles(*e);
        QVERIFY(!creecle(*e));
        QCOMPARE(cles(*e), avant);
        QCOMPARE(e->creationcle, 1);
        e->tl = 50; // modifying still works on a full table
        majmodecle(*e);
        e->ascl = 9;
        QVERIFY(creecle(*e));
        QCOMPARE(e->cledecx[50], 9);
    }

    // A file may leave [CLE] empty or end it before N: a keyframe past the last one is appended.
    void creerApresLaDerniere_data() {
        QTest::addColumn<QList<int>>("images");
        QTest::addColumn<QList<int>>("attendu");
        QTest::newRow("table vide") << QList<int>{} << QList{100};
        QTest::newRow("derniere avant N") << QList{0, 50} << QList{0, 50, 100};
    }
    void creerApresLaDerniere() {
        QFETCH(QList<int>, images);
        QFETCH(QList<int>, attendu);
        auto e = film();
        for (int k = 0; k < images.size(); ++k) {
            e->cleimg[k] = images[k];
            e->cledecx[k] = e->cledecy[k] = 0;
            e->cletemps[k] = imgverstemps(*e, images[k]);
        }
        e->nbcle = static_cast<int>(images.size());
        e->tl = 100;
        majmodecle(*e);
        e->ascl = 40;
        QVERIFY(creecle(*e));
        QCOMPARE(cles(*e), attendu);
        QCOMPARE(e->cledecx[attendu.size() - 1], 40);
        QCOMPARE(e->cletemps[attendu.size() - 1], QStringLiteral("04:00"));
        QCOMPARE(e->creerICcaption, QStringLiteral("Modifier"));
    }

    void supprimer() {
        auto e = film();
        posecles(*e, {0, 50, 100, 150}, {0, 100, 0, 300});
        e->tl = 100;
        majmodecle(*e);
        QVERIFY(e->supicactif);
        supprimecle(*e);
        QCOMPARE(cles(*e), QList<int>({0, 50, 150}));
        QCOMPARE(e->icle, QStringList({"00:00", "02:00", "06:00"}));
        QCOMPARE(e->icleselection, -1);
        QCOMPARE(e->creerICcaption, QStringLiteral("Créer"));
        QVERIFY(!e->supicactif);
        for (int c = 50; c <= 150; ++c)
            QCOMPARE(e->imgdecx[c], 100 + 200 * (c - 50) / 100);
    }

    void supprimerRefuse_data() {
        QTest::addColumn<int>("tl");
        QTest::newRow("premiere") << 0;
        QTest::newRow("derniere") << 150;
        QTest::newRow("sans cle") << 60;
    }
    void supprimerRefuse() {
        QFETCH(int, tl);
        auto e = film();
        posecles(*e, {0, 50, 150}, {0, 100, 0});
        e->tl = tl;
        supprimecle(*e);
        QCOMPARE(cles(*e), QList<int>({0, 50, 150}));
    }

    // Keyframes read from a file may be out of order or past the table; rows stay within it.
    void clesHorsTable_data() {
        QTest::addColumn<QList<int>>("images");
        QTest::addColumn<QList<int>>("decx");
        QTest::addColumn<int>("nbimg");
        QTest::addColumn<int>("dernierdec");
        QTest::newRow("au-dela de la table") << QList{0, 4000} << QList{0, 4000} << 2900 << 4000;
        QTest::newRow("dans le desordre")
            << QList{0, 50, 20, 100} << QList{0, 50, 9, 100} << 130 << 100;
        QTest::newRow("une seule") << QList{0} << QList{7} << 0 << 7;
        QTest::newRow("aucune") << QList<int>{} << QList<int>{} << 0 << 0;
        QTest::newRow("extremes") << QList{-2147483647, 2147483647} << QList{0, 1} << 2900 << 1;
    }
    void clesHorsTable() {
        QFETCH(QList<int>, images);
        QFETCH(QList<int>, decx);
        QFETCH(int, nbimg);
        QFETCH(int, dernierdec);
        auto e = film();
        for (int k = 0; k < images.size(); ++k) {
            e->cleimg[k] = images[k];
            e->cledecx[k] = decx[k];
        }
        e->nbcle = static_cast<int>(images.size());
        calculimages(*e);
        QCOMPARE(e->nbimg, nbimg);
        QCOMPARE(e->imgdecx[nbimg], dernierdec);
        QCOMPARE(e->imgavance[nbimg], 1000);
        QCOMPARE(e->listbox1.size(), nbimg + 1);
    }
};

QTEST_APPLESS_MAIN(TstCles)
#include "tst_cles.moc"
