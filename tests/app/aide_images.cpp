#include "aide_images.h"

#include "aide_fenetre.h"

#include <QDir>

#include <cmath>

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

QImage verre(int cote) {
    QImage i(cote, cote, QImage::Format_RGB32);
    i.fill(Qt::black);
    const double c = cote / 2.0;
    for (int y = 0; y < cote; ++y)
        for (int x = 0; x < cote; ++x) {
            const double r = std::hypot(x + 0.5 - c, y + 0.5 - c);
            if (r < c * 0.75)
                i.setPixel(x, y, qRgb(255, 255, 255));
            else if (r < c * 0.9)
                i.setPixel(x, y, qRgb(0, 200, 0));
        }
    return i;
}
