#include "project/cadrage.h"

#include "map/image.h"
#include "project/carte.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

QString refustaille(int l, int h) {
    return traduit(890, QStringLiteral(
                            "Taille de film %1*%2 impossible : de %3*%3 à %4*%5, côtés pairs"))
        .arg(l)
        .arg(h)
        .arg(MINFILM)
        .arg(MAXFILML)
        .arg(MAXFILMH);
}

int echelle(int v, double f) {
    return static_cast<int>(std::lround(v * f));
}

} // namespace

std::optional<QString> prendfilm(Etat& e, const Film& f) {
    if (!taillevalide(f.largeur, f.hauteur)) return refustaille(f.largeur, f.hauteur);
    if (!zoomvalide(f.zoom))
        return traduit(e, 891, QStringLiteral("Zoom de %1 à %2")).arg(MINZOOM).arg(MAXZOOM);
    if (!e.fichiercarte.isEmpty())
        if (auto refus = tailleminimum(f, e.largeurcarte, e.hauteurcarte)) return refus;
    e.film = f;
    e.xt = std::clamp(e.xt, 0, f.largeur);
    e.yt = std::clamp(e.yt, 0, f.hauteur);
    porteesvue(e);
    return std::nullopt;
}

std::optional<QString> changetaille(Etat& e, Surfaces& surf, int l, int h) {
    if (!taillevalide(l, h)) return refustaille(l, h);
    Film f = e.film;
    const bool memeformat =
        static_cast<long long>(l) * f.hauteur == static_cast<long long>(h) * f.largeur;
    if (!memeformat) {
        f.largeur = l;
        f.hauteur = h;
        return prendfilm(e, f);
    }
    const double k = static_cast<double>(l) / f.largeur;
    f.largeur = l;
    f.hauteur = h;
    f.zoom = e.film.zoom * k;
    if (auto refus = prendfilm(e, f)) return refus;
    // Zooms of keyframes and frames scale with the frame too.
    for (double& z : e.clezoom)
        z *= k;
    for (double& z : e.imgzoom)
        z *= k;
    if (e.zoomvue > 0) e.zoomvue *= k;
    e.xt = echelle(e.xt, k);
    e.yt = echelle(e.yt, k);
    e.police.taille = std::clamp(echelle(e.police.taille, k), -1000, 1000);
    e.xombre = echelle(e.xombre, k);
    e.yombre = echelle(e.yombre, k);
    e.style.largeur = std::clamp(echelle(e.style.largeur, k), 0, MAXLARGEUR);
    e.style.halo = std::clamp(echelle(e.style.halo, k), 0, MAXHALO);
    // The classic route (its own pixels) is blocks of the zoom: it scales by itself. The
    // magnifier scales with the frame, held to the size any magnifier picture is held to.
    if (!surf.loupe.vide() && k != 1.0) {
        const double pixels = static_cast<double>(surf.loupe.largeur()) * surf.loupe.hauteur();
        const double kl = std::min(k, std::sqrt(static_cast<double>(MAXLOUPE) / pixels));
        QImage loupe = surf.loupe.image().scaled(std::max(2, echelle(surf.loupe.largeur(), kl)),
                                                 std::max(2, echelle(surf.loupe.hauteur(), kl)),
                                                 Qt::IgnoreAspectRatio, Qt::FastTransformation);
        surf.loupe = Surface();
        surf.tempo = Surface();
        surf.loupe.prend(std::move(loupe));
        surf.tempo.redimensionne(surf.loupe.largeur(), surf.loupe.hauteur());
        e.txloupemax = surf.loupe.largeur();
        e.txloupe = std::clamp(echelle(e.txloupe, kl), 0, e.txloupemax);
    }
    return std::nullopt;
}

void proposelegende(Etat& e) {
    e.police.taille = -std::max(8, static_cast<int>(std::lround(e.film.hauteur * 0.04)));
    const int o = std::max(1, static_cast<int>(std::lround(e.film.hauteur / 192.0)));
    e.xombre = e.xombre < 0 ? -o : o;
    e.yombre = e.yombre < 0 ? -o : o;
}

std::optional<std::pair<int, int>> lisltaille(const QString& texte) {
    static const QRegularExpression forme(
        QStringLiteral("^\\s*(\\d{1,5})\\s*[xX*]\\s*(\\d{1,5})\\s*$"));
    const auto m = forme.match(texte);
    if (!m.hasMatch()) return std::nullopt;
    return std::pair{m.captured(1).toInt(), m.captured(2).toInt()};
}
