#include "app/glyphes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPainterPath triangle(qreal x, bool droite) {
    QPainterPath p;
    const qreal pointe = droite ? x + 7 : x;
    const qreal base = droite ? x : x + 7;
    p.moveTo(base, 7);
    p.lineTo(pointe, 12);
    p.lineTo(base, 17);
    p.closeSubpath();
    return p;
}

QPainterPath barre(qreal x) {
    QPainterPath p;
    p.addRect(x, 7, 2, 10);
    return p;
}

QPainterPath symbole(Glyphe g) {
    QPainterPath p;
    switch (g) {
    case Glyphe::debut:
        p.addPath(barre(7));
        p.addPath(triangle(10, false));
        break;
    case Glyphe::joue:
    case Glyphe::suiv:
        p.addPath(triangle(9, true));
        break;
    case Glyphe::stop:
        p.addRect(8, 7, 9, 10);
        break;
    case Glyphe::pred:
        p.addPath(triangle(9, false));
        break;
    case Glyphe::dern:
        p.addPath(triangle(8, true));
        p.addPath(barre(16));
        break;
    }
    return p;
}

} // namespace

QPixmap glyphe(Glyphe g) {
    QPixmap pm(GLYPHEL, GLYPHEH);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient face(0, 0, 0, GLYPHEH);
    face.setColorAt(0, QColor(0x6f, 0xa8, 0xf0));
    face.setColorAt(1, QColor(0x1c, 0x4f, 0xb0));
    p.setPen(QPen(QColor(0x10, 0x30, 0x78), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, GLYPHEL - 1, GLYPHEH - 1), 6, 6);

    // Embossed: a dark copy one pixel down and right, the light symbol over it.
    const QPainterPath s = symbole(g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x26, 0x60));
    p.drawPath(s.translated(1, 1));
    p.setBrush(QColor(0xe8, 0xf2, 0xff));
    p.drawPath(s);
    return pm;
}
