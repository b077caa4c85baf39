#include "app/clavier.h"

#include "app/tform1.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace {

// The key's name as a French keyboard shows it, and its entry in the language table (none: -1),
// kept on the button for its tooltip.
constexpr char TOUCHE[] = "vialume_touche";
constexpr char ENTREETOUCHE[] = "vialume_entreetouche";

void nomme(QAbstractButton* bouton, int entree, const QString& nom) {
    bouton->setProperty(TOUCHE, nom);
    bouton->setProperty(ENTREETOUCHE, entree);
}

void raccourci(TForm1& f, const QKeySequence& touches, int entree, const QString& nom,
               QAbstractButton* bouton, QObject* filtre) {
    // Window-wide and taken before the focused control: Space starts the film, it never
    // presses the button that last had focus. Text fields keep their own keys (a space in a
    // unit's text, the arrows in an edit), since they claim them first.
    auto* s = new QShortcut(touches, &f);
    s->setContext(Qt::WindowShortcut);
    // click() does nothing on a disabled button, as the mouse would.
    QObject::connect(s, &QShortcut::activated, bouton, [bouton] { bouton->click(); });
    nomme(bouton, entree, nom);
    bouton->installEventFilter(filtre);
}

} // namespace

Clavier::Clavier(TForm1& f) : QObject(&f) {
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_O), -1, QStringLiteral("Ctrl+O"), f.Charger, this);
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_S), -1, QStringLiteral("Ctrl+S"), f.sauver, this);
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_E), -1, QStringLiteral("Ctrl+E"), f.Button11,
              this);
    raccourci(f, QKeySequence(Qt::Key_Left), 187, QStringLiteral("Flèche gauche"), f.pred, this);
    raccourci(f, QKeySequence(Qt::Key_Right), 188, QStringLiteral("Flèche droite"), f.suiv, this);
    raccourci(f, QKeySequence(Qt::Key_Home), 189, QStringLiteral("Origine"), f.Debut, this);
    raccourci(f, QKeySequence(Qt::Key_End), 221, QStringLiteral("Fin"), f.dern, this);
    // Undo and redo of project changes; a text field keeps its own undo while it has the focus.
    for (const auto& [touches, action] :
         {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::annule},
          std::pair{QKeySequence(Qt::CTRL | Qt::Key_Y), &TForm1::refait},
          std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::refait}}) {
        auto* s = new QShortcut(touches, &f);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, &f, [&f, action] { (f.*action)(); });
    }
    // Space plays, or stops a film that plays.
    auto* espace = new QShortcut(QKeySequence(Qt::Key_Space), &f);
    espace->setContext(Qt::WindowShortcut);
    connect(espace, &QShortcut::activated, &f,
            [&f] { (f.Timer1->isActive() ? f.stop : f.Joue)->click(); });
    qApp->installEventFilter(this);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{f.Joue, f.stop}) {
        nomme(b, 222, QStringLiteral("Espace"));
        b->installEventFilter(this);
    }
}

QString Clavier::bulle(const QWidget* w) {
    QString texte = w->toolTip().isEmpty() ? w->statusTip() : w->toolTip();
    const QVariant entree = w->property(ENTREETOUCHE);
    const QString touche =
        traduit(entree.isValid() ? entree.toInt() : -1, w->property(TOUCHE).toString());
    if (touche.isEmpty()) return texte;
    return texte.isEmpty() ? touche : texte + QStringLiteral(" (") + touche + QLatin1Char(')');
}

namespace {

// The text field that takes the keys of `w`: itself, or the field of a list or spin box.
QWidget* champde(QWidget* w) {
    if (auto* l = qobject_cast<QComboBox*>(w)) return l->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(w)) return w->findChild<QLineEdit*>();
    return w;
}

// Whether the focused text field has a change of its own to undo (or redo) with `ev`'s key.
bool annulepropre(QWidget* w, const QKeyEvent* ev) {
    const bool annule = ev->matches(QKeySequence::Undo);
    if (!annule && !ev->matches(QKeySequence::Redo)) return true;
    if (auto* l = qobject_cast<QLineEdit*>(w))
        return !l->isReadOnly() && (annule ? l->isUndoAvailable() : l->isRedoAvailable());
    if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        return !m->isReadOnly() &&
               (annule ? m->document()->isUndoAvailable() : m->document()->isRedoAvailable());
    return false;
}

} // namespace

bool Clavier::eventFilter(QObject* objet, QEvent* ev) {
    // Undo and redo reach the project whatever has the focus, unless a text field has typing of
    // its own to take back: a list or a field whose text the program set has none.
    if (ev->type() == QEvent::ShortcutOverride) {
        auto* w = qobject_cast<QWidget*>(objet);
        const auto* fenetre = static_cast<QWidget*>(parent());
        if (!w || !w->hasFocus() || !fenetre->isAncestorOf(w)) return false;
        const QWidget* champ = champde(w);
        return champ && !annulepropre(const_cast<QWidget*>(champ), static_cast<QKeyEvent*>(ev));
    }
    // The tooltip properties keep the window's own hints; the key is added where it is shown,
    // on the buttons that have one (this filter sees every object's events).
    if (ev->type() != QEvent::ToolTip || !objet->property(TOUCHE).isValid()) return false;
    auto* w = qobject_cast<QWidget*>(objet);
    if (!w) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(ev)->globalPos(), bulle(w), w);
    return true;
}
