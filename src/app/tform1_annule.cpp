// Undo and redo: the history of the project as the parameters files it would write. A step is
// taken back by reading its file into the project, as "Charger" reads a saved one, so whatever a
// saved project holds comes back exactly, and nothing else is touched (the view, the time line).
#include "app/tform1.h"
#include "app/travail.h"
#include "project/parametres.h"

#include <QApplication>
#include <QTimer>

namespace {

// qCompress leaves room for the worst case: the step keeps only what it needs.
QByteArray serre(const QByteArray& octets) {
    QByteArray c = qCompress(octets);
    c.squeeze();
    return c;
}

// The idle check: quick enough that two changes a user makes one after the other are two steps.
constexpr int VEILLEMS = 250;

// Writing the file of a full route takes milliseconds: the idle check looks only after the user
// did something (a click, a key, the wheel, a drop).
class Guet : public QObject {
  public:
    explicit Guet(QObject* parent) : QObject(parent) {}
    bool agite = false;

  protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        switch (ev->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
            agite = true;
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void TForm1::construitannule() {
    auto* guet = new Guet(this);
    qApp->installEventFilter(guet);
    veille = new QTimer(this);
    veille->setInterval(VEILLEMS);
    connect(veille, &QTimer::timeout, this, [this, guet] {
        // Not while a film plays (every tick shows its frame), a walk runs or a box is open.
        if (!guet->agite || Timer1->isActive() || etat->etatcalcul != 0 ||
            QApplication::activeModalWidget())
            return;
        guet->agite = false;
        note();
    });
    veille->start();
}

void TForm1::oublie() {
    passe.clear();
    futur.clear();
    actuel = etat->fichiercarte.isEmpty() ? QByteArray() : ecrisparametres(*etat);
}

void TForm1::note() {
    if (etat->fichiercarte.isEmpty() || etat->etatcalcul != 0) return;
    QByteArray octets = ecrisparametres(*etat);
    if (octets == actuel) return;
    if (!actuel.isEmpty()) passe.push_back(serre(actuel));
    if (int(passe.size()) > MAXPAS) passe.erase(passe.begin());
    futur.clear();
    actuel = std::move(octets);
    majtitre();
}

qsizetype TForm1::memoireannule() const {
    qsizetype n = actuel.capacity();
    for (const auto* pile : {&passe, &futur})
        for (const QByteArray& a : *pile)
            n += a.capacity();
    return n;
}

void TForm1::restaure(const QByteArray& octets) {
    const Lecture l = lisparametres(octets, etat->ips);
    const auto* p = std::get_if<Parametres>(&l);
    // Our own files always read; should one not, the project stays as it is.
    if (!p) {
        dialogues.erreur(std::get<ErreurLecture>(l).message);
        return;
    }
    const QStringList messages = appliqueparametres(*etat, surf, *p);
    synchro();
    redessine();
    actuel = ecrisparametres(*etat);
    majtitre();
    for (const QString& m : messages)
        affiche(m, -1);
}

void TForm1::annule() {
    if (etat->etatcalcul != 0 || travaux->actif()) return;
    stopClick();
    // A change the idle check has not seen yet is a step of its own.
    note();
    if (passe.empty()) return;
    futur.push_back(serre(actuel));
    const QByteArray octets = qUncompress(passe.back());
    passe.pop_back();
    restaure(octets);
}

void TForm1::refait() {
    if (etat->etatcalcul != 0 || travaux->actif()) return;
    stopClick();
    note();
    if (futur.empty()) return;
    passe.push_back(serre(actuel));
    const QByteArray octets = qUncompress(futur.back());
    futur.pop_back();
    restaure(octets);
}
