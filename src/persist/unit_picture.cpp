#include "persist/unit_picture.h"

#include "images/photo_draw.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "pixels/blit.h"
#include "pixels/syspix.h"
#include "render/canvas.h"

a_gworld_ptr Render_Unit_Picture(uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return nullptr;
    uint32_t mx = Find_Clone_Master(ux);
    a_doc_unit* m = mx >= 1 ? g_doc.doc_units[mx] : nullptr;
    if (!m) return nullptr;
    const Rect b = g_doc.doc_units[ux]->paintbounds;
    if (Rect_IsEmpty(b)) return nullptr;
    a_gworld_ptr w = Make_GWorld(32, b);
    if (!w) return nullptr;
    // A canvas whose picture is not in the art database shows white here:
    // drawing it would stop the program.
    a_keyset full;
    if (Is_CanvKey_White(m->canv.cv.canvas_key) || Find_Full_Canvas(full, m->canv.cv.canvas_key))
        Render_Canvas(b, w.get(), m->canv, g_doc.doc_template.units[ux].kind, false, true);
    else
        PixMap32_Fill(w->pix, b, 0x00FFFFFF);
    for (int i = 1; i <= m->oj.nlist; ++i) {
        a_oj_item& it = m->oj.list[i];
        if (it.ph && it.kind != TEXT_BLOCK && it.kind != PAINT_BLOCK) PH_Draw(*it.ph, Rect{}, w.get(), true);
        const GWorld* paint = m->static_[PAINT1_LAYER].world;
        const GWorld* mask = m->static_[PAINT1_LAYER].mask;
        if (it.kind == PAINT_BLOCK && m->paintinuse && paint && mask &&
            paint->pix.bounds == b && mask->pix.bounds == b)
            Pix_To_PixM(paint->pix, mask->pix, w->pix, b, b, b);
    }
    return w;
}
