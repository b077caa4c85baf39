#include "project/carte.h"

#include "map/image.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

Chargement illisible(const QString& erreur) {
    return {Chargement::illisible, erreur, -1, false};
}

Chargement refus(const QString& francais, int entree) {
    return {Chargement::refus, francais, entree, false};
}

QString cheminabsolu(const QString& chemin) {
    return QFileInfo(chemin).absoluteFilePath();
}

// A scroll range over the map: 0 and hidden when the map is exactly as large as the view.
void portee(int taille, int vue, int& maxi, bool& visible, int& position) {
    maxi = std::max(taille - vue, 0);
    visible = maxi != 0;
    position = std::clamp(position, 0, maxi);
}

// The film the map's own project asks for: its parameters file's, the classic one when that file
// has none; the film in force when there is no readable file.
Film filmduprojet(const Film& encours, int ips, const QString& carte) {
    const QFileInfo f(carte);
    const QString param = f.absolutePath() + QLatin1Char('/') +
                          f.fileName().section(QLatin1Char('.'), 0, 0) + QStringLiteral(".vlp");
    if (!QFileInfo(param).isFile()) return encours;
    const Lecture l = chargeparametres(param, ips);
    if (const auto* p = std::get_if<Parametres>(&l)) return p->film.value_or(Film{});
    return encours;
}

const QString VISUTAILLE =
    QStringLiteral("L'image de visu doit avoir la même \ndimension que l'image de calcul");

} // namespace

std::optional<QString> tailleminimum(const Film& f, int largeur, int hauteur) {
    if (largeur >= f.champl() && hauteur >= f.champh()) return std::nullopt;
    if (f.classique()) return QStringLiteral("Image 720*576 minimum");
    // The smallest zoom that fits, rounded up to the hundredth.
    const double z = std::max(static_cast<double>(f.largeur) / std::max(largeur, 1),
                              static_cast<double>(f.hauteur) / std::max(hauteur, 1));
    const double conseil = std::ceil(z * 100) / 100;
    QString m = traduit(887, QStringLiteral("Image %1*%2 minimum pour ce film"))
                    .arg(f.champl())
                    .arg(f.champh());
    if (conseil <= MAXZOOM)
        m += traduit(888, QStringLiteral(" (ou un zoom de %1 au moins)"))
                 .arg(QString::number(conseil, 'f', 2));
    return m;
}

void porteesvue(Etat& e) {
    portee(e.largeurcarte, e.film.champl(), e.asclmax, e.asclvisible, e.ascl);
    portee(e.hauteurcarte, e.film.champh(), e.aschmax, e.aschvisible, e.asch);
}

Lue lis(const QString& chemin) {
    Lue l;
    l.ok = chargeimage(chemin, l.image, l.erreur);
    return l;
}

LectureCarte litcarte(const QString& chemin, const Film& encours, int ips) {
    LectureCarte l;
    l.lue = lis(chemin);
    l.film = l.lue.ok ? filmduprojet(encours, ips, chemin) : encours;
    return l;
}

Chargement chargecarte(Etat& e, Surfaces& surf, const QString& chemin) {
    return prendcarte(e, surf, chemin, litcarte(chemin, e.film, e.ips));
}

Chargement prendcarte(Etat& e, Surfaces& surf, const QString& chemin, LectureCarte l) {
    if (!l.lue.ok) return illisible(l.lue.erreur);
    Surface& image = l.lue.image;
    e.largeurcarte = image.largeur();
    e.hauteurcarte = image.hauteur();
    const Film film = l.film;
    if (const auto refuse = tailleminimum(film, e.largeurcarte, e.hauteurcarte)) {
        // No map from now on; the route, the time line and the scroll ranges stay.
        surf.carte.redimensionne(e.largeurcarte, e.hauteurcarte);
        surf.vue.remplit(0);
        e.fichiercarte.clear();
        return refus(*refuse, film.classique() ? 25 : -1);
    }
    e.film = film;
    surf.carte = std::move(image);
    porteesvue(e);
    redessine(e, surf);

    const QFileInfo fichier(chemin);
    e.dossiercarte = fichier.absolutePath() + QLatin1Char('/');
    e.fichiercarte = fichier.fileName();
    e.fichierparam = e.fichiercarte.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".vlp");

    // "Visu" hidden and unchecked. Unchecking would load the map picture again: the map surface
    // holds it already.
    e.fichiervisu.clear();
    e.checkvisible = false;
    e.check = false;

    Chargement r;
    r.parametres = QFileInfo::exists(cheminparametres(e));
    return r;
}

Chargement chargevisu(Etat& e, Surfaces& surf, const QString& chemin) {
    if (e.fichiercarte.isEmpty())
        return refus(QStringLiteral("Une image pour le calcul avant"), 62);
    return prendvisu(e, surf, chemin, lis(chemin));
}

Chargement prendvisu(Etat& e, Surfaces& surf, const QString& chemin, Lue l) {
    if (e.fichiercarte.isEmpty())
        return refus(QStringLiteral("Une image pour le calcul avant"), 62);
    if (!l.ok) return illisible(l.erreur);
    Surface& image = l.image;
    if (image.largeur() != e.largeurcarte || image.hauteur() != e.hauteurcarte) {
        e.fichiervisu.clear();
        e.checkvisible = false;
        // The map surface holds the previous display picture only while "Visu" is checked.
        Chargement r = refus(VISUTAILLE, 63);
        if (!e.check) {
            redessine(e, surf);
            return r;
        }
        // The map surface holds the previous display picture: the map comes back.
        const Chargement carte = basculevisu(e, surf, false);
        if (carte.issue != Chargement::ok) {
            r = illisible(r.message + QLatin1Char('\n') + carte.message);
            redessine(e, surf);
        }
        return r;
    }
    e.fichiervisu = cheminabsolu(chemin);
    e.checkvisible = true;
    e.check = true;
    surf.carte = std::move(image);
    redessine(e, surf);
    return {};
}

QString cheminbascule(const Etat& e, bool coche) {
    if (e.fichiercarte.isEmpty()) return {};
    return coche ? e.fichiervisu : e.dossiercarte + e.fichiercarte;
}

Chargement basculevisu(Etat& e, Surfaces& surf, bool coche) {
    const QString chemin = cheminbascule(e, coche);
    return prendbascule(e, surf, coche, chemin.isEmpty() ? Lue{} : lis(chemin));
}

Chargement prendbascule(Etat& e, Surfaces& surf, bool coche, Lue l) {
    e.check = coche;
    if (e.fichiercarte.isEmpty()) return {};
    if (!l.ok) {
        e.check = false;
        return illisible(l.erreur);
    }
    Surface& image = l.image;
    if (coche && (image.largeur() != e.largeurcarte || image.hauteur() != e.hauteurcarte)) {
        e.check = false;
        return refus(VISUTAILLE, 63);
    }
    surf.carte = std::move(image);
    redessine(e, surf);
    return {};
}

Chargement chargeloupe(Etat& e, Surfaces& surf, const QString& chemin) {
    Surface image;
    QString erreur;
    if (!chargeimage(chemin, image, erreur, MAXLOUPE)) return illisible(erreur);
    const int W = image.largeur(), H = image.hauteur();
    // The outside colour is pixel (1, 1): a smaller picture has none. Any larger size is taken;
    // the picture reader has already held it to the magnifier's limit.
    if (W < 2 || H < 2)
        return illisible(traduit(e, 889,
                                 QStringLiteral("La loupe « %1 » mesure %2*%3 pixels : il faut "
                                                "2*2 pixels au moins."))
                             .arg(QFileInfo(chemin).fileName())
                             .arg(W)
                             .arg(H));
    surf.loupe = std::move(image);
    surf.tempo.redimensionne(W, H);
    e.txloupemax = W;
    e.txloupe = std::clamp(e.txloupe, 0, W);
    e.fichierloupe = cheminabsolu(chemin);
    redessine(e, surf);
    return {};
}
