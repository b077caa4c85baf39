// Colour swatches: a read-only edit whose background shows a colour value.
#pragma once

#include "map/surface.h"

#include <QLineEdit>
#include <QPalette>

inline void teinte(QLineEdit* w, Couleur c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, versqrgb(c));
    w->setPalette(p);
}
