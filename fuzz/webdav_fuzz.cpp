#include "core/sync/DavXml.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const DavMultistatus read = ReadMultistatus(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // An answer is taken whole or not at all, and says why not; every response names its resource.
    if (!read.ok && (!read.responses.isEmpty() || read.error.isEmpty())) abort();
    for (const DavResponse &r : read.responses) {
        if (r.href.isEmpty()) abort();
        if (r.status != 0 && (r.status < 100 || r.status > 999)) abort();
    }
    return 0;
}
