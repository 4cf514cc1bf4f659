// Today's track sources: tags of audio files (MP3, FLAC, Ogg, Opus, WAV,
// M4A, WMA) written by our own small writers, CUE sheets, M3U/M3U8 and XSPF playlists, WPL album art, and the
// choice of reader by content and suffix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/string_ids.h"
#include "track_audio_writers.h"
#include "track_fixtures.h"
#include "tracks/audio_tags.h"
#include "tracks/cue_sheet.h"
#include "tracks/playlists.h"
#include "tracks/track_sources.h"
#include "tracks/wpl.h"

namespace {

const a_tag_list kVorbisTags = {{"TITLE", "Caf\xC3\xA9"}, {"ARTIST", "Band"}, {"ALBUM", "Record"},
                                {"ALBUMARTIST", "Various"}, {"DATE", "2001-05-04"}, {"GENRE", "Jazz"},
                                {"COMPOSER", "Writer"}, {"TRACKNUMBER", "3"}, {"COMMENT", "Note"}};

// Each format's file reads to the same song: every field of the tags table.
TEST(TrackTags, EveryWrittenFormatReads) {
    a_scratch_folder dir("tags");
    struct a_case {
        std::string name, bytes;
        bool full;  // carries all ten fields
    };
    const a_case cases[] = {
        {"v24.mp3", Write_Mp3(4, {{"TIT2", "Caf\xC3\xA9"}, {"TPE1", "Band"}, {"TALB", "Record"}, {"TPE2", "Various"},
                                  {"TDRC", "2001-05-04"}, {"TCON", "Jazz"}, {"TCOM", "Writer"}, {"TRCK", "3/12"}}),
         false},
        {"v23.mp3", Write_Mp3(3, {{"TIT2", "Caf\xE9"}, {"TPE1", "Band"}, {"TALB", "Record"}, {"TYER", "2001"}}), false},
        {"v22.mp3", Write_Mp3(2, {{"TT2", "Caf\xE9"}, {"TP1", "Band"}, {"TAL", "Record"}}), false},
        {"song.flac", Write_Flac(kVorbisTags, 3), true},
        {"song.opus", Write_Opus(kVorbisTags, 3), true},
        {"song.ogg", Write_Vorbis(kVorbisTags, 3), true},
        {"song.wav", Write_Wav({{"INAM", "Caf\xC3\xA9"}, {"IART", "Band"}, {"IPRD", "Record"}, {"IGNR", "Jazz"},
                                {"ICRD", "2001"}}, 3), false},
    };
    for (const a_case& c : cases) {
        SCOPED_TRACE(c.name);
        a_track_tags tags;
        ASSERT_TRUE(Tags_Read(dir.Put(c.name, c.bytes), tags));
        EXPECT_EQ(tags.title, "Caf\xC3\xA9");
        EXPECT_EQ(tags.artist, "Band");
        EXPECT_EQ(tags.album, "Record");
        if (c.name == "v24.mp3" || c.full) {
            EXPECT_EQ(tags.track, "3");
            EXPECT_EQ(tags.year, "2001");
            EXPECT_EQ(tags.album_artist, "Various");
            EXPECT_EQ(tags.genre, "Jazz");
            EXPECT_EQ(tags.composer, "Writer");
        }
        if (c.full) {
            EXPECT_EQ(tags.comment, "Note");
            EXPECT_EQ(tags.length, 3);
        }
    }
    a_song_table t;
    ASSERT_TRUE(Tags_Read_Files({dir.path() + "/song.flac", dir.path() + "/missing.flac", dir.path() + "/v22.mp3"}, t));
    ASSERT_EQ(t.nsongs(), 2u);
    EXPECT_EQ(t.fieldnames[9], "Time");
    EXPECT_EQ(Cell(t, 0, 9), "0:03");
    EXPECT_EQ(Cell(t, 0, 6), "2001");
    EXPECT_EQ(Cell(t, 1, 2), "Caf\xC3\xA9");
}

TEST(TrackTags, Id3v1OnlyAndNotAudio) {
    a_scratch_folder dir("tags1");
    std::string tag = "TAG" + std::string(125, '\0');
    tag.replace(3, 5, "Title");
    tag.replace(33, 6, "Singer");
    a_track_tags tags;
    ASSERT_TRUE(Tags_Read(dir.Put("old.mp3", audio_writers::Mpeg_Frames(10) + tag), tags));
    EXPECT_EQ(tags.title, "Title");
    EXPECT_EQ(tags.artist, "Singer");
    EXPECT_FALSE(Tags_Read(dir.Put("text.flac", "not a flac file at all"), tags));
    EXPECT_FALSE(Tags_Read(dir.path(), tags));  // a folder
    a_song_table t;
    std::string culprit;
    EXPECT_EQ(Tracks_Read_Paths({dir.path() + "/text.flac"}, t, culprit), ALERT_NO_MP3_TAGS);
}

TEST(TrackCue, TitlesPerformersAndLengths) {
    a_scratch_folder dir("cue");
    dir.Put("album.wav", Write_Wav({}, 200));
    std::string sheet =
        "\xEF\xBB\xBFREM GENRE Pop\r\nPERFORMER \"The Band\"\r\nTITLE \"Live & Loud\"\r\n"
        "FILE \"album.wav\" WAVE\r\n"
        "  TRACK 01 AUDIO\r\n    TITLE \"Opening\"\r\n    SONGWRITER \"Smith\"\r\n"
        "    INDEX 00 00:00:00\r\n    INDEX 01 00:00:32\r\n"
        "  TRACK 02 AUDIO\n    TITLE \"Caf\xE9\"\n    PERFORMER Guest\n    INDEX 01 03:05:32\n";
    std::string path = dir.Put("album.cue", sheet);
    a_song_table t;
    std::string culprit;
    ASSERT_EQ(Tracks_Read_Paths({path}, t, culprit), 0);
    ASSERT_EQ(t.nsongs(), 2u);
    EXPECT_EQ(Cells(t, 0, 1, 6), (a_row{"01", "Opening", "The Band", "Smith", "Live & Loud", "3:05"}));
    EXPECT_EQ(Cells(t, 1, 2, 3), (a_row{"Caf\xC3\xA9", "Guest"}));  // the system code page's fallback
    EXPECT_EQ(Cell(t, 1, 6), "0:15");  // to the file's end at 200 s
    ASSERT_TRUE(Parse_CUE(sheet, dir.path(), nullptr, t));
    EXPECT_EQ(Cell(t, 1, 6), "");  // no length known
    EXPECT_FALSE(Parse_CUE("REM nothing\nTITLE x\n", dir.path(), nullptr, t));
}

TEST(TrackPlaylists, M3uAndXspfEntries) {
    a_scratch_folder dir("lists");
    dir.Put("music/one.flac", Write_Flac({{"TITLE", "From Tags"}, {"ARTIST", "Tagged"}}, 4));
    std::string m3u = "#EXTM3U\r\n#EXTINF:185,Band - First Song\r\nhttp://radio/x.mp3\r\n"
                      "#EXTINF:-1,Bare\r\n/nowhere/bare.mp3\r\nmusic/one.flac\r\n\r\nmusic\\Gone Song.mp3\r\n";
    a_song_table t;
    std::string culprit;
    ASSERT_EQ(Tracks_Read_Paths({dir.Put("list.m3u8", m3u)}, t, culprit), 0);
    ASSERT_EQ(t.nsongs(), 4u);
    EXPECT_EQ(Cells(t, 0, 2, 3), (a_row{"First Song", "Band"}));
    EXPECT_EQ(Cell(t, 0, 9), "3:05");
    EXPECT_EQ(Cell(t, 1, 2), "Bare");
    EXPECT_EQ(Cell(t, 1, 9), "");
    EXPECT_EQ(Cell(t, 2, 2), "From Tags");
    EXPECT_EQ(Cell(t, 2, 9), "0:04");
    EXPECT_EQ(Cell(t, 3, 2), "Gone Song");

    std::string xspf =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
        "<title>Mine</title><trackList>\n"
        "<track><location>http://x/y.ogg</location><title>Rock &amp; Roll</title><creator>A</creator>"
        "<album>B</album><duration>185000</duration><extension application=\"x\"><title>no</title></extension>"
        "</track>\n"
        "<track><location>file://" + dir.path() + "/music/one%2Eflac</location></track>\n"
        "<track><location>music/Other%20Name.mp3</location><image/></track>\n"
        "</trackList></playlist>\n";
    ASSERT_EQ(Tracks_Read_Paths({dir.Put("list.xspf", xspf)}, t, culprit), 0);
    ASSERT_EQ(t.nsongs(), 3u);
    EXPECT_EQ(Cells(t, 0, 2, 3), (a_row{"Rock & Roll", "A"}));
    EXPECT_EQ(Cell(t, 0, 9), "3:05");
    EXPECT_EQ(Cell(t, 1, 2), "From Tags");
    EXPECT_EQ(Cell(t, 2, 2), "Other Name");
    EXPECT_EQ(Playlist_Entry_Path("/p", "file://host/a/b%20c.mp3"), "/a/b c.mp3");
    EXPECT_EQ(Playlist_Entry_Path("/p", "https://x/y"), "");
}

// Windows-form sources resolve against the playlist's folder; one picture
// per folder, counted.
TEST(TrackWpl, WindowsPathsFoldersAndArt) {
    a_scratch_folder dir("wpl");
    dir.Put("Music/Artist/cover_LARGE.jpg", "jpeg");
    dir.Put("Music/Artist/b_large.JPG", "jpeg");
    dir.Put("Music/Other/_LARGE.JPG", "too short a name");
    std::string wpl =
        "<?wpl version=\"1.0\"?><smil><body><seq>"
        "<media src=\"..\\Music\\Artist\\01 Song.mp3\" cid=\"{1}\" tid=\"{2}\"/>"
        "<media src='..\\Music\\Artist\\02 R&amp;B.mp3'/>"
        "<mediaX src=\"ignored.mp3\"/>"
        "<media src=\"../Music/Other/03.mp3\"/>"
        "<media src=\"C:\\Users\\me\\Music\\04.mp3\"/>"
        "</seq></body></smil>";
    std::string path = dir.Put("lists/mix.wpl", wpl);
    EXPECT_EQ(WPL_Media_Sources(wpl).at(1), "..\\Music\\Artist\\02 R&B.mp3");
    EXPECT_EQ(WPL_Resolve(dir.path() + "/lists", "..\\Music\\Artist\\01 Song.mp3"),
              dir.path() + "/Music/Artist/01 Song.mp3");
    static std::vector<std::string> placed;
    placed.clear();
    a_wpl_counts n;
    ASSERT_TRUE(WPL_Import(path, n, [](const std::string& image) {
        placed.push_back(image);
        return true;
    }));
    EXPECT_EQ(n.songs, 4);
    EXPECT_EQ(n.folders, 3);
    EXPECT_EQ(n.images, 1);
    EXPECT_EQ(placed, std::vector<std::string>{dir.path() + "/Music/Artist/b_large.JPG"});
    EXPECT_FALSE(WPL_Import(dir.path() + "/none.wpl", n));
}

TEST(TrackSources, ChoiceByContentAndSuffix) {
    a_scratch_folder dir("choice");
    dir.Put("album/b.flac", Write_Flac({{"TITLE", "B"}}, 1));
    dir.Put("album/a.mp3", Write_Mp3(3, {{"TIT2", "A"}}));
    dir.Put("album/c.m4a", Write_M4a({{"\xA9nam", "Caf\xC3\xA9"}, {"\xA9" "ART", "Band"}, {"\xA9" "alb", "Record"},
                                      {"aART", "Various"}, {"trkn", "3/12"}, {"\xA9" "day", "2001-05-04"},
                                      {"\xA9gen", "Jazz"}, {"\xA9wrt", "Writer"}, {"\xA9" "cmt", "Note"}}, 185));
    dir.Put("album/d.wma", Write_Wma({{"Title", "Caf\xC3\xA9"}, {"Author", "Band"}, {"Description", "Note"},
                                      {"WM/AlbumTitle", "Record"}, {"WM/AlbumArtist", "Various"},
                                      {"WM/TrackNumber", "3"}, {"WM/Year", "2001"}, {"WM/Genre", "Jazz"},
                                      {"WM/Composer", "Writer"}}, 185));
    dir.Put("album/notes.txt", "not audio");
    a_song_table t;
    std::string culprit;
    ASSERT_EQ(Tracks_Read_Paths({dir.path() + "/album"}, t, culprit), 0);
    ASSERT_EQ(t.nsongs(), 4u);
    EXPECT_EQ(Cell(t, 0, 2), "A");
    EXPECT_EQ(Cell(t, 1, 2), "B");
    // MP4 items and ASF descriptions fill every field of the table.
    const a_row full = {"3", "Caf\xC3\xA9", "Band", "Record", "Various", "2001", "Jazz", "Writer", "3:05", "Note"};
    EXPECT_EQ(Cells(t, 2, 1, 10), full);
    EXPECT_EQ(Cells(t, 3, 1, 10), full);
    // A tab export without a telling suffix, and an M3U without its header.
    ASSERT_EQ(Tracks_Read_Paths({dir.Put("export", "Name\tArtist\tTime\nX\tY\t1\n")}, t, culprit), 0);
    EXPECT_EQ(Cell(t, 0, 2), "Y");
    ASSERT_EQ(Tracks_Read_Paths({dir.Put("plain.m3u", "a/Song.mp3\n")}, t, culprit), 0);
    EXPECT_EQ(Cell(t, 0, 2), "Song");
    // A text file without delimiters is a plain list of names; one with
    // control bytes is none.
    ASSERT_EQ(Tracks_Read_Paths({dir.Put("names.txt", "hello\nworld\n")}, t, culprit), 0);
    EXPECT_EQ(t.nsongs(), 2u);
    EXPECT_EQ(Tracks_Read_Paths({dir.Put("bad.txt", "\x01\x02hello")}, t, culprit), ALERT_CANNOT_READ);
    EXPECT_EQ(culprit, dir.path() + "/bad.txt");
    // Bytes that are no text are no playlist, whatever their name says.
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(char((i * 2654435761u) >> 13));
    EXPECT_EQ(Tracks_Read_Paths({dir.Put("noise.m3u", noise)}, t, culprit), ALERT_CANNOT_READ);
    EXPECT_EQ(t.nsongs(), 0u);
    EXPECT_EQ(Tracks_Read_Paths({dir.path() + "/none.xml"}, t, culprit), ALERT_CANNOT_READ);
    EXPECT_EQ(t.nsongs(), 0u);
}

}  // namespace
