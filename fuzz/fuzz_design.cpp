// Design descriptions are written by hand and by other programs: no text may
// crash the reader or leave a half-read document behind, and a refusal is one
// line that names a line of the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_start.h"
#include "artdb/art_writer.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "base/messages.h"
#include "model/document.h"
#include "paint/paint_design.h"
#include "persist/design_file.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "templates/catalogue.h"

namespace {

// A small art database of our own, so strokes that name a stamp, a pattern or
// a border reach the art loaders: a 12 x 12 stamp and pattern, a border of a
// 6-cell band.
bool Open_Art() {
    auto picture = [](int w, int h) {
        std::vector<uint8_t> px(size_t(w) * h * 4);
        for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 37 + (i % 4 == 3 ? 200 : 0));
        a_pixt_source s;
        s.width = w, s.height = h, s.depth = 32, s.stride = size_t(w) * 4, s.pixels = px.data();
        std::vector<uint8_t> out;
        std::string error;
        (void)Encode_Picture(s, a_pixt_codec::RAW, 90, out, error);
        return out;
    };
    a_bord_res dir;
    dir.bords.push_back({a_keyset{7, 1, 0, 0}, 0, Rect{0, 0, 6, 6}, Rect{0, 6, 6, 10}, Rect{0, 10, 6, 12}});
    std::vector<a_db_entry> entries(4);
    entries[0].key = {7, 0, 0, 0}, entries[0].data = Encode_Border_Directory(dir);
    entries[1].key = {7, 1, 0, 0}, entries[1].data = picture(12, 6);
    entries[2].key = {8, 0, 1, 1}, entries[2].data = picture(12, 12);
    entries[3].key = {10, 0, 1, 1}, entries[3].data = picture(12, 12);
    OP_Init();
    Pixt_Init();
    static std::vector<uint8_t> file;
    std::string error;
    return Build_Database(std::move(entries), file, error) && OP_OpenMemory(file.data(), file.size()) == OPEN_OKAY;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started =
        Fuzz_Start() && (GWorld_Init(), Templates_Init(), Doc_Init(), Paint_Init(), true) && Open_Art();
    if (!started) return 0;
    a_design_options options;
    options.load_pictures = false;  // no files are opened for what a fuzzer writes
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (Design_Read(text, options, error)) {
        if (!g_doc.doc_open || g_doc.doc_template.nunits == 0) std::abort();
        Doc_Dispose();
    } else {
        if (g_doc.doc_open || error.empty() || error.find('\n') != std::string::npos) std::abort();
    }
    return 0;
}
