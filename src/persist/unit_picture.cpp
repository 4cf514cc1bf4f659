#include "persist/unit_picture.h"

#include "model/document.h"
#include "pixels/pixmap.h"
#include "render/compositor.h"

a_gworld_ptr Render_Unit_Sized(uint32_t ux, const Rect& size) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return nullptr;
    a_doc_unit* design = Design_Unit(ux);
    if (!design || Rect_IsEmpty(size) || !PixMap_Fits(size, 32)) return nullptr;
    // The print scale belongs to whatever is printing; a save or an export
    // in between must not change it.
    const a_print_info kept = g_doc.doc_print;
    GWorld* w = nullptr;
    Render_Unit_Print(ux, *design, size, w);
    g_doc.doc_print = kept;
    return a_gworld_ptr(w);
}

a_gworld_ptr Render_Unit_Picture(uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return nullptr;
    const Rect b = g_doc.doc_units[ux]->paintbounds;
    return Render_Unit_Sized(ux, Rect{0, 0, int16_t(Rect_Height(b)), int16_t(Rect_Width(b))});
}
