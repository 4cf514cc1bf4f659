// Project files come from users and other machines: reading one, record by
// record and as a whole, must never crash, never allocate what the file
// cannot hold, and a template it accepts must write back to the same. The
// import reads it too, onto a document of another shape.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_start.h"
#include "base/messages.h"
#include "model/document.h"
#include "persist/chunk_stream.h"
#include "persist/disc_import.h"
#include "persist/disc_read.h"
#include "persist/project_file.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "render/effects_cache.h"

namespace {

void Check_Template_Round_Trip(const a_template& t) {
    std::vector<uint8_t> again;
    Chunk_Init(DISC_PREAMBLE_BYTES, again);
    Write_V4_Preamble();
    Write_Template(t);
    auto back = std::make_unique<a_template>();
    a_defect_set d = 0;
    Read_Template(*back, d);
    if (d != 0 || back->nunits != t.nunits || back->tflags != t.tflags ||
        std::memcmp(back->label, t.label, sizeof t.label) != 0)
        std::abort();
    for (uint32_t ux = 1; ux <= t.nunits; ++ux)
        if (std::memcmp(&back->units[ux].bbox, &t.units[ux].bbox, sizeof t.units[ux].bbox) != 0)
            std::abort();
}

// Paint areas as large as a real unit's make each run slow and test nothing
// more: the whole reader runs only on files whose units are small.
bool Units_Are_Small(const a_template& t) {
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        a_doc_unit u;
        a_defect_set d = 0;
        Read_UnitHeader(u, ux, d);
        int64_t area = int64_t(Rect_Width(u.paintbounds)) * Rect_Height(u.paintbounds);
        Dispose_Unit_Content(u);
        if (area > 65536) return false;
    }
    return true;
}

// A small open document of another shape, for the import to scale onto.
void Open_Import_Target() {
    auto t = std::make_unique<a_template>();
    t->nunits = 3;
    t->papersize = {210, 297};
    t->units[1].kind = UNIT_RECT;
    t->units[1].bbox = {10, 10, 30, 20};
    t->units[2].kind = UNIT_CD;
    t->units[2].bbox = {10, 30, 22, 42};
    t->units[3].kind = UNIT_RECT;
    t->units[3].bbox = {40, 10, 45, 30};
    Doc_New(*t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The font lookup of the font table needs the toolkit.
    static bool started = Fuzz_Start() && (Cache_Init(), Dialog_SetQuiet(true), true);
    if (!started) return 0;
    std::vector<uint8_t> file(data, data + size);
    a_defect_set defects = 0;
    if (!Read_V4_Preamble(file, defects)) return 0;
    Chunk_Init(DISC_PREAMBLE_BYTES, file);
    auto t = std::make_unique<a_template>();
    Read_Template(*t, defects);
    std::vector<a_font_map_entry> fonts;
    Read_Font_Table(fonts, defects);
    bool small = Units_Are_Small(*t);
    PixMap pm;
    Chunk_ReadPix(pm, 1, "PREV");
    Dispose_PixMap(pm);
    bool template_read = !Has_Defect(defects, DEFECT_TMPL_MISSING) &&
                         !Has_Defect(defects, DEFECT_TMPL_VERSION);
    if (template_read) Check_Template_Round_Trip(*t);
    Chunk_Stop();
    if (small) {
        std::vector<uint8_t> again = file;
        (void)Read_DISC_Bytes(file, "");
        Doc_Dispose();
        Open_Import_Target();
        (void)Import_DISC_Bytes(again, "");
        Doc_Dispose();
    }
    return 0;
}
