#include "app/hautbas.h"

#include <QToolButton>

#include <algorithm>

HautBas::HautBas(QWidget* parent) : QWidget(parent) {
    haut = new QToolButton(this);
    bas = new QToolButton(this);
    haut->setObjectName(QStringLiteral("haut"));
    bas->setObjectName(QStringLiteral("bas"));
    for (QToolButton* b : {haut, bas}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    haut->setArrowType(Qt::UpArrow);
    bas->setArrowType(Qt::DownArrow);
    connect(haut, &QToolButton::clicked, this, [this] { setValue(position + 1); });
    connect(bas, &QToolButton::clicked, this, [this] { setValue(position - 1); });
}

void HautBas::setRange(int minimum, int maximum) {
    mini = minimum;
    maxi = std::max(minimum, maximum);
    setValue(position);
}

void HautBas::setValue(int v) {
    v = std::clamp(v, mini, maxi);
    if (v == position) return;
    position = v;
    emit valueChanged(v);
}

void HautBas::resizeEvent(QResizeEvent*) {
    const int moitie = height() / 2;
    haut->setGeometry(0, 0, width(), moitie);
    bas->setGeometry(0, moitie, width(), height() - moitie);
}
