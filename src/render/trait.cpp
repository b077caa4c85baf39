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

// Stamps a disc of radius r centred on (cx, cy), in the masks' own pixels: onto the line mask
// in `couleur`, or onto the outline mask when there is no colour.
void tamponne(Masques& m, const Brouillon::Tampon* ts, double r, double cx, double cy,
              const QRgb* couleur) {
    const int P = Brouillon::PHASES, D = Brouillon::DECALAGES;
    std::vector<std::uint8_t>& masque = couleur ? m.trait : m.halo;
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
    const int L = m.largeur, H = m.hauteur, pasligne = m.ligne;
    if (x0 >= L || y0 >= H || x0 + t.cote <= 0 || y0 + t.cote <= 0) return;
#ifdef __SSE2__
    // A stamp inside the masks' rows: whole aligned rows, sixteen pixels at a time; its zero
    // padding leaves what it does not cover unchanged. What falls on the padding columns past
    // the width is never shown, and cleared with the row.
    if (xa >= 0 && y0 >= 0 && xa + t.pas <= pasligne && y0 + t.cote <= H) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i q = _mm_set1_epi32(couleur ? static_cast<int>(*couleur) : 0);
        for (int j = 0; j < t.cote; ++j) {
            const auto uj = static_cast<std::size_t>(j);
            if (t.premier[uj] > t.dernier[uj]) continue;
            const auto uy = static_cast<std::size_t>(y0 + j);
            m.debut[uy] = std::min(m.debut[uy], xa + t.premier[uj]);
            m.fin[uy] = std::max(m.fin[uy], std::min(xa + t.dernier[uj], L - 1));
            const std::uint8_t* cov = t.cov.data() + static_cast<std::size_t>(j * t.pas);
            const std::size_t ligne =
                uy * static_cast<std::size_t>(pasligne) + static_cast<std::size_t>(xa);
            std::uint8_t* p = masque.data() + ligne;
            for (int i = 0; i < t.pas; i += 16) {
                const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cov + i));
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                if (!couleur) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_max_epu8(a, c));
                    continue;
                }
                // Taken where the stamp covers at least as much as before, and covers at all.
                const __m128i pris = _mm_andnot_si128(_mm_cmpeq_epi8(c, zero),
                                                      _mm_cmpeq_epi8(_mm_max_epu8(c, a), c));
                if (!_mm_movemask_epi8(pris)) continue;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i),
                                 _mm_or_si128(_mm_and_si128(pris, c), _mm_andnot_si128(pris, a)));
                QRgb* col = m.couleur.data() + ligne + i;
                const __m128i bas = _mm_unpacklo_epi8(pris, pris);
                const __m128i haut = _mm_unpackhi_epi8(pris, pris);
                const __m128i quarts[4] = {
                    _mm_unpacklo_epi16(bas, bas), _mm_unpackhi_epi16(bas, bas),
                    _mm_unpacklo_epi16(haut, haut), _mm_unpackhi_epi16(haut, haut)};
                for (int k = 0; k < 4; ++k) {
                    auto* v = reinterpret_cast<__m128i*>(col + 4 * k);
                    const __m128i w = _mm_loadu_si128(v);
                    _mm_storeu_si128(v, _mm_or_si128(_mm_and_si128(quarts[k], q),
                                                     _mm_andnot_si128(quarts[k], w)));
                }
            }
        }
        return;
    }
#endif
    // Near the edges: pixel by pixel, clipped.
    const int j0 = std::max(0, -y0), j1 = std::min(t.cote, H - y0);
    for (int j = j0; j < j1; ++j) {
        const auto uj = static_cast<std::size_t>(j);
        const int i0 = std::max(t.premier[uj], -xa);
        const int i1 = std::min(t.dernier[uj], L - 1 - xa);
        if (i0 > i1) continue;
        const auto uy = static_cast<std::size_t>(y0 + j);
        m.debut[uy] = std::min(m.debut[uy], xa + i0);
        m.fin[uy] = std::max(m.fin[uy], xa + i1);
        const std::uint8_t* cov = t.cov.data() + static_cast<std::size_t>(j * t.pas);
        // Signed: the stamp's row may start left of the masks.
        const auto ligne = static_cast<std::ptrdiff_t>(uy) * pasligne + xa;
        std::uint8_t* p = masque.data() + ligne;
        if (couleur) {
            QRgb* c = m.couleur.data() + ligne;
            // The later point wins a tie: the tip covers the line it ends.
            for (int i = i0; i <= i1; ++i)
                if (cov[i] && cov[i] >= p[i]) {
                    p[i] = cov[i];
                    c[i] = *couleur;
                }
        } else {
            for (int i = i0; i <= i1; ++i)
                p[i] = std::max(p[i], cov[i]);
        }
    }
}

// Whether 16 coverage bytes from p are all zero.
inline bool vide16(const std::uint8_t* p) {
    std::uint64_t a = 0, b = 0;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    return !(a | b);
}

inline QRgb melange(QRgb d, QRgb s, unsigned a) {
    const unsigned n = 255 - a;
    const unsigned r = (qRed(s) * a + qRed(d) * n + 127) / 255;
    const unsigned g = (qGreen(s) * a + qGreen(d) * n + 127) / 255;
    const unsigned b = (qBlue(s) * a + qBlue(d) * n + 127) / 255;
    return 0xff000000u | (r << 16) | (g << 8) | b;
}

// Sixteen pixels under the outline's coverage h in its colour, then the line's a in its own:
// the same as melange() twice, pixel by pixel.
void melange16(QRgb* p, const std::uint8_t* h, const std::uint8_t* a, const QRgb* couleur,
               QRgb halo) {
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i c128 = _mm_set1_epi16(128), max = _mm_set1_epi16(255);
    const __m128i c257 = _mm_set1_epi16(257);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const __m128i ch = _mm_set1_epi32(static_cast<int>(halo));
    // d (1 - a) + s a, rounded to the nearest as (x + 127) / 255 does: for t = x + 128,
    // t * 257 / 65536 is that quotient over the whole range.
    const auto fond = [&](__m128i d, __m128i s, __m128i a) {
        const __m128i t = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(max, a)), _mm_mullo_epi16(s, a)), c128);
        return _mm_mulhi_epu16(t, c257);
    };
    // Four coverages, each spread over its pixel's four channels.
    const auto etale = [&](const std::uint8_t* v) {
        std::uint32_t q = 0;
        std::memcpy(&q, v, 4);
        __m128i x = _mm_cvtsi32_si128(static_cast<int>(q));
        x = _mm_unpacklo_epi8(x, x);
        return _mm_unpacklo_epi16(x, x);
    };
    for (int g = 0; g < 16; g += 4) {
        std::uint32_t hh = 0, aa = 0;
        std::memcpy(&hh, h + g, 4);
        std::memcpy(&aa, a + g, 4);
        if (!(hh | aa)) continue;
        auto* q = reinterpret_cast<__m128i*>(p + g);
        const __m128i d = _mm_loadu_si128(q);
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(couleur + g));
        const __m128i hv = etale(h + g), av = etale(a + g);
        __m128i bas = _mm_unpacklo_epi8(d, zero), haut = _mm_unpackhi_epi8(d, zero);
        bas = fond(bas, _mm_unpacklo_epi8(ch, zero), _mm_unpacklo_epi8(hv, zero));
        haut = fond(haut, _mm_unpackhi_epi8(ch, zero), _mm_unpackhi_epi8(hv, zero));
        bas = fond(bas, _mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(av, zero));
        haut = fond(haut, _mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(av, zero));
        _mm_storeu_si128(q, _mm_or_si128(_mm_packus_epi16(bas, haut), opaque));
    }
#else
    for (int i = 0; i < 16; ++i) {
        if (h[i]) p[i] = melange(p[i], halo, h[i]);
        if (a[i]) p[i] = melange(p[i], couleur[i], a[i]);
    }
#endif
}

} // namespace

void Masques::prend(int x, int y, int l, int h) {
    x0 = x;
    y0 = y;
    if (l != largeur || h != hauteur) {
        largeur = l;
        hauteur = h;
        // Rows padded to whole 16-pixel columns, and one more for stamps at the right edge.
        ligne = (l + 15) / 16 * 16 + 16;
        const auto n = static_cast<std::size_t>(ligne) * static_cast<std::size_t>(h);
        trait.assign(n, 0);
        halo.assign(n, 0);
        couleur.assign(n, 0);
        debut.assign(static_cast<std::size_t>(h), l);
        fin.assign(static_cast<std::size_t>(h), -1);
        return;
    }
    // Only the rows touched, from their first column to the row's end: a stamp may have left
    // coverage on the padding past the width.
    for (int j = 0; j < h; ++j) {
        const auto uj = static_cast<std::size_t>(j);
        if (debut[uj] > fin[uj]) continue;
        const std::size_t k = uj * static_cast<std::size_t>(ligne);
        const auto a = static_cast<std::size_t>(std::max(debut[uj] - 16, 0));
        std::fill(trait.begin() + static_cast<std::ptrdiff_t>(k + a),
                  trait.begin() + static_cast<std::ptrdiff_t>(k + static_cast<std::size_t>(ligne)),
                  0);
        std::fill(halo.begin() + static_cast<std::ptrdiff_t>(k + a),
                  halo.begin() + static_cast<std::ptrdiff_t>(k + static_cast<std::size_t>(ligne)),
                  0);
        debut[uj] = l;
        fin[uj] = -1;
    }
}

Brouillon& brouillon(std::shared_ptr<Brouillon>& b) {
    if (!b) b = std::make_shared<Brouillon>();
    return *b;
}

double diametretrait(const Style& s, double zoom) {
    // A diagonal neighbour lies zoom * sqrt(2) away: 1.5 zoom keeps the discs overlapping.
    return std::max<double>(s.largeur, 1.5 * zoom);
}

Trait::Trait(Brouillon& b, const Etat& e, double zoom, int largeur, int hauteur)
    : b(b), zoom(zoom), L(largeur), H(hauteur) {
    const double ox = e.ascl * zoom, oy = e.asch * zoom;
    ex = static_cast<int>(std::floor(ox));
    ey = static_cast<int>(std::floor(oy));
    phx = ox - ex;
    phy = oy - ey;
    const double d = diametretrait(e.style, zoom);
    const double dh = d + 2.0 * e.style.halo;
    rayon = d / 2;
    rayonhalo = dh / 2;
    avechalo = e.style.halo > 0;
    halo = versqrgb(e.style.coulhalo);
    if (b.diametre != d) {
        b.tampons = tampons(d);
        b.diametre = d;
    }
    if (avechalo && b.diametrehalo != dh) {
        b.tamponshalo = tampons(dh);
        b.diametrehalo = dh;
    }
}

template <class F>
void Trait::lot(const Etat& e, Masques& m, int deja, int premier, int dernier, F couleur,
                bool saute) {
    if (premier > dernier) return;
    // A point's centre in the masks' pixels.
    const auto centre = [&](int v, double ph, int origine) {
        return (v + 0.5) * zoom - ph - origine;
    };
    // The map pixels whose discs may reach the masks.
    const int marge = static_cast<int>(std::ceil(rayonhalo / zoom)) + 2;
    const int gx = static_cast<int>(std::floor((m.x0 + phx) / zoom)) - marge;
    const int gy = static_cast<int>(std::floor((m.y0 + phy) / zoom)) - marge;
    const int gl = static_cast<int>(std::ceil(m.largeur / zoom)) + 2 * marge;
    const int gh = static_cast<int>(std::ceil(m.hauteur / zoom)) + 2 * marge;
    // A very zoomed-out frame would need too large a record: every point is stamped then.
    const bool grille = saute && static_cast<long long>(gl) * gh <= 16'000'000;
    const auto place = [&](int x, int y) -> long long {
        x -= gx;
        y -= gy;
        if (x < 0 || y < 0 || x >= gl || y >= gh) return -1;
        return static_cast<long long>(y) * gl + x;
    };
    if (grille) {
        const auto taille = static_cast<std::size_t>(gl) * static_cast<std::size_t>(gh);
        if (b.grille.size() < taille) b.grille.assign(taille, -1);
        // Points deja..premier-1 are on these masks already: they count as neighbours.
        for (int i = deja; i <= dernier; ++i)
            if (const long long k = place(e.ptx[i], e.pty[i]); k >= 0) {
                auto& g = b.grille[static_cast<std::size_t>(k)];
                if (g < 0) b.occupees.push_back(static_cast<std::size_t>(k));
                g = i;
            }
    }
    // The eight neighbours' discs cover a disc at least 1.04 neighbour steps wide.
    const bool voisins = grille && rayon >= 1.05 * zoom;
    for (int i = premier; i <= dernier; ++i) {
        const int x = e.ptx[i], y = e.pty[i];
        const QRgb q = couleur(i);
        bool avec = avechalo, trait = true;
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
                avec = avec && !entoure;
                trait = !(entoure && meme);
            }
        }
        const double cx = centre(x, phx, m.x0), cy = centre(y, phy, m.y0);
        if (avec) tamponne(m, b.tamponshalo.data(), rayonhalo, cx, cy, nullptr);
        if (trait) tamponne(m, b.tampons.data(), rayon, cx, cy, &q);
    }
    for (const std::size_t k : b.occupees)
        b.grille[k] = -1;
    b.occupees.clear();
}

void Trait::route(const Etat& e, int bout, int n, QRgb pointe) {
    // The line, points 0..bout-1: kept when it was drawn the same way, over a rectangle that
    // holds the view, from points that are still the route's first ones; then only the points
    // added since are stamped.
    Masques& c = b.calque;
    const double dh = avechalo ? b.diametrehalo : -1;
    auto faits = static_cast<int>(b.faitsx.size());
    const auto memes = [](const auto& dessines, const auto& route) {
        return dessines.empty() || std::memcmp(dessines.data(), route.data(),
                                               dessines.size() * sizeof(dessines[0])) == 0;
    };
    const bool garde = b.calquezoom == zoom && b.calquephx == phx && b.calquephy == phy &&
                       b.calquediam == b.diametre && b.calquehalo == dh &&
                       c.contient(ex, ey, L, H) && faits <= bout && memes(b.faitsx, e.ptx) &&
                       memes(b.faitsy, e.pty) && memes(b.faitscoul, e.ptcoul);
    if (!garde) {
        // An eighth of the view around it: a camera that pans draws the line again only
        // every so often.
        const int mx = std::max(32, L / 8), my = std::max(32, H / 8);
        c.prend(ex - mx, ey - my, L + 2 * mx, H + 2 * my);
        b.calquezoom = zoom;
        b.calquephx = phx;
        b.calquephy = phy;
        b.calquediam = b.diametre;
        b.calquehalo = dh;
        b.faitsx.clear();
        b.faitsy.clear();
        b.faitscoul.clear();
        faits = 0;
    }
    // Many points at once (the first frame, a jump forward) are worth sorting out those covered
    // by others.
    const auto coul = [&](int i) { return versqrgb(e.ptcoul[i]); };
    lot(e, c, 0, faits, bout - 1, coul, bout - faits > 256);
    for (int i = faits; i < bout; ++i) {
        b.faitsx.push_back(e.ptx[i]);
        b.faitsy.push_back(e.pty[i]);
        b.faitscoul.push_back(e.ptcoul[i]);
    }

    // The tip, bout..n, over its own discs' box within the view.
    Masques& p = b.pointe;
    if (bout > n) {
        p.prend(ex, ey, 0, 0);
        return;
    }
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (int i = bout; i <= n; ++i) {
        x0 = std::min(x0, (e.ptx[i] + 0.5) * zoom);
        x1 = std::max(x1, (e.ptx[i] + 0.5) * zoom);
        y0 = std::min(y0, (e.pty[i] + 0.5) * zoom);
        y1 = std::max(y1, (e.pty[i] + 0.5) * zoom);
    }
    const double r = rayonhalo + 2;
    const int px0 = std::max(ex, static_cast<int>(std::floor(x0 - phx - r)));
    const int py0 = std::max(ey, static_cast<int>(std::floor(y0 - phy - r)));
    const int px1 = std::min(ex + L, static_cast<int>(std::ceil(x1 - phx + r)));
    const int py1 = std::min(ey + H, static_cast<int>(std::ceil(y1 - phy + r)));
    if (px0 >= px1 || py0 >= py1) {
        p.prend(ex, ey, 0, 0);
        return;
    }
    p.prend(px0, py0, px1 - px0, py1 - py0);
    const auto teinte = [pointe](int) { return pointe; };
    lot(e, p, bout, bout, n, teinte, n - bout > 256);
}

void Trait::compose(QImage& vue) {
    const Masques& c = b.calque;
    const Masques& p = b.pointe;
    // Film pixel = mask pixel + offset.
    const int cdx = c.x0 - ex, cdy = c.y0 - ey;
    const int pdx = p.x0 - ex, pdy = p.y0 - ey;
    // The line alone: most of a row's span lies between its strands, sixteen pixels at a time.
    const auto seule = [&](QRgb* ligne, std::size_t k0, int x0, int x1) {
        for (int x = x0; x <= x1; ++x) {
            const int i = x - cdx;
            const std::size_t k = k0 + static_cast<std::size_t>(i);
            if ((i & 15) == 0 && x + 15 <= x1) {
                if (!vide16(c.halo.data() + k) || !vide16(c.trait.data() + k))
                    melange16(ligne + x, c.halo.data() + k, c.trait.data() + k,
                              c.couleur.data() + k, halo);
                x += 15;
                continue;
            }
            const unsigned h = c.halo[k], a = c.trait[k];
            if (!h && !a) continue;
            QRgb d = ligne[x];
            if (h) d = melange(d, halo, h);
            if (a) d = melange(d, c.couleur[k], a);
            ligne[x] = d;
        }
    };
    for (int y = 0; y < H; ++y) {
        const int cy = y - cdy, py = y - pdy;
        const auto ucy = static_cast<std::size_t>(cy);
        int c0 = std::max(0, c.debut[ucy] + cdx), c1 = std::min(L - 1, c.fin[ucy] + cdx);
        int p0 = L, p1 = -1;
        if (py >= 0 && py < p.hauteur) {
            p0 = std::max(0, p.debut[static_cast<std::size_t>(py)] + pdx);
            p1 = std::min(L - 1, p.fin[static_cast<std::size_t>(py)] + pdx);
        }
        if (c0 > c1 && p0 > p1) continue;
        auto* ligne = reinterpret_cast<QRgb*>(vue.scanLine(y));
        const std::size_t kc = ucy * static_cast<std::size_t>(c.ligne);
        if (p0 > p1) {
            seule(ligne, kc, c0, c1);
            continue;
        }
        seule(ligne, kc, c0, std::min(c1, p0 - 1));
        seule(ligne, kc, std::max(c0, p1 + 1), c1);
        // Under the tip: the tip's discs come after the line's, so they win a tie.
        const std::size_t kp = static_cast<std::size_t>(py) * static_cast<std::size_t>(p.ligne);
        for (int x = p0; x <= p1; ++x) {
            const std::size_t k = kc + static_cast<std::size_t>(x - cdx);
            const std::size_t j = kp + static_cast<std::size_t>(x - pdx);
            unsigned h = p.halo[j], a = p.trait[j];
            QRgb q = p.couleur[j];
            if (x >= c0 && x <= c1) {
                h = std::max<unsigned>(h, c.halo[k]);
                if (!a || c.trait[k] > a) {
                    a = c.trait[k];
                    q = c.couleur[k];
                }
            }
            if (!h && !a) continue;
            QRgb d = ligne[x];
            if (h) d = melange(d, halo, h);
            if (a) d = melange(d, q, a);
            ligne[x] = d;
        }
    }
}
