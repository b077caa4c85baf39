// The window's keyboard: Ctrl+O, Ctrl+S, Ctrl+E, Space, Left, Right, Home, End, each as a click on
// the button it stands for, and the key shown in that button's tooltip.
#pragma once

#include <QObject>
#include <QString>

class TForm1;
class QWidget;

class Clavier : public QObject {
    Q_OBJECT
  public:
    explicit Clavier(TForm1& f);

    // The tooltip `w` shows: its own tooltip (or hint) followed by its key, when it has one.
    static QString bulle(const QWidget* w);

  protected:
    bool eventFilter(QObject* objet, QEvent* ev) override;
};
