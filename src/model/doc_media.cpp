#include "model/doc_media.h"

#include "model/document.h"
#include "templates/shapes.h"

namespace {

bool Is_Landscape_Doc() { return Has_Flag(g_doc.doc_template.tflags, IS_LANDSCAPE); }

// r becomes w × h around its centre.
void Resize_Around_Centre(a_frect& r, float w, float h) {
    float cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    r = a_frect{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
}

}  // namespace

void Get_Media_Specs(a_print_media_spec& spec) {
    Media_Spec_Get(Calc_Direct_Print_Kind(), g_doc.doc_mediax, Is_Landscape_Doc(), spec);
}

void Set_Media_Specs(const a_print_media_spec& spec) {
    Media_Spec_Set(Calc_Direct_Print_Kind(), g_doc.doc_mediax, Is_Landscape_Doc(), spec);
}

void Adjust_To_Medium(a_unit& out, a_direct_print_kind dkind, int adjustf,
                      const a_print_media_spec& media) {
    float d1 = media.adj[MEDIA_INNERD] / 10.0f, d2 = media.adj[MEDIA_OUTERD] / 10.0f;
    float d3 = media.adj[MEDIA_SIDE] / 10.0f;
    if (adjustf == 2) {
        if (dkind == CD_DIRECT) d2 = 126;
        else if (dkind == MINICD_DIRECT || dkind == HOCKEY_DIRECT) d2 = 120, d3 = 100;
    }
    if (dkind == CD_DIRECT || dkind == MINICD_DIRECT) Resize_Around_Centre(out.bbox, d2, d2);
    else Resize_Around_Centre(out.bbox, d2, d3);
    // Only the first measure of a shape with a hole is its diameter.
    a_shape shape = Unit_Shape(out.kind);
    if (shape == SHAPE_RING || shape == SHAPE_BIZHOCKEY || shape == SHAPE_BIZRECT) out.meas[0] = d1;
}

a_unit Calc_Medium_Unit(uint32_t ux) {
    a_unit u = g_doc.doc_template.Unit(ux);
    a_direct_print_kind dkind = Calc_Direct_Print_Kind();
    if (dkind == NOT_DIRECT) return u;
    a_print_media_spec media;
    Get_Media_Specs(media);
    Adjust_To_Medium(u, dkind, 1, media);
    u.bleed = a_frect{};
    return u;
}
