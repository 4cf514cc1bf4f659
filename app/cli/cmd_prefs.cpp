// cirquel-cli prefs: prints the preferences record (the file's, or the
// defaults when there is no valid file); --reset writes the defaults.
#include <cstdio>
#include <filesystem>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "cli_args.h"
#include "commands.h"
#include "cli_json.h"
#include "platform/codepage.h"
#include "base/prefs.h"
#include "base/recent_projects.h"
#include "ui/interface.h"

namespace {

using a_fields = std::vector<std::pair<std::string, a_json>>;  // name, value

a_json Bool(bool b) { return b; }

a_json Ints(std::initializer_list<int> v) {
    a_json out = a_json::array();
    for (int x : v) out.push_back(x);
    return out;
}

template <size_t N>
a_json Text16(const char16_t (&s)[N]) {
    size_t n = 0;
    while (n < N && s[n]) ++n;
    return Utf16_To_Utf8(std::u16string(s, n));
}

template <size_t N>
a_json Text8(const char (&s)[N]) {
    return std::string(s, strnlen(s, N));
}

a_json Date(const DateTimeRec& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
    return std::string(buf);
}

a_json List(const std::vector<a_json>& items) { return a_json(items); }

a_json Media(const a_print_media_array& m) {
    a_json entries = a_json::array();
    for (const a_print_media_spec& e : m.list) {
        a_json entry;
        entry["label"] = Text16(e.label);
        entry["nudge"] = Ints({e.nudge.v, e.nudge.h});
        entry["adj"] = Ints({e.adj[0], e.adj[1], e.adj[2], e.adj[3], e.adj[4]});
        entries.push_back(entry);
    }
    a_json out;
    out["listx"] = m.listx;
    out["list"] = entries;
    return out;
}

a_json Color(const a_win_pixel32& c) { return Ints({c.r, c.g, c.b, c.a}); }

a_fields Fields(const a_pref_rec& p) {
    static const char* const kKinds[NDIRECT_KINDS] = {"NOT_DIRECT", "CD_DIRECT", "MINICD_DIRECT",
                                                      "HOCKEY_DIRECT", "RECT_DIRECT"};
    std::vector<a_json> media, recent, recentlay, colors;
    for (int k = 0; k < NDIRECT_KINDS; ++k) {
        a_json m;
        m["kind"] = kKinds[k];
        m["media"] = Media(p.print_media[k]);
        media.push_back(m);
    }
    for (const a_recent_doc& r : p.recent)
        if (r.doc_path[0]) {
            a_json d;
            d["path"] = Text8(r.doc_path);
            d["time"] = Date(r.doc_time);
            recent.push_back(d);
        }
    for (const a_layout_usage_rec& r : p.recentlay)
        if (r.count) {
            a_json u;
            u["label"] = Text8(r.label);
            u["count"] = r.count;
            u["when"] = Date(r.when);
            recentlay.push_back(u);
        }
    for (const a_pixel24& c : p.colors) colors.push_back(Ints({c.r, c.g, c.b}));
    const Rect& w = p.tot_window;
    return {
        {"version", p.version},
        {"language_offset", p.language_offset},
        {"print_media", List(media)},
        {"last_agex", p.last_agex},
        {"tot_window", Ints({w.top, w.left, w.bottom, w.right})},
        {"print_autopos", Bool(p.print_autopos)},
        {"sound_option", Bool(p.sound_option)},
        {"sound2_option", Bool(p.sound2_option)},
        {"scroll_option", Bool(p.scroll_option)},
        {"echo_option", Bool(p.echo_option)},
        {"history_option", Bool(p.history_option)},
        {"status_option", Bool(p.status_option)},
        {"cutlines_option", Bool(p.cutlines_option)},
        {"showframes_option", Bool(p.showframes_option)},
        {"tinycurs_option", Bool(p.tinycurs_option)},
        {"exportb_option", Bool(p.exportb_option)},
        {"embed_option", Bool(p.embed_option)},
        {"ruler_option", Bool(p.ruler_option)},
        {"addon_folder", Text8(p.addon_folder)},
        {"base_font", Text16(p.base_font)},
        {"base_fontx", p.base_fontx},
        {"recent", List(recent)},
        {"recentlay", List(recentlay)},
        {"colors", List(colors)},
        {"ruler_color", Color(p.ruler_color)},
        {"gridlines_color", Color(p.gridlines_color)},
        {"cutlines_color", Color(p.cutlines_color)},
        {"gridlines_dash", p.gridlines_dash},
    };
}

// Projects put on the start screen's recent list, as opening them would.
int Add_Recent(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ec;
        std::string full = std::filesystem::absolute(path, ec).string();
        if (ec || !std::filesystem::is_regular_file(full, ec)) {
            Cli_Fail("prefs", Cli_Text("no file %1", {path}));
            return 2;
        }
        Recent_Project_Add(full);
    }
    std::string error;
    if (!Prefs_Write(&error)) {
        Cli_Fail("prefs", Cli_Text("could not write the preferences: %1", {error}));
        return 1;
    }
    return 0;
}

}  // namespace

int Cmd_Prefs(const a_cli_args& args) {
    bool json = false, reset = false;
    std::vector<std::string> recent;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") json = true;
        else if (a == "--reset") reset = true;
        else if (a == "--recent" && i + 1 < args.size()) recent.push_back(args[++i]);
        else {
            Cli_Fail("prefs", Cli_Text("unknown argument \"%1\"", {a}));
            return 2;
        }
    }
    if (reset) {
        Prefs_SetToDefault();
        Prefs_Fixup_Read();
        gs.grid_vals[START_GRID] = g_pref.last_agex;  // else the write fix-up brings it back
        std::string error;
        if (!Prefs_Write(&error)) {
            Cli_Fail("prefs", Cli_Text("could not write the preferences: %1", {error}));
            return 1;
        }
        std::fprintf(stderr, "cirquel-cli prefs: %s\n",
                     Cli_Text("wrote the default preferences to %1", {Prefs_Path()}).c_str());
        if (!json) return 0;
    }
    bool new_pref = true;
    Prefs_Read(new_pref);
    if (!recent.empty()) return Add_Recent(recent);
    a_fields fields = Fields(g_pref);
    fields.insert(fields.begin(),
                  {{"file", Prefs_Path()}, {"from_file", Bool(!new_pref)}});
    if (json) {
        std::printf("{\n");
        for (size_t i = 0; i < fields.size(); ++i)
            std::printf("  %s: %s%s\n", Json_Line(fields[i].first).c_str(),
                        Json_Line(fields[i].second).c_str(), i + 1 < fields.size() ? "," : "");
        std::printf("}\n");
    } else {
        for (const auto& [name, value] : fields)
            std::printf("%-18s %s\n", name.c_str(), Json_Line(value).c_str());
    }
    return 0;
}
