#include "app/dialoguetrace.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

DialogueTrace::DialogueTrace(const ReglagesTrace& depart, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Réglages du tracé"));
    auto* aide = new QLabel(
        QStringLiteral("Tout à zéro : le tracé suit la couleur exacte, dans la vue.\n"
                       "Une carte JPEG ou un trait lissé demande une tolérance (20 à 40)."),
        this);
    aide->setWordWrap(true);
    tolerance = new QSpinBox(this);
    tolerance->setObjectName(QStringLiteral("tolerance"));
    tolerance->setRange(0, MAXTOLERANCE);
    tolerance->setValue(depart.tolerance);
    tolerance->setToolTip(QStringLiteral("Écart de couleur accepté (delta E), 0 = couleur exacte"));
    carte = new QCheckBox(QStringLiteral("Toute la carte, pas seulement la vue"), this);
    carte->setObjectName(QStringLiteral("carte"));
    carte->setChecked(depart.carte);
    pont = new QSpinBox(this);
    pont->setObjectName(QStringLiteral("pont"));
    pont->setRange(0, MAXPONT);
    pont->setSuffix(QStringLiteral(" pixels"));
    pont->setValue(depart.pont);
    pont->setToolTip(QStringLiteral("Trous du trait franchis (pointillés, nom de route)"));
    plume = new QCheckBox(QStringLiteral("Ordre du crayon (trait épais, écriture)"), this);
    plume->setObjectName(QStringLiteral("plume"));
    plume->setChecked(depart.plume);

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    QPushButton* sans = boutons->addButton(QStringLiteral("Faire la carte sans chemin"),
                                           QDialogButtonBox::ActionRole);
    sans->setObjectName(QStringLiteral("sanschemin"));
    sans->setToolTip(QStringLiteral("Efface la route peinte de la carte (image de visu) : le film "
                                    "ne montre la route qu'au fur et à mesure"));
    connect(sans, &QPushButton::clicked, this, [this] {
        sanschemin = true;
        accept();
    });
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* forme = new QFormLayout;
    forme->addRow(QStringLiteral("Tolérance de couleur"), tolerance);
    forme->addRow(carte);
    forme->addRow(QStringLiteral("Ponts"), pont);
    forme->addRow(plume);
    auto* tout = new QVBoxLayout(this);
    tout->addWidget(aide);
    tout->addLayout(forme);
    tout->addWidget(boutons);
}

ChoixTrace DialogueTrace::choix() const {
    ChoixTrace c;
    c.reglages.tolerance = tolerance->value();
    c.reglages.carte = carte->isChecked();
    c.reglages.pont = pont->value();
    c.reglages.plume = plume->isChecked();
    c.sanschemin = sanschemin;
    return c;
}
