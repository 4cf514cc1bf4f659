// cirquel-cli print, printers and flex: a sheet (or test page) of a label
// stock to a CUPS queue or a PDF file, the queues, and disc-publisher files.
// The document is a project, a design description, or a stock with its
// default canvases (--hue tints every master's canvas so that it shows).
#include <cstdio>
#include <memory>
#include <string>

#include "cli_args.h"
#include "cli_json.h"
#include "commands.h"
#include "artdb/database.h"
#include "model/document.h"
#include "persist/design_file.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "print/flex_jobs.h"
#include "print/pcl.h"
#include "print/print_adjust.h"
#include "print/print_doc.h"
#include "shell/art_startup.h"
#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

struct a_print_args {
    std::string document, label, printer, pdf, prn, stick;
    bool test_page = false, colorbars = true, json = false, verify = false, burn = false;
    bool has_nudge = false, has_hue = false;
    int nudge_h = 0, nudge_v = 0, copies = 1, speed = 2, hue = 0;
};

bool Parse_Nudge(const std::string& s, int& h, int& v) {
    size_t comma = s.find(',');
    return comma != std::string::npos &&
           Cli_Parse_Int(s.substr(0, comma), -NUDGE_LIMIT, NUDGE_LIMIT, h) &&
           Cli_Parse_Int(s.substr(comma + 1), -NUDGE_LIMIT, NUDGE_LIMIT, v);
}

bool Parse(const a_cli_args& args, a_print_args& a, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "--template" && has_value) a.label = args[++i];
        else if (s == "--printer" && has_value) a.printer = args[++i];
        else if (s == "--pdf" && has_value) a.pdf = args[++i];
        else if (s == "--prn" && has_value) a.prn = args[++i];
        else if (s == "--stick" && has_value) a.stick = args[++i];
        else if (s == "--test-page") a.test_page = true;
        else if (s == "--no-colorbars") a.colorbars = false;
        else if (s == "--verify") a.verify = true;
        else if (s == "--burn") a.burn = true;
        else if (s == "--json") a.json = true;
        else if (s == "--nudge" && has_value) {
            if (!Parse_Nudge(args[++i], a.nudge_h, a.nudge_v))
                return error = Cli_Text("%1 takes H,V in tenths of a millimetre, %2 to %3", {"--nudge", "-800", "800"}), false;
            a.has_nudge = true;
        } else if (s == "--copies" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, 9999, a.copies)) return error = Cli_Text("%1 takes %2 to %3", {"--copies", "1", "9999"}), false;
        } else if (s == "--speed" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, 4, a.speed)) return error = Cli_Text("%1 takes %2 to %3", {"--speed", "1", "4"}), false;
        } else if (s == "--hue" && has_value) {
            if (!Cli_Parse_Int(args[++i], 0, 359, a.hue)) return error = Cli_Text("%1 takes %2 to %3", {"--hue", "0", "359"}), false;
            a.has_hue = true;
        } else if (s.rfind("-", 0) != 0 && a.document.empty()) {
            a.document = s;
        } else
            return error = Cli_Text("unexpected %1", {s}), false;
    }
    if (!a.document.empty() && (!a.label.empty() || a.has_hue))
        return error = Cli_Text("give %1, not both", {"PROJECT.cd4, DESIGN.json | --template LABEL [--hue V]"}), false;
    return true;
}

// A saved project, opened as the program opens it, or a design description.
bool Open_Document(const std::string& path, std::string& error) {
    if (!Cli_Art_Start()) return error = Cli_Text("no art database found"), false;
    if (Cli_Is_Project(path)) {
        if (!Cli_Open_Project(path)) return error = Cli_Cannot_Read(path), false;
        return true;
    }
    return Design_Read_File(path, error);
}

// A new document of the stock, every master's canvas tinted by --hue.
bool New_Stock_Document(const a_print_args& a, std::string& error) {
    if (a.label.empty()) return error = Cli_Text("give %1", {"PROJECT.cd4 | DESIGN.json | --template LABEL"}), false;
    int tx = a.label.size() < 32 ? Find_Template(a.label) : 0;
    if (tx == 0) return error = Cli_Text("no template named \"%1\"", {a.label}), false;
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    Doc_New(*t);
    if (a.has_hue)
        for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
            a_doc_unit* u = g_doc.doc_units[ux];
            if (!u || u->clonef) continue;
            u->canv.cv.canvas_color_sat = 50;
            u->canv.cv.canvas_color_hue = int16_t(a.hue);
            u->canv.cv.canvas_color_dist = 72;
        }
    return true;
}

bool Open_Stock(const a_print_args& a, std::string& error) {
    if (!a.document.empty()) {
        if (!Open_Document(a.document, error)) return false;
    } else if (!New_Stock_Document(a, error)) {
        return false;
    }
    g_print_options.from_command_line = true;
    g_print_options.copies = a.copies;
    if (a.has_nudge && !Set_Nudge(a.nudge_h, a.nudge_v)) return error = Cli_Text("nudge out of range"), false;
    return true;
}

}  // namespace

int Cmd_Print(const a_cli_args& args) {
    a_print_args a;
    std::string error;
    if (!Parse(args, a, error) || !Open_Stock(a, error)) return Cli_Fail("print", error);
    if (!a.pdf.empty() && !a.printer.empty()) return Cli_Fail("print", Cli_Text("%1 and %2 exclude each other", {"--printer", "--pdf"}));
    g_print_target = a_print_target{};
    g_print_target.target = a.pdf.empty() ? VP_QUEUE : VP_PDF;
    g_print_target.pdf_path = a.pdf;
    g_print_target.queue = a.printer;
    bool ok = a.test_page ? Print_Doc2(false, a.colorbars ? PURPOSE_TEST_BARS : PURPOSE_TEST)
                          : Print1_Doc();
    Doc_Dispose();
    std::string why = VP_Error();
    return ok ? 0 : Cli_Fail("print", why.empty() ? Cli_Text("the job was not printed") : why);
}

int Cmd_Printers(const a_cli_args& args) {
    bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) return Cli_Fail("printers", Cli_Text("unexpected %1", {args[0]}));
    a_json rows = a_json::array();
    for (const a_printer_desc& p : Printer_List()) {
        if (json) {
            rows.push_back({{"name", p.name}, {"make_model", p.make_model}, {"location", p.location},
                            {"default", p.is_default}, {"discpainter", p.is_discpainter}});
            continue;
        }
        std::printf("%s%s\t%s%s\n", p.name.c_str(), p.is_default ? " (default)" : "",
                    p.make_model.c_str(), p.is_discpainter ? "\tDiscPainter" : "");
    }
    if (json) std::fputs(Json_Rows(rows).c_str(), stdout);
    return 0;
}

int Cmd_Flex(const a_cli_args& args) {
    a_print_args a;
    std::string error;
    if (!Parse(args, a, error) || !Open_Stock(a, error)) return Cli_Fail("flex", error);
    if (a.prn.empty() == a.stick.empty()) return Cli_Fail("flex", Cli_Text("give one of %1", {"--prn FILE | --stick FOLDER"}));
    bool ok = false;
    if (!a.prn.empty()) {
        ok = Flex_Write_PRN(a.prn, &error);
    } else {
        a_flex_ticket t{a.copies, a.speed, a.burn, true, a.verify};
        Dialog_SetQuiet(true);  // the alert's reason is the one line below
        ok = FlexStick_Write_Folder(a.stick, false, t, &error);
    }
    Doc_Dispose();
    return ok ? 0 : Cli_Fail("flex", error);
}
