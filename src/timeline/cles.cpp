// The film: last frame number, keyframes, frame table and the editing of all three.
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The duration buttons turn any longer film into the longest one.
constexpr int SEUILNBI = 2200;

// N as NbI holds it, kept within the frame table whatever was written there.
int derniere(const Etat& e) {
    return std::clamp(entier(e.nbi).value_or(1), 1, MAXNBI);
}

void poseN(Etat& e, int n) {
    e.nbi = QString::number(std::clamp(n, 1, MAXNBI));
}

// The rate is the number formed by the first two characters of the Cips text; below 1 it would
// divide by zero in every time text.
std::optional<int> lirips(const QString& texte) {
    const auto ips = entier(texte.left(2));
    if (!ips || *ips < 1) return std::nullopt;
    return ips;
}

void deuxcles(Etat& e) {
    const int n = derniere(e);
    e.cleimg[0] = 0;
    e.cleimg[1] = n;
    e.cledecx[0] = e.cledecx[1] = 0;
    e.cledecy[0] = e.cledecy[1] = 0;
    e.clezoom[0] = e.clezoom[1] = 0;
    e.cleavance[0] = e.cleavance[1] = SANSAVANCE;
    e.cletemps[0] = imgverstemps(e, 0);
    e.cletemps[1] = imgverstemps(e, n);
    e.nbcle = 2;
}

void copiecle(Etat& e, int vers, int de) {
    e.cleimg[vers] = e.cleimg[de];
    e.cledecx[vers] = e.cledecx[de];
    e.cledecy[vers] = e.cledecy[de];
    e.cletemps[vers] = e.cletemps[de];
    e.clezoom[vers] = e.clezoom[de];
    e.cleavance[vers] = e.cleavance[de];
}

// The keyframe of the current frame, or the place where it would go; nbcle when TL stands past
// the last keyframe.
int premiere(const Etat& e) {
    int i = 0;
    while (i < e.nbcle && e.cleimg[i] < e.tl)
        ++i;
    return i;
}

// Every rebuild of Icle re-derives the mode, so the buttons always match the current frame.
void remplicle(Etat& e) {
    e.icle.clear();
    for (int k = 0; k < e.nbcle; ++k)
        e.icle.append(e.cletemps[k]);
    majmodecle(e);
}

} // namespace

int interpole(int a, int b, std::int64_t pas, std::int64_t d, bool adoucit) {
    if (!adoucit) {
        // The product first, then a division truncating toward zero; 64 bits so nothing
        // overflows.
        return static_cast<int>(a + (std::int64_t{b} - a) * pas / d);
    }
    // Slow in, slow out: the share of the way follows 3t^2 - 2t^3, rounded to the pixel.
    const double t = static_cast<double>(pas) / static_cast<double>(d);
    const double s = t * t * (3.0 - 2.0 * t);
    return static_cast<int>(std::llround(a + (static_cast<double>(b) - a) * s));
}

bool majduree(Etat& e) {
    const int n = derniere(e);
    e.dmax = imgverstemps(e, n);
    e.tlmax = n;
    const bool deplace = e.tl > n;
    if (deplace) e.tl = n;
    // After a rate change the same frame has another time text.
    e.wtl = imgverstemps(e, e.tl);
    return deplace;
}

void majcles(Etat& e) {
    if (e.nbcle < 2 || e.nbcle > MAXCLE) deuxcles(e);
    const int n = derniere(e);
    const int last = e.nbcle - 1;
    e.cleimg[last] = n;
    e.cletemps[last] = imgverstemps(e, n);
    // The first keyframe at or after the new end becomes the end; the ones after it go.
    for (int k = 0; k < last; ++k) {
        if (e.cleimg[k] >= n) {
            e.cleimg[k] = n;
            e.cletemps[k] = imgverstemps(e, n);
            --e.nbcle;
        }
    }
    remplicle(e);
    calculimages(e);
}

void majmodecle(Etat& e) {
    // Matched on the frame number rather than the time text: the number is the keyframe, the
    // text only its label, and a label read from an older file may stand for another frame.
    e.icleselection = -1;
    const int n = std::min(static_cast<int>(e.icle.size()), e.nbcle);
    for (int i = 0; i < n; ++i)
        if (e.cleimg[i] == e.tl) e.icleselection = i;
    const int i = e.icleselection;
    e.creationcle = i < 0 ? 1 : 0;
    e.creerICcaption = i < 0 ? traduit(e, 34, QStringLiteral("Créer"))
                             : traduit(e, 33, QStringLiteral("Modifier"));
    // The first and the last keyframe are never deleted.
    e.supicactif = i > 0 && i < e.icle.size() - 1;
}

namespace {

// The zoom of keyframe k.
double zoomcle(const Etat& e, int k) {
    return e.clezoom[k] > 0 ? e.clezoom[k] : e.film.zoom;
}

// Offsets of a move between keyframes of different zooms: the view's centre moves as the offsets
// would, the zoom in its logarithm (so that closing in and drawing back feel even), both on the
// same easing; the offsets then keep the view on the map.
void zoome(Etat& e, int k, int r, int pas, std::int64_t d) {
    const double z0 = zoomcle(e, k), z1 = zoomcle(e, k + 1);
    const double cx0 = e.cledecx[k] + champl(e, z0) / 2.0,
                 cx1 = e.cledecx[k + 1] + champl(e, z1) / 2.0;
    const double cy0 = e.cledecy[k] + champh(e, z0) / 2.0,
                 cy1 = e.cledecy[k + 1] + champh(e, z1) / 2.0;
    constexpr int UN = 1 << 20;
    for (int j = 1; j <= pas; ++j) {
        const double t = interpole(0, UN, j, d, e.adoucit) / double(UN);
        const double z = std::exp(std::log(z0) + (std::log(z1) - std::log(z0)) * t);
        const int vl = champl(e, z), vh = champh(e, z);
        const int maxx = std::max(0, e.largeurcarte - vl), maxy = std::max(0, e.hauteurcarte - vh);
        e.imgzoom[r + j] = z;
        e.imgdecx[r + j] =
            std::clamp(static_cast<int>(std::lround(cx0 + (cx1 - cx0) * t - vl / 2.0)), 0, maxx);
        e.imgdecy[r + j] =
            std::clamp(static_cast<int>(std::lround(cy0 + (cy1 - cy0) * t - vh / 2.0)), 0, maxy);
    }
}

// The share of the route at each frame when keyframes pin some: straight between the pins, from
// 0 at the first frame to 1000 at the last where nothing pins them.
void avancespinglees(Etat& e, int r) {
    std::vector<std::pair<int, int>> ancres;
    const int nbcle = std::clamp(e.nbcle, 0, MAXCLE);
    for (int k = 0; k < nbcle; ++k)
        if (e.cleavance[k] >= 0 && e.cleimg[k] >= 0 && e.cleimg[k] <= r)
            if (ancres.empty() || e.cleimg[k] > ancres.back().first)
                ancres.emplace_back(e.cleimg[k], std::clamp(e.cleavance[k], 0, 1000));
    if (ancres.empty() || ancres.front().first > 0) ancres.insert(ancres.begin(), {0, 0});
    if (ancres.back().first < r) ancres.emplace_back(r, 1000);
    for (std::size_t a = 0; a + 1 < ancres.size(); ++a) {
        const auto [i0, v0] = ancres[a];
        const auto [i1, v1] = ancres[a + 1];
        for (int c = i0; c <= i1; ++c)
            e.imgavance[c] =
                v0 + static_cast<int>(static_cast<long long>(v1 - v0) * (c - i0) / (i1 - i0));
    }
}

} // namespace

void calculimages(Etat& e) {
    // Keyframes come from files too: rows past the table and pairs out of order are never written.
    const int nbcle = std::clamp(e.nbcle, 0, MAXCLE);
    // Zooms and pinned shares are ours: without them the table is the classic one, exactly.
    bool zooms = false, pins = false;
    for (int k = 0; k < nbcle; ++k) {
        zooms = zooms || e.clezoom[k] > 0;
        pins = pins || e.cleavance[k] >= 0;
    }
    int r = 0;
    for (int k = 0; k + 1 < nbcle; ++k) {
        e.imgdecx[r] = e.cledecx[k];
        e.imgdecy[r] = e.cledecy[k];
        e.imgzoom[r] = zooms ? zoomcle(e, k) : 0;
        const std::int64_t d = std::int64_t{e.cleimg[k + 1]} - e.cleimg[k];
        if (d <= 0) continue;
        const int pas = static_cast<int>(std::min<std::int64_t>(d, MAXNBI - r));
        if (zooms && zoomcle(e, k) != zoomcle(e, k + 1)) {
            zoome(e, k, r, pas, d);
        } else {
            for (int j = 1; j <= pas; ++j) {
                e.imgdecx[r + j] = interpole(e.cledecx[k], e.cledecx[k + 1], j, d, e.adoucit);
                e.imgdecy[r + j] = interpole(e.cledecy[k], e.cledecy[k + 1], j, d, e.adoucit);
                e.imgzoom[r + j] = zooms ? zoomcle(e, k) : 0;
            }
        }
        r += pas;
    }
    e.imgdecx[r] = nbcle > 0 ? e.cledecx[nbcle - 1] : 0;
    e.imgdecy[r] = nbcle > 0 ? e.cledecy[nbcle - 1] : 0;
    e.imgzoom[r] = zooms && nbcle > 0 ? zoomcle(e, nbcle - 1) : 0;
    e.nbimg = r;
    // The track's clock, when the route is a timed GPS track and its pace is on; otherwise even
    // growth, or straight between the keyframes that pin the share.
    // A replay's own clock, when the route is one.
    const bool horloge = horlogerejeu(e, r) || avancehorloge(e, r);
    if (!horloge) {
        for (int c = 0; c <= r; ++c)
            // A one-row film is its own last frame: the whole route.
            e.imgavance[c] = r > 0 ? c * 1000 / r : 1000;
        if (pins && r > 0) avancespinglees(e, r);
    }
    camerarejeu(e, r);
    e.listbox1.clear();
    for (int c = 0; c <= r; ++c)
        e.listbox1.append(lignelistbox1(e, c));
}

void filmdepart(Etat& e) {
    e.ips = lirips(e.cipstexte).value_or(25);
    poseN(e, tempsversimg(e, e.dmax).value_or(1));
    majduree(e);
    deuxcles(e);
    majcles(e);
    e.etatcalcul = 0;
}

int dureeplus(Etat& e, int pas) {
    int n = derniere(e) + pas;
    if (n > SEUILNBI) n = MAXNBI;
    poseN(e, n);
    majduree(e);
    majcles(e);
    return derniere(e);
}

int dureemoins(Etat& e, int pas) {
    poseN(e, std::max(derniere(e) - pas, 1));
    majduree(e);
    majcles(e);
    return derniere(e);
}

std::optional<QString> changeips(Etat& e, const QString& texte) {
    const auto ips = lirips(texte);
    if (!ips) return erreurentier(texte.left(2));
    const int avant = std::max(e.ips, 1);
    const int n = derniere(e);
    e.ips = *ips;
    // Seconds and frames stay; the frame count follows the rate. Taken from N, not from the Dmax
    // text, whose seconds lose their hundreds.
    poseN(e, n / avant * e.ips + n % avant);
    deuxcles(e);
    majduree(e);
    majcles(e);
    return std::nullopt;
}

bool creecle(Etat& e) {
    int i = e.creationcle == 0 ? e.icleselection : -1;
    if (i < 0 || i >= e.nbcle) {
        // Nothing selected: the keyframe of the current frame if there is one, else a new one.
        // Past the last keyframe (a file may end its table before N, or leave it empty) the
        // new one is appended; the table stays in frame order either way.
        i = premiere(e);
        if (i >= e.nbcle || e.cleimg[i] != e.tl) {
            if (e.nbcle >= MAXCLE) return false;
            for (int j = e.nbcle; j > i; --j)
                copiecle(e, j, j - 1);
            ++e.nbcle;
            e.cleimg[i] = e.tl;
            e.cletemps[i] = imgverstemps(e, e.tl);
            e.cleavance[i] = SANSAVANCE;
        }
    }
    e.cledecx[i] = e.ascl;
    e.cledecy[i] = e.asch;
    // The framing as shown: a frame between zoomed keyframes keeps its zoom.
    e.clezoom[i] = e.zoomvue;
    remplicle(e);
    calculimages(e);
    return true;
}

void supprimecle(Etat& e) {
    const int i = premiere(e);
    if (i <= 0 || i >= e.nbcle - 1 || e.cleimg[i] != e.tl) return;
    for (int j = i; j < e.nbcle - 1; ++j)
        copiecle(e, j, j + 1);
    --e.nbcle;
    remplicle(e);
    calculimages(e);
}
