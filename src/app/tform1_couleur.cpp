// Segment colours: the page "Couleur" lists the segments of the route as it stands when the user
// arrives there, shows the colour of the chosen one and recolours all its points.
#include "app/teinte.h"
#include "app/tform1.h"
#include "project/langue.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

// Above any segment number the tracer gives, so the first point always starts an item.
constexpr int AUCUNTRONCON = 99999;

} // namespace

void TForm1::Onglet2Change(int page) {
    Etat& e = *etat;
    if (e.fichiercarte.isEmpty()) {
        // "Fichier" is where a map gets loaded: arriving there needs none.
        if (page == Onglet2->indexOf(Tab10)) return;
        sanscarte();
        const QSignalBlocker bloc(Onglet2);
        Onglet2->setCurrentWidget(Tab10);
        return;
    }
    stopClick();
    e.nbtron = 0;
    if (page != Onglet2->indexOf(TabSheet4)) return;

    e.tronson.clear();
    int precedent = AUCUNTRONCON;
    for (int i = 0; i <= e.nbpt && i < MAXPT; ++i) {
        if (e.pttron[i] == precedent) continue;
        precedent = e.pttron[i];
        e.tronson.append(itemtronson(e, precedent));
        ++e.nbtron;
    }
    e.tronsonselection = e.tronson.isEmpty() ? -1 : 0;
    // The list is mirrored with its signals blocked: selecting from code runs no handler.
    synchro();
    affichecoultron();
}

void TForm1::tronsonChange(int index) {
    etat->tronsonselection = index;
    affichecoultron();
}

void TForm1::affichecoultron() {
    Etat& e = *etat;
    // With no selection (-1) no point matches and the swatch keeps its colour.
    for (int i = 0; i <= e.nbpt && i < MAXPT; ++i) {
        if (e.pttron[i] != e.tronsonselection) continue;
        e.coultron = e.ptcoul[i];
        teinte(coultron, e.coultron);
        return;
    }
}

void TForm1::Button8Click() {
    const std::optional<Couleur> choix = dialogues.couleur();
    if (!choix) return;
    Etat& e = *etat;
    // The segment's colour becomes the route colour, as a trace's colour does.
    e.coulr = *choix;
    e.coulmarque = *choix;
    teinte(coulr, e.coulr);
    for (int i = 0; i <= e.nbpt && i < MAXPT; ++i)
        if (e.pttron[i] == e.tronsonselection) e.ptcoul[i] = *choix;
    e.coultron = *choix;
    teinte(coultron, e.coultron);
    redessine();
}
