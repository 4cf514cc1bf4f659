#include "text/text_scrap.h"

#include <algorithm>

#include "model/undo_text.h"
#include "platform/clipboard.h"
#include "text/text_blocks.h"

const char* const TEXT_BLOCK_CLIP_FORMAT = "application/x-cirquel-text-block";

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
