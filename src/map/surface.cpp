#include "map/surface.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>

#include <algorithm>

namespace {

// The classic system palette, index by index (scroll bar, desktop, active caption, ...).
constexpr QRgb PALETTE[] = {
    0xffc8c8c8, // 0 scroll bar
    0xff000000, // 1 background (desktop)
    0xff99b4d1, // 2 active caption
    0xffbfcddb, // 3 inactive caption
    0xfff0f0f0, // 4 menu
    0xffffffff, // 5 window
    0xff646464, // 6 window frame
    0xff000000, // 7 menu text
    0xff000000, // 8 window text
    0xff000000, // 9 caption text
    0xffb4b4b4, // 10 active border
    0xfff4f7fc, // 11 inactive border
    0xffababab, // 12 application workspace
    0xff0078d7, // 13 highlight
    0xffffffff, // 14 highlight text
    0xfff0f0f0, // 15 button face
    0xffa0a0a0, // 16 button shadow
    0xff6d6d6d, // 17 gray text
    0xff000000, // 18 button text
    0xff000000, // 19 inactive caption text
    0xffffffff, // 20 button highlight
    0xff696969, // 21 3D dark shadow
    0xffe3e3e3, // 22 3D light
    0xff000000, // 23 info text
    0xffffffe1, // 24 info background
    0xff000000, // 25 (unused)
    0xff0066cc, // 26 hot light
    0xffb9d1ea, // 27 gradient active caption
    0xffd7e4f2, // 28 gradient inactive caption
    0xff3399ff, // 29 menu highlight
    0xfff0f0f0, // 30 menu bar
};

} // namespace

QRgb couleursysteme(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(PALETTE))) return 0xff000000;
    return PALETTE[index];
}

QRgb versqrgb(Couleur c) {
    if (estsysteme(c)) return couleursysteme(c & 0xff);
    const auto u = static_cast<std::uint32_t>(c);
    return qRgb(u & 0xff, (u >> 8) & 0xff, (u >> 16) & 0xff);
}

Couleur depuisqrgb(QRgb q) {
    return static_cast<Couleur>(qRed(q) | (qGreen(q) << 8) | (qBlue(q) << 16));
}

Surface::Surface(int largeur, int hauteur) { redimensionne(largeur, hauteur); }

void Surface::redimensionne(int largeur, int hauteur) {
    img = QImage(std::max(largeur, 0), std::max(hauteur, 0), QImage::Format_RGB32);
    img.fill(0xff000000);
}

void Surface::remplit(Couleur c) { img.fill(versqrgb(c)); }

Couleur Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return AUCUNECOULEUR;
    return depuisqrgb(reinterpret_cast<const QRgb*>(img.constScanLine(y))[x]);
}

void Surface::setpixel(int x, int y, Couleur c) {
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    reinterpret_cast<QRgb*>(img.scanLine(y))[x] = versqrgb(c);
}

void Surface::copie(const Surface& src, const QRect& source, QPoint dest) {
    copiecle(src, source, dest, AUCUNECOULEUR);
}

void Surface::copiecle(const Surface& src, const QRect& source, QPoint dest, Couleur cle) {
    // Clip against the source, moving the destination with it, then against the destination.
    QRect s = source.intersected(src.img.rect());
    if (s.isEmpty() || img.isNull()) return;
    QPoint d = dest + (s.topLeft() - source.topLeft());
    QRect cible = QRect(d, s.size()).intersected(img.rect());
    if (cible.isEmpty()) return;
    s = QRect(s.topLeft() + (cible.topLeft() - d), cible.size());
    const bool avecle = cle != AUCUNECOULEUR;
    const QRgb qcle = avecle ? versqrgb(cle) : 0;
    for (int y = 0; y < cible.height(); ++y) {
        const QRgb* de = reinterpret_cast<const QRgb*>(src.img.constScanLine(s.top() + y)) + s.left();
        QRgb* vers = reinterpret_cast<QRgb*>(img.scanLine(cible.top() + y)) + cible.left();
        if (!avecle) {
            std::copy(de, de + cible.width(), vers);
        } else {
            for (int x = 0; x < cible.width(); ++x)
                if ((de[x] & 0xffffff) != (qcle & 0xffffff)) vers[x] = de[x];
        }
    }
}

void Surface::etire(const Surface& src, const QRect& source, const QRect& dest) {
    if (source.isEmpty() || dest.isEmpty() || img.isNull()) return;
    const QRect cible = dest.intersected(img.rect());
    if (cible.isEmpty()) return;
    const int sw = src.img.width(), sh = src.img.height();
    for (int y = cible.top(); y <= cible.bottom(); ++y) {
        const int sy = source.top() + static_cast<int>((static_cast<long long>(y - dest.top()) *
                                                        source.height()) / dest.height());
        QRgb* vers = reinterpret_cast<QRgb*>(img.scanLine(y));
        const QRgb* ligne = (sy >= 0 && sy < sh)
                                ? reinterpret_cast<const QRgb*>(src.img.constScanLine(sy))
                                : nullptr;
        for (int x = cible.left(); x <= cible.right(); ++x) {
            const int sx = source.left() + static_cast<int>((static_cast<long long>(x - dest.left()) *
                                                             source.width()) / dest.width());
            vers[x] = (ligne && sx >= 0 && sx < sw) ? ligne[sx] : 0xff000000;
        }
    }
}

void Surface::texte(int x, int y, const QString& t, const Police& police, Couleur c) {
    if (img.isNull() || t.isEmpty()) return;
    QString nom = police.nom;
    if (nom.isEmpty() || nom == QLatin1String("MS Sans Serif"))
        nom = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont f(nom);
    f.setStyleStrategy(QFont::NoAntialias); // exact colours, as the platform's text output
    if (police.taille < 0)
        f.setPixelSize(-police.taille);
    else if (police.taille > 0)
        f.setPixelSize(std::max(1, police.taille * 4 / 5)); // cell height includes leading
    f.setBold(police.gras);
    f.setItalic(police.italique);
    f.setUnderline(police.souligne);
    f.setStrikeOut(police.barre);
    QPainter p(&img);
    p.setFont(f);
    p.setPen(QColor::fromRgb(versqrgb(c)));
    const QFontMetrics m(f);
    p.drawText(x, y + m.ascent(), t);
}

void Surface::prend(QImage i) {
    img = i.format() == QImage::Format_RGB32 ? std::move(i) : i.convertToFormat(QImage::Format_RGB32);
}
