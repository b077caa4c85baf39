// The window against the command line: what one saves the other reads, and both write the same
// frames.
#include "aide_dialogues.h"
#include "app/tform1.h"
#include "cli/aidecommande.h"
#include "cli/commande.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestLigne : public QObject {
    Q_OBJECT
  private slots:
    void fenetre();
};

void TestLigne::fenetre() {
    // The window's own sequence export and its load of a traced project, against the command line.
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                          QStringLiteral("100,300"), QStringLiteral("--couleur"),
                          QStringLiteral("#00FF00")})
                .code == SORTIEOK);
    DialoguesScript dlg;
    dlg.reponses << true; // load the parameters file
    TForm1 f(dlg, d.path() + QLatin1Char('/'));
    f.chargecarte(carte);
    QCOMPARE(dlg.questions.size(), 1);
    QCOMPARE(f.e().nbpt, 99);
    for (int i = 0; i <= 99; ++i)
        QCOMPARE(f.e().ptx[i], 100 + i);

    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("ligne")));
    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("fenetre")));
    dlg.fichiers << d.filePath(QStringLiteral("fenetre/vue.bmp"));
    f.SuiteClick();
    QVERIFY(lancevialume({QStringLiteral("export"), carte, QStringLiteral("--bmps"),
                          d.filePath(QStringLiteral("ligne/vue"))})
                .code == SORTIEOK);
    const QStringList faits = fichiers(d.filePath(QStringLiteral("fenetre")));
    QCOMPARE(faits.size(), 150);
    QCOMPARE(fichiers(d.filePath(QStringLiteral("ligne"))), faits);
    for (const QString& n : faits)
        QVERIFY2(contenu(d.filePath(QStringLiteral("ligne/") + n)) ==
                     contenu(d.filePath(QStringLiteral("fenetre/") + n)),
                 qPrintable(n));
}

QTEST_MAIN(TestLigne)
#include "tst_ligne.moc"
