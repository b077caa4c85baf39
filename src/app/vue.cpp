#include "app/vue.h"

#include "map/surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MAXGROSSI = 8;

} // namespace

Vue::Vue(const Surface& surface, QWidget* parent) : QWidget(parent), surface(surface) {
    // The tracer shows the colour under the mouse before any button is pressed.
    setMouseTracking(true);
    // Every paint covers the whole widget.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double Vue::echelle() const {
    const double l = surface.largeur(), h = surface.hauteur();
    if (l <= 0 || h <= 0) return 1;
    const double r = devicePixelRatioF();
    const double dl = std::floor(width() * r), dh = std::floor(height() * r);
    // Never enlarged: a frame that fits is shown pixel for pixel.
    if (l <= dl && h <= dh) return 1;
    return std::min(dl / l, dh / h);
}

QRect Vue::cadrephysique() const {
    const double r = devicePixelRatioF();
    const int dl = static_cast<int>(std::floor(width() * r));
    const int dh = static_cast<int>(std::floor(height() * r));
    const int l = surface.largeur(), h = surface.hauteur();
    return QRect((dl - l) / 2, (dh - h) / 2, l, h);
}

QRectF Vue::cadre() const {
    const double l = surface.largeur(), h = surface.hauteur();
    if (l <= 0 || h <= 0) return QRectF(rect());
    const double k = echelle();
    if (k == 1) {
        // On whole device pixels, so that nothing is resampled.
        const QRect d = cadrephysique();
        const double r = devicePixelRatioF();
        return QRectF(d.x() / r, d.y() / r, d.width() / r, d.height() / r);
    }
    const double r = devicePixelRatioF();
    const double cl = l * k / r, ch = h * k / r;
    return QRectF((width() - cl) / 2, (height() - ch) / 2, cl, ch);
}

QRectF Vue::montre() const {
    const double l = surface.largeur(), h = surface.hauteur();
    if (grossi <= 1 || l <= 0 || h <= 0) return QRectF(0, 0, l, h);
    const double sl = l / grossi, sh = h / grossi;
    return QRectF(std::clamp(origine.x(), 0.0, l - sl), std::clamp(origine.y(), 0.0, h - sh), sl,
                  sh);
}

QPointF Vue::verstrame(QPointF p) const {
    const QRectF c = cadre(), s = montre();
    if (c.width() <= 0 || c.height() <= 0) return {};
    return {s.x() + (p.x() - c.x()) * s.width() / c.width(),
            s.y() + (p.y() - c.y()) * s.height() / c.height()};
}

bool Vue::verscadre(QPointF p, int& x, int& y) const {
    const QRectF c = cadre();
    if (c.width() <= 0 || c.height() <= 0) return false;
    const QPointF f = verstrame(p);
    x = static_cast<int>(std::floor(f.x()));
    y = static_cast<int>(std::floor(f.y()));
    return x >= 0 && y >= 0 && x < surface.largeur() && y < surface.hauteur();
}

void Vue::grossit(int pas, QPointF ou) {
    int g = grossi;
    for (; pas > 0; --pas)
        g = std::min(MAXGROSSI, g * 2);
    for (; pas < 0; ++pas)
        g = std::max(1, g / 2);
    if (g == grossi) return;
    const double l = surface.largeur(), h = surface.hauteur();
    const QRectF c = cadre();
    if (l <= 0 || h <= 0 || c.width() <= 0) return;
    // The frame pixel under the mouse stays under it.
    const QPointF f = verstrame(ou);
    grossi = g;
    const double sl = l / g, sh = h / g;
    const double ox = f.x() - (ou.x() - c.x()) * sl / c.width();
    const double oy = f.y() - (ou.y() - c.y()) * sh / c.height();
    // On whole frame pixels: each one then takes whole screen pixels.
    origine =
        QPointF(std::clamp(std::round(ox), 0.0, l - sl), std::clamp(std::round(oy), 0.0, h - sh));
    update();
}

void Vue::remetgrossissement() {
    if (grossi == 1) return;
    grossi = 1;
    origine = {};
    update();
}

void Vue::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF c = cadre();
    const QRectF s = montre();
    const double k = echelle();
    if (c != QRectF(rect())) p.fillRect(rect(), QColor(32, 32, 32));
    if (k == 1 && grossi == 1 && devicePixelRatioF() == 1) {
        p.drawImage(c.topLeft(), surface.image());
    } else {
        // Scaled down from the film's own pixels, so the window shows what the film will; a
        // zoom for aiming shows whole pixels.
        p.setRenderHint(QPainter::SmoothPixmapTransform, k * grossi < 1);
        p.drawImage(c, surface.image(), s);
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
    if (!loupe.isNull()) {
        const QRect r = placeloupe();
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(r, loupe);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        // The aimed pixel, outlined in white then black so that it shows on any colour.
        const int m = COTELOUPE / 2 * GROSSILOUPE;
        const QRect vise(r.x() + m, r.y() + m, GROSSILOUPE, GROSSILOUPE);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(vise.adjusted(-1, -1, 0, 0));
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(vise.adjusted(-2, -2, 1, 1));
        // Its colour, below the square (above it near the bottom edge).
        const QString t =
            QStringLiteral("#%1").arg(couleurloupe & 0xffffff, 6, 16, QLatin1Char('0')).toUpper();
        const QFontMetrics fm(font());
        const int th = fm.height() + 4;
        const int ty = r.bottom() + 2 + th <= height() ? r.bottom() + 2 : r.top() - 2 - th;
        const QRect bande(r.x(), ty, r.width(), th);
        p.fillRect(bande, QColor(255, 255, 225));
        p.setPen(Qt::black);
        p.drawRect(bande.adjusted(0, 0, -1, -1));
        const QRect nuance(bande.x() + 3, bande.y() + 3, th - 6, th - 6);
        p.fillRect(nuance, QColor::fromRgb(couleurloupe));
        p.drawRect(nuance.adjusted(0, 0, -1, -1));
        p.drawText(bande.adjusted(th, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, t);
    }
}

QRect Vue::placeloupe() const {
    const int cote = COTELOUPE * GROSSILOUPE;
    // Centred on the cursor: the aimed pixel is the one under its cross-hair.
    const QPoint m(static_cast<int>(std::floor(dernier.x())),
                   static_cast<int>(std::floor(dernier.y())));
    return QRect(m.x() - cote / 2, m.y() - cote / 2, cote, cote);
}

void Vue::montreloupe(const QImage& pixels, QRgb couleur) {
    loupe = pixels;
    couleurloupe = couleur;
    update();
}

void Vue::cacheloupe() {
    if (loupe.isNull()) return;
    loupe = QImage();
    update();
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

QImage Vue::reduis(const QImage& carte) {
    if (carte.isNull()) return {};
    // A large map is first sampled down to eight times the size: averaging all its pixels would
    // take seconds for a picture 160 pixels wide.
    const QImage& source =
        std::max(carte.width(), carte.height()) > 8 * 160
            ? carte.scaled(QSize(8 * 160, 8 * 160), Qt::KeepAspectRatio, Qt::FastTransformation)
            : carte;
    return source.scaled(QSize(160, 160), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void Vue::montrecarte(const QImage& carte, const QRect& c, const QImage& reduite) {
    if (carte.isNull()) return;
    // Reduced once per picture: 160 pixels on its longer side.
    if (carte.cacheKey() != cleapercu || apercu.isNull()) {
        apercu = reduite.isNull() ? reduis(carte) : reduite;
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
    dernier = ev->position();
    if (ev->buttons() & (Qt::MiddleButton | Qt::LeftButton)) {
        const QRectF c = cadre();
        if (c.width() > 0 && c.height() > 0) {
            const QPointF d = verstrame(ev->position()) - prise;
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
    dernier = ev->position();
    const QRectF c = cadre();
    if (c.width() > 0 && c.height() > 0) prise = verstrame(ev->position());
    int x = 0, y = 0;
    if (!verscadre(ev->position(), x, y)) return;
    emit appui(ev->button(), x, y);
}

void Vue::wheelEvent(QWheelEvent* ev) {
    dernier = ev->position();
    // Touchpads send small angles: whole notches of 120 make a step.
    QPoint a = ev->angleDelta();
    cumul += a.y() != 0 ? a.y() : a.x();
    const int pas = cumul / 120;
    cumul -= pas * 120;
    if (pas != 0) emit roule(pas, ev->modifiers());
    ev->accept();
}

void Vue::leaveEvent(QEvent* ev) {
    cacheloupe();
    emit quitte();
    QWidget::leaveEvent(ev);
}
