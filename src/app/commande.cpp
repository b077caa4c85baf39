#include "app/commande.h"

#include "project/couleurs.h"
#include "timeline/temps.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QString tr8(const char* s) {
    return QString::fromUtf8(s);
}

std::optional<int> entierborne(const QString& texte, int mini, int maxi) {
    const auto v = entier(texte);
    if (!v || *v < mini || *v > maxi) return std::nullopt;
    return v;
}

// Reads the value that follows an option; `i` then points at it.
std::optional<QString> valeur(const QStringList& args, int& i) {
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
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

std::variant<Demande, ErreurUsage> analyseexport(Demande d, const QStringList& args) {
    bool sortiedonnee = false;
    bool optionsvideo = false;
    bool imagedonnee = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--avi") || a == QLatin1String("--bmps") ||
            a == QLatin1String("--bmp") || a == QLatin1String("--film") ||
            a == QLatin1String("--png")) {
            if (sortiedonnee)
                return ErreurUsage{tr8("une seule sortie : --avi, --film, --bmps, --png ou --bmp")};
            const auto v = valeur(args, i);
            if (!v || v->isEmpty()) return manque(a);
            d.sortie = a == QLatin1String("--avi")    ? Demande::avi
                       : a == QLatin1String("--bmps") ? Demande::bmps
                       : a == QLatin1String("--film") ? Demande::film
                       : a == QLatin1String("--png")  ? Demande::png
                                                      : Demande::bmp;
            d.cible = *v;
            sortiedonnee = true;
        } else if (a == QLatin1String("--codec")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            if (!nomscodecs().contains(*v) && *v != QLatin1String("h265"))
                return invalide(a, *v, nomscodecs().join(QStringLiteral(", ")) + tr8(", h265"));
            d.codec = *v;
            optionsvideo = true;
        } else if (a == QLatin1String("--qualite")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            d.qualite = entierborne(*v, 1, 100);
            if (!d.qualite) return invalide(a, *v, tr8("un entier de 1 à 100"));
            optionsvideo = true;
        } else if (a == QLatin1String("--debit")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            d.debit = entierborne(*v, 1, 1000000);
            if (!d.debit) return invalide(a, *v, tr8("des kbit/s, de 1 à 1000000"));
            optionsvideo = true;
        } else if (a == QLatin1String("--cle")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            d.cle = entierborne(*v, 1, MAXIMG);
            if (!d.cle) return invalide(a, *v, tr8("un entier de 1 à %1").arg(MAXIMG));
            optionsvideo = true;
        } else if (a == QLatin1String("--transparent")) {
            d.transparent = true;
        } else if (a == QLatin1String("--image")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            const auto n = entierborne(*v, 0, MAXNBI);
            if (!n) return invalide(a, *v, tr8("un numéro d'image de 0 à %1").arg(MAXNBI));
            d.image = *n;
            imagedonnee = true;
        } else {
            return ErreurUsage{tr8("option inconnue pour export : « %1 »").arg(a)};
        }
    }
    if (!sortiedonnee)
        return ErreurUsage{
            tr8("export attend --avi FILM, --film FICHIER, --bmps PREFIXE, --png PREFIXE ou --bmp "
                "FICHIER")};
    if (auto refus = optionsfilm(d, optionsvideo)) return *refus;
    if (imagedonnee && d.sortie != Demande::bmp)
        return ErreurUsage{tr8("--image ne vaut que pour --bmp")};
    return d;
}

std::variant<Demande, ErreurUsage> analysetrace(Demande d, const QStringList& args) {
    bool depuis = false, couleur = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--depuis")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            const QStringList xy = v->split(QLatin1Char(','));
            const auto x = xy.size() == 2 ? entierborne(xy[0].trimmed(), 0, 1 << 30) : std::nullopt;
            const auto y = xy.size() == 2 ? entierborne(xy[1].trimmed(), 0, 1 << 30) : std::nullopt;
            if (!x || !y) return invalide(a, *v, tr8("X,Y en pixels de la carte"));
            d.x = *x;
            d.y = *y;
            depuis = true;
        } else if (a == QLatin1String("--couleur")) {
            const auto v = valeur(args, i);
            if (!v) return manque(a);
            const auto c = couleurligne(*v);
            if (!c) return invalide(a, *v, tr8("#RRGGBB ou une valeur de couleur"));
            d.couleur = *c;
            couleur = true;
        } else if (a == QLatin1String("--suite")) {
            d.suite = true;
        } else {
            return ErreurUsage{tr8("option inconnue pour trace : « %1 »").arg(a)};
        }
    }
    if (!depuis) return ErreurUsage{tr8("trace attend --depuis X,Y")};
    if (!couleur) return ErreurUsage{tr8("trace attend --couleur COULEUR")};
    return d;
}

std::variant<Demande, ErreurUsage> analyseinfo(Demande d, const QStringList& args) {
    for (const QString& a : args) {
        if (a != QLatin1String("--json"))
            return ErreurUsage{tr8("option inconnue pour info : « %1 »").arg(a)};
        d.json = true;
    }
    return d;
}

} // namespace

std::optional<Couleur> couleurligne(const QString& texte) {
    if (texte.size() == 7 && texte.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint rgb = texte.mid(1).toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        return depuisqrgb(rgb);
    }
    return lircouleur(texte);
}

std::variant<Demande, ErreurUsage> analyse(const QStringList& args) {
    Demande d;
    if (args.isEmpty()) return d;
    const QString& premier = args[0];
    if (premier == QLatin1String("--help") || premier == QLatin1String("-h")) {
        if (args.size() > 1) return ErreurUsage{tr8("--help s'emploie seul")};
        d.action = Demande::aide;
        return d;
    }
    const bool sous = premier == QLatin1String("export") || premier == QLatin1String("trace") ||
                      premier == QLatin1String("info");
    if (!sous) {
        if (premier.startsWith(QLatin1Char('-')))
            return ErreurUsage{tr8("option inconnue : « %1 »").arg(premier)};
        if (args.size() > 1)
            return ErreurUsage{
                tr8("la fenêtre ne prend qu'une carte ; argument en trop : « %1 »").arg(args[1])};
        d.carte = premier;
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
    d.action = Demande::info;
    return analyseinfo(d, reste);
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
        "  vialume export CARTE --film FICHIER [--qualite Q] [--codec h265] [--transparent]\n"
        "      Écrit le film entier dans le format que donne l'extension : .mp4 (H.264,\n"
        "      ou H.265 avec --codec h265), .mkv, .mov (ProRes), .webm (VP9), .gif, .apng,\n"
        "      .avi (comme --avi, codec rgb).\n"
        "      Q : de 1 (fichier plus petit) à 100 (meilleure image), 60 par défaut.\n"
        "      --transparent : sans la carte, fond transparent (.mov, .webm, .mkv).\n"
        "\n"
        "  vialume export CARTE --png PREFIXE [--transparent]\n"
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
        "  vialume trace CARTE --depuis X,Y --couleur COULEUR [--suite]\n"
        "      Suit la route peinte sur la carte depuis le pixel (X, Y) de la carte : la\n"
        "      couleur suivie est celle de ce pixel, la route est dessinée en COULEUR\n"
        "      (#RRGGBB ou une valeur de couleur du fichier paramètres). Le projet est\n"
        "      ensuite enregistré à côté de la carte comme par « Sauver » ; un projet déjà\n"
        "      là garde ses autres réglages. --suite ajoute un tronçon à la route existante\n"
        "      (bouton « Suite ») au lieu d'en commencer une nouvelle.\n"
        "\n"
        "  vialume info CARTE [--json]\n"
        "      Décrit le projet de CARTE : taille de la carte, points, tronçons, cadence,\n"
        "      dernière image, durée, images clés, légende et décorations ; --json en JSON.\n"
        "\n"
        "  vialume --help\n"
        "      Affiche ce texte.\n"
        "\n"
        "export, trace et info chargent CARTE et son fichier paramètres (même nom, extension\n"
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
    // No display is needed for a film made from the command line.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return lance(d);
}
