// Text layout on the 1200 x 1200 disc: 200 characters of circular text, and
// four lines of contour text, each against a memcpy of the disc's 32-bit
// surface (x_memcpy: layout time over memcpy time, measured in this run).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"

namespace {

constexpr int kSide = 1200;

// Seconds of one memcpy of the disc's surface: the best of a few rounds.
double Memcpy_Seconds() {
    static double best = 0;
    if (best > 0) return best;
    size_t n = size_t(kSide) * kSide * 4;
    std::vector<uint8_t> a(n, 1), b(n, 2);
    best = 1e9;
    for (int round = 0; round < 20; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        std::memcpy(b.data(), a.data(), n);
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

a_text_unit Disc() {
    a_text_unit u;
    u.bounds = Rect{0, 0, kSide, kSide};
    u.px_per_pt = kSide / 120.0f * 25.4f / 72;
    return u;
}

void Lay_Out(benchmark::State& state, uint8_t layout, const std::u16string& text, int size) {
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    om->layout = layout;
    om->size = int16_t(size);
    om->justify = JUST_CENTER;
    om->rotcenter = Point{kSide / 2, kSide / 2};
    om->anchor = Point{200, 600};
    UniStr_To_OM(*om, text.c_str());
    a_text_unit u = Disc();
    for (auto _ : state) {
        OM_Recalc_On(*om, 1, u);
        benchmark::DoNotOptimize(om->xyl[1].mm_x);
    }
    state.counters["x_memcpy"] = benchmark::Counter(double(state.iterations()) * Memcpy_Seconds(),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Text_Circular_200(benchmark::State& state) {
    std::u16string text;
    while (text.size() < 200) text += u"Summer Holiday 2026 ";
    text.resize(200);
    Lay_Out(state, LAYOUT_CIRC_CW, text, 14);
}
BENCHMARK(BM_Text_Circular_200)->Unit(benchmark::kMicrosecond);

void BM_Text_Contour_Four_Lines(benchmark::State& state) {
    std::u16string text = u"01 Morning Song 3:12\r02 The Long Road Home 4:45\r"
                          u"03 Harbour Lights 5:01\r04 Summer Holiday 3:58";
    Lay_Out(state, LAYOUT_CONTOUR, text, 18);
}
BENCHMARK(BM_Text_Contour_Four_Lines)->Unit(benchmark::kMicrosecond);

}  // namespace
