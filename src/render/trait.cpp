#include "render/trait.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The stamps of a disc of diameter d for every quarter-pixel phase of its box's corner, each at
// the sixteen places of its box within 16-pixel aligned columns: the masks are then read and
// written at aligned places, which stamp after overlapping stamp keeps the processor's store
// forwarding working.
std::vector<Brouillon::Tampon> tampons(double d) {
    const int P = Brouillon::PHASES, D = Brouillon::DECALAGES;
    const double r = d / 2;
    const int cote = static_cast<int>(std::ceil(d)) + 3;
    const int pas = (cote + D - 1 + 15) / 16 * 16;
    std::vector<Brouillon::Tampon> t(static_cast<std::size_t>(P * P * D));
    std::vector<std::uint8_t> base(static_cast<std::size_t>(cote * cote));
    for (int py = 0; py < P; ++py)
        for (int px = 0; px < P; ++px) {
            // The centre sits one pixel in from the box, plus the phase.
            const double cx = 1 + r + static_cast<double>(px) / P;
            const double cy = 1 + r + static_cast<double>(py) / P;
            for (int j = 0; j < cote; ++j)
                for (int i = 0; i < cote; ++i) {
                    const double dist = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
                    const double c = std::clamp(r + 0.5 - dist, 0.0, 1.0);
                    base[static_cast<std::size_t>(j * cote + i)] =
                        static_cast<std::uint8_t>(std::lround(c * 255));
                }
            for (int dx = 0; dx < D; ++dx) {
                Brouillon::Tampon& s = t[static_cast<std::size_t>((py * P + px) * D + dx)];
                s.cote = cote;
                s.pas = pas;
                s.cov.assign(static_cast<std::size_t>(pas * cote), 0);
                s.premier.assign(static_cast<std::size_t>(cote), pas);
                s.dernier.assign(static_cast<std::size_t>(cote), -1);
                for (int j = 0; j < cote; ++j)
                    for (int i = 0; i < cote; ++i) {
                        const std::uint8_t v = base[static_cast<std::size_t>(j * cote + i)];
                        if (!v) continue;
                        const auto uj = static_cast<std::size_t>(j);
                        s.cov[static_cast<std::size_t>(j * pas + dx + i)] = v;
                        s.premier[uj] = std::min(s.premier[uj], dx + i);
                        s.dernier[uj] = dx + i;
                    }
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
        // Rows padded to whole 16-pixel columns, and one more for stamps at the right edge.
        b.ligne = (largeur + 15) / 16 * 16 + 16;
        const auto n = static_cast<std::size_t>(b.ligne) * static_cast<std::size_t>(hauteur);
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
    const int P = Brouillon::PHASES, D = Brouillon::DECALAGES;
    // The box's corner, one pixel out from the disc, and the phase of the disc within it.
    const double gx = cx - r - 1, gy = cy - r - 1;
    const double fx = std::floor(gx), fy = std::floor(gy);
    const int phx = std::min(static_cast<int>((gx - fx) * P + 0.5), P);
    const int phy = std::min(static_cast<int>((gy - fy) * P + 0.5), P);
    // A phase rounded up to a whole pixel is phase 0 one pixel on.
    const int x0 = static_cast<int>(fx) + (phx == P), y0 = static_cast<int>(fy) + (phy == P);
    // The aligned column the box starts in, and its place there.
    const int dx = ((x0 % D) + D) % D, xa = x0 - dx;
    const Brouillon::Tampon& t = ts[((phy % P) * P + (phx % P)) * D + dx];
    const int L = b.largeur, H = b.hauteur, pasligne = b.ligne;
    if (x0 >= L || y0 >= H || x0 + t.cote <= 0 || y0 + t.cote <= 0) return;
#ifdef __SSE2__
    // A stamp inside the frame's rows: whole aligned rows, sixteen pixels at a time; its zero
    // padding leaves what it does not cover unchanged. What falls on the padding columns past
    // the frame's width is never shown.
    if (xa >= 0 && y0 >= 0 && xa + t.pas <= pasligne && y0 + t.cote <= H) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i q = _mm_set1_epi32(couleur ? static_cast<int>(*couleur) : 0);
        for (int j = 0; j < t.cote; ++j) {
            const auto uj = static_cast<std::size_t>(j);
            if (t.premier[uj] > t.dernier[uj]) continue;
            const auto uy = static_cast<std::size_t>(y0 + j);
            b.debut[uy] = std::min(b.debut[uy], xa + t.premier[uj]);
            b.fin[uy] = std::max(b.fin[uy], std::min(xa + t.dernier[uj], L - 1));
            const std::uint8_t* cov = t.cov.data() + static_cast<std::size_t>(j * t.pas);
            const std::size_t ligne =
                uy * static_cast<std::size_t>(pasligne) + static_cast<std::size_t>(xa);
            std::uint8_t* m = masque.data() + ligne;
            for (int i = 0; i < t.pas; i += 16) {
                const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cov + i));
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
                if (!couleur) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(m + i), _mm_max_epu8(a, c));
                    continue;
                }
                // Taken where the stamp covers at least as much as before, and covers at all.
                const __m128i pris = _mm_andnot_si128(_mm_cmpeq_epi8(c, zero),
                                                      _mm_cmpeq_epi8(_mm_max_epu8(c, a), c));
                if (!_mm_movemask_epi8(pris)) continue;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(m + i),
                                 _mm_or_si128(_mm_and_si128(pris, c), _mm_andnot_si128(pris, a)));
                QRgb* col = b.couleur.data() + ligne + i;
                const __m128i bas = _mm_unpacklo_epi8(pris, pris);
                const __m128i haut = _mm_unpackhi_epi8(pris, pris);
                const __m128i quarts[4] = {
                    _mm_unpacklo_epi16(bas, bas), _mm_unpackhi_epi16(bas, bas),
                    _mm_unpacklo_epi16(haut, haut), _mm_unpackhi_epi16(haut, haut)};
                for (int k = 0; k < 4; ++k) {
                    auto* p = reinterpret_cast<__m128i*>(col + 4 * k);
                    const __m128i v = _mm_loadu_si128(p);
                    _mm_storeu_si128(p, _mm_or_si128(_mm_and_si128(quarts[k], q),
                                                     _mm_andnot_si128(quarts[k], v)));
                }
            }
        }
        return;
    }
#endif
    // Near the frame's edges: pixel by pixel, clipped.
    const int j0 = std::max(0, -y0), j1 = std::min(t.cote, H - y0);
    for (int j = j0; j < j1; ++j) {
        const auto uj = static_cast<std::size_t>(j);
        const int i0 = std::max(t.premier[uj], -xa);
        const int i1 = std::min(t.dernier[uj], L - 1 - xa);
        if (i0 > i1) continue;
        const auto uy = static_cast<std::size_t>(y0 + j);
        b.debut[uy] = std::min(b.debut[uy], xa + i0);
        b.fin[uy] = std::max(b.fin[uy], xa + i1);
        const std::uint8_t* cov = t.cov.data() + static_cast<std::size_t>(j * t.pas);
        // Signed: the stamp's row may start left of the frame.
        const auto ligne = static_cast<std::ptrdiff_t>(uy) * pasligne + xa;
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

void Trait::route(const Etat& e, int bout, int n, QRgb pointe) {
    const auto couleur = [&](int i) { return i >= bout ? pointe : versqrgb(e.ptcoul[i]); };
    // The map pixels whose discs may reach the frame.
    const int marge = static_cast<int>(std::ceil(rayonhalo / zoom)) + 2;
    const int gx = sx - marge, gy = sy - marge;
    const int gl = static_cast<int>(std::ceil(b.largeur / zoom)) + 2 * marge;
    const int gh = static_cast<int>(std::ceil(b.hauteur / zoom)) + 2 * marge;
    // A very zoomed-out frame would need too large a record: every point is stamped then.
    const bool grille = static_cast<long long>(gl) * gh <= 16'000'000;
    const auto place = [&](int x, int y) -> long long {
        x -= gx;
        y -= gy;
        if (x < 0 || y < 0 || x >= gl || y >= gh) return -1;
        return static_cast<long long>(y) * gl + x;
    };
    if (grille) {
        const auto taille = static_cast<std::size_t>(gl) * static_cast<std::size_t>(gh);
        if (b.grille.size() < taille) b.grille.assign(taille, -1);
        for (int i = 0; i <= n; ++i)
            if (const long long k = place(e.ptx[i], e.pty[i]); k >= 0) {
                auto& g = b.grille[static_cast<std::size_t>(k)];
                if (g < 0) b.occupees.push_back(static_cast<std::size_t>(k));
                g = i;
            }
    }
    // The eight neighbours' discs cover a disc at least 1.04 neighbour steps wide.
    const bool voisins = grille && rayon >= 1.05 * zoom;
    for (int i = 0; i <= n; ++i) {
        const int x = e.ptx[i], y = e.pty[i];
        const QRgb q = couleur(i);
        bool halo = avechalo, trait = true;
        if (grille) {
            const long long k = place(x, y);
            // A later point at the same place covers this one exactly.
            if (k >= 0 && b.grille[static_cast<std::size_t>(k)] != i) continue;
            if (voisins && k >= 0) {
                bool entoure = true, meme = true;
                for (int dy = -1; dy <= 1 && entoure; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (!dx && !dy) continue;
                        const long long v = place(x + dx, y + dy);
                        const int j = v < 0 ? -1 : b.grille[static_cast<std::size_t>(v)];
                        if (j < 0) {
                            entoure = false;
                            break;
                        }
                        meme = meme && couleur(j) == q;
                    }
                halo = halo && !entoure;
                trait = !(entoure && meme);
            }
        }
        const double cx = (x - sx + 0.5) * zoom;
        const double cy = (y - sy + 0.5) * zoom;
        if (halo) tamponne(b.tamponshalo.data(), rayonhalo, cx, cy, b.halo, nullptr);
        if (trait) tamponne(b.tampons.data(), rayon, cx, cy, b.trait, &q);
    }
    for (const std::size_t k : b.occupees)
        b.grille[k] = -1;
    b.occupees.clear();
}

void Trait::compose(QImage& vue) {
    const int L = b.largeur;
    for (int y = 0; y < b.hauteur; ++y) {
        const auto uy = static_cast<std::size_t>(y);
        const int x0 = b.debut[uy], x1 = b.fin[uy];
        if (x0 > x1) continue;
        auto* ligne = reinterpret_cast<QRgb*>(vue.scanLine(y));
        const std::size_t k0 = uy * static_cast<std::size_t>(b.ligne);
        for (int x = x0; x <= x1; ++x) {
            const std::size_t k = k0 + static_cast<std::size_t>(x);
            // Most of a row's span lies between the route's strands: eight pixels at a time.
            if ((x & 7) == 0 && x + 8 <= x1 + 1) {
                std::uint64_t h8 = 0, a8 = 0;
                std::memcpy(&h8, b.halo.data() + k, 8);
                std::memcpy(&a8, b.trait.data() + k, 8);
                if (!(h8 | a8)) {
                    x += 7;
                    continue;
                }
            }
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
