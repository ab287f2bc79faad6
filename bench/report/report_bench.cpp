// Report generation as the print menu does it when it opens: every chapter of an example design
// written into print files (with the figure files of the load distribution diagram), then the
// combined file of all chapters, then the clean-up that deletes them. Runs from <build>/bin,
// where the report format and style files lie.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/message.h"
#include "report/chapters/print_job.h"
#include "report/chapters/zu_forces.h"

namespace {

using namespace kuvelt;

bool PrepareDesign(const std::string& name, benchmark::State& state) {
    int32_t err = 0;
    if (!ReadData(std::string(KUVELT_SOURCE_DIR) + "/examples/" + name, err)) {
        state.SkipWithError("example design not readable");
        return false;
    }
    std::vector<Message> messages;
    if (!CalcMain(&messages)) {
        state.SkipWithError("calculation failed");
        return false;
    }
    if (!gInpYaita.InpFlg) {
        const ChoiceProposal p = ProposeChoice();
        StoreChoice(p.kind, p.Sect, p.H, p.D, p.L);
    }
    CalcNekiriAntei(&messages);
    return true;
}

void BM_GenerateReport(benchmark::State& state, const char* example) {
    InitPaths();
    if (!PrepareDesign(example, state)) return;
    print_job::Ticks all{};
    const Results results = SnapshotResults();
    for (auto _ : state) {
        const print_job::Generation g = print_job::GenerateReport(results);
        if (g.failure) {
            state.SkipWithError("a chapter failed");
            break;
        }
        for (int i = 0; i < print_job::kItems; ++i)
            all[static_cast<std::size_t>(i)] = i < 4 || g.stabilityEnabled;
        if (print_job::BuildCombinedFile(all)) {
            state.SkipWithError("combined file not written");
            break;
        }
        print_job::CloseReport();
    }
}
BENCHMARK_CAPTURE(BM_GenerateReport, sand_channel, "sand-channel.kvt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GenerateReport, clay_embankment, "clay-embankment.kvt")
    ->Unit(benchmark::kMillisecond);

// The 断面力図 of the chosen pile, as the choice window rebuilds it on every click or length
// typed: the distribution along the pile and the figure's parts with their labels placed.
void BM_ForceFigure(benchmark::State& state, const char* example) {
    InitPaths();
    if (!PrepareDesign(example, state)) return;
    const auto data = basZuForces::FigureDataFor(
        SnapshotResults(), static_cast<PileKind>(gInpYaita.Yaita), gInpYaita.Sect, gInpYaita.L);
    if (!data) {
        state.SkipWithError("no distribution for the chosen pile");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(basZuForces::BuildForceFigure(*data));
}
BENCHMARK_CAPTURE(BM_ForceFigure, sand_channel, "sand-channel.kvt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ForceFigure, clay_increasing, "clay-increasing.kvt")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
