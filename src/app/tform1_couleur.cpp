// Segment colours: the page "Couleur" lists the segments of the route as it stands when the user
// arrives there, shows the colour of the chosen one and recolours all its points.
#include "app/teinte.h"
#include "app/tform1.h"
#include "project/troncons.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

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

    listetroncons(e);
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
    if (const auto c = couleurtroncon(e, e.tronsonselection)) {
        e.coultron = *c;
        teinte(coultron, e.coultron);
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
    colorietroncon(e, e.tronsonselection, *choix);
    e.coultron = *choix;
    teinte(coultron, e.coultron);
    redessine();
}
