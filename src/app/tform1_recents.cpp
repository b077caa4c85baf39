// Recent maps: the last ten maps opened, kept in the user's settings and offered in a menu beside
// "Charger"; a choice opens the map as "Charger" does.
#include "app/tform1.h"

#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QToolButton>

namespace {

const QString CLE = QStringLiteral("cartes/recentes");

QSettings reglages() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vialume"),
                     QStringLiteral("vialume"));
}

} // namespace

void TForm1::construitrecents() {
    // Beside "Charger", in the room the hidden route-colour field leaves.
    Recents = new QToolButton(Tab10);
    Recents->setObjectName(QStringLiteral("Recents"));
    Recents->setGeometry(123, 68, 60, 25);
    textes->texte(Recents, 184, QStringLiteral("Récentes"));
    textes->bulle(Recents, 185, QStringLiteral("Cartes ouvertes récemment"));
    Recents->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(Recents);
    menu->setObjectName(QStringLiteral("menurecents"));
    Recents->setMenu(menu);
    // Built when it opens, so that it shows what another copy of the program opened as well.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        const QStringList l = recentes();
        for (const QString& chemin : l) {
            QAction* a = menu->addAction(QFileInfo(chemin).fileName());
            a->setToolTip(chemin);
            a->setStatusTip(chemin);
            connect(a, &QAction::triggered, this, [this, chemin] { ouvrerecente(chemin); });
        }
        if (l.isEmpty())
            menu->addAction(traduit(*etat, 186, QStringLiteral("(aucune)")))->setEnabled(false);
    });
}

QStringList TForm1::recentes() const {
    QStringList l;
    for (const QString& c : reglages().value(CLE).toStringList())
        if (QFileInfo(c).isFile() && !l.contains(c) && l.size() < MAXRECENTES) l.append(c);
    return l;
}

void TForm1::ajouterecente(const QString& chemin) {
    const QString absolu = QFileInfo(chemin).absoluteFilePath();
    QStringList l = reglages().value(CLE).toStringList();
    l.removeAll(absolu);
    l.prepend(absolu);
    while (l.size() > MAXRECENTES)
        l.removeLast();
    QSettings s = reglages();
    s.setValue(CLE, l);
}

void TForm1::ouvrerecente(const QString& chemin) {
    if (!abandonne()) return;
    embout30();
    chargecarte(chemin);
}
