// cirquel-cli shape and sheet: pictures of a template's unit shapes.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "platform/png.h"
#include "pixels/gworld.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shape_view.h"
#include "templates/shapes.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli: %s\n", message.c_str());
    return 2;
}

// A whole number in [lo, hi]; false for anything else.
bool Parse_Int(const std::string& s, int lo, int hi, int& out) {
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || v < lo || v > hi) return false;
    out = int(v);
    return true;
}

// Expands the template named `label`; nullptr when there is none.
std::unique_ptr<a_template> Load_Template(const std::string& label) {
    int index = label.size() < 32 ? Find_Template(label) : 0;
    if (index == 0) return nullptr;
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    return t;
}

// Makes a 32-bit world of `bounds`, lets `draw` fill it and writes it out.
template <typename F>
int Draw_And_Write(const Rect& bounds, const std::string& out, F draw) {
    a_gworld_ptr world = Make_GWorld(32, bounds);
    if (!world)
        return Fail(Cli_Text("a picture of %1 x %2 pixels cannot be made",
                             {std::to_string(Rect_Width(bounds)), std::to_string(Rect_Height(bounds))}));
    a_port_bits bits = World_Bits(world.get());
    draw(bits);
    std::string error;
    bool ok = Png_Write(out, bits, &error, a_png_effort::FAST);
    return ok ? 0 : Fail(Cli_Text("cannot write %1: %2", {out, error}));
}

struct a_picture_args {
    std::string label, out;
    int unit = 1, dpi = DEFAULT_SHEET_DPI;
    a_shape_view_options view;
};

// Options shared by both commands; `sheet` allows --dpi, the shape the rest.
bool Parse(const a_cli_args& args, bool sheet, a_picture_args& a, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value) a.out = args[++i];
        else if (!sheet && s == "--unit" && has_value) {
            if (!Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = Cli_Text("bad --unit %1", {args[i]}), false;
        } else if (!sheet && s == "--ls" && has_value) {
            if (!Parse_Int(args[++i], 1, 3, a.view.ls_coverage)) return error = Cli_Text("%1 takes %2 to %3", {"--ls", "1", "3"}), false;
        } else if (sheet && s == "--dpi" && has_value) {
            if (!Parse_Int(args[++i], MIN_SHEET_DPI, MAX_SHEET_DPI, a.dpi))
                return error = Cli_Text("%1 takes %2 to %3",
                                        {"--dpi", std::to_string(MIN_SHEET_DPI), std::to_string(MAX_SHEET_DPI)}), false;
        } else if (!sheet && s == "--holes") a.view.holes = true;
        else if (!sheet && s == "--cutlines") a.view.cutlines = true;
        else if (!sheet && s == "--grid") a.view.grid = true;
        else if (s.rfind("-", 0) == 0 || !a.label.empty()) return error = Cli_Text("unexpected %1", {s}), false;
        else a.label = s;
    }
    if (a.label.empty() || a.out.empty()) return error = Cli_Text("a label and %1 are needed", {"-o FILE.png"}), false;
    return true;
}

// Parses the options and expands the template: 0, or the status after a message.
int Prepare(const a_cli_args& args, bool sheet, a_picture_args& a, std::unique_ptr<a_template>& t) {
    std::string error;
    if (!Parse(args, sheet, a, error)) return Fail(error);
    t = Load_Template(a.label);
    return t ? 0 : Fail(Cli_Text("no template named \"%1\"", {a.label}));
}

}  // namespace

int Cmd_Shape(const a_cli_args& args) {
    a_picture_args a;
    std::unique_ptr<a_template> t;
    if (int status = Prepare(args, false, a, t)) return status;
    if (uint32_t(a.unit) > t->nunits) {
        std::string n = std::to_string(t->nunits);
        return Fail(Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), n}));
    }
    a_unit unit = t->units[a.unit];
    if (a.view.ls_coverage != 0 && Unit_Shape(unit.kind) != SHAPE_RING)
        return Fail(Cli_Text("%1 applies to disc units only", {"--ls"}));
    Rect bounds;
    Calc_Unit_Bounds(unit, bounds);
    return Draw_And_Write(bounds, a.out, [&](const a_port_bits& bits) {
        Draw_Shape_View(unit, a.view, bits);
    });
}

int Cmd_Sheet(const a_cli_args& args) {
    a_picture_args a;
    std::unique_ptr<a_template> t;
    if (int status = Prepare(args, true, a, t)) return status;
    Rect bounds;
    int status;
    if (!Calc_Sheet_View_Bounds(*t, a.dpi, bounds))
        status = Fail(Cli_Text("the sheet does not fit a picture at %1 dpi", {std::to_string(a.dpi)}));
    else
        status = Draw_And_Write(bounds, a.out, [&](const a_port_bits& bits) {
            Draw_Sheet_View(*t, a.dpi, bits);
        });
    return status;
}

