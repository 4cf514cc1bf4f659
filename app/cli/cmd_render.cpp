// cirquel-cli render: a document described in a JSON file, or a project,
// composited as the editing view shows it (--screen ZOOM) or as it prints
// (--dpi N), one unit or the whole sheet.
#include <algorithm>
#include <string>

#include "artdb/database.h"
#include "cli_args.h"
#include "cli_render.h"
#include "commands.h"
#include "model/document.h"
#include "persist/design_file.h"
#include "pixels/blit.h"
#include "pixels/syspix.h"
#include "render/compositor.h"
#include "shell/art_startup.h"
#include "templates/catalogue.h"

namespace {

struct a_render_args {
    std::string design, out;
    int unit = 1;
    bool sheet = false;
    int dpi = 300;
    int zoom = 0;  // percent; 0: the print path
};

bool Parse(const a_cli_args& args, a_render_args& a, std::string& error) {
    bool has_unit = false, has_dpi = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        const bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value) {
            a.out = args[++i];
        } else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = Cli_Text("bad --unit %1", {args[i]}), false;
            has_unit = true;
        } else if (s == "--dpi" && has_value) {
            if (!Cli_Parse_Int(args[++i], 36, 600, a.dpi)) return error = Cli_Text("--dpi takes %1 to %2", {"36", "600"}), false;
            has_dpi = true;
        } else if (s == "--screen" && has_value) {
            if (!Cli_Parse_Int(args[++i], 10, 400, a.zoom)) return error = Cli_Text("%1 takes a zoom of %2 to %3 (percent)", {"--screen", "10", "400"}), false;
        } else if (s == "--sheet") {
            a.sheet = true;
        } else if (s.rfind("-", 0) == 0 || !a.design.empty()) {
            return error = Cli_Text("unexpected %1", {s}), false;
        } else {
            a.design = s;
        }
    }
    if (a.design.empty() || a.out.empty())
        return error = Cli_Text("%1, and %2, are needed", {"DESIGN.json | PROJECT.cd4", "-o FILE.png"}), false;
    if (has_unit && a.sheet) return error = Cli_Text("%1 and %2 exclude each other", {"--unit", "--sheet"}), false;
    if (a.zoom && (has_dpi || a.sheet)) return error = Cli_Text("%1 shows one unit; %2 and %3 print", {"--screen", "--dpi", "--sheet"}), false;
    return true;
}

// The editing view's picture: the incremental screen path at `zoom` percent.
int Render_Screen(uint32_t ux, int zoom, const std::string& out) {
    a_doc_unit* up = Design_Unit(ux);
    const Rect& pb = up->paintbounds;
    const Rect target{0, 0, int16_t(std::max(1, Rect_Height(pb) * zoom / 100)),
                      int16_t(std::max(1, Rect_Width(pb) * zoom / 100))};
    GWorld* world = nullptr;
    Unit_Merge_Check(ux, *up, target, world);
    return Cli_Write_Png("render", world, out);
}

// Every printed unit at its place on the sheet, on white.
int Render_Sheet(int dpi, const std::string& out) {
    const a_template& t = g_doc.doc_template;
    const double k = dpi / 25.4;
    const Rect sheet{0, 0, int16_t(std::min(32000.0, t.papersize.y * k)),
                     int16_t(std::min(32000.0, t.papersize.x * k))};
    bool fits = Cli_Fits(sheet);
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) fits = fits && Cli_Fits(Unit_Print_Bounds(ux, dpi));
    a_gworld_ptr page = fits ? Make_GWorld(32, sheet) : nullptr;
    if (!page) return Cli_Fail("render", Cli_Text("the sheet does not fit a picture at %1 dpi", {std::to_string(dpi)}));
    PixMap32_Fill(page->pix, sheet, 0xFFFFFF);
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        if (!g_doc.doc_units[ux] || !g_doc.doc_units[ux]->printf) continue;
        GWorld* w = nullptr;
        Render_Unit_Print(ux, *Design_Unit(ux), Unit_Print_Bounds(ux, dpi), w);
        a_gworld_ptr unit(w);
        const Rect src = Get_GWorld_Bounds(w);
        const int left = int(t.Unit(ux).bbox.left * k + 0.5), top = int(t.Unit(ux).bbox.top * k + 0.5);
        Pix_To_Pix(w->pix, page->pix, src, Rect_Offset(src, left, top), srcCopy, nullptr);
    }
    return Cli_Write_Png("render", page.get(), out);
}

}  // namespace

int Cmd_Render(const a_cli_args& args) {
    a_render_args a;
    std::string error;
    if (!Parse(args, a, error)) return Cli_Fail("render", error);
    if (!Cli_Art_Start()) return Cli_Fail("render", Cli_Text("no art database found"));
    if (Cli_Is_Project(a.design)) {
        if (!Cli_Open_Project(a.design)) return Cli_Fail("render", Cli_Cannot_Read(a.design));
    } else if (!Design_Read_File(a.design, error)) {
        return Cli_Fail("render", error);
    }
    if (const uint32_t n = g_doc.doc_template.nunits; uint32_t(a.unit) > n) {
        Doc_Dispose();
        return Cli_Fail("render", Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), std::to_string(n)}));
    }
    int status;
    if (a.sheet)
        status = Render_Sheet(a.dpi, a.out);
    else if (a.zoom)
        status = Render_Screen(uint32_t(a.unit), a.zoom, a.out);
    else
        status = Cli_Write_Unit_Print("render", uint32_t(a.unit), a.dpi, a.out);
    Doc_Dispose();
    return status;
}
