// Keyboard shortcuts as the menus write them after the tab: "Ctrl N",
// "Alt +", "F1". Shared by the menu loader and the resource compiler.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string_view>

enum : uint8_t { SHORTCUT_CTRL = 1, SHORTCUT_ALT = 2, SHORTCUT_SHIFT = 4 };
enum : int { SHORTCUT_F1 = 0x70 };  // F1 .. F15 are 0x70 .. 0x7E, as virtual key codes

struct a_shortcut {
    uint8_t mods = 0;
    int key = 0;  // an ASCII character (letters upper case) or SHORTCUT_F1 + n - 1
};

// False when `text` is not modifiers followed by one key.
[[nodiscard]] bool Shortcut_Parse(std::string_view text, a_shortcut& s);
