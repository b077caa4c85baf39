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
    Fermeture fermeture(const QString& texte) override;
    std::optional<QString> ouvrir(const QString& filtre, const QString& dossier) override;
    std::optional<Enregistrement> enregistrer(const QString& filtre,
                                              const QString& dossier) override;
    std::optional<Couleur> couleur() override;
    std::optional<Police> police(const Police& depart) override;
    bool optionsvideo(OptionsVideo& options) override;
    std::optional<ChoixTrace> reglagestrace(const ReglagesTrace& depart) override;

    // What the window showed or asked, in order.
    QStringList messages;
    QStringList erreurs;
    QStringList questions;
    QStringList questions3; // the Oui / Non / Annuler ones
    QStringList fermetures; // the Save / Discard / Cancel ones
    QStringList filtres;    // of every open or save dialog
    QStringList dossiers;   // their starting folders
    QList<Police> policesdepart;
    int couleursdemandees = 0;
    QList<OptionsVideo> optionsdepart; // what each compression dialog opened on
    QList<ReglagesTrace> tracesdepart; // what each walk settings dialog opened on

    // The answers, taken from the front.
    QList<bool> reponses;
    QList<Choix> choix;              // an empty queue answers Annuler
    QList<Fermeture> choixfermeture; // an empty queue answers annuler
    QList<std::optional<QString>> fichiers;
    QList<int> types; // the file type chosen in each save dialog; an empty queue keeps the first
    QList<std::optional<Couleur>> couleurs;
    QList<std::optional<Police>> polices;
    // An empty answer is Cancel; an empty queue takes the dialog as it opened (OK).
    QList<std::optional<OptionsVideo>> options;
    QList<std::optional<ChoixTrace>> traces;
};
