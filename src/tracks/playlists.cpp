#include "tracks/playlists.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/messages.h"
#include "base/string_ids.h"
#include "platform/files.h"
#include "tracks/import.h"
#include "tracks/itunes_xml.h"

namespace {

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Percent_Decode(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() + 0 && Hex(s[i + 1]) >= 0 && Hex(s[i + 2]) >= 0) {
            out += char(Hex(s[i + 1]) << 4 | Hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Trim(std::string_view s) {
    while (!s.empty() && std::isspace(uint8_t(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(uint8_t(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

// An entry's song: what the playlist says, else the file's tags, else its name.
void Add_Entry(a_song_table& t, a_track_tags tags, const std::string& folder, const std::string& entry,
               a_tag_lookup lookup) {
    if (tags.title.empty()) {
        std::string path = Playlist_Entry_Path(folder, entry);
        a_track_tags file_tags;
        if (!path.empty() && lookup && lookup(path, file_tags) && file_tags.any()) {
            if (file_tags.length < 0) file_tags.length = tags.length;
            tags = file_tags;
        } else {
            std::string name = entry;
            std::replace(name.begin(), name.end(), '\\', '/');
            tags.title = std::filesystem::path(Percent_Decode(name)).stem().string();
        }
    }
    (void)Tags_Add_Song(t, tags);
}

}  // namespace

std::string Playlist_Entry_Path(const std::string& folder, const std::string& entry) {
    std::string e = entry;
    if (e.rfind("file://", 0) == 0) {
        e = Percent_Decode(e.substr(7));
        if (!e.empty() && e[0] != '/') e = e.substr(std::min(e.find('/'), e.size()));  // file://host/path
        return e;
    }
    size_t colon = e.find("://");
    if (colon != std::string::npos) return {};
    std::replace(e.begin(), e.end(), '\\', '/');
    if (e.empty() || e[0] == '/') return e;
    return (std::filesystem::path(folder) / e).lexically_normal().string();
}

bool Is_M3U(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    return head.substr(0, 7) == "#EXTM3U";
}

bool Is_XSPF(std::string_view head) {
    head = head.substr(0, 4096);
    return head.find("<playlist") != std::string_view::npos && head.find("xspf.org") != std::string_view::npos;
}

bool Is_Playlist_Text(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char ch) {
        const auto c = uint8_t(ch);
        return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
    });
}

bool Parse_M3U(std::string_view text, const std::string& folder, a_tag_lookup lookup, a_song_table& t) {
    Tags_Table_Init(t);
    if (!Is_Playlist_Text(text)) return false;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    a_track_tags pending;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty()) continue;
        if (line.rfind("#EXTINF:", 0) == 0) {
            // #EXTINF:length[ attributes],Artist - Title
            pending = a_track_tags{};
            std::string rest = line.substr(8);
            size_t comma = rest.find(',');
            std::string head = rest.substr(0, comma);
            char* stop = nullptr;
            long seconds = std::strtol(head.c_str(), &stop, 10);
            if (stop != head.c_str() && seconds >= 0 && seconds < 100000000) pending.length = int(seconds);
            std::string title = comma == std::string::npos ? "" : Trim(rest.substr(comma + 1));
            size_t dash = title.find(" - ");
            if (dash != std::string::npos) {
                pending.artist = title.substr(0, dash);
                title = title.substr(dash + 3);
            }
            pending.title = title;
            continue;
        }
        if (line[0] == '#') continue;
        if (t.songs.size() >= SONG_MAX_SONGS) (void)SongTable_NewSong(t);  // counted, not looked up
        else Add_Entry(t, pending, folder, line, lookup);
        pending = a_track_tags{};
    }
    return !t.songs.empty();
}

bool Parse_XSPF(std::string_view text, const std::string& folder, a_tag_lookup lookup, a_song_table& t) {
    Tags_Table_Init(t);
    a_xml_rec x;
    x.data = text;
    std::string tok, value, location;
    a_track_tags tags;
    bool in_track = false;
    int depth = 0;  // inside a track: elements we do not read (extension, link ...)
    for (;;) {
        GetTokenXML(x, tok);
        if (tok.empty()) break;
        if (tok == "<track>") {
            in_track = true;
            depth = 0;
            tags = a_track_tags{};
            location.clear();
            continue;
        }
        if (!in_track) continue;
        if (tok == "</track>") {
            if (t.songs.size() >= SONG_MAX_SONGS) (void)SongTable_NewSong(t);  // counted, not looked up
            else Add_Entry(t, tags, folder, location, lookup);
            in_track = false;
            continue;
        }
        if (tok[0] != '<' || tok.size() < 3 || tok[1] == '/' || tok[1] == '?' || tok[1] == '!') {
            if (tok.size() >= 2 && tok[1] == '/' && depth > 0) --depth;
            continue;
        }
        if (tok[tok.size() - 2] == '/') continue;  // an empty element
        std::string name = tok.substr(1, tok.find_first_of(" \t\n>") - 1);
        if (depth > 0 || !(name == "title" || name == "creator" || name == "album" || name == "duration" ||
                           name == "trackNum" || name == "location")) {
            ++depth;
            continue;
        }
        GetTokenXML(x, value);
        if (!value.empty() && value[0] == '<') {
            UnGetTokenXML(x, value);
            continue;
        }
        value = Decode_XML_Entities(Trim(value));
        if (name == "title") tags.title = value;
        else if (name == "creator") tags.artist = value;
        else if (name == "album") tags.album = value;
        else if (name == "trackNum") tags.track = value;
        else if (name == "location" && location.empty()) location = value;
        else if (name == "duration") {
            char* stop = nullptr;
            long long ms = std::strtoll(value.c_str(), &stop, 10);
            if (stop != value.c_str() && ms >= 0 && ms < 100000000000LL) tags.length = int((ms + 500) / 1000);
        }
    }
    return !t.songs.empty();
}

void Do_Import_Playlist(const std::string& path) {
    std::vector<uint8_t> data;
    a_song_table t;
    bool ok = File_Read_Limited(path, TRACK_FILE_MAX_BYTES, data) == a_file_read::OK;
    if (ok) {
        std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
        std::string folder = std::filesystem::path(path).parent_path().string();
        ok = Is_XSPF(text) ? Parse_XSPF(text, folder, Tags_Read, t) : Parse_M3U(text, folder, Tags_Read, t);
    }
    if (!ok) {
        OK_Alert(ALERT_CANNOT_READ, false);
        return;
    }
    AskFields_Then_Inject(t);
}
