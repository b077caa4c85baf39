#include "project/ansi.h"
#include "project/langue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void ecrit(const QString& chemin, const QByteArray& octets) {
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(octets), octets.size());
}

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString dossier(const QTemporaryDir& d) {
    return d.path() + u'/';
}

QString fichierlivre() {
    return QDir::cleanPath(QStringLiteral(FIXTURES "/../../data/langue.csv"));
}

} // namespace

class TstLangue : public QObject {
    Q_OBJECT
    QTemporaryDir donnees;
  private slots:
    void initTestCase() {
        // Keep the user's files, and any installed copy of the program, out of reach.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(donnees.isValid());
        qputenv("XDG_DATA_DIRS", donnees.path().toLocal8Bit());
    }
    void init() { QFile::remove(dossierconfig() + QStringLiteral("langue.ini")); }
    void cleanup() { init(); }

    // ---- Windows-1252 -------------------------------------------------------------------
    void ansi_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<QString>("texte");
        QTest::newRow("latin") << QByteArray("Cl\xe9s \xdc\xdf") << QStringLiteral("Clés Üß");
        QTest::newRow("euro, apostrophe, oe")
            << QByteArray("\x80\x92\x9c\x9f") << QStringLiteral("€’œŸ");
        QTest::newRow("non attribue") << QByteArray("\x81\x9d") << QStringLiteral("\u0081\u009d");
        QTest::newRow("nul") << QByteArray("a\0b", 3)
                             << QString(QStringLiteral("a") + QChar(0) + u'b');
    }
    void ansi() {
        QFETCH(QByteArray, octets);
        QFETCH(QString, texte);
        QCOMPARE(depuisansi(octets), texte);
        QCOMPARE(versansi(texte), octets);
    }
    void ansitousoctets() {
        QByteArray tous;
        for (int b = 0; b < 256; ++b)
            tous += static_cast<char>(b);
        QCOMPARE(versansi(depuisansi(tous)), tous);
    }
    void ansihorspage() {
        QCOMPARE(versansi(QStringLiteral("Ω→")), QByteArray("??"));
        // A character outside the 16-bit range is one "?", not two.
        QCOMPARE(versansi(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
        QCOMPARE(versansi(QString(QChar(0xD800))), QByteArray("?"));
    }

    // ---- langue.csv ---------------------------------------------------------------------
    void entete_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QStringList>("noms");
        QTest::newRow("trois langues")
            << QByteArray("N\xb0;Fran\xe7\x61is;English;Espa\xf1ol;Deutsch\r\n1;a")
            << QStringList{"English", "Español", "Deutsch"};
        QTest::newRow("colonne 3 vide") << QByteArray("N;F;;Deutsch\n") << QStringList{"Deutsch"};
        QTest::newRow("sept colonnes")
            << QByteArray("1;2;c;d;e;f;g") << QStringList{"c", "d", "e", "f"};
        QTest::newRow("sans langue") << QByteArray("N;F\r\n") << QStringList{};
        QTest::newRow("fichier vide") << QByteArray() << QStringList{};
        QTest::newRow("ligne vide") << QByteArray("\r\nN;F;English") << QStringList{};
    }
    void entete() {
        QFETCH(QByteArray, contenu);
        QFETCH(QStringList, noms);
        QCOMPARE(nomslangues(contenu), noms);
    }

    void entrees_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("colonne");
        QTest::addColumn<int>("entree");
        QTest::addColumn<QString>("attendu");
        const QByteArray base("N;F;E\r\n10;Charger d'abord une image;Load a picture first\r\n"
                              "4;Fermer;Close\r\n");
        QTest::newRow("colonne 2") << base << 2 << 10 << "Charger d'abord une image";
        QTest::newRow("colonne 3") << base << 3 << 4 << "Close";
        QTest::newRow("LF seul") << QByteArray("N;F\n4;Fermer\n7;Couleur") << 2 << 4 << "Fermer";
        QTest::newRow("derniere ligne sans fin")
            << QByteArray("N;F\n4;Fermer\n7;Couleur") << 2 << 7 << "Couleur";
        QTest::newRow("cellule vide") << QByteArray("N;F;E\r\n4;Fermer;\r\n") << 3 << 4 << "";
        QTest::newRow("champ absent") << QByteArray("N;F;E\r\n4;Fermer\r\n") << 3 << 4 << "";
        QTest::newRow("guillemets ordinaires")
            << QByteArray("N;F\r\n64;\"loupe\";x\r\n") << 2 << 64 << "\"loupe\"";
        QTest::newRow("saut de ligne") << QByteArray("N;F\r\n63;la m\xeame \\ndimension\r\n") << 2
                                       << 63 << "la même \ndimension";
        QTest::newRow("la derniere gagne")
            << QByteArray("N;F\r\n4;Fermer\r\n4;Quitter\r\n") << 2 << 4 << "Quitter";
        QTest::newRow("lignes vides")
            << QByteArray("N;F\r\n\r\n\n4;Fermer\r\n\r\n") << 2 << 4 << "Fermer";
        QTest::newRow("entree 0") << QByteArray("N;F\r\n0;zero\r\n") << 2 << 0 << "zero";
        QTest::newRow("entree 100") << QByteArray("N;F\r\n100;cent\r\n") << 2 << 100 << "cent";
        QTest::newRow("entete jamais lue") << QByteArray("4;Fermer\r\n") << 2 << 4 << "avant";
    }
    void entrees() {
        QFETCH(QByteArray, contenu);
        QFETCH(int, colonne);
        QFETCH(int, entree);
        QFETCH(QString, attendu);
        Textes t;
        t.fill(QStringLiteral("avant"));
        QString erreur;
        QVERIFY2(lisentrees(t, contenu, colonne, QStringLiteral("langue.csv"), erreur),
                 qPrintable(erreur));
        QCOMPARE(t[entree], attendu);
        QVERIFY(erreur.isEmpty());
    }

    void entreeshorstable() {
        Textes t;
        QString erreur;
        // Entries past V1.50's 100 belong to later versions and are read; past the table, skipped.
        QVERIFY(lisentrees(t, "N;F\r\n2000;loin\r\n-1;avant\r\n101;juste\r\n5;dedans\r\n", 2,
                           QStringLiteral("langue.csv"), erreur));
        for (int i = 0; i < MAXTEXTES; ++i)
            QCOMPARE(t[i], i == 5     ? QStringLiteral("dedans")
                           : i == 101 ? QStringLiteral("juste")
                                      : QString());
    }

    void entreesmalformees_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("ligne");
        QTest::newRow("lettres") << QByteArray("N;F\r\n1;un\r\n\r\nx2;deux\r\n3;trois\r\n") << "x2"
                                 << 4;
        QTest::newRow("numero vide") << QByteArray("N;F\n1;un\n;deux\n3;trois") << "" << 3;
        QTest::newRow("blanc") << QByteArray("N;F\n1;un\n 3;trois") << " 3" << 3;
        QTest::newRow("debordement")
            << QByteArray("N;F\n1;un\n99999999999;x") << "99999999999" << 3;
    }
    void entreesmalformees() {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, texte);
        QFETCH(int, ligne);
        Textes t;
        t[3] = QStringLiteral("avant");
        QString erreur;
        QVERIFY(!lisentrees(t, contenu, 2, QStringLiteral("langue.csv"), erreur));
        QCOMPARE(erreur, QStringLiteral("'%1' n'est pas une valeur entière correcte\nlangue.csv, "
                                        "ligne %2")
                             .arg(texte)
                             .arg(ligne));
        QCOMPARE(t[1], QStringLiteral("un")); // read before the bad line: stays
        QCOMPARE(t[3], QStringLiteral("avant"));
    }

    void entreesquelconques() {
        // Any bytes: no crash, no hang, and a failure always says where.
        QRandomGenerator alea(9);
        const char choix[] = "0123456789;;;\n\n\r-+ \xe9\\n";
        for (int essai = 0; essai < 3000; ++essai) {
            QByteArray octets(alea.bounded(200), Qt::Uninitialized);
            for (char& o : octets)
                o = alea.bounded(4) == 0 ? static_cast<char>(alea.bounded(256))
                                         : choix[alea.bounded(int(sizeof choix) - 1)];
            Textes t;
            QString erreur;
            if (!lisentrees(t, octets, 1 + alea.bounded(7), QStringLiteral("f"), erreur))
                QVERIFY2(erreur.contains(QStringLiteral("f, ligne ")), octets.toHex().constData());
            nomslangues(octets);
        }
        Textes t;
        QString erreur;
        const QByteArray longue =
            "N;F\n1;" + QByteArray(1 << 20, ';') + "\nzz" + QByteArray(1 << 20, 'z');
        QVERIFY(!lisentrees(t, longue, 6, QStringLiteral("f"), erreur));
        QVERIFY(erreur.size() < 200); // the message quotes the start of the line only
    }

    // ---- Where the files live -------------------------------------------------------------
    void ouestini() {
        QTemporaryDir prog;
        QCOMPARE(cheminiecriture(dossier(prog)), dossier(prog) + "langue.ini");
        QCOMPARE(cheminilecture(dossier(prog)), QString());
        const QString absent = dossier(prog) + "absent/";
        QCOMPARE(cheminiecriture(absent), dossierconfig() + "langue.ini");

        // Another copy's choice in the configuration folder is not this one's.
        ecrit(dossierconfig() + "langue.ini", "4\r\n");
        QCOMPARE(cheminilecture(dossier(prog)), QString());
        ecrit(dossier(prog) + "langue.ini", "3\r\n");
        QCOMPARE(cheminilecture(dossier(prog)), dossier(prog) + "langue.ini");
    }

    void ecritlis() {
        QTemporaryDir prog;
        QString erreur;
        QVERIFY2(ecritini(dossier(prog), 3, erreur), qPrintable(erreur));
        QCOMPARE(lit(dossier(prog) + "langue.ini"), QByteArray("3\r\n"));
        QVERIFY(ecritini(dossier(prog), 5, erreur));
        QCOMPARE(lit(dossier(prog) + "langue.ini"), QByteArray("5\r\n"));
        int n = 0;
        QVERIFY(lisini(dossier(prog) + "langue.ini", n, erreur));
        QCOMPARE(n, 5);
        QVERIFY(!QFileInfo::exists(dossierconfig() + "langue.ini"));
    }

    void ecritconfig() {
        // A program folder that cannot be written: the choice goes to the configuration folder.
        QTemporaryDir racine;
        const QString absent = dossier(racine) + "absent/";
        QString erreur;
        QVERIFY2(ecritini(absent, 4, erreur), qPrintable(erreur));
        QCOMPARE(lit(dossierconfig() + "langue.ini"), QByteArray("4\r\n"));
        QCOMPARE(cheminilecture(absent), dossierconfig() + "langue.ini");
    }

    void ecritlectureseule() {
        QTemporaryDir racine;
        const QString prog = dossier(racine) + "bin/";
        ecrit(prog + "langue.ini", "3\r\n"); // shipped with the program
        QVERIFY(QFile::setPermissions(prog, QFile::ReadOwner | QFile::ExeOwner));
        const auto rend = qScopeGuard([&prog] {
            QFile::setPermissions(prog, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (QFileInfo(prog).isWritable()) QSKIP("the superuser writes in a read-only folder");
        QCOMPARE(cheminilecture(prog), prog + "langue.ini");
        QString erreur;
        QVERIFY2(ecritini(prog, 5, erreur), qPrintable(erreur));
        QCOMPARE(lit(prog + "langue.ini"), QByteArray("3\r\n"));
        QCOMPARE(lit(dossierconfig() + "langue.ini"), QByteArray("5\r\n"));
        // The choice written last is the one read at the next start.
        QCOMPARE(cheminilecture(prog), dossierconfig() + "langue.ini");
    }

    void inimalforme_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("texte");
        QTest::newRow("lettres") << QByteArray("trois\r\n3\r\n") << "trois";
        QTest::newRow("vide") << QByteArray() << "";
        QTest::newRow("blanc") << QByteArray("3 \r\n") << "3 ";
    }
    void inimalforme() {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, texte);
        QTemporaryDir prog;
        const QString chemin = dossier(prog) + "langue.ini";
        ecrit(chemin, contenu);
        int n = 7;
        QString erreur;
        QVERIFY(!lisini(chemin, n, erreur));
        QCOMPARE(n, 7);
        QCOMPARE(erreur, QStringLiteral("'%1' n'est pas une valeur entière correcte\n%2, ligne 1")
                             .arg(texte, QDir::toNativeSeparators(chemin)));
    }

    void inilignes() {
        QTemporaryDir prog;
        const QString chemin = dossier(prog) + "langue.ini";
        ecrit(chemin, "4\nautre chose\n");
        int n = 0;
        QString erreur;
        QVERIFY(lisini(chemin, n, erreur));
        QCOMPARE(n, 4);
        QVERIFY(!lisini(dossier(prog) + "absent.ini", n, erreur));
        QVERIFY(erreur.startsWith(QStringLiteral("Impossible de lire")));
    }

    void ouestcsv() {
        QTemporaryDir racine;
        const QString prog = dossier(racine) + "bin/";
        QVERIFY(QDir().mkpath(prog));
        QCOMPARE(chemincsv(prog), QString());
        const QString installe = dossier(racine) + "share/vialume/langue.csv";
        ecrit(installe, "N;F\r\n");
        QCOMPARE(QFileInfo(chemincsv(prog)).canonicalFilePath(),
                 QFileInfo(installe).canonicalFilePath());
        ecrit(prog + "langue.csv", "N;F\r\n");
        QCOMPARE(chemincsv(prog), prog + "langue.csv");
    }

    // ---- Start-up and loading ---------------------------------------------------------------
    void demarrage_data() {
        QTest::addColumn<QByteArray>("ini"); // "-": no langue.ini
        QTest::addColumn<QByteArray>("csv"); // "-": no langue.csv
        QTest::addColumn<QStringList>("noms");
        QTest::addColumn<int>("numlangue");
        QTest::addColumn<bool>("charger");
        QTest::addColumn<bool>("erreur");
        const QByteArray csv("N;F;English;Espa\xf1ol\r\n4;Fermer;Close;Cerrar\r\n");
        const QStringList trois{"Français", "English", "Español"};
        QTest::newRow("rien") << QByteArray("-") << QByteArray("-") << QStringList{"Français"} << 0
                              << false << false;
        QTest::newRow("ini seul") << QByteArray("4\r\n") << QByteArray("-")
                                  << QStringList{"Français"} << 0 << false << false;
        QTest::newRow("csv sans ini") << QByteArray("-") << csv << trois << 2 << true << false;
        QTest::newRow("espagnol") << QByteArray("4\r\n") << csv << trois << 4 << true << false;
        QTest::newRow("colonne 7") << QByteArray("7\r\n") << csv << trois << 2 << true << false;
        // A column the header does not name is still the one chosen: it loads, nothing is shown
        // selected in the list.
        QTest::newRow("colonne non offerte")
            << QByteArray("5\r\n") << csv << trois << 5 << true << false;
        QTest::newRow("colonne 0") << QByteArray("0\r\n") << csv << trois << 2 << true << false;
        QTest::newRow("colonne 3 vide") << QByteArray("3\r\n") << QByteArray("N;F;;Deutsch\r\n")
                                        << QStringList{"Français", "Deutsch"} << 3 << true << false;
        QTest::newRow("ini malforme") << QByteArray("x\r\n") << csv << trois << 2 << false << true;
    }
    void demarrage() {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, noms);
        QFETCH(int, numlangue);
        QFETCH(bool, charger);
        QFETCH(bool, erreur);
        QTemporaryDir prog;
        if (ini != "-") ecrit(dossier(prog) + "langue.ini", ini);
        if (csv != "-") ecrit(dossier(prog) + "langue.csv", csv);
        auto e = nouveletat();
        e->dossierprog = dossier(prog);
        const DemarrageLangue d = demarrelangue(*e);
        QCOMPARE(d.noms, noms);
        QCOMPARE(e->numlangue, numlangue);
        QCOMPARE(d.selection, numlangue - 2 < noms.size() ? std::max(numlangue - 2, 0) : -1);
        QCOMPARE(d.charger, charger);
        QCOMPARE(!d.erreur.isEmpty(), erreur);
        QCOMPARE(lit(dossier(prog) + "langue.ini"), ini == "-" ? QByteArray("2\r\n") : ini);
        for (const QString& t : e->textes)
            QVERIFY(t.isEmpty()); // start-up reads the header only
    }

    void chargement() {
        QTemporaryDir prog;
        auto e = nouveletat();
        e->dossierprog = dossier(prog);
        e->numlangue = 2;
        QString erreur;
        QCOMPARE(chargetextes(*e, erreur), LectureTextes::absent);

        ecrit(dossier(prog) + "langue.csv",
              "N;F;E\r\n4;Fermer;Close\r\n7;Couleur;\r\n12;Charger;Load\r\n");
        e->numlangue = 7;
        QCOMPARE(chargetextes(*e, erreur), LectureTextes::absent);
        for (const QString& t : e->textes)
            QVERIFY(t.isEmpty());

        e->numlangue = 2;
        QCOMPARE(chargetextes(*e, erreur), LectureTextes::charge);
        QCOMPARE(e->textes[4], QStringLiteral("Fermer"));
        QCOMPARE(e->textes[7], QStringLiteral("Couleur"));
        e->numlangue = 3;
        QCOMPARE(chargetextes(*e, erreur), LectureTextes::charge);
        QCOMPARE(e->textes[4], QStringLiteral("Close"));
        QCOMPARE(e->textes[7], QString()); // an empty cell blanks the entry

        // The new file no longer lists entry 12: it keeps the previous language's text.
        ecrit(dossier(prog) + "langue.csv", "N;F;E\r\n4;Fermer;Close\r\nquatre;x;y\r\n");
        e->numlangue = 2;
        QCOMPARE(chargetextes(*e, erreur), LectureTextes::echec);
        QCOMPARE(erreur, QStringLiteral("'quatre' n'est pas une valeur entière correcte\n%1, "
                                        "ligne 3")
                             .arg(QDir::toNativeSeparators(dossier(prog) + "langue.csv")));
        QCOMPARE(e->textes[4], QStringLiteral("Fermer"));
        QCOMPARE(e->textes[12], QStringLiteral("Load"));
    }

    void textesconstruits() {
        auto e = nouveletat();
        const QStringList francais{"10 images/secondes", "12 images/secondes", "15 images/secondes",
                                   "20 images/secondes", "24 images/secondes", "25 images/secondes",
                                   "30 images/secondes"};
        QCOMPARE(listecips(*e), francais);
        QCOMPARE(itemtronson(*e, 3), QStringLiteral("tronçon 3"));
        QCOMPARE(textememo5(*e), QStringLiteral("*****"));
        e->textes[29] = QStringLiteral("frames/second");
        e->textes[30] = QStringLiteral("segment");
        for (int i = 46; i <= 51; ++i)
            e->textes[i] = QString::number(i);
        QCOMPARE(listecips(*e).at(5), QStringLiteral("25 frames/second"));
        QCOMPARE(listecips(*e).size(), 7);
        QCOMPARE(itemtronson(*e, 0), QStringLiteral("segment 0"));
        QCOMPARE(textememo5(*e), QStringLiteral("46*47*48*49*50*51"));
    }

    // The language of a header's name, for Qt's own texts; and of the column in use.
    void codes_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("code");
        QTest::newRow("English") << "English"
                                 << "en";
        QTest::newRow("Español") << "Español"
                                 << "es";
        QTest::newRow("Deutsch, casse") << " deutsch "
                                        << "de";
        QTest::newRow("en anglais") << "German"
                                    << "de";
        QTest::newRow("Italiano") << "Italiano"
                                  << "it";
        QTest::newRow("Français") << "Français"
                                  << "fr";
        QTest::newRow("inconnu") << "Klingon du sud"
                                 << "";
        QTest::newRow("vide") << ""
                              << "";
    }
    void codes() {
        QFETCH(QString, nom);
        QFETCH(QString, code);
        QCOMPARE(codelangue(nom), code);
    }
    void codecolonnes() {
        const QStringList noms{"Français", "English", "Español", "Deutsch"};
        QCOMPARE(codecolonne(0, noms), QStringLiteral("fr"));
        QCOMPARE(codecolonne(2, noms), QStringLiteral("fr"));
        QCOMPARE(codecolonne(3, noms), QStringLiteral("en"));
        QCOMPARE(codecolonne(5, noms), QStringLiteral("de"));
        // A column the header does not name.
        QCOMPARE(codecolonne(6, noms), QString());
    }

    // ---- The shipped table ------------------------------------------------------------------
    void livre_data() {
        QTest::addColumn<int>("colonne");
        for (int colonne = 2; colonne <= 5; ++colonne)
            QTest::addRow("colonne %d", colonne) << colonne;
    }
    void livre() {
        QFETCH(int, colonne);
        const QByteArray contenu = lit(fichierlivre());
        QVERIFY(!contenu.isEmpty());
        QCOMPARE(nomslangues(contenu), (QStringList{"English", "Español", "Deutsch"}));
        Textes t;
        QString erreur;
        QVERIFY2(lisentrees(t, contenu, colonne, fichierlivre(), erreur), qPrintable(erreur));
        for (int i = 0; i < NBTEXTES; ++i)
            QVERIFY2(t[i].isEmpty() == (i == 0 || i > 65), qPrintable(QString::number(i)));
        // Every line ends with CR LF.
        QCOMPARE(contenu.count("\r\n"), contenu.count('\n'));
    }

    void livrefrancais_data() {
        QTest::addColumn<int>("entree");
        QTest::addColumn<QString>("francais");
        QTest::newRow("5") << 5
                           << "Création d'un film avec un vialume \nen mouvement. \nBonus : Effet "
                              "d'écriture de texte.";
        QTest::newRow("10") << 10 << "Charger d'abord une image";
        QTest::newRow("11") << 11 << "Charger un BMP\nCalculer l'vialume\nSauver et générer\n";
        QTest::newRow("23") << 23 << "Il y a fichier paramètres on le charge ?";
        QTest::newRow("29") << 29 << "images/secondes";
        QTest::newRow("30") << 30 << "tronçon";
        QTest::newRow("55") << 55 << "Stop calcul";
        QTest::newRow("61") << 61 << "Fichier sauvé";
        QTest::newRow("63") << 63
                            << "L'image de visu doit avoir la même \ndimension que l'image de "
                               "calcul";
        QTest::newRow("64") << 64
                            << "Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant";
        QTest::newRow("65") << 65 << "Terminé";
    }
    void livrefrancais() {
        QFETCH(int, entree);
        QFETCH(QString, francais);
        auto e = nouveletat();
        QString erreur;
        QVERIFY(lisentrees(e->textes, lit(fichierlivre()), 2, fichierlivre(), erreur));
        QCOMPARE(e->textes[entree], francais);
    }

    void livrejoints() {
        auto e = nouveletat();
        QString erreur;
        QVERIFY(lisentrees(e->textes, lit(fichierlivre()), 2, fichierlivre(), erreur));
        QCOMPARE(e->textes[57] + e->textes[58] + e->textes[59],
                 QStringLiteral("Cliquer au début de votre vialume\nPour stopper cliquer sur "
                                "COULEUR? ou STOP CALCUL (c'est le même bouton)"));
        // The six parts hold the thirteen lines of the magnifier notes, each part on lines of
        // its own.
        const QStringList lignes{"La loupe est un BMP (300*300 pour ",
                                 "mes essais en théorie libre).",
                                 "La couleur 'zoomée' est la couleur ",
                                 "du centre du dessin (le verre de la ",
                                 "loupe)",
                                 "La couleur de fond est le pixel 1,1 ",
                                 "(ce qui est en dehors de la loupe)",
                                 "Sur un fond NOIR dessiner une ",
                                 "loupe (vert,jaune ..au choix) et le ",
                                 "verre de la loupe en BLANC",
                                 "N'aime pas fleurter avec les bords",
                                 "Adoucissement chemin loupe est un ",
                                 "compromis"};
        QCOMPARE(textememo5(*e).replace(QStringLiteral("\n*"), QStringLiteral("\n")),
                 lignes.join(u'\n'));
    }

    void livreconstruit() {
        // The build puts the table beside the program.
        const QString copie = QFileInfo(QStringLiteral(VIALUME_EXE)).dir().filePath("langue.csv");
        QCOMPARE(lit(copie), lit(fichierlivre()));
    }
};

QTEST_GUILESS_MAIN(TstLangue)
#include "tst_langue.moc"
