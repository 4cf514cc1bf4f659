#include "tracks/wpl.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/messages.h"
#include "base/string_ids.h"
#include "images/photo_blocks.h"
#include "platform/files.h"
#include "tracks/import.h"
#include "tracks/itunes_xml.h"

namespace {

bool Is_Name_Char(char c) { return std::isalnum(uint8_t(c)) || c == '_' || c == '-' || c == ':' || c == '.'; }

// The value of attribute `name` in the attribute text of one tag; false when absent.
bool Attribute(std::string_view tag, std::string_view name, std::string& value) {
    size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && !Is_Name_Char(tag[i])) ++i;
        size_t start = i;
        while (i < tag.size() && Is_Name_Char(tag[i])) ++i;
        std::string_view attr = tag.substr(start, i - start);
        while (i < tag.size() && std::isspace(uint8_t(tag[i]))) ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && std::isspace(uint8_t(tag[i]))) ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
        char quote = tag[i++];
        size_t end = tag.find(quote, i);
        if (end == std::string_view::npos) return false;
        if (attr == name) {
            value = Decode_XML_Entities(tag.substr(i, end - i));
            return true;
        }
        i = end + 1;
    }
    return false;
}

bool Ends_With_Large(const std::string& name) {
    static const std::string suffix = "_LARGE.JPG";
    if (name.size() <= suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::toupper(uint8_t(name[name.size() - suffix.size() + i])) != suffix[i]) return false;
    return true;
}

bool Place_Photo(const std::string& image) { return Photo_NewP(false, image); }

}  // namespace

std::vector<std::string> WPL_Media_Sources(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos) {
        size_t end = text.find('>', i);
        if (end == std::string_view::npos) break;
        std::string_view tag = text.substr(i + 1, end - i - 1);
        i = end + 1;
        if (tag.size() < 5 || tag.substr(0, 5) != "media") continue;
        if (tag.size() > 5 && !std::isspace(uint8_t(tag[5])) && tag[5] != '/') continue;
        std::string src;
        if (Attribute(tag.substr(5), "src", src)) out.push_back(src);
    }
    return out;
}

std::string WPL_Resolve(const std::string& playlist_folder, const std::string& src) {
    std::string p = src;
    std::replace(p.begin(), p.end(), '\\', '/');
    bool drive = p.size() >= 2 && std::isalpha(uint8_t(p[0])) && p[1] == ':';
    if (p.empty() || p[0] == '/' || drive) return p;
    return (std::filesystem::path(playlist_folder) / p).lexically_normal().string();
}

std::string WPL_Folder_Art(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        if (Ends_With_Large(name)) names.push_back(name);
    }
    if (names.empty()) return {};
    return (std::filesystem::path(folder) / *std::min_element(names.begin(), names.end())).string();
}

bool WPL_Import(const std::string& path, a_wpl_counts& counts, a_wpl_place place) {
    counts = a_wpl_counts{};
    std::vector<uint8_t> data;
    if (File_Read_Limited(path, TRACK_FILE_MAX_BYTES, data) != a_file_read::OK) return false;
    std::string folder = std::filesystem::path(path).parent_path().string();
    std::string previous;
    bool first = true;
    for (const std::string& src :
         WPL_Media_Sources(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()))) {
        ++counts.songs;
        std::string song_folder = std::filesystem::path(WPL_Resolve(folder, src)).parent_path().string();
        if (!first && song_folder == previous) continue;
        first = false;
        previous = song_folder;
        ++counts.folders;
        std::string art = WPL_Folder_Art(song_folder);
        if (!art.empty() && (place ? place : Place_Photo)(art)) ++counts.images;
    }
    return true;
}

void Do_Import_WPL(const std::string& path) {
    a_wpl_counts counts;
    if (!WPL_Import(path, counts)) {
        OK_Alert(ALERT_CANNOT_READ, false);
        return;
    }
    Param_Text(std::to_string(counts.songs), std::to_string(counts.folders), std::to_string(counts.images));
    OK_Alert(ALERT_PLAYLIST_SUMMARY, false);
}
