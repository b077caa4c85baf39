#include "project/troncons.h"

#include "project/langue.h"

#include <algorithm>

namespace {

// Above any segment number the tracer gives, so the first point always starts an item.
constexpr int AUCUNTRONCON = 99999;

} // namespace

void listetroncons(Etat& e) {
    e.tronson.clear();
    e.nbtron = 0;
    int precedent = AUCUNTRONCON;
    for (int i = 0; i <= dernierpoint(e); ++i) {
        if (e.pttron[i] == precedent) continue;
        precedent = e.pttron[i];
        e.tronson.append(itemtronson(e, precedent));
        ++e.nbtron;
    }
    e.tronsonselection = e.tronson.isEmpty() ? -1 : 0;
}

std::optional<Couleur> couleurtroncon(const Etat& e, int numero) {
    for (int i = 0; i <= dernierpoint(e); ++i)
        if (e.pttron[i] == numero) return e.ptcoul[i];
    return std::nullopt;
}

void colorietroncon(Etat& e, int numero, Couleur c) {
    for (int i = 0; i <= dernierpoint(e); ++i)
        if (e.pttron[i] == numero) e.ptcoul[i] = c;
}
