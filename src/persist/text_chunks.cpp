#include "persist/text_chunks.h"

#include <array>

#include "persist/chunk_stream.h"

namespace {

constexpr int kCharBytes = 35;
constexpr int kCharBytes400 = 15;
constexpr int kCharPadBytes = 13;

template <typename R>
auto Shorts(R& o) {
    return std::array{&o.size,          &o.lineangle,    &o.polarangle,    &o.radius,
                      &o.hspacing,      &o.vspacing,     &o.stretch_h,     &o.stretch_v,
                      &o.skew_h,        &o.skew_v,       &o.glow_radius,   &o.glow_opacity,
                      &o.glow_style,    &o.shad_dx,      &o.shad_dy,       &o.shad_opacity,
                      &o.shad_radius,   &o.outl_radius,  &o.spoke_outerd,  &o.spoke_thickness,
                      &o.spoke_totangle, &o.spoke_twist, &o.contour_margin, &o.targwidth,
                      &o.opacity};
}
template <typename R>
auto Flags(R& o) { return std::array{&o.boldf, &o.italf, &o.outlf, &o.glowf, &o.shadf, &o.undf}; }
template <typename R>
auto Colors(R& o) { return std::array{&o.base_color, &o.glow_color, &o.shad_color, &o.outl_color}; }

}  // namespace

void Write_XYL(const a_om_rec& om, int32_t n) {
    static const uint8_t zeros[kCharPadBytes] = {};
    for (int32_t i = 1; i <= n; ++i) {
        const a_xyl_char& c = om.xyl[i];
        Chunk_WriteCard16(c.cc_char);
        Chunk_WriteCard32(c.cc_fontx);
        Chunk_WritePixel32(c.cc_color);
        for (int16_t v : {c.cc_nudgex, c.cc_nudgey, c.cc_nudget, c.cc_size}) Chunk_WriteInt16(v);
        for (bool b : {c.cc_boldf, c.cc_italf, c.cc_undf, c.cc_pad}) Chunk_WriteBoolean(b);
        Chunk_WriteRaw(sizeof zeros, zeros);
    }
}

void Read_XYL(a_om_rec& om, int32_t n) {
    uint8_t pad[kCharPadBytes];
    for (int32_t i = 1; i <= n; ++i) {
        a_xyl_char& c = om.xyl[i];
        Set_XYL_Defaults(c);
        uint16_t ch = 0;
        Chunk_ReadCard16(ch);
        c.cc_char = char16_t(ch);
        Chunk_ReadCard32(c.cc_fontx);
        Chunk_ReadPixel32(c.cc_color);
        for (int16_t* v : {&c.cc_nudgex, &c.cc_nudgey, &c.cc_nudget, &c.cc_size}) Chunk_ReadInt16(*v);
        for (bool* b : {&c.cc_boldf, &c.cc_italf, &c.cc_undf, &c.cc_pad}) Chunk_ReadBoolean(*b);
        Chunk_ReadRaw(sizeof pad, pad);
    }
    om.nxyl = n;
}

void Read_XYL_400S(a_om_rec& om, int32_t n) {
    for (int32_t i = 1; i <= n; ++i) {
        a_xyl_char& c = om.xyl[i];
        c = a_xyl_char{};
        c.cc_size = 0;  // every field the old form lacks is 0
        uint16_t ch = 0;
        int16_t dropped = 0;
        uint8_t cat = 0;
        Chunk_ReadCard16(ch);
        c.cc_char = char16_t(ch);
        for (int k = 0; k < 3; ++k) Chunk_ReadInt16(dropped);
        Chunk_ReadInt16(c.mm_x);
        Chunk_ReadInt16(c.mm_y);
        Chunk_ReadInt16(c.mm_t);
        Chunk_ReadRaw(1, &cat);
        c.mm_cat = cat <= CC_IGNORE ? cat : uint8_t(CC_REGULAR);
    }
    om.nxyl = n;
}

bool Add_End_Mark(a_om_rec& om) {
    if (om.nxyl >= 1 && om.xyl[om.nxyl].cc_char == CHAR_EOS) return true;
    if (om.nxyl >= MAX_NXYL) return false;
    a_xyl_char& end = om.xyl[++om.nxyl];
    Set_XYL_Defaults(end);
    end.cc_char = CHAR_EOS;
    end.mm_cat = CC_EOS;
    return true;
}

void Write_OM(const a_om_rec& om) {
    Chunk_WriteInt16(OM_RECORD_VERSION);
    Chunk_WriteRect(om.bbox);
    Chunk_WritePoint(om.anchor);
    Chunk_WritePoint(om.rotcenter);
    for (const bool* b : Flags(om)) Chunk_WriteBoolean(*b);
    Chunk_WriteRaw(1, &om.layout);
    Chunk_WriteRaw(1, &om.justify);
    Chunk_WriteCard32(om.fontx);
    for (const int16_t* v : Shorts(om)) Chunk_WriteInt16(*v);
    for (const a_win_pixel32* c : Colors(om)) Chunk_WritePixel32(*c);
    const int32_t n = om.nxyl >= 0 && om.nxyl <= MAX_NXYL ? om.nxyl : 0;
    Chunk_WriteInt32(n);
    Chunk_WriteInt16(XYL_VERSION);
    Write_XYL(om, n);
    Chunk_WriteCard16(DISC_SENTINEL);
}

void Read_OM(a_om_rec& om, int16_t table_version, a_defect_set& defects) {
    int16_t version = 0;
    Chunk_ReadInt16(version);
    if (version != OM_RECORD_VERSION) return Add_Defect(defects, DEFECT_CHECKSUM);
    Chunk_ReadRect(om.bbox);
    Chunk_ReadPoint(om.anchor);
    Chunk_ReadPoint(om.rotcenter);
    for (bool* b : Flags(om)) Chunk_ReadBoolean(*b);
    uint8_t layout = 0, justify = 0;
    Chunk_ReadRaw(1, &layout);
    Chunk_ReadRaw(1, &justify);
    if (layout >= NLAYOUTS || justify > JUST_RIGHT) return Add_Defect(defects, DEFECT_CHECKSUM);
    om.layout = layout;
    om.justify = justify;
    Chunk_ReadCard32(om.fontx);
    for (int16_t* v : Shorts(om)) Chunk_ReadInt16(*v);
    for (a_win_pixel32* c : Colors(om)) Chunk_ReadPixel32(*c);
    int32_t n = 0;
    Chunk_ReadInt32(n);
    const int per_char = table_version >= 2 ? kCharBytes : kCharBytes400;
    if (n < 0 || n > MAX_NXYL || int64_t(n) * per_char > int64_t(g_chunk.end) - int64_t(g_chunk.pos))
        return Add_Defect(defects, DEFECT_CHECKSUM);
    if (table_version >= 2) {
        int16_t xyl_version = 0;
        Chunk_ReadInt16(xyl_version);
        if (xyl_version != XYL_VERSION) return Add_Defect(defects, DEFECT_CHECKSUM);
        Read_XYL(om, n);
    } else {
        Read_XYL_400S(om, n);
    }
    // A full block whose last character is not the end mark holds 4000
    // characters: one more than a block may.
    if (!Add_End_Mark(om)) return Add_Defect(defects, DEFECT_CHECKSUM);
    uint16_t sentinel = 0;
    Chunk_ReadCard16(sentinel);
    if (sentinel != DISC_SENTINEL) Add_Defect(defects, DEFECT_CHECKSUM);
    OM_Forget_Caches(om);
    om.cache.frame.max = MAX_FRAME_POINTS;
    om.cache.frame.npoints = 0;
    om.noverflows = 0;
}
