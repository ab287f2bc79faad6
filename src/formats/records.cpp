#include "formats/records.h"

#include <charconv>
#include <cmath>

namespace kuvelt::formats {

bool Lines::Next(std::string_view& line) {
    if (pos_ >= bytes_.size() || number_ >= maxLines_) return false;
    const std::size_t end = crLfOnly_ ? bytes_.find("\r\n", pos_) : bytes_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? bytes_.size() : end;
    line = bytes_.substr(pos_, stop - pos_);
    if (!crLfOnly_ && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end == std::string_view::npos ? bytes_.size() : end + (crLfOnly_ ? 2 : 1);
    ++number_;
    return true;
}

bool IsBlank(Mode mode, char c) {
    return c == ' ' || c == '\t' || (mode == Mode::Tolerant && c == '\r');
}

std::string_view Trim(Mode mode, std::string_view s) {
    while (!s.empty() && IsBlank(mode, s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(mode, s.back())) s.remove_suffix(1);
    return s;
}

std::vector<std::string> SplitFields(Mode mode, std::string_view line) {
    std::vector<std::string> fields;
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (true) {
        while (i < n && IsBlank(mode, line[i])) ++i;
        std::string field;
        if (i < n && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? n : close;
            field = std::string(line.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? n : close + 1;
            while (i < n && line[i] != ',') ++i;  // anything after the quote up to the comma
        } else {
            const std::size_t comma = line.find(',', i);
            const std::size_t end = comma == std::string_view::npos ? n : comma;
            field = std::string(Trim(mode, line.substr(i, end - i)));
            i = end;
        }
        fields.push_back(std::move(field));
        if (i >= n) break;
        ++i;  // the comma
        if (mode == Mode::Tolerant && fields.size() > 64) break;
    }
    return fields;
}

bool ReadNumber(std::string_view text, double& out) {
    out = 0.0;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(Mode::Tolerant, text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    if (i >= text.size()) return false;
    double v = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec != std::errc() || ptr == first || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ReadInt(std::string_view text, int& out) {
    double v = 0.0;
    if (!ReadNumber(text, v) || v > 2.0e9 || v < -2.0e9) return false;
    out = static_cast<int>(std::lround(v));
    return true;
}

std::vector<double> ReadNumbers(std::string_view line, std::size_t maxCount) {
    std::vector<double> values;
    std::size_t i = 0;
    auto separator = [&](char c) { return IsBlank(Mode::Tolerant, c) || c == ','; };
    while (i < line.size() && values.size() < maxCount) {
        while (i < line.size() && separator(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !separator(line[i])) ++i;
        if (i == start) break;
        double v = 0.0;
        if (!ReadNumber(line.substr(start, i - start), v)) break;
        values.push_back(v);
    }
    return values;
}

}  // namespace kuvelt::formats
