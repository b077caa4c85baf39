// The route tracer: a breadth-first walk over the eight neighbours of each pixel, on the view
// surface, that stores every pixel of the followed colour as a route point in the order it is
// reached. The walk is a step machine so that the window can paint and answer between steps:
//
//   nouvelleroute, armetrace(e, couleur)   the window arms once the route colour is chosen
//   demarre(e, x, y)          the start click
//   while (pas(e, redessine)) the walk, one queue head a step
//   termine(e)                back to idle, smoothing of the magnifier path
#pragma once

#include "map/surface.h"
#include "route/lisse.h"
#include "route/marche.h"
#include "state/etat.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

class Traceur {
  public:
    // Composes the view at progress 1000 after each scroll step. The compositor sits above the
    // tracer, so the caller supplies it.
    using Redessine = std::function<void()>;

    // `vue` is borrowed: the view surface the walk reads and marks. `carte`, the map picture, is
    // what the walk reads instead when the project's walk settings are not all off.
    explicit Traceur(Surface& vue, const Surface* carte = nullptr);

    // The start click at view position (x, y), in map pixels from the view's corner. Only an armed
    // tracer (etatcalcul 1 and calculactif) starts; returns whether it did.
    bool demarre(Etat& e, int x, int y);
    // The same with the walk over the map already computed by prevoismarche() on a copy of `e`
    // as it stood (the window computes it away from its thread).
    bool demarre(Etat& e, int x, int y, Marche calcule);
    // Whether a start click now walks the map picture, computed whole at the click.
    bool surcarte(const Etat& e) const;
    // Processes one queue head: its nine neighbour tests, the stop request, the view following
    // the last point. Returns whether the queue still holds entries.
    bool pas(Etat& e, const Redessine& redessine);
    // The end of a walk, finished or stopped: scroll bars back, idle state, magnifier path.
    void termine(Etat& e);

    // The most points the route may hold (MAXROUTE, or fewer); a walk that would store more
    // ends there as a stop does.
    void limite(int points) { maxi = std::clamp(points, 0, MAXROUTE); }
    int limite() const { return maxi; }
    // The route filled up during this run; the walk ended there as a stop does.
    bool plein() const { return rempli; }
    // Entries still waiting in the queue.
    int enattente() const { return nombre; }
    // Index of the first point stored by this run.
    int premier() const { return debut; }
    // What the last run took and missed, read on the map (nothing to say without one).
    Bilan bilan(const Etat& e) const;

  private:
    bool lance(Etat& e, int x, int y, std::optional<Marche> calcule);
    void testevoisin(Etat& e, int x, int y);
    void suit(Etat& e, const Redessine& redessine);
    void ajoute(int x, int y);

    // Stores one point of the run and marks it on the view.
    void stocke(Etat& e, int x, int y);

    Surface& vue;
    const Surface* carte;

    // Stored points are marked on the view only when it shows the map pixel for pixel.
    bool marquevue = true;

    // The walk over the map, computed whole at the start click and played back a point a step.
    bool precalcule = false;
    Marche prevu;
    std::size_t lu = 0;

    // The queue: the start pixel, then each point stored, read from `tete` on. It grows with
    // the run and is given back at its end.
    struct Position {
        int x, y;
    };
    std::vector<Position> file;
    std::size_t tete = 0;
    int nombre = 0;
    int maxi = MAXROUTE;

    // Pixels accepted in this run, over the map; only kept when marking an accepted pixel does
    // not stop it from matching again (the route colour is the followed one).
    bool garde = false;
    std::vector<bool> vus;
    int vusl = 0, vush = 0;

    bool rempli = false;
    int debut = 0;
};

// Arms the walk for route colour `route`: the start click is awaited. nouvelleroute (a new
// route or a continuation) is set by the caller beforehand.
void armetrace(Etat& e, Couleur route);

// The walk over the map a start click at view position (x, y) takes, for a tracer whose
// surcarte() is true: `copie` is a copy of the project as it stands (it is changed as the start
// click changes the project). Safe on any thread; `av` may stop it early.
// `maxi` is the tracer's limite().
Marche prevoismarche(const QImage& carte, Etat& copie, int x, int y, int maxi,
                     const Avance* av = nullptr);

// Runs the steps of a started walk to its end, without a window: the command line and the
// benchmark. The caller ends with termine(). Returns the number of points stored by the run.
int tracetout(Traceur& t, Etat& e, const Traceur::Redessine& redessine);
