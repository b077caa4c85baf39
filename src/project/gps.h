// Importing a GPS track into the project: placed on the map, made into the route, the film's
// pace and the legend's count set from it. The window's button and `vialume gpx` both use it.
#pragma once

#include "geo/importe.h"
#include "state/etat.h"

#include <optional>
#include <variant>

// Reads the GPX file `gpx` and replaces the route with its track. The placement is `calage`
// when given, else the project's, else the map's own (world file, GeoTIFF). With `temps` the
// film follows the track's clock when the track has times. Nothing changes on an error.
// The result's messages (what was cut, thinned, or why the clock is not followed) are French.
std::variant<Importation, QString> importegps(Etat& e, const QString& gpx,
                                              const std::optional<Calage>& calage, bool temps);

// The placement the project would use: points the user placed, else the map's own (world file,
// GeoTIFF), else the one saved with the project. When the map's own differs from the saved one
// (the file was corrected since), the map's wins and `note` says so.
std::variant<Calage, QString> calageprojet(const Etat& e, QString* note = nullptr);

// A replay: several GPX files (or, with `pistes`, each <trk> of them) made each a track of the
// route, in its colour, at its own clock.
struct OptionsRejeu {
    QStringList noms;              // given names, in order; the others from the GPX or its file
    std::vector<Couleur> couleurs; // given colours, in order; the others from a palette
    bool pistes = false;           // every <trk> of a file a track of its own
    bool ajoute = false;           // added to the replay there is, not in its place
};
// The tracks replace the route; the placement is found as for one track. The film follows the
// replay's clock. Nothing changes on an error. One result per track, messages French.
std::variant<std::vector<Importation>, QString> importerejeu(Etat& e, const QStringList& gpx,
                                                             const OptionsRejeu& o,
                                                             const std::optional<Calage>& calage);

// The colour of the k-th track when none is given: distinct colours that read on most maps.
Couleur couleurpiste(std::size_t k);
