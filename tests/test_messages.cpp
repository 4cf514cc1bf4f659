// String lists, substitutions, alerts and questions, fatal reports, progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

#include "platform/dialogs.h"
#include "platform/resources.h"
#include "base/messages.h"
#include "signals_guard.h"
#include "base/string_ids.h"

namespace {

a_controller g_test_controller = HUMAN;
a_controller Test_Controller() {
    return g_test_controller;
}
std::string Test_Doc_Name() {
    return "Party.cd4";
}

class Messages : public testing::Test {
  protected:
    a_signals_guard signals_{true};
    void SetUp() override {
        Messages_SetLanguage(LANG_ENGLISH);
        Param_Text({});
        g_test_controller = HUMAN;
        (void)g_message_services.controller.Install(Test_Controller);
        Dialog_ScriptAnswers({});
    }
    void TearDown() override {
        Messages_SetLanguage(LANG_ENGLISH);
        Progress_Tick(PROGRESS_CLOSE, -2);
        Prompt_Hide();
    }
};

std::string Str(int index, int base) {
    std::string s;
    Get_Translated_String(index, base, s);
    return s;
}

}  // namespace

// Lookups fall back to English string by string; GetIndString itself is
// exact, so a missing string reads empty there.
TEST_F(Messages, LookupFallsBackToEnglishPerStringAndGetIndStringIsExact) {
    EXPECT_EQ(Str(ALERT_INTERNAL_ERROR, ALERT_STR_ID), "Internal Error - Program has crashed.");
    Messages_SetLanguage(LANG_GERMAN);
    EXPECT_EQ(Str(STR_CANCEL, MAIN_STR_ID), "Abbrechen");
    EXPECT_EQ(Str(STR_PLAIN_PAPER, MAIN_STR_ID), "Normalpapier");
    std::string kept;  // written "=" in German: the English text in German's own list
    GetIndString(kept, int(MAIN_STR_ID) + LANG_GERMAN, STR_OK);
    EXPECT_EQ(kept, "OK");
    EXPECT_EQ(Str(9, UNITKIND_STR_ID), "CD-Hülle aus Papier");
    EXPECT_EQ(Str(ID_PROGRAM_TITLE, IDENTITY_STR_ID), "Cirquel");  // never shifted
    EXPECT_EQ(Get_Translated_UString(STR_EMPTY, MAIN_STR_ID), u"Leer");
    EXPECT_EQ(Str(9999, MAIN_STR_ID), "");
    Prompt_Show(STR_UNTITLED);
    EXPECT_EQ(Dialog_Prompt(), "Unbenannt");
    Prompt_Hide();
    EXPECT_EQ(Dialog_Prompt(), "");
    Messages_SetLanguage(1);
    EXPECT_EQ(Str(STR_CANCEL, MAIN_STR_ID), "Zrušit");
    // A window text no language has reads in English.
    EXPECT_EQ(Window_Text("No such wording"), "No such wording");

    const std::pair<int, int> empty[] = {{int(MAIN_STR_ID) + LANG_GERMAN, 2},
                                         {MAIN_STR_ID, 0}, {4242, 1}, {MAIN_STR_ID, 2}};  // 2: a gap
    for (auto [list, index] : empty) {
        std::string s = "stale";
        GetIndString(s, list, index);
        EXPECT_EQ(s, "") << list << " " << index;
    }
    std::string ok;
    GetIndString(ok, MAIN_STR_ID, STR_OK);
    EXPECT_EQ(ok, "OK");
}

TEST_F(Messages, LanguagesByCodeAndLocale) {
    const std::pair<const char*, int> codes[] = {{"de", LANG_GERMAN}, {"de_AT.UTF-8", LANG_GERMAN},
                                                 {"zh_TW.UTF-8", 15}, {"zh_CN", 16}, {"zh-CHT", 15},
                                                 {"nb_NO", 9}, {"C", -1}, {"", -1}};
    for (auto [code, lang] : codes) EXPECT_EQ(Language_From_Code(code), lang) << code;
    EXPECT_STREQ(Language_Code(17), "ja");
    EXPECT_STREQ(Language_Code(20), "en");
    for (int lang = 0; lang < NLANGUAGES; ++lang) EXPECT_TRUE(Language_Offered(lang)) << lang;
    EXPECT_FALSE(Language_Offered(-1) || Language_Offered(NLANGUAGES));
}

// The desktop's choice in gettext's order: LANGUAGE's list first (unless the
// locale is C), then LC_ALL, LC_MESSAGES, LANG; names this build does not
// know are passed over, and with none left the language is English.
TEST_F(Messages, DesktopLanguageFollowsGettextOrder) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::map<std::string, std::string> saved;
    for (const char* n : names)
        if (const char* v = std::getenv(n)) saved[n] = v;
    struct a_case {
        const char* language;
        const char* all;
        const char* messages;
        const char* lang;
        int expect;
    } cases[] = {
        {"", "", "", "ja_JP.UTF-8", 17},
        {"", "", "pl_PL.UTF-8", "de_DE.UTF-8", 10},
        {"", "fi_FI", "pl_PL.UTF-8", "de_DE.UTF-8", 12},
        {"ru:el:fr", "", "", "de_DE.UTF-8", 18},  // Russian is not offered
        {"fr", "", "", "C.UTF-8", LANG_ENGLISH},  // a C locale ignores LANGUAGE
        {"", "", "", "ru_RU.UTF-8", LANG_ENGLISH},
        {"", "", "", "zh_TW.UTF-8", 15},
        {"", "", "", "", LANG_ENGLISH},
    };
    for (const a_case& c : cases) {
        const char* values[] = {c.language, c.all, c.messages, c.lang};
        for (int i = 0; i < 4; ++i) {
            if (*values[i]) setenv(names[i], values[i], 1);
            else unsetenv(names[i]);
        }
        EXPECT_EQ(Desktop_Language(), c.expect) << c.language << " " << c.all << " " << c.lang;
    }
    for (const char* n : names) {
        auto it = saved.find(n);
        if (it == saved.end()) unsetenv(n);
        else setenv(n, it->second.c_str(), 1);
    }
}

// Every pair of every compiled window-text table, walked in file order, is
// what the sorted lookup finds for its English wording.
TEST(MessagesResources, WindowTextLookupFindsEveryPair) {
    auto be16 = [](const uint8_t* p) { return size_t(p[0]) << 8 | p[1]; };
    size_t total = 0;
    for (int lang = 1; lang < NLANGUAGES; ++lang) {
        a_resource r;
        ASSERT_TRUE(Resource_Get(RES_WINTEXT, lang, r)) << lang;
        size_t pos = 2;
        for (size_t i = 0, n = be16(r.data); i < n; ++i, ++total) {
            std::string text[2];
            for (std::string& t : text) {
                ASSERT_LE(pos + 2, r.size);
                size_t len = be16(r.data + pos);
                t.assign(reinterpret_cast<const char*>(r.data + pos + 2), len);
                pos += 2 + len;
            }
            std::string found;
            ASSERT_TRUE(Window_Text(text[0], lang, found)) << lang << " " << text[0];
            EXPECT_EQ(found, text[1]);
        }
        EXPECT_EQ(pos, r.size);
    }
    EXPECT_GT(total, 19u * 300u);
    std::string none;
    EXPECT_FALSE(Window_Text("Open Project", LANG_ENGLISH, none));
}

// Parameters (^0..^3) and identity names (@p, @C, @U); text without them is
// left as it was and reported unchanged.
TEST_F(Messages, ParametersAndIdentitySubstitutions) {
    struct a_case {
        const char* in;
        bool changed;
        const char* out;
        bool identity;
    } cases[] = {
        {"^0^0", true, "abab", false},
        {"^4 and ^1^", true, "^4 and X^", false},
        {"no placeholder ^", false, "no placeholder ^", false},
        {"About @p...", true, "About Cirquel...", true},
        {"@@P", true, "@Cirquel", true},
        {"@C at @U", true, "The Cirquel Project at https://cirquel.example.org/", true},
        {"mail@x @", false, "mail@x @", true},
    };
    Param_Text("ab", "X");
    for (const a_case& c : cases) {
        std::string s = c.in;
        EXPECT_EQ(c.identity ? Do_Substitutions(s) : Do_Param_Text(s), c.changed) << c.in;
        EXPECT_EQ(s, c.out);
    }
    Param_Text("abc");
    Param_Text("z");  // all four are set together: ^1 is empty again
    std::string s = "[^1]";
    EXPECT_TRUE(Do_Param_Text(s));
    EXPECT_EQ(s, "[]");

    // Cut at 255 bytes, on a character boundary.
    Param_Text(std::string(300, 'a'));
    EXPECT_EQ(Str(ALERT_ART_NOT_FOUND, ALERT_STR_ID).size(), 255u);
    // 254 bytes, then a two-byte character that does not fit whole.
    Param_Text(std::string(200, 'a'), std::string(54, 'b') + "é");
    s = "^0^1";
    Do_Param_Text(s);
    EXPECT_EQ(s.size(), 254u);
    EXPECT_EQ(s.back(), 'b');
}

TEST_F(Messages, QuestionsTakeTheirTextsFromTheLists) {
    Param_Text("Party.cd4");
    Dialog_ScriptAnswers({2});
    EXPECT_EQ(Ask_YesNoCancel(DLOG_THREE_BUTTONS, STR_SAVE_BEFORE_QUIT, STR_SAVE, STR_DONT_SAVE,
                              STR_CANCEL),
              2);
    ASSERT_EQ(Dialog_History().size(), 1u);
    const a_dialog_request& r = Dialog_History()[0];
    EXPECT_EQ(r.layout, 1200);
    EXPECT_EQ(r.message, "Save changes to \"Party.cd4\" before quitting?");
    EXPECT_EQ(r.buttons, (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));

    a_listener_token name = g_message_services.doc_name.Install(Test_Doc_Name);
    Messages_SetLanguage(LANG_GERMAN);
    Dialog_ScriptAnswers({});
    EXPECT_EQ(Confirm_Msg(DLOG_TWO_BUTTONS, STR_REVERT_QUESTION, STR_REVERT, STR_DONT_REVERT), 0);
    g_message_services.doc_name.Remove(name);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].message,
              "Zur zuletzt gespeicherten Version von \"Party.cd4\" zurückkehren?");
    EXPECT_EQ(Dialog_History()[0].buttons.size(), 2u);
}

TEST_F(Messages, DialogKeysPressTheirButtons) {
    auto ask = [](int dialog, std::vector<a_dialog_keypress> keys) {
        Dialog_ScriptKeys(std::move(keys));
        return Ask_YesNoCancel(dialog, STR_SAVE_BEFORE_CLOSE, STR_SAVE, STR_DONT_SAVE, STR_CANCEL);
    };
    // Escape is the answer that changes nothing: the second of two buttons,
    // Cancel (the third) of Save, Don't Save, Cancel, never Don't Save.
    for (int dialog : {DLOG_TWO_BUTTONS, DLOG_THREE_BUTTONS}) {
        const int cancel = dialog == DLOG_THREE_BUTTONS ? 2 : 1;
        EXPECT_EQ(ask(dialog, {{DKEY_RETURN, false}}), 0) << dialog;
        EXPECT_EQ(ask(dialog, {{DKEY_ENTER, false}}), 0) << dialog;
        EXPECT_EQ(ask(dialog, {{DKEY_ESCAPE, false}}), cancel) << dialog;
        EXPECT_EQ(ask(dialog, {{'.', true}}), cancel) << dialog;
        EXPECT_EQ(ask(dialog, {{'.', false}, {'x', true}, {DKEY_ESCAPE, false}}), cancel)
            << "unbound keys are ignored";
    }
    EXPECT_EQ(ask(DLOG_THREE_BUTTONS, {{'d', true}}), 1);
    // A question about throwing changes away: Return presses its default.
    Dialog_ScriptKeys({{DKEY_RETURN, false}});
    EXPECT_EQ(Confirm_Msg(DLOG_TWO_BUTTONS, STR_REVERT_QUESTION, STR_REVERT, STR_DONT_REVERT, 0, 1), 1);
    EXPECT_EQ(ask(DLOG_TWO_BUTTONS, {{'D', true}}), 0) << "no third button: the default answers";

    for (a_dialog_keypress k : std::vector<a_dialog_keypress>{
             {DKEY_ESCAPE, false}, {'.', true}, {DKEY_ENTER, false}, {DKEY_RETURN, false}}) {
        Dialog_ScriptKeys({k});
        OK_Alert(ALERT_NO_HELP, false);
        ASSERT_EQ(Dialog_History().size(), 1u);
        const a_dialog_request& r = Dialog_History()[0];
        EXPECT_EQ(r.layout, 1199);
        EXPECT_EQ(r.message, "Sorry, can't find the help files.");
        EXPECT_EQ(r.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(Dialog_KeyButton(r, k.key, k.command), 0);
    }
}

TEST_F(Messages, NonFatalAlertsOnlyForAHuman) {
    g_test_controller = GHOST;
    OK_Alert(ALERT_CANNOT_READ, false);
    g_test_controller = STEALTH;
    g_mem_constraint = true;
    Memory_Constraint();
    EXPECT_TRUE(Dialog_History().empty());
    EXPECT_FALSE(g_mem_constraint);

    g_test_controller = HUMAN;
    OK_Alert(ALERT_CANNOT_READ, false);
    Memory_Constraint();  // flag already cleared: nothing
    g_mem_constraint = true;
    Memory_Constraint();
    Memory_Constraint();
    ASSERT_EQ(Dialog_History().size(), 2u);
    EXPECT_EQ(Dialog_History()[0].message, "Sorry, could not read the file.");
    EXPECT_EQ(
        Dialog_History()[1].message,
        "Not enough memory to create something that large.  The item will be limited in size.");
}

namespace {

void Recovery_Hook() {
    std::fprintf(stderr, "recovery hook ran\n");
}

}  // namespace

TEST(MessagesDeathTest, FatalReportsShowTheAlertRunRecoveryAndEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static void (*hook)() = Recovery_Hook;
    auto fatal = [](void (*f)()) {
        Dialog_SetQuiet(false);
        g_message_services = a_message_services{};
        (void)g_message_services.recovery.Install(hook);
        (void)g_message_services.controller.Install([] { return GHOST; });  // fatal alerts show all the same
        f();
    };
    EXPECT_EXIT(fatal([] { InternalError(); }), testing::ExitedWithCode(70),
                "Internal Error - Program has crashed. \\[OK\\]\nrecovery hook ran");
    EXPECT_EXIT(fatal([] { MissingKey(1, 2, 3, 32000, "PIXT"); }), testing::ExitedWithCode(70),
                "missing a piece of data, and cannot continue.  \\[PIXT  1.2.3.32000\\]");
    EXPECT_EXIT(fatal([] { MissingResource(1205, "MENU"); }), testing::ExitedWithCode(70),
                "\\[MENU  1205\\]");
    EXPECT_EXIT(fatal([] { OutOfMemory(4096); }), testing::ExitedWithCode(70),
                "Sorry, you have run out of memory.");
    // A fatal error inside the recovery hook ends the process at once.
    hook = [] { InternalError(); };
    EXPECT_EXIT(fatal([] { InternalError(); }), testing::ExitedWithCode(70), "Program has crashed");
}

// Listeners of a notice never knock each other out; a service has one owner,
// and a second one is an internal error rather than a silent replacement.
TEST(NoticesDeathTest, ManyListenersOneOwner) {
    a_notice<int> changed;
    std::vector<std::string> heard;
    a_listener_token a = changed.Subscribe([&](int v) { heard.push_back("a" + std::to_string(v)); });
    a_listener_token b = changed.Subscribe([&](int v) {
        heard.push_back("b" + std::to_string(v));
        changed.Unsubscribe(a);  // leaving while the notice is sent is allowed
    });
    changed.Emit(1);
    changed.Emit(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"a1", "b1", "b2"}));
    EXPECT_EQ(a, 0u);
    changed.Unsubscribe(b);
    EXPECT_EQ(changed.Listener_Count(), 0u);

    a_service<int(int)> twice;
    EXPECT_EQ(twice.Call_Or([] { return -1; }, 4), -1);
    a_listener_token owner = twice.Install([](int v) { return 2 * v; });
    EXPECT_EQ(twice.Call_Or([] { return -1; }, 4), 8);
    a_listener_token stranger = owner + 1000;
    twice.Remove(stranger);  // not the owner's token: nothing
    EXPECT_TRUE(twice.Installed());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Dialog_SetQuiet(false);
            (void)twice.Install([](int v) { return v; });
        },
        testing::ExitedWithCode(70), "Program has crashed");
    twice.Remove(owner);
    EXPECT_FALSE(twice.Installed());
}

TEST_F(Messages, ProgressBarHeldOpenAcrossItems) {
    const a_progress_view& v = Dialog_Progress();
    int opened = v.opened;
    Progress_Init();
    Progress_Tick(200, 50);
    EXPECT_TRUE(v.open);
    EXPECT_EQ(v.permille, 250);
    Progress_Tick(0, 0);  // an empty total draws an empty bar, no division
    EXPECT_EQ(v.permille, 0);
    Progress_Tick(10, 11);
    EXPECT_EQ(v.permille, 1000);
    Progress_Stop();
    EXPECT_FALSE(v.open);

    Progress_Tick(PROGRESS_OPEN, -1);
    for (int item = 0; item < 3; ++item) {  // each item starts and stops its own bar
        Progress_Init();
        Progress_Tick(4, 2);
        Progress_Stop();
        EXPECT_TRUE(v.open);
    }
    Progress_Tick(PROGRESS_CLOSE, -2);
    EXPECT_FALSE(v.open);
    EXPECT_EQ(v.opened, opened + 2);
    Progress_Tick(4, 2);  // a tick with no bar open opens nothing
    EXPECT_FALSE(v.open);
}

// --- The resources against the code ----------------------------------------------

namespace {

namespace fs = std::filesystem;

std::string Read_Text(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool Has_String(int list, int index) {
    std::string s;
    GetIndString(s, list, index);
    return !s.empty();
}

bool Is_Ident(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The names string_ids.h gives to strings, with the list each prefix names.
std::map<std::string, std::pair<int, int>> Named_Strings() {
    static const std::map<std::string, int> kPrefix = {{"STR_", MAIN_STR_ID},
                                                       {"ALERT_", ALERT_STR_ID},
                                                       {"ID_", IDENTITY_STR_ID},
                                                       {"DES_", DESIGN_STR_ID}};
    std::map<std::string, std::pair<int, int>> out;
    std::istringstream in(Read_Text(fs::path(CIRQUEL_SOURCE_DIR) / "src/base/string_ids.h"));
    std::string name, eq, number;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        if (!(words >> name >> eq >> number) || eq != "=" ||
            name.find("_STR_ID") != std::string::npos)
            continue;
        for (const auto& [prefix, list] : kPrefix)
            if (name.rfind(prefix, 0) == 0) out[name] = {list, std::stoi(number)};
    }
    return out;
}

// The arguments of every call of `fn` in `text`, trimmed.
std::vector<std::vector<std::string>> Calls(const std::string& text, const std::string& fn) {
    std::vector<std::vector<std::string>> out;
    for (size_t p = text.find(fn + "("); p != std::string::npos; p = text.find(fn + "(", p + 1)) {
        if (p > 0 && Is_Ident(text[p - 1])) continue;
        std::vector<std::string> args(1);
        int depth = 0;
        for (size_t i = p + fn.size() + 1; i < text.size(); ++i) {
            char c = text[i];
            if (c == '(') ++depth;
            if (c == ')' && depth-- == 0) break;
            if (c == ',' && depth == 0)
                args.emplace_back();
            else if (c != ' ' && c != '\n')
                args.back() += c;
        }
        out.push_back(args);
    }
    return out;
}

}  // namespace

TEST(MessagesResources, EveryStringTheCodeNamesIsInEnglishAndAlertsInGerman) {
    auto named = Named_Strings();
    ASSERT_GT(named.size(), 60u);
    for (const auto& [name, where] : named)
        EXPECT_TRUE(Has_String(where.first, where.second))
            << name << " = " << where.second << " of list " << where.first;
    // Ranges the code indexes by an enumeration.
    auto range = [](int list, int first, int n) {
        for (int i = first; i < first + n; ++i)
            EXPECT_TRUE(Has_String(list, i)) << "string " << i << " of list " << list;
    };
    range(MAIN_STR_ID, STR_TOOL_NAME, NTOOL_NAMES);
    range(MAIN_STR_ID, STR_GRADIENT_KIND, 6);
    range(MAIN_STR_ID, STR_SPRAY_SPREAD, 4);
    range(MAIN_STR_ID, STR_LIGHTSCRIBE_FIRST, STR_LIGHTSCRIBE_LAST - STR_LIGHTSCRIBE_FIRST + 1);
    range(MAIN_STR_ID, STR_TRACK_STYLE, 7);
    range(MAIN_STR_ID, STR_LS_REGION, 3);
    range(ADJUST_STR_ID, 1, NSLIDER_NAMES);
    range(UNITKIND_STR_ID, 1, NUNITKIND_NAMES);
    range(UNDO_STR_ID, 1, NUNDO_LABELS);
    range(DESIGN_STR_ID, DES_PAPER_MENU, 17);
    EXPECT_FALSE(Has_String(UNITKIND_STR_ID, NUNITKIND_NAMES + 1));
    // German translates every alert and unit kind.
    for (int i = 1; i < 400; ++i) {
        std::string en, de;
        GetIndString(en, ALERT_STR_ID, i);
        GetIndString(de, int(ALERT_STR_ID) + LANG_GERMAN, i);
        EXPECT_EQ(en.empty(), de.empty()) << "alert " << i;
        if (!en.empty()) {
            EXPECT_NE(en, de) << "alert " << i << " is not translated";
        }
    }
    for (int i = 1; i <= NUNITKIND_NAMES; ++i)
        EXPECT_TRUE(Has_String(int(UNITKIND_STR_ID) + LANG_GERMAN, i)) << "kind " << i - 1;
}

TEST(MessagesResources, NumbersWrittenIntoCallsExist) {
    // Calls that name a string by a literal number rather than by string_ids.h.
    auto named = Named_Strings();
    auto resolve = [&](const std::string& token, int& v) {
        if (!token.empty() && std::isdigit(static_cast<unsigned char>(token[0]))) {
            v = std::stoi(token);
            return true;
        }
        static const std::map<std::string, int> kLists = {
            {"MAIN_STR_ID", MAIN_STR_ID},        {"ALERT_STR_ID", ALERT_STR_ID},
            {"ADJUST_STR_ID", ADJUST_STR_ID},    {"UNITKIND_STR_ID", UNITKIND_STR_ID},
            {"UNDO_STR_ID", UNDO_STR_ID},        {"DESIGN_STR_ID", DESIGN_STR_ID},
            {"IDENTITY_STR_ID", IDENTITY_STR_ID}};
        auto l = kLists.find(token);
        if (l != kLists.end()) {
            v = l->second;
            return true;
        }
        auto n = named.find(token);
        if (n == named.end()) return false;
        v = n->second.second;
        return true;
    };
    // Function, argument holding the list (-1: fixed list), argument holding the index.
    struct a_call {
        const char* fn;
        int list_arg, index_arg, fixed_list;
    } calls[] = {
        {"GetIndString", 1, 2, 0},           {"Get_Translated_String", 1, 0, 0},
        {"Get_Translated_UString", 1, 0, 0}, {"Get_DLOG_String", -1, 0, MAIN_STR_ID},
        {"OK_Alert", -1, 0, ALERT_STR_ID},   {"Prompt_Show", -1, 0, MAIN_STR_ID},
    };
    int checked = 0;
    for (const char* folder : {"src", "app"}) {
        for (const auto& e :
             fs::recursive_directory_iterator(fs::path(CIRQUEL_SOURCE_DIR) / folder)) {
            if (e.path().extension() != ".cpp") continue;
            std::string text = Read_Text(e.path());
            for (const a_call& c : calls) {
                for (const auto& args : Calls(text, c.fn)) {
                    int list = c.fixed_list, index = 0;
                    if (int(args.size()) <= std::max(c.list_arg, c.index_arg)) continue;
                    if ((c.list_arg >= 0 && !resolve(args[c.list_arg], list)) ||
                        !resolve(args[c.index_arg], index))
                        continue;  // computed at run time (kind + 1, a parameter)
                    ++checked;
                    EXPECT_TRUE(Has_String(list, index))
                        << e.path().filename() << ": " << c.fn << " of " << index << " in list "
                        << list << " names no English string";
                }
            }
        }
    }
    EXPECT_GE(checked, 3);  // the scan finds the calls at all
}

// An alert is named only in string_ids.h, and every name there has its
// text: a number given a name anywhere else (a local constant, a literal
// passed on) would show an empty box.
TEST(MessagesResources, EveryAlertTheCodeNamesHasItsText) {
    auto named = Named_Strings();
    // Each whole word that begins ALERT_.
    auto alert_names = [](const std::string& text) {
        std::vector<std::string> out;
        for (size_t p = text.find("ALERT_"); p != std::string::npos; p = text.find("ALERT_", p + 1)) {
            if (p > 0 && Is_Ident(text[p - 1])) continue;
            size_t e = p;
            while (e < text.size() && Is_Ident(text[e])) ++e;
            out.push_back(text.substr(p, e - p));
        }
        return out;
    };
    int seen = 0;
    for (const char* folder : {"src", "app"}) {
        for (const auto& e : fs::recursive_directory_iterator(fs::path(CIRQUEL_SOURCE_DIR) / folder)) {
            if (e.path().extension() != ".cpp" && e.path().extension() != ".h") continue;
            if (e.path().filename() == "string_ids.h") continue;
            const std::string text = Read_Text(e.path());
            for (const std::string& name : alert_names(text)) {
                if (name == "ALERT_STR_ID") continue;
                ++seen;
                auto n = named.find(name);
                ASSERT_TRUE(n != named.end()) << e.path().filename() << " names " << name
                                              << ", which string_ids.h does not give";
                EXPECT_TRUE(Has_String(ALERT_STR_ID, n->second.second))
                    << name << " = " << n->second.second << " has no English text";
            }
            // Alerts shown by a number written into the call.
            for (const char* fn : {"OK_Alert", "Show_Alert"})
                for (const auto& args : Calls(text, fn))
                    if (!args.empty() && !args[0].empty() && std::isdigit(static_cast<unsigned char>(args[0][0])))
                        ADD_FAILURE() << e.path().filename() << ": " << fn << "(" << args[0] << ") by number";
        }
    }
    EXPECT_GT(seen, 40);
}

namespace {

// Runs the resource compiler over one strings file and one menus file and
// returns its first line of complaint ("" when it accepted them).
std::string Compile(const std::string& strings, const std::string& menus,
                    const std::string& lang = "en") {
    fs::path dir = fs::temp_directory_path() / ("cirquel_rc_" + std::to_string(::getpid()));
    fs::create_directories(dir / "s");
    fs::create_directories(dir / "m");
    std::ofstream(dir / "s" / "en.txt") << (lang == "en" ? strings : "400 4 \"x\"\n");
    std::ofstream(dir / "m" / "en.txt") << (lang == "en" ? menus : "menu 300 \"F\"\n301 \"a\"\n");
    if (lang != "en") {
        std::ofstream(dir / "s" / (lang + ".txt")) << strings;
        std::ofstream(dir / "m" / (lang + ".txt")) << menus;
    }
    std::string cmd = std::string(CIRQUEL_RESOURCE_COMPILE) + " " + (dir / "out.cpp").string() +
                      " --strings " + (dir / "s").string() + "/*.txt --menus " +
                      (dir / "m").string() + "/*.txt 2>" + (dir / "err").string();
    int status = std::system(cmd.c_str());
    std::string err = Read_Text(dir / "err");
    fs::remove_all(dir);
    if (status == 0) return "";
    return err.empty() ? "failed without a message" : err.substr(0, err.find('\n'));
}

}  // namespace

TEST(MessagesResources, CompilerRejectsMalformedLinesWithFileAndLine) {
    const std::string menu = "menu 300 \"File\"\n301 \"New\\tCtrl N\"\n302 -\n";
    EXPECT_EQ(Compile("# c\n\n400 4 \"Internal \\\"Error\\\"\\r\\n\"\n", menu), "");
    struct a_case {
        std::string strings, menus, lang, expect;
    } cases[] = {
        {"400 4 \"open\n", menu, "en", "en.txt:1: text without its closing double quote"},
        {"400 4 \"a\\q\"\n", menu, "en", "en.txt:1: unknown escape \\q"},
        {"400 4 \"a\" b\n", menu, "en", "en.txt:1: unexpected \"b\" at the end of the line"},
        {"\n400 4 \"a\"\n400 4 \"b\"\n", menu, "en", "en.txt:3: string 400 4 is given twice"},
        {"401 4 \"a\"\n", menu, "en", "en.txt:1: list 401 is not a base list id"},
        {"400 0 \"a\"\n", menu, "en", "en.txt:1: string index 0 is outside 1..4000"},
        {"400 4 \"" + std::string(256, 'x') + "\"\n", menu, "en",
         "en.txt:1: text is 256 bytes; at most 255"},
        {"400 4 \"caf\xE9\"\n", menu, "en", "en.txt:1: text is not valid UTF-8"},
        {"400 5 \"a\"\n", "", "de", "de.txt:1: string 400 5 has no English original"},
        {"1000 1 \"a\"\n", "", "de", "de.txt:1: the identity list 1000 is not translated"},
        {"400 4 \"a\"\n", "menu 300 \"F\"\n302 \"a\"\n", "en",
         "en.txt:2: item 302 should be numbered 301 (menu id + position)"},
        {"400 4 \"a\"\n", "menu 300 \"F\"\n301 \"a\\tStrg N\"\n", "en",
         "en.txt:2: shortcut \"Strg N\" is not understood"},
        {"400 4 \"a\"\n", "menu 310 \"F\"\n", "en",
         "en.txt:1: menu ids are 80, 81 or multiples of 20 from 100 to 1200"},
        {"400 4 \"a\"\n", "bar 132 300 320\nmenu 300 \"F\"\n", "en",
         "en.txt:1: menu 320 is not defined"},
        {"", "menu 300 \"D\"\n301 -\n", "de",
         "de.txt:2: item differs in kind from the English one"},
        {"tr \"a\" \"\"\n", "", "de",
         "de.txt:1: an empty translation; leave the line out until it is written"},
        {"tr \"a\" =\ntr \"a\" \"b\"\n", "", "de", "de.txt:2: window text \"a\" is given twice"},
    };
    for (const a_case& c : cases) {
        std::string err = Compile(c.strings, c.menus, c.lang);
        size_t slash = err.find_last_of('/', err.find(':'));
        EXPECT_EQ(slash == std::string::npos ? err : err.substr(slash + 1), c.expect);
    }
}
