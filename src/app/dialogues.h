// Every box and dialog the window opens goes through this interface: the real one uses Qt's
// dialogs, tests hand the window a scripted one, so no test ever blocks on a modal box.
#pragma once

#include "state/etat.h"

#include <QString>

#include <optional>

struct OptionsVideo;

// What the walk's settings dialog gives: the settings, and whether to make the map without its
// route now.
struct ChoixTrace {
    ReglagesTrace reglages;
    bool sanschemin = false;
};

class Dialogues {
  public:
    virtual ~Dialogues() = default;
    // A plain box with one OK button, captioned with the application title.
    virtual void message(const QString& texte) = 0;
    // An error box (a reader's or writer's failure).
    virtual void erreur(const QString& texte) = 0;
    // The confirmation box: caption "Confirmation", question icon, "&Oui" and "&Non". True = Oui.
    virtual bool confirmation(const QString& question) = 0;
    // A question with "&Oui", "&Non" and "Annuler", captioned "Confirmation"; closing the box
    // answers Annuler.
    enum class Choix { oui, non, annuler };
    virtual Choix question(const QString& texte) = 0;
    // Before changes are lost: the platform's Save / Discard / Cancel question; closing the box
    // answers annuler.
    enum class Fermeture { sauver, abandonner, annuler };
    virtual Fermeture fermeture(const QString& texte) = 0;
    // Open and save dialogs; `filtre` in the form "Carte BMP|*.bmp|Images|*.png;*.jpg".
    virtual std::optional<QString> ouvrir(const QString& filtre, const QString& dossier) = 0;
    // The save dialog gives the name typed and the file type chosen in it (the entry of `filtre`,
    // from 0), which decides when the name has no extension.
    struct Enregistrement {
        QString chemin;
        int type = 0;
    };
    virtual std::optional<Enregistrement> enregistrer(const QString& filtre,
                                                      const QString& dossier) = 0;
    // The shared colour dialog; it opens on the colour last chosen in it.
    virtual std::optional<Couleur> couleur() = 0;
    virtual std::optional<Police> police(const Police& depart) = 0;
    // The compression dialog of the video export: edits `options` in place; false when cancelled
    // (the export is then not made).
    virtual bool optionsvideo(OptionsVideo& options) = 0;
    // The walk's settings, opened on `depart`; empty when cancelled.
    virtual std::optional<ChoixTrace> reglagestrace(const ReglagesTrace& depart) = 0;
};
