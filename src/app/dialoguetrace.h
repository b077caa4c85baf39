// The walk's settings: colour tolerance, the whole map, gaps, pen order, and the map without its
// route. All off is the classic walk.
#pragma once

#include "app/dialogues.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

class DialogueTrace : public QDialog {
    Q_OBJECT
  public:
    explicit DialogueTrace(const ReglagesTrace& depart, QWidget* parent = nullptr);

    ChoixTrace choix() const;

    QSpinBox* tolerance = nullptr;
    QCheckBox* carte = nullptr;
    QSpinBox* pont = nullptr;
    QCheckBox* plume = nullptr;

  private:
    bool sanschemin = false;
};
