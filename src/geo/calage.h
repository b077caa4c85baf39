// Placing the map on the Earth: from a world file (with its .prj) or a GeoTIFF beside the map,
// or from points the user places, and the projection of latitudes and longitudes onto the map's
// pixels that follows.
#pragma once

#include "geo/gpx.h"
#include "state/etat.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

using LectureCalage = std::variant<Calage, ErreurGeo>;

// The six lines of a world file (A, D, B, E, C, F: pixel size and rotation, then the centre of
// the top-left pixel). The reference system is left empty for the caller to set.
LectureCalage lismonde(QByteArrayView octets);

// The world file beside a map picture (x.bmp: x.bpw, x.bmpw, x.wld), if any.
std::optional<QString> fichiermonde(const QString& carte);

// The placement a map carries: a GeoTIFF's own, else its world file's, the reference system from
// the .prj beside it (a world file in degrees without one is taken as latitude and longitude).
// An error says why when the map has none or it cannot be read.
LectureCalage calagecarte(const QString& carte);

// Why a reference system is refused before PROJ sees it: it names a file (+init, a grid by a path
// outside PROJ's own folders) or a network address, which PROJ would open or fetch; a system
// given by an EPSG code, a WKT or a PROJ string that names grids by their names alone passes.
std::optional<QString> refuscrs(const QString& texte);

// The reference system a .prj or a user gives, as one line that PROJ takes again; empty with a
// message in `erreur` when PROJ does not know it or refuscrs() refuses it.
QString litcrs(const QString& texte, QString& erreur);

// Why a placement cannot be used nor saved: a coefficient that is not a number or lies past what
// the parameters file holds (MAXREEL), or a linear part that flattens the map onto a line or a
// point (its inverse would not be finite). Empty when it is sound.
std::optional<QString> refuscalage(const Calage& c);

// The fit of placed points: a similarity for two (scale, rotation, shift), an affine map for
// three or more (least squares). Coordinates are spherical Mercator metres, so that a similarity
// keeps the angles of a conformal map. At most MAXAMERS points, each within MAXREEL, and a fit
// that refuscalage() takes: what the parameters file holds.
LectureCalage ajuste(const std::vector<Amer>& amers);

// Spherical Mercator metres of a latitude and longitude.
void mercator(double lat, double lon, double& x, double& y);

// Latitudes and longitudes to map pixels (and back) through a placement.
class Projection {
  public:
    ~Projection();
    Projection(const Projection&) = delete;
    Projection& operator=(const Projection&) = delete;

    // Null with a message when the placement's reference system cannot be used.
    static std::unique_ptr<Projection> cree(const Calage& c, QString& erreur);

    // Longitudes are taken within half a turn of the map's: by default that of its top-left
    // pixel, better that of its centre when the caller knows the map's size.
    void centre(double x, double y) const;

    // n points; pixels are map coordinates of pixel centres (round to get the pixel).
    void verspixel(const double* lat, const double* lon, double* x, double* y, std::size_t n) const;
    bool verslatlon(double x, double y, double& lat, double& lon) const;
    // The same projection for another thread (PROJ's objects are one thread's each).
    std::unique_ptr<Projection> copie() const;

  private:
    explicit Projection(const Calage& c);
    Calage calage;
    double inv[4] = {1, 0, 0, 1}; // the inverse of the linear part
    void* ctx = nullptr;          // PROJ's context and transform, when crs is set
    void* pj = nullptr;
    mutable double lonref = 0; // where longitudes are unwrapped to; set through centre()
};

// How far, in pixels, each placed point lies from where the placement made from the OTHER points
// puts its latitude and longitude: a point given wrong shows up with a large one. Fewer than
// MINCONTROLE points fit each other exactly whatever they are: nothing then.
constexpr std::size_t MINCONTROLE = 4;
std::vector<double> residus(const Calage& c);

// A longitude moved by whole turns to lie within half a turn of `reference`, so that places on
// either side of the 180th meridian stay neighbours.
double deroule(double lon, double reference);
