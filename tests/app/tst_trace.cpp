// The tracer in the window: arming, the colour probe, the start click, the walk driven by the
// window to its end, stopping it, continuations, the refusals and the full route.
#include "aide_fenetre.h"
#include "aide_images.h"

#include "app/vue.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

constexpr Couleur ROUGE = 0x0000ff;
constexpr Couleur BLEU = 0xff0000;
constexpr QRgb NOIR = 0xff000000;

const QString TERMINE = QStringLiteral("Terminé");
const QString FINCONSIGNE =
    QStringLiteral("\nPour stopper cliquer sur COULEUR? ou STOP CALCUL (c'est le même bouton)");

// A white map with black pixels where `dessine` paints, loaded through Charger; the window is
// shown so that the mouse reaches the view.
void charge(Banc& b, int largeur, int hauteur, const std::function<void(QImage&)>& dessine) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(Qt::white);
    dessine(image);
    b.d.fichiers.append(ecritbmp(b.dossier.path(), QStringLiteral("route.bmp"), image));
    b->Charger->click();
    QVERIFY(!b.e().fichiercarte.isEmpty());
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
}

void ligne(QImage& image, int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x)
        image.setPixel(x, y, NOIR);
}

// Arms a new route in `couleur` and probes the followed colour at `p`.
void arme(Banc& b, Couleur couleur, QPoint p, QPushButton* bouton = nullptr) {
    b.d.couleurs.append(couleur);
    (bouton ? bouton : b->calculvia)->click();
    // The pointer may already stand there from an earlier test: it must move onto `p`.
    QTest::mouseMove(b->fond, p + QPoint(p.x() > 0 ? -1 : 1, 0));
    QTest::mouseMove(b->fond, p);
}

void finis(Banc& b) {
    QTRY_COMPARE_WITH_TIMEOUT(b.e().etatcalcul, 0, 10000);
}

QList<int> xs(const Etat& e, int de, int a) {
    return QList<int>(e.ptx.begin() + de, e.ptx.begin() + a + 1);
}

// A one-pixel route of exactly 36000 pixels in one view: rows of 700 joined at alternate ends.
void serpent(QImage& image) {
    int reste = 36000;
    for (int k = 0; reste > 0; ++k) {
        const int y = 5 + 10 * k;
        const int n = std::min(reste, 700);
        if (k % 2 == 0)
            ligne(image, 10, 10 + n - 1, y);
        else
            ligne(image, 709 - n + 1, 709, y);
        reste -= n;
        const int bout = k % 2 == 0 ? 709 : 10;
        for (int j = 1; j <= 9 && reste > 0; ++j, --reste)
            image.setPixel(bout, y + j, NOIR);
    }
}

} // namespace

class TstTrace : public QObject {
    Q_OBJECT

  private slots:
    void ordre_data();
    void ordre();
    void armement();
    void sonde();
    void boutonmilieu();
    void arret_data();
    void arret();
    void arretarme();
    void suite();
    void refus();
    void annule();
    void routeLongue();
};

void TstTrace::ordre_data() {
    QTest::addColumn<int>("clic");
    QTest::addColumn<int>("bouton");
    QTest::addColumn<QList<int>>("attendu");
    QList<int> gauche, milieu{249, 250, 251};
    for (int x = 100; x <= 399; ++x)
        gauche.append(x);
    for (int k = 2; 250 - k >= 100 || 250 + k <= 399; ++k) {
        if (250 - k >= 100) milieu.append(250 - k);
        if (250 + k <= 399) milieu.append(250 + k);
    }
    QTest::newRow("bout gauche, bouton gauche") << 100 << int(Qt::LeftButton) << gauche;
    QTest::newRow("milieu, bouton droit") << 250 << int(Qt::RightButton) << milieu;
}

void TstTrace::ordre() {
    QFETCH(int, clic);
    QFETCH(int, bouton);
    QFETCH(QList<int>, attendu);
    Banc b;
    charge(b, 1000, 700, [](QImage& i) { ligne(i, 100, 399, 300); });
    arme(b, ROUGE, {clic, 300});
    QCOMPARE(b.e().coulmon, 0);
    QTest::mouseClick(b->fond, Qt::MouseButton(bouton), {}, {clic, 300});
    finis(b);

    const Etat& e = b.e();
    QCOMPARE(e.nbpt, 299);
    QCOMPARE(xs(e, 0, e.nbpt), attendu);
    for (int i = 0; i <= e.nbpt; ++i) {
        QCOMPARE(e.pty[i], 300);
        QCOMPARE(e.ptcoul[i], ROUGE);
        QCOMPARE(e.pttron[i], 0);
    }
    QCOMPARE(b.d.messages.last(), TERMINE);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QVERIFY(b->Button9->isEnabled());
    QVERIFY(b->Ascl->isVisible());
    QVERIFY(b->Asch->isVisible());
    // The magnifier path follows the route: its end is the route's.
    QCOMPARE(e.loupex[e.nbpt], e.ptx[e.nbpt]);
    // The view keeps showing what was traced.
    for (int x : {100, 250, 399})
        QCOMPARE(b->s().vue.pixel(x, 300), ROUGE);
}

void TstTrace::armement() {
    Banc b;
    charge(b, 720, 576, [](QImage&) {});
    b.e().nouvelleroute = false;
    {
        const QSignalBlocker silence(b->Okloupe);
        b->Okloupe->setChecked(true);
    }
    b.d.couleurs.append(BLEU);
    b->calculvia->click();
    // The magnifier is put away: the walk reads the view, which must show the map alone.
    QVERIFY(!b->Okloupe->isChecked());
    QCOMPARE(b.d.messages.last(),
             QStringLiteral("Cliquer au début de votre vialume") + FINCONSIGNE);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Couleur ?"));
    QVERIFY(!b->Button9->isEnabled());
    QCOMPARE(b.e().etatcalcul, 1);
    QVERIFY(b.e().calculactif);
    QVERIFY(b.e().nouvelleroute);
    QCOMPARE(b.e().coulr, BLEU);
    QCOMPARE(b.e().coulmarque, BLEU);
    QCOMPARE(b->coulr->palette().color(QPalette::Base), QColor(0, 0, 255));

    // The translated texts: the instructions are entries 57 to 59 together.
    b.d.reponses.append(true);
    b->calculvia->click();
    b.e().textes[57] = QStringLiteral("Click the start. ");
    b.e().textes[59] = QStringLiteral("Stop: same button.");
    b.e().textes[60] = QStringLiteral("Colour?");
    b.d.couleurs.append(ROUGE);
    b->Button9->click();
    QCOMPARE(b.d.messages.last(), QStringLiteral("Click the start. Stop: same button."));
    QCOMPARE(b->calculvia->text(), QStringLiteral("Colour?"));
    QVERIFY(!b.e().nouvelleroute);
}

void TstTrace::sonde() {
    Banc b;
    charge(b, 720, 576, [](QImage& i) { ligne(i, 10, 20, 30); });
    b.e().coulmon = BLEU;
    // Not armed: the probe shows nothing.
    QTest::mouseMove(b->fond, {15, 30});
    QCOMPARE(b.e().coulmon, BLEU);
    b.d.couleurs.append(ROUGE);
    b->calculvia->click();
    QTest::mouseMove(b->fond, {16, 30});
    QCOMPARE(b.e().coulmon, 0);
    QCOMPARE(b->coulmon->palette().color(QPalette::Base), QColor(Qt::black));
    QTest::mouseMove(b->fond, {15, 31});
    QCOMPARE(b.e().coulmon, 0xffffff);
}

void TstTrace::boutonmilieu() {
    Banc b;
    charge(b, 720, 576, [](QImage& i) { ligne(i, 10, 20, 30); });
    arme(b, ROUGE, {10, 30});
    QTest::mouseClick(b->fond, Qt::MiddleButton, {}, {10, 30});
    QCOMPARE(b.e().etatcalcul, 1);
    QCOMPARE(b.e().nbpt, -1);
    QTest::mouseClick(b->fond, Qt::RightButton, {}, {10, 30});
    finis(b);
    QCOMPARE(b.e().nbpt, 10);
    // A click on the view once idle starts nothing.
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {10, 30});
    QCOMPARE(b.e().etatcalcul, 0);
}

void TstTrace::arret_data() {
    QTest::addColumn<bool>("oui");
    QTest::addColumn<bool>("parsuite");
    QTest::newRow("Vialume, oui") << true << false;
    QTest::newRow("Vialume, non") << false << false;
    QTest::newRow("Suite, oui") << true << true;
}

void TstTrace::arret() {
    QFETCH(bool, oui);
    QFETCH(bool, parsuite);
    Banc b;
    charge(b, 1000, 700, serpent);
    arme(b, ROUGE, {10, 5});
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {10, 5});
    // During the walk only the walk moves the view.
    QCOMPARE(b.e().etatcalcul, 2);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Stop calcul"));
    QVERIFY(!b->Ascl->isVisible());
    QVERIFY(!b->Asch->isVisible());
    // The stop comes between two slices of the walk, as a click of the user does.
    int avant = -2;
    QTimer::singleShot(1, b.f.get(), [&] {
        avant = b.e().nbpt;
        b.d.reponses.append(oui);
        if (parsuite)
            b->Button9Click(); // disabled on screen: the code path is still guarded
        else
            b->calculvia->click();
    });
    finis(b);
    QVERIFY(avant >= 0);
    QCOMPARE(b.d.questions, QStringList{QStringLiteral("On stoppe le calcul ?")});
    QCOMPARE(b.d.messages.last(), TERMINE);
    const Etat& e = b.e();
    QVERIFY(b->Ascl->isVisible());
    QVERIFY(b->Asch->isVisible());
    if (!oui) {
        QCOMPARE(e.nbpt, 35999);
        return;
    }
    QVERIFY(avant < 35999);
    QVERIFY(e.nbpt >= avant);
    QVERIFY(e.nbpt - avant <= 9);
    // The points stored before the stop are the first pixels of the route, in order.
    QCOMPARE(e.ptx[0], 10);
    for (int i = 1; i <= std::min(avant, 600); ++i)
        QCOMPARE(e.ptx[i], 10 + i);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QVERIFY(b->Button9->isEnabled());
}

void TstTrace::arretarme() {
    Banc b;
    charge(b, 720, 576, [](QImage& i) { ligne(i, 10, 20, 30); });
    b.e().nbpt = 3;
    arme(b, ROUGE, {10, 30});
    b->calculvia->click(); // no answer queued: "Non"
    QCOMPARE(b.e().etatcalcul, 1);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Couleur ?"));
    b.d.reponses.append(true);
    b->calculvia->click();
    QCOMPARE(b.d.questions.size(), 2);
    QCOMPARE(b.e().etatcalcul, 0);
    QVERIFY(!b.e().calculactif);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QVERIFY(b->Button9->isEnabled());
    QCOMPARE(b.e().nbpt, 3);
    // Stopped before the click: the view starts nothing.
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {10, 30});
    QCOMPARE(b.e().nbpt, 3);
}

void TstTrace::suite() {
    Banc b;
    charge(b, 720, 576, [](QImage& i) {
        ligne(i, 100, 199, 100);
        ligne(i, 100, 149, 300);
    });
    arme(b, ROUGE, {100, 100});
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {100, 100});
    finis(b);
    QCOMPARE(b.e().nbpt, 99);

    arme(b, BLEU, {100, 300}, b->Button9);
    QCOMPARE(b.d.messages.last(),
             QStringLiteral("Cliquer au début de la suite de votre vialume") + FINCONSIGNE);
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {100, 300});
    finis(b);
    const Etat& e = b.e();
    QCOMPARE(e.nbpt, 149);
    for (int i = 0; i <= e.nbpt; ++i) {
        const bool premier = i < 100;
        QCOMPARE(e.ptx[i], premier ? 100 + i : i);
        QCOMPARE(e.pty[i], premier ? 100 : 300);
        QCOMPARE(e.pttron[i], premier ? 0 : 1);
        QCOMPARE(e.ptcoul[i], premier ? ROUGE : BLEU);
    }

    // A new route starts over at index 0, segment 0.
    arme(b, ROUGE, {100, 300});
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {100, 300});
    finis(b);
    QCOMPARE(e.nbpt, 49);
    QCOMPARE(e.ptx[0], 100);
    QCOMPARE(e.pty[0], 300);
    QCOMPARE(e.pttron[49], 0);
}

void TstTrace::refus() {
    Banc b;
    charge(b, 720, 576, [](QImage&) {});
    QImage visu(720, 576, QImage::Format_RGB32);
    visu.fill(Qt::gray);
    b.d.fichiers.append(ecritbmp(b.dossier.path(), QStringLiteral("visu.bmp"), visu));
    b->Button12->click();
    QVERIFY(b->Check->isChecked());
    b.d.messages.clear();
    b.d.couleurs.append(ROUGE);
    b->calculvia->click();
    b->Button9->click();
    QCOMPARE(b.d.messages, QStringList(2, QStringLiteral("Avec l'image de base SVP")));
    QCOMPARE(b.d.couleursdemandees, 0);
    QCOMPARE(b.e().etatcalcul, 0);
}

void TstTrace::annule() {
    Banc b;
    charge(b, 720, 576, [](QImage&) {});
    {
        const QSignalBlocker silence(b->Okloupe);
        b->Okloupe->setChecked(true);
    }
    b.e().okloupe = true;
    b.e().nouvelleroute = false;
    b.e().coulr = BLEU;
    b->calculvia->click(); // the colour dialog is cancelled
    QCOMPARE(b.d.couleursdemandees, 1);
    QVERIFY(b->Okloupe->isChecked());
    QVERIFY(!b.e().nouvelleroute);
    QCOMPARE(b.e().coulr, BLEU);
    QCOMPARE(b.e().etatcalcul, 0);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QVERIFY(b->Button9->isEnabled());

    // A continuation has put the magnifier away and chosen its kind of run before the dialog.
    b.e().nouvelleroute = true;
    b->Button9->click();
    QCOMPARE(b.d.couleursdemandees, 2);
    QVERIFY(!b->Okloupe->isChecked());
    QVERIFY(!b.e().nouvelleroute);
    QCOMPARE(b.e().coulr, BLEU);
    QCOMPARE(b.e().etatcalcul, 0);
    QVERIFY(b->Button9->isEnabled());
    QVERIFY(b.d.messages.isEmpty());
}

// A painted area of 40000 pixels, more than the 36001 points of old, is traced whole.
void TstTrace::routeLongue() {
    Banc b;
    charge(b, 720, 576, [](QImage& i) {
        for (int y = 100; y < 300; ++y)
            ligne(i, 100, 299, y);
    });
    arme(b, ROUGE, {200, 200});
    QTest::mouseClick(b->fond, Qt::LeftButton, {}, {200, 200});
    finis(b);
    QCOMPARE(b.e().nbpt, 200 * 200 - 1);
    QCOMPARE(b.d.messages.last(), TERMINE);
    for (const QString& m : b.d.messages)
        QVERIFY2(!m.startsWith(QStringLiteral("Route pleine")), qPrintable(m));
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QVERIFY(b->Button9->isEnabled());
}

QTEST_MAIN(TstTrace)
#include "tst_trace.moc"
