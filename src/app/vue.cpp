#include "app/vue.h"

#include "map/surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

Vue::Vue(const Surface& surface, QWidget* parent) : QWidget(parent), surface(surface) {
    // The tracer shows the colour under the mouse before any button is pressed.
    setMouseTracking(true);
    // Every paint covers the whole widget.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF Vue::cadre() const {
    const double l = surface.largeur(), h = surface.hauteur();
    if (l <= 0 || h <= 0) return QRectF(rect());
    if (l == width() && h == height()) return QRectF(0, 0, l, h);
    const double k = std::min(width() / l, height() / h);
    const double cl = l * k, ch = h * k;
    return QRectF((width() - cl) / 2, (height() - ch) / 2, cl, ch);
}

bool Vue::verscadre(QPointF p, int& x, int& y) const {
    const QRectF c = cadre();
    if (c.width() <= 0 || c.height() <= 0) return false;
    const double fx = (p.x() - c.x()) * surface.largeur() / c.width();
    const double fy = (p.y() - c.y()) * surface.hauteur() / c.height();
    x = static_cast<int>(std::floor(fx));
    y = static_cast<int>(std::floor(fy));
    return x >= 0 && y >= 0 && x < surface.largeur() && y < surface.hauteur();
}

void Vue::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF c = cadre();
    if (c == QRectF(0, 0, surface.largeur(), surface.hauteur())) {
        p.drawImage(0, 0, surface.image());
    } else {
        p.fillRect(rect(), QColor(32, 32, 32));
        // Scaled down from the film's own pixels, so the window shows what the film will.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(c, surface.image());
    }
    if (!apercu.isNull()) {
        const QRect r = placecarte();
        p.setOpacity(0.85);
        p.drawImage(r.topLeft(), apercu);
        p.setOpacity(1);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.setPen(QPen(QColor(230, 30, 30), 2));
        p.drawRect(placechamp());
    }
}

QRect Vue::placecarte() const {
    return QRect(QPoint(width() - apercu.width() - 8, 8), apercu.size());
}

QRect Vue::placechamp() const {
    if (apercu.isNull() || tailletotale.isEmpty()) return {};
    const QRect r = placecarte();
    const double k = double(apercu.width()) / tailletotale.width();
    return QRect(r.x() + int(std::lround(champ.x() * k)), r.y() + int(std::lround(champ.y() * k)),
                 std::max(2, int(std::lround(champ.width() * k))),
                 std::max(2, int(std::lround(champ.height() * k))));
}

void Vue::montrecarte(const QImage& carte, const QRect& c) {
    if (carte.isNull()) return;
    // Reduced once per picture: 160 pixels on its longer side.
    if (carte.cacheKey() != cleapercu || apercu.isNull()) {
        apercu = carte.scaled(QSize(160, 160), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        cleapercu = carte.cacheKey();
        tailletotale = carte.size();
    }
    champ = c;
    if (!efface) {
        efface = new QTimer(this);
        efface->setSingleShot(true);
        connect(efface, &QTimer::timeout, this, [this] {
            apercu = QImage();
            update();
        });
    }
    efface->start(1500);
    update();
}

void Vue::mouseMoveEvent(QMouseEvent* ev) {
    if (ev->buttons() & (Qt::MiddleButton | Qt::LeftButton)) {
        const QRectF c = cadre();
        if (c.width() > 0 && c.height() > 0) {
            const QPointF f((ev->position().x() - c.x()) * surface.largeur() / c.width(),
                            (ev->position().y() - c.y()) * surface.hauteur() / c.height());
            const QPointF d = f - prise;
            if (std::abs(d.x()) >= 1 || std::abs(d.y()) >= 1) {
                const int dx = static_cast<int>(d.x()), dy = static_cast<int>(d.y());
                prise += QPointF(dx, dy);
                emit glisse(dx, dy, ev->buttons());
            }
        }
    }
    int x = 0, y = 0;
    // Over the bands the position is past the frame: nothing is there to read.
    if (!verscadre(ev->position(), x, y)) x = y = -1;
    emit bouge(x, y);
}

void Vue::mousePressEvent(QMouseEvent* ev) {
    const QRectF c = cadre();
    if (c.width() > 0 && c.height() > 0)
        prise = QPointF((ev->position().x() - c.x()) * surface.largeur() / c.width(),
                        (ev->position().y() - c.y()) * surface.hauteur() / c.height());
    int x = 0, y = 0;
    if (!verscadre(ev->position(), x, y)) return;
    emit appui(ev->button(), x, y);
}

void Vue::wheelEvent(QWheelEvent* ev) {
    // Touchpads send small angles: whole notches of 120 make a step.
    QPoint a = ev->angleDelta();
    cumul += a.y() != 0 ? a.y() : a.x();
    const int pas = cumul / 120;
    cumul -= pas * 120;
    if (pas != 0) emit roule(pas, ev->modifiers());
    ev->accept();
}
