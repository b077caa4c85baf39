// The tracer in the window: arming a new route or a continuation, the colour probe, the start
// click, and the walk. The walk runs in slices on a timer: the route visibly grows, and a click on
// the stop button is taken between two slices.
#include "app/teinte.h"
#include "app/tform1.h"
#include "app/vue.h"
#include "project/carte.h"
#include "render/afficheimg.h"
#include "route/sanschemin.h"
#include "route/traceur.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <cmath>

namespace {

// The walk's pace: one slice of heads a display frame, so that a long route is seen to grow
// (36000 points take about a second) and the window answers between two slices. A slice also
// ends early when its redraws (the view following the walk) take long.
constexpr int IMAGEMS = 16;
constexpr int TETESPARIMAGE = 600;
constexpr qint64 TRANCHEMS = 12;

const QString SURVISU = QStringLiteral("Avec l'image de base SVP");

// The instructions shown when a run is armed; entries 57, 58 and 59 together replace both lines.
QString consigne(const Etat& e, const QString& premiere) {
    const QString remplace = e.textes[57] + e.textes[58] + e.textes[59];
    if (!remplace.isEmpty()) return remplace;
    return premiere +
           QStringLiteral("\nPour stopper cliquer sur COULEUR? ou STOP CALCUL (c'est le même "
                          "bouton)");
}

// The tracer's captions and button in the controls.
void montreetat(TForm1& f) {
    f.calculvia->setText(f.e().calculviacaption);
    f.Button9->setEnabled(f.e().button9actif);
}

// Common end of both arming paths, once the route colour is chosen: the start click is awaited.
void arme(TForm1& f, Couleur couleur, const QString& premiere) {
    Etat& e = f.e();
    armetrace(e, couleur);
    teinte(f.coulr, e.coulr);
    f.affiche(consigne(e, premiere), -1);
    montreetat(f);
}

} // namespace

void TForm1::calculviaClick() {
    Etat& e = *etat;
    if (sanscarte()) return;
    if (e.etatcalcul != 0) {
        demandearret(traduit(e, 55, QStringLiteral("On stoppe le calcul ?")), true);
        return;
    }
    if (e.check) {
        affiche(SURVISU, 56);
        return;
    }
    const std::optional<Couleur> couleur = dialogues.couleur();
    if (!couleur) return;
    // Its own handler redraws the frame without the magnifier.
    Okloupe->setChecked(false);
    e.nouvelleroute = true;
    arme(*this, *couleur, QStringLiteral("Cliquer au début de votre vialume"));
    montrevisee();
}

void TForm1::Button9Click() {
    Etat& e = *etat;
    if (sanscarte()) return;
    if (e.check) {
        affiche(SURVISU, 56);
        return;
    }
    // Both stay in force when the colour dialog is cancelled.
    Okloupe->setChecked(false);
    e.nouvelleroute = false;
    if (e.etatcalcul == 2) {
        demandearret(QStringLiteral("On stoppe le calcul ?"), false);
        return;
    }
    const std::optional<Couleur> couleur = dialogues.couleur();
    if (!couleur) return;
    arme(*this, *couleur, QStringLiteral("Cliquer au début de la suite de votre vialume"));
    montrevisee();
}

void TForm1::demandearret(const QString& question, bool rendsuite) {
    // The walk waits while the question is open.
    const bool enmarche = pasdetrace && pasdetrace->isActive();
    if (enmarche) pasdetrace->stop();
    const bool oui = dialogues.confirmation(question);
    if (oui) {
        etat->calculviacaption = traduit(*etat, 1, QStringLiteral("Vialume"));
        etat->etatcalcul = 0;
        if (rendsuite) etat->button9actif = true;
        etat->calculactif = false;
        montreetat(*this);
        montrevisee();
    }
    if (!enmarche) return;
    // After a confirmed stop the walk takes one more head and ends here, before any other click
    // can arm a new run.
    if (oui)
        marche();
    else
        pasdetrace->start();
}

// A frame pixel of the view, in map pixels from the view's corner.
QPoint TForm1::verscarte(int x, int y) const {
    const double z = zoomde(*etat);
    if (z == 1.0) return {x, y};
    return {static_cast<int>(std::floor(x / z)), static_cast<int>(std::floor(y / z))};
}

void TForm1::Chechecouleur(int x, int y) {
    if (etat->etatcalcul != 1 || !etat->calculactif) return;
    // A scaled frame shows blended colours: the map's own pixel is the one to follow.
    const QPoint m = verscarte(x, y);
    const Couleur c = (etat->film.classique() && zoomde(*etat) == 1.0) || x < 0 || y < 0
                          ? surf.vue.pixel(x, y)
                          : surf.carte.pixel(etat->ascl + m.x(), etat->asch + m.y());
    // A drag past the edge of the view reads nothing.
    if (c == AUCUNECOULEUR) return;
    etat->coulmon = c;
    teinte(coulmon, c);
}

void TForm1::fondMouseDown(Qt::MouseButton bouton, int x, int y) {
    if (bouton == Qt::LeftButton && cliquegps(x, y)) return;
    if (!etat->calculactif || etat->etatcalcul != 1) return;
    if (bouton != Qt::LeftButton && bouton != Qt::RightButton) return;
    const QPoint m = verscarte(x, y);
    // The walk over a large map is computed away from the window's thread, then played back.
    if (traceur->surcarte(*etat) && grand(QString())) {
        lancemarche(m.x(), m.y());
        return;
    }
    demarremarche(m.x(), m.y(), std::nullopt);
}

void TForm1::demarremarche(int x, int y, std::optional<Marche> calcule) {
    const bool parti = calcule ? traceur->demarre(*etat, x, y, std::move(*calcule))
                               : traceur->demarre(*etat, x, y);
    if (!parti) return;
    montrevisee();
    Ascl->setVisible(etat->asclvisible);
    Asch->setVisible(etat->aschvisible);
    montreetat(*this);
    if (!pasdetrace) {
        pasdetrace = new QTimer(this);
        pasdetrace->setTimerType(Qt::PreciseTimer);
        pasdetrace->setInterval(IMAGEMS);
        connect(pasdetrace, &QTimer::timeout, this, &TForm1::marche);
    }
    pasdetrace->start();
    marche();
}

void TForm1::marche() {
    const auto defile = [this] { afficheimg(1000); };
    QElapsedTimer tranche;
    tranche.start();
    bool suite = true;
    int tetes = 0;
    do
        suite = traceur->pas(*etat, defile);
    while (suite && ++tetes < TETESPARIMAGE && tranche.elapsed() < TRANCHEMS);
    // A scaled frame is not marked point by point: the route so far is composed.
    if (!etat->film.classique()) ::afficheimg(*etat, surf, 1000);
    presente();
    if (!suite) finmarche();
}

void TForm1::finmarche() {
    pasdetrace->stop();
    // A walk that went wrong says so, and what to try, before its end.
    if (const auto m = messagebilan(traceur->bilan(*etat))) affiche(*m, -1);
    affiche(QStringLiteral("Terminé"), 65);
    traceur->termine(*etat);
    montrevisee();
    // With the walk's own settings the painted route is usually soft or thick: the film reads
    // better without it under the growing one.
    if (!etat->reglagestrace.classique() && etat->fichiervisu.isEmpty() && etat->nbpt >= 0 &&
        dialogues.confirmation(QStringLiteral("Faire la carte sans chemin (image de visu) ?")))
        faissanschemin();
    // The whole walk is one step.
    note();
    // The view stays as the walk left it, the whole route in its colour, so that the user sees
    // what was traced; the bars take the offsets the walk moved to.
    synchro();
}

void TForm1::optionstraceClick() {
    const std::optional<ChoixTrace> c = dialogues.reglagestrace(etat->reglagestrace);
    if (!c) return;
    etat->reglagestrace = c->reglages;
    if (c->sanschemin) faissanschemin();
}

void TForm1::faissanschemin() {
    Etat& e = *etat;
    if (sanscarte()) return;
    if (e.nbpt < 0) {
        affiche(QStringLiteral("Tracer d'abord la route"), -1);
        return;
    }
    // The map itself is filled, not a display picture shown in its place.
    if (e.check) {
        affiche(SURVISU, 56);
        return;
    }
    if (grand(QString())) {
        lancesanschemin();
        return;
    }
    QString erreur;
    QImage faite;
    const bool fait = sauvesanschemin(surf.carte.image(), e, erreur, nullptr, &faite);
    Lue l;
    l.ok = fait && l.image.prend(std::move(faite));
    finsanschemin(fait, erreur, std::move(l));
}
