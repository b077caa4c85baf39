// Scripted dialogs for the window tests: every box is recorded, every question is answered from
// a queue (an empty queue answers No or Cancel), so no test ever waits on a modal box.
#pragma once

#include "app/dialogues.h"
#include "export/video.h"

#include <QList>
#include <QStringList>

class DialoguesScript : public Dialogues {
  public:
    void message(const QString& texte) override;
    void erreur(const QString& texte) override;
    bool confirmation(const QString& question) override;
    Choix question(const QString& texte) override;
    std::optional<QString> ouvrir(const QString& filtre, const QString& dossier) override;
    std::optional<QString> enregistrer(const QString& filtre, const QString& dossier) override;
    std::optional<Couleur> couleur() override;
    std::optional<Police> police(const Police& depart) override;
    void optionsvideo(OptionsVideo& options) override;
    std::optional<ChoixTrace> reglagestrace(const ReglagesTrace& depart) override;

    // What the window showed or asked, in order.
    QStringList messages;
    QStringList erreurs;
    QStringList questions;
    QStringList questions3; // the Oui / Non / Annuler ones
    QStringList filtres;    // of every open or save dialog
    QStringList dossiers;   // their starting folders
    QList<Police> policesdepart;
    int couleursdemandees = 0;
    QList<OptionsVideo> optionsdepart; // what each compression dialog opened on
    QList<ReglagesTrace> tracesdepart; // what each walk settings dialog opened on

    // The answers, taken from the front.
    QList<bool> reponses;
    QList<Choix> choix; // an empty queue answers Annuler
    QList<std::optional<QString>> fichiers;
    QList<std::optional<Couleur>> couleurs;
    QList<std::optional<Police>> polices;
    QList<std::optional<OptionsVideo>> options; // an empty answer is Cancel
    QList<std::optional<ChoixTrace>> traces;
};
