// A printer driver's extra bytes come from the driver: the DiscPainter
// record is searched and filled only inside them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "print/flex_jobs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> extra(data, data + size);
    a_print_media_spec media;
    if (size >= 10) std::memcpy(media.adj, data, sizeof media.adj);
    long at = Find_Monet_Private(extra.data(), extra.size());
    if (at >= 0 && size_t(at) + MONET_PRIVATE_SIZE > size) std::abort();
    bool filled = Fill_Monet_Private(extra.data(), extra.size(), media, size % 2 == 0);
    if (filled != (at >= 0)) std::abort();
    if (filled && std::memcmp(extra.data() + at, "DYMO", 4) != 0) std::abort();
    // The same settings as a queue's job options: always the six of a disc size.
    if (Monet_Job_Options(media, size % 2 == 0).size() != 6) std::abort();
    return 0;
}
