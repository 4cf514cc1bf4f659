#include "pixels/blit.h"

#include <algorithm>
#include <cstring>

#include "platform/port.h"
#include "platform/resample.h"
#include "pixels/blit_plan.h"
#include "pixels/pixcursor.h"
#include "base/messages.h"

namespace {

uint8_t g_weight = 255;  // blend weight of the drawing state

// Bytes 0..2 of s over d at weight w (1..254): (s w + d (255 - w)) >> 8 per
// byte, byte 3 from d. Red and blue share one 32-bit product (each fits 16
// bits), so the loops vectorise over whole pixels.
inline uint32_t Blend_Lanes(uint32_t s, uint32_t d, uint32_t w) {
    uint32_t iw = 255 - w;
    uint32_t rb = (((s & 0xFF00FF) * w + (d & 0xFF00FF) * iw) >> 8) & 0xFF00FF;
    uint32_t g = (((s & 0x00FF00) * w + (d & 0x00FF00) * iw) >> 8) & 0x00FF00;
    return rb | g | (d & 0xFF000000);
}

// Weights 255 and 0 copy and leave exactly: the shift by 8 alone would turn
// white into 254 at full opacity.
inline uint32_t Blend32(uint32_t s, uint32_t d, unsigned w) {
    if (w >= 255) return (s & 0xFFFFFF) | (d & 0xFF000000);
    if (w == 0) return d;
    return Blend_Lanes(s, d, w);
}

// ---- pixel access of one row as 32-bit words -------------------------------

// Raw values: 1-bit as 0/1, 8-bit as the index; deeper maps as colour words
// 0xAARRGGBB (16-bit widened by 5-5-5, 24-bit with a = 0).
inline uint32_t Get_Raw(const uint8_t* row, int depth, int x) {
    uint32_t v = Row_GetDot(row, depth, x);
    return depth == 16 ? Pix16_To_32(uint16_t(v)) : v;
}

inline void Put_Raw(uint8_t* row, int depth, int x, uint32_t v) {
    Row_PutDot(row, depth, x, depth == 16 ? Pix32_To_16(v) : v);
}

// Which source depths a destination depth has a worker for.
bool Pair_Supported(int sd, int dd) {
    switch (dd) {
        case 1: return sd == 1;
        case 8: return sd == 1 || sd == 8;
        case 16: return sd == 1 || sd == 16 || sd == 24 || sd == 32;
        case 24: return sd == 1 || sd == 8 || sd == 16 || sd == 24 || sd == 32;
        // 24 -> 32 is added: without it no 24-bit picture could reach a composite.
        case 32: return sd == 1 || sd == 8 || sd == 16 || sd == 24 || sd == 32;
        default: return false;
    }
}

// The source value as the destination wants it.
struct a_converter {
    int sd = 32, dd = 32;
    uint32_t map[256] = {};  // 8-bit indices to colours; 1-bit to fore/back
    bool raw = false;        // indices or bits kept as they are
};

void Make_Converter(const PixMap& src, const PixMap& dst, a_converter& cv) {
    cv.sd = src.pixelSize;
    cv.dd = dst.pixelSize;
    cv.raw = (cv.sd == 8 && cv.dd == 8) || (cv.sd == 1 && cv.dd == 1);
    if (cv.sd == 8 && !cv.raw) CTabHandle_To_Map(src.pmTable, cv.map);
    if (cv.sd == 1 && cv.dd == 8) {
        cv.map[0] = uint32_t(CTab_Nearest(dst.pmTable, GetBackColor()));
        cv.map[1] = uint32_t(CTab_Nearest(dst.pmTable, GetForeColor()));
    } else if (cv.sd == 1) {
        cv.map[0] = GetBackColor();
        cv.map[1] = GetForeColor();
    }
}

inline uint32_t Convert(const a_converter& cv, uint32_t v) {
    if (cv.raw) return v;
    return cv.sd <= 8 ? cv.map[v & 0xFF] : v;  // deeper values are colour words already
}

// One destination pixel: source value s (already converted), mask m.
inline uint32_t Combine(int dd, bool raw, int mode, unsigned w, uint32_t s, uint32_t d, unsigned m) {
    if (m == 0) return d;
    if (raw) {
        switch (mode) {
            case srcXor: return s ^ d;
            case notSrcBic: return s & d;
            case transparent:
                if (dd == 8) return s == 255 ? d : s;
                return s ? s : d;
            default: return s;
        }
    }
    if (m < 255) return Blend32(s, d, m);
    switch (mode) {
        case srcXor: return (s ^ d) & 0xFFFFFF;
        case notSrcBic: return s & d;
        case transparent: return (s & 0xFFFFFF) == 0xFFFFFF ? d : s;
        case blend: return Blend32(s, d, w);
        case ALPHA: {
            if (dd != 32) return s;
            unsigned a = s >> 24;
            return a == 255 ? s : a == 0 ? d : Blend32(s, d, a);
        }
        default: return s;
    }
}

// ---- the 32 -> 32 workers the composites spend their time in ----------------

inline const uint32_t* Row32(const PixMap& pm, int y) {
    return reinterpret_cast<const uint32_t*>(PixMap_Row(pm, y)) - pm.bounds.left;
}
inline uint32_t* Row32(PixMap& pm, int y) {
    return reinterpret_cast<uint32_t*>(PixMap_Row(pm, y)) - pm.bounds.left;
}

// Whether a column table steps by exactly one: the same size, no scaling.
bool Contiguous(const std::vector<int>& cols) { return cols.back() - cols.front() == int(cols.size()) - 1; }

// 32-bit rows are 4-byte aligned (row rule), so word views are sound.
CIRQUEL_CLONES
void Blt_32_32_Same(const PixMap& src, PixMap& dst, const a_blt_plan& p, int mode, unsigned w) {
    const int n = p.w;  // a local, so that stores cannot change the trip count
    for (int j = 0; j < p.h; ++j) {
        const uint32_t* s = Row32(src, p.sy[size_t(j)]) + p.sx[0];
        uint32_t* d = Row32(dst, p.y0 + j) + p.x0;
        if (mode == srcCopy) {
            std::memmove(d, s, size_t(n) * 4);
        } else if (mode == blend && w > 0 && w < 255) {
            for (int i = 0; i < n; ++i) d[i] = Blend_Lanes(s[i], d[i], w);
        } else if (mode == transparent) {
            for (int i = 0; i < n; ++i) d[i] = (s[i] & 0xFFFFFF) == 0xFFFFFF ? d[i] : s[i];
        } else {
            for (int i = 0; i < n; ++i) d[i] = Combine(32, false, mode, w, s[i], d[i], 255);
        }
    }
}

CIRQUEL_CLONES
void Blt_32_32_Scaled(const PixMap& src, PixMap& dst, const a_blt_plan& p, int mode, unsigned w) {
    const int n = p.w;  // a local, so that stores cannot change the trip count
    const int* xs = p.sx.data();
    for (int j = 0; j < p.h; ++j) {
        const uint32_t* s = Row32(src, p.sy[size_t(j)]);
        uint32_t* d = Row32(dst, p.y0 + j) + p.x0;
        if (mode == srcCopy) {
            for (int i = 0; i < n; ++i) d[i] = s[xs[i]];
        } else {
            for (int i = 0; i < n; ++i) d[i] = Combine(32, false, mode, w, s[xs[i]], d[i], 255);
        }
    }
}

// Masks and indexed maps of one size: whole rows.
CIRQUEL_CLONES
void Blt_8_8_Same(const PixMap& src, PixMap& dst, const a_blt_plan& p, int mode) {
    const int n = p.w;  // a local, so that stores cannot change the trip count
    for (int j = 0; j < p.h; ++j) {
        const uint8_t* s = PixMap_Row(src, p.sy[size_t(j)]) + (p.sx[0] - src.bounds.left);
        uint8_t* d = PixMap_Row(dst, p.y0 + j) + (p.x0 - dst.bounds.left);
        if (mode == transparent) {
            for (int i = 0; i < n; ++i) d[i] = s[i] == 255 ? d[i] : s[i];
        } else if (mode == notSrcBic) {
            for (int i = 0; i < n; ++i) d[i] &= s[i];
        } else if (mode == srcXor) {
            for (int i = 0; i < n; ++i) d[i] ^= s[i];
        } else {
            std::memmove(d, s, size_t(n));
        }
    }
}

// m = 255 copies the whole pixel, 0 leaves it, otherwise a blend at m.
inline uint32_t Deep_Pixel(uint32_t s, uint32_t d, uint32_t m) {
    uint32_t b = Blend_Lanes(s, d, m);
    return m == 255 ? s : m == 0 ? d : b;
}

CIRQUEL_CLONES
void Deep_32_32(const PixMap& src, const PixMap& mask, PixMap& dst, const a_blt_plan& p) {
    const int n = p.w;  // a local, so that stores cannot change the trip count
    bool same = Contiguous(p.sx) && Contiguous(p.mx);
    const int* xs = p.sx.data();
    const int* ms = p.mx.data();
    for (int j = 0; j < p.h; ++j) {
        const uint32_t* s = Row32(src, p.sy[size_t(j)]);
        const uint8_t* m = PixMap_Row(mask, p.my[size_t(j)]) - mask.bounds.left;
        uint32_t* d = Row32(dst, p.y0 + j) + p.x0;
        if (same) {
            s += xs[0];
            m += ms[0];
            for (int i = 0; i < n; ++i) d[i] = Deep_Pixel(s[i], d[i], m[i]);
        } else {
            for (int i = 0; i < n; ++i) d[i] = Deep_Pixel(s[xs[i]], d[i], m[ms[i]]);
        }
    }
}

// ---- the general worker --------------------------------------------------

void Blt_General(const PixMap& src, PixMap& dst, const a_blt_plan& p, int mode, unsigned w,
                 const PixMap* mask) {
    a_converter cv;
    Make_Converter(src, dst, cv);
    int sd = src.pixelSize, dd = dst.pixelSize;
    int md = mask ? mask->pixelSize : 0;
    for (int j = 0; j < p.h; ++j) {
        const uint8_t* s = PixMap_Row(src, p.sy[size_t(j)]);
        uint8_t* d = PixMap_Row(dst, p.y0 + j);
        const uint8_t* m = mask ? PixMap_Row(*mask, p.my[size_t(j)]) : nullptr;
        for (int i = 0; i < p.w; ++i) {
            unsigned mv = 255;
            if (m) {
                uint32_t raw = Get_Raw(m, md, p.mx[size_t(i)] - mask->bounds.left);
                mv = md == 1 ? (raw ? 255 : 0) : raw;
            }
            if (mv == 0) continue;
            int dx = p.x0 + i - dst.bounds.left;
            uint32_t sv = Convert(cv, Get_Raw(s, sd, p.sx[size_t(i)] - src.bounds.left));
            uint32_t dv = Get_Raw(d, dd, dx);
            // Colour conversions into 32 bits keep the destination's fourth byte.
            if (!cv.raw && dd == 32 && sd != 32) sv = (sv & 0xFFFFFF) | (dv & 0xFF000000);
            Put_Raw(d, dd, dx, Combine(dd, cv.raw, mode, w, sv, dv, mv));
        }
    }
}

// A source converted to the destination's depth on the source rectangle.
a_pixmap_owner Convert_Temp(const PixMap& src, const Rect& src_rect, int depth, CTabHandle ctab) {
    a_pixmap_owner tmp = Make_PixMap(src_rect, depth, ctab);
    Pix_To_Pix(src, *tmp, src_rect, src_rect, srcCopy, nullptr);
    return tmp;
}

a_pixel_view View_Of(const PixMap& pm) {
    return a_pixel_view{pm.baseAddr, PixMap_RowBytes(pm), Rect_Width(pm.bounds), Rect_Height(pm.bounds)};
}

// src_rect trimmed to the source's bounds, with dst_rect trimmed in the same
// proportion; false when nothing is left.
[[nodiscard]] bool Trim_Source(const PixMap& src, Rect& s, Rect& d) {
    int sw = Rect_Width(s), sh = Rect_Height(s), dw = Rect_Width(d), dh = Rect_Height(d);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return false;
    Rect t = Rect_Sect(s, src.bounds);
    if (Rect_IsEmpty(t)) return false;
    auto map = [](int v, int from0, int from_len, int to0, int to_len) {
        return int16_t(to0 + int64_t(v - from0) * to_len / from_len);
    };
    Rect nd{map(t.top, s.top, sh, d.top, dh), map(t.left, s.left, sw, d.left, dw),
            map(t.bottom, s.top, sh, d.top, dh), map(t.right, s.left, sw, d.left, dw)};
    if (Rect_IsEmpty(nd)) return false;
    s = t;
    d = nd;
    return true;
}

}  // namespace

void Pix_To_Pix(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect,
                int mode, const Rect* clip) {
    if (Is_Null_PixMap(src) || Is_Null_PixMap(dst)) return;
    int sd = src.pixelSize, dd = dst.pixelSize;
    if (!Pair_Supported(sd, dd)) InternalError();
    bool same = Rect_Width(src_rect) == Rect_Width(dst_rect) &&
                Rect_Height(src_rect) == Rect_Height(dst_rect);
    if (mode == ditherCopy) {
        if (!same && !clip) {
            Bicubic_Blt(src, dst, src_rect, dst_rect);
            return;
        }
        mode = srcCopy;
    }
    unsigned w = mode == blend ? g_weight : 255;
    // Within one map the rows would be overwritten before they are read:
    // take the source from a copy.
    if (src.baseAddr == dst.baseAddr && !Rect_IsEmpty(Rect_Sect(src_rect, dst_rect))) {
        Rect from = Rect_Sect(src_rect, src.bounds);
        if (Rect_IsEmpty(from)) return;
        a_pixmap_owner tmp = Make_PixMap(from, sd, src.pmTable);
        Pix_To_Pix(src, *tmp, from, from, srcCopy, nullptr);
        Pix_To_Pix(*tmp, dst, src_rect, dst_rect, mode, clip);
        return;
    }
    a_blt_plan p;
    if (!Blt_Plan(src, src_rect, dst, dst_rect, clip, nullptr, nullptr, p)) return;
    if (sd == 32 && dd == 32 && mode != srcXor && mode != notSrcBic) {
        if (p.same)
            Blt_32_32_Same(src, dst, p, mode, w);
        else
            Blt_32_32_Scaled(src, dst, p, mode, w);
        return;
    }
    if (sd == 8 && dd == 8 && p.same) {
        Blt_8_8_Same(src, dst, p, mode);
        return;
    }
    Blt_General(src, dst, p, mode, w, nullptr);
}

void Pix_To_PixM(const PixMap& src, const PixMap& mask, PixMap& dst, const Rect& src_rect,
                 const Rect& mask_rect, const Rect& dst_rect, const Rect* clip) {
    if (Is_Null_PixMap(src) || Is_Null_PixMap(dst) || Is_Null_PixMap(mask)) return;
    int sd = src.pixelSize, dd = dst.pixelSize, md = mask.pixelSize;
    if (md != 1 && md != 8) InternalError();
    if (md == 8 && dd != 24 && dd != 32) InternalError();
    bool direct = sd == dd || (sd == 24 && dd == 16 && md == 1);
    if (!direct) {
        a_pixmap_owner tmp = Convert_Temp(src, src_rect, dd, dst.pmTable);
        Pix_To_PixM(*tmp, mask, dst, src_rect, mask_rect, dst_rect, clip);
        return;
    }
    a_blt_plan p;
    if (!Blt_Plan(src, src_rect, dst, dst_rect, clip, &mask, &mask_rect, p)) return;
    if (sd == 32 && dd == 32 && md == 8)
        Deep_32_32(src, mask, dst, p);
    else
        Blt_General(src, dst, p, srcCopy, 255, &mask);
}

void Set_Blend_Value(int opacity) {
    opacity = std::clamp(opacity, 0, 100);
    g_weight = uint8_t(opacity * 255 / 100);
}

uint8_t Get_Blend_Weight() { return g_weight; }
void Set_Blend_Weight(uint8_t weight) { g_weight = weight; }

void Asm32_FillBytes(uint8_t* dst, size_t n, uint8_t value) { std::memset(dst, value, n); }

void Asm32_BlockMove(const uint8_t* src, uint8_t* dst, size_t n) { std::memmove(dst, src, n); }

int16_t Asm32_Fraction(int16_t aa, int16_t bb, int16_t cc) {
    if (cc == 0) return 0;
    return int16_t(int32_t(aa) * int32_t(bb) / int32_t(cc));
}

int32_t Asm32_Fraction32(int32_t aa, int32_t bb, int32_t cc) {
    if (cc == 0) return 0;
    return int32_t(int64_t(aa) * int64_t(bb) / int64_t(cc));
}

void Asm32_Calc_Inverse(const uint32_t color[256], uint8_t inverse[32768]) {
    int r5[256], g5[256], b5[256];
    bool skip[256];
    for (int k = 0; k < 256; ++k) {
        r5[k] = (color[k] >> 19) & 0x1F;
        g5[k] = (color[k] >> 11) & 0x1F;
        b5[k] = (color[k] >> 3) & 0x1F;
        skip[k] = (color[k] >> 24) == 1;
    }
    for (int c = 0; c < 32768; ++c) {
        int r = (c >> 10) & 0x1F, g = (c >> 5) & 0x1F, b = c & 0x1F;
        int best = 0, bestd = 64000000;
        for (int k = 0; k < 256; ++k) {
            if (skip[k]) continue;
            int dr = r - r5[k], dg = g - g5[k], db = b - b5[k];
            int dist = dr * dr + dg * dg + db * db;
            if (dist < bestd) {
                bestd = dist;
                best = k;
            }
        }
        inverse[c] = uint8_t(best);
    }
}

void Asm32_PixMap8_Subtract(PixMap& mask, PixMap& fore, const PixMap& back) {
    if (mask.pixelSize != 1 || fore.pixelSize != 8 || back.pixelSize != 8) InternalError();
    const Rect& r = fore.bounds;
    for (int y = r.top; y < r.bottom; ++y) {
        if (y < mask.bounds.top || y >= mask.bounds.bottom || y < back.bounds.top ||
            y >= back.bounds.bottom)
            continue;
        uint8_t* f = PixMap_Row(fore, y);
        const uint8_t* b = PixMap_Row(back, y);
        uint8_t* m = PixMap_Row(mask, y);
        for (int x = r.left; x < r.right; ++x) {
            if (x < mask.bounds.left || x >= mask.bounds.right || x < back.bounds.left ||
                x >= back.bounds.right)
                continue;
            int mx = x - mask.bounds.left;
            uint8_t bit = uint8_t(0x80 >> (mx & 7));
            if (!(m[mx >> 3] & bit)) continue;
            if (f[x - r.left] != b[x - back.bounds.left]) continue;
            f[x - r.left] = 255;
            m[mx >> 3] = uint8_t(m[mx >> 3] & ~bit);
        }
    }
}

a_pixmap_owner Values8_To_Grey32(const PixMap& src, const Rect& r, CTabHandle table) {
    a_pixmap_owner out = Make_PixMap(r, 32, nullptr);
    a_pixmap_owner expanded;  // a 1-bit source as indices
    const PixMap* from = &src;
    if (src.pixelSize != 8) {
        if (!Pair_Supported(src.pixelSize, 8)) InternalError();
        expanded = Make_PixMap(r, 8, table);
        Pix_To_Pix(src, *expanded, r, r, srcCopy, nullptr);
        from = &*expanded;
    }
    Rect t = Rect_Sect(r, from->bounds);
    for (int y = t.top; y < t.bottom; ++y) {
        const uint8_t* v = PixMap_Row(*from, y) + (t.left - from->bounds.left);
        uint32_t* o = Row32(*out, y) + t.left;
        for (int x = 0; x < Rect_Width(t); ++x) o[x] = uint32_t(v[x]) * 0x010101u;
    }
    return out;
}

void Grey32_To_Values8(const PixMap& grey, PixMap& dst, const Rect& r) {
    Rect t = Rect_Sect(Rect_Sect(r, grey.bounds), dst.bounds);
    for (int y = t.top; y < t.bottom; ++y) {
        const uint32_t* g = Row32(grey, y) + t.left;
        uint8_t* v = PixMap_Row(dst, y) + (t.left - dst.bounds.left);
        for (int x = 0; x < Rect_Width(t); ++x) v[x] = uint8_t(g[x]);
    }
}

void Bicubic_Blt(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect) {
    Rect s = src_rect, d = dst_rect;
    if (Is_Null_PixMap(src) || Is_Null_PixMap(dst) || !Trim_Source(src, s, d)) return;
    if (dst.pixelSize == 8) {
        a_pixmap_owner in = Values8_To_Grey32(src, s, dst.pmTable);
        a_pixmap_owner out = Make_PixMap(d, 32, nullptr);
        a_pixel_view ov = View_Of(*out);
        if (Resample_Scale(View_Of(*in), ov)) Grey32_To_Values8(*out, dst, d);
        return;
    }
    // A 32-bit source is read where it lies; other depths become 32-bit first.
    a_pixmap_owner in;
    a_pixel_view iv;
    if (src.pixelSize == 32) {
        iv = a_pixel_view{const_cast<uint8_t*>(PixMap_Row(src, s.top)) + 4 * (s.left - src.bounds.left),
                          PixMap_RowBytes(src), Rect_Width(s), Rect_Height(s)};
    } else {
        in = Make_PixMap(s, 32, nullptr);
        Pix_To_Pix(src, *in, s, s, srcCopy, nullptr);
        iv = View_Of(*in);
    }
    a_pixmap_owner out = Make_PixMap(d, 32, nullptr);
    // The destination's fourth bytes come along so that they are kept.
    if (dst.pixelSize == 32) Pix_To_Pix(dst, *out, d, d, srcCopy, nullptr);
    a_pixel_view ov = View_Of(*out);
    if (Resample_Scale(iv, ov)) Pix_To_Pix(*out, dst, d, d, srcCopy, nullptr);
}
