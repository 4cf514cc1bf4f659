// Keys and clicks in the program's own terms, the translation of window key
// messages into them, and the key-dispatch chain.
// Process-wide state: the takers of the key chain (installed by the layers
// above: the help, the text editor, the document and the interface), gs.
#pragma once
#include <cstdint>

#include "base/notice.h"
#include "platform/geometry.h"

enum a_keymod : int { SHIFTKEY = 0, OPTIONKEY = 1, CONTROLKEY = 2, COMMANDKEY = 3 };
using a_keymods = uint8_t;  // bit n = a_keymod n
constexpr a_keymods Mod(a_keymod m) { return a_keymods(1u << m); }

enum : uint16_t { NO_CHAR = 0x7E };  // "no character" in unicode (and charcode above 127)

struct a_keystroke {
    uint8_t virtcode = 0;
    uint8_t charcode = 0;
    uint16_t unicode = NO_CHAR;
    a_keymods mods = 0;
    bool operator==(const a_keystroke&) const = default;
};

struct a_mousestroke {
    uint32_t when = 0;  // ticks
    int window = 0;
    Point lmouse;
    bool button1 = false, button2 = false;
    a_keymods mods = 0;
};

// Virtual key codes the program names.
enum : uint8_t {
    VKEY_BACK = 0x08,
    VKEY_RETURN = 0x0D,
    VKEY_ESCAPE = 0x1B,
    VKEY_PRIOR = 0x21,
    VKEY_NEXT = 0x22,
    VKEY_END = 0x23,
    VKEY_HOME = 0x24,
    VKEY_LEFT = 0x25,
    VKEY_UP = 0x26,
    VKEY_RIGHT = 0x27,
    VKEY_DOWN = 0x28,
    VKEY_ENTER = 0x29,  // the keypad's Enter, told apart from Return
    VKEY_DELETE = 0x2E,
    VKEY_F1 = 0x70,
    VKEY_F15 = 0x7E,
};

// A window key message in plain terms, as the toolkit layer reports it.
enum class a_key_message { CHARACTER, KEY_DOWN, SYSTEM_CHARACTER, SYSTEM_KEY_DOWN };
struct a_key_input {
    a_key_message message = a_key_message::CHARACTER;
    uint32_t code = 0;     // the character, or the virtual key of a key down
    uint8_t vkey = 0;      // the key that typed a character
    bool shift = false, control = false, alt = false;
    bool keypad = false;   // the keypad's Enter (the extended-key bit)
};

// What a key message becomes: a keystroke for Do_Key, a menu command, or the
// default handling (nothing of ours).
struct a_key_result {
    enum a_kind { DEFAULT, KEY, COMMAND } kind = DEFAULT;
    a_keystroke key;
    int command = 0;
};
a_key_result Translate_Key(const a_key_input& in);

// The modifiers of a click or key: Shift -> SHIFTKEY, Control -> OPTIONKEY.
a_keymods Key_Mods(bool shift, bool control);

// The takers of the key chain, asked in order; each answers whether it took
// the key. The text editor is asked only while a document is open.
struct a_key_chain {
    a_service<void()> help;  // contextual help for F1
    a_service<bool(const a_keystroke&)> text_editor;
    a_service<bool(const a_keystroke&)> document;
    a_service<bool(const a_keystroke&)> interface;
    a_service<void()> show_everything;  // Escape with everything hidden
};
extern a_key_chain g_key_chain;

// The key-dispatch chain: F1, the text editor, the document's keys, the
// interface; then the refusal sound, or with everything hidden Escape shows
// it again and any other key says how (alert 26).
void DoKeyDown(const a_keystroke& key);
