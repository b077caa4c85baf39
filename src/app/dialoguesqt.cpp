#include "app/dialoguesqt.h"

#include "app/dialoguevideo.h"
#include "map/surface.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

void boite(QWidget* parent, QMessageBox::Icon icone, const QString& texte) {
    QMessageBox b(icone, TITREAPPLI, texte, QMessageBox::Ok, parent);
    b.exec();
}

// The legend font as the dialog shows it: a negative height is the character height in pixels,
// a positive one the cell height, which holds some leading above the characters.
QFont versqfont(const Police& p) {
    QFont f(p.nom);
    f.setStyleHint(QFont::SansSerif);
    if (p.taille < 0) f.setPixelSize(-p.taille);
    if (p.taille > 0) f.setPixelSize(std::max(1, p.taille * 4 / 5));
    f.setBold(p.gras);
    f.setItalic(p.italique);
    f.setUnderline(p.souligne);
    f.setStrikeOut(p.barre);
    return f;
}

// The dialog has no colour choice: the legend keeps the colour it had.
Police depuisqfont(const QFont& f, Couleur couleur) {
    Police p;
    p.nom = f.family();
    const int pixels = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    p.taille = -std::max(1, pixels);
    p.couleur = couleur;
    p.gras = f.bold();
    p.italique = f.italic();
    p.souligne = f.underline();
    p.barre = f.strikeOut();
    return p;
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
    QMessageBox b(QMessageBox::Question, QStringLiteral("Confirmation"), question,
                  QMessageBox::NoButton, parent);
    QPushButton* oui = b.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton* non = b.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    b.setDefaultButton(oui);
    b.setEscapeButton(non);
    b.exec();
    return b.clickedButton() == oui;
}

Dialogues::Choix DialoguesQt::question(const QString& texte) {
    QMessageBox b(QMessageBox::Question, QStringLiteral("Confirmation"), texte,
                  QMessageBox::NoButton, parent);
    QPushButton* oui = b.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton* non = b.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    QPushButton* annuler = b.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    // Enter or Escape never throws work away.
    b.setDefaultButton(annuler);
    b.setEscapeButton(annuler);
    b.exec();
    if (b.clickedButton() == oui) return Choix::oui;
    if (b.clickedButton() == non) return Choix::non;
    return Choix::annuler;
}

std::optional<QString> DialoguesQt::ouvrir(const QString& filtre, const QString& dossier) {
    return choisi(QFileDialog::getOpenFileName(parent, QString(), dossier, filtreqt(filtre)));
}

std::optional<QString> DialoguesQt::enregistrer(const QString& filtre, const QString& dossier) {
    return choisi(QFileDialog::getSaveFileName(parent, QString(), dossier, filtreqt(filtre)));
}

std::optional<Couleur> DialoguesQt::couleur() {
    const QColor c = QColorDialog::getColor(dernierecouleur, parent);
    if (!c.isValid()) return std::nullopt;
    dernierecouleur = c;
    return depuisqrgb(c.rgb());
}

std::optional<Police> DialoguesQt::police(const Police& depart) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, versqfont(depart), parent);
    if (!ok) return std::nullopt;
    return depuisqfont(f, depart.couleur);
}

// Cancel keeps the options the dialog was opened on: the export goes on with them.
void DialoguesQt::optionsvideo(OptionsVideo& options) {
    DialogueVideo d(options, parent);
    if (d.exec() == QDialog::Accepted) options = d.options();
}
