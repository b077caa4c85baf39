#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QTest>

#include <memory>

namespace {

// Every map pixel tells where it comes from; the values never equal black, white, green or
// magenta, the colours of the magnifier pictures below.
Couleur motif(int x, int y) {
    return 0x100000 | ((x & 0x3ff) << 10) | (y & 0x3ff);
}

void dessinemotif(Surface& s) {
    for (int y = 0; y < s.hauteur(); ++y)
        for (int x = 0; x < s.largeur(); ++x)
            s.setpixel(x, y, motif(x, y));
}

constexpr Couleur ROUGE = 0x0000ff;
constexpr Couleur BLEU = 0xff0000;
constexpr Couleur JAUNE = 0x00ffff;
constexpr Couleur VERT = 0x00ff00;
constexpr Couleur BLANC = 0xffffff;
constexpr Couleur MAGENTA = 0xff00ff;

// A project on a 1000 x 800 map with a route of nbpt + 1 points laid out row by row from (0, 100)
// of the view, in red.
struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    explicit Banc(int nbpt = -1, int largeur = 1000, int hauteur = 800) {
        s.carte.redimensionne(largeur, hauteur);
        dessinemotif(s.carte);
        e->asclmax = largeur - VUEL;
        e->aschmax = hauteur - VUEH;
        placeroute(*e, nbpt + 1);
        e->nbpt = nbpt;
        for (int i = 0; i <= nbpt; ++i) {
            e->ptx[i] = i % VUEL;
            e->pty[i] = 100 + i / VUEL;
            e->ptcoul[i] = ROUGE;
        }
    }
    Couleur point(int i) const { return s.vue.pixel(e->ptx[i] - e->ascl, e->pty[i] - e->asch); }
    // The view as the same frame would be without the option `retire` switched off.
    QImage sans(bool Etat::*retire, int avance) {
        const bool avant = (*e).*retire;
        (*e).*retire = false;
        afficheimg(*e, s, avance);
        QImage i = s.vue.image().copy();
        (*e).*retire = avant;
        return i;
    }
};

Couleur pixelde(const QImage& i, int x, int y) {
    if (!i.rect().contains(x, y)) return AUCUNECOULEUR;
    return depuisqrgb(i.pixel(x, y));
}

} // namespace

class TstAfficheimg : public QObject {
    Q_OBJECT
  private slots:
    // --- Map ---------------------------------------------------------------------------------
    void carteAuxDecalages_data() {
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::newRow("origine") << 0 << 0;
        QTest::newRow("milieu") << 137 << 61;
        QTest::newRow("coin bas droit") << 280 << 224;
    }
    void carteAuxDecalages() {
        QFETCH(int, sx);
        QFETCH(int, sy);
        Banc b;
        b.e->ascl = sx;
        b.e->asch = sy;
        afficheimg(*b.e, b.s, 1000);
        for (const QPoint p :
             {QPoint(0, 0), QPoint(719, 0), QPoint(0, 575), QPoint(719, 575), QPoint(360, 288)})
            QCOMPARE(b.s.vue.pixel(p.x(), p.y()), motif(p.x() + sx, p.y() + sy));
    }
    void auDelaDeLaCarteNoir() {
        // A map smaller than the view (a refused picture) leaves nothing of an earlier frame.
        Banc b(-1, 100, 50);
        b.s.vue.remplit(BLANC);
        afficheimg(*b.e, b.s, 0);
        QCOMPARE(b.s.vue.pixel(99, 49), motif(99, 49));
        QCOMPARE(b.s.vue.pixel(100, 0), 0);
        QCOMPARE(b.s.vue.pixel(0, 50), 0);
        QCOMPARE(b.s.vue.pixel(719, 575), 0);
    }

    // --- Route ---------------------------------------------------------------------------------
    void pointsJusquaLAvance_data() {
        QTest::addColumn<int>("nbpt");
        QTest::addColumn<int>("avance");
        QTest::addColumn<int>("n");
        QTest::newRow("avance 0") << 999 << 0 << 0;
        QTest::newRow("999 à 500") << 999 << 500 << 499;
        QTest::newRow("avance 1000") << 999 << 1000 << 999;
        QTest::newRow("route pleine") << MAXPT - 1 << 1000 << MAXPT - 1;
        QTest::newRow("400000 points") << 399'999 << 1000 << 399'999;
        QTest::newRow("400000 points à 500") << 399'999 << 500 << 199'999;
        QTest::newRow("avance hors bornes") << 999 << 5000 << 999;
    }
    void pointsJusquaLAvance() {
        QFETCH(int, nbpt);
        QFETCH(int, avance);
        QFETCH(int, n);
        Banc b(nbpt, 1000, 800);
        b.e->aschmax = 800 - VUEH;
        for (int i = 0; i <= nbpt; ++i)
            b.e->pty[i] = i / VUEL; // the full route needs 51 rows
        afficheimg(*b.e, b.s, avance);
        for (int i : {0, n / 2, n})
            QCOMPARE(b.point(i), ROUGE);
        if (n < nbpt) QCOMPARE(b.point(n + 1), motif(b.e->ptx[n + 1], b.e->pty[n + 1]));
    }
    void couleurParPointEtCouleurSysteme() {
        Banc b(2);
        b.e->ptcoul[1] = clWindow;
        b.e->ptcoul[2] = BLEU;
        afficheimg(*b.e, b.s, 1000);
        QCOMPARE(b.point(0), ROUGE);
        QCOMPARE(b.point(1), BLANC);
        QCOMPARE(b.point(2), BLEU);
    }
    void pointsHorsVueIgnores() {
        Banc b(5);
        b.e->ascl = 10;
        b.e->asch = 10;
        const int xs[] = {9,  730, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                          10, 730};
        const int ys[] = {50, 50, 50, 50, 9, 586};
        for (int i = 0; i <= 5; ++i) {
            b.e->ptx[i] = xs[i];
            b.e->pty[i] = ys[i];
        }
        b.s.vue.remplit(BLANC);
        afficheimg(*b.e, b.s, 1000);
        // Nothing of the route shows: every view pixel is the map's.
        for (int y = 0; y < VUEH; y += 5)
            for (int x = 0; x < VUEL; x += 7)
                QCOMPARE(b.s.vue.pixel(x, y), motif(x + 10, y + 10));
        QCOMPARE(b.s.vue.pixel(719, 575), motif(729, 585));
    }

    // --- Tip -----------------------------------------------------------------------------------
    void embout_data() {
        QTest::addColumn<bool>("actif");
        QTest::addColumn<QString>("bordnb");
        QTest::addColumn<int>("nbpt");
        QTest::addColumn<int>("avance");
        QTest::addColumn<int>("premier"); // first point in the tip colour; n + 1 = none
        QTest::newRow("k 30, n 10: tous") << true << "30" << 100 << 100 << 0;
        QTest::newRow("k 3") << true << "3" << 100 << 500 << 48;
        QTest::newRow("k 0") << true << "0" << 100 << 500 << 51;
        QTest::newRow("avance 1000") << true << "30" << 100 << 1000 << 101;
        QTest::newRow("inactif") << false << "30" << 100 << 500 << 51;
        QTest::newRow("texte vide") << true << "" << 100 << 500 << 51;
        QTest::newRow("pas un nombre") << true << "3a" << 100 << 500 << 51;
        QTest::newRow("négatif") << true << "-5" << 100 << 500 << 51;
        QTest::newRow("immense") << true << "99999999999999999" << 100 << 500 << 0;
    }
    void embout() {
        QFETCH(bool, actif);
        QFETCH(QString, bordnb);
        QFETCH(int, nbpt);
        QFETCH(int, avance);
        QFETCH(int, premier);
        Banc b(nbpt);
        b.e->checkbox1 = actif;
        b.e->bordnb = bordnb;
        b.e->coulbord = JAUNE;
        afficheimg(*b.e, b.s, avance);
        const int n = nbpt * avance / 1000;
        for (int i = 0; i <= n; ++i)
            QCOMPARE(b.point(i), i >= premier ? JAUNE : ROUGE);
    }

    // --- Legend --------------------------------------------------------------------------------
    void legendeParUnite_data() {
        QTest::addColumn<int>("unite");
        QTest::addColumn<QString>("lkm");
        QTest::addColumn<int>("avance");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("autrevisible");
        QTest::newRow("sans") << int(SANS) << "250" << 333 << "83" << false;
        QTest::newRow("kms") << int(KM) << "250" << 333 << "Kms: 83" << false;
        QTest::newRow("miles") << int(MILE) << "250" << 333 << "Miles: 83" << false;
        QTest::newRow("autre") << int(AUTRE) << "250" << 333 << "lieues 83" << true;
        QTest::newRow("au bout") << int(KM) << "250" << 1000 << "Kms: 250" << false;
        QTest::newRow("compteur long") << int(SANS) << "9000000000" << 500 << "4500000000" << false;
        QTest::newRow("compteur vide") << int(KM) << "" << 500 << "Kms: 0" << false;
    }
    void legendeParUnite() {
        QFETCH(int, unite);
        QFETCH(QString, lkm);
        QFETCH(int, avance);
        QFETCH(QString, texte);
        QFETCH(bool, autrevisible);
        Banc b(10);
        b.e->montre = true;
        b.e->unite = unite;
        b.e->lkm = lkm;
        b.e->txtautre = QStringLiteral("lieues");
        b.e->txtautrevisible = !autrevisible;
        b.e->police.taille = -24;
        b.e->police.couleur = BLEU;
        b.e->xt = 40;
        b.e->yt = 300;
        const QImage sanslegende = b.sans(&Etat::montre, avance);
        afficheimg(*b.e, b.s, avance);
        QCOMPARE(b.e->txtautrevisible, autrevisible);
        Surface attendu;
        attendu.prend(sanslegende);
        attendu.texte(40, 300, texte, b.e->police, BLEU);
        QCOMPARE(b.s.vue.image(), attendu.image());
        QVERIFY(b.s.vue.image() != sanslegende);
    }
    void legendeEteinteNeTouchePasTxtautre() {
        Banc b(10);
        b.e->unite = AUTRE;
        b.e->txtautrevisible = false;
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.e->txtautrevisible, false);
        b.e->unite = KM;
        b.e->txtautrevisible = true;
        afficheimg(*b.e, b.s, 500);
        QCOMPARE(b.e->txtautrevisible, true);
    }
    void ombreSousLeTexte_data() {
        QTest::addColumn<bool>("ombre");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("3, 3") << true << 3 << 3;
        QTest::newRow("-6, 2") << true << -6 << 2;
        QTest::newRow("sans ombre") << false << 3 << 3;
    }
    void ombreSousLeTexte() {
        QFETCH(bool, ombre);
        QFETCH(int, dx);
        QFETCH(int, dy);
        Banc b;
        b.e->montre = true;
        b.e->unite = KM;
        b.e->lkm = QStringLiteral("12345");
        b.e->police.taille = -30;
        b.e->police.gras = true;
        b.e->police.couleur = ROUGE;
        b.e->coulombre = JAUNE;
        b.e->xt = 100;
        b.e->yt = 200;
        b.e->okombre = false;
        afficheimg(*b.e, b.s, 1000);
        const QImage seul = b.s.vue.image().copy();
        b.e->okombre = ombre;
        b.e->xombre = dx;
        b.e->yombre = dy;
        afficheimg(*b.e, b.s, 1000);
        int texte = 0, ombres = 0;
        for (int y = 0; y < VUEH; ++y)
            for (int x = 0; x < VUEL; ++x) {
                const bool rouge = pixelde(seul, x, y) == ROUGE;
                const bool dessous = pixelde(seul, x - dx, y - dy) == ROUGE;
                const Couleur c = b.s.vue.pixel(x, y);
                texte += rouge;
                // The text covers the shadow; the shadow is the text moved by the offset.
                const Couleur attendu =
                    rouge ? ROUGE : (ombre && dessous ? JAUNE : pixelde(seul, x, y));
                if (c != attendu) QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                ombres += c == JAUNE;
            }
        QVERIFY(texte > 50);
        QCOMPARE(ombres > 0, ombre);
    }
    void routeVideCarteEtLegende() {
        Banc b(-1);
        b.e->montre = true;
        b.e->lkm = QStringLiteral("7");
        b.e->checkbox1 = true;
        b.e->bordnb = QStringLiteral("30");
        b.e->okloupe = true;
        b.s.loupe.redimensionne(40, 40);
        b.s.loupe.remplit(BLANC);
        const QImage sanslegende = b.sans(&Etat::montre, 500);
        afficheimg(*b.e, b.s, 500);
        Surface attendu;
        attendu.prend(sanslegende);
        attendu.texte(0, 0, QStringLiteral("3"), b.e->police, b.e->police.couleur);
        QCOMPARE(b.s.vue.image(), attendu.image());
        QCOMPARE(pixelde(sanslegende, 0, 100), motif(0, 100));
    }

    // --- A frame of the film -------------------------------------------------------------------
    void montreimage_data() {
        QTest::addColumn<int>("p");
        QTest::addColumn<int>("tl");
        QTest::addColumn<QString>("wtl");
        QTest::addColumn<int>("cle"); // keyframe selected, -1 none
        QTest::addColumn<QPoint>("decalage");
        QTest::newRow("milieu") << 75 << 75 << "03:00" << -1 << QPoint(200, 100);
        QTest::newRow("dernière") << 150 << 150 << "06:00" << 1 << QPoint(0, 0);
        QTest::newRow("au-delà") << 400 << 150 << "06:00" << 1 << QPoint(0, 0);
        QTest::newRow("avant le début") << -3 << 0 << "00:00" << 0 << QPoint(0, 0);
        QTest::newRow("décalages hors portée") << 10 << 10 << "00:10" << -1 << QPoint(280, 224);
    }
    void montreimage() {
        QFETCH(int, p);
        QFETCH(int, tl);
        QFETCH(QString, wtl);
        QFETCH(int, cle);
        QFETCH(QPoint, decalage);
        Banc b(999);
        filmdepart(*b.e);
        b.e->imgdecx[75] = 200;
        b.e->imgdecy[75] = 100;
        b.e->imgdecx[10] = 5000;
        b.e->imgdecy[10] = 9000;
        ::montreimage(*b.e, b.s, p);
        QCOMPARE(b.e->tl, tl);
        QCOMPARE(b.e->wtl, wtl);
        QCOMPARE(b.e->icleselection, cle);
        QCOMPARE(b.e->creationcle, cle < 0 ? 1 : 0);
        QCOMPARE(QPoint(b.e->ascl, b.e->asch), decalage);
        QCOMPARE(b.s.vue.pixel(719, 0), motif(719 + decalage.x(), decalage.y()));
        // The progress of the frame, i * 1000 / 150, where the route is in the view.
        if (decalage.y() < 100) {
            const int n = 999 * (tl * 1000 / 150) / 1000;
            QCOMPARE(b.point(n), ROUGE);
            if (n < 999) QCOMPARE(b.point(n + 1), motif(b.e->ptx[n + 1], b.e->pty[n + 1]));
        }
    }
};

QTEST_MAIN(TstAfficheimg)
#include "tst_afficheimg.moc"
