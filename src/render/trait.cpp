#include "render/trait.h"

#include <algorithm>
#include <cmath>

namespace {

// The stamps of a disc of diameter d for every quarter-pixel phase of its box's corner.
std::vector<Brouillon::Tampon> tampons(double d) {
    const int P = Brouillon::PHASES;
    const double r = d / 2;
    const int cote = static_cast<int>(std::ceil(d)) + 3;
    std::vector<Brouillon::Tampon> t(static_cast<std::size_t>(P * P));
    for (int py = 0; py < P; ++py)
        for (int px = 0; px < P; ++px) {
            Brouillon::Tampon& s = t[static_cast<std::size_t>(py * P + px)];
            s.cote = cote;
            s.cov.assign(static_cast<std::size_t>(cote * cote), 0);
            s.premier.assign(static_cast<std::size_t>(cote), cote);
            s.dernier.assign(static_cast<std::size_t>(cote), -1);
            // The centre sits one pixel in from the box, plus the phase.
            const double cx = 1 + r + static_cast<double>(px) / P;
            const double cy = 1 + r + static_cast<double>(py) / P;
            for (int j = 0; j < cote; ++j)
                for (int i = 0; i < cote; ++i) {
                    const double dist = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
                    const double c = std::clamp(r + 0.5 - dist, 0.0, 1.0);
                    const auto v = static_cast<std::uint8_t>(std::lround(c * 255));
                    if (!v) continue;
                    s.cov[static_cast<std::size_t>(j * cote + i)] = v;
                    s.premier[static_cast<std::size_t>(j)] =
                        std::min(s.premier[static_cast<std::size_t>(j)], i);
                    s.dernier[static_cast<std::size_t>(j)] = i;
                }
        }
    return t;
}

inline QRgb melange(QRgb d, QRgb s, unsigned a) {
    const unsigned n = 255 - a;
    const unsigned r = (qRed(s) * a + qRed(d) * n + 127) / 255;
    const unsigned g = (qGreen(s) * a + qGreen(d) * n + 127) / 255;
    const unsigned b = (qBlue(s) * a + qBlue(d) * n + 127) / 255;
    return 0xff000000u | (r << 16) | (g << 8) | b;
}

} // namespace

Brouillon& brouillon(std::shared_ptr<Brouillon>& b) {
    if (!b) b = std::make_shared<Brouillon>();
    return *b;
}

double diametretrait(const Style& s, double zoom) {
    // A diagonal neighbour lies zoom * sqrt(2) away: 1.5 zoom keeps the discs overlapping.
    return std::max<double>(s.largeur, 1.5 * zoom);
}

Trait::Trait(Brouillon& b, const Etat& e, int largeur, int hauteur)
    : b(b), zoom(e.film.zoom), sx(e.ascl), sy(e.asch) {
    const double d = diametretrait(e.style, zoom);
    const double dh = d + 2.0 * e.style.halo;
    rayon = d / 2;
    rayonhalo = dh / 2;
    avechalo = e.style.halo > 0;
    halo = versqrgb(e.style.coulhalo);
    if (b.largeur != largeur || b.hauteur != hauteur) {
        b.largeur = largeur;
        b.hauteur = hauteur;
        const auto n = static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur);
        b.trait.assign(n, 0);
        b.halo.assign(n, 0);
        b.couleur.assign(n, 0);
        b.debut.assign(static_cast<std::size_t>(hauteur), largeur);
        b.fin.assign(static_cast<std::size_t>(hauteur), -1);
    }
    if (b.diametre != d) {
        b.tampons = tampons(d);
        b.diametre = d;
    }
    if (avechalo && b.diametrehalo != dh) {
        b.tamponshalo = tampons(dh);
        b.diametrehalo = dh;
    }
}

void Trait::tamponne(const Brouillon::Tampon* ts, double r, double cx, double cy,
                     std::vector<std::uint8_t>& masque, const QRgb* couleur) {
    const int P = Brouillon::PHASES;
    // The box's corner, one pixel out from the disc, and the phase of the disc within it.
    const double gx = cx - r - 1, gy = cy - r - 1;
    const double fx = std::floor(gx), fy = std::floor(gy);
    const int phx = std::min(static_cast<int>((gx - fx) * P + 0.5), P);
    const int phy = std::min(static_cast<int>((gy - fy) * P + 0.5), P);
    // A phase rounded up to a whole pixel is phase 0 one pixel on.
    const int x0 = static_cast<int>(fx) + (phx == P), y0 = static_cast<int>(fy) + (phy == P);
    const Brouillon::Tampon& t = ts[(phy % P) * P + (phx % P)];
    const int L = b.largeur, H = b.hauteur;
    if (x0 >= L || y0 >= H || x0 + t.cote <= 0 || y0 + t.cote <= 0) return;
    const int j0 = std::max(0, -y0), j1 = std::min(t.cote, H - y0);
    for (int j = j0; j < j1; ++j) {
        const auto uj = static_cast<std::size_t>(j);
        const int i0 = std::max(t.premier[uj], -x0);
        const int i1 = std::min(t.dernier[uj], L - 1 - x0);
        if (i0 > i1) continue;
        const int y = y0 + j;
        const auto uy = static_cast<std::size_t>(y);
        b.debut[uy] = std::min(b.debut[uy], x0 + i0);
        b.fin[uy] = std::max(b.fin[uy], x0 + i1);
        const std::uint8_t* cov = t.cov.data() + static_cast<std::size_t>(j * t.cote);
        const std::size_t ligne = uy * static_cast<std::size_t>(L) + static_cast<std::size_t>(x0);
        std::uint8_t* m = masque.data() + ligne;
        if (couleur) {
            QRgb* c = b.couleur.data() + ligne;
            // The later point wins a tie: the tip covers the line it ends.
            for (int i = i0; i <= i1; ++i)
                if (cov[i] && cov[i] >= m[i]) {
                    m[i] = cov[i];
                    c[i] = *couleur;
                }
        } else {
            for (int i = i0; i <= i1; ++i)
                m[i] = std::max(m[i], cov[i]);
        }
    }
}

void Trait::points(const Etat& e, int premier, int dernier, const QRgb* teinte) {
    for (int i = premier; i <= dernier; ++i) {
        const double cx = (e.ptx[i] - sx + 0.5) * zoom;
        const double cy = (e.pty[i] - sy + 0.5) * zoom;
        const QRgb q = teinte ? *teinte : versqrgb(e.ptcoul[i]);
        if (avechalo) tamponne(b.tamponshalo.data(), rayonhalo, cx, cy, b.halo, nullptr);
        tamponne(b.tampons.data(), rayon, cx, cy, b.trait, &q);
    }
}

void Trait::compose(QImage& vue) {
    const int L = b.largeur;
    for (int y = 0; y < b.hauteur; ++y) {
        const auto uy = static_cast<std::size_t>(y);
        const int x0 = b.debut[uy], x1 = b.fin[uy];
        if (x0 > x1) continue;
        auto* ligne = reinterpret_cast<QRgb*>(vue.scanLine(y));
        const std::size_t k0 = uy * static_cast<std::size_t>(L);
        for (int x = x0; x <= x1; ++x) {
            const std::size_t k = k0 + static_cast<std::size_t>(x);
            const unsigned h = b.halo[k], a = b.trait[k];
            if (!h && !a) continue;
            QRgb d = ligne[x];
            if (h) d = melange(d, halo, h);
            if (a) d = melange(d, b.couleur[k], a);
            ligne[x] = d;
            b.halo[k] = 0;
            b.trait[k] = 0;
        }
        b.debut[uy] = L;
        b.fin[uy] = -1;
    }
}
