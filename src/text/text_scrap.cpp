#include "text/text_scrap.h"

#include <algorithm>
#include <memory>

#include "model/undo_text.h"
#include "platform/clipboard.h"
#include "text/text_blocks.h"

const char* const TEXT_BLOCK_CLIP_FORMAT = "application/x-cirquel-text-block";
const char* const TEXT_RUN_CLIP_FORMAT = "application/x-cirquel-text-run";

namespace {

// The run's characters lo .. hi - 1 in a block of their own, ended as every block is.
std::unique_ptr<a_om_rec> Run_Block(const a_om_rec& om, int lo, int hi) {
    auto run = std::make_unique<a_om_rec>();
    lo = std::clamp(lo, 1, std::max(1, int(om.nxyl)));
    hi = std::clamp(hi, lo, std::max(1, int(om.nxyl)));
    int n = 0;
    for (int i = lo; i < hi; ++i) run->xyl[++n] = om.xyl[i];
    run->nxyl = n + 1;
    run->xyl[n + 1] = a_xyl_char{};
    run->xyl[n + 1].cc_char = CHAR_EOS;
    run->xyl[n + 1].mm_cat = CC_EOS;
    return run;
}

}  // namespace

std::vector<uint8_t> Text_Block_Clip_Bytes(const a_om_rec& om) {
    std::vector<uint8_t> out =
        Scrap_Heading("CTXT", TEXT_BLOCK_CLIP_VERSION, size_t(64) + size_t(std::max(1, int(om.nxyl))) * 48);
    a_undo_writer w(out);
    Save_OM(w, om);
    return out;
}

bool Text_Block_From_Clip(const std::vector<uint8_t>& bytes, a_om_rec& om, std::string& why) {
    if (!Scrap_Heading_Ok(bytes, "CTXT", TEXT_BLOCK_CLIP_VERSION, "text block", why)) return false;
    a_undo_reader r(bytes.data() + 6, bytes.size() - 6);
    a_om_rec read;
    if (!Read_OM(r, read) || !r.Done()) return why = "the clipboard's text block is damaged", false;
    om = std::move(read);
    return true;
}

bool Scrap_Add_OM(const a_om_rec& om) {
    if (om.nxyl <= 1) return false;
    return Clipboard_Put(OM_To_Str(om), {a_clip_format{TEXT_BLOCK_CLIP_FORMAT, Text_Block_Clip_Bytes(om)}});
}

std::vector<uint8_t> Text_Run_Clip_Bytes(const a_om_rec& om, int lo, int hi) {
    const std::unique_ptr<a_om_rec> run = Run_Block(om, lo, hi);
    std::vector<uint8_t> out =
        Scrap_Heading("CRUN", TEXT_RUN_CLIP_VERSION, size_t(64) + size_t(std::max(1, int(run->nxyl))) * 48);
    a_undo_writer w(out);
    Save_OM(w, *run);
    return out;
}

bool Text_Run_From_Clip(const std::vector<uint8_t>& bytes, std::vector<a_xyl_char>& run, std::string& why) {
    if (!Scrap_Heading_Ok(bytes, "CRUN", TEXT_RUN_CLIP_VERSION, "text run", why)) return false;
    a_undo_reader r(bytes.data() + 6, bytes.size() - 6);
    auto read = std::make_unique<a_om_rec>();
    if (!Read_OM(r, *read) || !r.Done()) return why = "the clipboard's text run is damaged", false;
    std::vector<a_xyl_char> out;
    out.reserve(size_t(std::max(0, read->nxyl - 1)));
    for (int i = 1; i < read->nxyl; ++i) {
        a_xyl_char c = read->xyl[i];
        const a_xyl_char blank;
        c.mm_x = blank.mm_x, c.mm_y = blank.mm_y, c.mm_t = blank.mm_t, c.mm_width = blank.mm_width;
        c.mm_ud = blank.mm_ud, c.mm_cat = blank.mm_cat;
        out.push_back(c);
    }
    run = std::move(out);
    return true;
}

bool Scrap_Add_Run(const a_om_rec& om, int lo, int hi) {
    const std::unique_ptr<a_om_rec> run = Run_Block(om, lo, hi);
    if (run->nxyl <= 1) return false;
    return Clipboard_Put(OM_To_Str(*run), {a_clip_format{TEXT_RUN_CLIP_FORMAT, Text_Run_Clip_Bytes(om, lo, hi)}});
}
