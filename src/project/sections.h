// The sections of the parameters file, numbered in the order in which the reader tests a line
// against their keys.
#pragma once

#include <QLatin1StringView>

#include <array>

enum class Section {
    AUCUNE = -1, // ahead of the first key
    CHEMIN,
    PHOTO,
    IPS,
    CLE,
    POLICE,
    CPTMAX,
    TAILLE,
    POSY,
    COULEUR,
    MONTRE,
    KM,
    POSX,
    IMGMAX,
    COULROUTE,
    COULFOND,
    VISU,
    BORDOK,
    BORDCOUL,
    BORDNB,
    TXTAUTRE,
    OMBRE,
    LOUPE,
};

inline constexpr int NBSECTIONS = static_cast<int>(Section::LOUPE) + 1;

inline constexpr std::array<QLatin1StringView, NBSECTIONS> CLES = {
    QLatin1StringView("[CHEMIN]"),   QLatin1StringView("[PHOTO]"),
    QLatin1StringView("[IPS]"),      QLatin1StringView("[CLE]"),
    QLatin1StringView("[POLICE]"),   QLatin1StringView("[CPTMAX]"),
    QLatin1StringView("[TAILLE]"),   QLatin1StringView("[POSY]"),
    QLatin1StringView("[COULEUR]"),  QLatin1StringView("[MONTRE]"),
    QLatin1StringView("[KM]"),       QLatin1StringView("[POSX]"),
    QLatin1StringView("[IMGMAX]"),   QLatin1StringView("[COULROUTE]"),
    QLatin1StringView("[COULFOND]"), QLatin1StringView("[VISU]"),
    QLatin1StringView("[BORDOK]"),   QLatin1StringView("[BORDCOUL]"),
    QLatin1StringView("[BORDNB]"),   QLatin1StringView("[TXTAUTRE]"),
    QLatin1StringView("[OMBRE]"),    QLatin1StringView("[LOUPE]"),
};

inline QLatin1StringView textecle(Section s) {
    return CLES[static_cast<std::size_t>(s)];
}

// Keys of the sections this program adds ahead of "[CHEMIN]", where a reader that knows only the
// 22 above takes every line as one to skip. Each of their lines is a name, a TAB and a value.
inline constexpr QLatin1StringView CLETRACE("[TRACE]");
inline constexpr QLatin1StringView CLECAMERA("[CAMERA]");
inline constexpr QLatin1StringView CLEGEO("[GEO]");
inline constexpr QLatin1StringView CLEFILM("[FILM]");
inline constexpr QLatin1StringView CLESTYLE("[STYLE]");
inline constexpr QLatin1StringView CLEPISTES("[PISTES]");
// A route longer than V1.50's table: every point, in the fields of a "[CHEMIN]" line.
inline constexpr QLatin1StringView CLEROUTE("[ROUTE]");
