// Writes that fail or are cut short: every format says what stood in the way, and a killed export
// leaves the files of before whole, or says plainly that what it left is partial, and leaves
// nothing behind that the next export does not clear.
#include "aidepannes.h"

#include "export/bmp.h"
#include "export/film.h"
#include "export/partiel.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
};

// A 13-frame film on a 720 x 576 map of one colour.
bool ouvre(Projet& p, const QString& carte, QRgb couleur) {
    QImage m(VUEL, VUEH, QImage::Format_RGB32);
    m.fill(couleur);
    if (!m.save(carte, "BMP")) return false;
    filmdepart(*p.e);
    if (chargecarte(*p.e, p.s, carte).issue != Chargement::ok) return false;
    p.e->bordnb = QStringLiteral("30");
    p.e->nbi = QStringLiteral("12");
    majduree(*p.e);
    majcles(*p.e);
    return true;
}

// The export named by `format` into `cible`, run to its end; its first message, if any.
std::optional<QString> exporte(Projet& p, const QString& format, const QString& cible) {
    if (format == u"vlp") {
        Etat e = *p.e;
        e.dossiercarte = QFileInfo(cible).absolutePath() + u'/';
        e.fichierparam = QFileInfo(cible).fileName();
        QString erreur;
        if (sauveparametres(e, erreur)) return std::nullopt;
        return erreur;
    }
    if (format == u"bmp") return ecritbmp(p.s.vue, cible);
    if (format == u"bmps") {
        ExportSuite s(*p.e, p.s, cible);
        while (!s.fini())
            if (auto m = s.etape()) return m;
        return std::nullopt;
    }
    if (format == u"png") {
        ExportPng s(*p.e, p.s, cible, false);
        while (!s.fini())
            if (auto m = s.etape()) return m;
        return std::nullopt;
    }
    ExportVideo v(*p.e, p.s);
    const auto f = formatdepuisnom(cible);
    if (!f) return QStringLiteral("no format");
    std::optional<QString> m =
        *f == Format::avi ? v.ouvre(cible, OptionsVideo{}) : v.ouvre(cible, *f, OptionsFilm{});
    while (!m && !v.fini())
        m = v.etape();
    if (!m) m = v.ferme();
    return m;
}

QString nom(const QString& format) {
    if (format == u"bmps" || format == u"png") return QStringLiteral("film");
    if (format == u"vlp") return QStringLiteral("carte.vlp");
    return QStringLiteral("film.") + format;
}

// The hidden partial files and folders beside `cible`.
QStringList partiels(const QString& dossier) {
    QStringList r;
    for (const QString& n :
         QDir(dossier).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (n.startsWith(u'.') && n.endsWith(QLatin1String(".partiel"))) r << n;
    return r;
}

} // namespace

class TstEcritures : public QObject {
    Q_OBJECT
    QTemporaryDir dossier;

  private slots:
    // A full disk, a read-only folder, a missing folder and a film sent to /dev/full: every
    // format and the project file say which; a film that is no AVI is not called one.
    void ecrituresratees_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("cas");
        QTest::addColumn<QString>("raison");
        const QStringList formats = {QStringLiteral("avi"),  QStringLiteral("mp4"),
                                     QStringLiteral("webm"), QStringLiteral("gif"),
                                     QStringLiteral("png"),  QStringLiteral("bmps"),
                                     QStringLiteral("bmp"),  QStringLiteral("vlp")};
        for (const QString& f : formats) {
            QTest::addRow("%s, full disk", qPrintable(f))
                << f << QStringLiteral("plein") << QStringLiteral("le disque est plein");
            QTest::addRow("%s, read-only folder", qPrintable(f))
                << f << QStringLiteral("lectureseule") << QStringLiteral("est en lecture seule");
            QTest::addRow("%s, no such folder", qPrintable(f))
                << f << QStringLiteral("absent") << QStringLiteral("n'existe pas");
        }
        for (const char* f : {"avi", "mp4", "bmp"})
            QTest::addRow("%s, link to /dev/full", f)
                << QString::fromLatin1(f) << QStringLiteral("devfull")
                << QStringLiteral("le disque est plein");
    }
    void ecrituresratees() {
        QFETCH(QString, format);
        QFETCH(QString, cas);
        QFETCH(QString, raison);
        Projet p;
        QVERIFY(ouvre(p, dossier.filePath(QStringLiteral("carte.bmp")), 0xff336699));
        QString cible;
        std::unique_ptr<Volume> v;
        if (cas == u"absent") {
            cible = dossier.filePath(QStringLiteral("absent/") + nom(format));
        } else if (cas == u"devfull") {
            cible = dossier.filePath(nom(format));
            QFile::remove(cible);
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), cible));
        } else {
            v = std::make_unique<Volume>(dossier.filePath(cas + format), 512);
            if (!v->pret()) QSKIP(qPrintable(v->raison()));
            cible = v->chemin(nom(format));
            // A file of that name from before, which a failed write leaves as it was.
            if (format == u"vlp" || format == u"bmp") QVERIFY(ecrit(cible, "avant"));
            QVERIFY(cas == u"plein" ? v->remplit() : v->lectureseule());
        }
        const std::optional<QString> m = exporte(p, format, cible);
        if (v && (format == u"vlp" || format == u"bmp")) QCOMPARE(lit(cible), QByteArray("avant"));
        if (cas == u"devfull") QFile::remove(cible);
        QVERIFY(m);
        qInfo("%s", qPrintable(*m));
        QVERIFY2(m->contains(raison), qPrintable(*m));
        if (format != u"avi") QVERIFY2(!m->contains(QStringLiteral("AVI")), qPrintable(*m));
        QVERIFY2(!m->contains(QStringLiteral(".partiel")), qPrintable(*m));
        if (v) QCOMPARE(partiels(v->chemin({})), QStringList());
    }

    // The partial file of a running export is left to it; once nobody holds it, the next export
    // of the same target removes it, and only those of that target.
    void partielstenus() {
        QTemporaryDir d;
        const QString cible = d.filePath(QStringLiteral("film.mp4"));
        Partiel tenu, autre;
        QCOMPARE(tenu.cree(cible, false), 0);
        QCOMPARE(autre.cree(d.filePath(QStringLiteral("autre.mp4")), false), 0);
        QVERIFY(ecrit(tenu.chemin(), "commencé"));
        QVERIFY(ecrit(autre.chemin(), "commencé"));
        QVERIFY(QFileInfo(tenu.chemin()).fileName().startsWith(QLatin1String(".film.mp4.")));
        QCOMPARE(nettoiepartiels(cible), 0);
        QVERIFY(QFile::exists(tenu.chemin()));
        tenu.lache();
        autre.lache();
        QCOMPARE(nettoiepartiels(cible), 1);
        QVERIFY(!QFile::exists(tenu.chemin()));
        QVERIFY(QFile::exists(autre.chemin()));
    }

#ifdef Q_OS_LINUX
    // Exports killed at any moment: the partial files they leave are gone after the next good
    // export of the same film, and a killed PNG sequence leaves the frames of before, or a note
    // beside a sequence that is partly new.
    void exportstues_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("mp4") << QStringLiteral("mp4");
        QTest::newRow("png") << QStringLiteral("png");
    }
    void exportstues() {
        QFETCH(QString, format);
        QTemporaryDir d;
        Projet ancien, neuf;
        QVERIFY(ouvre(ancien, d.filePath(QStringLiteral("a.bmp")), 0xff0000ff));
        QVERIFY(ouvre(neuf, d.filePath(QStringLiteral("b.bmp")), 0xffff0000));
        const QString cible = d.filePath(nom(format));
        QCOMPARE(exporte(ancien, format, cible), std::nullopt);
        const int n = ancien.e->tlmax;
        const auto fichier = [&](int k) {
            return cible + QStringLiteral("%1.png").arg(k, 4, 10, QLatin1Char('0'));
        };
        const QString note = cible + QStringLiteral("-incomplet.txt");
        // The frames' map colour: 1 the old one, 2 the new one, 0 missing.
        const auto lequel = [&](int k) {
            const QImage i(fichier(k));
            if (i.isNull()) return 0;
            return i.pixel(3, 3) == 0xff0000ffu ? 1 : i.pixel(3, 3) == 0xffff0000u ? 2 : 3;
        };
        auto* g = QRandomGenerator::global();
        int meles = 0, notes = 0;
        int restes = 0;
        for (int essai = 0; essai < 12; ++essai) {
            // The sequence of before, whole, ahead of each kill.
            if (format == u"png") QCOMPARE(exporte(ancien, format, cible), std::nullopt);
            const pid_t pid = ::fork();
            if (pid == 0) {
                for (;;)
                    exporte(neuf, format, cible);
            }
            QVERIFY(pid > 0);
            ::usleep(g->bounded(20000, 400000));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            restes = std::max(restes, static_cast<int>(partiels(d.path()).size()));
            if (format != u"png") continue;
            QSet<int> vus;
            for (int k = 0; k <= n; ++k)
                vus.insert(lequel(k));
            if (vus.size() > 1) ++meles;
            if (QFile::exists(note)) ++notes;
            // Old, or new, or marked as partial.
            QVERIFY2(vus.size() == 1 || QFile::exists(note),
                     qPrintable(QStringLiteral("kill %1: mixed frames and no note").arg(essai)));
            QVERIFY(!vus.contains(0) || QFile::exists(note));
        }
        qInfo("12 kills: %d left mixed frames, %d a note, at most %d partial files at once", meles,
              notes, restes);
        // The next good export clears what the killed ones left.
        QCOMPARE(exporte(neuf, format, cible), std::nullopt);
        QCOMPARE(partiels(d.path()), QStringList());
        QVERIFY(!QFile::exists(note));
        if (format == u"png")
            for (int k = 0; k <= n; ++k)
                QCOMPARE(lequel(k), 2);
    }
#endif
};

QTEST_MAIN(TstEcritures)
#include "tst_ecritures.moc"
