// Working-list build and template expansion. The physical limit reported
// beside the list build is a memcpy of the same catalogue bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench_check.h"
#include <vector>

#include "shell/startup.h"
#include "templates/catalogue.h"
#include "templates/catalogue_table.h"
#include "templates/expand.h"

namespace {

void BM_Build_Template_List(benchmark::State& state) {
    for (auto _ : state) {
        Build_Template_List();
        benchmark::DoNotOptimize(TList_Count());
    }
    state.SetItemsProcessed(state.iterations() * Catalogue_Count());
}
BENCHMARK(BM_Build_Template_List)->Unit(benchmark::kMillisecond);

void BM_Copy_Catalogue_Bytes(benchmark::State& state) {
    std::vector<char> dst(size_t(Catalogue_Count()) * sizeof(a_ctemplate));
    for (auto _ : state) {
        std::memcpy(dst.data(), g_catalogue_bytes, dst.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(dst.size()));
}
BENCHMARK(BM_Copy_Catalogue_Bytes)->Unit(benchmark::kMicrosecond);

void BM_Expand_All(benchmark::State& state) {
    static a_template t;
    for (auto _ : state) {
        for (int i = 1; i <= TList_Count(); ++i) {
            Expand_Template(TList_Get(i), t);
            benchmark::DoNotOptimize(t.nunits);
        }
    }
    state.SetItemsProcessed(state.iterations() * TList_Count());
}
BENCHMARK(BM_Expand_All)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Bench_Must(Shell_Start(a_startup_options{true}), "starting the modules");
    benchmark::RunSpecifiedBenchmarks();
    Shell_Stop();
    return 0;
}
