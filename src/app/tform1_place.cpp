// The window's size and place. At the first size every control stands where V1.50 puts it.
// Larger, the view takes the room (its frame shown as large as fits) and the panel keeps to the
// right edge, its pages growing downwards. On a screen too small for the first size the panel
// scrolls and the view scales its frame down. The size and place are kept for the next start.
#include "app/tform1.h"
#include "app/vue.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The first size's client area, and the frame the window system adds around it.
constexpr int LARGEURCLIENT = 937;
constexpr int HAUTEURCLIENT = 599;
constexpr int CADREL = 8, CADREH = 34;
// The view's scroll bars and the room under the view.
constexpr int BARRE = 16;
constexpr int SOUSVUE = HAUTEURCLIENT - VUEH; // 23
// The pages' own height at the first size.
constexpr int HAUTEURPAGES = 409;

const QString CLEFENETRE = QStringLiteral("fenetre/geometrie");

QSettings reglages() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vialume"),
                     QStringLiteral("vialume"));
}

} // namespace

QSize TForm1::taillepremiere() const {
    return {LARGEURCLIENT, HAUTEURCLIENT + barre->sizeHint().height()};
}

void TForm1::dispose() {
    if (panneau.empty()) {
        // The controls right of the view, at their first places.
        for (QWidget* w :
             std::initializer_list<QWidget*>{Button10, Button13, Button1, langue, Memo3, Joue, stop,
                                             Wtl, Debut, pred, suiv, dern, TL, Onglet2})
            panneau.emplace_back(w, w->geometry());
    }
    const int l = width(), h = height();
    const int hb = barre->sizeHint().height();
    // The bar stands below the first size's layout when there is room for it; on a small screen
    // it takes its room from the view, which then scales its frame down.
    const bool avecbarre = h >= HAUTEURPANNEAU + hb || h < HAUTEURPANNEAU;
    const int haut = avecbarre ? h - hb : h;
    const bool defile = haut < HAUTEURPANNEAU;
    const int ld = defile ? defilepanneau->sizeHint().width() : 0;
    const int dx = l - ld - LARGEURCLIENT;

    const int lv = std::max(VUEL + dx, 1), hv = std::max(haut - SOUSVUE, 1);
    fond->setGeometry(0, 0, lv, hv);
    Ascl->setGeometry(0, hv, lv + 1, BARRE);
    Asch->setGeometry(lv, 0, BARRE, hv + 1);

    defilepanneau->setVisible(defile);
    int decale = 0;
    if (defile) {
        defilepanneau->setGeometry(l - ld, 0, ld, haut);
        defilepanneau->setRange(0, HAUTEURPANNEAU - haut);
        defilepanneau->setPageStep(haut);
        decale = defilepanneau->value();
    }
    for (const auto& [w, place] : panneau) {
        QRect r = place.translated(dx, -decale);
        // The pages take the height the window gives, below the first size's.
        if (w == Onglet2 && !defile) r.setHeight(HAUTEURPAGES + haut - HAUTEURPANNEAU);
        w->setGeometry(r);
    }
    barre->setVisible(avecbarre);
    if (avecbarre) {
        barre->setGeometry(0, h - hb, l, hb);
        barre->raise();
    }
    majbarre();
}

void TForm1::resizeEvent(QResizeEvent* ev) {
    QWidget::resizeEvent(ev);
    dispose();
}

void TForm1::wheelEvent(QWheelEvent* ev) {
    // Over the panel (and not taken by a control), the wheel scrolls it on a small screen.
    if (defilepanneau->isVisible() && ev->position().x() >= fond->width() + BARRE) {
        defilepanneau->setValue(defilepanneau->value() - ev->angleDelta().y() / 4);
        ev->accept();
        return;
    }
    QWidget::wheelEvent(ev);
}

void TForm1::placefenetre() {
    const QByteArray g = reglages().value(CLEFENETRE).toByteArray();
    const bool garde = !g.isEmpty() && restoreGeometry(g);
    if (!garde) resize(taillepremiere());
    const QScreen* ecran = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!ecran || isMaximized()) return;
    const QRect dispo = ecran->availableGeometry();
    // The frame the window system adds: the real one once shown, else V1.50's.
    const QRect f = frameGeometry(), c = geometry();
    const QMargins cadre = isVisible() && f != c
                               ? QMargins(c.left() - f.left(), c.top() - f.top(),
                                          f.right() - c.right(), f.bottom() - c.bottom())
                               : QMargins(CADREL / 2, CADREH - CADREL / 2, CADREL / 2, CADREL / 2);
    // Made to fit the room the screen gives (a small screen, a large scale factor), centred the
    // first time, else kept where it was as far as the screen allows.
    QRect r(c.topLeft() - QPoint(cadre.left(), cadre.top()),
            c.size().boundedTo(dispo.size().shrunkBy(cadre)).grownBy(cadre));
    if (!garde) r.moveCenter(dispo.center());
    r.moveLeft(std::clamp(r.left(), dispo.left(), dispo.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), dispo.top(), dispo.bottom() + 1 - r.height()));
    setGeometry(r.marginsRemoved(cadre));
}

void TForm1::retiensfenetre() {
    QSettings s = reglages();
    s.setValue(CLEFENETRE, saveGeometry());
}
