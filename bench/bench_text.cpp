// Text rendering on the disc design surface (1200 x 1200, 32-bit): a
// circular block of 40-point letters with outline, glow and shadow drawn
// onto the surface. x_memcpy is the render's time over the time of one
// memcpy of the surface measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench_check.h"
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

}  // namespace
