// cirquel-cli canvas: a unit's canvas at its design size, with the unit's
// shape shown as the shape command shows it (hole cut, outside washed).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "artdb/database.h"
#include "cli_args.h"
#include "commands.h"
#include "model/document.h"
#include "platform/png.h"
#include "render/canvas.h"
#include "render/effects.h"
#include "shell/art_startup.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shape_view.h"
#include "ui/sliders.h"

namespace {

bool Parse_Key(const std::string& s, a_keyset& key) {
    int v[4];
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d.%d.%d.%d%c", &v[0], &v[1], &v[2], &v[3], &tail) != 4)
        return false;
    for (int x : v)
        if (x < -32768 || x > 32767) return false;
    key = a_keyset{int16_t(v[0]), int16_t(v[1]), int16_t(v[2]), int16_t(v[3])};
    return key.a == CANVAS_CATEGORY;
}

struct a_canvas_args {
    std::string label, out;
    int unit = 1, index = 0;
    bool has_key = false;
    a_keyset key;
    a_canvas_spec adjust;  // only the adjustments are read
};

bool Slider_Value(const std::string& s, a_slider_enum slider, int16_t& out, std::string& error,
                  const char* name) {
    const a_slider_item& it = g_sliders[slider];
    int v = 0;
    if (!Cli_Parse_Int(s, it.minval, it.maxval, v))
        return error = Cli_Text("%1 takes %2 to %3",
                                {name, std::to_string(it.minval), std::to_string(it.maxval)}),
               false;
    out = int16_t(v);
    return true;
}

bool Parse(const a_cli_args& args, a_canvas_args& a, std::string& error) {
    Init_CV(a.adjust);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        int v = 0;
        if (s == "-o" && has_value)
            a.out = args[++i];
        else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit))
                return error = Cli_Text("bad --unit %1", {args[i]}), false;
        } else if (s == "--index" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, 32767, a.index))
                return error = Cli_Text("bad %1 %2", {"--index", args[i]}), false;
        } else if (s == "--key" && has_value) {
            if (!Parse_Key(args[++i], a.key))
                return error = Cli_Text("%1 takes a canvas key %2", {"--key", "2.b.c.d"}), false;
            a.has_key = true;
        } else if (s == "--nrot" && has_value) {
            if (!Cli_Parse_Int(args[++i], 0, 3, v)) return error = Cli_Text("%1 takes %2 to %3", {"--nrot", "0", "3"}), false;
            a.adjust.canvas_nrot = uint16_t(v);
        } else if (s == "--darkness" && has_value) {
            if (!Slider_Value(args[++i], CANV_DARKNESS_SLIDER, a.adjust.canvas_darkness, error,
                              s.c_str()))
                return false;
        } else if (s == "--hue" && has_value) {
            if (!Slider_Value(args[++i], COLOR_HUE_SLIDER, a.adjust.canvas_color_hue, error,
                              s.c_str()))
                return false;
        } else if (s == "--dist" && has_value) {
            if (!Slider_Value(args[++i], COLOR_DIST_SLIDER, a.adjust.canvas_color_dist, error,
                              s.c_str()))
                return false;
        } else if (s == "--flipx")
            a.adjust.canvas_flipx = true;
        else if (s == "--flipy")
            a.adjust.canvas_flipy = true;
        else if (s == "--invert")
            a.adjust.canvas_invert = true;
        else if (s.rfind("-", 0) == 0 || !a.label.empty())
            return error = Cli_Text("unexpected %1", {s}), false;
        else
            a.label = s;
    }
    if (a.label.empty() || a.out.empty())
        return error = Cli_Text("a label and %1 are needed", {"-o FILE.png"}), false;
    if (a.has_key && a.index) return error = Cli_Text("%1 and %2 exclude each other", {"--key", "--index"}), false;
    return true;
}

// Inside the shape (white in the shape view) the canvas shows; outside it is
// washed as the screen washes it; outlines stay on top.
void Merge_Shape(const GWorld* shape, GWorld* canvas) {
    constexpr uint32_t kWashed = 0x8F8F8F;  // white under the wash
    const Rect& b = canvas->pix.bounds;
    for (int y = b.top; y < b.bottom; ++y) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(PixMap_Row(shape->pix, y));
        uint32_t* c = reinterpret_cast<uint32_t*>(PixMap_Row(canvas->pix, y));
        for (int x = 0; x < Rect_Width(b); ++x) {
            uint32_t sv = s[x] & 0xFFFFFF;
            if (sv == 0xFFFFFF) continue;
            if (sv != kWashed) {
                c[x] = sv;
                continue;
            }
            uint32_t out = 0;
            for (int k = 0; k < 24; k += 8)
                out |= ((((c[x] >> k) & 0xFF) * 30 + 128 * 225) / 255) << k;
            c[x] = out;
        }
    }
}

int Render(const a_unit& unit, const a_canvas_spec& cv, const std::string& out) {
    Rect bounds;
    Calc_Unit_Bounds(unit, bounds);
    a_gworld_ptr canvas_owner = Make_GWorld(32, bounds);
    a_gworld_ptr shape_owner = canvas_owner ? Make_GWorld(32, bounds) : nullptr;
    GWorld* canvas = canvas_owner.get();
    GWorld* shape = shape_owner.get();
    if (!shape) {
        return Cli_Fail("canvas", Cli_Text("a picture of that size cannot be made"));
    }
    a_cached_canvas canv;
    canv.cv = cv;
    Render_Canvas(bounds, canvas, canv, unit.kind, false, true);
    a_shape_view_options view;
    view.holes = true;
    Draw_Shape_View(unit, view, World_Bits(shape));
    Merge_Shape(shape, canvas);
    std::string error;
    bool ok = Png_Write(out, World_Bits(canvas), &error, a_png_effort::FAST);
    return ok ? 0 : Cli_Fail("canvas", error);
}

}  // namespace

int Cmd_Canvas(const a_cli_args& args) {
    a_canvas_args a;
    std::string error;
    if (!Parse(args, a, error)) return Cli_Fail("canvas", error);
    int tx = a.label.size() < 32 ? Find_Template(a.label) : 0;
    if (tx == 0) return Cli_Fail("canvas", Cli_Text("no template named \"%1\"", {a.label}));
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    if (uint32_t(a.unit) > t->nunits) {
        std::string n = std::to_string(t->nunits);
        return Cli_Fail("canvas",
                        Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), n}));
    }
    a_unit unit = t->units[a.unit];
    if (!Cli_Art_Start())
        return Cli_Fail("canvas", Cli_Text("no art database found"));
    int cls = UNIT_TO_CANV_PREFIX(unit.kind);
    a_canvas_spec cv;
    Default_Canvas(unit.kind, cv);  // the white canvas of the class
    a_keyset white = cv.canvas_key;
    cv = a.adjust;
    cv.canvas_key = white;
    if (a.index) {
        if (a.index > Canvas_Count(cls))
            return Cli_Fail("canvas", Cli_Text("class %1 has %2 canvases",
                                               {std::to_string(cls), std::to_string(Canvas_Count(cls))}));
        CanvX_To_Key(cv.canvas_key, a.index, cls);
    } else if (a.has_key) {
        cv.canvas_key = a.key;
    }
    a_keyset full;
    if (!Find_Full_Canvas(full, cv.canvas_key))
        return Cli_Fail("canvas", Cli_Text("no canvas picture for that key"));
    // Shapes without canvases of their own take only the generic class-1 pictures.
    if (cls == CANV_CLASS_NONE && !Is_CanvKey_White(cv.canvas_key) && full.b != 1)
        return Cli_Fail("canvas", Cli_Text("this unit's shape takes only canvases of class 1"));
    return Render(unit, cv, a.out);
}
