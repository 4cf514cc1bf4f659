// Text rendering on the disc design surface (1200 x 1200, 32-bit): a
// circular block of 40-point letters with outline, glow and shadow drawn
// onto the surface; and the keystroke path of circular text on a disc
// document (one character inserted, the change's layout, the rendering at
// screen scale). x_memcpy is the time over the time of one memcpy of the
// surface measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "bench_check.h"
#include "model/document.h"
#include "templates/template.h"
#include "text/om_render.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
#include "pixels/gworld.h"
#include "pixels/syspix.h"
#include "platform/fonts.h"
#include "platform/glyphs.h"
#include "text/text_draw.h"

namespace {

constexpr int kSide = 1200;
// 40 points on a 120 mm disc drawn 1200 pixels wide: 40 / 72 inch at 10 pixels a millimetre.
constexpr float kPixelSize = 40.0f / 72.0f * 25.4f * 10.0f;

double Thread_Seconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// CPU seconds of one memcpy of the surface: the best of a few rounds.
double Memcpy_Seconds() {
    size_t n = size_t(kSide) * kSide * 4;
    std::vector<uint8_t> a(n, 1), b(n, 2);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        double t0 = Thread_Seconds();
        std::memcpy(b.data(), a.data(), n);
        benchmark::ClobberMemory();
        best = std::min(best, Thread_Seconds() - t0);
    }
    return best;
}

// The text clockwise around the top of the disc, upright from outside.
std::vector<a_placed_char> Circle_Text(const std::u16string& text, double r) {
    double c = kSide / 2.0, total = 0;
    std::vector<double> adv;
    for (char16_t ch : text) {
        a_glyph g;
        g.units[0] = ch;
        g.family = u"DejaVu Sans";
        g.pixel_size = int(std::lround(kPixelSize));
        adv.push_back(Glyph_Advance(g));
        total += adv.back();
    }
    std::vector<a_placed_char> out;
    double along = -total / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        double phi = (along + adv[i] / 2) / r;
        a_placed_char p;
        p.units[0] = text[i];
        p.family = u"DejaVu Sans";
        p.size = kPixelSize;
        p.x = int16_t(std::lround(c + r * std::sin(phi) - adv[i] / 2 * std::cos(phi)));
        p.y = int16_t(std::lround(c - r * std::cos(phi) - adv[i] / 2 * std::sin(phi)));
        p.t = int16_t(std::lround(-phi * 1800 / std::numbers::pi));
        p.drawn = text[i] != u' ';
        out.push_back(p);
        along += adv[i];
    }
    return out;
}

void BM_Text_Circle_Effects_1200(benchmark::State& state) {
    Bench_Must(Font_Find(u"DejaVu Sans") != 0, "finding DejaVu Sans");
    std::vector<a_placed_char> chars = Circle_Text(u"Summer Holiday 2026", 480);
    a_text_look look;
    look.outlf = look.glowf = look.shadf = true;
    look.base_color = a_win_pixel32{255, 255, 255, 0};
    look.outl_color = a_win_pixel32{120, 30, 20, 0};
    look.glow_color = a_win_pixel32{40, 200, 255, 0};
    Rect surface{0, 0, kSide, kSide};
    a_gworld_ptr dest = Make_GWorld(32, surface);
    Bench_Must(dest != nullptr, "making the surface");
    PixMap32_Fill(dest->pix, surface, 0xFFFFFF);
    double copy = Memcpy_Seconds();
    for (auto _ : state) {
        Render_Placed_Text_Onto(chars, surface, look, a_coord_mapping{}, dest.get());
        benchmark::ClobberMemory();
    }
    state.counters["memcpy_ms"] = copy * 1e3;
    state.counters["x_memcpy"] = benchmark::Counter(double(state.iterations()) * copy,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Text_Circle_Effects_1200)->Unit(benchmark::kMillisecond);

// A 120 mm disc document holding one circular block of 14-point text, with
// a glow or without, as a user types it.
struct a_typing_doc {
    int omx = 0;
    explicit a_typing_doc(bool glow) {
        auto t = std::make_unique<a_template>();
        t->nunits = 1;
        t->units[1].kind = UNIT_CD;
        t->units[1].bbox = {0, 0, 120, 120};
        t->units[1].meas[0] = 41;
        Doc_New(*t);
        omx = OM_New();
        a_om_rec& om = *g_doc.up->oj.list[omx].om;
        om.fontx = uint32_t(Font_Find(u"DejaVu Sans"));
        om.layout = LAYOUT_CIRC_CW;
        om.justify = JUST_CENTER;
        om.size = 14;
        om.glowf = glow;
        UniStr_To_OM(om, u"Summer Holiday 2026 - Live at the Harbour");
        OM_Recalc(om, omx);
    }
    ~a_typing_doc() { Doc_Dispose(); }
    a_om_rec& Om() { return *g_doc.up->oj.list[omx].om; }
};

// Characters `at`.. move up one place and `ch` takes `at`.
void Insert_Char(a_om_rec& om, int at, char16_t ch) {
    for (int i = om.nxyl; i >= at; --i) om.xyl[i + 1] = om.xyl[i];
    Set_XYL_Defaults(om.xyl[at]);
    om.xyl[at].cc_char = ch;
    ++om.nxyl;
}

void Delete_Char(a_om_rec& om, int at) {
    for (int i = at; i < om.nxyl; ++i) om.xyl[i] = om.xyl[i + 1];
    --om.nxyl;
}

void BM_Text_Keystroke_Circular(benchmark::State& state) {
    Bench_Must(Font_Find(u"DejaVu Sans") != 0, "finding DejaVu Sans");
    a_typing_doc doc(state.range(0) != 0);
    a_coord_mapping screen;  // 100 %: one screen pixel a unit pixel
    double copy = Memcpy_Seconds(), best = 1e9;
    for (auto _ : state) {
        const double t0 = Thread_Seconds();
        Begin_Text_Change(doc.omx);
        Insert_Char(doc.Om(), 20, u'x');
        End_Text_Change(doc.omx);
        a_masked_gworld_owner text, shad;
        OM_Render(doc.Om(), screen, text.get(), shad.get());
        best = std::min(best, Thread_Seconds() - t0);
        state.PauseTiming();
        Delete_Char(doc.Om(), 20);
        state.ResumeTiming();
    }
    state.counters["best_ms"] = best * 1e3;
    state.counters["memcpy_ms"] = copy * 1e3;
    state.counters["x_memcpy"] = best / copy;
}
BENCHMARK(BM_Text_Keystroke_Circular)->ArgName("glow")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
