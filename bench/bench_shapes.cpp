// Unit shapes on the disc design surface (1200 x 1200): the outer mask fill
// of a disc (its complement region painted into an 8-bit mask, as the unit
// renderer does) against a memset of the same bytes, and a whole shape
// picture as `cirquel-cli shape` draws it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/port.h"
#include "platform/region.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shape_view.h"
#include "templates/shapes.h"

namespace {

constexpr int kSide = 1200;

// Unit 1 of "A-ONE 29125": a 118 mm disc with a 41 mm hole and 2 mm of bleed.
a_unit Disc() {
    static a_template t;
    if (t.nunits == 0) Expand_Template(TList_Get(Find_Template("A-ONE 29125")), t);
    return t.units[1];
}

a_port_bits Bits(std::vector<uint8_t>& mem, int depth) {
    a_port_bits bits;
    bits.depth = int16_t(depth);
    bits.rowbytes = kSide * depth / 8;
    bits.bounds = Rect{0, 0, kSide, kSide};
    mem.assign(size_t(bits.rowbytes) * kSide, 0);
    bits.base = mem.data();
    return bits;
}

void BM_Outer_Mask_Fill(benchmark::State& state) {
    std::vector<uint8_t> mem;
    a_port* port = Port_New(Bits(mem, 8));
    a_port* saved = Port_Get();
    Port_Set(port);
    a_region_ptr rgn = Make_Region();
    a_region_ptr not_rgn = Make_Region();
    const Rect bounds{0, 0, kSide, kSide};
    Calc_Hole_Rgns(not_rgn.get(), rgn.get(), bounds, Calc_Print_Unit(Disc(), true), true);
    RGBForeColor(Port_RGB(30, 30, 30));  // index 225 of the mask table
    for (auto _ : state) {
        PaintRgn(not_rgn.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(mem.size()));
    Port_Set(saved);
    Port_Dispose(port);
}
BENCHMARK(BM_Outer_Mask_Fill)->Unit(benchmark::kMicrosecond);

void BM_Memset_Mask(benchmark::State& state) {
    std::vector<uint8_t> mem(size_t(kSide) * kSide);
    for (auto _ : state) {
        std::memset(mem.data(), 225, mem.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(mem.size()));
}
BENCHMARK(BM_Memset_Mask)->Unit(benchmark::kMicrosecond);

void BM_Hole_Regions(benchmark::State& state) {
    a_region_ptr rgn = Make_Region();
    a_region_ptr not_rgn = Make_Region();
    const Rect bounds{0, 0, kSide, kSide};
    for (auto _ : state) {
        Calc_Hole_Rgns(not_rgn.get(), rgn.get(), bounds, Calc_Print_Unit(Disc(), true), true);
        benchmark::DoNotOptimize(Rgn_IsEmpty(rgn.get()));
    }
}
BENCHMARK(BM_Hole_Regions)->Unit(benchmark::kMicrosecond);

void BM_Shape_View_Disc(benchmark::State& state) {
    std::vector<uint8_t> mem;
    a_port_bits bits = Bits(mem, 32);
    a_shape_view_options options;
    options.holes = options.cutlines = true;
    for (auto _ : state) {
        Draw_Shape_View(Disc(), options, bits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Shape_View_Disc)->Unit(benchmark::kMillisecond);

}  // namespace
