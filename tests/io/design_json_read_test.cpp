// Designs given as JSON: what is refused (every fault named with its path), what a partial
// document means, the round trip .kvt -> .json -> .kvt, and the committed JSON Schema (equal to
// the one the field table makes, and met by every design the tool writes).
#include "io/design_json_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli/design_json.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "io/design_json_schema.h"
#include "model/design.h"
#include "model/design_checks.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

using nlohmann::json;

std::string Dump() { return cli::DumpJson(cli::DesignJson()); }

std::vector<std::string> Faults(const std::string& text) {
    std::vector<std::string> faults;
    EXPECT_FALSE(DesignFromJson(text, faults)) << text;
    return faults;
}

// ---- Refusals ----------------------------------------------------------------------------------

struct Refusal {
    const char* what;
    std::string text;
    std::vector<std::string> faults;  // each starts one of the faults reported
};

TEST(DesignJsonRead, RefusesEveryFaultWithItsPathValueAndAllowedRange) {
    const std::vector<Refusal> cases = {
        {"unknown keys at every level",
         R"({"gInpJyoken": {"Nope": 1}, "gInpX": {}, "gInpSectS": [{"Zq": 1}]})",
         {"gInpJyoken.Nope: unknown key", "gInpX: unknown key (expected gInpJyoken,",
          "gInpSectS[0].Zq: unknown key"}},
        {"wrong types",
         R"({"gInpJyoken": {"InpFlg": 1, "Title": 5, "ELDL": "0", "Keijyo": 1.5},
             "gInpJiban": [], "gInpSectC": {}, "gInpSectLS": [7]})",
         {"gInpJyoken.InpFlg: 1 is not true or false", "gInpJyoken.Title: 5 is not a text",
          "gInpJyoken.ELDL: \"0\" is not a number (入力範囲：",
          "gInpJyoken.Keijyo: 1.5 is not a whole number", "gInpJiban: [] is not an object",
          "gInpSectC: {} is not an array", "gInpSectLS[0]: 7 is not an object"}},
        {"values outside the input ranges, records and rows",
         R"({"gInpJyoken": {"ELDL": 1000, "Z": 0.5}, "gInpJiban": {"Fai": 60.5},
             "gInpYaita": {"Sect": 100}, "gInpSectS": [{"Name": "a"}, {"Zo": 9, "Id": 1e12}],
             "gInpSectC": [{"Keijyo": 3}], "gInpSectLS": [{"Mass": -1}]})",
         {"gInpJyoken.ELDL: 1000 is outside the input range (入力範囲：-999.00 ～ +999.00)",
          "gInpJyoken.Z: 0.5 is outside the input range (入力範囲：1.0 ～ 99.0)",
          "gInpJiban.Fai: 60.5 is outside",
          "gInpSectC[0].Keijyo: 3 is outside the input range (入力範囲：0～2)",
          "gInpSectS[1].Zo: 9 is outside the input range (入力範囲：10～9999999.9)",
          "gInpSectS[1].Id: 1e+12 is outside", "gInpYaita.Sect: 100 is outside",
          "gInpSectLS[0].Mass: -1 is outside the input range (入力範囲：0～9999.9)"}},
        {"texts over their byte limit or with characters the design file cannot hold",
         R"({"gInpJyoken": {"Title": ")" + std::string(81, 'x') + R"("},
             "gInpZairyo": {"YZai": "ＳＹ２９５Ｘ", "KYZai": "a\"b"},
             "gInpSectC": [{"Name": "a\nb"}, {"Name": "😀"}]})",
         {"gInpJyoken.Title: \"xxxx", "gInpZairyo.KYZai: \"a\\\"b\" is refused",
          "gInpZairyo.YZai: \"ＳＹ２９５Ｘ\" is refused (at most 10 code page 932 bytes",
          "gInpSectC[0].Name: \"a\\nb\" is refused", "gInpSectC[1].Name:"}},
        {"more sections than a catalogue holds",
         R"({"gInpSectS": [)" +
             [] {
                 std::string rows;
                 for (int i = 0; i < 31; ++i) rows += std::string(i ? "," : "") + "{}";
                 return rows;
             }() +
             "]}",
         {"gInpSectS: 31 sections (at most 30)"}},
        {"not an object", "[1, 2]", {"(document): [1,2] is not an object of gInpJyoken"}},
        {"a key given twice",
         R"({"gInpJyoken": {"ELDL": 1, "ELDL": 2}})",
         {"gInpJyoken.ELDL: the key is given twice"}},
        {"truncated", R"({"gInpJyoken": {"ELDL": )", {"malformed JSON: parse error"}},
        {"empty", "", {"malformed JSON: parse error"}},
        {"a byte order mark",
         "\xEF\xBB\xBF{}",
         {"malformed JSON: the text starts with a byte order mark"}},
        {"NaN", R"({"gInpJyoken": {"ELDL": NaN}})", {"malformed JSON: parse error"}},
        {"Infinity", R"({"gInpJyoken": {"ELDL": -Infinity}})", {"malformed JSON: parse error"}},
        {"beyond the double range",
         R"({"gInpJyoken": {"ELDL": 1e309}})",
         {"malformed JSON: number overflow parsing '1e309'"}},
        {"nesting 10,000 deep",
         std::string(10000, '[') + std::string(10000, ']'),
         {"malformed JSON: nested deeper than 64 levels"}},
        {"nesting 10,000 deep in a record",
         R"({"gInpJyoken": {"ELDL": )" + std::string(10000, '['),
         {"malformed JSON: nested deeper than 64 levels"}},
        {"trailing text", "{} {}", {"malformed JSON: parse error"}},
        {"the site's keys",
         R"({"gInpJyoken": {"ELWF": "1"}, "gInpJiban": {"DeltaA": 61, "Layers": [
             {"ELU": -1, "Kind": 2, "Fai": 61, "X": 0}, 5]}})",
         {"gInpJyoken.ELWF: \"1\" is not a number (入力範囲：-999.00 ～ +999.00)",
          "gInpJiban.DeltaA: 61 is outside the input range (入力範囲：0.0 ～ 60.0)",
          "gInpJiban.Layers[1].Kind: 2 is outside the input range (入力範囲：0～1)",
          "gInpJiban.Layers[1].Fai: 61 is outside the input range (入力範囲：0～60)",
          "gInpJiban.Layers[1].X: unknown key", "gInpJiban.Layers[2]: 5 is not an object"}},
        {"more layers than the ground holds",
         R"({"gInpJiban": {"Layers": [{}, {}, {}, {}, {}, {}, {}, {}, {}, {}]}})",
         {"gInpJiban.Layers: 10 layers below the first (at most 9, the ground holds 10)"}},
        {"layers that are no array",
         R"({"gInpJiban": {"Layers": {}}})",
         {"gInpJiban.Layers: {} is not an array of layers"}},
        {"references that are no texts, empty, too long or with a double quote",
         R"({"gInpHyoshi": {"SankoBunken": [5, "", ")" + std::string(81, 'x') +
             R"(", "a\"b", "道路土工（平成24年版）"]}})",
         {"gInpHyoshi.SankoBunken[0]: 5 is not a text",
          "gInpHyoshi.SankoBunken[1]: \"\" is refused (a reference is not empty)",
          "gInpHyoshi.SankoBunken[2]: \"xxx", "gInpHyoshi.SankoBunken[3]: \"a\\\"b\" is refused"}},
        {"more references than a design holds",
         R"({"gInpHyoshi": {"SankoBunken": [)" +
             [] {
                 std::string texts;
                 for (int i = 0; i < 21; ++i) texts += std::string(i ? "," : "") + "\"a\"";
                 return texts;
             }() +
             "]}}",
         {"gInpHyoshi.SankoBunken: 21 references (at most 20)"}},
        {"references that are no array",
         R"({"gInpHyoshi": {"SankoBunken": "a"}})",
         {"gInpHyoshi.SankoBunken: \"a\" is not an array of texts"}},
        {"invalid UTF-8",
         "{\"gInpJyoken\": {\"Title\": \"\xff\"}}",
         {"malformed JSON: parse error"}},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> faults = Faults(c.text);
        ASSERT_EQ(faults.size(), c.faults.size()) << ::testing::PrintToString(faults);
        for (const std::string& e : c.faults) {
            const bool found = std::any_of(faults.begin(), faults.end(), [&](const std::string& f) {
                return f.rfind(e, 0) == 0;
            });
            EXPECT_TRUE(found) << "missing: " << e << "\nin: " << ::testing::PrintToString(faults);
        }
        // A refused document leaves a new design behind.
        const std::string refused = Dump();
        InitData();
        EXPECT_EQ(refused, Dump());
    }
}

// ---- Meaning -----------------------------------------------------------------------------------

TEST(DesignJsonRead, KeysLeftOutKeepANewDesignAndCataloguesGivenReplaceTheDefaults) {
    std::vector<std::string> faults;
    ASSERT_TRUE(DesignFromJson(R"({"gInpJyoken": {"ELDL": 0.5}})", faults));
    json got = json::parse(Dump());
    InitData();
    json expected = json::parse(Dump());
    expected["gInpJyoken"]["ELDL"] = 0.5;
    EXPECT_EQ(got, expected);

    // A new design's steel rows carry their masses; a row without one has no key for it.
    EXPECT_EQ(expected["gInpSectS"][1]["Mass"], 120);
    EXPECT_FALSE(expected["gInpSectS"][0].contains("Mass"));
    EXPECT_FALSE(expected["gInpSectLS"][0].contains("Mass"));

    // Steel sections: a new grid row's values where keys are left out (no mass); the other
    // two catalogues stay the built-in ones. The masses read back as they were written.
    ASSERT_TRUE(DesignFromJson(
        R"({"gInpSectS": [{"Name": "SP-X", "Zo": 2270}, {"Mass": 98.5}], "gInpSectC": []})",
        faults))
        << ::testing::PrintToString(faults);
    ASSERT_EQ(gInpSectS.Count(), 2);
    EXPECT_EQ(gInpSectS.Item(1)->Name, "SP-X");
    EXPECT_EQ(gInpSectS.Item(1)->Zo, 2270);
    EXPECT_EQ(gInpSectS.Item(1)->Id, 100);  // a new row's I'
    EXPECT_EQ(gInpSectS.Item(1)->Mass, 0);
    EXPECT_EQ(gInpSectS.Item(2)->Mass, 98.5);
    EXPECT_EQ(gInpSectC.Count(), 0);
    const json written = json::parse(Dump());
    EXPECT_EQ(written["gInpSectLS"], expected["gInpSectLS"]);
    EXPECT_FALSE(written["gInpSectS"][0].contains("Mass"));
    EXPECT_EQ(written["gInpSectS"][1]["Mass"], 98.5);
    const colInpSectS steel = gInpSectS;
    ASSERT_TRUE(DesignFromJson(written.dump(), faults));
    EXPECT_TRUE(gInpSectS == steel);

    // Whole numbers are numbers of any JSON form; Booleans only true and false.
    ASSERT_TRUE(DesignFromJson(
        R"({"gInpYaita": {"Sect": 3.0, "InpFlg": true}, "gInpJiban": {"KH": 3e4}})", faults));
    EXPECT_EQ(gInpYaita.Sect, 3);
    EXPECT_EQ(gInpJiban.KH, 30000);
}

TEST(DesignJsonRead, SetDesignValueTakesThePathsOfTheJsonWithTheSameChecks) {
    struct Case {
        std::string path, value;
        bool ok;
        std::string fault;  // start of the fault
    };
    const std::vector<Case> cases = {
        {"gInpJyoken.ELDL", "-0.5", true, ""},
        {"gInpSectS[2].Zo", "1520", true, ""},
        {"gInpYaita.InpFlg", "true", true, ""},
        {"gInpJyoken.Title", "水路, 第2案", true, ""},
        {"gInpHyoshi.Sekkeisha", "㈱髙橋ｺﾝｻﾙﾀﾝﾄ", true, ""},
        {"gInpHyoshi.Hizuke", "令和6年10月1日", true, ""},
        {"gInpHyoshi.Han", "第1版（改訂）その2ｱｲｳ", false,
         "gInpHyoshi.Han: \"第1版（改訂）その2ｱｲｳ\" is refused (at most 20 code page 932 bytes"},
        {"gInpHyoshi.Kouji", "x", false, "gInpHyoshi.Kouji: unknown key"},
        {"gInpJyoken.ELDL", "-1000", false, "gInpJyoken.ELDL: -1000 is outside the input range"},
        {"gInpJyoken.ELDL", "0.5m", false, "gInpJyoken.ELDL: 0.5m is not a number"},
        {"gInpJyoken.ELDL", "nan", false, "gInpJyoken.ELDL: nan is not a number"},
        {"gInpYaita.InpFlg", "1", false, "gInpYaita.InpFlg: 1 is not true or false"},
        {"gInpYaita.Sect", "2.5", false, "gInpYaita.Sect: 2.5 is not a whole number"},
        {"gInpSectS[12].Zo", "1520", false,
         "gInpSectS[12].Zo: there is no row 12 (the catalogue has 12 rows"},
        {"gInpSectS[-1].Zo", "1520", false, "gInpSectS[-1].Zo: the row index"},
        {"gInpSectS.Zo", "1520", false, "gInpSectS.Zo: a section needs its row"},
        {"gInpJyoken[0].ELDL", "1", false, "gInpJyoken[0].ELDL: gInpJyoken has no rows"},
        {"gInpJyoken.Nope", "1", false, "gInpJyoken.Nope: unknown key"},
        {"ELDL", "1", false, "ELDL: expected RECORD.FIELD"},
        {"gInpJyoken.Title", "a\"b", false, "gInpJyoken.Title: \"a\\\"b\" is refused"},
        {"gInpJyoken.ELWF", "0.5", true, ""},
        {"gInpJiban.DeltaA", "20", true, ""},
        {"gInpJiban.DeltaP", "60.5", false, "gInpJiban.DeltaP: 60.5 is outside the input range"},
        // One past the last layer (there are none) appends a new grid row's layer.
        {"gInpJiban.Layers[1].Fai", "25", true, ""},
        {"gInpJiban.Layers[2].ELU", "-1", false,
         "gInpJiban.Layers[2].ELU: there is no layer 2 (the ground has 0 layers below the first, "
         "from 1; gInpJiban.Layers[1] adds one)"},
        {"gInpJiban.Layers[1].Kind", "2", false, "gInpJiban.Layers[1].Kind: 2 is outside"},
        {"gInpJiban.Layers[0].ELU", "-1", false,
         "gInpJiban.Layers[0].ELU: the layer row must be a whole number from 1"},
        {"gInpJiban.Layers.ELU", "-1", false, "gInpJiban.Layers.ELU: a layer needs its row"},
        {"gInpJiban.Layers[1].Nope", "1", false, "gInpJiban.Layers[1].Nope: unknown key"},
        // References from 0: one past the last is appended, nothing else beyond it.
        {"gInpHyoshi.SankoBunken[0]", "道路土工（平成24年版）", true, ""},
        {"gInpHyoshi.SankoBunken[1]", "x", false,
         "gInpHyoshi.SankoBunken[1]: there is no reference 1 (the design has 0, from 0; "
         "gInpHyoshi.SankoBunken[0] adds one)"},
        {"gInpHyoshi.SankoBunken[0]", "", false, "gInpHyoshi.SankoBunken[0]: there is no"},
        {"gInpHyoshi.SankoBunken[0]", "a\"b", false, "gInpHyoshi.SankoBunken[0]: \"a\\\"b\" is"},
        {"gInpHyoshi.SankoBunken", "x", false, "gInpHyoshi.SankoBunken: a reference needs its row"},
        {"gInpHyoshi.SankoBunken[-1]", "x", false, "gInpHyoshi.SankoBunken[-1]: a reference"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + "=" + c.value);
        InitData();
        const std::string before = Dump();
        std::string fault;
        EXPECT_EQ(SetDesignValue(c.path, c.value, fault), c.ok) << fault;
        if (c.ok) {
            EXPECT_NE(Dump(), before);
        } else {
            EXPECT_EQ(fault.rfind(c.fault, 0), 0u) << fault;
            EXPECT_EQ(Dump(), before);
        }
    }
    InitData();
    std::string fault;
    ASSERT_TRUE(SetDesignValue("gInpSectS[2].Zo", "1520", fault));
    EXPECT_EQ(gInpSectS.Item(3)->Zo, 1520);  // rows from 0, as in the JSON

    // Layers count from 1 and are appended one past the last, up to the ground's ten; a new one
    // holds what a new grid row holds.
    for (int n = 1; n <= 9; ++n) {
        ASSERT_TRUE(SetDesignValue("gInpJiban.Layers[" + std::to_string(n) + "].ELU",
                                   std::to_string(-n), fault))
            << fault;
    }
    ASSERT_EQ(gInpJiban.Layers.size(), 9u);
    CInpJibanLayer fresh;
    fresh.ELU = -9;
    EXPECT_EQ(gInpJiban.Layers[8], fresh);
    EXPECT_FALSE(SetDesignValue("gInpJiban.Layers[10].ELU", "-9.5", fault));
    EXPECT_EQ(fault,
              "gInpJiban.Layers[10].ELU: the ground holds at most 10 layers (9 below the first)");
    ASSERT_TRUE(SetDesignValue("gInpJiban.Layers[9].Kind", "1", fault));
    EXPECT_EQ(gInpJiban.Layers[8].Kind, 1);

    // References are replaced in place, appended up to a design's twenty and removed by an
    // empty text, those after it moving up.
    for (int n = 0; n < kMaxReferences; ++n) {
        ASSERT_TRUE(SetDesignValue("gInpHyoshi.SankoBunken[" + std::to_string(n) + "]",
                                   "R" + std::to_string(n), fault))
            << fault;
    }
    EXPECT_FALSE(SetDesignValue("gInpHyoshi.SankoBunken[20]", "R20", fault));
    EXPECT_EQ(fault, "gInpHyoshi.SankoBunken[20]: a design holds at most 20 references");
    ASSERT_TRUE(SetDesignValue("gInpHyoshi.SankoBunken[1]", "", fault));
    ASSERT_TRUE(SetDesignValue("gInpHyoshi.SankoBunken[0]", "S0", fault));
    ASSERT_EQ(gInpHyoshi.SankoBunken.size(), 19u);
    EXPECT_EQ(gInpHyoshi.SankoBunken[0], "S0");
    EXPECT_EQ(gInpHyoshi.SankoBunken[1], "R2");
}

// ---- Round trips -------------------------------------------------------------------------------

// Every design: the example files, a new design and the generator's valid designs.
std::vector<std::pair<std::string, std::string>> DesignFiles() {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& e : std::filesystem::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() == ".kvt")
            files.emplace_back(e.path().filename(), test::ReadBytes(e.path()));
    }
    InitData();
    files.emplace_back("new design", DesignToBytes());
    // The cover's block filled, at its byte limits and with multi-byte texts.
    gInpHyoshi = {"令和6年度　第2号幹線水路（左岸）改修工事，No.3+20～No.5+40①",
                  "○○県　△△農林振興事務所",
                  "㈱髙橋ｺﾝｻﾙﾀﾝﾄ 設計部 山田",
                  "鈴木　一郎",
                  "令和6年10月1日",
                  "第12版（Ⅲ案）再照査"};
    files.emplace_back("cover block", DesignToBytes());
    gInpHyoshi = {"", "", "", "", "", "A"};  // only the last: the empty ones before it are written
    files.emplace_back("cover issue only", DesignToBytes());
    // References of its own, alone and after a layered site.
    gInpHyoshi.SankoBunken = {"道路土工－擁壁工指針（平成24年度版）", "社内設計要領 第3版, 2024"};
    files.emplace_back("references", DesignToBytes());
    gInpJiban.Layers = {{-2.5, 1, 17, 7, 0, 1.5, 40, 2000}};
    files.emplace_back("references and layers", DesignToBytes());
    gInpJiban.Layers.clear();
    for (const load::Site site : {load::Site::Homogeneous, load::Site::Layered}) {
        int valid = 0;
        for (uint64_t i = 0; valid < 200; ++i) {
            const load::GeneratedDesign d = load::GenerateDesign(16, i, site);
            if (d.family != load::Family::Valid) continue;
            ++valid;
            files.emplace_back("generated " + std::to_string(i) + " " + d.what, d.bytes);
        }
    }
    return files;
}

// Generated designs with layers, channel water and wall friction read back from their design
// file as they were made, the site in force: every one passes the ground checks it was made for,
// and the version line says whether it needs more than the classic layout.
TEST(DesignFileRoundTrip, GeneratedSitesReadBackEqual) {
    int layered = 0, extended = 0;
    for (uint64_t i = 0; i < 400; ++i) {
        const load::GeneratedDesign d = load::GenerateDesign(27, i, load::Site::Layered);
        if (d.family != load::Family::Valid) continue;
        SCOPED_TRACE(std::to_string(i) + d.what);
        int32_t code = 0;
        ASSERT_TRUE(DesignFromBytes(d.bytes, code)) << code;
        EXPECT_EQ(load::Difference(load::TakeSnapshot(), d.design), "");
        EXPECT_EQ(DesignToBytes(), d.bytes);
        EXPECT_EQ(test::Lines(d.bytes).at(2).substr(32, 5),
                  NeedsExtendedLayout() ? "1.10]" : "1.00]");
        const std::optional<DesignRefusal> r = RefuseDesign(StoredChoice::Checked);
        EXPECT_FALSE(r) << r->field << " " << r->message.text;
        layered += gInpJiban.Layers.size() > 1 ? 1 : 0;
        extended += NeedsExtendedLayout() ? 1 : 0;
    }
    EXPECT_GT(layered, 50);
    EXPECT_LT(extended, 200);  // some of the series need none of it
}

TEST(DesignJsonRead, KvtToJsonToKvtGivesTheSameBytes) {
    for (const auto& [name, bytes] : DesignFiles()) {
        SCOPED_TRACE(name);
        int32_t code = 0;
        ASSERT_TRUE(DesignFromBytes(bytes, code)) << code;
        const std::string json = Dump();
        std::vector<std::string> faults;
        ASSERT_TRUE(DesignFromJson(json, faults)) << ::testing::PrintToString(faults);
        EXPECT_EQ(DesignToBytes(), bytes);
        EXPECT_EQ(Dump(), json);
    }
}

// ---- Schema ------------------------------------------------------------------------------------

// The keywords the design schema uses, checked as JSON Schema (2020-12) defines them.
void Validate(const json& schema, const json& v, const std::string& path,
              std::vector<std::string>& errors) {
    auto fail = [&](const std::string& why) { errors.push_back(path + ": " + why); };
    if (schema.contains("type")) {
        const std::string t = schema["type"];
        const bool ok = t == "object"    ? v.is_object()
                        : t == "array"   ? v.is_array()
                        : t == "string"  ? v.is_string()
                        : t == "boolean" ? v.is_boolean()
                        : t == "integer"
                            ? v.is_number() && std::trunc(v.get<double>()) == v.get<double>()
                        : t == "number" ? v.is_number()
                                        : false;
        if (!ok) return fail("not " + t);
    }
    if (schema.contains("minimum") && v.get<double>() < schema["minimum"].get<double>())
        fail("below minimum");
    if (schema.contains("maximum") && v.get<double>() > schema["maximum"].get<double>())
        fail("above maximum");
    if (schema.contains("exclusiveMinimum") &&
        v.get<double>() <= schema["exclusiveMinimum"].get<double>())
        fail("not above the exclusive minimum");
    if (schema.contains("enum") &&
        std::find(schema["enum"].begin(), schema["enum"].end(), v) == schema["enum"].end()) {
        fail("not in enum");
    }
    if (schema.contains("anyOf")) {
        bool any = false;
        for (const json& s : schema["anyOf"]) {
            std::vector<std::string> e;
            Validate(s, v, path, e);
            any = any || e.empty();
        }
        if (!any) fail("matches none of anyOf");
    }
    if (schema.contains("maxLength")) {
        const std::string& s = v.get_ref<const std::string&>();
        const auto chars =
            std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; });
        if (chars > schema["maxLength"].get<long>()) fail("too long");
    }
    if (schema.contains("minLength") && v.get_ref<const std::string&>().empty() &&
        schema["minLength"].get<long>() > 0) {
        fail("too short");
    }
    if (schema.contains("pattern") &&
        !std::regex_search(v.get<std::string>(),
                           std::regex(schema["pattern"].get<std::string>()))) {
        fail("does not match the pattern");
    }
    if (schema.contains("maxItems") && v.size() > schema["maxItems"].get<std::size_t>())
        fail("too many items");
    if (schema.contains("items")) {
        for (std::size_t i = 0; i < v.size(); ++i)
            Validate(schema["items"], v[i], path + "[" + std::to_string(i) + "]", errors);
    }
    if (schema.contains("properties")) {
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string p = path.empty() ? it.key() : path + "." + it.key();
            if (schema["properties"].contains(it.key())) {
                Validate(schema["properties"][it.key()], it.value(), p, errors);
            } else if (schema.value("additionalProperties", true) == false) {
                errors.push_back(p + ": not allowed");
            }
        }
    }
}

TEST(DesignJsonSchema, CommittedFileIsTheOneTheFieldTableMakes) {
    const std::filesystem::path file = test::SourceDir() / "data" / "kuvelt-design.schema.json";
    if (std::getenv("KUVELT_UPDATE_SCHEMA") != nullptr) test::WriteBytes(file, DesignJsonSchema());
    EXPECT_EQ(test::ReadBytes(file.string()), DesignJsonSchema())
        << "run this test with KUVELT_UPDATE_SCHEMA=1 to write " << file;
}

TEST(DesignJsonSchema, EveryDesignTheToolWritesMeetsItAndRefusedOnesDoNot) {
    const json schema = json::parse(DesignJsonSchema());
    for (const auto& [name, bytes] : DesignFiles()) {
        SCOPED_TRACE(name);
        int32_t code = 0;
        ASSERT_TRUE(DesignFromBytes(bytes, code));
        std::vector<std::string> errors;
        Validate(schema, json::parse(Dump()), "", errors);
        EXPECT_TRUE(errors.empty()) << ::testing::PrintToString(errors);
    }
    // The validator is no rubber stamp: documents the reader refuses for their values fail too.
    for (const char* bad :
         {R"({"gInpJyoken": {"ELDL": 1000}})", R"({"gInpX": {}})", R"({"gInpSectS": [{"Zo": 9}]})",
          R"({"gInpYaita": {"Sect": 2.5}})", R"({"gInpJyoken": {"Title": "a\"b"}})",
          R"({"gInpZairyo": {"AlphaIs": 0}})", R"({"gInpHyoshi": {"SankoBunken": [""]}})"}) {
        SCOPED_TRACE(bad);
        std::vector<std::string> errors, faults;
        Validate(schema, json::parse(bad), "", errors);
        EXPECT_FALSE(errors.empty());
        EXPECT_FALSE(DesignFromJson(bad, faults));
    }
}

}  // namespace
}  // namespace kuvelt
