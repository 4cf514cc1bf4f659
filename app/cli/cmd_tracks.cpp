// cirquel-cli tracks: the song table the Import menu would make of files, or
// (--into) those songs placed on a unit of a described document as text
// blocks, and the unit rendered.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "artdb/database.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "cli_args.h"
#include "cli_json.h"
#include "cli_render.h"
#include "commands.h"
#include "model/document.h"
#include "persist/design_file.h"
#include "persist/disc_write.h"
#include "platform/codepage.h"
#include "shell/art_startup.h"
#include "tracks/inject.h"
#include "tracks/track_sources.h"

namespace {

void Print_Json(const a_song_table& t) {
    a_json fields = a_json::array();
    for (uint32_t f = 0; f <= t.nfields; ++f) fields.push_back({{"name", t.fieldnames[f]}, {"type", t.fieldtypes[f]}});
    a_json rows = a_json::array();
    for (const a_song& song : t.songs) {
        a_json row = a_json::array();
        for (uint32_t f = 1; f <= t.nfields; ++f) row.push_back(Utf16_To_Utf8(song[f]));
        rows.push_back(row);
    }
    a_json j;
    j["fields"] = fields;
    j["songs"] = rows;
    std::printf("%s\n", Json_Line(j).c_str());
}

void Print_Text(const a_song_table& t) {
    std::string line = "#";
    for (uint32_t f = 1; f <= t.nfields; ++f) line += "\t" + t.fieldnames[f] + " " + t.fieldtypes[f];
    std::printf("%s\n", line.c_str());
    for (size_t s = 0; s < t.songs.size(); ++s) {
        line = std::to_string(s + 1);
        for (uint32_t f = 1; f <= t.nfields; ++f) line += "\t" + Utf16_To_Utf8(t.songs[s][f]);
        std::printf("%s\n", line.c_str());
    }
}

// The alert's text on one line.
std::string Alert_Text(int alert) {
    std::string s;
    GetIndString(s, 400, alert);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

// A source cut to the table's size says so, on standard error.
void Note_Cut(const a_song_table& t) {
    if (!SongTable_Was_Cut(t)) return;
    std::string s;
    Param_Text(std::to_string(t.songs.size()), std::to_string(t.offered));
    Get_Translated_String(ALERT_TRACKS_CUT, ALERT_STR_ID, s);
    std::fprintf(stderr, "cirquel-cli tracks: %s\n", s.c_str());
}

struct a_into_args {
    std::string design, out, fields, columns;
    int unit = 1, style = 1;
    bool has_fields = false, has_columns = false;
};

// The set of fields named in a comma list ("#" is the track number), or an error.
bool Field_Set(const a_song_table& t, const std::string& list, uint32_t& set, std::string& error) {
    set = 0;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        std::string name = list.substr(start, comma - start);
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        uint32_t f = 0;
        while (f <= t.nfields && f < 32 && (f == 0 ? name != "#" : t.fieldnames[f] != name)) ++f;
        if (name.empty() || f > t.nfields || f >= 32) return error = Cli_Text("no field named \"%1\"", {name}), false;
        set |= 1u << f;
        start = comma + 1;
    }
    return true;
}

int Into(const std::vector<std::string>& paths, const a_into_args& a) {
    if (a.out.empty()) return Cli_Fail("tracks", Cli_Text("%1 needs %2 or %3", {"--into", "-o FILE.png", "-o PROJECT.cd4"}));
    std::string ext = a.out.size() >= 4 ? a.out.substr(a.out.size() - 4) : "";
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    const bool save = ext == ".cd4";
    if (a.has_columns && !a.has_fields) return Cli_Fail("tracks", Cli_Text("%1 needs %2", {"--columns", "--fields"}));
    a_song_table t;
    std::string error;
    if (int alert = Tracks_Read_Paths(paths, t, error)) return Cli_Fail("tracks", error + ": " + Alert_Text(alert));
    Note_Cut(t);
    uint32_t shown = 0, starts = 0;
    if (a.has_fields && !Field_Set(t, a.fields, shown, error)) return Cli_Fail("tracks", "--fields: " + error);
    if (a.has_columns && !Field_Set(t, a.columns, starts, error)) return Cli_Fail("tracks", "--columns: " + error);
    if (!Cli_Art_Start()) return Cli_Fail("tracks", Cli_Text("no art database found"));
    // A project is opened as the program opens it; anything else is a description.
    if (Cli_Is_Project(a.design)) {
        if (!Cli_Open_Project(a.design)) return Cli_Fail("tracks", Cli_Cannot_Read(a.design));
    } else if (!Design_Read_File(a.design, error)) {
        return Cli_Fail("tracks", error);
    }
    if (uint32_t(a.unit) > g_doc.doc_template.nunits) {
        std::string n = std::to_string(g_doc.doc_template.nunits);
        Doc_Dispose();
        return Cli_Fail("tracks", Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), n}));
    }
    // A clone shows its master's design: the blocks go there.
    uint32_t master = Find_Clone_Master(uint32_t(a.unit));
    Select_Doc_Unit(master >= 1 ? master : uint32_t(a.unit));
    g_songfields_f = shown;
    g_songfields_c = starts;
    g_tracknum_fmt = int16_t(a.style);
    Calc_Default_Fields(t);
    a_chunk_table chunks;
    SongTable_To_Chunks(t, chunks);
    (void)Inject_Chunks(chunks);
    int status = 0;
    if (save) {
        const int16_t err = Write_DISC(a.out, &error);
        if (err != 0) status = Cli_Fail("tracks", error.empty() ? Cli_Text("%1: could not be saved", {a.out}) : error);
    } else {
        status = Cli_Write_Unit_Print("tracks", uint32_t(a.unit), 300, a.out);
    }
    Doc_Dispose();
    return status;
}

}  // namespace

int Cmd_Tracks(const a_cli_args& args) {
    std::vector<std::string> paths;
    bool json = false, into = false;
    a_into_args a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        const bool has_value = i + 1 < args.size();
        if (s == "--json") {
            json = true;
        } else if (s == "--into" && has_value) {
            into = true;
            a.design = args[++i];
        } else if (s == "-o" && has_value) {
            a.out = args[++i];
        } else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return Cli_Fail("tracks", Cli_Text("bad --unit %1", {args[i]}));
        } else if (s == "--style" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, 7, a.style)) return Cli_Fail("tracks", Cli_Text("%1 takes %2 to %3", {"--style", "1", "7"}));
        } else if (s == "--fields" && has_value) {
            a.fields = args[++i];
            a.has_fields = true;
        } else if (s == "--columns" && has_value) {
            a.columns = args[++i];
            a.has_columns = true;
        } else if (s.rfind("-", 0) == 0) {
            return Cli_Fail("tracks", Cli_Text("unknown option or missing value: %1", {s}));
        } else {
            paths.push_back(s);
        }
    }
    if (paths.empty()) return Cli_Fail("tracks", Cli_Text("give a track list, playlist, CUE sheet or audio files"));
    if (into && json) return Cli_Fail("tracks", Cli_Text("%1 and %2 exclude each other", {"--json", "--into"}));
    if (!into && (!a.out.empty() || a.has_fields || a.has_columns))
        return Cli_Fail("tracks", Cli_Text("%1, %2 and %3 go with %4", {"-o", "--fields", "--columns", "--into"}));
    if (into) return Into(paths, a);
    a_song_table t;
    std::string culprit;
    if (int alert = Tracks_Read_Paths(paths, t, culprit)) return Cli_Fail("tracks", culprit + ": " + Alert_Text(alert));
    Note_Cut(t);
    if (json) Print_Json(t);
    else Print_Text(t);
    return 0;
}
