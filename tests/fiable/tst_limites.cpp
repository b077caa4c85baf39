// The largest project the tables hold: an 8000 x 6000 map, a route of 36001 points, a film of
// 2900 frames, shown frame by frame as playback does and exported whole.
#include "export/film.h"
#include "project/carte.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The resident memory of this process now and at its peak, in MiB ("VmRSS", "VmHWM").
long long memoire(const char* cle) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(QByteArray(cle) + ':'))
            return l.mid(qstrlen(cle) + 1).trimmed().split(' ').value(0).toLongLong() / 1024;
    return -1;
}

} // namespace

class TstLimites : public QObject {
    Q_OBJECT

  private slots:
    void filmleplusgrand() {
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        auto e = nouveletat();
        Surfaces s;
        filmdepart(*e);
        {
            // A uniform map compresses to little on disk; in memory it takes its full size.
            QImage m(8000, 6000, QImage::Format_RGB32);
            m.fill(0xff5a7a3c);
            QVERIFY(m.save(dossier.filePath(QStringLiteral("carte.png")), "PNG"));
        }
        QCOMPARE(chargecarte(*e, s, dossier.filePath(QStringLiteral("carte.png"))).issue,
                 Chargement::ok);
        QCOMPARE(s.carte.largeur(), 8000);

        // A route of 36001 points zigzagging over the whole map.
        e->nbpt = MAXPT - 1;
        for (int i = 0; i < MAXPT; ++i) {
            e->ptx[i] = i * 8000 / MAXPT;
            e->pty[i] = (i % 2000) * 3;
            e->ptcoul[i] = 0x0000ff;
        }
        // The longest film, panning from one corner of the map to the other.
        int dernier = 0;
        for (int n = 0; n < 200 && dernier < MAXNBI; ++n)
            dernier = dureeplus(*e, e->ips);
        QCOMPARE(e->nbimg, MAXNBI);
        e->cledecx[e->nbcle - 1] = 8000 - VUEL;
        e->cledecy[e->nbcle - 1] = 6000 - VUEH;
        calculimages(*e);
        const long long chargee = memoire("VmHWM");

        // Playback: every frame shown in turn.
        for (int n = 0; n <= MAXNBI; ++n)
            montreimage(*e, s, n);
        QCOMPARE(e->tl, MAXNBI);
        QCOMPARE(s.vue.pixel(0, 0), depuisqrgb(0xff5a7a3c));

        // The export: all 2901 frames in one video.
        const QString chemin = dossier.filePath(QStringLiteral("film.avi"));
        ExportVideo video(*e, s);
        QCOMPARE(video.ouvre(chemin, OptionsVideo{Codec::mjpeg}), std::nullopt);
        while (!video.fini())
            QCOMPARE(video.etape(), std::nullopt);
        QCOMPARE(video.ferme(), std::nullopt);
        QCOMPARE(video.faites(), MAXNBI + 1);
        QVERIFY(QFileInfo(chemin).size() > 100 * 1024);
        qInfo("peak resident memory: %lld MiB with the map and the route loaded, %lld MiB after "
              "playing and exporting 2901 frames",
              chargee, memoire("VmHWM"));
    }
};

QTEST_GUILESS_MAIN(TstLimites)
#include "tst_limites.moc"
