// The effects cache and pipeline, and canvas rendering. The effect chain is
// measured beside ImageMagick doing the nearest equivalent (resize, rotate,
// shadow) on the same picture in the same run; bench/setup installs it.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "artdb/art_writer.h"
#include "artdb/database.h"
#include "model/document.h"
#include "platform/files.h"
#include "render/canvas.h"
#include "render/effects.h"
#include "render/effects_cache.h"
#include "pixels/syspix.h"
#include "bench_check.h"

namespace {

// A photo-sized picture with detail everywhere, so that no stage takes a
// shortcut on flat colour.
a_masked_gworld_owner Photo(int w, int h) {
    a_masked_gworld_owner owner;
    a_masked_gworld& mw = *owner;
    mw.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    New_GWorldF("bench", mw.bounds, 32, nullptr, mw.fore);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(mw.fore->pix, y));
        for (int x = 0; x < w; ++x)
            row[x] = uint32_t((x * 255 / w) << 16 | (y * 255 / h) << 8 | ((x ^ y) & 0xFF));
    }
    return owner;
}

a_spec Chain_Spec() {
    a_spec s;
    Null_Spec(s);
    s.scalingh = s.scalingv = 500;
    s.angle = 450;
    s.edge_kind = EDGE_SCALLOP;
    s.shadf = true;
    s.opacity = 80;
    return s;
}

void BM_Cache_Hit_Hintx(benchmark::State& state) {
    Cache_Clear();
    a_source_desc src;
    src.kind = SOURCE_CLIPBOARD;
    a_masked_gworld body = Photo(64, 48).release();  // the cache takes it over
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(src, body, raw);
    // Entries ahead of it, so that a miss of the hint would show as a scan.
    for (int i = 0; i < 200; ++i) {
        a_spec other;
        Null_Spec(other);
        other.source = src;
        other.darkness = int16_t(i % 100);
        other.opacity = int16_t(6 + i / 100);
        a_cache_result c;
        Cache_Get(FOR_SCREEN, other, c);
    }
    a_spec s;
    Null_Spec(s);
    s.source = src;
    s.angle = 300;
    a_cache_result c;
    Cache_Get(FOR_SCREEN, s, c);
    for (auto _ : state) {
        Cache_Get(FOR_SCREEN, s, c);
        benchmark::DoNotOptimize(c.body.fore);
    }
    Cache_Clear();
}
BENCHMARK(BM_Cache_Hit_Hintx)->Unit(benchmark::kNanosecond);

// Seconds of one run of a shell command; negative when it fails.
double Command_Seconds(const std::string& cmd) {
    auto t0 = std::chrono::steady_clock::now();
    int rc = std::system(cmd.c_str());
    auto t1 = std::chrono::steady_clock::now();
    return rc == 0 ? std::chrono::duration<double>(t1 - t0).count() : -1;
}

// The best of `n` runs, so that a run slowed by the neighbours counts less;
// negative when the command fails.
double Best_Seconds(const std::string& cmd, int n) {
    double best = -1;
    for (int i = 0; i < n; ++i) {
        double t = Command_Seconds(cmd);
        if (t < 0) return -1;
        if (best < 0 || t < best) best = t;
    }
    return best;
}

// ImageMagick's nearest equivalent of Chain_Spec on `in`, the whole process.
std::string ImageMagick_Command(const std::string& convert, const std::string& in) {
    return convert + " " + in +
           " -resize 50% -background none -rotate 45"
           " \\( +clone -background black -shadow 75x2+4+4 \\) +swap"
           " -background none -layers merge +repage -channel A -evaluate multiply 0.8"
           " +channel miff:/dev/null 2>/dev/null";
}

// cirquel-cli doing Chain_Spec on `in`, written as the PNG a person looks at.
std::string Cli_Command(const std::string& in, const std::string& out) {
    return std::string(CIRQUEL_CLI) + " effect " + in +
           " --purpose print --set scalingh=500 --set scalingv=500 --set angle=450"
           " --set edge_kind=2 --set shadf=1 --set opacity=80 -o " + out + " >/dev/null 2>&1";
}

// A binary PPM: the cheapest file for ImageMagick to read, so that its time
// is spent on the effects.
void Write_PPM(const a_masked_gworld& mw, const std::string& path) {
    int w = Rect_Width(mw.bounds), h = Rect_Height(mw.bounds);
    std::string head = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
    std::vector<uint8_t> bytes(head.begin(), head.end());
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = PixMap_Row(mw.fore->pix, y);
        for (int x = 0; x < w; ++x) {
            bytes.push_back(row[4 * x + 2]);
            bytes.push_back(row[4 * x + 1]);
            bytes.push_back(row[4 * x]);
        }
    }
    Bench_Must(File_SaveAtomic(path, bytes.data(), bytes.size(), nullptr), "saving a file");
}

std::string Find_Convert() {
    for (const char* p : {"/usr/bin/convert", "/usr/bin/magick"})
        if (access(p, X_OK) == 0) return p;
    return {};
}

// ImageMagick's best time on the photo, in the same run as ours; negative
// (with a label saying why) when it cannot run.
double Peer_Seconds(benchmark::State& state, const std::string& ppm) {
    std::string convert = Find_Convert();
    if (convert.empty()) {
        state.SetLabel("ImageMagick not installed (bench/setup)");
        return -1;
    }
    double best = Best_Seconds(ImageMagick_Command(convert, ppm), 3);
    if (best > 0) state.counters["imagemagick_ms"] = best * 1000;
    return best;
}

// The chain alone, in memory.
void BM_Effect_Chain_2400x1800(benchmark::State& state) {
    a_masked_gworld_owner photo = Photo(2400, 1800);
    a_spec s = Chain_Spec();
    double best = 1e9;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        a_masked_gworld_owner body, shad;
        Apply_Effects(FOR_PRINTING, s, *photo, *body, *shad);
        benchmark::DoNotOptimize(body->fore);
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    std::string ppm = Temp_Folder() + "/cirquel-bench-photo.ppm";
    Write_PPM(*photo, ppm);
    double peer = Peer_Seconds(state, ppm);
    (void)File_Remove(ppm);  // a leftover temporary file changes no measurement
    state.counters["best_ms"] = best * 1000;
    if (peer > 0) state.counters["ratio_to_imagemagick"] = best / peer;
}
BENCHMARK(BM_Effect_Chain_2400x1800)->Unit(benchmark::kMillisecond)->UseRealTime();

// `cirquel-cli effect` as a whole process: reading the picture, the chain
// and the PNG written, beside ImageMagick reading the same file.
void BM_Effect_CLI_2400x1800(benchmark::State& state) {
    a_masked_gworld_owner photo = Photo(2400, 1800);
    std::string ppm = Temp_Folder() + "/cirquel-bench-cli.ppm";
    std::string png = Temp_Folder() + "/cirquel-bench-cli.png";
    Write_PPM(*photo, ppm);
    photo.reset();
    std::string cmd = Cli_Command(ppm, png);
    double best = 1e9;
    for (auto _ : state) {
        double t = Command_Seconds(cmd);
        Bench_Must(t > 0, "running cirquel-cli effect");
        best = std::min(best, t);
    }
    double peer = Peer_Seconds(state, ppm);
    (void)File_Remove(ppm);  // leftover temporary files change no measurement
    (void)File_Remove(png);
    state.counters["best_ms"] = best * 1000;
    if (peer > 0) state.counters["ratio_to_imagemagick"] = best / peer;
}
BENCHMARK(BM_Effect_CLI_2400x1800)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A canvas database of one disc picture, open while the benchmark runs.
void BM_Canvas_Render_1200(benchmark::State& state) {
    std::vector<uint8_t> px(size_t(640) * 640 * 4);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 7 / 5);
    a_pixt_source src;
    src.width = src.height = 640;
    src.depth = 32;
    src.stride = 640 * 4;
    src.pixels = px.data();
    std::vector<uint8_t> pic, thumb, file;
    std::string error;
    Bench_Must(Encode_Picture(src, a_pixt_codec::RAW, 90, pic, error), "encoding a picture");
    a_pixt_source t = src;
    t.width = t.height = 4;
    Bench_Must(Encode_Picture(t, a_pixt_codec::RAW, 90, thumb, error), "encoding a picture");
    std::vector<a_db_entry> entries(2);
    entries[0].key = a_keyset{1, 0, 401, 1};
    entries[0].data = pic;
    entries[1].key = a_keyset{2, 0, 401, 1};
    entries[1].data = thumb;
    Bench_Must(Build_Database(entries, file, error), "building a database");
    Bench_Must(OP_OpenMemory(file.data(), file.size()) == OPEN_OKAY, "opening a database");
    a_gworld_ptr dst = Make_GWorld(32, Rect{0, 0, 1200, 1200});
    a_cached_canvas canv;
    Init_CV(canv.cv);
    canv.cv.canvas_key = a_keyset{2, 0, 401, 1};
    canv.cv.canvas_darkness = 40;
    for (auto _ : state) {
        Render_Canvas(dst->pix.bounds, dst.get(), canv, UNIT_CD, false, true);
        benchmark::ClobberMemory();
    }
    OP_CloseNewest();
    Cache_Clear();
}
BENCHMARK(BM_Canvas_Render_1200)->Unit(benchmark::kMillisecond);

}  // namespace
