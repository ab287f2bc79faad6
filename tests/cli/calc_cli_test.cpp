// kuvelt-calc as the calculation tool, end to end: the result-store JSON of single designs and
// batches, the summary, exit statuses and the messages on stderr. Designs are written with the
// design-file writer from the examples, then the program itself is run on them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "io/design_file.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

using CalcRun = test::ProgramRun;

// Runs bin/kuvelt-calc (the tests run in the build's bin folder) with `args`, no shell.
CalcRun Calc(const std::vector<std::string>& args) {
    return test::RunProgram("./kuvelt-calc", args);
}

using kuvelt::test::Example;

// Writes `path` from an example design changed by `edit`.
void WriteDesign(const std::string& path, const char* example, const std::function<void()>& edit) {
    int32_t code = 0;
    ASSERT_TRUE(ReadData(Example(example), code)) << code;
    edit();
    ASSERT_TRUE(WriteData(path, code)) << code;
    InitData();
}

std::vector<std::string> Keys(const ordered_json& j) {
    std::vector<std::string> k;
    for (auto it = j.begin(); it != j.end(); ++it) k.push_back(it.key());
    return k;
}

using kuvelt::test::Lines;

const std::vector<std::string> kAllKeys = {
    "design",     "CalcMain",  "gQqw",   "gKhActive", "gSpa",       "gKhPassive",
    "gSpp",       "gRWp",      "gDL",    "gPressure", "gSectChang", "gSectStress",
    "gSectEmbed", "gSectDisp", "gListC", "gListLS",   "gListS",     "CalcNekiriAntei"};

// A design the input windows take whose net pressure never turns within the depth examined: the
// calculation stops at the virtual ground surface.
void NoVirtualGround() {
    gInpJyoken.Z = 1.0;
    gInpJiban.Fai = 20.0;
}

const std::string kVirtualGroundError =
    test::Said("kuvelt-calc",
               "仮想海底面の算定ｴﾗｰ: 「設計条件の入力」で検討する深さの入力値を大きくして下さい。\n"
               "使用矢板の決定: 計算ｴﾗｰです。入力ﾃﾞｰﾀ等をご確認下さい。\n");

// The distribution along the chosen pile in the dump: checked against the dump's own section
// tables and loads. The largest |M| below the virtual ground is |Mmax| (printed to 0.1) at lm,
// where the shear vanishes; the shear and the moment vanish at the head; every load boundary is
// a level.
void CheckDistribution(const ordered_json& j, const std::string& name) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(j.contains("distribution"));
    const ordered_json& d = j["distribution"];
    ASSERT_EQ(Keys(d), (std::vector<std::string>{"z", "M", "S", "y"}));
    const std::vector<double> z = d["z"], M = d["M"], S = d["S"], y = d["y"];
    ASSERT_GE(z.size(), 201u);
    ASSERT_EQ(M.size(), z.size());
    ASSERT_EQ(S.size(), z.size());
    ASSERT_EQ(y.size(), z.size());
    const ordered_json& choice = j["design"]["gInpYaita"];
    const double head = j["design"]["gInpJyoken"]["ELYU"].get<double>();
    EXPECT_EQ(z.front(), head);
    EXPECT_DOUBLE_EQ(z.back(), head - choice["L"].get<double>());
    const double ELV = j["gPressure"]["WL"].get<double>();
    const ordered_json& row =
        j["gSectChang"][choice["Yaita"].get<int>()][choice["Sect"].get<int>() - 1];
    const double Mmax = row[0].get<double>(), lm = row[1].get<double>();
    std::size_t at = 0;
    for (std::size_t i = 0; i < z.size(); ++i)
        if (z[i] <= ELV && std::fabs(M[i]) > std::fabs(M[at])) at = i;
    EXPECT_LE(std::fabs(std::fabs(M[at]) - std::fabs(Mmax)), 0.05 + 1.1e-6);
    EXPECT_NEAR(ELV - z[at], lm, 0.01);
    EXPECT_NEAR(S[at], 0.0, 1e-6);
    EXPECT_EQ(S.front(), 0.0);
    EXPECT_EQ(M.front(), 0.0);
    for (const auto& q : j["gPressure"]["Qdo"]) {
        for (const char* k : {"EU", "EL"}) {
            const double level = q[k].get<double>();
            EXPECT_TRUE(std::any_of(z.begin(), z.end(), [&](double v) { return v == level; }))
                << k << " " << level;
        }
    }
}

TEST(CalcCliJson, EveryExampleDumpsTheWholeStore) {
    for (const char* name :
         {"sand-channel.kvt", "clay-embankment.kvt", "slope-sand.kvt", "clay-increasing.kvt"}) {
        const CalcRun r = Calc({"--json", Example(name)});
        ASSERT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.err, "") << name;
        const ordered_json j = ordered_json::parse(r.out);
        // Every example holds a choice: the stability check of its ground kind follows.
        std::vector<std::string> keys = kAllKeys;
        keys.push_back(j["design"]["gInpJiban"]["Kind"] == 0 ? "gNekiriAnteiAs" : "gNekiriAnteiAc");
        keys.push_back("distribution");
        EXPECT_EQ(Keys(j), keys) << name;
        CheckDistribution(j, name);
        EXPECT_TRUE(j["CalcMain"].get<bool>());
        EXPECT_TRUE(j["CalcNekiriAntei"].get<bool>());
        // ... and the choice passes every check of its list row and the stability check.
        const ordered_json& y = j["design"]["gInpYaita"];
        ASSERT_TRUE(y["InpFlg"].get<bool>()) << name;
        const int kind = y["Yaita"].get<int>();
        const ordered_json& row = j[kind == 0   ? "gListC"
                                    : kind == 1 ? "gListLS"
                                                : "gListS"][y["Sect"].get<int>() - 1];
        for (std::size_t flag :
             kind == 0 ? std::vector<std::size_t>{2, 6, 9} : std::vector<std::size_t>{2, 6}) {
            EXPECT_EQ(row[flag].get<double>(), 0.0) << name << " flag item " << flag + 1;
        }
        EXPECT_GE(y["L"].get<double>(), row[3].get<double>() - 0.001) << name;
        EXPECT_TRUE(j[keys[keys.size() - 2]]["Hantei"].get<bool>()) << name;
        const ordered_json& d = j["design"];
        EXPECT_EQ(Keys(j["gQqw"]),
                  (std::vector<std::string>{"Error", "H",    "Keijyo", "D1X",  "D1Q", "D2m", "D2Q",
                                            "D3X1",  "D3X2", "D3Ho",   "D3Gs", "D3Q", "Xq",  "Xw",
                                            "XHq",   "XHw",  "Iq",     "Iw",   "QQ",  "Qw",  "Q"}));
        EXPECT_EQ(Keys(j["gKhActive"]),
                  (std::vector<std::string>{"Error", "RWL", "AddEL", "Jiban"}));
        EXPECT_EQ(
            Keys(j["gKhActive"]["Jiban"][0]),
            (std::vector<std::string>{"No", "EU", "EL", "H", "Gs1", "Gs2", "Gs3", "HwU", "HwL"}));
        EXPECT_EQ(Keys(j["gSpp"]), (std::vector<std::string>{"Error", "Q", "Beta", "Jei", "Delta",
                                                             "ELGL", "ELDL", "Q2", "Jiban"}));
        EXPECT_EQ(j["gSpa"]["Jiban"][0].size(), 28u);
        EXPECT_EQ(Keys(j["gRWp"]), (std::vector<std::string>{"Error", "ELLWL", "ELRWL", "Gw",
                                                             "ELGL", "ELDL", "DH", "Pw"}));
        EXPECT_EQ(Keys(j["gDL"]), (std::vector<std::string>{"Error", "ELDL", "ELDLXU", "ELDLXL",
                                                            "ELDLX", "Pa", "Pw", "Pp", "Pg"}));
        EXPECT_EQ(Keys(j["gDL"]["Pg"][0]), (std::vector<std::string>{"EU", "EL", "H", "PU", "PL"}));
        EXPECT_EQ(Keys(j["gPressure"]),
                  (std::vector<std::string>{"Error", "WU", "WL", "P", "M", "Y", "ELY", "Qdi", "Qdo",
                                            "Detail"}));
        EXPECT_EQ(Keys(j["gPressure"]["Detail"][0]),
                  (std::vector<std::string>{"Section", "P", "Y", "H", "Pi", "Yi", "Mi"}));
        // Integers stay integers.
        EXPECT_TRUE(j["gQqw"]["Error"].is_number_integer());
        EXPECT_TRUE(j["gQqw"]["Keijyo"].is_number_integer());
        EXPECT_TRUE(j["gSpa"]["Jiban"][0]["No"].is_number_integer());
        EXPECT_TRUE(j["gSpa"]["Jiban"][0]["Kind"].is_number_integer());
        EXPECT_TRUE(j["gPressure"]["Detail"][0]["Section"].is_number_integer());
        // Tables: one array per kind, one row per registered section, items in order.
        const size_t counts[3] = {d["gInpSectC"].size(), d["gInpSectLS"].size(),
                                  d["gInpSectS"].size()};
        struct Shape {
            const char* key;
            size_t items;
        };
        for (const Shape& t : {Shape{"gSectChang", 5}, Shape{"gSectStress", 3},
                               Shape{"gSectEmbed", 5}, Shape{"gSectDisp", 7}}) {
            ASSERT_EQ(j[t.key].size(), 3u) << t.key;
            for (size_t k = 0; k < 3; ++k) {
                ASSERT_EQ(j[t.key][k].size(), counts[k]) << t.key << k;
                for (const auto& row : j[t.key][k]) EXPECT_EQ(row.size(), t.items) << t.key;
            }
        }
        ASSERT_EQ(j["gListC"].size(), counts[0]);
        ASSERT_EQ(j["gListLS"].size(), counts[1]);
        ASSERT_EQ(j["gListS"].size(), counts[2]);
        if (counts[0] > 0) {
            EXPECT_EQ(j["gListC"][0].size(), 10u);
        }
        if (counts[2] > 0) {
            ASSERT_EQ(j["gListS"][0].size(), 7u);
            // The list repeats the tables: required length, stress and displacement.
            EXPECT_EQ(j["gListS"][0][3], j["gSectEmbed"][2][0][1]);
            EXPECT_EQ(j["gListS"][0][0], j["gSectStress"][2][0][0]);
            EXPECT_EQ(j["gListS"][0][4], j["gSectDisp"][2][0][3]);
        }
    }
}

TEST(CalcCliJson, StoredChoiceAddsTheStabilityCheck) {
    test::TempDir dir;
    const std::string sand = dir.file("sand.kvt"), clay = dir.file("clay.kvt");
    WriteDesign(sand, "sand-channel.kvt",
                [] { gInpYaita = CInpYaita{true, 2, 5, 4.38, 8.62, 13.0}; });
    WriteDesign(clay, "clay-embankment.kvt",
                [] { gInpYaita = CInpYaita{true, 2, 5, 4.0, 8.0, 12.0}; });
    const CalcRun rs = Calc({"--json", sand});
    ASSERT_EQ(rs.status, 0) << rs.err;
    const ordered_json s = ordered_json::parse(rs.out);
    EXPECT_TRUE(s["CalcNekiriAntei"].get<bool>());
    EXPECT_FALSE(s.contains("gNekiriAnteiAc"));
    ASSERT_TRUE(s.contains("gNekiriAnteiAs"));
    const ordered_json& as = s["gNekiriAnteiAs"];
    EXPECT_EQ(Keys(as), (std::vector<std::string>{"Gws", "Gw", "Hw", "D", "Fa", "Error", "F",
                                                  "Hantei", "Ichiran"}));
    EXPECT_TRUE(as["Hantei"].is_boolean());
    EXPECT_TRUE(as["Error"].is_number_integer());
    ASSERT_EQ(as["Ichiran"].size(), 20u);
    EXPECT_EQ(as["Ichiran"][0].size(), 2u);
    const ordered_json& jy = s["design"]["gInpJyoken"];
    EXPECT_DOUBLE_EQ(as["D"].get<double>(),
                     13.0 - (jy["ELGL"].get<double>() - jy["ELDL"].get<double>()));

    const CalcRun rc = Calc({"--json", clay});
    ASSERT_EQ(rc.status, 0) << rc.err;
    const ordered_json c = ordered_json::parse(rc.out);
    EXPECT_FALSE(c.contains("gNekiriAnteiAs"));
    ASSERT_TRUE(c.contains("gNekiriAnteiAc"));
    EXPECT_EQ(Keys(c["gNekiriAnteiAc"]),
              (std::vector<std::string>{"Gt", "Gws", "Gw", "Q", "Ca", "Cb", "H", "Hw", "D", "Fa",
                                        "Error", "F", "Hantei"}));
    // The heaving check takes the surcharge of this run's surcharge stage.
    EXPECT_EQ(c["gNekiriAnteiAc"]["Q"], c["gQqw"]["Q"]);
    CheckDistribution(s, "sand");
    CheckDistribution(c, "clay");

    // Without a chosen pile there is no distribution; with one shorter than H' (4.38 m, its tip
    // below the design ground level as the choice window demands) it stops at the tip above the
    // virtual ground and says why, its displacements null.
    const std::string none = dir.file("none.kvt"), shortPile = dir.file("short.kvt");
    WriteDesign(none, "sand-channel.kvt", [] { gInpYaita.InpFlg = false; });
    WriteDesign(shortPile, "sand-channel.kvt",
                [] { gInpYaita = CInpYaita{true, 2, 5, 4.38, -0.38, 4.0}; });
    const CalcRun rn = Calc({"--json", none});
    ASSERT_EQ(rn.status, 0) << rn.err;
    EXPECT_FALSE(ordered_json::parse(rn.out).contains("distribution"));
    const CalcRun rp = Calc({"--json", shortPile});
    const ordered_json p = ordered_json::parse(rp.out);
    ASSERT_TRUE(p.contains("distribution")) << rp.out.substr(0, 200);
    const ordered_json& pd = p["distribution"];
    EXPECT_EQ(Keys(pd), (std::vector<std::string>{"z", "M", "S", "y", "note"}));
    EXPECT_GT(pd["z"].back().get<double>(), p["gPressure"]["WL"].get<double>());
    for (const auto& v : pd["y"]) EXPECT_TRUE(v.is_null());
    EXPECT_NE(pd["note"].get<std::string>().find("仮想地盤面より下の分布"), std::string::npos);
}

TEST(CalcCliJson, FailedCalculationExitsOneAndLeavesUnreachedStagesOut) {
    test::TempDir dir;
    const std::string f = dir.file("shallow.kvt");
    // The examined depth ends before the net pressure turns: no virtual ground surface.
    WriteDesign(f, "sand-channel.kvt", [] { NoVirtualGround(); });
    const CalcRun r = Calc({"--json", f});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kVirtualGroundError);
    const ordered_json j = ordered_json::parse(r.out);
    EXPECT_FALSE(j["CalcMain"].get<bool>());
    EXPECT_EQ(j["gDL"]["Error"].get<int>(), 999);
    for (const char* k :
         {"gPressure", "gSectChang", "gSectStress", "gSectEmbed", "gSectDisp", "gListC", "gListLS",
          "gListS", "gNekiriAnteiAs", "gNekiriAnteiAc", "distribution"}) {
        EXPECT_FALSE(j.contains(k)) << k;
    }
    EXPECT_TRUE(j["CalcNekiriAntei"].is_null());
}

TEST(CalcCliBatch, OneLinePerFileInOrderEachAsIfAlone) {
    test::TempDir dir;
    const std::string bad = dir.file("shallow.kvt"), chosen = dir.file("chosen.kvt");
    WriteDesign(bad, "sand-channel.kvt", [] { NoVirtualGround(); });
    WriteDesign(chosen, "sand-channel.kvt",
                [] { gInpYaita = CInpYaita{true, 2, 5, 4.38, 8.62, 13.0}; });
    const std::string sand = Example("sand-channel.kvt"), clay = Example("clay-increasing.kvt");

    const CalcRun a = Calc({"--json", chosen, bad, sand, clay});
    EXPECT_EQ(a.status, 1);  // the highest of 0, 1, 0, 0
    EXPECT_EQ(a.err, kVirtualGroundError);
    const auto lines = Lines(a.out);
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<std::string> files = {chosen, bad, sand, clay};
    for (size_t i = 0; i < 4; ++i) {
        const ordered_json j = ordered_json::parse(lines[i]);
        EXPECT_EQ(Keys(j).front(), "file");
        EXPECT_EQ(j["file"].get<std::string>(), files[i]);
        EXPECT_EQ(lines[i].find('\n'), std::string::npos);
        EXPECT_EQ(lines[i].find(": "), std::string::npos);  // compact
    }
    // A design after a stored choice and after a failed run gives the same line as alone, and
    // the same as the pretty single-file form.
    const CalcRun b = Calc({"--json", clay, sand});
    const auto linesB = Lines(b.out);
    ASSERT_EQ(linesB.size(), 2u);
    EXPECT_EQ(linesB[1], lines[2]);
    EXPECT_EQ(linesB[0], lines[3]);
    ordered_json alone = ordered_json::parse(Calc({"--json", sand}).out);
    ordered_json inBatch = ordered_json::parse(lines[2]);
    inBatch.erase("file");
    EXPECT_EQ(inBatch, alone);
    // The clayey design's heaving check before it is gone from the sandy design's line.
    EXPECT_FALSE(ordered_json::parse(linesB[1]).contains("gNekiriAnteiAc"));
}

// Where the JSON and the messages reach one place (2>&1, a terminal), a design's messages stand
// between the line of the design before it and its own line.
TEST(CalcCliBatch, MessagesStandBeforeTheirDesignsLineInOneStream) {
    test::TempDir dir;
    const std::string bad = dir.file("shallow.kvt");
    WriteDesign(bad, "sand-channel.kvt", [] { NoVirtualGround(); });
    const std::string sand = Example("sand-channel.kvt");
    const CalcRun r = test::RunProgram(
        "/bin/sh", {"-c", "./kuvelt-calc --json '" + sand + "' '" + bad + "' '" + sand + "' 2>&1"});
    EXPECT_EQ(r.status, 1);
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(ordered_json::parse(lines[0])["file"], sand);
    EXPECT_EQ(lines[1] + "\n" + lines[2] + "\n", kVirtualGroundError);
    EXPECT_EQ(ordered_json::parse(lines[3])["file"], bad);
    EXPECT_EQ(lines[4], lines[0]);
}

TEST(CalcCliBatch, RefusedFileGetsItsLineAndExitTwo) {
    test::TempDir dir;
    const std::string sand = Example("sand-channel.kvt");
    const std::string missing = dir.file("missing.kvt");
    const CalcRun r = Calc({"--json", sand, missing, sand});
    EXPECT_EQ(r.status, 2);
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    const ordered_json j = ordered_json::parse(lines[1]);
    EXPECT_EQ(Keys(j), (std::vector<std::string>{"file", "error"}));
    EXPECT_NE(j["error"].get<std::string>().find("（ｴﾗｰｺｰﾄﾞ ： 0）"), std::string::npos);
    EXPECT_NE(r.err.find("ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ: "), std::string::npos);
    EXPECT_EQ(lines[0], lines[2]);
}

TEST(CalcCliSummary, ShowsChecksChoiceAndVerdict) {
    test::TempDir dir;
    const std::string f = dir.file("chosen.kvt");
    WriteDesign(f, "sand-channel.kvt", [] { gInpYaita = CInpYaita{true, 2, 5, 4.38, 8.62, 13.0}; });
    const CalcRun r = Calc({f});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& o = r.out;
    for (const char* s :
         {"件名", "計算              正常終了",
          "仮想地盤面        ELDLX = ", "荷重合力          P = ", "■ ｺﾝｸﾘｰﾄ矢板（3断面）",
          "■ 軽量鋼矢板（11断面）", "■ 鋼矢板（12断面）", "使用矢板          鋼矢板  №5 SP-Ⅲ",
          "矢板全長Ｌ = 13.00 m", "ボイリングの検討  水頭差Ｈ1 = "}) {
        EXPECT_NE(o.find(s), std::string::npos) << s;
    }
    EXPECT_TRUE(o.find(" OK\n", o.find("ボイリングの検討")) != std::string::npos ||
                o.find(" OUT\n", o.find("ボイリングの検討")) != std::string::npos);
    // Every registered section has its row: 12 steel rows numbered 1 to 12.
    EXPECT_NE(o.find("   12  SP-ⅥL"), std::string::npos);
    EXPECT_EQ(Calc({"--summary", f}).out, o);
}

// --set changes the design before anything: the water at +3.00 lowers the virtual ground to
// -1.05, so H' = 3.50 + 1.05 = 4.55 m and D = 14.00 - 4.55 = 9.45 m (the file stores 4.38 and
// 9.62 of the design before); F = 2 x 9 x 10.50 / (3.00 x 9.8) = 6.4286, printed to 0.001 as
// the report prints it.
TEST(CalcCliSummary, ValuesAreThoseOfTheChangedDesign) {
    const CalcRun r =
        Calc({"--summary", Example("sand-channel.kvt"), "--set", "gInpJyoken.ELWL=3.0"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("壁高Ｈ' = 4.55 m   根入れ長Ｄ = 9.45 m"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("安全率Ｆs = 6.429"), std::string::npos) << r.out;
}

// The groundwater below the design ground level: no head, the boiling check is not needed; the
// summary and the CSV say so instead of a factor of 999.
TEST(CalcCliSummary, BoilingWithoutAHeadIsNotNeeded) {
    test::TempDir dir;
    const std::string f = dir.file("dry.kvt");
    WriteDesign(f, "sand-channel.kvt", [] { gInpJyoken.ELWL = -1.0; });
    const CalcRun r = Calc({f});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("水頭差Ｈ1 = -1.00 m   根入れ長Ｄ = 10.50 m   水位差がないため検討不要\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("999"), std::string::npos);
    const std::vector<std::string> csv = Lines(Calc({"--csv", f}).out);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_NE(csv[1].find(",boiling,,1.5,not needed,"), std::string::npos) << csv[1];
}

TEST(CalcCliSummary, FailedCalculationSaysSo) {
    test::TempDir dir;
    const std::string f = dir.file("shallow.kvt");
    WriteDesign(f, "sand-channel.kvt", [] { NoVirtualGround(); });
    const CalcRun r = Calc({f});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kVirtualGroundError);
    EXPECT_NE(r.out.find("計算ｴﾗｰ"), std::string::npos);
    EXPECT_EQ(r.out.find("■"), std::string::npos);
}

}  // namespace
}  // namespace kuvelt

namespace kuvelt {
namespace {

// A report is written only for a chosen pile: the design's, or one given with --pick, which
// goes through the choice window's checks. Each row: the pick options, the exit status, a text
// standard error must hold, and whether the report folder was written.
struct PickCase {
    const char* name;
    std::vector<std::string> options;
    int status;
    const char* err;
    bool written;
};

TEST(CalcCliPick, ReportOnlyForAChosenPile) {
    test::TempDir tmp;
    const std::string design = tmp.file("unchosen.kvt");
    WriteDesign(design, "sand-channel.kvt", [] { gInpYaita.InpFlg = false; });
    // Sand channel, steel: section 5 (SP-Ⅲ) needs 12.14 m; 12 sections are registered.
    const std::vector<PickCase> cases = {
        {"NoChoice", {}, 2, "使用矢板の決定: 使用矢板が決定されていません。", false},
        {"Given", {"--pick", "steel:5:12.5"}, 0, "", true},
        {"ShortAsked",
         {"--pick", "steel:5:12"},
         2,
         "矢板長ｴﾗｰ: 矢板長Ｌが必要矢板長未満です。このまま実行しますか？",
         false},
        {"ShortAnsweredYes", {"--pick", "steel:5:12", "--yes"}, 0, "", true},
        {"Unregistered",
         {"--pick", "steel:13:12"},
         2,
         "断面№ｴﾗｰ: 選択した断面№は登録されていません。",
         false},
        {"Auto",
         {"--pick", "auto"},
         0,
         "kuvelt-calc: 使用矢板をﾌﾟﾛｸﾞﾗﾑが提案しました： 鋼矢板 №7 SP-ⅢW  Ｌ ＝ 14.00 m",
         true},
        {"Malformed", {"--pick", "steel:x:12"}, 64, "expected KIND:NO:L", false},
        {"UnknownKind", {"--pick", "wood:1:12"}, 64, "expected KIND:NO:L", false},
        {"Twice", {"--pick", "auto", "--pick", "auto"}, 64, "--pick is given twice", false},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = tmp.file(c.name);
        std::vector<std::string> args = {"--report", dir, design};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CalcRun r = Calc(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(fs::path(dir) / "report.prn"), c.written);
        if (!c.written) {
            EXPECT_FALSE(fs::exists(dir)) << "nothing written";
        }
    }
    // The proposed pile is said so in its chapter.
    const std::string chapter = test::ReadBytes(tmp.file("Auto") + "/4.prn");
    EXPECT_NE(chapter.find(cp932::FromUtf8("ﾌﾟﾛｸﾞﾗﾑが提案したもの")), std::string::npos);
    EXPECT_EQ(test::ReadBytes(tmp.file("Given") + "/4.prn").find(cp932::FromUtf8("ﾌﾟﾛｸﾞﾗﾑが提案")),
              std::string::npos);
    // A choice given on the summary and --json modes too, and the stored file is untouched.
    const CalcRun j = Calc({"--json", design, "--pick", "light:2:9.5", "--yes"});
    EXPECT_EQ(j.status, 0) << j.err;
    const ordered_json y = ordered_json::parse(j.out)["design"]["gInpYaita"];
    EXPECT_EQ(y["Yaita"], 1);
    EXPECT_EQ(y["Sect"], 2);
    EXPECT_EQ(y["L"], 9.5);
    EXPECT_TRUE(y["InpFlg"].get<bool>());
    EXPECT_FALSE(ordered_json::parse(Calc({"--json", design}).out)["design"]["gInpYaita"]["InpFlg"]
                     .get<bool>());
}

TEST(CalcCliPick, AutoWithoutAPassingSectionNamesTheClosest) {
    test::TempDir tmp;
    const std::string design = tmp.file("soft.kvt");
    // Only the two lightest steel sections: both fail bending and the head displacement.
    WriteDesign(design, "sand-channel.kvt", [] {
        gInpYaita.InpFlg = false;
        gInpSectC.Clear();
        gInpSectLS.Clear();
        while (gInpSectS.Count() > 2) gInpSectS.Remove(gInpSectS.Count());
    });
    const CalcRun r = Calc({"--pdf", tmp.file("x.pdf"), design, "--pick", "auto"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("全ての照査を満足する断面がありません。最も近い断面は 鋼矢板 №1 SP-ⅠA"
                         "（満足しない照査：曲げ応力度，頭部変位量）です。"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(tmp.file("x.pdf")));
}

// A design the input windows would refuse is refused by every mode before its calculation: the
// window's message naming the field and its value, exit 2, no result, report or PDF; a batch
// goes on with its other designs and a sweep with its other rows.
TEST(CalcCliGate, RefusedDesignsNameTheirFieldAndLeaveNothing) {
    test::TempDir tmp;
    const std::string low = tmp.file("low-head.kvt"), steep = tmp.file("steep.kvt");
    WriteDesign(low, "sand-channel.kvt", [] { gInpJyoken.ELYU = 3.0; });
    WriteDesign(steep, "sand-channel.kvt", [] { gInpJiban.Fai = 120; });
    const std::string headLine =
        "設計条件の入力: 矢板天端(m) +3.00 が地表面(m) +3.50 より低くなっています。"
        "矢板天端は地表面以上として下さい。\n";
    const CalcRun summary = Calc({low});
    EXPECT_EQ(summary.status, 2);
    EXPECT_EQ(summary.err, test::Said("kuvelt-calc", headLine));
    EXPECT_EQ(summary.out, "");

    const CalcRun pdf = Calc({"--pdf", tmp.file("x.pdf"), steep});
    EXPECT_EQ(pdf.status, 2);
    EXPECT_NE(
        pdf.err.find("土の内部摩擦角φ(゜): 土の内部摩擦角φ(゜) 120 は入力範囲外です（入力範囲："
                     "0.0 ～ 60.0）。地盤条件の入力で修正して下さい。"),
        std::string::npos)
        << pdf.err;
    EXPECT_FALSE(fs::exists(tmp.file("x.pdf")));
    EXPECT_EQ(Calc({"--report", tmp.file("r"), steep}).status, 2);
    EXPECT_FALSE(fs::exists(tmp.file("r")));

    // A batch: the refused design's line says why, the others are calculated.
    const CalcRun batch = Calc({"--json", low, Example("slope-sand.kvt")});
    EXPECT_EQ(batch.status, 2);
    const std::vector<std::string> lines = Lines(batch.out);
    ASSERT_EQ(lines.size(), 2u);
    const ordered_json first = ordered_json::parse(lines[0]);
    EXPECT_EQ(first["error"], headLine.substr(0, headLine.size() - 1));
    EXPECT_FALSE(first.contains("CalcMain"));
    EXPECT_TRUE(ordered_json::parse(lines[1])["CalcMain"].get<bool>());

    // A sweep of the design ground level up to the ground surface (+3.50): the rows at and above
    // it are refused with the message, the one below calculated.
    const CalcRun sweep = Calc({"--sweep", "gInpJyoken.ELDL=3:4:0.5", Example("sand-channel.kvt")});
    EXPECT_EQ(sweep.status, 2);
    const std::vector<std::string> rows = Lines(sweep.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].substr(rows[0].rfind(',')), ",message");
    EXPECT_EQ(rows[1].substr(0, 5), "3,ok,");
    EXPECT_EQ(rows[2].substr(0, 20), "3.5,refused,,,,,,,,,");
    EXPECT_NE(rows[2].find(",refused,設計地盤面(m) +3.50 が地表面(m) +3.50 以上です。"),
              std::string::npos)
        << rows[2];
    EXPECT_EQ(rows[3].substr(0, 10), "4,refused,");
}

}  // namespace
}  // namespace kuvelt
