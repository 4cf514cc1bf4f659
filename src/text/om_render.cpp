#include "text/om_render.h"

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/notices.h"
#include "pixels/blit_port.h"
#include "platform/port.h"
#include "render/compositor.h"
#include "templates/mapping.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"

namespace {

a_listener_token g_draw_tokens[5] = {};

bool Find_Block(const a_om_rec& om, uint32_t& ux, int& omx) {
    for (uint32_t u = 1; u <= g_doc.doc_template.nunits; ++u) {
        const a_doc_unit* up = g_doc.doc_units[u];
        if (!up) continue;
        for (int i = 1; i <= up->oj.nlist; ++i)
            if (up->oj.list[i].om == &om) {
                ux = u;
                omx = i;
                return true;
            }
    }
    return false;
}

// The shift that takes m's scaled unit pixels (no offsets) to its output
// pixels: origin − mult × fdec.
Point Mapping_Offset(const a_coord_mapping& m) {
    return Point{int16_t(std::lround(m.originy - double(m.multy) * m.fdecy)),
                 int16_t(std::lround(m.originx - double(m.multx) * m.fdecx))};
}

// The rendering's worlds hold the glyphs' area; `bounds` is only the part
// letters cover, so the world is placed by its own bounds.
void Draw_Placed(const a_masked_gworld& mw, GWorld* dest, Point off, const Rect* clip) {
    if (!mw.fore) return;
    a_port_scope port(dest);
    Draw_Cached_MWorld(mw, Rect_Offset(mw.fore->pix.bounds, off.h, off.v), clip);
}

// The mapping a cached rendering is made for: only the scale matters.
a_coord_mapping Scale_Only(const a_coord_mapping& m) {
    a_coord_mapping s;
    s.multx = m.multx;
    s.multy = m.multy;
    return s;
}

void Text_Ensure(a_om_rec& om, const a_coord_mapping& m) {
    OM_Ensure_Layout(om);
    const a_coord_mapping s = Scale_Only(m);
    if ((om.cache.progress & (1u << READY_BITS)) && Equal_CMapping(om.cache.mapping, s)) return;
    Dispose_MW(om.cache.text);
    Dispose_MW(om.cache.shad);
    OM_Render(om, s, om.cache.text, om.cache.shad);
    om.cache.mapping = s;
    om.cache.progress |= 1u << READY_BITS;
}

void Text_Merge(a_om_rec& om, GWorld* dest, const Rect& clip, const a_coord_mapping& m,
                bool overlay) {
    if (!dest) return;
    const Point off = Mapping_Offset(m);
    const Rect* c = Rect_IsEmpty(clip) ? nullptr : &clip;
    if (overlay && g_ed.sel_lo < g_ed.sel_hi) {
        Push_TextSize_Mapping(Block_Text_Unit(om).px_per_pt);
        std::vector<a_placed_char> chars = OM_Placed_Chars(om);
        Pop_TextSize_Mapping();
        // The highlight is drawn without offsets: shift the characters instead.
        for (a_placed_char& ch : chars) {
            if (m.multx > 0) ch.x = int16_t(std::lround(ch.x + off.h / double(m.multx)));
            if (m.multy > 0) ch.y = int16_t(std::lround(ch.y + off.v / double(m.multy)));
        }
        // Positions count from 1 (xyl[1]); entry i is xyl[i + 1].
        Draw_Selected_Range(dest, chars, g_ed.sel_lo - 1, g_ed.sel_hi - 1, m);
    }
    Draw_Placed(om.cache.shad, dest, off, c);
    Draw_Placed(om.cache.text, dest, off, c);
}

void Text_Print(a_om_rec& om, GWorld* dest, const a_coord_mapping& m) {
    if (!dest) return;
    OM_Ensure_Layout(om);
    a_masked_gworld_owner text, shad;
    OM_Render(om, Scale_Only(m), text.get(), shad.get());
    const Point off = Mapping_Offset(m);
    Draw_Placed(shad.get(), dest, off, nullptr);
    Draw_Placed(text.get(), dest, off, nullptr);
}

}  // namespace

std::vector<a_placed_char> OM_Placed_Chars(const a_om_rec& om) {
    std::vector<a_placed_char> out;
    const int n = std::clamp(int(om.nxyl), 1, int(MAX_NXYL));
    out.reserve(size_t(n));
    for (int i = 1; i < n; ++i) {
        const a_net_char nc = Calc_Net_Char(om, i);
        const a_xyl_char& x = om.xyl[i];
        a_placed_char c;
        c.units[0] = x.cc_char;
        c.fontx = nc.nn_font.fontID;
        c.size = nc.nn_fontsizeR;
        c.bold = (nc.nn_font.effects & (1u << EFFECT_BOLD)) != 0;
        c.italic = (nc.nn_font.effects & (1u << EFFECT_ITALIC)) != 0;
        c.x = x.mm_x;
        c.y = x.mm_y;
        c.t = x.mm_t;
        c.width = x.mm_width;
        c.drawn = x.mm_cat == CC_REGULAR;
        c.color = x.cc_color;
        Text_Shape(om, c.hscale, c.vscale, c.hskew, c.vskew);
        if (Is_Pair_Trail(om, i)) {
            c.drawn = false;  // drawn with its first half
        } else if (Is_High_Surrogate(x.cc_char) && i + 1 < n && Is_Low_Surrogate(om.xyl[i + 1].cc_char)) {
            c.units[1] = om.xyl[i + 1].cc_char;
            c.nunits = 2;
        } else if (Is_High_Surrogate(x.cc_char) || Is_Low_Surrogate(x.cc_char)) {
            c.drawn = false;  // half a pair alone is no character
        }
        out.push_back(std::move(c));
    }
    return out;
}

a_text_look OM_Text_Look(const a_om_rec& om) {
    a_text_look l;
    l.base_color = om.base_color;
    l.opacity = std::clamp(int(om.opacity), 0, 100);
    l.outlf = om.outlf;
    l.outl_color = om.outl_color;
    l.outl_radius = om.outl_radius;
    l.glowf = om.glowf;
    l.glow_color = om.glow_color;
    l.glow_radius = om.glow_radius;
    l.glow_opacity = std::clamp(int(om.glow_opacity), 0, 100);
    l.shadf = om.shadf;
    l.shad.color = om.shad_color;
    l.shad.dx = om.shad_dx;
    l.shad.dy = om.shad_dy;
    l.shad.opacity = std::clamp(int(om.shad_opacity), 0, 100);
    l.shad.radius = om.shad_radius;
    return l;
}

a_text_unit Block_Text_Unit(const a_om_rec& om) {
    uint32_t ux = 0;
    int omx = 0;
    return Find_Block(om, ux, omx) ? Doc_Text_Unit(ux) : Curr_Text_Unit();
}

void OM_Ensure_Layout(a_om_rec& om) {
    if (om.cache.progress & (1u << READY_COORD)) return;
    uint32_t ux = 0;
    int omx = 0;
    if (Find_Block(om, ux, omx))
        OM_Recalc_On(om, omx, Doc_Text_Unit(ux));
    else
        OM_Recalc(om, 0);
}

void OM_Render(const a_om_rec& om, const a_coord_mapping& mapping, a_masked_gworld& text,
               a_masked_gworld& shad) {
    // Layout measured the characters in the unit's pixels; sizes follow it.
    Push_TextSize_Mapping(Block_Text_Unit(om).px_per_pt);
    const std::vector<a_placed_char> chars = OM_Placed_Chars(om);
    Pop_TextSize_Mapping();
    Render_Placed_Text(chars, om.bbox, OM_Text_Look(om), mapping, text, shad);
}

void Draw_Overflow_Marks(const a_doc_unit& u, GWorld* world, const a_coord_mapping& m) {
    if (!world) return;
    a_port_scope port(world);
    for (int i = 1; i <= u.oj.nlist; ++i) {
        const a_oj_item& it = u.oj.list[i];
        if (it.kind != TEXT_BLOCK || !it.om || !(it.flags & (1u << VISIBLE_FLAG))) continue;
        const a_om_rec& om = *it.om;
        for (uint32_t k = 1; k <= std::min<uint32_t>(om.noverflows, MAX_OVERFLOWS); ++k)
            Draw_Overflow_Mark(Apply_Mapping_Point(m, om.overflows[k].pos));
    }
}

void Text_Draw_Init() {
    auto& d = g_doc_services.draw;
    g_draw_tokens[0] = d.text_ensure.Install(Text_Ensure);
    g_draw_tokens[1] = d.text_merge.Install(Text_Merge);
    g_draw_tokens[2] = d.text_print.Install(Text_Print);
    g_draw_tokens[3] = d.text_up_to_date.Install(OM_Ensure_Layout);
    g_draw_tokens[4] = d.overflow_marks.Install(Draw_Overflow_Marks);
}

void Text_Draw_Stop() {
    auto& d = g_doc_services.draw;
    d.text_ensure.Remove(g_draw_tokens[0]);
    d.text_merge.Remove(g_draw_tokens[1]);
    d.text_print.Remove(g_draw_tokens[2]);
    d.text_up_to_date.Remove(g_draw_tokens[3]);
    d.overflow_marks.Remove(g_draw_tokens[4]);
}
