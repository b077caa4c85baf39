// One input of the GPS fuzz target, shared with the regression test that replays the inputs it
// found: the bytes as a GPX file (and, when read, made into a route on a small placed map) and as
// a world file.
#pragma once

#include "geo/calage.h"
#include "geo/gpx.h"
#include "geo/importe.h"
#include "state/etat.h"

#include <QByteArrayView>

#include <cmath>

// False when a reader broke a promise: a refusal without its message, a track with an empty
// segment or a point off the Earth, a route past its table or off the map, a flat placement.
inline bool essaigeo(QByteArrayView octets, Etat& e) {
    const LectureGpx l = lisgpx(octets);
    if (const auto* err = std::get_if<ErreurGeo>(&l)) {
        if (err->message.isEmpty() || err->ligne < 0) return false;
    } else {
        const TraceGps& t = std::get<TraceGps>(l);
        qsizetype n = 0;
        for (const SegmentGps& s : t.segments) {
            if (s.empty()) return false;
            for (const PointGps& p : s)
                if (!(std::abs(p.lat) <= 90 && std::abs(p.lon) <= 180)) return false;
            n += std::ssize(s);
        }
        if (n != t.nbpoints) return false;
        // A 1000 x 800 map, 0.0001 degree a pixel from 46 N 2 E.
        const Calage c = Calage::nord(0.0001, 2.0, 46.0, QStringLiteral("EPSG:4326"));
        QString erreur;
        const auto p = Projection::cree(c, erreur);
        if (!p) return false;
        e.largeurcarte = 1000;
        e.hauteurcarte = 800;
        e.nbpt = -1;
        videgeo(e);
        const auto r = importe(e, t, *p, 255);
        if (std::holds_alternative<Importation>(r)) {
            if (e.nbpt < 0 || e.nbpt >= MAXPT || e.nbgeo != e.nbpt + 1) return false;
            for (int i = 0; i <= e.nbpt; ++i)
                if (e.ptx[i] < 0 || e.ptx[i] >= 1000 || e.pty[i] < 0 || e.pty[i] >= 800 ||
                    !std::isfinite(e.ptdist[i]))
                    return false;
        } else if (e.nbpt != -1) {
            return false;
        }
    }
    const LectureCalage m = lismonde(octets);
    if (const auto* err = std::get_if<ErreurGeo>(&m)) return !err->message.isEmpty();
    const Calage& c = std::get<Calage>(m);
    const double det = c.a * c.e - c.b * c.d;
    return det != 0 && std::isfinite(c.c) && std::isfinite(c.f);
}
