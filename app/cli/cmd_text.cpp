// cirquel-cli text: one text block laid out on a unit of a label stock, its
// characters' places printed as JSON; cirquel-cli fonts: the font list.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_json.h"
#include "commands.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shape_view.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
#include "text/text_metrics.h"
#include "model/document.h"
#include "pixels/syspix.h"
#include "platform/png.h"
#include "render/compositor.h"
#include "text/text_fields.h"

namespace {

const char* const kCategoryNames[] = {"regular", "space", "hardbreak", "overflow", "eos", "ignore"};

bool Set_Field(a_om_rec& om, const std::string& assign, std::string& error) {
    size_t eq = assign.find('=');
    if (eq == std::string::npos) return error = Cli_Text("%1 takes %2", {"--set", "FIELD=VALUE"}), false;
    std::string name = assign.substr(0, eq), value = assign.substr(eq + 1);
    const a_text_field* f = Find_Text_Field(name);
    if (!f) return error = Cli_Text("no field named \"%1\"", {name}), false;
    int v = 0;
    switch (f->kind) {
        case FIELD_INT:
            if (!Cli_Parse_Int(value, f->lo, f->hi, v))
                return error = Cli_Text("%1 takes %2 to %3", {name, std::to_string(f->lo), std::to_string(f->hi)}), false;
            om.*f->i = int16_t(v);
            return true;
        case FIELD_BOOL:
            if (value != "0" && value != "1") return error = Cli_Text("%1 takes 0 or 1", {name}), false;
            om.*f->b = value == "1";
            return true;
        case FIELD_COLOR:
            if (!Parse_Text_Color(value, om.*f->c)) return error = Cli_Text("%1 takes a colour #RRGGBB", {name}), false;
            return true;
        case FIELD_JUSTIFY:
            if (!Cli_Parse_Int(value, 0, 2, v)) return error = Cli_Text("%1 takes 0 (left), 1 (centre) or 2 (right)", {"justify"}), false;
            om.justify = uint8_t(v);
            return true;
    }
    return error = Cli_Text("no field named \"%1\"", {name}), false;
}

struct a_text_args {
    std::string label, out;
    std::u16string text;
    std::vector<std::string> sets;  // FIELD=VALUE, applied over the layout's defaults
    bool has_text = false, json = false;
    int unit = 1, size = 14, dpi = 300;
    int layout = LAYOUT_HORZ;
};

std::u16string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out.push_back('\r');
            ++i;
        } else if (s[i] == '\n') {  // a typed new line is a line break too
            out.push_back('\r');
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
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = Cli_Text("bad --unit %1", {args[i]}), false;
        } else if (s == "--text" && has_value) {
            a.text = Unescape(args[++i]);
            a.has_text = true;
        } else if (s == "--layout" && has_value) {
            a.layout = Find_Text_Layout(args[++i]);
            if (a.layout < 0) return error = Cli_Text("no layout named \"%1\"", {args[i]}), false;
        } else if (s == "--font" && has_value) {
            int f = Font_Find(Utf8_To_Utf16(args[++i]));
            if (f == 0) return error = Cli_Text("no font named \"%1\"", {args[i]}), false;
            om.fontx = uint32_t(f);
        } else if (s == "--size" && has_value) {
            if (!Cli_Parse_Int(args[++i], 5, 288, a.size)) return error = Cli_Text("%1 takes %2 to %3", {"--size", "5", "288"}), false;
        } else if (s == "--color" && has_value) {
            if (!Parse_Text_Color(args[++i], om.base_color)) return error = Cli_Text("%1 takes a colour #RRGGBB", {"--color"}), false;
        } else if (s == "--set" && has_value) {
            a.sets.push_back(args[++i]);
            // Checked now, set again once the layout has given its defaults.
            if (!Set_Field(om, a.sets.back(), error)) return false;
        } else if (s == "--dpi" && has_value) {
            if (!Cli_Parse_Int(args[++i], 36, 600, a.dpi)) return error = Cli_Text("--dpi takes %1 to %2", {"36", "600"}), false;
        } else if (s.rfind("-", 0) == 0 || !a.label.empty()) {
            return error = Cli_Text("unexpected %1", {s}), false;
        } else {
            a.label = s;
        }
    }
    if (a.label.empty() || !a.has_text) return error = Cli_Text("a label and %1 are needed", {"--text STRING"}), false;
    if (!a.json && a.out.empty()) return error = Cli_Text("%1 or %2 is needed", {"--json", "-o FILE.png"}), false;
    return true;
}

// Entry i of the block: a pair's first half shows the whole character, its
// second half the empty string.
a_json Char_Json(const a_om_rec& om, int i) {
    const a_xyl_char& c = om.xyl[i];
    std::u16string ch(1, c.cc_char);
    if (Is_Pair_Trail(om, i)) ch.clear();
    else if (Is_High_Surrogate(c.cc_char) && i + 1 < om.nxyl && Is_Low_Surrogate(om.xyl[i + 1].cc_char))
        ch.push_back(om.xyl[i + 1].cc_char);
    a_json j;
    j["char"] = Utf16_To_Utf8(ch);
    j["mm_x"] = c.mm_x;
    j["mm_y"] = c.mm_y;
    j["mm_t"] = c.mm_t;
    j["mm_width"] = c.mm_width;
    j["mm_cat"] = c.mm_cat < 6 ? kCategoryNames[c.mm_cat] : "?";
    return j;
}

// The block alone on the unit's white canvas, printed at `dpi`, with the
// unit's shape over it as `shape --holes` shows it, into a PNG file.
int Draw_Block(const a_template& t, uint32_t unit, const a_om_rec& style, int dpi, const std::string& out) {
    if (g_doc.doc_open) Doc_Dispose();
    Doc_New(t);
    const Rect total = Unit_Print_Bounds(unit, dpi);
    if (Rect_IsEmpty(total) || !PixMap_Fits(total, 32)) {
        Doc_Dispose();
        return Cli_Fail("text", Cli_Text("the unit does not fit a picture at %1 dpi", {std::to_string(dpi)}));
    }
    const uint32_t master = Find_Clone_Master(unit);
    Select_Doc_Unit(master >= 1 ? master : unit);
    const int omx = OM_New();
    a_om_rec& om = *g_doc.up->oj.list[omx].om;
    om = style;  // nothing rendered yet: no worlds are shared
    OM_Recalc(om, omx);
    GWorld* w = nullptr;
    Render_Unit_Print(unit, *Design_Unit(unit), total, w);
    a_gworld_ptr world(w);
    if (world) {
        a_shape_view_options view;
        view.holes = true;
        Draw_Shape_Over(t.units[unit], view, World_Bits(world.get()));
    }
    std::string error;
    const bool written = world && Png_Write(out, World_Bits(world.get()), &error, a_png_effort::FAST);
    Doc_Dispose();
    if (!written) return Cli_Fail("text", error.empty() ? Cli_Text("cannot draw the unit") : error);
    return 0;
}

}  // namespace

int Cmd_Text(const a_cli_args& args) {
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    a_text_args a;
    std::string error;
    if (!Parse(args, a, *om, error)) return Cli_Fail("text", error);
    int tx = a.label.size() < 32 ? Find_Template(a.label) : 0;
    if (tx == 0) return Cli_Fail("text", Cli_Text("no template named \"%1\"", {a.label}));
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    if (uint32_t(a.unit) > t->nunits)
        return Cli_Fail("text", Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), std::to_string(t->nunits)}));
    Rect bounds;
    Calc_Unit_Bounds(t->units[a.unit], bounds);
    a_text_unit u = Text_Unit_Of(t->units[a.unit], bounds);
    OM_Start_Layout(*om, u, a.layout, a.size);
    for (const std::string& set : a.sets)
        if (!Set_Field(*om, set, error)) return Cli_Fail("text", error);
    UniStr_To_OM(*om, a.text.c_str());
    if (!a.out.empty()) {
        if (int status = Draw_Block(*t, uint32_t(a.unit), *om, a.dpi, a.out); status != 0) return status;
        if (!a.json) return 0;
    }
    OM_Recalc_On(*om, 1, u);
    a_json out;
    out["bbox"] = {om->bbox.top, om->bbox.left, om->bbox.bottom, om->bbox.right};
    a_json marks = a_json::array();
    for (uint32_t i = 1; i <= om->noverflows; ++i)
        marks.push_back({{"id", om->overflows[i].id}, {"v", om->overflows[i].pos.v}, {"h", om->overflows[i].pos.h}});
    out["overflows"] = marks;
    a_json chars = a_json::array();
    for (int i = 1; i < om->nxyl; ++i) chars.push_back(Char_Json(*om, i));
    out["chars"] = chars;
    std::fputs(Json_Line(out).c_str(), stdout);
    return 0;
}

int Cmd_Fonts(const a_cli_args& args) {
    bool json = false;
    for (const std::string& s : args) {
        if (s == "--json") json = true;
        else return Cli_Fail("fonts", Cli_Text("unexpected %1", {s}));
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
