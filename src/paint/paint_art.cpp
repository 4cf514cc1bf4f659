#include "paint/paint_art.h"

#include "artdb/borders.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "render/effects_cache.h"

namespace {

// A picture of `category` as colour and mask: 32-bit pictures keep their
// alpha, other depths come through the effects' loader fully opaque. A
// damaged header is refused here, before the loader would stop the program.
bool Load_Masked(const a_keyset& key, int16_t category, a_masked_gworld_owner& out) {
    Rect bounds;
    if (key.a != category || !OP_Exists(key) || !KPixt_Bounds(key, bounds) || Rect_IsEmpty(bounds)) return false;
    a_masked_gworld mw;
    Null_MW(mw);
    {
        a_locked_pixt art(key);
        const PixMap& m = art.pixmap();
        if (m.pixelSize != 32) {
            mw.fore = Cache_Load_Art(key);
            if (!mw.fore) return false;
            mw.bounds = mw.fore->pix.bounds;
            out = a_masked_gworld_owner(mw);
            return true;
        }
        New_MW("Paint_Load_Art", m.bounds, mw);
        for (int y = m.bounds.top; y < m.bounds.bottom; ++y) {
            const auto* src = reinterpret_cast<const uint32_t*>(PixMap_Row(m, y));
            auto* dst = reinterpret_cast<uint32_t*>(PixMap_Row(mw.fore->pix, y));
            uint8_t* alpha = PixMap_Row(mw.mask->pix, y);
            for (int x = 0; x < Rect_Width(m.bounds); ++x) {
                dst[x] = src[x] & 0xFFFFFF;
                alpha[x] = uint8_t(src[x] >> 24);
            }
        }
    }
    out = a_masked_gworld_owner(mw);
    return true;
}

}  // namespace

bool Paint_Load_Stamp(const a_keyset& key, a_paint_art& art) {
    a_masked_gworld_owner mw;
    if (!Load_Masked(key, STAMP_ART_CATEGORY, mw)) return false;
    art.stamp = std::move(mw);
    art.stamp_key = key;
    return true;
}

bool Paint_Load_Pattern(const a_keyset& key, a_paint_art& art) {
    a_masked_gworld_owner mw;
    if (!Load_Masked(key, PATTERN_ART_CATEGORY, mw)) return false;
    art.pattern.reset(mw->fore);  // a tile has no use for its alpha
    mw->fore = nullptr;
    art.pattern_key = key;
    return true;
}

bool Paint_Load_Border(const a_keyset& key, a_paint_art& art) {
    a_bord_spec spec;
    a_masked_gworld_owner mw;
    if (!Border_Find(key, spec) || !Load_Masked(key, BORDER_CATEGORY, mw)) return false;
    art.border_picture = std::move(mw);
    art.border = a_border_art{&art.border_picture.get(), spec.corn_piece, spec.side_piece, spec.sliv_piece};
    art.border_key = key;
    return true;
}

void Paint_Lend_Art(const a_paint_art& art, a_paint_state& p) {
    p.stamp = art.stamp->fore ? &art.stamp.get() : nullptr;
    p.pattern = art.pattern.get();
    p.border = Border_Usable(art.border) ? &art.border : nullptr;
}
