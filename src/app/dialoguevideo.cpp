#include "app/dialoguevideo.h"

#include "state/etat.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The codec's name in the language of the window: the words of it, not the names of formats.
QString nomcodec(const CodecVideo& c) {
    if (c.codec == Codec::rgb) return traduit(258, c.nom);
    QString nom = c.nom;
    const QString sansperte = QStringLiteral("(sans perte)");
    return nom.replace(sansperte, traduit(259, sansperte));
}

} // namespace

DialogueVideo::DialogueVideo(const OptionsVideo& depart, QWidget* parent)
    : QDialog(parent), codecs(codecsvideo()) {
    setWindowTitle(traduit(251, QStringLiteral("Compression vidéo")));
    codec = new QComboBox(this);
    codec->setObjectName(QStringLiteral("codec"));
    for (const CodecVideo& c : codecs)
        codec->addItem(nomcodec(c));
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
    const QString une = traduit(256, QStringLiteral(" image"));
    const QString plusieurs = traduit(257, QStringLiteral(" images"));
    cle->setSuffix(une);
    connect(cle, &QSpinBox::valueChanged, this,
            [this, une, plusieurs](int n) { cle->setSuffix(n > 1 ? plusieurs : une); });

    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons->button(QDialogButtonBox::Cancel)->setText(traduit(104, QStringLiteral("Annuler")));
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* forme = new QFormLayout(this);
    forme->addRow(traduit(252, QStringLiteral("Compression")), codec);
    forme->addRow(traduit(253, QStringLiteral("Qualité")), qualite);
    forme->addRow(traduit(254, QStringLiteral("Débit")), debit);
    forme->addRow(traduit(255, QStringLiteral("Une image clé toutes les")), cle);
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
