#include "aide_images.h"

#include "aide_fenetre.h"

#include <QDir>

QImage dessin(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    for (int y = 0; y < hauteur; ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < largeur; ++x)
            ligne[x] = versqrgb(couleurcarte(x, y));
    }
    return image;
}

QString ecritbmp(const QString& dossier, const QString& nom, const QImage& image) {
    const QString chemin = QDir(dossier).filePath(nom);
    if (!image.save(chemin, "BMP")) qFatal("cannot write %s", qPrintable(chemin));
    return chemin;
}
