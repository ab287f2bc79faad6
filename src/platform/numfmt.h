// Number pictures and the general number format, the one implementation behind every number the
// system shows or writes: report fields, figure files, window fields, messages, settings values.
//
// Picture characters: "0" digit always shown, "#" digit shown when significant, "." decimal
// point (the value is rounded half away from zero on its 15-significant-digit decimal form to the
// number of digit places after it), "," between integer digit places groups by thousands,
// "\" makes the next character literal, ";" separates the picture for positive values from the
// one for negative values; every other character is a literal. Integer digits beyond the
// picture's digit places are all shown. With a single section a negative value gets a leading
// "-" before the whole rendering (leading literals included). Example:
// FormatNumber(-5.5, "###0.00\\, ") == "-5.50, ".
// Further rules: digits fill the digit places right-aligned from the decimal point and literals
// between digit places stay where they stand; a comma that is not between two integer digit
// places is a literal (there is no scaling by thousands); without an integer digit place the
// integer digits stand at the decimal point (".00" of 1.5 is "1.50"); a third section renders
// zero; a negative value that rounds to zero renders as zero, without a minus sign; an empty
// picture is the general format. NaN and infinities render as "NaN", "Infinity", "-Infinity".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kuvelt::numfmt {

// Renders `value` with a number picture (UTF-8 picture, UTF-8 result).
std::string FormatNumber(double value, std::string_view picture);

// The general number format: at most 15 significant digits, no trailing zeros, no exponent for
// magnitudes from 1e-4 up to below 1e15 ("4", "-1.5", "0.1", "1E+15", "1E-05"). Every double
// that carries at most 15 significant digits reads back through ParseNumber to the same value.
// Exactly: the value is rounded to 15 significant digits; when the rounded magnitude is 1e15 or
// more, or below 1e-4, it is written as a mantissa "d[.ddd]" followed by "E", the exponent's
// sign and at least two exponent digits ("1.5E-05", "1.25E+100"); otherwise as plain decimals
// with "0" before the point of a value below 1 ("0.0001"). Zero (also -0) is "0".
std::string General(double value);

// Text pictures: "@" a character place (filled from the right unless "!" forces left-to-right
// filling), "!" at the start makes the text fill from the left. FormatText("6", "!@@") == "6 ".
// An empty "@" place shows a blank, an empty "&" place nothing; "\" makes the next character
// literal; characters count as characters, not bytes. A text longer than its places is shown in
// full (the surplus goes with the first place, or the last one when filling from the left).
std::string FormatText(std::string_view text, std::string_view picture);

// The shortest decimal text that reads back (round to nearest) to the same double, as a script
// language prints it: plain decimals for magnitudes from 1e-6 up to below 1e21 ("0.1",
// "35000000", "0.30000000000000004", "-0"), otherwise the shorter of plain and exponent form
// ("1e-07", "1e+21"). Among texts of the same length, the one nearest the double. These are the
// texts of std::to_chars (fixed notation in that range), made for the common values without
// it: whole numbers and numbers of a few decimals directly, other doubles below 2^53 through
// the shortest-interval method with exact integer arithmetic. `v` must be finite; writes at
// most kShortestTextMax bytes at `out` and returns the end.
inline constexpr std::size_t kShortestTextMax = 32;
// 10^0 … 10^19: every power of ten a uint64_t holds.
inline constexpr std::array<uint64_t, 20> kPowersOfTen = [] {
    std::array<uint64_t, 20> p{};
    uint64_t v = 1;
    for (uint64_t& x : p) {
        x = v;
        v *= 10;  // wraps after the last one, which is never used
    }
    return p;
}();
char* ShortestText(double v, char* out);
// A value to 0.0001 (below 10^11 in magnitude; larger ones as they are), and the ShortestText of
// that value made from its digits: for the points of a curve, written by the hundred.
double ToTenThousandths(double x);
char* TenThousandthsText(double x, char* out);

// Reads a decimal number ("4", " -1.5", "1E-05", "1e+15"); false when the text is not entirely
// a number (surrounding blanks allowed) or does not fit a double. Accepted: an optional sign,
// digits with an optional "." (".5" and "5." too), an optional exponent "E"/"e" with optional
// sign and digits; refused: "inf", "nan", hexadecimal, thousands separators. A magnitude too
// small for a double reads as 0; `out` is left alone on failure.
bool ParseNumber(std::string_view text, double& out);

}  // namespace kuvelt::numfmt
