#include "project/gps.h"

#include "geo/calage.h"
#include "geo/gpx.h"
#include "route/lisse.h"
#include "timeline/temps.h"

#include <cmath>

std::variant<Calage, QString> calageprojet(const Etat& e) {
    if (e.geo.calage.place) return e.geo.calage;
    if (e.fichiercarte.isEmpty())
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    const LectureCalage l = calagecarte(e.dossiercarte + e.fichiercarte);
    if (const auto* err = std::get_if<ErreurGeo>(&l)) return err->message;
    return std::get<Calage>(l);
}

std::variant<Importation, QString> importegps(Etat& e, const QString& gpx,
                                              const std::optional<Calage>& calage, bool temps) {
    if (e.fichiercarte.isEmpty())
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    Calage c;
    if (calage) {
        c = *calage;
    } else {
        auto l = calageprojet(e);
        if (const auto* err = std::get_if<QString>(&l)) return *err;
        c = std::get<Calage>(l);
    }
    QString erreur;
    const auto projection = Projection::cree(c, erreur);
    if (!projection) return erreur;
    const LectureGpx l = chargegpx(gpx);
    if (const auto* err = std::get_if<ErreurGeo>(&l)) return err->message;
    const TraceGps& t = std::get<TraceGps>(l);
    // The route colour the user chose, red until one is.
    const Couleur couleur = estsysteme(e.coulr) ? Couleur{0x0000FF} : e.coulr;
    auto r = importe(e, t, *projection, couleur);
    if (std::holds_alternative<QString>(r)) return r;
    Importation& i = std::get<Importation>(r);
    e.geo.calage = c;
    if (temps) {
        e.geo.allure = true;
        if (!e.gpstemps)
            i.messages << traduit(e, 886,
                                  QStringLiteral("Le tracé n'a pas l'heure de chaque point (ou "
                                                 "elle recule) : la route avance régulièrement."));
    }
    // The even counter of old ends on the true total, so that a reader without the true
    // distance shows the right figure at the end.
    const double total = e.ptdist[e.nbpt] / (e.unite == MILE ? 1609.344 : 1000.0);
    e.lkm = QString::number(std::llround(total));
    lisseloupe(e);
    calculimages(e);
    return r;
}
