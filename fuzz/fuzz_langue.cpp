// The readers of the language files, fed any bytes (see essailangue.h).
#include "essailangue.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* dossier = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    dossier = new QTemporaryDir;
    return dossier->isValid() ? 0 : EXIT_FAILURE;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!essailangue(QByteArrayView(data, static_cast<qsizetype>(size)), dossier->path()))
        std::abort();
    return 0;
}
