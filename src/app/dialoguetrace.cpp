#include "app/dialoguetrace.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

DialogueTrace::DialogueTrace(const ReglagesTrace& depart, QWidget* parent) : QDialog(parent) {
    setWindowTitle(traduit(240, QStringLiteral("Réglages du tracé")));
    auto* aide =
        new QLabel(traduit(241, QStringLiteral("Tout à zéro : le tracé suit la couleur exacte, "
                                               "dans la vue.\nUne carte JPEG ou un trait lissé "
                                               "demande une tolérance (20 à 40).")),
                   this);
    aide->setWordWrap(true);
    tolerance = new QSpinBox(this);
    tolerance->setObjectName(QStringLiteral("tolerance"));
    tolerance->setRange(0, MAXTOLERANCE);
    tolerance->setValue(depart.tolerance);
    tolerance->setToolTip(
        traduit(242, QStringLiteral("Écart de couleur accepté (delta E), 0 = couleur exacte")));
    carte =
        new QCheckBox(traduit(243, QStringLiteral("Toute la carte, pas seulement la vue")), this);
    carte->setObjectName(QStringLiteral("carte"));
    carte->setChecked(depart.carte);
    pont = new QSpinBox(this);
    pont->setObjectName(QStringLiteral("pont"));
    pont->setRange(0, MAXPONT);
    pont->setSuffix(traduit(244, QStringLiteral(" pixels")));
    pont->setValue(depart.pont);
    pont->setToolTip(
        traduit(245, QStringLiteral("Trous du trait franchis (pointillés, nom de route)")));
    plume = new QCheckBox(traduit(246, QStringLiteral("Ordre du crayon (trait épais, écriture)")),
                          this);
    plume->setObjectName(QStringLiteral("plume"));
    plume->setChecked(depart.plume);

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Cancel)->setText(traduit(104, QStringLiteral("Annuler")));
    QPushButton* sans = boutons->addButton(
        traduit(247, QStringLiteral("Faire la carte sans chemin")), QDialogButtonBox::ActionRole);
    sans->setObjectName(QStringLiteral("sanschemin"));
    sans->setToolTip(traduit(248, QStringLiteral("Efface la route peinte de la carte (image de "
                                                 "visu) : le film ne montre la route qu'au fur "
                                                 "et à mesure")));
    connect(sans, &QPushButton::clicked, this, [this] {
        sanschemin = true;
        accept();
    });
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* forme = new QFormLayout;
    forme->addRow(traduit(249, QStringLiteral("Tolérance de couleur")), tolerance);
    forme->addRow(carte);
    forme->addRow(traduit(250, QStringLiteral("Ponts")), pont);
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
