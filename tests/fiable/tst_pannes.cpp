// Faults from outside: pictures that are not what they claim, files that cannot be written. Each
// must end with a message and leave the project as it was.
#include "aidepannes.h"

#include "../../fuzz/essaiimage.h"
#include "../../fuzz/essaiparametres.h"
#include "export/bmp.h"
#include "export/film.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "project/verrou.h"
#include "timeline/temps.h"

#include <QBuffer>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

#ifdef Q_OS_LINUX
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

// ---- Pictures -------------------------------------------------------------------------------

QByteArray le32(quint32 v) {
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray le16(quint16 v) {
    QByteArray b(2, 0);
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray be32(quint32 v) {
    QByteArray b(4, 0);
    qToBigEndian(v, b.data());
    return b;
}

// A 24-bit bitmap header announcing w x h, followed by `donnees` bytes of pixels.
QByteArray bmp(qint32 w, qint32 h, int donnees) {
    const quint32 ligne = (static_cast<quint32>(w) * 24 + 31) / 32 * 4;
    QByteArray b = "BM" + le32(54 + ligne * static_cast<quint32>(h)) + le32(0) + le32(54);
    b += le32(40) + le32(static_cast<quint32>(w)) + le32(static_cast<quint32>(h)) + le16(1) +
         le16(24) + le32(0) + le32(0) + le32(2835) + le32(2835) + le32(0) + le32(0);
    return b + QByteArray(donnees, '\x40');
}

// A real bitmap of w x h stored top-down (negative height), `bits` 8, 24 or 32: the first row
// stored, the top one, is red, every other blue.
QByteArray bmphautbas(qint32 w, qint32 h, int bits) {
    const quint32 ligne = (static_cast<quint32>(w) * bits + 31) / 32 * 4;
    const quint32 palette = bits == 8 ? 256 * 4 : 0;
    QByteArray b =
        "BM" + le32(54 + palette + ligne * static_cast<quint32>(h)) + le32(0) + le32(54 + palette);
    b += le32(40) + le32(static_cast<quint32>(w)) + le32(static_cast<quint32>(-h)) + le16(1) +
         le16(static_cast<quint16>(bits)) + le32(0) + le32(0) + le32(2835) + le32(2835) +
         le32(bits == 8 ? 256 : 0) + le32(0);
    if (bits == 8) {
        // Entry 0 blue, entry 1 red (blue, green, red, unused).
        b += QByteArray("\xff\x00\x00\x00\x00\x00\xff\x00", 8) + QByteArray(254 * 4, 0);
    }
    for (qint32 y = 0; y < h; ++y) {
        QByteArray r;
        for (qint32 x = 0; x < w; ++x) {
            if (bits == 8)
                r += y == 0 ? '\x01' : '\x00';
            else
                r += y == 0 ? QByteArray("\x00\x00\xff\x00", bits / 8)
                            : QByteArray("\xff\x00\x00\x00", bits / 8);
        }
        b += r + QByteArray(ligne - r.size(), 0);
    }
    return b;
}

quint32 crc32(const QByteArray& octets) {
    quint32 crc = 0xffffffffu;
    for (const char c : octets) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const QByteArray& type, const QByteArray& donnees) {
    return be32(static_cast<quint32>(donnees.size())) + type + donnees +
           be32(crc32(type + donnees));
}

// A PNG announcing w x h (8-bit RGB) whose pixel data is a few bytes and whose end is missing.
QByteArray pngentete(quint32 w, quint32 h) {
    const QByteArray ihdr = be32(w) + be32(h) + QByteArray("\x08\x02\x00\x00\x00", 5);
    // A zlib stream that starts well and stops: what a download cut short leaves.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) +
           chunk("IDAT", QByteArray("\x78\x9c\x62\x60\x18\x05", 6));
}

// A real picture of w x h in `format`, of noise so it does not compress to nothing.
QByteArray vraie(int w, int h, const char* format) {
    QImage img(w, h, QImage::Format_RGB32);
    auto* g = QRandomGenerator::global();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, g->generate() | 0xff000000u);
    QBuffer tampon;
    tampon.open(QIODevice::WriteOnly);
    img.save(&tampon, format);
    return tampon.data();
}

// A JPEG whose frame header is rewritten to announce w x h.
QByteArray jpegannonce(quint16 w, quint16 h) {
    QByteArray j = vraie(16, 16, "JPG");
    const qsizetype sof = j.indexOf("\xff\xc0");
    if (sof < 0) return {};
    qToBigEndian(h, j.data() + sof + 5);
    qToBigEndian(w, j.data() + sof + 7);
    return j;
}

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces s;
};

// What a load left: its issue and message, and the state it must not have changed.
QByteArray bilan(const Chargement& r, const Etat& e, const Surfaces& s) {
    return QByteArray::number(r.issue) + '|' + r.message.toUtf8() + '|' + e.fichiercarte.toUtf8() +
           '|' + e.fichiervisu.toUtf8() + '|' + e.fichierloupe.toUtf8() + '|' +
           QByteArray::number(s.carte.largeur()) + 'x' + QByteArray::number(s.carte.hauteur()) +
           '|' + QByteArray::number(s.loupe.largeur()) + 'x' +
           QByteArray::number(s.loupe.hauteur());
}

// ---- Projects -------------------------------------------------------------------------------

// A project whose parameters file goes to `dossier`, with a route of `points` points.
std::unique_ptr<Etat> projet(const QString& dossier, int points, int graine) {
    auto e = nouveletat();
    filmdepart(*e);
    e->dossiercarte = dossier + QLatin1Char('/');
    e->fichiercarte = QStringLiteral("carte.bmp");
    e->fichierparam = QStringLiteral("carte.vlp");
    e->bordnb = QStringLiteral("30"); // as the map load sets it
    e->nbpt = points - 1;
    for (int i = 0; i < points; ++i) {
        e->ptx[i] = (i * 7 + graine) % 8000;
        e->pty[i] = (i * 3 + graine) % 6000;
        e->ptcoul[i] = 0x0000ff + graine;
        e->pttron[i] = i / 1000;
    }
    return e;
}

#ifdef Q_OS_LINUX
// Runs `travail` while a watchdog stands by: a reader still blocked on the pipe `tube` after two
// seconds is freed by a writer that opens and closes it, and the run counts as blocked.
bool bloque(const QString& tube, const std::function<void()>& travail) {
    std::atomic<bool> fini = false, debloque = false;
    std::thread garde([&] {
        for (int n = 0; !fini; ++n) {
            ::usleep(20000);
            if (n < 100) continue;
            const int fd = ::open(QFile::encodeName(tube).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                debloque = true;
                ::close(fd);
            }
        }
    });
    travail();
    fini = true;
    garde.join();
    return debloque;
}
#endif

} // namespace

class TstPannes : public QObject {
    Q_OBJECT
    QTemporaryDir dossier;
    QString carte; // a good 720 x 576 map
    QString loupe; // a good 60 x 50 magnifier picture

    QString fichier(const QString& nom, const QByteArray& octets) {
        const QString chemin = dossier.filePath(nom);
        return ecrit(chemin, octets) ? chemin : QString();
    }

  private slots:
    void initTestCase() {
        QVERIFY(dossier.isValid());
        // The picture plugins are loaded here, once, not in the children of the measures.
        QVERIFY(!QImageReader::supportedImageFormats().isEmpty());
        QImage m(VUEL, VUEH, QImage::Format_RGB32);
        m.fill(0xff336699);
        carte = dossier.filePath(QStringLiteral("carte.bmp"));
        QVERIFY(m.save(carte, "BMP"));
        QImage l(60, 50, QImage::Format_RGB32);
        l.fill(0xff000000);
        loupe = dossier.filePath(QStringLiteral("loupe.bmp"));
        QVERIFY(l.save(loupe, "BMP"));
    }

    // A picture that lies about its size, is cut short or is no picture: every load refuses it
    // with a message, changes nothing, and never asks for the memory its header announces.
    void imagesrefusees_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("octets");
        QTest::newRow("bitmap 100000 x 100000") << "geante.bmp" << bmp(100000, 100000, 64);
        QTest::newRow("bitmap 8000 x 6000 cut short") << "coupee.bmp" << bmp(8000, 6000, 4096);
        QTest::newRow("bitmap 20000 x 20000 cut short") << "coupee2.bmp" << bmp(20000, 20000, 64);
        QTest::newRow("bitmap -720 wide") << "negative.bmp" << bmp(-720, 576, 4096);
        QTest::newRow("bitmap header only") << "entete.bmp" << bmp(720, 576, 0).left(30);
        QTest::newRow("PNG 100000 x 100000") << "geante.png" << pngentete(100000, 100000);
        QTest::newRow("PNG 8000 x 6000 cut short") << "coupee.png" << pngentete(8000, 6000);
        QTest::newRow("PNG 15000 x 15000 cut short") << "coupee2.png" << pngentete(15000, 15000);
        const QByteArray png = vraie(1000, 800, "PNG");
        QTest::newRow("PNG cut in half") << "moitie.png" << png.left(png.size() / 2);
        QTest::newRow("JPEG 65000 x 65000") << "geante.jpg" << jpegannonce(65000, 65000);
        QTest::newRow("JPEG 15000 x 15000 cut short") << "coupee.jpg" << jpegannonce(15000, 15000);
        const QByteArray jpg = vraie(1000, 800, "JPG");
        QTest::newRow("JPEG cut in half") << "moitie.jpg" << jpg.left(jpg.size() / 2);
        // Logical screen 100 x 100, first frame at 20000 x 18000 with nine bytes of pixels.
        QTest::newRow("GIF frame 20000 x 18000")
            << "geante.gif"
            << QByteArray("GIF89a\x64\x00\x64\x00\x00\x00\x00"
                          "\x2c\x00\x00\x00\x00\x20\x4e\x50\x46\x00"
                          "\x02\x02\x4c\x01\x00\x3b",
                          30);
        // A portable pixmap announcing 14000 x 14000 in a hundred bytes.
        QTest::newRow("PPM 14000 x 14000 in 100 bytes")
            << "geante.ppm" << QByteArray("P6\n14000 14000\n255\n") + QByteArray(80, '\x20');
        // Cut short after a thumbnail whose end marker would pass for the picture's.
        const QByteArray petit = vraie(300, 200, "JPG");
        const QByteArray vignette = "\xff\xfe" + QByteArray("\x00\x06", 2) + "\xff\xd9\xff\xd9";
        QTest::newRow("JPEG cut, end marker in a comment")
            << "vignette.jpg" << petit.left(2) + vignette + petit.mid(2, petit.size() / 2);
        // Its end marker is there, the middle of its data is not: the decoder says so.
        QTest::newRow("JPEG missing its middle")
            << "trou.jpg" << jpg.left(jpg.size() / 2) + jpg.right(2);
        QTest::newRow("text") << "texte.bmp" << QByteArray("Ceci n'est pas une image\r\n");
        QTest::newRow("empty") << "vide.bmp" << QByteArray();
        QTest::newRow("noise") << "bruit.png" << vraie(64, 64, "BMP").mid(54);
    }
    void imagesrefusees() {
        QFETCH(QString, nom);
        QFETCH(QByteArray, octets);
        const QString chemin = fichier(nom, octets);
        QVERIFY(!chemin.isEmpty());

        // The map, then the display picture and the magnifier picture over a loaded project.
        for (int charge = 0; charge < 3; ++charge) {
            Projet p;
            if (charge > 0) {
                QCOMPARE(chargecarte(*p.e, p.s, carte).issue, Chargement::ok);
                QCOMPARE(chargeloupe(*p.e, p.s, loupe).issue, Chargement::ok);
            }
            const QByteArray avant = bilan({}, *p.e, p.s);
            const Mesure m = mesure([&] {
                const Chargement r = charge == 0   ? chargecarte(*p.e, p.s, chemin)
                                     : charge == 1 ? chargevisu(*p.e, p.s, chemin)
                                                   : chargeloupe(*p.e, p.s, chemin);
                return bilan(r, *p.e, p.s);
            });
            QVERIFY2(m.fini, qPrintable(QStringLiteral("load %1 crashed").arg(charge)));
            const QList<QByteArray> apres = m.sortie.split('|');
            QCOMPARE(apres.size(), 7);
            QVERIFY2(apres[0].toInt() != Chargement::ok,
                     qPrintable(QStringLiteral("load %1 accepted it").arg(charge)));
            QVERIFY(!apres[1].isEmpty());
            qInfo("%s", apres[1].constData());
            QCOMPARE(apres.mid(2).join('|'), avant.split('|').mid(2).join('|'));
            QVERIFY2(
                m.croissancemio < 64,
                qPrintable(
                    QStringLiteral("load %1 asked for %2 MiB").arg(charge).arg(m.croissancemio)));
        }
    }

    // Bitmaps stored top-down are read by every load, the right way up.
    void bitmapshautbas_data() {
        QTest::addColumn<int>("bits");
        QTest::newRow("24 bits") << 24;
        QTest::newRow("32 bits") << 32;
        QTest::newRow("8 bits, palette") << 8;
    }
    void bitmapshautbas() {
        QFETCH(int, bits);
        const QString chemin =
            fichier(QStringLiteral("hautbas%1.bmp").arg(bits), bmphautbas(VUEL, VUEH, bits));
        QVERIFY(!chemin.isEmpty());
        QImage qt(chemin);
        QCOMPARE(qt.size(), QSize(VUEL, VUEH));
        QCOMPARE(qt.pixel(0, 0) & 0xffffff, 0xff0000u);
        for (int charge = 0; charge < 3; ++charge) {
            Projet p;
            if (charge > 0) QCOMPARE(chargecarte(*p.e, p.s, carte).issue, Chargement::ok);
            const Chargement r = charge == 0   ? chargecarte(*p.e, p.s, chemin)
                                 : charge == 1 ? chargevisu(*p.e, p.s, chemin)
                                               : chargeloupe(*p.e, p.s, chemin);
            QVERIFY2(r.issue == Chargement::ok, qPrintable(r.message));
            const Surface& s = charge == 2 ? p.s.loupe : p.s.carte;
            QCOMPARE(s.largeur(), VUEL);
            QCOMPARE(s.hauteur(), VUEH);
            // 0x00BBGGRR: red on top, blue below.
            QCOMPARE(s.pixel(3, 0), 0x0000ff);
            QCOMPARE(s.pixel(3, VUEH - 1), 0xff0000);
        }
    }

    // A pipe, a folder or a device named as a picture or as the parameters file is refused at
    // once, by every load, with its message; nothing waits for a writer.
    void pasunfichier() {
#ifdef Q_OS_LINUX
        QTemporaryDir d;
        const QString tube = d.filePath(QStringLiteral("tube.bmp"));
        QCOMPARE(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
        for (const QString& chemin : {tube, d.path(), QStringLiteral("/dev/zero")}) {
            for (int charge = 0; charge < 3; ++charge) {
                Projet p;
                if (charge > 0) QCOMPARE(chargecarte(*p.e, p.s, carte).issue, Chargement::ok);
                Chargement r;
                QVERIFY2(!bloque(tube,
                                 [&] {
                                     r = charge == 0   ? chargecarte(*p.e, p.s, chemin)
                                         : charge == 1 ? chargevisu(*p.e, p.s, chemin)
                                                       : chargeloupe(*p.e, p.s, chemin);
                                 }),
                         qPrintable(chemin));
                QCOMPARE(r.issue, Chargement::illisible);
                QVERIFY2(r.message.contains(QStringLiteral("fichier ordinaire")) ||
                             r.message.contains(QStringLiteral("dossier")),
                         qPrintable(r.message));
            }
        }
        // The parameters file beside the map is a pipe: "Charger" refuses it and changes nothing.
        QVERIFY(QFile::copy(carte, d.filePath(QStringLiteral("carte.bmp"))));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(d.filePath(QStringLiteral("carte.vlp"))).constData(), 0600),
            0);
        Projet p;
        const Chargement c = chargecarte(*p.e, p.s, d.filePath(QStringLiteral("carte.bmp")));
        QCOMPARE(c.issue, Chargement::ok);
        QVERIFY(c.parametres);
        const QByteArray avant = ecrisparametres(*p.e);
        std::optional<ErreurLecture> r;
        QStringList messages;
        QVERIFY(!bloque(d.filePath(QStringLiteral("carte.vlp")),
                        [&] { r = chargeprojet(*p.e, p.s, messages); }));
        QVERIFY(r);
        QCOMPARE(r->ligne, 0);
        QVERIFY2(r->message.contains(QStringLiteral("fichier ordinaire")), qPrintable(r->message));
        QCOMPARE(ecrisparametres(*p.e), avant);
#else
        QSKIP("named pipes are made the Linux way here");
#endif
    }

    // A picture just under the pixel limit is taken, and its load stays under 2 GB at its peak:
    // a 16-bit grey PNG decodes at 2 bytes a pixel, then is converted to 4.
    void grandeimage() {
        const qint32 w = 14000, h = 14000;
        QByteArray png;
        {
            // Rows of zeros with a byte of noise now and then, so the data is not packed past
            // what deflate can reach.
            QByteArray brut(static_cast<qsizetype>(h) * (1 + 2 * w), '\0');
            auto* g = QRandomGenerator::global();
            for (qsizetype i = 0; i < brut.size(); i += 509)
                brut[i] = static_cast<char>(g->bounded(256));
            for (qint32 y = 0; y < h; ++y)
                brut[static_cast<qsizetype>(y) * (1 + 2 * w)] = 0; // filter: none
            const QByteArray z = qCompress(brut, 1).mid(4);
            png = QByteArray("\x89PNG\r\n\x1a\n", 8) +
                  chunk("IHDR", be32(w) + be32(h) + QByteArray("\x10\x00\x00\x00\x00", 5)) +
                  chunk("IDAT", z) + chunk("IEND", {});
        }
        const QString chemin = fichier(QStringLiteral("grande.png"), png);
        png.clear();
        QVERIFY(!chemin.isEmpty());
        const Mesure m = mesure([&] {
            Projet p;
            const Chargement r = chargecarte(*p.e, p.s, chemin);
            return QByteArray::number(r.issue) + ' ' + QByteArray::number(p.s.carte.largeur()) +
                   ' ' + r.message.toUtf8();
        });
        QVERIFY(m.fini);
        QVERIFY2(m.sortie.startsWith("0 14000"), m.sortie.constData());
        qInfo("14000 x 14000, 16-bit grey: peak growth %lld MiB", m.croissancemio);
        QVERIFY(m.croissancemio < 2'000'000'000LL / (1024 * 1024));
        QFile::remove(chemin);
    }

    // The measure itself sees an allocation that is never touched.
    void mesurevoitallocation() {
        const Mesure m = mesure([] {
            QImage grande(8000, 6000, QImage::Format_RGB32);
            return QByteArray::number(grande.isNull());
        });
        QVERIFY(m.fini);
        QCOMPARE(m.sortie, QByteArray("0"));
        QVERIFY(m.croissancemio >= 180);
    }

    // A save that cannot be written leaves the former file byte for byte and says why.
    void sauvegarderatee_data() {
        QTest::addColumn<bool>("plein");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("full disk") << true;
    }
    void sauvegarderatee() {
        QFETCH(bool, plein);
        Volume v(dossier.filePath(plein ? QStringLiteral("plein") : QStringLiteral("ro")), 1024);
        if (!v.pret()) QSKIP(qPrintable(v.raison()));
        QString erreur;
        QVERIFY2(sauveparametres(*projet(v.chemin({}), 10, 1), erreur), qPrintable(erreur));
        const QByteArray ancien = lit(v.chemin(QStringLiteral("carte.vlp")));
        QVERIFY(!ancien.isEmpty());
        QVERIFY(plein ? v.remplit() : v.lectureseule());

        // A full route: far more than the free space.
        QVERIFY(!sauveparametres(*projet(v.chemin({}), MAXPT, 2), erreur));
        qInfo("%s", qPrintable(erreur));
        QVERIFY(erreur.contains(QStringLiteral("carte.vlp")));
        QVERIFY(erreur.size() > QStringLiteral("Impossible d'enregistrer ").size() +
                                    v.chemin(QStringLiteral("carte.vlp")).size() + 3);
        QCOMPARE(lit(v.chemin(QStringLiteral("carte.vlp"))), ancien);
        QCOMPARE(QDir(v.chemin({})).entryList(QDir::Files | QDir::Hidden).size(), plein ? 2 : 1);
    }

    // Exports into a folder that cannot be written stop with their message.
    void exportsrates_data() {
        QTest::addColumn<bool>("plein");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("full disk") << true;
    }
    void exportsrates() {
        QFETCH(bool, plein);
        Volume v(dossier.filePath(plein ? QStringLiteral("xplein") : QStringLiteral("xro")), 512);
        if (!v.pret()) QSKIP(qPrintable(v.raison()));
        QVERIFY(plein ? v.remplit() : v.lectureseule());
        Projet p;
        filmdepart(*p.e);
        QCOMPARE(chargecarte(*p.e, p.s, carte).issue, Chargement::ok);

        const std::optional<QString> bmp = ecritbmp(p.s.vue, v.chemin(QStringLiteral("vue.bmp")));
        QVERIFY(bmp && !bmp->isEmpty());

        ExportSuite suite(*p.e, p.s, v.chemin(QStringLiteral("film")));
        const std::optional<QString> s = suite.etape();
        QVERIFY(s && !s->isEmpty());
        QVERIFY(suite.fini());

        // The video may open on a full disk (its header fits in the buffers) and fail later.
        ExportVideo video(*p.e, p.s);
        std::optional<QString> m = video.ouvre(v.chemin(QStringLiteral("film.avi")), {});
        for (int n = 0; !m && !video.fini() && n < 200; ++n)
            m = video.etape();
        if (!m) m = video.ferme();
        QVERIFY(m && !m->isEmpty());
        qInfo("%s | %s | %s", qPrintable(*bmp), qPrintable(*s), qPrintable(*m));
    }

    // A parameters file with a bad line is refused whole, names its line, and the project stays
    // exactly as it was.
    void parametresrefuses_data() {
        QTest::addColumn<QByteArray>("octets");
        QTest::addColumn<int>("ligne");
        const QByteArray tete = "[CHEMIN]\r\n1\t2\t255\t0\r\n";
        QTest::newRow("not a number") << tete + "3\tx\t255\t0\r\n[IPS]\r\n25\r\n" << 3;
        QTest::newRow("1 MB line") << tete + QByteArray(1 << 20, '7') + "\r\n" << 3;
        QTest::newRow("NUL in a number") << tete + QByteArray("[IPS]\r\n2\0"
                                                              "5\r\n",
                                                              10)
                                         << 4;
        QByteArray points = "[CHEMIN]\r\n";
        for (int i = 0; i < 40000; ++i)
            points += QByteArray::number(i % 700) + "\t5\t255\t0\r\n";
        QTest::newRow("40000 points, the last one cut") << points + "7\t5\t255\r\n" << 40002;
        QTest::newRow("[OMBRE] without its tail") << tete + "[OMBRE]\r\n1\r\n0\r\n" << 6;
        QTest::newRow("Ctrl-Z inside [LOUPE]") << tete + "[LOUPE]\r\n\r\n40\x1a\r\n10\r\n1\r\n"
                                               << 6;
        // The file ends at the Ctrl-Z, in the middle of a point line.
        QTest::newRow("Ctrl-Z inside a point line") << tete + "3\t\x1a"
                                                              "4\t255\t0\r\n[IPS]\r\n25\r\n"
                                                    << 3;
    }
    void parametresrefuses() {
        QFETCH(QByteArray, octets);
        QFETCH(int, ligne);
        Projet p;
        *p.e = *projet(dossier.path(), 50, 3);
        QVERIFY(ecrit(cheminparametres(*p.e), octets));
        const QByteArray avant = ecrisparametres(*p.e);
        QStringList messages;
        const std::optional<ErreurLecture> r = chargeprojet(*p.e, p.s, messages);
        QVERIFY(r);
        qInfo("%s", qPrintable(r->message.left(200)));
        QCOMPARE(r->ligne, ligne);
        QVERIFY(r->message.contains(QString::number(ligne)));
        QVERIFY(r->texte.size() <= MAXLIGNE);
        QVERIFY(messages.isEmpty());
        QCOMPARE(ecrisparametres(*p.e), avant);
    }

    // A save killed at any moment leaves the file of before or the new one, whole.
    void sauvegardetuee() {
#ifdef Q_OS_LINUX
        QTemporaryDir d;
        const auto a = projet(d.path(), MAXPT, 4);
        const auto b = projet(d.path(), MAXPT / 2, 5);
        const QByteArray fa = ecrisparametres(*a), fb = ecrisparametres(*b);
        QString erreur;
        QVERIFY(sauveparametres(*a, erreur));
        auto* g = QRandomGenerator::global();
        int anciens = 0, nouveaux = 0;
        for (int essai = 0; essai < 60; ++essai) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                // Saves b and a in turn until killed.
                QString e;
                for (int n = 0;; ++n)
                    sauveparametres(n % 2 ? *a : *b, e);
            }
            QVERIFY(pid > 0);
            ::usleep(g->bounded(1000, 60000));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            const QByteArray f = lit(cheminparametres(*a));
            QVERIFY2(f == fa || f == fb, qPrintable(QString::number(f.size())));
            (f == fa ? anciens : nouveaux)++;
        }
        qInfo("60 kills: %d times the one, %d times the other", anciens, nouveaux);
#else
        QSKIP("fork and kill are the Linux way of this test");
#endif
    }

    // No export writes over the map, the display or magnifier picture or the parameters file,
    // whatever name leads there; nothing of the export is written then.
    void exportsurleprojet() {
        QTemporaryDir d;
        const QString plan = d.filePath(QStringLiteral("plan.bmp"));
        QVERIFY(QFile::copy(carte, plan));
        Projet p;
        filmdepart(*p.e);
        QCOMPARE(chargecarte(*p.e, p.s, plan).issue, Chargement::ok);
        QCOMPARE(chargeloupe(*p.e, p.s, loupe).issue, Chargement::ok);
        p.e->fichiervisu = d.filePath(QStringLiteral("film0003.bmp"));
        QVERIFY(QFile::link(plan, d.filePath(QStringLiteral("lien.avi"))));
        const QByteArray avant = lit(plan);
        for (const QString& cible : {plan, d.filePath(QStringLiteral("./plan.bmp")),
                                     d.filePath(QStringLiteral("lien.avi")), loupe,
                                     d.filePath(QStringLiteral("plan.vlp"))}) {
            ExportVideo v(*p.e, p.s);
            const std::optional<QString> refus = v.ouvre(cible, {});
            QVERIFY2(refus && refus->contains(QStringLiteral("du projet")), qPrintable(cible));
            QVERIFY(fichierduprojet(*p.e, cible));
        }
        QVERIFY(!fichierduprojet(*p.e, d.filePath(QStringLiteral("plan2.bmp"))));
        // Frame 3 of the sequence would be the display picture: frame 1 is not written either.
        ExportSuite suite(*p.e, p.s, d.filePath(QStringLiteral("film")));
        const std::optional<QString> refus = suite.etape();
        QVERIFY(refus && refus->contains(QStringLiteral("l'image de visu")));
        QVERIFY(suite.fini());
        QVERIFY(!QFile::exists(d.filePath(QStringLiteral("film0001.bmp"))));
        QCOMPARE(lit(plan), avant);
        QCOMPARE(lit(d.filePath(QStringLiteral("lien.avi"))), avant);
    }

    // A video export killed at any moment leaves the film of before whole, and a failed one
    // removes what it wrote.
    void videotuee() {
#ifdef Q_OS_LINUX
        QTemporaryDir d;
        Projet p;
        filmdepart(*p.e);
        QCOMPARE(chargecarte(*p.e, p.s, carte).issue, Chargement::ok);
        p.e->tlmax = 12;
        const QString film = d.filePath(QStringLiteral("film.avi"));
        const auto exporte = [&] {
            ExportVideo v(*p.e, p.s);
            if (v.ouvre(film, {})) return false;
            while (!v.fini())
                if (v.etape()) return false;
            return !v.ferme();
        };
        QVERIFY(exporte());
        const QByteArray complet = lit(film);
        QVERIFY(complet.size() > 13 * VUEL * VUEH * 3);
        auto* g = QRandomGenerator::global();
        for (int essai = 0; essai < 20; ++essai) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                for (;;)
                    exporte();
            }
            QVERIFY(pid > 0);
            ::usleep(g->bounded(5000, 300000));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            QVERIFY2(lit(film) == complet, qPrintable(QStringLiteral("kill %1").arg(essai)));
        }
        // What the killed exports left says what it is: a partial file, or one killed in the
        // moment it was being made and not yet named so.
        for (const QString& reste : QDir(d.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (reste == QLatin1String("film.avi")) continue;
            QVERIFY2(reste.startsWith(QLatin1String(".film.avi.")) &&
                         (reste.endsWith(QLatin1String(".partiel")) ||
                          reste.endsWith(QLatin1String(".creation"))),
                     qPrintable(reste));
        }

        // Stopped early over a film of that name: the film of before stays, the partial one goes.
        {
            ExportVideo v(*p.e, p.s);
            QVERIFY(!v.ouvre(film, {}));
            for (int n = 0; n < 4; ++n)
                QVERIFY(!v.etape());
            QVERIFY(!v.ferme());
            QVERIFY(v.ancien());
        }
        QCOMPARE(lit(film), complet);
        // And with no film of that name, the beginning takes the name: it plays to its last frame.
        const QString neuf = d.filePath(QStringLiteral("neuf.avi"));
        {
            ExportVideo v(*p.e, p.s);
            QVERIFY(!v.ouvre(neuf, {}));
            for (int n = 0; n < 4; ++n)
                QVERIFY(!v.etape());
            QVERIFY(!v.ferme());
            QVERIFY(!v.ancien());
        }
        QVERIFY(QFile::exists(neuf));
        QVERIFY(lit(neuf).size() < complet.size());
        // Dropped before its end without being closed: nothing is left of it.
        const int avant = QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size();
        {
            ExportVideo v(*p.e, p.s);
            QVERIFY(!v.ouvre(film, {}));
            QVERIFY(!v.etape());
        }
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(), avant);
        QCOMPARE(lit(film), complet);
#else
        QSKIP("fork and kill are the Linux way of this test");
#endif
    }

    // The project's lock: a second holder waits, then is refused with the name of the first.
    void verrou() {
        QTemporaryDir d;
        const QString vlp = d.filePath(QStringLiteral("carte.vlp"));
        QCOMPARE(parametresdecarte(d.filePath(QStringLiteral("carte.etape.bmp"))), vlp);
        auto premier = std::make_unique<Verrou>(vlp);
        QVERIFY(!premier->prend(0));
        Verrou second(vlp);
        QElapsedTimer t;
        t.start();
        const std::optional<QString> refus = second.prend(300);
        QVERIFY(refus);
        QVERIFY(t.elapsed() >= 250);
        qInfo("%s", qPrintable(*refus));
        QVERIFY(refus->contains(QString::number(QCoreApplication::applicationPid())));
        premier.reset();
        QVERIFY(!second.prend(0));
#ifdef Q_OS_LINUX
        // A holder killed before it let go leaves a lock that the next one takes over.
        const QString autre = d.filePath(QStringLiteral("autre.vlp"));
        const pid_t pid = ::fork();
        if (pid == 0) {
            Verrou v(autre);
            v.prend(0);
            ::kill(::getpid(), SIGKILL);
        }
        QVERIFY(pid > 0);
        ::waitpid(pid, nullptr, 0);
        QVERIFY(QFile::exists(autre + QStringLiteral(".lock")));
        Verrou apres(autre);
        QVERIFY(!apres.prend(0));
#endif
    }

    // Every input the picture fuzz target found, and its seeds, through the same loads.
    void entreesdufuzz() {
        int n = 0;
        for (const char* sous : {"regressions/image", "corpus/image"}) {
            QDirIterator i(
                QDir::cleanPath(QStringLiteral(FIXTURES "/../../fuzz/") + QLatin1String(sous)),
                QDir::Files);
            while (i.hasNext()) {
                const QString source = i.next();
                const QString chemin = fichieressai(lit(source), dossier.path());
                QVERIFY(!chemin.isEmpty());
                Projet p;
                QVERIFY2(essaiimage(chemin, *p.e, p.s), qPrintable(source));
                ++n;
            }
        }
        QVERIFY(n > 0);
    }

    // Every input the parameters-file fuzz target found, and its seeds, through the reader and
    // applied to a project.
    void entreesdufuzzparametres() {
        Projet depart;
        QVERIFY(projetessai(*depart.e, depart.s, carte, loupe));
        int n = 0;
        for (const char* sous : {"regressions/parametres", "corpus/parametres"}) {
            QDirIterator i(
                QDir::cleanPath(QStringLiteral(FIXTURES "/../../fuzz/") + QLatin1String(sous)),
                QDir::Files);
            while (i.hasNext()) {
                const QString source = i.next();
                Projet p;
                *p.e = *depart.e;
                p.s = depart.s;
                QVERIFY2(essaiparametres(lit(source), *p.e, p.s), qPrintable(source));
                ++n;
            }
        }
        QVERIFY(n > 0);
    }
};

QTEST_MAIN(TstPannes)
#include "tst_pannes.moc"
