// The window's keys: each one does what its button does, Space never presses the focused button,
// text fields keep their own keys, and the tooltips name the keys.
#include "aide_fenetre.h"

#include "app/clavier.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QString SANSCARTE = QStringLiteral("Charger d'abord une image");

// The window shown and active, so that its shortcuts are live.
bool active(Banc& b) {
    b->show();
    b->activateWindow();
    return QTest::qWaitForWindowActive(b.f.get());
}

void touche(Banc& b, int cle, Qt::KeyboardModifiers mod = Qt::NoModifier) {
    QWidget* cible = QApplication::focusWidget() ? QApplication::focusWidget() : b.f.get();
    QTest::keyClick(cible, Qt::Key(cle), mod);
}

} // namespace

class TstClavier : public QObject {
    Q_OBJECT

  private slots:
    // Space plays and stops, even with the focus on a button, which it never presses.
    void espace() {
        Banc b;
        QVERIFY(active(b));
        b->Charger->setFocus();
        QCOMPARE(QApplication::focusWidget(), b->Charger);
        touche(b, Qt::Key_Space);
        QVERIFY(b->Timer1->isActive());
        QVERIFY(b.d.filtres.isEmpty()); // "Charger" did not open its dialog
        touche(b, Qt::Key_Space);
        QVERIFY(!b->Timer1->isActive());
        QVERIFY(b.d.filtres.isEmpty());
    }

    // Left, Right, Home, End step through the film as the picture buttons do, also from a slider
    // that has the focus.
    void images() {
        Banc b;
        QVERIFY(active(b));
        b->TL->setFocus();
        touche(b, Qt::Key_Right);
        touche(b, Qt::Key_Right);
        QCOMPARE(b.e().tl, 2);
        touche(b, Qt::Key_Left);
        QCOMPARE(b.e().tl, 1);
        touche(b, Qt::Key_End);
        QCOMPARE(b.e().tl, b.e().tlmax);
        QCOMPARE(b->TL->value(), b.e().tlmax);
        touche(b, Qt::Key_Home);
        QCOMPARE(b.e().tl, 0);
        QCOMPARE(b->Wtl->text(), QStringLiteral("00:00"));
    }

    // A text field keeps Space and the arrows: typing a unit does not play the film.
    void champsDeTexte() {
        Banc b;
        QVERIFY(active(b));
        b->Lkm->setFocus();
        b->Lkm->selectAll();
        QTest::keyClicks(b->Lkm, QStringLiteral("12"));
        touche(b, Qt::Key_Left);
        touche(b, Qt::Key_Space);
        QVERIFY(!b->Timer1->isActive());
        QCOMPARE(b.e().tl, 0);
        QCOMPARE(b->Lkm->cursorPosition(), 1);
    }

    // Ctrl+O, Ctrl+S, Ctrl+E are "Charger", "Sauver" and "Avi".
    void commandes() {
        Banc b;
        QVERIFY(active(b));
        touche(b, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(b.d.filtres.size(), 1); // the open dialog, cancelled
        touche(b, Qt::Key_S, Qt::ControlModifier);
        touche(b, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(b.d.messages, (QStringList{SANSCARTE, SANSCARTE}));
    }

    void bulles_data() {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("bulle");
        QTest::newRow("Charger") << "Charger"
                                 << "Image pour le calcul et la visualisation (Ctrl+O)";
        QTest::newRow("sauver") << "sauver"
                                << "Ctrl+S";
        QTest::newRow("Avi") << "Button11"
                             << "Ctrl+E";
        QTest::newRow("Joue") << "Joue"
                              << "Jouer (Espace)";
        QTest::newRow("stop") << "stop"
                              << "Stop (Espace)";
        QTest::newRow("pred") << "pred"
                              << "Précédent (Flèche gauche)";
        QTest::newRow("suiv") << "suiv"
                              << "Suivant (Flèche droite)";
        QTest::newRow("Debut") << "Debut"
                               << "Début (Origine)";
        QTest::newRow("dern") << "dern"
                              << "Fin (Fin)";
        QTest::newRow("sans touche") << "Button9"
                                     << "Calcul la suite de l'vialume";
    }
    void bulles() {
        QFETCH(QString, bouton);
        QFETCH(QString, bulle);
        Banc b;
        auto* w = b->findChild<QWidget*>(bouton);
        QVERIFY(w);
        QCOMPARE(Clavier::bulle(w), bulle);
    }
};

QTEST_MAIN(TstClavier)
#include "tst_clavier.moc"
