#include "aide_parametres.h"
#include "export/film.h"
#include "project/carte.h"
#include "project/langue.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A project just started, with the map `carte` of `dossier` loaded (800 x 700).
struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    Projet(const QTemporaryDir& dossier, const QString& carte = QStringLiteral("plan.bmp")) {
        e->cipstexte = QStringLiteral("25 images/secondes");
        filmdepart(*e);
        const QString chemin = dossier.filePath(carte);
        if (!QFileInfo::exists(chemin)) ecritimage(chemin, 800, 700, 0x808080);
        chargecarte(*e, s, chemin);
    }
};

// Every section away from its start value.
void remplit(Etat& e, const QTemporaryDir& d, bool textesvides) {
    e.nbpt = 5;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = 100 + i;
        e.pty[i] = 50 + 2 * i;
        e.pttron[i] = i / 2;                           // three segments
        e.ptcoul[i] = i < 2 ? 0x0000FF : 0x00FF00 + i; // several colours
    }
    e.ips = 30;
    e.nbi = QStringLiteral("90");
    e.nbcle = 3;
    const int img[] = {0, 40, 90};
    for (int k = 0; k < 3; ++k) {
        e.cleimg[k] = img[k];
        e.cledecx[k] = 20 * k;
        e.cledecy[k] = 30 * k;
        e.cletemps[k] = imgverstemps(e, img[k]);
    }
    majduree(e);
    majcles(e);
    e.coulr = e.coulmarque = 0x0000FF;
    // coulmon and coulombre never chosen: the window background, a negative value.
    e.police = Police{QStringLiteral("DejaVu Serif"), -24, 0x123456};
    e.lkm = QStringLiteral("250");
    e.xt = 100, e.yt = 200;
    e.montre = true;
    e.unite = AUTRE;
    e.txtautre = textesvides ? QString() : QStringLiteral("[KM]");
    e.checkbox1 = true;
    e.coulbord = 0x00FFFF;
    e.bordnb = QStringLiteral("45");
    e.okombre = true;
    e.xombre = -4, e.yombre = 5;
    if (textesvides) {
        e.fichiervisu.clear();
        e.fichierloupe.clear();
        e.okloupe = false;
    } else {
        e.fichiervisu = d.filePath("visu.bmp");
        e.fichierloupe = d.filePath("loupe.bmp");
        e.okloupe = true;
    }
    e.txloupe = 20;
    e.estompe = 7;
}

} // namespace

class TstParametres : public QObject {
    Q_OBJECT
  private slots:
    // Saved, read into a fresh project and saved again: the same bytes, the same tables and
    // controls.
    void allerRetour_data() {
        QTest::addColumn<bool>("textesvides");
        QTest::newRow("tout rempli") << false;
        QTest::newRow("textes vides") << true;
    }
    void allerRetour() {
        QFETCH(bool, textesvides);
        QTemporaryDir d;
        QVERIFY(ecritimage(d.filePath("visu.bmp"), 800, 700, 0x00FF00));
        QVERIFY(ecritimage(d.filePath("loupe.bmp"), 60, 40, 0));
        Projet a(d);
        remplit(*a.e, d, textesvides);
        QString erreur;
        QVERIFY2(sauveparametres(*a.e, erreur), qPrintable(erreur));
        const QByteArray octets = ecrisparametres(*a.e);

        Projet b(d);
        QStringList messages;
        const auto refus = chargeprojet(*b.e, b.s, messages);
        QVERIFY2(!refus, qPrintable(refus ? refus->message : QString()));
        QCOMPARE(messages, QStringList());
        QCOMPARE(ecrisparametres(*b.e), octets);

        const Etat &x = *a.e, &y = *b.e;
        QCOMPARE(y.nbpt, x.nbpt);
        QVERIFY(std::equal(x.ptx.begin(), x.ptx.begin() + 6, y.ptx.begin()));
        QVERIFY(std::equal(x.ptcoul.begin(), x.ptcoul.begin() + 6, y.ptcoul.begin()));
        QVERIFY(std::equal(x.pttron.begin(), x.pttron.begin() + 6, y.pttron.begin()));
        QCOMPARE(y.nbimg, 90);
        QCOMPARE(y.listbox1, x.listbox1);
        QCOMPARE(y.imgdecx[40], 20);
        QCOMPARE(y.nbcle, 3);
        QCOMPARE(y.cleimg[1], 40);
        QCOMPARE(y.icle, x.icle);
        QCOMPARE(y.ips, 30);
        QCOMPARE(y.dmax, x.dmax);
        QCOMPARE(y.tlmax, 90);
        QCOMPARE(y.coulmarque, 0x0000FF);
        QCOMPARE(y.coulsuivie, clWindow);
        QCOMPARE(y.police, x.police);
        QCOMPARE(y.updown1, 45);
        QCOMPARE(y.checkvisible, !textesvides);
        QCOMPARE(y.okloupe, !textesvides);
        QCOMPARE(y.txloupemax, textesvides ? 100 : 60);
        // The path is smoothed again, the frame at TL drawn with its offsets.
        QCOMPARE(y.loupex[0], 100);
        QCOMPARE(y.ascl, 0);
        QCOMPARE(y.wtl, QStringLiteral("00:00"));
        QCOMPARE(y.creationcle, 0);
    }

    // The video is written at the project's rate, whether the list holds it or not.
    void cadenceDuFichier_data() {
        QTest::addColumn<int>("ips");
        QTest::addColumn<int>("entree");
        QTest::newRow("dans la liste") << 30 << 6;
        QTest::newRow("7") << 7 << -1;
        QTest::newRow("50") << 50 << -1;
    }
    void cadenceDuFichier() {
        QFETCH(int, ips);
        QFETCH(int, entree);
        QTemporaryDir d;
        Projet a(d);
        a.e->ips = ips;
        a.e->bordnb = QStringLiteral("30"); // as Charger leaves it
        QString erreur;
        QVERIFY2(sauveparametres(*a.e, erreur), qPrintable(erreur));
        Projet b(d);
        cipsdepart(*b.e); // 25, as the window starts
        QStringList messages;
        const auto refus = chargeprojet(*b.e, b.s, messages);
        QVERIFY2(!refus, qPrintable(refus ? refus->message : QString()));
        QCOMPARE(b.e->ips, ips);
        QCOMPARE(b.e->cipsindex, entree);
        QCOMPARE(ipsvideo(*b.e), ips);
    }

    // A film of 116 seconds keeps its keyframes where they were: their labels carry the
    // hundreds of seconds, which the load reads back.
    void clesAuDelaDeCentSecondes() {
        QTemporaryDir d;
        Projet a(d);
        Etat& x = *a.e;
        x.ips = 25;
        x.bordnb = QStringLiteral("30"); // as Charger leaves it
        x.nbi = QStringLiteral("2900");
        x.nbcle = 3;
        const int img[] = {0, 2600, 2900};
        for (int k = 0; k < 3; ++k) {
            x.cleimg[k] = img[k];
            x.cledecx[k] = 10 * k;
            x.cledecy[k] = 5 * k;
            x.cletemps[k] = imgverstemps(x, img[k]);
        }
        majduree(x);
        majcles(x);
        QCOMPARE(x.cletemps[1], QStringLiteral("104:00"));
        QString erreur;
        QVERIFY2(sauveparametres(x, erreur), qPrintable(erreur));

        Projet b(d);
        QStringList messages;
        const auto refus = chargeprojet(*b.e, b.s, messages);
        QVERIFY2(!refus, qPrintable(refus ? refus->message : QString()));
        const Etat& y = *b.e;
        QCOMPARE(y.nbcle, 3);
        QCOMPARE(y.cleimg[1], 2600);
        QCOMPARE(y.cleimg[2], 2900);
        QCOMPARE(y.dmax, QStringLiteral("116:00"));
        QCOMPARE(ecrisparametres(y), ecrisparametres(x));
    }

    void pointsSansCouleur_data() {
        QTest::addColumn<QByteArray>("route");
        QTest::addColumn<int>("attendue");
        QTest::newRow("couleur du fichier") << QByteArray("[COULROUTE]\r\n255\r\n") << 255;
        QTest::newRow("couleur en vigueur") << QByteArray() << 0x00ABCDEF;
    }
    void pointsSansCouleur() {
        QFETCH(QByteArray, route);
        QFETCH(int, attendue);
        QTemporaryDir d;
        QVERIFY(ecritfichier(d.filePath("plan.vlp"),
                             "[CHEMIN]\r\n1\t2\r\n3\t4\r\n5\t6\t9\t4\r\n" + route));
        Projet p(d);
        p.e->coulmarque = 0x00ABCDEF;
        p.e->ptcoul[0] = 77, p.e->pttron[0] = 3;
        QStringList messages;
        QVERIFY(!chargeprojet(*p.e, p.s, messages));
        QCOMPARE(p.e->nbpt, 2);
        QCOMPARE(p.e->ptcoul[0], attendue);
        QCOMPARE(p.e->pttron[0], 0);
        QCOMPARE(p.e->ptcoul[1], attendue);
        QCOMPARE(p.e->ptcoul[2], 9);
        QCOMPARE(p.e->pttron[2], 4);
    }

    // The map plan.etape.bmp goes with plan.vlp.
    void nomDuFichier() {
        QTemporaryDir d;
        QVERIFY(ecritfichier(d.filePath("plan.vlp"), "[POSX]\r\n33\r\n"));
        Projet p(d, QStringLiteral("plan.etape.bmp"));
        QCOMPARE(cheminparametres(*p.e), d.filePath("plan.vlp"));
        QStringList messages;
        QVERIFY(!chargeprojet(*p.e, p.s, messages));
        QCOMPARE(p.e->xt, 33);
    }

    void fichierRefuseNeChangeRien() {
        QTemporaryDir d;
        QVERIFY(QFile::copy(cheminfixture("ligne12.vlp"), d.filePath("plan.vlp")));
        Projet p(d);
        remplit(*p.e, d, true);
        const QByteArray avant = ecrisparametres(*p.e);
        const QStringList listbox1 = p.e->listbox1;
        const Couleur pixel = p.s.vue.pixel(10, 10);
        QStringList messages;
        const auto refus = chargeprojet(*p.e, p.s, messages);
        QVERIFY(refus);
        QCOMPARE(refus->ligne, 12);
        QVERIFY(refus->message.startsWith(d.filePath("plan.vlp") + "\n'abc'"));
        QCOMPARE(ecrisparametres(*p.e), avant);
        QCOMPARE(p.e->listbox1, listbox1);
        QCOMPARE(p.s.vue.pixel(10, 10), pixel);
        QVERIFY(messages.isEmpty());
    }

    // The controls' own rules: digits only in "Nombre maxi", the ranges of the track bars and the
    // up-down, the magnifier switch that needs a picture.
    void reactionsDesControles() {
        QTemporaryDir d;
        QVERIFY(
            ecritfichier(d.filePath("plan.vlp"),
                         texte({"[CPTMAX]", "12a", "[POSX]", "900", "[BORDNB]", "500", "[OMBRE]",
                                "1", "0", "-9", "2", "[LOUPE]", "", "500", "99", "1"})));
        Projet p(d);
        QStringList messages;
        QVERIFY(!chargeprojet(*p.e, p.s, messages));
        QCOMPARE(p.e->lkm, QStringLiteral("0"));
        QCOMPARE(p.e->xt, VUEL);
        QCOMPARE(p.e->updown1, 200);
        QCOMPARE(p.e->bordnb,
                 QStringLiteral("500")); // the tip the file gives; the up-down stops at 200
        QCOMPARE(p.e->xombre, -6);
        QCOMPARE(p.e->txloupe, 100);
        QCOMPARE(p.e->estompe, 50);
        QCOMPARE(p.e->okloupe, false);
        QCOMPARE(messages,
                 QStringList{"Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant"});
    }

    // A missing display picture keeps its name; a missing magnifier picture is forgotten. The
    // load goes on after either.
    void imagesManquantes() {
        QTemporaryDir d;
        const QString visu = d.filePath("absente.bmp"), loupe = d.filePath("perdue.bmp");
        QVERIFY(ecritfichier(d.filePath("plan.vlp"), texte({"[VISU]", visu, "[LOUPE]", loupe, "10",
                                                            "5", "1", "[POSY]", "7"})));
        Projet p(d);
        p.e->textes[24] = QStringLiteral("Chargement impossible :");
        QStringList messages;
        QVERIFY(!chargeprojet(*p.e, p.s, messages));
        QCOMPARE(messages, (QStringList{
                               "Chargement impossible :\n" + visu,
                               "Chargement impossible :\n" + loupe,
                               "Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant",
                           }));
        QCOMPARE(p.e->fichiervisu, visu);
        QCOMPARE(p.e->checkvisible, false);
        QCOMPARE(p.e->fichierloupe, QString());
        QCOMPARE(p.e->okloupe, false);
        QCOMPARE(p.e->yt, 7);
        // Kept, and saved again by its name alone: it lies beside the map.
        QVERIFY(ecrisparametres(*p.e).contains("[VISU]\r\nabsente.bmp\r\n"));
    }

    void imagesPresentes() {
        QTemporaryDir d;
        QVERIFY(ecritimage(d.filePath("visu.bmp"), 800, 700, 0x0000FF));
        QVERIFY(ecritimage(d.filePath("loupe.bmp"), 150, 60, 0));
        QVERIFY(ecritfichier(d.filePath("plan.vlp"),
                             texte({"[VISU]", d.filePath("visu.bmp"), "[LOUPE]",
                                    d.filePath("loupe.bmp"), "120", "5", "0"})));
        Projet p(d);
        QStringList messages;
        QVERIFY(!chargeprojet(*p.e, p.s, messages));
        QVERIFY(messages.isEmpty());
        QVERIFY(p.e->check && p.e->checkvisible);
        QCOMPARE(p.s.carte.pixel(5, 5), 0x0000FF);
        QCOMPARE(p.s.vue.pixel(5, 5), 0x0000FF); // redrawn from it
        QCOMPARE(p.s.loupe.largeur(), 150);
        QCOMPARE(p.e->txloupemax, 150);
        QCOMPARE(p.e->txloupe, 120); // beyond the range before the picture, within it after
    }
};

QTEST_MAIN(TstParametres)
#include "tst_parametres.moc"
