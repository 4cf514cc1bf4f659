#include "tracks/cue_sheet.h"

#include <cctype>
#include <filesystem>
#include <vector>

#include "base/messages.h"
#include "base/string_ids.h"
#include "platform/files.h"
#include "tracks/audio_tags.h"
#include "tracks/import.h"

namespace {

constexpr int CUE_FRAMES = 75;  // per second

struct a_cue_track {
    std::string number, title, performer, songwriter;
    int file = -1;       // index into the sheet's files
    int64_t start = -1;  // INDEX 01 in frames
};

// The next word of a line, or a quoted string without its quotes.
std::string_view Word(std::string_view& line) {
    size_t i = 0;
    while (i < line.size() && std::isspace(uint8_t(line[i]))) ++i;
    line.remove_prefix(i);
    if (line.empty()) return {};
    size_t end;
    std::string_view w;
    if (line[0] == '"') {
        end = line.find('"', 1);
        if (end == std::string_view::npos) end = line.size();
        w = line.substr(1, end - 1);
        ++end;
    } else {
        end = 0;
        while (end < line.size() && !std::isspace(uint8_t(line[end]))) ++end;
        w = line.substr(0, end);
    }
    line.remove_prefix(std::min(end, line.size()));
    return w;
}

// "mm:ss:ff" in frames; -1 when malformed.
int64_t Cue_Time(std::string_view s) {
    int64_t parts[3] = {0, 0, 0};
    int n = 0;
    size_t digits = 0;
    for (char c : s) {
        if (c == ':') {
            if (++n > 2 || digits == 0) return -1;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 6) {
            parts[n] = parts[n] * 10 + (c - '0');
            ++digits;
        } else {
            return -1;
        }
    }
    if (n != 2 || digits == 0) return -1;
    return (parts[0] * 60 + parts[1]) * CUE_FRAMES + parts[2];
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::toupper(uint8_t(c)));
    return out;
}

// The length of track i in seconds; -1 when unknown.
int64_t Track_Length(const std::vector<a_cue_track>& tracks, size_t i, const std::vector<int>& file_lengths) {
    const a_cue_track& t = tracks[i];
    if (t.start < 0) return -1;
    if (i + 1 < tracks.size() && tracks[i + 1].file == t.file && tracks[i + 1].start >= t.start)
        return (tracks[i + 1].start - t.start + CUE_FRAMES / 2) / CUE_FRAMES;
    if (i + 1 < tracks.size() && tracks[i + 1].file == t.file) return -1;
    if (t.file < 0 || file_lengths[size_t(t.file)] < 0) return -1;
    int64_t left = int64_t(file_lengths[size_t(t.file)]) * CUE_FRAMES - t.start;
    return left >= 0 ? (left + CUE_FRAMES / 2) / CUE_FRAMES : -1;
}

}  // namespace

bool Parse_CUE(std::string_view text, const std::string& folder, a_length_lookup length, a_song_table& t) {
    static const char* const names[] = {"Track", "Name", "Artist", "Composer", "Album", "Time"};
    SongTable_Init(t);
    t.nfields = 6;
    for (uint32_t f = 1; f <= t.nfields; ++f) SongTable_SetField(t, f, names[f - 1], FieldName_To_Type(names[f - 1]));
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string album, album_performer;
    std::vector<std::string> files;
    std::vector<a_cue_track> tracks;
    uint32_t more = 0;  // tracks past the table's size, counted
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::string command = Upper(Word(line));
        a_cue_track* track = tracks.empty() ? nullptr : &tracks.back();
        if (more > 0 && command != "TRACK") continue;
        if (command == "FILE") {
            if (files.size() < SONG_MAX_SONGS) files.emplace_back(Word(line));
        } else if (command == "TRACK") {
            if (tracks.size() >= SONG_MAX_SONGS) {
                ++more;
                continue;
            }
            tracks.push_back({std::string(Word(line)), {}, {}, {}, int(files.size()) - 1, -1});
        } else if (command == "TITLE") {
            (track ? track->title : album) = Word(line);
        } else if (command == "PERFORMER") {
            (track ? track->performer : album_performer) = Word(line);
        } else if (command == "SONGWRITER") {
            if (track) track->songwriter = Word(line);
        } else if (command == "INDEX" && track) {
            if (Word(line) == "01") track->start = Cue_Time(Word(line));
        }
    }
    std::vector<int> file_lengths(files.size(), -1);
    for (size_t i = 0; i < files.size(); ++i) {
        std::string path = (std::filesystem::path(folder) / files[i]).string();
        if (length) file_lengths[i] = length(path);
    }
    for (size_t i = 0; i < tracks.size(); ++i) {
        a_song* song = SongTable_NewSong(t);
        if (!song) break;
        const a_cue_track& c = tracks[i];
        int64_t seconds = Track_Length(tracks, i, file_lengths);
        std::string values[] = {c.number, c.title, c.performer.empty() ? album_performer : c.performer,
                                c.songwriter, album, seconds >= 0 ? std::to_string(seconds) : ""};
        for (uint32_t f = 1; f <= t.nfields; ++f) (*song)[f] = Convert_Field(t.fieldtypes[f], values[f - 1], FIELD_SYSTEM);
    }
    t.offered += more;
    return !t.songs.empty();
}

void Do_Import_CUE(const std::string& path) {
    std::vector<uint8_t> data;
    a_song_table t;
    bool ok = File_Read_Limited(path, TRACK_FILE_MAX_BYTES, data) == a_file_read::OK &&
              Parse_CUE(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                        std::filesystem::path(path).parent_path().string(), Tags_Length, t);
    if (!ok) {
        OK_Alert(ALERT_CANNOT_READ, false);
        return;
    }
    AskFields_Then_Inject(t);
}
