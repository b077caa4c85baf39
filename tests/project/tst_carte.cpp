#include "project/carte.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

Couleur motif(int x, int y, int graine) {
    return ((graine & 0xf) << 20) | ((x & 0x3ff) << 10) | (y & 0x3ff);
}

// A picture file whose pixels tell their place and which file they come from.
QString image(const QTemporaryDir& d, const QString& nom, int w, int h, int graine = 1) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setpixel(x, y, motif(x, y, graine));
    const QString chemin = d.filePath(nom);
    return s.image().save(chemin, "BMP") ? chemin : QString();
}

QString fichier(const QTemporaryDir& d, const QString& nom, const QByteArray& contenu) {
    QFile f(d.filePath(nom));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(contenu);
    return f.fileName();
}

struct Banc {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
    Banc() {
        e->nbpt = 2;
        e->ptx[0] = 5;
        e->pty[0] = 6;
        e->ptcoul[0] = 0xffffff;
    }
};

} // namespace

class TstCarte : public QObject {
    Q_OBJECT
    QTemporaryDir dossier;

  private slots:
    void portees_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("asclmax");
        QTest::addColumn<bool>("asclvisible");
        QTest::addColumn<int>("aschmax");
        QTest::addColumn<bool>("aschvisible");
        QTest::newRow("720 x 576") << 720 << 576 << 0 << false << 0 << false;
        QTest::newRow("721 x 576") << 721 << 576 << 1 << true << 0 << false;
        QTest::newRow("720 x 900") << 720 << 900 << 0 << false << 324 << true;
        QTest::newRow("1000 x 800") << 1000 << 800 << 280 << true << 224 << true;
    }
    void portees() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, asclmax);
        QFETCH(bool, asclvisible);
        QFETCH(int, aschmax);
        QFETCH(bool, aschvisible);
        Banc b;
        b.e->fichiervisu = QStringLiteral("ancienne.bmp");
        b.e->checkvisible = true;
        const QString chemin = image(dossier, QStringLiteral("carte%1x%2.bmp").arg(w).arg(h), w, h);
        const Chargement r = chargecarte(*b.e, b.s, chemin);
        QCOMPARE(r.issue, Chargement::ok);
        QVERIFY(r.message.isEmpty());
        QCOMPARE(b.e->largeurcarte, w);
        QCOMPARE(b.e->hauteurcarte, h);
        QCOMPARE(b.e->asclmax, asclmax);
        QCOMPARE(b.e->asclvisible, asclvisible);
        QCOMPARE(b.e->aschmax, aschmax);
        QCOMPARE(b.e->aschvisible, aschvisible);
        QCOMPARE(b.e->ascl, 0);
        QCOMPARE(b.e->asch, 0);
        QCOMPARE(b.e->dossiercarte, QDir(dossier.path()).absolutePath() + QLatin1Char('/'));
        QCOMPARE(b.e->fichiercarte, QFileInfo(chemin).fileName());
        QVERIFY(b.e->fichiervisu.isEmpty());
        QVERIFY(!b.e->check);
        QVERIFY(!b.e->checkvisible);
        // The frame is redrawn on the new map, with the stored route.
        QCOMPARE(b.s.vue.pixel(719, 575), motif(719, 575, 1));
        QCOMPARE(b.s.vue.pixel(5, 6), 0xffffff);
    }

    void tropPetite_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("719 x 1000") << 719 << 1000;
        QTest::newRow("1000 x 575") << 1000 << 575;
    }
    void tropPetite() {
        QFETCH(int, w);
        QFETCH(int, h);
        Banc b;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "bonne.bmp", 800, 600)).issue,
                 Chargement::ok);
        const QString dossierav = b.e->dossiercarte;
        const Chargement r = chargecarte(*b.e, b.s, image(dossier, "petite.bmp", w, h));
        QCOMPARE(r.issue, Chargement::refus);
        QCOMPARE(r.message, QStringLiteral("Image 720*576 minimum"));
        QCOMPARE(r.entree, 25);
        QVERIFY(b.e->fichiercarte.isEmpty());
        QCOMPARE(b.e->largeurcarte, w);
        QCOMPARE(b.e->hauteurcarte, h);
        QCOMPARE(b.s.carte.largeur(), w);
        QCOMPARE(b.s.carte.pixel(w - 1, h - 1), 0);
        QCOMPARE(b.s.vue.pixel(5, 6), 0);
        QCOMPARE(b.s.vue.pixel(700, 500), 0);
        // Ranges, route and names stay.
        QCOMPARE(b.e->asclmax, 80);
        QCOMPARE(b.e->aschmax, 24);
        QCOMPARE(b.e->nbpt, 2);
        QCOMPARE(b.e->dossiercarte, dossierav);
    }

    // The view of another film: a map smaller than it is refused with the size it needs and the
    // zoom that would fit; a map whose own project zooms in is taken at that film.
    void tailleDuFilm() {
        Banc b;
        b.e->film = Film{1920, 1080, 1.0};
        const Chargement r = chargecarte(*b.e, b.s, image(dossier, "moyenne.bmp", 1000, 800));
        QCOMPARE(r.issue, Chargement::refus);
        QCOMPARE(r.entree, -1);
        QCOMPARE(
            r.message,
            QStringLiteral("Image 1920*1080 minimum pour ce film (ou un zoom de 1.92 au moins)"));
        QVERIFY(b.e->fichiercarte.isEmpty());

        QTemporaryDir ici;
        const QString carte = image(ici, "petite.bmp", 400, 300);
        fichier(ici, "petite.vlp", "[FILM]\r\nzoom\t2\r\n[IPS]\r\n25\r\n");
        Banc c;
        QCOMPARE(chargecarte(*c.e, c.s, carte).issue, Chargement::ok);
        QCOMPARE(c.e->film, (Film{720, 576, 2.0}));
        QCOMPARE(c.e->asclmax, 400 - 360);
        QCOMPARE(c.e->aschmax, 300 - 288);
        QCOMPARE(c.s.vue.largeur(), 720);
    }

    void pluspetiteBorneLesDecalages() {
        Banc b;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "grande.bmp", 1000, 800)).issue,
                 Chargement::ok);
        b.e->ascl = 280;
        b.e->asch = 224;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "moyenne.bmp", 800, 600, 2)).issue,
                 Chargement::ok);
        QCOMPARE(b.e->ascl, 80);
        QCOMPARE(b.e->asch, 24);
        QCOMPARE(b.s.vue.pixel(0, 0), motif(80, 24, 2));
        QCOMPARE(b.s.vue.pixel(719, 575), motif(799, 599, 2));
    }

    void nomsDuFichierParametres_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("param");
        QTest::newRow("sans point") << "plan"
                                    << "plan.vlp";
        QTest::newRow("un point") << "plan.bmp"
                                  << "plan.vlp";
        QTest::newRow("deux points") << "plan.v2.bmp"
                                     << "plan.vlp";
    }
    void nomsDuFichierParametres() {
        QFETCH(QString, nom);
        QFETCH(QString, param);
        QTemporaryDir ici;
        Banc b;
        const QString chemin = image(ici, nom, 720, 576);
        Chargement r = chargecarte(*b.e, b.s, chemin);
        QCOMPARE(r.issue, Chargement::ok);
        QCOMPARE(b.e->fichiercarte, nom);
        QCOMPARE(b.e->fichierparam, param);
        QVERIFY(!r.parametres);
        fichier(ici, param, "[CHEMIN]\r\n");
        r = chargecarte(*b.e, b.s, chemin);
        QVERIFY(r.parametres);
    }

    void illisibleNeChangeRien_data() {
        QTest::addColumn<QByteArray>("contenu");
        QByteArray bmp;
        {
            const QString c = image(dossier, "source.bmp", 800, 600);
            QFile f(c);
            f.open(QIODevice::ReadOnly);
            bmp = f.readAll();
        }
        QByteArray geant = bmp.left(54);
        qToLittleEndian<qint32>(100000, geant.data() + 18);
        qToLittleEndian<qint32>(100000, geant.data() + 22);
        QTest::newRow("bmp tronqué") << bmp.left(bmp.size() - 1000);
        QTest::newRow("texte renommé") << QByteArray("pas une image\r\n");
        QTest::newRow("100000 x 100000") << geant;
    }
    void illisibleNeChangeRien() {
        QFETCH(QByteArray, contenu);
        Banc b;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "avant.bmp", 900, 700, 3)).issue,
                 Chargement::ok);
        b.e->ascl = 10;
        const auto avant = nouveletat();
        *avant = *b.e;
        const QImage carte = b.s.carte.image();
        const Chargement r = chargecarte(*b.e, b.s, fichier(dossier, "mauvaise.bmp", contenu));
        QCOMPARE(r.issue, Chargement::illisible);
        QVERIFY2(r.message.contains(QStringLiteral("mauvaise.bmp")), qPrintable(r.message));
        QCOMPARE(b.s.carte.image(), carte);
        QCOMPARE(b.e->fichiercarte, avant->fichiercarte);
        QCOMPARE(b.e->largeurcarte, 900);
        QCOMPARE(b.e->asclmax, avant->asclmax);
        QCOMPARE(b.e->ascl, 10);
    }

    void visu_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<bool>("accepte");
        QTest::newRow("même taille") << 800 << 600 << true;
        QTest::newRow("autre hauteur") << 800 << 601 << false;
        QTest::newRow("autre largeur") << 799 << 600 << false;
    }
    void visu() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(bool, accepte);
        Banc b;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "calcul.bmp", 800, 600, 1)).issue,
                 Chargement::ok);
        // A display picture already shown, so that a refusal must bring the map back.
        const QString premier = image(dossier, "visu1.bmp", 800, 600, 4);
        QCOMPARE(chargevisu(*b.e, b.s, premier).issue, Chargement::ok);
        QCOMPARE(b.s.vue.pixel(0, 0), motif(0, 0, 4));
        const QString chemin = image(dossier, QStringLiteral("visu%1.bmp").arg(h), w, h, 5);
        const Chargement r = chargevisu(*b.e, b.s, chemin);
        if (accepte) {
            QCOMPARE(r.issue, Chargement::ok);
            QCOMPARE(b.e->fichiervisu, chemin);
            QVERIFY(b.e->check);
            QVERIFY(b.e->checkvisible);
            QCOMPARE(b.s.vue.pixel(3, 4), motif(3, 4, 5));
        } else {
            QCOMPARE(r.issue, Chargement::refus);
            QCOMPARE(r.entree, 63);
            QCOMPARE(r.message, QStringLiteral("L'image de visu doit avoir la même \n"
                                               "dimension que l'image de calcul"));
            QVERIFY(b.e->fichiervisu.isEmpty());
            QVERIFY(!b.e->check);
            QVERIFY(!b.e->checkvisible);
            QCOMPARE(b.s.carte.largeur(), 800);
            QCOMPARE(b.s.vue.pixel(3, 4), motif(3, 4, 1));
        }
    }
    void visuSansCarte() {
        Banc b;
        const Chargement r = chargevisu(*b.e, b.s, image(dossier, "v.bmp", 720, 576));
        QCOMPARE(r.issue, Chargement::refus);
        QCOMPARE(r.entree, 62);
        QCOMPARE(r.message, QStringLiteral("Une image pour le calcul avant"));
        QVERIFY(b.e->fichiervisu.isEmpty());
    }
    void basculeVisu() {
        Banc b;
        QCOMPARE(chargecarte(*b.e, b.s, image(dossier, "calcul.bmp", 800, 600, 1)).issue,
                 Chargement::ok);
        QCOMPARE(chargevisu(*b.e, b.s, image(dossier, "visu.bmp", 800, 600, 6)).issue,
                 Chargement::ok);
        b.e->ascl = 30;
        QCOMPARE(basculevisu(*b.e, b.s, false).issue, Chargement::ok);
        QVERIFY(!b.e->check);
        QCOMPARE(b.s.vue.pixel(0, 0), motif(30, 0, 1));
        QCOMPARE(basculevisu(*b.e, b.s, true).issue, Chargement::ok);
        QVERIFY(b.e->check);
        QCOMPARE(b.s.vue.pixel(0, 0), motif(30, 0, 6));
        // A display picture gone from the disk: the switch goes back and the map stays.
        QCOMPARE(basculevisu(*b.e, b.s, false).issue, Chargement::ok);
        b.e->fichiervisu = dossier.filePath("disparue.bmp");
        const Chargement r = basculevisu(*b.e, b.s, true);
        QCOMPARE(r.issue, Chargement::illisible);
        QVERIFY(r.message.contains(QStringLiteral("disparue.bmp")));
        QVERIFY(!b.e->check);
        QCOMPARE(b.s.vue.pixel(0, 0), motif(30, 0, 1));
    }

    void loupe() {
        Banc b;
        b.e->txloupe = 250;
        QCOMPARE(chargeloupe(*b.e, b.s, image(dossier, "l300.bmp", 300, 300)).issue,
                 Chargement::ok);
        QCOMPARE(b.e->txloupemax, 300);
        QCOMPARE(b.e->txloupe, 250);
        QCOMPARE(b.s.loupe.largeur(), 300);
        QCOMPARE(b.s.tempo.largeur(), 300);
        QCOMPARE(b.s.tempo.hauteur(), 300);
        QCOMPARE(b.e->fichierloupe, dossier.filePath("l300.bmp"));
        QCOMPARE(chargeloupe(*b.e, b.s, image(dossier, "l200.bmp", 200, 150)).issue,
                 Chargement::ok);
        QCOMPARE(b.e->txloupemax, 200);
        QCOMPARE(b.e->txloupe, 200);
        QCOMPARE(b.s.loupe.hauteur(), 150);
        QCOMPARE(b.s.tempo.largeur(), 200);
        QCOMPARE(b.s.tempo.hauteur(), 150);
        QVERIFY(!b.e->okloupe);
    }
    // Any size under the picture limit is taken, however long a side.
    void loupeDeToutesTailles() {
        Banc b;
        const Chargement r = chargeloupe(*b.e, b.s, image(dossier, "longue.bmp", 2500, 30));
        QVERIFY2(r.issue == Chargement::ok, qPrintable(r.message));
        QCOMPARE(b.e->txloupemax, 2500);
        QCOMPARE(b.s.loupe.largeur(), 2500);
        QCOMPARE(b.s.tempo.hauteur(), 30);
    }
    void loupeRefuseeGardeLaPrecedente_data() {
        QTest::addColumn<QString>("chemin");
        QTest::newRow("texte") << fichier(dossier, "texte.bmp", "rien\r\n");
        QTest::newRow("1 x 1") << image(dossier, "point.bmp", 1, 1);
    }
    void loupeRefuseeGardeLaPrecedente() {
        QFETCH(QString, chemin);
        Banc b;
        const QString bonne = image(dossier, "l120.bmp", 120, 100);
        QCOMPARE(chargeloupe(*b.e, b.s, bonne).issue, Chargement::ok);
        const Chargement r = chargeloupe(*b.e, b.s, chemin);
        QCOMPARE(r.issue, Chargement::illisible);
        QVERIFY(r.message.contains(QFileInfo(chemin).fileName()));
        QCOMPARE(b.s.loupe.largeur(), 120);
        QCOMPARE(b.s.tempo.hauteur(), 100);
        QCOMPARE(b.e->txloupemax, 120);
        QCOMPARE(b.e->fichierloupe, bonne);
    }
};

QTEST_MAIN(TstCarte)
#include "tst_carte.moc"
