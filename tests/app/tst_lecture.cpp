// The time line, playback and keyframe editing as the window drives them: the core's results
// must reach the controls, and the view must show the frame the time line stands on.
#include "aide_fenetre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// Scrolls the view as the scroll bars leave it.
void defile(Banc& b, int x, int y) {
    b.e().ascl = x;
    b.e().asch = y;
    b->synchro();
}

QStringList cles(const QListWidget* l) {
    QStringList t;
    for (int i = 0; i < l->count(); ++i)
        t.append(l->item(i)->text());
    return t;
}

} // namespace

class TstLecture : public QObject {
    Q_OBJECT
  private slots:
    void jouerALaFinNeBougeRien();
    void intervalleParTaux_data();
    void intervalleParTaux();
    void dernMontreLaDuree();
    void pasPendantLectureArreteEtAvanceUneFois_data();
    void pasPendantLectureArreteEtAvanceUneFois();
    void bornesSansDessin_data();
    void bornesSansDessin();
    void imageCleSelectionneeEtModifier();
    void memePositionNeRedessinePas();
    void boutonsDeDuree_data();
    void boutonsDeDuree();
    void filmRaccourciRameneLaLigneDeTemps();
    void tauxChoisiParLUtilisateur();
    void tauxTapeIllisible();
    void memeTauxGardeLesCles();
    void tauxGardeLesTemps();
    void tauxTapeSansPerte();
    void tauxDemandeAvantDePerdre_data();
    void tauxDemandeAvantDePerdre();
    void creerDeuxFoisPuisSupprimer();
    void cent2iemeCleRefusee();
    void icleSansSelection();
    void icleVaALaCle();
    void icleRecliqueeRevientALaCle();
    void suivreEtAdoucir();
    void lectureAvecCleDefilee();
};

void TstLecture::jouerALaFinNeBougeRien() {
    Banc b;
    b->dernClick();
    b.marque();
    b->JoueClick();
    QVERIFY(b->Timer1->isActive());
    b->Timer1Timer();
    QVERIFY(!b->Timer1->isActive());
    QCOMPARE(b->TL->value(), 150);
    QVERIFY(!b.redessine());
}

void TstLecture::intervalleParTaux_data() {
    QTest::addColumn<int>("entree");
    QTest::addColumn<int>("intervalle");
    const int ms[] = {100, 83, 66, 50, 41, 40, 33};
    for (int i = 0; i < 7; ++i)
        QTest::addRow("%d", i) << i << ms[i];
}

void TstLecture::intervalleParTaux() {
    QFETCH(int, entree);
    QFETCH(int, intervalle);
    Banc b;
    b->CipsChange(b->Cips->itemText(entree));
    b->JoueClick();
    QCOMPARE(b->Timer1->interval(), intervalle);
    QVERIFY(b->Timer1->isActive());
    b->stopClick();
    QVERIFY(!b->Timer1->isActive());
}

void TstLecture::dernMontreLaDuree() {
    Banc b;
    QTest::mouseClick(b->dern, Qt::LeftButton);
    QCOMPARE(b->TL->value(), 150);
    QCOMPARE(b.e().tl, 150);
    QCOMPARE(b->Wtl->text(), b->Dmax->text());
    QCOMPARE(b->Wtl->text(), QStringLiteral("06:00"));
    QTest::mouseClick(b->Debut, Qt::LeftButton);
    QCOMPARE(b->TL->value(), 0);
    QCOMPARE(b->Wtl->text(), QStringLiteral("00:00"));
}

void TstLecture::pasPendantLectureArreteEtAvanceUneFois_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("attendu");
    QTest::newRow("suiv") << "suiv" << 11;
    QTest::newRow("pred") << "pred" << 9;
    QTest::newRow("Debut") << "Debut" << 0;
    QTest::newRow("dern") << "dern" << 150;
}

void TstLecture::pasPendantLectureArreteEtAvanceUneFois() {
    QFETCH(QString, bouton);
    QFETCH(int, attendu);
    Banc b;
    b->TL->setValue(10);
    b->JoueClick();
    QSignalSpy pas(b->TL, &QSlider::valueChanged);
    QTest::mouseClick(b->findChild<QToolButton*>(bouton), Qt::LeftButton);
    QVERIFY(!b->Timer1->isActive());
    QCOMPARE(pas.size(), 1);
    QCOMPARE(b->TL->value(), attendu);
    QCOMPARE(b.e().tl, attendu);
}

void TstLecture::bornesSansDessin_data() {
    QTest::addColumn<bool>("debut");
    QTest::newRow("pred à 0") << true;
    QTest::newRow("suiv à N") << false;
}

void TstLecture::bornesSansDessin() {
    QFETCH(bool, debut);
    Banc b;
    if (!debut) b->dernClick();
    b.marque();
    if (debut)
        b->predClick();
    else
        b->suivClick();
    QCOMPARE(b->TL->value(), debut ? 0 : 150);
    QVERIFY(!b.redessine());
}

void TstLecture::imageCleSelectionneeEtModifier() {
    Banc b;
    b->TL->setValue(75);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Créer"));
    QVERIFY(b->Icle->selectedItems().isEmpty());
    b->creerICClick();
    b->TL->setValue(74);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Créer"));
    QVERIFY(!b->SupIC->isEnabled());
    QVERIFY(b->Icle->selectedItems().isEmpty());
    b->TL->setValue(75);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Modifier"));
    QVERIFY(b->SupIC->isEnabled());
    QCOMPARE(b->Icle->currentRow(), 1);
    QCOMPARE(b->Icle->selectedItems().first()->text(), QStringLiteral("03:00"));
    QCOMPARE(b->Wtl->text(), QStringLiteral("03:00"));
    // The language table names the mode when it holds the entry.
    b.e().textes[33] = QStringLiteral("Change");
    b->TL->setValue(0);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Change"));
    QVERIFY(!b->SupIC->isEnabled());
}

void TstLecture::memePositionNeRedessinePas() {
    Banc b;
    b->TL->setValue(40);
    b.marque();
    b->TL->setValue(40);
    QVERIFY(!b.redessine());
    b->TL->setValue(41);
    QVERIFY(b.redessine());
    QCOMPARE(b->Wtl->text(), QStringLiteral("01:16"));
}

void TstLecture::boutonsDeDuree_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("depart");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("duree");
    QTest::newRow("Button4 sur 06:00") << "Button4" << 150 << 175 << "07:00";
    QTest::newRow("Button6 sur 06:00") << "Button6" << 150 << 151 << "06:01";
    QTest::newRow("Button7 sur 00:01") << "Button7" << 1 << 1 << "00:01";
    QTest::newRow("Button5 sur 00:20") << "Button5" << 20 << 1 << "00:01";
    QTest::newRow("Button4 au-delà de 2200") << "Button4" << 2190 << 2900 << "116:00";
}

void TstLecture::boutonsDeDuree() {
    QFETCH(QString, bouton);
    QFETCH(int, depart);
    QFETCH(int, n);
    QFETCH(QString, duree);
    Banc b;
    while (b.e().tlmax < depart)
        b->Button6Click();
    while (b.e().tlmax > depart)
        b->Button7Click();
    QTest::mouseClick(b->findChild<QToolButton*>(bouton), Qt::LeftButton);
    QCOMPARE(b->NbI->text(), QString::number(n));
    QCOMPARE(b->Dmax->text(), duree);
    QCOMPARE(b->TL->maximum(), n);
    QCOMPARE(cles(b->Icle).size(), 2);
    QCOMPARE(cles(b->Icle).last(), duree);
}

void TstLecture::filmRaccourciRameneLaLigneDeTemps() {
    Banc b;
    b->dernClick();
    b.marque();
    b->Button5Click();
    QCOMPARE(b->TL->value(), 125);
    QCOMPARE(b->Wtl->text(), QStringLiteral("05:00"));
    // The frame it now stands on is shown, and its keyframe is the end one.
    QVERIFY(b.redessine());
    QCOMPARE(b->creerIC->text(), QStringLiteral("Modifier"));
    QCOMPARE(b->Icle->currentRow(), 1);
}

void TstLecture::tauxChoisiParLUtilisateur() {
    Banc b;
    b->TL->setValue(100);
    b->Cips->setCurrentIndex(0);
    emit b->Cips->activated(0);
    QCOMPARE(b.e().ips, 10);
    QCOMPARE(b->NbI->text(), QStringLiteral("60"));
    QCOMPARE(b->Dmax->text(), QStringLiteral("06:00"));
    QCOMPARE(cles(b->Icle), (QStringList{"00:00", "06:00"}));
    QCOMPARE(b->TL->maximum(), 60);
    QCOMPARE(b->TL->value(), 60);
    QCOMPARE(b->Cips->currentText(), QStringLiteral("10 images/secondes"));
    QVERIFY(b.d.messages.isEmpty());
}

void TstLecture::tauxTapeIllisible() {
    Banc b;
    QLineEdit* texte = b->Cips->lineEdit();
    texte->clear();
    QTest::keyClicks(texte, QStringLiteral("xy"));
    QCOMPARE(b.d.messages.last(), QStringLiteral("'xy' n'est pas une valeur entière correcte"));
    QCOMPARE(b.e().ips, 25);
    QCOMPARE(b->NbI->text(), QStringLiteral("150"));
    // A typed rate is taken as soon as its two digits read as a number.
    texte->clear();
    QTest::keyClicks(texte, QStringLiteral("30 i"));
    QCOMPARE(b.e().ips, 30);
    QCOMPARE(b->NbI->text(), QStringLiteral("180"));
}

void TstLecture::memeTauxGardeLesCles() {
    Banc b;
    b->TL->setValue(50);
    b->creerICClick();
    const int actuel = b->Cips->currentIndex();
    emit b->Cips->activated(actuel);
    QCOMPARE(cles(b->Icle), (QStringList{"00:00", "02:00", "06:00"}));
    QCOMPARE(b.e().nbcle, 3);
    // Retyping the same text is no change either.
    QLineEdit* texte = b->Cips->lineEdit();
    const QString avant = texte->text();
    emit texte->textEdited(avant);
    QCOMPARE(b.e().nbcle, 3);
}

// Placed keyframes stay at their times through a change of rate, with their offsets; nothing
// is asked when nothing is lost.
void TstLecture::tauxGardeLesTemps() {
    Banc b;
    b->TL->setValue(50);
    defile(b, 30, 40);
    b->creerICClick();
    b->Cips->setCurrentIndex(0);
    emit b->Cips->activated(0);
    QCOMPARE(b.e().ips, 10);
    QCOMPARE(cles(b->Icle), (QStringList{"00:00", "02:00", "06:00"}));
    QCOMPARE(b.e().cleimg[1], 20);
    QCOMPARE(b.e().cledecx[1], 30);
    QCOMPARE(b.e().cledecy[1], 40);
    QCOMPARE(b.e().imgdecx[20], 30);
    QVERIFY(b.d.questions.isEmpty());
    QVERIFY(b.d.messages.isEmpty());
}

// A rate typed one character after the other passes through others ("1", then "15"): the
// keyframes come out as a direct change would leave them.
void TstLecture::tauxTapeSansPerte() {
    Banc b;
    for (const int p : {37, 38, 113}) {
        b->TL->setValue(p);
        b->creerICClick();
    }
    QLineEdit* texte = b->Cips->lineEdit();
    texte->clear();
    QTest::keyClicks(texte, QStringLiteral("15"));
    QCOMPARE(b.e().ips, 15);
    QCOMPARE(b.e().nbcle, 5);
    QCOMPARE(QList<int>(b.e().cleimg.begin(), b.e().cleimg.begin() + 5),
             (QList<int>{0, 22, 23, 68, 90}));
    QVERIFY(b.d.questions.isEmpty());
}

// More keyframes than the new rate has frames: asked first; No leaves everything as it was.
void TstLecture::tauxDemandeAvantDePerdre_data() {
    QTest::addColumn<bool>("oui");
    QTest::newRow("Oui") << true;
    QTest::newRow("Non") << false;
}
void TstLecture::tauxDemandeAvantDePerdre() {
    QFETCH(bool, oui);
    Banc b;
    for (int p = 1; p <= 70; ++p) {
        b->TL->setValue(p);
        b->creerICClick();
    }
    QCOMPARE(b.e().nbcle, 72);
    b.d.reponses << oui;
    b->Cips->setCurrentIndex(0);
    emit b->Cips->activated(0);
    QCOMPARE(b.d.questions,
             QStringList(QStringLiteral("À 10 images par seconde le film n'a que 61 images : 11 "
                                        "images clés seront retirées. Continuer ?")));
    QCOMPARE(b.e().ips, oui ? 10 : 25);
    QCOMPARE(b.e().nbcle, oui ? 61 : 72);
    QCOMPARE(b->NbI->text(), oui ? QStringLiteral("60") : QStringLiteral("150"));
    QCOMPARE(b->Cips->currentText(),
             oui ? QStringLiteral("10 images/secondes") : QStringLiteral("25 images/secondes"));
    QCOMPARE(b->Icle->count(), b.e().nbcle);
}

void TstLecture::creerDeuxFoisPuisSupprimer() {
    Banc b;
    b->TL->setValue(50);
    defile(b, 30, 0);
    b->creerICClick();
    defile(b, 60, 0);
    QTest::mouseClick(b->creerIC, Qt::LeftButton);
    QCOMPARE(cles(b->Icle), (QStringList{"00:00", "02:00", "06:00"}));
    QCOMPARE(b.e().cledecx[1], 60);
    QCOMPARE(b.e().imgdecx[25], 30);
    b->TL->setValue(100);
    b->creerICClick();
    QCOMPARE(b.e().nbcle, 4);
    // Frame 100 stood halfway from 60 back to 0.
    QCOMPARE(b.e().cledecx[2], 30);
    // The middle keyframe goes: the table runs straight from the first to the one at 100.
    b->TL->setValue(50);
    QTest::mouseClick(b->SupIC, Qt::LeftButton);
    QCOMPARE(cles(b->Icle), (QStringList{"00:00", "04:00", "06:00"}));
    QCOMPARE(b.e().imgdecx[50], 15);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Créer"));
    QVERIFY(!b->SupIC->isEnabled());
}

void TstLecture::cent2iemeCleRefusee() {
    Banc b;
    for (int p = 1; p <= 99; ++p) {
        b->TL->setValue(p);
        b->creerICClick();
    }
    QCOMPARE(b.e().nbcle, 101);
    QVERIFY(b.d.messages.isEmpty());
    b->TL->setValue(120);
    b->creerICClick();
    QCOMPARE(b.e().nbcle, 101);
    QCOMPARE(b->Icle->count(), 101);
    QCOMPARE(b.d.messages, QStringList{QStringLiteral("Pas plus de 101 images clés")});
    // Keyframes already there can still be changed.
    b->TL->setValue(99);
    defile(b, 7, 0);
    b->creerICClick();
    QCOMPARE(b.e().cledecx[99], 7);
    QCOMPARE(b.d.messages.size(), 1);
}

void TstLecture::icleSansSelection() {
    Banc b;
    b->TL->setValue(30);
    b->Icle->clearSelection();
    b->IcleClick();
    QCOMPARE(b->TL->value(), 30);
}

void TstLecture::icleVaALaCle() {
    Banc b;
    b->Icle->show();
    const QRect ligne = b->Icle->visualItemRect(b->Icle->item(1));
    QTest::mouseClick(b->Icle->viewport(), Qt::LeftButton, {}, ligne.center());
    QCOMPARE(b->TL->value(), 150);
    QCOMPARE(b->Wtl->text(), QStringLiteral("06:00"));
    QCOMPARE(b->Icle->currentRow(), 1);
}

void TstLecture::icleRecliqueeRevientALaCle() {
    Banc b;
    b.carte(1000, 800);
    b->Icle->show();
    const QRect ligne = b->Icle->visualItemRect(b->Icle->item(1));
    QTest::mouseClick(b->Icle->viewport(), Qt::LeftButton, {}, ligne.center());
    QCOMPARE(b->Icle->currentRow(), 1);
    // The view scrolled away from the keyframe; a click on it, still selected, brings it back.
    defile(b, 30, 20);
    QVERIFY(b->Icle->item(1)->isSelected());
    QTest::mouseClick(b->Icle->viewport(), Qt::LeftButton, {}, ligne.center());
    QCOMPARE(b->Ascl->value(), 0);
    QCOMPARE(b->Asch->value(), 0);
}

// "Suivre la route" writes keyframes the user then sees and edits; "Adoucir" eases the moves and
// the frame table follows at once.
void TstLecture::suivreEtAdoucir() {
    Banc b;
    b->suivre->click();
    QCOMPARE(b.d.messages.last(), QStringLiteral("Charger d'abord une image"));
    b.carte(2000, 1200);
    b->suivre->click();
    QCOMPARE(b.d.messages.last(), QStringLiteral("Tracer d'abord la route"));
    Etat& e = b.e();
    e.nbpt = 1799;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = 100 + i;
        e.pty[i] = 100 + i / 2;
    }
    b->suivre->click();
    QVERIFY(e.nbcle > 2);
    QCOMPARE(b->Icle->count(), e.nbcle);
    // The view stands where the frame table puts the current frame.
    QCOMPARE(b->Ascl->value(), e.imgdecx[e.tl]);
    const auto droit = e.imgdecx;
    b->adoucir->click();
    QVERIFY(e.adoucit);
    // Other offsets between the keyframes, the same on them.
    int autres = 0;
    for (int c = 0; c <= e.nbimg; ++c)
        autres += e.imgdecx[c] != droit[c];
    QVERIFY(autres > 0);
    for (int k = 0; k < e.nbcle; ++k)
        QCOMPARE(e.imgdecx[e.cleimg[k]], e.cledecx[k]);
    QCOMPARE(e.imgdecx[e.cleimg[1]], e.cledecx[1]);
}

void TstLecture::lectureAvecCleDefilee() {
    Banc b;
    b.carte(1000, 800);
    b->TL->setValue(75);
    defile(b, 100, 50);
    QCOMPARE(b->Ascl->value(), 100);
    b->creerICClick();
    b->DebutClick();
    QCOMPARE(b->Ascl->value(), 0);

    QList<int> vues;
    QList<QPoint> decalages;
    Couleur coin75 = AUCUNECOULEUR;
    connect(b->TL, &QSlider::valueChanged, b.f.get(), [&](int p) {
        vues.append(p);
        decalages.append({b->Ascl->value(), b->Asch->value()});
        if (p == 75) coin75 = b->s().vue.pixel(0, 0);
    });
    b->JoueClick();
    QTRY_VERIFY_WITH_TIMEOUT(!b->Timer1->isActive(), 20000);

    // Every frame once, in order, and the last one stays.
    QCOMPARE(vues.size(), 150);
    for (int i = 0; i < vues.size(); ++i)
        QCOMPARE(vues[i], i + 1);
    QCOMPARE(b->TL->value(), 150);
    QCOMPARE(decalages[36], QPoint(100 * 37 / 75, 50 * 37 / 75));
    QCOMPARE(decalages[74], QPoint(100, 50));
    QCOMPARE(decalages.last(), QPoint(0, 0));
    QCOMPARE(coin75, couleurcarte(100, 50));
    b->TL->setValue(75);
    QCOMPARE(b->s().vue.pixel(719, 575), couleurcarte(819, 625));
}

QTEST_MAIN(TstLecture)
#include "tst_lecture.moc"
