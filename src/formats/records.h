// The record layer shared by the readers of the report's figure and style files: the reading
// mode, lines, comma-separated fields and numbers, each with the rules of both modes.
//
// Strict mode is the report's own read-back: a file must be exactly what the writer produces,
// anything else is refused with a reason naming what and on which line. Tolerant mode is the
// preview's: hand-edited or damaged files still show what can be shown, so broken records are
// skipped or read as defaults and a file is refused only when it is no such file at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::formats {

enum class Mode { Strict, Tolerant };

// Lines of a file. Every line ends at LF (a CR before it is dropped); a last line without an end
// is kept. With `crLfOnly` only CR LF ends a line and a lone LF stays part of it. At most
// `maxLines` lines are given; the rest of the file is not read.
class Lines {
  public:
    explicit Lines(std::string_view bytes, std::size_t maxLines = SIZE_MAX, bool crLfOnly = false)
        : bytes_(bytes), maxLines_(maxLines), crLfOnly_(crLfOnly) {}

    bool Next(std::string_view& line);
    // Number (1-based) of the line Next gave last; 0 before the first.
    std::size_t number() const { return number_; }

  private:
    std::string_view bytes_;
    std::size_t maxLines_;
    bool crLfOnly_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// Blanks around fields and words: spaces and tabs; tolerant mode also takes a stray CR as one.
bool IsBlank(Mode mode, char c);
std::string_view Trim(Mode mode, std::string_view s);

// Comma-separated fields, blanks around them dropped, a field in double quotes taken as it is
// (commas included) up to its closing quote. Tolerant mode gives at most 65 fields.
std::vector<std::string> SplitFields(Mode mode, std::string_view line);

// Reads a number tolerantly: leading blanks skipped, the longest decimal prefix taken; false
// (and 0) when there is none or it is not finite.
bool ReadNumber(std::string_view text, double& out);
// ReadNumber within ±2e9, rounded half away from zero; `out` is unchanged when false.
bool ReadInt(std::string_view text, int& out);

// Blank- or comma-separated numbers read with ReadNumber, at most `maxCount`, up to the first
// word that is not one.
std::vector<double> ReadNumbers(std::string_view line, std::size_t maxCount);

}  // namespace kuvelt::formats
