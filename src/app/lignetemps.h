// The time line `TL`: a track bar whose ticks are a ruler in seconds and which marks each
// keyframe; a click on a mark goes to that keyframe, and the tooltip tells the time under the
// mouse. It stays a plain track bar to the rest of the window (no signals of its own).
#pragma once

#include "state/etat.h"

#include <QSlider>

class LigneTemps : public QSlider {
  public:
    // `etat` is borrowed: its keyframes and rate are read when painted.
    LigneTemps(const Etat& etat, QWidget* parent);

    // The ruler's step follows the film's length and rate: call after either changes.
    void majregle();
    // Seconds between two ticks of the ruler.
    int pasregle() const { return pas; }
    // The control's x of frame `image`, and the keyframe whose mark is under x (-1: none).
    int xde(int image) const;
    int clesous(QPoint p) const;
    // The marks stand between the ruler's ticks and the groove: their top row.
    static constexpr int HAUTMARQUE = 7;
    int ymarque() const;

  protected:
    void paintEvent(QPaintEvent* ev) override;
    void mousePressEvent(QMouseEvent* ev) override;
    bool event(QEvent* ev) override;

  private:
    const Etat& etat;
    int pas = 1;
};

// The time of a frame as the status bar and the time line's tooltip say it: "3,2 s — image 80".
QString tempsimage(const Etat& e, int image);

// Gives `Wtl` its tooltip (the time shown is seconds:frames) without changing its stored hint.
void bulletemps(QWidget* wtl, const Etat& etat);
