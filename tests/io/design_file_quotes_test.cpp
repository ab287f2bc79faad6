// Texts holding a double quote: the design file has no escape for it inside a quoted text, so
// a saved design must still read back whole (found by fuzzing the reader and writer together).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "io/design_file.h"
#include "model/design.h"

namespace kuvelt {
namespace {

struct QuoteCase {
    const char* name;
    std::string text;
    std::string readBack;
};

class DesignFileQuotes : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(DesignFileQuotes, TitleAndSectionNameReadBackAndRestSurvives) {
    const QuoteCase& c = GetParam();
    InitData();
    gInpJyoken.Title = c.text;
    gInpZairyo.YZai = c.text;
    gInpSectS.Clear();
    CInpSectS s;
    s.Name = c.text;
    s.Id = 22800;
    gInpSectS.AddItem(s);
    gInpYaita.L = 7.5;
    const std::string bytes = DesignToBytes();

    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err)) << "error " << err;
    EXPECT_EQ(gInpJyoken.Title, c.readBack);
    EXPECT_EQ(gInpZairyo.YZai, c.readBack);
    ASSERT_EQ(gInpSectS.Count(), 1);
    EXPECT_EQ(gInpSectS.Item(1)->Name, c.readBack);
    EXPECT_EQ(gInpSectS.Item(1)->Id, 22800);
    EXPECT_EQ(gInpYaita.L, 7.5);
    // Saving what was read gives the file that was read, the title shown on line 1 included.
    EXPECT_EQ(DesignToBytes(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Texts, DesignFileQuotes,
                         ::testing::Values(QuoteCase{"NoQuote", "SP-ⅣW", "SP-ⅣW"},
                                           QuoteCase{"QuoteInside", "水路 \"A\" 左岸",
                                                     "水路 ＂A＂ 左岸"},
                                           QuoteCase{"OnlyQuote", "\"", "＂"},
                                           QuoteCase{"QuoteThenComma", "a\",b", "a＂,b"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The fuzzer's case: an unquoted name item that carries quotes reads as text with quotes in it;
// saving it must not make the file unreadable.
TEST(DesignFileQuotes, UnquotedItemWithQuotesSavesReadable) {
    InitData();
    gInpSectS.Clear();
    CInpSectS s;
    s.Name = "x";
    gInpSectS.AddItem(s);
    std::string bytes = DesignToBytes();
    const std::string quoted = "\"x\"\r\n";
    const std::size_t at = bytes.rfind(quoted);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, quoted.size(), "\xfe\"SP\"\r\n");
    int32_t err = 0;
    ASSERT_TRUE(DesignFromBytes(bytes, err)) << "error " << err;
    const std::string saved = DesignToBytes();
    ASSERT_TRUE(DesignFromBytes(saved, err)) << "error " << err;
    ASSERT_EQ(gInpSectS.Count(), 1);
    EXPECT_EQ(gInpSectS.Item(1)->Name, "?＂SP＂");  // 0xFE is no code page 932 byte
}

}  // namespace
}  // namespace kuvelt
