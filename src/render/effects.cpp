#include "render/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "pixels/blit.h"
#include "render/edges.h"
#include "pixels/hq_blit.h"
#include "pixels/pixcolor.h"
#include "pixels/syspix.h"
#include "platform/mask_resample.h"
#include "platform/resample.h"
#include "base/messages.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t Word(const a_win_pixel32& p) {
    return uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b;
}

GWorld* New_World(int depth, const Rect& bounds) {
    GWorld* w = nullptr;
    New_GWorldF("Apply_Effects", bounds, depth, depth == 8 ? gray_ctable : nullptr, w);
    return w;
}

// ---- drawing a world through a matrix ---------------------------------------

// x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5: a linear part about a centre.
struct a_affine {
    double m[6];
};

// The linear part l (2 x 2) applied about (cx, cy) and moved by (ox, oy).
a_affine About(const double l[4], double cx, double cy, double ox, double oy) {
    return a_affine{
        {l[0], l[1], ox - l[0] * cx - l[1] * cy, l[2], l[3], oy - l[2] * cx - l[3] * cy}};
}

// The bounding box of r through the matrix, rounded outward but forgiving
// the rounding noise of exact quarter turns.
Rect Map_Bounds(const a_affine& a, const Rect& r) {
    double xs[4] = {double(r.left), double(r.right), double(r.left), double(r.right)};
    double ys[4] = {double(r.top), double(r.top), double(r.bottom), double(r.bottom)};
    double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
    for (int i = 0; i < 4; ++i) {
        double x = a.m[0] * xs[i] + a.m[1] * ys[i] + a.m[2];
        double y = a.m[3] * xs[i] + a.m[4] * ys[i] + a.m[5];
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    auto lo = [](double v) { return int16_t(std::floor(v + 1e-6)); };
    auto hi = [](double v) { return int16_t(std::ceil(v - 1e-6)); };
    return Rect{lo(y0), lo(x0), hi(y1), hi(x1)};
}

// Views of sr in place in `s` and of the whole of `d` (bpp bytes a pixel),
// with the matrix moved from the worlds' own coordinates to count from the
// two views' corners: what the resamplers take, without copying a pixel.
struct a_placed {
    a_pixel_view in, out;
    double m[6];
};

a_placed Place(const PixMap& s, const Rect& sr, const a_affine& a, PixMap& d, int bpp) {
    a_placed p;
    p.in = a_pixel_view{PixMap_Row(s, sr.top) + bpp * (sr.left - s.bounds.left),
                        PixMap_RowBytes(s), Rect_Width(sr), Rect_Height(sr)};
    p.out = a_pixel_view{d.baseAddr, PixMap_RowBytes(d), Rect_Width(d.bounds),
                         Rect_Height(d.bounds)};
    const double* m = a.m;
    double ox = sr.left, oy = sr.top, dx = d.bounds.left, dy = d.bounds.top;
    double mm[6] = {m[0], m[1], m[0] * ox + m[1] * oy + m[2] - dx,
                    m[3], m[4], m[3] * ox + m[4] * oy + m[5] - dy};
    std::copy(mm, mm + 6, p.m);
    return p;
}

// The colour world through the matrix onto a new world of `bounds`, white
// where the source does not reach. A 32-bit source is read in place.
GWorld* Fore_Through(GWorld* src, const Rect& src_rect, const a_affine& a, const Rect& bounds) {
    GWorld* out = New_World(32, bounds);
    Fill_World_White(out, bounds);
    Rect sr = Rect_Sect(src_rect, src->pix.bounds);
    if (src->pix.pixelSize != 32) {
        Port_To_Port_Matrix(src, out, src_rect, a.m, nullptr);
    } else if (!Rect_IsEmpty(sr) && !Rect_IsEmpty(bounds)) {
        a_placed p = Place(src->pix, sr, a, out->pix, 4);
        // Views are checked above; a refusal would leave the world white.
        (void)Resample_Affine(p.in, p.out, p.m, 0, 0, p.out.width, p.out.height);
    }
    return out;
}

// The mask through the matrix as 8-bit pixels, read in place from src_rect
// and written straight into a new clear mask, so that no 32-bit copy of it is
// made; clear where the source does not reach.
GWorld* Mask_Through(GWorld* src, const Rect& src_rect, const a_affine& a, const Rect& bounds) {
    GWorld* out = New_World(8, bounds);
    Rect sr = Rect_Sect(src_rect, src->pix.bounds);
    if (Rect_IsEmpty(sr) || Rect_IsEmpty(bounds)) return out;
    a_placed p = Place(src->pix, sr, a, out->pix, 1);
    // Views are checked above; a refusal would leave the mask clear.
    (void)Resample_Affine_Mask(p.in, p.out, p.m, 0, 0, p.out.width, p.out.height);
    return out;
}

// ---- the basic transform ----------------------------------------------------

// Rotation counter-clockwise on the screen (rows run down).
void Rotation_Linear(int angle, double l[4]) {
    double t = angle * kPi / 1800.0, c = std::cos(t), s = std::sin(t);
    l[0] = c, l[1] = s, l[2] = -s, l[3] = c;
}

void Basic_Linear(const a_spec& spec, int sh, int sv, bool do_rotation, double l[4]) {
    double fx = (spec.flipx ? -1.0 : 1.0) * sh / 1000.0;
    double fy = (spec.flipy ? -1.0 : 1.0) * sv / 1000.0;
    double r[4] = {1, 0, 0, 1};
    if (do_rotation && spec.angle != 0) Rotation_Linear(spec.angle, r);
    l[0] = r[0] * fx, l[1] = r[1] * fy, l[2] = r[2] * fx, l[3] = r[3] * fy;
}

// The output size of src through the scalings (and rotation).
void Basic_Size(const a_spec& spec, int sh, int sv, bool do_rotation, const Rect& src, int& w,
                int& h) {
    int sw = Rect_Width(src), sht = Rect_Height(src);
    if (!do_rotation || spec.angle == 0 || Is_Angle_Even(spec.angle)) {
        Point out;
        Apply_Scaling_Pt(sh, sv, Point{int16_t(sht), int16_t(sw)}, out);
        w = out.h, h = out.v;
        if (do_rotation && std::abs(spec.angle) % 1800 == 900) std::swap(w, h);
    } else {
        double l[4];
        Basic_Linear(spec, sh, sv, true, l);
        w = int(std::lround(std::abs(l[0]) * sw + std::abs(l[1]) * sht));
        h = int(std::lround(std::abs(l[2]) * sw + std::abs(l[3]) * sht));
    }
    w = std::max(w, 1), h = std::max(h, 1);
}

// The size guard: pictures too thin grow, pictures too large shrink (the
// scalings of the working copy only).
void Size_Guard(const a_spec& spec, bool do_rotation, const Rect& src, int& sh, int& sv, int& w,
                int& h) {
    for (;;) {
        Basic_Size(spec, sh, sv, do_rotation, src, w, h);
        if (w < 2 && sh < 3000) {
            sh += 100;
        } else if (h < 2 && sv < 3000) {
            sv += 100;
        } else if ((w > 4000 || h > 4000) && sh > 300) {
            sh -= 100;
            sv -= 100;
        } else {
            return;
        }
    }
}

void PixMap_Clear_Fourth(PixMap& pm) {
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(pm, y));
        for (int x = 0; x < Rect_Width(pm.bounds); ++x) row[x] &= 0x00FFFFFFu;
    }
}

// One source pixel to one output pixel, unturned and unmirrored (after the
// size guard, which may have changed the scalings).
bool Is_Identity(const a_spec& spec, int sh, int sv, bool do_rotation) {
    return sh == 1000 && sv == 1000 && !spec.flipx && !spec.flipy &&
           (!do_rotation || spec.angle == 0);
}

// src_rect of a 32-bit map onto a new world of `bounds` (the same size). The
// fourth bytes are cleared, as the resampler leaves those of its white
// destination.
GWorld* Copy_Colour(const PixMap& src, const Rect& src_rect, const Rect& bounds) {
    GWorld* out = New_World(32, bounds);
    if (src.pixelSize != 32) {  // widened through its table, as the resampler reads it
        Pix_To_Pix(src, out->pix, src_rect, bounds, srcCopy, nullptr);
        PixMap_Clear_Fourth(out->pix);
        return out;
    }
    for (int y = 0; y < Rect_Height(bounds); ++y) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(PixMap_Row(src, src_rect.top + y)) +
                            (src_rect.left - src.bounds.left);
        uint32_t* d = reinterpret_cast<uint32_t*>(PixMap_Row(out->pix, bounds.top + y));
        for (int x = 0; x < Rect_Width(bounds); ++x) d[x] = s[x] & 0x00FFFFFFu;
    }
    return out;
}

GWorld* Copy_Mask(const PixMap& src, const Rect& src_rect, const Rect& bounds) {
    GWorld* out = New_World(8, bounds);
    for (int y = 0; y < Rect_Height(bounds); ++y)
        std::memcpy(PixMap_Row(out->pix, bounds.top + y),
                    PixMap_Row(src, src_rect.top + y) + (src_rect.left - src.bounds.left),
                    size_t(Rect_Width(bounds)));
    return out;
}

Rect Source_Rect(const a_spec& spec, const Rect& in_bounds) {
    if (Rect_IsEmpty(spec.subset)) return in_bounds;
    return Rect_IsEmpty(in_bounds) ? spec.subset : Rect_Sect(spec.subset, in_bounds);
}

// ---- shadows and blur -------------------------------------------------------

void Copy_Mask_Rect(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect) {
    Pix_To_Pix(src, dst, src_rect, dst_rect, srcCopy, nullptr);
}

void Map_Mask(PixMap& pm, const Rect& r, const uint8_t map[256]) {
    Rect c = Rect_Sect(r, pm.bounds);
    for (int y = c.top; y < c.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y) + (c.left - pm.bounds.left);
        for (int x = 0; x < Rect_Width(c); ++x) row[x] = map[row[x]];
    }
}

}  // namespace

// ---- helpers ----------------------------------------------------------------

void Fill_World_White(GWorld* world, const Rect& bounds) {
    if (world) PixMap32_Fill(world->pix, bounds, 0x00FFFFFF);
}

void Rects_Around_Rect(const Rect& outer, const Rect& inner, Rect& r1, Rect& r2, Rect& r3,
                       Rect& r4) {
    r1 = Rect{outer.top, outer.left, inner.top, outer.right};
    r2 = Rect{inner.top, outer.left, inner.bottom, inner.left};
    r3 = Rect{inner.top, inner.right, inner.bottom, outer.right};
    r4 = Rect{inner.bottom, outer.left, outer.bottom, outer.right};
}

void Fill_Missing_Pattern(GWorld* world) {
    if (!world) return;
    PixMap& pm = world->pix;
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(pm, y));
        for (int x = 0; x < Rect_Width(pm.bounds); ++x)
            row[x] = (((x >> 3) ^ ((y - pm.bounds.top) >> 3)) & 1) ? 0x00C0C0C0 : 0x00FFFFFF;
    }
}

void Canvas8_To_32(const a_keyset& /*key*/, const PixMap& canv8, GWorld*& canv32) {
    canv32 = New_World(32, canv8.bounds);
    Pix_To_Pix(canv8, canv32->pix, canv8.bounds, canv8.bounds, srcCopy, nullptr);
}

namespace {

void Draw_Part(const a_masked_gworld& mw, GWorld* dst) {
    if (!mw.fore) return;
    if (mw.mask)
        Pix_To_PixM(mw.fore->pix, mw.mask->pix, dst->pix, mw.bounds, mw.bounds, mw.bounds);
    else
        Pix_To_Pix(mw.fore->pix, dst->pix, mw.bounds, mw.bounds, srcCopy, nullptr);
}

}  // namespace

GWorld* Composite_Result(const a_masked_gworld& body, const a_masked_gworld& shad, const Rect& area,
                         uint32_t paper) {
    GWorld* out = New_World(32, area);
    PixMap32_Fill(out->pix, area, paper);
    Draw_Part(shad, out);
    Draw_Part(body, out);
    return out;
}

void Swap_MW(a_masked_gworld& a, a_masked_gworld& b) {
    std::swap(a, b);
}

void Dispose_Masked_World(a_masked_gworld& mw) {
    Dispose_MW(mw);
}

// ---- stages -----------------------------------------------------------------

Rect Calc_Basic_Bounds(const a_spec& spec, bool do_rotation, const Rect& src_rect) {
    int sh = spec.scalingh, sv = spec.scalingv, w = 0, h = 0;
    Size_Guard(spec, do_rotation, src_rect, sh, sv, w, h);
    return Rect{0, 0, int16_t(h), int16_t(w)};
}

void Apply_Basic(a_cache_purpose purpose, const a_spec& spec, bool do_rotation,
                 const a_masked_gworld& in, a_masked_gworld& out) {
    Null_MW(out);
    Rect sr = Source_Rect(spec, in.bounds);
    if (Rect_IsEmpty(sr)) return;
    int sh = std::max<int>(spec.scalingh, 1), sv = std::max<int>(spec.scalingv, 1), w = 0, h = 0;
    Size_Guard(spec, do_rotation, sr, sh, sv, w, h);
    out.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    if (purpose == FOR_SIZING || !in.fore) return;
    GWorld* mask = purpose == FOR_COLLAGE ? nullptr : in.mask;
    if (Is_Identity(spec, sh, sv, do_rotation)) {
        // Nothing to resample: the pixels the resampler would give, copied.
        out.fore = Copy_Colour(in.fore->pix, sr, out.bounds);
        if (mask) out.mask = Copy_Mask(mask->pix, sr, out.bounds);
        return;
    }
    double l[4];
    Basic_Linear(spec, sh, sv, do_rotation, l);
    a_affine a = About(l, (sr.left + sr.right) / 2.0, (sr.top + sr.bottom) / 2.0, w / 2.0, h / 2.0);
    out.fore = Fore_Through(in.fore, sr, a, out.bounds);
    a_gworld_ptr prep_mask;  // a mask made only for this rotation
    if (!mask && do_rotation && spec.angle != 0) {
        a_masked_gworld prep{in.bounds, in.fore, nullptr};
        Rotation_Prep(purpose, prep);
        prep_mask.reset(prep.mask);
        mask = prep.mask;
    }
    if (mask) out.mask = Mask_Through(mask, sr, a, out.bounds);
}

void Rotation_Prep(a_cache_purpose purpose, a_masked_gworld& in) {
    if (purpose != FOR_PRINTING && purpose != FOR_SCREEN) return;
    if (!in.fore || in.mask) return;
    Force_Mask_To_Exist(in.bounds, in);
    PixMap_Frame(in.mask->pix, in.bounds, 127);
}

namespace {

// One world through a rotation matrix onto `bounds`: colour worlds white
// where the source does not reach, masks clear.
GWorld* Rotate_About(GWorld* src, const a_affine& a, const Rect& bounds, bool mask) {
    if (!src) return nullptr;
    return mask ? Mask_Through(src, src->pix.bounds, a, bounds)
                : Fore_Through(src, src->pix.bounds, a, bounds);
}

}  // namespace

void Rotate_GWorld(int angle, const Rect& src_rect, GWorld* src_w, Rect& dst_rect, GWorld*& dst_w) {
    double l[4];
    Rotation_Linear(angle, l);
    a_affine a = About(l, (src_rect.left + src_rect.right) / 2.0,
                       (src_rect.top + src_rect.bottom) / 2.0, 0, 0);
    Rect box = Map_Bounds(a, src_rect);
    a = About(l, (src_rect.left + src_rect.right) / 2.0, (src_rect.top + src_rect.bottom) / 2.0,
              -box.left, -box.top);
    dst_rect = Rect_Offset(box, -box.left, -box.top);
    dst_w = nullptr;
    if (!src_w) return;
    dst_w = Get_GWorld_PixelSize(src_w) == 8 ? Mask_Through(src_w, src_rect, a, dst_rect)
                                             : Fore_Through(src_w, src_rect, a, dst_rect);
}

void Apply_Rotation(a_cache_purpose purpose, int angle, a_masked_gworld& in, a_masked_gworld& out) {
    Rotation_Prep(purpose, in);
    GWorld* fore = nullptr;
    Rotate_GWorld(angle, in.bounds, in.fore, out.bounds, fore);
    GWorld* mask = nullptr;
    if (in.mask) Rotate_GWorld(angle, in.bounds, in.mask, out.bounds, mask);
    Dispose_MW(in);
    out.fore = fore;
    out.mask = mask;
}

void Colorize_Symbol(const a_win_pixel32& symbol_color, const a_masked_gworld& in,
                     a_masked_gworld& out) {
    Null_MW(out);
    out.bounds = in.bounds;
    if (!in.fore) return;
    out.fore = New_World(32, in.bounds);
    PixMap32_Fill(out.fore->pix, in.bounds, Word(symbol_color));
    a_pixmap_owner grey;
    if (in.fore->pix.pixelSize == 8) {
        PixMap_Copy(in.fore->pix, *grey);
    } else {
        PixMap_Gray(in.fore->pix, *grey);  // darkness: white is clear
    }
    out.mask = New_World(8, in.bounds);
    Pix_To_Pix(*grey, out.mask->pix, grey->bounds, in.bounds, srcCopy, nullptr);
}

void Apply_Knockout(int tolerance, const PixMap& src, PixMap& msk) {
    Rect r = Rect_Sect(src.bounds, msk.bounds);
    // Three times the square: (250, 252, 255) is near-white at tolerance 5
    // while (240, 240, 240) is not.
    int t2 = 3 * tolerance * tolerance;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* s = PixMap_Row(src, y) + 4 * (r.left - src.bounds.left);
        uint8_t* m = PixMap_Row(msk, y) + (r.left - msk.bounds.left);
        for (int x = 0; x < Rect_Width(r); ++x) {
            int db = 255 - s[4 * x], dg = 255 - s[4 * x + 1], dr = 255 - s[4 * x + 2];
            if (dr * dr + dg * dg + db * db <= t2) m[x] = 0;
        }
    }
    // Solid pixels beside clear ones soften; read from a copy so marks do not chain.
    int w = Rect_Width(msk.bounds), h = Rect_Height(msk.bounds);
    std::vector<uint8_t> cls(size_t(w) * h);  // 0 clear, 2 solid, 1 partial
    for (int y = 0; y < h; ++y) {
        const uint8_t* m = PixMap_Row(msk, msk.bounds.top + y);
        for (int x = 0; x < w; ++x) cls[size_t(y) * w + x] = m[x] == 0 ? 0 : m[x] == 255 ? 2 : 1;
    }
    auto at = [&](int x, int y) { return cls[size_t(y) * w + x]; };
    for (int y = 0; y < h; ++y) {
        uint8_t* m = PixMap_Row(msk, msk.bounds.top + y);
        for (int x = 0; x < w; ++x) {
            if (at(x, y) != 2) continue;
            bool edge = (x > 0 && at(x - 1, y) == 0) || (x + 1 < w && at(x + 1, y) == 0) ||
                        (y > 0 && at(x, y - 1) == 0) || (y + 1 < h && at(x, y + 1) == 0);
            if (edge) m[x] = 0x50;
        }
    }
}

void Apply_Knockout_W(int tolerance, GWorld* srcw, GWorld* mskw) {
    if (srcw && mskw) Apply_Knockout(tolerance, srcw->pix, mskw->pix);
}

void Apply_Opacity(int opacity, const Rect& bounds, a_masked_gworld& mw) {
    Force_Mask_To_Exist(bounds, mw);
    if (!mw.mask) return;
    uint8_t map[256];
    for (int v = 0; v < 256; ++v) map[v] = uint8_t(v * opacity / 100);
    Map_Mask(mw.mask->pix, mw.mask->pix.bounds, map);
}

void Blur_PixMap8(PixMap& pix, const Rect& subset, int radius) {
    Rect r = Rect_Sect(subset, pix.bounds);
    int w = Rect_Width(r), h = Rect_Height(r);
    if (w > 8000) InternalError();
    if (w <= 0 || h <= 0) return;
    // Separable: exact horizontal sums, then the vertical pass rounds once.
    std::vector<uint16_t> hs(size_t(w) * h);
    for (int pass = 0; pass < radius; ++pass) {
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = PixMap_Row(pix, r.top + y) + (r.left - pix.bounds.left);
            uint16_t* o = &hs[size_t(y) * w];
            for (int x = 0; x < w; ++x) {
                int left = x > 0 ? row[x - 1] : 0, right = x + 1 < w ? row[x + 1] : 0;
                o[x] = uint16_t(left + 2 * row[x] + right);
            }
        }
        for (int y = 0; y < h; ++y) {
            uint8_t* row = PixMap_Row(pix, r.top + y) + (r.left - pix.bounds.left);
            const uint16_t* up = y > 0 ? &hs[size_t(y - 1) * w] : nullptr;
            const uint16_t* mid = &hs[size_t(y) * w];
            const uint16_t* down = y + 1 < h ? &hs[size_t(y + 1) * w] : nullptr;
            for (int x = 0; x < w; ++x) {
                int s = 2 * mid[x] + (up ? up[x] : 0) + (down ? down[x] : 0);
                row[x] = uint8_t((s + 8) >> 4);
            }
        }
    }
}

void Apply_Complex_Shadow(int dx, int dy, int radius, const uint8_t map[256],
                          const a_win_pixel32& color, a_masked_gworld& in, a_masked_gworld& body,
                          a_masked_gworld& shad) {
    Null_MW(shad);
    Rect moved = Rect_Offset(in.bounds, dx, dy);
    shad.bounds = Rect_Inset(moved, -radius);
    body = in;
    Null_MW(in);
    if (!body.fore || !body.mask) return;
    shad.fore = New_World(32, shad.bounds);
    PixMap32_Fill(shad.fore->pix, shad.bounds, Word(color));
    shad.mask = New_World(8, shad.bounds);
    Copy_Mask_Rect(body.mask->pix, shad.mask->pix, body.bounds, moved);
    Map_Mask(shad.mask->pix, moved, map);
    Blur_PixMap8(shad.mask->pix, shad.bounds, radius);
}

void Apply_Inline_Shadow(int dx, int dy, int radius, const uint8_t map[256],
                         const a_win_pixel32& color, a_masked_gworld& in, a_masked_gworld& body) {
    Null_MW(body);
    Rect inner = in.bounds;
    Rect shadow = Rect_Inset(Rect_Offset(inner, dx, dy), -radius);
    body.bounds = Rect_Union(inner, shadow);
    if (!in.fore) {
        Dispose_MW(in);
        return;
    }
    body.fore = New_World(32, body.bounds);
    PixMap32_Fill(body.fore->pix, body.bounds, Word(color));
    Pix_To_Pix(in.fore->pix, body.fore->pix, inner, inner, srcCopy, nullptr);
    body.mask = New_World(8, body.bounds);
    // The shadow rectangle blurred once over the whole area, then kept in the
    // strips around the picture only.
    a_gworld_ptr soft(New_World(8, body.bounds));
    PixMap8_Fill(soft->pix, Rect_Offset(inner, dx, dy), map[255]);
    Blur_PixMap8(soft->pix, body.bounds, radius);
    Rect strips[4];
    Rects_Around_Rect(body.bounds, inner, strips[0], strips[1], strips[2], strips[3]);
    for (const Rect& s : strips)
        if (!Rect_IsEmpty(s)) Copy_Mask_Rect(soft->pix, body.mask->pix, s, s);
    soft.reset();
    PixMap8_Fill(body.mask->pix, inner, 255);
    Dispose_MW(in);
}

void Apply_Shadow(int shad_dx, int shad_dy, int shad_opacity, int shad_radius,
                  const a_win_pixel32& shad_color, a_masked_gworld& in, a_masked_gworld& body,
                  a_masked_gworld& shad) {
    uint8_t map[256];
    for (int v = 0; v < 256; ++v) map[v] = uint8_t(v * shad_opacity / 100);
    Null_MW(shad);
    if (in.mask || !in.fore) {
        Apply_Complex_Shadow(shad_dx, shad_dy, shad_radius, map, shad_color, in, body, shad);
    } else {
        Apply_Inline_Shadow(shad_dx, shad_dy, shad_radius, map, shad_color, in, body);
    }
}

namespace {

// Body and shadow turn together about the body's centre, so that the shadow
// keeps its place beside the picture; the body's box starts at (0, 0).
void Rotate_Both(a_cache_purpose purpose, int angle, a_masked_gworld& body, a_masked_gworld& shad) {
    Rotation_Prep(purpose, body);
    double l[4];
    Rotation_Linear(angle, l);
    double cx = (body.bounds.left + body.bounds.right) / 2.0;
    double cy = (body.bounds.top + body.bounds.bottom) / 2.0;
    Rect box = Map_Bounds(About(l, cx, cy, 0, 0), body.bounds);
    a_affine a = About(l, cx, cy, -box.left, -box.top);
    auto turn = [&](a_masked_gworld& mw) {
        Rect nb = Map_Bounds(a, mw.bounds);
        GWorld* fore = Rotate_About(mw.fore, a, nb, false);
        GWorld* mask = Rotate_About(mw.mask, a, nb, true);
        Dispose_MW(mw);
        mw = a_masked_gworld{nb, fore, mask};
    };
    turn(body);
    if (!Rect_IsEmpty(shad.bounds)) turn(shad);
}

}  // namespace

namespace {

// Whether the rendered body would carry a mask when the shadow is made, so
// that sizing picks the same kind of shadow as the screen does.
bool Sizing_Has_Mask(const a_spec& spec, const a_masked_gworld& in, bool prerotate) {
    if (in.mask || spec.is_symbol || spec.wtransp || spec.opacity != 100) return true;
    if (prerotate && spec.angle != 0) return true;  // the screen's rotation prepares one
    if (spec.corner != 0 || spec.feather != 0) return true;
    return spec.edge_kind == EDGE_SCALLOP || spec.edge_kind == EDGE_ROUGH;
}

}  // namespace

void Apply_Effects(a_cache_purpose purpose, const a_spec& spec, const a_masked_gworld& in_arg,
                   a_masked_gworld& body, a_masked_gworld& shad) {
    Null_MW(body);
    Null_MW(shad);
    a_masked_gworld in = in_arg;
    if (purpose == FOR_SIZING) in.fore = in.mask = nullptr;
    if (purpose == FOR_COLLAGE) in.mask = nullptr;
    bool prerotate = Is_Angle_Even(spec.angle) || (!Is_Edge_Used(spec) && !spec.shadf);
    a_masked_gworld_owner symbol;
    if (spec.is_symbol) {
        Colorize_Symbol(spec.symbol_color, in, *symbol);
        in = *symbol;
    }
    Apply_Basic(purpose, spec, prerotate, in, body);
    symbol.reset();  // before the later steps make worlds of their own
    if (body.fore) {
        if (spec.wtransp) {
            Force_Mask_To_Exist(body.bounds, body);
            Apply_Knockout_W(5, body.fore, body.mask);
        }
        if (spec.darkness != 50) PixMap_Darkness(body.fore->pix, spec.darkness);
        if (spec.color_sat != 50 || spec.color_dist != 0)
            PixMap32_HSV(body.fore->pix, spec.color_hue, spec.color_dist, 50, spec.color_sat);
        if (spec.invert) PixMap_Invert(body.fore->pix);
    }
    if (Is_Edge_Used(spec)) {
        a_masked_gworld edged;
        Apply_Edge(purpose, spec, body, edged);
        body = edged;
    }
    if (spec.opacity != 100 && body.fore) Apply_Opacity(spec.opacity, body.bounds, body);
    if (spec.shadf) {
        a_masked_gworld input = body;
        Null_MW(body);
        uint8_t map[256];
        for (int v = 0; v < 256; ++v) map[v] = uint8_t(v * spec.shad_opacity / 100);
        bool masked = input.fore ? input.mask != nullptr : Sizing_Has_Mask(spec, in_arg, prerotate);
        if (masked)
            Apply_Complex_Shadow(spec.shad_dx, spec.shad_dy, spec.shad_radius, map, a_win_pixel32{},
                                 input, body, shad);
        else
            Apply_Inline_Shadow(spec.shad_dx, spec.shad_dy, spec.shad_radius, map, a_win_pixel32{},
                                input, body);
    }
    if (!prerotate) Rotate_Both(purpose, spec.angle, body, shad);
}
