// Time line, playback and keyframe editing: the core computes, the window mirrors and presents.
#include "app/tform1.h"
#include "timeline/camera.h"

#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include <algorithm>

void TForm1::TLChange(int position) {
    Etat& e = *etat;
    // Wtl, the keyframe mode, the frame's offsets, then the frame with its progress.
    ::montreimage(e, surf, position);
    {
        const QSignalBlocker b1(TL), b2(Ascl), b3(Asch);
        TL->setValue(e.tl);
        Ascl->setValue(e.ascl);
        Asch->setValue(e.asch);
    }
    montretemps();
    presente();
}

void TForm1::JoueClick() {
    Timer1->setInterval(1000 / std::max(etat->ips, 1));
    Timer1->start();
}

void TForm1::stopClick() {
    Timer1->stop();
}

// The step buttons stop playback first; the time line keeps its position within 0..N and shows
// a frame only when the position really changes.
void TForm1::DebutClick() {
    stopClick();
    TL->setValue(0);
}

void TForm1::predClick() {
    stopClick();
    TL->setValue(TL->value() - 1);
}

void TForm1::suivClick() {
    stopClick();
    TL->setValue(TL->value() + 1);
}

void TForm1::dernClick() {
    stopClick();
    TL->setValue(TL->maximum());
}

void TForm1::Timer1Timer() {
    const int p = etat->tl;
    if (p >= etat->tlmax) {
        Timer1->stop();
        return;
    }
    TL->setValue(p + 1);
    // Composed a second time, as every tick does.
    TLChange(p + 1);
}

void TForm1::Button4Click() {
    dureeplus(*etat, etat->ips);
    montretemps();
}

void TForm1::Button5Click() {
    dureemoins(*etat, etat->ips);
    montretemps();
}

void TForm1::Button6Click() {
    dureeplus(*etat, 1);
    montretemps();
}

void TForm1::Button7Click() {
    dureemoins(*etat, 1);
    montretemps();
}

void TForm1::CipsChange(const QString& texte) {
    Etat& e = *etat;
    // Picking the entry already shown fires the list's signal too; only a new text is a change.
    if (texte == e.cipstexte) return;
    // Rates typed one character after the other ("1", "15") are scaled from the table as it
    // stood before the first of them, so that a passing rate loses nothing.
    if (!cipsorigine || tablecles(e) != cipsproduit) cipsorigine = tablecles(e);
    std::optional<QString> erreur;
    if (clesdepart(*cipsorigine)) {
        // Nothing to lose: the start film's two keyframes, as ever.
        erreur = changeips(e, texte);
    } else {
        // The keyframes keep their times; asked first when some find no frame of their own.
        int retirees = 0;
        if (const auto c = cadence(e, texte)) {
            recadre(*cipsorigine, c->first, c->second, retirees);
            const QString question =
                traduit(e, 121,
                        QStringLiteral("À %1 images par seconde le film n'a que %2 images : %3 "
                                       "images clés seront retirées. Continuer ?"))
                    .arg(c->first)
                    .arg(c->second + 1)
                    .arg(retirees);
            if (retirees > 0 && !dialogues.confirmation(question)) {
                synchro();
                return;
            }
        }
        erreur = changeips(e, texte, *cipsorigine, retirees);
    }
    if (erreur) {
        affiche(*erreur, -1);
        return;
    }
    cipsproduit = tablecles(e);
    e.cipstexte = texte;
    e.cipsindex = e.cips.indexOf(texte);
    montretemps();
}

void TForm1::IcleClick() {
    const QList<QListWidgetItem*> choix = Icle->selectedItems();
    if (choix.isEmpty()) return;
    Etat& e = *etat;
    const int i = Icle->row(choix.first());
    if (i < 0 || i >= e.nbcle) return;
    e.icleselection = i;
    TL->setValue(e.cleimg[i]);
    Ascl->setValue(e.cledecx[i]);
    Asch->setValue(e.cledecy[i]);
}

void TForm1::creerICClick() {
    if (!creecle(*etat))
        affiche(traduit(*etat, 230, QStringLiteral("Pas plus de %1 images clés")).arg(MAXCLE), -1);
    montretemps();
}

void TForm1::SupICClick() {
    supprimecle(*etat);
    montretemps();
}

void TForm1::suivreClick() {
    if (sanscarte()) return;
    if (const auto erreur = suisroute(*etat, MARGEDEFAUT, 0)) {
        affiche(*erreur, -1);
        return;
    }
    // The current frame at its new offsets.
    TLChange(etat->tl);
}

void TForm1::adoucirClick(bool coche) {
    etat->adoucit = coche;
    calculimages(*etat);
    TLChange(etat->tl);
}
