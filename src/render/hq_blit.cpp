// The filtering is Qt's smooth transformation (platform/resample): box
// averaging when shrinking and bilinear when growing for plain scaling,
// bilinear with antialiased edges through a matrix.
#include "render/hq_blit.h"

#include <algorithm>

#include "platform/resample.h"
#include "render/blit.h"
#include "render/blit_port.h"

namespace {

a_pixel_view View_Of(const PixMap& pm) {
    return a_pixel_view{pm.baseAddr, PixMap_RowBytes(pm), Rect_Width(pm.bounds), Rect_Height(pm.bounds)};
}

// src_rect trimmed to the source's bounds, with dst_rect trimmed in the same
// proportion; false when nothing is left.
bool Trim_Source(const PixMap& src, Rect& s, Rect& d) {
    int sw = Rect_Width(s), sh = Rect_Height(s), dw = Rect_Width(d), dh = Rect_Height(d);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return false;
    Rect t{std::max(s.top, src.bounds.top), std::max(s.left, src.bounds.left),
           std::min(s.bottom, src.bounds.bottom), std::min(s.right, src.bounds.right)};
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

// A 32-bit copy of part of a map, at its own coordinates.
void Copy32(const PixMap& src, const Rect& r, PixMap& out) {
    New_PixMap(out, r, 32, nullptr);
    Pix_To_Pix(src, out, r, r, srcCopy, nullptr);
}

}  // namespace

void Bicubic_Blt(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect) {
    Rect s = src_rect, d = dst_rect;
    if (Is_Null_PixMap(src) || Is_Null_PixMap(dst) || !Trim_Source(src, s, d)) return;
    PixMap in, out;
    Copy32(src, s, in);
    New_PixMap(out, d, 32, nullptr);
    // The destination's fourth bytes come along so that they are kept.
    if (dst.pixelSize == 32) Pix_To_Pix(dst, out, d, d, srcCopy, nullptr);
    a_pixel_view ov = View_Of(out);
    if (Resample_Scale(View_Of(in), ov)) Pix_To_Pix(out, dst, d, d, srcCopy, nullptr);
    Dispose_PixMap(in);
    Dispose_PixMap(out);
}

void Port_To_Port_Matrix(GWorld* src_w, GWorld* dst_w, const Rect& src_rect, const double matrix[6],
                         const Rect* clip) {
    PixMap s, d;
    if (src_w)
        s = src_w->pix;
    else if (!Current_Port_PixMap(s))
        return;
    if (dst_w)
        d = dst_w->pix;
    else if (!Current_Port_PixMap(d))
        return;
    Rect sr{std::max(src_rect.top, s.bounds.top), std::max(src_rect.left, s.bounds.left),
            std::min(src_rect.bottom, s.bounds.bottom), std::min(src_rect.right, s.bounds.right)};
    if (Rect_IsEmpty(sr)) return;
    PixMap in, out;
    Copy32(s, sr, in);
    bool direct = d.pixelSize == 32;
    if (direct)
        out = d;
    else
        Copy32(d, d.bounds, out);
    // The matrix works in the worlds' own coordinates; the views count from
    // their top-left corners and the copy starts at sr's corner.
    const double* m = matrix;
    double ox = sr.left, oy = sr.top, dx = d.bounds.left, dy = d.bounds.top;
    double mm[6] = {m[0], m[1], m[0] * ox + m[1] * oy + m[2] - dx,
                    m[3], m[4], m[3] * ox + m[4] * oy + m[5] - dy};
    Rect c = clip ? *clip : d.bounds;
    a_pixel_view ov = View_Of(out);
    Resample_Affine(View_Of(in), ov, mm, c.left - d.bounds.left, c.top - d.bounds.top,
                    c.right - d.bounds.left, c.bottom - d.bounds.top);
    if (!direct) {
        Pix_To_Pix(out, d, d.bounds, d.bounds, srcCopy, nullptr);
        Dispose_PixMap(out);
    }
    Dispose_PixMap(in);
}
