#include "app/dialoguevideo.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

DialogueVideo::DialogueVideo(const OptionsVideo& depart, QWidget* parent)
    : QDialog(parent), codecs(codecsvideo()) {
    setWindowTitle(QStringLiteral("Compression vidéo"));
    codec = new QComboBox(this);
    codec->setObjectName(QStringLiteral("codec"));
    for (const CodecVideo& c : codecs)
        codec->addItem(c.nom);
    qualite = new QSpinBox(this);
    qualite->setObjectName(QStringLiteral("qualite"));
    qualite->setRange(1, 100);
    debit = new QSpinBox(this);
    debit->setObjectName(QStringLiteral("debit"));
    debit->setRange(100, 100000);
    debit->setSingleStep(500);
    debit->setSuffix(QStringLiteral(" kbit/s"));
    cle = new QSpinBox(this);
    cle->setObjectName(QStringLiteral("cle"));
    cle->setRange(1, 1000);
    cle->setSuffix(QStringLiteral(" image"));
    connect(cle, &QSpinBox::valueChanged, this, [this](int n) {
        cle->setSuffix(n > 1 ? QStringLiteral(" images") : QStringLiteral(" image"));
    });

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* forme = new QFormLayout(this);
    forme->addRow(QStringLiteral("Compression"), codec);
    forme->addRow(QStringLiteral("Qualité"), qualite);
    forme->addRow(QStringLiteral("Débit"), debit);
    forme->addRow(QStringLiteral("Une image clé toutes les"), cle);
    forme->addRow(boutons);

    int choisi = 0;
    for (int i = 0; i < codecs.size(); ++i)
        if (codecs[i].codec == depart.codec) choisi = i;
    codec->setCurrentIndex(choisi);
    qualite->setValue(depart.qualite);
    debit->setValue(depart.debit);
    cle->setValue(depart.cle);
    majreglages();
    connect(codec, &QComboBox::currentIndexChanged, this, &DialogueVideo::majreglages);
}

OptionsVideo DialogueVideo::options() const {
    OptionsVideo o;
    const int i = codec->currentIndex();
    if (i >= 0 && i < codecs.size()) o.codec = codecs[i].codec;
    o.qualite = qualite->value();
    o.debit = debit->value();
    o.cle = cle->value();
    return o;
}

void DialogueVideo::majreglages() {
    const int i = codec->currentIndex();
    const bool valide = i >= 0 && i < codecs.size();
    qualite->setEnabled(valide && codecs[i].qualite);
    debit->setEnabled(valide && codecs[i].debit);
    cle->setEnabled(valide && codecs[i].inter);
}
