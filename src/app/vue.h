// The view control: paints the view surface and passes the mouse to the tracer. The frame is
// painted one frame pixel to one screen pixel (device pixels on a high-DPI screen) whenever it
// fits, centred between dark bands; a frame too large for the control is scaled down to fit,
// smoothly. Mouse positions are given in frame pixels. Composing a frame never touches this
// widget; presenting is asking it to repaint.
//
// While a trace waits for its start click the control can be zoomed in (whole frame pixels, for
// aiming only) and shows a magnifier under the cursor: both are the window's, never the film's.
#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

class QTimer;
class Surface;

class Vue : public QWidget {
    Q_OBJECT
  public:
    // `surface` is borrowed and must outlive the widget; it may change size, it is read at paint.
    explicit Vue(const Surface& surface, QWidget* parent = nullptr);

    // Where the frame is painted in the control (logical pixels).
    QRectF cadre() const;
    // The part of the frame shown there, in frame pixels: the whole frame unless zoomed in.
    QRectF montre() const;
    // The frame pixel under a control position; false outside the frame.
    bool verscadre(QPointF p, int& x, int& y) const;
    // Screen pixels (device pixels) a frame pixel takes.
    double echelle() const;

    // The zoom of the control for aiming: `pas` steps of a doubling (up to 8 x), around the
    // control position `ou`, which keeps the frame pixel it shows. 1 shows the whole frame.
    void grossit(int pas, QPointF ou);
    void grossit(int pas) { grossit(pas, dernier); }
    int grossissement() const { return grossi; }
    void remetgrossissement();

    // The magnifier: `pixels` (an odd square of source pixels, the aimed one in its middle) shown
    // GROSSILOUPE times larger, centred under the cursor, the middle pixel outlined, with the
    // colour `couleur` written below. Hidden by cacheloupe() and when the mouse leaves.
    static constexpr int COTELOUPE = 15;
    static constexpr int GROSSILOUPE = 8;
    void montreloupe(const QImage& pixels, QRgb couleur);
    void cacheloupe();
    bool loupevisible() const { return !loupe.isNull(); }
    // Where the magnifier stands in the control.
    QRect placeloupe() const;

    // The small map in the view's corner, shown for a moment while the user moves the view:
    // the whole map and the camera's rectangle `champ` (map pixels) on it. Never in the film.
    // `apercu` is that map already reduced, when the caller has it.
    void montrecarte(const QImage& carte, const QRect& champ, const QImage& reduite = QImage());
    bool cartevisible() const { return !apercu.isNull(); }
    // Where the small map and the camera's rectangle stand in the control.
    QRect placecarte() const;
    QRect placechamp() const;
    // The map reduced for the small map, 160 pixels on its longer side (slow on a large map:
    // callers may make it away from the window's thread).
    static QImage reduis(const QImage& carte);

    // The mouse's last place in the control.
    QPointF souris() const { return dernier; }

  signals:
    void bouge(int x, int y);
    void appui(Qt::MouseButton bouton, int x, int y);
    // The wheel, in steps (one notch = 1; up and left are positive).
    void roule(int pas, Qt::KeyboardModifiers touches);
    // A drag with the middle button, or with the left one: the move in frame pixels.
    void glisse(int dx, int dy, Qt::MouseButtons boutons);
    void quitte();

  protected:
    void paintEvent(QPaintEvent* ev) override;
    void mouseMoveEvent(QMouseEvent* ev) override;
    void mousePressEvent(QMouseEvent* ev) override;
    void wheelEvent(QWheelEvent* ev) override;
    void leaveEvent(QEvent* ev) override;

  private:
    // The frame's place in device pixels.
    QRect cadrephysique() const;
    QPointF verstrame(QPointF p) const;

    const Surface& surface;
    QImage apercu;      // the map, reduced
    QSize tailletotale; // the map's own size
    qint64 cleapercu = 0;
    QRect champ;
    QTimer* efface = nullptr;
    QPointF prise;   // where the drag stands, in frame pixels
    int cumul = 0;   // wheel angle not yet turned into a step
    QPointF dernier; // the mouse in the control
    int grossi = 1;
    QPointF origine; // the frame pixel at the zoomed view's corner
    QImage loupe;
    QRgb couleurloupe = 0;
};
