// cirquel-cli info, preview and export: a project as the program opens it;
// save: a design description written as a project.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli_args.h"
#include "cli_json.h"
#include "commands.h"
#include "artdb/database.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "images/image_files.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "persist/design_file.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "model/text_rec.h"
#include "platform/codepage.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/image_out.h"
#include "print/print_doc.h"
#include "platform/input_file.h"
#include "shell/art_startup.h"

namespace {

int Fail(const char* cmd, const std::string& message) {
    std::fprintf(stderr, "cirquel-cli %s: %s\n", cmd, message.c_str());
    return 2;
}


const char* Kind_Name(uint8_t kind) {
    static const char* const names[] = {"photo", "symbol", "slot", "text", "paint"};
    return kind <= PAINT_BLOCK ? names[kind] : "unknown";
}

const char* Source_Name(a_source_kind kind) {
    static const char* const names[] = {"none", "database", "file", "clipboard", "empty slot", "collage"};
    return kind <= SOURCE_COLLAGE ? names[kind] : "unknown";
}

a_json Block_Json(const a_oj_item& it) {
    a_json b;
    b["kind"] = Kind_Name(it.kind);
    if (it.ph) {
        const a_spec& s = it.ph->spec;
        b["source"] = Source_Name(s.source.kind);
        if (s.source.kind == SOURCE_DATABASE)
            b["key"] = {s.source.key.a, s.source.key.b, s.source.key.c, s.source.key.d};
        if (s.source.kind == SOURCE_EXTFILE) b["path"] = s.source.path.name;
        b["center"] = {it.ph->dst_center.h, it.ph->dst_center.v};
        b["angle"] = s.angle;
        b["scaling"] = {s.scalingh, s.scalingv};
        b["opacity"] = s.opacity;
        b["codec"] = Codec_Text(it.ph->codec);
    }
    if (const a_om_rec* t = it.kind == TEXT_BLOCK ? it.om : nullptr) {
        std::u16string text;
        for (int32_t k = 1; k < t->nxyl; ++k) text += t->xyl[k].cc_char;
        b["text"] = Utf16_To_Utf8(text);
        b["font"] = Utf16_To_Utf8(Font_Name(int(t->fontx)));
        b["size"] = t->size;
        b["layout"] = t->layout;
    }
    return b;
}

a_json Project_Json(const std::string& path) {
    const a_template& t = g_doc.doc_template;
    a_json j;
    j["file"] = path;
    j["template"] = std::string(t.label, strnlen(t.label, sizeof t.label));
    j["paper"] = {t.papersize.x, t.papersize.y};
    a_json units = a_json::array();
    a_json fonts = a_json::array();
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        const a_doc_unit& u = *g_doc.doc_units[ux];
        a_json unit;
        unit["unit"] = ux;
        unit["kind"] = t.units[ux].kind;
        unit["clone"] = u.clonef;
        unit["paint"] = u.paintinuse;
        const a_keyset& k = u.canv.cv.canvas_key;
        unit["canvas"] = std::to_string(k.a) + "." + std::to_string(k.b) + "." + std::to_string(k.c) + "." +
                         std::to_string(k.d);
        a_json blocks = a_json::array();
        for (int i = 1; i <= u.oj.nlist; ++i) blocks.push_back(Block_Json(u.oj.list[i]));
        unit["blocks"] = blocks;
        units.push_back(unit);
    }
    j["units"] = units;
    const a_disc_report& r = Disc_Report();
    j["defects"] = r.defects;
    j["notes"] = r.notes;
    return j;
}

void Print_Text(const a_json& j) {
    std::printf("%s: template \"%s\", paper %g x %g mm, %zu units\n", j["file"].get<std::string>().c_str(),
                j["template"].get<std::string>().c_str(), j["paper"][0].get<double>(),
                j["paper"][1].get<double>(), j["units"].size());
    for (const a_json& u : j["units"]) {
        std::printf("unit %d%s%s, canvas %s\n", u["unit"].get<int>(), u["clone"].get<bool>() ? " (clone)" : "",
                    u["paint"].get<bool>() ? " with paint" : "", u["canvas"].get<std::string>().c_str());
        for (const a_json& b : u["blocks"]) std::printf("  %s\n", Json_Line(b).c_str());
    }
    for (const a_json& n : j["notes"]) std::printf("note: %s\n", n.get<std::string>().c_str());
}

// PROJECT, then options; false with a message for anything else.
bool Open_Project(const char* cmd, const std::string& path, int& status) {
    Dialog_SetQuiet(true);
    if (path.empty()) {
        status = Fail(cmd, Cli_Text("give a project file"));
        return false;
    }
    // Without the art database a project's canvases would read as unknown.
    if (!Cli_Art_Start()) {
        status = Fail(cmd, Cli_Text("no art database found"));
        return false;
    }
    if (!Cli_Open_Project(path)) {
        status = Fail(cmd, Cli_Cannot_Read(path));
        return false;
    }
    return true;
}

struct a_format_name {
    const char* name;
    a_file_format format;
};
const a_format_name kFormats[] = {{"bmp", FMT_BMP},   {"jpeg", FMT_JPEG}, {"tiff", FMT_TIFF},
                                  {"psd", FMT_PSD},   {"pict", FMT_PICT}, {"png", FMT_PNG}};

}  // namespace

std::string Cli_Cannot_Read(const std::string& path) {
    std::string text;
    GetIndString(text, ALERT_STR_ID, ALERT_CANNOT_READ);
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return path + ": " + text;
}

bool Cli_Is_Project(const std::string& path) {
    a_input_file file;
    unsigned char head[2] = {};
    return file.Open(path) == a_input_open::OK && file.Read_At(0, head, 2) && head[0] == 0xCD &&
           head[1] == 0xCD;
}

bool Cli_Open_Project(const std::string& path) {
    Dialog_SetQuiet(true);
    return Doc_Read(path);
}

bool Cli_Art_Start() { return OP_Count() > 0 || Art_Start(Art_Search_Folders()); }

int Cmd_Info(const a_cli_args& args) {
    std::string path;
    bool json = false;
    for (const std::string& s : args) {
        if (s == "--json") json = true;
        else if (s.rfind("-", 0) == 0) return Fail("info", Cli_Text("unknown option %1", {s}));
        else if (path.empty()) path = s;
        else return Fail("info", Cli_Text("unexpected argument %1", {s}));
    }
    int status = 0;
    if (!Open_Project("info", path, status)) return status;
    a_json j = Project_Json(path);
    if (json) std::printf("%s\n", Json_Line(j).c_str());
    else Print_Text(j);
    Doc_Dispose();
    return 0;
}

int Cmd_Preview(const a_cli_args& args) {
    std::string path, out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else if (args[i].rfind("-", 0) == 0) return Fail("preview", Cli_Text("unknown option %1", {args[i]}));
        else if (path.empty()) path = args[i];
        else return Fail("preview", Cli_Text("unexpected argument %1", {args[i]}));
    }
    if (path.empty() || out.empty()) return Fail("preview", Cli_Text("give a project file and %1", {"-o FILE.png"}));
    PixMap pm;
    if (!Scan_DISC_Preview(pm, path)) return Fail("preview", Cli_Text("%1: the project holds no preview", {path}));
    a_pixmap_owner owned(pm);
    a_rgb_image img;
    const Rect b = owned->bounds;
    img.width = Rect_Width(b);
    img.height = Rect_Height(b);
    for (int y = b.top; y < b.bottom; ++y) {
        const uint8_t* row = PixMap_Row(*owned, y);
        img.bgra.insert(img.bgra.end(), row, row + size_t(img.width) * 4);
    }
    std::string error;
    if (!Image_Save_PNG(out, img, error)) return Fail("preview", error);
    return 0;
}

int Cmd_Export(const a_cli_args& args) {
    std::string path, out, format_name;
    long unit = 1;
    for (size_t i = 0; i < args.size(); ++i) {
        bool has_value = i + 1 < args.size();
        if (args[i] == "-o" && has_value) out = args[++i];
        else if (args[i] == "--format" && has_value) format_name = args[++i];
        else if (args[i] == "--unit" && has_value) unit = std::strtol(args[++i].c_str(), nullptr, 10);
        else if (args[i].rfind("-", 0) == 0) return Fail("export", Cli_Text("unknown option %1", {args[i]}));
        else if (path.empty()) path = args[i];
        else return Fail("export", Cli_Text("unexpected argument %1", {args[i]}));
    }
    const a_format_name* f = nullptr;
    for (const a_format_name& k : kFormats)
        if (format_name == k.name) f = &k;
    if (!f) return Fail("export", Cli_Text("%1 takes one of %2", {"--format", "bmp, jpeg, tiff, psd, pict, png"}));
    if (out.empty()) return Fail("export", Cli_Text("give %1", {"-o FILE"}));
    int status = 0;
    if (!Open_Project("export", path, status)) return status;
    if (unit < 1 || unit > long(g_doc.doc_template.nunits)) {
        Doc_Dispose();
        return Fail("export", Cli_Text("%1 takes %2 to %3", {"--unit", "1", std::to_string(g_doc.doc_template.nunits)}));
    }
    std::string error;
    bool ok = Export_Unit(out, f->format, uint32_t(unit), &error);
    Doc_Dispose();
    if (!ok) return Fail("export", error.empty() ? Cli_Text("%1: could not be written", {out}) : error);
    return 0;
}

int Cmd_Save(const a_cli_args& args) {
    std::string design, out;
    bool embed = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else if (args[i] == "--embed") embed = true;
        else if (args[i].rfind("-", 0) == 0) return Fail("save", Cli_Text("unknown option %1", {args[i]}));
        else if (design.empty()) design = args[i];
        else return Fail("save", Cli_Text("unexpected argument %1", {args[i]}));
    }
    if (design.empty() || out.empty()) return Fail("save", Cli_Text("give %1 and %2", {"DESIGN.json", "-o PROJECT.cd4"}));
    if (!Cli_Art_Start()) return Fail("save", Cli_Text("no art database found"));
    // The photos keep their files' bytes exactly when asked; the user's own
    // preference is not consulted.
    g_pref.embed_option = embed;
    std::string error;
    if (!Design_Read_File(design, error)) return Fail("save", error);
    const int16_t err = Write_DISC(out, &error);
    Doc_Dispose();
    if (err != 0) return Fail("save", error.empty() ? Cli_Text("%1: could not be saved", {out}) : error);
    for (const std::string& n : Disc_Write_Notes()) std::fprintf(stderr, "%s\n", Cli_Text("note: %1", {n}).c_str());
    return 0;
}
