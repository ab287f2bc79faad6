// kuvelt-calc for scripts: a design given as JSON, as .kvt or as .kvt plus --set is the same
// design; a sweep's rows are the single runs of its values; the CSV's cells are the JSON dump's
// values; every refusal has its exit status and names what was refused.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/csv.h"
#include "io/design_file.h"
#include "model/design.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

using nlohmann::ordered_json;

test::ProgramRun Calc(const std::vector<std::string>& args) {
    return test::RunProgram("./kuvelt-calc", args);
}

using kuvelt::test::Example;

// RFC 4180 rows (quoted cells may hold commas, doubled quotes and line breaks).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else {
            cell += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

std::size_t Column(const std::vector<std::string>& header, const std::string& name) {
    const auto it = std::find(header.begin(), header.end(), name);
    EXPECT_NE(it, header.end()) << name;
    return static_cast<std::size_t>(it - header.begin());
}

TEST(AutomationCli, TheSameDesignAsJsonAsKvtAndAsKvtWithSetsGivesTheSameJsonBytes) {
    test::TempDir dir;
    // (1) the changed design as a design file, written by the design-file writer;
    int32_t code = 0;
    ASSERT_TRUE(ReadData(Example("sand-channel.kvt"), code));
    gInpJyoken.ELDL = -0.5;
    gInpSectS.Item(4)->Zo = 1520;
    gInpJyoken.Title = "水路, 第2案";
    ASSERT_TRUE(WriteData(dir.file("changed.kvt"), code));
    InitData();
    // (2) as JSON: the example converted by --write, then edited as a script would;
    ASSERT_EQ(Calc({"--write", dir.file("sand.json"), Example("sand-channel.kvt")}).status, 0);
    ordered_json j = ordered_json::parse(test::ReadBytes(dir.file("sand.json")));
    j["gInpJyoken"]["ELDL"] = -0.5;
    j["gInpSectS"][3]["Zo"] = 1520;
    j["gInpJyoken"]["Title"] = "水路, 第2案";
    test::WriteBytes(dir.file("changed.json"), j.dump(1));
    // (3) as the example plus --set.
    const std::vector<std::string> sets = {"--set", "gInpJyoken.ELDL=-0.5",
                                           "--set", "gInpSectS[3].Zo=1520",
                                           "--set", "gInpJyoken.Title=水路, 第2案"};

    const test::ProgramRun kvt = Calc({"--json", dir.file("changed.kvt")});
    const test::ProgramRun json = Calc({"--json", dir.file("changed.json")});
    std::vector<std::string> withSets = {"--json", Example("sand-channel.kvt")};
    withSets.insert(withSets.end(), sets.begin(), sets.end());
    const test::ProgramRun set = Calc(withSets);
    ASSERT_EQ(kvt.status, 0) << kvt.err;
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(json.out, kvt.out);
    EXPECT_EQ(set.out, kvt.out);
    EXPECT_NE(kvt.out.find("\"ELDL\": -0.5"), std::string::npos);

    // --write converts back: the same bytes as the design-file writer's, and the examples go
    // .kvt -> .json -> .kvt unchanged.
    ASSERT_EQ(Calc({"--write", dir.file("back.kvt"), dir.file("changed.json")}).status, 0);
    EXPECT_EQ(test::ReadBytes(dir.file("back.kvt")), test::ReadBytes(dir.file("changed.kvt")));
    for (const char* e : {"clay-embankment.kvt", "clay-increasing.kvt", "slope-sand.kvt"}) {
        SCOPED_TRACE(e);
        ASSERT_EQ(Calc({"--write", dir.file("e.json"), Example(e)}).status, 0);
        ASSERT_EQ(Calc({"--write", dir.file("e.kvt"), dir.file("e.json")}).status, 0);
        EXPECT_EQ(test::ReadBytes(dir.file("e.kvt")), test::ReadBytes(Example(e)));
    }

    // A partial document is a new design with those keys.
    InitData();
    ASSERT_TRUE(WriteData(dir.file("new.kvt"), code));
    test::WriteBytes(dir.file("partial.json"), R"({"gInpJyoken": {"ELDL": 0.5}})");
    EXPECT_EQ(Calc({"--json", dir.file("partial.json")}).out,
              Calc({"--json", dir.file("new.kvt"), "--set", "gInpJyoken.ELDL=0.5"}).out);
}

TEST(AutomationCli, ASweepPrintsOneRowPerValueEqualToTheSingleRunOfThatValue) {
    const test::ProgramRun sweep =
        Calc({"--sweep", "gInpJyoken.ELDL=0:-1:-0.1", "--csv", Example("sand-channel.kvt")});
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto rows = ParseCsv(sweep.out);
    ASSERT_EQ(rows.size(), 12u) << sweep.out;
    EXPECT_EQ(rows[0][0], "gInpJyoken.ELDL (m)");
    const std::vector<std::string> values = {"0",    "-0.1", "-0.2", "-0.3", "-0.4", "-0.5",
                                             "-0.6", "-0.7", "-0.8", "-0.9", "-1"};
    const std::size_t eldlx = Column(rows[0], "ELDLX adopted (m)");
    const std::size_t p = Column(rows[0], "P (kN/m)");
    const std::size_t sigma = Column(rows[0], "sigma (N/mm2)");
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i]);
        const auto& row = rows[i + 1];
        ASSERT_EQ(row.size(), rows[0].size());
        EXPECT_EQ(row[0], values[i]);
        const std::string set = "gInpJyoken.ELDL=" + values[i];
        const auto single =
            ParseCsv(Calc({"--csv", Example("sand-channel.kvt"), "--set", set}).out);
        ASSERT_EQ(single.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(single[1].begin() + 1, single[1].end()),
                  std::vector<std::string>(row.begin() + 1, row.end()));
        EXPECT_EQ(std::vector<std::string>(single[0].begin() + 1, single[0].end()),
                  std::vector<std::string>(rows[0].begin() + 1, rows[0].end()));
        // The cells are the dump's values, to the last digit.
        const ordered_json dump =
            ordered_json::parse(Calc({"--json", Example("sand-channel.kvt"), "--set", set}).out);
        EXPECT_EQ(std::stod(row[eldlx]), dump["gDL"]["ELDLX"].get<double>());
        EXPECT_EQ(std::stod(row[p]), dump["gPressure"]["P"].get<double>());
        EXPECT_EQ(std::stod(row[sigma]), dump["gListS"][6][0].get<double>());  // pile №7
    }

    // Two sweeps give the grid, the first one's values outermost; a step that does not divide
    // the range ends at the last value not past TO.
    const auto grid =
        ParseCsv(Calc({"--sweep", "gInpJyoken.ELDL=0:-0.5:-0.3", "--sweep", "gInpJiban.Fai=30:34:2",
                       Example("sand-channel.kvt"), "--columns", "gDL.ELDLX"})
                     .out);
    const std::vector<std::vector<std::string>> keys = {
        {"gInpJyoken.ELDL (m)", "gInpJiban.Fai (゜)", "gDL.ELDLX"},
        {"0", "30"},
        {"0", "32"},
        {"0", "34"},
        {"-0.3", "30"},
        {"-0.3", "32"},
        {"-0.3", "34"}};
    ASSERT_EQ(grid.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t k = 0; k < keys[i].size(); ++k) EXPECT_EQ(grid[i][k], keys[i][k]) << i;
    }
}

TEST(AutomationCli, ColumnsPickValuesOfTheJsonDumpAndTextsAreQuoted) {
    const test::ProgramRun run =
        Calc({"--csv", "--columns", "design.gInpJyoken.Title,gDL.ELDLX,gListS[5][1],gNope,gDL",
              Example("sand-channel.kvt"), "--set", "gInpJyoken.Title=a, \"b\""});
    // A quote is refused in a title: the design is not run.
    EXPECT_EQ(run.status, 2);
    const test::ProgramRun ok =
        Calc({"--csv", "--columns", "design.gInpJyoken.Title,gDL.ELDLX,gListS[5][1],gNope",
              Example("sand-channel.kvt"), "--set", "gInpJyoken.Title=a, b"});
    ASSERT_EQ(ok.status, 0) << ok.err;
    const ordered_json dump =
        ordered_json::parse(Calc({"--json", Example("sand-channel.kvt")}).out);
    const auto rows = ParseCsv(ok.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"file", "design.gInpJyoken.Title", "gDL.ELDLX",
                                                 "gListS[5][1]", "gNope"}));
    EXPECT_EQ(rows[1][1], "a, b");
    EXPECT_NE(ok.out.find("\"a, b\""), std::string::npos);
    EXPECT_EQ(std::stod(rows[1][2]), dump["gDL"]["ELDLX"].get<double>());
    EXPECT_EQ(std::stod(rows[1][3]), dump["gListS"][5][1].get<double>());
    EXPECT_EQ(rows[1][4], "");

    EXPECT_EQ(cli::csv::Text("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(cli::csv::Text("a\nb"), "\"a\nb\"");
    EXPECT_EQ(cli::csv::Text("ab"), "ab");
    EXPECT_EQ(cli::csv::Number(std::nan("")), "");
    EXPECT_EQ(cli::csv::Number(-0.3), "-0.3");
}

TEST(AutomationCli, EveryRefusalHasItsExitStatusAndNamesWhatWasRefused) {
    test::TempDir dir;
    test::WriteBytes(dir.file("bad.json"),
                     R"({"gInpJyoken": {"ELDL": 1000, "Nope": 1}, "gInpSectS": [{"Zo": "x"}]})");
    test::WriteBytes(dir.file("dup.json"), R"({"gInpJyoken": {"ELDL": 1, "ELDL": 2}})");
    test::WriteBytes(dir.file("deep.json"), std::string(10000, '[') + std::string(10000, ']'));
    test::WriteBytes(dir.file("design.txt"), "{}");
    const std::string sand = Example("sand-channel.kvt");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> err;  // each must appear on standard error
        bool printsNothing = true;
    };
    const std::vector<Case> cases = {
        {{"--json", dir.file("bad.json")},
         2,
         {"bad.json: gInpJyoken.ELDL: 1000 is outside the input range (入力範囲：-999.00 ～ "
          "+999.00)",
          "bad.json: gInpJyoken.Nope: unknown key",
          "bad.json: gInpSectS[0].Zo: \"x\" is not a number"}},
        {{"--summary", dir.file("dup.json")},
         2,
         {"gInpJyoken.ELDL: the key is given twice"},
         false},
        {{"--write", dir.file("out.kvt"), dir.file("deep.json")}, 2, {"nested deeper than 64"}},
        {{"--json", dir.file("design.txt")}, 2, {}},  // other extensions: the Open command's check
        {{"--json", sand, "--set", "gInpYaita.L=100", "--set", "gInpSectS[30].Zo=20"},
         2,
         {"--set gInpYaita.L: 100 is outside the input range (入力範囲：0.00 ～ 99.00)",
          "--set gInpSectS[30].Zo: there is no row 30"}},
        {{"--json", sand, "--set", "gInpJyoken.ELDL"}, 64, {"--set needs PATH=VALUE"}},
        {{"--sweep", "gInpJyoken.ELDL=0:-1000:-100", sand},
         2,
         {"--sweep gInpJyoken.ELDL: -1000 is outside the input range"}},
        {{"--sweep", "gInpSectS[12].Zo=10:20:5", sand}, 2, {"there is no row 12"}},
        {{"--sweep", "gInpJyoken.ELDL=0:-999:-0.001", sand},
         64,
         {"the sweep makes 999001 runs, more than 100000: give --max-runs 999001"}},
        {{"--sweep", "gInpJyoken.ELDL=0:-1:-0.1", "--max-runs", "10", sand}, 64, {"--max-runs 11"}},
        {{"--sweep", "gInpJyoken.ELDL=0:-1:0.1", sand}, 64, {"STEP must lead from FROM to TO"}},
        {{"--sweep", "gInpJyoken.Title=0:1:1", sand}, 64, {"only numeric fields"}},
        {{"--sweep", "gInpJyoken.ELDL=0:1", sand}, 64, {"--sweep needs PATH=FROM:TO:STEP"}},
        {{"--sweep", "gInpJyoken.ELDL=0:1:1", sand, sand}, 64, {"a sweep runs one FILE"}},
        {{"--csv", "--columns", "gDL..ELDLX", sand}, 64, {"not a path of the JSON dump"}},
        {{"--csv", sand, dir.file("bad.json")}, 2, {"gInpJyoken.Nope: unknown key"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const test::ProgramRun r = Calc(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const std::string& e : c.err) EXPECT_NE(r.err.find(e), std::string::npos) << r.err;
        if (c.printsNothing) {
            EXPECT_EQ(r.out, "");
        }
    }
    // In a batch, a refused design is a row of its own.
    const auto rows = ParseCsv(Calc({"--csv", sand, dir.file("bad.json")}).out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][Column(rows[0], "verdict")], "OK");
    EXPECT_EQ(rows[2][Column(rows[0], "status")], "refused");
}

}  // namespace
}  // namespace kuvelt
