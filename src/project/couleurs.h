// Colour texts: what the parameters file may hold where a colour stands.
#pragma once

#include "state/etat.h"

#include <QString>

#include <optional>

// A signed decimal number, a "$" hexadecimal number (optionally signed, up to 32 bits) or one of
// the classic colour names (clRed, clWindow, ...; any letter case). Empty when none of these.
std::optional<Couleur> lircouleur(const QString& texte);
