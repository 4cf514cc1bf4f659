#include "images/photo_scrap.h"


#include "model/ph_blocks.h"
#include "model/undo_records.h"
#include "platform/clipboard.h"

const char* const PHOTO_BLOCK_CLIP_FORMAT = "application/x-cirquel-photo-block";

std::vector<uint8_t> Photo_Block_Clip_Bytes(const a_pasted_ph_rec& pasted) {
    std::vector<uint8_t> out = Scrap_Heading("CPHB", PHOTO_BLOCK_CLIP_VERSION, 512);
    a_undo_writer w(out);
    w.Num(pasted.ojkind);
    Save_PH(w, pasted.ph);
    return out;
}

bool Photo_Block_From_Clip(const std::vector<uint8_t>& bytes, a_pasted_ph_rec& pasted, std::string& why) {
    if (!Scrap_Heading_Ok(bytes, "CPHB", PHOTO_BLOCK_CLIP_VERSION, "picture block", why)) return false;
    a_undo_reader r(bytes.data() + 6, bytes.size() - 6);
    a_pasted_ph_rec read;
    read.ojkind = r.Num<uint8_t>();
    if (!r.Ok() || !Has_PH_Kind(read.ojkind)) return why = "the clipboard's block is of no picture kind", false;
    if (!Read_PH(r, read.ph) || !r.Done()) return why = "the clipboard's picture block is damaged", false;
    pasted = read;
    return true;
}

bool Scrap_Add_PH(const a_pasted_ph_rec& pasted) {
    return Clipboard_Put(std::u16string(), {a_clip_format{PHOTO_BLOCK_CLIP_FORMAT, Photo_Block_Clip_Bytes(pasted)}});
}
