// The label-stock commands: list the catalogue, its brands and kinds, and
// expand one layout into its units.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli_json.h"
#include "cli_args.h"
#include "commands.h"
#include "model/document.h"
#include "base/string_ids.h"
#include "platform/codepage.h"
#include "templates/catalogue.h"
#include "templates/chooser.h"
#include "templates/expand.h"
#include "templates/unit_kinds.h"

namespace {

struct a_args {
    std::vector<std::string> positional;
    std::string brand, kind;
    bool json = false;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli: %s\n", message.c_str());
    return 2;
}

// --json, --brand NAME, --kind KIND and the positional arguments; false for
// any other option.
bool Parse_Args(const a_cli_args& args, a_args& a) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--json") a.json = true;
        else if ((s == "--brand" || s == "--kind") && i + 1 < args.size()) (s == "--brand" ? a.brand : a.kind) = args[++i];
        else if (s.rfind("--", 0) == 0) return false;
        else a.positional.push_back(s);
    }
    return true;
}

a_json Flag_Names(uint32_t set, std::string_view (*name)(int)) {
    a_json out = a_json::array();
    for (int bit = 0; bit < 32; ++bit) {
        if (!Has_Flag(set, bit)) continue;
        std::string_view n = name(bit);
        out.push_back(n.empty() ? "BIT" + std::to_string(bit) : std::string(n));
    }
    return out;
}

a_json Pair(float a, float b) { return a_json::array({double(a), double(b)}); }

// Selects the chooser line whose shown text is `name`; false when none.
bool Select_Line(const std::string& name) {
    for (size_t i = 1; i < paper_kind_desc.items.size(); ++i) {
        if (Utf16_To_Utf8(paper_kind_desc.items[i].text) == name ||
            (paper_kind_desc.header_str == STR_ALL_KINDS &&
             UnitKind_Name(static_cast<int>(paper_kind_desc.items[i].key)) == name)) {
            PaperKind_Set(static_cast<int>(i) + 1);
            return true;
        }
    }
    return false;
}

a_json Template_Json(int index) {
    const a_ctemplate& t = TList_Get(index);
    std::u16string name;
    Filter_Template_Name(name, t.label);
    std::string brand;
    Extract_Brand(brand, t.label);
    int groups = 0;
    for (uint32_t g = 0; g < CTemplate_NGroups(t); ++g) groups += t.units[g].kind != UNIT_EMPTY;
    a_fpoint paper = CTemplate_Paper(t);
    a_json j;
    j["index"] = index;
    j["sort"] = std::string(t.sort, strnlen(t.sort, sizeof t.sort));
    j["label"] = Label_Text(t.label);
    j["name"] = Utf16_To_Utf8(name);
    j["brand"] = Utf16_To_Utf8(Filter_Template_Name(brand));
    j["paper"] = Pair(paper.x, paper.y);
    j["tflags"] = Flag_Names(t.tflags, TemplateFlag_Name);
    j["groups"] = groups;
    return j;
}

int Templates(const a_args& a) {
    if (!a.brand.empty() && !a.kind.empty()) return Fail(Cli_Text("give %1, not both", {"--brand | --kind"}));
    g_chooser_sort = a.kind.empty() ? SORT_BY_BRAND : SORT_BY_KIND;
    Build_Paper_Lists();
    if (!a.brand.empty() && !Select_Line(a.brand)) return Fail(Cli_Text("unknown brand \"%1\"", {a.brand}));
    if (!a.kind.empty() && !Select_Line(a.kind)) return Fail(Cli_Text("unknown kind \"%1\"", {a.kind}));
    const auto& items = paper_list_desc.items;
    a_json rows = a_json::array();
    for (const auto& item : items) {
        int index = static_cast<int>(item.key);
        if (a.json)
            rows.push_back(Template_Json(index));
        else
            std::printf("%5d  %s\n", index, Utf16_To_Utf8(item.text).c_str());
    }
    if (a.json) std::fputs(Json_Rows(rows).c_str(), stdout);
    return 0;
}

int Cmd_List(const a_args& a, a_chooser_sort sort) {
    g_chooser_sort = sort;
    Build_Paper_Lists();
    const auto& items = paper_kind_desc.items;
    a_json rows = a_json::array();
    for (size_t i = 1; i < items.size(); ++i) {
        std::string name = Utf16_To_Utf8(items[i].text);
        if (a.json) {
            a_json row = {{"key", items[i].key}, {"name", name}};
            if (sort == SORT_BY_KIND) row["kind"] = UnitKind_Name(static_cast<int>(items[i].key));
            rows.push_back(row);
        } else {
            std::printf("%5u  %s\n", items[i].key, name.c_str());
        }
    }
    if (a.json) std::fputs(Json_Rows(rows).c_str(), stdout);
    return 0;
}

a_json Unit_Json(uint32_t ux) {
    const a_unit& u = g_doc.doc_template.units[ux];
    const a_doc_unit& du = *g_doc.doc_units[ux];
    std::u16string kind_name;
    UnitKind_To_Str(kind_name, u.kind);
    const Rect& b = du.paintbounds;
    auto floats = [](float a, float b, float c, float d) {
        return a_json::array({double(a), double(b), double(c), double(d)});
    };
    a_json j;
    j["kind"] = UnitKind_Name(u.kind);
    j["kind_name"] = Utf16_To_Utf8(kind_name);
    j["uflags"] = Flag_Names(u.uflags, UnitFlag_Name);
    j["bbox"] = floats(u.bbox.left, u.bbox.top, u.bbox.right, u.bbox.bottom);
    j["bleed"] = floats(u.bleed.left, u.bleed.top, u.bleed.right, u.bleed.bottom);
    j["meas"] = floats(u.meas[0], u.meas[1], u.meas[2], u.meas[3]);
    j["bounds"] = {b.top, b.left, b.bottom, b.right};
    j["clone"] = du.clonef;
    return j;
}

int Expand(const a_args& a) {
    if (a.positional.size() != 1) return Fail(Cli_Text("%1 takes one %2", {"expand", "LABEL"}));
    const std::string& label = a.positional[0];
    int index = label.size() < 32 ? Find_Template(label) : 0;
    if (index == 0) return Fail(Cli_Text("no template named \"%1\"", {label}));
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    Doc_New(*t);
    t.reset();
    const a_template& x = g_doc.doc_template;
    std::u16string name;
    Filter_Template_Name(name, x.label);
    static const char* kDirect[] = {"NOT_DIRECT", "CD_DIRECT", "MINICD_DIRECT", "HOCKEY_DIRECT",
                                    "RECT_DIRECT"};
    if (!a.json) {
        std::printf("%s (%s): %u units on %.1f x %.1f mm\n", Utf16_To_Utf8(name).c_str(),
                    Label_Text(x.label).c_str(), x.nunits, double(x.papersize.x),
                    double(x.papersize.y));
        for (uint32_t ux = 1; ux <= x.nunits; ++ux) {
            const a_unit& u = x.units[ux];
            const Rect& b = g_doc.doc_units[ux]->paintbounds;
            std::printf("%4u  %-20s (%.2f, %.2f, %.2f, %.2f) mm  %d x %d px%s\n", ux,
                        std::string(UnitKind_Name(u.kind)).c_str(), double(u.bbox.left),
                        double(u.bbox.top), double(u.bbox.right), double(u.bbox.bottom),
                        Rect_Width(b), Rect_Height(b), g_doc.doc_units[ux]->clonef ? "  clone" : "");
        }
        return 0;
    }
    // One member a line, one unit a line.
    std::printf("{\"label\": %s,\n \"name\": %s,\n \"paper\": %s,\n \"tflags\": %s,\n"
                " \"direct_kind\": %s,\n \"units\": [\n",
                Json_Line(Label_Text(x.label)).c_str(), Json_Line(Utf16_To_Utf8(name)).c_str(),
                Json_Line(Pair(x.papersize.x, x.papersize.y)).c_str(),
                Json_Line(Flag_Names(x.tflags, TemplateFlag_Name)).c_str(),
                Json_Line(kDirect[Calc_Direct_Print_Kind()]).c_str());
    for (uint32_t ux = 1; ux <= x.nunits; ++ux)
        std::printf("  %s%s\n", Json_Line(Unit_Json(ux)).c_str(), ux < x.nunits ? "," : "");
    std::printf(" ]}\n");
    return 0;
}

}  // namespace

bool Cli_Templates_Change(const a_cli_args& args, int& status);  // cmd_design.cpp

int Cmd_Templates(const a_cli_args& args) {
    if (int status = 0; Cli_Templates_Change(args, status)) return status;
    a_args a;
    if (!Parse_Args(args, a) || !a.positional.empty()) return Fail(Cli_Text("%1: bad arguments", {"templates"}));
    return Templates(a);
}

int Cmd_Brands(const a_cli_args& args) {
    a_args a;
    if (!Parse_Args(args, a) || !a.positional.empty()) return Fail(Cli_Text("%1: bad arguments", {"brands"}));
    return Cmd_List(a, SORT_BY_BRAND);
}

int Cmd_Kinds(const a_cli_args& args) {
    a_args a;
    if (!Parse_Args(args, a) || !a.positional.empty()) return Fail(Cli_Text("%1: bad arguments", {"kinds"}));
    return Cmd_List(a, SORT_BY_KIND);
}

int Cmd_Expand(const a_cli_args& args) {
    a_args a;
    if (!Parse_Args(args, a)) return Fail(Cli_Text("%1: bad arguments", {"expand"}));
    return Expand(a);
}
