// cirquel-cli design: describe a label sheet from the command line as the
// designer does, check it, print its test pattern and export it as layout
// text; templates --add / --remove keep the user's own catalogue.
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_args.h"
#include "commands.h"
#include "model/document.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "print/print_adjust.h"
#include "print/print_doc.h"
#include "templates/catalogue.h"
#include "templates/designer.h"
#include "templates/unit_kinds.h"
#include "templates/user_catalogue.h"

namespace {

struct a_design_args {
    a_askdesign_rec d;
    std::string pdf, printer, export_path;
    bool test_page = false, inches = false, add = false, has_nudge = false;
    int nudge_h = 0, nudge_v = 0, groups = 0;
};

bool Parse_Float(const std::string& s, float& f) {
    f = Get_EntryF(s);
    return f != 0 || s.find_first_not_of("0.+- ") == std::string::npos;
}

// A4, Letter, Legal, 11x17, 4x6, A3 .. A6, or WIDTHxHEIGHT in millimetres.
bool Parse_Paper(const std::string& s, a_askdesign_rec& d) {
    const char* names[] = {"Letter", "Legal", "11x17", "4x6", "A3", "A4", "A5", "A6"};
    for (int i = 0; i < 8; ++i)
        if (s == names[i]) return AskDes_SetPaper(d, i + 1), true;
    size_t x = s.find('x');
    float w = 0, h = 0;
    if (x == std::string::npos || !Parse_Float(s.substr(0, x), w) || !Parse_Float(s.substr(x + 1), h)) return false;
    AskDes_SetPaper(d, DESIGN_PAPER_CUSTOM);
    d.ctemplate.papersize = {w, h};
    return true;
}

int Parse_Kind(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    int k = UnitKind_FromName(s);
    if (k < 0) k = UnitKind_FromName("UNIT_" + s);
    return k;
}

bool Set_Flag(a_cunit& g, const std::string& name) {
    static const std::pair<const char*, a_unit_flag> kFlags[] = {
        {"staggered", UNIT_STAGGERED}, {"shortodd", UNIT_SHORTODD}, {"clip", UNIT_CLOBBERS},
        {"unindexed", UNIT_NOTINDEXED}, {"cropmarks", UNIT_CROPMARKS}};
    for (const auto& [n, bit] : kFlags)
        if (name == n) return g.uflags = g.uflags | Flag_Bit(bit), true;
    return false;
}

// kind=CD,across=1,down=2 (n=N: one column of N),left=..,top=..,w=..,h=..,
// px=..,py=..,bleed=.. (or bleedl/bleedt/bleedr/bleedb),meas1..meas4=..,
// flags=staggered+shortodd+clip+unindexed+cropmarks
bool Parse_Group(const std::string& spec, a_cunit& g, std::string& error) {
    g = a_cunit{};
    g.nx = 1;
    size_t at = 0;
    while (at <= spec.size()) {
        size_t comma = spec.find(',', at);
        std::string item = spec.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        at = comma == std::string::npos ? spec.size() + 1 : comma + 1;
        size_t eq = item.find('=');
        if (eq == std::string::npos) return error = Cli_Text("%1: \"%2\" is not NAME=VALUE", {"--group", item}), false;
        std::string key = item.substr(0, eq), value = item.substr(eq + 1);
        float f = 0;
        int n = 0;
        if (key == "kind") {
            int k = Parse_Kind(value);
            if (k <= 0) return error = Cli_Text("%1: unknown kind \"%2\"", {"--group", value}), false;
            g.kind = uint8_t(k);
        } else if (key == "n" || key == "down" || key == "across") {
            if (!Cli_Parse_Int(value, 0, 250, n)) return error = "--group: " + Cli_Text("%1 takes %2 to %3", {key, "0", "250"}), false;
            (key == "across" ? g.nx : g.ny) = uint32_t(n);
        } else if (key == "flags") {
            for (size_t a = 0; a <= value.size();) {
                size_t plus = value.find('+', a);
                std::string name = value.substr(a, plus == std::string::npos ? std::string::npos : plus - a);
                if (!Set_Flag(g, name)) return error = Cli_Text("%1: unknown flag \"%2\"", {"--group", name}), false;
                a = plus == std::string::npos ? value.size() + 1 : plus + 1;
            }
        } else if (!Parse_Float(value, f)) {
            return error = "--group: " + Cli_Text("%1 takes a number", {key}), false;
        } else {
            struct a_field {
                const char* name;
                size_t offset;
            };
            static const a_field kFields[] = {
                {"left", offsetof(a_cunit, bboxleft)}, {"top", offsetof(a_cunit, bboxtop)},     {"w", offsetof(a_cunit, bboxwidth)},
                {"h", offsetof(a_cunit, bboxheight)},  {"px", offsetof(a_cunit, pitchx)},       {"py", offsetof(a_cunit, pitchy)},
                {"bleedl", offsetof(a_cunit, bleedleft)}, {"bleedt", offsetof(a_cunit, bleedtop)}, {"bleedr", offsetof(a_cunit, bleedright)},
                {"bleedb", offsetof(a_cunit, bleedbottom)}, {"meas1", offsetof(a_cunit, meas1)}, {"meas2", offsetof(a_cunit, meas2)},
                {"meas3", offsetof(a_cunit, meas3)}, {"meas4", offsetof(a_cunit, meas4)}};
            bool known = false;
            for (const a_field& k : kFields)
                if (key == k.name) CUnit_Set_Real(g, k.offset, f), known = true;
            if (key == "bleed") g.bleedleft = g.bleedtop = g.bleedright = g.bleedbottom = f, known = true;
            if (!known) return error = Cli_Text("%1: unknown field \"%2\"", {"--group", key}), false;
        }
    }
    if (g.kind == UNIT_EMPTY) return error = "--group: " + Cli_Text("give %1", {"kind=KIND"}), false;
    return true;
}

bool Parse(const a_cli_args& args, a_design_args& a, std::string& error) {
    AskDes_Init(a.d);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "--name" && has_value) {
            if (args[i + 1].size() > 31) return error = Cli_Text("%1 takes at most %2 characters", {"--name", "31"}), false;
            Label_Set(a.d.ctemplate.label, args[++i]);
        } else if (s == "--paper" && has_value) {
            if (!Parse_Paper(args[++i], a.d)) return error = Cli_Text("%1 takes one of %2", {"--paper", "A3..A6, Letter, Legal, 11x17, 4x6, WxH"}), false;
        } else if (s == "--landscape") {
            AskDes_SetOrientation(a.d, 2);
        } else if (s == "--inches") {
            a.inches = true;
        } else if (s == "--pitch" && has_value) {
            std::string v = args[++i];
            if (v != "between" && v != "edge") return error = Cli_Text("%1 takes one of %2", {"--pitch", "between, edge"}), false;
            AskDes_SetPitch(a.d, v == "between" ? 1 : 2);
        } else if (s == "--cd-printer") {
            a.d.ctemplate.tflags = a.d.ctemplate.tflags | Flag_Bit(IS_CDPRINTER);
        } else if (s == "--group" && has_value) {
            if (a.groups == MAXNGROUPS) return error = Cli_Text("at most %1 %2", {"6", "--group"}), false;
            a_cunit g;
            if (!Parse_Group(args[++i], g, error)) return false;
            a.d.sectionx = ++a.groups;
            AskDes_StoreSection(a.d, g);
        } else if (s == "--test-page") {
            a.test_page = true;
        } else if (s == "--pdf" && has_value) {
            a.pdf = args[++i];
        } else if (s == "--printer" && has_value) {
            a.printer = args[++i];
        } else if (s == "--nudge" && has_value) {
            std::string v = args[++i];
            size_t comma = v.find(',');
            if (comma == std::string::npos || !Cli_Parse_Int(v.substr(0, comma), -NUDGE_LIMIT, NUDGE_LIMIT, a.nudge_h) ||
                !Cli_Parse_Int(v.substr(comma + 1), -NUDGE_LIMIT, NUDGE_LIMIT, a.nudge_v))
                return error = Cli_Text("%1 takes H,V in tenths of a millimetre, %2 to %3", {"--nudge", "-800", "800"}), false;
            a.has_nudge = true;
        } else if (s == "--export" && has_value) {
            a.export_path = args[++i];
        } else if (s == "--add") {
            a.add = true;
        } else {
            return error = Cli_Text("unexpected %1", {s}), false;
        }
    }
    // Geometry is given in the units chosen: mark it so without converting.
    if (a.inches) a.d.ctemplate.tflags = a.d.ctemplate.tflags | Flag_Bit(IS_INCHES), a.d.units_popx = 2;
    a.d.sectionx = 1;
    AskDes_Store(a.d);
    if (a.test_page && a.pdf.empty() == a.printer.empty()) return error = Cli_Text("%1 takes %2 or %3", {"--test-page", "--pdf FILE", "--printer QUEUE"}), false;
    if (!a.test_page && (!a.pdf.empty() || !a.printer.empty())) return error = Cli_Text("%1 and %2 go with %3", {"--pdf", "--printer", "--test-page"}), false;
    return true;
}

bool Print_Pattern(const a_design_args& a, std::string& error) {
    g_print_options.from_command_line = true;
    g_print_target = a_print_target{};
    g_print_target.target = a.pdf.empty() ? VP_QUEUE : VP_PDF;
    g_print_target.pdf_path = a.pdf;
    g_print_target.queue = a.printer;
    if (a.has_nudge) {
        // The nudge belongs to the sheet's medium: set it on the design.
        Doc_New(a.d.xtemplate);
        bool set = Set_Nudge(a.nudge_h, a.nudge_v);
        Doc_Dispose();
        if (!set) return error = Cli_Text("nudge out of range"), false;
    }
    if (Print_Template(a.d.xtemplate)) return true;
    error = VP_Error();
    if (error.empty()) error = Cli_Text("the test page was not printed");
    return false;
}

}  // namespace

int Cmd_Design(const a_cli_args& args) {
    auto a = std::make_unique<a_design_args>();
    std::string error;
    if (!Parse(args, *a, error)) return Cli_Fail("design", error);
    if (!a->d.valid) {
        for (const a_design_problem& p : Design_Problems(a->d.ctemplate))
            Cli_Fail("design", p.section ? Cli_Text("group %1: %2", {std::to_string(p.section), p.text}) : p.text);
        return 2;
    }
    const std::string text = AskDes_Save2(a->d);
    if (!a->export_path.empty() && !File_SaveAtomic(a->export_path, text.data(), text.size(), &error))
        return Cli_Fail("design", error);
    if (a->add && !User_Catalogue_Add_Text(text, "design", error)) return Cli_Fail("design", error);
    if (a->test_page && !Print_Pattern(*a, error)) return Cli_Fail("design", error);
    if (a->export_path.empty() && !a->add && !a->test_page) std::fputs(text.c_str(), stdout);
    return 0;
}

// templates --add FILE.layout... / --remove NAME: false when neither is asked.
bool Cli_Templates_Change(const a_cli_args& args, int& status) {
    if (args.empty() || (args[0] != "--add" && args[0] != "--remove")) return false;
    if (args.size() < 2) {
        status = Cli_Fail("templates", Cli_Text("%1 takes %2", {args[0], args[0] == "--add" ? "FILE.layout" : "NAME"}));
        return true;
    }
    std::string error;
    if (args[0] == "--remove") {
        if (args.size() != 2) return status = Cli_Fail("templates", Cli_Text("%1 takes one %2", {"--remove", "NAME"})), true;
        status = User_Catalogue_Remove(args[1], error) ? 0 : Cli_Fail("templates", error);
        if (status == 0) std::printf("%s\n", Cli_Text("removed %1", {args[1]}).c_str());
        return true;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        std::vector<std::string> added;
        if (!User_Catalogue_Add_File(args[i], error, &added)) return status = Cli_Fail("templates", error), true;
        for (const std::string& name : added) std::printf("%s\n", Cli_Text("added %1", {name}).c_str());
    }
    status = 0;
    return true;
}
