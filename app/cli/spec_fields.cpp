#include "spec_fields.h"

#include <cstdio>

#include "cli_args.h"

namespace {

struct a_num_field {
    const char* name;
    int16_t a_spec::*field;
    int16_t lo, hi;  // the slider ranges
};

const a_num_field kNumbers[] = {
    {"angle", &a_spec::angle, -1800, 1800},
    {"scalingh", &a_spec::scalingh, 50, 6000},
    {"scalingv", &a_spec::scalingv, 50, 6000},
    {"darkness", &a_spec::darkness, 0, 100},
    {"opacity", &a_spec::opacity, 6, 100},
    {"corner", &a_spec::corner, 0, 100},
    {"feather", &a_spec::feather, 0, 40},
    {"edge_kind", &a_spec::edge_kind, 0, 3},
    {"edge_border", &a_spec::edge_border, 0, 40},
    {"edge_outline", &a_spec::edge_outline, 0, 40},
    {"edge_scallop", &a_spec::edge_scallop, 10, 90},
    {"edge_rough", &a_spec::edge_rough, 1, 20},
    {"color_sat", &a_spec::color_sat, 0, 100},
    {"color_hue", &a_spec::color_hue, 0, 359},
    {"color_dist", &a_spec::color_dist, 0, 72},
    {"shad_dx", &a_spec::shad_dx, -40, 40},
    {"shad_dy", &a_spec::shad_dy, -40, 40},
    {"shad_opacity", &a_spec::shad_opacity, 6, 100},
    {"shad_radius", &a_spec::shad_radius, 0, 8},
};

struct a_bool_field {
    const char* name;
    bool a_spec::*field;
};

const a_bool_field kBools[] = {
    {"flipx", &a_spec::flipx},         {"flipy", &a_spec::flipy},
    {"invert", &a_spec::invert},       {"wtransp", &a_spec::wtransp},
    {"shadf", &a_spec::shadf},         {"constrainf", &a_spec::constrainf},
    {"is_symbol", &a_spec::is_symbol},
};

struct a_color_field {
    const char* name;
    a_win_pixel32 a_spec::*field;
};

const a_color_field kColors[] = {
    {"symbol_color", &a_spec::symbol_color},
    {"edge_bord_color", &a_spec::edge_bord_color},
    {"edge_outl_color", &a_spec::edge_outl_color},
};

// "t,l,b,r" in source pixels, nothing after it.
bool Parse_Rect(const std::string& s, Rect& r) {
    int v[4];
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d,%d,%d,%d%c", &v[0], &v[1], &v[2], &v[3], &tail) != 4) return false;
    for (int x : v)
        if (x < 0 || x > 32767) return false;
    const Rect parsed{int16_t(v[0]), int16_t(v[1]), int16_t(v[2]), int16_t(v[3])};
    if (Rect_IsEmpty(parsed)) return false;
    r = parsed;
    return true;
}

}  // namespace

bool Set_Spec_Field(a_spec& spec, const std::string& assignment, std::string& error) {
    size_t eq = assignment.find('=');
    std::string name = assignment.substr(0, eq),
                value = eq == std::string::npos ? "" : assignment.substr(eq + 1);
    long v = 0;
    for (const a_num_field& f : kNumbers) {
        if (name != f.name) continue;
        if (!Cli_Parse_Long(value, f.lo, f.hi, v))
            return error = Cli_Text("%1 takes %2 to %3", {name, std::to_string(f.lo), std::to_string(f.hi)}),
                   false;
        spec.*f.field = int16_t(v);
        return true;
    }
    for (const a_bool_field& f : kBools) {
        if (name != f.name) continue;
        if (!Cli_Parse_Long(value, 0, 1, v)) return error = Cli_Text("%1 takes 0 or 1", {name}), false;
        spec.*f.field = v != 0;
        return true;
    }
    for (const a_color_field& f : kColors) {
        if (name != f.name) continue;
        if (value.size() != 7 || value[0] != '#' ||
            !Cli_Parse_Long(value.substr(1), 0, 0xFFFFFF, v, 16))
            return error = Cli_Text("%1 takes a colour #RRGGBB", {name}), false;
        spec.*f.field = a_win_pixel32{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
        return true;
    }
    if (name == "subset") {
        if (!Parse_Rect(value, spec.subset))
            return error = Cli_Text("%1 takes %2", {"subset", "top,left,bottom,right"}), false;
        return true;
    }
    return error = Cli_Text("no effect field \"%1\"", {name}), false;
}

