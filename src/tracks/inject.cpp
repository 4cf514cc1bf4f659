#include "tracks/inject.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/selection.h"
#include "text/text_blocks.h"
#include "text/text_contrast.h"
#include "text/text_layout.h"
#include "text/text_paths.h"
#include "tracks/import.h"
#include "tracks/inject_plan.h"

namespace {

// The plain settings an import uses whatever the interface holds.
void Plain_Text(a_om_rec& om, int size) {
    om.layout = LAYOUT_HORZ;
    om.justify = JUST_LEFT;
    om.lineangle = 0;
    om.size = Clamp_Text_Size(size, LAYOUT_HORZ);
    om.cache.progress = 0;
}

std::vector<std::u16string> Lines_Of(const std::u16string& chunk) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : chunk) {
        if (c == CHAR_HARDBREAK) lines.emplace_back();
        else lines.back().push_back(c);
    }
    if (lines.back().empty()) lines.pop_back();  // the break that ends the last line
    return lines;
}

std::u16string Join(const std::vector<std::u16string>& lines, int first, int end) {
    std::u16string s;
    for (int i = first; i < end; ++i) {
        if (i > first) s.push_back(CHAR_HARDBREAK);
        s += lines[size_t(i)];
    }
    return s;
}

// One block of the list: its text, where its frame lies from its anchor,
// and the frame's size.
struct a_piece {
    std::u16string text;
    int page = 0;
    Point to_anchor;  // anchor - the box's top left
    int w = 0, h = 0;
};

// A way of showing the list: its size, its pages and its blocks.
struct a_plan {
    int size = INJECT_SIZE;
    bool fits = true;  // false: placed at the smallest size past the area
    std::vector<a_piece> pieces;
    std::vector<a_inject_page> pages;
};

// Lays the list out at `size` in `npages` pages on a record of the blocks'
// style, off the unit, and measures every block.
a_plan Measure(a_om_rec& scratch, const a_text_unit& u, const std::vector<std::vector<std::u16string>>& cols,
               int size, int npages) {
    a_plan plan;
    plan.size = size;
    plan.pages.resize(size_t(npages));
    for (int p = 0; p < npages; ++p) {
        a_inject_page& page = plan.pages[size_t(p)];
        for (const auto& lines : cols) {
            int first = 0, end = 0;
            Inject_Page_Lines(int(lines.size()), npages, p, first, end);
            if (first >= end) continue;
            a_piece piece;
            piece.text = Join(lines, first, end);
            piece.page = p;
            UniStr_To_OM(scratch, piece.text.c_str());
            Plain_Text(scratch, size);
            OM_Recalc_On(scratch, 0, u);
            // The frame, the letters' outline, is what must fit; the box
            // around it only pads it.
            const Rect frame = Frame_Bounds(scratch.cache.frame);
            piece.to_anchor = Point{int16_t(scratch.anchor.v - frame.top), int16_t(scratch.anchor.h - frame.left)};
            piece.w = Rect_Width(frame);
            piece.h = Rect_Height(frame);
            page.w += piece.w + (page.w > 0 ? INJECT_SPACING : 0);
            page.h = std::max(page.h, piece.h);
            plan.pieces.push_back(std::move(piece));
        }
    }
    return plan;
}

// The boxes of the unit's blocks a list should not cover: text (its letters'
// outline: a circular line's box is the whole unit) and clip art, and photos
// smaller than half the unit (a larger one is a background).
std::vector<Rect> Taken_Boxes(const Rect& unit) {
    std::vector<Rect> taken;
    const int64_t half = int64_t(Rect_Width(unit)) * Rect_Height(unit) / 2;
    for (int omx = 1; omx <= g_doc.up->oj.nlist; ++omx) {
        const a_oj_item& it = g_doc.up->oj.list[omx];
        if (!(it.flags & (1u << VISIBLE_FLAG))) continue;
        const Rect r = it.kind == TEXT_BLOCK && it.om && it.om->cache.frame.npoints > 0
                           ? Frame_Bounds(it.om->cache.frame)
                           : Obj_BBox(omx);
        if (Rect_Width(r) <= 0 || Rect_Height(r) <= 0) continue;
        if (it.kind == PHOTO_BLOCK && int64_t(Rect_Width(r)) * Rect_Height(r) > half) continue;
        taken.push_back(r);
    }
    return taken;
}

// The list in one colour that reads on what lies under all of it (black
// letters vanish on a night sky).
void Readable_Colour_Of(const std::vector<int>& blocks) {
    Rect area;
    for (int omx : blocks) area = Rect_Union(area, Frame_Bounds(Curr_OM(omx)->cache.frame));
    const a_win_pixel32 wanted = Curr_OM(blocks.front())->base_color;
    const a_win_pixel32 colour = Readable_Colour(g_doc.up->static_[TOTAL_LAYER].world, g_doc.up->paintbounds, area, wanted);
    if (colour == wanted) return;
    for (int omx : blocks) {
        a_om_rec& om = *Curr_OM(omx);
        om.base_color = colour;
        om.cache.progress = 0;
        Obj_PostRender(omx);
    }
}

// The largest size, then the fewest pages, that fits the area clear of the
// blocks already there; a list that fits only over them is taken when going
// clear would cost more than INJECT_CLEAR_COST points. Failing all that the
// smallest size, beside the hole or in a row the area's height.
a_plan Choose(a_om_rec& scratch, const a_text_unit& u, const a_inject_area& area,
              const std::vector<std::vector<std::u16string>>& cols, int room, std::vector<Point>& at) {
    size_t nlines = 0;
    for (const auto& c : cols) nlines = std::max(nlines, c.size());
    const int most_pages = int(std::min<size_t>(INJECT_MAX_PAGES, std::max<size_t>(1, nlines)));
    const int smallest = Clamp_Text_Size(0, LAYOUT_HORZ);
    a_plan over;  // the first plan that fits only over other blocks
    std::vector<Point> over_at;
    for (int size = INJECT_SIZE; size >= smallest; --size) {
        if (!over.pages.empty() && size < over.size - INJECT_CLEAR_COST) break;
        for (int pages = 1; pages <= most_pages; ++pages) {
            a_plan plan = Measure(scratch, u, cols, size, pages);
            if (int(plan.pieces.size()) > room) break;
            // More pages than the lines share out evenly leave one empty.
            if (std::any_of(plan.pages.begin(), plan.pages.end(), [](const a_inject_page& p) { return p.w == 0; }))
                continue;
            bool clear = false;
            if (!Inject_Place(area, plan.pages, false, at, &clear)) continue;
            if (clear) return plan;
            if (over.pages.empty()) {
                over = std::move(plan);
                over_at = at;
            }
        }
    }
    if (!over.pages.empty()) {
        at = over_at;
        return over;
    }
    int pages = 1;
    if (area.outer > 0) {
        pages = std::min(2, most_pages);
    } else {
        const a_plan one = Measure(scratch, u, cols, smallest, 1);
        const int h = one.pages.empty() ? 0 : one.pages[0].h;
        pages = std::clamp(h / std::max(1, Rect_Height(area.box)) + 1, 1, most_pages);
    }
    a_plan plan = Measure(scratch, u, cols, smallest, pages);
    plan.fits = false;
    while (int(plan.pieces.size()) > room && pages > 1) {
        plan = Measure(scratch, u, cols, smallest, --pages);
        plan.fits = false;
    }
    if (int(plan.pieces.size()) > room) plan.pieces.resize(size_t(room));
    (void)Inject_Place(area, plan.pages, true, at);
    return plan;
}

}  // namespace

int Inject_Chunks(a_chunk_table& chunks) {
    if (chunks.chunks.empty() || !g_doc.up) return 0;
    g_track_services.plain_text.Call_Or([] {});
    std::vector<std::vector<std::u16string>> cols;
    for (const std::u16string& c : chunks.chunks) cols.push_back(Lines_Of(c));
    chunks.chunks.clear();
    if (std::all_of(cols.begin(), cols.end(), [](const auto& c) { return c.empty(); })) return 0;
    // Text_New4 fails hard on a full unit: what does not fit stays out.
    const int room = MAX_TEXT_BLOCKS - int(g_doc.up->oj.nlist);
    if (room <= 0) return 0;
    const a_text_unit u = Curr_Text_Unit();
    const Point centre = Rect_Centre(u.bounds);
    std::vector<Rect> taken = Taken_Boxes(u.bounds);

    // The first block takes the interface's plain text style; the others
    // and the measuring copy follow it.
    int first = 0;
    Text_New4(first, cols[0].empty() ? u"" : cols[0][0].c_str(), 0, centre, centre, true);
    auto scratch = std::make_unique<a_om_rec>(*Curr_OM(first));
    scratch->cache.text = a_masked_gworld{};  // owned by the block
    scratch->cache.shad = a_masked_gworld{};
    a_inject_area area = Inject_Area(u.bounds, u.disc, u.hole);
    area.taken = std::move(taken);
    std::vector<Point> pages_at;
    const a_plan plan = Choose(*scratch, u, area, cols, room, pages_at);

    std::vector<int> made;
    std::vector<int> page_left(plan.pages.size(), 0);
    for (const a_piece& piece : plan.pieces) {
        int omx = first;
        if (!made.empty()) {
            Text_New4(omx, piece.text.c_str(), 0, centre, centre, true);
        } else {
            a_om_rec& om = *Curr_OM(omx);
            UniStr_To_OM(om, piece.text.c_str());
        }
        a_om_rec& om = *Curr_OM(omx);
        const Point at = pages_at[size_t(piece.page)];
        int& left = page_left[size_t(piece.page)];
        Obj_PostRender(omx);
        Plain_Text(om, plan.size);
        om.anchor = Point{int16_t(at.v + piece.to_anchor.v), int16_t(at.h + left + piece.to_anchor.h)};
        left += piece.w + INJECT_SPACING;
        OM_BringUpToDate(omx);
        Obj_PostRender(omx);
        made.push_back(omx);
    }
    if (made.empty()) return 0;
    Readable_Colour_Of(made);

    Begin_Selection_Change();
    Obj_Select_None();
    for (int omx : made) Selection_Toggle(omx);
    End_Selection_Change();
    History_Emit(OP_IMPORT);
    // The list is on the unit but runs past its edge: say so rather than
    // leave the person to find the cut lines.
    if (!plan.fits) OK_Alert(ALERT_LIST_TOO_LONG, false);
    return int(made.size());
}
