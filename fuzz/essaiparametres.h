// One input of the parameters-file fuzz target, shared with the regression test that replays the
// inputs it found: the bytes as a parameters file through the reader, then, when it takes them,
// applied to a project and composed as a load does.
#pragma once

#include "project/carte.h"
#include "project/imageprojet.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QByteArrayView>
#include <QString>

#include <variant>

// A project over `carte` (a map of 720 x 576 at least) with the magnifier picture `loupe`, the
// state every input starts from. False when either cannot be loaded.
inline bool projetessai(Etat& e, Surfaces& surf, const QString& carte, const QString& loupe) {
    return chargecarte(e, surf, carte).issue == Chargement::ok &&
           chargeloupe(e, surf, loupe).issue == Chargement::ok;
}

// False when the reader broke a promise: tables past their capacities, a refusal without its
// message or with a line number past the one after the file's last (a section cut short by the
// end of the file names the line that is missing). A file taken is applied to `e` (a project from
// projetessai) and frames are composed from it, so that every number it holds reaches what is
// computed from it; and what a save would then write, unless the save refuses it, reads back.
inline bool essaiparametres(QByteArrayView octets, Etat& e, Surfaces& surf) {
    // The scan for the picture a project belongs to reads the same bytes first.
    if (imageduprojet(octets, QStringLiteral("x.vlp"), QStringLiteral("/nulle-part/"))
            .image.contains(QLatin1Char('\n')))
        return false;
    const Lecture l = lisparametres(octets, 25);
    if (const auto* err = std::get_if<ErreurLecture>(&l))
        return !err->message.isEmpty() && err->ligne >= 0 && err->ligne <= octets.count('\n') + 2;
    Parametres p = std::get<Parametres>(l);
    if (p.points.size() > MAXROUTE || p.images.size() > MAXIMG || p.cles.size() > MAXCLE)
        return false;
    // The pictures a file names are not read: the input would name any file of the machine. The
    // magnifier picture stays the project's.
    p.visu.reset();
    if (p.loupe) p.loupe->fichier = e.fichierloupe;
    appliqueparametres(e, surf, p);
    e.okloupe = !e.fichierloupe.isEmpty();
    for (const int img : {0, e.tlmax / 2, e.tlmax})
        montreimage(e, surf, img);
    afficheimg(e, surf, 1000);
    if (!horslimites(e) &&
        std::holds_alternative<ErreurLecture>(lisparametres(ecrisparametres(e), 25)))
        return false;
    return true;
}
