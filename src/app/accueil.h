// What the view shows before any map: how to start (open a map or drop one on the window, or open
// the demo), in the language of the window. A panel over the view, centred on it; never in the
// film.
#pragma once

#include <QFrame>
#include <QString>

class Libelles;
class QLabel;
class QPushButton;

class Accueil : public QFrame {
    Q_OBJECT
  public:
    // A child of `vue`, kept at its centre.
    Accueil(Libelles& t, QWidget* vue);

    QLabel* titre = nullptr;
    QLabel* texte = nullptr;
    QPushButton* ouvrir = nullptr;
    QPushButton* demo = nullptr;

  protected:
    bool eventFilter(QObject* objet, QEvent* ev) override;

  private:
    void centre();
};

// The demo project shipped with the program (its map), looked for beside the program, in the
// installed data folder and in the user's data folders; empty when there is none.
QString cartedemo(const QString& dossierprog);
// A copy of the demo's folder that the user can change and save, made once in the user's data
// folder and then kept (with the user's changes): `copie` receives its map. On failure `erreur`
// says why.
bool copiedemo(const QString& carte, QString& copie, QString& erreur);
