#include "project/gps.h"

#include "geo/calage.h"
#include "geo/gpx.h"
#include "route/lisse.h"
#include "timeline/temps.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

std::variant<Calage, QString> calageprojet(const Etat& e, QString* note) {
    const Calage& garde = e.geo.calage;
    // Points the user placed are the user's word: no file overrides them.
    if (garde.place && !garde.amers.empty()) return garde;
    if (e.fichiercarte.isEmpty()) {
        if (garde.place) return garde;
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    }
    const LectureCalage l = calagecarte(e.dossiercarte + e.fichiercarte);
    if (const auto* err = std::get_if<ErreurGeo>(&l)) {
        // The file gone or unreadable: what was saved still places the map.
        if (garde.place) return garde;
        return err->message;
    }
    const Calage& fichier = std::get<Calage>(l);
    if (garde.place && fichier != garde && note)
        *note = traduit(e, 1204,
                        QStringLiteral("Le calage de la carte a changé depuis "
                                       "l'enregistrement du projet : celui du fichier "
                                       "est pris."));
    return fichier;
}

std::variant<Importation, QString> importegps(Etat& e, const QString& gpx,
                                              const std::optional<Calage>& calage, bool temps) {
    if (e.fichiercarte.isEmpty())
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    Calage c;
    QString note;
    if (calage) {
        c = *calage;
    } else {
        auto l = calageprojet(e, &note);
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
    e.rejeu.pistes.clear(); // one track is a route, not a replay
    Importation& i = std::get<Importation>(r);
    e.geo.calage = c;
    if (!note.isEmpty()) i.messages.prepend(note);
    if (temps) e.geo.allure = true;
    // A clock that never ran is no clock: said whether or not the film was to follow it, since
    // the legend's time and speed lines go too.
    if (t.horlogefigee())
        i.messages << traduit(1203, QStringLiteral("Le GPS a donné la même heure à tous les points "
                                                   "(%1) : cette heure est ignorée, la route "
                                                   "avance régulièrement, sans temps ni vitesse."))
                          .arg(QDateTime::fromMSecsSinceEpoch(
                                   std::llround(t.segments.front().front().temps * 1000),
                                   QTimeZone::utc())
                                   .toString(Qt::ISODate));
    else if (temps && !e.gpstemps)
        i.messages << traduit(e, 886,
                              QStringLiteral("Le tracé n'a pas l'heure de chaque point (ou elle "
                                             "recule) : la route avance régulièrement."));
    // The even counter of old ends on the true total, so that a reader without the true
    // distance shows the right figure at the end.
    const double total = e.ptdist[e.nbpt] / (e.unite == MILE ? 1609.344 : 1000.0);
    e.lkm = QString::number(std::llround(total));
    lisseloupe(e);
    calculimages(e);
    return r;
}

Couleur couleurpiste(std::size_t k) {
    // 0x00BBGGRR: red, blue, green, orange, purple, cyan, magenta, brown, teal, navy, lime, maroon.
    static constexpr Couleur PALETTE[] = {0x4b19e6, 0xd86343, 0x4bb43c, 0x3182f5,
                                          0xb41e91, 0xf4d442, 0xe632f0, 0x24639a,
                                          0x909946, 0x750000, 0x45efbf, 0x000080};
    return PALETTE[k % std::size(PALETTE)];
}

std::variant<std::vector<Importation>, QString> importerejeu(Etat& e, const QStringList& gpx,
                                                             const OptionsRejeu& o,
                                                             const std::optional<Calage>& calage) {
    if (e.fichiercarte.isEmpty())
        return traduit(e, 10, QStringLiteral("Charger d'abord une image"));
    if (gpx.isEmpty()) return QStringLiteral("Aucun fichier GPX");
    Calage c;
    QString note;
    if (calage) {
        c = *calage;
    } else {
        auto l = calageprojet(e, &note);
        if (const auto* err = std::get_if<QString>(&l)) return *err;
        c = std::get<Calage>(l);
    }
    QString erreur;
    const auto projection = Projection::cree(c, erreur);
    if (!projection) return erreur;

    // The files read side by side: most of an import of many tracks is reading them.
    std::vector<LectureGpx> lus(static_cast<std::size_t>(gpx.size()));
    {
        std::atomic<qsizetype> suivant{0};
        const auto lit = [&] {
            for (qsizetype k; (k = suivant++) < gpx.size();)
                lus[static_cast<std::size_t>(k)] = chargegpx(gpx[k]);
        };
        std::vector<std::thread> fils;
        const unsigned nb = std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 8);
        for (unsigned f = 1; f < nb && f < static_cast<unsigned>(gpx.size()); ++f)
            fils.emplace_back(lit);
        lit();
        for (std::thread& f : fils)
            f.join();
    }
    // The tracks: each file, or each of its <trk>.
    std::vector<TraceGps> traces;
    QStringList noms;
    for (qsizetype k = 0; k < gpx.size(); ++k) {
        const LectureGpx& l = lus[static_cast<std::size_t>(k)];
        if (const auto* err = std::get_if<ErreurGeo>(&l)) return err->message;
        const TraceGps& t = std::get<TraceGps>(l);
        const QString fichier = QFileInfo(gpx[k]).completeBaseName();
        if (!o.pistes || t.pistes.size() < 2) {
            traces.push_back(t);
            noms << (t.pistes.size() == 1 && !t.pistes[0].nom.isEmpty() ? t.pistes[0].nom
                                                                        : fichier);
            continue;
        }
        for (std::size_t j = 0; j < t.pistes.size(); ++j) {
            TraceGps u;
            const std::size_t fin =
                j + 1 < t.pistes.size() ? t.pistes[j + 1].premier : t.segments.size();
            for (std::size_t s = t.pistes[j].premier; s < fin; ++s) {
                u.segments.push_back(t.segments[s]);
                u.nbpoints += std::ssize(t.segments[s]);
            }
            u.pistes.push_back({0, t.pistes[j].nom});
            traces.push_back(std::move(u));
            noms << (t.pistes[j].nom.isEmpty() ? QStringLiteral("%1 %2").arg(fichier).arg(j + 1)
                                               : t.pistes[j].nom);
        }
    }
    if (std::ssize(traces) > MAXPISTES)
        return QStringLiteral("Trop de tracés : %1 au plus").arg(MAXPISTES);
    std::vector<const TraceGps*> ptrs;
    std::vector<Couleur> couleurs;
    const std::size_t deja =
        o.ajoute && e.rejeu.actif() && geovalide(e) ? e.rejeu.pistes.size() : 0;
    for (std::size_t k = 0; k < traces.size(); ++k) {
        ptrs.push_back(&traces[k]);
        couleurs.push_back(k < o.couleurs.size() ? o.couleurs[k] : couleurpiste(deja + k));
        if (k < static_cast<std::size_t>(o.noms.size()) &&
            !o.noms[static_cast<qsizetype>(k)].trimmed().isEmpty())
            noms[static_cast<qsizetype>(k)] = o.noms[static_cast<qsizetype>(k)].simplified();
    }
    const bool ajoute = deja > 0;
    const std::size_t avant = deja;
    if (avant + traces.size() > static_cast<std::size_t>(MAXPISTES))
        return QStringLiteral("Trop de tracés : %1 au plus").arg(MAXPISTES);
    auto r = importepistes(e, ptrs, *projection, couleurs, ajoute);
    if (std::holds_alternative<QString>(r)) return r;
    std::vector<Importation>& res = std::get<std::vector<Importation>>(r);
    e.geo.calage = c;
    e.geo.allure = true;
    // Tracks without a clock are paced evenly over the longest timed one (ten minutes when none
    // has times), starting with the earliest.
    double duree = 0, debut = INFINITY;
    for (std::size_t k = 0; k < res.size(); ++k)
        if (res[k].temps) {
            duree = std::max(duree, e.pttemps[static_cast<std::size_t>(res[k].dernier)]);
            debut = std::min(debut, traces[k].segments.front().front().temps);
        }
    for (std::size_t k = 0; k < avant; ++k) {
        const Piste& p = e.rejeu.pistes[k];
        if (!p.horloge) continue;
        duree = std::max(duree, e.pttemps[static_cast<std::size_t>(p.dernier)] -
                                    e.pttemps[static_cast<std::size_t>(p.premier)]);
        debut = std::min(debut, p.debut);
    }
    if (duree <= 0) duree = 600;
    if (!std::isfinite(debut)) debut = 0;
    Rejeu rj = e.rejeu;
    rj.pistes.resize(avant);
    double plus = 0;
    for (std::size_t k = 0; k < res.size(); ++k) {
        Importation& i = res[k];
        Piste p;
        p.nom = noms[static_cast<qsizetype>(k)];
        p.couleur = couleurs[k];
        p.premier = i.premier;
        p.dernier = i.dernier;
        p.horloge = i.temps;
        p.debut = i.temps ? traces[k].segments.front().front().temps : debut;
        if (!i.temps) {
            const int n = std::max(1, i.dernier - i.premier);
            for (int j = i.premier; j <= i.dernier; ++j)
                e.pttemps[static_cast<std::size_t>(j)] = duree * (j - i.premier) / n;
            i.messages << traduit(1209, QStringLiteral("Sans l'heure de chaque point : avance "
                                                       "régulièrement."));
        }
        if (traces[k].horlogefigee())
            i.messages << traduit(1203,
                                  QStringLiteral("Le GPS a donné la même heure à tous les points "
                                                 "(%1) : cette heure est ignorée, la route "
                                                 "avance régulièrement, sans temps ni vitesse."))
                              .arg(
                                  QDateTime::fromMSecsSinceEpoch(
                                      std::llround(traces[k].segments.front().front().temps * 1000),
                                      QTimeZone::utc())
                                      .toString(Qt::ISODate));
        for (QString& m : i.messages)
            m = p.nom + QStringLiteral(" : ") + m;
        plus = std::max(plus, e.ptdist[static_cast<std::size_t>(i.dernier)] -
                                  e.ptdist[static_cast<std::size_t>(i.premier)]);
        rj.pistes.push_back(p);
    }
    e.rejeu = rj;
    // Every point has its time on its track's clock now.
    e.gpstemps = true;
    if (!note.isEmpty()) res.front().messages.prepend(note);
    e.lkm = QString::number(std::llround(plus / (e.unite == MILE ? 1609.344 : 1000.0)));
    lisseloupe(e);
    calculimages(e);
    return r;
}
