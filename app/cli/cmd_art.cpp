// cirquel-cli art: list, export, contact sheets and verification of art databases.
#include <cstdio>
#include <string>

#include "artdb/art_records.h"
#include "cli_args.h"
#include "artdb/art_survey.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "commands.h"
#include "cli_json.h"
#include "platform/codepage.h"
#include "platform/image_out.h"
#include "shell/art_startup.h"

namespace {

struct a_art_args {
    std::string sub, db, out, key;
    int category = -1;
    int klass = -1;
    bool json = false;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli art: %s\n", message.c_str());
    return 2;
}

bool Parse_Int(const std::string& s, int& v) {
    try {
        size_t used = 0;
        v = std::stoi(s, &used);
        return used == s.size();
    } catch (...) {
        return false;
    }
}

bool Parse(const a_cli_args& args, a_art_args& a, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "--json")
            a.json = true;
        else if (s == "--db" && has_value)
            a.db = args[++i];
        else if (s == "-o" && has_value)
            a.out = args[++i];
        else if (s == "--category" && has_value) {
            if (!Parse_Int(args[++i], a.category))
                return error = Cli_Text("%1 needs a number", {"--category"}), false;
        } else if (s == "--class" && has_value) {
            if (!Parse_Int(args[++i], a.klass)) return error = Cli_Text("%1 needs a number", {"--class"}), false;
        } else if (s.rfind("-", 0) == 0)
            return error = Cli_Text("unknown option %1", {s}), false;
        else if (a.sub.empty())
            a.sub = s;
        else if (a.key.empty())
            a.key = s;
        else
            return error = Cli_Text("unexpected argument %1", {s}), false;
    }
    return true;
}

// The database named with --db, or the program's own main and patch databases.
bool Open(const std::string& db, std::string& error) {
    if (!db.empty()) {
        std::string why;
        a_openfile_result r = OP_OpenFile(db, &why);
        if (r == OPEN_OKAY) return true;
        error = r == OPEN_NOTFOUND ? why : Cli_Text("%1 is not a valid art database", {db});
        return false;
    }
    std::string path;
    if (Art_Open_Main(Art_Search_Folders(), path) != OPEN_OKAY) {
        error = Cli_Text("no art database found (give %1)", {"--db FILE"});
        return false;
    }
    // The patch database beside the main one is optional.
    (void)OP_OpenFile(path.substr(0, path.find_last_of('/') + 1) + "CIRQUEL_PATCH.ART4");
    return true;
}

const char* Kind_Name(a_record_kind k) {
    switch (k) {
        case a_record_kind::PICTURE:
            return "picture";
        case a_record_kind::GRADIENT:
            return "gradient";
        case a_record_kind::BORDER_DIRECTORY:
            return "border-directory";
        case a_record_kind::SOUND:
            return "sound";
    }
    return "";
}

std::string Describe(const a_record_info& r) {
    switch (r.kind) {
        case a_record_kind::PICTURE:
            return std::to_string(r.width) + "x" + std::to_string(r.height) + "x" +
                   std::to_string(r.depth) + " " + KPixt_Codec_Name(r.flags) +
                   ((r.flags & PIXT_GRAY) ? " grey" : "");
        case a_record_kind::GRADIENT:
            return std::to_string(r.bands) + " bands";
        case a_record_kind::BORDER_DIRECTORY:
            return std::to_string(r.borders) + " borders";
        case a_record_kind::SOUND:
            return std::to_string(r.samples) + " samples at " + std::to_string(r.rate) + " Hz";
    }
    return "";
}

a_json Record_Json(const a_record_info& r) {
    const a_keyset& k = r.key;
    a_json j;
    j["key"] = Key_To_String(k);
    j["a"] = k.a;
    j["b"] = k.b;
    j["c"] = k.c;
    j["d"] = k.d;
    j["size"] = r.len;
    j["kind"] = Kind_Name(r.kind);
    if (r.kind == a_record_kind::PICTURE) {
        j["width"] = r.width;
        j["height"] = r.height;
        j["depth"] = r.depth;
        j["codec"] = KPixt_Codec_Name(r.flags);
        j["gray"] = (r.flags & PIXT_GRAY) != 0;
    }
    if (r.kind == a_record_kind::GRADIENT) j["bands"] = r.bands;
    if (r.kind == a_record_kind::BORDER_DIRECTORY) j["borders"] = r.borders;
    if (r.kind == a_record_kind::SOUND) {
        j["samples"] = r.samples;
        j["rate"] = r.rate;
    }
    if (r.damaged) j["damaged"] = r.problem;
    return j;
}

int Art_List(const a_art_args& a) {
    std::vector<a_record_info> records = Art_Survey(a.category);
    a_json rows = a_json::array();
    for (const a_record_info& r : records) {
        if (a.json)
            rows.push_back(Record_Json(r));
        else
            std::printf("%-20s %9d  %-16s %s%s\n", Key_To_String(r.key).c_str(), r.len,
                        Kind_Name(r.kind), Describe(r).c_str(),
                        r.damaged ? ("  DAMAGED: " + r.problem).c_str() : "");
    }
    if (a.json) std::fputs(Json_Rows(rows).c_str(), stdout);
    return 0;
}

int Art_Export(const a_art_args& a) {
    a_keyset key;
    if (!Key_From_String(a.key, key) || Is_Multiple_Key(key)) return Fail(Cli_Text("KEY is written a.b.c.d"));
    if (a.out.empty()) return Fail(Cli_Text("give %1", {"-o FILE.png"}));
    if (!OP_Exists(key)) return Fail(Cli_Text("no record %1", {a.key}));
    if (Record_Kind(key) != a_record_kind::PICTURE) return Fail(Cli_Text("%1 is not a picture", {a.key}));
    // A damaged record would end the program with the missing-data alert.
    int index = 0, filex = 0;
    if (Map_Find(index, filex, key)) {
        a_record_info r = Record_Survey(filex, index);
        if (r.damaged) return Fail(Cli_Text("%1 is damaged: %2", {a.key, r.problem}));
    }
    // Through the picture layer, as the program draws it; a damaged record ends with alert 6.
    a_rgb_image image;
    {
        a_locked_pixt art(key);
        image = Pixt_Image(art.pixmap(), art.pixt().mode == PIXT_MODE_TRANSPARENT);
    }
    std::string error;
    if (!Image_Save_PNG(a.out, image, error)) return Fail(error);
    return 0;
}

int Art_Sheet_Cmd(const a_art_args& a) {
    if (a.category < 0) return Fail(Cli_Text("give %1", {"--category A"}));
    if (a.out.empty()) return Fail(Cli_Text("give %1", {"-o FILE.png"}));
    int count = 0;
    a_rgb_image sheet = Art_Sheet(a.category, a.klass, count);
    if (count == 0) return Fail(Cli_Text("no pictures in category %1", {std::to_string(a.category)}));
    std::string error;
    if (!Image_Save_PNG(a.out, sheet, error)) return Fail(error);
    std::printf("%s\n", Cli_Text("%1 pictures", {std::to_string(count)}).c_str());
    return 0;
}

int Art_Verify() {
    int counts[4] = {}, damaged = 0, total = 0;
    for (int f = 1; f <= OP_Count(); ++f) {
        for (int i = 1; i <= Map_Count(f); ++i) {
            a_record_info r = Record_Survey(f, i);
            ++total;
            ++counts[static_cast<int>(r.kind)];
            if (r.damaged) {
                ++damaged;
                std::printf("DAMAGED %s: %s\n", Key_To_String(r.key).c_str(), r.problem.c_str());
            }
        }
    }
    auto n = [](int v) { return std::to_string(v); };
    std::printf("%s\n", Cli_Text("%1 records: %2 pictures, %3 gradients, %4 border directories, %5 sounds; %6 damaged",
                                 {n(total), n(counts[0]), n(counts[1]), n(counts[2]), n(counts[3]), n(damaged)})
                            .c_str());
    return damaged == 0 ? 0 : 1;
}

}  // namespace

int Cmd_Art(const a_cli_args& args) {
    a_art_args a;
    std::string error;
    if (!Parse(args, a, error)) return Fail(error);
    if (a.sub == "verify") {
        if (a.key.empty()) return Fail(Cli_Text("give the database FILE"));
        if (!Open(a.key, error)) return Fail(error);
        return Art_Verify();
    }
    if (a.sub != "list" && a.sub != "export" && a.sub != "sheet")
        return Fail(Cli_Text("unknown art command"));
    if (!Open(a.db, error)) return Fail(error);
    if (a.sub == "list") return Art_List(a);
    if (a.sub == "export") return Art_Export(a);
    return Art_Sheet_Cmd(a);
}
