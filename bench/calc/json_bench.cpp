// kuvelt-calc --json benchmarks. In process: one design read, calculated and written as its JSON
// line, per catalogue size and over a folder of varied walls. As a process: the whole tool on
// folders of 2,000 and 10,000 designs (wall time, processor time, peak resident memory), for
// this build's kuvelt-calc and, with --old=PATH, an older one side by side in the same run,
// ending with a table of both and their ratio. --check first makes sure both print the same
// bytes and exit statuses for every design of the folders, as one batch and one file at a time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench_designs.h"
#include "calc/calc_main.h"
#include "cli/calc_json.h"
#include "cli/mode.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"
#include "usecase/design_run.h"

namespace {

namespace fs = std::filesystem;
using namespace kuvelt;
using bench::SandChannel;

std::string gNewExe;  // this build's kuvelt-calc (beside this benchmark)
std::string gOldExe;  // --old=PATH

// One run of a kuvelt-calc on `args`, its output to `outPath`: wall time, the child's own
// processor time (on a busy machine a steadier figure than wall time) and its peak resident
// memory.
struct ChildRun {
    int status = -1;  // -1: not started
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMB = 0;
};

// The peak memory of a child counts the memory of the process it was started from until it
// execs (Linux keeps that high-water mark), and this benchmark holds folders and outputs; so a
// child is started through /usr/bin/time, whose own child starts small, and its figure is taken.
const char* const kTime = "/usr/bin/time";

ChildRun RunChild(const std::string& exe, const std::vector<std::string>& args,
                  const std::string& outPath = "/dev/null") {
    static const bool haveTime = access(kTime, X_OK) == 0;
    const std::string peakFile =
        (fs::temp_directory_path() / ("kuvelt-json-bench-peak-" + std::to_string(getpid())))
            .string();
    std::vector<std::string> words;
    if (haveTime) words = {kTime, "-f", "%M", "-o", peakFile};
    words.push_back(exe);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    ChildRun r;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return r;
    int st = 0;
    struct rusage ru {};  // the child's own and, through /usr/bin/time, kuvelt-calc's
    wait4(pid, &st, 0, &ru);
    r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    r.cpuSeconds = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                   1e-6 * static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec);
    r.peakMB = static_cast<double>(ru.ru_maxrss) / 1024.0;
    if (haveTime) {
        // The last line ("Command exited with non-zero status 1" may come first).
        std::ifstream in(peakFile);
        std::string line, last;
        while (std::getline(in, line)) {
            if (!line.empty()) last = line;
        }
        r.peakMB = std::atof(last.c_str()) / 1024.0;
        std::error_code ec;
        fs::remove(peakFile, ec);
    }
    return r;
}

std::vector<std::string> JsonArgs(const std::vector<std::string>& files, std::size_t n) {
    std::vector<std::string> a{"--json"};
    a.insert(a.end(), files.begin(), files.begin() + static_cast<std::ptrdiff_t>(n));
    return a;
}

fs::path PrivateDir(const std::string& what) {
    const fs::path dir =
        fs::temp_directory_path() / ("kuvelt-json-bench-" + what + "-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir;
}

// ---- Folders of designs -------------------------------------------------------------------------

class Folder {
  public:
    explicit Folder(const std::string& what) : dir_(PrivateDir(what)) {}
    ~Folder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Add(const std::string& bytes) {
        const std::string path = (dir_ / (std::to_string(files_.size()) + ".kvt")).string();
        std::ofstream(path, std::ios::binary) << bytes;
        files_.push_back(path);
    }
    void AddCurrentDesign() {
        const std::string path = (dir_ / (std::to_string(files_.size()) + ".kvt")).string();
        int32_t code = 0;
        if (!WriteData(path, code)) std::abort();
        files_.push_back(path);
    }
    const std::vector<std::string>& files() const { return files_; }

  private:
    fs::path dir_;
    std::vector<std::string> files_;
};

// The load tests' series: valid walls, values out of range, huge and non-finite numbers,
// degenerate layers and malformed files, in the generator's mix.
const Folder& Generated() {
    static const Folder folder = [] {
        Folder f("generated");
        for (uint64_t i = 0; i < 2000; ++i) f.Add(load::GenerateDesign(20261209, i).bytes);
        InitData();
        return f;
    }();
    return folder;
}

// 10,000 plausible walls: height, water level, surcharge shape, ground kind and strength,
// subgrade reaction and stored choices, from a fixed seed so every run measures the same work.
const Folder& Walls() {
    static const Folder folder = [] {
        Folder f("walls");
        std::mt19937 rng(20261209);
        auto u = [&](double lo, double hi) {
            return std::uniform_real_distribution<double>(lo, hi)(rng);
        };
        for (int i = 0; i < 10000; ++i) {
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
            f.AddCurrentDesign();
        }
        InitData();
        return f;
    }();
    return folder;
}

// ---- In process ---------------------------------------------------------------------------------

// What kuvelt-calc --json does for one design of a batch: read, calculate, JSON line.
std::size_t JsonOfOneFile(const std::string& file) {
    std::ostringstream err;
    if (!cli::LoadDesign(file, err)) std::abort();
    const usecase::DesignRun r = usecase::RunDesign(usecase::PickRequest{});
    const std::string line = cli::ResultsJsonLine(file, r.calc);
    benchmark::DoNotOptimize(line.data());
    return line.size();
}

const std::vector<int64_t> kCatalogueRows = {0, 1, 5, 10, 20, 30};

void BM_JsonInProcessCatalogueRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Folder folder("rows");
    load::PlausibleDesignWithCatalogues(rows);
    folder.AddCurrentDesign();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = JsonOfOneFile(folder.files()[0]);
    state.counters["rows_per_kind"] = rows;
    state.counters["json_bytes"] = static_cast<double>(bytes);
    InitData();
}
BENCHMARK(BM_JsonInProcessCatalogueRows)
    ->ArgsProduct({kCatalogueRows})
    ->Unit(benchmark::kMicrosecond);

void BM_JsonInProcessWalls(benchmark::State& state) {
    const auto& files = Walls().files();
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) bytes += JsonOfOneFile(files[i++ % files.size()]);
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    InitData();
}
BENCHMARK(BM_JsonInProcessWalls)->Unit(benchmark::kMicrosecond);

// kuvelt-calc --json on 500 files of one catalogue size: one process, time per design.
void BM_JsonExecutableCatalogueRows(benchmark::State& state) {
    constexpr int kFiles = 500;
    const int rows = static_cast<int>(state.range(0));
    Folder folder("rows-" + std::to_string(rows));
    load::PlausibleDesignWithCatalogues(rows);
    for (int i = 0; i < kFiles; ++i) folder.AddCurrentDesign();
    InitData();
    for (auto _ : state) {
        const ChildRun r = RunChild(gNewExe, JsonArgs(folder.files(), kFiles));
        state.SetIterationTime(r.wallSeconds / kFiles);
        if (r.status != 0) state.SkipWithError("kuvelt-calc failed");
        state.counters["child_cpu_us_per_design"] = r.cpuSeconds * 1e6 / kFiles;
    }
    state.counters["rows_per_kind"] = rows;
}
BENCHMARK(BM_JsonExecutableCatalogueRows)
    ->ArgsProduct({kCatalogueRows})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMicrosecond);

// ---- The whole tool, today's build beside this one ----------------------------------------------

struct Best {
    double wall = 1e300, cpu = 1e300, peakMB = 0;
};
std::map<std::string, Best> gBest;  // "folder/count/which" -> best of the repetitions

void BM_JsonBatch(benchmark::State& state, const std::string& exe, const std::string& key,
                  const Folder* (*folder)(), std::size_t count) {
    const auto& files = folder()->files();
    for (auto _ : state) {
        const ChildRun r = RunChild(exe, JsonArgs(files, count));
        state.SetIterationTime(r.wallSeconds);
        // Refused and failed designs give the batch a status of 1 or 2; anything else is a fault.
        if (r.status < 0 || r.status > 2) state.SkipWithError("kuvelt-calc failed");
        Best& b = gBest[key];
        b.wall = std::min(b.wall, r.wallSeconds);
        b.cpu = std::min(b.cpu, r.cpuSeconds);
        b.peakMB = std::max(b.peakMB, r.peakMB);
        state.counters["cpu_s"] = r.cpuSeconds;
        state.counters["peak_MB"] = r.peakMB;
        state.counters["us_per_design"] = r.wallSeconds * 1e6 / static_cast<double>(count);
    }
}

const Folder* GeneratedPtr() { return &Generated(); }
const Folder* WallsPtr() { return &Walls(); }

struct Batch {
    const char* name;
    const Folder* (*folder)();
    std::size_t count;
};
const Batch kBatches[] = {
    {"generated", &GeneratedPtr, 2000}, {"walls", &WallsPtr, 2000}, {"walls", &WallsPtr, 10000}};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The JSON text (one line per design, or indented) without the object members `key` that an
// older build does not write: what is left must be that build's bytes.
std::string WithoutMember(const std::string& text, const std::string& key) {
    const std::string name = "\"" + key + "\":";
    std::string out;
    std::size_t at = 0;
    for (std::size_t found; (found = text.find(name, at)) != std::string::npos;) {
        std::size_t comma = found;
        while (comma > at && std::isspace(static_cast<unsigned char>(text[comma - 1]))) --comma;
        std::size_t i = found + name.size();
        while (i < text.size() && text[i] == ' ') ++i;
        if (comma == at || text[comma - 1] != ',' || i >= text.size() || text[i] != '{') {
            out.append(text, at, i - at);
            at = i;
            continue;
        }
        out.append(text, at, comma - 1 - at);
        int depth = 0;
        bool inText = false;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (inText) {
                if (c == '\\') {
                    ++i;
                } else if (c == '"') {
                    inText = false;
                }
            } else if (c == '"') {
                inText = true;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                ++i;
                break;
            }
        }
        at = i;
    }
    out.append(text, at, std::string::npos);
    return out;
}

// Both builds print the same bytes with the same exit status (this build's without what came
// later: the cover texts of the design, the distribution along a chosen pile): every batch of
// kBatches, and each file of the generated folder and the first 500 walls on its own.
bool SameOutput() {
    const fs::path dir = PrivateDir("check");
    const std::string a = (dir / "old").string(), b = (dir / "new").string();
    auto same = [&](const std::vector<std::string>& args, const std::string& what) {
        const ChildRun ro = RunChild(gOldExe, args, a);
        const ChildRun rn = RunChild(gNewExe, args, b);
        const std::string later =
            WithoutMember(WithoutMember(Slurp(b), "gInpHyoshi"), "distribution");
        if (ro.status == rn.status && Slurp(a) == later) return true;
        std::fprintf(stderr, "different output: %s (exit %d and %d)\n", what.c_str(), ro.status,
                     rn.status);
        return false;
    };
    bool ok = true;
    std::size_t singles = 0;
    for (const Batch& batch : kBatches) {
        ok &= same(JsonArgs(batch.folder()->files(), batch.count),
                   std::string(batch.name) + " batch of " + std::to_string(batch.count));
    }
    for (const Batch& batch : {kBatches[0], Batch{"walls", &WallsPtr, 500}}) {
        for (std::size_t i = 0; i < batch.count; ++i) {
            ok &= same({"--json", batch.folder()->files()[i]},
                       std::string(batch.name) + " file " + std::to_string(i));
            ++singles;
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    std::printf("Same bytes and exit status from both builds: %s (%zu batches, %zu single files)\n",
                ok ? "yes" : "NO", std::size(kBatches), singles);
    return ok;
}

void PrintComparison() {
    std::printf("\n%-18s %12s %12s %12s %12s %8s %9s %9s\n", "kuvelt-calc --json", "old wall s",
                "new wall s", "old cpu s", "new cpu s", "cpu x", "old MB", "new MB");
    for (const Batch& batch : kBatches) {
        const std::string k = std::string(batch.name) + "/" + std::to_string(batch.count);
        if (gBest.count(k + "/old") == 0 || gBest.count(k + "/new") == 0) continue;
        const Best o = gBest[k + "/old"], n = gBest[k + "/new"];
        std::printf("%-18s %12.3f %12.3f %12.3f %12.3f %8.1f %9.1f %9.1f\n", k.c_str(), o.wall,
                    n.wall, o.cpu, n.cpu, o.cpu / n.cpu, o.peakMB, n.peakMB);
    }
}

}  // namespace

int main(int argc, char** argv) {
    gNewExe = (fs::read_symlink("/proc/self/exe").parent_path() / "kuvelt-calc").string();
    bool check = false;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--old=", 6) == 0) {
            gOldExe = argv[i] + 6;
        } else if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
        } else {
            rest.push_back(argv[i]);
        }
    }
    for (const Batch& batch : kBatches) {
        const std::string k = std::string(batch.name) + "/" + std::to_string(batch.count);
        for (const auto& [which, exe] : {std::pair<std::string, std::string>{"old", gOldExe},
                                         std::pair<std::string, std::string>{"new", gNewExe}}) {
            if (exe.empty()) continue;
            const std::string key = k + "/" + which;
            benchmark::RegisterBenchmark(("BM_JsonBatch/" + key).c_str(), BM_JsonBatch, exe, key,
                                         batch.folder, batch.count)
                ->UseManualTime()
                ->Iterations(1)
                ->Repetitions(3)
                ->Unit(benchmark::kSecond);
        }
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    if (check && !gOldExe.empty() && !SameOutput()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!gOldExe.empty()) PrintComparison();
    return 0;
}
