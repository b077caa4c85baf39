// The first look: before any map the view says how to start; its buttons open a map, or a copy
// of the demo project that the user may change.
#include "aide_fenetre.h"
#include "aide_images.h"

#include "app/accueil.h"
#include "app/vue.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The demo as the program ships it, beside the program of `b`.
void livredemo(Banc& b) {
    const QDir source(QStringLiteral(FIXTURES "/../../examples/demo"));
    QVERIFY(QDir(b.dossier.path()).mkpath(QStringLiteral("demo")));
    for (const QString& nom : source.entryList(QDir::Files))
        QVERIFY(
            QFile::copy(source.filePath(nom), b.dossier.filePath(QStringLiteral("demo/") + nom)));
}

} // namespace

class TstAccueil : public QObject {
    Q_OBJECT
    QTemporaryDir donnees;

  private slots:
    void initTestCase() {
        // The user's own data and any installed copy of the program stay out of reach.
        QVERIFY(donnees.isValid());
        qputenv("XDG_DATA_HOME", donnees.filePath(QStringLiteral("utilisateur")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", donnees.filePath(QStringLiteral("systeme")).toLocal8Bit());
    }

    // Shown over the middle of the view while no map is loaded, gone once one is.
    void avantLaCarte() {
        Banc b;
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
        Accueil* a = b->accueil;
        QVERIFY(a->isVisible());
        QCOMPARE(a->parentWidget(), static_cast<QWidget*>(b->fond));
        QVERIFY(b->fond->rect().contains(a->geometry()));
        QVERIFY(std::abs(a->geometry().center().x() - b->fond->rect().center().x()) <= 1);
        QCOMPARE(a->titre->text(), QStringLiteral("Pour commencer"));
        QVERIFY(a->texte->text().contains(QStringLiteral("déposer")));
        QCOMPARE(a->ouvrir->text(), QStringLiteral("Ouvrir une carte..."));
        // Every text fits its place.
        for (QPushButton* p : {a->ouvrir, a->demo})
            QVERIFY(p->width() >= p->sizeHint().width());
        QVERIFY(a->texte->height() >= a->texte->heightForWidth(a->texte->width()));

        a->ouvrir->click(); // the open dialog of "Charger", cancelled
        QCOMPARE(b.d.filtres.size(), 1);
        QVERIFY(a->isVisible());
        b.d.fichiers << ecritbmp(b.dossier.path(), QStringLiteral("c.bmp"), dessin(800, 600));
        a->ouvrir->click();
        QTRY_COMPARE(b.e().fichiercarte, QStringLiteral("c.bmp"));
        QVERIFY(!a->isVisible());
    }

    // The demo opens as a copy in the user's data folder, its project offered; the user's
    // changes to the copy are kept, the shipped demo is never written.
    void demo() {
        Banc b;
        b->accueil->demo->click();
        QCOMPARE(b.d.messages,
                 QStringList(QStringLiteral("La démo n'est pas installée avec le programme")));
        QVERIFY(b.e().fichiercarte.isEmpty());

        livredemo(b);
        const QByteArray livre = lit(b.dossier.filePath(QStringLiteral("demo/carte.vlp")));
        b.d.reponses << true;
        b->accueil->demo->click();
        QTRY_COMPARE(b.d.questions,
                     QStringList(QStringLiteral("Il y a fichier paramètres on le charge ?")));
        const QString copie = donnees.filePath(QStringLiteral("utilisateur/vialume/demo/"));
        QCOMPARE(b.e().dossiercarte, copie);
        QCOMPARE(b.e().fichiercarte, QStringLiteral("carte.bmp"));
        QVERIFY(b.e().nbpt > 1000);
        QVERIFY(b.d.erreurs.isEmpty());
        QVERIFY(!b->accueil->isVisible());

        b->Lkm->setText(QStringLiteral("77"));
        b->sauver->click();
        Banc c;
        livredemo(c);
        c.d.reponses << true;
        c->accueil->demo->click();
        QTRY_COMPARE(c.e().lkm, QStringLiteral("77"));
        QCOMPARE(c.e().dossiercarte, copie);
        QCOMPARE(lit(b.dossier.filePath(QStringLiteral("demo/carte.vlp"))), livre);
    }
};

QTEST_MAIN(TstAccueil)
#include "tst_accueil.moc"
