// The legend font dialog: Qt's font dialog has no colour, so it is shown inside a dialog of ours
// with a colour button beside it; OK gives the font and the colour together.
#pragma once

#include "state/etat.h"

#include <QColor>
#include <QDialog>

class QFontDialog;
class QPushButton;

class DialoguePolice : public QDialog {
    Q_OBJECT
  public:
    explicit DialoguePolice(const Police& depart, QWidget* parent = nullptr);

    // What the controls hold: the font's name, height and style, and the colour chosen.
    Police police() const;
    void poseCouleur(const QColor& c);

    QFontDialog* fonte = nullptr;
    QPushButton* boutoncouleur = nullptr;

  private:
    QColor couleur;
};
