// Layout text files are read from users; no input may crash the reader or
// the writer of what it accepted.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "templates/layout_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<a_ctemplate> records;
    a_layout_error err;
    if (!Layout_Parse(text, records, err)) return 0;
    for (const a_ctemplate& t : records) {
        std::vector<a_ctemplate> again;
        // Whether it parses is not the point here: it never yields two records.
        (void)Layout_Parse(Layout_Write(t, false), again, err);
        if (again.size() > 1) std::abort();
    }
    return 0;
}
