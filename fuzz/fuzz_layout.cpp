// Layout text files are read from users. No input may crash the reader, and
// every record it accepts must be written back as text that reads as the
// same record, byte for byte, in our own form and in the designer's; what
// the user's catalogue would take in must expand soundly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "templates/designer.h"
#include "templates/expand.h"
#include "templates/layout_text.h"

namespace {

void Check_Round_Trip(const a_ctemplate& t, bool placeholder_sort) {
    std::vector<a_ctemplate> again;
    a_layout_error err;
    if (!Layout_Parse(Layout_Write(t, placeholder_sort), again, err) || again.size() != 1) std::abort();
    a_ctemplate want = t;
    if (placeholder_sort) std::memcpy(want.sort, "SORT________", sizeof want.sort);
    if (std::memcmp(&want, &again[0], sizeof want) != 0) std::abort();
}

// The user's catalogue checks each record as the designer does: the checks
// may refuse anything, never crash, and a record they pass has labels, as
// many as a sheet may hold.
void Check_As_Users_Sheet(const a_ctemplate& record) {
    a_ctemplate t = record;
    for (uint32_t g = CTemplate_NGroups(t); g < MAXNGROUPS; ++g) t.units[g] = a_cunit{};
    if (!Design_Problems(t).empty()) return;
    a_ctemplate sorted;
    Sort_CTemplate(sorted, t);
    static a_template x;
    Expand_Template(sorted, x);
    if (x.nunits == 0 || x.nunits > MAXNUNITS) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<a_ctemplate> records;
    a_layout_error err;
    if (!Layout_Parse(text, records, err)) {
        if (!records.empty() || err.message.empty() || err.line < 1) std::abort();
        return 0;
    }
    for (const a_ctemplate& t : records) {
        Check_Round_Trip(t, false);
        Check_Round_Trip(t, true);
        Check_As_Users_Sheet(t);
    }
    return 0;
}
