#include "text/text_draw.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/messages.h"
#include "pixels/blit_port.h"
#include "pixels/syspix.h"
#include "platform/fonts.h"
#include "platform/glyphs.h"
#include "platform/port.h"
#include "templates/mapping.h"

namespace {

constexpr int kWorkMargin = 50;  // room around bbox for outline, glow and shadow
constexpr int kGlowMargin = 4;
// Radii past any slider at any print scale are cut here: the table and the
// sweeps stay bounded whatever a record holds.
constexpr int kMaxEffectRadius = 1000;
// The largest area one block's letters are drawn in: letters anywhere on
// an A3 sheet at 300 dpi fit, as does a disc at 600 dpi four times over.
constexpr long kMaxWorkPixels = 4096L * 4096L;

int Round_Scaled(double v, float mult, int lo, int hi) {
    return int(std::clamp(std::round(v * double(mult)), double(lo), double(hi)));
}

// bbox grown by the margin and scaled; false when it leaves 16-bit
// coordinates. Only the letters' part of it is ever allocated.
bool Work_Rect(const Rect& bbox, const a_coord_mapping& m, Rect& out) {
    double l = std::round((bbox.left - kWorkMargin) * double(m.multx));
    double t = std::round((bbox.top - kWorkMargin) * double(m.multy));
    double r = std::round((bbox.right + kWorkMargin) * double(m.multx));
    double b = std::round((bbox.bottom + kWorkMargin) * double(m.multy));
    for (double v : {l, t, r, b})
        if (!(v >= INT16_MIN && v <= INT16_MAX)) return false;
    out = Rect{int16_t(t), int16_t(l), int16_t(b), int16_t(r)};
    return !Rect_IsEmpty(out);
}

bool Area_Fits(const Rect& area) {
    return PixMap_Fits(area, 32) && long(Rect_Width(area)) * Rect_Height(area) <= kMaxWorkPixels;
}

std::u16string Family_Of(const a_placed_char& c) {
    std::u16string name = c.fontx ? Font_Name(int(c.fontx)) : std::u16string();
    if (name.empty()) name = c.family;
    if (name.empty()) name = Font_Name(Font_Base_Proportional());
    return name;
}

std::vector<a_glyph> Glyphs_Of(const std::vector<a_placed_char>& chars, const a_coord_mapping& m) {
    std::vector<a_glyph> glyphs;
    for (a_placed_char c : chars) {
        if (!c.drawn) continue;
        Apply_Mapping_To_Char(c, m);
        a_glyph g;
        g.units[0] = c.units[0];
        g.units[1] = c.units[1];
        g.nunits = c.nunits;
        g.family = Family_Of(c);
        g.pixel_size = int(c.size);
        g.bold = c.bold;
        g.italic = c.italic;
        g.x = c.x;
        g.y = c.y;
        g.angle = c.t;
        g.hscale = c.hscale;
        g.vscale = c.vscale;
        g.hskew = c.hskew;
        g.vskew = c.vskew;
        glyphs.push_back(std::move(g));
    }
    return glyphs;
}

uint32_t Word_Of(const a_win_pixel32& c) {
    return uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16;
}

// Letters without outline or glow: the coverage is the mask.
void Plain_Letters(GWorld* work, const a_text_look& look, a_masked_gworld& text) {
    Rect used;
    Extract_Channel(G_CHANNEL, work, text.mask, text.bounds, used);
    if (!Rect_IsEmpty(used)) PixMap32_Fill(text.fore->pix, used, Word_Of(look.base_color));
    text.bounds = used;
}

a_glow_look Glow_Look(const a_text_look& look, const a_coord_mapping& m) {
    a_glow_look g;
    g.base_color = look.base_color;
    g.base_opacity = look.opacity;
    g.outlf = look.outlf;
    g.outl_color = look.outl_color;
    g.outl_radius = Round_Scaled(look.outl_radius, m.multy, 0, kMaxEffectRadius);
    g.glowf = look.glowf;
    g.glow_color = look.glow_color;
    g.glow_radius = Round_Scaled(look.glow_radius, m.multy, 0, kMaxEffectRadius);
    g.glow_opacity = look.glow_opacity;
    return g;
}

// How far outline and glow reach past the letters.
int Effect_Grow(const a_glow_look& g) {
    return (g.glowf ? g.glow_radius : 0) + (g.outlf ? g.outl_radius : 0) + kGlowMargin;
}

int16_t To16(int v) { return int16_t(std::clamp(v, int(INT16_MIN), int(INT16_MAX))); }

// The glyphs' ink grown by `grow`, within `limit`: no pixel outside it is
// touched, so the work stays in it whatever the block's box.
Rect Glyph_Area(const std::vector<a_glyph>& glyphs, int grow, const Rect& limit) {
    Rect ink;
    for (const a_glyph& g : glyphs) ink = Rect_Union(ink, Rect_Sect(Glyph_Box(g), limit));
    if (Rect_IsEmpty(ink)) return Rect{};
    Rect r{To16(ink.top - grow), To16(ink.left - grow), To16(ink.bottom + grow), To16(ink.right + grow)};
    return Rect_Sect(r, limit);
}

// Letters with a colour of their own: each colour's letters drawn alone and
// blended over the block's colour as far as they cover.
void Recolor_Letters(const std::vector<a_placed_char>& chars, const a_coord_mapping& m, const Rect& area,
                     a_masked_gworld& text) {
    std::vector<a_win_pixel32> colors;
    for (const a_placed_char& c : chars)
        if (c.drawn && c.color.a != 0 && std::find(colors.begin(), colors.end(), c.color) == colors.end())
            colors.push_back(c.color);
    if (colors.empty() || !text.fore || Rect_IsEmpty(text.bounds)) return;
    a_gworld_ptr work = Make_GWorld(32, area);
    if (!work) return;
    const a_port_bits wb = World_Bits(work.get());
    const PixMap& fp = text.fore->pix;
    const Rect r = Rect_Sect(Rect_Sect(text.bounds, wb.bounds), fp.bounds);
    for (const a_win_pixel32& color : colors) {
        std::vector<a_placed_char> run;
        for (const a_placed_char& c : chars)
            if (c.drawn && c.color == color) run.push_back(c);
        const std::vector<a_glyph> glyphs = Glyphs_Of(run, m);
        for (int y = wb.bounds.top; y < wb.bounds.bottom; ++y)
            std::fill_n(wb.base + size_t(y - wb.bounds.top) * size_t(wb.rowbytes), size_t(Rect_Width(wb.bounds)) * 4, 0);
        Glyphs_Draw(wb, glyphs.data(), int(glyphs.size()), 255);
        for (int y = r.top; y < r.bottom; ++y) {
            const uint8_t* cov = wb.base + size_t(y - wb.bounds.top) * size_t(wb.rowbytes);
            uint8_t* px = fp.baseAddr + size_t(y - fp.bounds.top) * size_t(fp.rowBytes & 0x3FFF);
            for (int x = r.left; x < r.right; ++x) {
                const int a = cov[size_t(x - wb.bounds.left) * 4 + 1];
                if (a == 0) continue;
                uint8_t* p = px + size_t(x - fp.bounds.left) * 4;
                p[0] = uint8_t((p[0] * (255 - a) + color.b * a) / 255);
                p[1] = uint8_t((p[1] * (255 - a) + color.g * a) / 255);
                p[2] = uint8_t((p[2] * (255 - a) + color.r * a) / 255);
            }
        }
    }
}

void Effect_Letters(GWorld* work, const a_glow_look& g, a_masked_gworld& text) {
    Rect box = text.bounds, used;
    a_gworld_ptr cover = Make_GWorld(8, box);
    if (!cover) {
        text.bounds = Rect{};
        return;
    }
    PixMap_Zero(text.mask->pix);
    Extract_Channel(G_CHANNEL, work, cover.get(), box, used);
    if (Rect_IsEmpty(used)) {
        text.bounds = Rect{};
        return;
    }
    int grow = Effect_Grow(g);
    Rect area{int16_t(std::max(used.top - grow, int(box.top))),
              int16_t(std::max(used.left - grow, int(box.left))),
              int16_t(std::min(used.bottom + grow, int(box.bottom))),
              int16_t(std::min(used.right + grow, int(box.right)))};
    // Kept between renders: each keystroke would otherwise fault in fresh pages.
    static a_distance_map map;
    // Distances past the colour table draw nothing: the map need not be exact there.
    Calc_Glow_Distance(cover->pix, area, map, int(Glow_Table(g).size()));
    Distance_To_Glow(text.bounds, text.mask->pix, text.fore->pix, map, g);
}

}  // namespace

void Apply_Mapping_To_Char(a_placed_char& c, const a_coord_mapping& mapping) {
    c.size = std::round(std::clamp(c.size * mapping.multy, 0.0f, 32000.0f));
    c.x = int16_t(Round_Scaled(c.x, mapping.multx, INT16_MIN, INT16_MAX));
    c.y = int16_t(Round_Scaled(c.y, mapping.multy, INT16_MIN, INT16_MAX));
}

void Render_Placed_Text(const std::vector<a_placed_char>& chars, const Rect& bbox,
                        const a_text_look& look, const a_coord_mapping& mapping,
                        a_masked_gworld& text, a_masked_gworld& shad) {
    Null_MW(text);
    Null_MW(shad);
    Rect work_rect;
    if (!Work_Rect(bbox, mapping, work_rect)) return;
    const bool effects = look.outlf || look.glowf;
    const a_glow_look glow = Glow_Look(look, mapping);
    std::vector<a_glyph> glyphs = Glyphs_Of(chars, mapping);
    Rect area = Glyph_Area(glyphs, effects ? Effect_Grow(glow) : 0, work_rect);
    if (Rect_IsEmpty(area)) return;
    // Letters too spread out for one picture, or no memory for it: the block
    // is left out and the user told once.
    a_gworld_ptr work = Area_Fits(area) ? Make_GWorld(32, area) : nullptr;
    if (!work) {
        g_mem_constraint = true;
        return;
    }
    int char_density = 255 * std::clamp(look.opacity, 0, 100) / 100;
    Glyphs_Draw(World_Bits(work.get()), glyphs.data(), int(glyphs.size()), uint8_t(char_density));
    a_masked_gworld_owner out = Make_MW("Text render", area);
    out->bounds = area;
    if (effects)
        Effect_Letters(work.get(), glow, out.get());
    else
        Plain_Letters(work.get(), look, out.get());
    if (Rect_IsEmpty(out->bounds)) return;
    Recolor_Letters(chars, mapping, area, out.get());
    text = out.release();
    if (!look.shadf) return;
    Rect total;
    Do_Shadow(look.shad, mapping, char_density, text, total, shad);
}

void Render_Placed_Text_Onto(const std::vector<a_placed_char>& chars, const Rect& bbox,
                             const a_text_look& look, const a_coord_mapping& mapping,
                             GWorld* dest) {
    if (!dest) return;
    a_masked_gworld_owner text, shad;
    Render_Placed_Text(chars, bbox, look, mapping, text.get(), shad.get());
    a_port_scope scope(dest);
    if (shad->fore) Draw_Cached_MWorld(shad.get(), shad->fore->pix.bounds, nullptr);
    if (text->fore) Draw_Cached_MWorld(text.get(), text->fore->pix.bounds, nullptr);
}

void Draw_Selected_Range(GWorld* world, const std::vector<a_placed_char>& chars, int sel_start,
                         int sel_end, const a_coord_mapping& mapping) {
    if (!world) return;
    int first = std::max(sel_start, 0), last = std::min(sel_end, int(chars.size()));
    a_port_scope scope(world);
    RGBBackColor(Port_RGB(255, 80, 80));
    for (int i = first; i < last; ++i) {
        const a_placed_char& c = chars[size_t(i)];
        double size = c.size, wide = 0.15 * size;
        double left = i > first ? -wide : 0, right = c.width + (i + 1 < last ? wide : 0);
        double top = -0.85 * size, bottom = 0.30 * size;
        double a = -c.t * std::numbers::pi / 1800.0, ca = std::cos(a), sa = std::sin(a);
        a_polygon poly;
        const double corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        for (const auto& [u, v] : corners) {
            // Turned about the origin (counter-clockwise on a y-down screen), then scaled.
            double px = c.x + u * ca - v * sa, py = c.y + u * sa + v * ca;
            poly.pts.push_back(Point{int16_t(Round_Scaled(py, mapping.multy, INT16_MIN, INT16_MAX)),
                                     int16_t(Round_Scaled(px, mapping.multx, INT16_MIN, INT16_MAX))});
        }
        ErasePoly(poly);
    }
}

void OM_Draw_Frame(const std::vector<Point>& frame, const a_coord_mapping& mapping, bool hilite,
                   bool visible, bool editing) {
    if (frame.size() < 2) return;
    // Short dashes along any direction.
    constexpr a_pattern kDashPat{{0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1}};
    uint32_t color = editing ? Port_RGB(255, 200, 0) : hilite ? Port_RGB(240, 0, 0) : Port_RGB(0, 240, 0);
    a_polygon poly;
    for (const Point& p : frame) poly.pts.push_back(Apply_Mapping_Point(mapping, p));
    poly.pts.push_back(poly.pts.front());
    PenNormal();
    PenSize(2, 2);
    RGBForeColor(color);
    RGBBackColor(kWhiteColor);
    PenMode(PEN_OR);
    PenPat(visible ? kBlackPat : kDashPat);
    FramePoly(poly);
    PenNormal();
}

void Draw_Overflow_Mark(Point centre) {
    constexpr int d = OVERFLOW_MARK_SIZE, r = d / 2;
    constexpr int bar = d * 60 / 100, thick = (d * 20 + 50) / 100;  // 9 and 3 (rounded)
    const Rect disc{int16_t(centre.v - r), int16_t(centre.h - r), int16_t(centre.v + r), int16_t(centre.h + r)};
    PenNormal();
    RGBForeColor(Port_RGB(229, 112, 8));
    PaintOval(disc);
    RGBForeColor(Port_RGB(0, 0, 0));
    FrameOval(disc);
    // Odd lengths centre on the mark's pixel.
    const int half_bar = bar / 2, half_thick = thick / 2;
    PaintRect(Rect{int16_t(centre.v - half_thick), int16_t(centre.h - half_bar),
                   int16_t(centre.v + half_thick + 1), int16_t(centre.h + half_bar + 1)});
    PaintRect(Rect{int16_t(centre.v - half_bar), int16_t(centre.h - half_thick),
                   int16_t(centre.v + half_bar + 1), int16_t(centre.h + half_thick + 1)});
}

void Draw_Text_Thumbnail(GWorld* world, const Rect& r) {
    if (!world || Rect_IsEmpty(r)) return;
    static constexpr char16_t kWord[] = u"TEXT";
    const std::u16string family = Font_Name(Font_Base_Proportional());
    auto glyph = [&](char16_t ch, double size) {
        a_glyph g;
        g.units[0] = ch;
        g.family = family;
        g.pixel_size = int(size);
        g.bold = true;
        return g;
    };
    auto width = [&](double size) {
        double w = 0;
        for (char16_t ch : std::u16string_view(kWord)) w += Glyph_Advance(glyph(ch, size));
        return w;
    };
    // Half the height, narrowed to 90 % of the width when the word is wider.
    double size = Rect_Height(r) * 0.5, w = width(size);
    if (w > Rect_Width(r) * 0.9) size = std::floor(size * Rect_Width(r) * 0.9 / w), w = width(size);
    if (size < 4) return;
    std::vector<a_placed_char> chars;
    double x = r.left + (Rect_Width(r) - w) / 2;
    // Capitals stand about 0.72 of the size above the baseline: centre them.
    const double y = (r.top + r.bottom) / 2.0 + size * 0.36;
    for (char16_t ch : std::u16string_view(kWord)) {
        a_placed_char c;
        c.units[0] = ch;
        c.family = family;
        c.size = float(size);
        c.bold = true;
        c.x = int16_t(std::lround(x));
        c.y = int16_t(std::lround(y));
        chars.push_back(c);
        x += Glyph_Advance(glyph(ch, size));
    }
    a_text_look look;
    look.base_color = a_win_pixel32{0, 0, 0, 0};
    Render_Placed_Text_Onto(chars, r, look, a_coord_mapping{}, world);
}
