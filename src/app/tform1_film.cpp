// The page "Film": the film's frame size and zoom, taken with "Appliquer" once both are typed,
// and the route's style, taken as it changes.
#include "app/teinte.h"
#include "app/tform1.h"
#include "app/vue.h"
#include "project/cadrage.h"
#include "project/carte.h"
#include "timeline/temps.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <iterator>

void TForm1::montrefilm() {
    const Film& f = etat->film;
    const QSignalBlocker b1(formatfilm), b2(largeurfilm), b3(hauteurfilm), b4(zoomfilm),
        b5(largeurtrait), b6(halotrait);
    int index = static_cast<int>(std::size(FORMATSFILM)); // "Autre taille"
    for (int i = 0; i < static_cast<int>(std::size(FORMATSFILM)); ++i)
        if (FORMATSFILM[i].largeur == f.largeur && FORMATSFILM[i].hauteur == f.hauteur) index = i;
    formatfilm->setCurrentIndex(index);
    largeurfilm->setValue(f.largeur);
    hauteurfilm->setValue(f.hauteur);
    zoomfilm->setValue(f.zoom);
    largeurtrait->setValue(etat->style.largeur);
    halotrait->setValue(etat->style.halo);
    halotrait->setEnabled(etat->style.largeur > 0);
    teinte(coulhalo, etat->style.coulhalo);
}

namespace {

// The keyframe on the frame shown, or -1.
int clecourante(const Etat& e) {
    for (int k = 0; k < std::min(e.nbcle, MAXCLE); ++k)
        if (e.cleimg[k] == e.tl) return k;
    return -1;
}

} // namespace

void TForm1::montrecle() {
    if (!zoomcle) return;
    const int k = clecourante(*etat);
    const QSignalBlocker b1(zoomcle), b2(avancecle);
    zoomcle->setEnabled(k >= 0);
    avancecle->setEnabled(k >= 0);
    zoomcle->setValue(k >= 0 ? etat->clezoom[k] : 0);
    avancecle->setValue(k >= 0 ? etat->cleavance[k] : SANSAVANCE);
}

void TForm1::cleChange() {
    const int k = clecourante(*etat);
    if (k < 0) return;
    // Below the smallest zoom means none: the keyframe takes the film's.
    const double z = zoomcle->value();
    Film f = etat->film;
    f.zoom = z;
    if (z >= MINZOOM && !etat->fichiercarte.isEmpty() &&
        tailleminimum(f, etat->largeurcarte, etat->hauteurcarte)) {
        montrecle();
        return;
    }
    etat->clezoom[k] = z >= MINZOOM ? z : 0;
    etat->cleavance[k] = avancecle->value();
    calculimages(*etat);
    TLChange(etat->tl);
    note();
}

void TForm1::formatfilmChange(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(FORMATSFILM))) return;
    // A preset fills the sides; "Appliquer" takes them.
    largeurfilm->setValue(FORMATSFILM[index].largeur);
    hauteurfilm->setValue(FORMATSFILM[index].hauteur);
}

void TForm1::appliquefilmClick() {
    Film f = etat->film;
    // Odd sides are taken down to even ones: the video encoders need them so.
    f.largeur = largeurfilm->value() & ~1;
    f.hauteur = hauteurfilm->value() & ~1;
    f.zoom = zoomfilm->value();
    const bool nouvelletaille = f.largeur != etat->film.largeur || f.hauteur != etat->film.hauteur;
    if (const auto refus = prendfilm(*etat, f)) {
        affiche(*refus, -1);
        montrefilm();
        return;
    }
    // A legend sized for another frame would be lost or huge on this one.
    if (nouvelletaille) proposelegende(*etat);
    TLChange(etat->tl);
    synchro();
    note();
}

void TForm1::traitChange() {
    etat->style.largeur = largeurtrait->value();
    etat->style.halo = etat->style.largeur > 0 ? halotrait->value() : 0;
    halotrait->setEnabled(etat->style.largeur > 0);
    redessine();
    note();
}

void TForm1::choixhaloClick() {
    const auto c = dialogues.couleur();
    if (!c) return;
    etat->style.coulhalo = *c;
    teinte(coulhalo, *c);
    redessine();
    note();
}

void TForm1::fondRoule(int pas, Qt::KeyboardModifiers touches) {
    if (etat->fichiercarte.isEmpty() || etat->etatcalcul == 2) return;
    if (touches & Qt::ControlModifier) {
        // The film's zoom, a tenth a notch, where the film has one; the classic film stays, and
        // its view is zoomed in for aiming while a trace waits for its start click.
        if (etat->film.classique()) {
            if (etat->etatcalcul == 1 && etat->calculactif) {
                fond->grossit(pas);
                majbarre();
            }
            return;
        }
        Film f = etat->film;
        f.zoom = std::clamp(std::round(f.zoom * std::pow(1.1, pas) * 100) / 100, MINZOOM, MAXZOOM);
        if (prendfilm(*etat, f)) return;
        TLChange(etat->tl);
        synchro();
        note();
        return;
    }
    // A notch moves a tenth of the view.
    QScrollBar* barre = touches & Qt::ShiftModifier ? Ascl : Asch;
    const int vue = barre == Ascl ? champl(*etat, zoomde(*etat)) : champh(*etat, zoomde(*etat));
    barre->setValue(barre->value() - pas * std::max(1, vue / 10));
    montrecarte();
}

void TForm1::montrecarte() {
    const double z = zoomde(*etat);
    const QImage& carte = surf.carte.image();
    fond->montrecarte(carte, QRect(etat->ascl, etat->asch, champl(*etat, z), champh(*etat, z)),
                      carte.cacheKey() == clereduite ? reduite : QImage());
}

void TForm1::fondGlisse(int dx, int dy, Qt::MouseButtons boutons) {
    if (etat->fichiercarte.isEmpty() || etat->etatcalcul != 0) return;
    // The left button pans only while no trace waits for its start click.
    if (!(boutons & Qt::MiddleButton) && etat->calculactif) return;
    const double z = zoomde(*etat);
    const QSignalBlocker b1(Ascl), b2(Asch);
    Ascl->setValue(Ascl->value() - static_cast<int>(std::lround(dx / z)));
    Asch->setValue(Asch->value() - static_cast<int>(std::lround(dy / z)));
    etat->ascl = Ascl->value();
    etat->asch = Asch->value();
    redessine();
    montrecarte();
}
