// The view control: paints the view surface and passes the mouse to the tracer. A frame of the
// control's size is painted 1:1; any other is scaled to fit, smoothly, between dark bands
// (letterboxed). Mouse positions are given in frame pixels. Composing a frame never touches this
// widget; presenting is asking it to repaint.
#pragma once

#include <QRectF>
#include <QWidget>

class QTimer;
class Surface;

class Vue : public QWidget {
    Q_OBJECT
  public:
    // `surface` is borrowed and must outlive the widget; it may change size, it is read at paint.
    explicit Vue(const Surface& surface, QWidget* parent = nullptr);

    // Where the frame is painted in the control.
    QRectF cadre() const;
    // The frame pixel under a control position; false outside the frame.
    bool verscadre(QPointF p, int& x, int& y) const;

    // The small map in the view's corner, shown for a moment while the user moves the view:
    // the whole map and the camera's rectangle `champ` (map pixels) on it. Never in the film.
    void montrecarte(const QImage& carte, const QRect& champ);
    bool cartevisible() const { return !apercu.isNull(); }
    // Where the small map and the camera's rectangle stand in the control.
    QRect placecarte() const;
    QRect placechamp() const;

  signals:
    void bouge(int x, int y);
    void appui(Qt::MouseButton bouton, int x, int y);
    // The wheel, in steps (one notch = 1; up and left are positive).
    void roule(int pas, Qt::KeyboardModifiers touches);
    // A drag with the middle button, or with the left one: the move in frame pixels.
    void glisse(int dx, int dy, Qt::MouseButtons boutons);

  protected:
    void paintEvent(QPaintEvent* ev) override;
    void mouseMoveEvent(QMouseEvent* ev) override;
    void mousePressEvent(QMouseEvent* ev) override;
    void wheelEvent(QWheelEvent* ev) override;

  private:
    const Surface& surface;
    QImage apercu;      // the map, reduced
    QSize tailletotale; // the map's own size
    qint64 cleapercu = 0;
    QRect champ;
    QTimer* efface = nullptr;
    QPointF prise; // where the drag stands, in frame pixels
    int cumul = 0; // wheel angle not yet turned into a step
};
