// The parameters-file reader, fed any bytes (see essaiparametres.h).
#include "essaiparametres.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!essaiparametres(QByteArrayView(data, static_cast<qsizetype>(size)))) std::abort();
    return 0;
}
