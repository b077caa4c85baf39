// The title and the status bar. The title is V1.50's caption followed by the project's file
// (" — carte.vlp") and " *" while the project has changes not saved. The status bar shows the
// frame and its time, the map pixel under the mouse and its colour, the zoom, the status tips,
// and the progress of long work with its cancel button. While a trace waits for its start click
// the view shows a magnifier under the cross-hair and can be zoomed in for aiming.
#include "app/lignetemps.h"
#include "app/tform1.h"
#include "app/travail.h"
#include "app/vue.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <cmath>

namespace {

const QString TITRE = QStringLiteral("Vialume par M.R. V1.50");

QString hexa(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace

void TForm1::construitbarre() {
    barre = new QStatusBar(this);
    barre->setObjectName(QStringLiteral("barre"));
    barre->setSizeGripEnabled(false);
    const auto champ = [this](const char* nom) {
        auto* l = new QLabel(barre);
        l->setObjectName(QLatin1String(nom));
        barre->addPermanentWidget(l);
        return l;
    };
    barretravail = champ("barretravail");
    barreprogres = new QProgressBar(barre);
    barreprogres->setObjectName(QStringLiteral("barreprogres"));
    barreprogres->setMaximumWidth(120);
    barreprogres->setMaximumHeight(14);
    barreprogres->setTextVisible(false);
    barre->addPermanentWidget(barreprogres);
    barreannule = new QPushButton(barre);
    barreannule->setObjectName(QStringLiteral("barreannule"));
    barreannule->setMaximumHeight(18);
    barre->addPermanentWidget(barreannule);
    for (QWidget* w : std::initializer_list<QWidget*>{barretravail, barreprogres, barreannule})
        w->hide();
    barretemps = champ("barretemps");
    barrepixel = champ("barrepixel");
    barrecouleur = champ("barrecouleur");
    barrezoom = champ("barrezoom");
    barrecouleur->setTextFormat(Qt::RichText);

    defilepanneau = new QScrollBar(Qt::Vertical, this);
    defilepanneau->setObjectName(QStringLiteral("defilepanneau"));
    defilepanneau->setSingleStep(20);
    defilepanneau->hide();
    connect(defilepanneau, &QScrollBar::valueChanged, this, [this] { dispose(); });

    // Long work holds every control but the status bar (its cancel button).
    travaux = new Travail(this, {barre});
    connect(barreannule, &QPushButton::clicked, travaux, &Travail::annule);
    connect(travaux, &Travail::debut, this, [this] {
        barretravail->setText(travaux->nom());
        barreprogres->setRange(0, 0);
        for (QWidget* w : std::initializer_list<QWidget*>{barretravail, barreprogres, barreannule})
            w->show();
    });
    connect(travaux, &Travail::progres, this, [this] {
        // Out of 1000: the steps of some work do not fit in an int.
        const long long t = travaux->total();
        barreprogres->setRange(0, t > 0 ? 1000 : 0);
        if (t > 0) barreprogres->setValue(static_cast<int>(1000 * travaux->fait() / t));
    });
    connect(travaux, &Travail::fin, this, [this] {
        for (QWidget* w : std::initializer_list<QWidget*>{barretravail, barreprogres, barreannule})
            w->hide();
        majbarre();
    });
    majtextesfenetre();
}

void TForm1::majtextesfenetre() {
    const Etat& e = *etat;
    barreannule->setText(traduit(e, 356, QStringLiteral("Annuler")));
    barreannule->setToolTip(
        traduit(e, 364, QStringLiteral("Arrêter ce travail (rien n'est changé)")));
    barretemps->setToolTip(traduit(e, 350, QStringLiteral("Temps et numéro de l'image affichée")));
    barrepixel->setToolTip(
        traduit(e, 361, QStringLiteral("Pixel de la carte sous la souris, et sa couleur")));
    barrecouleur->setToolTip(barrepixel->toolTip());
    barrezoom->setToolTip(
        traduit(e, 362, QStringLiteral("Zoom du film, et taille de l'image du film à l'écran")));
    majbarre();
}

void TForm1::majtitre() {
    QString t = TITRE;
    if (!etat->fichiercarte.isEmpty()) {
        t += QStringLiteral(" — ") + etat->fichierparam;
        if (modifie()) t += QStringLiteral(" *");
    }
    if (t != windowTitle()) setWindowTitle(t);
}

void TForm1::majbarre() {
    if (!barre) return;
    const Etat& e = *etat;
    barretemps->setText(tempsimage(e, e.tl) + QStringLiteral(" / %1").arg(e.tlmax));
    barrezoom->setText(traduit(e, 351, QStringLiteral("zoom %1 % — vue %2 %"))
                           .arg(std::lround(zoomde(e) * 100))
                           .arg(std::lround(fond->echelle() * fond->grossissement() * 100 /
                                            fond->devicePixelRatioF())));
}

void TForm1::survol(int x, int y) {
    const Etat& e = *etat;
    if (x < 0 || y < 0 || e.fichiercarte.isEmpty()) {
        barrepixel->clear();
        barrecouleur->clear();
        fond->cacheloupe();
        return;
    }
    const QPoint m = verscarte(x, y) + QPoint(e.ascl, e.asch);
    const Couleur c = surf.carte.pixel(m.x(), m.y());
    barrepixel->setText(traduit(e, 352, QStringLiteral("pixel %1, %2")).arg(m.x()).arg(m.y()));
    if (c == AUCUNECOULEUR) {
        barrecouleur->clear();
    } else {
        const QString h = hexa(versqrgb(c));
        barrecouleur->setText(
            QStringLiteral("<span style=\"background:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> %1")
                .arg(h));
    }
    if (e.etatcalcul != 1 || !e.calculactif) {
        fond->cacheloupe();
        return;
    }
    // The pixels the start click reads: the view's own while it shows the map pixel for pixel,
    // else the map's.
    const bool vue = e.film.classique() && zoomde(e) == 1.0;
    const QPoint centre = vue ? QPoint(x, y) : m;
    const QImage& source = vue ? surf.vue.image() : surf.carte.image();
    constexpr int R = Vue::COTELOUPE / 2;
    const QImage carre =
        source.copy(centre.x() - R, centre.y() - R, Vue::COTELOUPE, Vue::COTELOUPE);
    fond->montreloupe(carre, carre.pixel(R, R));
}

void TForm1::montrevisee() {
    const bool arme = etat->etatcalcul == 1 && etat->calculactif;
    if (arme) {
        fond->setCursor(Qt::CrossCursor);
        barre->showMessage(traduit(*etat, 365,
                                   QStringLiteral("Cliquer le premier pixel de la route "
                                                  "(Ctrl+molette : agrandir la vue pour viser)")));
        return;
    }
    fond->unsetCursor();
    fond->cacheloupe();
    fond->remetgrossissement();
    barre->clearMessage();
    majbarre();
}

bool TForm1::event(QEvent* ev) {
    // Status tips are shown in the bar; the window has no main window to take them.
    if (ev->type() == QEvent::StatusTip) {
        if (barre) barre->showMessage(static_cast<QStatusTipEvent*>(ev)->tip());
        return true;
    }
    return QWidget::event(ev);
}
