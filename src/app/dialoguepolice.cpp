#include "app/dialoguepolice.h"

#include "map/surface.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

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

} // namespace

DialoguePolice::DialoguePolice(const Police& depart, QWidget* parent)
    : QDialog(parent), couleur(QColor::fromRgb(versqrgb(depart.couleur))) {
    setWindowTitle(traduit(260, QStringLiteral("Police")));
    // Qt's font dialog, shown as a plain widget without its own buttons.
    fonte = new QFontDialog(versqfont(depart), this);
    fonte->setObjectName(QStringLiteral("fonte"));
    fonte->setWindowFlags(Qt::Widget);
    fonte->setOptions(QFontDialog::NoButtons);

    boutoncouleur = new QPushButton(traduit(261, QStringLiteral("Couleur...")), this);
    boutoncouleur->setObjectName(QStringLiteral("couleur"));
    connect(boutoncouleur, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(couleur, this);
        if (c.isValid()) poseCouleur(c);
    });
    poseCouleur(couleur);

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Cancel)->setText(traduit(104, QStringLiteral("Annuler")));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bas = new QHBoxLayout;
    bas->addWidget(boutoncouleur);
    bas->addStretch();
    bas->addWidget(boutons);
    auto* tout = new QVBoxLayout(this);
    tout->addWidget(fonte);
    tout->addLayout(bas);
}

void DialoguePolice::poseCouleur(const QColor& c) {
    couleur = c;
    QPixmap pastille(16, 16);
    pastille.fill(c);
    boutoncouleur->setIcon(QIcon(pastille));
}

Police DialoguePolice::police() const {
    const QFont f = fonte->currentFont();
    Police p;
    p.nom = f.family();
    const int pixels = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    p.taille = -std::max(1, pixels);
    p.couleur = depuisqrgb(couleur.rgb());
    p.gras = f.bold();
    p.italique = f.italic();
    p.souligne = f.underline();
    p.barre = f.strikeOut();
    return p;
}
