// The song table every track source fills (rows of songs, columns of named
// fields), the conversion of raw field values, and the chunks of text it
// becomes: one chunk per column, lines separated by carriage returns.
// Process-wide state: the field choice g_songfields_f, g_songfields_c and
// g_tracknum_fmt of the preferences (reads).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum : int {
    SONG_MAX_FIELDS = 30,     // real fields 1..30; field 0 is the track number "#"
    SONG_MAX_SONGS = 600,
    SONG_MAX_CHARS = 255,     // of one field value
    SONG_NAME_BYTES = 255,    // of a field name or type
    CHUNK_MAX = 31,
    CHUNK_MAX_CHARS = 3999,
    TRACKNUM_STYLES = 7,
};

using a_song = std::array<std::u16string, SONG_MAX_FIELDS + 1>;

struct a_song_table {
    uint32_t nfields = 0;
    std::array<std::string, SONG_MAX_FIELDS + 1> fieldtypes;
    std::array<std::string, SONG_MAX_FIELDS + 1> fieldnames;
    std::vector<a_song> songs;  // songs[0] is song 1; never more than SONG_MAX_SONGS
    uint32_t offered = 0;       // songs the source held, kept or not
    uint32_t nsongs() const { return uint32_t(songs.size()); }
};

struct a_chunk_table {
    std::vector<std::u16string> chunks;  // chunks[0] is chunk 1; at most CHUNK_MAX
    int16_t nlines = 0;
    uint32_t nchunks() const { return uint32_t(chunks.size()); }
};

// Field 0 named "#" of type "<integer>", no real fields, no songs.
void SongTable_Init(a_song_table& t);
// Sets field f (1..30) with its name and type; names and types are cut to
// 255 bytes.
void SongTable_SetField(a_song_table& t, uint32_t f, std::string_view name, std::string_view type);
// A new empty song, counted in `offered`; nullptr (still counted) when the
// table is full.
a_song* SongTable_NewSong(a_song_table& t);
// Whether the source held more songs than the table keeps; the alert that
// says so ("Only the first 600 of N tracks were imported.").
bool SongTable_Was_Cut(const a_song_table& t);
void SongTable_Cut_Alert(const a_song_table& t);

// "Time" is seconds, "Size" bytes, "Total Time" milliseconds; any other name
// keeps `given` when there is one, else "<string>".
std::string FieldName_To_Type(std::string_view name, std::string_view given = {});

enum a_field_encoding : int { FIELD_SYSTEM = 0, FIELD_UTF8 = 1 };
// A raw value of `type` as shown: times as m:ss, sizes as kilobytes with a
// "K"; anything else (and a value that is not a number) as it stands. At
// most 255 characters.
std::u16string Convert_Field(std::string_view type, std::string_view token, a_field_encoding encoding);
// 125 -> "2:05", 3600 -> "60:00".
std::string Seconds_To_String(uint64_t seconds);

// The track number n in style g_tracknum_fmt: "n)", "n]", "(n)", "[n]",
// "n:", "n.", "n"; any other style as the first.
std::u16string SongX_To_Str(uint32_t n);

// With no field shown yet: the track number, Artist, Name and Total Time
// (the last two starting columns); with nothing but the track number found,
// the track number and fields 1 and 2.
void Calc_Default_Fields(const a_song_table& t);

// One chunk per column of the shown fields (g_songfields_f, column starts
// g_songfields_c), one line per song.
void SongTable_To_Chunks(const a_song_table& t, a_chunk_table& out);
