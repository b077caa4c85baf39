// The program: the application titled "Vial", the real dialogs, the main window.
#include "app/dialoguesqt.h"
#include "app/tform1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(TITREAPPLI);
    DialoguesQt dialogues;
    TForm1 fenetre(dialogues);
    dialogues.setparent(&fenetre);
    fenetre.show();
    return QApplication::exec();
}
