// Saving a project: the 22 sections in a fixed order, one value per line, CR LF line ends.
#include "map/fichier.h"
#include "project/ansi.h"
#include "project/erreurfichier.h"
#include "project/imageprojet.h"
#include "project/parametres.h"
#include "project/sections.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace {

// A per-point value with one decimal, or an empty field when the route has none.
struct Fixe {
    double v;
    bool present;
};

// One line: its values separated by TAB, then CR LF.
class Ecrivain {
  public:
    explicit Ecrivain(QByteArray& o) : octets(o) {}

    template <typename... V> void ligne(const V&... valeurs) {
        bool premier = true;
        ((premier ? void(premier = false) : void(octets.append('\t')), ecrit(valeurs)), ...);
        octets.append("\r\n", 2);
    }

  private:
    void ecrit(QLatin1StringView cle) { octets.append(cle.data(), cle.size()); }
    // A route of millions of points: digits straight into the file, no text made for each.
    void ecrit(int v) {
        char t[16];
        const auto r = std::to_chars(t, t + sizeof t, v);
        octets.append(t, r.ptr - t);
    }
    void ecrit(bool v) { octets.append(v ? '1' : '0'); }
    // Placement coefficients: every digit, so that a save and a load give the same pixels.
    void ecrit(double v) { octets.append(QByteArray::number(v, 'g', 17)); }
    void ecrit(const Fixe& v) {
        if (v.present) octets.append(QByteArray::number(v.v, 'f', 1));
    }
    // A text stands alone on its line: a line break, a NUL or a byte 26 inside it would end it
    // or the file when read back.
    void ecrit(const QString& t) {
        QByteArray a = versansi(t);
        for (char& c : a)
            if (c == '\n' || c == '\r' || c == '\0' || c == '\x1a') c = '?';
        octets.append(a);
    }

    QByteArray& octets;
};

} // namespace

QString nomimage(const Etat& e, const QString& chemin) {
    if (chemin.isEmpty() || e.dossiercarte.isEmpty()) return chemin;
    const QFileInfo f(chemin);
    if (f.isRelative() || QDir::cleanPath(f.absolutePath()) != QDir::cleanPath(e.dossiercarte))
        return chemin;
    return f.fileName();
}

QString cheminparametres(const Etat& e) {
    return e.dossiercarte + e.fichierparam;
}

QString textezoom(double z) {
    return QString::number(z, 'g', 6);
}

QByteArray ecrisparametres(const Etat& e) {
    QByteArray octets;
    // About 30 bytes a point and 15 a frame; a long route writes 36001 of its points twice.
    const qsizetype points = std::max(dernierpoint(e) + 1, 0);
    octets.reserve(1024 + 32 * (points + (points > MAXPT ? MAXPT : 0)) + 16 * (e.nbimg + 1));
    Ecrivain f(octets);

    // Only for a picture other than the one the file's name implies.
    if (const QString image = imagenotee(e); !image.isEmpty()) {
        f.ligne(QLatin1StringView("[IMAGE]"));
        f.ligne(image);
    }
    // The walk's settings, only when one is on: a project that uses none is written as ever.
    if (const ReglagesTrace& r = e.reglagestrace; !r.classique()) {
        f.ligne(CLETRACE);
        if (r.tolerance) f.ligne(QLatin1StringView("tolerance"), r.tolerance);
        if (r.carte) f.ligne(QLatin1StringView("carte"), r.carte);
        if (r.pont) f.ligne(QLatin1StringView("pont"), r.pont);
        if (r.plume) f.ligne(QLatin1StringView("plume"), r.plume);
    }
    // The camera's easing, only when on; the frame table below holds the eased offsets, so a
    // reader that skips this plays the same film.
    if (e.adoucit) {
        f.ligne(CLECAMERA);
        f.ligne(QLatin1StringView("adoucir"), true);
    }
    // The track's placement, pace and legend, only when one is set; the frame table below holds
    // the pace, so a reader that skips this plays the same film.
    if (const ReglagesGeo& g = e.geo; g != ReglagesGeo{}) {
        f.ligne(CLEGEO);
        const Calage& c = g.calage;
        if (c.place) f.ligne(QLatin1StringView("calage"), c.a, c.b, c.c, c.d, c.e, c.f);
        if (!c.crs.isEmpty()) f.ligne(QLatin1StringView("crs"), c.crs);
        for (const Amer& a : c.amers)
            f.ligne(QLatin1StringView("amer"), a.x, a.y, a.lat, a.lon);
        if (g.distance) f.ligne(QLatin1StringView("distance"), true);
        if (g.decimales != ReglagesGeo{}.decimales)
            f.ligne(QLatin1StringView("decimales"), g.decimales);
        if (g.echelle())
            f.ligne(QLatin1StringView("echelle"), g.echx1, g.echy1, g.echx2, g.echy2, g.echmetres);
        if (g.allure) f.ligne(QLatin1StringView("allure"), true);
        if (g.pause) f.ligne(QLatin1StringView("pause"), g.pause);
        if (g.temps) f.ligne(QLatin1StringView("temps"), true);
        if (g.vitesse) f.ligne(QLatin1StringView("vitesse"), true);
        if (g.altitude) f.ligne(QLatin1StringView("altitude"), true);
        if (g.profil) f.ligne(QLatin1StringView("profil"), true);
    }
    // The film's size and zoom and the route's style, only what differs from the classic film.
    if (const Film& film = e.film; !film.classique()) {
        f.ligne(CLEFILM);
        if (film.largeur != VUEL || film.hauteur != VUEH)
            f.ligne(QLatin1StringView("taille"), film.largeur, film.hauteur);
        if (film.zoom != 1.0) f.ligne(QLatin1StringView("zoom"), textezoom(film.zoom));
    }
    if (const Style& s = e.style; !s.classique()) {
        f.ligne(CLESTYLE);
        if (s.largeur) f.ligne(QLatin1StringView("largeur"), s.largeur);
        if (s.halo || s.coulhalo != Style{}.coulhalo)
            f.ligne(QLatin1StringView("halo"), s.halo, static_cast<int>(s.coulhalo));
    }
    // A replay's tracks, only when there are some: runs of the route below, which a reader
    // that skips this draws as one route.
    if (const Rejeu& r = e.rejeu; r.actif()) {
        f.ligne(CLEPISTES);
        if (r.depart == Depart::COMMUN)
            f.ligne(QLatin1StringView("depart"), QLatin1StringView("commun"));
        if (r.queue > 0) f.ligne(QLatin1StringView("queue"), r.queue);
        if (r.classement) f.ligne(QLatin1StringView("classement"), r.classx, r.classy);
        if (r.suivi != Suivi::CLES)
            f.ligne(QLatin1StringView("suivi"), r.suivi == Suivi::TETE
                                                    ? QLatin1StringView("tete")
                                                    : QLatin1StringView("toutes"));
        for (const Piste& p : r.pistes)
            f.ligne(QLatin1StringView("piste"), p.premier, p.dernier, p.couleur, p.montre,
                    p.decalage, p.debut, p.horloge, QString(p.nom).replace(u'\t', u' '));
    }
    // A GPS route keeps each point's distance, time and elevation in fields of its own after the
    // four that every reader takes.
    const bool gps = geovalide(e) && (e.gpsdist || e.gpstemps || e.gpsalt);
    const auto point = [&](int i) {
        if (gps)
            f.ligne(e.ptx[i], e.pty[i], e.ptcoul[i], e.pttron[i], Fixe{e.ptdist[i], e.gpsdist},
                    Fixe{e.pttemps[i], e.gpstemps}, Fixe{e.ptalt[i], e.gpsalt});
        else
            f.ligne(e.ptx[i], e.pty[i], e.ptcoul[i], e.pttron[i]);
    };
    const int n = dernierpoint(e) + 1;
    if (n > MAXPT) {
        f.ligne(CLEROUTE);
        for (int i = 0; i < n; ++i)
            point(i);
    }
    f.ligne(textecle(Section::CHEMIN));
    for (int k = 0; k < std::min(n, MAXPT); ++k)
        point(echantillon(k, n));
    f.ligne(textecle(Section::PHOTO));
    for (int i = 0; i <= e.nbimg && i < MAXIMG; ++i) {
        // A frame's zoom, only when the film has some: a reader of the three fields plays the
        // same offsets.
        if (e.imgzoom[i] > 0)
            f.ligne(e.imgdecx[i], e.imgdecy[i], e.imgavance[i], textezoom(e.imgzoom[i]));
        else
            f.ligne(e.imgdecx[i], e.imgdecy[i], e.imgavance[i]);
    }
    f.ligne(textecle(Section::IPS));
    f.ligne(e.ips);
    f.ligne(textecle(Section::CLE));
    for (int k = 0; k < e.nbcle && k < MAXCLE; ++k) {
        if (e.cleavance[k] >= 0)
            f.ligne(e.cledecx[k], e.cledecy[k], e.cletemps[k], textezoom(e.clezoom[k]),
                    e.cleavance[k]);
        else if (e.clezoom[k] > 0)
            f.ligne(e.cledecx[k], e.cledecy[k], e.cletemps[k], textezoom(e.clezoom[k]));
        else
            f.ligne(e.cledecx[k], e.cledecy[k], e.cletemps[k]);
    }
    f.ligne(textecle(Section::IMGMAX));
    f.ligne(e.nbi);
    f.ligne(textecle(Section::COULROUTE));
    f.ligne(e.coulr);
    f.ligne(textecle(Section::COULFOND));
    f.ligne(e.coulmon);
    f.ligne(textecle(Section::POLICE));
    f.ligne(e.police.nom);
    f.ligne(textecle(Section::CPTMAX));
    f.ligne(e.lkm);
    f.ligne(textecle(Section::COULEUR));
    f.ligne(e.police.couleur);
    f.ligne(textecle(Section::POSX));
    f.ligne(e.xt);
    f.ligne(textecle(Section::POSY));
    f.ligne(e.yt);
    f.ligne(textecle(Section::TAILLE));
    f.ligne(e.police.taille);
    f.ligne(textecle(Section::MONTRE));
    f.ligne(e.montre);
    f.ligne(textecle(Section::KM));
    f.ligne(e.unite);
    f.ligne(textecle(Section::TXTAUTRE));
    f.ligne(e.txtautre);
    f.ligne(textecle(Section::BORDOK));
    f.ligne(e.checkbox1);
    f.ligne(textecle(Section::BORDCOUL));
    f.ligne(e.coulbord);
    f.ligne(textecle(Section::BORDNB));
    f.ligne(e.bordnb);
    f.ligne(textecle(Section::VISU));
    f.ligne(nomimage(e, e.fichiervisu));
    // The two four-line sections.
    f.ligne(textecle(Section::OMBRE));
    f.ligne(e.okombre);
    f.ligne(e.coulombre);
    f.ligne(e.xombre);
    f.ligne(e.yombre);
    f.ligne(textecle(Section::LOUPE));
    f.ligne(nomimage(e, e.fichierloupe));
    f.ligne(e.txloupe);
    f.ligne(e.estompe);
    f.ligne(e.okloupe);
    return octets;
}

bool sauveparametres(const Etat& e, QString& erreur) {
    if (e.fichiercarte.isEmpty()) {
        erreur = traduit(e, 10, QStringLiteral("Charger d'abord une image"));
        return false;
    }
    const QString chemin = cheminparametres(e);
    // A file that its own reader would refuse is not written: the project of before stays.
    if (const auto refus = horslimites(e)) {
        erreur =
            traduit(e, 815, QStringLiteral("Impossible d'enregistrer %1 : %2")).arg(chemin, *refus);
        return false;
    }
    QSaveFile fichier(chemin);
    const QByteArray octets = ecrisparametres(e);
    if (octets.size() > MAXFICHIER) {
        erreur = traduit(e, 815, QStringLiteral("Impossible d'enregistrer %1 : %2"))
                     .arg(chemin, traduit(e, 817, QStringLiteral("le fichier ferait plus de %1 Mo"))
                                      .arg(MAXFICHIER / (1024 * 1024)));
        return false;
    }
    errno = 0;
    bool ok = fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
    int systeme = errno;
    if (ok) {
        ok = confirme(fichier);
        systeme = errno;
    }
    if (!ok) {
        // The system's error of the failing call, or what the folder and its disk say.
        erreur = traduit(e, 815, QStringLiteral("Impossible d'enregistrer %1 : %2"))
                     .arg(chemin, raisonecriture(chemin, systeme, octets.size()));
        return false;
    }
    return true;
}
