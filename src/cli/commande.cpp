#include "cli/commande.h"

#include "project/cadrage.h"

#include "timeline/camera.h"

#include "geo/gpx.h"
#include "project/couleurs.h"
#include "timeline/temps.h"

#include <QColor>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cmath>
#include <cstdlib>
#include <tuple>

namespace {

QString tr8(const char* s) {
    return QString::fromUtf8(s);
}

std::optional<int> entierborne(const QString& texte, int mini, int maxi) {
    const auto v = entier(texte);
    if (!v || *v < mini || *v > maxi) return std::nullopt;
    return v;
}

ErreurUsage manque(const QString& option) {
    return {tr8("l'option %1 attend une valeur").arg(option)};
}

ErreurUsage invalide(const QString& option, const QString& texte, const QString& attendu) {
    return {tr8("valeur incorrecte pour %1 : « %2 » (%3)").arg(option, texte, attendu)};
}

// What --film, --png and --transparent allow of the video options: the quality for a film, the
// codec h264 or h265 for the formats that hold them; everything else stays with --avi.
std::optional<ErreurUsage> optionsfilm(const Demande& d, bool optionsvideo) {
    if (d.transparent && d.sortie != Demande::film && d.sortie != Demande::png)
        return ErreurUsage{tr8("--transparent ne vaut que pour --film et --png")};
    if (d.sortie == Demande::film) {
        if (d.debit || d.cle) return ErreurUsage{tr8("--debit et --cle ne valent que pour --avi")};
        const bool h26x = d.codec == QLatin1String("h264") || d.codec == QLatin1String("h265") ||
                          d.codec == QLatin1String("rgb");
        if (!h26x) return ErreurUsage{tr8("--codec ne vaut pour --film que h264 ou h265")};
        return std::nullopt;
    }
    if (d.codec == QLatin1String("h265") && d.sortie == Demande::avi)
        return ErreurUsage{tr8("h265 ne vaut que pour --film")};
    if (optionsvideo && d.sortie != Demande::avi)
        return ErreurUsage{tr8("--codec, --qualite, --debit et --cle ne valent que pour --avi")};
    return std::nullopt;
}

QCommandLineOption avecvaleur(const QString& nom) {
    return QCommandLineOption(nom, QString(), QStringLiteral("valeur"));
}

// The argument as the user wrote it for an option the parser names without its dashes.
QString ecrite(const QStringList& args, const QString& nom) {
    for (const QString& a : args) {
        QString n = a;
        while (n.startsWith(QLatin1Char('-')))
            n.remove(0, 1);
        if (n.section(QLatin1Char('='), 0, 0) == nom) return a.section(QLatin1Char('='), 0, 0);
    }
    return QStringLiteral("--") + nom;
}

// Parses `args` (after the program's name) with the parser's options: an unknown option, a
// missing value, a value given to a switch (`interrupteurs`) or a stray argument beyond
// `positions` gives the message of this program.
std::optional<ErreurUsage> lis(QCommandLineParser& p, const QStringList& args, int positions,
                               const QString& pour, const QStringList& interrupteurs = {}) {
    // "-image" is "--image", not the letters i, m, a, g, e.
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString suffixe = pour.isEmpty() ? QString() : QStringLiteral(" pour ") + pour;
    if (!p.parse(QStringList{QStringLiteral("vialume")} + args)) {
        if (!p.unknownOptionNames().isEmpty())
            return ErreurUsage{tr8("option inconnue%1 : « %2 »")
                                   .arg(suffixe, ecrite(args, p.unknownOptionNames().first()))};
        for (const QString& a : args) {
            QString n = a.section(QLatin1Char('='), 0, 0);
            while (n.startsWith(QLatin1Char('-')))
                n.remove(0, 1);
            if (a.startsWith(QLatin1Char('-')) && a.contains(QLatin1Char('=')) &&
                interrupteurs.contains(n))
                return ErreurUsage{tr8("l'option %1 ne prend pas de valeur")
                                       .arg(a.section(QLatin1Char('='), 0, 0))};
        }
        // The parser's other refusal: the last option has no value after it.
        return manque(args.isEmpty() ? QString() : args.last());
    }
    const QStringList pos = p.positionalArguments();
    if (pos.size() > positions)
        return ErreurUsage{tr8("option inconnue%1 : « %2 »").arg(suffixe, pos[positions])};
    return std::nullopt;
}

std::variant<Demande, ErreurUsage> analyseexport(Demande d, const QStringList& args) {
    QCommandLineParser p;
    const QCommandLineOption avi = avecvaleur(QStringLiteral("avi")),
                             film = avecvaleur(QStringLiteral("film")),
                             png = avecvaleur(QStringLiteral("png")),
                             bmps = avecvaleur(QStringLiteral("bmps")),
                             bmp = avecvaleur(QStringLiteral("bmp")),
                             transparent(QStringLiteral("transparent")),
                             codec = avecvaleur(QStringLiteral("codec")),
                             qualite = avecvaleur(QStringLiteral("qualite")),
                             debit = avecvaleur(QStringLiteral("debit")),
                             cle = avecvaleur(QStringLiteral("cle")),
                             image = avecvaleur(QStringLiteral("image")),
                             taille = avecvaleur(QStringLiteral("taille")),
                             zoom = avecvaleur(QStringLiteral("zoom"));
    p.addOptions(
        {avi, film, png, bmps, bmp, transparent, codec, qualite, debit, cle, image, taille, zoom});
    if (auto u = lis(p, args, 0, QStringLiteral("export"), {QStringLiteral("transparent")}))
        return *u;

    const std::pair<const QCommandLineOption*, Demande::Sortie> sorties[] = {{&avi, Demande::avi},
                                                                             {&film, Demande::film},
                                                                             {&png, Demande::png},
                                                                             {&bmps, Demande::bmps},
                                                                             {&bmp, Demande::bmp}};
    int nombre = 0;
    for (const auto& [o, sortie] : sorties) {
        const QStringList v = p.values(*o);
        nombre += int(v.size());
        if (v.isEmpty()) continue;
        if (v.first().isEmpty()) return manque(QStringLiteral("--") + o->names().first());
        d.sortie = sortie;
        d.cible = v.first();
    }
    if (nombre > 1)
        return ErreurUsage{tr8("une seule sortie : --avi, --film, --bmps, --png ou --bmp")};
    d.transparent = p.isSet(transparent);
    if (p.isSet(taille)) {
        const QString v = p.value(taille);
        d.taille = lisltaille(v);
        if (!d.taille || !taillevalide(d.taille->first, d.taille->second))
            return invalide(
                QStringLiteral("--taille"), v,
                tr8("LxH, de %1x%1 à %2x%3, côtés pairs").arg(MINFILM).arg(MAXFILML).arg(MAXFILMH));
    }
    if (p.isSet(zoom)) {
        const QString v = p.value(zoom);
        bool ok = false;
        d.zoom = v.toDouble(&ok);
        if (!ok || !zoomvalide(*d.zoom))
            return invalide(QStringLiteral("--zoom"), v,
                            tr8("un nombre de %1 à %2").arg(MINZOOM).arg(MAXZOOM));
    }
    if (p.isSet(codec)) {
        const QString v = p.value(codec);
        if (!nomscodecs().contains(v) && v != QLatin1String("h265"))
            return invalide(QStringLiteral("--codec"), v,
                            nomscodecs().join(QStringLiteral(", ")) + tr8(", h265"));
        d.codec = v;
    }
    const auto borne =
        [&p](const QCommandLineOption& o, int mini, int maxi,
             const QString& attendu) -> std::variant<std::optional<int>, ErreurUsage> {
        if (!p.isSet(o)) return std::optional<int>();
        const QString v = p.value(o);
        const auto n = entierborne(v, mini, maxi);
        if (!n) return invalide(QStringLiteral("--") + o.names().first(), v, attendu);
        return n;
    };
    const std::tuple<const QCommandLineOption*, std::optional<int>*, int, int, QString> nombres[] =
        {
            {&qualite, &d.qualite, 1, 100, tr8("un entier de 1 à 100")},
            {&debit, &d.debit, 1, 1000000, tr8("des kbit/s, de 1 à 1000000")},
            {&cle, &d.cle, 1, MAXIMG, tr8("un entier de 1 à %1").arg(MAXIMG)},
        };
    for (const auto& [o, cible, mini, maxi, attendu] : nombres) {
        auto r = borne(*o, mini, maxi, attendu);
        if (auto* u = std::get_if<ErreurUsage>(&r)) return *u;
        *cible = std::get<std::optional<int>>(r);
    }
    std::optional<int> premiere;
    {
        auto r = borne(image, 0, MAXNBI, tr8("un numéro d'image de 0 à %1").arg(MAXNBI));
        if (auto* u = std::get_if<ErreurUsage>(&r)) return *u;
        premiere = std::get<std::optional<int>>(r);
        d.image = premiere.value_or(0);
    }
    if (nombre == 0)
        return ErreurUsage{
            tr8("export attend --avi FILM, --film FICHIER, --bmps PREFIXE, --png PREFIXE ou --bmp "
                "FICHIER")};
    const bool optionsvideo = p.isSet(codec) || p.isSet(qualite) || p.isSet(debit) || p.isSet(cle);
    if (auto refus = optionsfilm(d, optionsvideo)) return *refus;
    if (premiere && d.sortie != Demande::bmp)
        return ErreurUsage{tr8("--image ne vaut que pour --bmp")};
    if ((d.taille || d.zoom) && d.sortie != Demande::film && d.sortie != Demande::png)
        return ErreurUsage{tr8("--taille et --zoom ne valent que pour --film et --png")};
    return d;
}

std::variant<Demande, ErreurUsage> analysetrace(Demande d, const QStringList& args) {
    QCommandLineParser p;
    const QCommandLineOption depuis = avecvaleur(QStringLiteral("depuis")),
                             couleur = avecvaleur(QStringLiteral("couleur")),
                             suite(QStringLiteral("suite")),
                             tolerance = avecvaleur(QStringLiteral("tolerance")),
                             carte(QStringLiteral("carte-entiere")),
                             pont = avecvaleur(QStringLiteral("pont")),
                             plume(QStringLiteral("plume")),
                             sanschemin(QStringLiteral("sans-chemin"));
    p.addOptions({depuis, couleur, suite, tolerance, carte, pont, plume, sanschemin});
    if (auto u = lis(p, args, 0, QStringLiteral("trace"),
                     {QStringLiteral("suite"), QStringLiteral("carte-entiere"),
                      QStringLiteral("plume"), QStringLiteral("sans-chemin")}))
        return *u;
    for (const auto& [o, cible, maxi] : {std::tuple{&tolerance, &d.tolerance, MAXTOLERANCE},
                                         std::tuple{&pont, &d.pont, MAXPONT}}) {
        if (!p.isSet(*o)) continue;
        *cible = entierborne(p.value(*o), 0, maxi);
        if (!*cible)
            return invalide(QStringLiteral("--") + o->names().first(), p.value(*o),
                            tr8("un entier de 0 à %1").arg(maxi));
    }
    d.carteentiere = p.isSet(carte);
    d.plume = p.isSet(plume);
    d.sanschemin = p.isSet(sanschemin);
    if (!p.isSet(depuis)) return ErreurUsage{tr8("trace attend --depuis X,Y")};
    const QString v = p.value(depuis);
    const QStringList xy = v.split(QLatin1Char(','));
    const auto x = xy.size() == 2 ? entierborne(xy[0].trimmed(), 0, 1 << 30) : std::nullopt;
    const auto y = xy.size() == 2 ? entierborne(xy[1].trimmed(), 0, 1 << 30) : std::nullopt;
    if (!x || !y) return invalide(QStringLiteral("--depuis"), v, tr8("X,Y en pixels de la carte"));
    d.x = *x;
    d.y = *y;
    if (!p.isSet(couleur)) return ErreurUsage{tr8("trace attend --couleur COULEUR")};
    const auto c = couleurligne(p.value(couleur));
    if (!c)
        return invalide(QStringLiteral("--couleur"), p.value(couleur),
                        tr8("#RRGGBB, un nom de couleur ou une valeur de couleur"));
    d.couleur = *c;
    d.suite = p.isSet(suite);
    return d;
}

std::variant<Demande, ErreurUsage> analysecamera(Demande d, const QStringList& args) {
    QCommandLineParser p;
    const QCommandLineOption suivre(QStringLiteral("suivre")),
        marge = avecvaleur(QStringLiteral("marge")), lisse = avecvaleur(QStringLiteral("lisse")),
        adoucir(QStringLiteral("adoucir")), droit(QStringLiteral("droit")),
        zoom = avecvaleur(QStringLiteral("zoom")), apercu(QStringLiteral("apercu"));
    p.addOptions({suivre, marge, lisse, adoucir, droit, zoom, apercu});
    if (auto u = lis(p, args, 0, QStringLiteral("camera"),
                     {QStringLiteral("suivre"), QStringLiteral("adoucir"), QStringLiteral("droit"),
                      QStringLiteral("apercu")}))
        return *u;
    if (p.isSet(zoom)) {
        bool ok = false;
        d.zoom = p.value(zoom).toDouble(&ok);
        if (!ok || !zoomvalide(*d.zoom))
            return invalide(QStringLiteral("--zoom"), p.value(zoom),
                            tr8("un nombre de %1 à %2").arg(MINZOOM).arg(MAXZOOM));
    }
    d.apercu = p.isSet(apercu);
    for (const auto& [o, cible, maxi] :
         {std::tuple{&marge, &d.marge, MAXMARGE}, std::tuple{&lisse, &d.lisse, MAXNBI}}) {
        if (!p.isSet(*o)) continue;
        const auto n = entierborne(p.value(*o), 0, maxi);
        if (!n)
            return invalide(QStringLiteral("--") + o->names().first(), p.value(*o),
                            tr8("un entier de 0 à %1").arg(maxi));
        *cible = *n;
    }
    if (p.isSet(adoucir) && p.isSet(droit))
        return ErreurUsage{tr8("--adoucir ou --droit, pas les deux")};
    if (p.isSet(adoucir)) d.adoucir = true;
    if (p.isSet(droit)) d.adoucir = false;
    d.suivre = p.isSet(suivre);
    if (!d.suivre && !d.adoucir)
        return ErreurUsage{tr8("camera attend --suivre, --adoucir ou --droit")};
    if ((d.zoom || d.apercu) && !d.suivre)
        return ErreurUsage{tr8("--zoom et --apercu ne valent qu'avec --suivre")};
    return d;
}

// "X,Y=LAT,LON": a map pixel and where it lies on the Earth; "X,Y=@N": where track point N lies
// (its number in `point`, the latitude and longitude left for the track to give).
std::optional<Amer> amerligne(const QString& v, qsizetype& point) {
    const QStringList cote = v.split(QLatin1Char('='));
    if (cote.size() != 2) return std::nullopt;
    point = 0;
    if (const auto n = nompoint(cote[1])) {
        const QStringList xy = cote[0].split(QLatin1Char(','));
        bool okx = false, oky = false;
        const double x = xy.value(0).trimmed().toDouble(&okx),
                     y = xy.value(1).trimmed().toDouble(&oky);
        if (xy.size() != 2 || !okx || !oky || !std::isfinite(x) || !std::isfinite(y))
            return std::nullopt;
        point = *n;
        return Amer{x, y, 0, 0};
    }
    const QStringList xy = cote[0].split(QLatin1Char(',')), ll = cote[1].split(QLatin1Char(','));
    if (xy.size() != 2 || ll.size() != 2) return std::nullopt;
    double n[4] = {};
    const QString t[4] = {xy[0], xy[1], ll[0], ll[1]};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = t[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(n[i])) return std::nullopt;
    }
    if (std::abs(n[2]) > 90 || std::abs(n[3]) > 180) return std::nullopt;
    return Amer{n[0], n[1], n[2], n[3]};
}

std::variant<Demande, ErreurUsage> analysegpx(Demande d, const QStringList& args) {
    QCommandLineParser p;
    const QCommandLineOption calage = avecvaleur(QStringLiteral("calage")),
                             temps(QStringLiteral("temps")), distance(QStringLiteral("distance")),
                             pause = avecvaleur(QStringLiteral("pause")),
                             decimales = avecvaleur(QStringLiteral("decimales")),
                             noms = avecvaleur(QStringLiteral("noms")),
                             couleurs = avecvaleur(QStringLiteral("couleurs")),
                             depart = avecvaleur(QStringLiteral("depart")),
                             queue = avecvaleur(QStringLiteral("queue")),
                             pistes(QStringLiteral("pistes")),
                             classement = avecvaleur(QStringLiteral("classement")),
                             camera = avecvaleur(QStringLiteral("camera")),
                             duree = avecvaleur(QStringLiteral("duree"));
    p.addOptions({calage, temps, distance, pause, decimales, noms, couleurs, depart, queue, pistes,
                  classement, camera, duree});
    if (auto u =
            lis(p, args, MAXPISTES, QStringLiteral("gpx"),
                {QStringLiteral("temps"), QStringLiteral("distance"), QStringLiteral("pistes")}))
        return *u;
    if (p.positionalArguments().isEmpty())
        return ErreurUsage{tr8("gpx attend un fichier GPX après la CARTE")};
    d.fichiergpx = p.positionalArguments().first();
    d.fichiersgpx = p.positionalArguments();
    d.pistes = p.isSet(pistes);
    // Several files, or any of the replay's options: a replay.
    d.rejeu = d.fichiersgpx.size() > 1 || d.pistes;
    for (const QCommandLineOption* o : {&noms, &couleurs, &depart, &queue, &classement, &camera})
        d.rejeu = d.rejeu || p.isSet(*o);
    if (p.isSet(noms)) d.noms = p.value(noms).split(QLatin1Char(','));
    if (p.isSet(couleurs))
        for (const QString& c : p.value(couleurs).split(QLatin1Char(','))) {
            const auto v = couleurligne(c.trimmed());
            if (!v || estsysteme(*v))
                return invalide(QStringLiteral("--couleurs"), c,
                                tr8("#RRGGBB ou un nom de couleur, séparés par des virgules"));
            d.couleurs.push_back(*v);
        }
    if (p.isSet(depart)) {
        const QString v = p.value(depart);
        if (v != QLatin1String("heure") && v != QLatin1String("commun"))
            return invalide(QStringLiteral("--depart"), v, tr8("heure ou commun"));
        d.depart = v == QLatin1String("commun") ? Depart::COMMUN : Depart::HEURE;
    }
    if (p.isSet(queue)) {
        const auto v = entierborne(p.value(queue), 0, static_cast<int>(MAXQUEUE));
        if (!v)
            return invalide(QStringLiteral("--queue"), p.value(queue),
                            tr8("des secondes, de 0 à %1").arg(MAXQUEUE));
        d.queue = *v;
    }
    if (p.isSet(classement)) {
        const QStringList xy = p.value(classement).split(QLatin1Char(','));
        const auto x = xy.size() == 2 ? entierborne(xy[0].trimmed(), 0, MAXFILML) : std::nullopt;
        const auto y = xy.size() == 2 ? entierborne(xy[1].trimmed(), 0, MAXFILMH) : std::nullopt;
        if (!x || !y)
            return invalide(QStringLiteral("--classement"), p.value(classement),
                            tr8("X,Y en pixels du film"));
        d.classement = std::pair{*x, *y};
    }
    if (p.isSet(camera)) {
        const QString v = p.value(camera);
        if (v != QLatin1String("toutes") && v != QLatin1String("tete") &&
            v != QLatin1String("cles"))
            return invalide(QStringLiteral("--camera"), v, tr8("toutes, tete ou cles"));
        d.suivi = v == QLatin1String("toutes") ? Suivi::TOUTES
                  : v == QLatin1String("tete") ? Suivi::TETE
                                               : Suivi::CLES;
    }
    if (p.isSet(duree)) {
        d.duree = entierborne(p.value(duree), 1, 3600);
        if (!d.duree)
            return invalide(QStringLiteral("--duree"), p.value(duree),
                            tr8("des secondes de film, de 1 à 3600"));
    }
    for (const QString& v : p.values(calage)) {
        qsizetype point = 0;
        const auto a = amerligne(v, point);
        if (!a) return invalide(QStringLiteral("--calage"), v, tr8("X,Y=LAT,LON ou X,Y=@N"));
        d.calages.push_back(*a);
        d.calagespoints.push_back(point);
    }
    if (d.calages.size() == 1) return ErreurUsage{tr8("--calage : deux points au moins")};
    for (const auto& [o, cible, maxi] : {std::tuple{&pause, &d.pause, MAXPAUSE},
                                         std::tuple{&decimales, &d.decimales, MAXDECIMALES}}) {
        if (!p.isSet(*o)) continue;
        *cible = entierborne(p.value(*o), 0, maxi);
        if (!*cible)
            return invalide(QStringLiteral("--") + o->names().first(), p.value(*o),
                            tr8("un entier de 0 à %1").arg(maxi));
    }
    d.temps = p.isSet(temps);
    d.distance = p.isSet(distance);
    return d;
}

std::variant<Demande, ErreurUsage> analyseinfo(Demande d, const QStringList& args) {
    QCommandLineParser p;
    const QCommandLineOption json(QStringLiteral("json"));
    p.addOption(json);
    if (auto u = lis(p, args, 0, QStringLiteral("info"), {QStringLiteral("json")})) return *u;
    d.json = p.isSet(json);
    return d;
}

} // namespace

std::optional<Couleur> couleurligne(const QString& texte) {
    if (texte.startsWith(QLatin1Char('#'))) {
        // Only the six-digit form: "#FFF" is more likely a typing slip than a colour.
        if (texte.size() != 7) return std::nullopt;
        bool ok = false;
        const uint rgb = texte.mid(1).toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        return depuisqrgb(rgb);
    }
    if (const auto c = lircouleur(texte)) return c;
    // The colour names a user types ("red", "darkgreen"): the SVG names. "transparent" is none.
    if (texte.compare(QLatin1String("transparent"), Qt::CaseInsensitive) != 0 &&
        QColor::isValidColorName(texte))
        return depuisqrgb(QColor::fromString(texte).rgb());
    return std::nullopt;
}

std::variant<Demande, ErreurUsage> analyse(const QStringList& args) {
    Demande d;
    if (args.isEmpty()) return d;
    const QString& premier = args[0];
    const bool sous = premier == QLatin1String("export") || premier == QLatin1String("trace") ||
                      premier == QLatin1String("camera") || premier == QLatin1String("info") ||
                      premier == QLatin1String("gpx");
    if (!sous) {
        // The window: at most one map, or --help, or --version, each alone.
        QCommandLineParser p;
        const QCommandLineOption aideopt(QStringList{QStringLiteral("h"), QStringLiteral("help")});
        const QCommandLineOption version(QStringLiteral("version"));
        p.addOptions({aideopt, version});
        if (auto u =
                lis(p, args, 1, QString(),
                    {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("version")})) {
            // A map followed by more is one map too many, whatever follows.
            if (!premier.startsWith(QLatin1Char('-')) && args.size() > 1)
                return ErreurUsage{
                    tr8("la fenêtre ne prend qu'une carte ; argument en trop : « %1 »")
                        .arg(args[1])};
            return *u;
        }
        for (const auto& [o, nom, action] :
             {std::tuple{&aideopt, QStringLiteral("--help"), Demande::aide},
              std::tuple{&version, QStringLiteral("--version"), Demande::version}}) {
            if (!p.isSet(*o)) continue;
            if (args.size() > 1) return ErreurUsage{tr8("%1 s'emploie seul").arg(nom)};
            d.action = action;
            return d;
        }
        if (args.size() > 1)
            return ErreurUsage{
                tr8("la fenêtre ne prend qu'une carte ; argument en trop : « %1 »").arg(args[1])};
        d.carte = p.positionalArguments().value(0);
        return d;
    }
    if (args.size() < 2 || args[1].startsWith(QLatin1Char('-')))
        return ErreurUsage{tr8("%1 attend une CARTE").arg(premier)};
    d.carte = args[1];
    const QStringList reste = args.mid(2);
    if (premier == QLatin1String("export")) {
        d.action = Demande::exporte;
        return analyseexport(d, reste);
    }
    if (premier == QLatin1String("trace")) {
        d.action = Demande::trace;
        return analysetrace(d, reste);
    }
    if (premier == QLatin1String("camera")) {
        d.action = Demande::camera;
        return analysecamera(d, reste);
    }
    if (premier == QLatin1String("gpx")) {
        d.action = Demande::gpx;
        return analysegpx(d, reste);
    }
    d.action = Demande::info;
    return analyseinfo(d, reste);
}

QString versionligne() {
    return QStringLiteral("vialume V1.50");
}

QString aide() {
    return tr8(
        "Vialume fait d'une carte le film d'une route qui se dessine.\n"
        "\n"
        "Usage :\n"
        "  vialume [CARTE]\n"
        "      Ouvre la fenêtre ; avec CARTE, la charge comme le bouton « Charger »\n"
        "      (le fichier paramètres est proposé s'il existe).\n"
        "\n"
        "  vialume export CARTE --avi FILM [--codec NOM] [--qualite Q] [--debit K] [--cle N]\n"
        "      Écrit le film entier (images 0 à N) dans le fichier vidéo FILM (.avi ajouté\n"
        "      s'il manque, nom de fichier en minuscules, comme la fenêtre).\n"
        "      NOM : rgb (non compressé, par défaut), mjpeg, ffv1, huffyuv, utvideo, mpeg4,\n"
        "            h264.\n"
        "      Q   : qualité MJPEG, de 1 (plus petit) à 100 (meilleur), 90 par défaut.\n"
        "      K   : débit MPEG-4 et H.264 en kbit/s, 5000 par défaut.\n"
        "      N   : une image clé toutes les N images (mpeg4, h264), 1 par défaut.\n"
        "\n"
        "  vialume export CARTE --film FICHIER [--taille LxH] [--zoom Z] [--qualite Q]\n"
        "                 [--codec h265] [--transparent]\n"
        "      Écrit le film entier dans le format que donne l'extension : .mp4 (H.264,\n"
        "      ou H.265 avec --codec h265), .mkv, .mov (ProRes), .webm (VP9), .gif, .apng,\n"
        "      .avi (comme --avi, codec rgb).\n"
        "      Q : de 1 (fichier plus petit) à 100 (meilleure image), 60 par défaut.\n"
        "      --transparent : sans la carte, fond transparent (.mov, .webm, .mkv).\n"
        "\n"
        "      --taille : le film à cette taille ; au format du projet, le même cadrage\n"
        "        (tout ce qui se mesure en pixels du film suit), sinon la taille seule.\n"
        "      --zoom : pixels du film par pixel de la carte (appliqué avant --taille).\n"
        "  vialume export CARTE --png PREFIXE [--taille LxH] [--zoom Z] [--transparent]\n"
        "      Écrit les images 0 à N en PNG : PREFIXE0000.png à PREFIXEnnnn.png.\n"
        "\n"
        "  vialume export CARTE --bmps PREFIXE\n"
        "      Écrit les images 1 à N en BMP : PREFIXE0001.bmp à PREFIXEnnnn.bmp. Comme dans\n"
        "      la fenêtre, le nom est coupé au premier « . » et à 4 caractères.\n"
        "\n"
        "  vialume export CARTE --bmp FICHIER [--image N]\n"
        "      Écrit l'image N du film (0 par défaut) dans FICHIER, coupé au premier « . »,\n"
        "      suivi de « .bmp ».\n"
        "\n"
        "  vialume trace CARTE --depuis X,Y --couleur COULEUR [--suite] [--tolerance D]\n"
        "                [--carte-entiere] [--pont P] [--plume] [--sans-chemin]\n"
        "      Suit la route peinte sur la carte depuis le pixel (X, Y) de la carte : la\n"
        "      couleur suivie est celle de ce pixel, la route est dessinée en COULEUR\n"
        "      (#RRGGBB, un nom de couleur comme red ou darkgreen, ou une valeur de couleur\n"
        "      du fichier paramètres). Le projet est\n"
        "      ensuite enregistré à côté de la carte comme par « Sauver » ; un projet déjà\n"
        "      là garde ses autres réglages. --suite ajoute un tronçon à la route existante\n"
        "      (bouton « Suite ») au lieu d'en commencer une nouvelle.\n"
        "      --tolerance D prend aussi les pixels à moins de D (delta E, 0 à 100) de la\n"
        "      couleur suivie (carte JPEG, trait lissé) ; --carte-entiere suit la route sur\n"
        "      toute la carte ; --pont P franchit les trous du trait jusqu'à P pixels ;\n"
        "      --plume ordonne les pixels comme un crayon le long du trait. Ces réglages sont\n"
        "      gardés dans le projet. --sans-chemin fait ensuite la carte sans la route\n"
        "      peinte (NOM-sanschemin.png), qui devient l'image de visu. Une route pleine\n"
        "      (36001 points) finit avec le code 1.\n"
        "\n"
        "  vialume camera CARTE [--suivre] [--marge M] [--lisse S] [--zoom Z] [--apercu]\n"
        "                 [--adoucir | --droit]\n"
        "      --suivre écrit les images clés : la vue suit la tête de la route tout le film,\n"
        "      à M pixels au moins des bords (80 par défaut), le chemin moyenné sur S images\n"
        "      (deux secondes par défaut). --adoucir : la vue accélère et ralentit à chaque\n"
        "      image clé ; --droit : mouvements droits à vitesse constante. --zoom : le zoom\n"
        "      des images clés suivies ; --apercu : le film s'ouvre et se ferme sur toute la\n"
        "      route (zoom arrière), la route attendant la caméra. Le projet est\n"
        "      enregistré à côté de la carte ; vialume export joue ensuite ces images clés.\n"
        "\n"
        "  vialume gpx CARTE TRACE.gpx [--calage X,Y=LAT,LON ...] [--temps] [--pause S]\n"
        "              [--distance] [--decimales D] [--duree S]\n"
        "      Fait la route du tracé GPS (GPX 1.0 ou 1.1) : chaque segment du tracé devient\n"
        "      un tronçon, les parties hors de la carte sont coupées. La carte est placée par\n"
        "      les points --calage (pixel X,Y de la carte = latitude,longitude en degrés, ou\n"
        "      X,Y=@N : le point N du tracé, @fin le dernier ; deux points ou plus), sinon\n"
        "      par le calage du projet, sinon par le fichier de\n"
        "      calage à côté de la carte (.wld, .bpw, .pgw, .jgw, .tfw avec son .prj, ou\n"
        "      GeoTIFF). --temps : le film suit l'heure du tracé ; --pause S : un arrêt compte\n"
        "      au plus S secondes. --distance : la légende donne la vraie distance, avec D\n"
        "      décimales (1 par défaut). --duree S : le film dure S secondes. Le projet est\n"
        "      enregistré à côté de la carte.\n"
        "\n"
        "  vialume gpx CARTE T1.gpx T2.gpx ... [--noms N1,N2,...] [--couleurs C1,C2,...]\n"
        "              [--depart heure|commun] [--queue S] [--pistes] [--classement X,Y]\n"
        "              [--camera toutes|tete|cles]\n"
        "      Rejeu : chaque fichier (avec --pistes chaque <trk>) devient un tracé de la\n"
        "      route, dans sa couleur, qui avance à sa propre heure. --depart heure (par\n"
        "      défaut) : une seule horloge du premier départ à la dernière arrivée ;\n"
        "      commun : tous partent au début du film. --queue S : seules les S dernières\n"
        "      secondes de chaque tracé sont dessinées, en s'effaçant. --classement X,Y :\n"
        "      le classement (distance ou temps, écart au premier) à cette place du film.\n"
        "      --camera toutes : la vue garde toutes les têtes, tete : suit le premier.\n"
        "\n"
        "  vialume info CARTE [--json]\n"
        "      Décrit le projet de CARTE : taille de la carte, points, tronçons, cadence,\n"
        "      dernière image, durée, images clés, légende et décorations ; --json en JSON.\n"
        "\n"
        "  vialume --help\n"
        "      Affiche ce texte.\n"
        "\n"
        "  vialume --version\n"
        "      Affiche la version du programme.\n"
        "\n"
        "export, trace, gpx et info chargent CARTE et son fichier paramètres (même nom, extension\n"
        ".vlp) sans rien demander, et n'ont pas besoin d'écran.\n"
        "\n"
        "Code de sortie : 0 réussite ; 1 échec, le message sur la sortie d'erreur ;\n"
        "2 ligne de commande incorrecte.\n");
}

namespace {

std::variant<Demande, ErreurUsage> analyse(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return analyse(args);
}

} // namespace

bool horsfenetre(int argc, char** argv) {
    const auto r = analyse(argc, argv);
    return std::holds_alternative<ErreurUsage>(r) ||
           std::get<Demande>(r).action != Demande::fenetre;
}

QString cartefenetre(int argc, char** argv) {
    const auto r = analyse(argc, argv);
    const auto* d = std::get_if<Demande>(&r);
    if (!d || d->carte.isEmpty()) return {};
    return QFileInfo(d->carte).absoluteFilePath();
}

int executeligne(int argc, char** argv) {
    // Arguments are read before the application object exists: QGuiApplication would take
    // Qt's own options (-platform, ...) out of them.
    const auto r = analyse(argc, argv);
    QTextStream err(stderr);
    if (const auto* u = std::get_if<ErreurUsage>(&r)) {
        err << "vialume : " << u->texte << '\n' << tr8("Pour l'aide : vialume --help") << '\n';
        return SORTIEUSAGE;
    }
    const Demande& d = std::get<Demande>(r);
    if (d.action == Demande::aide) {
        QTextStream(stdout) << aide();
        return SORTIEOK;
    }
    if (d.action == Demande::version) {
        QTextStream(stdout) << versionligne() << '\n';
        return SORTIEOK;
    }
    // Standard error carries this program's words only: Qt's own notices (a session without
    // XDG_RUNTIME_DIR, fonts, plugins) are not the user's business here. Fatal ones still abort.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& texte) {
        if (type == QtFatalMsg) {
            QTextStream(stderr) << "vialume : " << texte << '\n';
            std::abort();
        }
    });
    // No display is needed for a film made from the command line.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return lance(d);
}
