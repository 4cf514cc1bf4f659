// Generation of the whole shipped art set, as the build step runs it, and of
// its slowest family (the canvases) alone. Iterations are few: one run takes
// seconds.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "art_families.h"
#include "art_items.h"

namespace {

const std::string DATA = std::string(CIRQUEL_SOURCE_DIR) + "/data/art/";

void BM_Art_Generate_All(benchmark::State& state) {
    size_t count = 0;
    for (auto _ : state) {
        std::vector<a_art_item> items;
        std::string error;
        if (!Art_Generate_All(DATA, items, error)) state.SkipWithError(error.c_str());
        count = items.size();
    }
    state.counters["items"] = double(count);
}
BENCHMARK(BM_Art_Generate_All)->Unit(benchmark::kSecond)->Iterations(2);

void BM_Art_Generate_Canvases(benchmark::State& state) {
    std::vector<a_art_recipe> recipes;
    std::string error;
    if (!Art_Read_Recipes(DATA + "canvases.txt", recipes, error)) state.SkipWithError(error.c_str());
    for (auto _ : state) {
        std::vector<a_art_item> items;
        if (!Art_Gen_Canvases(recipes, items, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(items.data());
    }
}
BENCHMARK(BM_Art_Generate_Canvases)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
