// The preferences file comes from the user's disk; no content may crash the
// reader, and whatever it accepts must be safe to use and write back as read.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/prefs.h"

namespace {

void Check_Accepted(const a_pref_rec& p) {
    for (const a_print_media_array& m : p.print_media) {
        if (m.listx >= NMEDIA_ENTRIES) std::abort();
        for (const a_print_media_spec& e : m.list)
            if (e.label[63] != 0) std::abort();
    }
    if (p.base_font[127] != 0 || p.addon_folder[63] != 0) std::abort();
    std::vector<uint8_t> once(PREFS_FILE_SIZE), twice(PREFS_FILE_SIZE);
    Prefs_To_Bytes(p, once.data());
    a_pref_rec again;
    if (!Prefs_From_Bytes(once.data(), once.size(), again)) std::abort();
    Prefs_To_Bytes(again, twice.data());
    if (once != twice) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    a_pref_rec p;
    if (Prefs_From_Bytes(data, size, p)) Check_Accepted(p);
    // The input laid over a version-28 record, so that the fields themselves are exercised.
    a_pref_rec base;
    base.version = PREFS_VERSION;
    std::vector<uint8_t> whole(PREFS_FILE_SIZE);
    Prefs_To_Bytes(base, whole.data());
    std::copy_n(data, std::min(size, whole.size() - 2), whole.begin() + 2);
    a_pref_rec q;
    if (!Prefs_From_Bytes(whole.data(), whole.size(), q)) std::abort();
    Check_Accepted(q);
    return 0;
}
