#include "app/travail.h"

#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>

Travail::Travail(QWidget* fenetre, std::vector<QWidget*> garde)
    : QObject(fenetre), fenetre(fenetre), garde(std::move(garde)) {
    releve = new QTimer(this);
    releve->setInterval(100);
    connect(releve, &QTimer::timeout, this, &Travail::progres);
}

Travail::~Travail() {
    if (encours) encours->arret = true;
    for (QThread* t : fils) {
        t->wait();
        delete t;
    }
}

long long Travail::fait() const {
    return encours ? encours->fait.load() : 0;
}

long long Travail::total() const {
    return encours ? encours->total.load() : 0;
}

bool Travail::lance(const QString& nom, Calcul calcul) {
    if (encours) return false;
    // The workers that ended are let go.
    std::erase_if(fils, [](QThread* t) {
        if (!t->isFinished()) return false;
        t->wait();
        delete t;
        return true;
    });
    auto partage = std::make_shared<Partage>();
    encours = partage;
    nomencours = nom;
    // The window's controls are held; whatever they were (enabled or not) comes back after.
    for (QObject* o : fenetre->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || std::find(garde.begin(), garde.end(), w) != garde.end())
            continue;
        tenus.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    QPointer<Travail> moi(this);
    QThread* t = QThread::create([partage, calcul = std::move(calcul), moi] {
        Avance av;
        av.arret = &partage->arret;
        av.progres = [partage](long long fait, long long total) {
            partage->fait = fait;
            partage->total = total;
        };
        Suite suite = calcul(av);
        // Back on the window's thread; dropped when the window is gone or the work cancelled.
        if (!moi) return;
        QMetaObject::invokeMethod(
            moi.data(),
            [partage, suite = std::move(suite), moi] {
                if (!moi || moi->encours != partage) return;
                moi->libere();
                if (suite) suite();
                emit moi->fin();
            },
            Qt::QueuedConnection);
    });
    fils.push_back(t);
    t->start();
    releve->start();
    emit debut();
    return true;
}

void Travail::annule() {
    if (!encours) return;
    encours->arret = true;
    libere();
    emit fin();
}

void Travail::libere() {
    releve->stop();
    encours.reset();
    nomencours.clear();
    for (const auto& [w, actif] : tenus)
        if (w) w->setEnabled(actif);
    tenus.clear();
}
