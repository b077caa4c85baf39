#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <algorithm>

namespace {

// Kept within lo..hi; an empty range gives lo.
int borne(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

} // namespace

void montreimage(Etat& e, Surfaces& surf, int p, std::optional<Couleur> fond) {
    e.tl = borne(p, 0, e.tlmax);
    e.wtl = imgverstemps(e, e.tl);
    majmodecle(e);
    const int r = std::clamp(e.tl, 0, MAXIMG - 1);
    e.ascl = borne(e.imgdecx[r], 0, e.asclmax);
    e.asch = borne(e.imgdecy[r], 0, e.aschmax);
    afficheimg(e, surf, e.imgavance[r], fond);
}
