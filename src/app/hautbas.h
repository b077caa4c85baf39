// Up-down arrows holding a bounded integer position: no wrap, and `valueChanged` only when the
// position really changes (by a click or by code).
#pragma once

#include <QWidget>

class QToolButton;

class HautBas : public QWidget {
    Q_OBJECT
  public:
    explicit HautBas(QWidget* parent = nullptr);

    int value() const { return position; }
    int minimum() const { return mini; }
    int maximum() const { return maxi; }
    void setRange(int minimum, int maximum);

    QToolButton* haut = nullptr;
    QToolButton* bas = nullptr;

  public slots:
    void setValue(int v);

  signals:
    void valueChanged(int v);

  protected:
    void resizeEvent(QResizeEvent* ev) override;

  private:
    int position = 0;
    int mini = 0;
    int maxi = 100;
};
