// Long work that may run away from the window's thread: it reports how far it is and stops early
// when asked. Both are optional; a null Avance* means neither.
#pragma once

#include <atomic>
#include <functional>

struct Avance {
    const std::atomic<bool>* arret = nullptr;
    // `fait` steps of `total` are done; total 0: no measure of the whole.
    std::function<void(long long fait, long long total)> progres;

    bool arrete() const { return arret && arret->load(std::memory_order_relaxed); }
    void signale(long long fait, long long total) const {
        if (progres) progres(fait, total);
    }
};

inline bool arrete(const Avance* a) {
    return a && a->arrete();
}
inline void signale(const Avance* a, long long fait, long long total) {
    if (a) a->signale(fait, total);
}
