#include "aideprojet.h"
#include "aidevideo.h"
#include "export/film.h"
#include "export/palette.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

void legende(Etat& e) {
    e.montre = true;
    e.unite = KM;
    e.lkm = QStringLiteral("1234");
    e.xt = 20;
    e.yt = 20;
}

// Peak signal-to-noise ratio of b against a, over the three colours.
double psnr(const QImage& a, const QImage& b) {
    double somme = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int dr = qRed(p[x]) - qRed(q[x]), dg = qGreen(p[x]) - qGreen(q[x]),
                      db = qBlue(p[x]) - qBlue(q[x]);
            somme += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = somme / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// A pixel of the route in frame p, as the film composes it (the last drawn point in the view).
QPoint pointvu(Etat& e, Surfaces& s, int p) {
    montreimage(e, s, p);
    QPoint trouve(-1, -1);
    for (int i = 0; i <= e.nbpt; ++i) {
        const QPoint q(e.ptx[i] - e.ascl, e.pty[i] - e.asch);
        if (s.vue.image().rect().contains(q) && s.vue.image().pixel(q) == qRgb(255, 0, 0))
            trouve = q;
    }
    return trouve;
}

std::optional<QString> exporte(Etat& e, Surfaces& s, const QString& chemin, Format f,
                               const OptionsFilm& o) {
    ExportVideo v(e, s);
    if (auto erreur = v.ouvre(chemin, f, o)) return erreur;
    while (!v.fini())
        if (auto erreur = v.etape()) return erreur;
    return v.ferme();
}

QByteArray somme(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
}

// The top-level boxes of an MP4 file, in order.
QStringList boites(const QString& chemin) {
    QFile f(chemin);
    QStringList l;
    if (!f.open(QIODevice::ReadOnly)) return l;
    while (!f.atEnd()) {
        const qint64 debut = f.pos();
        const QByteArray t = f.read(8);
        if (t.size() < 8) break;
        quint64 taille = 0;
        for (int k = 0; k < 4; ++k)
            taille = (taille << 8) | uchar(t[k]);
        l.append(QString::fromLatin1(t.mid(4, 4)));
        if (taille == 1) { // a 64-bit size follows
            const QByteArray g = f.read(8);
            taille = 0;
            for (char c : g)
                taille = (taille << 8) | uchar(c);
        }
        if (taille < 8 || !f.seek(debut + static_cast<qint64>(taille))) break;
    }
    return l;
}

} // namespace

class TstFormats : public QObject {
    Q_OBJECT

  private slots:
    void formatParExtension_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("format"); // -1: none
        QTest::addColumn<bool>("alpha");
        QTest::newRow("mp4") << "film.mp4" << int(Format::mp4) << false;
        QTest::newRow("MP4") << "/a/Film.MP4" << int(Format::mp4) << false;
        QTest::newRow("mkv") << "f.mkv" << int(Format::mkv) << true;
        QTest::newRow("mov") << "f.mov" << int(Format::mov) << true;
        QTest::newRow("webm") << "f.webm" << int(Format::webm) << true;
        QTest::newRow("gif") << "f.gif" << int(Format::gif) << false;
        QTest::newRow("apng") << "f.apng" << int(Format::apng) << false;
        QTest::newRow("png") << "f.png" << int(Format::png) << true;
        QTest::newRow("avi") << "f.avi" << int(Format::avi) << false;
        QTest::newRow("two dots") << "f.mp4.avi" << int(Format::avi) << false;
        QTest::newRow("none") << "film" << -1 << false;
        QTest::newRow("unknown") << "film.wmv" << -1 << false;
    }
    void formatParExtension() {
        QFETCH(QString, nom);
        QFETCH(int, format);
        QFETCH(bool, alpha);
        const auto f = formatdepuisnom(nom);
        QCOMPARE(f ? int(*f) : -1, format);
        if (f) QCOMPARE(avecalpha(*f), alpha);
    }

    // Higher quality never means a coarser setting, and every value is within its encoder's scale.
    void qualiteDansLesBornes() {
        for (int q = 1; q < 100; ++q) {
            QVERIFY(crfx264(q + 1) <= crfx264(q));
            QVERIFY(crfx265(q + 1) <= crfx265(q));
            QVERIFY(crfvp9(q + 1) <= crfvp9(q));
            QVERIFY(couleursgif(q + 1) >= couleursgif(q));
            QVERIFY(profilprores(q + 1, false) >= profilprores(q, false));
        }
        for (int q : {-5, 1, 60, 100, 500}) {
            QVERIFY(crfx264(q) >= 0 && crfx264(q) <= 51);
            QVERIFY(crfx265(q) >= 0 && crfx265(q) <= 51);
            QVERIFY(crfvp9(q) >= 0 && crfvp9(q) <= 63);
            QVERIFY(couleursgif(q) >= 16 && couleursgif(q) <= 256);
        }
        QCOMPARE(profilprores(60, true), 4); // alpha needs 4444
    }

    // A film of few colours keeps them exactly; a one-pixel route among thousands of map shades
    // still gets a colour of its own.
    void palette() {
        QImage peu(64, 64, QImage::Format_RGB32);
        const QRgb cinq[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(12, 200, 90), qRgb(255, 255, 255),
                             qRgb(90, 90, 240)};
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                peu.setPixel(x, y, cinq[(x / 8 + y) % 5]);
        Palette p;
        p.ajoute(peu);
        const QList<QRgb> c = p.calcule(256);
        QCOMPARE(c.size(), 5);
        const Table t(c);
        for (QRgb q : cinq)
            QCOMPARE(c[t.index(q)], q);

        QImage carte(720, 576, QImage::Format_RGB32);
        for (int y = 0; y < 576; ++y)
            for (int x = 0; x < 720; ++x)
                carte.setPixel(x, y, qRgb(x & 255, y & 255, (x + y) & 127));
        for (int x = 0; x < 40; ++x)
            carte.setPixel(300 + x, 200, qRgb(255, 0, 255));
        Palette q;
        q.ajoute(carte);
        const QList<QRgb> d = q.calcule(64);
        QCOMPARE(d.size(), 64);
        // Given the route's colour, the palette holds it exactly, and the map still has the rest.
        const QRgb magenta = qRgb(255, 0, 255);
        const QList<QRgb> r = q.calcule(64, {magenta, qRgb(0, 0, 0)});
        QCOMPARE(r.size(), 64);
        QCOMPARE(r[Table(r).index(magenta)], magenta);
        QVERIFY(!d.contains(magenta));
        // Imposed colours never take more than half the palette.
        QList<QRgb> beaucoup;
        for (int k = 0; k < 100; ++k)
            beaucoup.append(qRgb(k, 255 - k, 7));
        QCOMPARE(q.calcule(16, beaucoup).mid(0, 8), beaucoup.mid(0, 8));
        QCOMPARE(q.calcule(16, beaucoup).size(), 16);
        QVERIFY(!q.calcule(16, beaucoup).contains(beaucoup[8]));
    }

    void chaqueFormatRelu_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("hevc");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<bool>("cadence"); // the container keeps the exact rate
        QTest::newRow("mp4") << "f.mp4" << false << "h264" << true;
        QTest::newRow("mp4 h265") << "f.mp4" << true << "hevc" << true;
        QTest::newRow("mkv") << "f.mkv" << false << "h264" << true;
        QTest::newRow("mov") << "f.mov" << false << "prores" << true;
        QTest::newRow("webm") << "f.webm" << false << "vp9" << true;
        QTest::newRow("gif") << "f.gif" << false << "gif" << false;
        QTest::newRow("apng") << "f.apng" << false << "apng" << false;
        QTest::newRow("avi") << "f.avi" << false << "rawvideo" << true;
    }
    void chaqueFormatRelu() {
        QFETCH(QString, nom);
        QFETCH(bool, hevc);
        QFETCH(QString, codec);
        QFETCH(bool, cadence);
        constexpr int N = 10;
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, N);
        legende(*e);
        OptionsFilm o;
        o.hevc = hevc;
        const QString chemin = tmp.filePath(nom);
        QCOMPARE(exporte(*e, s, chemin, *formatdepuisnom(nom), o), std::nullopt);
        QCOMPARE(e->tl, N);
        // Nothing but the film is left beside it.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{nom});

        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.codec, codec);
        QCOMPARE(r.largeur, VUEL);
        QCOMPARE(r.hauteur, VUEH);
        if (cadence) QCOMPARE(double(r.ipsnum) / r.ipsden, 25.0);
        QCOMPARE(r.images.size(), N + 1);
        // The paletted formats keep the route's colour exactly.
        if (codec == QLatin1String("gif") || codec == QLatin1String("apng")) {
            const QPoint p = pointvu(*e, s, N);
            QCOMPARE(r.images[N].pixel(p), qRgb(255, 0, 0));
        }
        // Every frame is the right one, not a neighbour: nearer to its own composition.
        for (int n : {0, N / 2, N}) {
            montreimage(*e, s, n);
            const double juste = psnr(s.vue.image(), r.images[n]);
            QVERIFY2(juste > 25, qPrintable(QStringLiteral("%1: %2 dB").arg(n).arg(juste)));
            QVERIFY(juste > psnr(s.vue.image(), r.images[n == 0 ? 1 : n - 1]));
        }
    }

    // The MP4 for the web: key frames every two seconds, the index ahead of the data, and frames
    // that match the PNG sequence at the default quality.
    void mp4PourLeWeb() {
        constexpr int N = 120; // 4.8 s at 25 frames a second
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, N);
        legende(*e);
        const QString chemin = tmp.filePath(QStringLiteral("film.mp4"));
        QCOMPARE(exporte(*e, s, chemin, Format::mp4, OptionsFilm{}), std::nullopt);
        ExportPng png(*e, s, tmp.filePath(QStringLiteral("img")), false);
        while (!png.fini())
            QCOMPARE(png.etape(), std::nullopt);
        QCOMPARE(png.fichier(N), tmp.filePath(QStringLiteral("img0120.png")));

        const QStringList b = boites(chemin);
        QVERIFY2(b.indexOf(QStringLiteral("moov")) >= 0 &&
                     b.indexOf(QStringLiteral("moov")) < b.indexOf(QStringLiteral("mdat")),
                 qPrintable(b.join(' ')));

        const Relue r = relis(chemin);
        QCOMPARE(r.erreur, QString());
        QCOMPARE(r.images.size(), N + 1);
        QVERIFY2(r.cles.size() >= 3, qPrintable(QString::number(r.cles.size())));
        QCOMPARE(r.cles.first(), 0LL);
        for (qsizetype k = 1; k < r.cles.size(); ++k)
            QVERIFY(r.cles[k] - r.cles[k - 1] <= 50);
        // Measured against the frame as 4:2:0 holds it: halving the colour resolution alone
        // costs a map of sharp colour edges such as this one about 35 dB, lossless or not.
        for (int n = 0; n <= N; ++n) {
            const QImage attendue = par420(QImage(png.fichier(n)));
            const double db = psnr(attendue, r.images[n]);
            QVERIFY2(db > 40, qPrintable(QStringLiteral("image %1: %2 dB").arg(n).arg(db)));
        }
    }

    // Over any background the overlay gives what the film would show there: over black and over
    // white it is the frame composed on black or on white, within rounding.
    void superpositionRecomposee() {
        Surfaces s;
        auto e = projet(s, 10);
        legende(*e);
        e->okombre = true;
        e->xombre = 2;
        e->yombre = 2;
        e->coulombre = 0x808080;
        const QImage a = imagetransparente(*e, s, 5);
        QCOMPARE(a.format(), QImage::Format_ARGB32);
        QCOMPARE(e->tl, 5);
        for (Couleur fond : {0x000000, 0xffffff}) {
            montreimage(*e, s, 5, fond);
            QImage sur(a.size(), QImage::Format_RGB32);
            sur.fill(versqrgb(fond));
            {
                QPainter p(&sur);
                p.drawImage(0, 0, a);
            }
            int ecart = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    const QRgb u = sur.pixel(x, y), v = s.vue.image().pixel(x, y);
                    ecart =
                        std::max({ecart, std::abs(qRed(u) - qRed(v)),
                                  std::abs(qGreen(u) - qGreen(v)), std::abs(qBlue(u) - qBlue(v))});
                }
            QVERIFY2(ecart <= 2, qPrintable(QString::number(ecart)));
        }
        // The map is gone, the route and the legend are whole.
        QCOMPARE(qAlpha(a.pixel(700, 10)), 0);
        const QPoint route = pointvu(*e, s, 5);
        QVERIFY(route.x() >= 0);
        QCOMPARE(a.pixel(route), qRgba(255, 0, 0, 255));
        int legende = 0;
        for (int y = 15; y < 60; ++y)
            for (int x = 15; x < 150; ++x)
                legende += qAlpha(a.pixel(x, y)) == 255;
        QVERIFY(legende > 20);
    }

    void superpositionRelue_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("exacte"); // lossless alpha and colour
        QTest::newRow("mov prores 4444") << "f.mov" << false;
        QTest::newRow("webm vp9") << "f.webm" << false;
        QTest::newRow("mkv ffv1") << "f.mkv" << true;
        QTest::newRow("png") << "img" << true;
    }
    void superpositionRelue() {
        QFETCH(QString, nom);
        QFETCH(bool, exacte);
        constexpr int N = 6;
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, N);
        legende(*e);
        OptionsFilm o;
        o.transparent = true;
        QList<QImage> images;
        if (nom == QLatin1String("img")) {
            ExportPng png(*e, s, tmp.filePath(nom), true);
            while (!png.fini())
                QCOMPARE(png.etape(), std::nullopt);
            QCOMPARE(png.total(), N + 1);
            for (int n = 0; n <= N; ++n) {
                const QImage i(png.fichier(n));
                QVERIFY(i.hasAlphaChannel());
                images.append(i.convertToFormat(QImage::Format_ARGB32));
            }
        } else {
            const QString chemin = tmp.filePath(nom);
            QCOMPARE(exporte(*e, s, chemin, *formatdepuisnom(nom), o), std::nullopt);
            const Relue r = relis(chemin, true);
            QCOMPARE(r.erreur, QString());
            QCOMPARE(r.largeur, VUEL);
            QCOMPARE(r.images.size(), N + 1);
            images = r.images;
        }
        for (int n : {0, N}) {
            const QImage& i = images[n];
            montreimage(*e, s, n);
            // Away from the route and the legend nothing covers the footage.
            for (const QPoint p : {QPoint(700, 10), QPoint(600, 40), QPoint(10, 560)})
                QVERIFY2(qAlpha(i.pixel(p)) <= (exacte ? 0 : 8),
                         qPrintable(QStringLiteral("%1 %2,%3: %4")
                                        .arg(n)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(qAlpha(i.pixel(p)))));
            // The legend is there, opaque in its strokes.
            int opaque = 0;
            for (int y = 15; y < 60; ++y)
                for (int x = 15; x < 150; ++x)
                    opaque += qAlpha(i.pixel(x, y)) > 200;
            QVERIFY(opaque > 20);
        }
        // The route, red; a lossy codec blurs a one-pixel line somewhat.
        const QPoint p = pointvu(*e, s, N);
        QVERIFY(p.x() >= 0);
        const QRgb c = images[N].pixel(p);
        if (exacte) {
            QCOMPARE(c, qRgba(255, 0, 0, 255));
        } else {
            QVERIFY2(qAlpha(c) > 100 && qRed(c) > qGreen(c) + 60,
                     qPrintable(QString::number(c, 16)));
        }
    }

    void sansTransparence_data() {
        QTest::addColumn<QString>("nom");
        QTest::newRow("mp4") << "f.mp4";
        QTest::newRow("gif") << "f.gif";
        QTest::newRow("apng") << "f.apng";
    }
    void sansTransparence() {
        QFETCH(QString, nom);
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 3);
        OptionsFilm o;
        o.transparent = true;
        QCOMPARE(exporte(*e, s, tmp.filePath(nom), *formatdepuisnom(nom), o),
                 std::optional<QString>(errsansalpha()));
        QVERIFY(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // The quality setting means what it says: a lower one gives a smaller file.
    void qualiteEtTaille_data() {
        QTest::addColumn<QString>("nom");
        QTest::newRow("mp4") << "f.mp4";
        QTest::newRow("webm") << "f.webm";
        QTest::newRow("gif") << "f.gif";
    }
    void qualiteEtTaille() {
        QFETCH(QString, nom);
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 8);
        qint64 tailles[2];
        for (int k = 0; k < 2; ++k) {
            OptionsFilm o;
            o.qualite = k == 0 ? 20 : 90;
            const QString chemin = tmp.filePath(QString::number(k) + nom);
            QCOMPARE(exporte(*e, s, chemin, *formatdepuisnom(nom), o), std::nullopt);
            tailles[k] = QFileInfo(chemin).size();
        }
        QVERIFY2(tailles[0] < tailles[1],
                 qPrintable(QStringLiteral("%1 %2").arg(tailles[0]).arg(tailles[1])));
    }

    // A project with none of the new settings: its bitmap sequence and AVI stay the very bytes
    // they were (the four bitmaps, then the AVI, whose header names this FFmpeg's muxer version).
    void anciensFichiersInchanges() {
        QTemporaryDir tmp;
        Surfaces s;
        auto e = projet(s, 4);
        ExportSuite suite(*e, s, tmp.filePath(QStringLiteral("img")));
        while (!suite.fini())
            QCOMPARE(suite.etape(), std::nullopt);
        ExportVideo v(*e, s);
        const QString avi = tmp.filePath(QStringLiteral("film.avi"));
        QCOMPARE(v.ouvre(avi, OptionsVideo{}), std::nullopt);
        while (!v.fini())
            QCOMPARE(v.etape(), std::nullopt);
        QCOMPARE(v.ferme(), std::nullopt);
        QStringList sommes;
        for (int n = 1; n <= 4; ++n)
            sommes.append(QString::fromLatin1(
                somme(tmp.filePath(QStringLiteral("img%1.bmp").arg(n, 4, 10, QLatin1Char('0'))))));
        sommes.append(QString::fromLatin1(somme(avi)));
        QFile attendu(QStringLiteral(FIXTURES "/sommes/export.sha1"));
        QVERIFY(attendu.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(sommes.join('\n'), QString::fromLatin1(attendu.readAll()).trimmed());
    }
};

QTEST_MAIN(TstFormats)
#include "tst_formats.moc"
