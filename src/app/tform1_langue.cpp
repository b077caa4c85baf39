// The language of the window: the choice kept in langue.ini, the list `langue`, and the loader
// that puts the texts of langue.csv on the captions and memos. Messages and the captions that
// change with the program's state read the table where they are shown.
#include "app/pagegps.h"
#include "app/tform1.h"
#include "project/langue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include <tuple>
#include <utility>

namespace {

// The visible text of a control of the entry table.
void posetexte(QWidget* w, const QString& texte) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(texte);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(texte);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        m->setPlainText(texte);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(texte);
}

} // namespace

void TForm1::initlangue() {
    const DemarrageLangue d = demarrelangue(*etat);
    {
        const QSignalBlocker bloc(langue);
        langue->clear();
        langue->addItems(d.noms);
        langue->setCurrentIndex(d.selection);
    }
    if (!d.erreur.isEmpty()) affiche(d.erreur, -1);
    if (d.charger) chargelangue();
}

void TForm1::langueChange(int index) {
    // A typed text that names no language chooses none.
    if (index < 0) return;
    Etat& e = *etat;
    e.numlangue = index + 2;
    QString erreur;
    if (!ecritini(e.dossierprog, e.numlangue, erreur)) {
        affiche(erreur, -1);
        return;
    }
    chargelangue();
}

void TForm1::chargelangue() {
    Etat& e = *etat;
    QString erreur;
    switch (chargetextes(e, erreur)) {
    case LectureTextes::absent:
        return;
    case LectureTextes::echec:
        affiche(erreur, -1);
        return;
    case LectureTextes::charge:
        break;
    }

    // Set from the entry even when it is empty: an empty cell gives an empty caption.
    const auto& t = e.textes;
    const std::pair<int, QWidget*> controles[] = {
        {2, Button10}, {3, Button13},   {4, Button1},   {5, Memo3},      {7, Button8},
        {7, Button15}, {7, Button14},   {11, Memo1},    {12, Charger},   {12, Button12},
        {13, Label14}, {14, Button9},   {15, Label2},   {16, Label16},   {17, Label12},
        {18, Check},   {19, sauver},    {20, Button11}, {21, Suite},     {22, Button3},
        {26, Memo6},   {27, Label1},    {28, Memo2},    {31, Label10},   {32, Label9},
        {35, SupIC},   {36, GroupBox1}, {39, montre},   {39, CheckBox1}, {39, Okloupe},
        {40, Button2}, {41, Label15},   {42, sans},     {43, Autre},     {44, okombre},
        {45, Memo4},   {52, Label17},   {53, Label18},
    };
    for (const auto& [entree, w] : controles)
        posetexte(w, t[entree]);
    const std::tuple<int, QTabWidget*, QWidget*> pages[] = {
        {6, Onglet2, Tab10},           {7, Onglet2, TabSheet4},       {8, Onglet2, tab11},
        {9, Onglet2, tab12},           {36, PageControl1, TabSheet1}, {37, PageControl1, TabSheet2},
        {38, PageControl1, TabSheet3},
    };
    for (const auto& [entree, onglets, page] : pages)
        onglets->setTabText(onglets->indexOf(page), t[entree]);
    Memo5->setPlainText(textememo5(e));
    e.calculviacaption = t[1];

    // The sixth rate is shown whatever rate is in force, until the user picks one. Both lists
    // take their word from the table as it is, empty or not.
    cipsdepart(e, listecips(t[29]));

    e.tronson.clear();
    for (int i = 0; i < e.nbtron; ++i)
        e.tronson.append(t[30] + u' ' + QString::number(i));
    if (e.tronsonselection >= e.nbtron) e.tronsonselection = -1;

    pagegps->traduis(&e);
    synchro();
    majmodecle();
    majtextesfenetre();
}
