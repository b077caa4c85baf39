#include "aide_dialogues.h"

#include <QSettings>
#include <QTemporaryDir>

namespace {

// The window keeps recent maps in the user's settings: the tests keep theirs in a folder of
// their own, never in the user's.
struct ReglagesIsoles {
    QTemporaryDir dossier;
    ReglagesIsoles() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dossier.path());
    }
} isoles;

template <class T> T prends(QList<T>& file, T sinon) {
    return file.isEmpty() ? sinon : file.takeFirst();
}

} // namespace

void DialoguesScript::message(const QString& texte) {
    messages.append(texte);
}

void DialoguesScript::erreur(const QString& texte) {
    erreurs.append(texte);
}

bool DialoguesScript::confirmation(const QString& question) {
    questions.append(question);
    return prends(reponses, false);
}

Dialogues::Choix DialoguesScript::question(const QString& texte) {
    questions3.append(texte);
    return prends(choix, Choix::annuler);
}

Dialogues::Fermeture DialoguesScript::fermeture(const QString& texte) {
    fermetures.append(texte);
    return prends(choixfermeture, Fermeture::annuler);
}

std::optional<QString> DialoguesScript::ouvrir(const QString& filtre, const QString& dossier) {
    filtres.append(filtre);
    dossiers.append(dossier);
    return prends(fichiers, std::optional<QString>());
}

std::optional<Dialogues::Enregistrement> DialoguesScript::enregistrer(const QString& filtre,
                                                                      const QString& dossier) {
    const int type = prends(types, 0);
    const std::optional<QString> chemin = ouvrir(filtre, dossier);
    if (!chemin) return std::nullopt;
    return Enregistrement{*chemin, type};
}

std::optional<Couleur> DialoguesScript::couleur() {
    ++couleursdemandees;
    return prends(couleurs, std::optional<Couleur>());
}

std::optional<Police> DialoguesScript::police(const Police& depart) {
    policesdepart.append(depart);
    return prends(polices, std::optional<Police>());
}

bool DialoguesScript::optionsvideo(OptionsVideo& choix) {
    optionsdepart.append(choix);
    if (options.isEmpty()) return true;
    const std::optional<OptionsVideo> r = options.takeFirst();
    if (!r) return false;
    choix = *r;
    return true;
}

std::optional<ChoixTrace> DialoguesScript::reglagestrace(const ReglagesTrace& depart) {
    tracesdepart.append(depart);
    return prends(traces, std::optional<ChoixTrace>());
}
