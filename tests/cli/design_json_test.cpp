#include "cli/design_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/design.h"

namespace kuvelt::cli {
namespace {

TEST(JsonNumber, ShortestPlainTexts) {
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {4.0, "4"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {35000000, "35000000"},
        {999999999.9, "999999999.9"},
        {1e-6, "0.000001"},
        {1e-7, "1e-07"},
        {1e21, "1e+21"},
        {0.30000000000000004, "0.30000000000000004"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {std::numeric_limits<double>::infinity(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.v), c.text) << c.text;
}

TEST(JsonNumber, EveryDoubleReadsBackExactly) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        double v;
        const uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        const std::string t = JsonNumber(v);
        EXPECT_EQ(std::strtod(t.c_str(), nullptr), v) << t;
    }
}

// A series of numbers under a key, as a result writer adds one to the dump: both layouts, and
// the tree form for code that looks values up.
TEST(JsonWriter, NumberSeriesInBothLayouts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::vector<double> values;
        const char* line;
        const char* pretty;
    } cases[] = {
        {{}, R"({"distribution":[],"n":0})", "{\n  \"distribution\": [],\n  \"n\": 0\n}"},
        {{0.0, -1.5, 1e-7, nan},
         R"({"distribution":[0,-1.5,1e-07,null],"n":4})",
         "{\n  \"distribution\": [\n    0,\n    -1.5,\n    1e-07,\n    null\n  ],\n  \"n\": 4\n}"},
    };
    for (const auto& c : cases) {
        auto write = [&](auto& w) {
            w.BeginObject();
            w.Key("distribution");
            w.Numbers(c.values);
            w.Member("n", static_cast<int32_t>(c.values.size()));
            w.EndObject();
        };
        for (const auto style : {JsonWriter::Style::Line, JsonWriter::Style::Pretty}) {
            JsonBuffer text;
            JsonWriter w(text, style);
            write(w);
            EXPECT_EQ(text.Take(), style == JsonWriter::Style::Line ? c.line : c.pretty);
        }
        JsonTreeBuilder tree;
        write(tree);
        EXPECT_EQ(DumpJson(tree.Take()), std::string(c.pretty) + "\n");
    }
}

TEST(DesignJson, NonFiniteValuesAndControlCharactersStayValidJson) {
    InitData();
    gInpJyoken.ELGL = std::numeric_limits<double>::quiet_NaN();
    gInpJyoken.Title = "a\"b\\c\n\xFF";  // quote, backslash, line feed and a stray byte
    nlohmann::ordered_json j;
    j["design"] = DesignJson();
    const auto back = nlohmann::ordered_json::parse(DumpJson(j));
    EXPECT_TRUE(back["design"]["gInpJyoken"]["ELGL"].is_null());
    EXPECT_EQ(back["design"]["gInpJyoken"]["Title"].get<std::string>(), "a\"b\\c\n\xEF\xBF\xBD");
    EXPECT_EQ(back["design"]["gInpSectS"].size(), 12u);
    EXPECT_EQ(back["design"]["gInpSectS"][11]["Name"].get<std::string>(), "SP-\xE2\x85\xA5L");
    InitData();
}

}  // namespace
}  // namespace kuvelt::cli
