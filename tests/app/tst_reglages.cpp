// The legend, tip and magnifier settings: each control stores its value in the state and redraws
// where the setting shows; set from code, the same happens when the value really changes.
#include "aide_fenetre.h"

#include "app/hautbas.h"
#include "route/lisse.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <vector>

namespace {

// What each control stores, read back from the state.
const QHash<QString, std::function<int(const Etat&)>>& champs() {
    static const QHash<QString, std::function<int(const Etat&)>> t = {
        {"montre", [](const Etat& e) { return int(e.montre); }},
        {"okombre", [](const Etat& e) { return int(e.okombre); }},
        {"CheckBox1", [](const Etat& e) { return int(e.checkbox1); }},
        {"Xt", [](const Etat& e) { return e.xt; }},
        {"Yt", [](const Etat& e) { return e.yt; }},
        {"Xombre", [](const Etat& e) { return e.xombre; }},
        {"Yombre", [](const Etat& e) { return e.yombre; }},
        {"txloupe", [](const Etat& e) { return e.txloupe; }},
        {"km", [](const Etat& e) { return e.unite; }},
        {"mile", [](const Etat& e) { return e.unite; }},
        {"Autre", [](const Etat& e) { return e.unite; }},
        {"UpDown1", [](const Etat& e) { return e.updown1; }},
    };
    return t;
}

} // namespace

class TstReglages : public QObject {
    Q_OBJECT
  private slots:
    void reglageStockeEtRedessine_data();
    void reglageStockeEtRedessine();
    void valeurInchangeeSansEffet();
    void uniteRevientASans();
    void autreMontreSonTexte();
    void policeRedessineMemeAnnulee();
    void couleursSeulementApresOk_data();
    void couleursSeulementApresOk();
    void nombreMaxi_data();
    void nombreMaxi();
    void embout();
    void loupeSansFichier();
    void loupeAvecFichier();
    void chargeLoupe();
    void loupeIllisible();
    void adoucissementSansRedessin();
    void synchroSansReaction();
};

void TstReglages::reglageStockeEtRedessine_data() {
    QTest::addColumn<int>("valeur");
    QTest::addColumn<int>("stocke");
    QTest::newRow("montre") << 1 << 1;
    QTest::newRow("okombre") << 1 << 1;
    QTest::newRow("CheckBox1") << 1 << 1;
    QTest::newRow("Xt") << 700 << 700;
    QTest::newRow("Yt") << 500 << 500;
    QTest::newRow("Xombre") << -6 << -6;
    QTest::newRow("Yombre") << 6 << 6;
    QTest::newRow("txloupe") << 40 << 40;
    QTest::newRow("km") << 1 << int(KM);
    QTest::newRow("mile") << 1 << int(MILE);
    QTest::newRow("Autre") << 1 << int(AUTRE);
    QTest::newRow("UpDown1") << 12 << 12;
}

void TstReglages::reglageStockeEtRedessine() {
    QFETCH(int, valeur);
    QFETCH(int, stocke);
    Banc b;
    const QString nom = QString::fromLatin1(QTest::currentDataTag());
    QWidget* w = b->findChild<QWidget*>(nom);
    QVERIFY(w);
    b.marque();
    if (auto* c = qobject_cast<QAbstractButton*>(w))
        c->setChecked(valeur != 0);
    else if (auto* s = qobject_cast<QSlider*>(w))
        s->setValue(valeur);
    else if (auto* h = qobject_cast<HautBas*>(w))
        h->setValue(valeur);
    QCOMPARE(champs()[nom](b.e()), stocke);
    QVERIFY(b.redessine());
}

void TstReglages::valeurInchangeeSansEffet() {
    Banc b;
    b.marque();
    b->Xombre->setValue(3);
    b->montre->setChecked(false);
    b->sans->setChecked(true);
    b->UpDown1->setValue(0);
    QVERIFY(!b.redessine());
    // Beyond its range a track bar stays at its end, and redraws once.
    b->Xt->setValue(5000);
    QCOMPARE(b.e().xt, 720);
    b.marque();
    b->Xt->setValue(9000);
    QVERIFY(!b.redessine());
}

void TstReglages::uniteRevientASans() {
    Banc b;
    QTest::mouseClick(b->km, Qt::LeftButton);
    QCOMPARE(b.e().unite, int(KM));
    b->sans->setChecked(true);
    QCOMPARE(b.e().unite, int(SANS));
    QVERIFY(!b->km->isChecked());
}

void TstReglages::autreMontreSonTexte() {
    Banc b;
    b->montre->setChecked(true);
    b->Autre->setChecked(true);
    QVERIFY(!b->txtautre->isHidden());
    b->txtautre->setText(QStringLiteral("lieues"));
    QCOMPARE(b.e().txtautre, QStringLiteral("lieues"));
    b->km->setChecked(true);
    QVERIFY(b->txtautre->isHidden());
    // With the legend off the unit text keeps its state.
    b->montre->setChecked(false);
    b->Autre->setChecked(true);
    QVERIFY(b->txtautre->isHidden());
}

void TstReglages::policeRedessineMemeAnnulee() {
    Banc b;
    b.marque();
    QTest::mouseClick(b->Button2, Qt::LeftButton);
    QVERIFY(b.redessine());
    QCOMPARE(b.d.policesdepart.size(), 1);
    QCOMPARE(b.d.policesdepart[0], Police());
    QCOMPARE(b.e().police, Police());

    Police grande;
    grande.nom = QStringLiteral("DejaVu Sans");
    grande.taille = -24;
    grande.gras = true;
    b.d.polices.append(grande);
    b.marque();
    b->Button2Click();
    QVERIFY(b.redessine());
    QCOMPARE(b.e().police, grande);
    b->Button2Click();
    QCOMPARE(b.d.policesdepart.last(), grande);
}

void TstReglages::couleursSeulementApresOk_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QString>("nuancier");
    QTest::newRow("ombre") << "Button15"
                           << "coulombre";
    QTest::newRow("embout") << "Button14"
                            << "coulbord";
}

void TstReglages::couleursSeulementApresOk() {
    QFETCH(QString, bouton);
    QFETCH(QString, nuancier);
    Banc b;
    auto* clic = b->findChild<QPushButton*>(bouton);
    auto* echantillon = b->findChild<QLineEdit*>(nuancier);
    const auto stocke = [&] { return bouton == "Button15" ? b.e().coulombre : b.e().coulbord; };
    b.marque();
    QTest::mouseClick(clic, Qt::LeftButton);
    QVERIFY(!b.redessine());
    QCOMPARE(stocke(), clWindow);
    QCOMPARE(echantillon->palette().color(QPalette::Base), QColor(couleursysteme(5)));

    b.d.couleurs.append(Couleur{0x0000ff});
    QTest::mouseClick(clic, Qt::LeftButton);
    QVERIFY(b.redessine());
    QCOMPARE(stocke(), 0x0000ff);
    QCOMPARE(echantillon->palette().color(QPalette::Base), QColor(Qt::red));
    QCOMPARE(b.d.couleursdemandees, 2);
}

void TstReglages::nombreMaxi_data() {
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("reste");
    QTest::newRow("chiffres") << "250"
                              << "250";
    QTest::newRow("lettre") << "25a"
                            << "0";
    QTest::newRow("vide") << ""
                          << "0";
    QTest::newRow("signe") << "-5"
                           << "0";
    QTest::newRow("blanc") << "1 2"
                           << "0";
    QTest::newRow("zéros") << "007"
                           << "007";
}

void TstReglages::nombreMaxi() {
    QFETCH(QString, tape);
    QFETCH(QString, reste);
    Banc b;
    b->Lkm->setText(QStringLiteral("9"));
    b.marque();
    b->Lkm->setText(tape);
    QCOMPARE(b->Lkm->text(), reste);
    QCOMPARE(b.e().lkm, reste);
    // The counter shows at the next redraw only.
    QVERIFY(!b.redessine());
}

void TstReglages::embout() {
    Banc b;
    QVERIFY(b->bordnb->text().isEmpty());
    QTest::mouseClick(b->UpDown1->haut, Qt::LeftButton);
    QCOMPARE(b->bordnb->text(), QStringLiteral("1"));
    QCOMPARE(b.e().bordnb, QStringLiteral("1"));
    b->UpDown1->setValue(500);
    QCOMPARE(b->UpDown1->value(), 200);
    QCOMPARE(b->bordnb->text(), QStringLiteral("200"));
    // No wrap: up at the top and down at the bottom stay.
    b.marque();
    QTest::mouseClick(b->UpDown1->haut, Qt::LeftButton);
    QCOMPARE(b->bordnb->text(), QStringLiteral("200"));
    QVERIFY(!b.redessine());
    b->UpDown1->setValue(0);
    QTest::mouseClick(b->UpDown1->bas, Qt::LeftButton);
    QCOMPARE(b->UpDown1->value(), 0);
    QCOMPARE(b->bordnb->text(), QStringLiteral("0"));
}

void TstReglages::loupeSansFichier() {
    Banc b;
    b.marque();
    QTest::mouseClick(b->Okloupe, Qt::LeftButton);
    QVERIFY(!b->Okloupe->isChecked());
    QVERIFY(!b.e().okloupe);
    QCOMPARE(b.d.messages,
             QStringList{"Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant"});
    QVERIFY(!b.redessine());
    b.e().textes[64] = QStringLiteral("No magnifier picture");
    b->Okloupe->setChecked(true);
    QCOMPARE(b.d.messages.size(), 2);
    QCOMPARE(b.d.messages.last(), QStringLiteral("No magnifier picture"));
}

void TstReglages::loupeAvecFichier() {
    Banc b;
    b.e().fichierloupe = QStringLiteral("/tmp/loupe.bmp");
    b.marque();
    b->Okloupe->setChecked(true);
    QVERIFY(b.e().okloupe);
    QVERIFY(b.redessine());
    b.marque();
    b->Okloupe->setChecked(false);
    QVERIFY(!b.e().okloupe);
    QVERIFY(b.redessine());
    QVERIFY(b.d.messages.isEmpty());
}

void TstReglages::chargeLoupe() {
    Banc b;
    const QString grande = b.dossier.filePath("grande.bmp");
    const QString petite = b.dossier.filePath("petite.bmp");
    QImage i(300, 300, QImage::Format_RGB32);
    i.fill(Qt::black);
    QVERIFY(i.save(grande));
    QVERIFY(i.copy(0, 0, 200, 150).save(petite));
    b->txloupe->setValue(100);

    b.marque();
    b->Button16Click(); // cancelled
    QVERIFY(!b.redessine());
    QVERIFY(b.e().fichierloupe.isEmpty());
    QVERIFY(b.d.filtres.last().startsWith(QStringLiteral("Images|*.bmp;")));
    QVERIFY(b.d.filtres.last().endsWith(QStringLiteral("|Loupe BMP|*.bmp")));

    b.d.fichiers = {grande, petite};
    QTest::mouseClick(b->Button16, Qt::LeftButton);
    QVERIFY(b.redessine());
    QCOMPARE(b->txloupe->maximum(), 300);
    QCOMPARE(b->txloupe->value(), 100);
    b->txloupe->setValue(250);
    QCOMPARE(b->s().tempo.largeur(), 300);
    QVERIFY(b.e().fichierloupe.endsWith(QStringLiteral("grande.bmp")));
    // Loading does not switch the magnifier on.
    QVERIFY(!b->Okloupe->isChecked());
    b->Button16Click();
    QCOMPARE(b->txloupe->maximum(), 200);
    QCOMPARE(b->txloupe->value(), 200);
    QCOMPARE(b.e().txloupe, 200);
    QCOMPARE(b->s().tempo.hauteur(), 150);
    b->Okloupe->setChecked(true);
    QVERIFY(b.d.messages.isEmpty());
}

void TstReglages::loupeIllisible() {
    Banc b;
    const QString faux = b.dossier.filePath("texte.bmp");
    QFile f(faux);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("pas une image");
    f.close();
    b.d.fichiers = {faux};
    b.marque();
    b->Button16Click();
    QCOMPARE(b.d.erreurs.size(), 1);
    QVERIFY(b.d.messages.isEmpty());
    QVERIFY(b.e().fichierloupe.isEmpty());
    QCOMPARE(b->txloupe->maximum(), 100);
    QVERIFY(!b.redessine());
}

void TstReglages::adoucissementSansRedessin() {
    Banc b;
    Etat& e = b.e();
    // A staircase, which smoothing rounds off more with every pass.
    e.nbpt = 6;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = (i + 1) / 2 * 30;
        e.pty[i] = i / 2 * 30;
    }
    const auto chemin = [](const Etat& etat, int estompe) {
        auto copie = nouveletat();
        *copie = etat;
        copie->estompe = estompe;
        lisseloupe(*copie);
        return std::vector<int>(copie->loupex.begin(), copie->loupex.begin() + etat.nbpt + 1);
    };
    QVERIFY(chemin(e, 1) != chemin(e, 50));
    b.marque();
    b->estompe->setValue(50);
    QCOMPARE(e.estompe, 50);
    QCOMPARE(std::vector<int>(e.loupex.begin(), e.loupex.begin() + 7), chemin(e, 50));
    QVERIFY(!b.redessine());
}

void TstReglages::synchroSansReaction() {
    Banc b;
    Etat& e = b.e();
    e.montre = true;
    e.unite = MILE;
    e.xt = 100;
    e.lkm = QStringLiteral("12x");
    e.okloupe = true; // as a parameters file leaves it, before its picture is read
    e.coulbord = 0x00ff00;
    e.updown1 = 30;
    e.bordnb = QStringLiteral("30");
    e.tl = 40;
    b.marque();
    b->synchro();
    QVERIFY(b->montre->isChecked());
    QVERIFY(b->mile->isChecked());
    QCOMPARE(b->Xt->value(), 100);
    QCOMPARE(b->Lkm->text(), QStringLiteral("12x"));
    QVERIFY(b->Okloupe->isChecked());
    QCOMPARE(b->coulbord->palette().color(QPalette::Base), QColor(Qt::green));
    QCOMPARE(b->UpDown1->value(), 30);
    QCOMPARE(b->TL->value(), 40);
    // Mirroring runs no handler: nothing redrawn, validated, refused or told.
    QVERIFY(!b.redessine());
    QCOMPARE(e.lkm, QStringLiteral("12x"));
    QVERIFY(e.okloupe);
    QVERIFY(b.d.messages.isEmpty());
}

QTEST_MAIN(TstReglages)
#include "tst_reglages.moc"
