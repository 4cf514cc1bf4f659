#include "templates/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/region.h"
#include "templates/expand.h"
#include "templates/mapping.h"

const a_shape UNIT_TO_SHAPE[NUNIT_KINDS] = {
    SHAPE_NOTHING,    // UNIT_EMPTY
    SHAPE_CIRCLE,     // UNIT_CIRCLE
    SHAPE_OVAL,       // UNIT_OVAL
    SHAPE_ROUNDRECT,  // UNIT_RECT
    SHAPE_ROUNDRECT,  // UNIT_VISITING
    SHAPE_BOOKLET,    // UNIT_VISITING2
    SHAPE_RING,       // UNIT_CD
    SHAPE_RING,       // UNIT_CD_CORE
    SHAPE_BOOKLET,    // UNIT_CD_WALLET
    SHAPE_RING,       // UNIT_MINICD_RING
    SHAPE_BIZHOCKEY,  // UNIT_MINICD_HOCKEY
    SHAPE_BIZRECT,    // UNIT_MINICD_RECT
    SHAPE_RECT,       // UNIT_MINICD_LID1
    SHAPE_BOOKLET,    // UNIT_MINICD_LID2
    SHAPE_RECT,       // UNIT_JEWEL_LID1
    SHAPE_BOOKLET,    // UNIT_JEWEL_LID2
    SHAPE_MULTIPART,  // UNIT_JEWEL_LID3
    SHAPE_SLIMLINE,   // UNIT_JEWEL_SLIMLINE
    SHAPE_RECT,       // UNIT_JEWEL_SPINE
    SHAPE_JEWELBASE,  // UNIT_JEWEL_BASE
    SHAPE_RECT,       // UNIT_SUPER_BASE
    SHAPE_RECT,       // UNIT_SUPER_DVD_BASE
    SHAPE_BOOKLET,    // UNIT_SUPER_INSERT2
    SHAPE_RECT,       // UNIT_DVDBOX_INSERT
    SHAPE_BOOKLET,    // UNIT_DVDBOX_INSERT2
    SHAPE_BOOKLET,    // UNIT_DVDBOX_WRAP
    SHAPE_AUDIOFACE,  // UNIT_AUDIO_FACE
    SHAPE_RECT,       // UNIT_AUDIO_SPINE
    SHAPE_MULTIPART,  // UNIT_AUDIO_JCARD
    SHAPE_ROUNDRECT,  // UNIT_AUDIO_BOX
    SHAPE_ROUNDRECT,  // UNIT_DAT_FACE
    SHAPE_ROUNDRECT,  // UNIT_DAT_SPINE
    SHAPE_MULTIPART,  // UNIT_DAT_JCARD
    SHAPE_ROUNDRECT,  // UNIT_VHS_FACE
    SHAPE_ROUNDRECT,  // UNIT_VHS_SPINE
    SHAPE_BOOKLET,    // UNIT_VHS_WRAP
    SHAPE_MULTIPART,  // UNIT_VHS_THIRD
    SHAPE_MULTIPART,  // UNIT_VHS_SLEEVE
    SHAPE_ROUNDRECT,  // UNIT_BETACAM_FACE
    SHAPE_ROUNDRECT,  // UNIT_BETACAM_SPINE
    SHAPE_MULTIPART,  // UNIT_BETACAM_INSERT
    SHAPE_ROUNDRECT,  // UNIT_UMATIC_FACE
    SHAPE_ROUNDRECT,  // UNIT_UMATIC_SPINE
    SHAPE_MULTIPART,  // UNIT_UMATIC_INSERT
    SHAPE_ROUNDRECT,  // UNIT_MINIDV_FACE
    SHAPE_ROUNDRECT,  // UNIT_MINIDV_SPINE
    SHAPE_MULTIPART,  // UNIT_MINIDV_INSERT
    SHAPE_ROUNDRECT,  // UNIT_DVCAM_FACE
    SHAPE_ROUNDRECT,  // UNIT_DVCAM_SPINE
    SHAPE_MULTIPART,  // UNIT_DVCAM_INSERT
    SHAPE_ROUNDRECT,  // UNIT_DVCPRO_FACE
    SHAPE_ROUNDRECT,  // UNIT_DVCPRO_SPINE
    SHAPE_MULTIPART,  // UNIT_DVCPRO_INSERT
    SHAPE_ROUNDRECT,  // UNIT_STATUS
    SHAPE_ROUNDRECT,  // UNIT_HI8_FACE
    SHAPE_MULTIPART,  // UNIT_HI8_JCARD
    SHAPE_ROUNDRECT,  // UNIT_MD_FACEL
    SHAPE_ROUNDRECT,  // UNIT_MD_FACE
    SHAPE_ROUNDRECT,  // UNIT_MD_SPINE
    SHAPE_ROUNDRECT,  // UNIT_8MM_FACE
    SHAPE_ROUNDRECT,  // UNIT_8MM_SPINE
    SHAPE_RECT,       // UNIT_FLOPPY
    SHAPE_ROUNDRECT,  // UNIT_LAMINATED
    SHAPE_ROUNDRECT,  // UNIT_VIDEOTITLE
    SHAPE_MULTIPART,  // UNIT_XDCAM_INSERT
    SHAPE_RECT,       // UNIT_XDCAM_FACE
    SHAPE_BOOKLET,    // UNIT_VCD_WRAP
    SHAPE_RECT,       // UNIT_D5_SPINE
    SHAPE_MULTIPART,  // UNIT_D5_INSERT
    SHAPE_BOOKLET,    // UNIT_BLURAY_WRAP
};

a_shape Unit_Shape(int kind) {
    return kind >= 0 && kind < NUNIT_KINDS ? UNIT_TO_SHAPE[kind] : SHAPE_NOTHING;
}

void Map_Unit(a_iunit& iu, const a_unit& xu) {
    const a_coord_mapping& m = Top_Mapping();
    auto scale = [&](float v) { return Round_Pixel(double(v) * m.multx); };
    iu.shape = Unit_Shape(xu.kind);
    iu.bbox = Map_FRect(xu.bbox);
    iu.ibleed = Rect{scale(xu.bleed.top), scale(xu.bleed.left), scale(xu.bleed.bottom),
                     scale(xu.bleed.right)};
    for (int k = 0; k < 4; ++k) iu.imeas[k] = scale(xu.meas[k]);
}

Rect Centred_Circle_Box(const Rect& box, int diameter) {
    Point c = Rect_Centre(box);
    int top = c.v - diameter / 2, left = c.h - diameter / 2;
    return Rect{int16_t(top), int16_t(left), int16_t(top + diameter), int16_t(left + diameter)};
}

namespace {

// rgn := rgn minus the circle of `diameter` at the box's centre.
void Cut_Hole(a_region* rgn, const Rect& box, int diameter) {
    if (diameter <= 0) return;
    a_region_ptr hole = Make_Region();
    Rgn_SetOval(hole.get(), Centred_Circle_Box(box, diameter));
    Rgn_Diff(rgn, hole.get(), rgn);
}

// The tape window of an audio face: a slot with round ends, shrunk by the
// bleed on every side so that artwork bleeds into the cut-out.
void Audio_Window_Region(a_region* win, const a_iunit& iu) {
    const Rect& b = iu.bbox;
    int w = iu.imeas[2] - iu.ibleed.left - iu.ibleed.right;
    int hv = iu.imeas[3] - iu.ibleed.top - iu.ibleed.bottom;
    Rgn_SetEmpty(win);
    if (w <= 0 || hv <= 0) return;
    int r = hv / 2;
    int left = (b.left + b.right - w) / 2, right = left + w;
    int top = b.top + iu.imeas[1] + 2 * iu.ibleed.top, bottom = top + hv;
    a_region_ptr part = Make_Region();
    Rgn_SetOval(win, Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(left + hv)});
    Rgn_SetOval(part.get(), Rect{int16_t(top), int16_t(right - hv), int16_t(bottom), int16_t(right)});
    Rgn_Union(win, part.get(), win);
    if (right - r + 1 > left + r - 1) {
        Rgn_SetRect(part.get(), Rect{int16_t(top), int16_t(left + r - 1), int16_t(bottom),
                                     int16_t(right - r + 1)});
        Rgn_Union(win, part.get(), win);
    }
}

}  // namespace

int Audio_Slant(const Rect& bbox) { return Rect_Height(bbox) * 7 / 64; }

void Calc_Ring_Region(a_region* rgn, const a_iunit& iu, bool holes) {
    Rgn_SetOval(rgn, iu.bbox);
    if (holes) Cut_Hole(rgn, iu.bbox, iu.imeas[0]);
}

void Calc_Audio_Region(a_region* rgn, const a_iunit& iu, bool holes) {
    const Rect& b = iu.bbox;
    int16_t s = int16_t(Audio_Slant(b));
    const Point pts[6] = {{b.bottom, b.left}, {int16_t(b.top + s), b.left},
                          {b.top, int16_t(b.left + s)}, {b.top, int16_t(b.right - s)},
                          {int16_t(b.top + s), b.right}, {b.bottom, b.right}};
    Rgn_SetPoly(rgn, pts, 6);
    if (!holes) return;
    a_region_ptr win = Make_Region();
    Audio_Window_Region(win.get(), iu);
    Rgn_Diff(rgn, win.get(), rgn);
}

void Calc_BizHockey_Region(a_region* rgn, const a_iunit& iu, bool holes) {
    Rgn_SetRect(rgn, iu.bbox);
    if (!holes) return;
    a_region_ptr circle = Make_Region();
    Rgn_SetOval(circle.get(), Centred_Circle_Box(iu.bbox, Rect_Width(iu.bbox)));
    Rgn_Sect(rgn, circle.get(), rgn);
    Cut_Hole(rgn, iu.bbox, iu.imeas[0]);
}

void Calc_BizRect_Region(a_region* rgn, const a_iunit& iu, bool holes) {
    Rgn_SetRoundRect(rgn, iu.bbox, 2 * iu.imeas[1], 2 * iu.imeas[1]);
    if (holes) Cut_Hole(rgn, iu.bbox, iu.imeas[0]);
}

void Calc_Unit_Region(a_region* rgn, const a_iunit& iu, bool holes) {
    switch (iu.shape) {
        case SHAPE_NOTHING: Rgn_SetEmpty(rgn); break;
        case SHAPE_ROUNDRECT:
            if (iu.imeas[0] < 2) Rgn_SetRect(rgn, iu.bbox);
            else Rgn_SetRoundRect(rgn, iu.bbox, 2 * iu.imeas[0], 2 * iu.imeas[0]);
            break;
        case SHAPE_CIRCLE:
        case SHAPE_OVAL: Rgn_SetOval(rgn, iu.bbox); break;
        case SHAPE_RING: Calc_Ring_Region(rgn, iu, holes); break;
        case SHAPE_AUDIOFACE: Calc_Audio_Region(rgn, iu, holes); break;
        case SHAPE_BIZHOCKEY: Calc_BizHockey_Region(rgn, iu, holes); break;
        case SHAPE_BIZRECT: Calc_BizRect_Region(rgn, iu, holes); break;
        default: Rgn_SetRect(rgn, iu.bbox); break;
    }
}

namespace {

// rgn := the shape of `unit` mapped through `m`; not_rgn := the rest of `bounds`.
void Shape_And_Rest(a_region* not_rgn, a_region* rgn, const Rect& bounds,
                    const a_coord_mapping& m, const a_unit& unit, bool holes) {
    Push_Mapping(m);
    a_iunit iu;
    Map_Unit(iu, unit);
    Pop_Mapping();
    Calc_Unit_Region(rgn, iu, holes);
    Rgn_SetRect(not_rgn, bounds);
    Rgn_Diff(not_rgn, rgn, not_rgn);
}

}  // namespace

void Calc_Hole_Rgns(a_region* not_rgn, a_region* rgn, const Rect& bounds, const a_unit& funit,
                    bool holes) {
    a_coord_mapping m;
    Calc_Unit_Mapping(funit, bounds, m);
    Shape_And_Rest(not_rgn, rgn, bounds, m, funit, holes);
}

void LS_Coverage_Diameters(int coverage, float& inner, float& outer) {
    switch (coverage) {
        case 1: inner = 62.8f, outer = 73.0f; break;
        case 2: inner = 50.1f, outer = 73.0f; break;
        default: inner = 47.6f, outer = 117.4f; break;
    }
}

void Calc_LS_Rgns(a_region* not_rgn, a_region* rgn, const Rect& bounds, int coverage) {
    a_unit disc;
    disc.kind = UNIT_CD;
    disc.bbox = a_frect{0, 0, 117.4f, 117.4f};
    a_coord_mapping m;
    Calc_Unit_Mapping(disc, bounds, m);
    float d = 0, D = 0;
    LS_Coverage_Diameters(coverage, d, D);
    a_unit ring = disc;
    ring.bbox = a_frect{58.7f - D / 2, 58.7f - D / 2, 58.7f + D / 2, 58.7f + D / 2};
    ring.meas[0] = d;
    Shape_And_Rest(not_rgn, rgn, bounds, m, ring, true);
}

bool Has_Outer_Mask(const a_unit& unit) {
    switch (Unit_Shape(unit.kind)) {
        case SHAPE_ROUNDRECT: return unit.meas[0] != 0;
        case SHAPE_RING:
        case SHAPE_AUDIOFACE:
        case SHAPE_BIZHOCKEY:
        case SHAPE_BIZRECT: return true;
        default: return false;
    }
}

void Calc_Paper_Rect(a_frect& fbox, const a_template& t) {
    float w = t.papersize.x, h = t.papersize.y;
    if (Has_Flag(t.tflags, IS_LANDSCAPE)) std::swap(w, h);
    fbox = a_frect{0, 0, w, h};
}

namespace {
bool Is_Disc_Kind(int kind) {
    return kind == UNIT_CD || kind == UNIT_CD_CORE || kind == UNIT_MINICD_RING ||
           kind == UNIT_MINICD_HOCKEY || kind == UNIT_MINICD_RECT;
}
}  // namespace

a_unit Calc_Print_Unit(const a_unit& in, bool bleed) {
    a_unit out = in;
    if (!bleed) {
        out.bleed = a_frect{};
        return out;
    }
    out.bbox.left -= in.bleed.left;
    out.bbox.top -= in.bleed.top;
    out.bbox.right += in.bleed.right;
    out.bbox.bottom += in.bleed.bottom;
    if (Is_Disc_Kind(in.kind)) out.meas[0] = in.meas[0] - in.bleed.top - in.bleed.bottom;
    return out;
}

bool Calc_Circular_Mask(const a_port_bits& mask, const a_unit& spec, int outer_feather,
                        int inner_feather, uint8_t outer_translucency) {
    int W = Rect_Width(mask.bounds), H = Rect_Height(mask.bounds);
    double boxw = double(spec.bbox.right) - spec.bbox.left;
    double F = boxw + spec.bleed.left + spec.bleed.right;
    if (mask.depth != 8 || !mask.base || W <= 0 || H <= 0 || mask.rowbytes < W || !(F > 0))
        return false;
    long D = std::lround(W * boxw / F), d = std::lround(W * double(spec.meas[0]) / F);
    long Ro = D / 2, Rs = Ro - long(outer_feather) * W / 100;
    long ri = d / 2, rl = ri + long(inner_feather) * W / 100;
    double ko = Ro != Rs ? 255.0 / double(Ro - Rs) : 0, ki = rl != ri ? 255.0 / double(rl - ri) : 0;
    int cc = W / 2, cr = H / 2;
    auto value = [&](int col, int row) -> uint8_t {
        double dx = col - cc + 0.5, dy = row - cr + 0.5, s = dx * dx + dy * dy;
        double v;
        if (s > double(Ro * Ro) || s < double(ri * ri)) return outer_translucency;
        if (s > double(rl * rl)) v = s < double(Rs * Rs) ? 0 : ko * (std::sqrt(s) - double(Rs));
        else v = 255 - ki * (std::sqrt(s) - double(ri));
        return uint8_t(std::clamp(std::lround(v), 0L, 255L));
    };
    int qw = (W + 1) / 2, qh = (H + 1) / 2;
    for (int row = 0; row < qh; ++row) {
        uint8_t* top = mask.base + std::ptrdiff_t(row) * mask.rowbytes;
        uint8_t* bottom = mask.base + std::ptrdiff_t(H - 1 - row) * mask.rowbytes;
        for (int col = 0; col < qw; ++col) {
            uint8_t v = value(col, row);
            top[col] = top[W - 1 - col] = bottom[col] = bottom[W - 1 - col] = v;
        }
    }
    return true;
}
