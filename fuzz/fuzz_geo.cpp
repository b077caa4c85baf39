// The GPX reader, the track made into a route, and the world-file reader, fed any bytes (see
// essaigeo.h).
#include "essaigeo.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

std::unique_ptr<Etat> etat;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    etat = nouveletat();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!essaigeo(QByteArrayView(data, static_cast<qsizetype>(size)), *etat)) std::abort();
    return 0;
}
