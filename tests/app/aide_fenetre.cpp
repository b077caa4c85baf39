#include "aide_fenetre.h"

Banc::Banc() : f(std::make_unique<TForm1>(d, dossier.path())) {}

void Banc::marque() {
    f->s().vue.remplit(MARQUE);
}

bool Banc::redessine() {
    return f->s().vue.pixel(0, 0) != MARQUE;
}

Couleur couleurcarte(int x, int y) {
    return x | (y << 12);
}

void Banc::carte(int largeur, int hauteur) {
    Surface& c = f->s().carte;
    c.redimensionne(largeur, hauteur);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            c.setpixel(x, y, couleurcarte(x, y));
    Etat& etat = e();
    etat.largeurcarte = largeur;
    etat.hauteurcarte = hauteur;
    etat.fichiercarte = QStringLiteral("carte.bmp");
    etat.asclmax = largeur - VUEL;
    etat.aschmax = hauteur - VUEH;
    etat.asclvisible = etat.asclmax > 0;
    etat.aschvisible = etat.aschmax > 0;
    etat.bordnb = QStringLiteral("30");
    f->synchro();
}
