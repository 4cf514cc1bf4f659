// Track-list import: the tab and XML readers, ID3v1 tags, file names, the
// chunks a field choice makes, the field dialog, the injection's arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/string_ids.h"
#include "platform/dialogs.h"
#include "track_fixtures.h"
#include "tracks/audio_tags.h"
#include "tracks/field_dialog.h"
#include "tracks/id3v1.h"
#include "tracks/import.h"
#include "tracks/inject_plan.h"
#include "tracks/itunes_xml.h"
#include "tracks/media_name.h"
#include "tracks/tab_text.h"

namespace {

a_song_table Read_Ok(const std::string& bytes) {
    a_song_table t;
    EXPECT_EQ(Read_iTunes(bytes, t), 0);
    return t;
}

TEST(TrackTab, BarDelimiterTimesSizesAndEmptyFields) {
    a_song_table t = Read_Ok("Name|Artist|Time|Size\r\nOne|A|185|4400000\r\n||59|200\r\nThree|C|x|\r\n");
    ASSERT_EQ(t.nfields, 4u);
    EXPECT_EQ(t.fieldtypes[3], "<sec>");
    EXPECT_EQ(t.fieldtypes[4], "<kbyte>");
    ASSERT_EQ(t.nsongs(), 3u);
    EXPECT_EQ(Cells(t, 0, 3, 4), (a_row{"3:05", "4400K"}));
    // Empty fields stay empty and later ones stay in their column.
    EXPECT_EQ(Cells(t, 1, 1, 4), (a_row{"", "", "0:59", "1K"}));
    EXPECT_EQ(Cell(t, 2, 3), "x");  // not a number: as it stands
    EXPECT_EQ(Seconds_To_String(3600), "60:00");
    EXPECT_EQ(U8(Convert_Field("<msec>", "184500", FIELD_UTF8)), "3:05");
    EXPECT_EQ(U8(Convert_Field("<kbyte>", "0", FIELD_UTF8)), "1K");
}

TEST(TrackTab, TokensLineEndsAndShortHeaders) {
    a_tab_reader r{"a\t\tb\r\n\nc", 0, '\t', 0};
    std::string tok;
    int code = 0;
    std::vector<std::string> seen;
    do {
        ParseTab_GetToken(r, tok, code);
        seen.push_back(code == TAB_LINE_END ? "<LE>" : code == TAB_END ? "<END>" : tok);
    } while (code != TAB_END);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "", "b", "<LE>", "<LE>", "c", "<END>"}));
    a_song_table t;
    EXPECT_EQ(Read_iTunes("Name\tArtist\tTime\r\n", t), 0);  // a header alone
    // Two fields are a list; one field is not.
    EXPECT_EQ(Read_iTunes("Name\tArtist\r\nx\ty\r\n", t), 0);
    EXPECT_EQ(t.nfields, 2u);
    ASSERT_EQ(t.nsongs(), 1u);
    EXPECT_EQ(Cells(t, 0, 1, 2), (a_row{"x", "y"}));
    EXPECT_EQ(Read_iTunes("Name|\r\nx\r\n", t), ALERT_CANNOT_READ);
    // A NUL byte inside the list is skipped, not its end.
    EXPECT_EQ(Read_iTunes(std::string("Name\tArtist\r\nOn\0e\tA\r\n\0Two\tB\r\n", 29), t), 0);
    ASSERT_EQ(t.nsongs(), 2u);
    EXPECT_EQ(Cells(t, 0, 1, 2), (a_row{"One", "A"}));
    EXPECT_EQ(Cells(t, 1, 1, 2), (a_row{"Two", "B"}));
    EXPECT_FALSE(Parse_Tracks_Tabbed("Name\r\nOne\r\n", t));
    EXPECT_EQ(t.nfields, 0u);
    // Without delimiters: a plain list of names, one per line, blank lines
    // and the spaces around names left out, in UTF-8 or UTF-16; binary data
    // and broken UTF-8 are still refused.
    EXPECT_EQ(Read_iTunes("  Morning Song \n\n Caf\xC3\xA9 Noir\r\nLast Train\r", t), 0);
    ASSERT_EQ(t.nfields, 1u);
    EXPECT_EQ(std::string(t.fieldnames[1]), "Name");
    ASSERT_EQ(t.nsongs(), 3u);
    EXPECT_EQ(Cells(t, 0, 1, 1), (a_row{"Morning Song"}));
    EXPECT_EQ(Cells(t, 1, 1, 1), (a_row{"Caf\xC3\xA9 Noir"}));
    const std::string utf16("\xFF\xFE" "O\0n\0e\0\n\0T\0w\0o\0", 16);
    EXPECT_EQ(Read_iTunes(utf16, t), 0);
    EXPECT_EQ(t.nsongs(), 2u);
    EXPECT_EQ(Read_iTunes(std::string("PK\x03\x04\x14\0\x06\0", 8), t), ALERT_CANNOT_READ);
    EXPECT_EQ(Read_iTunes("caf\xE9\r\n", t), ALERT_CANNOT_READ);
    EXPECT_EQ(Read_iTunes(" \r\n\r\n", t), ALERT_CANNOT_READ);
    EXPECT_EQ(t.nsongs(), 0u);
}

// Apple Music's export may end lines with LF alone; every encoding of the
// same list must read the same.
TEST(TrackTab, EncodingsAndLineEndsAgree) {
    const std::string crlf = "Name\tArtist\tTotal Time\r\nCaf\xC3\xA9\tB\xC3\xB6rk\t185000\r\nZwei\tX\t1000\r\n";
    a_song_table base = Read_Ok(crlf);
    ASSERT_EQ(base.nsongs(), 2u);
    EXPECT_EQ(Cell(base, 0, 1), "Caf\xC3\xA9");
    EXPECT_EQ(Cell(base, 0, 3), "3:05");
    std::string lf = crlf;
    for (size_t i; (i = lf.find("\r\n")) != std::string::npos;) lf.erase(i, 1);
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    const std::string variants[] = {lf, cr, "\xEF\xBB\xBF" + crlf, Utf16_Bytes(crlf, false, true),
                                    Utf16_Bytes(crlf, true, true), Utf16_Bytes(crlf, false, false),
                                    Utf16_Bytes(lf, true, false)};
    for (const std::string& v : variants) {
        a_song_table t = Read_Ok(v);
        ASSERT_EQ(t.nsongs(), base.nsongs());
        for (size_t s = 0; s < base.nsongs(); ++s)
            for (size_t f = 1; f <= 3; ++f) EXPECT_EQ(t.songs[s][f], base.songs[s][f]);
    }
}

TEST(TrackTab, TableLimits) {
    std::string text;
    for (int f = 1; f <= 35; ++f) text += "F" + std::to_string(f) + (f < 35 ? "\t" : "\n");
    for (int s = 1; s <= 700; ++s) {
        for (int f = 1; f <= 35; ++f) text += std::to_string(s * 100 + f) + (f < 35 ? "\t" : "\n");
    }
    a_song_table t = Read_Ok(text);
    EXPECT_EQ(t.nfields, 30u);
    ASSERT_EQ(t.nsongs(), 600u);
    EXPECT_EQ(Cell(t, 599, 30), "60030");
    EXPECT_EQ(t.fieldnames[30], "F30");
    // The cut is told, with both counts.
    EXPECT_TRUE(SongTable_Was_Cut(t));
    EXPECT_EQ(t.offered, 700u);
}

// The chunk rules with the track number in style 6.
TEST(TrackChunks, ColumnsJoinsAndStyles) {
    a_field_choice_guard guard;
    a_song_table t;
    SongTable_Init(t);
    t.nfields = 2;
    SongTable_SetField(t, 1, "Name", "<string>");
    SongTable_SetField(t, 2, "Artist", "<string>");
    for (int s = 1; s <= 3; ++s) {
        a_song* song = SongTable_NewSong(t);
        (*song)[1] = u"N" + Utf8_To_Utf16(std::to_string(s));
        (*song)[2] = u"A" + Utf8_To_Utf16(std::to_string(s));
    }
    g_tracknum_fmt = 6;
    g_songfields_f = 1 | 2 | 4;
    g_songfields_c = 2;
    a_chunk_table c;
    SongTable_To_Chunks(t, c);
    ASSERT_EQ(c.nchunks(), 2u);
    EXPECT_EQ(c.nlines, 3);
    EXPECT_EQ(U8(c.chunks[0]), "1.\r2.\r3.");
    EXPECT_EQ(U8(c.chunks[1]), "N1 / A1\rN2 / A2\rN3 / A3");
    g_songfields_f = 1 | 4;  // Artist straight after the track number
    g_songfields_c = 0;
    SongTable_To_Chunks(t, c);
    ASSERT_EQ(c.nchunks(), 1u);
    EXPECT_EQ(U8(c.chunks[0]), "1.  A1\r2.  A2\r3.  A3");
    const char* styles[] = {"12)", "12]", "(12)", "[12]", "12:", "12.", "12", "12)"};
    for (int s = 1; s <= 8; ++s) {
        g_tracknum_fmt = int16_t(s);
        EXPECT_EQ(U8(SongX_To_Str(12)), styles[s - 1]);
    }
}

TEST(TrackChunks, DefaultFieldsAndChunkCap) {
    a_field_choice_guard guard;
    a_song_table t;
    SongTable_Init(t);
    t.nfields = 4;
    const char* names[] = {"Album", "Name", "Artist", "Total Time"};
    for (uint32_t f = 1; f <= 4; ++f) SongTable_SetField(t, f, names[f - 1], "<string>");
    Calc_Default_Fields(t);
    EXPECT_EQ(g_songfields_f, 1u | 4u | 8u | 16u);
    EXPECT_EQ(g_songfields_c, 4u | 16u);
    g_songfields_f = 0;
    SongTable_SetField(t, 2, "Title", "<string>");
    SongTable_SetField(t, 3, "Performer", "<string>");
    SongTable_SetField(t, 4, "Length", "<string>");
    Calc_Default_Fields(t);
    EXPECT_EQ(g_songfields_f, 1u | 2u | 4u);
    // 600 long names do not overflow a chunk.
    for (int s = 0; s < 600; ++s) (*SongTable_NewSong(t))[1] = std::u16string(255, u'x');
    a_chunk_table c;
    g_songfields_f = 2;
    SongTable_To_Chunks(t, c);
    ASSERT_EQ(c.nchunks(), 1u);
    EXPECT_EQ(c.chunks[0].size(), size_t(CHUNK_MAX_CHARS));
}

std::string Plist(const std::string& tracks, const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
           "\t<key>Major Version</key><integer>1</integer>\n"
           "\t<key>Tracks</key>\n\t<dict>\n" + tracks + "\t</dict>\n"
           "\t<key>Playlists</key>\n\t<array>\n\t\t<dict>\n\t\t\t<key>Name</key><string>Mix</string>\n"
           "\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n" + items +
           "\t\t\t</array>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n";
}

std::string Item(int id) {
    return "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>" + std::to_string(id) +
           "</integer>\n\t\t\t\t</dict>\n";
}

TEST(TrackXml, PlaylistOrderEntitiesAndAppleMusicValues) {
    std::string tracks =
        "<key>7</key>\n<dict>\n<key>Track ID</key><integer>7</integer>\n"
        "<key>Name</key><string>Simon &amp; Garfunkel &#8211; &#x263A; &lt;live&gt; &quot;x&apos; &bogus;</string>\n"
        "<key>Artwork</key><data>\nAAEC\nAwQF\n</data>\n"
        "<key>Date Added</key><date>2020-01-01T00:00:00Z</date>\n"
        "<key>Tags</key><array><string>a</string><array><integer>1</integer></array></array>\n"
        "<key>Extra</key><dict><key>Name</key><string>not me</string></dict>\n"
        "<key>Composer</key><string></string>\n"
        "<key>Genre</key><string/>\n"
        "<key>Loved</key><true/>\n"
        "<key>Size</key><integer>4400000</integer>\n"
        "<key>Total Time</key><integer>185000</integer>\n"
        "<key>Artist</key><string>Duo</string>\n"
        "</dict>\n"
        "<key>9</key>\n<dict><key>Track ID</key><integer>9</integer><key>Name</key><string>Second</string></dict>\n";
    a_song_table t = Read_Ok(Plist(tracks, Item(9) + Item(42) + Item(7)));
    ASSERT_EQ(t.nfields, 10u);
    ASSERT_EQ(t.nsongs(), 2u);  // 42 names no track: left out
    EXPECT_EQ(Cell(t, 0, 2), "Second");
    EXPECT_EQ(Cells(t, 1, 2, 4), (a_row{"Simon & Garfunkel \xE2\x80\x93 \xE2\x98\xBA <live> \"x' &bogus;", "Duo", ""}));
    EXPECT_EQ(Cell(t, 1, 6), "");
    EXPECT_EQ(Cells(t, 1, 8, 9), (a_row{"4400K", "3:05"}));
    a_song_table empty;
    EXPECT_EQ(Read_iTunes(Plist(tracks, ""), empty), ALERT_CANNOT_READ);
    EXPECT_EQ(Read_iTunes("<?xml version=\"1.0\"?><plist>", empty), ALERT_CANNOT_READ);
}

// Tracks past the table's size are read over; playlist entries resolve only
// against stored tracks, and the playlist stops at 600 songs.
TEST(TrackXml, TableBounds) {
    std::string tracks, items;
    for (int id = 1; id <= 650; ++id) {
        tracks += "<key>" + std::to_string(id) + "</key><dict><key>Track ID</key><integer>" + std::to_string(id) +
                  "</integer><key>Name</key><string>T" + std::to_string(id) + "</string></dict>\n";
    }
    items = Item(640) + Item(3);
    for (int i = 0; i < 700; ++i) items += Item(1 + i % 600);
    a_song_table t = Read_Ok(Plist(tracks, items));
    ASSERT_EQ(t.nsongs(), 600u);
    EXPECT_EQ(Cell(t, 0, 2), "T3");
    EXPECT_EQ(Cell(t, 1, 2), "T1");
    EXPECT_EQ(Cell(t, 599, 2), "T599");
}

TEST(TrackXml, TokenizerCutsAndCountsLines) {
    a_xml_rec x;
    std::string big = "<key>" + std::string(3000, 'k') + "</key>\r\n  text  with  spaces <true/>";
    x.data = big;
    std::string tok;
    auto next = [&] {
        GetTokenXML(x, tok);
        return tok;
    };
    EXPECT_EQ(next(), "<key>");
    EXPECT_EQ(next().size(), XML_TOKEN_MAX);
    EXPECT_EQ(next(), "</key>");
    UnGetTokenXML(x, tok);
    EXPECT_EQ(next(), "</key>");
    EXPECT_EQ(next(), "text  with  spaces ");
    EXPECT_EQ(x.linenum, 1u);
    EXPECT_EQ(next(), "<true/>");
    EXPECT_EQ(next(), "");
}

std::string Id3v1(const std::string& title, const std::string& artist) {
    std::string tag = "TAG" + std::string(125, '\0');
    tag.replace(3, title.size(), title);
    tag.replace(33, artist.size(), artist);
    tag.replace(63, 5, "Album");
    tag.replace(93, 4, "1999");
    tag.replace(97, 7, "Comment");
    return tag;
}

// The MP3 import reads tags through the audio-tag reader, which falls back
// on our ID3v1 reader: both take a tag behind audio bytes alike, and both
// skip a file that is nothing but a 128-byte tag.
TEST(TrackMp3, Id3v1TagsAndTheBare128Bytes) {
    a_scratch_folder dir("id3v1");
    std::string bare = dir.Put("bare.mp3", Id3v1("Only", "Tag"));
    std::string one = dir.Put("one.mp3", std::string(1, '\xFF') + Id3v1("Caf\xE9 song", "Band  "));
    std::string none = dir.Put("none.mp3", std::string(300, '\0'));
    a_id3v1_rec tag;
    a_track_tags tags;
    EXPECT_FALSE(ID3v1_Read(bare, tag));
    EXPECT_FALSE(Tags_Read(bare, tags));
    ASSERT_TRUE(ID3v1_Read(one, tag));
    ASSERT_TRUE(Tags_Read(one, tags));
    EXPECT_EQ(tags.title, ID3v1_Field(tag.song, sizeof tag.song));
    EXPECT_EQ(tags.artist, ID3v1_Field(tag.artist, sizeof tag.artist));
    EXPECT_EQ(tags.album, ID3v1_Field(tag.album, sizeof tag.album));
    EXPECT_EQ(tags.year, ID3v1_Field(tag.year, sizeof tag.year));
    EXPECT_EQ(tags.comment, ID3v1_Field(tag.comment, sizeof tag.comment));
    a_song_table t;
    EXPECT_FALSE(Tags_Read_Files({bare, none, dir.path() + "/missing.mp3"}, t));
    ASSERT_TRUE(Tags_Read_Files({bare, one, none}, t));
    ASSERT_EQ(t.nsongs(), 1u);
    EXPECT_EQ(Cells(t, 0, 2, 4), (a_row{"Caf\xC3\xA9 song", "Band", "Album"}));  // from Latin-1
    EXPECT_EQ(Cell(t, 0, 6), "1999");
}

TEST(TrackNames, FileNameChunks) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i) paths.push_back("/music/a/" + std::string(60, char('a' + i % 26)) + ".mp3");
    a_chunk_table c;
    Filenames_To_Chunks(paths, c);
    EXPECT_EQ(c.nlines, 100);
    ASSERT_EQ(c.nchunks(), 2u);  // 65 characters a line: the first chunk passes 3950 at 61 lines
    EXPECT_EQ(c.chunks[0].size(), 61u * 65u);
    EXPECT_EQ(U8(c.chunks[1]).substr(0, 65), std::string(60, char('a' + 61 % 26)) + ".mp3\r");
}

// The panel's rules: 14 fields offered, a second heading past five, each
// click stored, OK only with a field shown, Cancel puts the choice back.
TEST(TrackFieldDialog, PanelRulesAndHeadlessAnswers) {
    a_field_choice_guard guard;
    a_song_table t;
    SongTable_Init(t);
    t.nfields = 20;
    for (uint32_t f = 1; f <= 20; ++f) SongTable_SetField(t, f, f == 3 ? "Name" : "F" + std::to_string(f), "<string>");
    (*SongTable_NewSong(t))[3] = u"Song";
    g_songfields_f = 1u << 18;  // kept from a wider table
    a_field_dialog d;
    FieldDialog_Open(d, t);
    EXPECT_EQ(t.nfields, 14u);
    EXPECT_EQ(d.labels.size(), 15u);
    EXPECT_EQ(d.labels[0], "Track number");
    EXPECT_TRUE(d.second_heading);
    EXPECT_FALSE(FieldDialog_Can_OK(d));
    FieldDialog_Toggle_Shown(d, t, 3);
    FieldDialog_Toggle_Shown(d, t, 0);
    FieldDialog_Set_Style(d, t, 4);
    FieldDialog_Toggle_Column(d, t, 3);
    EXPECT_TRUE(FieldDialog_Can_OK(d));
    EXPECT_EQ(g_songfields_f, 1u | 8u);
    EXPECT_EQ(FieldDialog_Preview_Lines(d, 0), std::vector<std::u16string>{u"[1]"});
    EXPECT_EQ(FieldDialog_Preview_Lines(d, 1), std::vector<std::u16string>{u"Song"});
    FieldDialog_Cancel(d);
    EXPECT_EQ(g_songfields_f, 1u << 18);
    EXPECT_EQ(g_tracknum_fmt, 1);

    g_songfields_f = 0;
    a_chunk_table c;
    Dialog_SetQuiet(true);
    Dialog_ScriptAnswers({1});
    EXPECT_FALSE(Ask_FieldDialog(t, c));
    EXPECT_EQ(g_songfields_f, 0u);
    Dialog_ScriptAnswers({0});
    ASSERT_TRUE(Ask_FieldDialog(t, c));
    EXPECT_EQ(Dialog_History().at(0).message, "Select fields to import...");
    EXPECT_EQ(g_songfields_f, 1u | 8u);  // the defaults: track number and Name
    ASSERT_EQ(c.nchunks(), 2u);  // Name starts a column
    EXPECT_EQ(U8(c.chunks[0]), "1)");
    EXPECT_EQ(U8(c.chunks[1]), "Song");
    Dialog_ScriptAnswers({});
    Dialog_SetQuiet(false);
}

// Whatever the pages, a plan that says it fits keeps every page inside the
// area: within the box, or on a disc inside the edge and clear of the hole.
TEST(TrackInject, PlacedPagesStayInThePrintableArea) {
    const Rect unit{0, 0, 1200, 1200};
    const a_inject_area booklet = Inject_Area(unit, 0, 0), cd = Inject_Area(unit, 1200, 410);
    EXPECT_EQ(booklet.box, Rect_Inset(unit, 30));
    EXPECT_EQ(cd.outer, 570);
    EXPECT_EQ(cd.hole, 235);
    auto inside = [](const a_inject_area& a, Point at, const a_inject_page& p) {
        const Rect r{at.v, at.h, int16_t(at.v + p.h), int16_t(at.h + p.w)};
        if (a.outer == 0)
            return r.top >= a.box.top && r.left >= a.box.left && r.bottom <= a.box.bottom && r.right <= a.box.right;
        auto d2 = [&](double x, double y) { return (x - a.centre.h) * (x - a.centre.h) + (y - a.centre.v) * (y - a.centre.v); };
        for (double x : {double(r.left), double(r.right)})
            for (double y : {double(r.top), double(r.bottom)})
                if (d2(x, y) > double(a.outer) * a.outer + 1) return false;
        // The point of the page nearest the centre lies outside the hole.
        const double nx = std::clamp<double>(a.centre.h, r.left, r.right), ny = std::clamp<double>(a.centre.v, r.top, r.bottom);
        return d2(nx, ny) >= double(a.hole) * a.hole - 1;
    };
    std::mt19937 rng(5);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int placed[2] = {0, 0};
    auto meets = [](const Rect& t, Point at, const a_inject_page& p) {
        return at.h < t.right && t.left < at.h + p.w && at.v < t.bottom && t.top < at.v + p.h;
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<a_inject_page> pages(size_t(pick(1, 4)));
        for (a_inject_page& p : pages) p = a_inject_page{pick(40, 700), pick(40, 900)};
        // Blocks already there, in every other round.
        std::vector<Rect> taken;
        for (int n = round % 2 ? pick(1, 3) : 0; n > 0; --n) {
            const int16_t top = int16_t(pick(0, 1000)), left = int16_t(pick(0, 1000));
            taken.push_back(Rect{top, left, int16_t(top + pick(20, 300)), int16_t(left + pick(20, 300))});
        }
        for (int k = 0; k < 2; ++k) {
            a_inject_area a = k ? cd : booklet;
            a.taken = taken;
            std::vector<Point> at;
            bool clear = false;
            if (!Inject_Place(a, pages, false, at, &clear)) continue;
            ++placed[k];
            for (size_t i = 0; i < pages.size(); ++i) {
                ASSERT_TRUE(inside(a, at[i], pages[i])) << "round " << round << " area " << k << " page " << i;
                for (const Rect& t : taken) EXPECT_FALSE(clear && meets(t, at[i], pages[i])) << "round " << round;
            }
            for (size_t i = 1; i < pages.size(); ++i)  // never on top of each other
                EXPECT_TRUE(at[i].h >= at[i - 1].h + pages[i - 1].w || at[i].v != at[i - 1].v);
        }
    }
    EXPECT_GT(placed[0], 40);
    EXPECT_GT(placed[1], 40);

    // A short list starts a fifth down a rectangle and is centred across it;
    // on a disc it goes above the hole; a tall pair of pages beside it.
    std::vector<Point> at;
    ASSERT_TRUE(Inject_Place(booklet, {{400, 200}}, false, at));
    EXPECT_EQ(at[0], (Point{240, 400}));
    ASSERT_TRUE(Inject_Place(cd, {{400, 200}}, false, at));
    EXPECT_LT(at[0].v + 200, 600 - cd.hole + 1);
    EXPECT_EQ(at[0].h, 400);
    ASSERT_TRUE(Inject_Place(cd, {{200, 700}, {200, 700}}, false, at));
    EXPECT_LE(at[0].h + 200, 600 - cd.hole);
    EXPECT_GE(at[1].h, 600 + cd.hole);
    EXPECT_EQ(at[0].v, 600 - 350);
    // A title across the top of the disc sends the list below the hole; one
    // where a booklet's list would begin sends it below the title.
    a_inject_area titled_cd = cd, titled_booklet = booklet;
    titled_cd.taken = {Rect{40, 200, 300, 1000}};
    bool clear = false;
    ASSERT_TRUE(Inject_Place(titled_cd, {{400, 200}}, false, at, &clear));
    EXPECT_TRUE(clear);
    EXPECT_GE(at[0].v, 600 + cd.hole);
    titled_booklet.taken = {Rect{230, 300, 330, 900}};
    ASSERT_TRUE(Inject_Place(titled_booklet, {{400, 200}}, false, at, &clear));
    EXPECT_TRUE(clear);
    EXPECT_EQ(at[0], (Point{330 + INJECT_SPACING, 400}));
    // Covered everywhere: placed as without blocks, and said not clear.
    titled_cd.taken = {Rect{0, 0, 1200, 1200}};
    ASSERT_TRUE(Inject_Place(titled_cd, {{400, 200}}, false, at, &clear));
    EXPECT_FALSE(clear);
    EXPECT_LT(at[0].v + 200, 600 - cd.hole + 1);
    // Too much for either: placed anyway when forced.
    EXPECT_FALSE(Inject_Place(cd, {{300, 1300}, {300, 1300}}, false, at));
    EXPECT_TRUE(Inject_Place(cd, {{300, 1300}, {300, 1300}}, true, at));
    EXPECT_EQ(at[1].h, 600 + cd.hole);

    int first = 0, end = 0;
    Inject_Page_Lines(100, 3, 2, first, end);
    EXPECT_EQ(first, 68);
    EXPECT_EQ(end, 100);
}

TEST(TrackMediaName, EditRules) {
    a_medianame_rec rec;
    MediaName_Set(rec, std::u16string(80, u'm'));
    EXPECT_EQ(rec.name.size(), 63u);
    EXPECT_EQ(MediaName_Key(rec, DKEY_RETURN), MEDIANAME_ACCEPT);
    MediaName_Set(rec, u"");
    EXPECT_FALSE(MediaName_Can_OK(rec));
    EXPECT_EQ(MediaName_Key(rec, DKEY_RETURN), MEDIANAME_BEEP);
    EXPECT_EQ(MediaName_Key(rec, DKEY_ESCAPE), MEDIANAME_CANCEL);
    Dialog_SetQuiet(true);
    Dialog_ScriptAnswers({0});
    EXPECT_FALSE(Ask_Media_Name(rec));  // OK stays disabled while empty
    Dialog_ScriptAnswers({0});
    EXPECT_TRUE(Ask_Media_Name(rec, [](a_medianame_rec& r) { MediaName_Set(r, u"Glossy"); }));
    EXPECT_EQ(rec.name, u"Glossy");
    EXPECT_EQ(Dialog_History().at(0).message, "Media name:");
    Dialog_ScriptAnswers({});
    Dialog_SetQuiet(false);
}

}  // namespace
