// The route in a style: each point an anti-aliased disc in film pixels, the outline (halo) under
// the whole line, composed through coverage masks so that overlapping discs never darken an edge
// and any walk order draws one clean line.
//
// The line's masks are kept from frame to frame on a rectangle a little larger than the view:
// a film that plays forward only stamps the points it adds, and a camera that pans by whole
// film pixels reuses them. The tip, which moves along the line, is stamped afresh each frame.
#pragma once

#include "map/surface.h"
#include "state/etat.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

// Coverage masks over a rectangle of the film's pixel grid, whose origin is the map's corner
// at the zoom (whole film pixels).
struct Masques {
    int x0 = 0, y0 = 0;
    int largeur = 0, hauteur = 0;
    int ligne = 0;                         // row stride: whole 16-pixel columns and one more
    std::vector<std::uint8_t> trait, halo; // coverage 0..255 per pixel
    std::vector<QRgb> couleur;             // colour of the disc that covers a pixel most
    std::vector<int> debut, fin;           // per row, the columns touched (debut > fin: none)

    // Takes the rectangle, cleared.
    void prend(int x, int y, int l, int h);
    bool contient(int x, int y, int l, int h) const {
        return x >= x0 && y >= y0 && x + l <= x0 + largeur && y + h <= y0 + hauteur;
    }
};

// The compositor's scratch memory, kept between frames: the masks and the zoomed map.
struct Brouillon {
    // A disc's coverage for one sub-pixel phase of its centre.
    struct Tampon {
        int cote = 0;
        int pas = 0; // row stride of `cov`: cote rounded up to 16, the rest zeros
        std::vector<std::uint8_t> cov;
        std::vector<int> premier, dernier; // per row, the first and last covered column
    };
    static constexpr int PHASES = 4;     // a quarter of a pixel
    static constexpr int DECALAGES = 16; // places within an aligned column
    double diametre = -1, diametrehalo = -1;
    std::vector<Tampon> tampons, tamponshalo; // PHASES * PHASES * DECALAGES each

    // The line's points 0..faits-1, and what they were drawn with: the zoom, the view's
    // sub-pixel phase and the discs' diameters. Any change draws them again.
    Masques calque;
    std::vector<int> faitsx, faitsy;
    std::vector<Couleur> faitscoul;
    double calquezoom = 0, calquephx = -1, calquephy = -1, calquediam = -1, calquehalo = -1;
    // The tip's points, this frame only.
    Masques pointe;

    // Over the map pixels a set of masks covers (and a margin): the last point drawn at each,
    // -1 for none. A point that a later one, or its eight neighbours, cover wholly is not
    // stamped.
    std::vector<int> grille;
    std::vector<std::size_t> occupees;

    // A replay's texts, laid out once (render/rejeu.cpp).
    std::shared_ptr<void> rejeu;

    // The zoomed map under the last offsets, reused while the camera stands still.
    QImage fond;
    qint64 clefond = 0;
    int fondx = 0, fondy = 0;
    double fondzoom = 0;
};

Brouillon& brouillon(std::shared_ptr<Brouillon>& b);

// The diameter a point takes at this zoom: never less than the map pixel, so that neighbouring
// points still touch when the map is enlarged.
double diametretrait(const Style& s, double zoom);

// Draws the route's points 0..n, those from `bout` on in the tip colour; compose() puts the
// masks onto `vue`.
class Trait {
  public:
    Trait(Brouillon& b, const Etat& e, double zoom, int largeur, int hauteur);
    void route(const Etat& e, int bout, int n, QRgb pointe);
    void compose(QImage& vue);

  private:
    // Stamps points premier..dernier onto m, each in couleur(i), where points deja..premier-1
    // lie already; `saute` leaves out those that others there cover wholly.
    template <class F>
    void lot(const Etat& e, Masques& m, int deja, int premier, int dernier, F couleur, bool saute);
    Brouillon& b;
    double zoom;
    // The film's pixel (0, 0) is pixel (ex, ey) of the map at the zoom; a point's centre sits
    // at its map centre times the zoom, less the view's sub-pixel phase.
    int ex, ey, L, H;
    double phx, phy;
    double rayon, rayonhalo;
    bool avechalo;
    QRgb halo;
};
