// Preferences: defaults, the file round trip, files that are not ours, a failed
// write told, base-font fallback, media names across languages, landscape turn.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "file_size_limit.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "shell/startup.h"
#include "base/string_ids.h"
#include "ui/sliders.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes_Of(const a_pref_rec& p) {
    std::vector<uint8_t> b(PREFS_FILE_SIZE);
    Prefs_To_Bytes(p, b.data());
    return b;
}

void Write_Raw(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::u16string Label(const a_print_media_spec& e) { return std::u16string(e.label); }

void Set_Label(a_print_media_spec& e, const std::u16string& s) {
    std::fill(std::begin(e.label), std::end(e.label), u'\0');
    std::copy(s.begin(), s.end(), e.label);
}

// Each test gets a configuration folder of its own and the record back as it was.
class PrefsTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = g_pref;
        saved_folder_ = Config_Folder();
        folder_ = fs::path(Temp_Folder()) / ("cirquel-prefs-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        Config_Folder_Set(folder_.string());
        Dialog_ScriptAnswers({});
    }
    void TearDown() override {
        Config_Folder_Set(saved_folder_);
        fs::remove_all(folder_);
        Fonts_Use_List({});
        g_pref = saved_;
        Messages_SetLanguage(g_pref.language_offset);
    }
    static std::vector<uint8_t> Defaults() {
        Prefs_SetToDefault();
        Prefs_Fixup_Read();
        return Bytes_Of(g_pref);
    }
    a_pref_rec saved_;
    std::string saved_folder_;
    fs::path folder_;
};

}  // namespace

TEST_F(PrefsTest, WrittenRecordReadsBackWhole) {
    Defaults();
    a_pref_rec& p = g_pref;
    p.language_offset = 0;
    p.print_media[CD_DIRECT].listx = 2;
    Set_Label(p.print_media[4].list[1], u"Mein Rohling \u00e9\u4e2d");
    p.print_media[3].list[2].nudge = Point{-7, 12};
    p.print_media[2].list[0].adj[MEDIA_OUTERD] = 777;
    p.last_agex = 3;
    p.tot_window = Rect{10, 20, 710, 1020};
    p.history_option = p.ruler_option = p.print_autopos = true;
    p.sound_option = p.embed_option = false;
    std::strcpy(p.addon_folder, "/home/u/addons");
    std::strcpy(p.recent[20].doc_path, "/home/u/Discs/Summer mix.cd4");
    p.recent[20].doc_time = DateTimeRec{2026, 12, 7, 1, 2, 3, 2};
    p.recentlay[19].count = 4;
    std::strcpy(p.recentlay[19].label, "A-ONE 29125");
    p.recentlay[19].when = DateTimeRec{2025, 1, 2, 3, 4, 5, 6};
    p.colors[6] = a_pixel24{1, 2, 3};
    p.cutlines_color = a_win_pixel32{4, 5, 6, 7};
    p.gridlines_dash = 4;
    ASSERT_TRUE(Prefs_Write());
    std::vector<uint8_t> expected = Bytes_Of(p);  // as written, after the write fix-ups
    EXPECT_EQ(File_Size(Prefs_Path()), static_cast<int64_t>(PREFS_FILE_SIZE));

    Prefs_SetToDefault();
    bool new_pref = true;
    ASSERT_TRUE(Prefs_Read(new_pref));
    EXPECT_FALSE(new_pref);
    EXPECT_EQ(Bytes_Of(g_pref), expected);
    EXPECT_EQ(Label(g_pref.print_media[4].list[1]), u"Mein Rohling \u00e9\u4e2d");
}

TEST_F(PrefsTest, AnythingButAWholeVersion28FileGivesTheDefaultsSilently) {
    std::vector<uint8_t> defaults = Defaults();
    g_pref.last_agex = 5;  // a mark that only a file read could bring back
    std::vector<uint8_t> good = Bytes_Of(g_pref);
    std::vector<uint8_t> v27 = good;
    v27[0] = 27;
    std::vector<uint8_t> zeros(PREFS_FILE_SIZE, 0);
    struct a_case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const a_case cases[] = {
        {"version 27", v27},
        {"one byte short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"one byte long", [&] { auto b = good; b.push_back(0); return b; }()},
        {"empty", {}},
        {"zeros", zeros},
        {"text", {'[', 'p', 'r', 'e', 'f', 's', ']', '\n'}},
    };
    fs::create_directories(fs::path(Prefs_Path()).parent_path());
    for (const a_case& c : cases) {
        SCOPED_TRACE(c.name);
        Write_Raw(Prefs_Path(), c.bytes);
        bool new_pref = false;
        Prefs_Read(new_pref);
        EXPECT_TRUE(new_pref);
        EXPECT_EQ(Bytes_Of(g_pref), defaults);
    }
    fs::remove(Prefs_Path());
    bool new_pref = false;
    Prefs_Read(new_pref);
    EXPECT_TRUE(new_pref);
    EXPECT_EQ(Bytes_Of(g_pref), defaults);
    EXPECT_TRUE(Dialog_History().empty()) << "a bad preferences file is not worth a message";

    Write_Raw(Prefs_Path(), good);  // and the good one is taken
    Prefs_Read(new_pref);
    EXPECT_FALSE(new_pref);
    EXPECT_EQ(g_pref.last_agex, 5);
}

TEST_F(PrefsTest, StoredValuesOutOfRangeAreMadeSafe) {
    Defaults();
    std::vector<uint8_t> bytes = Bytes_Of(g_pref);
    a_pref_rec bad = g_pref;
    bad.language_offset = 42;
    bad.print_media[1].listx = 9;
    bad.gridlines_dash = 0;
    char16_t(&label)[64] = bad.print_media[1].list[0].label;
    std::fill(std::begin(label), std::end(label), u'X');
    std::fill(std::begin(bad.base_font), std::end(bad.base_font), u'Y');
    std::fill(std::begin(bad.addon_folder), std::end(bad.addon_folder), 'Z');
    std::fill(std::begin(bad.recent[0].doc_path), std::end(bad.recent[0].doc_path), 'W');
    bytes = Bytes_Of(bad);
    // A bool stored as 7 (no writer of ours does that) still reads as on.
    size_t sound_at = 2 + 2 + NDIRECT_KINDS * (2 + NMEDIA_ENTRIES * 142) + 2 + 8 + 1;
    bytes[sound_at] = 7;
    fs::create_directories(fs::path(Prefs_Path()).parent_path());
    Write_Raw(Prefs_Path(), bytes);

    bool new_pref = true;
    Prefs_Read(new_pref);
    ASSERT_FALSE(new_pref);
    EXPECT_EQ(g_pref.language_offset, 0);
    EXPECT_EQ(g_pref.print_media[1].listx, 0);
    EXPECT_EQ(g_pref.gridlines_dash, g_sliders[GRIDLINES_DASH_SLIDER].defaultval);
    EXPECT_EQ(Label(g_pref.print_media[1].list[0]).size(), 63u);
    EXPECT_EQ(std::char_traits<char16_t>::length(g_pref.base_font), 127u);
    EXPECT_EQ(strnlen(g_pref.addon_folder, 64), 63u);
    EXPECT_EQ(strnlen(g_pref.recent[0].doc_path, RECENT_PATH_BYTES), RECENT_PATH_BYTES - 1u);
    EXPECT_TRUE(g_pref.sound_option);
    // A font name nobody has falls back to the base font.
    EXPECT_EQ(g_pref.base_fontx, Font_Base_Proportional());
}

// (The file kept whole and the one-line reason are the fault test's, over
// every writer.) The shell's write at the end of a run tells the user once,
// with one button.
TEST_F(PrefsTest, FailedWriteAtTheEndOfARunSaysSoOnce) {
    Defaults();
    ASSERT_TRUE(Prefs_Write());
    bool shell;
    {
        a_file_size_limit limit(10240);  // below the record's size
        ASSERT_TRUE(limit.ok());
        shell = Shell_Write_Prefs();
    }
    EXPECT_FALSE(shell);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].layout, 1199);
    EXPECT_EQ(Dialog_History()[0].buttons.size(), 1u);
}

TEST_F(PrefsTest, BaseFontFollowsItsNameOrFallsBack) {
    Fonts_Use_List({u"Alpha", u"DejaVu Sans", u"Beta Sans"});
    Prefs_SetToDefault();
    EXPECT_EQ(g_pref.base_fontx, 2);
    std::u16string beta = u"Beta Sans";
    std::copy(beta.begin(), beta.end(), g_pref.base_font);
    Prefs_Fixup_Read();
    EXPECT_EQ(g_pref.base_fontx, 3);

    // The font is uninstalled between runs: the base font stands in.
    Fonts_Use_List({u"Alpha", u"DejaVu Sans"});
    Prefs_Fixup_Read();
    EXPECT_EQ(g_pref.base_fontx, 2);

    // Without DejaVu there is still a font.
    Fonts_Use_List({u"Alpha", u"Gamma"});
    Prefs_Fixup_Read();
    EXPECT_GE(g_pref.base_fontx, 1);

    // Writing stores the name of the font in use, not its number.
    Fonts_Use_List({u"Alpha", u"DejaVu Sans", u"Beta Sans"});
    g_pref.base_fontx = 1;
    Prefs_Fixup_Write();
    EXPECT_EQ(std::u16string(g_pref.base_font), u"Alpha");
}

TEST_F(PrefsTest, MediaNamesFollowALanguageChangeUnlessEdited) {
    Defaults();
    Prefs_Set_Language(0);
    a_print_media_array& cd = g_pref.print_media[1];
    Set_Label(cd.list[1], u"My blanks");
    Prefs_Set_Language(LANG_GERMAN);
    ASSERT_EQ(g_pref.language_offset, LANG_GERMAN);
    EXPECT_EQ(Messages_Language(), LANG_GERMAN) << "the string lists follow";
    ASSERT_NE(Media_Default_Name(LANG_GERMAN, 0), Media_Default_Name(0, 0)) << "German names";
    EXPECT_EQ(Label(cd.list[0]), Media_Default_Name(LANG_GERMAN, 0));
    EXPECT_EQ(Label(cd.list[1]), u"My blanks");
    EXPECT_EQ(Label(cd.list[2]), Media_Default_Name(LANG_GERMAN, 2));
    EXPECT_EQ(Label(g_pref.print_media[4].list[1]), Media_Default_Name(LANG_GERMAN, 1));
    Prefs_Set_Language(0);
    EXPECT_EQ(Label(cd.list[0]), Media_Default_Name(0, 0));
    EXPECT_EQ(Label(cd.list[1]), u"My blanks");

    // With allf every name is set, edited or not.
    Init_Media_Names(cd, 0, true);
    EXPECT_EQ(Label(cd.list[1]), Media_Default_Name(0, 1));

    // A language the build does not offer changes nothing.
    Prefs_Set_Language(NLANGUAGES + 3);
    EXPECT_EQ(g_pref.language_offset, 0);
}

TEST_F(PrefsTest, LandscapeLayoutsSeeTheNudgeTurned) {
    Defaults();
    a_print_media_spec spec;
    g_pref.print_media[1].list[2].nudge = Point{3, 5};
    Media_Spec_Get(1, 2, false, spec);
    EXPECT_EQ(spec.nudge, (Point{3, 5}));
    // An index from outside never reaches past the lists.
    Media_Spec_Get(7, 5, false, spec);
    EXPECT_TRUE(spec == g_pref.print_media[0].list[0]);

    // A landscape disc-printer layout, medium 2, sees the nudge turned, and
    // storing from its view turns it back.
    a_template saved_t = g_doc.doc_template;
    int16_t saved_x = g_doc.doc_mediax;
    g_doc.doc_template.tflags = Flag_Bit(IS_CDPRINTER) | Flag_Bit(IS_LANDSCAPE);
    g_doc.doc_template.nunits = 1;
    g_doc.doc_template.units[1].kind = UNIT_CD;
    g_doc.doc_mediax = 2;
    Get_Media_Specs(spec);
    EXPECT_EQ(spec.nudge, (Point{-5, 3}));
    spec.nudge = Point{-8, 1};
    Set_Media_Specs(spec);
    EXPECT_EQ(g_pref.print_media[1].list[2].nudge, (Point{1, 8}));
    Get_Media_Specs(spec);
    EXPECT_EQ(spec.nudge, (Point{-8, 1}));
    g_doc.doc_template = saved_t;
    g_doc.doc_mediax = saved_x;
}
