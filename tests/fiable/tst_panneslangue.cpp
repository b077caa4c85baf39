// A language table with stray lines: whatever langue.csv holds, nothing is written outside the
// table, and the entries that the file does not list keep their text.
#include "../../fuzz/essailangue.h"
#include "project/langue.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <QFile>
#include <QTest>

#include <memory>

namespace {

// ---- Language table -------------------------------------------------------------------------

// The table between two guards, so a write past either end shows in the guards (and in the
// sanitizer build as a fault).
struct TableGardee {
    std::array<QString, 4> avant;
    Textes textes;
    std::array<QString, 4> apres;
};

} // namespace

class TstPannesLangue : public QObject {
    Q_OBJECT

  private slots:
    // Entry numbers outside the table, empty lines and lines without ";" never reach past the
    // table; the lines of the table that the file does not list keep their text.
    void entreeshorstable_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("colonne");
        QTest::addColumn<QStringList>("attendu"); // "N=text" for every entry that changes
        QTest::addColumn<bool>("lu");
        const QByteArray entete = "n;Français;English\r\n";
        QTest::newRow("outside the table")
            << entete + "2000;a;b\r\n-1;a;b\r\n2147483647;a;b\r\n-2147483648;a;b\r\n1999;c;d\r\n"
                        "0;e;f\r\n"
            << 3 << QStringList{"1999=d", "0=f"} << true;
        QTest::newRow("too large for an int") << entete + "99999999999;a;b\r\n5;x;y\r\n"
                                              << 3 << QStringList{} << false;
        QTest::newRow("empty lines") << entete + "\r\n\n\r\n7;a;b\r\n\r\n"
                                     << 2 << QStringList{"7=a"} << true;
        QTest::newRow("no ';'") << entete + "8\r\n9;x;y\r\n"
                                << 3 << QStringList{"8=", "9=y"} << true;
        QTest::newRow("no ';' and no number") << entete + "1;a;b\r\nabc\r\n2;c;d\r\n"
                                              << 3 << QStringList{"1=b"} << false;
        QTest::newRow("column past the line") << entete + "3;a;b\r\n"
                                              << 6 << QStringList{"3="} << true;
        QTest::newRow("column 0 and 7") << entete + "4;a;b\r\n" << 0 << QStringList{"4="} << true;
        QTest::newRow("NUL and Ctrl-Z")
            << entete + QByteArray("5;a\0b;c\x1a;d\r\n", 12) << 2
            << QStringList{QStringLiteral("5=a") + QChar(0) + "b"} << true;
    }
    void entreeshorstable() {
        QFETCH(QByteArray, csv);
        QFETCH(int, colonne);
        QFETCH(QStringList, attendu);
        QFETCH(bool, lu);
        auto t = std::make_unique<TableGardee>();
        const QString garde = QStringLiteral("garde");
        t->avant.fill(garde);
        t->apres.fill(garde);
        t->textes.fill(QStringLiteral("avant"));
        QString erreur;
        QCOMPARE(lisentrees(t->textes, csv, colonne, QStringLiteral("langue.csv"), erreur), lu);
        QCOMPARE(erreur.isEmpty(), lu);
        for (const QString& g : t->avant)
            QCOMPARE(g, garde);
        for (const QString& g : t->apres)
            QCOMPARE(g, garde);
        auto voulu = std::make_unique<Textes>();
        voulu->fill(QStringLiteral("avant"));
        for (const QString& a : attendu)
            (*voulu)[a.section(u'=', 0, 0).toInt()] = a.section(u'=', 1);
        for (int n = 0; n < MAXTEXTES; ++n)
            QCOMPARE(t->textes[n], (*voulu)[n]);
    }

    // Every input the language fuzz target found, and its seeds, through the same readers.
    void entreesdufuzz() {
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        int n = 0;
        for (const char* sous : {"regressions/langue", "corpus/langue"}) {
            QDirIterator i(
                QDir::cleanPath(QStringLiteral(FIXTURES "/../../fuzz/") + QLatin1String(sous)),
                QDir::Files);
            while (i.hasNext()) {
                const QString source = i.next();
                QFile f(source);
                QVERIFY(f.open(QIODevice::ReadOnly));
                QVERIFY2(essailangue(f.readAll(), dossier.path()), qPrintable(source));
                ++n;
            }
        }
        QVERIFY(n > 0);
    }
};

QTEST_APPLESS_MAIN(TstPannesLangue)
#include "tst_panneslangue.moc"
