// Tags of today's audio files, read with TagLib: MP3 (ID3v2.2/2.3/2.4, then
// ID3v1), FLAC and Ogg Vorbis comments, Opus, MP4/M4A, WMA and WAV.
// Process-wide state: TagLib's debug listener (set once, silent).
#pragma once
#include <string>
#include <vector>

#include "tracks/song_table.h"

struct a_track_tags {
    std::string track, title, artist, album, album_artist, year, genre, composer, comment;  // UTF-8
    int length = -1;  // seconds; -1 when unknown
    bool any() const;
};

// The file's tags and length; false when it is no audio file TagLib knows
// (an MP3 with only an ID3v1 tag still reads).
[[nodiscard]] bool Tags_Read(const std::string& path, a_track_tags& tags);
// The file's length in seconds; -1 when unknown.
int Tags_Length(const std::string& path);
// A suffix of the audio files read here.
bool Tags_Is_Audio_Name(const std::string& path);

// Fields "Track", "Name", "Artist", "Album", "Album Artist", "Year",
// "Genre", "Composer", "Time", "Comment".
void Tags_Table_Init(a_song_table& t);
// One song of that table; false when the table is full.
bool Tags_Add_Song(a_song_table& t, const a_track_tags& tags);

// Every file's tags, in the order given (at most 600 songs); false when no
// file had any.
[[nodiscard]] bool Tags_Read_Files(const std::vector<std::string>& paths, a_song_table& t);

// The Import menu's "MP3 tags" over all these files: the field dialog and
// the injection, or "Sorry, but no Mp3 tags were found in the files you picked.".
void Do_Import_MP3(const std::vector<std::string>& paths);
