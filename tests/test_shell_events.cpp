// Keys, the key chain, menu commands, zoom, phases, help pages, the window's
// default place and quitting.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/string_ids.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "persist/file_cmds.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "shell/commands.h"
#include "shell/doc_keys.h"
#include "shell/help.h"
#include "shell/keys.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "shell/startup.h"
#include "shell/window_pos.h"
#include "signals_guard.h"
#include "ui/interface.h"

namespace {

a_keystroke Key(uint8_t v, uint8_t c, uint16_t u, a_keymods m = 0) { return a_keystroke{v, c, u, m}; }

a_key_result Char(uint32_t code, uint8_t vkey = 0, bool shift = false, bool control = false, bool keypad = false) {
    return Translate_Key({a_key_message::CHARACTER, code, vkey, shift, control, false, keypad});
}

// Keeps gs and the sound log as they were.
struct a_gs_guard {
    a_interface_rec saved = gs;
    a_signals_guard signals;
    a_gs_guard() { Sound_ClearLog(); }
    ~a_gs_guard() { gs = saved; }
};

}  // namespace

TEST(ShellKeys, TranslationTable) {
    // Characters: Return and the keypad's Enter, Backspace from 127, ASCII, and wide.
    EXPECT_EQ(Char(13, 0x0D).key, Key(13, 0, NO_CHAR));
    EXPECT_EQ(Char(13, 0x0D, false, false, true).key, Key(0x29, 0, NO_CHAR));
    EXPECT_EQ(Char(127, 0x08).key, Key(8, 8, NO_CHAR));
    EXPECT_EQ(Char('a', 'A', true, true).key,
              Key('A', 'a', 'a', Mod(SHIFTKEY) | Mod(OPTIONKEY)));
    EXPECT_EQ(Char(0xE9, 0).key, Key(0, NO_CHAR, 0xE9));
    EXPECT_EQ(Char(0x20AC, 0).key, Key(0, NO_CHAR, 0x20AC));
    // Key downs: the named keys only, Delete with its character.
    auto down = [](uint32_t vkey, a_key_message m = a_key_message::KEY_DOWN, bool alt = false) {
        return Translate_Key({m, vkey, 0, false, false, alt, false});
    };
    for (uint32_t v : {VKEY_LEFT, VKEY_UP, VKEY_RIGHT, VKEY_DOWN, VKEY_HOME, VKEY_END, VKEY_PRIOR,
                       VKEY_NEXT, VKEY_F1, VKEY_F15}) {
        a_key_result r = down(v);
        EXPECT_EQ(r.kind, a_key_result::KEY) << v;
        EXPECT_EQ(r.key, Key(uint8_t(v), 0, NO_CHAR)) << v;
    }
    EXPECT_EQ(down(VKEY_DELETE).key, Key(VKEY_DELETE, 0x7F, NO_CHAR));
    EXPECT_EQ(down('A').kind, a_key_result::DEFAULT);
    EXPECT_EQ(down(VKEY_F1 + 15).kind, a_key_result::DEFAULT);  // F16
    // System keys: F keys without Alt only; Alt+"=" zooms for a person only.
    EXPECT_EQ(down(VKEY_F1 + 4, a_key_message::SYSTEM_KEY_DOWN).kind, a_key_result::KEY);
    EXPECT_EQ(down(VKEY_F1 + 4, a_key_message::SYSTEM_KEY_DOWN, true).kind, a_key_result::DEFAULT);
    EXPECT_EQ(down(VKEY_LEFT, a_key_message::SYSTEM_KEY_DOWN).kind, a_key_result::DEFAULT);
    a_gs_guard guard;
    a_key_result zoom = down('=', a_key_message::SYSTEM_CHARACTER);
    EXPECT_EQ(zoom.kind, a_key_result::COMMAND);
    EXPECT_EQ(zoom.command, 1001);
    gs.controller = GHOST;
    EXPECT_EQ(down('=', a_key_message::SYSTEM_CHARACTER).kind, a_key_result::DEFAULT);
    EXPECT_EQ(down('-', a_key_message::SYSTEM_CHARACTER).kind, a_key_result::DEFAULT);
}

TEST(ShellKeys, ChainAsksInOrderAndRefusesOrRestores) {
    a_gs_guard guard;
    std::vector<std::string> asked;
    auto taker = [&](const char* name, bool takes) {
        return [&asked, name, takes](const a_keystroke&) {
            asked.push_back(name);
            return takes;
        };
    };
    Doc_Keys_Stop();  // the document's own keys make way for the test's taker
    a_listener_token t1 = g_key_chain.text_editor.Install(taker("text", false));
    a_listener_token t2 = g_key_chain.document.Install(taker("doc", false));
    a_listener_token t3 = g_key_chain.interface.Install(taker("ui", false));
    int helped = 0, shown = 0;
    a_listener_token t4 = g_key_chain.help.Install([&] { ++helped; });
    a_listener_token t5 = g_key_chain.show_everything.Install([&] { ++shown; });
    bool was_open = g_doc.doc_open;

    g_doc.doc_open = false;  // the text editor is asked only with a document
    DoKeyDown(Key('x', 'x', 'x'));
    EXPECT_EQ(asked, (std::vector<std::string>{"doc", "ui"}));
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});
    asked.clear();
    g_doc.doc_open = true;
    DoKeyDown(Key(VKEY_F1, 0, NO_CHAR));
    EXPECT_EQ(helped, 1);
    EXPECT_TRUE(asked.empty());
    DoKeyDown(Key('x', 'x', 'x'));
    EXPECT_EQ(asked, (std::vector<std::string>{"text", "doc", "ui"}));
    g_doc.doc_open = was_open;

    // Everything hidden: another key explains (alert 26), Escape restores.
    gs.tool_show = false;
    Sound_ClearLog();
    Dialog_ScriptAnswers({});
    DoKeyDown(Key('x', 'x', 'x'));
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("ESC"), std::string::npos);
    EXPECT_FALSE(gs.tool_show);
    DoKeyDown(Key(VKEY_ESCAPE, 27, 27));
    EXPECT_TRUE(gs.tool_show);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_MENU});
    g_key_chain.text_editor.Remove(t1);
    g_key_chain.document.Remove(t2);
    g_key_chain.interface.Remove(t3);
    g_key_chain.help.Remove(t4);
    g_key_chain.show_everything.Remove(t5);
    Doc_Keys_Init();
}

TEST(ShellCommands, ZoomStopsAtItsEndsAndTableKnowsEveryMenuItem) {
    a_gs_guard guard;
    gs.grid_vals[ZOOM_GRID] = 3;
    EXPECT_TRUE(DoMenuEvent(false, false, 1, MENU_ZOOM));
    EXPECT_EQ(gs.grid_vals[ZOOM_GRID], 4);
    EXPECT_TRUE(DoMenuEvent(false, false, 1, MENU_ZOOM));
    EXPECT_EQ(gs.grid_vals[ZOOM_GRID], 4);
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});
    EXPECT_TRUE(DoMenuEvent(false, false, 4, MENU_ZOOM));  // fit
    EXPECT_EQ(gs.grid_vals[ZOOM_GRID], 0);
    Sound_ClearLog();
    Zoom_Command(2);
    EXPECT_EQ(gs.grid_vals[ZOOM_GRID], 0);
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});
    Zoom_Command(6);
    EXPECT_EQ(gs.grid_vals[ZOOM_GRID], 2);

    // Every item of every menu bar is in the table; those without a doer say
    // why, and dispatching one only refuses.
    for (int bar : {int(MENU_BASE), MENU_BASE + 1, MENU_BASE + 2}) {
        a_menu_bar b;
        ASSERT_TRUE(MenuBar_Load(bar, LANG_ENGLISH, b));
        std::vector<const a_menu_item*> items;
        for (const a_menu& m : b.menus) {
            for (const a_menu_item& i : m.items) {
                if (i.separator) continue;
                if (i.submenu) {
                    a_menu sub;
                    ASSERT_TRUE(Menu_Load(i.submenu, LANG_ENGLISH, sub));
                    for (const a_menu_item& s : sub.items) {
                        if (!s.separator) {
                            EXPECT_TRUE(Command_Known(s.command)) << s.text;
                        }
                    }
                    continue;
                }
                EXPECT_TRUE(Command_Known(i.command)) << i.text;
                EXPECT_EQ(Command_Available(i.command), Command_Missing(i.command).empty()) << i.text;
            }
        }
    }
    Sound_ClearLog();
    ASSERT_FALSE(Command_Available(MENU_OPTIONS + 3));  // Show All Frames
    EXPECT_FALSE(DoMenuEvent(false, false, 3, MENU_OPTIONS));
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});
    EXPECT_EQ(Menu_Category(1107), 1100);
    EXPECT_EQ(Menu_Item(1107), 7);
    EXPECT_EQ(Menu_Category(15), 15);
}

TEST(ShellCommands, QuitAsksAboutChangesAndKeepsTheDocumentWhenSavingFails) {
    a_gs_guard guard;
    Shell_Loop_Reset();
    g_doc.doc_open = false;
    Quit_Command();
    EXPECT_TRUE(g_doneflag);

    struct a_case {
        int answer;
        bool save_ok;
        bool done;
    };
    for (a_case c : {a_case{0, true, true}, a_case{0, false, false}, a_case{1, false, true},
                     a_case{2, true, false}}) {
        Shell_Loop_Reset();
        g_doc.doc_open = g_doc.doc_changed = true;
        int saves = 0;
        a_listener_token t = g_doc_services.save_document.Install([&] {
            ++saves;
            return c.save_ok;
        });
        Dialog_ScriptAnswers({c.answer});
        Quit_Command();
        g_doc_services.save_document.Remove(t);
        EXPECT_EQ(g_doneflag, c.done) << c.answer;
        EXPECT_EQ(g_doc.doc_open, !c.done) << c.answer;
        EXPECT_EQ(saves, c.answer == 0 ? 1 : 0);
        ASSERT_EQ(Dialog_History().size(), 1u);
        EXPECT_NE(Dialog_History()[0].message.find("before quitting"), std::string::npos);
        EXPECT_EQ(Dialog_History()[0].buttons,
                  (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
    }
    g_doc.doc_open = g_doc.doc_changed = false;
    Shell_Loop_Reset();
}

// Save with Shift held asks for a new name even for a document saved before.
TEST(ShellCommands, ShiftSaveIsSaveAs) {
    g_doc.doc_open = true;
    g_doc.doc_new = false;
    int asked = 0;
    a_listener_token t = g_file_services.choose_save.Install(
        [&](const std::string&, const std::string&, int16_t) { return ++asked, std::string(); });
    EXPECT_TRUE(DoMenuEvent(false, true, 4, MENU_FILE));
    g_file_services.choose_save.Remove(t);
    g_doc.doc_open = false;
    EXPECT_EQ(asked, 1);
}

TEST(ShellPhases, MenuBarsHelpTopicsAndPages) {
    const std::pair<a_phase, int> topics[] = {
        {PREVIEW_PHASE, 108}, {PAINT_PHASE, 102}, {CANVAS_PHASE, 104}, {SYMBOL_PHASE, 103},
        {PHOTO_PHASE, 105},   {GRID_PHASE, 101},  {TEXT_PHASE, 106},   {COLLAGE_PHASE, 107},
        {PAPER_PHASE, 1},     {NODOC_PHASE, 1},   {NULL_PHASE, 1}};
    for (auto [phase, topic] : topics) {
        EXPECT_EQ(Help_Topic(phase), topic) << phase;
        int bar = phase == SYMBOL_PHASE || phase == PHOTO_PHASE ? 133 : phase == TEXT_PHASE ? 134 : 132;
        EXPECT_EQ(Phase_MenuBar(phase, 132), bar) << phase;
    }
    // Pages: the language's own, else English, else none; the first folder wins.
    std::string root = Temp_Folder() + "/cirquel-help-test";
    ASSERT_TRUE(Folder_Create(root + "/a/en") && Folder_Create(root + "/a/de") && Folder_Create(root + "/b/en"));
    for (const char* f : {"/a/en/104.html", "/a/de/1.html", "/b/en/104.html", "/b/en/108.html"})
        ASSERT_TRUE(File_SaveAtomic(root + f, "<p>", 3));
    std::vector<std::string> folders{root + "/a", root + "/b"};
    EXPECT_EQ(Help_Page_Path(folders, LANG_GERMAN, 1), root + "/a/de/1.html");
    EXPECT_EQ(Help_Page_Path(folders, LANG_GERMAN, 104), root + "/a/en/104.html");
    EXPECT_EQ(Help_Page_Path(folders, LANG_ENGLISH, 108), root + "/b/en/108.html");
    EXPECT_EQ(Help_Page_Path(folders, LANG_ENGLISH, 1), "");
    (void)File_Remove_Tree(root);

    // The shipped manual: every topic in each of its languages, named by its
    // own title; a language without a manual reads the English pages.
    std::vector<std::string> shipped{std::string(CIRQUEL_SOURCE_DIR) + "/share/cirquel/help"};
    for (int lang = 0; lang < NLANGUAGES; ++lang) {
        std::string code = Language_Code(lang);
        bool own = code == "en" || code == "de" || code == "fr" || code == "es" || code == "ja";
        for (int topic : {1, 101, 102, 103, 104, 105, 106, 107, 108}) {
            std::string want = shipped[0] + "/" + (own ? code : "en") + "/" + std::to_string(topic) + ".html";
            EXPECT_EQ(Help_Page_Path(shipped, lang, topic), want) << code << " " << topic;
            if (own) {
                EXPECT_NE(Help_Topic_Name(shipped, lang, topic), "Cirquel") << code << " " << topic;
            }
        }
    }
    // The contextual item names the phase's topic.
    EXPECT_EQ(Help_Menu_Text("Help on XXX...", Help_Topic_Name(shipped, LANG_ENGLISH, 105)), "Help on Photos...");
    EXPECT_EQ(Help_Topic_Name(shipped, LANG_ENGLISH, 108), "Print preview and printing");
    EXPECT_EQ(Help_Topic_Name(shipped, LANG_ENGLISH, 999), "Cirquel");
}

TEST(ShellWindow, DefaultPlaceAndScreenCheck) {
    // A large screen: 1024 x 750, centred across, 45 pixels down.
    EXPECT_EQ(Calc_Default_WindowPos(Rect{0, 0, 1040, 1920}), (Rect{45, 448, 795, 1472}));
    // A small one with a panel on top: the whole available area.
    EXPECT_EQ(Calc_Default_WindowPos(Rect{24, 0, 600, 800}), (Rect{24, 0, 600, 800}));
    // Little spare height: half of it.
    EXPECT_EQ(Calc_Default_WindowPos(Rect{0, 0, 790, 1024}), (Rect{20, 0, 770, 1024}));
    EXPECT_TRUE(Screen_Large_Enough(760, 580));
    EXPECT_FALSE(Screen_Large_Enough(690, 800));
    EXPECT_FALSE(Screen_Large_Enough(800, 569));
    EXPECT_TRUE(Window_Fully_Visible(Rect{10, 10, 600, 800}, Rect{0, 0, 768, 1024}));
    EXPECT_FALSE(Window_Fully_Visible(Rect{10, 10, 800, 800}, Rect{0, 0, 768, 1024}));
    EXPECT_FALSE(Window_Fully_Visible(Rect{}, Rect{0, 0, 768, 1024}));
    // A saved place is kept only where a screen of now shows it with its
    // title bar; a second screen counts, one unplugged since does not.
    const std::vector<Rect> two{Rect{0, 0, 1040, 1920}, Rect{0, 1920, 1080, 3840}};
    EXPECT_EQ(Restored_WindowPos(Rect{100, 2000, 900, 3000}, two), (Rect{100, 2000, 900, 3000}));
    EXPECT_EQ(Restored_WindowPos(Rect{100, 2000, 900, 3000}, {two[0]}), Calc_Default_WindowPos(two[0]));
    EXPECT_EQ(Restored_WindowPos(Rect{10, 100, 800, 1200}, two), Calc_Default_WindowPos(two[0]))
        << "its title bar would be above the screen";
    EXPECT_EQ(Restored_WindowPos(Rect{40, 100, 100, 200}, two), (Rect{40, 100, 40 + MIN_WINDOW_HEIGHT, 100 + MIN_WINDOW_WIDTH}))
        << "grown to the smallest window";
    EXPECT_EQ(Restored_WindowPos(Rect{500, 1500, 1000, 1800}, two), Calc_Default_WindowPos(two[0]))
        << "grown, it would leave the screen";

    // The screen is checked before the art database and the file types, and
    // the undo history, started right after the fatal-error hooks, stops last.
    std::vector<std::string> order = Shell_Module_Names();
    auto at = [&](const char* name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
    EXPECT_LT(at("prefs"), at("screen"));
    EXPECT_LT(at("screen"), at("art"));
    EXPECT_LT(at("art"), at("registry"));
    EXPECT_EQ(at("messages"), 0);
    EXPECT_EQ(at("history"), 1);
}

// Every page of the shipped manual, in every language, links only to pages
// and pictures that are there, and every language has the pages of English.
TEST(ShellHelp, ManualLinksAndPicturesResolve) {
    const std::string root = std::string(CIRQUEL_SOURCE_DIR) + "/share/cirquel/help";
    const char* pages[] = {"1", "stock", "101", "102", "103", "104", "105", "106", "107", "108"};
    std::set<std::string> pictures_used;
    int links = 0;
    for (const char* code : {"en", "de", "fr", "es", "ja"}) {
        for (const char* page : pages) {
            std::string path = root + "/" + code + "/" + page + ".html";
            std::vector<uint8_t> bytes;
            ASSERT_EQ(File_Read_Limited(path, 1 << 20, bytes), a_file_read::OK) << path;
            std::string html(bytes.begin(), bytes.end());
            EXPECT_NE(html.find("<html lang=\"" + std::string(code) + "\""), std::string::npos) << path;
            for (const std::string attr : {"href=\"", "src=\""}) {
                for (size_t at = html.find(attr); at != std::string::npos; at = html.find(attr, at)) {
                    at += attr.size();
                    std::string target = html.substr(at, html.find('"', at) - at);
                    if (target.find(':') != std::string::npos || target.starts_with("#")) continue;  // outside
                    EXPECT_TRUE(File_Exists(root + "/" + code + "/" + target)) << path << " -> " << target;
                    if (target.starts_with("../img/")) pictures_used.insert(target.substr(7));
                    ++links;
                }
            }
        }
    }
    EXPECT_GT(links, 200);
    // No picture is shipped that no page shows.
    for (const auto& entry : std::filesystem::directory_iterator(root + "/img")) {
        std::string f = entry.path().filename().string();
        EXPECT_TRUE(pictures_used.count(f)) << f << " is shown by no page";
    }
}
