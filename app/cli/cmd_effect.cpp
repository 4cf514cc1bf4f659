// cirquel-cli effect: an image through the effects pipeline and cache, as a
// photo block with the given effect settings would show it.
#include <cstdio>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "spec_fields.h"
#include "images/image_files.h"
#include "platform/png.h"
#include "pixels/blit.h"
#include "render/effects.h"
#include "render/effects_cache.h"
#include "pixels/syspix.h"

namespace {

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
                return error = Cli_Text("%1 takes one of %2", {"--purpose", "screen, print, collage"}), false;
        } else if (s.rfind("-", 0) == 0 || !a.image.empty())
            return error = Cli_Text("unexpected %1", {s}), false;
        else
            a.image = s;
    }
    if (a.image.empty() || a.out.empty())
        return error = Cli_Text("an image and %1 are needed", {"-o FILE.png"}), false;
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
        return Cli_Fail("effect", Cli_Text("the effect left nothing to draw"));
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
        if (!Set_Spec_Field(spec, s, error)) return Cli_Fail("effect", error);
    if (spec.constrainf) spec.scalingv = spec.scalingh;
    a_scan_owner scan_owner;
    a_picture_scan_rec& scan = *scan_owner;
    if (!Read_BitMap(false, a.image, scan))
        return Cli_Fail("effect", Cli_Text("cannot read the image %1", {a.image}));
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
