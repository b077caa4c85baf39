// Undo and redo: each kind of change comes back exactly (the parameters file the project writes
// is the one of before, then of after), a hundred steps are kept and no more, and the memory
// the steps hold stays bounded on a full route.
#include "aide_route.h"

#include "app/hautbas.h"
#include "project/parametres.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

// A map with two painted lines, the first one traced.
void depart(Banc& b) {
    b.carte(1000, 800);
    peintligne(b, 100, 200, 60);
    peintligne(b, 100, 300, 40);
    QVERIFY(trace(b, false, 0x0000ff, 100, 200));
    b.d.messages.clear();
    b->note();
}

using Geste = void (*)(Banc&);

void suite(Banc& b) {
    QVERIFY(trace(b, true, 0x00ff00, 100, 300));
}
void nouvelleroute(Banc& b) {
    QVERIFY(trace(b, false, 0xff0000, 100, 300));
}
void creecle(Banc& b) {
    b->TL->setValue(60);
    b->Ascl->setValue(33);
    b->creerIC->click();
}
void changecle(Banc& b) {
    b->Icle->setCurrentRow(1);
    b->Asch->setValue(44);
    b->creerIC->click();
}
void supprimecle(Banc& b) {
    b->Icle->setCurrentRow(1);
    b->SupIC->click();
}
void duree(Banc& b) {
    b->Button4->click();
    b->Button7->click();
}
void cadence(Banc& b) {
    b->CipsChange(QStringLiteral("10 images/secondes"));
}
void couleurtroncon(Banc& b) {
    b->tronsonChange(0);
    b.d.couleurs << 0x123456;
    b->Button8->click();
}
void legende(Banc& b) {
    b->montre->setChecked(true);
    b->Lkm->setText(QStringLiteral("42"));
    b->Xt->setValue(100);
}
void ombre(Banc& b) {
    b->okombre->setChecked(true);
    b->Xombre->setValue(-4);
}
void embout(Banc& b) {
    b->CheckBox1->setChecked(true);
    b->UpDown1->setValue(55);
}

void rien(Banc&) {}

// A gesture and what it needs done first (a keyframe to change or delete).
struct Cas {
    const char* nom;
    Geste avant, geste;
};
const Cas GESTES[] = {
    {"suite", rien, suite},
    {"nouvelle route", rien, nouvelleroute},
    {"cree une cle", rien, creecle},
    {"change une cle", creecle, changecle},
    {"supprime une cle", creecle, supprimecle},
    {"duree", rien, duree},
    {"cadence", rien, cadence},
    {"couleur de troncon", rien, couleurtroncon},
    {"legende", rien, legende},
    {"ombre", rien, ombre},
    {"embout", rien, embout},
};

} // namespace

class TstAnnule : public QObject {
    Q_OBJECT

  private slots:
    void chaqueChangement_data() {
        QTest::addColumn<int>("geste");
        for (int i = 0; i < int(std::size(GESTES)); ++i)
            QTest::newRow(GESTES[i].nom) << i;
    }
    void chaqueChangement() {
        QFETCH(int, geste);
        Banc b;
        depart(b);
        GESTES[geste].avant(b);
        b->note();
        const QByteArray avant = ecrisparametres(b.e());
        const int pas = b->pasannulables();
        GESTES[geste].geste(b);
        const QByteArray apres = ecrisparametres(b.e());
        QVERIFY(apres != avant);
        b->annule();
        if (b->pasannulables() > pas) b->annule(); // the gestures made of two steps
        QCOMPARE(ecrisparametres(b.e()), avant);
        QCOMPARE(b->pasannulables(), pas);
        while (b->pasrefaisables() > 0)
            b->refait();
        QCOMPARE(ecrisparametres(b.e()), apres);
        QVERIFY(b.d.erreurs.isEmpty());
    }

    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z; a new change forgets what could be redone; the
    // controls show the state that came back.
    void touches() {
        Banc b;
        depart(b);
        b->show();
        b->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.f.get()));
        b->montre->setChecked(true);
        b->note();
        b->Xt->setValue(200);
        b->note();
        QTest::keyClick(b.f.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b->Xt->value(), 0);
        QTest::keyClick(b.f.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!b->montre->isChecked());
        QTest::keyClick(b.f.get(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(b->montre->isChecked());
        QTest::keyClick(b.f.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(b->Xt->value(), 200);
        QTest::keyClick(b.f.get(), Qt::Key_Z, Qt::ControlModifier);
        b->Yt->setValue(50);
        b->note();
        QCOMPARE(b->pasrefaisables(), 0);
        // The idle check notes what the user typed by itself.
        const int pas = b->pasannulables();
        b->Lkm->setFocus();
        QTest::keyClicks(b->Lkm, QStringLiteral("7"));
        QTRY_COMPARE(b->pasannulables(), pas + 1);
    }

    // Ctrl+Z undoes the project's last change whatever has the focus (the rate list after a
    // pick), but a text field with typing of its own takes that back first.
    void toucheDepuisUneListe() {
        Banc b;
        depart(b);
        b->show();
        b->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.f.get()));
        b->TL->setValue(60);
        b->creerIC->click();
        b->note();
        b->Cips->setFocus();
        QVERIFY(b->Cips->hasFocus());
        b->Cips->setCurrentIndex(0);
        emit b->Cips->activated(0);
        b->note();
        QCOMPARE(b.e().ips, 10);
        QCOMPARE(b.e().cleimg[1], 24);
        QTest::keyClick(b->Cips, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.e().ips, 25);
        QCOMPARE(b.e().cleimg[1], 60);
        QCOMPARE(b->Cips->currentText(), QStringLiteral("25 images/secondes"));
        QTest::keyClick(b->Cips, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(b.e().ips, 10);

        auto* champ = b->findChild<QLineEdit*>(QStringLiteral("gpslatlon"));
        QVERIFY(champ);
        const int pas = b->pasannulables();
        champ->setFocus();
        QTest::keyClicks(champ, QStringLiteral("45"));
        QTest::keyClick(champ, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(champ->text(), QString());
        QCOMPARE(b.e().ips, 10);
        QCOMPARE(b->pasannulables(), pas);
        // Nothing of its own left: the project's step.
        QTest::keyClick(champ, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(b.e().ips, 25);
    }

    // A loaded parameters file is one step; before it, the map as it was loaded (a map load
    // keeps the settings), and a new map starts a new history.
    void chargement() {
        Banc b;
        const QString carte = b.dossier.filePath(QStringLiteral("carte.bmp"));
        QImage img(800, 600, QImage::Format_RGB32);
        img.fill(qRgb(9, 9, 9));
        QVERIFY(img.save(carte, "BMP"));
        b.d.fichiers << carte;
        b->Charger->click();
        b->Lkm->setText(QStringLiteral("321"));
        b->sauver->click();
        b->Lkm->setText(QStringLiteral("6"));
        b->note();
        QCOMPARE(b->pasannulables(), 1);
        b.d.choixfermeture << Dialogues::Fermeture::abandonner;
        b.d.reponses << true;
        b.d.fichiers << carte;
        b->Charger->click();
        QCOMPARE(b.e().lkm, QStringLiteral("321"));
        QCOMPARE(b->pasannulables(), 1);
        b->annule();
        QCOMPARE(b.e().lkm, QStringLiteral("6"));
        QCOMPARE(b->Lkm->text(), QStringLiteral("6"));
        b->annule(); // nothing before the map
        QCOMPARE(b.e().lkm, QStringLiteral("6"));
        b->refait();
        QCOMPARE(b.e().lkm, QStringLiteral("321"));
        QVERIFY(b.d.erreurs.isEmpty());
    }

    // A hundred steps are kept, each one comes back exactly; on a full route they hold a few
    // megabytes.
    void cent() {
        Banc b;
        b.carte(1000, 800);
        Etat& e = b.e();
        e.nbpt = MAXPT - 1;
        for (int i = 0; i <= e.nbpt; ++i) {
            e.ptx[i] = 100 + i % 700;
            e.pty[i] = 100 + i / 700;
            e.ptcoul[i] = 0x0000ff;
            e.pttron[i] = i / 1000;
        }
        b->synchro();
        b->note();
        std::vector<QByteArray> etats{ecrisparametres(e)};
        for (int i = 1; i <= 120; ++i) {
            b->UpDown1->setValue(i);
            b->note();
            etats.push_back(ecrisparametres(e));
        }
        QCOMPARE(b->pasannulables(), TForm1::MAXPAS);
        const qsizetype memoire = b->memoireannule();
        qInfo("%d points, %d steps: %lld bytes (one file: %lld bytes)", e.nbpt + 1,
              b->pasannulables(), static_cast<long long>(memoire),
              static_cast<long long>(etats.back().size()));
        QVERIFY(memoire < 32 * 1024 * 1024);
        for (int k = 119; k >= 20; --k) {
            b->annule();
            QCOMPARE(ecrisparametres(e), etats[size_t(k)]);
        }
        b->annule(); // nothing older is kept
        QCOMPARE(ecrisparametres(e), etats[20]);
        for (int k = 21; k <= 120; ++k) {
            b->refait();
            QCOMPARE(ecrisparametres(e), etats[size_t(k)]);
        }
    }
};

QTEST_MAIN(TstAnnule)
#include "tst_annule.moc"
