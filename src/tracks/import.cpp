#include "tracks/import.h"

#include <algorithm>
#include <filesystem>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tracks/field_dialog.h"
#include "tracks/inject.h"
#include "tracks/itunes_xml.h"
#include "tracks/tab_text.h"

a_track_services g_track_services;

namespace {

void Inject(a_chunk_table& chunks) {
    if (chunks.chunks.empty()) return;
    // An owner (a test, a preview) may take the chunks instead of the unit.
    g_track_services.inject.Call_Or([&] { (void)Inject_Chunks(chunks); }, chunks);
}

}  // namespace

int Read_iTunes(std::string_view bytes, a_song_table& t) {
    SongTable_Init(t);
    if (Is_XML_File(bytes)) return Parse_Tracks_XML(bytes, t) ? 0 : ALERT_CANNOT_READ;
    const std::string text = Tab_Text_From_Bytes(bytes);
    if (!Is_iTunes_Tabbed(bytes)) return Parse_Tracks_Plain(text, t) ? 0 : ALERT_CANNOT_READ;
    return Parse_Tracks_Tabbed(text, t) ? 0 : ALERT_CANNOT_READ;
}

std::vector<std::string> Import_Choice(const std::vector<std::string>& paths) {
    return {paths.begin(), paths.begin() + std::min<size_t>(paths.size(), IMPORT_MAX_FILES)};
}

void AskFields_Then_Inject(a_song_table& t) {
    SongTable_Cut_Alert(t);
    a_chunk_table chunks;
    if (Ask_FieldDialog(t, chunks)) Inject(chunks);
}

void Do_iTunes(const std::string& path) {
    std::vector<uint8_t> data;
    a_song_table t;
    int alert = ALERT_CANNOT_READ;
    if (File_Read_Limited(path, TRACK_FILE_MAX_BYTES, data) == a_file_read::OK)
        alert = Read_iTunes(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), t);
    if (alert) {
        OK_Alert(alert, false);
        return;
    }
    AskFields_Then_Inject(t);
}

void Filenames_To_Chunks(const std::vector<std::string>& paths, a_chunk_table& chunks) {
    chunks = a_chunk_table{};
    for (const std::string& path : paths) {
        if (chunks.chunks.empty() || chunks.chunks.back().size() > FILENAME_CHUNK_CHARS) {
            if (chunks.chunks.size() >= CHUNK_MAX) break;
            chunks.chunks.emplace_back();
        }
        std::u16string line = Utf8_To_Utf16(std::filesystem::path(path).filename().string()) + u"\r";
        std::u16string& c = chunks.chunks.back();
        if (c.size() + line.size() <= CHUNK_MAX_CHARS) c += line;
        ++chunks.nlines;
    }
}

void Action_Import_Filenames(const std::vector<std::string>& paths) {
    a_chunk_table chunks;
    Filenames_To_Chunks(Import_Choice(paths), chunks);
    Inject(chunks);
}
