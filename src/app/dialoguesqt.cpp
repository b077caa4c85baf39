#include "app/dialoguesqt.h"

#include "app/dialoguepolice.h"
#include "app/dialoguetrace.h"
#include "app/dialoguevideo.h"
#include "map/surface.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

void boite(QWidget* parent, QMessageBox::Icon icone, const QString& texte) {
    QMessageBox b(icone, TITREAPPLI, texte, QMessageBox::Ok, parent);
    b.exec();
}

std::optional<QString> choisi(const QString& chemin) {
    if (chemin.isEmpty()) return std::nullopt;
    return chemin;
}

} // namespace

QString filtreqt(const QString& filtre) {
    const QStringList parts = filtre.split(QLatin1Char('|'));
    QStringList entrees;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString motifs = parts[i + 1];
        motifs.replace(QLatin1Char(';'), QLatin1Char(' '));
        entrees.append(QStringLiteral("%1 (%2)").arg(parts[i], motifs));
    }
    return entrees.join(QStringLiteral(";;"));
}

void DialoguesQt::message(const QString& texte) {
    boite(parent, QMessageBox::NoIcon, texte);
}

void DialoguesQt::erreur(const QString& texte) {
    boite(parent, QMessageBox::Critical, texte);
}

bool DialoguesQt::confirmation(const QString& question) {
    QMessageBox b(QMessageBox::Question, traduit(101, QStringLiteral("Confirmation")), question,
                  QMessageBox::NoButton, parent);
    QPushButton* oui = b.addButton(traduit(102, QStringLiteral("&Oui")), QMessageBox::YesRole);
    QPushButton* non = b.addButton(traduit(103, QStringLiteral("&Non")), QMessageBox::NoRole);
    b.setDefaultButton(oui);
    b.setEscapeButton(non);
    b.exec();
    return b.clickedButton() == oui;
}

Dialogues::Choix DialoguesQt::question(const QString& texte) {
    QMessageBox b(QMessageBox::Question, traduit(101, QStringLiteral("Confirmation")), texte,
                  QMessageBox::NoButton, parent);
    QPushButton* oui = b.addButton(traduit(102, QStringLiteral("&Oui")), QMessageBox::YesRole);
    QPushButton* non = b.addButton(traduit(103, QStringLiteral("&Non")), QMessageBox::NoRole);
    QPushButton* annuler =
        b.addButton(traduit(104, QStringLiteral("Annuler")), QMessageBox::RejectRole);
    // Enter or Escape never throws work away.
    b.setDefaultButton(annuler);
    b.setEscapeButton(annuler);
    b.exec();
    if (b.clickedButton() == oui) return Choix::oui;
    if (b.clickedButton() == non) return Choix::non;
    return Choix::annuler;
}

Dialogues::Fermeture DialoguesQt::fermeture(const QString& texte) {
    // The platform's own buttons, in its order and words (Qt's translation of them).
    QMessageBox b(QMessageBox::Warning, TITREAPPLI, texte,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    b.setDefaultButton(QMessageBox::Save);
    b.setEscapeButton(QMessageBox::Cancel);
    switch (b.exec()) {
    case QMessageBox::Save:
        return Fermeture::sauver;
    case QMessageBox::Discard:
        return Fermeture::abandonner;
    default:
        return Fermeture::annuler;
    }
}

std::optional<QString> DialoguesQt::ouvrir(const QString& filtre, const QString& dossier) {
    return choisi(QFileDialog::getOpenFileName(parent, QString(), dossier, filtreqt(filtre)));
}

std::optional<Dialogues::Enregistrement> DialoguesQt::enregistrer(const QString& filtre,
                                                                  const QString& dossier) {
    const QString filtres = filtreqt(filtre);
    QString type;
    const QString chemin = QFileDialog::getSaveFileName(parent, QString(), dossier, filtres, &type);
    if (chemin.isEmpty()) return std::nullopt;
    return Enregistrement{chemin,
                          std::max(0, int(filtres.split(QStringLiteral(";;")).indexOf(type)))};
}

std::optional<Couleur> DialoguesQt::couleur() {
    const QColor c = QColorDialog::getColor(dernierecouleur, parent);
    if (!c.isValid()) return std::nullopt;
    dernierecouleur = c;
    return depuisqrgb(c.rgb());
}

std::optional<Police> DialoguesQt::police(const Police& depart) {
    DialoguePolice d(depart, parent);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return d.police();
}

bool DialoguesQt::optionsvideo(OptionsVideo& options) {
    DialogueVideo d(options, parent);
    if (d.exec() != QDialog::Accepted) return false;
    options = d.options();
    return true;
}

std::optional<ChoixTrace> DialoguesQt::reglagestrace(const ReglagesTrace& depart) {
    DialogueTrace d(depart, parent);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return d.choix();
}
