#include "text/text_fields.h"

#include "text/text_blocks.h"

namespace {

constexpr a_text_field Int(const char* n, int16_t a_om_rec::*m, int lo, int hi) {
    return a_text_field{n, FIELD_INT, lo, hi, m, nullptr, nullptr};
}
constexpr a_text_field Flag(const char* n, bool a_om_rec::*m) {
    return a_text_field{n, FIELD_BOOL, 0, 1, nullptr, m, nullptr};
}
constexpr a_text_field Colour(const char* n, a_win_pixel32 a_om_rec::*m) {
    return a_text_field{n, FIELD_COLOR, 0, 0, nullptr, nullptr, m};
}

// The ranges are the sliders' (a test holds them together).
const a_text_field kFields[] = {
    Int("hspacing", &a_om_rec::hspacing, 80, 200),
    Int("vspacing", &a_om_rec::vspacing, 20, 300),
    Int("radius", &a_om_rec::radius, 20, 180),
    Int("lineangle", &a_om_rec::lineangle, -1800, 1800),
    Int("polarangle", &a_om_rec::polarangle, -180, 180),
    Int("spoke_outerd", &a_om_rec::spoke_outerd, 50, 100),
    Int("spoke_thickness", &a_om_rec::spoke_thickness, 20, 100),
    Int("spoke_totangle", &a_om_rec::spoke_totangle, 45, 360),
    Int("spoke_twist", &a_om_rec::spoke_twist, 0, 45),
    Int("contour_margin", &a_om_rec::contour_margin, 0, 30),
    Int("stretch_h", &a_om_rec::stretch_h, 0, 100),
    Int("stretch_v", &a_om_rec::stretch_v, 0, 100),
    Int("skew_h", &a_om_rec::skew_h, 0, 50),
    Int("skew_v", &a_om_rec::skew_v, 0, 50),
    Int("shad_dx", &a_om_rec::shad_dx, -100, 100),
    Int("shad_dy", &a_om_rec::shad_dy, -100, 100),
    Int("shad_opacity", &a_om_rec::shad_opacity, 10, 100),
    Int("shad_radius", &a_om_rec::shad_radius, 0, 8),
    Int("glow_opacity", &a_om_rec::glow_opacity, 6, 100),
    Int("glow_radius", &a_om_rec::glow_radius, 1, 30),
    Int("outl_radius", &a_om_rec::outl_radius, 1, 30),
    Int("opacity", &a_om_rec::opacity, 6, 100),
    Flag("boldf", &a_om_rec::boldf),
    Flag("italf", &a_om_rec::italf),
    Flag("outlf", &a_om_rec::outlf),
    Flag("glowf", &a_om_rec::glowf),
    Flag("shadf", &a_om_rec::shadf),
    Flag("undf", &a_om_rec::undf),
    Colour("base_color", &a_om_rec::base_color),
    Colour("glow_color", &a_om_rec::glow_color),
    Colour("shad_color", &a_om_rec::shad_color),
    Colour("outl_color", &a_om_rec::outl_color),
    a_text_field{"justify", FIELD_JUSTIFY, 0, 2, nullptr, nullptr, nullptr},
};

const char* const kLayoutNames[NLAYOUTS] = {"horz", "90",   "circ-cw", "spiral-cw",  "contour",
                                            "vert", "270",  "circ-ccw", "spiral-ccw", "spoke"};

}  // namespace

const a_text_field* Find_Text_Field(std::string_view name) {
    for (const a_text_field& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

const a_text_field* Text_Fields(int& count) {
    count = int(std::size(kFields));
    return kFields;
}

int Find_Text_Layout(std::string_view name) {
    for (int l = 0; l < NLAYOUTS; ++l)
        if (name == kLayoutNames[l]) return l;
    return -1;
}

const char* Text_Layout_Name(int layout) {
    return layout >= 0 && layout < NLAYOUTS ? kLayoutNames[layout] : "?";
}

std::string Text_Layout_Names() {
    std::string s;
    for (const char* n : kLayoutNames) s += (s.empty() ? "" : "|") + std::string(n);
    return s;
}

bool Parse_Text_Color(std::string_view s, a_win_pixel32& c) {
    if (s.size() != 7 || s[0] != '#') return false;
    uint32_t v = 0;
    for (char ch : s.substr(1)) {
        int d = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
              : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
        if (d < 0) return false;
        v = v << 4 | uint32_t(d);
    }
    c = a_win_pixel32{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
    return true;
}

void OM_Start_Layout(a_om_rec& om, const a_text_unit& u, int layout, int size) {
    om.layout = uint8_t(layout);
    om.size = Clamp_Text_Size(size, layout);
    if (layout == LAYOUT_90) om.lineangle = 900;
    if (layout == LAYOUT_270) om.lineangle = 2700;
    if (layout == LAYOUT_CIRC_CW || layout == LAYOUT_CIRC_CCW) om.justify = JUST_CENTER;
    Default_Text_Placement(u, om.anchor, om.rotcenter);
}
