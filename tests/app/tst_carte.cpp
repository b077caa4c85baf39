// The map in the window: loading through the open dialog, what the view shows, the scroll bars,
// refused and unreadable pictures, the display picture and its switch, dropped files.
#include "aide_fenetre.h"
#include "aide_images.h"

#include "app/accueil.h"

#include "app/hautbas.h"
#include "app/vue.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

namespace {

// The colour `fond` shows on screen at (x, y).
Couleur montre(Banc& b, int x, int y) {
    return depuisqrgb(b->fond->grab().toImage().pixel(x, y));
}

// Loads `chemin` as the user does: Charger, then the file in the open dialog.
void charge(Banc& b, const QString& chemin) {
    b.d.fichiers.append(chemin);
    b->Charger->click();
}

} // namespace

class TstCarte : public QObject {
    Q_OBJECT

  private slots:
    void tailles_data();
    void tailles();
    void refusgardelaroute();
    void illisible_data();
    void illisible();
    void pointeatrente();
    void defilement();
    void pluspetite();
    void visu_data();
    void visu();
    void depot();
};

void TstCarte::tailles_data() {
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("hauteur");
    QTest::addColumn<bool>("accepte");
    QTest::addColumn<int>("asclmax");
    QTest::addColumn<int>("aschmax");
    QTest::newRow("720x576") << 720 << 576 << true << 0 << 0;
    QTest::newRow("721x576") << 721 << 576 << true << 1 << 0;
    QTest::newRow("1000x800") << 1000 << 800 << true << 280 << 224;
    QTest::newRow("719x1000") << 719 << 1000 << false << 100 << 100;
    QTest::newRow("1000x575") << 1000 << 575 << false << 100 << 100;
}

void TstCarte::tailles() {
    QFETCH(int, largeur);
    QFETCH(int, hauteur);
    QFETCH(bool, accepte);
    QFETCH(int, asclmax);
    QFETCH(int, aschmax);
    Banc b;
    b.marque();
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("ma.carte.bmp"), dessin(largeur, hauteur)));

    // Maps are usually PNG or JPEG today: the dialog shows every picture it reads at first,
    // then offers the BMP entry.
    QCOMPARE(b.d.filtres.size(), 1);
    QVERIFY2(b.d.filtres[0].startsWith(QStringLiteral("Images|*.bmp;*.png;*.jpg;*.jpeg;")),
             qPrintable(b.d.filtres[0]));
    QVERIFY(b.d.filtres[0].endsWith(QStringLiteral("|Carte BMP|*.bmp")));
    QCOMPARE(b.e().largeurcarte, largeur);
    QCOMPARE(b.e().hauteurcarte, hauteur);
    QCOMPARE(b->Ascl->maximum(), asclmax);
    QCOMPARE(b->Asch->maximum(), aschmax);
    QCOMPARE(b->Ascl->isVisibleTo(b.f.get()), asclmax > 0);
    QCOMPARE(b->Asch->isVisibleTo(b.f.get()), aschmax > 0);
    if (accepte) {
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(b.e().fichiercarte, QStringLiteral("ma.carte.bmp"));
        QCOMPARE(b.e().dossiercarte, b.dossier.path() + QLatin1Char('/'));
        QCOMPARE(b.e().fichierparam, QStringLiteral("ma.vlp"));
        QCOMPARE(montre(b, 0, 0), couleurcarte(0, 0));
        QCOMPARE(montre(b, 719, 575), couleurcarte(719, 575));
    } else {
        QCOMPARE(b.d.messages, QStringList{QStringLiteral("Image 720*576 minimum")});
        QVERIFY(b.e().fichiercarte.isEmpty());
        QCOMPARE(montre(b, 0, 0), 0);
        QCOMPARE(montre(b, 719, 575), 0);
    }
}

void TstCarte::refusgardelaroute() {
    Banc b;
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("a.bmp"), dessin(1000, 800)));
    b.e().nbpt = 5;
    // The route is a change: dropped on purpose.
    b.d.choixfermeture << Dialogues::Fermeture::abandonner;
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("b.bmp"), dessin(719, 1000)));
    QCOMPARE(b.d.fermetures, QStringList(QStringLiteral("Le projet a.vlp a des modifications "
                                                        "non enregistrées.\nLes enregistrer ?")));
    // The view is black, and says how to start again in its middle.
    QCOMPARE(montre(b, 5, 5), 0);
    QVERIFY(b->accueil->isVisibleTo(b.f.get()));
    b.d.messages.clear();

    b->calculvia->click();
    b->Button9->click();
    b->Button12->click();
    QCOMPARE(b.d.messages, (QStringList{QStringLiteral("Charger d'abord une image"),
                                        QStringLiteral("Charger d'abord une image"),
                                        QStringLiteral("Une image pour le calcul avant")}));
    QCOMPARE(b.d.couleursdemandees, 0);
    QCOMPARE(b.d.filtres.size(), 2);
    QCOMPARE(b.e().nbpt, 5);
    QCOMPARE(b.e().etatcalcul, 0);
}

void TstCarte::illisible_data() {
    QTest::addColumn<QByteArray>("contenu");
    QTemporaryDir d;
    QFile f(ecritbmp(d.path(), QStringLiteral("t.bmp"), dessin(800, 600)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTest::newRow("tronquee") << f.read(f.size() / 2);
    QTest::newRow("texte") << QByteArray("Ceci n'est pas une image.\r\n");
    QTest::newRow("vide") << QByteArray();
}

void TstCarte::illisible() {
    QFETCH(QByteArray, contenu);
    Banc b;
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("bonne.bmp"), dessin(1000, 800)));
    b->Ascl->setValue(40);
    const QImage avant = b->s().vue.image();
    const QString chemin = b.dossier.filePath(QStringLiteral("mauvaise.bmp"));
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
    f.close();

    charge(b, chemin);
    QCOMPARE(b.d.erreurs.size(), 1);
    QVERIFY(!b.d.erreurs[0].isEmpty());
    QVERIFY(b.d.messages.isEmpty());
    QCOMPARE(b.e().fichiercarte, QStringLiteral("bonne.bmp"));
    QCOMPARE(b.e().largeurcarte, 1000);
    QCOMPARE(b.e().hauteurcarte, 800);
    QCOMPARE(b->Ascl->maximum(), 280);
    QCOMPARE(b->Ascl->value(), 40);
    QCOMPARE(b->s().carte.largeur(), 1000);
    QVERIFY(b->s().vue.image() == avant);
    QCOMPARE(b->bordnb->text(), QStringLiteral("30"));
}

void TstCarte::pointeatrente() {
    Banc b;
    QVERIFY(b->bordnb->text().isEmpty());
    b->UpDown1->setValue(7);
    b->Charger->click(); // the dialog is cancelled
    QCOMPARE(b.d.filtres.size(), 1);
    QCOMPARE(b->UpDown1->value(), 30);
    QCOMPARE(b->bordnb->text(), QStringLiteral("30"));
    QCOMPARE(b.e().updown1, 30);
    QCOMPARE(b.e().bordnb, QStringLiteral("30"));
    QVERIFY(b.e().fichiercarte.isEmpty());
}

void TstCarte::defilement() {
    Banc b;
    for (QScrollBar* barre : {b->Ascl, b->Asch}) {
        QCOMPARE(barre->minimum(), 0);
        QCOMPARE(barre->maximum(), 100);
        QCOMPARE(barre->singleStep(), 1);
        QCOMPARE(barre->pageStep(), 1);
    }
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("c.bmp"), dessin(1000, 800)));
    b->Ascl->setValue(100);
    QCOMPARE(b.e().ascl, 100);
    QCOMPARE(montre(b, 0, 0), couleurcarte(100, 0));
    b->Asch->triggerAction(QAbstractSlider::SliderPageStepAdd);
    b->Asch->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(b.e().asch, 2);
    QCOMPARE(montre(b, 0, 0), couleurcarte(100, 2));
    // The bar keeps its position within the map: the view never leaves it.
    b->Ascl->setValue(5000);
    QCOMPARE(b.e().ascl, 280);
    QCOMPARE(montre(b, 719, 575), couleurcarte(999, 577));
    // Setting the same position again is no change: no redraw.
    b.marque();
    b->Ascl->setValue(280);
    QVERIFY(!b.redessine());
}

void TstCarte::pluspetite() {
    Banc b;
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("grande.bmp"), dessin(1000, 800)));
    b->Ascl->setValue(250);
    b->Asch->setValue(200);
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("petite.bmp"), dessin(800, 576)));
    QCOMPARE(b.e().ascl, 80);
    QCOMPARE(b.e().asch, 0);
    QCOMPARE(b->Ascl->value(), 80);
    QCOMPARE(b->Ascl->maximum(), 80);
    QVERIFY(!b->Asch->isVisibleTo(b.f.get()));
    QCOMPARE(montre(b, 0, 0), couleurcarte(80, 0));
}

void TstCarte::visu_data() {
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("hauteur");
    QTest::newRow("meme taille") << 1000 << 800;
    QTest::newRow("autre largeur") << 999 << 800;
    QTest::newRow("autre hauteur") << 1000 << 801;
}

void TstCarte::visu() {
    QFETCH(int, largeur);
    QFETCH(int, hauteur);
    const bool accepte = largeur == 1000 && hauteur == 800;
    Banc b;
    charge(b, ecritbmp(b.dossier.path(), QStringLiteral("carte.bmp"), dessin(1000, 800)));
    QVERIFY(!b->Check->isVisibleTo(b.f.get()));
    QImage vert(1000, 800, QImage::Format_RGB32);
    vert.fill(Qt::green);
    // A display picture of the right size is shown first, so that a refusal must bring the map
    // back.
    b.d.fichiers.append(ecritbmp(b.dossier.path(), QStringLiteral("visu.bmp"), vert));
    b->Button12->click();
    QVERIFY(b->Check->isChecked());
    QCOMPARE(montre(b, 10, 10), depuisqrgb(qRgb(0, 255, 0)));

    QImage bleu(largeur, hauteur, QImage::Format_RGB32);
    bleu.fill(Qt::blue);
    const QString chemin = ecritbmp(b.dossier.path(), QStringLiteral("visu2.bmp"), bleu);
    b.d.fichiers.append(chemin);
    b->Button12->click();
    QCOMPARE(b.d.filtres.size(), 3);
    QVERIFY(b.d.filtres[2].startsWith(QStringLiteral("Images|*.bmp;")));
    QVERIFY(b.d.filtres[2].endsWith(QStringLiteral("|Carte BMP|*.bmp")));
    if (accepte) {
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(b.e().fichiervisu, chemin);
        QVERIFY(b->Check->isVisibleTo(b.f.get()));
        QVERIFY(b->Check->isChecked());
        QCOMPARE(montre(b, 10, 10), depuisqrgb(qRgb(0, 0, 255)));
        // The switch, as the user clicks it: the map, then the display picture again.
        b->Check->click();
        QCOMPARE(montre(b, 10, 10), couleurcarte(10, 10));
        b->Check->click();
        QCOMPARE(montre(b, 10, 10), depuisqrgb(qRgb(0, 0, 255)));
    } else {
        QCOMPARE(b.d.messages,
                 QStringList{QStringLiteral(
                     "L'image de visu doit avoir la même \ndimension que l'image de calcul")});
        QVERIFY(b.e().fichiervisu.isEmpty());
        QVERIFY(!b->Check->isVisibleTo(b.f.get()));
        QVERIFY(!b->Check->isChecked());
        QCOMPARE(montre(b, 10, 10), couleurcarte(10, 10));
    }
}

void TstCarte::depot() {
    Banc b;
    const QString chemin = ecritbmp(b.dossier.path(), QStringLiteral("d.bmp"), dessin(800, 600));
    const auto glisse = [&](const QList<QUrl>& liens) {
        QMimeData donnees;
        donnees.setUrls(liens);
        QDragEnterEvent entree(QPoint(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton,
                               Qt::NoModifier);
        QCoreApplication::sendEvent(b.f.get(), &entree);
        if (!entree.isAccepted()) return false;
        QDropEvent depot(QPointF(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(b.f.get(), &depot);
        return true;
    };
    QVERIFY(b->acceptDrops());
    const QUrl lien = QUrl::fromLocalFile(chemin);
    QVERIFY(!glisse({lien, lien}));
    QVERIFY(!glisse({QUrl(QStringLiteral("https://exemple.org/d.bmp"))}));
    QVERIFY(glisse({lien}));
    QTRY_COMPARE(b.e().fichiercarte, QStringLiteral("d.bmp"));
    QCOMPARE(b->Ascl->maximum(), 80);
    QCOMPARE(montre(b, 5, 5), couleurcarte(5, 5));
    // A drop opens no dialog.
    QVERIFY(b.d.filtres.isEmpty());
}

QTEST_MAIN(TstCarte)
#include "tst_carte.moc"
