#include "text/text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "text/text_paths.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

a_layout_tables g_t;

void Mark_Overflow(a_om_rec& om, int cx) {
    a_xyl_char& c = om.xyl[cx];
    if (c.mm_cat != CC_EOS) c.mm_cat = CC_OVERFLOW;
    c.mm_x = c.mm_y = c.mm_t = 0;
}

// Distances along a path as whole pixels; outsize values from damaged
// records stay inside int.
int To_Int(double v) { return int(std::clamp(std::round(v), -1e9, 1e9)); }

int16_t Round16(double v) { return int16_t(std::clamp(std::lround(v), -32767L, 32767L)); }

bool Is_Straight(uint8_t layout) {
    return layout == LAYOUT_HORZ || layout == LAYOUT_90 || layout == LAYOUT_270 || layout == LAYOUT_VERT;
}

// Width of the character at pos in font `key`; a surrogate pair is measured
// whole at its first half, and its second half takes no room.
float Char_Width(const a_om_rec& om, int pos, const a_font_key& key) {
    if (Is_Pair_Trail(om, pos)) return 0;
    const char16_t* s = &om.xyl[pos].cc_char;
    if (Is_High_Surrogate(s[0]) && Is_Pair_Trail(om, pos + 1)) {
        char16_t pair[2] = {om.xyl[pos].cc_char, om.xyl[pos + 1].cc_char};
        return Font_Text_Width(key, pair, 2);
    }
    return Font_Text_Width(key, s, 1);
}

// Start of the line the character at pos is on, as far as hard breaks tell:
// a nudge never takes a character before it.
struct a_scan_state {
    float cum = 0;
    float line_start = 0;
};

void Place_Scanned(a_om_rec& om, int i, float width, a_scan_state& st, bool clamp) {
    a_ow_rec& ow = g_t.ow[i];
    ow.ow_width = width;
    float nudge = Is_Pair_Trail(om, i) ? 0 : om.xyl[i].cc_nudgex;
    ow.ow_left = st.cum + nudge;
    if (clamp) ow.ow_left = std::max(ow.ow_left, st.line_start);
    ow.ow_right = ow.ow_left + ow.ow_width;
    st.cum = std::max(st.cum, ow.ow_right);
    ow.ow_max = st.cum;
    if (om.xyl[i].mm_cat == CC_HARDBREAK) st.line_start = st.cum;
}

void Grow(Rect& r, int left, int top, int right, int bottom) {
    r.left = int16_t(std::max(-32767, r.left - left));
    r.top = int16_t(std::max(-32767, r.top - top));
    r.right = int16_t(std::min(32767, r.right + right));
    r.bottom = int16_t(std::min(32767, r.bottom + bottom));
}

void Set_Segment(a_linear_path& seg, double x, double y, double avail, double angle, double sn,
                 double cs, double charangle) {
    seg.endpointx = float(x);
    seg.endpointy = float(y);
    seg.avail = float(avail);
    seg.baseangle = float(angle);
    seg.base_sin = float(sn);
    seg.base_cos = float(cs);
    seg.charangle = float(charangle);
}

// Straight layouts: the path set holds one segment per line up to 299; the
// lines after it are marked as overflowing, like lines beyond any path set.
void Straight_Paths(a_om_rec& om, double x, double y, double widest, double angle, double sn,
                    double cs, double charangle, double step_x, double step_y) {
    a_path_cache& pc = om.cache.path;
    Flush_Path_Cache(pc);
    pc.spec.shape = RECT_PATH;
    pc.content = ARRAY_OF_LINES;
    for (uint32_t n = 1; n <= g_t.nlines && n < MAX_PATH_SEGS; ++n) {
        a_linear_path seg;
        Set_Segment(seg, x, y, widest, angle, sn, cs, charangle);
        pc.lines.push_back(seg);
        x += step_x;
        y += step_y;
    }
    pc.npaths = uint32_t(pc.lines.size());
    pc.overflowx = float(x);
    pc.overflowy = float(y);
}

void Apply_Lines(int flags, int omx, a_om_rec& om, int just) {
    for (uint32_t n = 1; n <= g_t.nlines; ++n)
        Apply_To_Path(flags, n, omx, om, g_t.lines[n].firstcx, g_t.lines[n].lastcx, just);
}

void Reformat_Rect(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, 0);
    Scan_Widths(om);
    Simple_Line_Breaks(om, u);
    int ls = Calc_VSpacing(om);
    float widest, height;
    Calc_Line_Extents(float(ls), widest, height);
    om.cache.tot_along = widest;
    int ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    double langle = -om.lineangle / 10.0, sn = std::sin(langle * kRad), cs = std::cos(langle * kRad);
    double back = om.justify == JUST_RIGHT ? widest : om.justify == JUST_CENTER ? widest / 2 : 0;
    double x = om.anchor.h - back * cs, y = om.anchor.v - back * sn;
    Straight_Paths(om, x, y, widest, langle, sn, cs, langle, -ls * sn, ls * cs);
    Apply_Lines(0, omx, om, om.justify);
    double lines_down = std::max<int>(0, int(g_t.nlines) - 1) * double(ls);
    a_fpoint first{float(x), float(y)}, last{float(x - lines_down * sn), float(y + lines_down * cs)};
    Calc_Rect_Frame(om.cache.frame, first, last, widest, float(cs), float(sn), ascent * 1.1f,
                    float(descent), descent * 0.5f, 0);
    om.bbox = Frame_Bounds(om.cache.frame);
    Grow(om.bbox, 10, 10, 10, 20);
}

void Reformat_Vert(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, 0);
    Scan_Vert(om);
    Simple_Line_Breaks(om, u);
    int ls = Calc_VSpacing(om);
    float widest, height;
    Calc_Line_Extents(float(ls), widest, height);
    om.cache.tot_along = widest;
    int ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    double x = om.anchor.h + int(int64_t(g_t.nlines) * ls / 2), y = om.anchor.v - widest / 2;
    Straight_Paths(om, x, y, widest, 90, 1, 0, 0, -ls, 0);
    Apply_Lines(1, omx, om, om.justify);
    double across = std::max<int>(0, int(g_t.nlines) - 1) * double(ls);
    a_fpoint first{float(x), float(y - ascent)}, last{float(x - across), float(y - ascent)};
    float pad = (ascent + descent) * 0.6f;
    Calc_Rect_Frame(om.cache.frame, first, last, widest, 0, 1, pad, pad, 0, 0);
    om.bbox = Frame_Bounds(om.cache.frame);
    Grow(om.bbox, 10, 10, 10, 10);
}

// An annular sector about c from angle a to b (radians, a <= b).
void Sector_Frame(a_om_pointlist& f, Point c, double inner, double outer, double a, double b) {
    Frame_Clear(f);
    auto at = [&](double r, double t) {
        Frame_Add(f, float(c.h + r * std::cos(t)), float(c.v - r * std::sin(t)));
    };
    const double step = 4 * kRad;
    at(inner, a);
    at(outer, a);
    for (double t = a + step;; t += step) {
        at(outer, std::min(t, b));
        if (t >= b) break;
    }
    for (double t = b - step;; t -= step) {
        at(inner, std::max(t, a));
        if (t <= a) break;
    }
    at(inner, a);
}

void Reformat_Circular(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, 0);
    Scan_Widths(om);
    Simple_Line_Breaks(om, u);
    double R = Radius_To_Pixels(u, om.radius);
    double ls = Calc_VSpacing(om), a = 0.75 * ls, d = 0.25 * ls;
    int sign = om.layout == LAYOUT_CIRC_CW ? -1 : 1;
    double base = om.polarangle * kRad - sign * kPi / 2;
    double outer = 0, inner = 1e9, lo = 1e9, hi = -1e9;
    int N = int(g_t.nlines);
    for (int n = 1; n <= N; ++n) {
        double r = sign < 0 ? R - (n - 1) * ls : R - (N - n) * ls;
        double rb = sign < 0 ? r - a : r - d;
        outer = std::max(outer, r + 4);
        inner = std::min(inner, r - (a + d + 4));
        const a_break_rec& line = g_t.lines[n];
        if (rb < 50) {
            Post_Overflow(om, omx, om.rotcenter.h, om.rotcenter.v);
            for (int cx = line.firstcx; cx <= line.lastcx; ++cx) Mark_Overflow(om, cx);
            continue;
        }
        // A line longer than its circle would run over its own beginning:
        // what does not fit one turn is dropped and marked, as on a path.
        const double turn = 2 * kPi * rb;
        double w = line.lastcum - line.firstcum;
        int last = line.lastcx;
        if (w > turn) {
            w = 0;
            last = line.firstcx - 1;
            while (last < line.lastcx && w + g_t.ow[last + 1].ow_width <= turn) w += g_t.ow[++last].ow_width;
        }
        const double p0 = om.justify == JUST_LEFT ? 0 : om.justify == JUST_CENTER ? -w / 2 : -w;
        double p = p0;
        for (int cx = line.firstcx; cx <= last; ++cx) {
            a_xyl_char& c = om.xyl[cx];
            double left = p * sign / rb + base;
            double right = (p + g_t.ow[cx].ow_width) * sign / rb + base;
            c.mm_t = Round16((left + right) / 2 * 1800 / kPi + sign * 900);
            c.mm_x = Round16(std::lround(std::cos(left) * rb) + om.rotcenter.h);
            c.mm_y = Round16(om.rotcenter.v - std::lround(std::sin(left) * rb));
            c.mm_ud = To_Int(p - p0);
            lo = std::min({lo, left, right});
            hi = std::max({hi, left, right});
            p += g_t.ow[cx].ow_width;
        }
        if (last < line.lastcx) {
            const double end = p * sign / rb + base;
            Post_Overflow(om, omx, Round16(std::lround(std::cos(end) * rb) + om.rotcenter.h),
                          Round16(om.rotcenter.v - std::lround(std::sin(end) * rb)));
            for (int cx = last + 1; cx <= line.lastcx; ++cx) Mark_Overflow(om, cx);
        }
    }
    if (lo > hi) lo = hi = base;
    else lo -= 2.5 * kRad, hi += 2.5 * kRad;
    if (N == 0) outer = R + 4, inner = std::max(0.0, R - a - d - 4);
    Sector_Frame(om.cache.frame, om.rotcenter, std::max(0.0, inner), outer, lo, hi);
    om.bbox = u.bounds;
}

a_generic_path_spec Zeroed_Spec(uint8_t shape) {
    a_generic_path_spec s;
    std::memset(&s.u, 0, sizeof s.u);
    s.shape = shape;
    return s;
}

void Reformat_Spiral(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, TREAT_CR_AS_SPACE);
    Scan_Widths(om);
    g_t.nlines = 1;
    g_t.lines[1] = a_break_rec{1, om.nxyl, g_t.ow[1].ow_left, g_t.ow[om.nxyl].ow_max};
    a_generic_path_spec spec = Zeroed_Spec(SPIRAL_PATH);
    a_spiral_spec& s = spec.u.spiral;
    s.originx = om.rotcenter.h;
    s.originy = om.rotcenter.v;
    s.radius = float(Radius_To_Pixels(u, om.radius));
    s.polarangle = om.polarangle;
    s.lspacing = float(Calc_VSpacing(om));
    s.clockwise = om.layout == LAYOUT_SPIRAL_CW;
    Gen_Path(om.cache.path, spec);
    Apply_To_Path(0, 1, omx, om, 1, om.nxyl, JUST_LEFT);
    int ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    Path_To_Frame(om.cache.path, om.cache.frame, To_Int(std::min(g_t.ow[om.nxyl].ow_max, 1e8f)) + 20, ascent, descent);
    om.bbox = u.bounds;
}

void Reformat_Spoke(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, 0);
    Scan_Widths(om);
    Simple_Line_Breaks(om, u);
    a_generic_path_spec spec = Zeroed_Spec(SPOKE_PATH);
    a_spoke_spec& s = spec.u.spoke;
    s.nspokes = int32_t(g_t.nlines);
    s.originx = om.rotcenter.h;
    s.originy = om.rotcenter.v;
    s.perspoke = g_t.nlines < 2 ? 180.0f : float(om.spoke_totangle) / float(g_t.nlines);
    s.outer = float(Radius_To_Pixels(u, om.spoke_outerd));
    s.inner = (100 - om.spoke_thickness) * s.outer / 100;
    s.twist = om.spoke_twist;
    s.start = float(om.spoke_twist + om.polarangle);
    Gen_Path(om.cache.path, spec);
    Apply_Lines(0, omx, om, JUST_RIGHT);
    int ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    Path_To_Frame(om.cache.path, om.cache.frame, 0, ascent, descent);
    om.bbox = u.bounds;
}

void Reformat_Contour(a_om_rec& om, int omx, const a_text_unit& u) {
    Categorize_Chars(om, 0);
    Scan_Widths(om);
    Simple_Line_Breaks(om, u);
    int radius = Calc_Contour_Radius(u), ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    a_generic_path_spec spec = Zeroed_Spec(CONTOUR_PATH);
    a_contour_spec& s = spec.u.contour;
    s.centerx = om.rotcenter.h;
    s.centery = om.rotcenter.v;
    s.starty = float(Validate_Contour_Anchor(om.rotcenter.v, radius, om.anchor.v));
    s.margin = om.contour_margin;
    s.outer = float(2 * radius);
    s.lspacing = float(Calc_VSpacing(om));
    s.ascent = float(ascent);
    s.descent = float(descent);
    s.justify = om.justify;
    // The hole with the same margin as the edge, and a little air.
    if (u.hole > 0) s.hole = float(u.hole / 2.0 + s.outer * s.margin / 400 + 4);
    Gen_Path(om.cache.path, spec);
    Apply_Lines(0, omx, om, om.justify);
    Frame_Clear(om.cache.frame);
    if (g_t.nlines > 0 && om.cache.path.npaths > 0)
        Calc_Frame_Contour(om.cache.frame, om.rotcenter, radius, om.anchor.v, false);
    om.bbox = u.bounds;
}

// The second half of a surrogate pair goes with its first: same place, no
// width, and overflowing or ignored with it.
void Join_Surrogate_Halves(a_om_rec& om) {
    for (int i = 2; i < om.nxyl; ++i) {
        if (!Is_Pair_Trail(om, i)) continue;
        a_xyl_char& lead = om.xyl[i - 1];
        a_xyl_char& trail = om.xyl[i];
        trail.mm_x = lead.mm_x;
        trail.mm_y = lead.mm_y;
        trail.mm_t = lead.mm_t;
        trail.mm_ud = lead.mm_ud;
        trail.mm_width = 0;
        trail.mm_cat = lead.mm_cat;
    }
}

void Grow_For_Effects(a_om_rec& om) {
    Rect& b = om.bbox;
    if (om.glowf) Grow(b, om.glow_radius, om.glow_radius, om.glow_radius, om.glow_radius);
    if (om.outlf) Grow(b, om.outl_radius, om.outl_radius, om.outl_radius, om.outl_radius);
    if (om.shadf) {
        int dx = om.shad_radius + std::abs(om.shad_dx), dy = om.shad_radius + std::abs(om.shad_dy);
        Grow(b, om.shad_dx > 0 ? 0 : dx, om.shad_dy > 0 ? 0 : dy, om.shad_dx > 0 ? dx : 0,
             om.shad_dy > 0 ? dy : 0);
    }
}

}  // namespace

const a_layout_tables& Layout_Tables() { return g_t; }

void Categorize_Chars(a_om_rec& om, int options) {
    om.nxyl = std::clamp(om.nxyl, 1, int32_t(MAX_NXYL));
    for (int i = 1; i < om.nxyl; ++i) {
        char16_t ch = om.xyl[i].cc_char;
        uint8_t cat = CC_REGULAR;
        if (ch == u' ') cat = CC_SPACE;
        else if (ch == CHAR_HARDBREAK) cat = (options & TREAT_CR_AS_SPACE) ? CC_SPACE : CC_HARDBREAK;
        om.xyl[i].mm_cat = cat;
    }
    om.xyl[om.nxyl].cc_char = CHAR_EOS;
    om.xyl[om.nxyl].mm_cat = CC_EOS;
    om.noverflows = 0;
}

void Scan_Widths(a_om_rec& om) {
    a_fontspec base = Calc_Base_Font(om);
    a_font_key base_key = Font_Key(base, float(base.size));
    float fa, fd;
    Font_Ascent_Descent(base_key, fa, fd);
    const char16_t space = u' ';
    float sx, sy, kx, ky;
    Text_Shape(om, sx, sy, kx, ky);
    fa *= sy;  // taller letters need the room above and below
    fd *= sy;
    float space_width = Font_Text_Width(base_key, &space, 1) * sx;
    a_scan_state st;
    for (int i = 1; i <= om.nxyl; ++i) {
        a_xyl_char& c = om.xyl[i];
        float width = 0;
        if (c.mm_cat == CC_REGULAR) {
            a_net_char n = Calc_Net_Char(om, i);
            width = Char_Width(om, i, Font_Key(n.nn_font, n.nn_fontsizeR)) * sx;
        } else if (c.mm_cat == CC_SPACE) {
            width = space_width;
        }
        g_t.ow[i].ow_ascent = int16_t(std::lround(fa));
        g_t.ow[i].ow_descent = int16_t(std::lround(fd));
        Place_Scanned(om, i, width * om.hspacing / 100.0f, st, true);
        c.mm_width = Round16(g_t.ow[i].ow_width);
    }
}

void Scan_Vert(a_om_rec& om) {
    a_fontspec base = Calc_Base_Font(om);
    int ascent, descent;
    Calc_AscentDescent(om, ascent, descent);
    float sx, sy, kx, ky;
    Text_Shape(om, sx, sy, kx, ky);
    float cell = base.size * 1.05f * om.hspacing / 100.0f * sy;  // letters stand one above another
    float space_width = float(base.size * 4 / 5);
    a_scan_state st;
    for (int i = 1; i <= om.nxyl; ++i) {
        a_xyl_char& c = om.xyl[i];
        float px = std::round(Calc_Text_Size(om.size, c.cc_size, om.layout));
        float width = 0;
        if (c.mm_cat == CC_REGULAR) width = Char_Width(om, i, Font_Key(base, px)) * sx;
        else if (c.mm_cat == CC_SPACE) width = space_width;
        g_t.ow[i].ow_ascent = int16_t(ascent);
        g_t.ow[i].ow_descent = Round16(width);
        Place_Scanned(om, i, width != 0 ? cell : 0, st, false);
        c.mm_width = Round16(g_t.ow[i].ow_width);
    }
}

void Simple_Line_Breaks(a_om_rec& om, const a_text_unit& u) {
    double maxlen = Is_Straight(om.layout)
                        ? 2.0 * std::max(Rect_Width(u.bounds), Rect_Height(u.bounds))
                        : 1e8;
    g_t.nlines = 0;
    int start = 1;
    for (int i = 1; i <= om.nxyl; ++i) {
        bool end = i == om.nxyl || om.xyl[i].mm_cat == CC_HARDBREAK ||
                   g_t.ow[i].ow_max - g_t.ow[start].ow_left > maxlen;
        if (!end) continue;
        if (i + 1 < om.nxyl && Is_Pair_Trail(om, i + 1)) ++i;  // never between the halves of a pair
        if (g_t.nlines >= MAX_TEXT_LINES) {
            // The whole of this line is left out, not only its last character.
            for (int j = start; j < om.nxyl; ++j) {
                om.xyl[j].mm_cat = j == i ? CC_OVERFLOW : CC_IGNORE;
                om.xyl[j].mm_x = om.xyl[j].mm_y = om.xyl[j].mm_t = 0;
            }
            return;
        }
        g_t.lines[++g_t.nlines] = a_break_rec{start, i, g_t.ow[start].ow_left, g_t.ow[i].ow_max};
        start = i + 1;
    }
}

void Calc_Line_Extents(float linespacing, float& widest, float& height) {
    widest = 0;
    for (uint32_t n = 1; n <= g_t.nlines; ++n)
        widest = std::max(widest, g_t.lines[n].lastcum - g_t.lines[n].firstcum);
    height = float(g_t.nlines) * linespacing;
}

void Post_Overflow(a_om_rec& om, int32_t id, int x, int y) {
    if (om.noverflows >= MAX_OVERFLOWS) return;
    if (om.noverflows > 0 && om.overflows[om.noverflows].id == id) return;
    om.overflows[++om.noverflows] = a_overflow_rec{id, Point{Round16(y), Round16(x)}};
}

void Apply_To_Path(int flags, uint32_t px, int omx, a_om_rec& om, int firstcx, int lastcx, int just) {
    const a_path_cache& pc = om.cache.path;
    firstcx = std::max(firstcx, 1);
    lastcx = std::min(lastcx, int(om.nxyl));
    int ix, iy, it;
    if (px > pc.npaths) {
        if (pc.npaths > 0) Find_On_Path(pc, pc.npaths, To_Int(std::trunc(Path_Max_Along(pc, pc.npaths))), ix, iy, it);
        else ix = int(pc.overflowx), iy = int(pc.overflowy);
        Post_Overflow(om, omx + 10000, ix, iy);
        for (int cx = firstcx; cx <= lastcx; ++cx) Mark_Overflow(om, cx);
        return;
    }
    float max_along = Path_Max_Along(pc, px);
    int ox, oy;
    Find_On_Path(pc, px, just == JUST_RIGHT ? 0 : To_Int(std::trunc(max_along)), ox, oy, it);
    float used = 0;
    if (px <= g_t.nlines) used = g_t.lines[px].lastcum - g_t.lines[px].firstcum;
    float offset = just == JUST_CENTER ? (max_along - used) / 2 : just == JUST_RIGHT ? max_along - used : 0;
    for (int cx = firstcx; cx <= lastcx; ++cx) {
        a_xyl_char& c = om.xyl[cx];
        float l_along = g_t.ow[cx].ow_left - g_t.ow[firstcx].ow_left + offset;
        float r_along = l_along + g_t.ow[cx].ow_width;
        c.mm_ud = To_Int(l_along);
        if (l_along < 0 || r_along > max_along + 0.5f) {
            Mark_Overflow(om, cx);
            Post_Overflow(om, omx, ox, oy);
            continue;
        }
        Find_On_Path(pc, px, To_Int(l_along), ix, iy, it);
        c.mm_x = Round16(ix);
        c.mm_y = Round16(iy);
        if (flags & 1) c.mm_x = Round16(c.mm_x - g_t.ow[cx].ow_descent / 2);
        int tx, ty;
        Find_On_Path(pc, px, To_Int(std::trunc(r_along)), tx, ty, it);
        c.mm_t = Round16(it);
        if (c.cc_nudgey != 0) Override_Y(c);
        if (c.cc_nudget != 0)
            Override_Rotation(c, int(std::lround(Calc_Text_Size(om.size, c.cc_size, om.layout))));
    }
}

void Override_Y(a_xyl_char& c) {
    double t = c.mm_t * kPi / 1800;
    c.mm_x = Round16(c.mm_x + std::lround(c.cc_nudgey * std::sin(t)));
    c.mm_y = Round16(c.mm_y + std::lround(c.cc_nudgey * std::cos(t)));
}

namespace {

// (h, v) turned by tenths of a degree, counter-clockwise on screen, in units of 1/16384.
void Turn(int& h, int& v, int tenths) {
    double t = tenths * kPi / 1800;
    int64_t s = std::lround(std::sin(t) * 16384), c = std::lround(std::cos(t) * 16384);
    int64_t nh = (h * c + v * s) / 16384, nv = (v * c - h * s) / 16384;
    h = int(nh);
    v = int(nv);
}

}  // namespace

void Override_Rotation(a_xyl_char& c, int text_size) {
    int ch = c.mm_width / 2, cv = -text_size / 4;  // centre relative to the origin
    Turn(ch, cv, c.mm_t);
    // The origin seen from the centre, turned by the nudge.
    int oh = -ch, ov = -cv;
    Turn(oh, ov, c.cc_nudget);
    c.mm_x = Round16(c.mm_x + ch + oh);
    c.mm_y = Round16(c.mm_y + cv + ov);
    c.mm_t = Round16(c.mm_t + c.cc_nudget);
}

void OM_Recalc_On(a_om_rec& om, int omx, const a_text_unit& u) {
    Push_TextSize_Mapping(u.px_per_pt);
    g_t.nlines = 0;
    switch (om.layout) {
        case LAYOUT_CIRC_CW:
        case LAYOUT_CIRC_CCW: Reformat_Circular(om, omx, u); break;
        case LAYOUT_SPIRAL_CW:
        case LAYOUT_SPIRAL_CCW: Reformat_Spiral(om, omx, u); break;
        case LAYOUT_CONTOUR: Reformat_Contour(om, omx, u); break;
        case LAYOUT_VERT: Reformat_Vert(om, omx, u); break;
        case LAYOUT_SPOKE: Reformat_Spoke(om, omx, u); break;
        default: Reformat_Rect(om, omx, u); break;  // horizontal, 90 and 270, and unknown values
    }
    Join_Surrogate_Halves(om);
    Pop_TextSize_Mapping();
    Grow_For_Effects(om);
    om.cache.progress = 1u << READY_COORD;
}

void OM_Recalc(a_om_rec& om, int omx) { OM_Recalc_On(om, omx, Curr_Text_Unit()); }

void Text_Preview_Move(a_om_rec& om, const a_text_unit& u, int dh, int dv, int dangle, Point mouse) {
    a_om_pointlist& f = om.cache.frame;
    switch (om.layout) {
        case LAYOUT_CIRC_CW:
        case LAYOUT_CIRC_CCW: {
            double t = -dangle / 10.0 * kRad, s = std::sin(t), c = std::cos(t);
            for (int i = 0; i < f.npoints; ++i) {
                if (f.pts[i].v == FRAME_BREAK && f.pts[i].h == FRAME_BREAK) continue;
                double x = f.pts[i].h - om.rotcenter.h, y = f.pts[i].v - om.rotcenter.v;
                // counter-clockwise on screen for positive t (y downward)
                f.pts[i].h = Round16(om.rotcenter.h + x * c + y * s);
                f.pts[i].v = Round16(om.rotcenter.v - x * s + y * c);
            }
            break;
        }
        case LAYOUT_SPIRAL_CW:
        case LAYOUT_SPIRAL_CCW:
        case LAYOUT_SPOKE:
            Frame_Clear(f);
            Frame_Add(f, om.rotcenter.h, om.rotcenter.v);
            Frame_Add(f, mouse.h, mouse.v);
            break;
        case LAYOUT_CONTOUR:
            Calc_Frame_Contour(f, om.rotcenter, Calc_Contour_Radius(u), om.anchor.v + dv, true);
            break;
        default:
            for (int i = 0; i < f.npoints; ++i) {
                if (f.pts[i].v == FRAME_BREAK && f.pts[i].h == FRAME_BREAK) continue;
                f.pts[i].h = Round16(f.pts[i].h + dh);
                f.pts[i].v = Round16(f.pts[i].v + dv);
            }
            break;
    }
}
