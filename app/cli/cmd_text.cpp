// cirquel-cli text: one text block laid out on a unit of a label stock, its
// characters' places printed as JSON; cirquel-cli fonts: the font list.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "cli_args.h"
#include "cli_json.h"
#include "commands.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
#include "ui/sliders.h"

namespace {

const char* const kLayoutNames[NLAYOUTS] = {"horz", "90",   "circ-cw", "spiral-cw",  "contour",
                                            "vert", "270",  "circ-ccw", "spiral-ccw", "spoke"};
const char* const kCategoryNames[] = {"regular", "space", "hardbreak", "overflow", "eos", "ignore"};

struct a_int_field {
    const char* name;
    int16_t a_om_rec::*field;
    a_slider_enum slider;  // its range
};
const a_int_field kIntFields[] = {
    {"hspacing", &a_om_rec::hspacing, TEXT_HSPACING_SLIDER},
    {"vspacing", &a_om_rec::vspacing, TEXT_VSPACING_SLIDER},
    {"radius", &a_om_rec::radius, TEXT_RADIUS_SLIDER},
    {"lineangle", &a_om_rec::lineangle, TEXT_LINEANGLE_SLIDER},
    {"polarangle", &a_om_rec::polarangle, TEXT_POLARANGLE_SLIDER},
    {"spoke_outerd", &a_om_rec::spoke_outerd, TEXT_SPOKE_OUTERD_SLIDER},
    {"spoke_thickness", &a_om_rec::spoke_thickness, TEXT_SPOKE_THICKNESS_SLIDER},
    {"spoke_totangle", &a_om_rec::spoke_totangle, TEXT_SPOKE_TOTANGLE_SLIDER},
    {"spoke_twist", &a_om_rec::spoke_twist, TEXT_SPOKE_TWIST_SLIDER},
    {"contour_margin", &a_om_rec::contour_margin, TEXT_CMARGIN_SLIDER},
    {"stretch_h", &a_om_rec::stretch_h, TEXT_STRETCH_H_SLIDER},
    {"stretch_v", &a_om_rec::stretch_v, TEXT_STRETCH_V_SLIDER},
    {"skew_h", &a_om_rec::skew_h, TEXT_SKEW_H_SLIDER},
    {"skew_v", &a_om_rec::skew_v, TEXT_SKEW_V_SLIDER},
    {"shad_dx", &a_om_rec::shad_dx, TEXT_SHAD_DX_SLIDER},
    {"shad_dy", &a_om_rec::shad_dy, TEXT_SHAD_DY_SLIDER},
    {"shad_opacity", &a_om_rec::shad_opacity, TEXT_SHAD_OPACITY_SLIDER},
    {"shad_radius", &a_om_rec::shad_radius, TEXT_SHAD_RADIUS_SLIDER},
    {"glow_opacity", &a_om_rec::glow_opacity, TEXT_GLOW_OPACITY_SLIDER},
    {"glow_radius", &a_om_rec::glow_radius, TEXT_GLOW_RADIUS_SLIDER},
    {"outl_radius", &a_om_rec::outl_radius, TEXT_OUTL_RADIUS_SLIDER},
    {"opacity", &a_om_rec::opacity, TEXT_OPACITY_SLIDER},
};
struct a_bool_field {
    const char* name;
    bool a_om_rec::*field;
};
const a_bool_field kBoolFields[] = {{"boldf", &a_om_rec::boldf}, {"italf", &a_om_rec::italf},
                                    {"outlf", &a_om_rec::outlf}, {"glowf", &a_om_rec::glowf},
                                    {"shadf", &a_om_rec::shadf}, {"undf", &a_om_rec::undf}};
struct a_color_field {
    const char* name;
    a_win_pixel32 a_om_rec::*field;
};
const a_color_field kColorFields[] = {{"base_color", &a_om_rec::base_color},
                                      {"glow_color", &a_om_rec::glow_color},
                                      {"shad_color", &a_om_rec::shad_color},
                                      {"outl_color", &a_om_rec::outl_color}};

bool Parse_Color(const std::string& s, a_win_pixel32& c) {
    long v = 0;
    if (s.size() != 7 || s[0] != '#' || !Cli_Parse_Long("0x" + s.substr(1), 0, 0xFFFFFF, v, 16)) return false;
    c = a_win_pixel32{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
    return true;
}

bool Set_Field(a_om_rec& om, const std::string& assign, std::string& error) {
    size_t eq = assign.find('=');
    if (eq == std::string::npos) return error = "--set takes FIELD=VALUE", false;
    std::string name = assign.substr(0, eq), value = assign.substr(eq + 1);
    for (const auto& f : kIntFields) {
        if (name != f.name) continue;
        const a_slider_item& it = g_sliders[f.slider];
        int v = 0;
        if (!Cli_Parse_Int(value, it.minval, it.maxval, v))
            return error = name + " takes " + std::to_string(it.minval) + " to " + std::to_string(it.maxval), false;
        om.*f.field = int16_t(v);
        return true;
    }
    for (const auto& f : kBoolFields) {
        if (name != f.name) continue;
        if (value != "0" && value != "1") return error = name + " takes 0 or 1", false;
        om.*f.field = value == "1";
        return true;
    }
    for (const auto& f : kColorFields) {
        if (name != f.name) continue;
        if (!Parse_Color(value, om.*f.field)) return error = name + " takes #RRGGBB", false;
        return true;
    }
    if (name == "justify") {
        int v = 0;
        if (!Cli_Parse_Int(value, 0, 2, v)) return error = "justify takes 0 (left), 1 (centre) or 2 (right)", false;
        om.justify = uint8_t(v);
        return true;
    }
    return error = "no field named " + name, false;
}

struct a_text_args {
    std::string label, out;
    std::u16string text;
    bool has_text = false, json = false;
    int unit = 1, size = 14;
    int layout = LAYOUT_HORZ;
};

std::u16string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out.push_back('\r');
            ++i;
        } else {
            out.push_back(s[i]);
        }
    }
    return Utf8_To_Utf16(out);
}

bool Parse(const a_cli_args& args, a_text_args& a, a_om_rec& om, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value) a.out = args[++i];
        else if (s == "--json") a.json = true;
        else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = "bad --unit " + args[i], false;
        } else if (s == "--text" && has_value) {
            a.text = Unescape(args[++i]);
            a.has_text = true;
        } else if (s == "--layout" && has_value) {
            std::string name = args[++i];
            a.layout = -1;
            for (int l = 0; l < NLAYOUTS; ++l)
                if (name == kLayoutNames[l]) a.layout = l;
            if (a.layout < 0) return error = "no layout named " + name, false;
        } else if (s == "--font" && has_value) {
            int f = Font_Find(Utf8_To_Utf16(args[++i]));
            if (f == 0) return error = "no font named \"" + args[i] + "\"", false;
            om.fontx = uint32_t(f);
        } else if (s == "--size" && has_value) {
            if (!Cli_Parse_Int(args[++i], 5, 288, a.size)) return error = "--size takes 5 to 288", false;
        } else if (s == "--color" && has_value) {
            if (!Parse_Color(args[++i], om.base_color)) return error = "--color takes #RRGGBB", false;
        } else if (s == "--set" && has_value) {
            if (!Set_Field(om, args[++i], error)) return false;
        } else if (s == "--dpi" && has_value) {
            int dpi = 0;
            if (!Cli_Parse_Int(args[++i], 36, 2400, dpi)) return error = "--dpi takes 36 to 2400", false;
        } else if (s.rfind("-", 0) == 0 || !a.label.empty()) {
            return error = "unexpected " + s, false;
        } else {
            a.label = s;
        }
    }
    if (a.label.empty() || !a.has_text) return error = "a label and --text STRING are needed", false;
    if (!a.out.empty()) return error = "drawing to a picture is not built yet; use --json", false;
    if (!a.json) return error = "--json is needed", false;
    return true;
}

a_json Char_Json(const a_xyl_char& c) {
    char16_t ch[2] = {c.cc_char, 0};
    a_json j;
    j["char"] = Utf16_To_Utf8(std::u16string_view(ch, 1));
    j["mm_x"] = c.mm_x;
    j["mm_y"] = c.mm_y;
    j["mm_t"] = c.mm_t;
    j["mm_width"] = c.mm_width;
    j["mm_cat"] = c.mm_cat < 6 ? kCategoryNames[c.mm_cat] : "?";
    return j;
}

}  // namespace

int Cmd_Text(const a_cli_args& args) {
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    a_text_args a;
    std::string error;
    if (!Parse(args, a, *om, error)) return Cli_Fail("text", error);
    int tx = a.label.size() < 32 ? Find_Template(a.label) : 0;
    if (tx == 0) return Cli_Fail("text", "no template named \"" + a.label + "\"");
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    if (uint32_t(a.unit) > t->nunits)
        return Cli_Fail("text", "unit " + std::to_string(a.unit) + " of a template with " +
                                    std::to_string(t->nunits) + " units");
    Rect bounds;
    Calc_Unit_Bounds(t->units[a.unit], bounds);
    a_text_unit u = Text_Unit_Of(t->units[a.unit], bounds);
    om->layout = uint8_t(a.layout);
    om->size = Clamp_Text_Size(a.size, a.layout);
    if (a.layout == LAYOUT_90) om->lineangle = 900;
    if (a.layout == LAYOUT_270) om->lineangle = 2700;
    if (a.layout == LAYOUT_CIRC_CW || a.layout == LAYOUT_CIRC_CCW) om->justify = JUST_CENTER;
    Default_Text_Placement(u, om->anchor, om->rotcenter);
    UniStr_To_OM(*om, a.text.c_str());
    OM_Recalc_On(*om, 1, u);
    a_json out;
    out["bbox"] = {om->bbox.top, om->bbox.left, om->bbox.bottom, om->bbox.right};
    a_json marks = a_json::array();
    for (uint32_t i = 1; i <= om->noverflows; ++i)
        marks.push_back({{"id", om->overflows[i].id}, {"v", om->overflows[i].pos.v}, {"h", om->overflows[i].pos.h}});
    out["overflows"] = marks;
    a_json chars = a_json::array();
    for (int i = 1; i < om->nxyl; ++i) chars.push_back(Char_Json(om->xyl[i]));
    out["chars"] = chars;
    std::fputs(Json_Line(out).c_str(), stdout);
    return 0;
}

int Cmd_Fonts(const a_cli_args& args) {
    bool json = false;
    for (const std::string& s : args) {
        if (s == "--json") json = true;
        else return Cli_Fail("fonts", "unexpected " + s);
    }
    a_json rows = a_json::array();
    for (int f = 1; f <= Font_Count(); ++f) {
        const a_family_item& it = *Font_Item(f);
        std::string name = Utf16_To_Utf8(it.fontname);
        a_json flags = a_json::array();
        const char* names[] = {"pi", "sp", "asian", "nonroman"};
        for (int b = 0; b < 4; ++b)
            if (it.attrib & (1u << b)) flags.push_back(names[b]);
        if (!json) {
            std::string fl;
            for (const auto& x : flags) fl += " " + x.get<std::string>();
            std::printf("%d\t%s\tcharset %d\t%s%s\n", f, name.c_str(), it.charset,
                        it.pitch == FONT_PITCH_FIXED ? "fixed" : "variable", fl.c_str());
            continue;
        }
        rows.push_back({{"fontx", f}, {"name", name}, {"charset", it.charset},
                        {"pitch", it.pitch == FONT_PITCH_FIXED ? "fixed" : "variable"}, {"flags", flags}});
    }
    if (json) std::fputs(Json_Rows(rows).c_str(), stdout);
    return 0;
}
