// Calculation benchmarks: CalcMain on a realistic design with the 26 built-in sections and with
// 30 sections of every kind, the growth with 0 to 30 sections per catalogue (in process and
// through kuvelt-calc --json), and kuvelt-calc --json over a folder of 10,000 varied designs,
// both in-process (per design) and as one run of the executable (wall time and peak memory).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "calc/sections.h"
#include "cli/calc_json.h"
#include "cli/calc_modes.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"

namespace {

namespace fs = std::filesystem;
using namespace kuvelt;

// A 3.5 m channel wall in sand with groundwater and a surcharge behind it.
void SandChannel() {
    InitData();
    gInpJyoken.InpFlg = true;
    gInpJyoken.ELGL = 3.5;
    gInpJyoken.ELYU = 3.5;
    gInpJyoken.ELDL = 0.0;
    gInpJyoken.ELWL = 2.0;
    gInpJyoken.Z = 10.0;
    gInpJyoken.Keijyo = 0;
    gInpJyoken.K0X = 0.0;
    gInpJyoken.K0Q = 10.0;
    gInpJiban.InpFlg = true;
    gInpJiban.Kind = 0;
    gInpJiban.Fai = 30.0;
    gInpJiban.KH = 3000.0;
}

// One run of kuvelt-calc --json on `files` (it sits beside this benchmark in the build's bin
// folder), its output to /dev/null: wall time, the child's own processor time (on a busy machine
// a steadier figure than wall time) and its peak resident memory.
struct ChildRun {
    bool ok = false;  // exited with a status of at most `maxStatus`
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMB = 0;
};

ChildRun RunJsonChild(const std::vector<std::string>& files, int maxStatus) {
    static const std::string exe =
        (fs::read_symlink("/proc/self/exe").parent_path() / "kuvelt-calc").string();
    std::vector<char*> argv;
    static char prog[] = "kuvelt-calc";
    static char json[] = "--json";
    argv.push_back(prog);
    argv.push_back(json);
    for (const auto& f : files) argv.push_back(const_cast<char*>(f.c_str()));
    argv.push_back(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int st = 0;
    struct rusage ru {};
    wait4(pid, &st, 0, &ru);
    ChildRun r;
    r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.ok = WIFEXITED(st) && WEXITSTATUS(st) <= maxStatus;
    r.cpuSeconds = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                   1e-6 * static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec);
    r.peakMB = static_cast<double>(ru.ru_maxrss) / 1024.0;
    return r;
}

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

// What kuvelt-calc --json does for one such file, in process: read, calculate, JSON record.
void BM_JsonInProcessCatalogueRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const fs::path file =
        fs::temp_directory_path() / ("kuvelt-calc-rows-" + std::to_string(getpid()) + ".kvt");
    load::PlausibleDesignWithCatalogues(rows);
    int32_t code = 0;
    if (!WriteData(file.string(), code)) std::abort();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream err;
        if (!cli::LoadDesign(file.string(), err)) std::abort();
        const cli::CalcOutcome o = cli::CalculateCurrentDesign();
        const std::string line = cli::DumpJsonLine(cli::ResultsJson(o.calcMain, o.nekiri));
        bytes = line.size();
        benchmark::DoNotOptimize(line.data());
    }
    state.counters["rows_per_kind"] = rows;
    state.counters["json_bytes"] = static_cast<double>(bytes);
    std::error_code ec;
    fs::remove(file, ec);
    InitData();
}
BENCHMARK(BM_JsonInProcessCatalogueRows)
    ->ArgsProduct({kCatalogueRows})
    ->Unit(benchmark::kMicrosecond);

// kuvelt-calc --json on 500 files of one catalogue size: one process, time per design including
// reading the file and writing the JSON record (which carries every section's results).
void BM_JsonExecutableCatalogueRows(benchmark::State& state) {
    constexpr int kFiles = 500;
    const int rows = static_cast<int>(state.range(0));
    const fs::path dir =
        fs::temp_directory_path() /
        ("kuvelt-calc-rows-" + std::to_string(getpid()) + "-" + std::to_string(rows));
    fs::create_directories(dir);
    load::PlausibleDesignWithCatalogues(rows);
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        files.push_back((dir / (std::to_string(i) + ".kvt")).string());
        int32_t code = 0;
        if (!WriteData(files.back(), code)) std::abort();
    }
    InitData();
    for (auto _ : state) {
        const ChildRun r = RunJsonChild(files, 0);
        state.SetIterationTime(r.wallSeconds / kFiles);
        if (!r.ok) state.SkipWithError("kuvelt-calc failed");
        state.counters["child_cpu_us_per_design"] = r.cpuSeconds * 1e6 / kFiles;
    }
    state.counters["rows_per_kind"] = rows;
    std::error_code ec;
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_JsonExecutableCatalogueRows)
    ->ArgsProduct({kCatalogueRows})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMicrosecond);

// ---- A folder of designs ------------------------------------------------------------------------

constexpr int kDesigns = 10000;

// Varied designs: wall height, water level, surcharge shape, ground kind and strength, subgrade
// reaction and stored choices, from a fixed seed so every run measures the same work.
class DesignFolder {
  public:
    DesignFolder() {
        std::string folder = "kuvelt-calc-bench-";
        folder += std::to_string(getpid());
        dir_ = fs::temp_directory_path() / folder;
        fs::create_directories(dir_);
        std::mt19937 rng(20261209);
        auto u = [&](double lo, double hi) {
            return std::uniform_real_distribution<double>(lo, hi)(rng);
        };
        for (int i = 0; i < kDesigns; ++i) {
            SandChannel();
            CInpJyoken& j = gInpJyoken;
            j.ELGL = std::round(u(1.5, 6.0) * 100) / 100;
            j.ELYU = j.ELGL + std::round(u(0.0, 0.5) * 100) / 100;
            j.ELWL = std::round(u(-1.0, j.ELGL) * 100) / 100;
            j.Z = std::round(u(6.0, 20.0));
            j.Keijyo = i % 3;
            j.K0X = std::round(u(0.0, 3.0) * 10) / 10;
            j.K0Q = std::round(u(0.0, 20.0));
            j.K1m = std::round(u(1.5, 4.0) * 10) / 10;
            j.K1Q = std::round(u(0.0, 10.0));
            j.K2X1 = std::round(u(0.0, 2.0) * 10) / 10;
            j.K2X2 = std::round(u(1.0, 4.0) * 10) / 10;
            j.K2Ho = std::round(u(0.5, 2.0) * 10) / 10;
            j.K2Q = std::round(u(0.0, 10.0));
            j.Nekiri = i % 5 == 0 ? 0 : 1;
            CInpJiban& g = gInpJiban;
            g.Kind = i % 4 == 3 ? 1 : 0;
            g.Fai = std::round(u(25.0, 40.0));
            g.Ca = g.Kind == 1 && i % 8 == 7 ? std::round(u(0.0, 5.0)) : 0.0;
            g.Cb = std::round(u(20.0, 60.0));
            g.KH = std::round(u(1000.0, 20000.0));
            if (i % 2 == 0) {
                gInpYaita = CInpYaita{true, 2, 1 + i % 12, 0.0, 0.0, std::round(u(6, 16))};
            }
            std::string name = std::to_string(i);
            name += ".kvt";
            const std::string path = (dir_ / name).string();
            int32_t code = 0;
            if (!WriteData(path, code)) std::abort();
            files_.push_back(path);
        }
        InitData();
    }
    ~DesignFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const std::vector<std::string>& files() const { return files_; }

  private:
    fs::path dir_;
    std::vector<std::string> files_;
};

const DesignFolder& Folder() {
    static DesignFolder folder;
    return folder;
}

// What "kuvelt-calc --json" does for one file of a batch, without the process around it.
void BM_JsonBatchPerDesign(benchmark::State& state) {
    const auto& files = Folder().files();
    std::size_t i = 0, bytes = 0, failed = 0;
    std::ostringstream sink;
    for (auto _ : state) {
        std::ostringstream err;
        if (!cli::LoadDesign(files[i % files.size()], err)) std::abort();
        const cli::CalcOutcome o = cli::CalculateCurrentDesign();
        failed += o.calcMain ? 0 : 1;
        const std::string line = cli::DumpJsonLine(cli::ResultsJson(o.calcMain, o.nekiri));
        bytes += line.size();
        benchmark::DoNotOptimize(line.data());
        ++i;
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["failed_share"] =
        benchmark::Counter(static_cast<double>(failed) / static_cast<double>(i ? i : 1));
}
BENCHMARK(BM_JsonBatchPerDesign)->Unit(benchmark::kMicrosecond);

// The whole tool on the whole folder: one process, its output to /dev/null. Reports the wall
// time of the run and the child's peak resident memory.
void BM_JsonBatchExecutable(benchmark::State& state) {
    const auto& files = Folder().files();
    for (auto _ : state) {
        const ChildRun r = RunJsonChild(files, 1);
        state.SetIterationTime(r.wallSeconds);
        if (!r.ok) state.SkipWithError("kuvelt-calc failed");
        state.counters["cpu_s"] = r.cpuSeconds;
        state.counters["peak_MB"] = r.peakMB;
        state.counters["us_per_design"] = r.wallSeconds * 1e6 / static_cast<double>(files.size());
    }
}
BENCHMARK(BM_JsonBatchExecutable)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
