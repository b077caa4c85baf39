#include "timeline/temps.h"

#include <QTest>

class TstTemps : public QObject {
    Q_OBJECT
  private slots:
    void champs_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("premier") << "carte.bmp.old" << 1 << "carte";
        QTest::newRow("milieu") << "carte.bmp.old" << 2 << "bmp";
        QTest::newRow("dernier") << "carte.bmp.old" << 3 << "old";
        QTest::newRow("apres le dernier") << "carte.bmp.old" << 4 << "";
        QTest::newRow("sans separateur") << "carte" << 1 << "carte";
        QTest::newRow("sans separateur, champ 2") << "carte" << 2 << "";
        QTest::newRow("entre deux separateurs") << "a..c" << 2 << "";
        QTest::newRow("apres deux separateurs") << "a..c" << 3 << "c";
        QTest::newRow("vide en tete") << ".bmp" << 1 << "";
        QTest::newRow("vide en fin") << "carte." << 2 << "";
        QTest::newRow("texte vide") << "" << 1 << "";
    }
    void champs() {
        QFETCH(QString, texte);
        QFETCH(int, n);
        QFETCH(QString, attendu);
        QCOMPARE(champ(texte, n, u'.'), attendu);
    }

    void entiers_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("valide");
        QTest::addColumn<int>("valeur");
        QTest::newRow("chiffres") << "25" << true << 25;
        QTest::newRow("zeros en tete") << "06" << true << 6;
        QTest::newRow("moins") << "-7" << true << -7;
        QTest::newRow("plus") << "+3" << true << 3;
        QTest::newRow("plus grand") << "2147483647" << true << 2147483647;
        QTest::newRow("debordement") << "2147483648" << false << 0;
        QTest::newRow("vide") << "" << false << 0;
        QTest::newRow("signe seul") << "-" << false << 0;
        QTest::newRow("blanc apres") << "5 " << false << 0;
        QTest::newRow("blanc avant") << " 5" << false << 0;
        QTest::newRow("lettre") << "1a" << false << 0;
        QTest::newRow("chiffre arabe") << QString(QChar(0x0663)) << false << 0;
    }
    void entiers() {
        QFETCH(QString, texte);
        QFETCH(bool, valide);
        QFETCH(int, valeur);
        const auto v = entier(texte);
        QCOMPARE(v.has_value(), valide);
        if (valide) QCOMPARE(*v, valeur);
    }

    void erreur() {
        QCOMPARE(erreurentier(QStringLiteral("ab")),
                 QStringLiteral("'ab' n'est pas une valeur entière correcte"));
    }

    void versTemps_data() {
        QTest::addColumn<int>("ips");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("temps");
        QTest::newRow("zero") << 25 << 0 << "00:00";
        QTest::newRow("derniere de la seconde") << 25 << 24 << "00:24";
        QTest::newRow("une seconde") << 25 << 25 << "01:00";
        QTest::newRow("depart") << 25 << 150 << "06:00";
        QTest::newRow("cent secondes") << 10 << 1000 << "100:00";
        QTest::newRow("centaines gardees") << 10 << 1234 << "123:04";
        QTest::newRow("plus long film") << 30 << 2900 << "96:20";
    }
    void versTemps() {
        QFETCH(int, ips);
        QFETCH(int, n);
        QFETCH(QString, temps);
        auto e = nouveletat();
        e->ips = ips;
        QCOMPARE(imgverstemps(*e, n), temps);
        if (n < 100 * ips) QCOMPARE(tempsversimg(*e, temps), n);
    }

    void versImage_data() {
        QTest::addColumn<int>("ips");
        QTest::addColumn<QString>("temps");
        QTest::addColumn<int>("n"); // -1: not a time text
        QTest::newRow("depart") << 25 << "06:00" << 150;
        QTest::newRow("une image") << 25 << "00:01" << 1;
        QTest::newRow("autre cadence") << 10 << "06:00" << 60;
        QTest::newRow("images au-dela de la seconde") << 10 << "00:24" << 24;
        QTest::newRow("troisieme champ ignore") << 25 << "01:02:03" << 27;
        QTest::newRow("sans images") << 25 << "06" << -1;
        QTest::newRow("images vides") << 25 << "06:" << -1;
        QTest::newRow("secondes non entieres") << 25 << "a6:00" << -1;
        QTest::newRow("vide") << 25 << "" << -1;
        QTest::newRow("debordement") << 30 << "2000000000:00" << -1;
    }
    void versImage() {
        QFETCH(int, ips);
        QFETCH(QString, temps);
        QFETCH(int, n);
        auto e = nouveletat();
        e->ips = ips;
        const auto v = tempsversimg(*e, temps);
        QCOMPARE(v.has_value(), n >= 0);
        if (v) QCOMPARE(*v, n);
    }
};

QTEST_APPLESS_MAIN(TstTemps)
#include "tst_temps.moc"
