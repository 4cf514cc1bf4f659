// cirquel-cli import-old: a project of the previous major version (or of
// this one) imported into one unit of a project, as the Import menu's
// "From another project" does, then saved as a project or the unit drawn
// as it prints.
#include <cstdio>
#include <string>

#include "cli_args.h"
#include "cli_render.h"
#include "commands.h"
#include "model/document.h"
#include "persist/design_file.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "platform/dialogs.h"

namespace {

struct a_import_args {
    std::string old, into, out;
    int unit = 1;
};

bool Ends_With(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The document to import into: a project, or a described document.
bool Open_Target(const std::string& path, std::string& error) {
    if (Cli_Is_Project(path)) {
        if (Cli_Open_Project(path)) return true;
        error = Cli_Cannot_Read(path);
        return false;
    }
    return Design_Read_File(path, error);
}

int Run(const a_import_args& a) {
    if (!Cli_Art_Start()) return Cli_Fail("import-old", Cli_Text("no art database found"));
    std::string error;
    if (!Open_Target(a.into, error)) return Cli_Fail("import-old", error);
    if (uint32_t(a.unit) > g_doc.doc_template.nunits) {
        const std::string n = std::to_string(g_doc.doc_template.nunits);
        Doc_Dispose();
        return Cli_Fail("import-old", Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), n}));
    }
    // A clone shows its master's design: the import goes there.
    const uint32_t master = Find_Clone_Master(uint32_t(a.unit));
    Select_Doc_Unit(master >= 1 ? master : uint32_t(a.unit));
    Dialog_SetQuiet(true);
    if (!Do_Import_Cirquel(a.old)) {
        std::string why = Cli_Cannot_Read(a.old);
        for (const std::string& note : Disc_Report().notes) why += " (" + note + ")";
        Doc_Dispose();
        return Cli_Fail("import-old", why);
    }
    for (const std::string& note : Disc_Report().notes) std::fprintf(stderr, "cirquel-cli import-old: %s\n", note.c_str());
    int status = 0;
    if (Ends_With(a.out, ".png")) {
        status = Cli_Write_Unit_Print("import-old", uint32_t(a.unit), 300, a.out);
    } else if (Write_DISC(a.out, &error) != 0) {
        status = Cli_Fail("import-old", error.empty() ? Cli_Text("%1: could not be saved", {a.out}) : error);
    }
    Doc_Dispose();
    return status;
}

}  // namespace

int Cmd_Import_Old(const a_cli_args& args) {
    a_import_args a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        const bool has_value = i + 1 < args.size();
        if (s == "--into" && has_value) {
            a.into = args[++i];
        } else if (s == "-o" && has_value) {
            a.out = args[++i];
        } else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return Cli_Fail("import-old", Cli_Text("bad --unit %1", {args[i]}));
        } else if (s.rfind("-", 0) == 0) {
            return Cli_Fail("import-old", Cli_Text("unknown option or missing value: %1", {s}));
        } else if (a.old.empty()) {
            a.old = s;
        } else {
            return Cli_Fail("import-old", Cli_Text("unexpected argument %1", {s}));
        }
    }
    if (a.old.empty() || a.into.empty() || a.out.empty())
        return Cli_Fail("import-old", Cli_Text("give %1 and %2 or %3", {"OLD.cd4 --into PROJECT.cd4", "-o OUT.cd4", "-o FILE.png"}));
    return Run(a);
}
