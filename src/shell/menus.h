// The menus and menu bars, read from the compiled menu resources in the
// interface language with English fallback. The windows that show them
// build their toolkit menus from these records.
// Process-wide state: reads the compiled menu resources.
#pragma once
#include <string>
#include <vector>

#include "shell/shortcut.h"

// Menu ids; a menu's commands are its id + item position (1 .. 19).
enum : int {
    MENU_HMOVE = 100,
    MENU_VMOVE = 120,
    MENU_SYSTEM = 200,
    MENU_FILE = 300,
    MENU_EDIT = 400,
    MENU_OPTIONS = 500,
    MENU_HELP = 600,
    MENU_ARRANGE = 900,
    MENU_ZOOM = 1000,
    MENU_EXPORT = 1100,
    MENU_IMPORT = 1200,
};
enum : int { MENU_BASE = 132 };  // bars 132 (normal), 133 (symbols, photos), 134 (text)

struct a_menu_item {
    int command = 0;  // category + item
    bool separator = false;
    int submenu = 0;       // the menu this item opens, or 0
    std::string text;      // substituted, without the shortcut
    std::string shortcut;  // the text after the tab, as shown
    a_shortcut key;        // the accelerator (from the English menu); key 0 when none
};

struct a_menu {
    int id = 0;  // base id
    std::string title;
    std::vector<a_menu_item> items;
};

struct a_menu_bar {
    int id = 0;
    int language = 0;
    std::vector<a_menu> menus;
};

// Splits a menu command into its category (the menu id) and item.
int Menu_Category(int command);
int Menu_Item(int command);

// Menu `id` in `language` (English when that language lacks it), with the
// @ substitutions applied; false when the menu does not exist.
[[nodiscard]] bool Menu_Load(int id, int language, a_menu& menu);
// Menu bar `bar` with its menus; the Export menu loses its last two items
// (a separator and the LightScribe command). False when the bar or one of
// its menus does not exist.
[[nodiscard]] bool MenuBar_Load(int bar, int language, a_menu_bar& out);
// The accelerators of a bar: every item, submenus included, with a key.
std::vector<a_menu_item> MenuBar_Accelerators(const a_menu_bar& bar);
