#include "text/text_caret.h"

#include <algorithm>
#include <cmath>

#include "render/compositor.h"
#include "text/om_render.h"
#include "text/text_edit.h"
#include "text/text_keys.h"
#include "text/text_metrics.h"

a_caret g_caret;

namespace {

constexpr double kTenthRad = 3.14159265358979323846 / 1800;

int Clamp_Pos(const a_om_rec& om, int pos) { return std::clamp(pos, 1, std::max(1, int(om.nxyl))); }

// Where a press began, for the drag that follows.
int g_track_from = 0;

}  // namespace

a_caret_spot Caret_Spot(const a_om_rec& om, int pos) {
    pos = Clamp_Pos(om, pos);
    const a_xyl_char& c = om.xyl[pos];
    if (pos < om.nxyl) return a_caret_spot{float(c.mm_x), float(c.mm_y), c.mm_t};
    const int last = pos - 1;
    if (last >= 1 && om.xyl[last].cc_char != CHAR_HARDBREAK) {
        // After the last character: its origin moved on by its advance.
        const a_xyl_char& l = om.xyl[last];
        const double t = l.mm_t * kTenthRad;
        return a_caret_spot{float(l.mm_x + l.mm_width * std::cos(t)), float(l.mm_y - l.mm_width * std::sin(t)),
                            l.mm_t};
    }
    if (c.mm_x != 0 || c.mm_y != 0) return a_caret_spot{float(c.mm_x), float(c.mm_y), c.mm_t};
    return a_caret_spot{float(om.anchor.h), float(om.anchor.v), int16_t(om.lineangle)};
}

int Text_Pos_At(const a_om_rec& om, float x, float y) {
    int best = 1;
    double best_d = -1;
    for (int p = 1; p <= om.nxyl; ++p) {
        if (p < om.nxyl && Is_Pair_Trail(om, p)) continue;
        const a_caret_spot s = Caret_Spot(om, p);
        const double d = double(s.x - x) * (s.x - x) + double(s.y - y) * (s.y - y);
        if (best_d < 0 || d < best_d) best = p, best_d = d;
    }
    return best;
}

void Select_Current_Word(int pos) {
    const a_om_rec* om = Edited_OM();
    if (!om) return;
    pos = Clamp_Pos(*om, pos);
    const int p = pos == om->nxyl && pos > 1 ? pos - 1 : pos;
    const bool w = Is_White(*om, p);
    int lo = p, hi = p;
    while (lo > 1 && Is_White(*om, lo - 1) == w) --lo;
    while (hi < om->nxyl && Is_White(*om, hi) == w) ++hi;
    Set_Sel_Range(lo, hi);
}

void Select_Current_Para(int pos) {
    const a_om_rec* om = Edited_OM();
    if (!om) return;
    const int lo = Find_Bak_CurrLine(*om, pos);
    int hi = Find_Fwd_CurrLine(*om, pos);
    if (hi < om->nxyl) ++hi;  // through its break
    Set_Sel_Range(lo, hi);
}

void Track_Text_Range(float x, float y, int clicks, bool shift) {
    const a_om_rec* om = Edited_OM();
    if (!om) return;
    const int p = Text_Pos_At(*om, x, y);
    g_track_from = p;
    if (clicks == 2) return Select_Current_Word(p);
    if (clicks >= 3) return Select_Current_Para(p);
    if (!shift) return Set_Sel_Empty(p);
    if (p >= g_ed.sel_lo) Set_Sel_Range(g_ed.sel_lo, p), g_track_from = g_ed.sel_lo;
    else Set_Sel_Range(p, g_ed.sel_hi), g_track_from = g_ed.sel_hi;
}

void Track_Text_Drag(float x, float y) {
    const a_om_rec* om = Edited_OM();
    if (!om || g_track_from == 0) return;
    Set_Sel_Range(g_track_from, Text_Pos_At(*om, x, y));
}

void Caret_Set(uint32_t now) {
    g_caret.drawn = true;
    g_caret.next_blink = now + CARET_ON_TICKS;
}

bool Caret_Tick(uint32_t now) {
    const a_om_rec* om = Edited_OM();
    const bool shown = om && g_ed.sel_lo == g_ed.sel_hi;
    const a_caret before = g_caret;
    g_caret.shown = shown;
    if (!shown) {
        g_caret.drawn = false;
    } else {
        if (g_caret.pos != g_ed.sel_lo || g_caret.objid != g_ed.edit_objid || !before.shown) Caret_Set(now);
        else if (int32_t(now - g_caret.next_blink) >= 0) {
            g_caret.drawn = !g_caret.drawn;
            g_caret.next_blink = now + (g_caret.drawn ? CARET_ON_TICKS : CARET_OFF_TICKS);
        }
        g_caret.pos = g_ed.sel_lo;
        g_caret.objid = g_ed.edit_objid;
    }
    return before.drawn != g_caret.drawn || (g_caret.drawn && (before.pos != g_caret.pos || before.objid != g_caret.objid));
}

void Caret_Shape(const a_caret_spot& spot, float size, float out_x[9], float out_y[9]) {
    const float steps[8][2] = {{-3.75f, -5}, {10, 0},  {-3.75f, 5}, {0, size},
                               {3.75f, 5},   {-10, 0}, {3.75f, -5}, {0, 0}};
    float x = -1.25f, y = -0.8f * size;
    const double t = spot.t * kTenthRad;
    const float c = float(std::cos(t)), s = float(std::sin(t));
    for (int i = 0; i < 9; ++i) {
        // Counter-clockwise on a screen whose y runs down.
        out_x[i] = x * c + y * s;
        out_y[i] = -x * s + y * c;
        if (i < 8) x += steps[i][0], y += steps[i][1];
    }
}

float Caret_Size(const a_om_rec& om) {
    Push_TextSize_Mapping(Block_Text_Unit(om).px_per_pt);
    const float px = Points_To_PixelsR(om.size);
    Pop_TextSize_Mapping();
    return px;
}
