// Legend, tip and magnifier settings: each handler stores its control's value in the state,
// then redraws the current frame where the setting shows on it.
#include "app/tform1.h"
#include "project/parametres.h"

#include "app/hautbas.h"
#include "app/teinte.h"
#include "map/image.h"
#include "project/carte.h"
#include "route/lisse.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

void TForm1::Button2Click() {
    if (const auto p = dialogues.police(etat->police)) etat->police = *p;
    redessine();
}

void TForm1::montreClick() {
    etat->montre = montre->isChecked();
    redessine();
}

void TForm1::uniteClick() {
    etat->unite = sans->isChecked()   ? SANS
                  : km->isChecked()   ? KM
                  : mile->isChecked() ? MILE
                                      : AUTRE;
    redessine();
}

void TForm1::txtautreChange() {
    etat->txtautre = txtautre->text();
    redessine();
}

void TForm1::XtChange(int v) {
    etat->xt = v;
    redessine();
}

void TForm1::YtChange(int v) {
    etat->yt = v;
    redessine();
}

void TForm1::LkmChange(const QString& texte) {
    // Anything but digits becomes "0"; the new value shows at the next redraw.
    etat->lkm = nombremaxi(texte);
    if (etat->lkm != texte) Lkm->setText(etat->lkm);
}

void TForm1::okombreClick() {
    etat->okombre = okombre->isChecked();
    redessine();
}

void TForm1::Button15Click() {
    const auto c = dialogues.couleur();
    if (!c) return;
    etat->coulombre = *c;
    teinte(coulombre, *c);
    redessine();
}

void TForm1::XombreChange(int v) {
    etat->xombre = v;
    redessine();
}

void TForm1::YombreChange(int v) {
    etat->yombre = v;
    redessine();
}

void TForm1::CheckBox1Click() {
    etat->checkbox1 = CheckBox1->isChecked();
    redessine();
}

void TForm1::Button14Click() {
    const auto c = dialogues.couleur();
    if (!c) return;
    etat->coulbord = *c;
    teinte(coulbord, *c);
    redessine();
}

void TForm1::UpDown1Click(int position) {
    etat->updown1 = position;
    etat->bordnb = QString::number(position);
    bordnb->setText(etat->bordnb);
    redessine();
}

void TForm1::OkloupeClick() {
    Etat& e = *etat;
    e.okloupe = Okloupe->isChecked();
    if (!e.fichierloupe.isEmpty()) {
        redessine();
        return;
    }
    // No picture: the box does not stay checked, and the user is told once.
    if (!e.okloupe) return;
    e.okloupe = false;
    {
        const QSignalBlocker b(Okloupe);
        Okloupe->setChecked(false);
    }
    affiche(QStringLiteral("Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant"), 64);
}

void TForm1::txloupeChange(int v) {
    etat->txloupe = v;
    redessine();
}

void TForm1::estompeChange(int v) {
    // The path changes; the picture follows at the next redraw.
    etat->estompe = v;
    lisseloupe(*etat);
}

void TForm1::Button16Click() {
    const auto chemin =
        dialogues.ouvrir(filtrecartes(119, QStringLiteral("Loupe BMP")), etat->dossiercarte);
    if (!chemin) return;
    if (!signale(chargeloupe(*etat, surf, *chemin))) return;
    // The zoom range follows the picture's width; the core has redrawn the frame.
    synchro();
    presente();
}
