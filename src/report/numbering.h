// Heading numbering of the report: the numbering settings of section "Chapter" of the settings
// file, the per-level counters and the nine number styles. Counters run on across the chapters
// of one opening of the print menu. Nothing here fails: unknown styles give empty number texts,
// missing settings read as 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kuvelt::basResOutPrn {

// Numbering state, slots 1..5 by heading level (slot 0 unused). Level 5 style and margin stay 0.
extern int32_t
    NumberMethod;  // 0 none, 1 each level alone, 2 "chapter-section", 3 "chapter.section"
extern std::array<int32_t, 6> LevelStyles;
extern std::array<int32_t, 6> LevelMargins;  // in half-width character widths (spaces)
extern std::array<int32_t, 6> LevelCounters;
// Level of the most recent numbered heading, 1..5; body lines are indented by its margin + 2.
extern int32_t CurrentLevel;

// Reads "Method", "Style1".."Style4", "Margin1".."Margin4" from section "Chapter" of the
// settings file (gIniFile when no file is given), zeroes counters 1..4 and sets CurrentLevel 1.
// Counter 5 is left alone: every numbered heading of levels 1..4 clears it.
void LoadNumbering();
void LoadNumbering(const std::string& iniFile);

// Advances the counters for a heading of `level` (1..5) and returns its number text, ending
// with one space. Sets CurrentLevel. A level outside 1..5 returns "" and changes nothing.
std::string GetHeadingNumber(int32_t level);

// Number text of `style` (1..9) for `counter`, applying the style's counter limit to the
// counter itself (past the limit it becomes 1). A counter of 0 or less, or another style,
// gives "" and leaves the counter alone. UTF-8.
std::string GetStyleNumber(int32_t style, int32_t& counter);

// "①".."⑳" for n = 1..20 (UTF-8), "" otherwise.
std::string CircledNumeral(int32_t n);

}  // namespace kuvelt::basResOutPrn
