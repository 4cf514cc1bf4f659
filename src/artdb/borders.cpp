#include "artdb/borders.h"

#include "artdb/database.h"
#include "artdb/pixt.h"

namespace {

bool Inside(const Rect& piece, const Rect& picture) {
    return !Rect_IsEmpty(piece) && piece.left >= picture.left && piece.top >= picture.top &&
           piece.right <= picture.right && piece.bottom <= picture.bottom;
}

// Every piece inside the picture, all as high as the corner: the band's width.
bool Pieces_Fit(const a_bord_spec& b) {
    Rect pic;
    if (!KPixt_Bounds(b.key, pic)) return false;
    const int t = Rect_Height(b.corn_piece);
    return Inside(b.corn_piece, pic) && Inside(b.side_piece, pic) && Inside(b.sliv_piece, pic) &&
           Rect_Height(b.side_piece) == t && Rect_Height(b.sliv_piece) == t && Rect_Width(b.corn_piece) == t;
}

}  // namespace

bool Border_Directory(a_bord_res& res) {
    res = a_bord_res{};
    const a_keyset dir{BORDER_CATEGORY, 0, 0, 0};
    if (!OP_Exists(dir)) return false;
    int32_t len = 0;
    uint8_t* block = OP_Lock(dir, &len);
    if (!block) return false;
    a_bord_res all;
    const bool ok = Bord_Decode(block, size_t(len), all);
    OP_Unlock(block);
    if (!ok) return false;
    res.version = all.version;
    for (const a_bord_spec& b : all.bords)
        if (Pieces_Fit(b)) res.bords.push_back(b);
    return true;
}

bool Border_Find(const a_keyset& key, a_bord_spec& spec) {
    a_bord_res res;
    if (!Border_Directory(res)) return false;
    for (const a_bord_spec& b : res.bords)
        if (b.key == key) return spec = b, true;
    return false;
}
