// The dialogs of the real program: Qt's message boxes and common dialogs.
#pragma once

#include "app/dialogues.h"

#include <QColor>

class QWidget;

// The application title: the caption of every box.
inline const QString TITREAPPLI = QStringLiteral("Vial");

class DialoguesQt : public Dialogues {
  public:
    // The window the boxes are centred on and modal to; none until set.
    void setparent(QWidget* p) { parent = p; }

    void message(const QString& texte) override;
    void erreur(const QString& texte) override;
    bool confirmation(const QString& question) override;
    Choix question(const QString& texte) override;
    Fermeture fermeture(const QString& texte) override;
    std::optional<QString> ouvrir(const QString& filtre, const QString& dossier) override;
    std::optional<Enregistrement> enregistrer(const QString& filtre,
                                              const QString& dossier) override;
    std::optional<Couleur> couleur() override;
    std::optional<Police> police(const Police& depart) override;
    bool optionsvideo(OptionsVideo& options) override;
    std::optional<ChoixTrace> reglagestrace(const ReglagesTrace& depart) override;

  private:
    QWidget* parent = nullptr;
    QColor dernierecouleur = Qt::black;
};

// "Carte BMP|*.bmp|Images|*.png;*.jpg" -> "Carte BMP (*.bmp);;Images (*.png *.jpg)".
QString filtreqt(const QString& filtre);
