#include "report/numbering.h"

#include <string_view>

#include "io/settings.h"

namespace kuvelt::basResOutPrn {

int32_t NumberMethod = 0;
std::array<int32_t, 6> LevelStyles{};
std::array<int32_t, 6> LevelMargins{};
std::array<int32_t, 6> LevelCounters{};
int32_t CurrentLevel = 1;

namespace {

constexpr std::array<std::string_view, 10> kRoman = {
    "", "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix",
    /*10*/};
constexpr std::string_view kRomanTen = "x";

std::string_view Roman(int32_t n) { return n == 10 ? kRomanTen : kRoman[n]; }

// Counter limit of a style: past it the counter starts again at 1. 0 = no limit.
int32_t CounterLimit(int32_t style) {
    switch (style) {
        case 1:
        case 2:
        case 3:
            return 99;
        case 4:
        case 5:
            return 26;
        case 6:
        case 7:
            return 10;
        case 8:
            return 20;
        default:
            return 0;
    }
}

}  // namespace

void LoadNumbering() { LoadNumbering(gIniFile); }

void LoadNumbering(const std::string& iniFile) {
    const HeadingNumbering stored = ReadHeadingNumbering(iniFile);
    NumberMethod = stored.method;
    for (int k = 1; k <= 4; ++k) {
        const std::size_t i = static_cast<std::size_t>(k - 1);
        LevelStyles[k] = stored.styles[i];
        LevelMargins[k] = stored.margins[i];
        LevelCounters[k] = 0;
    }
    LevelStyles[5] = 0;
    LevelMargins[5] = 0;
    CurrentLevel = 1;
}

std::string CircledNumeral(int32_t n) {
    if (n < 1 || n > 20) return {};
    // U+2460 CIRCLED DIGIT ONE … U+2473 CIRCLED NUMBER TWENTY (code page 932 87 40 … 87 53).
    const char32_t cp = 0x2460 + static_cast<char32_t>(n - 1);
    std::string s;
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
    return s;
}

std::string GetStyleNumber(int32_t style, int32_t& counter) {
    if (style < 1 || style > 9 || counter <= 0) return {};
    const int32_t limit = CounterLimit(style);
    if (limit > 0 && counter > limit) counter = 1;
    const int32_t n = counter;
    switch (style) {
        case 1:
            return std::to_string(n);
        case 2:
            return "(" + std::to_string(n) + ")";
        case 3:
            return std::to_string(n) + ")";
        case 4:
            return std::string("(") + static_cast<char>('a' + n - 1) + ")";
        case 5:
            return std::string(1, static_cast<char>('a' + n - 1)) + ")";
        case 6:
            return "(" + std::string(Roman(n)) + ")";
        case 7:
            return std::string(Roman(n)) + ")";
        case 8:
            return CircledNumeral(n);
        default:
            return "\xEF\xBD\xA5";  // half-width middle dot (code page 932 A5)
    }
}

std::string GetHeadingNumber(int32_t level) {
    if (level < 1 || level > 5) return {};
    CurrentLevel = level;
    ++LevelCounters[level];
    for (int k = level + 1; k <= 5; ++k) LevelCounters[k] = 0;

    std::array<std::string, 6> part;
    for (int k = 1; k <= 5; ++k) part[k] = GetStyleNumber(LevelStyles[k], LevelCounters[k]);

    std::string number;
    if (NumberMethod == 1) {
        number = part[level];
    } else if (level == 1) {
        number = part[1] + ".";
    } else if (level == 2) {
        number = part[1] + (NumberMethod == 2 ? "-" : ".") + part[2];
    } else {
        number = part[level];
    }
    return number + " ";
}

}  // namespace kuvelt::basResOutPrn
