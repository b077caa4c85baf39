#include "app/libelles.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

template <class W, class F> void Libelles::lieA(W* w, int entree, const QString& francais, F pose) {
    QPointer<W> p(w);
    lie(entree, francais, [p, pose](const QString& t) {
        if (p) pose(p.data(), t);
    });
}

void Libelles::lie(int entree, const QString& francais, std::function<void(const QString&)> pose) {
    pose((*this)(entree, francais));
    liens.push_back({entree, francais, std::move(pose)});
}

QString Libelles::operator()(int entree, const QString& francais) const {
    if (entree >= 0 && entree < MAXTEXTES && !table[entree].isEmpty()) return table[entree];
    return francais;
}

void Libelles::applique() const {
    for (const Lien& l : liens)
        l.pose((*this)(l.entree, l.francais));
}

void Libelles::texte(QWidget* w, int entree, const QString& francais) {
    lieA(w, entree, francais, [](QWidget* w, const QString& t) {
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(t);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(t);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(t);
        else
            w->setWindowTitle(t);
    });
}

void Libelles::bulle(QWidget* w, int entree, const QString& francais) {
    lieA(w, entree, francais, [](QWidget* w, const QString& t) { w->setToolTip(t); });
}

void Libelles::aide(QWidget* w, int entree, const QString& francais) {
    lieA(w, entree, francais, [](QWidget* w, const QString& t) { w->setStatusTip(t); });
}

void Libelles::onglet(QTabWidget* onglets, QWidget* page, int entree, const QString& francais) {
    QPointer<QWidget> p(page);
    lieA(onglets, entree, francais, [p](QTabWidget* o, const QString& t) {
        if (p) o->setTabText(o->indexOf(p), t);
    });
}

void Libelles::element(QComboBox* liste, int index, int entree, const QString& francais) {
    lieA(liste, entree, francais,
         [index](QComboBox* l, const QString& t) { l->setItemText(index, t); });
}

void Libelles::special(QAbstractSpinBox* s, int entree, const QString& francais) {
    lieA(s, entree, francais,
         [](QAbstractSpinBox* s, const QString& t) { s->setSpecialValueText(t); });
}

void Libelles::suffixe(QAbstractSpinBox* s, int entree, const QString& francais) {
    lieA(s, entree, francais, [](QAbstractSpinBox* s, const QString& t) {
        if (auto* n = qobject_cast<QSpinBox*>(s))
            n->setSuffix(t);
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(s))
            d->setSuffix(t);
    });
}

void Libelles::indication(QWidget* champ, int entree, const QString& francais) {
    lieA(champ, entree, francais, [](QWidget* w, const QString& t) {
        if (auto* l = qobject_cast<QLineEdit*>(w)) l->setPlaceholderText(t);
    });
}
