// The colour names that project files written on the original platform may carry, with that
// platform's values: plain colours 0x00BBGGRR and system colours 0x80000000 | index.
#include "project/couleurs.h"

#include "timeline/temps.h"

#include <array>
#include <cstdint>

namespace {

struct Nom {
    const char* nom;
    std::uint32_t valeur;
};

constexpr std::uint32_t SYS = 0x80000000u;

constexpr std::array<Nom, 47> NOMS = {{
    {"clBlack", 0x000000},         {"clMaroon", 0x000080},
    {"clGreen", 0x008000},         {"clOlive", 0x008080},
    {"clNavy", 0x800000},          {"clPurple", 0x800080},
    {"clTeal", 0x808000},          {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},        {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},          {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},          {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},          {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},         {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},        {"clDefault", 0x20000000},
    {"clScrollBar", SYS | 0},      {"clBackground", SYS | 1},
    {"clActiveCaption", SYS | 2},  {"clInactiveCaption", SYS | 3},
    {"clMenu", SYS | 4},           {"clWindow", SYS | 5},
    {"clWindowFrame", SYS | 6},    {"clMenuText", SYS | 7},
    {"clWindowText", SYS | 8},     {"clCaptionText", SYS | 9},
    {"clActiveBorder", SYS | 10},  {"clInactiveBorder", SYS | 11},
    {"clAppWorkSpace", SYS | 12},  {"clHighlight", SYS | 13},
    {"clHighlightText", SYS | 14}, {"clBtnFace", SYS | 15},
    {"clBtnShadow", SYS | 16},     {"clGrayText", SYS | 17},
    {"clBtnText", SYS | 18},       {"clInactiveCaptionText", SYS | 19},
    {"clBtnHighlight", SYS | 20},  {"cl3DDkShadow", SYS | 21},
    {"cl3DLight", SYS | 22},       {"clInfoText", SYS | 23},
    {"clInfoBk", SYS | 24},
}};

std::optional<Couleur> hexadecimal(QStringView texte) {
    const bool negatif = texte.startsWith(u'-');
    if (negatif || texte.startsWith(u'+')) texte = texte.mid(1);
    if (!texte.startsWith(u'$')) return std::nullopt;
    texte = texte.mid(1);
    if (texte.isEmpty() || texte.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (const QChar c : texte) {
        const int chiffre = QStringLiteral("0123456789abcdef").indexOf(c, 0, Qt::CaseInsensitive);
        if (chiffre < 0) return std::nullopt;
        v = v << 4 | static_cast<std::uint32_t>(chiffre);
    }
    // Read as 32 bits, as a colour value is: $FFFFFFFF is -1.
    if (negatif) v = 0u - v;
    return static_cast<Couleur>(v);
}

} // namespace

std::optional<Couleur> lircouleur(const QString& texte) {
    // Numbers first: every point line of a route may carry one.
    if (const auto v = entier(texte)) return *v;
    if (const auto v = hexadecimal(texte)) return *v;
    for (const Nom& n : NOMS)
        if (texte.compare(QLatin1StringView(n.nom), Qt::CaseInsensitive) == 0)
            return static_cast<Couleur>(n.valeur);
    return std::nullopt;
}
