// The page "Couleur": the segment list built on arrival, the chosen segment's swatch, recolouring
// a segment, and the pages that need a map.
#include "aide_route.h"

#include "project/parametres.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

constexpr int PAGEFICHIER = 0;
constexpr int PAGECOULEUR = 1;

constexpr Couleur ROUGE = 0x0000ff, VERT = 0x00ff00, BLEU = 0xff0000, JAUNE = 0x00ffff;

QStringList items(const QComboBox* c) {
    QStringList t;
    for (int i = 0; i < c->count(); ++i)
        t << c->itemText(i);
    return t;
}

Couleur swatch(const QLineEdit* w) {
    return depuisqrgb(w->palette().color(QPalette::Base).rgb());
}

// Three pieces of 50 pixels on rows 100, 200 and 300 of the view.
constexpr int DEBUTX = 100, LONGUEUR = 50;
constexpr int RANGEES[] = {100, 200, 300};

} // namespace

class TstCouleur : public QObject {
    Q_OBJECT
  private slots:
    void sansCarteRevientSurFichier_data();
    void sansCarteRevientSurFichier();
    void changementDePageArreteLaLecture();
    void uneTraceUnTroncon();
    void troisMorceaux();
    void routeVide();
    void fichierSansCouleursParPoint();
    void couleurAnnulee();
};

void TstCouleur::sansCarteRevientSurFichier_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("Couleur") << 1;
    QTest::newRow("Clés") << 2;
    QTest::newRow("Options") << 3;
}

void TstCouleur::sansCarteRevientSurFichier() {
    QFETCH(int, page);
    Banc b;
    b->Onglet2->setCurrentIndex(page);
    QCOMPARE(b.d.messages, QStringList{QStringLiteral("Charger d'abord une image")});
    QCOMPARE(b->Onglet2->currentIndex(), PAGEFICHIER);

    // Arriving on "Fichier" needs no map: a map that went away leaves the way back open.
    b.e().fichiercarte = QStringLiteral("carte.bmp");
    b->Onglet2->setCurrentIndex(page);
    b.e().fichiercarte.clear();
    b.d.messages.clear();
    b->Onglet2->setCurrentIndex(PAGEFICHIER);
    QCOMPARE(b.d.messages, QStringList());
    QCOMPARE(b->Onglet2->currentIndex(), PAGEFICHIER);
}

void TstCouleur::changementDePageArreteLaLecture() {
    Banc b;
    b.carte(800, 600);
    b->JoueClick();
    QVERIFY(b->Timer1->isActive());
    b.e().nbtron = 4;
    b->Onglet2->setCurrentIndex(2);
    QVERIFY(!b->Timer1->isActive());
    QCOMPARE(b.e().nbtron, 0);
    QCOMPARE(b.d.messages, QStringList());
}

void TstCouleur::uneTraceUnTroncon() {
    Banc b;
    b.carte(800, 600);
    peintligne(b, DEBUTX, 100, LONGUEUR);
    QVERIFY(trace(b, false, ROUGE, DEBUTX, 100));
    QCOMPARE(b.e().nbpt, LONGUEUR - 1);

    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    QCOMPARE(items(b->tronson), QStringList{QStringLiteral("tronçon 0")});
    QCOMPARE(b->tronson->currentIndex(), 0);
    QCOMPARE(b.e().nbtron, 1);
    QCOMPARE(b.e().coultron, ROUGE);
    QCOMPARE(swatch(b->coultron), ROUGE);
}

void TstCouleur::troisMorceaux() {
    Banc b;
    b.carte(800, 600);
    for (const int y : RANGEES)
        peintligne(b, DEBUTX, y, LONGUEUR);
    QVERIFY(trace(b, false, ROUGE, DEBUTX, RANGEES[0]));
    // The list shows the route of the moment of arrival, and is built anew at the next one.
    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    QCOMPARE(b->tronson->count(), 1);
    b->Onglet2->setCurrentIndex(PAGEFICHIER);
    QVERIFY(trace(b, true, VERT, DEBUTX, RANGEES[1]));
    QVERIFY(trace(b, true, BLEU, DEBUTX, RANGEES[2]));
    QCOMPARE(b.e().nbpt, 3 * LONGUEUR - 1);

    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    QCOMPARE(items(b->tronson),
             (QStringList{QStringLiteral("tronçon 0"), QStringLiteral("tronçon 1"),
                          QStringLiteral("tronçon 2")}));
    QCOMPARE(b.e().nbtron, 3);
    QCOMPARE(swatch(b->coultron), ROUGE);

    // Selecting from code runs no handler; the user's choice does.
    b->tronson->setCurrentIndex(2);
    QCOMPARE(swatch(b->coultron), ROUGE);
    b->tronson->setCurrentIndex(1);
    emit b->tronson->activated(1);
    QCOMPARE(swatch(b->coultron), VERT);

    // The whole route is drawn at the last frame.
    b->TL->setValue(b->TL->maximum());
    b.marque();
    b.d.couleurs.append(JAUNE);
    b->Button8->click();
    QVERIFY(b.redessine());
    for (int i = 0; i <= b.e().nbpt; ++i) {
        const Couleur attendue = i < LONGUEUR ? ROUGE : i < 2 * LONGUEUR ? JAUNE : BLEU;
        QCOMPARE(b.e().ptcoul[i], attendue);
    }
    QCOMPARE(b->s().vue.pixel(DEBUTX + 10, RANGEES[0]), ROUGE);
    QCOMPARE(b->s().vue.pixel(DEBUTX + 10, RANGEES[1]), JAUNE);
    QCOMPARE(b->s().vue.pixel(DEBUTX + 10, RANGEES[2]), BLEU);
    QCOMPARE(swatch(b->coultron), JAUNE);
    // The segment's colour is now the route colour, the one a continuation and the
    // parameters file take.
    QCOMPARE(b.e().coulr, JAUNE);
    QCOMPARE(b.e().coulmarque, JAUNE);
    QCOMPARE(swatch(b->coulr), JAUNE);
    QVERIFY(
        ecrisparametres(b.e()).contains("[COULROUTE]\r\n" + QByteArray::number(JAUNE) + "\r\n"));
}

void TstCouleur::routeVide() {
    Banc b;
    b.carte(800, 600);
    const Couleur avant = swatch(b->coultron);
    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    QCOMPARE(b->tronson->count(), 0);
    QCOMPARE(b->tronson->currentIndex(), -1);
    QCOMPARE(b.e().nbtron, 0);
    QCOMPARE(swatch(b->coultron), avant);

    b.d.couleurs.append(VERT);
    b->Button8->click();
    QCOMPARE(b.e().coulr, VERT);
    QCOMPARE(swatch(b->coultron), VERT);
    QCOMPARE(b.e().nbpt, -1);
}

void TstCouleur::fichierSansCouleursParPoint() {
    Banc b;
    QImage plan(800, 600, QImage::Format_RGB32);
    plan.fill(Qt::gray);
    QVERIFY(plan.save(b.dossier.filePath(QStringLiteral("plan.bmp"))));
    QFile vlp(b.dossier.filePath(QStringLiteral("plan.vlp")));
    QVERIFY(vlp.open(QIODevice::WriteOnly));
    vlp.write("[CHEMIN]\r\n1\t2\r\n3\t4\r\n5\t6\r\n[COULROUTE]\r\n255\r\n");
    vlp.close();
    b->chargecarte(b.dossier.filePath(QStringLiteral("plan.bmp")));
    QStringList messages;
    QVERIFY(!chargeprojet(b.e(), b->s(), messages));
    b->synchro();

    // The whole route is segment 0 in the route colour.
    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    QCOMPARE(items(b->tronson), QStringList{QStringLiteral("tronçon 0")});
    QCOMPARE(swatch(b->coultron), ROUGE);
}

void TstCouleur::couleurAnnulee() {
    Banc b;
    b.carte(800, 600);
    peintligne(b, DEBUTX, 100, LONGUEUR);
    QVERIFY(trace(b, false, ROUGE, DEBUTX, 100));
    b->Onglet2->setCurrentIndex(PAGECOULEUR);
    b.marque();
    b.d.couleurs.append(std::nullopt);
    b->Button8->click();
    QCOMPARE(b.d.couleursdemandees, 2);
    QVERIFY(!b.redessine());
    QCOMPARE(b.e().coulr, ROUGE);
    QCOMPARE(b.e().ptcoul[0], ROUGE);
    QCOMPARE(swatch(b->coultron), ROUGE);
}

QTEST_MAIN(TstCouleur)
#include "tst_couleur.moc"
