#include "units.h"

#include <QtCore/QCoreApplication>

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "templates/expand.h"

namespace {

enum a_quantity {
    PLAIN,
    TENTHS_OF_DEGREE,
    DEGREES,
    PER_MILLE,
    PER_CENT,
    POINTS,
    TENTHS_OF_MM,
    UNIT_PIXELS,    // a length on the unit's surface
    RADIUS_PER_CENT  // of half the unit's shorter side, from the centre
};

a_quantity Quantity_Of(a_slider_enum s) {
    switch (s) {
        case PHOTO_ANGLE_SLIDER: case SYMBOL_ANGLE_SLIDER: case TEXT_LINEANGLE_SLIDER:
        case TEXTR_ANGLE_SLIDER:
            return TENTHS_OF_DEGREE;
        case STAMP_ROTATE_SLIDER: case GRAD_ANGLE_SLIDER: case COLOR_HUE_SLIDER:
        case TEXT_POLARANGLE_SLIDER: case TEXT_SPOKE_TOTANGLE_SLIDER: case TEXT_SPOKE_TWIST_SLIDER:
        case PACK_CLOCK_TOTANGLE_SLIDER: case PACK_CLOCK_START_SLIDER:
            return DEGREES;
        case PHOTO_SIZE_SLIDER: case PHOTO_SIZEH_SLIDER: case PHOTO_SIZEV_SLIDER:
        case SYMBOL_SIZE_SLIDER: case PACK_ITEM_SIZE_SLIDER:
            return PER_MILLE;
        case PAINT_OPACITY_SLIDER: case PHOTO_OPACITY_SLIDER: case PHOTO_SHAD_OPACITY_SLIDER:
        case SYMBOL_OPACITY_SLIDER: case TEXT_SHAD_OPACITY_SLIDER: case TEXT_GLOW_OPACITY_SLIDER:
        case TEXT_OPACITY_SLIDER: case GRIDLINES_OPACITY_SLIDER: case PHOTO_CORNER_SLIDER:
        case TEXT_HSPACING_SLIDER: case TEXT_VSPACING_SLIDER: case TEXTR_SIZE_SLIDER:
        case TEXT_STRETCH_H_SLIDER: case TEXT_STRETCH_V_SLIDER: case TEXT_SPOKE_OUTERD_SLIDER:
        case TEXT_SPOKE_THICKNESS_SLIDER: case PACK_GRID_CORNER_SLIDER:
        case PACK_CLOCK_THICKNESS_SLIDER: case PACK_CLOCK_OUTERD_SLIDER:
            return PER_CENT;
        case TEXT_SIZE_SLIDER:
            return POINTS;
        case PRINT_INNERD_SLIDER: case PRINT_OUTERD_SLIDER: case PRINT_BIZSIDE_SLIDER:
        case PRINT_WIDTH_SLIDER: case PRINT_HEIGHT_SLIDER:
            return TENTHS_OF_MM;
        case PHOTO_FEATHER_SLIDER: case PHOTO_EDGE_BORDER_SLIDER: case PHOTO_EDGE_OUTLINE_SLIDER:
        case PHOTO_SHAD_DX_SLIDER: case PHOTO_SHAD_DY_SLIDER: case PHOTO_SHAD_RADIUS_SLIDER:
        case TEXT_SHAD_DX_SLIDER: case TEXT_SHAD_DY_SLIDER: case TEXT_SHAD_RADIUS_SLIDER:
        case TEXT_GLOW_RADIUS_SLIDER: case TEXT_OUTL_RADIUS_SLIDER: case TEXT_CMARGIN_SLIDER:
            return UNIT_PIXELS;
        case TEXT_RADIUS_SLIDER:
            return RADIUS_PER_CENT;
        default:
            return PLAIN;
    }
}

QString Tr(const char* text) { return QCoreApplication::translate("units", text); }

}  // namespace

bool Unit_Millimetres(double& mm_h, double& mm_v) {
    if (!g_doc.up) return false;
    a_coord_mapping m;
    Calc_Unit_Mapping(g_doc.doc_template.Unit(g_doc.upx), g_doc.up->paintbounds, m);
    if (m.multx <= 0 || m.multy <= 0) return false;
    mm_h = 1.0 / m.multx;
    mm_v = 1.0 / m.multy;
    return true;
}

a_shown_unit Shown_Unit(a_slider_enum slider) {
    double mm_h = 0, mm_v = 0;
    switch (Quantity_Of(slider)) {
        case TENTHS_OF_DEGREE: return {0.1, 1, Tr("°")};
        case DEGREES: return {1, 0, Tr("°")};
        case PER_MILLE: return {0.1, 1, Tr(" %")};
        case PER_CENT: return {1, 0, Tr(" %")};
        case POINTS: return {1, 0, Tr(" pt")};
        case TENTHS_OF_MM: return {0.1, 1, Tr(" mm")};
        case UNIT_PIXELS:
            if (!Unit_Millimetres(mm_h, mm_v)) return {1, 0, Tr(" px")};
            return {mm_v, 2, Tr(" mm")};
        case RADIUS_PER_CENT: {
            // Radius in pixels = per cent × shorter side / 200.
            if (!Unit_Millimetres(mm_h, mm_v)) return {1, 0, Tr(" %")};
            const Rect& b = g_doc.up->paintbounds;
            const int shorter = std::min(Rect_Width(b), Rect_Height(b));
            if (shorter <= 0) return {1, 0, Tr(" %")};
            return {shorter / 200.0 * mm_v, 1, Tr(" mm")};
        }
        case PLAIN: break;
    }
    return {};
}

double Shown_Value(a_slider_enum slider, int model) {
    const a_shown_unit u = Shown_Unit(slider);
    const double scale = std::pow(10.0, u.decimals);
    return std::round(model * u.per_model * scale) / scale;
}

int Model_Value(a_slider_enum slider, double shown) {
    const a_shown_unit u = Shown_Unit(slider);
    const a_slider_item& item = g_sliders[slider];
    const double model = std::round(shown / u.per_model);
    return int(std::clamp<double>(model, item.minval, item.maxval));
}
