#include "tracks/track_sources.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/string_ids.h"
#include "platform/files.h"
#include "tracks/audio_tags.h"
#include "tracks/cue_sheet.h"
#include "tracks/import.h"
#include "tracks/playlists.h"

namespace {

std::string Suffix(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

// The audio files of a folder, by name.
std::vector<std::string> Folder_Audio(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string p = it->path().string();
        if (it->is_regular_file(ec) && Tags_Is_Audio_Name(p)) out.push_back(p);
        if (out.size() >= size_t(SONG_MAX_SONGS) * 4) break;
    }
    std::sort(out.begin(), out.end());
    return out;
}

int Read_List_File(const std::string& path, a_song_table& t) {
    std::vector<uint8_t> data;
    if (File_Read_Limited(path, TRACK_FILE_MAX_BYTES, data) != a_file_read::OK) return ALERT_CANNOT_READ;
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    std::string folder = std::filesystem::path(path).parent_path().string();
    std::string ext = Suffix(path);
    bool ok;
    if (Is_XSPF(text) || ext == ".xspf") ok = Parse_XSPF(text, folder, Tags_Read, t);
    else if (Is_M3U(text) || ext == ".m3u" || ext == ".m3u8") ok = Parse_M3U(text, folder, Tags_Read, t);
    else if (ext == ".cue") ok = Parse_CUE(text, folder, Tags_Length, t);
    else return Read_iTunes(text, t);
    return ok ? 0 : ALERT_CANNOT_READ;
}

}  // namespace

int Tracks_Read_Paths(const std::vector<std::string>& paths, a_song_table& t, std::string& culprit) {
    SongTable_Init(t);
    std::vector<std::string> audio;
    std::vector<std::string> lists;
    std::error_code ec;
    for (const std::string& p : paths) {
        if (std::filesystem::is_directory(p, ec)) {
            std::vector<std::string> more = Folder_Audio(p);
            audio.insert(audio.end(), more.begin(), more.end());
        } else if (Tags_Is_Audio_Name(p)) {
            audio.push_back(p);
        } else {
            lists.push_back(p);
        }
    }
    if (lists.size() > 1 || (!lists.empty() && !audio.empty())) {
        culprit = lists.back();
        return ALERT_CANNOT_READ;  // one track list at a time, or audio files alone
    }
    if (!lists.empty()) {
        culprit = lists[0];
        int alert = Read_List_File(lists[0], t);
        if (alert) SongTable_Init(t);
        return alert;
    }
    culprit = paths.empty() ? std::string() : paths[0];
    return Tags_Read_Files(audio, t) ? 0 : ALERT_NO_MP3_TAGS;
}
