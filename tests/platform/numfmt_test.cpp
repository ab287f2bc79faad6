#include "platform/numfmt.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace kuvelt::numfmt {
namespace {

struct PictureCase {
    const char* name;
    double value;
    const char* picture;
    const char* expected;
};

class PictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, Renders) {
    const PictureCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.picture), c.expected)
        << c.value << " with \"" << c.picture << "\"";
}

// clang-format off
const PictureCase kPictures[] = {
    // Rounding on the 15-digit decimal form, half away from zero.
    {"HalfUpExact", 0.125, "0.00", "0.13"},
    {"HalfUpBinaryBelow", 2.675, "0.00", "2.68"},
    {"HalfUpOneDotZeroFive", 1.005, "0.00", "1.01"},
    {"HalfUpNegative", -2.345, "0.00", "-2.35"},
    {"HalfUpInteger", 12.5, "0", "13"},
    {"HalfUpNegativeInteger", -12.5, "0", "-13"},
    {"BelowHalf", 0.1249999, "0.00", "0.12"},
    {"CarryIntoNewDigit", 9.996, "0.00", "10.00"},
    {"CarryThroughAllNines", 999.9999, "##0.00", "1000.00"},
    {"NegativeRoundsToZero", -0.001, "0.00", "0.00"},
    {"NegativeRoundsToZeroHash", -0.4, "#", ""},
    {"NegativeZero", -0.0, "##0.00", "0.00"},
    {"TinyValue", 1e-300, "0.000", "0.000"},
    // Digit places and the integer part.
    {"FieldExamplePi", 3.14159, "###0.00", "3.14"},
    {"FieldExampleLong", 12345.678, "###0.00", "12345.68"},
    {"FieldExampleTrailingZero", 1234.5, "###0.00", "1234.50"},
    {"NoZeroBeforePoint", 0.5, "#.00", ".50"},
    {"ZeroWithZeroPlace", 0, "##0.00", "0.00"},
    {"ZeroWithHashOnly", 0, "#", ""},
    {"ZeroPadding", 5, "000", "005"},
    {"OverflowDigitsShown", 123456, "#0", "123456"},
    {"ManyDecimals", 1.23456789, "###0.000000", "1.234568"},
    {"OptionalDecimalsDropZeros", 1.5, "0.0##", "1.5"},
    {"OptionalDecimalsKeepSignificant", 1.25, "0.0#", "1.25"},
    {"PointWithoutDecimals", 5, "#.", "5."},
    {"NoPointRoundsToInteger", 2.5, "##0", "3"},
    {"HugeValue", 1e20, "0", "100000000000000000000"},
    {"LargeKeepsFifteenDigits", 123456789012345678.0, "0", "123456789012346000"},
    // Thousands grouping.
    {"GroupMillions", 21000000, "###,###,##0", "21,000,000"},
    {"GroupSmall", 53, "##,##0\xEF\xBC\x89", "53\xEF\xBC\x89"},
    {"GroupWithFullWidthParen", 1004, "##,##0\xEF\xBC\x89", "1,004\xEF\xBC\x89"},
    {"GroupBeyondPicture", 1234567, "#,##0", "1,234,567"},
    {"GroupNegative", -1234.5, "#,##0.0", "-1,234.5"},
    {"GroupZero", 0, "###,###,##0", "0"},
    {"GroupZeroPadding", 12, "0,000", "0,012"},
    {"CommaAfterDigitsIsLiteral", 12, "##0,", "12,"},
    {"CommaInFractionIsLiteral", 1.5, "##0.00,", "1.50,"},
    // Literals, escapes and sections.
    {"EscapedAmpersand", 1, "\\&# ", "&1 "},
    {"EscapedCommaAndBlank", -5.5, "###0.00\\, ", "-5.50, "},
    {"PositiveSection", 4, "+##0.00;-##0.00", "+4.00"},
    {"NegativeSection", -1.5, "+##0.00;-##0.00", "-1.50"},
    {"NegativeSectionRoundsToZero", -0.0001, "+#0.000;-#0.000", "+0.000"},
    {"EmptyNegativeSectionUsesFirst", -2, "0.0;", "-2.0"},
    {"ZeroSection", 0, "0.0;-0.0;\\z\\e\\r\\o", "zero"},
    {"EscapedSemicolon", 3, "0\\;", "3;"},
    {"FullWidthLiterals", 1.5, "\\\xE2\x89\xA7\\ ##0.0\\ \\O\\K", "\xE2\x89\xA7 1.5 OK"},
    {"UnescapedFullWidth", 2, "\xE2\x89\xA6#0", "\xE2\x89\xA6" "2"},
    {"LiteralBetweenPlaces", 1234, "##-##", "12-34"},
    {"LiteralBetweenPlacesShortValue", 5, "##-##", "-5"},
    {"MinusBeforeLeadingLiterals", -1.5, "\\x##0.0", "-x1.5"},
    {"BackslashFieldOfReport", 12, "\\\\###0", "\\12"},
    {"DoubledPointIsLiteral", 1.5, "0.0.", "1.5."},
    {"TrailingBackslashIgnored", 7, "0\\", "7"},
    {"NoDigitPlacesStillShowsDigits", 7, "abc", "abc7"},
    {"OnlyFractionPlaces", 1.5, ".00", "1.50"},
    {"OnlyFractionPlacesBelowOne", 0.5, ".00", ".50"},
    {"HashPointLarger", 12.5, "#.00", "12.50"},
    {"EmptyPictureIsGeneral", 1.5, "", "1.5"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Numfmt, PictureTest, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatNumber, NonFiniteValuesDoNotCrash) {
    EXPECT_EQ(FormatNumber(std::nan(""), "0.00"), "NaN");
    EXPECT_EQ(FormatNumber(HUGE_VAL, "0.00"), "Infinity");
    EXPECT_EQ(FormatNumber(-HUGE_VAL, "0.00"), "-Infinity");
}

struct GeneralCase {
    const char* name;
    double value;
    const char* expected;
};

class GeneralTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralTest, Renders) { EXPECT_EQ(General(GetParam().value), GetParam().expected); }

// clang-format off
const GeneralCase kGeneral[] = {
    {"Integer", 4, "4"},
    {"Negative", -1.5, "-1.5"},
    {"Tenth", 0.1, "0.1"},
    {"Zero", 0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"SmallestPlain", 0.0001, "0.0001"},
    {"BelowPlain", 0.00001, "1E-05"},
    {"BelowPlainMantissa", -0.000015, "-1.5E-05"},
    {"LargestPlain", 999999999999999, "999999999999999"},
    {"Exponent15", 1e15, "1E+15"},
    {"RoundsUpToExponent", 999999999999999.9, "1E+15"},
    {"ExponentThreeDigits", 1.25e100, "1.25E+100"},
    {"FifteenDigitsCut", 0.1 + 0.2, "0.3"},
    {"FifteenDigitsKept", 1.23456789012345, "1.23456789012345"},
    {"TwelvePointFive", 12.5, "12.5"},
    {"TwoToTheFifty", 1125899906842624.0, "1.12589990684262E+15"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Numfmt, GeneralTest, ::testing::ValuesIn(kGeneral),
                         [](const auto& info) { return std::string(info.param.name); });

// Every double written with at most 15 significant digits must come back unchanged through
// General and ParseNumber: design files and settings depend on it.
// ShortestText against std::to_chars, whose texts it replaces (fixed notation from 1e-6 up to
// below 1e21, the shorter form elsewhere): numbers of a few decimals and their neighbours, full
// 53-bit fractions over every binade its own methods cover and beyond, quotients as the
// calculation makes them, powers of two and ten with their neighbours, the ends of the ranges.
TEST(ShortestText, IsTheTextOfToChars) {
    auto reference = [](double v) {
        char buf[400];
        const double a = std::fabs(v);
        const auto r = a == 0.0 || (a >= 1e-6 && a < 1e21)
                           ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                           : std::to_chars(buf, buf + sizeof buf, v);
        return std::string(buf, r.ptr);
    };
    long checked = 0;
    auto check = [&](double v) {
        char buf[kShortestTextMax];
        const std::string text(buf, ShortestText(v, buf));
        ASSERT_EQ(text, reference(v)) << std::hexfloat << v;
        ++checked;
    };
    std::mt19937_64 rng(53);
    for (int k = 0; k < 400000; ++k) {
        const uint64_t binade = 1023 - 24 + rng() % 100;  // 2^-24 to 2^75
        double v = std::bit_cast<double>(binade << 52 | (rng() & ((uint64_t{1} << 52) - 1)));
        check(k % 2 ? -v : v);
        const double scale = std::pow(10.0, static_cast<double>(rng() % 12));
        v = static_cast<double>(rng() % 2'000'000'000'000ULL >> (rng() % 40)) / scale;
        check(v);
        check(std::nextafter(v, 0.0));
        check(std::nextafter(v, 1e300));
        check(static_cast<double>(rng() % 100000 + 1) / static_cast<double>(rng() % 1000 + 1));
    }
    for (int e = -1074; e < 1024; ++e) {
        const double p = std::ldexp(1.0, e);
        for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), 3 * p / 4}) check(v);
    }
    for (int e = -30; e < 30; ++e) {
        const double p = std::pow(10.0, e);
        for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)}) check(v);
    }
    for (double v : {0.0, -0.0, 9007199254740992.0, 9007199254740991.0, 9007199254740993.0,
                     999999999.999999, 1e9 - 1e-6, 4503599627370495.5, 1.7976931348623157e308,
                     4.9e-324, -2.2250738585072014e-308}) {
        check(v);
    }
    EXPECT_GT(checked, 2'000'000);
}

// A curve's points to 0.0001: the text made from the digits is ShortestText of the rounded value,
// over magnitudes from below 0.0001 to the 10^11 bound and beyond, ties, zeros of both signs.
TEST(TenThousandthsText, IsTheShortestTextOfTheRoundedValue) {
    auto check = [](double x) {
        char a[kShortestTextMax], b[kShortestTextMax];
        const std::string fast(a, TenThousandthsText(x, a));
        const std::string ref(b, ShortestText(ToTenThousandths(x), b));
        ASSERT_EQ(fast, ref) << std::hexfloat << x;
    };
    std::mt19937_64 rng(10000);
    for (int k = 0; k < 1000000; ++k) {
        const double scale = std::pow(10.0, static_cast<double>(rng() % 22) - 8.0);
        const double x = (static_cast<double>(rng() % 2'000'000'000ULL) - 1e9) / 1e9 * scale;
        check(x);
        check(std::round(x * 1e4) / 1e4 + 0.00005);  // ties
    }
    for (double x : {0.0, -0.0, 0.00004, -0.00004, 0.00005, -0.00005, 1.0, -1.0, 10.0, 0.1,
                     99999999999.9999, -99999999999.9999, 1e11, -1e11, 1e15, 3.5, 123.45678}) {
        check(x);
    }
}

TEST(General, RoundTripsFifteenDigitDecimals) {
    std::mt19937_64 rng(20261209);
    std::uniform_int_distribution<long long> mant(1, 999999999999999LL);
    std::uniform_int_distribution<int> exp(-30, 30);
    std::uniform_int_distribution<int> sign(0, 1);
    for (int i = 0; i < 200000; ++i) {
        const std::string text = (sign(rng) ? "-" : "") + std::to_string(mant(rng)) + "E" +
                                 std::to_string(exp(rng) - 14);
        const double v = std::strtod(text.c_str(), nullptr);
        double back = 0;
        const std::string g = General(v);
        ASSERT_TRUE(ParseNumber(g, back)) << text << " -> " << g;
        ASSERT_EQ(back, v) << text << " -> " << g;
        ASSERT_LE(g.size(), 22u) << g;
    }
}

struct ParseCase {
    const char* name;
    const char* text;
    bool ok;
    double value;
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, Reads) {
    const ParseCase& c = GetParam();
    double v = -12345;
    EXPECT_EQ(ParseNumber(c.text, v), c.ok) << '"' << c.text << '"';
    if (c.ok) {
        EXPECT_EQ(v, c.value);
    } else {
        EXPECT_EQ(v, -12345) << "a refused text must leave the output alone";
    }
}

// clang-format off
const ParseCase kParse[] = {
    {"Integer", "4", true, 4},
    {"LeadingBlankNegative", " -1.5", true, -1.5},
    {"SurroundingBlanks", "\t 2.5 \r\n", true, 2.5},
    {"Exponent", "1E-05", true, 1e-5},
    {"LowerExponent", "1e+15", true, 1e15},
    {"PlusSign", "+3", true, 3},
    {"NoLeadingZero", ".5", true, 0.5},
    {"TrailingPoint", "5.", true, 5},
    {"Underflow", "1e-400", true, 0},
    {"Empty", "", false, 0},
    {"Blanks", "   ", false, 0},
    {"SignOnly", "-", false, 0},
    {"PointOnly", ".", false, 0},
    {"Text", "abc", false, 0},
    {"TrailingText", "1.5m", false, 0},
    {"InnerBlank", "1 5", false, 0},
    {"Thousands", "1,000", false, 0},
    {"ExponentWithoutDigits", "1E", false, 0},
    {"Infinity", "inf", false, 0},
    {"NotANumber", "nan", false, 0},
    {"Hexadecimal", "0x10", false, 0},
    {"DoubleSign", "--1", false, 0},
    {"Overflow", "1e400", false, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Numfmt, ParseTest, ::testing::ValuesIn(kParse),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    const char* text;
    const char* picture;
    const char* expected;
};

class TextPictureTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextPictureTest, Renders) {
    const TextCase& c = GetParam();
    EXPECT_EQ(FormatText(c.text, c.picture), c.expected);
}

// clang-format off
const TextCase kText[] = {
    {"ExponentFromLeft", "6", "!@@", "6 "},
    {"ExponentFull", "-4", "!@@", "-4"},
    {"FromRight", "6", "@@", " 6"},
    {"EmptyText", "", "@@@", "   "},
    {"LongerFromRightKeepsAll", "abcd", "@@", "abcd"},
    {"LongerFromLeftKeepsAll", "abcd", "!@@", "abcd"},
    {"LiteralsStay", "12", "(@@@)", "( 12)"},
    {"FullWidthIsOneCharacter", "\xE2\x89\xA7", "!@@", "\xE2\x89\xA7 "},
    {"AmpersandShowsNothing", "5", "&&", "5"},
    {"EscapedAt", "x", "\\@@", "@x"},
    {"EmptyPicture", "abc", "", "abc"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Numfmt, TextPictureTest, ::testing::ValuesIn(kText),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kuvelt::numfmt
