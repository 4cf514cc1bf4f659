// Projects of the previous major version come from old disks and other
// machines: reading one must never crash nor allocate what the file cannot
// hold, and a file it accepts must import onto a unit; one it refuses must
// leave the document untouched.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz_start.h"
#include "base/messages.h"
#include "model/document.h"
#include "persist/v3_import.h"
#include "persist/v3_read.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "render/effects_cache.h"

namespace {

// A small unit keeps each run quick: the import scales the paint onto it.
void Open_Target() {
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->papersize = {210, 297};
    t->units[1].kind = UNIT_RECT;
    t->units[1].bbox = {10, 10, 20, 18};
    Doc_New(*t);
    Select_Doc_Unit(1);
}

int Blocks() { return g_doc.up ? g_doc.up->oj.nlist : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = Fuzz_Start() && (Cache_Init(), Dialog_SetQuiet(true), true);
    if (!started) return 0;
    std::vector<uint8_t> file(data, data + size);
    a_v3_project p;
    a_defect_set d = 0;
    const bool read = Read_V3_Bytes(file, p, d);
    const bool damaged = (d & ~(1u << DEFECT_FONT_NOTAVAIL)) != 0;
    if (read == damaged) std::abort();  // accepted exactly when undamaged
    V3_Dispose(p);
    if (!read) return 0;
    Open_Target();
    const int before = Blocks();
    std::vector<uint8_t> again(data, data + size);
    if (Read_V3_Into(again, "")) {
        if (Blocks() < before) std::abort();
    } else if (Blocks() != before) {
        std::abort();
    }
    Doc_Dispose();
    Cache_Clear();
    return 0;
}
