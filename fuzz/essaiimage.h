// One input of the picture fuzz target, shared with the regression test that replays the inputs
// it found: the bytes as a picture file through the three loads the window and the command line
// run (the map, the display picture over it, the magnifier picture), with their size guard.
#pragma once

#include "map/image.h"
#include "project/carte.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <iterator>

// The reader takes the suffix as a hint of the format before it looks at the bytes: the first
// byte chooses it.
inline QString fichieressai(QByteArrayView octets, const QString& dossier) {
    static constexpr const char* suffixes[] = {"bmp", "png", "jpg", "gif", "ico",
                                               "ppm", "xpm", "xbm", "txt"};
    const auto premier = static_cast<unsigned char>(octets.isEmpty() ? 0 : octets.front());
    const QString chemin = dossier + QStringLiteral("/image.") +
                           QLatin1String(suffixes[premier % std::size(suffixes)]);
    QFile f(chemin);
    const QByteArrayView contenu = octets.isEmpty() ? octets : octets.sliced(1);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(contenu.data(), contenu.size()) != contenu.size())
        return {};
    return chemin;
}

// False when a load broke a promise: a map under 720 x 576 or a picture over the pixel limit
// accepted, a refusal without a message.
inline bool essaiimage(const QString& chemin, Etat& e, Surfaces& surf) {
    const Chargement carte = chargecarte(e, surf, chemin);
    if (carte.issue != Chargement::ok && carte.message.isEmpty()) return false;
    if (carte.issue == Chargement::ok) {
        if (surf.carte.largeur() < VUEL || surf.carte.hauteur() < VUEH) return false;
        if (static_cast<long long>(surf.carte.largeur()) * surf.carte.hauteur() > MAXPIXELS)
            return false;
        const Chargement visu = chargevisu(e, surf, chemin);
        if (visu.issue != Chargement::ok) return false; // the same file has the map's size
        basculevisu(e, surf, false);
    }
    const Chargement loupe = chargeloupe(e, surf, chemin);
    if (loupe.issue != Chargement::ok && loupe.message.isEmpty()) return false;
    return loupe.issue != Chargement::ok ||
           static_cast<long long>(surf.loupe.largeur()) * surf.loupe.hauteur() <= MAXPIXELS;
}
