// The Import menu's track-list commands: an iTunes or Apple Music export
// (XML or tab text), the ID3v1 tags of chosen MP3 files, the names of chosen
// files. Each source fills a song table; the field dialog turns it into
// chunks, which go to the injection.
// Process-wide state: the track services g_track_services, the field choice
// of the preferences; shows alerts and asks through the dialog service.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/notice.h"
#include "tracks/song_table.h"

enum : int {
    IMPORT_MAX_FILES = 200,                  // files taken from one choice
    FILENAME_CHUNK_CHARS = 3950,             // a name chunk past this starts the next
    TRACK_FILE_MAX_BYTES = 64 << 20,         // text exports and playlists read whole
};

struct a_track_services {
    // Places the chunks as text blocks on the current unit (the injection).
    a_service<void(a_chunk_table& chunks)> inject;
    // Puts the interface's text settings to the plain ones an import uses;
    // the interface owns it, as tracks/ may not reach the sliders.
    a_service<void()> plain_text;
};
extern a_track_services g_track_services;

// An iTunes XML export, or a tab or bar text export, into `t`. 0 when read,
// else the alert to show (ALERT_CANNOT_READ).
[[nodiscard]] int Read_iTunes(std::string_view bytes, a_song_table& t);

// The first 200 of the files a user chose (the chooser holds no more).
std::vector<std::string> Import_Choice(const std::vector<std::string>& paths);

// The field dialog, then the injection when it was confirmed.
void AskFields_Then_Inject(a_song_table& t);

// IMPORT_ITUNES, IMPORT_TABTEXT, IMPORT_DRAGON with the chosen file.
void Do_iTunes(const std::string& path);

// Each file's name (without folder) as one line; a chunk past 3950
// characters starts the next one. No field dialog.
void Filenames_To_Chunks(const std::vector<std::string>& paths, a_chunk_table& chunks);
void Action_Import_Filenames(const std::vector<std::string>& paths);
