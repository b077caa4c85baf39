// The compression dialog of the video export: the codecs this build can put in an AVI file, and
// for each only the settings that apply to it.
#pragma once

#include "export/video.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

class DialogueVideo : public QDialog {
    Q_OBJECT
  public:
    // Opens on `depart`; a codec this build lacks falls back to the first one listed.
    explicit DialogueVideo(const OptionsVideo& depart, QWidget* parent = nullptr);

    // What the controls hold.
    OptionsVideo options() const;

    QComboBox* codec = nullptr;
    QSpinBox* qualite = nullptr;
    QSpinBox* debit = nullptr;
    QSpinBox* cle = nullptr;

  private:
    // Enables the settings that the chosen codec takes.
    void majreglages();

    QList<CodecVideo> codecs;
};
