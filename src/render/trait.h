// The route in a style: each point an anti-aliased disc in film pixels, the outline (halo) under
// the whole line, composed through coverage masks so that overlapping discs never darken an edge
// and any walk order draws one clean line.
#pragma once

#include "map/surface.h"
#include "state/etat.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

// The compositor's scratch memory, kept between frames: the masks and the zoomed map.
struct Brouillon {
    int largeur = 0, hauteur = 0;
    int ligne = 0;                         // row stride of the masks, in pixels
    std::vector<std::uint8_t> trait, halo; // coverage 0..255 per film pixel
    std::vector<QRgb> couleur;             // colour of the disc that covers a pixel most
    std::vector<int> debut, fin;           // per row, the columns touched (debut > fin: none)

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

    // Over the map pixels the frame shows (and a margin): the last point drawn at each, -1 for
    // none. A point that a later one, or its eight neighbours, cover wholly is not stamped.
    std::vector<int> grille;
    std::vector<std::size_t> occupees;

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
// masks onto `vue` and clears them.
class Trait {
  public:
    Trait(Brouillon& b, const Etat& e, int largeur, int hauteur);
    void route(const Etat& e, int bout, int n, QRgb pointe);
    void compose(QImage& vue);

  private:
    void tamponne(const Brouillon::Tampon* tampons, double rayon, double cx, double cy,
                  std::vector<std::uint8_t>& masque, const QRgb* couleur);
    Brouillon& b;
    double zoom;
    int sx, sy;
    double rayon, rayonhalo;
    bool avechalo;
    QRgb halo;
};
