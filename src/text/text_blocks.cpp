#include "text/text_blocks.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/messages.h"
#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/block_moves.h"
#include "model/ph_blocks.h"
#include "platform/codepage.h"
#include "text/om_render.h"
#include "text/text_contrast.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text/text_paths.h"

a_text_services g_text_services;

namespace {

int g_change_depth = 0;
a_listener_token g_tokens[7] = {};
constexpr double kPi = 3.14159265358979323846;

constexpr int RADIUS_MIN = 20, RADIUS_MAX = 180;
constexpr int16_t NO_ANCHOR = -1000;

int Block_Count() { return g_doc.up ? int(g_doc.up->oj.nlist) : 0; }

// A new block in the interface's colour, unless that colour would vanish in
// what is drawn under it (white text on the white canvas, black on a night
// photo): then black or white.
bool Readable_On_Unit(a_om_rec& om) {
    Rect area = Frame_Bounds(om.cache.frame);
    if (Rect_Width(area) <= 0 || Rect_Height(area) <= 0) {
        const int s = std::max<int>(8, om.size);  // an empty block: about a word's room at the anchor
        area = Rect{int16_t(om.anchor.v - s), int16_t(om.anchor.h - 2 * s), int16_t(om.anchor.v + s / 4),
                    int16_t(om.anchor.h + 2 * s)};
    }
    const a_win_pixel32 before = om.base_color;
    om.base_color = Readable_Colour(g_doc.up->static_[TOTAL_LAYER].world, g_doc.up->paintbounds, area, om.base_color);
    if (om.base_color == before) return false;
    om.cache.progress = 0;
    return true;
}

int Find_OMX(const a_om_rec& om) {
    if (!g_doc.up) return 0;
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i)
        if (g_doc.up->oj.list[i].om == &om) return i;
    return 0;
}

void Slider_Defaults(a_om_rec& om) {
    a_om_rec fresh;
    // Every style member back to the sliders' defaults, the text left alone.
    om.boldf = om.italf = om.outlf = om.glowf = om.shadf = om.undf = false;
    om.fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    om.size = fresh.size;
    om.hspacing = fresh.hspacing;
    om.vspacing = fresh.vspacing;
    om.radius = fresh.radius;
    om.glow_style = -1;
    om.targwidth = 0;
}

a_om_rec* Make_Record(const a_om_rec* basis, int& newx, uint8_t flags) {
    if (!g_doc.up || g_doc.up->oj.nlist > MAX_TEXT_BLOCKS) InternalError();
    a_oj_item item;
    item.objid = NextUniqueID();
    item.kind = TEXT_BLOCK;
    item.flags = flags;
    item.om = New_OM_Rec();
    if (basis) *item.om = *basis;
    if (!OMast_Append(g_doc.up->oj, item)) {
        delete item.om;
        InternalError();
    }
    newx = g_doc.up->oj.nlist;
    Obj_Number_Changed();
    return item.om;
}

bool Is_Circular(uint8_t layout) {
    return layout == LAYOUT_CIRC_CW || layout == LAYOUT_CIRC_CCW || layout == LAYOUT_SPIRAL_CW ||
           layout == LAYOUT_SPIRAL_CCW || layout == LAYOUT_SPOKE;
}

}  // namespace

a_om_rec* Curr_OM(int omx) {
    a_oj_item* it = Curr_Item(omx);
    return it && it->kind == TEXT_BLOCK ? it->om : nullptr;
}

int16_t Clamp_Text_Size(int size, int layout) {
    int limit = TEXT_LAYOUT_SIZE_LIMITS[layout < NLAYOUTS ? layout : 0];
    return int16_t(std::clamp(size, 5, limit));
}

int OM_New() {
    int omx;
    a_om_rec* om = Make_Record(nullptr, omx, uint8_t(1u << VISIBLE_FLAG));
    int radius;
    Calc_New_Anchor(nullptr, radius, om->anchor, om->rotcenter);
    Slider_Defaults(*om);
    om->radius = int16_t(radius);
    g_text_services.sliders_to_om.Call_Or([] {}, *om);
    om->size = Clamp_Text_Size(om->size, om->layout);
    return omx;
}

void UniStr_To_OM(a_om_rec& om, const char16_t* ss) {
    int n = 0;
    for (const char16_t* p = ss; p && *p && n < MAX_TEXT_CHARS; ++p) {
        if (*p == CHAR_LINEFEED) continue;
        // Half a pair at the limit would be a broken character: leave it out.
        if (n == MAX_TEXT_CHARS - 1 && Is_High_Surrogate(p[0]) && Is_Low_Surrogate(p[1])) break;
        ++n;
        Set_XYL_Defaults(om.xyl[n]);
        om.xyl[n].cc_char = *p;
    }
    Set_XYL_Defaults(om.xyl[n + 1]);
    om.xyl[n + 1].cc_char = CHAR_EOS;
    om.xyl[n + 1].mm_cat = CC_EOS;
    om.nxyl = n + 1;
    om.cache.progress = 0;
}

std::u16string OM_To_Str(const a_om_rec& om) {
    std::u16string s;
    for (int i = 1; i < om.nxyl && i <= MAX_TEXT_CHARS; ++i) {
        s.push_back(om.xyl[i].cc_char);
        if (om.xyl[i].cc_char == CHAR_HARDBREAK) s.push_back(CHAR_LINEFEED);
    }
    return s;
}

void Text_New4(int& omx, const char16_t* ss, int radius, Point anchor, Point center, bool fit) {
    omx = OM_New();
    a_om_rec& om = *Curr_OM(omx);
    UniStr_To_OM(om, ss);
    om.rotcenter = center;
    om.anchor = anchor;
    om.radius = int16_t(radius);
    om.targwidth = 300;
    OM_Recalc(om, omx);
    if (fit) Text_Fit_Unit(om, omx);
    Obj_PostRender(omx);
}

bool Text_Fit_Unit(a_om_rec& om, int omx) {
    if (Text_Move_Class(om) != MOVES_XY) return false;  // laid out around the unit already
    const Rect unit = Curr_Text_Unit().bounds;
    const int16_t before = om.size;
    // Lines break at a length limit, so one proportional step may not be
    // enough; the size falls every round.
    for (;;) {
        const Rect frame = Frame_Bounds(om.cache.frame);
        const int fw = Rect_Width(frame), fh = Rect_Height(frame);
        if (fw <= 0 || fh <= 0) break;
        const double factor = std::min(double(Rect_Width(unit)) / fw, double(Rect_Height(unit)) / fh);
        if (factor >= 1) break;
        const int16_t size = Clamp_Text_Size(int(om.size * factor), om.layout);
        if (size >= om.size) break;
        om.size = size;
        OM_Recalc(om, omx);
    }
    return om.size != before;
}

int Text_New2(const char16_t* ubuf, const a_om_rec* basis, Point tanchor, bool fit) {
    int radius;
    Point anchor, center;
    Calc_New_Anchor(basis, radius, anchor, center);
    if (tanchor.h != NO_ANCHOR) anchor = tanchor;
    int omx;
    Text_New4(omx, ubuf, radius, anchor, center, fit);
    if (!basis && tanchor.h == NO_ANCHOR) {
        a_om_rec& om = *Curr_OM(omx);
        if (Disc_Straight_Anchor(Curr_Text_Unit(), om.size, om.justify, om.layout, om.anchor)) OM_Recalc(om, omx);
    }
    if (!basis && Readable_On_Unit(*Curr_OM(omx))) Obj_PostRender(omx);
    Begin_Selection_Change();
    Selection_Set1(omx);
    End_Selection_Change();
    return omx;
}

bool Text_Inject_Unicode(const char16_t* ubuf) {
    if (Edited_OM()) return Ed_Ins_UBuf(ubuf);
    if (!g_doc.up || Block_Count() >= MAX_TEXT_BLOCKS) return false;
    Text_New2(ubuf, nullptr, Point{NO_ANCHOR, NO_ANCHOR}, true);
    return true;
}

bool Text_Inject_Roman(const char* abuf) {
    std::string_view s(abuf ? abuf : "");
    std::u16string u = Utf8_To_Utf16(s.substr(0, std::min<size_t>(s.size(), 4 * MAX_TEXT_CHARS)));
    if (u.size() > MAX_TEXT_CHARS) u.resize(MAX_TEXT_CHARS);
    return Text_Inject_Unicode(u.c_str());
}

bool Text_New_At(Point anchor) {
    if (!g_doc.up) return false;
    if (Block_Count() >= MAX_TEXT_BLOCKS) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    const a_om_rec* basis = nullptr;
    for (int omx = OMX_START; Selection_Enum(omx);)
        if (const a_om_rec* om = Curr_OM(omx)) {
            basis = om;
            break;
        }
    int omx = Text_New2(u"", basis, anchor, false);
    Text_Edit(omx, true);
    g_text_services.begin_edit.Call_Or([] {}, omx);
    return true;
}

bool Text_New() { return Text_New_At(Point{NO_ANCHOR, NO_ANCHOR}); }

int Text_New_String(const char16_t* ss) {
    if (!g_doc.up) return OMX_NONE;
    if (Block_Count() >= MAX_TEXT_BLOCKS) {
        Block_Sound(SND_BLOCK_WARNING);
        return OMX_NONE;
    }
    const a_om_rec* basis = nullptr;
    for (int omx = OMX_START; !basis && Selection_Enum(omx);) basis = Curr_OM(omx);
    const int omx = Text_New2(ss, basis, Point{NO_ANCHOR, NO_ANCHOR}, false);
    History_Set_Pending(OP_TEXT_NEW);
    return omx;
}

bool Text_Replace(int omx, const char16_t* ss) {
    a_om_rec* om = Curr_OM(omx);
    if (!om) return false;
    // Compared without line feeds, which are never stored.
    auto without_lf = [](std::u16string s) {
        std::erase(s, CHAR_LINEFEED);
        return s;
    };
    if (without_lf(OM_To_Str(*om)) == without_lf(ss ? ss : u"")) return false;
    int edited = 0;
    if (Edited_OM(&edited) && edited == omx) Edit_Leave();  // its caret would point anywhere
    Begin_Text_Change(omx);
    UniStr_To_OM(*om, ss);
    End_Text_Change(omx);
    History_Set_Pending(OP_TEXT_EDIT);
    return true;
}

bool OM_Dup(const a_om_rec& basis, int& newx) {
    if (!g_doc.up || Block_Count() >= MAX_TEXT_BLOCKS) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    auto copy_basis = std::make_unique<a_om_rec>(basis);  // basis may live in the list that grows
    OM_Forget_Caches(*copy_basis);
    a_om_rec* om = Make_Record(copy_basis.get(), newx,
                               uint8_t((1u << VISIBLE_FLAG) | (1u << PENDING_FLAG)));
    int radius;
    Calc_New_Anchor(copy_basis.get(), radius, om->anchor, om->rotcenter);
    om->radius = int16_t(radius);
    om->cache.frame.max = MAX_FRAME_POINTS;
    Begin_Text_Change(newx);
    End_Text_Change(newx);
    return true;
}

bool Do_Paste_OM(const a_om_rec& pasted, int& newx) {
    g_doc_services.history_pending.Call_Or([] {}, int(OP_TEXT_PASTE));
    return OM_Dup(pasted, newx);
}

void Default_Text_Placement(const a_text_unit& u, Point& anchor, Point& center) {
    const Rect& b = u.bounds;
    center.v = int16_t((b.top + b.bottom) / 2);
    if (u.kind == UNIT_MINICD_LID2 || u.kind == UNIT_JEWEL_LID2)
        center.h = int16_t((b.left + 3 * b.right) / 4);
    else if (u.kind == UNIT_DVDBOX_WRAP)
        center.h = int16_t(b.right - Rect_Width(b) * 24 / 100);
    else
        center.h = int16_t((b.left + b.right) / 2);
    anchor = Point{int16_t((3 * b.top + b.bottom) / 4), int16_t(b.right / 2)};
}

bool Disc_Straight_Anchor(const a_text_unit& u, int size, uint8_t justify, uint8_t layout, Point& anchor) {
    if (u.disc <= 0 || layout != LAYOUT_HORZ) return false;
    const Point c = Rect_Centre(u.bounds);
    const int margin = u.disc / 40;
    const double outer = u.disc / 2.0 - margin, hole = u.hole > 0 ? u.hole / 2.0 + margin : 0;
    const double ascent = 0.75 * size * u.px_per_pt;
    // The letters centred in the band between the edge and the hole.
    const double base = c.v - (outer + hole) / 2 + ascent / 2, top = c.v - (base - ascent);
    const double half = std::sqrt(std::max(0.0, outer * outer - top * top));
    const double h = justify == JUST_CENTER ? c.h : justify == JUST_RIGHT ? c.h + half : c.h - half;
    anchor = Point{int16_t(std::lround(base)), int16_t(std::lround(h))};
    return true;
}

void Calc_New_Anchor(const a_om_rec* basis, int& radius, Point& anchor, Point& center) {
    a_text_unit u = Curr_Text_Unit();
    const Rect& b = u.bounds;
    if (basis) {
        center = basis->rotcenter;
        radius = basis->radius - 10 < RADIUS_MIN ? basis->radius + 10 : basis->radius - 10;
        anchor = Point{int16_t(basis->anchor.v + Rect_Height(basis->bbox)), basis->anchor.h};
        Rect in = Rect_Inset(b, 20);
        if (!(anchor.v >= in.top && anchor.v < in.bottom && anchor.h >= in.left && anchor.h < in.right))
            anchor = Rect_Centre(in);
        return;
    }
    Default_Text_Placement(u, anchor, center);
    radius = std::clamp(g_text_services.radius_value.Call_Or([] { return 95; }), RADIUS_MIN, RADIUS_MAX);
}

void Begin_Text_Change(int omx) {
    if (g_change_depth++ == 0) Obj_PostRender(omx);
}

void End_Text_Change(int omx) {
    if (g_change_depth <= 0) InternalError();
    if (--g_change_depth > 0) return;
    if (a_om_rec* om = Curr_OM(omx)) OM_Recalc(*om, omx);
    Obj_PostRender(omx);
}

void OM_BringUpToDate(int omx) {
    a_om_rec* om = Curr_OM(omx);
    if (!om || (om->cache.progress & (1u << READY_BITS))) return;
    Obj_PostRender(omx);
    OM_Recalc(*om, omx);
    Obj_PostRender(omx);
}

void Set_Text_Block_HJust(a_om_rec& om, uint8_t newjust) {
    auto f = [](int j) { return j == JUST_RIGHT ? 1.0 : j == JUST_CENTER ? 0.5 : 0.0; };
    bool straight = om.layout == LAYOUT_HORZ || om.layout == LAYOUT_90 || om.layout == LAYOUT_270;
    if (straight && (om.cache.progress & (1u << READY_COORD))) {
        double along = om.cache.tot_along * (f(newjust) - f(om.justify));
        double t = -om.lineangle / 10.0 * 3.14159265358979323846 / 180;
        Text_Move_XY(om, int(std::lround(along * std::cos(t))), int(std::lround(along * std::sin(t))));
    }
    om.justify = newjust;
    om.cache.progress = 0;
}

void Text_AlignTo(a_om_rec& om, Point target) {
    a_move_class mc = Text_Move_Class(om);
    if (mc == MOVES_POLAR) return;
    int dx = mc == MOVES_XY && target.h != -10000 ? target.h - om.anchor.h : 0;
    int dy = target.v != -10000 ? target.v - om.anchor.v : 0;
    Text_Move_XY(om, dx, dy);
}

a_move_class Text_Move_Class(const a_om_rec& om) {
    if (om.layout == LAYOUT_CONTOUR) return MOVES_Y;
    return Is_Circular(om.layout) ? MOVES_POLAR : MOVES_XY;
}

void Text_Move_XY(a_om_rec& om, int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    om.anchor.h = int16_t(std::clamp(om.anchor.h + dx, -32767, 32767));
    om.anchor.v = int16_t(std::clamp(om.anchor.v + dy, -32767, 32767));
    om.cache.progress = 0;
}

void Text_Move_Polar(a_om_rec& om, const a_text_unit& u, Point new_center, Point delta) {
    om.rotcenter = new_center;
    int16_t& r = om.layout == LAYOUT_SPOKE ? om.spoke_outerd : om.radius;
    int lo = om.layout == LAYOUT_SPOKE ? 50 : RADIUS_MIN, hi = om.layout == LAYOUT_SPOKE ? 100 : RADIUS_MAX;
    if (delta.h != 0)
        r = int16_t(std::clamp(Pixels_To_Radius(u, Radius_To_Pixels(u, r) + delta.h), lo, hi));
    int degrees = int(delta.v >= 0 ? (delta.v + 5) / 10 : -((-delta.v + 5) / 10));
    int a = om.polarangle + degrees;
    while (a > 180) a -= 360;
    while (a < -180) a += 360;
    om.polarangle = int16_t(a);
    om.cache.progress = 0;
}

void Text_Drag_Polar(a_om_rec& om, const a_text_unit& u, Point start, Point now) {
    const Point c = om.rotcenter;
    // Angles counter-clockwise on a screen whose y runs down.
    const double a0 = std::atan2(-(start.v - c.v), double(start.h - c.h));
    const double a1 = std::atan2(-(now.v - c.v), double(now.h - c.h));
    if ((start.h == c.h && start.v == c.v) || (now.h == c.h && now.v == c.v)) return;
    double d = a1 - a0;
    while (d > kPi) d -= 2 * kPi;
    while (d <= -kPi) d += 2 * kPi;
    const int tenths = int(std::lround(d * 1800 / kPi));
    if (tenths != 0) Text_Move_Polar(om, u, c, Point{int16_t(tenths), 0});
}

bool Text_Nudge(a_om_rec& om, const a_text_unit& u, int signx, int signy, bool shift,
                a_ratio cells_per_pixel) {
    if (Text_Move_Class(om) != MOVES_POLAR) {
        int dx = 0, dy = 0;
        Signs_To_DXY(shift, Text_Move_Class(om) == MOVES_Y ? 0 : signx, signy, cells_per_pixel, dx, dy);
        if (dx == 0 && dy == 0) return false;
        Text_Move_XY(om, dx, dy);
        return true;
    }
    const int times = shift ? 10 : 1;
    // 1 degree a press, against the arrow where the text runs clockwise.
    const bool clockwise = om.layout == LAYOUT_CIRC_CW || om.layout == LAYOUT_SPIRAL_CW || om.layout == LAYOUT_SPOKE;
    const int turn = signx * (clockwise ? -1 : 1) * 10 * times;
    // 5 screen pixels an upward press (signy -1 is up), in cells.
    int grow = -signy * 5 * times;
    if (cells_per_pixel.den > 0) grow = int(std::lround(double(grow) * cells_per_pixel.num / cells_per_pixel.den));
    int16_t& r = om.layout == LAYOUT_SPOKE ? om.spoke_outerd : om.radius;
    const int16_t before_r = r, before_a = om.polarangle;
    Text_Move_Polar(om, u, om.rotcenter, Point{int16_t(turn), int16_t(grow)});
    // The radius is kept in whole percent: a press smaller than one percent
    // would round back to where it was (upward always), so it takes one.
    if (grow != 0 && r == before_r) {
        const int lo = om.layout == LAYOUT_SPOKE ? 50 : RADIUS_MIN, hi = om.layout == LAYOUT_SPOKE ? 100 : RADIUS_MAX;
        r = int16_t(std::clamp(before_r + (grow > 0 ? 1 : -1), lo, hi));
    }
    return r != before_r || om.polarangle != before_a;
}

bool Text_Nudge_Selected(int signx, int signy, bool shift, a_ratio cells_per_pixel) {
    int omx = 0;
    a_om_rec* om = nullptr;
    for (int i = OMX_START; Selection_Enum(i);)
        if ((om = Curr_OM(i))) {
            omx = i;
            break;
        }
    if (!om) return false;
    Obj_PostRender(omx);
    if (!Text_Nudge(*om, Curr_Text_Unit(), signx, signy, shift, cells_per_pixel)) {
        Block_Sound(SND_BLOCK_WARNING);  // at a limit
        return false;
    }
    OM_Recalc(*om, omx);
    Obj_PostRender(omx);
    History_Emit(OP_BLOCK_MOVEXY);
    return true;
}

void Text_Init() {
    Text_Draw_Init();
    auto& s = g_doc_services.text;
    g_tokens[0] = s.bbox.Install([](const a_om_rec& om) {
        // Layout is a cache of the record: bring it up to date on demand.
        auto& m = const_cast<a_om_rec&>(om);
        if (!(m.cache.progress & (1u << READY_COORD))) OM_Recalc(m, Find_OMX(om));
        return m.bbox;
    });
    g_tokens[1] = s.is_inside.Install([](const a_om_rec& om, Point cell, int& part) {
        part = 0;
        return Frame_Contains(om.cache.frame, cell);
    });
    g_tokens[2] = s.move.Install([](a_om_rec& om, int dx, int dy) {
        switch (Text_Move_Class(om)) {
            case MOVES_Y: Text_Move_XY(om, 0, dy); break;
            case MOVES_XY: Text_Move_XY(om, dx, dy); break;
            default:  // a circle moves with its centre
                om.rotcenter.h = int16_t(std::clamp(om.rotcenter.h + dx, -32767, 32767));
                om.rotcenter.v = int16_t(std::clamp(om.rotcenter.v + dy, -32767, 32767));
                om.cache.progress = 0;
                break;
        }
        OM_Recalc(om, Find_OMX(om));
    });
    g_tokens[5] = s.drag.Install([](a_om_rec& om, Point start, Point now) {
        Text_Drag_Polar(om, Block_Text_Unit(om), start, now);
        OM_Recalc(om, Find_OMX(om));
    });
    g_tokens[6] = s.align_to.Install([](a_om_rec& om, Point target) {
        Text_AlignTo(om, target);
        OM_Recalc(om, Find_OMX(om));
    });
    g_tokens[3] = s.move_class.Install([](const a_om_rec& om) { return int(Text_Move_Class(om)); });
    g_tokens[4] = s.dup.Install([](int omx, int& newx) {
        const a_om_rec* om = Curr_OM(omx);
        return om && OM_Dup(*om, newx);
    });
}

void Text_Stop() {
    auto& s = g_doc_services.text;
    s.bbox.Remove(g_tokens[0]);
    s.is_inside.Remove(g_tokens[1]);
    s.move.Remove(g_tokens[2]);
    s.move_class.Remove(g_tokens[3]);
    s.dup.Remove(g_tokens[4]);
    s.drag.Remove(g_tokens[5]);
    s.align_to.Remove(g_tokens[6]);
    Text_Draw_Stop();
    g_change_depth = 0;
}
