// Loading the pictures of a project: the map, the display picture and its switch "Visu", the
// magnifier picture. Used by the window and by the command line; the caller shows the message
// of the result through its own message routine and presents the view afterwards.
#pragma once

#include "map/surfaces.h"
#include "state/etat.h"

#include <QString>

#include <optional>

struct Chargement {
    enum Issue {
        ok,        // loaded; the view is redrawn
        refus,     // refused by a rule of the program: show `message` (language entry `entree`)
        illisible, // not a readable picture: show `message`, the reader's error, in an error box
    };
    Issue issue = ok;
    QString message; // French text; empty when there is nothing to show
    int entree = -1; // language entry that replaces `message`; -1 when none does
    // Map load only: a parameters file of that map exists (dossiercarte + fichierparam); the
    // caller offers to load it.
    bool parametres = false;
};

// The refusal of a map too small for the film's view: "Image 720*576 minimum" for the classic film,
// otherwise the size needed and the zoom that would fit. Nothing when the map is large enough.
std::optional<QString> tailleminimum(const Film& f, int largeur, int hauteur);

// The scroll ranges and offsets for the film's view over the map.
void porteesvue(Etat& e);

// A picture read, or the reader's error.
struct Lue {
    bool ok = false;
    Surface image;
    QString erreur;
};
Lue lis(const QString& chemin);

// The map load after the open dialog: the picture into surf.carte, the size check, the scroll
// ranges and offsets, the redraw, the map's names, the display picture dropped. An unreadable
// file changes nothing.
Chargement chargecarte(Etat& e, Surfaces& surf, const QString& chemin);

// The same in two halves, so that a large picture can be read away from the window's thread:
// what needs no project (the picture, the film its parameters file asks for, `encours` when
// there is none readable), then the load on the project with what was read.
struct LectureCarte {
    Lue lue;
    Film film;
};
LectureCarte litcarte(const QString& chemin, const Film& encours, int ips);
Chargement prendcarte(Etat& e, Surfaces& surf, const QString& chemin, LectureCarte l);

// The display picture (after the open dialog): it must have the map's size; it is then shown in
// place of the map and "Visu" is shown and checked. Otherwise "Visu" is hidden and unchecked and
// the map shows again.
Chargement chargevisu(Etat& e, Surfaces& surf, const QString& chemin);
// Its second half, with the picture `chemin` already read.
Chargement prendvisu(Etat& e, Surfaces& surf, const QString& chemin, Lue l);

// The switch "Visu" (Check) set to `coche`: the display picture or the map picture into surf.carte,
// then the redraw. A display picture that cannot be shown leaves the switch unchecked.
Chargement basculevisu(Etat& e, Surfaces& surf, bool coche);
// Its halves: the picture the switch reads (none without a map), then the switch with it read.
QString cheminbascule(const Etat& e, bool coche);
Chargement prendbascule(Etat& e, Surfaces& surf, bool coche, Lue l);

// The magnifier picture (after the open dialog): surf.loupe takes it, surf.tempo its size, the
// zoom range becomes 0..its width, fichierloupe its path, then the redraw. A refused picture
// leaves the previous one and its settings.
Chargement chargeloupe(Etat& e, Surfaces& surf, const QString& chemin);
