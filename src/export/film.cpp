#include "export/film.h"

#include "export/bmp.h"
#include "render/afficheimg.h"

#include <algorithm>

namespace {

// The last frame number N, within the frame table.
int dernierimage(const Etat& e) {
    return std::clamp(e.tlmax, 0, MAXNBI);
}

} // namespace

void rendimage(Etat& e, Surfaces& surf, int n) {
    montreimage(e, surf, n);
    // Setting a scroll bar keeps the value within its range.
    const int ascl = std::clamp(e.imgdecx[n], 0, e.asclmax);
    const int asch = std::clamp(e.imgdecy[n], 0, e.aschmax);
    // For a frame of the film montreimage has just drawn that very picture; drawing it again
    // would only double the work of an export.
    if (e.tl == n && e.ascl == ascl && e.asch == asch) return;
    e.ascl = ascl;
    e.asch = asch;
    afficheimg(e, surf, e.imgavance[n]);
}

int ipsvideo(const Etat& e) {
    constexpr int RATES[] = {10, 12, 15, 20, 24, 25, 30};
    if (e.cipsindex >= 0 && e.cipsindex < static_cast<int>(std::size(RATES)))
        return RATES[e.cipsindex];
    return e.ips;
}

ExportSuite::ExportSuite(Etat& e, Surfaces& surf, const QString& prefixe)
    : e(e), surf(surf), prefixe(prefixe), derniere(dernierimage(e)) {}

std::optional<QString> ExportSuite::etape() {
    if (fini()) return std::nullopt;
    const int n = suivante;
    rendimage(e, surf, n);
    if (auto erreur = ecritbmp(surf.vue, fichiersuite(prefixe, n))) {
        echec = true;
        return erreur;
    }
    ++suivante;
    return std::nullopt;
}

ExportVideo::ExportVideo(Etat& e, Surfaces& surf) : e(e), surf(surf), derniere(dernierimage(e)) {}

std::optional<QString> ExportVideo::ouvre(const QString& chemin, const OptionsVideo& options) {
    derniere = dernierimage(e);
    return video.ouvre(chemin, ipsvideo(e), options, surf.vue.largeur(), surf.vue.hauteur());
}

std::optional<QString> ExportVideo::etape() {
    if (fini()) return std::nullopt;
    rendimage(e, surf, video.images());
    return video.ecrit(surf.vue);
}
