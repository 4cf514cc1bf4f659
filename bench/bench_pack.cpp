// Collage packs on a 1200 x 1200 disc: twenty camera photos of 2400 x 1800
// poured into a two-ring collage (each file decoded, reduced to a shorter
// side of 600 and put in its slot), and one step of a pack slider on a
// 16-slot ring full of photos followed by the screen recomposite.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench_check.h"
#include "images/image_files.h"
#include "images/pack.h"
#include "model/document.h"
#include "pixels/syspix.h"
#include "platform/files.h"
#include "render/compositor.h"
#include "render/effects_cache.h"
#include "templates/template.h"

namespace {

// Twenty JPEG files of 2400 x 1800, written once.
const std::vector<std::string>& Camera_Files() {
    static std::vector<std::string> files;
    if (!files.empty()) return files;
    for (int k = 0; k < 20; ++k) {
        const Rect r{0, 0, 1800, 2400};
        a_gworld_ptr w = Make_GWorld(32, r);
        Bench_Must(w != nullptr, "making a photo");
        for (int y = 0; y < 1800; ++y) {
            uint32_t* c = reinterpret_cast<uint32_t*>(PixMap_Row(w->pix, y));
            for (int x = 0; x < 2400; ++x)
                c[x] = (uint32_t(x / 7 + k * 13) & 0xFF) | (uint32_t(y / 5) & 0xFF) << 8 | uint32_t(k * 11) << 16;
        }
        files.push_back(Temp_Folder() + "/cirquel-bench-pack-" + std::to_string(k) + ".jpg");
        Bench_Must(Export_World(FMT_JPEG, 300, files.back(), w.get()) == 0, "writing a JPEG");
    }
    return files;
}

struct a_disc_doc {
    a_disc_doc() {
        auto t = std::make_unique<a_template>();
        t->nunits = 1;
        t->units[1].kind = UNIT_CD;
        t->units[1].bbox = {0, 0, 120, 120};
        t->units[1].meas[0] = 41;
        Doc_New(*t);
        g_merge_zoom = a_ratio{};
    }
    ~a_disc_doc() {
        if (Pack_Active()) (void)Pack_Cancel();
        Doc_Dispose();
        Cache_Clear();
    }
};

GWorld* Merge() {
    Rect b;
    GWorld* w = nullptr;
    Current_Unit_Merge_Check(b, w);
    return w;
}

template <typename F>
void Timed(benchmark::State& state, F step) {
    double best = 1e9;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        step();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["best_ms"] = best * 1000;
}

void BM_Pack_Pour_20_Camera_Photos(benchmark::State& state) {
    const std::vector<std::string>& files = Camera_Files();
    a_disc_doc doc;
    a_pack_spec spec;
    spec.packkind = PACK_CLOCK2;
    spec.clock_nouter = 12, spec.clock_ninner = 8;
    double best = 1e9;
    for (auto _ : state) {
        Pack_Enter(0);
        Delta_Pack(spec);
        auto t0 = std::chrono::steady_clock::now();
        const a_pack_get_result r = Pack_Get(files);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        Bench_Must(r.placed == 20, "pouring the photos");
        (void)Pack_Cancel();
    }
    state.counters["best_ms"] = best * 1000;
}
BENCHMARK(BM_Pack_Pour_20_Camera_Photos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The spacing slider stepped back and forth on a 16-slot ring of photos:
// every slot's region is rebuilt and repainted, and the screen recomposed.
void BM_Pack_Slider_Step_16_Slots(benchmark::State& state) {
    const std::vector<std::string>& files = Camera_Files();
    a_disc_doc doc;
    a_pack_spec spec;
    spec.packkind = PACK_CLOCK1;
    spec.clock_nouter = 16;
    Pack_Enter(0);
    Delta_Pack(spec);
    std::vector<std::string> sixteen(files.begin(), files.begin() + 16);
    Bench_Must(Pack_Get(sixteen).placed == 16, "pouring the photos");
    Merge();  // the slot pictures made once, as after the first view
    int step = 1;
    Timed(state, [&] {
        spec.clock_spacing = int16_t(3 + step);
        step = -step;
        Delta_Pack(spec);
        benchmark::DoNotOptimize(Merge());
    });
}
BENCHMARK(BM_Pack_Slider_Step_16_Slots)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
