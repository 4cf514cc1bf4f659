// Blits, rotation and region fills on the disc design surface (1200 x 1200,
// 32-bit). Each reports MB/s of destination bytes and, as x_memcpy, the ratio
// to memcpy of the same number of bytes measured in this run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "platform/port.h"
#include "platform/region.h"
#include "pixels/blit.h"
#include "pixels/gworld.h"
#include "pixels/syspix.h"

namespace {

constexpr int kSide = 1200;

// CPU time of this thread: the machine is shared, and the benchmark library
// reports rates per CPU second too.
double Thread_Seconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Bytes per CPU second of memcpy over n bytes: the best of a few rounds.
double Memcpy_Rate(size_t n) {
    static std::map<size_t, double> cache;
    auto it = cache.find(n);
    if (it != cache.end()) return it->second;
    std::vector<uint8_t> a(n, 1), b(n, 2);
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        double t0 = Thread_Seconds();
        const int reps = 20;
        for (int i = 0; i < reps; ++i) {
            std::memcpy(b.data(), a.data(), n);
            benchmark::ClobberMemory();
        }
        double s = Thread_Seconds() - t0;
        best = std::max(best, double(n) * reps / s);
    }
    return cache[n] = best;
}

void Report(benchmark::State& state, size_t bytes) {
    int64_t total = int64_t(state.iterations()) * int64_t(bytes);
    state.SetBytesProcessed(total);
    state.counters["x_memcpy"] =
        benchmark::Counter(double(total) / Memcpy_Rate(bytes), benchmark::Counter::kIsRate);
}

// A map of random bytes.
a_pixmap_owner Random_Map(int w, int h, int depth, CTabHandle ctab = nullptr) {
    a_pixmap_owner m = Make_PixMap(Rect{0, 0, int16_t(h), int16_t(w)}, depth, ctab);
    std::mt19937 rng(1);
    for (size_t i = 0; i < PixMap_Len(*m); ++i) m->baseAddr[i] = uint8_t(rng());
    return m;
}

void Blt32(benchmark::State& state, int mode, int dw, int dh) {
    a_pixmap_owner src = Random_Map(kSide, kSide, 32);
    a_pixmap_owner dst = Random_Map(dw, dh, 32);
    if (mode == transparent)  // a third of the pixels white
        for (size_t i = 0; i < PixMap_Len(*src); i += 12) std::memset(src->baseAddr + i, 0xFF, 3);
    a_blend_scope weight(50);
    for (auto _ : state) {
        Pix_To_Pix(*src, *dst, src->bounds, dst->bounds, mode, nullptr);
        benchmark::ClobberMemory();
    }
    Report(state, PixMap_Len(*dst));
}

void BM_Memcpy(benchmark::State& state) {
    size_t n = size_t(kSide) * kSide * 4;
    std::vector<uint8_t> a(n, 1), b(n, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), n);
        benchmark::ClobberMemory();
    }
    Report(state, n);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_SrcCopy(benchmark::State& state) { Blt32(state, srcCopy, kSide, kSide); }
BENCHMARK(BM_SrcCopy)->Unit(benchmark::kMillisecond);

void BM_Blend(benchmark::State& state) { Blt32(state, blend, kSide, kSide); }
BENCHMARK(BM_Blend)->Unit(benchmark::kMillisecond);

void BM_Transparent(benchmark::State& state) { Blt32(state, transparent, kSide, kSide); }
BENCHMARK(BM_Transparent)->Unit(benchmark::kMillisecond);

void BM_Scaled_To_600(benchmark::State& state) { Blt32(state, srcCopy, 600, 600); }
BENCHMARK(BM_Scaled_To_600)->Unit(benchmark::kMillisecond);

void BM_Scaled_To_2400(benchmark::State& state) { Blt32(state, srcCopy, 2400, 2400); }
BENCHMARK(BM_Scaled_To_2400)->Unit(benchmark::kMillisecond);

void BM_DeepMask(benchmark::State& state) {
    a_pixmap_owner src = Random_Map(kSide, kSide, 32);
    a_pixmap_owner mask = Random_Map(kSide, kSide, 8, gray_ctable);
    a_pixmap_owner dst = Random_Map(kSide, kSide, 32);
    for (auto _ : state) {
        Pix_To_PixM(*src, *mask, *dst, src->bounds, mask->bounds, dst->bounds);
        benchmark::ClobberMemory();
    }
    Report(state, PixMap_Len(*dst));
}
BENCHMARK(BM_DeepMask)->Unit(benchmark::kMillisecond);

void BM_Rotate_Bilinear_30(benchmark::State& state) {
    a_pixmap_owner src = Random_Map(kSide, kSide, 32);
    size_t bytes = 0;
    for (auto _ : state) {
        a_pixmap_owner out;
        PixMap_Rotate(BILINEAR, false, 300, *src, *out);
        bytes = PixMap_Len(*out);
    }
    Report(state, bytes);
}
BENCHMARK(BM_Rotate_Bilinear_30)->Unit(benchmark::kMillisecond);

void BM_Mask8_Transparent(benchmark::State& state) {
    a_pixmap_owner src = Random_Map(kSide, kSide, 8, gray_ctable);
    a_pixmap_owner dst = Random_Map(kSide, kSide, 8, gray_ctable);
    for (auto _ : state) {
        Pix_To_Pix(*src, *dst, src->bounds, dst->bounds, transparent, nullptr);
        benchmark::ClobberMemory();
    }
    Report(state, PixMap_Len(*dst));
}
BENCHMARK(BM_Mask8_Transparent)->Unit(benchmark::kMillisecond);

// A disc with its centre hole, painted through the drawing port.
void BM_Region_Fill_Disc(benchmark::State& state) {
    a_gworld_ptr w = Make_GWorld(32, Rect{0, 0, kSide, kSide});
    a_region_ptr disc = Make_Region();
    a_region_ptr hole = Make_Region();
    Rgn_SetOval(disc.get(), Rect{0, 0, kSide, kSide});
    Rgn_SetOval(hole.get(), Rect{395, 395, 805, 805});  // 41 mm of a 120 mm disc
    Rgn_Diff(disc.get(), hole.get(), disc.get());
    {
        a_port_scope port(w.get());
        RGBForeColor(0x336699);
        for (auto _ : state) {
            PaintRgn(disc.get());
            benchmark::ClobberMemory();
        }
    }
    Report(state, PixMap_Len(w->pix));
}
BENCHMARK(BM_Region_Fill_Disc)->Unit(benchmark::kMillisecond);

}  // namespace
