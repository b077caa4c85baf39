// Applying a read parameters file: each value goes where its control would take it, with the
// reaction that control has, then everything that follows from the tables is rebuilt once.
#include "map/image.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "render/afficheimg.h"
#include "route/lisse.h"
#include "timeline/rejeu.h"
#include "timeline/temps.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The ranges of the track bars and of the up-down, which a value from a file is kept within.
constexpr int BORDNBMAX = 200;
constexpr int ESTOMPEMIN = 1, ESTOMPEMAX = 50;

QString nonchargee(const Etat& e, const QString& chemin) {
    return traduit(e, 24, QStringLiteral("Impossible de charger")) + u'\n' + chemin;
}

QString sansloupe(const Etat& e) {
    return traduit(
        e, 64, QStringLiteral("Il n'y a pas de fichier \"loupe\"\nCliquer sur \"CHARGE\" avant"));
}

void tables(Etat& e, const Parametres& p) {
    if (p.coulroute) e.coulr = e.coulmarque = *p.coulroute;
    // The reader takes no more than MAXROUTE points.
    tailleroute(e, static_cast<int>(p.points.size()));
    e.nbpt = static_cast<int>(p.points.size()) - 1;
    for (int i = 0; i <= e.nbpt; ++i) {
        const PointLu& pt = p.points[i];
        e.ptx[i] = pt.x;
        e.pty[i] = pt.y;
        // A point without a colour is drawn in the route colour, in the first segment.
        e.ptcoul[i] = pt.colore ? pt.coul : e.coulmarque;
        e.pttron[i] = pt.colore ? pt.tron : 0;
    }
    // Each GPS value holds only when every point carries it.
    const auto tous = [&](std::optional<double> PointLu::*v) {
        return !p.points.empty() &&
               std::all_of(p.points.begin(), p.points.end(),
                           [&](const PointLu& pt) { return (pt.*v).has_value(); });
    };
    e.gpsdist = tous(&PointLu::dist);
    e.gpstemps = tous(&PointLu::temps);
    e.gpsalt = tous(&PointLu::alt);
    e.nbgeo = e.gpsdist || e.gpstemps || e.gpsalt ? e.nbpt + 1 : 0;
    placegeo(e, e.nbgeo);
    for (int i = 0; i < e.nbgeo; ++i) {
        const PointLu& pt = p.points[i];
        e.ptdist[i] = pt.dist.value_or(0);
        e.pttemps[i] = pt.temps.value_or(0);
        e.ptalt[i] = pt.alt.value_or(0);
    }
    e.nbimg = static_cast<int>(p.images.size()) - 1;
    e.listbox1.clear();
    for (int i = 0; i <= e.nbimg; ++i) {
        e.imgdecx[i] = p.images[i].decx;
        e.imgdecy[i] = p.images[i].decy;
        e.imgavance[i] = p.images[i].avance;
        e.imgzoom[i] = p.images[i].zoom;
        e.listbox1.append(lignelistbox1(e, i));
    }
    e.nbcle = static_cast<int>(p.cles.size());
    e.icle.clear();
    for (int k = 0; k < e.nbcle; ++k) {
        e.cleimg[k] = p.cles[k].img;
        e.cledecx[k] = p.cles[k].decx;
        e.cledecy[k] = p.cles[k].decy;
        e.cletemps[k] = p.cles[k].temps;
        e.clezoom[k] = p.cles[k].zoom;
        e.cleavance[k] = p.cles[k].avance;
        e.icle.append(p.cles[k].temps);
    }
}

void legende(Etat& e, const Parametres& p) {
    if (p.coulfond) e.coulmon = e.coulsuivie = *p.coulfond;
    if (p.police) e.police.nom = *p.police;
    if (p.taille) e.police.taille = *p.taille;
    if (p.couleur) e.police.couleur = *p.couleur;
    if (p.cptmax) e.lkm = nombremaxi(*p.cptmax);
    if (p.posx) e.xt = std::clamp(*p.posx, 0, e.film.largeur);
    if (p.posy) e.yt = std::clamp(*p.posy, 0, e.film.hauteur);
    if (p.montre) e.montre = *p.montre;
    if (p.km) e.unite = *p.km;
    if (p.txtautre) e.txtautre = *p.txtautre;
    if (p.okombre) e.okombre = *p.okombre;
    if (p.ombre) {
        e.coulombre = p.ombre->couleur;
        e.xombre = std::clamp(p.ombre->x, -e.film.ombremax(), e.film.ombremax());
        e.yombre = std::clamp(p.ombre->y, -e.film.ombremax(), e.film.ombremax());
    }
    if (p.bordok) e.checkbox1 = *p.bordok;
    if (p.bordcoul) e.coulbord = *p.bordcoul;
    if (p.bordnb) {
        // The tip is the length the file gives; only the up-down keeps its range.
        e.updown1 = std::clamp(*p.bordnb, 0, BORDNBMAX);
        e.bordnb = QString::number(*p.bordnb);
    }
}

// A picture named without its folder lives beside the map; the project holds full paths. A full
// path that leads nowhere is looked for beside the map too: the project's folder was moved or
// copied with its pictures.
QString complet(const Etat& e, const QString& chemin) {
    if (chemin.isEmpty() || e.dossiercarte.isEmpty()) return chemin;
    if (QDir::isRelativePath(chemin)) return QDir::cleanPath(e.dossiercarte + chemin);
    if (QFileInfo::exists(chemin)) return chemin;
    const QString voisin = QDir::cleanPath(e.dossiercarte + QFileInfo(chemin).fileName());
    return QFileInfo::exists(voisin) ? voisin : chemin;
}

// The frame-rate list shows the rate the project was made at, so that the video takes it too.
// A rate the list does not hold stands there as typed text, so that the video takes it as well.
void selectionneips(Etat& e) {
    for (int i = 0; i < e.cips.size(); ++i) {
        if (entier(e.cips[i].left(2)) == e.ips) {
            e.cipsindex = i;
            e.cipstexte = e.cips[i];
            return;
        }
    }
    e.cipsindex = -1;
    e.cipstexte = QString::number(e.ips);
}

// The display picture is shown without the size check of its button.
void visu(Etat& e, Surfaces& surf, const QString& nom, QStringList& messages) {
    const QString chemin = complet(e, nom);
    e.fichiervisu = chemin;
    e.checkvisible = false;
    if (chemin.isEmpty()) return;
    if (!QFileInfo::exists(chemin)) {
        messages << nonchargee(e, chemin); // the name stays, and is saved again
        return;
    }
    QString erreur;
    Surface image;
    if (!chargeimage(chemin, image, erreur)) {
        messages << erreur;
        return;
    }
    // Refused as its button refuses it: a picture of another size would show the film's frames
    // off the map.
    if (image.largeur() != e.largeurcarte || image.hauteur() != e.hauteurcarte) {
        messages << traduit(
            e, 63,
            QStringLiteral("L'image de visu doit avoir la même \ndimension que l'image de calcul"));
        e.fichiervisu.clear();
        // The map surface may hold a display picture shown before: the map comes back.
        if (e.check) {
            const Chargement c = basculevisu(e, surf, false);
            if (c.issue != Chargement::ok) messages << c.message;
        }
        return;
    }
    surf.carte = std::move(image);
    e.check = e.checkvisible = true;
}

void loupe(Etat& e, Surfaces& surf, const Parametres& p, QStringList& messages) {
    if (p.loupe) {
        e.fichierloupe = complet(e, p.loupe->fichier);
        e.txloupe = std::clamp(p.loupe->zoom, 0, e.txloupemax);
        e.estompe = std::clamp(p.loupe->estompe, ESTOMPEMIN, ESTOMPEMAX);
    }
    if (p.okloupe) e.okloupe = *p.okloupe;
    // The switch cannot stay on without a picture.
    if (e.okloupe && e.fichierloupe.isEmpty()) {
        e.okloupe = false;
        messages << sansloupe(e);
    }
    if (!p.loupe || e.fichierloupe.isEmpty()) return;
    const QString chemin = e.fichierloupe;
    if (QFileInfo::exists(chemin)) {
        const Chargement c = chargeloupe(e, surf, chemin);
        if (c.issue == Chargement::ok) {
            // The zoom read is taken within the new range.
            e.txloupe = std::clamp(p.loupe->zoom, 0, e.txloupemax);
            return;
        }
        messages << (c.entree >= 0 ? traduit(e, c.entree, c.message) : c.message);
    } else {
        messages << nonchargee(e, chemin);
    }
    e.fichierloupe.clear();
    if (e.okloupe) {
        e.okloupe = false;
        messages << sansloupe(e);
    }
}

} // namespace

QString nombremaxi(const QString& t) {
    const bool chiffres = !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    return chiffres ? t : QStringLiteral("0");
}

QStringList appliqueparametres(Etat& e, Surfaces& surf, const Parametres& p) {
    QStringList messages;
    tables(e, p);
    if (p.routeecartee)
        messages << traduit(e, 1000,
                            QStringLiteral("La route longue du fichier ne correspond plus à sa "
                                           "section [CHEMIN], changée ailleurs : la route est "
                                           "celle de [CHEMIN], %1 points."))
                        .arg(e.nbpt + 1);
    if (p.ips) {
        e.ips = *p.ips;
        selectionneips(e);
    }
    if (p.imgmax) e.nbi = QString::number(*p.imgmax);
    majduree(e);
    // The film first: the legend's ranges and the scroll ranges follow it.
    e.film = p.film.value_or(Film{});
    e.style = p.style.value_or(Style{});
    porteesvue(e);
    legende(e, p);
    e.reglagestrace = p.trace;
    e.adoucit = p.adoucit;
    e.geo = p.geo;
    e.rejeu = p.rejeu;
    // The replay's clock at each frame of the table read.
    horlogerejeu(e, e.nbimg, false);
    if (p.visu) visu(e, surf, *p.visu, messages);
    loupe(e, surf, p, messages);
    lisseloupe(e);
    // Wtl, the keyframe of the current frame, the offsets stored for it, the redraw.
    montreimage(e, surf, e.tl);
    return messages;
}

std::optional<ErreurLecture> chargeprojet(Etat& e, Surfaces& surf, QStringList& messages) {
    const Lecture l = chargeparametres(cheminparametres(e), e.ips);
    if (const auto* erreur = std::get_if<ErreurLecture>(&l)) return *erreur;
    messages = appliqueparametres(e, surf, std::get<Parametres>(l));
    return std::nullopt;
}
