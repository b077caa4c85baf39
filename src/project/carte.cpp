#include "project/carte.h"

#include "map/image.h"
#include "project/parametres.h"
#include "render/afficheimg.h"

#include <QFileInfo>

#include <algorithm>

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
    maxi = taille - vue;
    visible = maxi != 0;
    position = std::clamp(position, 0, maxi);
}

const QString VISUTAILLE =
    QStringLiteral("L'image de visu doit avoir la même \ndimension que l'image de calcul");

} // namespace

Chargement chargecarte(Etat& e, Surfaces& surf, const QString& chemin) {
    Surface image;
    QString erreur;
    if (!chargeimage(chemin, image, erreur)) return illisible(erreur);
    e.largeurcarte = image.largeur();
    e.hauteurcarte = image.hauteur();
    if (e.largeurcarte < VUEL || e.hauteurcarte < VUEH) {
        // No map from now on; the route, the time line and the scroll ranges stay.
        surf.carte.redimensionne(e.largeurcarte, e.hauteurcarte);
        surf.vue.remplit(0);
        e.fichiercarte.clear();
        return refus(QStringLiteral("Image 720*576 minimum"), 25);
    }
    surf.carte = std::move(image);
    portee(e.largeurcarte, VUEL, e.asclmax, e.asclvisible, e.ascl);
    portee(e.hauteurcarte, VUEH, e.aschmax, e.aschvisible, e.asch);
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
    Surface image;
    QString erreur;
    if (!chargeimage(chemin, image, erreur)) return illisible(erreur);
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

Chargement basculevisu(Etat& e, Surfaces& surf, bool coche) {
    e.check = coche;
    if (e.fichiercarte.isEmpty()) return {};
    const QString chemin = coche ? e.fichiervisu : e.dossiercarte + e.fichiercarte;
    Surface image;
    QString erreur;
    if (!chargeimage(chemin, image, erreur)) {
        e.check = false;
        return illisible(erreur);
    }
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
    if (!chargeimage(chemin, image, erreur)) return illisible(erreur);
    const int W = image.largeur(), H = image.hauteur();
    // The outside colour is pixel (1, 1): a smaller picture has none. Any larger size is taken;
    // the picture reader has already held it to the pixel limit.
    if (W < 2 || H < 2)
        return illisible(QStringLiteral("La loupe « %1 » mesure %2*%3 pixels : il faut 2*2 "
                                        "pixels au moins.")
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
