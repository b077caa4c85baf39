// Long work away from the window's thread. The work runs on a worker thread with a stop flag and
// a progress callback; the window shows its name and progress in the status bar with a cancel
// button, and takes the result on its own thread when the work is done. Meanwhile the window's
// controls take no input (the cancel button excepted), so nothing changes the project under the
// work; painting, the timers and the cancel button go on.
//
// A cancelled work is left to end on its own: its result is dropped. The window's destruction
// stops and waits for it.
#pragma once

#include "state/avance.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;
class QTimer;
class QWidget;

class Travail : public QObject {
    Q_OBJECT
  public:
    // What the work gives back: run on the window's thread once it is done, unless cancelled.
    using Suite = std::function<void()>;
    using Calcul = std::function<Suite(const Avance&)>;

    // `fenetre`'s direct children are held while work runs, but those of `garde`.
    Travail(QWidget* fenetre, std::vector<QWidget*> garde);
    ~Travail() override;

    bool actif() const { return encours != nullptr; }
    // Starts `calcul` under the name `nom`; false (and nothing started) while work runs.
    bool lance(const QString& nom, Calcul calcul);
    // Drops the work in progress: the window is free again at once.
    void annule();

    // What the status bar shows: the name, and the progress (total 0: no measure).
    QString nom() const { return nomencours; }
    long long fait() const;
    long long total() const;

  signals:
    void debut();
    void progres();
    void fin(); // done or cancelled; the window is free

  private:
    struct Partage {
        std::atomic<bool> arret{false};
        std::atomic<long long> fait{0}, total{0};
    };
    void libere();

    QWidget* fenetre;
    std::vector<QWidget*> garde;
    std::vector<std::pair<QPointer<QWidget>, bool>> tenus; // children held, and their state
    std::shared_ptr<Partage> encours;
    QString nomencours;
    QTimer* releve = nullptr;
    // Every worker started, finished or not: waited for at destruction.
    std::vector<QThread*> fils;
};
