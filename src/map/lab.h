// Colour distance as the eye sees it: CIE L*a*b* (D65) and the 1976 delta E between two colours.
// A JPEG's noise or a brush's soft edge stays within a few units of the colour painted, while
// another colour of the map lies tens of units away.
#pragma once

#include <QRgb>

#include <array>
#include <cstdint>

struct Lab {
    float l = 0, a = 0, b = 0;
};

Lab verslab(QRgb c);

// Whether colours are within `tolerance` of one colour. Repeated colours (a map holds few, a
// JPEG's noise many but near each other) are answered from a small cache.
class ProcheCouleur {
  public:
    ProcheCouleur(QRgb reference, int tolerance);
    bool operator()(QRgb c) {
        c &= 0xffffffu;
        if (tol2 == 0) return c == ref;
        auto& e = cache[(c ^ (c >> 12)) & (TAILLE - 1)];
        if (e.cle != c) {
            e.cle = c;
            e.oui = calcule(c);
        }
        return e.oui;
    }

  private:
    bool calcule(QRgb c) const;
    static constexpr std::uint32_t TAILLE = 4096;
    struct Entree {
        std::uint32_t cle = 0xffffffffu; // never a 24-bit colour
        bool oui = false;
    };
    QRgb ref;
    Lab labref;
    float tol2;
    std::array<Entree, TAILLE> cache{};
};
