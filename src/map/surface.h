// A 24-bit pixel surface with the few operations a frame needs. Pixels read back exactly as
// written, as 0x00BBGGRR colour values; system colours are resolved to the palette when drawn.
#pragma once

#include "state/etat.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class Surface {
  public:
    Surface() = default;
    Surface(int largeur, int hauteur);

    int largeur() const { return img.width(); }
    int hauteur() const { return img.height(); }
    bool vide() const { return img.isNull(); }

    // Takes a new size; the content is then undefined (black).
    void redimensionne(int largeur, int hauteur);
    void remplit(Couleur c);

    // Outside the surface a read gives AUCUNECOULEUR and a write does nothing.
    Couleur pixel(int x, int y) const;
    void setpixel(int x, int y, Couleur c);

    // Opaque copy of the rectangle `source` of `src` to `dest` (top-left), clipped to both.
    void copie(const Surface& src, const QRect& source, QPoint dest);
    // The same, leaving out the pixels of `src` whose colour is `cle`.
    void copiecle(const Surface& src, const QRect& source, QPoint dest, Couleur cle);
    // Stretch of `source` onto `dest` without smoothing (nearest pixel); nothing when either
    // rectangle is empty. Source pixels outside `src` read as black.
    void etire(const Surface& src, const QRect& source, const QRect& dest);
    // A line of text with its top-left corner at (x, y), transparent background.
    void texte(int x, int y, const QString& t, const Police& police, Couleur c);
    // The distance from one line of text in that font to the next.
    static int hauteurligne(const Police& police);

    // Whole-picture access for loading, presenting and export.
    const QImage& image() const { return img; }
    QImage& image() { return img; }
    // Takes a picture, converted to the surface's pixel format; false (and the surface as it was)
    // when the conversion finds no memory.
    bool prend(QImage i);

  private:
    QImage img; // Format_RGB32
};

// The classic system-colour palette (index 0..30); unknown indices give black.
QRgb couleursysteme(int index);

// Colour value <-> Qt. Inline: the compositor converts one colour per route point.
inline QRgb versqrgb(Couleur c) { // resolves system colours
    if (estsysteme(c)) return couleursysteme(c & 0xff);
    const auto u = static_cast<std::uint32_t>(c);
    return 0xff000000u | ((u & 0xff) << 16) | (u & 0xff00) | ((u >> 16) & 0xff);
}
inline Couleur depuisqrgb(QRgb q) {
    return static_cast<Couleur>(((q & 0xff) << 16) | (q & 0xff00) | ((q >> 16) & 0xff));
}
