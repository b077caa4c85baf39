// The distance the legend counts when it tells the true distance: from the track along the
// Earth, or along the map from a scale the user gave.
#pragma once

#include "state/etat.h"

#include <QString>
#include <QStringList>

#include <optional>

// Metres from the start of the route to point n; nothing when the route carries no distance
// and no scale is given.
std::optional<double> distancepoint(const Etat& e, int n);

// The legend's number at point n: the true distance in kilometres (miles with the unit
// "miles") with the chosen decimals, decimal comma. Nothing when the option is off or there is
// no distance to tell: the legend then counts as it always did.
std::optional<QString> chiffredistance(const Etat& e, int n);

// The further legend lines at point n (elapsed time, speed, elevation), each when asked for and
// when the track has what it needs.
QStringList lignesgps(const Etat& e, int n);

// A number with `decimales` decimals and a decimal comma.
QString decimalfr(double v, int decimales);
