// The filtering is Qt's smooth transformation (platform/resample): box
// averaging when shrinking and bilinear when growing for plain scaling,
// bilinear with antialiased edges through a matrix.
#include "pixels/hq_blit.h"

#include <algorithm>

#include "platform/resample.h"
#include "pixels/blit.h"
#include "pixels/blit_port.h"

namespace {

a_pixel_view View_Of(const PixMap& pm) {
    return a_pixel_view{pm.baseAddr, PixMap_RowBytes(pm), Rect_Width(pm.bounds), Rect_Height(pm.bounds)};
}

// A 32-bit copy of part of a map, at its own coordinates.
a_pixmap_owner Copy32(const PixMap& src, const Rect& r) {
    a_pixmap_owner out = Make_PixMap(r, 32, nullptr);
    Pix_To_Pix(src, *out, r, r, srcCopy, nullptr);
    return out;
}

}  // namespace

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
    Rect sr = Rect_Sect(src_rect, s.bounds);
    if (Rect_IsEmpty(sr)) return;
    // An 8-bit destination holds values (coverage, grey), resampled as such.
    bool values = d.pixelSize == 8;
    a_pixmap_owner in = values ? Values8_To_Grey32(s, sr, d.pmTable) : Copy32(s, sr);
    bool direct = d.pixelSize == 32;
    a_pixmap_owner copy;  // a 32-bit stand-in for a shallower destination
    if (!direct) copy = values ? Values8_To_Grey32(d, d.bounds, d.pmTable) : Copy32(d, d.bounds);
    PixMap& out = direct ? d : *copy;
    // The matrix works in the worlds' own coordinates; the views count from
    // their top-left corners and the copy starts at sr's corner.
    const double* m = matrix;
    double ox = sr.left, oy = sr.top, dx = d.bounds.left, dy = d.bounds.top;
    double mm[6] = {m[0], m[1], m[0] * ox + m[1] * oy + m[2] - dx,
                    m[3], m[4], m[3] * ox + m[4] * oy + m[5] - dy};
    Rect c = clip ? *clip : d.bounds;
    a_pixel_view ov = View_Of(out);
    // Refused views (an empty destination) leave the destination as it was.
    (void)Resample_Affine(View_Of(*in), ov, mm, c.left - d.bounds.left, c.top - d.bounds.top,
                    c.right - d.bounds.left, c.bottom - d.bounds.top);
    if (values)
        Grey32_To_Values8(out, d, d.bounds);
    else if (!direct)
        Pix_To_Pix(out, d, d.bounds, d.bounds, srcCopy, nullptr);
}
