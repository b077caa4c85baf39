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

// The placement the project would use: the project's own, else the map's.
std::variant<Calage, QString> calageprojet(const Etat& e);
