// The clipboard's private block formats come from any program that names
// them: no content may crash the readers, and what they accept must write
// out and read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "images/photo_scrap.h"
#include "text/text_scrap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the format, the rest is what the clipboard held.
    const std::vector<uint8_t> bytes(data + 1, data + size);
    std::string why;
    if ((data[0] & 3) == 2) {  // a run of characters
        std::vector<a_xyl_char> run;
        if (!Text_Run_From_Clip(bytes, run, why)) return why.empty() ? (std::abort(), 0) : 0;
        if (run.size() >= MAX_NXYL) std::abort();
        return 0;
    }
    if (data[0] & 1) {
        a_pasted_ph_rec pasted;
        if (!Photo_Block_From_Clip(bytes, pasted, why)) return why.empty() ? (std::abort(), 0) : 0;
        a_pasted_ph_rec again;
        if (!Photo_Block_From_Clip(Photo_Block_Clip_Bytes(pasted), again, why) || !(again.ph == pasted.ph))
            std::abort();
    } else {
        a_om_rec om;
        if (!Text_Block_From_Clip(bytes, om, why)) return why.empty() ? (std::abort(), 0) : 0;
        a_om_rec again;
        if (!Text_Block_From_Clip(Text_Block_Clip_Bytes(om), again, why) || again.nxyl != om.nxyl) std::abort();
    }
    return 0;
}
