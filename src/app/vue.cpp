#include "app/vue.h"

#include "map/surface.h"

#include <QMouseEvent>
#include <QPainter>

Vue::Vue(const Surface& surface, QWidget* parent) : QWidget(parent), surface(surface) {
    // The tracer shows the colour under the mouse before any button is pressed.
    setMouseTracking(true);
    // Every paint covers the whole widget with the surface.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Vue::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, surface.image());
}

void Vue::mouseMoveEvent(QMouseEvent* ev) {
    const QPoint q = ev->position().toPoint();
    emit bouge(q.x(), q.y());
}

void Vue::mousePressEvent(QMouseEvent* ev) {
    const QPoint q = ev->position().toPoint();
    emit appui(ev->button(), q.x(), q.y());
}
