// The window's texts added since V1.50 (captions, tooltips, status tips, list entries, page
// titles): each is an entry of the language table with its French text, put on its control at
// once and again at every change of language. An entry the table leaves empty (a table of
// V1.50, which stops at 100) keeps the French text.
#pragma once

#include "state/etat.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAbstractSpinBox;
class QComboBox;
class QTabWidget;
class QWidget;

class Libelles {
  public:
    // `table` is borrowed: the window's language table, read at each application.
    explicit Libelles(const Textes& table) : table(table) {}

    // Entry `entree` (French `francais`) goes where `pose` puts it, now and at every applique().
    void lie(int entree, const QString& francais, std::function<void(const QString&)> pose);

    // The visible text of a button, label or check box, the title of a group box.
    void texte(QWidget* w, int entree, const QString& francais);
    void bulle(QWidget* w, int entree, const QString& francais);
    void aide(QWidget* w, int entree, const QString& francais);
    void onglet(QTabWidget* onglets, QWidget* page, int entree, const QString& francais);
    // Entry `index` of a list.
    void element(QComboBox* liste, int index, int entree, const QString& francais);
    // What a spin box shows at its minimum.
    void special(QAbstractSpinBox* s, int entree, const QString& francais);
    void suffixe(QAbstractSpinBox* s, int entree, const QString& francais);
    void indication(QWidget* champ, int entree, const QString& francais);

    // Every text again, from the table as it stands.
    void applique() const;

    // The text of an entry as the table gives it now.
    QString operator()(int entree, const QString& francais) const;

  private:
    struct Lien {
        int entree;
        QString francais;
        std::function<void(const QString&)> pose;
    };
    // Applies to `w` while it lives.
    template <class W, class F> void lieA(W* w, int entree, const QString& francais, F pose);

    const Textes& table;
    std::vector<Lien> liens;
};
