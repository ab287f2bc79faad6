// Calculation benchmarks: CalcMain on a realistic design with the 26 built-in sections (in one
// ground layer and in ten) and with 30 sections of every kind, the growth with 0 to 30 sections
// per catalogue, the section passes alone and the rounding rule. Only the calculation's own
// interface, so that the same file measures an older build side by side (bench/compare_speed.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench_designs.h"
#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "calc/sections.h"
#include "design_generator.h"
#include "model/design.h"

namespace {

using namespace kuvelt;
using bench::SandChannel;

void BM_CalcMainBuiltInSections(benchmark::State& state) {
    SandChannel();
    for (auto _ : state) {
        const bool ok = CalcMain();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("calculation failed");
    }
    state.counters["sections"] = gInpSectC.Count() + gInpSectLS.Count() + gInpSectS.Count();
}
BENCHMARK(BM_CalcMainBuiltInSections)->Unit(benchmark::kMicrosecond);

// The same wall and sections in ten ground layers: the layer tables hold a piece of every layer
// and each pass solves for β in the averaged Kh; to be compared with the one-layer run above.
void BM_CalcMainTenLayers(benchmark::State& state) {
    bench::SandChannelTenLayers();
    for (auto _ : state) {
        const bool ok = CalcMain();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("calculation failed");
    }
    state.counters["sections"] = gInpSectC.Count() + gInpSectLS.Count() + gInpSectS.Count();
    state.counters["layers"] = static_cast<double>(gInpJiban.Layers.size() + 1);
}
BENCHMARK(BM_CalcMainTenLayers)->Unit(benchmark::kMicrosecond);

// The section passes alone, on the loads of one calculation run.
void BM_CalcSectionsBuiltIn(benchmark::State& state) {
    SandChannel();
    if (!CalcMain()) std::abort();
    for (auto _ : state) {
        const bool ok = CalcSections();
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_CalcSectionsBuiltIn)->Unit(benchmark::kMicrosecond);

void BM_RoundHalfUp(benchmark::State& state) {
    double x = 1.23456;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RoundHalfUp(x, 3));
        x += 0.000123;
    }
}
BENCHMARK(BM_RoundHalfUp);

void BM_CalcMainThirtySectionsEach(benchmark::State& state) {
    SandChannel();
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    for (int i = 0; i < 30; ++i) {
        gInpSectC.Add("C", i % 3, 1040 + 100 * i, 5.4 + i, 2.0, 4.0 + 0.5 * i);
        gInpSectLS.Add("LS", 85.1 + 200 * i, 48.6 + 20 * i, 41.1 + 150 * i, 24.9 + 15 * i);
        gInpSectS.Add("S", 4500 + 3000 * i, 529 + 120 * i, 3420 + 2600 * i, 402 + 110 * i);
    }
    for (auto _ : state) {
        const bool ok = CalcMain();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("calculation failed");
    }
}
BENCHMARK(BM_CalcMainThirtySectionsEach)->Unit(benchmark::kMicrosecond);

// ---- Catalogue growth --------------------------------------------------------------------------
// The same wall with 0, 1, 5, 10, 20 and 30 sections in each of the three catalogues: the section
// passes run Chang's method once per section, so the time per design should grow linearly with
// the rows and be flat apart from that.

const std::vector<int64_t> kCatalogueRows = {0, 1, 5, 10, 20, 30};

void BM_CalcMainCatalogueRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    load::PlausibleDesignWithCatalogues(rows);
    for (auto _ : state) {
        const bool ok = CalcMain();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("calculation failed");
    }
    state.counters["rows_per_kind"] = rows;
    state.counters["sections"] = gInpSectC.Count() + gInpSectLS.Count() + gInpSectS.Count();
    InitData();
}
BENCHMARK(BM_CalcMainCatalogueRows)->ArgsProduct({kCatalogueRows})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
