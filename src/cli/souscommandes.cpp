// The sub-commands export, trace and info: the project is loaded as "Charger" loads it (its
// parameters file accepted without a question), then the same core routines the window calls do
// the work, so the files written are the window's.
#include "cli/commande.h"
#include "cli/progression.h"
#include "project/cadrage.h"
#include "project/langue.h"

#include "export/bmp.h"
#include "export/film.h"
#include "geo/calage.h"
#include "geo/distance.h"
#include "geo/gpx.h"
#include "map/fichier.h"
#include "project/carte.h"
#include "project/gps.h"
#include "project/parametres.h"
#include "project/verrou.h"
#include "render/afficheimg.h"
#include "route/sanschemin.h"
#include "route/traceur.h"
#include "timeline/camera.h"
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTimeZone>

#include <algorithm>
#include <map>

namespace {

// How long a trace waits for another program that holds the project.
constexpr int ATTENTEVERROU = 10'000;

QString tr8(const char* s) {
    return QString::fromUtf8(s);
}

struct Projet {
    std::unique_ptr<Etat> e = nouveletat();
    Surfaces surf;
};

std::optional<QString> ouvre(Projet& p, const QString& carte) {
    return ouvreprojet(*p.e, p.surf, carte);
}

// --zoom, then --taille, on the opened project (the file stays as it is).
std::optional<QString> cadre(Projet& p, const Demande& d) {
    Etat& e = *p.e;
    if (d.zoom) {
        Film f = e.film;
        f.zoom = *d.zoom;
        if (auto refus = prendfilm(e, f)) return refus;
    }
    if (d.taille)
        if (auto refus = changetaille(e, p.surf, d.taille->first, d.taille->second)) return refus;
    return std::nullopt;
}

int echec(const QString& message) {
    QTextStream(stderr) << "vialume : " << message << '\n';
    return SORTIEECHEC;
}

int usage(const QString& message) {
    QTextStream(stderr) << "vialume : " << message << '\n'
                        << tr8("Pour l'aide : vialume --help") << '\n';
    return SORTIEUSAGE;
}

// Runs a step machine to its end with the progress shown; the message of a failing step.
template <class Machine> std::optional<QString> deroule(Machine& m, const QString& quoi) {
    Progression prog(quoi, m.total());
    while (!m.fini()) {
        if (auto erreur = m.etape()) {
            prog.termine();
            return erreur;
        }
        prog.avance(m.faites());
    }
    prog.termine();
    return std::nullopt;
}

// --film: the format by the file's extension; an .avi is the film of --avi.
int exportefilm(const Demande& d) {
    const QString cible = QFileInfo(d.cible).absoluteFilePath();
    const auto format = formatdepuisnom(cible);
    if (!format || *format == Format::png)
        return usage(tr8("extension inconnue pour --film : « %1 » (.mp4, .mkv, .mov, .webm, .gif, "
                         ".apng ou .avi)")
                         .arg(d.cible));
    OptionsFilm o;
    if (d.qualite) o.qualite = *d.qualite;
    o.hevc = d.codec == QLatin1String("h265");
    o.transparent = d.transparent;
    if (o.transparent && !avecalpha(*format)) return usage(errsansalpha());
    if (o.hevc && *format != Format::mp4 && *format != Format::mkv && *format != Format::mov)
        return usage(tr8("h265 ne vaut que pour .mp4, .mkv et .mov"));
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    if (auto refus = cadre(p, d)) return echec(*refus);
    Etat& e = *p.e;
    ExportVideo v(e, p.surf);
    const QString chemin = *format == Format::avi ? fichiervideo(cible) : cible;
    auto erreur = v.ouvre(chemin, *format, o);
    if (erreur) return echec(*erreur + QStringLiteral(" : ") + chemin);
    if (auto erreur = deroule(v, QStringLiteral("Export"))) return echec(*erreur);
    if (auto erreur = v.ferme()) return echec(*erreur);
    QTextStream(stdout) << traduit(e, 61, tr8("Fichier sauvé")) << " : " << chemin << " ("
                        << tr8("%1 images à %2 images/seconde").arg(v.faites()).arg(ipsvideo(e))
                        << ")\n";
    return SORTIEOK;
}

// --png: frames 0 to N under the prefix as given, whole.
int exportepng(const Demande& d) {
    const QString prefixe = QFileInfo(d.cible).absoluteFilePath();
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    if (auto refus = cadre(p, d)) return echec(*refus);
    Etat& e = *p.e;
    ExportPng s(e, p.surf, prefixe, d.transparent);
    if (auto erreur = deroule(s, QStringLiteral("Export PNG"))) return echec(*erreur);
    QTextStream(stdout) << tr8("Suite PNG écrite : ") << s.fichier(0) << tr8(" à ")
                        << s.fichier(s.total() - 1) << '\n';
    return SORTIEOK;
}

int exporte(const Demande& d) {
    if (d.sortie == Demande::film) return exportefilm(d);
    if (d.sortie == Demande::png) return exportepng(d);
    // Names first: a wrong name writes nothing and loads nothing.
    const QString cible = QFileInfo(d.cible).absoluteFilePath();
    std::optional<QString> chemin;
    std::optional<Codec> codec;
    switch (d.sortie) {
    case Demande::avi:
        chemin = fichiervideo(cible);
        codec = codecdepuisnom(d.codec);
        if (!codec)
            return echec(tr8("le codec « %1 » n'est pas disponible dans cette version de FFmpeg")
                             .arg(d.codec));
        break;
    case Demande::bmps:
        chemin = prefixesuite(cible);
        if (!chemin) return usage(tr8("le nom de la suite est vide : « %1 »").arg(d.cible));
        break;
    case Demande::bmp:
        chemin = fichierbmp(cible);
        if (!chemin) return usage(tr8("le nom du fichier est vide : « %1 »").arg(d.cible));
        break;
    case Demande::film:
    case Demande::png:
        return SORTIEUSAGE;
    }

    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    Etat& e = *p.e;
    QTextStream out(stdout);
    switch (d.sortie) {
    case Demande::avi: {
        OptionsVideo o;
        o.codec = *codec;
        if (d.qualite) o.qualite = *d.qualite;
        if (d.debit) o.debit = *d.debit;
        if (d.cle) o.cle = *d.cle;
        if (auto refus = fichierduprojet(e, *chemin)) return echec(*refus);
        ExportVideo v(e, p.surf);
        if (auto erreur = v.ouvre(*chemin, o))
            return echec(*erreur + QStringLiteral(" : ") + *chemin);
        if (auto erreur = deroule(v, QStringLiteral("Export AVI"))) return echec(*erreur);
        if (auto erreur = v.ferme()) return echec(*erreur);
        out << traduit(e, 61, tr8("Fichier sauvé")) << " : " << *chemin << " ("
            << tr8("%1 images à %2 images/seconde").arg(v.faites()).arg(ipsvideo(e)) << ")\n";
        return SORTIEOK;
    }
    case Demande::bmps: {
        ExportSuite s(e, p.surf, *chemin);
        if (auto erreur = deroule(s, QStringLiteral("Export BMP"))) return echec(*erreur);
        out << traduit(e, 54, QStringLiteral("Suite BMP OK"));
        if (s.total() > 0)
            out << " : " << fichiersuite(*chemin, 1) << tr8(" à ")
                << fichiersuite(*chemin, s.total());
        out << '\n';
        return SORTIEOK;
    }
    case Demande::bmp:
        if (d.image > e.tlmax)
            return echec(
                tr8("l'image %1 n'existe pas : le film va de 0 à %2").arg(d.image).arg(e.tlmax));
        if (auto refus = fichierduprojet(e, *chemin)) return echec(*refus);
        montreimage(e, p.surf, d.image);
        if (auto erreur = ecritbmp(p.surf.vue, *chemin)) return echec(*erreur);
        out << traduit(e, 61, tr8("Fichier sauvé")) << " : " << *chemin << '\n';
        return SORTIEOK;
    case Demande::film:
    case Demande::png:
        break;
    }
    return SORTIEECHEC;
}

QString rgb(Couleur c) {
    const QRgb q = versqrgb(c);
    return QStringLiteral("#%1").arg(q & 0xffffff, 6, 16, QLatin1Char('0')).toUpper();
}

int trace(const Demande& d) {
    // Held from the read of the project to its save: a second trace on the same map waits for
    // this one, then reads what it saved.
    Verrou verrou(parametresdecarte(d.carte));
    if (auto occupe = verrou.prend(ATTENTEVERROU)) return echec(*occupe);
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    Etat& e = *p.e;
    if (d.x >= e.largeurcarte || d.y >= e.hauteurcarte)
        return usage(tr8("le point %1,%2 est hors de la carte (%3 x %4)")
                         .arg(d.x)
                         .arg(d.y)
                         .arg(e.largeurcarte)
                         .arg(e.hauteurcarte));
    // The walk follows the map's own colours, as the window's does (where a display picture in
    // force stops it): a display picture the project shows gives way to the map. The project
    // still names it, so the next load shows it again.
    if (e.check) {
        const Chargement c = basculevisu(e, p.surf, false);
        if (c.issue != Chargement::ok) return echec(c.message);
    }
    // The view stands where the current frame puts it when the point lies in it, else it is
    // centred on the point as far as the scroll ranges let it.
    const int vl = e.film.champl(), vh = e.film.champh();
    const bool dedans = d.x >= e.ascl && d.x < e.ascl + vl && d.y >= e.asch && d.y < e.asch + vh;
    if (!dedans) {
        e.ascl = std::clamp(d.x - vl / 2, 0, e.asclmax);
        e.asch = std::clamp(d.y - vh / 2, 0, e.aschmax);
    }
    // Armed as calculvia (or Button9 for --suite) arms, the magnifier off while the walk reads
    // the view; the probe has stood on the start pixel.
    const bool loupe = e.okloupe;
    e.okloupe = false;
    redessine(e, p.surf);
    e.nouvelleroute = !d.suite;
    // The walk's settings given on the command line become the project's.
    ReglagesTrace& r = e.reglagestrace;
    if (d.tolerance) r.tolerance = *d.tolerance;
    if (d.pont) r.pont = *d.pont;
    r.carte = r.carte || d.carteentiere;
    r.plume = r.plume || d.plume;
    armetrace(e, d.couleur);
    e.coulmon = p.surf.carte.pixel(d.x, d.y);

    Traceur t(p.surf.vue, &p.surf.carte);
    t.demarre(e, d.x - e.ascl, d.y - e.asch);
    const int nouveaux = tracetout(t, e, [&] { afficheimg(e, p.surf, 1000); });
    t.termine(e);
    // A walk that found nothing would save an emptied route over the project's.
    if (nouveaux == 0) {
        return echec(tr8("aucun point : la couleur du pixel %1,%2 (%3) ne se prolonge pas")
                         .arg(d.x)
                         .arg(d.y)
                         .arg(rgb(e.coulsuivie)));
    }
    // The project keeps its own magnifier setting: only the walk needed it off.
    e.okloupe = loupe;
    QTextStream err(stderr);
    if (t.plein())
        err << tr8("vialume : la route est pleine (%1 points) ; le tracé s'arrête là")
                   .arg(t.limite())
            << '\n';
    else if (const auto m = messagebilan(t.bilan(e)))
        err << "vialume : " << *m << '\n';
    QString erreur;
    if (d.sanschemin) {
        if (!sauvesanschemin(p.surf.carte.image(), e, erreur)) return echec(erreur);
        const Chargement c = chargevisu(e, p.surf, cheminsanschemin(e));
        if (c.issue != Chargement::ok) return echec(c.message);
    }
    if (!sauveparametres(e, erreur)) return echec(erreur);
    QTextStream out(stdout);
    out << traduit(e, 65, tr8("Terminé")) << " : "
        << tr8("%1 points ajoutés au tronçon %2, %3 en tout")
               .arg(nouveaux)
               .arg(e.troncours)
               .arg(e.nbpt + 1)
        << '\n'
        << traduit(e, 61, tr8("Fichier sauvé")) << " : " << cheminparametres(e) << '\n';
    if (d.sanschemin) out << tr8("Carte sans chemin : %1").arg(e.fichiervisu) << '\n';
    // A full route is saved, and still reported as a failure: its end is missing.
    return t.plein() ? SORTIEECHEC : SORTIEOK;
}

QJsonObject descriptif(const Etat& e) {
    QJsonObject j;
    // Segments in the order of their numbers, with the colour of their first point.
    std::map<int, std::pair<int, Couleur>> troncons;
    for (int i = 0; i <= e.nbpt; ++i) {
        auto [it, nouveau] = troncons.try_emplace(e.pttron[i], 0, e.ptcoul[i]);
        ++it->second.first;
    }
    QJsonArray tr;
    for (const auto& [numero, t] : troncons)
        tr.append(QJsonObject{{QStringLiteral("numero"), numero},
                              {QStringLiteral("points"), t.first},
                              {QStringLiteral("couleur"), t.second},
                              {QStringLiteral("rgb"), rgb(t.second)}});
    QJsonArray cles;
    for (int k = 0; k < e.nbcle; ++k)
        cles.append(QJsonObject{{QStringLiteral("image"), e.cleimg[k]},
                                {QStringLiteral("x"), e.cledecx[k]},
                                {QStringLiteral("y"), e.cledecy[k]},
                                {QStringLiteral("temps"), e.cletemps[k]}});
    j = QJsonObject{
        {QStringLiteral("carte"),
         QJsonObject{{QStringLiteral("fichier"), e.dossiercarte + e.fichiercarte},
                     {QStringLiteral("largeur"), e.largeurcarte},
                     {QStringLiteral("hauteur"), e.hauteurcarte},
                     {QStringLiteral("visu"), e.fichiervisu}}},
        {QStringLiteral("route"), QJsonObject{{QStringLiteral("points"), e.nbpt + 1},
                                              {QStringLiteral("troncons"), tr},
                                              {QStringLiteral("couleur"), e.coulr},
                                              {QStringLiteral("suivie"), e.coulsuivie}}},
        {QStringLiteral("film"), QJsonObject{{QStringLiteral("ips"), e.ips},
                                             {QStringLiteral("ips_video"), ipsvideo(e)},
                                             {QStringLiteral("derniere_image"), e.tlmax},
                                             {QStringLiteral("duree"), e.dmax},
                                             {QStringLiteral("lignes"), e.nbimg + 1},
                                             {QStringLiteral("largeur"), e.film.largeur},
                                             {QStringLiteral("hauteur"), e.film.hauteur},
                                             {QStringLiteral("zoom"), e.film.zoom},
                                             {QStringLiteral("cles"), cles}}},
        {QStringLiteral("style"), QJsonObject{{QStringLiteral("largeur"), e.style.largeur},
                                              {QStringLiteral("halo"), e.style.halo},
                                              {QStringLiteral("couleur_halo"), e.style.coulhalo}}},
        {QStringLiteral("legende"),
         QJsonObject{
             {QStringLiteral("actif"), e.montre},
             {QStringLiteral("unite"), e.unite},
             {QStringLiteral("texte_autre"), e.txtautre},
             {QStringLiteral("maxi"), e.lkm},
             {QStringLiteral("x"), e.xt},
             {QStringLiteral("y"), e.yt},
             {QStringLiteral("police"), QJsonObject{{QStringLiteral("nom"), e.police.nom},
                                                    {QStringLiteral("taille"), e.police.taille},
                                                    {QStringLiteral("couleur"), e.police.couleur}}},
             {QStringLiteral("ombre"), QJsonObject{{QStringLiteral("actif"), e.okombre},
                                                   {QStringLiteral("couleur"), e.coulombre},
                                                   {QStringLiteral("x"), e.xombre},
                                                   {QStringLiteral("y"), e.yombre}}}}},
        {QStringLiteral("pointe"), QJsonObject{{QStringLiteral("actif"), e.checkbox1},
                                               {QStringLiteral("longueur"), e.updown1},
                                               {QStringLiteral("couleur"), e.coulbord}}},
        {QStringLiteral("loupe"), QJsonObject{{QStringLiteral("actif"), e.okloupe},
                                              {QStringLiteral("fichier"), e.fichierloupe},
                                              {QStringLiteral("zoom"), e.txloupe},
                                              {QStringLiteral("estompe"), e.estompe}}},
    };
    // Only for a project that uses the GPS: the description of others stays as it was.
    const bool gps = geovalide(e) && (e.gpsdist || e.gpstemps || e.gpsalt);
    if (gps || e.geo != ReglagesGeo{}) {
        const ReglagesGeo& g = e.geo;
        j.insert(QStringLiteral("gps"),
                 QJsonObject{{QStringLiteral("placee"), g.calage.place},
                             {QStringLiteral("points_calage"), int(g.calage.amers.size())},
                             {QStringLiteral("distance_m"),
                              gps && e.gpsdist ? e.ptdist[e.nbpt] : QJsonValue()},
                             {QStringLiteral("heures"), gps && e.gpstemps},
                             {QStringLiteral("altitudes"), gps && e.gpsalt},
                             {QStringLiteral("allure"), g.allure},
                             {QStringLiteral("pause"), g.pause},
                             {QStringLiteral("vraie_distance"), g.distance},
                             {QStringLiteral("decimales"), g.decimales}});
    }
    // A replay's tracks, only when there are some.
    if (const Rejeu& r = e.rejeu; r.actif()) {
        QJsonArray pistes;
        for (const Piste& p : r.pistes) {
            const bool dedans = p.premier >= 0 && p.dernier <= e.nbpt && p.premier <= p.dernier;
            pistes.append(
                QJsonObject{{QStringLiteral("nom"), p.nom},
                            {QStringLiteral("couleur"), p.couleur},
                            {QStringLiteral("rgb"), rgb(p.couleur)},
                            {QStringLiteral("montree"), p.montre},
                            {QStringLiteral("decalage_s"), p.decalage},
                            {QStringLiteral("heures"), p.horloge},
                            {QStringLiteral("depart"),
                             p.horloge ? QDateTime::fromMSecsSinceEpoch(
                                             std::llround(p.debut * 1000), QTimeZone::utc())
                                             .toString(Qt::ISODate)
                                       : QJsonValue()},
                            {QStringLiteral("points"), dedans ? p.dernier - p.premier + 1 : 0},
                            {QStringLiteral("distance_m"),
                             dedans ? e.ptdist[p.dernier] - e.ptdist[p.premier] : 0},
                            {QStringLiteral("duree_s"),
                             dedans ? e.pttemps[p.dernier] - e.pttemps[p.premier] : 0}});
        }
        j.insert(
            QStringLiteral("rejeu"),
            QJsonObject{
                {QStringLiteral("depart"),
                 r.depart == Depart::COMMUN ? QStringLiteral("commun") : QStringLiteral("heure")},
                {QStringLiteral("queue_s"), r.queue},
                {QStringLiteral("classement"), r.classement},
                {QStringLiteral("camera"), r.suivi == Suivi::TOUTES ? QStringLiteral("toutes")
                                           : r.suivi == Suivi::TETE ? QStringLiteral("tete")
                                                                    : QStringLiteral("cles")},
                {QStringLiteral("pistes"), pistes}});
    }
    return j;
}

QString oui(bool b) {
    return b ? QStringLiteral("oui") : QStringLiteral("non");
}

QString texteinfo(const QJsonObject& j) {
    const QJsonObject carte = j[QStringLiteral("carte")].toObject();
    const QJsonObject route = j[QStringLiteral("route")].toObject();
    const QJsonObject film = j[QStringLiteral("film")].toObject();
    const QJsonObject leg = j[QStringLiteral("legende")].toObject();
    const QJsonObject ombre = leg[QStringLiteral("ombre")].toObject();
    const QJsonObject pointe = j[QStringLiteral("pointe")].toObject();
    const QJsonObject loupe = j[QStringLiteral("loupe")].toObject();
    static const char* const UNITES[] = {"sans", "km", "miles", "autre"};
    const int unite = std::clamp(leg[QStringLiteral("unite")].toInt(), 0, 3);
    QString t;
    QTextStream s(&t);
    s << tr8("Carte : %1 (%2 x %3)\n")
             .arg(carte[QStringLiteral("fichier")].toString())
             .arg(carte[QStringLiteral("largeur")].toInt())
             .arg(carte[QStringLiteral("hauteur")].toInt());
    if (!carte[QStringLiteral("visu")].toString().isEmpty())
        s << tr8("Image de visu : %1\n").arg(carte[QStringLiteral("visu")].toString());
    const QJsonArray tr = route[QStringLiteral("troncons")].toArray();
    s << tr8("Route : %1 points, %2 tronçon(s)\n")
             .arg(route[QStringLiteral("points")].toInt())
             .arg(tr.size());
    for (const auto& v : tr) {
        const QJsonObject o = v.toObject();
        s << tr8("  tronçon %1 : %2 points, couleur %3\n")
                 .arg(o[QStringLiteral("numero")].toInt())
                 .arg(o[QStringLiteral("points")].toInt())
                 .arg(o[QStringLiteral("rgb")].toString());
    }
    s << tr8("Film : %1 images/seconde, images 0 à %2, durée %3, %4 lignes\n")
             .arg(film[QStringLiteral("ips")].toInt())
             .arg(film[QStringLiteral("derniere_image")].toInt())
             .arg(film[QStringLiteral("duree")].toString())
             .arg(film[QStringLiteral("lignes")].toInt());
    const int fl = film[QStringLiteral("largeur")].toInt(),
              fh = film[QStringLiteral("hauteur")].toInt();
    const double fz = film[QStringLiteral("zoom")].toDouble();
    if (fl != VUEL || fh != VUEH || fz != 1.0)
        s << tr8("Cadre : %1 x %2, zoom %3\n").arg(fl).arg(fh).arg(fz);
    const QJsonObject style = j[QStringLiteral("style")].toObject();
    if (const int w = style[QStringLiteral("largeur")].toInt(); w > 0)
        s << tr8("Trait : %1 pixels, contour %2\n")
                 .arg(w)
                 .arg(style[QStringLiteral("halo")].toInt());
    const QJsonArray cles = film[QStringLiteral("cles")].toArray();
    s << tr8("Images clés : %1\n").arg(cles.size());
    for (const auto& v : cles) {
        const QJsonObject o = v.toObject();
        s << tr8("  %1 (image %2) : x %3, y %4\n")
                 .arg(o[QStringLiteral("temps")].toString())
                 .arg(o[QStringLiteral("image")].toInt())
                 .arg(o[QStringLiteral("x")].toInt())
                 .arg(o[QStringLiteral("y")].toInt());
    }
    s << tr8("Légende : %1, unité %2, maxi %3")
             .arg(oui(leg[QStringLiteral("actif")].toBool()), QString::fromLatin1(UNITES[unite]),
                  leg[QStringLiteral("maxi")].toString());
    if (unite == AUTRE) s << tr8(" (« %1 »)").arg(leg[QStringLiteral("texte_autre")].toString());
    s << tr8(", ombre %1\n").arg(oui(ombre[QStringLiteral("actif")].toBool()));
    s << tr8("Pointe : %1, longueur %2\n")
             .arg(oui(pointe[QStringLiteral("actif")].toBool()))
             .arg(pointe[QStringLiteral("longueur")].toInt());
    s << tr8("Loupe : %1").arg(oui(loupe[QStringLiteral("actif")].toBool()));
    if (!loupe[QStringLiteral("fichier")].toString().isEmpty())
        s << tr8(", %1, zoom %2, estompe %3")
                 .arg(loupe[QStringLiteral("fichier")].toString())
                 .arg(loupe[QStringLiteral("zoom")].toInt())
                 .arg(loupe[QStringLiteral("estompe")].toInt());
    s << '\n';
    if (j.contains(QStringLiteral("gps"))) {
        const QJsonObject g = j[QStringLiteral("gps")].toObject();
        s << tr8("GPS : carte %1")
                 .arg(g[QStringLiteral("placee")].toBool() ? tr8("placée") : tr8("non placée"));
        if (const int n = g[QStringLiteral("points_calage")].toInt())
            s << tr8(" par %1 points").arg(n);
        if (g[QStringLiteral("distance_m")].isDouble())
            s << tr8(", tracé de %1 km")
                     .arg(decimalfr(g[QStringLiteral("distance_m")].toDouble() / 1000, 2));
        s << tr8(", à l'heure du tracé %1, vraie distance %2\n")
                 .arg(oui(g[QStringLiteral("allure")].toBool()),
                      oui(g[QStringLiteral("vraie_distance")].toBool()));
    }
    if (j.contains(QStringLiteral("rejeu"))) {
        const QJsonObject r = j[QStringLiteral("rejeu")].toObject();
        const QJsonArray pistes = r[QStringLiteral("pistes")].toArray();
        s << traduit(1227, tr8("Rejeu : %1 tracés, départ %2"))
                 .arg(pistes.size())
                 .arg(r[QStringLiteral("depart")].toString())
          << '\n';
        for (const auto& v : pistes) {
            const QJsonObject o = v.toObject();
            s << traduit(1228, tr8("  %1 : %2 points, %3 km, %4 s, couleur %5%6"))
                     .arg(o[QStringLiteral("nom")].toString())
                     .arg(o[QStringLiteral("points")].toInt())
                     .arg(decimalfr(o[QStringLiteral("distance_m")].toDouble() / 1000, 2))
                     .arg(std::llround(o[QStringLiteral("duree_s")].toDouble()))
                     .arg(o[QStringLiteral("rgb")].toString())
                     .arg(o[QStringLiteral("montree")].toBool() ? QString() : tr8(", cachée"))
              << '\n';
        }
    }
    return t;
}

int camera(const Demande& d) {
    Verrou verrou(parametresdecarte(d.carte));
    if (auto occupe = verrou.prend(ATTENTEVERROU)) return echec(*occupe);
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    Etat& e = *p.e;
    if (d.adoucir) e.adoucit = *d.adoucir;
    if (d.suivre) {
        if (auto erreur = suisroute(e, d.marge, d.lisse, d.zoom.value_or(0), d.apercu))
            return echec(*erreur);
    } else {
        calculimages(e);
    }
    QString erreur;
    if (!sauveparametres(e, erreur)) return echec(erreur);
    QTextStream(stdout) << tr8("%1 images clés, %2 images%3")
                               .arg(e.nbcle)
                               .arg(e.nbimg + 1)
                               .arg(e.adoucit ? tr8(", mouvements adoucis") : QString())
                        << '\n'
                        << traduit(e, 61, tr8("Fichier sauvé")) << " : " << cheminparametres(e)
                        << '\n';
    return SORTIEOK;
}

// "1:02:03" or "12:34".
QString duree(double secondes) {
    const auto v = static_cast<long long>(std::llround(std::max(0.0, secondes)));
    return v >= 3600 ? QStringLiteral("%1:%2:%3")
                           .arg(v / 3600)
                           .arg(v / 60 % 60, 2, 10, QLatin1Char('0'))
                           .arg(v % 60, 2, 10, QLatin1Char('0'))
                     : QStringLiteral("%1:%2").arg(v / 60).arg(v % 60, 2, 10, QLatin1Char('0'));
}

int gpx(const Demande& d) {
    // Named from where the user stands, before the map's folder becomes the current one.
    const QString chemin = QFileInfo(d.fichiergpx).absoluteFilePath();
    Verrou verrou(parametresdecarte(d.carte));
    if (auto occupe = verrou.prend(ATTENTEVERROU)) return echec(*occupe);
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    Etat& e = *p.e;
    std::optional<Calage> calage;
    if (!d.calages.empty()) {
        std::vector<Amer> amers = d.calages;
        // Points placed where the track passes take the track's latitude and longitude.
        if (std::any_of(d.calagespoints.begin(), d.calagespoints.end(),
                        [](qsizetype n) { return n != 0; })) {
            const LectureGpx l = chargegpx(chemin);
            if (const auto* err = std::get_if<ErreurGeo>(&l)) return echec(err->message);
            for (std::size_t i = 0; i < amers.size(); ++i) {
                if (d.calagespoints[i] == 0) continue;
                const auto p = pointtrace(std::get<TraceGps>(l), d.calagespoints[i]);
                if (!p)
                    return echec(tr8("Le tracé n'a pas de point %1 : il en a %2")
                                     .arg(d.calagespoints[i])
                                     .arg(std::get<TraceGps>(l).nbpoints));
                amers[i].lat = p->lat;
                amers[i].lon = p->lon;
            }
        }
        const LectureCalage l = ajuste(amers);
        if (const auto* err = std::get_if<ErreurGeo>(&l)) return echec(err->message);
        calage = std::get<Calage>(l);
    }
    if (d.distance) e.geo.distance = true;
    if (d.decimales) e.geo.decimales = *d.decimales;
    if (d.pause) e.geo.pause = *d.pause;
    // The film's length first: the import's frame table is made for it.
    if (d.duree) {
        e.nbi = QString::number(std::clamp(*d.duree * std::max(e.ips, 1), 1, MAXNBI));
        majduree(e);
        majcles(e);
    }
    QTextStream out(stdout);
    QStringList messages;
    if (d.rejeu) {
        if (d.depart) e.rejeu.depart = *d.depart;
        if (d.queue) e.rejeu.queue = *d.queue;
        if (d.classement) {
            e.rejeu.classement = true;
            e.rejeu.classx = d.classement->first;
            e.rejeu.classy = d.classement->second;
        }
        if (d.suivi) e.rejeu.suivi = *d.suivi;
        OptionsRejeu o;
        o.noms = d.noms;
        o.couleurs = d.couleurs;
        o.pistes = d.pistes;
        QStringList fichiers;
        for (const QString& f : d.fichiersgpx)
            fichiers << QFileInfo(f).absoluteFilePath();
        const auto r = importerejeu(e, fichiers, o, calage);
        if (const auto* err = std::get_if<QString>(&r)) return echec(*err);
        const auto& v = std::get<std::vector<Importation>>(r);
        double debut = 0, fin = 0;
        bornesrejeu(e, debut, fin);
        out << traduit(1229, tr8("Rejeu de %1 tracés, %2, %3 de course en %4 s de film"))
                   .arg(v.size())
                   .arg(e.rejeu.depart == Depart::COMMUN
                            ? traduit(1230, tr8("départ commun"))
                            : traduit(1231, tr8("à l'heure de chacun")))
                   .arg(duree(fin - debut))
                   .arg(decimalfr(e.ips > 0 ? (e.nbimg + 1.0) / e.ips : 0, 1))
            << '\n';
        for (std::size_t k = 0; k < v.size(); ++k) {
            const Piste& t = e.rejeu.pistes[k];
            out << traduit(1232, tr8("  %1 : %2 points, %3 km, %4"))
                       .arg(t.nom)
                       .arg(v[k].points)
                       .arg(decimalfr(v[k].longueur / 1000, 2))
                       .arg(duree(e.pttemps[static_cast<std::size_t>(t.dernier)] -
                                  e.pttemps[static_cast<std::size_t>(t.premier)]))
                << '\n';
            messages << v[k].messages;
        }
    } else {
        const auto r = importegps(e, chemin, calage, d.temps);
        if (const auto* err = std::get_if<QString>(&r)) return echec(*err);
        const Importation& i = std::get<Importation>(r);
        out << tr8("%1 points, %2 tronçons, %3 km le long du tracé%4")
                   .arg(i.points)
                   .arg(i.segments)
                   .arg(decimalfr(i.longueur / 1000, 2))
                   .arg(e.geo.allure && e.gpstemps ? tr8(", à l'heure du tracé") : QString())
            << '\n';
        messages = i.messages;
    }
    if (!e.geo.calage.amers.empty()) {
        // Fewer points than that fit each other whatever they are: no figure would mean anything.
        if (e.geo.calage.amers.size() < MINCONTROLE) {
            out << traduit(1205, tr8("Pas de contrôle possible avec moins de %1 points de calage"))
                       .arg(MINCONTROLE)
                << '\n';
        } else {
            out << traduit(1206, tr8("Écart de chaque point de calage au calage fait des autres "
                                     "(pixels) :"));
            for (double v : residus(e.geo.calage))
                out << ' ' << decimalfr(v, 1);
            out << '\n';
        }
    }
    for (const QString& m : messages)
        out << m << '\n';
    QString erreur;
    if (!sauveparametres(e, erreur)) return echec(erreur);
    out << traduit(e, 61, tr8("Fichier sauvé")) << " : " << cheminparametres(e) << '\n';
    return SORTIEOK;
}

int info(const Demande& d) {
    Projet p;
    if (auto erreur = ouvre(p, d.carte)) return echec(*erreur);
    const QJsonObject j = descriptif(*p.e);
    QTextStream out(stdout);
    if (d.json)
        out << QJsonDocument(j).toJson(QJsonDocument::Indented);
    else
        out << texteinfo(j);
    return SORTIEOK;
}

} // namespace

std::optional<QString> ouvreprojet(Etat& e, Surfaces& surf, const QString& carte) {
    // The window's state right after its start-up: the frame rates, the start-up film.
    cipsdepart(e);
    filmdepart(e);
    // "Charger" sets the tip length first, whatever follows.
    e.updown1 = 30;
    e.bordnb = QStringLiteral("30");
    const QFileInfo f(carte);
    if (const auto pas = pasunfichier(carte))
        return tr8("Impossible de lire %1 : %2").arg(carte, *pas);
    if (!f.isFile()) return tr8("Fichier introuvable : %1").arg(carte);
    const QString chemin = f.absoluteFilePath();
    // Pictures that a parameters file names without a folder are looked for beside the map.
    QDir::setCurrent(f.absolutePath());
    const Chargement c = chargecarte(e, surf, chemin);
    if (c.issue != Chargement::ok) return traduit(e, c.entree, c.message);
    if (!c.parametres) return std::nullopt;
    QStringList messages;
    if (const auto erreur = chargeprojet(e, surf, messages)) return erreur->message;
    // Missing pictures are reported and the load goes on, as in the window.
    for (const QString& m : messages)
        QTextStream(stderr) << "vialume : "
                            << QString(m).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
    return std::nullopt;
}

int lance(const Demande& d) {
    switch (d.action) {
    case Demande::exporte:
        return exporte(d);
    case Demande::trace:
        return trace(d);
    case Demande::camera:
        return camera(d);
    case Demande::info:
        return info(d);
    case Demande::gpx:
        return gpx(d);
    case Demande::fenetre:
    case Demande::aide:
    case Demande::version:
        break;
    }
    return SORTIEUSAGE;
}
