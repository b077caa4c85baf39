// Film timing: the field routine, time texts "ss:ii", keyframes and the per-frame table. Plain
// functions over the project state; none shows a message.
#pragma once

#include "state/etat.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

// Field n (from 1) of `texte` cut at every `sep`; empty past the last field.
QString champ(const QString& texte, int n, QChar sep);
// The integer value of a text: optional sign and decimal digits, nothing else. Empty on failure.
std::optional<int> entier(const QString& texte);
// The conversion error the user sees for a text that is not an integer.
QString erreurentier(const QString& texte);

// "ss:ii" at the current ips <-> frame number; each field has two digits at least.
std::optional<int> tempsversimg(const Etat& e, const QString& t);
std::optional<int> tempsversimg(int ips, const QString& t);
QString imgverstemps(const Etat& e, int n);

// v * avance / 1000 truncated toward zero, exact for every 64-bit v (avance is 0..1000): the
// share of the route a frame draws.
inline long long partde(long long v, int avance) {
    return v / 1000 * avance + v % 1000 * avance / 1000;
}

// The offset `pas` frames into a move of `d` frames from a to b: in a straight line at one speed
// (truncated toward zero), or eased in and out of both ends.
int interpole(int a, int b, std::int64_t pas, std::int64_t d, bool adoucit);

// Dmax := imgverstemps(N), TL maximum := N (N is the number in NbI). When TL stood beyond the new
// maximum it is brought to it; the result is then true and the caller shows that frame.
bool majduree(Etat& e);
// Fits the keyframe table to N, refills Icle, rebuilds the frame table.
void majcles(Etat& e);
// Keyframe selection in Icle, creationcle, the caption of creerIC, whether SupIC is enabled.
void majmodecle(Etat& e);
// Rebuilds the frame table and ListBox1 from the keyframes.
void calculimages(Etat& e);
// With the track's pace on and times on every point, the progress of rows 0..r follows the
// track's clock (long standstills capped); false, and nothing written, otherwise.
bool avancehorloge(Etat& e, int r);
// The ListBox1 line of frame row c.
QString lignelistbox1(const Etat& e, int c);

// Start-up film (steps 5 to 12 of the start-up): ips from the Cips text, N from Dmax, the two
// keyframes, the lists and the frame table.
void filmdepart(Etat& e);

// Keyframe editing. The duration buttons: one second (Button4 / Button5) or one frame (Button6 /
// Button7) more or less; the result is the new N.
int dureeplus(Etat& e, int pas);  // Button4 (pas = ips) and Button6 (pas = 1)
int dureemoins(Etat& e, int pas); // Button5 and Button7: never below 1
// The frame-rate change for the text of Cips. On a text whose first two characters are not an
// integer nothing changes and the conversion error is returned.
std::optional<QString> changeips(Etat& e, const QString& texte);
// The keyframe table as a rate change finds it.
struct TableCles {
    int ips = 0;
    int nbcle = 0;
    std::array<int, MAXCLE> img{}, decx{}, decy{}, avance{};
    std::array<double, MAXCLE> zoom{};
    bool operator==(const TableCles&) const = default;
};
TableCles tablecles(const Etat& e);
// Whether the table is the start film's: a first and a last keyframe at offsets 0, without zoom
// or pinned share. A rate change that replaces it by that loses nothing.
bool clesdepart(const TableCles& t);
// The rate and the last frame number a text of Cips gives (seconds and frames of the duration
// stay); empty when its first two characters are not an integer.
std::optional<std::pair<int, int>> cadence(const Etat& e, const QString& texte);
// The keyframes of `t` at `ips` frames a second in a film whose last frame is `n`: each at the
// frame nearest its time, in order, one frame each, the last on `n`. When there are more
// keyframes than frames, those just before the last one are dropped; `retirees` gives their
// number.
TableCles recadre(const TableCles& t, int ips, int n, int& retirees);
// The frame-rate change that keeps the keyframes of `t` (the table as it stood at its own rate)
// at their times, as recadre() does. On a text that is not a rate nothing changes and the
// conversion error is returned.
std::optional<QString> changeips(Etat& e, const QString& texte, const TableCles& t, int& retirees);
// creerIC in both modes. Returns false (and changes nothing) when a 102nd keyframe would be
// created.
bool creecle(Etat& e);
// SupIC: deletes the keyframe of the current frame.
void supprimecle(Etat& e);
