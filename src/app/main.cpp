#include "app/commande.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    // The sub-commands run without a display: decided before any application object exists.
    if (horsfenetre(argc, argv)) return executeligne(argc, argv);
    QApplication app(argc, argv);
    QWidget w;
    w.show();
    return app.exec();
}
