#include "platform/numfmt.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kuvelt::numfmt {
namespace {

// A value as its decimal digits: the value is 0.d1d2d3... × 10^point, d1 not zero unless the
// value is zero. Taken from the value's 15-significant-digit form, so a double such as 2.675
// (stored as 2.67499999...) rounds as the decimal number the user typed.
struct Decimal {
    std::string digits;  // significant digits, no leading zeros (may be empty for zero)
    int point = 0;       // digits before the decimal point
};

Decimal ToDecimal15(double magnitude) {
    Decimal d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);
    // buf: "d.dddddddddddddde±XX"
    std::string mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') mant.push_back(*p);
    }
    int exp = (*p == 'e') ? std::atoi(p + 1) : 0;
    std::size_t first = mant.find_first_not_of('0');
    if (first == std::string::npos) return d;  // zero
    d.digits = mant.substr(first);
    d.point = exp + 1 - static_cast<int>(first);
    std::size_t last = d.digits.find_last_not_of('0');
    d.digits.resize(last + 1);
    return d;
}

// Rounds half away from zero to `decimals` digits after the point and returns the integer digits
// (no leading zeros, "" for zero) and exactly `decimals` fraction digits.
void RoundDecimal(const Decimal& d, int decimals, std::string& intPart, std::string& fracPart) {
    std::string digits = d.digits;
    int point = d.point;
    int keep = point + decimals;  // number of leading digits that stay
    if (keep < 0 || digits.empty()) {
        digits.clear();
    } else if (keep < static_cast<int>(digits.size())) {
        bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++point;
            }
        }
    }
    // Lay the digits out on both sides of the point.
    intPart.clear();
    fracPart.assign(static_cast<std::size_t>(decimals), '0');
    for (int i = 0; i < static_cast<int>(digits.size()); ++i) {
        const char digit = digits[static_cast<std::size_t>(i)];
        const int frac = i - point;  // index after the point; negative for an integer digit
        if (frac >= 0 && frac < decimals) fracPart[static_cast<std::size_t>(frac)] = digit;
    }
    for (int i = 0; i < point; ++i) {
        intPart.push_back(i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)]
                                                              : '0');
    }
    std::size_t nz = intPart.find_first_not_of('0');
    intPart = (nz == std::string::npos) ? std::string() : intPart.substr(nz);
}

// Length in bytes of the UTF-8 character starting with `c`.
std::size_t Utf8Len(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

// One element of a parsed number picture.
struct Token {
    enum Kind { Zero, Hash, Point, Comma, Literal } kind;
    std::string text;  // the literal's character(s)
};

// Splits a picture at its unescaped semicolons.
std::vector<std::string> SplitSections(std::string_view picture) {
    std::vector<std::string> sections(1);
    for (std::size_t i = 0; i < picture.size();) {
        std::size_t len = Utf8Len(static_cast<unsigned char>(picture[i]));
        if (picture[i] == '\\' && i + 1 < picture.size()) {
            len = 1 + Utf8Len(static_cast<unsigned char>(picture[i + 1]));
        } else if (picture[i] == ';') {
            sections.emplace_back();
            ++i;
            continue;
        }
        sections.back().append(picture.substr(i, len));
        i += len;
    }
    return sections;
}

std::vector<Token> Tokenize(std::string_view section) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < section.size();) {
        char c = section[i];
        if (c == '\\') {
            if (i + 1 >= section.size()) {  // a trailing backslash shows nothing
                ++i;
                continue;
            }
            std::size_t len = Utf8Len(static_cast<unsigned char>(section[i + 1]));
            tokens.push_back({Token::Literal, std::string(section.substr(i + 1, len))});
            i += 1 + len;
            continue;
        }
        std::size_t len = Utf8Len(static_cast<unsigned char>(c));
        switch (c) {
            case '0':
                tokens.push_back({Token::Zero, {}});
                break;
            case '#':
                tokens.push_back({Token::Hash, {}});
                break;
            case '.':
                tokens.push_back({Token::Point, {}});
                break;
            case ',':
                tokens.push_back({Token::Comma, {}});
                break;
            default:
                tokens.push_back({Token::Literal, std::string(section.substr(i, len))});
        }
        i += len;
    }
    return tokens;
}

bool IsDigitPlace(const Token& t) { return t.kind == Token::Zero || t.kind == Token::Hash; }

// Renders a non-negative magnitude with one picture section (no sign handling here).
struct Layout {
    std::vector<Token> tokens;
    std::size_t pointIndex;  // index of the decimal point token, or tokens.size()
    int decimals = 0;        // digit places after the point
    bool grouping = false;   // a comma sits between integer digit places
};

Layout Analyse(std::string_view section) {
    Layout l;
    l.tokens = Tokenize(section);
    l.pointIndex = l.tokens.size();
    for (std::size_t i = 0; i < l.tokens.size(); ++i) {
        if (l.tokens[i].kind == Token::Point) {
            l.pointIndex = i;
            break;
        }
    }
    // A second decimal point, and a comma that is not between two integer digit places, is
    // shown as it stands.
    for (std::size_t i = 0; i < l.tokens.size(); ++i) {
        Token& t = l.tokens[i];
        if (t.kind == Token::Point && i != l.pointIndex) {
            t = {Token::Literal, "."};
        } else if (t.kind == Token::Comma) {
            bool before = false, after = false;
            if (i < l.pointIndex) {
                for (std::size_t j = 0; j < i; ++j) before = before || IsDigitPlace(l.tokens[j]);
                for (std::size_t j = i + 1; j < l.pointIndex; ++j)
                    after = after || IsDigitPlace(l.tokens[j]);
            }
            if (before && after) {
                l.grouping = true;
            } else {
                t = {Token::Literal, ","};
            }
        }
    }
    for (std::size_t i = l.pointIndex + 1; i < l.tokens.size(); ++i) {
        if (IsDigitPlace(l.tokens[i])) ++l.decimals;
    }
    return l;
}

std::string Render(const Layout& l, const std::string& intDigits, const std::string& fracDigits) {
    const auto& tk = l.tokens;
    // Integer part: digits fill the digit places from the decimal point leftwards; the leftmost
    // place takes every digit left over.
    std::vector<std::string> placeText(tk.size());
    std::size_t firstPlace = tk.size();
    for (std::size_t i = 0; i < l.pointIndex; ++i) {
        if (IsDigitPlace(tk[i])) {
            firstPlace = i;
            break;
        }
    }
    std::size_t remaining = intDigits.size();
    for (std::size_t i = l.pointIndex; i-- > 0;) {
        if (!IsDigitPlace(tk[i])) continue;
        if (i == firstPlace) {
            placeText[i] = intDigits.substr(0, remaining);
            if (placeText[i].empty() && tk[i].kind == Token::Zero) placeText[i] = "0";
            remaining = 0;
        } else if (remaining > 0) {
            placeText[i] = intDigits.substr(remaining - 1, 1);
            --remaining;
        } else if (tk[i].kind == Token::Zero) {
            placeText[i] = "0";
        }
    }
    // Leading zeros shown by "0" places count as digits for the thousands grouping.
    std::size_t intCount = 0;
    for (std::size_t i = 0; i < l.pointIndex; ++i) intCount += placeText[i].size();

    // Fraction part: "#" places at the end drop their zeros.
    std::string frac = fracDigits;
    {
        std::size_t k = frac.size();
        std::vector<Token::Kind> kinds;
        for (std::size_t i = l.pointIndex + 1; i < tk.size(); ++i)
            if (IsDigitPlace(tk[i])) kinds.push_back(tk[i].kind);
        while (k > 0 && kinds[k - 1] == Token::Hash && frac[k - 1] == '0') --k;
        frac.resize(k);
    }

    std::string out;
    std::size_t emitted = 0;  // integer digits written so far
    std::size_t fracIndex = 0;
    for (std::size_t i = 0; i <= tk.size(); ++i) {
        // Without an integer digit place the integer digits stand where the point is: they are
        // never dropped.
        if (i == l.pointIndex && firstPlace == tk.size()) out += intDigits;
        if (i == tk.size()) break;
        const Token& t = tk[i];
        if (i < l.pointIndex) {
            if (IsDigitPlace(t)) {
                for (char c : placeText[i]) {
                    if (l.grouping && emitted > 0 && (intCount - emitted) % 3 == 0)
                        out.push_back(',');
                    out.push_back(c);
                    ++emitted;
                }
            } else if (t.kind == Token::Literal) {
                out += t.text;
            }
        } else if (i == l.pointIndex) {
            out.push_back('.');
        } else if (IsDigitPlace(t)) {
            if (fracIndex < frac.size()) out.push_back(frac[fracIndex]);
            ++fracIndex;
        } else {
            out += t.text;
        }
    }
    return out;
}

bool IsZero(const std::string& i, const std::string& f) {
    return i.empty() && f.find_first_not_of('0') == std::string::npos;
}

}  // namespace

std::string FormatNumber(double value, std::string_view picture) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (picture.empty()) return General(value);

    std::vector<std::string> sections = SplitSections(picture);
    const Decimal dec = ToDecimal15(std::fabs(value));
    std::string intDigits, fracDigits;

    // A negative value with its own section is shown through that section without a sign; a
    // negative value that rounds to zero is shown as zero (no "-0.00").
    if (value < 0) {
        bool ownSection = sections.size() >= 2 && !sections[1].empty();
        Layout l = Analyse(ownSection ? sections[1] : sections[0]);
        RoundDecimal(dec, l.decimals, intDigits, fracDigits);
        if (!IsZero(intDigits, fracDigits)) {
            std::string body = Render(l, intDigits, fracDigits);
            return ownSection ? body : "-" + body;
        }
    }
    const std::string& sec =
        (value == 0 || value < 0) && sections.size() >= 3 && !sections[2].empty() ? sections[2]
                                                                                  : sections[0];
    Layout l = Analyse(sec);
    RoundDecimal(dec, l.decimals, intDigits, fracDigits);
    return Render(l, intDigits, fracDigits);
}

std::string General(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    Decimal d = ToDecimal15(std::fabs(value));
    if (d.digits.empty()) return "0";
    std::string out = value < 0 ? "-" : "";
    int exp10 = d.point - 1;  // exponent of the first significant digit
    if (exp10 >= 15 || exp10 < -4) {
        out.push_back(d.digits[0]);
        if (d.digits.size() > 1) {
            out.push_back('.');
            out.append(d.digits, 1);
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "E%c%02d", exp10 < 0 ? '-' : '+', std::abs(exp10));
        out += buf;
        return out;
    }
    if (d.point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.point), '0');
        out += d.digits;
    } else if (d.point >= static_cast<int>(d.digits.size())) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.point) - d.digits.size(), '0');
    } else {
        out.append(d.digits, 0, static_cast<std::size_t>(d.point));
        out.push_back('.');
        out.append(d.digits, static_cast<std::size_t>(d.point));
    }
    return out;
}

std::string FormatText(std::string_view text, std::string_view picture) {
    // Split the text into UTF-8 characters.
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = Utf8Len(static_cast<unsigned char>(text[i]));
        chars.emplace_back(text.substr(i, len));
        i += len;
    }
    struct Item {
        bool place;
        bool blankWhenEmpty;  // "@" shows a blank, "&" shows nothing
        std::string literal;
    };
    std::vector<Item> items;
    bool fromLeft = false;
    for (std::size_t i = 0; i < picture.size();) {
        char c = picture[i];
        std::size_t len = Utf8Len(static_cast<unsigned char>(c));
        if (c == '!') {
            fromLeft = true;
        } else if (c == '@' || c == '&') {
            items.push_back({true, c == '@', {}});
        } else if (c == '\\' && i + 1 < picture.size()) {
            len = 1 + Utf8Len(static_cast<unsigned char>(picture[i + 1]));
            items.push_back({false, false, std::string(picture.substr(i + 1, len - 1))});
        } else if (c != '\\') {
            items.push_back({false, false, std::string(picture.substr(i, len))});
        }
        i += len;
    }
    std::size_t places = 0;
    for (const Item& it : items) places += it.place ? 1 : 0;
    if (places == 0) {
        std::string out;
        for (const Item& it : items) out += it.literal;
        return picture.empty() ? std::string(text) : out;
    }
    // Assign characters to places; characters beyond the places are never lost: they go with
    // the first place (filling from the right) or the last place (filling from the left).
    std::vector<std::string> fill(places);
    const std::size_t n = chars.size();
    if (fromLeft) {
        for (std::size_t k = 0; k < n; ++k) fill[std::min(k, places - 1)] += chars[k];
    } else {
        for (std::size_t k = 0; k < n; ++k) {
            std::size_t fromRight = n - 1 - k;  // 0 for the last character
            std::size_t slot = fromRight >= places ? 0 : places - 1 - fromRight;
            fill[slot] += chars[k];
        }
    }
    std::string out;
    std::size_t slot = 0;
    for (const Item& it : items) {
        if (!it.place) {
            out += it.literal;
            continue;
        }
        if (fill[slot].empty()) {
            if (it.blankWhenEmpty) out.push_back(' ');
        } else {
            out += fill[slot];
        }
        ++slot;
    }
    return out;
}

// ---- Shortest round-trip texts ------------------------------------------------------------------

namespace {

__extension__ using U128 = unsigned __int128;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void Put2(char* p, uint64_t n) { std::memcpy(p, kDigitPairs + 2 * n, 2); }

// The decimal digits of n, written so that they end at `end`; returns where they start. The
// digits go straight to their place: copying them afterwards in larger blocks would read bytes
// just written in pairs, which the processor cannot forward and stalls on. Eight digits at a
// time, in independent pairs, while there are more than eight.
char* DigitsBefore(char* end, uint64_t n) {
    char* p = end;
    while (n >= 100000000) {
        const auto lo = static_cast<uint32_t>(n % 100000000);
        n /= 100000000;
        const uint32_t hi4 = lo / 10000, lo4 = lo % 10000;
        p -= 8;
        Put2(p, hi4 / 100);
        Put2(p + 2, hi4 % 100);
        Put2(p + 4, lo4 / 100);
        Put2(p + 6, lo4 % 100);
    }
    auto m = static_cast<uint32_t>(n);
    while (m >= 100) {
        p -= 2;
        Put2(p, m % 100);
        m /= 100;
    }
    if (m >= 10) {
        p -= 2;
        Put2(p, m);
    } else {
        *--p = static_cast<char>('0' + m);
    }
    return p;
}

constexpr const auto& kPow10U64 = kPowersOfTen;

// Number of decimal digits of n (1 for 0).
int DigitCount(uint64_t n) {
    n |= 1;                                                 // the same count, and 0 has one digit
    const int t = (64 - std::countl_zero(n)) * 1233 >> 12;  // about log10(2^bits)
    return t + (n >= kPow10U64[t] ? 1 : 0);
}

char* WriteWhole(char* out, uint64_t n) {
    char* const end = out + DigitCount(n);
    DigitsBefore(end, n);
    return end;
}

// n × 10^exp in plain decimals ("1234", "12.34", "0.001234", "123400"); 0 < n < 10^18.
char* WritePlain(char* out, uint64_t n, int exp) {
    while (exp <= -2 && n % 100 == 0) {
        n /= 100;
        exp += 2;
    }
    if (exp < 0 && n % 10 == 0) {
        n /= 10;
        ++exp;
    }
    const int len = DigitCount(n);
    if (exp >= 0) {
        DigitsBefore(out + len, n);
        std::memset(out + len, '0', static_cast<std::size_t>(exp));
        return out + len + exp;
    }
    const int whole = len + exp;  // digits before the point
    if (whole <= 0) {
        *out++ = '0';
        *out++ = '.';
        std::memset(out, '0', static_cast<std::size_t>(-whole));
        out -= whole;
        DigitsBefore(out + len, n);
        return out + len;
    }
    // All digits one place on, then the whole part back over the place of the point (a byte
    // at a time: a few bytes, each inside one of the pairs just written).
    DigitsBefore(out + 1 + len, n);
    for (int i = 0; i < whole; ++i) out[i] = out[i + 1];
    out[whole] = '.';
    return out + len + 1;
}

// n millionths, not a whole number: the whole part, the point and six decimals, less the
// decimals' trailing zeros.
char* WriteMillionths(char* out, uint64_t n) {
    const uint64_t whole = n / 1000000;
    const auto frac = static_cast<uint32_t>(n % 1000000);
    out = WriteWhole(out, whole);
    *out = '.';
    const uint32_t hi = frac / 10000, rest = frac % 10000;
    Put2(out + 1, hi);
    Put2(out + 3, rest / 100);
    Put2(out + 5, rest % 100);
    char* end = out + 7;
    while (end[-1] == '0') --end;  // frac is not zero: a digit stops it before the point
    return end;
}

// ---- The shortest interval method for doubles below 2^53 ----
//
// v = c × 2^q with a 53-bit c. Every decimal in the rounding interval of v (half an ulp either
// side, the ends included when c is even) reads back to v. With k = floor(log10 2^q) the
// interval is between 1 and 10 units of 10^k wide, so it holds at most one multiple of 10 units
// (the shortest text, if it exists, since any shorter decimal is such a multiple) and otherwise
// the nearest whole number of units to v is the answer. The scaled bounds 4v / 10^k are
// computed from a 126-bit g just above 10^-k × 2^(125 - floor(log2 10^-k)), rounded to odd, so
// that comparing them with multiples of 4 is exact. Here 2^-74 < v < 2^53, so -22 <= k <= 0.

constexpr int kMaxPow = 22;

constexpr U128 Pow10(int j) {
    U128 p = 1;
    for (int i = 0; i < j; ++i) p *= 10;
    return p;
}

constexpr int BitLength(U128 x) {
    int n = 0;
    for (; x != 0; x >>= 1) ++n;
    return n;
}

struct Scale {
    uint64_t g1, g0;  // g = g1 × 2^63 + g0
    int log2;         // floor(log2 10^j)
};

constexpr auto kScales = [] {
    std::array<Scale, kMaxPow + 1> t{};
    for (int j = 0; j <= kMaxPow; ++j) {
        const int l = BitLength(Pow10(j)) - 1;
        const U128 g = (Pow10(j) << (125 - l)) + 1;
        t[static_cast<std::size_t>(j)] = Scale{static_cast<uint64_t>(g >> 63),
                                               static_cast<uint64_t>(g) & ~(uint64_t{1} << 63), l};
    }
    return t;
}();

// floor(log10 2^q) for the q of these doubles, by comparing with the powers of ten.
constexpr int FloorLog10Pow2(int q) {
    // q < 0: the largest k with 10^k <= 2^q, that is 10^-k >= 2^-q.
    int k = 0;
    while (Pow10(-k) < (U128{1} << -q)) --k;
    return k;
}

constexpr auto kLog10Pow2 = [] {
    std::array<int8_t, 75> t{};  // index -q, 1..74
    for (int m = 1; m < 75; ++m)
        t[static_cast<std::size_t>(m)] = static_cast<int8_t>(FloorLog10Pow2(-m));
    return t;
}();

// g × cp / 2^127, rounded to odd: the parity bit records whether anything was dropped.
uint64_t RoundToOdd(const Scale& s, uint64_t cp) {
    const auto x1 = static_cast<uint64_t>((static_cast<U128>(s.g0) * cp) >> 64);
    const U128 y = static_cast<U128>(s.g1) * cp;
    const auto y0 = static_cast<uint64_t>(y);
    const auto y1 = static_cast<uint64_t>(y >> 64);
    const uint64_t z = (y0 >> 1) + x1;
    const uint64_t vbp = y1 + (z >> 63);
    constexpr uint64_t kMask63 = (uint64_t{1} << 63) - 1;
    return vbp | (((z & kMask63) + kMask63) >> 63);
}

// The shortest decimal of v = c × 2^q (c not a power of two, -74 <= q < 0): digits × 10^exp.
void ShortestDecimal(uint64_t c, int q, uint64_t& digits, int& exp) {
    const uint64_t out = c & 1;  // odd c: the ends of the interval read back to the neighbours
    const uint64_t cb = c << 2;
    const uint64_t cbr = cb + 2;
    const uint64_t cbl = cb - 2;
    const int k = kLog10Pow2[static_cast<std::size_t>(-q)];
    const Scale& s10 = kScales[static_cast<std::size_t>(-k)];
    const int h = q + s10.log2 + 2;  // 1 to 4
    const uint64_t vb = RoundToOdd(s10, cb << h);
    const uint64_t vbl = RoundToOdd(s10, cbl << h);
    const uint64_t vbr = RoundToOdd(s10, cbr << h);
    const uint64_t s = vb >> 2;
    exp = k;
    if (s >= 100) {
        const uint64_t sp10 = s / 10 * 10;
        const uint64_t tp10 = sp10 + 10;
        const bool upin = vbl + out <= sp10 << 2;
        const bool wpin = (tp10 << 2) + out <= vbr;
        if (upin != wpin) {
            digits = upin ? sp10 : tp10;
            return;
        }
    }
    const uint64_t t = s + 1;
    const bool uin = vbl + out <= s << 2;
    const bool win = (t << 2) + out <= vbr;
    if (uin != win) {
        digits = uin ? s : t;
        return;
    }
    // Both: the nearer one, a tie going to the even one.
    const auto cmp = static_cast<int64_t>(vb - ((s + t) << 1));
    digits = cmp < 0 || (cmp == 0 && (s & 1) == 0) ? s : t;
}

}  // namespace

char* ShortestText(double v, char* out) {
    const auto bits = std::bit_cast<uint64_t>(v);
    if ((bits >> 63) != 0) *out++ = '-';
    const double a = std::fabs(v);
    if (a == 0.0) {
        *out++ = '0';
        return out;
    }
    constexpr double kTwo53 = 9007199254740992.0;
    if (a < kTwo53) {
        // A whole number below 2^53 is its own digits.
        const auto whole = static_cast<uint64_t>(a);
        if (static_cast<double>(whole) == a) return WriteWhole(out, whole);
        if (a >= 1e-6) {
            // Most values have a few decimals: below 1e9 an ulp is under a ten-millionth, so at
            // most one number of millionths reads back to a, and when one does its digits are
            // the shortest text. The nearest n to a × 10^6 is the one if any is (the product
            // is off by far less than the half unit that could mislead the rounding), and
            // RN(n / 10^6) is what reading that text gives.
            if (a < 1e9) {
                const auto n = static_cast<int64_t>(a * 1e6 + 0.5);
                if (static_cast<double>(n) / 1e6 == a) {
                    return WriteMillionths(out, static_cast<uint64_t>(n));
                }
            }
            const uint64_t c = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
            const int q = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
            if (c != (uint64_t{1} << 52)) {  // a power of two has an uneven interval: rare
                uint64_t digits = 0;
                int exp = 0;
                ShortestDecimal(c, q, digits, exp);
                return WritePlain(out, digits, exp);
            }
        }
    }
    const auto r = a >= 1e-6 && a < 1e21
                       ? std::to_chars(out, out + kShortestTextMax - 1, a, std::chars_format::fixed)
                       : std::to_chars(out, out + kShortestTextMax - 1, a);
    return r.ptr;
}

bool ParseNumber(std::string_view text, double& out) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return false;
    // Check the grammar ourselves: sign, digits, optional point and digits, optional exponent.
    // This refuses "inf", "nan", hexadecimal and thousands separators.
    std::size_t i = 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t mantStart = i;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != text.size()) return false;
    std::string_view body = text.substr(mantStart);
    double v = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ptr != body.data() + body.size()) return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large does not fit.
        std::size_t e = body.find_first_of("eE");
        if (e == std::string_view::npos || body[e + 1] != '-') return false;
        v = 0;
    } else if (ec != std::errc()) {
        return false;
    }
    out = negative ? -v : v;
    return true;
}

}  // namespace kuvelt::numfmt

namespace kuvelt::numfmt {

double ToTenThousandths(double x) { return std::fabs(x) < 1e11 ? std::round(x * 1e4) / 1e4 : x; }

char* TenThousandthsText(double x, char* out) {
    if (!(std::fabs(x) < 1e11)) return ShortestText(x, out);
    const double t = std::round(x * 1e4);
    // Zero keeps its sign through ShortestText ("-0").
    if (t == 0) return ShortestText(t / 1e4, out);
    // The digits of |t| with the decimal point four places from the right and the fraction's
    // trailing zeros dropped: the plain text ShortestText gives for magnitudes from 10^-4 to
    // 10^11, as no shorter decimal lies within half a unit of the double's last place there.
    const auto n = static_cast<int64_t>(t);
    char digits[20] = {};
    int len = 0;
    for (uint64_t u = static_cast<uint64_t>(n < 0 ? -n : n); u != 0; u /= 10)
        digits[len++] = static_cast<char>('0' + u % 10);  // units first
    int skip = 0;
    while (skip < 4 && digits[skip] == '0') ++skip;  // len > 0, so a digit stops the run
    char* p = out;
    if (n < 0) *p++ = '-';
    if (len > 4) {
        for (int i = len - 1; i >= 4; --i) *p++ = digits[i];
    } else {
        *p++ = '0';
    }
    if (skip < 4) {
        *p++ = '.';
        for (int i = 3; i >= skip; --i) *p++ = i < len ? digits[i] : '0';
    }
    return p;
}

}  // namespace kuvelt::numfmt
