#include "paint/trackers.h"

#include <algorithm>
#include <cstdlib>

#include "model/history_ops.h"
#include "model/notices.h"
#include "paint/atoms.h"
#include "paint/paint_layer.h"
#include "paint/raster.h"
#include "paint/selection.h"
#include "paint/shapes.h"
#include "paint/symmetry.h"
#include "pixels/pixmap.h"
#include "platform/sound.h"
#include "render/compositor.h"

std::function<void(int dh, int dv)> g_paint_scroll;

bool a_sample_queue::Push(Point p) {
    if (count == SAMPLE_QUEUE) return false;
    pts[(head + count++) % SAMPLE_QUEUE] = p;
    return true;
}

Point a_sample_queue::Pop() {
    Point p = pts[head];
    head = (head + 1) % SAMPLE_QUEUE, --count;
    return p;
}

namespace {

struct a_track_rec {
    int kind = NO_TRACK;
    int tool = NULL_TOOL;   // the tool the tracker draws with (a Track_4 shape, …)
    a_atom_proc proc = nullptr;
    int fill = COLOR_FILL;
    int spacing = 0;        // cells between steps; 0 every sample
    bool repeats = false;   // sprays while held
    uint32_t interval = 1;  // ticks between repeats
    uint32_t last_tick = 0;
    Point anchor, last;
    int travel = 0;         // tenths of a cell since the last step
    bool solid = true;
    bool from_center_ok = false;
    uint32_t seed = 1;
    a_sample_queue queue;
    std::vector<Point> corners;
};
a_track_rec g_track;

void Refuse() { g_doc_services.play_sound.Call_Or([] {}, SND_REFUSED); }

// The step of one sample: a spray burst makes its dots here, so that the
// symmetric copies turn them as they turn everything else.
void Step_At(Point at) {
    a_atom_rec atom = New_Atom(g_paint);
    atom.fill = g_track.fill;
    if (g_track.tool == SPRAY_TOOL) {
        int n = std::max(4, g_paint.spray_radius / 2);
        atom.list.pts = Spray_Points(at, g_paint.spray_radius, g_paint.spray_spread, n, g_track.seed);
    } else {
        atom.list.pts = {at};
    }
    Imprint(atom, g_track.tool, true, g_track.proc, g_paint);
}

// Walks from the last sample to p cell by cell, stepping at each spacing.
void Travel_To(Point p) {
    if (g_track.spacing <= 0) {
        Step_At(p);
        g_track.last = p;
        return;
    }
    const int want = g_track.spacing * 10;
    Point prev = g_track.last;
    Bresenham(g_track.last, p, [&](Point c) {
        if (c == prev) return;
        g_track.travel += (c.h != prev.h && c.v != prev.v) ? 14 : 10;
        prev = c;
        if (g_track.travel >= want) {
            g_track.travel -= want;
            Step_At(c);
        }
    });
    g_track.last = p;
}

void Drain() {
    while (g_track.queue.count > 0) Travel_To(g_track.queue.Pop());
}

void Start_Track1(int tool, a_atom_proc proc, int spacing, int fill, int op) {
    g_track.kind = TRACK_1;
    g_track.tool = tool, g_track.proc = proc, g_track.spacing = spacing, g_track.fill = fill;
    g_track.seed = 0x2545F491u;
    g_track.queue = a_sample_queue{};
    Stroke_Begin(op, g_stroke.created);
}

// The outline of the shape dragged from the anchor to `now`.
std::vector<Point> Shape_Points(const a_paint_event& e) {
    Point a = g_track.anchor, b = e.cell;
    if (g_track.kind == TRACK_FURTER) return Arc_Outline(a, b, g_track.solid);
    if (g_track.tool == LINE_TOOL) {
        if (e.shift) {  // to the nearest of the eight directions
            int dh = b.h - a.h, dv = b.v - a.v;
            if (std::abs(dh) > 2 * std::abs(dv)) dv = 0;
            else if (std::abs(dv) > 2 * std::abs(dh)) dh = 0;
            else { int d = std::max(std::abs(dh), std::abs(dv)); dh = dh < 0 ? -d : d, dv = dv < 0 ? -d : d; }
            b = Point{int16_t(a.v + dv), int16_t(a.h + dh)};
        }
        return {a, b};
    }
    Rect box = Drag_Box(a, b, e.command && g_track.from_center_ok, e.shift);
    switch (g_track.tool) {
        case SOVAL_TOOL: case FOVAL_TOOL: return Oval_Outline(box);
        case SROUNDRECT_TOOL: case FROUNDRECT_TOOL: return RoundRect_Outline(box, g_paint.corner);
        default: return Rect_Outline(box);
    }
}

void Draw_Shape(const a_paint_event& e) {
    Stroke_Restore();
    a_atom_rec atom = New_Atom(g_paint);
    atom.fill = g_track.fill;
    atom.solid = g_track.solid;
    atom.list.pts = Shape_Points(e);
    Imprint(atom, g_track.tool, true, g_track.proc, g_paint);
    Paint_Redraw();
}

a_atom_proc Shape_Proc(int tool) {
    switch (tool) {
        case SOVAL_TOOL: return Atom_SOval;
        case SRECT_TOOL: return Atom_SRect;
        case SROUNDRECT_TOOL: return Atom_SRoundRect;
        case FOVAL_TOOL: return Atom_FOval;
        case FRECT_TOOL: return Atom_FRect;
        case FROUNDRECT_TOOL: return Atom_FRoundRect;
        default: return Atom_Line;
    }
}

void Start_Track4(const a_paint_event& e, int shape, int fill, int op) {
    g_track.kind = TRACK_4;
    g_track.tool = shape, g_track.proc = Shape_Proc(shape), g_track.fill = fill;
    g_track.anchor = e.cell;
    g_track.from_center_ok = shape != LINE_TOOL;
    Stroke_Begin(op, g_stroke.created);
}

void Start_Furter(const a_paint_event& e, bool solid) {
    g_track.kind = TRACK_FURTER;
    g_track.tool = solid ? SFURTER_TOOL : FFURTER_TOOL;
    g_track.proc = Atom_Furter, g_track.solid = solid, g_track.fill = g_paint.fill_kind;
    g_track.anchor = e.cell;
    Stroke_Begin(OP_PAINT_FURTER, g_stroke.created);
}

// The polygon's corners so far and the edge to the mouse, drawn thin.
void Draw_Polygon_Band(Point mouse) {
    Stroke_Restore();
    a_atom_rec atom = New_Atom(g_paint);
    atom.fill = g_track.fill == ERASER_FILL ? COLOR_FILL : g_track.fill;
    atom.list.pts = g_track.corners;
    atom.list.pts.push_back(mouse);
    a_paint_state thin = g_paint;
    thin.line_thickness = 1;
    Imprint(atom, g_track.tool, true, Atom_Line, thin);
    Paint_Redraw();
}

void Close_Polygon() {
    Stroke_Restore();
    if (g_track.corners.size() >= 3) {
        a_atom_rec atom = New_Atom(g_paint);
        atom.fill = g_track.fill;
        atom.list.pts = g_track.corners;
        Imprint(atom, g_track.tool, true, Atom_SPolygon, g_paint);
    }
    g_track = a_track_rec{};
    Stroke_End(false);
}

void Start_Polygon(const a_paint_event& e, int fill, int op) {
    g_track.kind = TRACK_POLYGON;
    g_track.tool = SPOLYGON_TOOL, g_track.fill = fill;
    g_track.corners = {e.cell};
    Stroke_Begin(op, g_stroke.created);
}

// The colour under the mouse: the paint where it covers, else the picture shown.
void Track_Dropper1(Point cell) {
    GWorld *world, *mask;
    uint32_t rgb = 0;
    bool got = Paint_Layer(world, mask) && Pick_Color(*world, *mask, cell, rgb);
    a_doc_unit* u = g_doc.up ? Design_Unit(g_doc.upx) : nullptr;
    const a_cached_gworld* total = u ? &u->static_[TOTAL_LAYER] : nullptr;
    if (!got && total && total->world) {
        a_coord_mapping m = Unit_Layer_Mapping(*u, total->bounds);
        Rect px = Cells_To_Pixels(m, Rect{cell.v, cell.h, int16_t(cell.v + 1), int16_t(cell.h + 1)});
        const Rect& b = total->world->pix.bounds;
        if (px.left >= b.left && px.left < b.right && px.top >= b.top && px.top < b.bottom) {
            rgb = reinterpret_cast<const uint32_t*>(PixMap_Row(total->world->pix, px.top))[px.left - b.left];
            got = true;
        }
    }
    if (!got) return;
    g_paint.fill_color32 = rgb & 0xFFFFFF;
    g_paint.fill_kind = COLOR_FILL;
}

void Track_Bucket(const a_paint_event& e) {
    Stroke_Begin(OP_PAINT_BUCKET, g_stroke.created);
    a_atom_rec atom = New_Atom(g_paint);
    atom.list.pts = {e.cell};
    Imprint(atom, BUCKET_TOOL, true, Atom_Bucket, g_paint);
    Stroke_End(false);
}

bool Creates_Layer(int tool) { return (tool >= 0 && tool <= 6) || (tool >= 8 && tool <= 14); }

// Sets up the tracker for `tool`; false when the tool has none.
bool Dispatch(int tool, const a_paint_event& e) {
    const a_paint_state& p = g_paint;
    switch (tool) {
        case BRUSH_TOOL: Start_Track1(BRUSH_TOOL, Atom_Brush, p.brush_spacing, p.fill_kind, OP_PAINT_BRUSH); break;
        case ERASER_TOOL:
            if (p.eraser_choice <= 8)
                Start_Track1(ERASER_TOOL, Atom_Eraser, std::max(Eraser_Diameter(p.eraser_choice) / 3, 1),
                             ERASER_FILL, OP_PAINT_ERASE);
            else if (p.eraser_choice == ERASE_BY_OVAL) Start_Track4(e, SOVAL_TOOL, ERASER_FILL, OP_PAINT_ERASE);
            else if (p.eraser_choice == ERASE_BY_POLYGON) Start_Polygon(e, ERASER_FILL, OP_PAINT_ERASE);
            else Start_Track4(e, SRECT_TOOL, ERASER_FILL, OP_PAINT_ERASE);
            break;
        case SPRAY_TOOL:
            Start_Track1(SPRAY_TOOL, Atom_Spray, 0, p.fill_kind, OP_PAINT_SPRAY);
            g_track.repeats = true;
            g_track.interval = p.fill_kind == STAMP_FILL ? 5 : 1;
            g_track.last_tick = e.ticks;
            break;
        case SPOLYGON_TOOL: Start_Polygon(e, p.fill_kind, OP_PAINT_POLYGON); break;
        case SOVAL_TOOL: Start_Track4(e, SOVAL_TOOL, p.fill_kind, OP_PAINT_OVAL); break;
        case SFURTER_TOOL: Start_Furter(e, true); break;
        case SRECT_TOOL:
            Start_Track4(e, p.corner != 0 ? SROUNDRECT_TOOL : SRECT_TOOL, p.fill_kind, OP_PAINT_RECT);
            break;
        case STAMP_TOOL:
            if (!p.stamp) return false;
            Start_Track1(STAMP_TOOL, Atom_Stamp, p.stamp_spacing, p.fill_kind, OP_PAINT_STAMP);
            break;
        case BUCKET_TOOL: Track_Bucket(e); return true;
        case LINE_TOOL: Start_Track4(e, LINE_TOOL, p.fill_kind, OP_PAINT_LINE); break;
        case FOVAL_TOOL: Start_Track4(e, FOVAL_TOOL, p.fill_kind, OP_PAINT_OVAL); break;
        case FFURTER_TOOL: Start_Furter(e, false); break;
        case FRECT_TOOL:
            Start_Track4(e, p.fill_kind != BORDER_FILL && p.corner != 0 ? FROUNDRECT_TOOL : FRECT_TOOL,
                         p.fill_kind, OP_PAINT_RECT);
            break;
        default: return false;
    }
    g_track.last = g_track.anchor = e.cell;
    return true;
}

}  // namespace

void Paint_MouseDown(const a_paint_event& e) {
    if (!g_doc.up) return;
    if (g_track.kind == TRACK_POLYGON) {
        const Point first = g_track.corners.front();
        bool near_first = std::abs(e.cell.h - first.h) <= 3 && std::abs(e.cell.v - first.v) <= 3;
        if (!near_first && !(g_track.corners.back() == e.cell)) g_track.corners.push_back(e.cell);
        if (e.double_click || near_first) return Close_Polygon();
        return Draw_Polygon_Band(e.cell);
    }
    if (g_track.kind != NO_TRACK || Selection_Tracking()) return;
    int tool = g_paint.tool;
    if (tool == SELECT_TOOL) return Selection_MouseDown(e);
    Selection_Drop();  // another tool: the selection is let go where it lies
    if (e.option && tool >= 0 && tool < NPAINT_TOOLS && g_tool_desc[tool].dropper) tool = DROPPER_TOOL;
    if (tool == DROPPER_TOOL) {
        g_track.kind = TRACK_DROPPER;
        return Track_Dropper1(e.cell);
    }
    if (tool == GRABBER_TOOL) {
        g_track.kind = TRACK_GRABBER;
        g_track.anchor = e.screen;
        return;
    }
    if (tool == SELECT_TOOL || tool == SYMMETRY_TOOL || !Creates_Layer(tool) ||
        (tool == STAMP_TOOL && !g_paint.stamp))
        return Refuse();
    bool created = false;
    int from = 0;
    if (!Paint_Layer_Ensure(&created, &from)) return Refuse();
    g_stroke.created = created;
    g_stroke.paint_from = from;
    if (!Dispatch(tool, e)) return Refuse();
    if (g_track.kind == TRACK_1) {
        Step_At(e.cell);
        Paint_Redraw();
    }
}

void Paint_MouseMove(const a_paint_event& e) {
    if (Selection_Tracking()) return Selection_MouseMove(e);
    switch (g_track.kind) {
        case TRACK_1:
            if (e.cell == g_track.last && !g_track.queue.count) break;
            if (!g_track.queue.Push(e.cell)) {
                Drain();
                g_track.queue.Push(e.cell);
            }
            g_track.last_tick = e.ticks;
            Drain();
            Paint_Redraw();
            break;
        case TRACK_4:
        case TRACK_FURTER: Draw_Shape(e); break;
        case TRACK_POLYGON: Draw_Polygon_Band(e.cell); break;
        case TRACK_DROPPER: Track_Dropper1(e.cell); break;
        case TRACK_GRABBER:
            if (g_paint_scroll) g_paint_scroll(g_track.anchor.h - e.screen.h, g_track.anchor.v - e.screen.v);
            g_track.anchor = e.screen;
            break;
        default: break;
    }
}

void Paint_MouseUp(const a_paint_event& e) {
    if (Selection_Tracking()) return Selection_MouseUp(e);
    switch (g_track.kind) {
        case TRACK_1:
            Paint_MouseMove(e);
            Drain();
            g_track = a_track_rec{};
            Stroke_End(false);
            break;
        case TRACK_4:
        case TRACK_FURTER:
            if (!(e.cell == g_track.anchor)) Draw_Shape(e);
            g_track = a_track_rec{};
            Stroke_End(false);
            break;
        case TRACK_POLYGON: break;  // corners come with mouse-downs
        default: g_track = a_track_rec{}; break;
    }
}

void Paint_Tick(uint32_t ticks) {
    if (g_track.kind != TRACK_1 || !g_track.repeats) return;
    if (ticks - g_track.last_tick < g_track.interval) return;
    g_track.last_tick = ticks;
    Step_At(g_track.last);
    Paint_Redraw();
}

void Paint_Escape() {
    if (g_track.kind == NO_TRACK) {
        (void)Selection_Escape();
        return;
    }
    bool painting = g_stroke.active;
    g_track = a_track_rec{};
    if (painting) Stroke_End(true);
    g_doc_services.play_sound.Call_Or([] {}, SND_STROKE_CANCELLED);
}

void Paint_Finish() {
    if (g_track.kind == TRACK_POLYGON) Close_Polygon();
}

bool Paint_Tracking() { return g_track.kind != NO_TRACK || Selection_Tracking(); }
int Paint_Tracker() { return g_track.kind; }
int Paint_Queue_Length() { return g_track.queue.count; }
const std::vector<Point>& Paint_Polygon_Corners() { return g_track.corners; }
