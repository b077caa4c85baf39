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
    e.zoomvue = e.imgzoom[r];
    if (e.zoomvue > 0) {
        // A zoomed frame has the scroll range of its own view.
        e.ascl = borne(e.imgdecx[r], 0, std::max(0, e.largeurcarte - champl(e, e.zoomvue)));
        e.asch = borne(e.imgdecy[r], 0, std::max(0, e.hauteurcarte - champh(e, e.zoomvue)));
    } else {
        e.ascl = borne(e.imgdecx[r], 0, e.asclmax);
        e.asch = borne(e.imgdecy[r], 0, e.aschmax);
    }
    afficheimg(e, surf, e.imgavance[r], fond);
}
