// The art database: opening the shipped file, key lookup across a main and a
// patch database, and picture loads. The physical limit beside each load is
// a memcpy of the decoded bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "artdb/art_writer.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "bench_check.h"
#include "platform/files.h"
#include "shell/art_startup.h"

namespace {

std::string Shipped_Database() {
    std::string path;
    if (Art_Open_Main(Art_Search_Folders(), path) != OPEN_OKAY) return {};
    OP_Init();
    return path;
}

void BM_Open_Shipped_Database(benchmark::State& state) {
    std::string path = Shipped_Database();
    if (path.empty()) {
        state.SkipWithError("no Cirquel.ART4 built");
        return;
    }
    for (auto _ : state) {
        if (OP_OpenFile(path) != OPEN_OKAY) state.SkipWithError("cannot open");
        OP_CloseNewest();
    }
    state.counters["records"] = 0;
    Bench_Must(OP_OpenFile(path) == OPEN_OKAY, "opening the database");
    state.counters["records"] = Map_Count(1);
    OP_Init();
}
BENCHMARK(BM_Open_Shipped_Database)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> Database(int n, int16_t category) {
    std::vector<a_db_entry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back({a_keyset{category, int16_t(i / 100), int16_t(i % 100), 1}, {1, 2, 3}});
    std::vector<uint8_t> file;
    std::string error;
    Bench_Must(Build_Database(entries, file, error), "building a database");
    return file;
}

void BM_Map_Find(benchmark::State& state) {
    OP_Init();
    std::vector<uint8_t> main_db = Database(4000, 2), patch = Database(10, 8);
    Bench_Must(OP_OpenMemory(main_db.data(), main_db.size()) == OPEN_OKAY, "opening a database");
    Bench_Must(OP_OpenMemory(patch.data(), patch.size()) == OPEN_OKAY, "opening a database");
    std::mt19937 rng(1);
    std::vector<a_keyset> keys(1024);
    for (a_keyset& k : keys) k = a_keyset{2, int16_t(rng() % 40), int16_t(rng() % 100), 1};
    size_t i = 0;
    for (auto _ : state) {
        int index = 0, filex = 0;
        benchmark::DoNotOptimize(Map_Find(index, filex, keys[i++ & 1023]));
    }
    OP_Init();
}
BENCHMARK(BM_Map_Find)->Unit(benchmark::kNanosecond);

// A photographic 640 × 640 canvas (JPEG) and a 256 × 256 flat stamp (PackBits).
std::vector<uint8_t> Picture(int w, int h, bool photo, a_pixt_codec codec) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    std::mt19937 rng(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            if (photo) {
                double v = 128 + 60 * std::sin(x / 23.0) * std::cos(y / 31.0) + double(rng() % 24);
                p[0] = uint8_t(v), p[1] = uint8_t(255 - v), p[2] = uint8_t((x + y) / 5);
            } else {
                bool in = std::hypot(x - w / 2, y - h / 2) < w / 3;
                p[0] = in ? 40 : 255, p[1] = in ? 90 : 255, p[2] = in ? 200 : 255;
            }
            p[3] = 255;
        }
    a_pixt_source s{w, h, 32, size_t(w) * 4, px.data(), 0};
    std::vector<uint8_t> rec;
    std::string error;
    Bench_Must(Encode_Picture(s, codec, 85, rec, error), "encoding a picture");
    return rec;
}

std::string g_pictures_path;

void Open_Pictures() {
    OP_Init();
    if (g_pictures_path.empty()) {
        g_pictures_path =
            (std::filesystem::path(Temp_Folder()) / "cirquel-bench-art.ART4").string();
        std::string error;
        Bench_Must(Save_Database(g_pictures_path,
                      {{a_keyset{2, 0, 1, 2}, Picture(640, 640, true, a_pixt_codec::JPEG)},
                       {a_keyset{8, 0, 0, 1}, Picture(256, 256, false, a_pixt_codec::PACKBITS)}},
                                 error),
                   "saving the picture database");
    }
    Bench_Must(OP_OpenFile(g_pictures_path) == OPEN_OKAY, "opening the picture database");
}

void Load_Picture(benchmark::State& state, a_keyset key) {
    Open_Pictures();
    a_pixt p;
    for (auto _ : state) {
        KPixt_Load(p, key);
        benchmark::DoNotOptimize(p.pixmap.baseAddr);
        Pixt_Unload(p);
    }
    KPixt_Load(p, key);
    state.SetBytesProcessed(state.iterations() * int64_t(p.len));
    state.counters["record_bytes"] = OP_Size(key);
    Pixt_Unload(p);
    OP_Init();
}

void BM_KPixt_Load_Jpeg_640(benchmark::State& state) {
    Load_Picture(state, {2, 0, 1, 2});
}
BENCHMARK(BM_KPixt_Load_Jpeg_640)->Unit(benchmark::kMillisecond);

void BM_KPixt_Load_PackBits_256(benchmark::State& state) {
    Load_Picture(state, {8, 0, 0, 1});
}
BENCHMARK(BM_KPixt_Load_PackBits_256)->Unit(benchmark::kMicrosecond);

void BM_Copy_Decoded_640(benchmark::State& state) {
    std::vector<uint8_t> src(640 * 640 * 4, 1), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(src.size()));
}
BENCHMARK(BM_Copy_Decoded_640)->Unit(benchmark::kMicrosecond);

}  // namespace
