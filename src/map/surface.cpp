#include "map/surface.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

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

Surface::Surface(int largeur, int hauteur) {
    redimensionne(largeur, hauteur);
}

void Surface::redimensionne(int largeur, int hauteur) {
    img = QImage(std::max(largeur, 0), std::max(hauteur, 0), QImage::Format_RGB32);
    img.fill(0xff000000);
}

void Surface::remplit(Couleur c) {
    img.fill(versqrgb(c));
}

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
        const QRgb* de =
            reinterpret_cast<const QRgb*>(src.img.constScanLine(s.top() + y)) + s.left();
        QRgb* vers = reinterpret_cast<QRgb*>(img.scanLine(cible.top() + y)) + cible.left();
        if (!avecle) {
            std::copy(de, de + cible.width(), vers);
        } else {
            // Written without a branch, so that the compiler can copy several pixels at once.
            for (int x = 0; x < cible.width(); ++x)
                vers[x] = ((de[x] ^ qcle) & 0xffffff) != 0 ? de[x] : vers[x];
        }
    }
}

void Surface::etire(const Surface& src, const QRect& source, const QRect& dest) {
    if (source.isEmpty() || dest.isEmpty() || img.isNull()) return;
    const QRect cible = dest.intersected(img.rect());
    if (cible.isEmpty()) return;
    const int sw = src.img.width(), sh = src.img.height();
    // Nearest source column of every destination column, once; -1 outside the source.
    std::vector<int> colonnes(cible.width());
    for (int x = 0; x < cible.width(); ++x) {
        const long long dx = cible.left() + x - dest.left();
        const long long sx = source.left() + dx * source.width() / dest.width();
        colonnes[x] = (sx >= 0 && sx < sw) ? static_cast<int>(sx) : -1;
    }
    const bool toutdedans = colonnes.front() >= 0 && colonnes.back() >= 0;
    for (int y = cible.top(); y <= cible.bottom(); ++y) {
        const long long sy =
            source.top() + static_cast<long long>(y - dest.top()) * source.height() / dest.height();
        QRgb* vers = reinterpret_cast<QRgb*>(img.scanLine(y)) + cible.left();
        if (sy < 0 || sy >= sh) {
            std::fill(vers, vers + cible.width(), 0xff000000u);
            continue;
        }
        const QRgb* ligne =
            reinterpret_cast<const QRgb*>(src.img.constScanLine(static_cast<int>(sy)));
        // Columns grow with x, so the first and last tell whether any falls outside.
        if (toutdedans) {
            for (int x = 0; x < cible.width(); ++x)
                vers[x] = ligne[colonnes[x]];
        } else {
            for (int x = 0; x < cible.width(); ++x)
                vers[x] = colonnes[x] >= 0 ? ligne[colonnes[x]] : 0xff000000u;
        }
    }
}

namespace {

// The legend font as Qt knows it. The classic default face is not installed here: the system's
// sans-serif face stands in for it.
QFont policeqt(const Police& police) {
    QFont f;
    if (police.nom.isEmpty() || police.nom == QLatin1String("MS Sans Serif"))
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    else
        f.setFamily(police.nom);
    f.setStyleHint(QFont::SansSerif);
    f.setStyleStrategy(QFont::NoAntialias); // exact colours, so pixels read back as drawn
    f.setBold(police.gras);
    f.setItalic(police.italique);
    f.setUnderline(police.souligne);
    f.setStrikeOut(police.barre);
    if (police.taille < 0) {
        f.setPixelSize(-police.taille); // character height
    } else if (police.taille > 0) {
        // Cell height: scale the character height so that ascent + descent come to it.
        f.setPixelSize(police.taille);
        const int cellule = QFontMetrics(f).height();
        if (cellule > 0)
            f.setPixelSize(std::max(1, (police.taille * police.taille + cellule / 2) / cellule));
    }
    return f;
}

} // namespace

void Surface::texte(int x, int y, const QString& t, const Police& police, Couleur c) {
    if (img.isNull() || t.isEmpty()) return;
    const QFont f = policeqt(police);
    QPainter p(&img);
    p.setFont(f);
    p.setPen(QColor::fromRgb(versqrgb(c)));
    p.drawText(x, y + QFontMetrics(f).ascent(), t);
}

int Surface::hauteurligne(const Police& police) {
    return QFontMetrics(policeqt(police)).lineSpacing();
}

bool Surface::prend(QImage i) {
    if (i.format() != QImage::Format_RGB32) {
        i = i.convertToFormat(QImage::Format_RGB32);
        if (i.isNull()) return false;
    }
    img = std::move(i);
    return true;
}
