#include "route/lisse.h"

#include <algorithm>

void lisseloupe(Etat& e) {
    const int n = dernierpoint(e);
    if (n < 0) return;
    // The path grows with the route tables; a caller that grew only those still gets one.
    if (e.loupex.size() < e.ptx.size() || e.loupey.size() < e.ptx.size()) {
        e.loupex.resize(e.ptx.size());
        e.loupey.resize(e.ptx.size());
    }
    int* lx = e.loupex.data();
    int* ly = e.loupey.data();
    const int* px = e.ptx.data();
    const int* py = e.pty.data();
    lx[0] = px[0];
    ly[0] = py[0];
    lx[n] = px[n];
    ly[n] = py[n];
    // One point is its own path: the magnifier stands on it, not on what a former route left.
    if (n == 0) return;
    if (n == 2) {
        // Three points get no pass, so the middle entry takes its route point, not a stale value.
        lx[1] = px[1];
        ly[1] = py[1];
        return;
    }
    if (n < 3) return;
    for (int j = 1; j < n; ++j) {
        lx[j] = (px[j - 1] + px[j] + px[j + 1]) / 3;
        ly[j] = (py[j - 1] + py[j] + py[j + 1]) / 3;
    }
    // The track bar holds 1..50; a value from elsewhere must not make the passes run away.
    const int passes = std::clamp(e.estompe, 1, 50) + 1;
    for (int p = 0; p < passes; ++p) {
        // In place, left to right: the left neighbour already holds its value of this pass. It is
        // carried in a register, and X and Y share the loop so that their chains overlap.
        int gx = lx[0], gy = ly[0];
        for (int j = 1; j < n; ++j) {
            gx = (gx + lx[j] + lx[j + 1]) / 3;
            gy = (gy + ly[j] + ly[j + 1]) / 3;
            lx[j] = gx;
            ly[j] = gy;
        }
    }
}
