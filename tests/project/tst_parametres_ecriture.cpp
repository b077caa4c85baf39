#include "aide_parametres.h"
#include "project/parametres.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A small project with a map loaded in `dossier`.
std::unique_ptr<Etat> petitprojet(const QString& dossier) {
    auto e = nouveletat();
    e->dossiercarte = dossier + u'/';
    e->fichiercarte = QStringLiteral("plan.etape.bmp");
    e->fichierparam = QStringLiteral("plan.vlp");
    e->nbpt = 1;
    e->ptx[0] = 312, e->pty[0] = 140, e->ptcoul[0] = 255, e->pttron[0] = 0;
    e->ptx[1] = -3, e->pty[1] = 141, e->ptcoul[1] = clWindow, e->pttron[1] = 1;
    e->nbimg = 2;
    e->imgdecx[1] = 5, e->imgdecy[1] = -6, e->imgavance[1] = 500, e->imgavance[2] = 1000;
    e->ips = 25;
    e->nbcle = 2;
    e->cletemps[0] = QStringLiteral("00:00");
    e->cledecx[1] = 10, e->cledecy[1] = 20, e->cletemps[1] = QStringLiteral("00:02");
    e->nbi = QStringLiteral("2");
    e->bordnb = QStringLiteral("30");
    return e;
}

QFile::Permissions lectureseule() {
    return QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstParametresEcriture : public QObject {
    Q_OBJECT
  private slots:
    void sectionsDansLOrdre() {
        const auto e = petitprojet(QStringLiteral("/tmp"));
        const QByteArray attendu = texte({
            "[CHEMIN]",
            "312\t140\t255\t0",
            "-3\t141\t-2147483643\t1",
            "[PHOTO]",
            "0\t0\t0",
            "5\t-6\t500",
            "0\t0\t1000",
            "[IPS]",
            "25",
            "[CLE]",
            "0\t0\t00:00",
            "10\t20\t00:02",
            "[IMGMAX]",
            "2",
            "[COULROUTE]",
            "-2147483643",
            "[COULFOND]",
            "-2147483643",
            "[POLICE]",
            "MS Sans Serif",
            "[CPTMAX]",
            "0",
            "[COULEUR]",
            "-2147483640",
            "[POSX]",
            "0",
            "[POSY]",
            "0",
            "[TAILLE]",
            "-11",
            "[MONTRE]",
            "0",
            "[KM]",
            "0",
            "[TXTAUTRE]",
            "",
            "[BORDOK]",
            "0",
            "[BORDCOUL]",
            "-2147483643",
            "[BORDNB]",
            "30",
            "[VISU]",
            "",
            "[OMBRE]",
            "0",
            "-2147483643",
            "3",
            "3",
            "[LOUPE]",
            "",
            "0",
            "10",
            "0",
        });
        QCOMPARE(ecrisparametres(*e), attendu);
    }

    void routeVideEtSansCles() {
        auto e = petitprojet(QStringLiteral("/tmp"));
        e->nbpt = -1;
        e->nbcle = 0;
        const QByteArray o = ecrisparametres(*e);
        QVERIFY(o.startsWith("[CHEMIN]\r\n[PHOTO]\r\n"));
        QVERIFY(o.contains("[CLE]\r\n[IMGMAX]\r\n"));
    }

    void textes_data() {
        QTest::addColumn<QString>("txt");
        QTest::addColumn<QByteArray>("octets");
        QTest::newRow("accents et euro") << "€ été" << QByteArray("\x80 \xe9t\xe9");
        QTest::newRow("hors de la page de code") << "Ж😀x" << QByteArray("??x");
        QTest::newRow("fins de ligne et octet 26") << "a\nb\rc\x1a" << QByteArray("a?b?c?");
        QTest::newRow("la cle [KM]") << "[KM]" << QByteArray("[KM]");
    }
    void textes() {
        QFETCH(QString, txt);
        QFETCH(QByteArray, octets);
        auto e = petitprojet(QStringLiteral("/tmp"));
        e->txtautre = txt;
        QVERIFY(ecrisparametres(*e).contains("[TXTAUTRE]\r\n" + octets + "\r\n[BORDOK]"));
    }

    void sauveSansCarte() {
        auto e = petitprojet(QStringLiteral("/tmp"));
        e->fichiercarte.clear();
        QString erreur;
        QVERIFY(!sauveparametres(*e, erreur));
        QCOMPARE(erreur, QStringLiteral("Charger d'abord une image"));
    }

    void sauveACoteDeLaCarte() {
        QTemporaryDir d;
        const auto e = petitprojet(d.path());
        QString erreur;
        QVERIFY(sauveparametres(*e, erreur));
        QCOMPARE(contenu(d.filePath("plan.vlp")), ecrisparametres(*e));
    }

    // A save that fails leaves the former file as it was.
    void echecDansUnDossierEnLectureSeule() {
        QTemporaryDir d;
        auto e = petitprojet(d.path());
        QString erreur;
        QVERIFY(sauveparametres(*e, erreur));
        const QByteArray avant = contenu(d.filePath("plan.vlp"));
        QVERIFY(QFile::setPermissions(d.path(), lectureseule()));
        QFile essai(d.filePath("essai"));
        if (essai.open(QIODevice::WriteOnly)) {
            QFile::setPermissions(d.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user writes into read-only folders");
        }
        e->nbpt = 0;
        QVERIFY(!sauveparametres(*e, erreur));
        QFile::setPermissions(d.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(erreur.startsWith("Impossible d'enregistrer " + d.filePath("plan.vlp") + " : "),
                 qPrintable(erreur));
        QCOMPARE(contenu(d.filePath("plan.vlp")), avant);
    }

    // No room left: the file size limit makes every write past it fail, as a full disk does.
    void echecDisquePlein() {
        QTemporaryDir d;
        auto e = petitprojet(d.path());
        QString erreur;
        QVERIFY(sauveparametres(*e, erreur));
        const QByteArray avant = contenu(d.filePath("plan.vlp"));
        e->nbpt = MAXPT - 1;
        rlimit ancienne{};
        getrlimit(RLIMIT_FSIZE, &ancienne);
        const auto signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = ancienne;
        limite.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        const bool ok = sauveparametres(*e, erreur);
        setrlimit(RLIMIT_FSIZE, &ancienne);
        std::signal(SIGXFSZ, signal);
        QVERIFY(!ok);
        QVERIFY2(erreur.contains("plan.vlp"), qPrintable(erreur));
        QCOMPARE(contenu(d.filePath("plan.vlp")), avant);
        QCOMPARE(QDir(d.path()).entryList(QDir::Files), QStringList{"plan.vlp"});
    }
};

QTEST_GUILESS_MAIN(TstParametresEcriture)
#include "tst_parametres_ecriture.moc"
