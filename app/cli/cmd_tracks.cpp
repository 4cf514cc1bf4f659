// cirquel-cli tracks: the song table the Import menu would make of files.
#include <cstdio>
#include <string>
#include <vector>

#include "base/messages.h"
#include "cli_args.h"
#include "cli_json.h"
#include "commands.h"
#include "platform/codepage.h"
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

}  // namespace

int Cmd_Tracks(const a_cli_args& args) {
    std::vector<std::string> paths;
    bool json = false;
    for (const std::string& s : args) {
        if (s == "--json") json = true;
        else if (s == "--into") return Cli_Fail("tracks", "--into is not built yet");
        else if (s.rfind("-", 0) == 0) return Cli_Fail("tracks", "unknown option " + s);
        else paths.push_back(s);
    }
    if (paths.empty()) return Cli_Fail("tracks", "give a track list, playlist, CUE sheet or audio files");
    a_song_table t;
    std::string culprit;
    if (int alert = Tracks_Read_Paths(paths, t, culprit)) return Cli_Fail("tracks", culprit + ": " + Alert_Text(alert));
    if (json) Print_Json(t);
    else Print_Text(t);
    return 0;
}
