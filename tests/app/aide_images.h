// Picture files for the window tests, written into a test's temporary folder.
#pragma once

#include <QImage>
#include <QString>

// A picture whose pixel (x, y) has the colour couleurcarte(x, y) of aide_fenetre.h.
QImage dessin(int largeur, int hauteur);
// Writes `image` as a BMP file `nom` into `dossier`; returns its path.
QString ecritbmp(const QString& dossier, const QString& nom, const QImage& image);
// A magnifier picture `cote` pixels wide and high: black outside, a white glass, a green rim.
QImage verre(int cote);
