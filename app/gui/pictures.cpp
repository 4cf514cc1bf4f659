#include "pictures.h"

#include <algorithm>

#include "model/document.h"
#include "pixels/gworld.h"
#include "render/compositor.h"
#include "templates/expand.h"
#include "templates/shape_view.h"

namespace {

// A copy of a 32-bit world: its bytes are blue, green, red, alpha.
QImage World_Image(const a_port_bits& bits) {
    int w = Rect_Width(bits.bounds), h = Rect_Height(bits.bounds);
    QImage view(bits.base, w, h, bits.rowbytes, QImage::Format_RGB32);
    return view.copy();
}

}  // namespace

QImage Sheet_Picture(const a_template& t, QSize box) {
    if (t.papersize.x <= 0 || t.papersize.y <= 0) return {};
    // The preview's mapping: sheet millimetres onto the box, kept whole-dpi
    // so the outlines fall on pixels.
    double dpi = std::min(box.width() * 25.4 / t.papersize.x, box.height() * 25.4 / t.papersize.y);
    int whole = std::clamp(int(dpi), int(MIN_SHEET_DPI), int(MAX_SHEET_DPI));
    Rect bounds;
    if (!Calc_Sheet_View_Bounds(t, whole, bounds)) return {};
    a_gworld_ptr world = Make_GWorld(32, bounds);
    if (!world) return {};
    a_port_bits bits = World_Bits(world.get());
    Draw_Sheet_View(t, whole, bits);
    return World_Image(bits);
}

QImage Unit_Picture(const a_template& t, uint32_t ux, QSize box) {
    if (ux < 1 || ux > t.nunits) return {};
    Rect bounds;
    Calc_Unit_Bounds(t.units[ux], bounds);
    a_gworld_ptr world = Make_GWorld(32, bounds);
    if (!world) return {};
    a_port_bits bits = World_Bits(world.get());
    a_shape_view_options options;
    options.holes = true;
    Draw_Shape_View(t.units[ux], options, bits);
    return World_Image(bits).scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage Unit_Print_Picture(uint32_t ux, QSize box) {
    if (!g_doc.doc_open || ux < 1 || ux > g_doc.doc_template.nunits || box.isEmpty()) return {};
    uint32_t mx = Find_Clone_Master(ux);
    a_doc_unit* d = mx >= 1 ? g_doc.doc_units[mx] : nullptr;
    if (!d || Rect_IsEmpty(d->paintbounds)) return {};
    QSize size = QSize(Rect_Width(d->paintbounds), Rect_Height(d->paintbounds))
                     .scaled(box.boundedTo(QSize(2000, 2000)), Qt::KeepAspectRatio)
                     .expandedTo(QSize(1, 1));
    GWorld* world = nullptr;
    Render_Unit_Print(mx, *d, Rect{0, 0, int16_t(size.height()), int16_t(size.width())}, world);
    a_gworld_ptr owner(world);
    return world ? World_Image(World_Bits(world)) : QImage();
}
