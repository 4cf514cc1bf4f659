#include "persist/text_chunks.h"

#include <array>
#include <map>
#include <utility>

#include "persist/chunk_stream.h"

namespace {

std::map<uint32_t, a_text_chunk_rec> g_kept;

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

void Write_XYL(const std::vector<a_text_char>& chars) {
    static const uint8_t zeros[kCharPadBytes] = {};
    for (const a_text_char& c : chars) {
        Chunk_WriteCard16(c.cc_char);
        Chunk_WriteCard32(c.cc_fontx);
        Chunk_WritePixel32(c.cc_color);
        for (int16_t v : {c.cc_nudgex, c.cc_nudgey, c.cc_nudget, c.cc_size}) Chunk_WriteInt16(v);
        for (bool b : {c.cc_boldf, c.cc_italf, c.cc_undf, c.cc_pad}) Chunk_WriteBoolean(b);
        Chunk_WriteRaw(sizeof zeros, zeros);
    }
}

void Read_XYL(std::vector<a_text_char>& chars, uint32_t n) {
    chars.assign(n, a_text_char{});
    uint8_t pad[kCharPadBytes];
    for (a_text_char& c : chars) {
        Chunk_ReadCard16(c.cc_char);
        Chunk_ReadCard32(c.cc_fontx);
        Chunk_ReadPixel32(c.cc_color);
        for (int16_t* v : {&c.cc_nudgex, &c.cc_nudgey, &c.cc_nudget, &c.cc_size}) Chunk_ReadInt16(*v);
        for (bool* b : {&c.cc_boldf, &c.cc_italf, &c.cc_undf, &c.cc_pad}) Chunk_ReadBoolean(*b);
        Chunk_ReadRaw(sizeof pad, pad);
    }
}

void Read_XYL_400S(std::vector<a_text_char>& chars, uint32_t n) {
    chars.assign(n, a_text_char{});
    for (a_text_char& c : chars) {
        int16_t dropped = 0;
        Chunk_ReadCard16(c.cc_char);
        for (int i = 0; i < 3; ++i) Chunk_ReadInt16(dropped);
        Chunk_ReadInt16(c.mm_x);
        Chunk_ReadInt16(c.mm_y);
        Chunk_ReadInt16(c.mm_t);
        Chunk_ReadRaw(1, &c.mm_cat);
    }
}

void Add_End_Mark(std::vector<a_text_char>& chars) {
    if (!chars.empty() && chars.back().cc_char == TEXT_END_MARK) return;
    a_text_char end;
    end.cc_char = TEXT_END_MARK;
    end.mm_cat = 4;
    chars.push_back(end);
}

void Write_OM(const a_text_chunk_rec& om_in) {
    a_text_chunk_rec om = om_in;
    Chunk_WriteInt16(OM_RECORD_VERSION);
    Chunk_WriteRect(om.bbox);
    Chunk_WritePoint(om.anchor);
    Chunk_WritePoint(om.rotcenter);
    for (bool* b : Flags(om)) Chunk_WriteBoolean(*b);
    Chunk_WriteRaw(1, &om.layout);
    Chunk_WriteRaw(1, &om.justify);
    Chunk_WriteCard32(om.fontx);
    for (int16_t* v : Shorts(om)) Chunk_WriteInt16(*v);
    for (a_win_pixel32* c : Colors(om)) Chunk_WritePixel32(*c);
    Chunk_WriteInt32(int32_t(om.chars.size()));
    Chunk_WriteInt16(XYL_VERSION);
    Write_XYL(om.chars);
    Chunk_WriteCard16(DISC_SENTINEL);
}

void Read_OM(a_text_chunk_rec& om, int16_t table_version, a_defect_set& defects) {
    int16_t version = 0;
    Chunk_ReadInt16(version);
    if (version != OM_RECORD_VERSION) return Add_Defect(defects, DEFECT_CHECKSUM);
    Chunk_ReadRect(om.bbox);
    Chunk_ReadPoint(om.anchor);
    Chunk_ReadPoint(om.rotcenter);
    for (bool* b : Flags(om)) Chunk_ReadBoolean(*b);
    Chunk_ReadRaw(1, &om.layout);
    Chunk_ReadRaw(1, &om.justify);
    Chunk_ReadCard32(om.fontx);
    for (int16_t* v : Shorts(om)) Chunk_ReadInt16(*v);
    for (a_win_pixel32* c : Colors(om)) Chunk_ReadPixel32(*c);
    int32_t n = 0;
    Chunk_ReadInt32(n);
    if (om.layout >= NTEXT_LAYOUTS || om.justify >= NHORZ_JUSTS) return Add_Defect(defects, DEFECT_CHECKSUM);
    const int per_char = table_version >= 2 ? kCharBytes : kCharBytes400;
    if (n < 0 || uint32_t(n) > MAX_TEXT_CHARS ||
        int64_t(n) * per_char > int64_t(g_chunk.end) - int64_t(g_chunk.pos))
        return Add_Defect(defects, DEFECT_CHECKSUM);
    if (table_version >= 2) {
        int16_t xyl_version = 0;
        Chunk_ReadInt16(xyl_version);
        if (xyl_version != XYL_VERSION) return Add_Defect(defects, DEFECT_CHECKSUM);
        Read_XYL(om.chars, uint32_t(n));
    } else {
        Read_XYL_400S(om.chars, uint32_t(n));
    }
    Add_End_Mark(om.chars);
    uint16_t sentinel = 0;
    Chunk_ReadCard16(sentinel);
    if (sentinel != DISC_SENTINEL) Add_Defect(defects, DEFECT_CHECKSUM);
}

a_text_chunk_rec* Text_Record_Of(uint32_t objid) {
    auto it = g_kept.find(objid);
    return it == g_kept.end() ? nullptr : &it->second;
}

void Text_Record_Keep(uint32_t objid, a_text_chunk_rec rec) { g_kept[objid] = std::move(rec); }

void Text_Records_Clear() { g_kept.clear(); }

a_text_chunk_rec Default_Text_Record() {
    a_text_chunk_rec r;
    r.opacity = 100;
    Add_End_Mark(r.chars);
    return r;
}
