#include "tracks/audio_tags.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <cstring>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>

#include "base/messages.h"
#include "base/string_ids.h"
#include "platform/codepage.h"
#include "platform/input_file.h"
#include "tracks/id3v1.h"
#include "tracks/import.h"
#include "tracks/tag_stream.h"

namespace {

// TagLib reports damaged files on stderr; a damaged file is reported by the
// import itself.
class a_quiet_listener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void Quiet_TagLib() {
    static a_quiet_listener quiet;
    static bool set = false;
    if (!set) TagLib::setDebugListener(&quiet);
    set = true;
}

std::string Lower_Suffix(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

std::string First(const TagLib::PropertyMap& map, const char* key) {
    auto it = map.find(key);
    if (it == map.end() || it->second.isEmpty()) return {};
    return it->second.front().to8Bit(true);
}

// "3/12" as ID3v2 writes a track of a set: the track alone.
std::string Track_Only(std::string s) {
    size_t slash = s.find('/');
    if (slash != std::string::npos) s.resize(slash);
    return s;
}

std::string Year_Only(std::string s) {
    // A full date ("2001-05-04") shows as its year.
    if (s.size() > 4 && std::isdigit(uint8_t(s[0])) && s[4] == '-') s.resize(4);
    return s;
}

// A file that is exactly an ID3v1 tag holds no song, whichever reader looks
// at it.
bool Is_Bare_Tag(const a_input_file& input) {
    char head[3] = {};
    return input.size() == ID3V1_SIZE && input.Read_At(0, head, 3) && std::memcmp(head, "TAG", 3) == 0;
}

bool From_ID3v1(const std::string& path, a_track_tags& tags) {
    a_id3v1_rec tag;
    if (!ID3v1_Read(path, tag)) return false;
    tags.title = ID3v1_Field(tag.song, sizeof tag.song);
    tags.artist = ID3v1_Field(tag.artist, sizeof tag.artist);
    tags.album = ID3v1_Field(tag.album, sizeof tag.album);
    tags.year = ID3v1_Field(tag.year, sizeof tag.year);
    tags.comment = ID3v1_Field(tag.comment, sizeof tag.comment);
    return tags.any();
}

}  // namespace

bool a_track_tags::any() const {
    return !(track.empty() && title.empty() && artist.empty() && album.empty() && album_artist.empty() &&
             year.empty() && genre.empty() && composer.empty() && comment.empty());
}

bool Tags_Is_Audio_Name(const std::string& path) {
    static const char* const kinds[] = {".mp3", ".flac", ".ogg", ".oga", ".opus", ".m4a", ".mp4",
                                        ".aac", ".wma", ".asf", ".wav"};
    std::string ext = Lower_Suffix(path);
    return std::any_of(std::begin(kinds), std::end(kinds), [&](const char* k) { return ext == k; });
}

bool Tags_Read(const std::string& path, a_track_tags& tags) {
    tags = a_track_tags{};
    a_input_file input;
    if (input.Open(path) != a_input_open::OK || Is_Bare_Tag(input)) return false;
    Quiet_TagLib();
    // The stream closes the descriptor; the format is told by the content.
    a_tag_stream stream(input.Release_Fd());
    TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Fast);
    if (ref.isNull()) return From_ID3v1(path, tags);
    TagLib::PropertyMap map = ref.file()->properties();
    tags.track = Track_Only(First(map, "TRACKNUMBER"));
    tags.title = First(map, "TITLE");
    tags.artist = First(map, "ARTIST");
    tags.album = First(map, "ALBUM");
    tags.album_artist = First(map, "ALBUMARTIST");
    tags.year = Year_Only(First(map, "DATE"));
    tags.genre = First(map, "GENRE");
    tags.composer = First(map, "COMPOSER");
    tags.comment = First(map, "COMMENT");
    if (const TagLib::AudioProperties* p = ref.audioProperties()) tags.length = p->lengthInSeconds();
    if (!tags.any() && !From_ID3v1(path, tags)) return tags.length > 0;
    return true;
}

int Tags_Length(const std::string& path) {
    a_track_tags tags;
    if (!Tags_Read(path, tags)) return -1;
    return tags.length;
}

void Tags_Table_Init(a_song_table& t) {
    static const char* const names[] = {"Track", "Name", "Artist", "Album", "Album Artist",
                                        "Year", "Genre", "Composer", "Time", "Comment"};
    SongTable_Init(t);
    t.nfields = 10;
    for (uint32_t f = 1; f <= t.nfields; ++f) SongTable_SetField(t, f, names[f - 1], FieldName_To_Type(names[f - 1]));
}

bool Tags_Add_Song(a_song_table& t, const a_track_tags& tags) {
    a_song* song = SongTable_NewSong(t);
    if (!song) return false;
    const std::string* values[] = {&tags.track, &tags.title, &tags.artist, &tags.album, &tags.album_artist,
                                   &tags.year, &tags.genre, &tags.composer, nullptr, &tags.comment};
    for (uint32_t f = 1; f <= 10; ++f) {
        std::string v = values[f - 1] ? *values[f - 1] : (tags.length >= 0 ? std::to_string(tags.length) : "");
        (*song)[f] = Convert_Field(t.fieldtypes[f], v, FIELD_UTF8);
    }
    return true;
}

bool Tags_Read_Files(const std::vector<std::string>& paths, a_song_table& t) {
    Tags_Table_Init(t);
    for (const std::string& path : paths) {
        if (t.songs.size() >= SONG_MAX_SONGS) {
            (void)SongTable_NewSong(t);  // counted, not read
            continue;
        }
        a_track_tags tags;
        if (!Tags_Read(path, tags) || !tags.any()) continue;
        (void)Tags_Add_Song(t, tags);
    }
    return !t.songs.empty();
}

void Do_Import_MP3(const std::vector<std::string>& paths) {
    a_song_table t;
    if (!Tags_Read_Files(Import_Choice(paths), t)) {
        OK_Alert(ALERT_NO_MP3_TAGS, false);
        return;
    }
    AskFields_Then_Inject(t);
}
