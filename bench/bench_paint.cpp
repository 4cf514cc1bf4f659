// The paint tools on a 1200 x 1200 disc with a picture canvas, a photo with
// a shadow and circular text: a brush stroke of 200 samples with symmetry 6,
// each mouse-move event through to the recomposed unit (median and 95th
// percentile per event), a bucket fill of the whole empty layer (colour and
// radar gradient), and the undo of one stroke with the bytes its step keeps.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "artdb/art_writer.h"
#include "artdb/database.h"
#include "bench_check.h"
#include "bench_disc.h"
#include "images/photo_blocks.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/snapshot.h"
#include "paint/paint_layer.h"
#include "paint/trackers.h"
#include "pixels/syspix.h"
#include "platform/fonts.h"
#include "render/compositor.h"
#include "render/effects_cache.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"

namespace {

using a_clock = std::chrono::steady_clock;

std::vector<uint8_t> Canvas_Db() {
    std::vector<uint8_t> px(size_t(640) * 640 * 4);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 7 / 5);
    a_pixt_source src;
    src.width = src.height = 640, src.depth = 32, src.stride = 640 * 4, src.pixels = px.data();
    std::vector<uint8_t> pic, thumb, file;
    std::string error;
    Bench_Must(Encode_Picture(src, a_pixt_codec::RAW, 90, pic, error), "encoding a picture");
    a_pixt_source t = src;
    t.width = t.height = 4;
    Bench_Must(Encode_Picture(t, a_pixt_codec::RAW, 90, thumb, error), "encoding a picture");
    std::vector<a_db_entry> entries(2);
    entries[0].key = a_keyset{1, 0, 402, 1}, entries[0].data = pic;
    entries[1].key = a_keyset{2, 0, 402, 1}, entries[1].data = thumb;
    Bench_Must(Build_Database(entries, file, error), "building a database");
    return file;
}

struct a_paint_doc {
    std::vector<uint8_t> db = Canvas_Db();
    a_paint_doc() {
        if (!g_doc_services.history_emit.Installed()) History_Init();
        Bench_Must(OP_OpenMemory(db.data(), db.size()) == OPEN_OKAY, "opening a database");
        Bench_New_Disc(402);
        a_masked_gworld a;
        New_MW("bench", Rect{0, 0, 400, 600}, a);
        for (int y = 0; y < 400; ++y) {
            uint32_t* c = reinterpret_cast<uint32_t*>(PixMap_Row(a.fore->pix, y));
            for (int x = 0; x < 600; ++x) c[x] = (uint32_t(x * 3) & 0xFF) | (uint32_t(y) & 0xFF) << 8;
        }
        PixMap8_Fill(a.mask->pix, a.bounds, 255);
        Bench_Must(Photo_Paste(SOURCE_CLIPBOARD, a), "pasting a photo");
        g_doc.up->oj.list[g_doc.up->oj.nlist].ph->spec.shadf = true;
        Photo_Recalc(g_doc.up->oj.nlist);
        int text = OM_New();
        a_om_rec& om = *g_doc.up->oj.list[text].om;
        Bench_Must(Font_Find(u"DejaVu Sans") != 0, "finding DejaVu Sans");
        om.fontx = uint32_t(Font_Find(u"DejaVu Sans"));
        om.layout = LAYOUT_CIRC_CW;
        om.size = 28;
        UniStr_To_OM(om, u"Summer Holiday 2026");
        OM_Recalc(om, text);
        g_merge_zoom = a_ratio{};
        Current_Unit_UpToDate();
        History_Base();
        g_paint = a_paint_state{};
    }
    ~a_paint_doc() {
        Doc_Dispose();
        Cache_Clear();
        OP_CloseNewest();
        g_paint = a_paint_state{};
    }
};

a_paint_event At(int v, int h) {
    a_paint_event e;
    e.cell = Point{int16_t(v), int16_t(h)};
    return e;
}

// A wavy stroke of `n` samples about the disc, 6 cells apart.
a_paint_event Sample(int i) {
    double t = i * 0.03;
    return At(600 - int(300 * std::cos(t)), 600 + int(300 * std::sin(t)) + int(20 * std::sin(i * 0.5)));
}

double Ms(a_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void BM_Paint_Stroke_Symmetry6(benchmark::State& state) {
    a_paint_doc doc;
    g_paint.tool = BRUSH_TOOL;
    g_paint.brush_size = 16, g_paint.brush_spacing = 4;
    g_paint.symmetry_on = true, g_paint.symmetry_count = 6;
    std::vector<double> per_event;
    for (auto _ : state) {
        Paint_MouseDown(Sample(0));
        for (int i = 1; i < 200; ++i) {
            auto t0 = a_clock::now();
            Paint_MouseMove(Sample(i));
            per_event.push_back(Ms(a_clock::now() - t0));
        }
        Paint_MouseUp(Sample(199));
    }
    std::sort(per_event.begin(), per_event.end());
    state.counters["median_ms"] = per_event[per_event.size() / 2];
    state.counters["p95_ms"] = per_event[per_event.size() * 95 / 100];
    state.counters["step_bytes"] = double(ram.image.size());
}
BENCHMARK(BM_Paint_Stroke_Symmetry6)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Paint_Bucket_Whole_Disc(benchmark::State& state) {
    a_paint_doc doc;
    g_paint.tool = BUCKET_TOOL;
    g_paint.fill_kind = state.range(0) ? GRADIENT_FILL : COLOR_FILL;
    g_paint.fill_gradient.kind = GRAD_RADAR;
    double best = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        if (g_doc.up->paintinuse) PixMap_Zero(g_doc.up->static_[PAINT1_LAYER].mask->pix);
        state.ResumeTiming();
        auto t0 = a_clock::now();
        Paint_MouseDown(At(300, 300));
        Paint_MouseUp(At(300, 300));
        best = std::min(best, Ms(a_clock::now() - t0));
    }
    state.counters["best_ms"] = best;
}
BENCHMARK(BM_Paint_Bucket_Whole_Disc)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Paint_Undo_Stroke(benchmark::State& state) {
    a_paint_doc doc;
    g_paint.tool = BRUSH_TOOL;
    g_paint.symmetry_on = true;
    Paint_MouseDown(Sample(0));
    for (int i = 1; i < 200; ++i) Paint_MouseMove(Sample(i));
    Paint_MouseUp(Sample(199));
    double best = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        Paint_MouseDown(At(600, 200));
        Paint_MouseMove(At(650, 300));
        Paint_MouseUp(At(650, 300));
        state.ResumeTiming();
        auto t0 = a_clock::now();
        Undo_Silent();
        Current_Unit_UpToDate();
        best = std::min(best, Ms(a_clock::now() - t0));
    }
    state.counters["best_ms"] = best;
    state.counters["step_bytes"] = double(ram.image.size());
}
BENCHMARK(BM_Paint_Undo_Stroke)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
