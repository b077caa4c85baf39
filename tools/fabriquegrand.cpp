// Makes the largest project the tables hold, to measure the command line on it:
//   fabriquegrand DOSSIER
// writes DOSSIER/carte.bmp (8000 x 6000), DOSSIER/loupe.bmp and DOSSIER/carte.vlp: a route of
// 36001 points zigzagging over the whole map, a film of 2900 frames panning from one corner to
// the other, the legend with its shadow, the tip and the magnifier.
#include "project/carte.h"
#include "project/parametres.h"
#include "route/lisse.h"
#include "timeline/temps.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage : fabriquegrand DOSSIER\n");
        return 2;
    }
    const QDir dossier(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dossier.path())) {
        std::fprintf(stderr, "dossier impossible : %s\n", argv[1]);
        return 1;
    }
    const int l = 8000, h = 6000;
    {
        // A gradient, so the map is as large on disk as in memory.
        QImage m(l, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            auto* ligne = reinterpret_cast<QRgb*>(m.scanLine(y));
            for (int x = 0; x < l; ++x)
                ligne[x] = qRgb(x * 255 / l, y * 255 / h, (x + y) & 255);
        }
        QImage loupe(120, 100, QImage::Format_RGB32);
        loupe.fill(0xff00ff00);
        for (int y = 10; y < 90; ++y)
            for (int x = 10; x < 110; ++x)
                loupe.setPixel(x, y, 0xffffffff);
        if (!m.save(dossier.filePath(QStringLiteral("carte.bmp")), "BMP") ||
            !loupe.save(dossier.filePath(QStringLiteral("loupe.bmp")), "BMP")) {
            std::fprintf(stderr, "écriture impossible dans %s\n", argv[1]);
            return 1;
        }
    }

    auto e = nouveletat();
    Surfaces s;
    filmdepart(*e);
    if (chargecarte(*e, s, dossier.filePath(QStringLiteral("carte.bmp"))).issue != Chargement::ok ||
        chargeloupe(*e, s, dossier.filePath(QStringLiteral("loupe.bmp"))).issue != Chargement::ok) {
        std::fprintf(stderr, "cartes illisibles\n");
        return 1;
    }
    e->nbpt = MAXPT - 1;
    for (int i = 0; i < MAXPT; ++i) {
        e->ptx[i] = i * l / MAXPT;
        e->pty[i] = (i % 2000) * 3;
        e->ptcoul[i] = 0x0000ff;
    }
    lisseloupe(*e);
    while (e->nbimg < MAXNBI)
        dureeplus(*e, e->ips);
    e->cledecx[e->nbcle - 1] = l - VUEL;
    e->cledecy[e->nbcle - 1] = h - VUEH;
    calculimages(*e);
    e->checkbox1 = true;
    e->bordnb = QStringLiteral("30");
    e->coulbord = 0x00ffff;
    e->montre = true;
    e->unite = KM;
    e->lkm = QStringLiteral("1234");
    e->okombre = true;
    e->okloupe = true;
    e->txloupe = 50;
    QString erreur;
    if (!sauveparametres(*e, erreur)) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur));
        return 1;
    }
    return 0;
}
