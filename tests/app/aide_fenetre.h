// The window under test: a TForm1 started in a temporary program folder, with scripted dialogs.
#pragma once

#include "aide_dialogues.h"

#include "app/tform1.h"

#include <QTemporaryDir>

#include <memory>

// A colour the compositor never paints without a map: a view still holding it was not redrawn.
constexpr Couleur MARQUE = 0x123456;

struct Banc {
    Banc();
    TForm1* operator->() { return f.get(); }
    Etat& e() { return f->e(); }

    // Fills the view with MARQUE, so that the next composition shows.
    void marque();
    bool redessine();

    // A map of the given size whose pixel (x, y) has the colour x | y << 12, installed as the
    // map loader leaves it (scroll ranges and visibility), and mirrored into the controls.
    void carte(int largeur, int hauteur);

    QTemporaryDir dossier;
    DialoguesScript d;
    std::unique_ptr<TForm1> f;
};

Couleur couleurcarte(int x, int y);
