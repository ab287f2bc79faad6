// Number pictures and the general number format, the one implementation behind every number the
// system shows or writes: report fields, figure files, window fields, messages, settings values.
//
// Picture characters: "0" digit always shown, "#" digit shown when significant, "." decimal
// point (the value is rounded half away from zero on its 15-significant-digit decimal form to the
// number of digit places after it), "," between integer digit places groups by thousands,
// "\" makes the next character literal, ";" separates the picture for positive values from the
// one for negative values; every other character is a literal. Integer digits beyond the
// picture's digit places are all shown. With a single section a negative value gets a leading
// "-". Example: FormatNumber(-5.5, "###0.00\\, ") == "-5.50, ".
#pragma once

#include <string>
#include <string_view>

namespace kuvelt::numfmt {

// Renders `value` with a number picture (UTF-8 picture, UTF-8 result).
std::string FormatNumber(double value, std::string_view picture);

// The general number format: at most 15 significant digits, no trailing zeros, no exponent for
// magnitudes from 1e-4 up to below 1e15 ("4", "-1.5", "0.1", "1E+15", "1E-05"). Every double
// that carries at most 15 significant digits reads back through ParseNumber to the same value.
std::string General(double value);

// Text pictures: "@" a character place (filled from the right unless "!" forces left-to-right
// filling), "!" at the start makes the text fill from the left. FormatText("6", "!@@") == "6 ".
std::string FormatText(std::string_view text, std::string_view picture);

// Reads a decimal number ("4", " -1.5", "1E-05", "1e+15"); false when the text is not entirely
// a number (surrounding blanks allowed) or does not fit a double.
bool ParseNumber(std::string_view text, double& out);

}  // namespace kuvelt::numfmt
