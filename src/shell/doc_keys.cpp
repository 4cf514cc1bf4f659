#include "shell/doc_keys.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "images/pack.h"
#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "platform/clock.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "text/text_keys.h"
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

// One screen pixel in cells at the editing area's zoom, in thousandths.
a_ratio Cells_Per_Pixel() {
    const a_ratio z = g_merge_zoom;
    if (z.num <= 0 || z.den <= 0) return a_ratio{};
    const double cells = double(z.den) * std::max(1.0, g_merge_dpr) / z.num;
    return a_ratio{int16_t(std::clamp<long>(std::lround(cells * 1000), 1, INT16_MAX)), 1000};
}

// The first selected block, when it is text that turns about a centre.
bool Polar_Text_Selected() {
    for (int omx = OMX_START; Selection_Enum(omx);)
        if (const a_om_rec* om = Curr_OM(omx)) return Text_Move_Class(*om) == MOVES_POLAR;
    return false;
}

bool Nudge(const a_keystroke& key) {
    int sx = 0, sy = 0;
    if (!Arrow_Signs(key.virtcode, sx, sy) || key.charcode != 0) return false;
    const bool shift = key.mods & Mod(SHIFTKEY), option = key.mods & Mod(OPTIONKEY);
    if (option || !Block_Phase()) return false;
    if (gs.curr_phase == TEXT_PHASE && Polar_Text_Selected())
        (void)Text_Nudge_Selected(sx, sy, shift, Cells_Per_Pixel());
    else
        Obj_Nudge(shift, sx, sy, Cells_Per_Pixel());
    return true;
}

// The character a keystroke typed: 0 for a key that types none, 8 for
// Backspace and 127 for Delete.
char16_t Typed(const a_keystroke& key) {
    if (key.charcode == 0) return 0;
    if (key.charcode == VKEY_BACK || key.charcode == 0x7F) return key.charcode;
    return char16_t(key.unicode);
}

// The one text block selected, when exactly one is.
int Single_Text_Selected() {
    int found = OMX_NONE, n = 0;
    for (int omx = OMX_START; Selection_Enum(omx);) ++n, found = omx;
    return n == 1 && Curr_OM(found) ? found : OMX_NONE;
}

// Typing on a selected text block begins editing it, the caret at its end.
bool Starts_Editing(const a_keystroke& key, char16_t ch) {
    if (gs.curr_phase != TEXT_PHASE || Editing_Text()) return false;
    if (ch <= 27 || ch == 127 || ch == u'\t' || (key.mods & ~Mod(SHIFTKEY))) return false;
    const int omx = Single_Text_Selected();
    return omx != OMX_NONE && Text_Edit(omx);
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
    if (gs.curr_phase == COLLAGE_PHASE) {
        Do_PlusMinus(option, shift, plus, PACK_ITEM_SIZE_SLIDER);
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
    // A collage's slots stay; their photos go.
    if (gs.curr_phase == COLLAGE_PHASE) Pack_ClearSlot();
    else Enum_Obj_Del();
    return true;
}

}  // namespace

bool Text_Editor_KeyDown(const a_keystroke& key) {
    if (!g_doc.doc_open || !g_doc.up || gs.curr_phase != TEXT_PHASE) return false;
    const char16_t ch = Typed(key);
    if (!Editing_Text() && !Starts_Editing(key, ch)) return false;
    if (!Edit_KeyDown(key.virtcode, ch, key.mods)) return false;
    Caret_Set(TickCount());
    return true;
}

bool Doc_KeyDown(const a_keystroke& key) {
    if (!g_doc.doc_open || !g_doc.up) return false;
    return Nudge(key) || Plus_Minus(key) || Tab_Or_Delete(key);
}

a_listener_token g_text_token = 0;

void Doc_Keys_Init() {
    g_token = g_key_chain.document.Install(Doc_KeyDown);
    g_text_token = g_key_chain.text_editor.Install(Text_Editor_KeyDown);
}
void Doc_Keys_Stop() {
    g_key_chain.document.Remove(g_token);
    g_key_chain.text_editor.Remove(g_text_token);
}
