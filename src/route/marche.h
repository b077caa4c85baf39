// The walk over the map picture itself, with the settings of ReglagesTrace: colours within a
// tolerance, the whole map instead of what passes through the view, gaps bridged, and the pen
// order along the line's centre. It is computed whole in a few milliseconds; the tracer then
// plays it back point by point so that the user still sees the route grow.
#pragma once

#include "state/avance.h"
#include "state/etat.h"

#include <QImage>
#include <QPoint>

#include <QString>

#include <optional>
#include <vector>

struct Marche {
    std::vector<QPoint> points; // map positions, in the order the route grows
    std::vector<int> ponts;     // indices into points where the walk jumped a gap
    bool plein = false;         // stopped at `place` points
};

// Breadth-first over the eight neighbours from the clicked map pixel, in the classic order (the
// left column top to bottom, the head's own column, the right column; the clicked pixel queued,
// stored when a head finds it). A pixel is taken when its colour lies within r.tolerance of
// `suivie` and it is not already a point of the route (points 0..e.nbpt). When the queue runs dry,
// the nearest pixel across a gap of up to r.pont missing pixels from the newest point that has one
// is taken and the walk goes on. At most `place` pixels are taken. With r.plume the result is then
// put in pen order.
// `av`, when given, may stop the walk early (what was taken so far is returned).
Marche marchecarte(const QImage& carte, QPoint depart, QRgb suivie, const ReglagesTrace& r,
                   const Etat& e, int place, const Avance* av = nullptr);

// Reorders `points` as a pen draws them: along the centre line of the painted stroke from the end
// nearest `depart`, straight on through crossings, coming back for the arms it passed, then to the
// nearest piece not yet drawn; each pixel drawn when the pen passes the centre point nearest to it.
// Returns the indices (into the new order) where the pen jumps to another piece.
std::vector<int> ordreplume(std::vector<QPoint>& points, QPoint depart);

// What a finished walk left behind: the pixels it took, and those of a close colour near the
// route that it did not take (painted route it missed).
struct Bilan {
    int traces = 0;
    int restants = 0;
    bool plein = false;
    int capacite = MAXROUTE; // the most points the route could hold
};
// Counts, on the map, the untraced pixels within a margin of the points `debut`..e.nbpt whose
// colour is near `suivie` (within twice the tolerance, at least 20), up to 64 pixels away.
Bilan bilantrace(const QImage& carte, const Etat& e, int debut, QRgb suivie, int tolerance,
                 bool plein);
// The message for a walk that went wrong, with what to try; none when it went well.
std::optional<QString> messagebilan(const Bilan& b);
