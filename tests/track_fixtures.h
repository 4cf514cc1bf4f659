// Shared pieces of the track-list tests: a scratch folder, the kept field
// choice saved and restored, and text as UTF-16 bytes.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/prefs.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tracks/song_table.h"

// Saves the field choice (process-wide) and puts it back.
class a_field_choice_guard {
public:
    a_field_choice_guard() : f_(g_songfields_f), c_(g_songfields_c), fmt_(g_tracknum_fmt) {
        g_songfields_f = g_songfields_c = 0;
        g_tracknum_fmt = 1;
    }
    ~a_field_choice_guard() {
        g_songfields_f = f_;
        g_songfields_c = c_;
        g_tracknum_fmt = fmt_;
    }
private:
    uint32_t f_, c_;
    int16_t fmt_;
};

// A fresh folder under the temporary folder, removed at the end.
class a_scratch_folder {
public:
    explicit a_scratch_folder(const std::string& name)
        : path_((std::filesystem::path(Temp_Folder()) / ("cirquel-tracks-" + name)).string()) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~a_scratch_folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Put(const std::string& name, const std::string& bytes) const {
        std::string p = path_ + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    const std::string& path() const { return path_; }
private:
    std::string path_;
};

inline std::string Utf16_Bytes(const std::string& utf8, bool big_endian, bool bom) {
    std::u16string u = Utf8_To_Utf16(utf8);
    if (bom) u.insert(u.begin(), u'\xFEFF');
    std::string out;
    for (char16_t c : u) {
        char hi = char(c >> 8), lo = char(c & 0xFF);
        out += big_endian ? hi : lo;
        out += big_endian ? lo : hi;
    }
    return out;
}

inline std::string U8(const std::u16string& s) { return Utf16_To_Utf8(s); }

inline std::string Cell(const a_song_table& t, size_t song, size_t f) { return U8(t.songs.at(song)[f]); }

using a_row = std::vector<std::string>;

// Song s's fields first to last.
inline a_row Cells(const a_song_table& t, size_t s, size_t first, size_t last) {
    a_row out;
    for (size_t f = first; f <= last; ++f) out.push_back(Cell(t, s, f));
    return out;
}
