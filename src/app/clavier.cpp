#include "app/clavier.h"

#include "app/tform1.h"

#include <QAbstractButton>
#include <QHelpEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace {

// The key's name as a French keyboard shows it, kept on the button for its tooltip.
constexpr char TOUCHE[] = "vialume_touche";

void raccourci(TForm1& f, const QKeySequence& touches, const QString& nom, QAbstractButton* bouton,
               QObject* filtre) {
    // Window-wide and taken before the focused control: Space starts the film, it never
    // presses the button that last had focus. Text fields keep their own keys (a space in a
    // unit's text, the arrows in an edit), since they claim them first.
    auto* s = new QShortcut(touches, &f);
    s->setContext(Qt::WindowShortcut);
    // click() does nothing on a disabled button, as the mouse would.
    QObject::connect(s, &QShortcut::activated, bouton, [bouton] { bouton->click(); });
    bouton->setProperty(TOUCHE, nom);
    bouton->installEventFilter(filtre);
}

} // namespace

Clavier::Clavier(TForm1& f) : QObject(&f) {
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Ctrl+O"), f.Charger, this);
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral("Ctrl+S"), f.sauver, this);
    raccourci(f, QKeySequence(Qt::CTRL | Qt::Key_E), QStringLiteral("Ctrl+E"), f.Button11, this);
    raccourci(f, QKeySequence(Qt::Key_Left), QStringLiteral("Flèche gauche"), f.pred, this);
    raccourci(f, QKeySequence(Qt::Key_Right), QStringLiteral("Flèche droite"), f.suiv, this);
    raccourci(f, QKeySequence(Qt::Key_Home), QStringLiteral("Origine"), f.Debut, this);
    raccourci(f, QKeySequence(Qt::Key_End), QStringLiteral("Fin"), f.dern, this);
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
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{f.Joue, f.stop}) {
        b->setProperty(TOUCHE, QStringLiteral("Espace"));
        b->installEventFilter(this);
    }
}

QString Clavier::bulle(const QWidget* w) {
    QString texte = w->toolTip().isEmpty() ? w->statusTip() : w->toolTip();
    const QString touche = w->property(TOUCHE).toString();
    if (touche.isEmpty()) return texte;
    return texte.isEmpty() ? touche : texte + QStringLiteral(" (") + touche + QLatin1Char(')');
}

bool Clavier::eventFilter(QObject* objet, QEvent* ev) {
    // The tooltip properties keep the window's own hints; the key is added where it is shown.
    if (ev->type() != QEvent::ToolTip) return false;
    auto* w = qobject_cast<QWidget*>(objet);
    if (!w) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(ev)->globalPos(), bulle(w), w);
    return true;
}
