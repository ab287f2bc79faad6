// Load on the design-file reader and on kuvelt-calc: thousands of generated designs (valid,
// out of range, huge, non-finite, degenerate, malformed). In process every written design must
// read back unchanged and every refused file must leave a fresh design; through the program,
// "--json" over batches and "--report" one design per run must end within a time limit with a
// documented exit status that agrees with what the library says of the same file, print one
// parseable JSON record per file, and leave no temporary files behind.
//
// KUVELT_LOAD_DESIGNS (default 10000) designs go through "--json", KUVELT_LOAD_REPORTS (default
// 400) of them, spread over the whole series, through "--report"; KUVELT_LOAD_SEED picks the
// series, KUVELT_LOAD_FIRST the first design of the "--report" runs and KUVELT_LOAD_TIME_LIMIT
// the seconds one "--report" run may take (default 30).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"
#include "model/design_checks.h"
#include "program_runner.h"
#include "support/test_support.h"

namespace kuvelt::load {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return fallback;
    return std::strtoull(v, nullptr, 10);
}
uint64_t Designs() { return EnvNumber("KUVELT_LOAD_DESIGNS", 10000); }
uint64_t Reports() { return std::min(Designs(), EnvNumber("KUVELT_LOAD_REPORTS", 400)); }
uint64_t First() { return EnvNumber("KUVELT_LOAD_FIRST", 0); }
uint64_t Seed() { return EnvNumber("KUVELT_LOAD_SEED", 20261209); }
double ReportLimit() { return static_cast<double>(EnvNumber("KUVELT_LOAD_TIME_LIMIT", 30)); }

const std::string kCalc = "./kuvelt-calc";
// Read-failure codes of the design file: refused by the pre-read check (0) and the file errors.
const std::array<int32_t, 12> kReadCodes = {0, 6, 13, 52, 53, 57, 61, 62, 70, 71, 75, 76};

// What the library itself says of a design file, as the Open command sees it.
struct Expectation {
    bool read = false;
    int32_t code = 0;  // read-failure code when !read
    bool calc = false;
    // The chosen pile names a section its catalogue does not hold: the report's chapters that
    // print it fail (status 4), the other files are still written.
    bool choiceMissing = false;
    // The input windows would refuse the design ("TITLE: TEXT" of the refusal): not calculated.
    std::string refusal;
    bool chosen = false;  // a sheet pile is stored: only then is a report written
    DesignSnapshot design;
};

// The section the report prints as the chosen pile: the stored choice (a kind other than
// concrete and light steel is steel).
bool ReportedChoiceMissing() {
    const CInpYaita& y = gInpYaita;
    if (!y.InpFlg) return false;
    if (y.Yaita == 0) return gInpSectC.Item(y.Sect) == nullptr;
    return (y.Yaita == 1 ? gInpSectLS : gInpSectS).Item(y.Sect) == nullptr;
}

Expectation Expect(const std::string& path) {
    Expectation e;
    if (!PreReadCheck(path)) {
        e.code = 0;
    } else {
        e.read = ReadData(path, e.code);
    }
    e.design = TakeSnapshot();
    if (e.read) {
        if (const std::optional<DesignRefusal> r = RefuseDesign(StoredChoice::Checked)) {
            e.refusal = r->message.title + ": " + r->message.text;
        }
    }
    if (e.read && e.refusal.empty()) {
        e.calc = CalcMain();
        e.choiceMissing = ReportedChoiceMissing();
        e.chosen = gInpYaita.InpFlg;
    }
    InitData();
    return e;
}

// "TITLE: TEXT" of the read failure, as the command line prints a message box.
std::string ReadFailureLine(int32_t code) {
    const Message m = ReadFailureMessage(code);
    return m.title + ": " + m.text;
}

std::string Label(uint64_t i, const GeneratedDesign& d) {
    return "design " + std::to_string(i) + " (" + FamilyName(d.family) + ": " + d.what + ")";
}

using kuvelt::test::Lines;

std::size_t FilesUnder(const fs::path& dir) {
    std::size_t n = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        ++n;
    return n;
}

// ---- In process -------------------------------------------------------------------------------

TEST(LoadDesignFile, WrittenDesignsReadBackUnchangedAndRefusedOnesLeaveAFreshDesign) {
    InitData();
    const DesignSnapshot fresh = TakeSnapshot();
    std::map<std::string, int> refusedBy;
    int failures = 0;
    for (uint64_t i = 0; i < Designs() && failures < 20; ++i) {
        const GeneratedDesign d = GenerateDesign(Seed(), i);
        int32_t code = -1;
        const bool ok = DesignFromBytes(d.bytes, code);
        const DesignSnapshot back = TakeSnapshot();
        const bool expectRead = d.written && d.family != Family::NonFinite;
        if (expectRead) {
            if (!ok || !(back == d.design)) {
                ++failures;
                ADD_FAILURE() << Label(i, d) << ": read " << ok << " code " << code
                              << ", differs in" << Difference(back, d.design);
            }
        } else if (!ok) {
            refusedBy[std::to_string(code)]++;
            if (!(back == fresh)) {
                ++failures;
                ADD_FAILURE() << Label(i, d) << ": refused (" << code
                              << ") but the current design is not a fresh one";
            }
            if (std::find(kReadCodes.begin(), kReadCodes.end(), code) == kReadCodes.end()) {
                ++failures;
                ADD_FAILURE() << Label(i, d) << ": undocumented read-failure code " << code;
            }
        }
        if (d.family == Family::NonFinite && ok) {
            ++failures;
            ADD_FAILURE() << Label(i, d) << ": a non-finite number was read back";
        }
    }
    std::string codes;
    for (const auto& [c, n] : refusedBy) codes += " " + c + ":" + std::to_string(n);
    RecordProperty("refused_by_code", codes);
    std::cout << "refused files by code:" << codes << "\n";
}

// ---- kuvelt-calc --json --------------------------------------------------------------------

class LoadCli : public ::testing::Test {
  protected:
    // Writes designs [from, to) into the folder and returns their paths.
    std::vector<std::string> WriteBatch(uint64_t from, uint64_t to,
                                        std::vector<GeneratedDesign>* designs = nullptr) {
        std::vector<std::string> paths;
        for (uint64_t i = from; i < to; ++i) {
            GeneratedDesign d = GenerateDesign(Seed(), i);
            const std::string path = dir.file("d" + std::to_string(i) + ".kvt");
            kuvelt::test::WriteBytes(path, d.bytes);
            paths.push_back(path);
            if (designs) designs->push_back(std::move(d));
        }
        InitData();
        return paths;
    }
    kuvelt::test::TempDir dir;
};

TEST_F(LoadCli, JsonBatchesGiveOneRecordPerFileAndTheLibrarysVerdict) {
    constexpr uint64_t kBatch = 1000;
    double seconds = 0;
    std::map<std::string, int> outcomes;
    int failures = 0;
    for (uint64_t from = 0; from < Designs() && failures < 20; from += kBatch) {
        const uint64_t to = std::min(Designs(), from + kBatch);
        std::vector<GeneratedDesign> designs;
        const std::vector<std::string> paths = WriteBatch(from, to, &designs);
        std::vector<Expectation> expected;
        for (const auto& p : paths) expected.push_back(Expect(p));

        std::vector<std::string> args{"--json"};
        args.insert(args.end(), paths.begin(), paths.end());
        const TimedRun run = RunTimed(kCalc, args, 600.0, dir.path().string());
        seconds += run.seconds;
        ASSERT_FALSE(run.timedOut || run.signal) << "batch " << from << ": " << Ending(run);

        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), paths.size()) << "batch " << from << ": one record per file";
        int worst = 0;
        for (std::size_t k = 0; k < lines.size() && failures < 20; ++k) {
            const uint64_t i = from + k;
            const Expectation& e = expected[k];
            const std::string label = Label(i, designs[k]);
            json j;
            try {
                j = json::parse(lines[k]);
            } catch (const json::exception& x) {
                ++failures;
                ADD_FAILURE() << label << ": record does not parse: " << x.what();
                continue;
            }
            EXPECT_EQ(j.value("file", ""), paths[k]) << label;
            if (!e.read) {
                ++outcomes["refused " + std::to_string(e.code)];
                worst = std::max(worst, 2);
                if (j.value("error", "") != ReadFailureLine(e.code) || j.contains("CalcMain")) {
                    ++failures;
                    ADD_FAILURE() << label << ": expected the read failure " << e.code << ", got "
                                  << lines[k].substr(0, 300);
                }
                continue;
            }
            if (!e.refusal.empty()) {
                ++outcomes[std::string(FamilyName(designs[k].family)) + " refused"];
                worst = std::max(worst, 2);
                if (j.value("error", "") != e.refusal || j.contains("CalcMain")) {
                    ++failures;
                    ADD_FAILURE() << label << ": expected the refusal " << e.refusal << ", got "
                                  << lines[k].substr(0, 300);
                }
                continue;
            }
            ++outcomes[std::string(FamilyName(designs[k].family)) +
                       (e.calc ? " calculated" : " calculation failed")];
            worst = std::max(worst, e.calc ? 0 : 1);
            if (j.contains("error") || !j.contains("design") ||
                j.value("CalcMain", !e.calc) != e.calc) {
                ++failures;
                ADD_FAILURE() << label << ": CalcMain in process " << e.calc << ", record "
                              << lines[k].substr(0, 300);
            }
        }
        EXPECT_EQ(run.status, worst) << "batch " << from << ": the highest status of its files";
        std::error_code ec;
        for (const auto& p : paths) fs::remove(p, ec);
        EXPECT_EQ(FilesUnder(dir.path()), 0u) << "temporary files left behind";
    }
    std::string summary;
    for (const auto& [what, n] : outcomes) summary += what + "=" + std::to_string(n) + "; ";
    RecordProperty("json_seconds", std::to_string(seconds));
    RecordProperty("outcomes", summary);
    std::cout << Designs() << " designs through --json in " << seconds << " s\n" << summary << "\n";
}

// A design of a batch is calculated as if it were the only one: its record equals the output
// of a run on that file alone.
TEST_F(LoadCli, BatchRecordEqualsTheRunOfThatFileAlone) {
    const uint64_t n = std::min<uint64_t>(Designs(), 60);
    const std::vector<std::string> paths = WriteBatch(0, n);
    std::vector<std::string> args{"--json"};
    args.insert(args.end(), paths.rbegin(), paths.rend());  // the other order than below
    const TimedRun batch = RunTimed(kCalc, args, 120.0);
    ASSERT_FALSE(batch.timedOut || batch.signal) << Ending(batch);
    const std::vector<std::string> lines = Lines(batch.out);
    ASSERT_EQ(lines.size(), n);
    for (uint64_t k = 0; k < n; k += 3) {
        const std::string& path = paths[std::size_t(k)];
        const TimedRun one = RunTimed(kCalc, {"--json", path}, 30.0);
        ASSERT_FALSE(one.timedOut || one.signal) << path << ": " << Ending(one);
        json fromBatch = json::parse(lines[std::size_t(n - 1 - k)]);
        EXPECT_EQ(fromBatch["file"], path);
        fromBatch.erase("file");
        if (fromBatch.contains("error")) {
            EXPECT_EQ(one.status, 2) << path;
            continue;
        }
        EXPECT_EQ(json::parse(one.out), fromBatch) << path;
    }
}

// Paths that are no design file at all stand among designs of a batch: each gets its refusal
// record in its place, and the batch goes on.
TEST_F(LoadCli, PathsThatAreNoFilesAreRefusedInTheirPlace) {
    std::vector<std::string> paths = WriteBatch(0, 4);
    const std::string fifo = dir.file("pipe.kvt"), folder = dir.file("folder.kvt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder);
    const std::string missing = dir.file("missing.kvt"), empty = "";
    const std::vector<std::string> odd = {fifo, folder, missing, empty, "/dev/null"};
    std::vector<std::string> args{"--json"};
    for (std::size_t k = 0; k < odd.size(); ++k) {
        args.push_back(odd[k]);
        if (k < paths.size()) args.push_back(paths[k]);
    }
    const TimedRun run = RunTimed(kCalc, args, 30.0);
    ASSERT_FALSE(run.timedOut || run.signal) << Ending(run);
    EXPECT_EQ(run.status, 2);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), args.size() - 1);
    for (std::size_t k = 1; k < args.size(); ++k) {
        const json j = json::parse(lines[k - 1]);
        EXPECT_EQ(j["file"], args[k]);
        const bool isOdd = std::find(odd.begin(), odd.end(), args[k]) != odd.end();
        // A design of the batch may be one the input windows refuse: its record says so.
        const std::string refusal = isOdd ? std::string() : Expect(args[k]).refusal;
        EXPECT_EQ(j.contains("error"), isOdd || !refusal.empty()) << args[k];
        if (isOdd) {
            EXPECT_EQ(j["error"], ReadFailureLine(0)) << args[k];
        } else if (!refusal.empty()) {
            EXPECT_EQ(j["error"], refusal) << args[k];
        }
    }
}

// ---- kuvelt-calc --report --------------------------------------------------------------------

TEST_F(LoadCli, ReportRunsEndCleanlyWithTheLibrarysVerdict) {
    const uint64_t total = Designs(), runs = Reports();
    ASSERT_GT(runs, 0u);
    // Spread over the series, so every family and catalogue size is among them.
    const uint64_t step = std::max<uint64_t>(1, total / runs);
    double seconds = 0, slowest = 0;
    std::map<int, int> statuses;
    int failures = 0;
    const fs::path tmp = dir.path() / "tmp";
    fs::create_directories(tmp);
    for (uint64_t r = 0; r < runs && failures < 20; ++r) {
        // Every family, not only every step-th; KUVELT_LOAD_FIRST starts later in the series
        // (to share a long run between processes).
        const uint64_t i = (First() + r * step + r % step) % total;
        std::vector<GeneratedDesign> designs;
        const std::string path = WriteBatch(i, i + 1, &designs)[0];
        const Expectation e = Expect(path);
        const std::string label = Label(i, designs[0]);
        const fs::path out = dir.path() / ("r" + std::to_string(i));
        const TimedRun run =
            RunTimed(kCalc, {"--report", out.string(), path}, ReportLimit(), tmp.string());
        seconds += run.seconds;
        slowest = std::max(slowest, run.seconds);
        ++statuses[run.timedOut ? -2 : (run.signal ? -run.signal : run.status)];
        if (run.timedOut || run.signal) {
            ++failures;
            ADD_FAILURE() << label << ": " << Ending(run) << "\n" << run.err.substr(0, 2000);
            continue;
        }
        // No report for a pile nobody chose: refused like an unreadable design.
        const int expectedStatus =
            !e.read || !e.refusal.empty()
                ? 2
                : (!e.calc ? 1 : (!e.chosen ? 2 : (e.choiceMissing ? 4 : 0)));
        // Values no input window accepts may still calculate and then break a chapter (a load
        // diagram without a scale, a value that is not a number): that is status 4, with the
        // chapter's failure line, and the files are written all the same.
        const bool chapterMayFail = designs[0].family != Family::Valid && expectedStatus == 0;
        if (run.status != expectedStatus && !(chapterMayFail && run.status == 4)) {
            ++failures;
            ADD_FAILURE() << label << ": " << Ending(run) << ", the library says " << expectedStatus
                          << "\n"
                          << run.err.substr(0, 2000);
        }
        if (run.status == 2) {
            if (!e.read) {
                EXPECT_EQ(run.err, test::Said("kuvelt-calc", ReadFailureLine(e.code))) << label;
            } else if (!e.refusal.empty()) {
                EXPECT_EQ(run.err, test::Said("kuvelt-calc", e.refusal)) << label;
            } else {
                EXPECT_NE(run.err.find("使用矢板が決定されていません。"), std::string::npos)
                    << label;
            }
            EXPECT_FALSE(fs::exists(out)) << label << ": no folder for a refused design";
        }
        if (run.status == 4 && e.choiceMissing) {
            EXPECT_NE(run.err.find("が登録されていません"), std::string::npos) << label;
        }
        if (run.status == 4) {
            EXPECT_NE(run.err.find("の印刷ﾌｧｲﾙ生成ｴﾗｰ"), std::string::npos) << label;
        }
        if (run.status == 0 || run.status == 4) {
            std::vector<std::string> listed = Lines(run.out);
            std::vector<std::string> want;
            for (const char* f : {"1.prn", "2.prn", "3.prn", "4.prn", "5.prn", "cover.prn",
                                  "summary.prn", "standards.prn", "report.prn"})
                want.push_back((out / f).string());
            EXPECT_EQ(listed, want) << label;
            for (const auto& f : want) EXPECT_TRUE(fs::exists(f)) << label << ": " << f;
            EXPECT_GT(fs::file_size(out / "report.prn"), 0u) << label;
        }
        EXPECT_EQ(FilesUnder(tmp), 0u) << label << ": files left in the temporary folder";
        std::error_code ec;
        fs::remove_all(out, ec);
        fs::remove(path, ec);
    }
    std::string summary;
    for (const auto& [s, n] : statuses)
        summary += std::to_string(s) + ":" + std::to_string(n) + " ";
    RecordProperty("report_seconds", std::to_string(seconds));
    RecordProperty("report_statuses", summary);
    std::cout << runs << " --report runs in " << seconds << " s (slowest " << slowest
              << " s); statuses " << summary << "\n";
}

}  // namespace
}  // namespace kuvelt::load
