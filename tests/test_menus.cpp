// Menus and menu bars from the compiled resources.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "shell/menus.h"
#include "base/string_ids.h"

namespace {

std::vector<int> Menu_Ids(const a_menu_bar& b) {
    std::vector<int> ids;
    for (const a_menu& m : b.menus) ids.push_back(m.id);
    return ids;
}

const a_menu* Find(const a_menu_bar& b, int id) {
    for (const a_menu& m : b.menus)
        if (m.id == id) return &m;
    return nullptr;
}

}  // namespace

TEST(Menus, BarsHoldTheirMenusInOrder) {
    a_menu_bar b;
    ASSERT_TRUE(MenuBar_Load(MENU_BASE, LANG_ENGLISH, b));
    EXPECT_EQ(Menu_Ids(b), (std::vector<int>{300, 400, 500, 1000, 1200, 1100, 600}));
    for (int bar : {MENU_BASE + 1, MENU_BASE + 2}) {
        ASSERT_TRUE(MenuBar_Load(bar, LANG_ENGLISH, b));
        EXPECT_EQ(Menu_Ids(b), (std::vector<int>{300, 400, 500, 1000, 1200, 1100, 900, 600}));
    }
    EXPECT_FALSE(MenuBar_Load(135, LANG_ENGLISH, b));
}

TEST(Menus, ItemsCarryCommandsTextsAndShortcuts) {
    a_menu m;
    ASSERT_TRUE(Menu_Load(MENU_FILE, LANG_ENGLISH, m));
    EXPECT_EQ(m.title, "File");
    ASSERT_EQ(m.items.size(), 11u);
    for (size_t i = 0; i < m.items.size(); ++i) {
        EXPECT_EQ(m.items[i].command, MENU_FILE + int(i) + 1);
        EXPECT_EQ(Menu_Category(m.items[i].command), MENU_FILE);
        EXPECT_EQ(Menu_Item(m.items[i].command), int(i) + 1);
    }
    EXPECT_EQ(m.items[0].text, "New Project...");
    EXPECT_EQ(m.items[0].shortcut, "Ctrl N");
    EXPECT_EQ(m.items[0].key.mods, SHORTCUT_CTRL);
    EXPECT_EQ(m.items[0].key.key, 'N');
    EXPECT_TRUE(m.items[6].separator);
    EXPECT_EQ(m.items[4].key.key, 0);  // Save As has no shortcut
    EXPECT_EQ(Menu_Category(7), 7);    // categories below 20 are taken as they are
}

TEST(Menus, SubstitutionsAndTheExportMenuTrim) {
    a_menu m;
    ASSERT_TRUE(Menu_Load(MENU_HELP, LANG_ENGLISH, m));
    EXPECT_EQ(m.items[3].text, "The Cirquel Project Web Page");
    EXPECT_EQ(m.items[7].text, "About Cirquel...");
    EXPECT_EQ(m.items[1].key.key, SHORTCUT_F1);
    ASSERT_TRUE(Menu_Load(MENU_IMPORT, LANG_ENGLISH, m));
    EXPECT_EQ(m.items[4].text, "From another Cirquel project...");

    ASSERT_TRUE(Menu_Load(MENU_EXPORT, LANG_ENGLISH, m));
    EXPECT_EQ(m.items.size(), 9u);
    EXPECT_EQ(m.items.back().text, "To Lightscribe Burner");
    a_menu_bar b;
    ASSERT_TRUE(MenuBar_Load(MENU_BASE, LANG_ENGLISH, b));
    const a_menu* e = Find(b, MENU_EXPORT);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->items.size(), 7u);
    EXPECT_EQ(e->items.back().text, "As TIFF file");
}

TEST(Menus, TranslationsFallBackPerMenuAndKeepEnglishKeys) {
    a_menu m;
    ASSERT_TRUE(Menu_Load(MENU_FILE, LANG_GERMAN, m));
    EXPECT_EQ(m.title, "Datei");
    EXPECT_EQ(m.items[10].text, "Beenden");
    EXPECT_EQ(m.items[10].shortcut, "Strg Q");
    EXPECT_EQ(m.items[10].key.mods, SHORTCUT_CTRL);
    EXPECT_EQ(m.items[10].key.key, 'Q');
    ASSERT_TRUE(Menu_Load(MENU_OPTIONS, LANG_GERMAN, m));
    EXPECT_EQ(m.title, "Optionen");
    ASSERT_TRUE(Menu_Load(MENU_HELP, LANG_GERMAN, m));
    EXPECT_EQ(m.items[3].text, "Webseite von The Cirquel Project");
    EXPECT_FALSE(Menu_Load(700, LANG_GERMAN, m));
}

TEST(Menus, AcceleratorsAreUniquePerBar) {
    for (int bar : {132, 133, 134}) {
        a_menu_bar b;
        ASSERT_TRUE(MenuBar_Load(bar, LANG_GERMAN, b));
        std::map<std::pair<int, int>, int> seen;
        auto keys = MenuBar_Accelerators(b);
        for (const a_menu_item& item : keys) {
            auto [it, fresh] =
                seen.emplace(std::pair(int(item.key.mods), item.key.key), item.command);
            EXPECT_TRUE(fresh) << "commands " << it->second << " and " << item.command
                               << " share a shortcut";
        }
        EXPECT_EQ(seen.count(std::pair(int(SHORTCUT_ALT), int('+'))), 1u);
        EXPECT_EQ(seen[std::pair(int(SHORTCUT_CTRL), int('Q'))], 311);
        EXPECT_EQ(seen.count(std::pair(int(SHORTCUT_ALT), int(']'))), bar == MENU_BASE ? 0u : 1u);
    }
}

TEST(Menus, ArrangeOpensTheMoveMenus) {
    a_menu m;
    ASSERT_TRUE(Menu_Load(MENU_ARRANGE, LANG_ENGLISH, m));
    EXPECT_EQ(m.items[9].submenu, MENU_HMOVE);
    EXPECT_EQ(m.items[10].submenu, MENU_VMOVE);
    ASSERT_TRUE(Menu_Load(MENU_VMOVE, LANG_ENGLISH, m));
    EXPECT_EQ(m.items[2].command, 123);
    EXPECT_EQ(m.items[2].text, "Vertical move to 1/2");
}

TEST(Menus, ShortcutTexts) {
    a_shortcut s;
    EXPECT_TRUE(Shortcut_Parse("Alt -", s));
    EXPECT_EQ(s.mods, SHORTCUT_ALT);
    EXPECT_EQ(s.key, '-');
    EXPECT_TRUE(Shortcut_Parse("Ctrl Shift z", s));
    EXPECT_EQ(s.mods, SHORTCUT_CTRL | SHORTCUT_SHIFT);
    EXPECT_EQ(s.key, 'Z');
    EXPECT_TRUE(Shortcut_Parse("F15", s));
    EXPECT_EQ(s.key, SHORTCUT_F1 + 14);
    for (const char* bad : {"", "Ctrl", "F16", "F0", "Strg N", "Ctrl  N", "Ctrl NN", "Ctrl N "})
        EXPECT_FALSE(Shortcut_Parse(bad, s)) << bad;
}
