// The film the export tests write: shared by the tests of every format.
#pragma once

#include "map/surfaces.h"
#include "timeline/temps.h"

#include <memory>

// A map twice the view's size, a diagonal route and a view that travels across the map, so
// that every frame differs from the one before.
inline std::unique_ptr<Etat> projet(Surfaces& s, int n) {
    auto e = nouveletat();
    const int l = 2 * VUEL, h = 2 * VUEH;
    s.carte.redimensionne(l, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x)
            s.carte.setpixel(x, y, (x & 255) | ((y & 255) << 8) | 0x400000);
    e->fichiercarte = QStringLiteral("carte.bmp");
    e->largeurcarte = l;
    e->hauteurcarte = h;
    e->asclmax = l - VUEL;
    e->aschmax = h - VUEH;
    e->nbpt = 999;
    for (int i = 0; i <= e->nbpt; ++i) {
        e->ptx[i] = 100 + i;
        e->pty[i] = 80 + i;
        e->ptcoul[i] = 0x0000ff;
    }
    for (int r : {10, 12, 15, 20, 24, 25, 30})
        e->cips.append(QStringLiteral("%1 images/secondes").arg(r));
    e->cipsindex = 5;
    e->cipstexte = e->cips[5];
    filmdepart(*e);
    e->nbi = QString::number(n);
    majduree(*e);
    majcles(*e);
    e->cledecx[1] = e->asclmax;
    e->cledecy[1] = e->aschmax;
    calculimages(*e);
    return e;
}
