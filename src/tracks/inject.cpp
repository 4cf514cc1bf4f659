#include "tracks/inject.h"

#include <vector>

#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/selection.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
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

int Width(const a_om_rec& om) { return Rect_Width(om.bbox); }

}  // namespace

int Inject_Chunks(a_chunk_table& chunks) {
    if (chunks.chunks.empty() || !g_doc.up) return 0;
    g_track_services.plain_text.Call_Or([] {});
    const a_text_unit u = Curr_Text_Unit();
    const int uw = Rect_Width(u.bounds), uh = Rect_Height(u.bounds);

    std::vector<int> made;
    for (size_t i = 0; i < chunks.chunks.size(); ++i) {
        // Text_New4 fails hard on a full unit: the rest of the chunks stay out.
        if (g_doc.up->oj.nlist >= MAX_TEXT_BLOCKS) break;
        Point anchor = Inject_First_Anchor(int(i), uh);
        anchor.h = int16_t(anchor.h + u.bounds.left);
        anchor.v = int16_t(anchor.v + u.bounds.top);
        int omx = 0;
        Text_New4(omx, chunks.chunks[i].c_str(), 0, anchor, Rect_Centre(u.bounds), true);
        a_om_rec& om = *Curr_OM(omx);
        Plain_Text(om, INJECT_SIZE);
        OM_Recalc(om, omx);
        made.push_back(omx);
    }
    chunks.chunks.clear();
    if (made.empty()) return 0;

    int total = 0;
    for (int omx : made) total += Width(*Curr_OM(omx));
    if (total > uw) {
        int size = Inject_Shrunk_Size(total, uw, Clamp_Text_Size(0, LAYOUT_HORZ),
                                      TEXT_LAYOUT_SIZE_LIMITS[LAYOUT_HORZ]);
        for (int omx : made) {
            a_om_rec& om = *Curr_OM(omx);
            Plain_Text(om, size);
            OM_Recalc(om, omx);
        }
    }

    std::vector<int> widths, heights;
    for (int omx : made) {
        widths.push_back(Width(*Curr_OM(omx)));
        heights.push_back(Rect_Height(Curr_OM(omx)->bbox));
    }
    std::vector<Point> at = Inject_Anchors(widths, heights, uw, uh);
    for (size_t i = 0; i < made.size(); ++i) {
        a_om_rec& om = *Curr_OM(made[i]);
        Obj_PostRender(made[i]);
        Text_Move_XY(om, at[i].h + u.bounds.left - om.anchor.h, at[i].v + u.bounds.top - om.anchor.v);
        OM_BringUpToDate(made[i]);
        Obj_PostRender(made[i]);
    }

    Begin_Selection_Change();
    Obj_Select_None();
    for (int omx : made) Selection_Toggle(omx);
    End_Selection_Change();
    History_Emit(OP_IMPORT);
    return int(made.size());
}
