// 8-bit text arrives from files of every origin; its conversion to UTF-16
// must never fail, and valid UTF-8 must come back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::u16string wide = Utf8_To_Utf16(text);
    bool valid = Is_Valid_Utf8(text);
    if (!valid && wide.size() != size) std::abort();  // Windows-1252: one unit per byte
    if (valid && Utf16_To_Utf8(wide) != text) std::abort();
    size_t cut = Utf8_Cut(text, 255);
    if (cut > 255 && cut != size) std::abort();
    if (valid && !Is_Valid_Utf8(text.substr(0, cut))) std::abort();
    return 0;
}
