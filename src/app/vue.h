// The view control: paints the view surface 1:1 and passes the mouse to the tracer. Composing a
// frame never touches this widget; presenting is asking it to repaint.
#pragma once

#include <QWidget>

class Surface;

class Vue : public QWidget {
    Q_OBJECT
  public:
    // `surface` is borrowed and must outlive the widget; it may change size, it is read at paint.
    explicit Vue(const Surface& surface, QWidget* parent = nullptr);

  signals:
    void bouge(int x, int y);
    void appui(Qt::MouseButton bouton, int x, int y);

  protected:
    void paintEvent(QPaintEvent* ev) override;
    void mouseMoveEvent(QMouseEvent* ev) override;
    void mousePressEvent(QMouseEvent* ev) override;

  private:
    const Surface& surface;
};
