// The real dialogs: the boxes' captions, icons and buttons, and the filter syntax of the file
// dialogs. Each box is answered by a timer as soon as it is up.
#include "app/dialoguepolice.h"
#include "app/dialoguesqt.h"
#include "map/surface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `regarde` on the box once it is up, then answers it with the button captioned `repond`
// (any other caption closes it, so that a wrong box never blocks the test).
void quandouverte(std::function<void(QMessageBox*)> regarde, const QString& repond) {
    auto* guet = new QTimer;
    QObject::connect(guet, &QTimer::timeout, [guet, regarde, repond] {
        auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!b) return;
        guet->stop();
        guet->deleteLater();
        regarde(b);
        for (QAbstractButton* bouton : b->buttons())
            if (bouton->text() == repond) return bouton->click();
        b->reject();
    });
    guet->start(10);
}

QStringList textes(const QMessageBox* b) {
    QStringList t;
    for (QAbstractButton* bouton : b->buttons())
        t.append(bouton->text());
    return t;
}

} // namespace

class TstDialogues : public QObject {
    Q_OBJECT
  private slots:
    void filtres_data();
    void filtres();
    void message();
    void confirmation_data();
    void confirmation();
    void fermeture_data();
    void fermeture();
    void typeEnregistre_data();
    void typeEnregistre();
    void policeAvecCouleur_data();
    void policeAvecCouleur();
};

void TstDialogues::filtres_data() {
    QTest::addColumn<QString>("filtre");
    QTest::addColumn<QString>("qt");
    QTest::newRow("un") << "Carte BMP|*.bmp"
                        << "Carte BMP (*.bmp)";
    QTest::newRow("deux") << "Carte BMP|*.bmp|Images|*.png;*.jpg"
                          << "Carte BMP (*.bmp);;Images (*.png *.jpg)";
    QTest::newRow("libellé sans motif") << "Carte BMP|*.bmp|Reste"
                                        << "Carte BMP (*.bmp)";
    QTest::newRow("vide") << ""
                          << "";
}

void TstDialogues::filtres() {
    QFETCH(QString, filtre);
    QFETCH(QString, qt);
    QCOMPARE(filtreqt(filtre), qt);
}

void TstDialogues::message() {
    DialoguesQt d;
    bool vue = false;
    quandouverte(
        [&](QMessageBox* b) {
            vue = true;
            QCOMPARE(b->windowTitle(), QStringLiteral("Vial"));
            QCOMPARE(b->icon(), QMessageBox::NoIcon);
            QCOMPARE(b->text(), QStringLiteral("Charger d'abord une image"));
            QCOMPARE(b->buttons().size(), 1);
        },
        QStringLiteral("&OK"));
    d.message(QStringLiteral("Charger d'abord une image"));
    QVERIFY(vue);
}

void TstDialogues::confirmation_data() {
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<bool>("oui");
    QTest::newRow("Oui") << "&Oui" << true;
    QTest::newRow("Non") << "&Non" << false;
}

void TstDialogues::confirmation() {
    QFETCH(QString, bouton);
    QFETCH(bool, oui);
    DialoguesQt d;
    bool vue = false;
    quandouverte(
        [&](QMessageBox* b) {
            vue = true;
            QCOMPARE(b->windowTitle(), QStringLiteral("Confirmation"));
            QCOMPARE(b->icon(), QMessageBox::Question);
            QCOMPARE(textes(b), (QStringList{"&Oui", "&Non"}));
        },
        bouton);
    QCOMPARE(d.confirmation(QStringLiteral("Charger les paramètres ?")), oui);
    QVERIFY(vue);
}

// Before changes are lost: the platform's three buttons, the project named in the question.
void TstDialogues::fermeture_data() {
    QTest::addColumn<int>("bouton");
    QTest::addColumn<int>("reponse");
    QTest::newRow("Save") << int(QMessageBox::Save) << int(Dialogues::Fermeture::sauver);
    QTest::newRow("Discard") << int(QMessageBox::Discard) << int(Dialogues::Fermeture::abandonner);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << int(Dialogues::Fermeture::annuler);
    QTest::newRow("Escape") << -1 << int(Dialogues::Fermeture::annuler);
}

void TstDialogues::fermeture() {
    QFETCH(int, bouton);
    QFETCH(int, reponse);
    DialoguesQt d;
    bool vue = false;
    auto* guet = new QTimer;
    QObject::connect(guet, &QTimer::timeout, [&, guet] {
        auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!b) return;
        guet->stop();
        guet->deleteLater();
        vue = true;
        QCOMPARE(b->text(), QStringLiteral("Le projet carte.vlp a changé"));
        QCOMPARE(b->standardButtons(),
                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(b->defaultButton(), b->button(QMessageBox::Save));
        if (bouton < 0)
            QTest::keyClick(b, Qt::Key_Escape);
        else
            b->button(QMessageBox::StandardButton(bouton))->click();
    });
    guet->start(10);
    QCOMPARE(int(d.fermeture(QStringLiteral("Le projet carte.vlp a changé"))), reponse);
    QVERIFY(vue);
}

// The file type chosen in the save dialog comes back with the name, as its place in the filter.
void TstDialogues::typeEnregistre_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("premier") << 0;
    QTest::newRow("troisième") << 2;
}

void TstDialogues::typeEnregistre() {
    QFETCH(int, type);
    const QStringList types{QStringLiteral("Vidéo (*.avi)"), QStringLiteral("MP4 (H.264) (*.mp4)"),
                            QStringLiteral("WebM (VP9) (*.webm)")};
    QTemporaryDir dossier;
    DialoguesQt d;
    auto* guet = new QTimer;
    QObject::connect(guet, &QTimer::timeout, [&, guet] {
        auto* f = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!f) return;
        guet->stop();
        guet->deleteLater();
        f->selectNameFilter(types[type]);
        f->selectFile(dossier.filePath(QStringLiteral("film")));
        static_cast<QDialog*>(f)->accept(); // QFileDialog::accept, protected there
    });
    guet->start(10);
    const auto r = d.enregistrer(QStringLiteral("Vidéo|*.avi|MP4 (H.264)|*.mp4|WebM (VP9)|*.webm"),
                                 dossier.path());
    QVERIFY(r);
    QCOMPARE(QFileInfo(r->chemin).fileName(), QStringLiteral("film"));
    QCOMPARE(r->type, type);
}

void TstDialogues::policeAvecCouleur_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Annuler") << false;
}

// The legend's colour is chosen in the font dialog too; OK gives font and colour together.
void TstDialogues::policeAvecCouleur() {
    QFETCH(bool, ok);
    DialoguesQt d;
    Police depart;
    depart.nom = QStringLiteral("DejaVu Sans");
    depart.taille = -20;
    depart.gras = true;
    bool vue = false;
    auto* guet = new QTimer;
    QObject::connect(guet, &QTimer::timeout, [&, guet] {
        auto* b = qobject_cast<DialoguePolice*>(QApplication::activeModalWidget());
        if (!b) return;
        guet->stop();
        guet->deleteLater();
        vue = true;
        QCOMPARE(b->boutoncouleur->text(), QStringLiteral("Couleur..."));
        // It opens on the legend's own colour (here a system colour, resolved).
        QCOMPARE(b->police().couleur, depuisqrgb(versqrgb(clWindowText)));
        b->poseCouleur(QColor(255, 0, 0));
        ok ? b->accept() : b->reject();
    });
    guet->start(10);
    const auto p = d.police(depart);
    QVERIFY(vue);
    QCOMPARE(p.has_value(), ok);
    if (!ok) return;
    QCOMPARE(p->couleur, Couleur(0x0000ff)); // the file's order: blue, green, red
    QCOMPARE(p->taille, -20);
    QVERIFY(p->gras);
}

QTEST_MAIN(TstDialogues)
#include "tst_dialogues.moc"
