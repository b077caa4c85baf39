#include "aide_parametres.h"
#include "project/couleurs.h"
#include "project/parametres.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<int>)

char* toString(const ReglagesTrace& r) {
    return qstrdup(QStringLiteral("%1 %2 %3 %4")
                       .arg(r.tolerance)
                       .arg(r.carte)
                       .arg(r.pont)
                       .arg(r.plume)
                       .toLatin1());
}

namespace {

const Parametres* lu(const Lecture& l) {
    return std::get_if<Parametres>(&l);
}
const ErreurLecture* erreur(const Lecture& l) {
    return std::get_if<ErreurLecture>(&l);
}

} // namespace

class TstParametresLecture : public QObject {
    Q_OBJECT
  private slots:
    // The hand-written files: what each reads as.
    void fixtures_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("colores");
        QTest::addColumn<int>("images");
        QTest::addColumn<int>("cles");
        QTest::newRow("un point") << "un_point.vlp" << 1 << true << 3 << 2;
        QTest::newRow("chemin vide") << "chemin_vide.vlp" << 0 << false << 3 << 2;
        QTest::newRow("sans cles") << "sans_cles.vlp" << 1 << true << 3 << 0;
        QTest::newRow("deux champs") << "deux_champs.vlp" << 3 << false << 3 << 2;
        QTest::newRow("lignes avant la premiere cle") << "entete.vlp" << 1 << true << 3 << 2;
        QTest::newRow("fins de ligne LF") << "lf.vlp" << 2 << true << 3 << 2;
    }
    void fixtures() {
        QFETCH(QString, nom);
        QFETCH(int, points);
        QFETCH(bool, colores);
        QFETCH(int, images);
        QFETCH(int, cles);
        const Lecture l = chargeparametres(cheminfixture(nom), 25);
        const Parametres* p = lu(l);
        QVERIFY2(p, qPrintable(erreur(l) ? erreur(l)->message : QString()));
        QCOMPARE(std::ssize(p->points), points);
        for (const PointLu& pt : p->points)
            QCOMPARE(pt.colore, colores);
        QCOMPARE(std::ssize(p->images), images);
        QCOMPARE(std::ssize(p->cles), cles);
        // The whole tail was read, whatever came before it.
        QCOMPARE(p->imgmax, 2);
        QCOMPARE(p->police, QStringLiteral("Arial"));
        QCOMPARE(p->taille, -13);
        QCOMPARE(p->coulfond, -2147483643);
        QCOMPARE(p->txtautre, QString());
        QCOMPARE(p->okombre, true);
        QCOMPARE(p->ombre->y, -2);
        QCOMPARE(p->loupe->estompe, 10);
        QCOMPARE(p->okloupe, false);
    }

    void pointsEtCles() {
        const Lecture l = chargeparametres(cheminfixture("deux_champs.vlp"), 25);
        const Parametres& p = *lu(l);
        QCOMPARE(p.points[2].x, 314);
        QCOMPARE(p.points[2].y, 142);
        QCOMPARE(p.images[1].avance, 500);
        QCOMPARE(p.cles[1].temps, QStringLiteral("00:02"));
        QCOMPARE(p.cles[1].img, 2);
    }

    void couleurs_data() {
        QTest::addColumn<QString>("txt");
        QTest::addColumn<std::optional<int>>("valeur");
        const auto v = [](std::int64_t c) { return std::optional<int>(static_cast<int>(c)); };
        QTest::newRow("decimal") << "16711680" << v(0xFF0000);
        QTest::newRow("jamais choisie") << "-2147483643" << v(clWindow);
        QTest::newRow("nom") << "clMoneyGreen" << v(0xC0DCC0);
        QTest::newRow("nom en majuscules") << "CLNAVY" << v(0x800000);
        QTest::newRow("couleur systeme") << "clBtnFace" << v(clBtnFace);
        QTest::newRow("derniere couleur systeme") << "clInfoBk" << v(clInfoBk);
        QTest::newRow("aucune") << "clNone" << v(0x1FFFFFFF);
        QTest::newRow("hexadecimal") << "$00ff80" << v(0x00FF80);
        QTest::newRow("hexadecimal sur 32 bits") << "$80000005" << v(clWindow);
        QTest::newRow("hexadecimal negatif") << "-$10" << v(-16);
        QTest::newRow("dollar seul") << "$" << std::optional<int>();
        QTest::newRow("neuf chiffres") << "$123456789" << std::optional<int>();
        QTest::newRow("decimal trop grand") << "4294967295" << std::optional<int>();
        QTest::newRow("nom inconnu") << "clRouge" << std::optional<int>();
        QTest::newRow("blanc") << " 12" << std::optional<int>();
        QTest::newRow("vide") << "" << std::optional<int>();
    }
    void couleurs() {
        QFETCH(QString, txt);
        QFETCH(std::optional<int>, valeur);
        QCOMPARE(lircouleur(txt), valeur);
    }

    void lfCommeCrlf() {
        const Lecture a = lisparametres(fixture("lf.vlp"), 25);
        const Lecture b = lisparametres(fixture("crlf.vlp"), 25);
        QVERIFY(lu(a) && lu(b));
        QCOMPARE(lu(a)->points[1].tron, 1);
        QCOMPARE(lu(a)->points[1].tron, lu(b)->points[1].tron);
        QCOMPARE(lu(a)->police, lu(b)->police);
        QCOMPARE(lu(a)->km, lu(b)->km);
    }

    void couleursNommeesEtHexadecimales() {
        const Lecture l = lisparametres(fixture("couleurs.vlp"), 25);
        const Parametres* p = lu(l);
        QVERIFY(p);
        QCOMPARE(p->points[0].coul, 0xFF0000);
        QCOMPARE(p->points[1].coul, 0xFF);
        QCOMPARE(p->coulroute, 0x0000FF);
        QCOMPARE(p->bordcoul, 0x0080FF);
        QCOMPARE(p->couleur, clWindowText);
        QCOMPARE(p->ombre->couleur, -16);
    }

    // A line equal to a key is that key, unless it comes right after a key later in the test
    // order: then it is the value of that section.
    void valeurEgaleAUneCle_data() {
        QTest::addColumn<QStringList>("lignes");
        QTest::addColumn<std::optional<int>>("km");
        QTest::addColumn<QString>("txtautre");
        QTest::newRow("apres [TXTAUTRE], une valeur")
            << QStringList{"[TXTAUTRE]", "[KM]", "[KM]", "2"} << std::optional<int>(2) << "[KM]";
        QTest::newRow("seconde ligne d'une section, une cle")
            << QStringList{"[TXTAUTRE]", "km", "[KM]", "3"} << std::optional<int>(3) << "km";
        QTest::newRow("apres une cle plus tot dans l'ordre, une cle")
            << QStringList{"[POLICE]", "[KM]", "1"} << std::optional<int>(1) << QString();
    }
    void valeurEgaleAUneCle() {
        QFETCH(QStringList, lignes);
        QFETCH(std::optional<int>, km);
        QFETCH(QString, txtautre);
        const Lecture l = lisparametres(texte(lignes), 25);
        QVERIFY(lu(l));
        QCOMPARE(lu(l)->km, km);
        QCOMPARE(lu(l)->txtautre.value_or(QString()), txtautre);
        QVERIFY(!lu(l)->police);
    }

    // Keys next to each other: an empty section is skipped only when the second key comes later
    // in the test order; else it is a value of the first.
    void clesVoisines() {
        const Lecture a = lisparametres(texte({"[CLE]", "[IMGMAX]", "40"}), 25);
        QVERIFY(lu(a));
        QVERIFY(lu(a)->cles.empty());
        QCOMPARE(lu(a)->imgmax, 40);
        const Lecture b = lisparametres(texte({"[IMGMAX]", "[IPS]", "10"}), 25);
        QVERIFY(erreur(b));
        QVERIFY(erreur(b)->message.startsWith("'[IPS]' n'est pas une valeur entière correcte"));
    }

    void sectionsRepetees() {
        const Lecture l = lisparametres(
            texte({"[CHEMIN]", "1\t1",    "[POSX]", "5",       "7",  "[CHEMIN]", "2\t2",
                   "[MONTRE]", "1",       "oui",    "[OMBRE]", "1",  "3",        "4",
                   "5",        "[OMBRE]", "x",      "6",       "-1", "-2"}),
            25);
        const Parametres* p = lu(l);
        QVERIFY(p);
        QCOMPARE(std::ssize(p->points), 2);
        QCOMPARE(p->points[1].x, 2);
        QCOMPARE(p->posx, 7);
        QCOMPARE(p->montre, true); // "oui" leaves the box as "1" made it
        QCOMPARE(p->okombre, true);
        QCOMPARE(p->ombre->couleur, 6);
        QCOMPARE(p->ombre->y, -2);
    }

    // Each keyframe's frame number comes from its label at the rate in force at its line.
    void cadenceDesCles() {
        const Lecture l = lisparametres(
            texte({"[CLE]", "0\t0\t00:05", "[IPS]", "10", "[CLE]", "0\t0\t02:05"}), 25);
        QVERIFY(lu(l));
        QCOMPARE(lu(l)->cles[0].img, 5);
        QCOMPARE(lu(l)->cles[1].img, 25); // 55 at the rate of before
        QCOMPARE(lu(l)->ips, 10);
    }

    void ctrlZFinitLeFichier() {
        QByteArray o = texte({"[POSX]", "5"});
        o += "\x1a" + texte({"[POSY]", "abc"});
        const Lecture l = lisparametres(o, 25);
        QVERIFY(lu(l));
        QCOMPARE(lu(l)->posx, 5);
        QVERIFY(!lu(l)->posy);
    }

    void texteWindows1252() {
        const Lecture l = lisparametres("[TXTAUTRE]\r\nkm \x80 \xe9t\xe9\r\n", 25);
        QCOMPARE(lu(l)->txtautre, QStringLiteral("km € été"));
    }

    void refus_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QString>("message");
        const auto points = [](int n) {
            QStringList l{"[CHEMIN]"};
            for (int i = 0; i < n; ++i)
                l << "1\t2\t255\t0";
            return texte(l);
        };
        QTest::newRow("ligne 12") << fixture("ligne12.vlp") << 12
                                  << "'abc' n'est pas une valeur entière correcte (ligne 12)";
        QTest::newRow("quatre lignes tronquees")
            << fixture("ombre_tronquee.vlp") << 48
            << "La section [OMBRE] est incomplète : le fichier s'arrête avant (ligne 48)";
        // Past the end the flag is an empty line, which changes nothing; the numbers are needed.
        QTest::newRow("loupe sans drapeau") << texte({"[LOUPE]", "", "0", "10"}) << 0 << "";
        QTest::newRow("loupe sans estompe")
            << texte({"[LOUPE]", "", "0"}) << 4 << "La section [LOUPE] est incomplète";
        // Numbers that would overflow what is computed from them are refused at their line.
        QTest::newRow("point pres de INT_MAX")
            << texte({"[CHEMIN]", "1\t2\t255\t0", "2147483000\t5\t255\t0"}) << 3
            << "'2147483000' est hors des limites : de -100000000 à 100000000 (ligne 3)";
        QTest::newRow("point a INT_MIN")
            << texte({"[CHEMIN]", "5\t-2147483648"}) << 2 << "'-2147483648' est hors des limites";
        QTest::newRow("troncon 2147483647")
            << texte({"[CHEMIN]", "5\t6\t255\t2147483647"}) << 2 << "'2147483647' est hors";
        QTest::newRow("troncon negatif")
            << texte({"[CHEMIN]", "5\t6\t255\t-1"}) << 2 << "'-1' est hors des limites";
        QTest::newRow("decalage d'image")
            << texte({"[PHOTO]", "0\t2147483647\t0"}) << 2 << "'2147483647' est hors";
        QTest::newRow("decalage de cle")
            << texte({"[CLE]", "-2147483648\t0\t00:00"}) << 2 << "'-2147483648' est hors";
        QTest::newRow("taille INT_MIN")
            << texte({"[TAILLE]", "-2147483648"}) << 2 << "'-2147483648' est hors des limites";
        QTest::newRow("taille INT_MAX")
            << texte({"[TAILLE]", "2147483647"}) << 2 << "'2147483647' est hors des limites";
        QTest::newRow("cadence INT_MAX") << texte({"[IPS]", "2147483647"}) << 2
                                         << "'2147483647' n'est pas une cadence correcte (1 à";
        // What the program of old could write stays readable.
        QTest::newRow("valeurs d'hier")
            << texte({"[CHEMIN]", "0\t0\t255\t0", "13999\t9999\t-2147483643\t36000", "[PHOTO]",
                      "13280\t9424\t1000", "[IPS]", "30", "[CLE]", "13280\t9424\t00:00", "[TAILLE]",
                      "-72", "[TAILLE]", "400", "[POSX]", "720"})
            << 0 << "";
        QTest::newRow("cle en fin de fichier")
            << texte({"[IPS]"}) << 2 << "La section [IPS] est incomplète";
        QTest::newRow("36001 points") << points(MAXPT) << 0 << "";
        // A route longer than the tables of old is read whole.
        QTest::newRow("36002 points") << points(MAXPT + 1) << 0 << "";
        QStringList images{"[PHOTO]"};
        for (int i = 0; i <= MAXIMG; ++i)
            images << "0\t0\t0";
        QTest::newRow("2902 images") << texte(images) << MAXIMG + 2 << "Trop d'images";
        QStringList cles{"[CLE]"};
        for (int i = 0; i <= MAXCLE; ++i)
            cles << "0\t0\t00:01";
        QTest::newRow("102 cles") << texte(cles) << MAXCLE + 2 << "Trop de clés";
        QTest::newRow("2901 images au plus")
            << texte({"[IMGMAX]", "2901"}) << 2 << "'2901' n'est pas un nombre d'images correct";
        QTest::newRow("aucune image") << texte({"[IMGMAX]", "0"}) << 2 << "'0' n'est pas";
        QTest::newRow("cadence nulle")
            << texte({"[IPS]", "0"}) << 2 << "'0' n'est pas une cadence correcte";
        QTest::newRow("temps illisible")
            << texte({"[CLE]", "0\t0\t0a:01"}) << 2 << "'0a:01' n'est pas un temps correct";
        QTest::newRow("trois champs")
            << texte({"[CHEMIN]", "1\t2\t255"}) << 2 << "'' n'est pas une valeur entière correcte";
        QTest::newRow("couleur inconnue") << texte({"[COULROUTE]", "clRouge"}) << 2
                                          << "'clRouge' n'est pas une valeur entière correcte";
        QTest::newRow("octet nul")
            << QByteArray("[POLICE]\r\nAr\0ial\r\n", 17) << 2 << "Caractère nul";
        QTest::newRow("ligne d'un mega-octet")
            << QByteArray("[POLICE]\r\n") + QByteArray(1 << 20, 'a') + "\r\n"
            << 2 << "Ligne trop longue";
    }
    void refus() {
        QFETCH(QByteArray, octets);
        QFETCH(int, ligne);
        QFETCH(QString, message);
        const Lecture l = lisparametres(octets, 25);
        if (ligne == 0) {
            QVERIFY(lu(l));
            return;
        }
        const ErreurLecture* e = erreur(l);
        QVERIFY(e);
        QCOMPARE(e->ligne, ligne);
        QVERIFY2(e->message.startsWith(message), qPrintable(e->message));
        QVERIFY(e->texte.size() <= 61);
    }

    // The walk's settings: their own section ahead of "[CHEMIN]", written only when one is on,
    // skipped whole by a reader that does not know it.
    void reglagesDuTrace() {
        auto e = nouveletat();
        e->bordnb = QStringLiteral("30");
        e->ips = 25;
        e->nbi = QStringLiteral("150");
        const QByteArray classique = ecrisparametres(*e);
        QVERIFY(classique.startsWith("[CHEMIN]\r\n"));
        e->reglagestrace = ReglagesTrace{12, true, 0, true};
        const QByteArray octets = ecrisparametres(*e);
        QVERIFY(octets.startsWith("[TRACE]\r\ntolerance\t12\r\ncarte\t1\r\nplume\t1\r\n[CHEMIN]"));
        QCOMPARE(octets.mid(octets.indexOf("[CHEMIN]")), classique);
        const Lecture l = lisparametres(octets, 25);
        QVERIFY2(lu(l), qPrintable(erreur(l) ? erreur(l)->message : QString()));
        QCOMPARE(lu(l)->trace, (ReglagesTrace{12, true, 0, true}));
        // As a reader of the 22 sections alone sees it: lines ahead of the first key, skipped.
        QByteArray ancien = octets;
        ancien.replace("[TRACE]", "inconnu");
        const Lecture v = lisparametres(ancien, 25);
        QVERIFY(lu(v));
        QVERIFY(lu(v)->trace.classique());
        QCOMPARE(lu(v)->bordnb, std::optional<int>(30));
        // A name of a later version is skipped; a value out of range is refused at its line.
        QVERIFY(
            lu(lisparametres(texte({"[TRACE]", "pont\t3", "epaisseur\t9", "[IPS]", "25"}), 25)));
        const Lecture refus = lisparametres(texte({"[TRACE]", "pont\t3", "tolerance\t101"}), 25);
        QVERIFY(erreur(refus));
        QCOMPARE(erreur(refus)->ligne, 3);
        QVERIFY(erreur(lisparametres(texte({"[TRACE]", "plume\toui"}), 25)));

        // The camera's easing: its own section, both kept apart.
        e->adoucit = true;
        const QByteArray deux = ecrisparametres(*e);
        QVERIFY(deux.startsWith("[TRACE]\r\ntolerance\t12\r\ncarte\t1\r\nplume\t1\r\n"
                                "[CAMERA]\r\nadoucir\t1\r\n[CHEMIN]"));
        const Lecture l2 = lisparametres(deux, 25);
        QVERIFY(lu(l2) && lu(l2)->adoucit && lu(l2)->trace == (ReglagesTrace{12, true, 0, true}));
        QVERIFY(erreur(lisparametres(texte({"[CAMERA]", "adoucir\t2"}), 25)));
    }

    // The film's size and zoom and the route's style: sections of their own, only what differs
    // from the classic film, read back as written; out-of-range values refused at their line.
    void filmEtStyle() {
        auto e = nouveletat();
        e->bordnb = QStringLiteral("30");
        e->ips = 25;
        e->nbi = QStringLiteral("150");
        const QByteArray classique = ecrisparametres(*e);
        e->film = Film{1080, 1920, 1.5};
        e->style = Style{6, 2, 0x102030};
        const QByteArray octets = ecrisparametres(*e);
        QVERIFY(octets.startsWith("[FILM]\r\ntaille\t1080\t1920\r\nzoom\t1.5\r\n"
                                  "[STYLE]\r\nlargeur\t6\r\nhalo\t2\t1056816\r\n[CHEMIN]"));
        QCOMPARE(octets.mid(octets.indexOf("[CHEMIN]")), classique);
        const Lecture l = lisparametres(octets, 25);
        QVERIFY2(lu(l), qPrintable(erreur(l) ? erreur(l)->message : QString()));
        QCOMPARE(lu(l)->film, std::optional<Film>(Film{1080, 1920, 1.5}));
        QCOMPARE(lu(l)->style, std::optional<Style>(Style{6, 2, 0x102030}));
        // Only the zoom: the size stays the classic one.
        e->film = Film{720, 576, 0.25};
        e->style = Style{};
        const QByteArray zoom = ecrisparametres(*e);
        QVERIFY(zoom.startsWith("[FILM]\r\nzoom\t0.25\r\n[CHEMIN]"));
        QCOMPARE(lu(lisparametres(zoom, 25))->film, std::optional<Film>(Film{720, 576, 0.25}));
        // A file without them: none.
        QVERIFY(!lu(lisparametres(classique, 25))->film);
        // As a reader of the 22 sections alone sees it: skipped.
        QByteArray ancien = octets;
        ancien.replace("[FILM]", "inconnu").replace("[STYLE]", "autre");
        QVERIFY(lu(lisparametres(ancien, 25)));

        const struct {
            const char* ligne;
        } refus[] = {{"taille\t721\t576"}, {"taille\t62\t62"}, {"taille\t7682\t576"},
                     {"taille\t1920"},     {"zoom\tdeux"},     {"zoom\t0"},
                     {"zoom\t17"},         {"zoom\tnan"}};
        for (const auto& r : refus) {
            const Lecture m = lisparametres(texte({"[FILM]", r.ligne, "[IPS]", "25"}), 25);
            QVERIFY2(erreur(m), r.ligne);
            QCOMPARE(erreur(m)->ligne, 2);
        }
        for (const char* ligne : {"largeur\t65", "largeur\t-1", "halo\t33\t0", "halo\t2\trouge?"}) {
            const Lecture m = lisparametres(texte({"[STYLE]", ligne}), 25);
            QVERIFY2(erreur(m), ligne);
            QCOMPARE(erreur(m)->ligne, 2);
        }
        // A name of a later version is skipped.
        QVERIFY(lu(lisparametres(
            texte({"[STYLE]", "ombre\t3", "[FILM]", "cadence\t60", "[IPS]", "25"}), 25)));
    }

    // A keyframe's zoom and pinned share, a frame's zoom: extra fields after the three, written
    // only when there are some; a reader of the three fields plays the same offsets.
    void champsDesCles() {
        auto e = nouveletat();
        e->bordnb = QStringLiteral("30");
        e->ips = 25;
        e->nbi = QStringLiteral("4");
        e->nbcle = 2;
        e->cletemps[0] = QStringLiteral("00:00");
        e->cletemps[1] = QStringLiteral("00:04");
        e->cleimg[1] = 4;
        e->nbimg = 4;
        const QByteArray classique = ecrisparametres(*e);
        QVERIFY(classique.contains("[CLE]\r\n0\t0\t00:00\r\n0\t0\t00:04\r\n"));
        e->clezoom[1] = 2.5;
        e->cleavance[0] = 0;
        e->imgzoom[2] = 1.25;
        const QByteArray octets = ecrisparametres(*e);
        QVERIFY(octets.contains("[CLE]\r\n0\t0\t00:00\t0\t0\r\n0\t0\t00:04\t2.5\r\n"));
        QVERIFY(octets.contains("\r\n0\t0\t0\t1.25\r\n"));
        const Lecture l = lisparametres(octets, 25);
        QVERIFY(lu(l));
        QCOMPARE(lu(l)->cles[0].avance, 0);
        QCOMPARE(lu(l)->cles[0].zoom, 0.0);
        QCOMPARE(lu(l)->cles[1].zoom, 2.5);
        QCOMPARE(lu(l)->cles[1].avance, -1);
        QCOMPARE(lu(l)->images[2].zoom, 1.25);
        QCOMPARE(lu(l)->images[1].zoom, 0.0);
        QVERIFY(erreur(lisparametres(texte({"[CLE]", "0\t0\t00:00\t40"}), 25)));
        QVERIFY(erreur(lisparametres(texte({"[CLE]", "0\t0\t00:00\t0\t1001"}), 25)));
        QVERIFY(erreur(lisparametres(texte({"[PHOTO]", "0\t0\t0\tzoom"}), 25)));
        // An empty field is none.
        QVERIFY(lu(lisparametres(texte({"[CLE]", "0\t0\t00:00\t", "[IPS]", "25"}), 25)));
    }

    // A group of four cut before its flag keeps its three values; the switch stays as it was.
    void loupeSansDrapeau() {
        const Lecture l = lisparametres(texte({"[LOUPE]", "l.bmp", "7", "10"}), 25);
        QVERIFY(lu(l));
        QVERIFY(lu(l)->loupe);
        QCOMPARE(lu(l)->loupe->fichier, QStringLiteral("l.bmp"));
        QCOMPARE(lu(l)->loupe->zoom, 7);
        QCOMPARE(lu(l)->loupe->estompe, 10);
        QVERIFY(!lu(l)->okloupe);
    }

    // A byte-order mark ahead of the first key is skipped, and the text after it read as UTF-8.
    void marqueUtf8() {
        const Lecture l = lisparametres(
            "\xef\xbb\xbf[CHEMIN]\r\n10\t20\t255\t0\r\n11\t21\t255\t0\r\n[TXTAUTRE]\r\nkm "
            "\xc3\xa9t\xc3\xa9\r\n",
            25);
        QVERIFY(lu(l));
        QCOMPARE(lu(l)->points.size(), size_t(2));
        QCOMPARE(lu(l)->points[1].y, 21);
        QCOMPARE(lu(l)->txtautre, QStringLiteral("km été"));
    }

    // Text without a key is not a project: reading it as an empty one would lose the route at
    // the next save. An empty file, or one of blank lines, stays an empty project.
    void sansCle_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<bool>("refuse");
        QTest::newRow("texte") << QByteArray("Bonjour\r\n1\t2\r\n") << true;
        QTest::newRow("cle en minuscules") << QByteArray("[chemin]\r\n1\t2\r\n") << true;
        QTest::newRow("vide") << QByteArray() << false;
        QTest::newRow("lignes vides") << QByteArray("\r\n\r\n  \r\n") << false;
        QTest::newRow("une cle") << QByteArray("entete\r\n[IPS]\r\n25\r\n") << false;
    }
    void sansCle() {
        QFETCH(QByteArray, octets);
        QFETCH(bool, refuse);
        const Lecture l = lisparametres(octets, 25);
        QCOMPARE(erreur(l) != nullptr, refuse);
        if (refuse) {
            QCOMPARE(erreur(l)->ligne, 0);
            QVERIFY2(erreur(l)->message.contains("Aucune section"), qPrintable(erreur(l)->message));
        }
    }

    void fichierNommeDansLeMessage() {
        const Lecture l = chargeparametres(cheminfixture("ligne12.vlp"), 25);
        QCOMPARE(erreur(l)->message,
                 cheminfixture("ligne12.vlp") +
                     "\n'abc' n'est pas une valeur entière correcte (ligne 12)");
        QCOMPARE(erreur(l)->texte, QStringLiteral("0\tabc\t1000"));
        const Lecture m = chargeparametres(cheminfixture("absent.vlp"), 25);
        QCOMPARE(erreur(m)->ligne, 0);
        QVERIFY(
            erreur(m)->message.startsWith("Impossible d'ouvrir " + cheminfixture("absent.vlp")));
    }

    void fichierTropGrand() {
        QTemporaryDir d;
        QFile f(d.filePath("gros.vlp"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(MAXFICHIER + 1, '\n'));
        f.close();
        const Lecture l = chargeparametres(f.fileName(), 25);
        QVERIFY(erreur(l));
        QVERIFY(erreur(l)->message.contains("Fichier trop grand"));
    }

    // Whatever the bytes, the reader ends with a result within the tables or with a line of the
    // file (or the one just past its end).
    void octetsQuelconques() {
        const QByteArray base = fixture("couleurs.vlp") + fixture("un_point.vlp");
        const int nblignes = base.count('\n');
        QRandomGenerator alea(7);
        for (int essai = 0; essai < 3000; ++essai) {
            QByteArray o = base;
            const int changes = 1 + alea.bounded(8);
            for (int c = 0; c < changes; ++c) {
                const int i = alea.bounded(o.size());
                switch (alea.bounded(3)) {
                case 0:
                    o[i] = static_cast<char>(alea.bounded(256));
                    break;
                case 1:
                    o.remove(i, alea.bounded(40));
                    break;
                default:
                    o.insert(i, o.mid(alea.bounded(o.size()), alea.bounded(60)));
                    break;
                }
            }
            const Lecture l = lisparametres(o, 1 + alea.bounded(30));
            if (const ErreurLecture* e = erreur(l)) {
                QVERIFY(e->ligne >= 1);
                QVERIFY(e->ligne <= o.count('\n') + 2);
                QVERIFY2(e->message.endsWith(QStringLiteral("(ligne %1)").arg(e->ligne)),
                         qPrintable(e->message));
            } else {
                QVERIFY(std::ssize(lu(l)->points) <= MAXPT);
                QVERIFY(std::ssize(lu(l)->images) <= MAXIMG);
                QVERIFY(std::ssize(lu(l)->cles) <= MAXCLE);
            }
        }
        QVERIFY(nblignes > 50);
    }
};

QTEST_GUILESS_MAIN(TstParametresLecture)
#include "tst_parametres_lecture.moc"
