// cirquel-cli: the batch tool. Lists and expands the built-in label stocks.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "json.h"
#include "model/document.h"
#include "shell/startup.h"
#include "base/string_ids.h"
#include "templates/catalogue.h"
#include "templates/chooser.h"
#include "templates/expand.h"
#include "templates/unit_kinds.h"

namespace {

struct a_args {
    std::string command;
    std::vector<std::string> positional;
    std::string brand, kind;
    bool json = false;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: cirquel-cli templates [--brand NAME] [--kind KIND] [--json]\n"
                 "       cirquel-cli brands [--json]\n"
                 "       cirquel-cli kinds [--json]\n"
                 "       cirquel-cli expand LABEL [--json]\n");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(stderr, "       cirquel-cli %s\n", c->usage);
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli: %s\n", message.c_str());
    return 2;
}

bool Parse_Args(int argc, char** argv, a_args& a) {
    for (int i = 1; i < argc; ++i) {
        std::string s = argv[i];
        if (s == "--json") a.json = true;
        else if ((s == "--brand" || s == "--kind") && i + 1 < argc) (s == "--brand" ? a.brand : a.kind) = argv[++i];
        else if (s.rfind("--", 0) == 0) return false;
        else if (a.command.empty()) a.command = s;
        else a.positional.push_back(s);
    }
    return !a.command.empty();
}

std::string Flag_Names(uint32_t set, std::string_view (*name)(int)) {
    std::string out = "[";
    bool first = true;
    for (int bit = 0; bit < 32; ++bit) {
        if (!Has_Flag(set, bit)) continue;
        std::string_view n = name(bit);
        std::string text = n.empty() ? "BIT" + std::to_string(bit) : std::string(n);
        out += (first ? "" : ", ") + Json_String(text);
        first = false;
    }
    return out + "]";
}

std::string Pair(float a, float b) { return "[" + Json_Number(a) + ", " + Json_Number(b) + "]"; }

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

std::string Template_Json(int index) {
    const a_ctemplate& t = TList_Get(index);
    std::u16string name;
    Filter_Template_Name(name, t.label);
    std::string brand;
    Extract_Brand(brand, t.label);
    int groups = 0;
    for (uint32_t g = 0; g < CTemplate_NGroups(t); ++g) groups += t.units[g].kind != UNIT_EMPTY;
    a_fpoint paper = CTemplate_Paper(t);
    return "{\"index\": " + std::to_string(index) + ", \"sort\": " +
           Json_String(std::string(t.sort, strnlen(t.sort, sizeof t.sort))) +
           ", \"label\": " + Json_String(Label_Text(t.label)) +
           ", \"name\": " + Json_String(Utf16_To_Utf8(name)) +
           ", \"brand\": " + Json_String(Utf16_To_Utf8(Filter_Template_Name(brand))) +
           ", \"paper\": " + Pair(paper.x, paper.y) +
           ", \"tflags\": " + Flag_Names(t.tflags, TemplateFlag_Name) +
           ", \"groups\": " + std::to_string(groups) + "}";
}

int Cmd_Templates(const a_args& a) {
    if (!a.brand.empty() && !a.kind.empty()) return Fail("give --brand or --kind, not both");
    g_chooser_sort = a.kind.empty() ? SORT_BY_BRAND : SORT_BY_KIND;
    Build_Paper_Lists();
    if (!a.brand.empty() && !Select_Line(a.brand)) return Fail("unknown brand \"" + a.brand + "\"");
    if (!a.kind.empty() && !Select_Line(a.kind)) return Fail("unknown kind \"" + a.kind + "\"");
    const auto& items = paper_list_desc.items;
    if (a.json) std::printf("[\n");
    for (size_t i = 0; i < items.size(); ++i) {
        int index = static_cast<int>(items[i].key);
        if (a.json)
            std::printf("  %s%s\n", Template_Json(index).c_str(), i + 1 < items.size() ? "," : "");
        else
            std::printf("%5d  %s\n", index, Utf16_To_Utf8(items[i].text).c_str());
    }
    if (a.json) std::printf("]\n");
    return 0;
}

int Cmd_List(const a_args& a, a_chooser_sort sort) {
    g_chooser_sort = sort;
    Build_Paper_Lists();
    const auto& items = paper_kind_desc.items;
    if (a.json) std::printf("[\n");
    for (size_t i = 1; i < items.size(); ++i) {
        std::string name = Utf16_To_Utf8(items[i].text);
        if (a.json) {
            std::string extra = sort == SORT_BY_KIND
                ? ", \"kind\": " + Json_String(UnitKind_Name(static_cast<int>(items[i].key))) : "";
            std::printf("  {\"key\": %u, \"name\": %s%s}%s\n", items[i].key, Json_String(name).c_str(),
                        extra.c_str(), i + 1 < items.size() ? "," : "");
        } else {
            std::printf("%5u  %s\n", items[i].key, name.c_str());
        }
    }
    if (a.json) std::printf("]\n");
    return 0;
}

std::string Unit_Json(uint32_t ux) {
    const a_unit& u = g_doc.doc_template.units[ux];
    const a_doc_unit& du = *g_doc.doc_units[ux];
    std::u16string kind_name;
    UnitKind_To_Str(kind_name, u.kind);
    const Rect& b = du.paintbounds;
    return "{\"kind\": " + Json_String(UnitKind_Name(u.kind)) +
           ", \"kind_name\": " + Json_String(Utf16_To_Utf8(kind_name)) +
           ", \"uflags\": " + Flag_Names(u.uflags, UnitFlag_Name) +
           ", \"bbox\": [" + Json_Number(u.bbox.left) + ", " + Json_Number(u.bbox.top) + ", " +
           Json_Number(u.bbox.right) + ", " + Json_Number(u.bbox.bottom) + "]" +
           ", \"bleed\": [" + Json_Number(u.bleed.left) + ", " + Json_Number(u.bleed.top) + ", " +
           Json_Number(u.bleed.right) + ", " + Json_Number(u.bleed.bottom) + "]" +
           ", \"meas\": [" + Json_Number(u.meas[0]) + ", " + Json_Number(u.meas[1]) + ", " +
           Json_Number(u.meas[2]) + ", " + Json_Number(u.meas[3]) + "]" +
           ", \"bounds\": [" + std::to_string(b.top) + ", " + std::to_string(b.left) + ", " +
           std::to_string(b.bottom) + ", " + std::to_string(b.right) + "]" +
           ", \"clone\": " + (du.clonef ? "true" : "false") + "}";
}

int Cmd_Expand(const a_args& a) {
    if (a.positional.size() != 1) return Usage();
    const std::string& label = a.positional[0];
    int index = label.size() < 32 ? Find_Template(label) : 0;
    if (index == 0) return Fail("no template named \"" + label + "\"");
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
    std::printf("{\"label\": %s,\n \"name\": %s,\n \"paper\": %s,\n \"tflags\": %s,\n"
                " \"direct_kind\": %s,\n \"units\": [\n",
                Json_String(Label_Text(x.label)).c_str(), Json_String(Utf16_To_Utf8(name)).c_str(),
                Pair(x.papersize.x, x.papersize.y).c_str(),
                Flag_Names(x.tflags, TemplateFlag_Name).c_str(),
                Json_String(kDirect[Calc_Direct_Print_Kind()]).c_str());
    for (uint32_t ux = 1; ux <= x.nunits; ++ux)
        std::printf("  %s%s\n", Unit_Json(ux).c_str(), ux < x.nunits ? "," : "");
    std::printf(" ]}\n");
    return 0;
}

}  // namespace

// A subcommand of the table, run between start and stop of the modules.
static int Run_Table_Command(const a_cli_command& c, int argc, char** argv) {
    if (!Shell_Start(a_startup_options{true})) return Fail("could not start");
    int status = c.run(a_cli_args(argv + 2, argv + argc));
    Shell_Stop();
    return status;
}

int main(int argc, char** argv) {
    if (argc >= 2) {
        for (const a_cli_command* c = g_cli_commands; c->name; ++c)
            if (std::strcmp(argv[1], c->name) == 0) return Run_Table_Command(*c, argc, argv);
    }
    a_args a;
    if (!Parse_Args(argc, argv, a)) return Usage();
    if (!Shell_Start(a_startup_options{true})) return Fail("could not start");
    int status;
    if (a.command == "templates") status = Cmd_Templates(a);
    else if (a.command == "brands") status = Cmd_List(a, SORT_BY_BRAND);
    else if (a.command == "kinds") status = Cmd_List(a, SORT_BY_KIND);
    else if (a.command == "expand") status = Cmd_Expand(a);
    else status = Usage();
    Shell_Stop();
    return status;
}
