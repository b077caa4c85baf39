// The picture loads with their size guard, fed any bytes (see essaiimage.h).
#include "essaiimage.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* dossier = nullptr;
// A fresh project for every input. The state and the surfaces are copied over the same memory
// each time rather than allocated: megabytes mapped anew on every run would set the pace. The view
// is kept, as every load that succeeds composes it whole.
Etat* modele = nullptr;
Etat* etat = nullptr;
Surfaces* depart = nullptr;
Surfaces* surfaces = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    dossier = new QTemporaryDir;
    modele = nouveletat().release();
    etat = nouveletat().release();
    depart = new Surfaces;
    surfaces = new Surfaces;
    return dossier->isValid() ? 0 : EXIT_FAILURE;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString chemin =
        fichieressai(QByteArrayView(data, static_cast<qsizetype>(size)), dossier->path());
    if (chemin.isEmpty()) std::abort();
    *etat = *modele;
    surfaces->carte = depart->carte;
    surfaces->loupe = depart->loupe;
    surfaces->tempo = depart->tempo;
    if (!essaiimage(chemin, *etat, *surfaces)) std::abort();
    return 0;
}
