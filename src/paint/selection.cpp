#include "paint/selection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "paint/paint_layer.h"
#include "paint/shapes.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"

std::function<Point()> g_selection_paste_centre;

namespace {

enum : int { SEL_IDLE = 0, SEL_MARQUEE, SEL_LASSO, SEL_MOVE };

// Colours and coverage over `bounds`, row-major.
struct a_cells {
    Rect bounds;
    std::vector<uint32_t> rgb;
    std::vector<uint8_t> a;
    size_t Index(int v, int h) const {
        return size_t(v - bounds.top) * size_t(Rect_Width(bounds)) + size_t(h - bounds.left);
    }
};

struct a_sel_rec {
    bool active = false;
    uint32_t unit = 0;
    int method = RECT_MARQUEE;
    a_coverage shape;      // 255 inside, over the selection's box
    std::vector<a_cell_pointf> outline;
    bool floating = false;
    a_cells lifted;        // the selected pixels, over shape.bounds
    a_cells under;         // the layer beneath the lifted pixels where they lie now
};

struct a_sel_track {
    int kind = SEL_IDLE;
    Point anchor, last;
    bool constrain = false;
    std::vector<Point> lasso;
    a_sel_rec before;      // the selection as the drag found it, for Escape
};

a_sel_rec g_sel;
a_sel_track g_st;
bool g_own_step = false;   // our own history step is being recorded
a_listener_token g_tokens[4] = {};

constexpr size_t kMaxLassoPoints = 4096;

Point Pt(int v, int h) { return Point{int16_t(v), int16_t(h)}; }
int64_t Floor_Half(int64_t x) { return x >= 0 ? x / 2 : -((1 - x) / 2); }

uint32_t* Row32(GWorld* w, int v) { return reinterpret_cast<uint32_t*>(PixMap_Row(w->pix, v)) - w->pix.bounds.left; }
uint8_t* Row8(GWorld* w, int v) { return PixMap_Row(w->pix, v) - w->pix.bounds.left; }

bool Layer(GWorld*& world, GWorld*& mask) { return Paint_Layer(world, mask); }

void Forget() {
    g_sel = a_sel_rec{};
    g_st = a_sel_track{};
}

// A selection belongs to the unit and the layer it was made on, and lasts
// while its tool is chosen.
void Check_Valid() {
    if (!g_sel.active || g_st.kind == SEL_MOVE) return;
    GWorld *w, *m;
    if (!g_doc.up || g_doc.upx != g_sel.unit || g_paint.tool != SELECT_TOOL || (g_sel.floating && !Layer(w, m)))
        Forget();
}

void Mark(const Rect& r) {
    a_doc_unit* u = g_doc.up;
    if (!u || Rect_IsEmpty(r)) return;
    Rect c = Rect_Sect(r, u->paintbounds);
    if (Rect_IsEmpty(c)) return;
    u->render_dirty = Rect_Union(u->render_dirty, c);
    g_stroke.dirty = Rect_Union(g_stroke.dirty, c);
}

// The layer's cells inside r.
a_cells Take(const Rect& r) {
    a_cells out;
    GWorld *w, *m;
    if (!Layer(w, m)) return out;
    out.bounds = Rect_Sect(r, w->pix.bounds);
    if (Rect_IsEmpty(out.bounds)) return out = a_cells{};
    const size_t n = size_t(Rect_Width(out.bounds)) * size_t(Rect_Height(out.bounds));
    out.rgb.resize(n), out.a.resize(n);
    for (int v = out.bounds.top; v < out.bounds.bottom; ++v)
        for (int h = out.bounds.left; h < out.bounds.right; ++h)
            out.rgb[out.Index(v, h)] = Row32(w, v)[h], out.a[out.Index(v, h)] = Row8(m, v)[h];
    return out;
}

// Puts cells taken by Take back as they were.
void Put(const a_cells& c) {
    GWorld *w, *m;
    if (Rect_IsEmpty(c.bounds) || !Layer(w, m)) return;
    for (int v = c.bounds.top; v < c.bounds.bottom; ++v)
        for (int h = c.bounds.left; h < c.bounds.right; ++h)
            Row32(w, v)[h] = c.rgb[c.Index(v, h)], Row8(m, v)[h] = c.a[c.Index(v, h)];
    Mark(c.bounds);
}

// `rgb` at weight a over the cell: what lies beneath shows through.
void Over(uint32_t& w, uint8_t& m, uint32_t rgb, unsigned a) {
    if (a == 0) return;
    unsigned keep = m * (255 - a) / 255, nm = a + keep;
    uint32_t out = 0;
    for (int s = 0; s <= 16; s += 8) {
        unsigned cw = (w >> s) & 0xFF, cs = (rgb >> s) & 0xFF;
        out |= ((cs * a + cw * keep + nm / 2) / nm) << s;
    }
    w = out | (w & 0xFF000000u);
    m = uint8_t(nm);
}

// Lays the lifted cells on the layer where they now lie.
void Lay(const a_cells& c) {
    GWorld *w, *m;
    if (Rect_IsEmpty(c.bounds) || !Layer(w, m)) return;
    const Rect on = Rect_Sect(c.bounds, w->pix.bounds);
    for (int v = on.top; v < on.bottom; ++v)
        for (int h = on.left; h < on.right; ++h)
            Over(Row32(w, v)[h], Row8(m, v)[h], c.rgb[c.Index(v, h)] & 0xFFFFFF, c.a[c.Index(v, h)]);
    Mark(on);
}

bool Inside(const a_coverage& s, Point p) {
    const Rect& b = s.bounds;
    return p.v >= b.top && p.v < b.bottom && p.h >= b.left && p.h < b.right && s.Row(p.v)[p.h - b.left];
}

// The selected pixels of the layer: their colour, and their coverage where the shape holds them.
a_cells Selected_Pixels() {
    a_cells c = Take(g_sel.shape.bounds);
    if (Rect_IsEmpty(c.bounds)) {
        c.bounds = g_sel.shape.bounds;
        const size_t n = size_t(Rect_Width(c.bounds)) * size_t(Rect_Height(c.bounds));
        c.rgb.assign(n, 0), c.a.assign(n, 0);
        return c;
    }
    for (int v = c.bounds.top; v < c.bounds.bottom; ++v)
        for (int h = c.bounds.left; h < c.bounds.right; ++h)
            if (!Inside(g_sel.shape, Pt(v, h))) c.a[c.Index(v, h)] = 0;
    return c;
}

void Clear_Shape() {
    GWorld *w, *m;
    if (!Layer(w, m)) return;
    const Rect b = Rect_Sect(g_sel.shape.bounds, w->pix.bounds);
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h)
            if (Inside(g_sel.shape, Pt(v, h))) Row8(m, v)[h] = 0;
    Mark(b);
}

// The pixels come off the layer (a copy leaves them; a floating copy puts
// one down where it lies), to be laid again wherever the selection goes.
void Lift(bool copy) {
    if (!g_sel.floating) {
        g_sel.lifted = Selected_Pixels();
        g_sel.floating = true;
        if (!copy) {
            Clear_Shape();
            g_sel.under = Take(g_sel.shape.bounds);
            Lay(g_sel.lifted);
            // Taken off and laid back on the same cells: nothing has changed yet.
            g_stroke.dirty = Rect{};
            return;
        }
    }
    if (copy) g_sel.under = Take(g_sel.shape.bounds);
}

void Offset(a_sel_rec& s, int dh, int dv) {
    s.shape.bounds = Rect_Offset(s.shape.bounds, dh, dv);
    s.lifted.bounds = Rect_Offset(s.lifted.bounds, dh, dv);
    for (a_cell_pointf& p : s.outline) p.h += dh, p.v += dv;
}

// The selection moves by (dh, dv), its pixels with it. It may leave the
// unit in part; its pixels are kept and come back when it returns, but one
// cell of its box always stays on.
void Place(int dh, int dv) {
    const Rect& u = g_doc.up->paintbounds;
    const Rect& b = g_sel.shape.bounds;
    dh = std::clamp(dh, u.left - b.right + 1, u.right - 1 - b.left);
    dv = std::clamp(dv, u.top - b.bottom + 1, u.bottom - 1 - b.top);
    if (dh == 0 && dv == 0) return;
    Put(g_sel.under);
    Offset(g_sel, dh, dv);
    g_sel.under = Take(g_sel.shape.bounds);
    Lay(g_sel.lifted);
}

void Begin_Step(int op, bool created = false) { Stroke_Begin(op, created); }

void End_Step(bool cancelled) {
    g_own_step = true;
    Stroke_End(cancelled);
    g_own_step = false;
}

std::vector<a_cell_pointf> Box_Outline(int method, const Rect& box) {
    const double l = box.left, t = box.top, r = box.right, b = box.bottom;
    if (method != OVAL_MARQUEE) return {{l, t}, {r, t}, {r, b}, {l, b}};
    const double ch = (l + r) / 2, cv = (t + b) / 2, rh = (r - l) / 2, rv = (b - t) / 2;
    const int n = std::clamp(int(std::max(rh, rv) * 2), 16, 720);
    std::vector<a_cell_pointf> out;
    for (int i = 0; i < n; ++i) {
        double a = 2 * std::numbers::pi * i / n;
        out.push_back({ch + rh * std::cos(a), cv - rv * std::sin(a)});
    }
    return out;
}

Rect Marquee_Box(Point anchor, Point now, bool constrain) { return Drag_Box(anchor, now, false, constrain); }

// The lasso follows the mouse cell by cell; a lasso of any length keeps
// the same memory (past the most points, its last point follows the mouse).
void Track_Lasso(Point cell) {
    if (cell == g_st.lasso.back()) return;
    if (g_st.lasso.size() < kMaxLassoPoints) g_st.lasso.push_back(cell);
    else g_st.lasso.back() = cell;
    g_st.last = cell;
}

// The selection made from the finished marquee or lasso; none when it covers no cell.
void Make_Selection() {
    const Rect& clip = g_doc.up->paintbounds;
    a_sel_rec s;
    s.method = g_st.kind == SEL_LASSO ? LASSO_MARQUEE : g_paint.marquee_method;
    if (g_st.kind == SEL_LASSO) {
        if (g_st.lasso.size() < 3) return;
        s.shape = Lasso_Shape(g_st.lasso, clip);
        for (Point p : g_st.lasso) s.outline.push_back({p.h + 0.5, p.v + 0.5});
    } else {
        if (g_st.anchor == g_st.last) return;  // a click lets the selection go
        s.shape = Marquee_Shape(s.method, g_st.anchor, g_st.last, g_st.constrain, clip);
        s.outline = Box_Outline(s.method, Marquee_Box(g_st.anchor, g_st.last, g_st.constrain));
    }
    if (Rect_IsEmpty(s.shape.bounds) || std::none_of(s.shape.a.begin(), s.shape.a.end(), [](uint8_t c) { return c; }))
        return;
    s.active = true;
    s.unit = g_doc.upx;
    g_sel = std::move(s);
}

// The picture's cells shrunk to fit `fit` (each the average of the cells it
// stands for, weighted by their coverage), or as they are when they fit.
bool Scaled_Picture(const a_masked_gworld& pic, const Rect& fit, a_cells& out) {
    const GWorld* fore = pic.fore;
    if (!fore || fore->pix.pixelSize != 32 || Rect_IsEmpty(fore->pix.bounds)) return false;
    const Rect& src = fore->pix.bounds;
    const GWorld* mask = pic.mask;
    if (mask && (mask->pix.pixelSize != 8 || !(mask->pix.bounds == src))) return false;
    const int sw = Rect_Width(src), sh = Rect_Height(src);
    const int fw = Rect_Width(fit), fh = Rect_Height(fit);
    int w = sw, h = sh;
    if (sw > fw || sh > fh) {  // the side that hits the unit first sets the scale
        if (int64_t(sw) * fh > int64_t(sh) * fw) w = fw, h = int(std::max<int64_t>(1, int64_t(sh) * fw / sw));
        else h = fh, w = int(std::max<int64_t>(1, int64_t(sw) * fh / sh));
    }
    out.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    out.rgb.assign(size_t(w) * size_t(h), 0), out.a.assign(size_t(w) * size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const int y0 = int(int64_t(y) * sh / h), y1 = std::max(y0 + 1, int(int64_t(y + 1) * sh / h));
        for (int x = 0; x < w; ++x) {
            const int x0 = int(int64_t(x) * sw / w), x1 = std::max(x0 + 1, int(int64_t(x + 1) * sw / w));
            uint64_t sum[3] = {}, asum = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(PixMap_Row(fore->pix, src.top + sy));
                const uint8_t* mrow = mask ? PixMap_Row(mask->pix, src.top + sy) : nullptr;
                for (int sx = x0; sx < x1; ++sx, ++n) {
                    const unsigned a = mrow ? mrow[sx] : 255;
                    asum += a;
                    for (int c = 0; c < 3; ++c) sum[c] += uint64_t((row[sx] >> (8 * c)) & 0xFF) * a;
                }
            }
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            out.a[i] = uint8_t((asum + n / 2) / n);
            if (asum)
                for (int c = 0; c < 3; ++c) out.rgb[i] |= uint32_t((sum[c] + asum / 2) / asum) << (8 * c);
        }
    }
    return true;
}

}  // namespace

a_coverage Marquee_Shape(int method, Point anchor, Point now, bool constrain, const Rect& clip) {
    const Rect box = Marquee_Box(anchor, now, constrain);
    a_coverage c;
    Cov_Reset(c, box, clip);
    if (Rect_IsEmpty(c.bounds)) return c;
    if (method != OVAL_MARQUEE) {
        std::fill(c.a.begin(), c.a.end(), 255);
        return c;
    }
    // In half cells, so that the centre and every cell centre are whole:
    // (dh / W)² + (dv / H)² ≤ 1 with W, H the box's sides.
    const int64_t W = Rect_Width(box), H = Rect_Height(box);
    for (int v = c.bounds.top; v < c.bounds.bottom; ++v) {
        const int64_t dv = 2 * int64_t(v) + 1 - (box.top + box.bottom);
        const int64_t room = W * W * H * H - dv * dv * W * W;  // ≥ dh² H²
        if (room < 0) continue;
        int64_t dh = int64_t(std::sqrt(double(room) / double(H * H)));
        while (dh > 0 && dh * dh * H * H > room) --dh;
        while ((dh + 1) * (dh + 1) * H * H <= room) ++dh;
        // Cells whose 2h + 1 − (left + right) lies within ±dh.
        const int64_t sum = box.left + box.right - 1;
        const int64_t h0 = -Floor_Half(dh - sum), h1 = Floor_Half(sum + dh);
        uint8_t* row = c.Row(v) - c.bounds.left;
        for (int64_t h = std::max<int64_t>(h0, c.bounds.left); h <= std::min<int64_t>(h1, c.bounds.right - 1); ++h)
            row[h] = 255;
    }
    return c;
}

a_coverage Lasso_Shape(const std::vector<Point>& pts, const Rect& clip) {
    a_coverage c;
    Cov_Polygon(c, pts, clip);
    return c;
}

void Selection_MouseDown(const a_paint_event& e) {
    Check_Valid();
    if (!g_doc.up) return;
    GWorld *w, *m;
    if (g_sel.active && Inside(g_sel.shape, e.cell)) {
        if (!Layer(w, m)) return;  // nothing painted to move
        g_st = a_sel_track{};
        g_st.kind = SEL_MOVE;
        g_st.before = g_sel;
        g_st.anchor = Pt(e.cell.v - g_sel.shape.bounds.top, e.cell.h - g_sel.shape.bounds.left);
        Begin_Step(e.option ? OP_PAINT_STAMP : OP_PAINT_CUT);
        Lift(e.option);
        return;
    }
    Selection_Drop();
    g_st = a_sel_track{};
    g_st.kind = g_paint.marquee_method == LASSO_MARQUEE ? SEL_LASSO : SEL_MARQUEE;
    g_st.anchor = g_st.last = e.cell;
    g_st.constrain = e.shift;
    g_st.lasso = {e.cell};
}

void Selection_MouseMove(const a_paint_event& e) {
    switch (g_st.kind) {
        case SEL_MOVE:  // the cell grabbed stays under the mouse
            Place(e.cell.h - g_st.anchor.h - g_sel.shape.bounds.left, e.cell.v - g_st.anchor.v - g_sel.shape.bounds.top);
            Paint_Redraw();
            break;
        case SEL_MARQUEE:
            g_st.last = e.cell;
            g_st.constrain = e.shift;
            break;
        case SEL_LASSO: Track_Lasso(e.cell); break;
        default: break;
    }
}

void Selection_MouseUp(const a_paint_event& e) {
    const int kind = g_st.kind;
    if (kind == SEL_IDLE) return;
    Selection_MouseMove(e);
    if (kind == SEL_MOVE) {
        g_st = a_sel_track{};
        End_Step(false);
        return;
    }
    Make_Selection();
    g_st = a_sel_track{};
}

bool Selection_Escape() {
    switch (g_st.kind) {
        case SEL_MOVE: {
            a_sel_rec before = std::move(g_st.before);
            g_st = a_sel_track{};
            End_Step(true);
            g_sel = std::move(before);
            return true;
        }
        case SEL_MARQUEE:
        case SEL_LASSO: g_st = a_sel_track{}; return true;
        default: break;
    }
    if (!g_sel.active) return false;
    Selection_Drop();
    return true;
}

bool Selection_Tracking() { return g_st.kind != SEL_IDLE; }

bool Selection_Active() {
    Check_Valid();
    return g_sel.active;
}

bool Selection_Floating() { return Selection_Active() && g_sel.floating; }

bool Selection_Contains(Point cell) { return Selection_Active() && Inside(g_sel.shape, cell); }

Rect Selection_Bounds() { return Selection_Active() ? g_sel.shape.bounds : Rect{}; }

std::vector<a_cell_pointf> Selection_Outline() {
    if (g_st.kind == SEL_MARQUEE)
        return g_st.anchor == g_st.last
                   ? std::vector<a_cell_pointf>{}
                   : Box_Outline(g_paint.marquee_method, Marquee_Box(g_st.anchor, g_st.last, g_st.constrain));
    if (g_st.kind == SEL_LASSO) {
        std::vector<a_cell_pointf> out;
        for (Point p : g_st.lasso) out.push_back({p.h + 0.5, p.v + 0.5});
        return out;
    }
    return Selection_Active() ? g_sel.outline : std::vector<a_cell_pointf>{};
}

void Selection_Drop() {
    if (g_st.kind == SEL_MOVE) return;  // ends with its drag
    Forget();
}

bool Selection_Delete() {
    GWorld *w, *m;
    if (!Selection_Active() || Selection_Tracking() || !Layer(w, m)) return false;
    Begin_Step(OP_PAINT_CUT);
    if (g_sel.floating) {
        Put(g_sel.under);  // what lay beneath shows again
        g_sel.floating = false;
        g_sel.lifted = a_cells{}, g_sel.under = a_cells{};
    } else {
        Clear_Shape();
    }
    End_Step(false);
    return true;
}

bool Selection_Nudge(int dh, int dv, bool copy) {
    GWorld *w, *m;
    if (!Selection_Active() || Selection_Tracking() || !Layer(w, m)) return false;
    Begin_Step(copy ? OP_PAINT_STAMP : OP_PAINT_CUT);
    Lift(copy);
    Place(dh, dv);
    End_Step(false);
    return true;
}

bool Selection_Image(a_masked_gworld& out) {
    if (!Selection_Active()) return false;
    const a_cells c = g_sel.floating ? g_sel.lifted : Selected_Pixels();
    const Rect& b = c.bounds;
    New_MW("selection", Rect{0, 0, int16_t(Rect_Height(b)), int16_t(Rect_Width(b))}, out);
    for (int v = b.top; v < b.bottom; ++v) {
        uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(out.fore->pix, v - b.top));
        uint8_t* mrow = PixMap_Row(out.mask->pix, v - b.top);
        for (int h = b.left; h < b.right; ++h) {
            const bool in = Inside(g_sel.shape, Pt(v, h));
            row[h - b.left] = c.rgb[c.Index(v, h)] & 0xFFFFFF;
            mrow[h - b.left] = in ? c.a[c.Index(v, h)] : 0;
        }
    }
    return true;
}

bool Selection_Paste(const a_masked_gworld& picture, Point centre) {
    if (!g_doc.up || Selection_Tracking()) return false;
    a_cells cells;
    const Rect& unit = g_doc.up->paintbounds;
    if (Rect_IsEmpty(unit) || !Scaled_Picture(picture, unit, cells)) return false;
    Selection_Drop();
    bool created = false;
    if (!Paint_Layer_Ensure(&created)) return false;
    Begin_Step(OP_PAINT_STAMP, created);
    const int w = Rect_Width(cells.bounds), h = Rect_Height(cells.bounds);
    const int left = std::clamp(centre.h - w / 2, int(unit.left), unit.right - w);
    const int top = std::clamp(centre.v - h / 2, int(unit.top), unit.bottom - h);
    cells.bounds = Rect_Offset(cells.bounds, left, top);
    a_sel_rec s;
    s.active = true, s.unit = g_doc.upx, s.method = RECT_MARQUEE;
    Cov_Reset(s.shape, cells.bounds, unit);
    std::fill(s.shape.a.begin(), s.shape.a.end(), 255);
    s.outline = Box_Outline(RECT_MARQUEE, cells.bounds);
    s.floating = true;
    s.lifted = std::move(cells);
    s.under = Take(s.shape.bounds);
    g_sel = std::move(s);
    Lay(g_sel.lifted);
    End_Step(false);
    g_paint.tool = SELECT_TOOL;  // so that it can be moved before it is let go
    return true;
}

namespace {

void Unsubscribe_All() {
    g_doc_notices.restored.Unsubscribe(g_tokens[0]);
    g_doc_notices.replaced.Unsubscribe(g_tokens[1]);
    g_doc_notices.unit_selected.Unsubscribe(g_tokens[2]);
    g_doc_notices.history.Unsubscribe(g_tokens[3]);
}

}  // namespace

void Selection_Init() {
    Unsubscribe_All();  // listening once, however often it starts
    g_tokens[0] = g_doc_notices.restored.Subscribe([] { Forget(); });
    g_tokens[1] = g_doc_notices.replaced.Subscribe([] { Forget(); });
    g_tokens[2] = g_doc_notices.unit_selected.Subscribe([](uint32_t) { Forget(); });
    g_tokens[3] = g_doc_notices.history.Subscribe([] {
        if (!g_own_step) Forget();  // another step changed the layer beneath
    });
}

void Selection_Stop() {
    Unsubscribe_All();
    Forget();
}
