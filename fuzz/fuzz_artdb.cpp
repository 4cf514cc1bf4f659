// Art databases come from outside: no file may crash opening it, looking
// keys up across it, or decoding any of its records.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "artdb/art_survey.h"
#include "artdb/database.h"
#include "platform/app.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The JPEG codec needs the toolkit; it must go before Qt's own globals do.
    static bool started = Platform_Init(true) && std::atexit(Platform_Stop) == 0;
    (void)started;
    std::vector<uint8_t> bytes(data, data + size);
    // Mostly let the stated size match, so mutations reach the map and the records.
    if (size >= 12 && (data[size - 1] & 1)) {
        for (int i = 0; i < 4; ++i) bytes[8 + i] = uint8_t(size >> (24 - 8 * i));
    }
    OP_Init();
    if (OP_OpenMemory(bytes.data(), bytes.size()) == OPEN_OKAY) {
        for (const a_record_info& info : Art_Survey(-1)) {
            int index = 0, filex = 0;
            if (!Map_Find(index, filex, info.key)) std::abort();
        }
        a_subset s;
        for (int16_t a : {int16_t(2), int16_t(8), int16_t(11), int16_t(KEY_WILDCARD)}) {
            Subset_Init(a_keyset{a, KEY_WILDCARD, 0, 0}, s);
            int n = Subset_Count(s);
            for (int i = 1; i <= n; ++i) {
                a_keyset k;
                Subset_GetKey(k, i, s);
                if (Is_Null_Key(k) && n > 0 && a != KEY_WILDCARD) std::abort();
            }
        }
    }
    OP_Stop();
    return 0;
}
