#include "text/text_keys.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/selection.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "text/text_metrics.h"

namespace {

// What the caret's own line costs over any other: its characters are the last resort.
constexpr int32_t OWN_LINE_PENALTY = 3000;

bool Is_Break(const a_om_rec& om, int pos) {
    return pos >= 1 && pos < om.nxyl && (om.xyl[pos].cc_char == CHAR_HARDBREAK || om.xyl[pos].mm_cat == CC_HARDBREAK);
}

bool Word_Start(const a_om_rec& om, int p) { return p == 1 || (!Is_White(om, p) && Is_White(om, p - 1)); }

bool Refuse() {
    Block_Sound(SND_BLOCK_WARNING);
    return false;
}

// The first half of a pair typed as two keystrokes, until its second comes.
char16_t g_lead = 0;

bool Spiral(const a_om_rec& om) { return om.layout == LAYOUT_SPIRAL_CW || om.layout == LAYOUT_SPIRAL_CCW; }

// The line moves keep the column of the first of a run of them; on a
// spiral the line above or below is the next turn, at the same angle.
int Find_Line(const a_om_rec& om, int pos, bool forward) {
    if (Spiral(om)) return Find_Spiral_Turn(om, pos, forward);
    if (!g_ed.edit_lineud) {
        g_ed.edit_lineud_x = Pos_UD(om, pos);
        g_ed.edit_lineud = true;
    }
    return forward ? Find_Fwd_Line(om, pos, g_ed.edit_lineud_x) : Find_Bak_Line(om, pos, g_ed.edit_lineud_x);
}

int Find(const a_om_rec& om, a_edit_move how, bool forward, int pos) {
    switch (how) {
        case MOVE_CHAR: return forward ? Find_Fwd_Char(om, pos) : Find_Bak_Char(om, pos);
        case MOVE_WORD: return forward ? Find_Fwd_Word(om, pos) : Find_Bak_Word(om, pos);
        case MOVE_LINE: return Find_Line(om, pos, forward);
        case MOVE_CURRLINE: return forward ? Find_Fwd_CurrLine(om, pos) : Find_Bak_CurrLine(om, pos);
        case MOVE_ENDS: return forward ? int(om.nxyl) : 1;
    }
    return pos;
}

// Set_Sel_Range forgets the column; a line move keeps it for the next one.
void Set_Keeping_Column(int lo, int hi, bool keep) {
    const bool had = g_ed.edit_lineud;
    const int32_t x = g_ed.edit_lineud_x;
    Set_Sel_Range(lo, hi);
    if (keep) g_ed.edit_lineud = had, g_ed.edit_lineud_x = x;
}

}  // namespace

int Find_Spiral_Turn(const a_om_rec& om, int pos, bool forward) {
    constexpr double kTurn = 2 * 3.14159265358979323846;
    const Point c = om.rotcenter;
    auto angle = [&](int p) {
        const a_caret_spot s = Caret_Spot(om, p);
        return std::atan2(-(s.y - c.v), double(s.x - c.h));
    };
    const int step = forward ? 1 : -1, end = forward ? int(om.nxyl) : 1;
    double turned = 0, prev = angle(pos), best_err = -1;
    int best = end;
    for (int p = pos + step; forward ? p <= end : p >= end; p += step) {
        if (p < om.nxyl && Is_Pair_Trail(om, p)) continue;
        const double a = angle(p);
        turned += std::abs(std::remainder(a - prev, kTurn));
        prev = a;
        const double err = std::abs(turned - kTurn);
        if (best_err < 0 || err < best_err) best = p, best_err = err;
        if (turned > 1.5 * kTurn) break;
    }
    return turned < 0.5 * kTurn ? end : best;  // less than half a turn: no turn beyond
}

bool Is_White(const a_om_rec& om, int pos) {
    if (pos < 1 || pos >= om.nxyl) return false;
    const uint8_t cat = om.xyl[pos].mm_cat;
    const char16_t c = om.xyl[pos].cc_char;
    return cat == CC_SPACE || cat == CC_HARDBREAK || cat == CC_OVERFLOW || c == u' ' || c == CHAR_HARDBREAK;
}

int Find_Bak_Word(const a_om_rec& om, int pos) {
    int p = std::max(1, pos - 1);
    while (!Word_Start(om, p)) --p;
    return p;
}

int Find_Fwd_Word(const a_om_rec& om, int pos) {
    int p = std::min(int(om.nxyl), pos + 1);
    while (p < om.nxyl && !Word_Start(om, p)) ++p;
    return p;
}

int Find_Bak_CurrLine(const a_om_rec& om, int pos) {
    for (int q = std::min(pos, int(om.nxyl)) - 1; q >= 1; --q)
        if (Is_Break(om, q)) return q + 1;
    return 1;
}

int Find_Fwd_CurrLine(const a_om_rec& om, int pos) {
    for (int q = std::max(pos, 1); q < om.nxyl; ++q)
        if (Is_Break(om, q)) return q;
    return om.nxyl;
}

int32_t Pos_UD(const a_om_rec& om, int pos) {
    if (pos >= 1 && pos < om.nxyl) return om.xyl[pos].mm_ud;
    const int last = om.nxyl - 1;
    if (last < 1 || Is_Break(om, last)) return 0;
    return om.xyl[last].mm_ud + om.xyl[last].mm_width;
}

int Find_Bak_Line(const a_om_rec& om, int pos, int32_t target) {
    int breaks = 0, best = 1;
    int64_t best_err = -1;
    for (int p = std::min(pos, int(om.nxyl)) - 1; p >= 1; --p) {
        if (Is_Break(om, p) && ++breaks == 2) break;
        if (Is_Pair_Trail(om, p)) continue;
        const int64_t err = std::llabs(int64_t(Pos_UD(om, p)) - target) + (breaks == 0 ? OWN_LINE_PENALTY : 0);
        if (best_err < 0 || err < best_err) best = p, best_err = err;
    }
    return breaks == 0 ? 1 : best;
}

int Find_Fwd_Line(const a_om_rec& om, int pos, int32_t target) {
    int breaks = 0, best = om.nxyl;
    int64_t best_err = -1;
    for (int p = std::max(pos, 1) + 1; p <= om.nxyl; ++p) {
        if (Is_Break(om, p - 1) && ++breaks == 2) break;
        if (Is_Pair_Trail(om, p)) continue;
        const int64_t err = std::llabs(int64_t(Pos_UD(om, p)) - target) + (breaks == 0 ? OWN_LINE_PENALTY : 0);
        if (best_err < 0 || err < best_err) best = p, best_err = err;
    }
    return breaks == 0 ? int(om.nxyl) : best;
}

bool Edit_Move(a_edit_move how, bool forward) {
    const a_om_rec* om = Edited_OM();
    if (!om) return false;
    int to;
    if (how == MOVE_CHAR && g_ed.sel_lo < g_ed.sel_hi) to = forward ? g_ed.sel_hi : g_ed.sel_lo;
    else to = Find(*om, how, forward, forward ? g_ed.sel_hi : g_ed.sel_lo);
    if (to == g_ed.sel_lo && to == g_ed.sel_hi) return Refuse();
    Set_Keeping_Column(to, to, how == MOVE_LINE);
    return true;
}

bool Edit_Extend(a_edit_move how, bool forward) {
    const a_om_rec* om = Edited_OM();
    if (!om) return false;
    const int lo = g_ed.sel_lo, hi = g_ed.sel_hi;
    const int to = Find(*om, how, forward, forward ? hi : lo);
    if (to == (forward ? hi : lo)) return Refuse();
    Set_Keeping_Column(forward ? lo : to, forward ? to : hi, how == MOVE_LINE);
    return true;
}

bool Edit_Delete(a_edit_move how, bool forward) {
    const a_om_rec* om = Edited_OM();
    if (!om) return false;
    if (g_ed.sel_lo == g_ed.sel_hi) {
        const int to = Find(*om, how, forward, g_ed.sel_lo);
        if (to == g_ed.sel_lo) return Refuse();
        Set_Sel_Range(g_ed.sel_lo, to);
    }
    return Del_Range() || Refuse();
}

namespace {

bool Arrow(uint8_t vkey, uint8_t mods) {
    const bool shift = mods & EMOD_SHIFT, option = mods & EMOD_OPTION, control = mods & EMOD_CONTROL,
               command = mods & EMOD_COMMAND;
    if (vkey == EKEY_UP || vkey == EKEY_DOWN) {
        const bool fwd = vkey == EKEY_DOWN;
        if (shift && command) return Edit_Extend(MOVE_ENDS, fwd);
        if (shift && option) return Edit_Extend(MOVE_WORD, fwd);
        if (option || command) return Edit_Move(MOVE_ENDS, fwd);
        return shift ? Edit_Extend(MOVE_LINE, fwd) : Edit_Move(MOVE_LINE, fwd);
    }
    const bool fwd = vkey == EKEY_RIGHT;
    if (shift && command) return Edit_Extend(MOVE_CURRLINE, fwd);
    if (option && command) return Edit_Move(MOVE_CURRLINE, fwd);
    if (shift && (option || control)) return Edit_Extend(MOVE_WORD, fwd);
    if (option || control) return Edit_Move(MOVE_WORD, fwd);
    return shift ? Edit_Extend(MOVE_CHAR, fwd) : Edit_Move(MOVE_CHAR, fwd);
}

bool Erase(bool forward, uint8_t mods) {
    if (g_ed.sel_lo < g_ed.sel_hi) return Del_Range();
    if (mods & EMOD_COMMAND) return Edit_Delete(MOVE_CURRLINE, forward);
    return Edit_Delete(mods & EMOD_OPTION ? MOVE_WORD : MOVE_CHAR, forward);
}

// Option with the left-hand letters: word and character left and right, line up and down.
bool Option_Letter(char16_t ch) {
    switch (ch | 0x20) {
        case 'a': return Edit_Move(MOVE_WORD, false);
        case 's': return Edit_Move(MOVE_CHAR, false);
        case 'd': return Edit_Move(MOVE_CHAR, true);
        case 'f': return Edit_Move(MOVE_WORD, true);
        case 'e': return Edit_Move(MOVE_LINE, false);
        case 'x': return Edit_Move(MOVE_LINE, true);
        default: return false;
    }
}

}  // namespace

bool Edit_KeyDown(uint8_t vkey, char16_t ch, uint8_t mods) {
    if (!Edited_OM()) return false;
    if (ch == EKEY_BACK) return Erase(false, mods), true;
    if (ch == 127 || vkey == EKEY_DELETE) return Erase(true, mods), true;
    if (ch == EKEY_ESCAPE) return Edit_Cancel(), true;
    if (vkey == EKEY_ENTER) return Edit_OK(), true;
    if (vkey == EKEY_RETURN) return (void)Text_Inject_Unicode(u"\r"), true;
    switch (vkey) {
        case EKEY_LEFT:
        case EKEY_RIGHT:
        case EKEY_UP:
        case EKEY_DOWN: return Arrow(vkey, mods), true;
        case EKEY_HOME: return Edit_Move(MOVE_ENDS, false), true;
        case EKEY_END: return Edit_Move(MOVE_ENDS, true), true;
        default: break;
    }
    if (ch <= 27 || ch == u'\t') return false;
    if (mods & (EMOD_OPTION | EMOD_CONTROL | EMOD_COMMAND)) return (mods & EMOD_OPTION) && Option_Letter(ch);
    if (Is_High_Surrogate(ch)) return g_lead = ch, true;
    const char16_t lead = Is_Low_Surrogate(ch) ? g_lead : char16_t(0);
    g_lead = 0;
    if (Is_Low_Surrogate(ch) && !lead) return true;  // half a pair alone is no character
    const char16_t s[3] = {lead ? lead : ch, lead ? ch : char16_t(0), 0};
    (void)Text_Inject_Unicode(s);
    return true;
}
