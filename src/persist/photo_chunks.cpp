#include "persist/photo_chunks.h"

#include <algorithm>
#include <cstring>

#include "model/document.h"
#include "persist/chunk_stream.h"

namespace {

int16_t* Spec_Shorts(a_spec& s, int i) {
    int16_t* v[] = {&s.angle,        &s.scalingh,     &s.scalingv,   &s.darkness,   &s.opacity,
                    &s.corner,       &s.feather,      &s.edge_kind,  &s.edge_border, &s.edge_outline,
                    &s.edge_scallop, &s.edge_rough,   &s.color_sat,  &s.color_hue,  &s.color_dist,
                    &s.shad_dx,      &s.shad_dy,      &s.shad_opacity, &s.shad_radius};
    return v[i];
}
constexpr int kSpecShorts = 19;

bool* Spec_Bools(a_spec& s, int i) {
    bool* v[] = {&s.flipx, &s.flipy, &s.invert, &s.wtransp, &s.shadf, &s.constrainf, &s.is_symbol};
    return v[i];
}
constexpr int kSpecBools = 7;

}  // namespace

void Reverse_Code(char code[4]) { std::reverse(code, code + 4); }

void Canonicalize_Codec(char codec[4]) {
    static const char* const kFrom[] = {"GEPJ", " GPJ", "fFIG", "fPMB", "SPB8", "FFIT"};
    static const char* const kTo[] = {"JPEG", "JPEG", "GIFf", "BMPf", "8BPS", "TIFF"};
    for (size_t i = 0; i < std::size(kFrom); ++i)
        if (std::memcmp(codec, kFrom[i], 4) == 0) std::memcpy(codec, kTo[i], 4);
}

void Write_Source(const a_source_desc& s) {
    Chunk_WriteCard16(s.sid);
    uint8_t kind = s.kind;
    Chunk_WriteRaw(1, &kind);
    if (s.kind == SOURCE_DATABASE) Chunk_WriteKey(s.key);
    if (s.kind == SOURCE_EXTFILE) {
        a_filespec spec;
        spec.name = s.path.name;
        Chunk_WritePath(spec);
    }
}

bool Read_Source(a_source_desc& s) {
    uint8_t kind = 0;
    Chunk_ReadCard16(s.sid);
    Chunk_ReadRaw(1, &kind);
    if (kind > SOURCE_COLLAGE) return false;
    s.kind = a_source_kind(kind);
    if (s.kind == SOURCE_DATABASE) Chunk_ReadKey(s.key);
    if (s.kind == SOURCE_EXTFILE) {
        a_filespec spec;
        Chunk_ReadPath(spec);
        s.path = a_fsspec{};
        s.path.name = spec.name;
    }
    return true;
}

void Write_PH_Spec(const a_spec& spec) {
    a_spec s = spec;
    for (int i = 0; i < kSpecShorts; ++i) Chunk_WriteInt16(*Spec_Shorts(s, i));
    for (int i = 0; i < kSpecBools; ++i) Chunk_WriteBoolean(*Spec_Bools(s, i));
    Chunk_WritePixel32(s.symbol_color);
    Chunk_WritePixel32(s.edge_bord_color);
    Chunk_WritePixel32(s.edge_outl_color);
    Chunk_WriteRect(s.subset);
}

void Read_PH_Spec(a_spec& s) {
    for (int i = 0; i < kSpecShorts; ++i) Chunk_ReadInt16(*Spec_Shorts(s, i));
    for (int i = 0; i < kSpecBools; ++i) Chunk_ReadBoolean(*Spec_Bools(s, i));
    Chunk_ReadPixel32(s.symbol_color);
    Chunk_ReadPixel32(s.edge_bord_color);
    Chunk_ReadPixel32(s.edge_outl_color);
    Chunk_ReadRect(s.subset);
}

void Write_PH(const a_ph_rec& ph) {
    Chunk_WriteInt16(PH_RECORD_VERSION);
    Write_Source(ph.spec.source);
    Write_PH_Spec(ph.spec);
    Chunk_WriteCard16(DISC_SENTINEL);
    char codec[4];
    std::memcpy(codec, ph.codec, 4);
    Reverse_Code(codec);
    Chunk_WriteRaw(4, codec);
    Chunk_WritePoint(ph.dst_center);
    Chunk_WriteRect(ph.dst_box);
}

void Read_PH(a_ph_rec& ph, int16_t table_version, a_defect_set& defects) {
    if (table_version >= 2) {
        int16_t version = 0;
        Chunk_ReadInt16(version);
        if (version != PH_RECORD_VERSION) return Add_Defect(defects, DEFECT_CHECKSUM);
    }
    if (!Read_Source(ph.spec.source)) return Add_Defect(defects, DEFECT_CHECKSUM);
    Read_PH_Spec(ph.spec);
    uint16_t sentinel = 0;
    Chunk_ReadCard16(sentinel);
    // An edge style the renderer does not know would stop the program.
    if (sentinel != DISC_SENTINEL || ph.spec.edge_kind < EDGE_NONE || ph.spec.edge_kind > EDGE_ROUGH)
        return Add_Defect(defects, DEFECT_CHECKSUM);
    Chunk_ReadRaw(4, ph.codec);
    Reverse_Code(ph.codec);
    Chunk_ReadPoint(ph.dst_center);
    Chunk_ReadRect(ph.dst_box);
    ph.spec.hintx = 0;
}
