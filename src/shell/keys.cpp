#include "shell/keys.h"

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "platform/sound.h"
#include "shell/menus.h"
#include "ui/interface.h"

a_key_chain g_key_chain;

namespace {

bool Is_Named_Key(uint32_t vkey) {
    return (vkey >= VKEY_PRIOR && vkey <= VKEY_DOWN) || (vkey >= VKEY_F1 && vkey <= VKEY_F15);
}

a_keystroke Character(const a_key_input& in, a_keymods mods) {
    a_keystroke k;
    k.mods = mods;
    if (in.code == VKEY_RETURN) {
        k.virtcode = in.keypad ? VKEY_ENTER : VKEY_RETURN;
        return k;
    }
    if (in.code == 127) {
        k.virtcode = k.charcode = VKEY_BACK;
        return k;
    }
    k.unicode = static_cast<uint16_t>(in.code);
    if (in.code < 128) {
        k.charcode = static_cast<uint8_t>(in.code);
        k.virtcode = in.vkey;
    } else {
        k.charcode = NO_CHAR;
    }
    return k;
}

a_key_result Key_Down(const a_key_input& in, a_keymods mods) {
    a_key_result r;
    if (!Is_Named_Key(in.code) && in.code != VKEY_DELETE) return r;
    r.kind = a_key_result::KEY;
    r.key.virtcode = static_cast<uint8_t>(in.code);
    r.key.charcode = in.code == VKEY_DELETE ? 0x7F : 0;
    r.key.mods = mods;
    return r;
}

}  // namespace

a_keymods Key_Mods(bool shift, bool control) {
    return a_keymods((shift ? Mod(SHIFTKEY) : 0) | (control ? Mod(OPTIONKEY) : 0));
}

a_key_result Translate_Key(const a_key_input& in) {
    a_keymods mods = Key_Mods(in.shift, in.control);
    a_key_result r;
    switch (in.message) {
        case a_key_message::CHARACTER:
            r.kind = a_key_result::KEY;
            r.key = Character(in, mods);
            return r;
        case a_key_message::KEY_DOWN:
            return Key_Down(in, mods);
        case a_key_message::SYSTEM_CHARACTER:
            if (in.code == '=' && gs.controller == HUMAN) {
                r.kind = a_key_result::COMMAND;
                r.command = MENU_ZOOM + 1;
            }
            return r;
        case a_key_message::SYSTEM_KEY_DOWN:
            if (in.alt || in.code < VKEY_F1 || in.code > VKEY_F15) return r;
            return Key_Down(in, mods);
    }
    return r;
}

void DoKeyDown(const a_keystroke& key) {
    if (key.virtcode == VKEY_F1 && g_key_chain.help.Installed()) {
        g_key_chain.help.Call_Or([] {});
        return;
    }
    auto no = [] { return false; };
    if (g_doc.doc_open && g_key_chain.text_editor.Call_Or(no, key)) return;
    if (g_key_chain.document.Call_Or(no, key)) return;
    if (g_key_chain.interface.Call_Or(no, key)) return;
    if (gs.tool_show) {
        Sound_Play(SND_REFUSED);
    } else if (key.charcode == VKEY_ESCAPE) {
        Sound_Play(SND_MENU);
        gs.tool_show = true;
        g_key_chain.show_everything.Call_Or([] {});
    } else {
        OK_Alert(ALERT_PRESS_ESC, false);
    }
}
