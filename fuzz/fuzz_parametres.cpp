// The parameters-file reader, fed any bytes, and what it takes applied to a project and composed
// (see essaiparametres.h).
#include "essaiparametres.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The project every input starts from, copied over the same memory each time.
Etat* modele = nullptr;
Etat* etat = nullptr;
Surfaces* depart = nullptr;
Surfaces* surfaces = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir dossier;
    if (!dossier.isValid()) return EXIT_FAILURE;
    QImage carte(VUEL + 80, VUEH + 60, QImage::Format_RGB32);
    carte.fill(0xff336699);
    QImage loupe(60, 50, QImage::Format_RGB32);
    loupe.fill(0xff000000);
    const QString c = dossier.filePath(QStringLiteral("carte.bmp"));
    const QString l = dossier.filePath(QStringLiteral("loupe.bmp"));
    if (!carte.save(c, "BMP") || !loupe.save(l, "BMP")) return EXIT_FAILURE;
    modele = nouveletat().release();
    depart = new Surfaces;
    if (!projetessai(*modele, *depart, c, l)) return EXIT_FAILURE;
    etat = nouveletat().release();
    surfaces = new Surfaces;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    *etat = *modele;
    surfaces->carte = depart->carte;
    surfaces->loupe = depart->loupe;
    surfaces->tempo = depart->tempo;
    if (!essaiparametres(QByteArrayView(data, static_cast<qsizetype>(size)), *etat, *surfaces))
        std::abort();
    return 0;
}
