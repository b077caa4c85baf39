#include "aide_route.h"

#include <QPushButton>
#include <QTest>

void peintligne(Banc& b, int x, int y, int longueur) {
    for (int i = 0; i < longueur; ++i)
        b->s().carte.setpixel(x + i, y, LIGNE);
    b.e().check = false;
    b->synchro();
    b->redessine();
}

bool trace(Banc& b, bool suite, Couleur couleur, int x, int y) {
    b.d.couleurs.append(couleur);
    (suite ? b->Button9 : b->calculvia)->click();
    // The walk follows the colour under the mouse as it reaches the start pixel.
    b->Chechecouleur(x, y);
    b->fondMouseDown(Qt::LeftButton, x, y);
    return QTest::qWaitFor([&b] { return b.e().etatcalcul == 0; }, 5000);
}
