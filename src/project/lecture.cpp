// Reading a parameters file into a staged result. A line is tested against the keys in a fixed
// order; a key makes the next line the one tested further down the order, which is how an empty
// section is skipped. Every other line is data of the section in force. The first line that
// cannot be read stops the whole reading.
#include "geo/calage.h"
#include "map/fichier.h"
#include "project/ansi.h"
#include "project/couleurs.h"
#include "project/erreurfichier.h"
#include "project/parametres.h"
#include "project/sections.h"
#include "timeline/temps.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

static_assert(std::is_same_v<Couleur, int>, "colours are read as whole numbers");

// The fields of a line between its TABs, cut once: a route has tens of thousands of lines.
using Champs = QList<QStringView>;
Champs coupe(const QString& ligne) {
    return QStringView(ligne).split(u'\t');
}
// Field n (from 1), by the rule of champ: empty past the last TAB.
QString champ(const Champs& f, int n) {
    return n <= f.size() ? f[n - 1].toString() : QString();
}

// A decimal number with a point, as this program writes them; nothing for anything else.
std::optional<double> reel(const QString& t) {
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// A text quoted in a message, kept readable.
QString abrege(const QString& t) {
    constexpr qsizetype MAX = 60;
    return t.size() <= MAX ? t : t.left(MAX) + QStringLiteral("…");
}

class Lecteur {
  public:
    Lecteur(QByteArrayView o, int ips) : octets(o), ips(ips) {
        // Editors of today may save the file as UTF-8 behind a byte-order mark.
        if (octets.startsWith("\xef\xbb\xbf")) {
            octets = octets.sliced(3);
            utf8 = true;
        }
        // A byte 26 ends the file.
        const qsizetype z = octets.indexOf('\x1a');
        if (z >= 0) octets = octets.first(z);
    }

    Lecture lit() {
        Section section = Section::AUCUNE;
        while (pos < octets.size()) {
            // The lines of a long route are read straight from the bytes when they can be.
            if (section == Section::CHEMIN && rapide(p.points)) continue;
            if (section == Section::AUCUNE && propre == Propre::ROUTE && rapide(route)) continue;
            if (!suivante()) return *erreur;
            // Every key starts with "[": most lines are tested no further.
            for (int k = 0; k < NBSECTIONS && ligne.startsWith(u'['); ++k) {
                if (ligne != CLES[k]) continue;
                section = static_cast<Section>(k);
                cles = true;
                if (!suivante()) return *erreur;
            }
            if (!prend(section)) return *erreur;
        }
        // Text without a single key is some other file: read as a project, it would be an empty
        // route that the next save writes over the real one.
        const bool contenu = std::any_of(octets.begin(), octets.end(), [](char c) {
            return c != ' ' && c != '\t' && c != '\r' && c != '\n';
        });
        if (!cles && contenu)
            return ErreurLecture{
                0,
                {},
                traduit(862,
                        QStringLiteral("Aucune section : ce n'est pas un fichier de paramètres"))};
        // The long route holds when "[CHEMIN]" is still its sample: a program that knows only
        // "[CHEMIN]" may have changed the route there and kept the other section as it was.
        if (!route.empty()) {
            const auto n = static_cast<int>(route.size());
            bool meme = std::ssize(p.points) == std::min(n, MAXPT);
            for (int k = 0; meme && k < std::ssize(p.points); ++k)
                meme = p.points[static_cast<std::size_t>(k)] ==
                       route[static_cast<std::size_t>(echantillon(k, n))];
            if (meme)
                p.points = std::move(route);
            else
                p.routeecartee = true;
            route = std::vector<PointLu>();
        }
        // A track's points must be the route's.
        for (std::size_t k = 0; k < p.rejeu.pistes.size(); ++k)
            if (p.rejeu.pistes[k].dernier >= std::ssize(p.points)) {
                numero = lignespistes[k];
                ligne = QStringLiteral("piste");
                echec(QStringLiteral("La piste %1 va au-delà de la route (%2 points)")
                          .arg(k + 1)
                          .arg(p.points.size()));
                return *erreur;
            }
        return std::move(p);
    }

  private:
    // The next line, without its CR LF or LF; past the end of the file an empty line.
    bool suivante() {
        ++numero;
        if (pos >= octets.size()) {
            ligne.clear();
            if (!apresfin) apresfin = numero;
            return true;
        }
        qsizetype fin = octets.indexOf('\n', pos);
        if (fin < 0) fin = octets.size();
        QByteArrayView l = octets.sliced(pos, fin - pos);
        pos = fin + 1;
        if (l.endsWith('\r')) l.chop(1);
        if (l.size() > MAXLIGNE) {
            ligne = texte(l.first(MAXLIGNE));
            return echec(traduit(863, QStringLiteral("Ligne trop longue : plus de %1 caractères"))
                             .arg(MAXLIGNE));
        }
        ligne = texte(l);
        if (l.contains('\0'))
            return echec(traduit(864, QStringLiteral("Caractère nul dans la ligne")));
        return true;
    }

    QString texte(QByteArrayView l) const { return utf8 ? QString::fromUtf8(l) : depuisansi(l); }

    bool echec(const QString& raison) {
        erreur = ErreurLecture{
            numero, abrege(ligne),
            traduit(861, QStringLiteral("%1 (ligne %2)")).arg(raison, QString::number(numero))};
        return false;
    }

    // Where a value is needed past the end of the file, the section was cut short.
    bool tronque(Section s) {
        if (!apresfin) return true;
        numero = *apresfin; // the first line that is missing
        return echec(
            traduit(865, QStringLiteral("La section %1 est incomplète : le fichier s'arrête avant"))
                .arg(textecle(s)));
    }

    // A whole number, or with `lis` = lircouleur a colour (a number or a colour name).
    using Conversion = std::optional<int> (*)(const QString&);
    bool nombre(Section s, const QString& t, int& v, Conversion lis = entier) {
        if (!tronque(s)) return false;
        const auto n = lis(t);
        if (!n) return echec(erreurentier(abrege(t)));
        v = *n;
        return true;
    }

    // A whole number within min..max: a value out of it is refused at its line.
    bool borne(Section s, const QString& t, int& v, int min, int max) {
        if (!nombre(s, t, v)) return false;
        if (v < min || v > max)
            return echec(traduit(866, QStringLiteral("'%1' est hors des limites : de %2 à %3"))
                             .arg(v)
                             .arg(min)
                             .arg(max));
        return true;
    }
    bool coord(Section s, const QString& t, int& v) { return borne(s, t, v, -MAXCOORD, MAXCOORD); }

    // "1" checks, "0" unchecks, anything else leaves the box as it is.
    static void drapeau(const QString& t, std::optional<bool>& v) {
        if (t == u"0") v = false;
        if (t == u"1") v = true;
    }

    // A single-value section: the last line read is the value.
    bool valeur(Section s, std::optional<int>& v, Conversion lis = entier) {
        int lu = 0;
        if (!nombre(s, ligne, lu, lis)) return false;
        v = lu;
        return true;
    }

    bool trop(qsizetype nb, qsizetype capacite, const QString& quoi, QLatin1StringView cle) {
        if (nb < capacite) return false;
        echec(quoi.arg(cle).arg(capacite));
        return true;
    }
    bool trop(qsizetype nb, qsizetype capacite, const QString& quoi, Section s) {
        return trop(nb, capacite, quoi, textecle(s));
    }

    // A point line in the form this program writes it, straight from the bytes: whole numbers,
    // and up to three decimal numbers with a point. Anything else (and any line in error) is
    // left to point(), which reads it the same way or says what is wrong.
    bool rapide(std::vector<PointLu>& v) {
        if (std::ssize(v) >= MAXROUTE) return false;
        // Room for what the rest of the file may hold, taken once (a line is 8 bytes at least).
        if (v.empty())
            v.reserve(
                static_cast<std::size_t>(std::min<qsizetype>((octets.size() - pos) / 8, MAXROUTE)));
        qsizetype fin = octets.indexOf('\n', pos);
        if (fin < 0) fin = octets.size();
        QByteArrayView l = octets.sliced(pos, fin - pos);
        if (l.endsWith('\r')) l.chop(1);
        if (l.size() > MAXLIGNE) return false;
        const char* c = l.data();
        const char* const z = c + l.size();
        // Ten digits at most: the slow way reads longer ones.
        const auto entier = [&](long long mini, long long maxi, int& r) {
            const char* d = c;
            if (c < z && *c == '-') ++c;
            long long x = 0;
            const char* chiffres = c;
            while (c < z && *c >= '0' && *c <= '9' && c - chiffres < 10)
                x = x * 10 + (*c++ - '0');
            if (c == chiffres || (c < z && *c != '\t')) return false;
            if (*d == '-') x = -x;
            if (x < mini || x > maxi) return false;
            r = static_cast<int>(x);
            return true;
        };
        const auto tab = [&] {
            if (c == z || *c != '\t') return false;
            ++c;
            return true;
        };
        PointLu pt;
        if (!entier(-MAXCOORD, MAXCOORD, pt.x) || !tab() || !entier(-MAXCOORD, MAXCOORD, pt.y) ||
            !tab() ||
            !entier(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), pt.coul) ||
            !tab() || !entier(0, MAXTRON, pt.tron))
            return false;
        pt.colore = true;
        for (auto* r : {&pt.dist, &pt.temps, &pt.alt}) {
            if (c == z) break;
            if (!tab()) return false;
            if (c == z || *c == '\t') continue; // an empty field: unknown
            const char* d = c;
            while (c < z && *c != '\t') {
                if (!((*c >= '0' && *c <= '9') || *c == '.' || (*c == '-' && c == d))) return false;
                ++c;
            }
            double x = 0;
            const auto lu = std::from_chars(d, c, x);
            if (lu.ec != std::errc() || lu.ptr != c || std::abs(x) > MAXREEL) return false;
            *r = x;
        }
        if (c != z) return false;
        v.push_back(pt);
        pos = fin + 1;
        ++numero;
        return true;
    }

    bool point(std::vector<PointLu>& v, QLatin1StringView cle) {
        if (trop(std::ssize(v), MAXROUTE,
                 traduit(867, QStringLiteral("Trop de points dans la section %1 : plus de %2")),
                 cle))
            return false;
        const Champs f = coupe(ligne);
        PointLu pt;
        if (!coord(Section::CHEMIN, champ(f, 1), pt.x)) return false;
        if (!coord(Section::CHEMIN, champ(f, 2), pt.y)) return false;
        // X and Y alone: the point takes the route colour and segment 0 when applied.
        const QString coul = champ(f, 3);
        if (!coul.isEmpty()) {
            if (!nombre(Section::CHEMIN, coul, pt.coul, lircouleur)) return false;
            if (!borne(Section::CHEMIN, champ(f, 4), pt.tron, 0, MAXTRON)) return false;
            pt.colore = true;
            // A GPS track's distance, time and elevation, each an empty field when unknown.
            for (int k = 5; k <= 7 && k <= f.size(); ++k) {
                const QString t = champ(f, k);
                if (t.isEmpty()) continue;
                const auto v = reel(t);
                if (!v || std::abs(*v) > MAXREEL)
                    return echec(traduit(870, QStringLiteral("'%1' n'est pas un nombre correct"))
                                     .arg(abrege(t)));
                (k == 5 ? pt.dist : k == 6 ? pt.temps : pt.alt) = *v;
            }
        }
        v.push_back(pt);
        return true;
    }

    bool image() {
        if (trop(std::ssize(p.images), MAXIMG,
                 traduit(868, QStringLiteral("Trop d'images dans la section %1 : plus de %2")),
                 Section::PHOTO))
            return false;
        const Champs f = coupe(ligne);
        ImageLue im;
        if (!coord(Section::PHOTO, champ(f, 1), im.decx)) return false;
        if (!coord(Section::PHOTO, champ(f, 2), im.decy)) return false;
        if (!nombre(Section::PHOTO, champ(f, 3), im.avance)) return false;
        if (f.size() >= 4 && !zoom(champ(f, 4), im.zoom)) return false;
        p.images.push_back(im);
        return true;
    }

    bool cadence() {
        int v = 0;
        if (!nombre(Section::IPS, ligne, v)) return false;
        // The rate divides every time text and the playback interval.
        if (v < 1 || v > MAXIPS)
            return echec(
                traduit(871, QStringLiteral("'%1' n'est pas une cadence correcte (1 à %2)"))
                    .arg(v)
                    .arg(MAXIPS));
        p.ips = ips = v;
        return true;
    }

    bool cle() {
        if (trop(std::ssize(p.cles), MAXCLE,
                 traduit(869, QStringLiteral("Trop de clés dans la section %1 : plus de %2")),
                 Section::CLE))
            return false;
        const Champs f = coupe(ligne);
        CleLue c;
        if (!coord(Section::CLE, champ(f, 1), c.decx)) return false;
        if (!coord(Section::CLE, champ(f, 2), c.decy)) return false;
        c.temps = champ(f, 3);
        // The frame number follows from the label at the rate read so far.
        const auto img = tempsversimg(ips, c.temps);
        if (!img)
            return echec(traduit(872, QStringLiteral("'%1' n'est pas un temps correct"))
                             .arg(abrege(c.temps)));
        c.img = *img;
        // Keyframes are written in the order of their frames, from frame 0 on: one before the
        // film's start or before the keyframe above it would make a frame table of another film.
        if (c.img < 0)
            return echec(traduit(800, QStringLiteral("'%1' : image clé avant le début du film"))
                             .arg(abrege(c.temps)));
        if (!p.cles.empty() && c.img < p.cles.back().img)
            return echec(traduit(801, QStringLiteral("'%1' : image clé avant la précédente (%2)"))
                             .arg(abrege(c.temps), p.cles.back().temps));
        if (f.size() >= 4 && !zoom(champ(f, 4), c.zoom)) return false;
        if (f.size() >= 5 && !champ(f, 5).isEmpty()) {
            const auto a = entier(champ(f, 5));
            if (!a || *a < 0 || *a > 1000)
                return echec(
                    traduit(873, QStringLiteral("'%1' : part de la route de 0 à 1000 attendue"))
                        .arg(abrege(champ(f, 5))));
            c.avance = *a;
        }
        p.cles.push_back(c);
        return true;
    }

    // A zoom field of our own: 0 for none, else within the zoom range.
    bool zoom(const QString& t, double& z) {
        if (t.isEmpty()) return true;
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok || (v != 0 && !zoomvalide(v)))
            return echec(traduit(874, QStringLiteral("'%1' : zoom de %2 à %3 attendu"))
                             .arg(abrege(t))
                             .arg(MINZOOM)
                             .arg(MAXZOOM));
        z = v;
        return true;
    }

    bool derniereimage() {
        int v = 0;
        if (!nombre(Section::IMGMAX, ligne, v)) return false;
        if (v < 1 || v > MAXNBI)
            return echec(
                traduit(875, QStringLiteral("'%1' n'est pas un nombre d'images correct (1 à %2)"))
                    .arg(v)
                    .arg(MAXNBI));
        p.imgmax = v;
        return true;
    }

    // Two number lines of a four-line section, one after the other.
    bool groupe(Section s, int& a, int& b) {
        if (!suivante() || !nombre(s, ligne, a)) return false;
        return suivante() && nombre(s, ligne, b);
    }

    bool ombre() {
        drapeau(ligne, p.okombre);
        OmbreLue o;
        if (!suivante() || !nombre(Section::OMBRE, ligne, o.couleur, lircouleur)) return false;
        if (!groupe(Section::OMBRE, o.x, o.y)) return false;
        p.ombre = o;
        return true;
    }

    bool loupe() {
        LoupeLue l;
        l.fichier = ligne;
        if (!groupe(Section::LOUPE, l.zoom, l.estompe)) return false;
        // Past the end of the file the flag is an empty line, which changes nothing.
        if (!suivante()) return false;
        drapeau(ligne, p.okloupe);
        p.loupe = l;
        return true;
    }

    // Ahead of the first of the 22 keys: our own sections, other lines skipped.
    bool avant() {
        if (ligne == CLETRACE) {
            propre = Propre::TRACE;
            return true;
        }
        if (ligne == CLECAMERA) {
            propre = Propre::CAMERA;
            return true;
        }
        if (ligne == CLEGEO) {
            propre = Propre::GEO;
            return true;
        }
        if (ligne == CLEFILM) {
            propre = Propre::FILM;
            if (!p.film) p.film = Film{};
            return true;
        }
        if (ligne == CLESTYLE) {
            propre = Propre::STYLE;
            if (!p.style) p.style = Style{};
            return true;
        }
        if (ligne == CLEPISTES) {
            propre = Propre::PISTES;
            return true;
        }
        if (ligne == CLEROUTE) {
            propre = Propre::ROUTE;
            return true;
        }
        // Another section of our own ("[IMAGE]") ends this one.
        if (ligne.startsWith(u'[') && ligne.endsWith(u']')) {
            propre = Propre::AUCUNE;
            return true;
        }
        if (propre == Propre::ROUTE) return point(route, CLEROUTE);
        if (propre == Propre::AUCUNE || ligne.isEmpty()) return true;
        const Champs f = coupe(ligne);
        const QString nom = champ(f, 1);
        const auto borne = [&](int& v, int maxi) {
            const auto n = entier(champ(f, 2));
            if (!n || *n < 0 || *n > maxi)
                return echec(
                    traduit(876, QStringLiteral("'%1' : valeur de 0 à %2 attendue dans %3"))
                        .arg(abrege(ligne))
                        .arg(maxi)
                        .arg(propre == Propre::CAMERA ? CLECAMERA
                             : propre == Propre::GEO  ? CLEGEO
                                                      : CLETRACE));
            v = *n;
            return true;
        };
        if (propre == Propre::FILM) return film(f, nom);
        if (propre == Propre::PISTES) return pistes(f, nom);
        if (propre == Propre::STYLE) return style(f, nom);
        int v = 0;
        if (propre == Propre::GEO) return geo(f, borne);
        if (propre == Propre::CAMERA) {
            if (nom != u"adoucir") return true; // a name of a later version
            if (!borne(v, 1)) return false;
            p.adoucit = v == 1;
            return true;
        }
        if (nom == u"tolerance") return borne(p.trace.tolerance, MAXTOLERANCE);
        if (nom == u"pont") return borne(p.trace.pont, MAXPONT);
        if (nom == u"carte" || nom == u"plume") {
            if (!borne(v, 1)) return false;
            (nom == u"carte" ? p.trace.carte : p.trace.plume) = v == 1;
        }
        // A name a later version writes is skipped.
        return true;
    }

    // A "[GEO]" line: a name, then its numbers or its text.
    template <typename Borne> bool geo(const Champs& f, const Borne& borne) {
        ReglagesGeo& g = p.geo;
        const QString nom = champ(f, 1);
        const auto reels = [&](std::initializer_list<double*> v) {
            int k = 2;
            for (double* d : v) {
                const auto r = reel(champ(f, k++));
                if (!r || std::abs(*r) > MAXREEL)
                    return echec(traduit(877, QStringLiteral("'%1' : nombres attendus dans %2"))
                                     .arg(abrege(ligne), CLEGEO));
                *d = *r;
            }
            return true;
        };
        int v = 0;
        const auto drapeau = [&](bool& b) {
            if (!borne(v, 1)) return false;
            b = v == 1;
            return true;
        };
        if (nom == u"calage") {
            Calage& c = g.calage;
            if (!reels({&c.a, &c.b, &c.c, &c.d, &c.e, &c.f})) return false;
            // All zeros, or a map flattened onto a line: nothing can be placed by it.
            if (const auto refus = refuscalage(c))
                return echec(QStringLiteral("'%1' : %2").arg(abrege(ligne), *refus));
            c.place = true;
            return true;
        }
        if (nom == u"crs") {
            // A system that names a file or an address is not kept: PROJ would open it.
            if (const auto refus = refuscrs(champ(f, 2)))
                return echec(QStringLiteral("'%1' : %2").arg(abrege(ligne), *refus));
            g.calage.crs = champ(f, 2);
            return true;
        }
        if (nom == u"amer") {
            if (g.calage.amers.size() >= MAXAMERS)
                return echec(traduit(805, QStringLiteral("Trop de points de calage : plus de %1"))
                                 .arg(MAXAMERS));
            Amer a;
            if (!reels({&a.x, &a.y, &a.lat, &a.lon})) return false;
            g.calage.amers.push_back(a);
            return true;
        }
        if (nom == u"echelle") return reels({&g.echx1, &g.echy1, &g.echx2, &g.echy2, &g.echmetres});
        if (nom == u"decimales") return borne(g.decimales, MAXDECIMALES);
        if (nom == u"pause") return borne(g.pause, MAXPAUSE);
        if (nom == u"distance") return drapeau(g.distance);
        if (nom == u"allure") return drapeau(g.allure);
        if (nom == u"temps") return drapeau(g.temps);
        if (nom == u"vitesse") return drapeau(g.vitesse);
        if (nom == u"altitude") return drapeau(g.altitude);
        if (nom == u"profil") return drapeau(g.profil);
        return true; // a name of a later version
    }

    // "[FILM]": taille L H (even sides within the limits), zoom Z.
    bool film(const Champs& f, const QString& nom) {
        if (nom == u"taille") {
            const auto l = entier(champ(f, 2)), h = entier(champ(f, 3));
            if (!l || !h || !taillevalide(*l, *h))
                return echec(
                    traduit(880,
                            QStringLiteral("'%1' : taille de film de %2*%2 à %3*%4, côtés pairs, "
                                           "attendue dans %5"))
                        .arg(abrege(ligne))
                        .arg(MINFILM)
                        .arg(MAXFILML)
                        .arg(MAXFILMH)
                        .arg(CLEFILM));
            p.film->largeur = *l;
            p.film->hauteur = *h;
        } else if (nom == u"zoom") {
            bool ok = false;
            const double z = champ(f, 2).toDouble(&ok);
            if (!ok || !zoomvalide(z))
                return echec(traduit(879, QStringLiteral("'%1' : zoom de %2 à %3 attendu dans %4"))
                                 .arg(abrege(ligne))
                                 .arg(MINZOOM)
                                 .arg(MAXZOOM)
                                 .arg(CLEFILM));
            p.film->zoom = z;
        }
        return true; // a name of a later version
    }

    // "[PISTES]": depart, queue, classement X Y, suivi, and a line for each track: its first and
    // last route points, colour, shown, handicap, start, clock, name.
    bool pistes(const Champs& f, const QString& nom) {
        Rejeu& r = p.rejeu;
        const auto faute = [&](const QString& quoi) {
            return echec(
                QStringLiteral("'%1' : %2 attendu dans %3").arg(abrege(ligne), quoi, CLEPISTES));
        };
        const auto nombre = [&](int k, double& v) {
            const auto x = reel(champ(f, k));
            if (!x || std::abs(*x) > MAXREEL) return false;
            v = *x;
            return true;
        };
        const auto drapeau = [&](int k, bool& b) {
            const QString t = champ(f, k);
            if (t != u"0" && t != u"1") return false;
            b = t == u"1";
            return true;
        };
        if (nom == u"depart") {
            const QString v = champ(f, 2);
            if (v != u"heure" && v != u"commun") return faute(QStringLiteral("heure ou commun"));
            r.depart = v == u"commun" ? Depart::COMMUN : Depart::HEURE;
        } else if (nom == u"queue") {
            if (!nombre(2, r.queue) || r.queue < 0 || r.queue > MAXQUEUE)
                return faute(QStringLiteral("une durée de 0 à %1 s").arg(MAXQUEUE));
        } else if (nom == u"classement") {
            const auto x = entier(champ(f, 2)), y = entier(champ(f, 3));
            if (!x || !y || std::abs(*x) > MAXFILML || std::abs(*y) > MAXFILMH)
                return faute(QStringLiteral("une position"));
            r.classement = true;
            r.classx = *x;
            r.classy = *y;
        } else if (nom == u"suivi") {
            const QString v = champ(f, 2);
            if (v != u"toutes" && v != u"tete" && v != u"cles")
                return faute(QStringLiteral("toutes, tete ou cles"));
            r.suivi = v == u"toutes" ? Suivi::TOUTES : v == u"tete" ? Suivi::TETE : Suivi::CLES;
        } else if (nom == u"piste") {
            if (std::ssize(r.pistes) >= MAXPISTES)
                return echec(QStringLiteral("Trop de pistes : plus de %1").arg(MAXPISTES));
            Piste t;
            const auto a = entier(champ(f, 2)), b = entier(champ(f, 3));
            const auto c = lircouleur(champ(f, 4));
            if (!a || !b || *a < 0 || *b < *a || *b >= MAXROUTE)
                return faute(QStringLiteral("des points de la route"));
            if (!c || estsysteme(*c)) return faute(QStringLiteral("une couleur"));
            if (!drapeau(5, t.montre) || !nombre(6, t.decalage) || !nombre(7, t.debut) ||
                !drapeau(8, t.horloge))
                return faute(QStringLiteral("des nombres"));
            t.premier = *a;
            t.dernier = *b;
            t.couleur = *c;
            t.nom = champ(f, 9);
            // Tracks follow one another along the route.
            if (!r.pistes.empty() && t.premier <= r.pistes.back().dernier)
                return faute(QStringLiteral("des pistes à la suite"));
            r.pistes.push_back(t);
            lignespistes.push_back(numero);
        }
        return true; // a name of a later version
    }

    // "[STYLE]": largeur W, halo W COLOUR.
    bool style(const Champs& f, const QString& nom) {
        const auto borne = [&](const QString& t, int& v, int maxi) {
            const auto n = entier(t);
            if (!n || *n < 0 || *n > maxi)
                return echec(
                    traduit(876, QStringLiteral("'%1' : valeur de 0 à %2 attendue dans %3"))
                        .arg(abrege(ligne))
                        .arg(maxi)
                        .arg(CLESTYLE));
            v = *n;
            return true;
        };
        if (nom == u"largeur") return borne(champ(f, 2), p.style->largeur, MAXLARGEUR);
        if (nom == u"halo") {
            if (!borne(champ(f, 2), p.style->halo, MAXHALO)) return false;
            const auto c = lircouleur(champ(f, 3));
            if (!c || estsysteme(*c))
                return echec(traduit(881, QStringLiteral("'%1' : couleur attendue dans %2"))
                                 .arg(abrege(ligne))
                                 .arg(CLESTYLE));
            p.style->coulhalo = *c;
        }
        return true;
    }

    bool prend(Section s) {
        switch (s) {
        case Section::AUCUNE:
            return avant();
        case Section::CHEMIN:
            return point(p.points, textecle(Section::CHEMIN));
        case Section::PHOTO:
            return image();
        case Section::IPS:
            return cadence();
        case Section::CLE:
            return cle();
        case Section::POLICE:
            p.police = ligne;
            return true;
        case Section::CPTMAX:
            p.cptmax = ligne;
            return true;
        case Section::TAILLE: {
            int v = 0;
            if (!borne(s, ligne, v, -MAXTAILLE, MAXTAILLE)) return false;
            p.taille = v;
            return true;
        }
        case Section::POSY:
            return valeur(s, p.posy);
        case Section::COULEUR:
            return valeur(s, p.couleur, lircouleur);
        case Section::MONTRE:
            drapeau(ligne, p.montre);
            return true;
        case Section::KM:
            for (int u = SANS; u <= AUTRE; ++u)
                if (ligne == QString::number(u)) p.km = u;
            return true;
        case Section::POSX:
            return valeur(s, p.posx);
        case Section::IMGMAX:
            return derniereimage();
        case Section::COULROUTE:
            return valeur(s, p.coulroute, lircouleur);
        case Section::COULFOND:
            return valeur(s, p.coulfond, lircouleur);
        case Section::VISU:
            p.visu = ligne;
            return true;
        case Section::BORDOK:
            drapeau(ligne, p.bordok);
            return true;
        case Section::BORDCOUL:
            return valeur(s, p.bordcoul, lircouleur);
        case Section::BORDNB:
            return valeur(s, p.bordnb);
        case Section::TXTAUTRE:
            p.txtautre = ligne;
            return true;
        case Section::OMBRE:
            return ombre();
        case Section::LOUPE:
            return loupe();
        }
        return true;
    }

    QByteArrayView octets;
    qsizetype pos = 0;
    int numero = 0; // number of the line in `ligne`
    QString ligne;
    std::optional<int> apresfin; // the first line read past the end
    enum class Propre {
        AUCUNE,
        TRACE,
        CAMERA,
        GEO,
        FILM,
        STYLE,
        ROUTE,
        PISTES
    } propre = Propre::AUCUNE;
    std::vector<int> lignespistes; // the line of each track, for what the route tells later
    bool utf8 = false;             // the file started with a UTF-8 byte-order mark
    bool cles = false;             // a key line was seen
    int ips;
    Parametres p;
    std::vector<PointLu> route; // "[ROUTE]", until the end tells whether it holds
    std::optional<ErreurLecture> erreur;
};

// What the file would hold past its reader's limits, said for the user; the checks follow those
// of Lecteur, on the values as the writer puts them.
class Limites {
  public:
    explicit Limites(const Etat& e) : e(e) {}

    std::optional<QString> refus() {
        verifie();
        return raison;
    }

  private:
    void hors(const QString& quoi) {
        if (!raison)
            raison = traduit(811, QStringLiteral("%1 : hors de ce que le fichier de paramètres "
                                                 "peut relire"))
                         .arg(quoi);
    }
    void coord(int v, const QString& quoi) {
        if (v < -MAXCOORD || v > MAXCOORD) hors(QStringLiteral("%1 %2").arg(quoi).arg(v));
    }
    void reel(double v, const QString& quoi) {
        if (!(std::abs(v) <= MAXREEL)) hors(QStringLiteral("%1 %2").arg(quoi).arg(v));
    }
    void borne(int v, int mini, int maxi, const QString& quoi) {
        if (v < mini || v > maxi) hors(QStringLiteral("%1 %2").arg(quoi).arg(v));
    }
    // A zoom as written (six digits): none (0) or within the range.
    void zoom(double z, const QString& quoi) {
        const double v = textezoom(z).toDouble();
        if (v != 0 && !zoomvalide(v)) hors(QStringLiteral("%1 %2").arg(quoi, textezoom(z)));
    }
    // The text of the one-line section `s`: within a line's length, and not read back as a key.
    // The line after a key is tested against the keys after it only, so a text that is an
    // earlier key ("[KM]" as the unit text) reads back as a text.
    void texte(const QString& t, Section s) {
        const QLatin1StringView quoi = textecle(s);
        if (versansi(t).size() > MAXLIGNE)
            hors(traduit(885, QStringLiteral("%1 (%2 caractères)")).arg(quoi).arg(t.size()));
        for (int k = static_cast<int>(s) + 1; k < NBSECTIONS; ++k)
            if (t == CLES[k]) hors(QStringLiteral("%1 « %2 »").arg(quoi, t));
    }

    void verifie() {
        const QString point = traduit(812, QStringLiteral("point %1"));
        const int dernier = dernierpoint(e);
        for (int i = 0; i <= dernier && !raison; ++i) {
            coord(e.ptx[i], point.arg(i));
            coord(e.pty[i], point.arg(i));
            borne(e.pttron[i], 0, MAXTRON, point.arg(i));
        }
        if (geovalide(e))
            for (int i = 0; i <= dernier && !raison; ++i) {
                if (e.gpsdist) reel(e.ptdist[i], point.arg(i));
                if (e.gpstemps) reel(e.pttemps[i], point.arg(i));
                if (e.gpsalt) reel(e.ptalt[i], point.arg(i));
            }
        const QString image = traduit(813, QStringLiteral("image %1"));
        for (int i = 0; i <= e.nbimg && i < MAXIMG && !raison; ++i) {
            coord(e.imgdecx[i], image.arg(i));
            coord(e.imgdecy[i], image.arg(i));
            if (e.imgzoom[i] > 0) zoom(e.imgzoom[i], image.arg(i));
        }
        borne(e.ips, 1, MAXIPS, QStringLiteral("[IPS]"));
        const QString cle = traduit(814, QStringLiteral("image clé %1"));
        int avant = 0;
        for (int k = 0; k < e.nbcle && k < MAXCLE && !raison; ++k) {
            coord(e.cledecx[k], cle.arg(e.cletemps[k]));
            coord(e.cledecy[k], cle.arg(e.cletemps[k]));
            const auto img = tempsversimg(e.ips, e.cletemps[k]);
            if (!img || *img < avant) hors(cle.arg(e.cletemps[k]));
            if (img) avant = *img;
            if (e.cleavance[k] >= 0 || e.clezoom[k] > 0) zoom(e.clezoom[k], cle.arg(e.cletemps[k]));
            if (e.cleavance[k] > 1000) hors(cle.arg(e.cletemps[k]));
        }
        const auto nbi = entier(e.nbi);
        if (!nbi || *nbi < 1 || *nbi > MAXNBI) hors(QStringLiteral("[IMGMAX] ") + e.nbi);
        borne(e.police.taille, -MAXTAILLE, MAXTAILLE, QStringLiteral("[TAILLE]"));
        if (!entier(e.bordnb)) hors(QStringLiteral("[BORDNB] ") + e.bordnb);
        texte(e.police.nom, Section::POLICE);
        texte(e.lkm, Section::CPTMAX);
        texte(e.txtautre, Section::TXTAUTRE);
        texte(nomimage(e, e.fichiervisu), Section::VISU);
        texte(nomimage(e, e.fichierloupe), Section::LOUPE);

        const ReglagesTrace& r = e.reglagestrace;
        borne(r.tolerance, 0, MAXTOLERANCE, CLETRACE);
        borne(r.pont, 0, MAXPONT, CLETRACE);
        const ReglagesGeo& g = e.geo;
        const Calage& c = g.calage;
        if (c.place)
            if (const auto refus = refuscalage(c))
                hors(QStringLiteral("%1 %2").arg(CLEGEO, *refus));
        if (versansi(c.crs).size() + 4 > MAXLIGNE) hors(QStringLiteral("%1 crs").arg(CLEGEO));
        if (c.amers.size() > MAXAMERS)
            hors(traduit(816, QStringLiteral("%1 : %2 points de calage"))
                     .arg(CLEGEO)
                     .arg(c.amers.size()));
        for (const Amer& a : c.amers)
            for (const double v : {a.x, a.y, a.lat, a.lon})
                reel(v, CLEGEO);
        if (g.echelle())
            for (const double v : {g.echx1, g.echy1, g.echx2, g.echy2, g.echmetres})
                reel(v, CLEGEO);
        borne(g.decimales, 0, MAXDECIMALES, CLEGEO);
        borne(g.pause, 0, MAXPAUSE, CLEGEO);
        if (!e.film.classique()) {
            if (!taillevalide(e.film.largeur, e.film.hauteur))
                hors(QStringLiteral("%1 %2*%3")
                         .arg(CLEFILM)
                         .arg(e.film.largeur)
                         .arg(e.film.hauteur));
            if (e.film.zoom != 1.0) {
                const double z = textezoom(e.film.zoom).toDouble();
                if (!zoomvalide(z)) hors(QStringLiteral("%1 zoom %2").arg(CLEFILM).arg(z));
            }
        }
        if (!e.style.classique()) {
            borne(e.style.largeur, 0, MAXLARGEUR, CLESTYLE);
            borne(e.style.halo, 0, MAXHALO, CLESTYLE);
            if ((e.style.halo || e.style.coulhalo != Style{}.coulhalo) &&
                estsysteme(e.style.coulhalo))
                hors(QStringLiteral("%1 halo").arg(CLESTYLE));
        }
    }

    const Etat& e;
    std::optional<QString> raison;
};

} // namespace

std::optional<QString> horslimites(const Etat& e) {
    return Limites(e).refus();
}

Lecture lisparametres(QByteArrayView octets, int ips) {
    return Lecteur(octets, ips).lit();
}

Lecture chargeparametres(const QString& chemin, int ips) {
    if (const auto pas = pasunfichier(chemin))
        return ErreurLecture{
            0, {}, traduit(882, QStringLiteral("Impossible de lire %1 : %2")).arg(chemin, *pas)};
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return ErreurLecture{0,
                             {},
                             traduit(883, QStringLiteral("Impossible d'ouvrir %1 : %2"))
                                 .arg(chemin, raisonfichier(fichier))};
    const auto tropgrand = [&] {
        return ErreurLecture{0,
                             {},
                             traduit(884, QStringLiteral("%1\nFichier trop grand : plus de %2 Mo"))
                                 .arg(chemin, QString::number(MAXFICHIER / (1024 * 1024)))};
    };
    // Refused before it is read when its size already says so.
    if (fichier.size() > MAXFICHIER) return tropgrand();
    const QByteArray octets = fichier.read(MAXFICHIER + 1);
    if (fichier.error() != QFileDevice::NoError)
        return ErreurLecture{0,
                             {},
                             traduit(882, QStringLiteral("Impossible de lire %1 : %2"))
                                 .arg(chemin, raisonfichier(fichier))};
    if (octets.size() > MAXFICHIER) return tropgrand();
    Lecture l = lisparametres(octets, ips);
    if (auto* e = std::get_if<ErreurLecture>(&l)) e->message = chemin + u'\n' + e->message;
    return l;
}
