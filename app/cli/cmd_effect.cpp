// cirquel-cli effect: an image through the effects pipeline and cache, as a
// photo block with the given effect settings would show it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "images/image_files.h"
#include "platform/png.h"
#include "pixels/blit.h"
#include "render/effects.h"
#include "render/effects_cache.h"
#include "pixels/syspix.h"

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

// "t,l,b,r" in source pixels.
bool Parse_Rect(const std::string& s, Rect& r) {
    int v[4];
    if (std::sscanf(s.c_str(), "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]) != 4) return false;
    for (int x : v)
        if (x < 0 || x > 32767) return false;
    r = Rect{int16_t(v[0]), int16_t(v[1]), int16_t(v[2]), int16_t(v[3])};
    return !Rect_IsEmpty(r);
}

// One FIELD=VALUE; false with a message for an unknown field or a bad value.
bool Set_Field(a_spec& spec, const std::string& assignment, std::string& error) {
    size_t eq = assignment.find('=');
    std::string name = assignment.substr(0, eq),
                value = eq == std::string::npos ? "" : assignment.substr(eq + 1);
    long v = 0;
    for (const a_num_field& f : kNumbers) {
        if (name != f.name) continue;
        if (!Cli_Parse_Long(value, f.lo, f.hi, v))
            return error = name + " takes " + std::to_string(f.lo) + " to " + std::to_string(f.hi),
                   false;
        spec.*f.field = int16_t(v);
        return true;
    }
    for (const a_bool_field& f : kBools) {
        if (name != f.name) continue;
        if (!Cli_Parse_Long(value, 0, 1, v)) return error = name + " takes 0 or 1", false;
        spec.*f.field = v != 0;
        return true;
    }
    for (const a_color_field& f : kColors) {
        if (name != f.name) continue;
        if (value.size() != 7 || value[0] != '#' ||
            !Cli_Parse_Long(value.substr(1), 0, 0xFFFFFF, v, 16))
            return error = name + " takes a colour #RRGGBB", false;
        spec.*f.field = a_win_pixel32{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0};
        return true;
    }
    if (name == "subset") {
        if (!Parse_Rect(value, spec.subset))
            return error = "subset takes top,left,bottom,right", false;
        return true;
    }
    return error = "no effect field \"" + name + "\"", false;
}

struct a_effect_args {
    std::string image, out;
    a_cache_purpose purpose = FOR_SCREEN;
    bool layers = false;
    std::vector<std::string> sets;
};

bool Parse(const a_cli_args& args, a_effect_args& a, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value)
            a.out = args[++i];
        else if (s == "--set" && has_value)
            a.sets.push_back(args[++i]);
        else if (s == "--layers")
            a.layers = true;
        else if (s == "--purpose" && has_value) {
            const std::string& p = args[++i];
            if (p == "screen")
                a.purpose = FOR_SCREEN;
            else if (p == "print")
                a.purpose = FOR_PRINTING;
            else if (p == "collage")
                a.purpose = FOR_COLLAGE;
            else
                return error = "--purpose takes screen, print or collage", false;
        } else if (s.rfind("-", 0) == 0 || !a.image.empty())
            return error = "unexpected " + s, false;
        else
            a.image = s;
    }
    if (a.image.empty() || a.out.empty())
        return error = "an image and -o FILE.png are needed", false;
    return true;
}

bool Write(GWorld* w, const std::string& path, std::string& error) {
    return Png_Write(path, World_Bits(w), &error, a_png_effort::FAST);
}

GWorld* White_World(const Rect& bounds) {
    GWorld* w = nullptr;
    New_GWorldF("effect", bounds, 32, nullptr, w);
    PixMap32_Fill(w->pix, bounds, 0x00FFFFFF);
    return w;
}

// A mask as a grey picture: opaque white, clear black.
GWorld* Mask_Picture(const a_masked_gworld& mw) {
    GWorld* w = White_World(mw.bounds);
    if (!mw.mask) return w;
    for (int y = mw.bounds.top; y < mw.bounds.bottom; ++y) {
        const uint8_t* m = PixMap_Row(mw.mask->pix, y);
        uint32_t* p = reinterpret_cast<uint32_t*>(PixMap_Row(w->pix, y));
        for (int x = 0; x < Rect_Width(mw.bounds); ++x) p[x] = uint32_t(m[x]) * 0x010101u;
    }
    return w;
}

std::string Suffixed(const std::string& path, const std::string& suffix) {
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

int Write_Result(const a_cache_result& c, const a_effect_args& a) {
    if (!c.body.fore || Rect_IsEmpty(c.union_))
        return Cli_Fail("effect", "the effect left nothing to draw");
    std::string error;
    a_gworld_ptr all(Composite_Result(c.body, c.shad, c.union_, 0x00FFFFFF));
    bool ok = Write(all.get(), a.out, error);
    all.reset();
    if (ok && a.layers) {
        a_gworld_ptr body(Composite_Result(a_masked_gworld{c.body.bounds, c.body.fore, nullptr},
                                           a_masked_gworld{}, c.body.bounds, 0x00FFFFFF));
        a_gworld_ptr mask(Mask_Picture(c.body));
        ok = Write(body.get(), Suffixed(a.out, "-body"), error) &&
             Write(mask.get(), Suffixed(a.out, "-mask"), error);
        if (ok && c.shad.fore) {
            a_gworld_ptr shad(Composite_Result(a_masked_gworld{}, c.shad, c.shad.bounds, 0x00FFFFFF));
            ok = Write(shad.get(), Suffixed(a.out, "-shadow"), error);
        }
    }
    return ok ? 0 : Cli_Fail("effect", error);
}

// The decoded picture as the cache keeps sources: a 32-bit colour world.
a_masked_gworld Source_Body(a_picture_scan_rec& scan) {
    a_masked_gworld body = scan.body;
    Null_MW(scan.body);
    if (body.fore && body.fore->pix.pixelSize != 32) {
        GWorld* deep = nullptr;
        New_GWorldF("effect", body.bounds, 32, nullptr, deep);
        Pix_To_Pix(body.fore->pix, deep->pix, body.bounds, body.bounds, srcCopy, nullptr);
        Dispose_GWorld(body.fore);
        body.fore = deep;
    }
    return body;
}

}  // namespace

int Cmd_Effect(const a_cli_args& args) {
    a_effect_args a;
    std::string error;
    if (!Parse(args, a, error)) return Cli_Fail("effect", error);
    a_spec spec;
    Null_Spec(spec);
    for (const std::string& s : a.sets)
        if (!Set_Field(spec, s, error)) return Cli_Fail("effect", error);
    if (spec.constrainf) spec.scalingv = spec.scalingh;
    a_scan_owner scan_owner;
    a_picture_scan_rec& scan = *scan_owner;
    if (!Read_BitMap(false, a.image, scan))
        return Cli_Fail("effect", "cannot read the image " + a.image);
    spec.source.kind = SOURCE_EXTFILE;
    spec.source.path.name = a.image;
    if (Rect_IsEmpty(spec.subset)) spec.subset = scan.body.bounds;
    a_masked_gworld body = Source_Body(scan);
    scan_owner.reset();
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(spec.source, body, raw);
    a_cache_result c;
    Cache_Get(a.purpose, spec, c);
    int status = Write_Result(c, a);
    Cache_Clear1(spec.source.sid);
    return status;
}
