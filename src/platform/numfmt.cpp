#include "platform/numfmt.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
