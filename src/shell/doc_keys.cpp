#include "shell/doc_keys.h"

#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/document.h"
#include "model/selection.h"
#include "render/compositor.h"
#include "text/text_edit.h"
#include "ui/interface.h"
#include "ui/sliders.h"
#include "ui/text_cmds.h"

namespace {

static_assert(PHOTO_SIZEH_SLIDER == 28, "the photo size step of the keyboard is slider 28");

a_listener_token g_token = 0;

bool Editing_Text() { return gs.curr_phase == TEXT_PHASE && Edited_OM() != nullptr; }

// The phases whose blocks the keys act on; text only while it is moved,
// not while its characters are edited.
bool Block_Phase() {
    switch (gs.curr_phase) {
        case SYMBOL_PHASE:
        case PHOTO_PHASE:
        case COLLAGE_PHASE: return true;
        case TEXT_PHASE: return !Editing_Text();
        default: return false;
    }
}

bool Arrow_Signs(uint8_t vkey, int& sx, int& sy) {
    sx = vkey == VKEY_LEFT ? -1 : vkey == VKEY_RIGHT ? 1 : 0;
    sy = vkey == VKEY_UP ? -1 : vkey == VKEY_DOWN ? 1 : 0;
    return sx != 0 || sy != 0;
}

// One screen pixel in cells at the editing area's zoom.
a_ratio Cells_Per_Pixel() {
    a_ratio z = g_merge_zoom;
    if (z.num <= 0 || z.den <= 0) return a_ratio{};
    return a_ratio{z.den, z.num};
}

bool Nudge(const a_keystroke& key) {
    int sx = 0, sy = 0;
    if (!Arrow_Signs(key.virtcode, sx, sy) || key.charcode != 0) return false;
    const bool shift = key.mods & Mod(SHIFTKEY), option = key.mods & Mod(OPTIONKEY);
    if (option || !Block_Phase()) return false;
    Obj_Nudge(shift, sx, sy, Cells_Per_Pixel());
    return true;
}

bool Plus_Minus(const a_keystroke& key) {
    if (key.unicode != '+' && key.unicode != '-') return false;
    const bool plus = key.unicode == '+';
    const bool shift = key.mods & Mod(SHIFTKEY), option = key.mods & Mod(OPTIONKEY);
    if (gs.curr_phase == TEXT_PHASE && !Editing_Text()) {
        plus ? Text_Plus() : Text_Minus();
        return true;
    }
    if (gs.curr_phase == PHOTO_PHASE) {
        Do_PlusMinus(option, shift, plus, PHOTO_SIZEH_SLIDER);
        return true;
    }
    return false;
}

bool Tab_Or_Delete(const a_keystroke& key) {
    if (!Block_Phase()) return false;
    if (key.charcode == '\t') {
        Selection_Cycle(!(key.mods & Mod(SHIFTKEY)));
        return true;
    }
    const bool erase = key.charcode == VKEY_BACK || key.charcode == 0x7F;
    if (!erase || key.mods != 0) return false;
    Enum_Obj_Del();
    return true;
}

}  // namespace

bool Doc_KeyDown(const a_keystroke& key) {
    if (!g_doc.doc_open || !g_doc.up) return false;
    return Nudge(key) || Plus_Minus(key) || Tab_Or_Delete(key);
}

void Doc_Keys_Init() { g_token = g_key_chain.document.Install(Doc_KeyDown); }
void Doc_Keys_Stop() { g_key_chain.document.Remove(g_token); }
