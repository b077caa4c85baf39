#include "route/traceur.h"

#include "route/lisse.h"

#include <algorithm>

Traceur::Traceur(Surface& vue, const Surface* carte) : vue(vue), carte(carte) {}

namespace {

// What the start click changes before the walk: the followed colour, a new route's start.
void prelude(Etat& e) {
    e.coulsuivie = e.coulmon;
    if (e.nouvelleroute) {
        e.nbpt = -1;
        e.troncours = 0;
        videgeo(e);
        tailleroute(e, 0); // a long route before gives its memory back
    }
}

Marche marchedepuis(const QImage& carte, const Etat& e, int x, int y, int maxi, const Avance* av) {
    return marchecarte(carte, {x + e.ascl, y + e.asch}, versqrgb(e.coulsuivie), e.reglagestrace, e,
                       maxi - (e.nbpt + 1), av);
}

} // namespace

Marche prevoismarche(const QImage& carte, Etat& copie, int x, int y, int maxi, const Avance* av) {
    prelude(copie);
    return marchedepuis(carte, copie, x, y, std::clamp(maxi, 0, MAXROUTE), av);
}

bool Traceur::surcarte(const Etat& e) const {
    const bool vuepixel = e.film.classique() && zoomde(e) == 1.0;
    return (!e.reglagestrace.classique() || !vuepixel) && carte && !carte->vide();
}

bool Traceur::demarre(Etat& e, int x, int y) {
    return lance(e, x, y, std::nullopt);
}

bool Traceur::demarre(Etat& e, int x, int y, Marche calcule) {
    return lance(e, x, y, std::move(calcule));
}

bool Traceur::lance(Etat& e, int x, int y, std::optional<Marche> calcule) {
    if (!e.calculactif || e.etatcalcul != 1) return false;
    prelude(e);
    // An empty route has no last segment: its continuation is the first one.
    if (!e.nouvelleroute) e.troncours = e.nbpt >= 0 ? e.pttron[e.nbpt] + 1 : 0;
    debut = e.nbpt + 1;
    rempli = false;

    // With the marker (or the drawing) colour equal to the followed one, an accepted pixel still
    // matches afterwards; without a record the walk would never end.
    const Couleur marque = depuisqrgb(versqrgb(e.coulmarque));
    const Couleur dessin = depuisqrgb(versqrgb(e.coulr));
    garde = marque == e.coulsuivie || dessin == e.coulsuivie;
    if (garde) {
        vusl = std::max(e.largeurcarte, 0);
        vush = std::max(e.hauteurcarte, 0);
        vus.assign(static_cast<std::size_t>(vusl) * vush, false);
    } else {
        vus.clear();
        vusl = vush = 0;
    }

    file.clear();
    tete = 0;
    nombre = 0;
    // A film of another size or zoom shows the map scaled: the walk reads the map itself.
    marquevue = e.film.classique() && zoomde(e) == 1.0;
    precalcule = surcarte(e);
    if (precalcule) {
        prevu =
            calcule ? std::move(*calcule) : marchedepuis(carte->image(), e, x, y, maxi, nullptr);
        placeroute(e, e.nbpt + 1 + static_cast<int>(prevu.points.size()));
        lu = 0;
    } else {
        ajoute(x + e.ascl, y + e.asch); // the clicked pixel is queued, not stored
    }
    e.aschvisible = false;
    e.asclvisible = false;
    e.calculviacaption = traduit(e, 55, QStringLiteral("Stop calcul"));
    e.etatcalcul = 2;
    return true;
}

void Traceur::ajoute(int x, int y) {
    file.push_back({x, y});
    ++nombre;
}

void Traceur::testevoisin(Etat& e, int x, int y) {
    const int vx = x - e.ascl, vy = y - e.asch;
    e.coulpixel = vue.pixel(vx, vy); // outside the view: no colour
    // "No colour" is a value a file can hand over as the followed colour: outside the view
    // nothing matches, whatever is followed.
    if (vx < 0 || vy < 0 || vx >= vue.largeur() || vy >= vue.hauteur()) return;
    if (e.coulpixel != e.coulsuivie) return;
    std::size_t k = 0;
    if (garde) {
        // The record covers the map; the walk does not leave it.
        if (x < 0 || y < 0 || x >= vusl || y >= vush) return;
        k = static_cast<std::size_t>(y) * vusl + x;
        if (vus[k]) return;
    }
    if (e.nbpt + 1 >= maxi || !placeroute(e, e.nbpt + 2)) {
        // Full: end as a confirmed stop does, the rest of this head stores nothing either.
        rempli = true;
        e.calculactif = false;
        return;
    }
    if (garde) vus[k] = true;
    ajoute(x, y);
    stocke(e, x, y);
}

void Traceur::stocke(Etat& e, int x, int y) {
    if (!placeroute(e, e.nbpt + 2)) return;
    ++e.nbpt;
    e.ptx[e.nbpt] = x;
    e.pty[e.nbpt] = y;
    e.ptcoul[e.nbpt] = e.coulr;
    e.pttron[e.nbpt] = e.troncours;
    if (marquevue) vue.setpixel(x - e.ascl, y - e.asch, e.coulmarque);
}

void Traceur::suit(Etat& e, const Redessine& redessine) {
    if (e.nbpt < 0) return;
    const int px = e.ptx[e.nbpt], py = e.pty[e.nbpt];
    // The view in map pixels.
    const int vl = champl(e, zoomde(e)), vh = champh(e, zoomde(e));
    if (precalcule && (px < e.ascl || py < e.asch || px >= e.ascl + vl || py >= e.asch + vh)) {
        // The walk over the map went where the view is not (a gap, the far side of a
        // crossing): the view jumps there, centred, instead of creeping after it.
        e.ascl = std::clamp(px - vl / 2, 0, std::max(e.asclmax, 0));
        e.asch = std::clamp(py - vh / 2, 0, std::max(e.aschmax, 0));
        if (redessine) redessine();
        return;
    }
    // Each move is kept within the scroll range, and the redraw follows even when the view could
    // not move: it shows the whole route traced so far.
    const auto defile = [&](int& position, int maxi, int pas) {
        position = std::clamp(position + pas, 0, std::max(maxi, 0));
        if (redessine) redessine();
    };
    if (px - e.ascl < 5) defile(e.ascl, e.asclmax, -10);
    if (px - e.ascl > vl - 10) defile(e.ascl, e.asclmax, 10);
    if (py - e.asch < 5) defile(e.asch, e.aschmax, -10);
    if (py - e.asch > vh - 10) defile(e.asch, e.aschmax, 10);
}

bool Traceur::pas(Etat& e, const Redessine& redessine) {
    if (precalcule) {
        if (!e.calculactif) lu = prevu.points.size(); // stop requested
        if (lu >= prevu.points.size()) return false;
        const QPoint p = prevu.points[lu++];
        stocke(e, p.x(), p.y());
        if (lu == prevu.points.size() && prevu.plein) rempli = true;
        suit(e, redessine);
        return lu < prevu.points.size();
    }
    if (nombre == 0) return false;
    const auto [x, y] = file[tete];
    // Left column top to bottom, then the head's own column (the head itself included), then
    // the right column: this order is the order the route grows in the film.
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            testevoisin(e, x + dx, y + dy);
    if (!e.calculactif) nombre = 0; // stop requested, or the tables are full
    suit(e, redessine);
    if (nombre > 0) {
        ++tete;
        --nombre;
    }
    return nombre > 0;
}

void Traceur::termine(Etat& e) {
    e.aschvisible = e.hauteurcarte > e.film.champh();
    e.asclvisible = e.largeurcarte > e.film.champl();
    e.calculactif = false;
    e.calculviacaption = traduit(e, 1, QStringLiteral("Vialume"));
    e.etatcalcul = 0;
    e.button9actif = true;
    garde = false;
    vus = std::vector<bool>(); // a large map's record is not kept between runs
    precalcule = false;
    prevu = Marche();
    file = std::vector<Position>();
    tete = 0;
    nombre = 0;
    lisseloupe(e);
}

Bilan Traceur::bilan(const Etat& e) const {
    if (!carte || carte->vide()) {
        Bilan b;
        b.traces = e.nbpt + 1 - debut;
        b.plein = rempli;
        b.capacite = maxi;
        return b;
    }
    Bilan b = bilantrace(carte->image(), e, debut, versqrgb(e.coulsuivie),
                         e.reglagestrace.tolerance, rempli);
    b.capacite = maxi;
    return b;
}

void armetrace(Etat& e, Couleur route) {
    e.coulr = route;
    e.coulmarque = route;
    e.calculactif = true;
    e.button9actif = false;
    e.calculviacaption = traduit(e, 60, QStringLiteral("Couleur ?"));
    e.etatcalcul = 1;
}

int tracetout(Traceur& t, Etat& e, const Traceur::Redessine& redessine) {
    while (t.pas(e, redessine)) {
    }
    return e.nbpt + 1 - t.premier();
}
