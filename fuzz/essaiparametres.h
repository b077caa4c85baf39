// One input of the parameters-file fuzz target, shared with the regression test that replays the
// inputs it found: the bytes as a parameters file through the reader.
#pragma once

#include "project/imageprojet.h"
#include "project/parametres.h"

#include <QByteArrayView>

#include <variant>

// False when the reader broke a promise: tables past their capacities, a refusal without its
// message or with a line number past the one after the file's last (a section cut short by the
// end of the file names the line that is missing).
inline bool essaiparametres(QByteArrayView octets) {
    // The scan for the picture a project belongs to reads the same bytes first.
    if (imageduprojet(octets, QStringLiteral("x.vlp"), QStringLiteral("/nulle-part/"))
            .image.contains(QLatin1Char('\n')))
        return false;
    const Lecture l = lisparametres(octets, 25);
    if (const auto* e = std::get_if<ErreurLecture>(&l))
        return !e->message.isEmpty() && e->ligne >= 0 && e->ligne <= octets.count('\n') + 2;
    const Parametres& p = std::get<Parametres>(l);
    return p.points.size() <= MAXPT && p.images.size() <= MAXIMG && p.cles.size() <= MAXCLE;
}
