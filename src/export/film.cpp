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

int ipsvideo(const Etat& e) {
    if (e.cipsindex >= 0 && e.cipsindex < static_cast<int>(std::size(Etat::CADENCES)))
        return Etat::CADENCES[e.cipsindex];
    return e.ips;
}

ExportSuite::ExportSuite(Etat& e, Surfaces& surf, const QString& prefixe)
    : e(e), surf(surf), prefixe(prefixe), derniere(dernierimage(e)) {}

std::optional<QString> ExportSuite::etape() {
    if (fini()) return std::nullopt;
    const int n = suivante;
    // The time line shows frame n at its offsets and progress: that is the picture written.
    montreimage(e, surf, n);
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
    montreimage(e, surf, video.images());
    return video.ecrit(surf.vue);
}
