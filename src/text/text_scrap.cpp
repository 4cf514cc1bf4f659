#include "text/text_scrap.h"

#include <cstring>

#include "model/undo_text.h"
#include "platform/clipboard.h"
#include "text/text_blocks.h"

const char* const TEXT_BLOCK_CLIP_FORMAT = "application/x-cirquel-text-block";

std::vector<uint8_t> Text_Block_Clip_Bytes(const a_om_rec& om) {
    std::vector<uint8_t> out;
    a_undo_writer w(out);
    w.Bytes("CTXT", 4);
    w.Num(uint16_t(TEXT_BLOCK_CLIP_VERSION));
    Save_OM(w, om);
    return out;
}

bool Scrap_Add_OM(const a_om_rec& om) {
    if (om.nxyl <= 1) return false;
    return Clipboard_Put(OM_To_Str(om), {a_clip_format{TEXT_BLOCK_CLIP_FORMAT, Text_Block_Clip_Bytes(om)}});
}
