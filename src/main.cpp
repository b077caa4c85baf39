// The program: the application titled "Vial", the real dialogs, the main window; or, for a
// sub-command of the command line, the same core without a window.
#include "app/dialoguesqt.h"
#include "app/hautbas.h"
#include "app/tform1.h"
#include "cli/commande.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    // Decided before any application object exists: a sub-command must not need a display.
    if (horsfenetre(argc, argv)) return executeligne(argc, argv);
    const QString carte = cartefenetre(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(TITREAPPLI);
    DialoguesQt dialogues;
    TForm1 fenetre(dialogues);
    dialogues.setparent(&fenetre);
    fenetre.placefenetre();
    fenetre.show();
    // The map of the command line is loaded once the window shows, so its question has a parent;
    // as "Charger" does, the tip length comes back to 30 first.
    if (!carte.isEmpty())
        QTimer::singleShot(0, &fenetre, [&] {
            fenetre.embout30();
            fenetre.chargecarte(carte);
        });
    return QApplication::exec();
}
