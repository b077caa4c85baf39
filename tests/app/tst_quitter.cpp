// Nothing lost without a word: the question before quitting or loading another map over a changed
// project, and the folders the export dialogs start in.
#include "aide_route.h"

#include "app/hautbas.h"
#include "project/parametres.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTest>

namespace {

// The platform's question, naming the project.
const QString QUITTER =
    QStringLiteral("Le projet carte.vlp a des modifications non enregistrées.\nLes enregistrer ?");
using Fermeture = Dialogues::Fermeture;

QString image(const QString& dossier, const QString& nom) {
    QImage img(800, 600, QImage::Format_RGB32);
    img.fill(qRgb(20, 30, 40));
    const QString chemin = dossier + QLatin1Char('/') + nom;
    img.save(chemin);
    return chemin;
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The map loaded through "Charger", the window shown so that closing it can be seen.
QString charge(Banc& b, const QString& nom = QStringLiteral("carte.bmp")) {
    const QString chemin = image(b.dossier.path(), nom);
    b.d.fichiers.append(chemin);
    b->Charger->click();
    b->show();
    return chemin;
}

QString parametres(Banc& b) {
    return b.dossier.filePath(QStringLiteral("carte.vlp"));
}

} // namespace

class TstQuitter : public QObject {
    Q_OBJECT

  private slots:
    // Nothing to lose: no question, the window closes.
    void sansChangement() {
        Banc b;
        b->show();
        b->Button1->click();
        QVERIFY(!b->isVisible());
        QVERIFY(b.d.fermetures.isEmpty());

        Banc c;
        charge(c);
        QVERIFY(!c->modifie());
        QVERIFY(c->close());
        QVERIFY(c.d.fermetures.isEmpty());
    }

    // A traced route and each answer: Discard quits as it stands, Save saves first, Cancel
    // stays.
    void routeTracee_data() {
        QTest::addColumn<int>("reponse");
        QTest::addColumn<bool>("ferme");
        QTest::addColumn<bool>("sauve");
        QTest::newRow("Ne pas enregistrer") << int(Fermeture::abandonner) << true << false;
        QTest::newRow("Enregistrer") << int(Fermeture::sauver) << true << true;
        QTest::newRow("Annuler") << int(Fermeture::annuler) << false << false;
    }
    void routeTracee() {
        QFETCH(int, reponse);
        QFETCH(bool, ferme);
        QFETCH(bool, sauve);
        Banc b;
        charge(b);
        peintligne(b, 100, 200, 50);
        QVERIFY(trace(b, false, 0x0000ff, 100, 200));
        QCOMPARE(b.e().nbpt, 49);
        QVERIFY(b->modifie());
        b.d.choixfermeture << Fermeture(reponse);
        b->Button1->click();
        QCOMPARE(b.d.fermetures, QStringList(QUITTER));
        QCOMPARE(!b->isVisible(), ferme);
        QCOMPARE(QFile::exists(parametres(b)), sauve);
        if (sauve) QCOMPARE(contenu(parametres(b)), ecrisparametres(b.e()));
        QCOMPARE(b->modifie(), !sauve);
    }

    // The window's frame asks the same; a save or a change made and unmade leaves nothing to ask.
    void cadreEtSauvegarde() {
        Banc b;
        charge(b);
        b->montre->setChecked(true);
        QVERIFY(!b->close());
        QCOMPARE(b.d.fermetures, QStringList(QUITTER));
        QVERIFY(b->isVisible());

        b->montre->setChecked(false);
        QVERIFY(!b->modifie());
        b->montre->setChecked(true);
        b->sauver->click();
        QVERIFY(!b->modifie());
        QVERIFY(b->close());
        QCOMPARE(b.d.fermetures.size(), 1);
    }

    // A save that fails keeps the window open, whatever the answer was.
    void sauvegardeRatee() {
        Banc b;
        charge(b);
        b->montre->setChecked(true);
        QVERIFY(QDir().mkdir(parametres(b))); // a folder where the file should go
        b.d.choixfermeture << Fermeture::sauver;
        QVERIFY(!b->close());
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY(b->modifie());
    }

    // "Charger" over a changed project asks first; Annuler changes nothing, not even the tip.
    void chargerParDessus() {
        Banc b;
        charge(b);
        b->montre->setChecked(true);
        b->UpDown1->setValue(77);
        b->Charger->click();
        QCOMPARE(b.d.fermetures, QStringList(QUITTER));
        QCOMPARE(b.d.filtres.size(), 1); // no open dialog after Annuler
        QCOMPARE(b.e().updown1, 77);

        const QString autre = image(b.dossier.path(), QStringLiteral("autre.bmp"));
        b.d.choixfermeture << Fermeture::abandonner;
        b.d.fichiers << autre;
        b->Charger->click();
        QCOMPARE(b.d.fermetures.size(), 2);
        QCOMPARE(b.e().fichiercarte, QStringLiteral("autre.bmp"));
        QVERIFY(!QFile::exists(parametres(b)));
        QVERIFY(!b->modifie());

        // Nothing changed: straight to the dialog.
        b.d.fichiers << autre;
        b->Charger->click();
        QCOMPARE(b.d.fermetures.size(), 2);
        QCOMPARE(b.d.filtres.size(), 3);
    }

    // A loaded parameters file is the new reference.
    void apresChargementDuProjet() {
        Banc b;
        charge(b);
        b->montre->setChecked(true);
        b->sauver->click();
        b.d.reponses << true;
        charge(b);
        QVERIFY(b.e().montre);
        QVERIFY(!b->modifie());
        b->montre->setChecked(false);
        QVERIFY(b->modifie());
    }

    // "x.bmp" and "x.jpg" share "x.vlp": the question names the other picture, and "Sauver" asks
    // before it replaces that picture's project.
    void projetDUneAutreImage() {
        Banc b;
        charge(b, QStringLiteral("x.bmp"));
        b->montre->setChecked(true);
        b->sauver->click();
        const QString fichier = b.dossier.filePath(QStringLiteral("x.vlp"));
        const QByteArray dubmp = contenu(fichier);
        QVERIFY(dubmp.startsWith("[CHEMIN]"));

        b.d.reponses << false;
        charge(b, QStringLiteral("x.jpg"));
        QCOMPARE(b.d.questions.last(),
                 QStringLiteral("Il y a un fichier paramètres, celui de l'image x.bmp : on le "
                                "charge ?"));
        b->okombre->setChecked(true);
        b.d.reponses << false;
        b->sauver->click();
        const QString remplace =
            QStringLiteral("Le fichier paramètres x.vlp est celui de l'image x.bmp : le "
                           "remplacer ?");
        QCOMPARE(b.d.questions.last(), remplace);
        QCOMPARE(contenu(fichier), dubmp);
        QVERIFY(b->modifie());
        b.d.reponses << true;
        b->sauver->click();
        QCOMPARE(b.d.questions.last(), remplace);
        QVERIFY(contenu(fichier).startsWith("[IMAGE]\r\nx.jpg\r\n[CHEMIN]\r\n"));
        QVERIFY(!b->modifie());
        const int avant = int(b.d.questions.size());
        b->sauver->click(); // its own project now: nothing asked
        QCOMPARE(b.d.questions.size(), avant);

        b.d.reponses << true;
        charge(b, QStringLiteral("x.bmp"));
        QCOMPARE(b.d.questions.last(),
                 QStringLiteral("Il y a un fichier paramètres, celui de l'image x.jpg : on le "
                                "charge ?"));
        QVERIFY(b.e().okombre);
    }

    // Each export starts in the map's folder, then in the folder it last wrote to.
    void dossiersDesExports() {
        Banc b;
        charge(b);
        const QString carte = b.e().dossiercarte;
        QTemporaryDir ailleurs;
        const QString loin = ailleurs.filePath(QStringLiteral("vue.bmp"));
        b.d.fichiers << loin;
        b->Button3->click();
        b->Button3->click(); // cancelled
        b->Suite->click();   // cancelled
        b->Button11->click();
        QCOMPARE(b.d.dossiers.mid(1), (QStringList{carte, ailleurs.path(), carte, carte}));
        QVERIFY(carte.startsWith(b.dossier.path()));
        QVERIFY(QFile::exists(loin));
    }
};

QTEST_MAIN(TstQuitter)
#include "tst_quitter.moc"
