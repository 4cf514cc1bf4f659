// The undo history on a 1200 x 1200 disc with a picture canvas, two photos
// and circular text with a glow: recording one step (snapshot and undo file) and undoing one step
// (reading, checking and applying the file). The same with the unit painted
// all over shows what a paint layer's 7 MB cost.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_check.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/photo_rec.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "text/text_blocks.h"

namespace {

void Open_Disc(bool painted) {
    static bool started = (PixMap_Init(), Platform_Init(true));
    // The shell another benchmark started may have installed the history already.
    if (!g_doc_services.history_emit.Installed()) History_Init();
    Bench_Must(started, "starting the platform");
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->units[1].kind = UNIT_CD;
    t->units[1].bbox = {0, 0, 120, 120};
    Doc_New(*t);
    a_doc_unit& u = *g_doc.up;
    u.paintbounds = Rect{0, 0, 1200, 1200};
    u.canv.cv.canvas_key = a_keyset{2, 0, 5, 2};
    for (int i = 0; i < 2; ++i) {
        a_oj_item it;
        it.objid = NextUniqueID();
        it.kind = PHOTO_BLOCK;
        it.ph = New_PH_Rec();
        it.ph->spec.source.kind = SOURCE_EXTFILE;
        it.ph->spec.source.path.name = "/home/someone/Pictures/photo" + std::to_string(i) + ".jpg";
        it.ph->spec.shadf = true;
        it.ph->dst_box = Rect{int16_t(100 * i), 100, int16_t(100 * i + 400), 700};
        Bench_Must(OMast_Append(u.oj, it), "adding a photo");
    }
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    text.om->layout = LAYOUT_CIRC_CW;
    text.om->size = 28;
    text.om->glowf = true;
    UniStr_To_OM(*text.om, u"Summer Holiday 2026");
    Bench_Must(OMast_Append(u.oj, text), "adding a text block");
    if (painted) {
        u.paintinuse = true;
        Sync_Existence(PAINT1_LAYER, u, true);
    }
    History_Base();
}

void Close_Disc() { Doc_Dispose(); }

void BM_History_Record_Step(benchmark::State& state) {
    Open_Disc(state.range(0) != 0);
    for (auto _ : state) History_Emit(OP_PHOTO_ANGLE);
    Bench_Must(g_hist.list[g_hist.curr].file_ok, "writing the undo file");
    Close_Disc();
}
BENCHMARK(BM_History_Record_Step)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_History_Undo_Step(benchmark::State& state) {
    Open_Disc(state.range(0) != 0);
    History_Emit(OP_PHOTO_ANGLE);
    History_Emit(OP_PHOTO_ANGLE);
    int older = Modulo(g_hist.curr - 1);
    for (auto _ : state) Bench_Must(Restore_State(older), "undoing from the file");
    Close_Disc();
}
BENCHMARK(BM_History_Undo_Step)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
