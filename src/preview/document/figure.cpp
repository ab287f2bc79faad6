#include "preview/document/figure.h"

#include <charconv>
#include <cmath>
#include <unordered_map>

#include "platform/cp932.h"
#include "preview/document/text_lines.h"

namespace kuvelt::preview {

namespace {

// Frames and coordinates beyond this are not a report figure; they are clamped so the painter
// never meets absurd numbers.
constexpr double kMaxCoordinate = 10000.0;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Comma-separated fields: surrounding blanks dropped, a double-quoted field keeps its commas.
std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i <= line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') field += line[i++];
            if (i < line.size()) ++i;  // closing quote
            while (i < line.size() && line[i] != ',') ++i;
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ',') ++i;
            field = std::string(Trim(line.substr(start, i - start)));
        }
        fields.push_back(std::move(field));
        if (i >= line.size()) break;
        ++i;  // the comma
        if (fields.size() > 64) break;
    }
    return fields;
}

// Blank- or comma-separated numbers (the composite's print-form lines).
std::vector<double> ReadNumbers(std::string_view line, std::size_t maxCount) {
    std::vector<double> values;
    std::size_t i = 0;
    while (i < line.size() && values.size() < maxCount) {
        while (i < line.size() && (IsBlank(line[i]) || line[i] == ',')) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != ',') ++i;
        if (i == start) break;
        double v = 0.0;
        if (!ReadNumber(line.substr(start, i - start), v)) break;
        values.push_back(v);
    }
    return values;
}

double Clamp(double v) {
    if (!std::isfinite(v)) return 0.0;
    if (v > kMaxCoordinate) return kMaxCoordinate;
    if (v < -kMaxCoordinate) return -kMaxCoordinate;
    return v;
}

bool ReadInt(std::string_view text, int& out) {
    double v = 0.0;
    if (!ReadNumber(text, v) || v > 2.0e9 || v < -2.0e9) return false;
    out = static_cast<int>(std::lround(v));
    return true;
}

// Block headers of a sub-figure file, as code page 932 bytes.
const std::string& PointsHeader() {
    static const std::string s = cp932::FromUtf8("座標情報");
    return s;
}
const std::string& SegmentsHeader() {
    static const std::string s = cp932::FromUtf8("線分情報");
    return s;
}
const std::string& ArrowsHeader() {
    static const std::string s = cp932::FromUtf8("矢印(1)");
    return s;
}
const std::string& TextsHeader() {
    static const std::string s = cp932::FromUtf8("文字情報");
    return s;
}

}  // namespace

bool ReadNumber(std::string_view text, double& out) {
    out = 0.0;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
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

LineStyle StyleTables::Line(int k) const {
    if (k >= 1 && static_cast<std::size_t>(k) <= lines.size()) return lines[k - 1];
    const StyleTables d = DefaultStyles();
    if (k >= 1 && static_cast<std::size_t>(k) <= d.lines.size()) return d.lines[k - 1];
    return LineStyle{};
}

TextStyle StyleTables::Text(int k) const {
    if (k >= 1 && static_cast<std::size_t>(k) <= texts.size()) return texts[k - 1];
    if (!texts.empty()) return texts.back();
    const StyleTables d = DefaultStyles();
    if (k >= 1 && static_cast<std::size_t>(k) <= d.texts.size()) return d.texts[k - 1];
    return d.texts.back();
}

StyleTables DefaultStyles() {
    StyleTables t;
    t.lines = {{0, 13}, {0, 25}, {0, 50}, {1, 13}};
    t.texts = {{400, "IPAGothic", 200, 0, 0, 0}, {400, "IPAGothic", 180, 0, 0, 0}};
    return t;
}

std::vector<LineStyle> ParseLineStyles(std::string_view bytes) {
    std::vector<LineStyle> styles;
    const std::vector<std::string_view> lines = SplitLines(bytes, 1000);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> f = SplitFields(lines[i]);
        if (f.empty() || f[0] == "END") break;
        LineStyle s;
        if (f.size() < 3 || !ReadInt(f[1], s.type) || !ReadInt(f[2], s.width)) continue;
        if (s.width < 0 || s.width > 500) s.width = 13;
        if (styles.size() >= 9) break;
        styles.push_back(s);
    }
    return styles;
}

std::vector<TextStyle> ParseTextStyles(std::string_view bytes) {
    std::vector<TextStyle> styles;
    const std::vector<std::string_view> lines = SplitLines(bytes, 1000);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> f = SplitFields(lines[i]);
        if (f.empty() || f[0] == "END") break;
        TextStyle s;
        if (f.size() < 4 || !ReadInt(f[3], s.sizeTwips)) continue;
        if (!ReadInt(f[1], s.weight)) s.weight = 400;
        s.family = cp932::ToUtf8(f[2]);
        if (f.size() > 4 && !ReadInt(f[4], s.color)) s.color = 0;
        if (f.size() > 5 && !ReadInt(f[5], s.italic)) s.italic = 0;
        if (f.size() > 6 && !ReadInt(f[6], s.spare)) s.spare = 0;
        if (s.sizeTwips < 20 || s.sizeTwips > 2880) s.sizeTwips = 180;
        if (styles.size() >= 2) break;
        styles.push_back(std::move(s));
    }
    return styles;
}

std::optional<SubFigure> ParseSubFigure(std::string_view bytes, std::string* problem) {
    const std::vector<std::string_view> lines = SplitLines(bytes, 4 * kMaxItemsPerBlock + 16);
    if (lines.size() < 3) {
        if (problem) *problem = "図のファイルが短すぎます";
        return std::nullopt;
    }
    SubFigure fig;
    fig.caption1 = cp932::ToUtf8(lines[0]);
    fig.caption2 = cp932::ToUtf8(lines[1]);
    const std::vector<double> ext = ReadNumbers(lines[2], 6);
    double* const targets[] = {&fig.width, &fig.height, &fig.minX, &fig.minY, &fig.maxX, &fig.maxY};
    for (std::size_t k = 0; k < ext.size(); ++k) *targets[k] = Clamp(ext[k]);

    std::unordered_map<int, int> pointByNumber;
    struct RawSegment {
        int from, to, style;
    };
    struct RawArrow {
        int point, code, style;
    };
    std::vector<RawSegment> rawSegments;
    std::vector<RawArrow> rawArrows;
    bool sawPoints = false;

    std::size_t i = 3;
    auto blockEnd = [&](std::string_view l) { return Trim(l) == "END"; };
    while (i < lines.size()) {
        const std::string_view head = Trim(lines[i++]);
        if (head == PointsHeader()) {
            sawPoints = true;
            for (; i < lines.size() && !blockEnd(lines[i]); ++i) {
                const std::vector<std::string> f = SplitFields(lines[i]);
                int k = 0;
                double x = 0, y = 0;
                if (f.size() < 3 || !ReadInt(f[0], k) || !ReadNumber(f[1], x) ||
                    !ReadNumber(f[2], y) || fig.points.size() >= kMaxItemsPerBlock) {
                    ++fig.droppedItems;
                    continue;
                }
                pointByNumber[k] = static_cast<int>(fig.points.size());
                fig.points.push_back({Clamp(x), Clamp(y)});
            }
        } else if (head == SegmentsHeader()) {
            for (; i < lines.size() && !blockEnd(lines[i]); ++i) {
                const std::vector<std::string> f = SplitFields(lines[i]);
                RawSegment s{};
                int k = 0;
                if (f.size() < 4 || !ReadInt(f[0], k) || !ReadInt(f[1], s.from) ||
                    !ReadInt(f[2], s.to) || !ReadInt(f[3], s.style) ||
                    rawSegments.size() >= kMaxItemsPerBlock) {
                    ++fig.droppedItems;
                    continue;
                }
                rawSegments.push_back(s);
            }
        } else if (head == ArrowsHeader()) {
            for (; i < lines.size() && !blockEnd(lines[i]); ++i) {
                const std::vector<std::string> f = SplitFields(lines[i]);
                RawArrow a{};
                int k = 0;
                if (f.size() < 4 || !ReadInt(f[0], k) || !ReadInt(f[1], a.point) ||
                    !ReadInt(f[2], a.code) || !ReadInt(f[3], a.style) ||
                    rawArrows.size() >= kMaxItemsPerBlock) {
                    ++fig.droppedItems;
                    continue;
                }
                rawArrows.push_back(a);
            }
        } else if (head == TextsHeader()) {
            // Two lines per text: the text itself, then X, Y, style, alignment.
            while (i < lines.size() && !blockEnd(lines[i])) {
                const std::string_view textLine = lines[i++];
                if (i >= lines.size()) {
                    ++fig.droppedItems;
                    break;
                }
                const std::vector<std::string> f = SplitFields(lines[i++]);
                FigText t;
                if (f.size() < 2 || !ReadNumber(f[0], t.x) || !ReadNumber(f[1], t.y) ||
                    fig.texts.size() >= kMaxItemsPerBlock) {
                    ++fig.droppedItems;
                    continue;
                }
                if (f.size() < 3 || !ReadInt(f[2], t.style)) t.style = 1;
                if (f.size() < 4 || !ReadInt(f[3], t.align)) t.align = 3;
                t.x = Clamp(t.x);
                t.y = Clamp(t.y);
                t.text = cp932::ToUtf8(textLine.substr(0, 512));
                fig.texts.push_back(std::move(t));
            }
        } else {
            continue;  // a blank line, an END of a block already read, or an unknown block
        }
        if (i < lines.size()) ++i;  // the block's END
    }
    if (!sawPoints) {
        if (problem) *problem = "座標情報がありません";
        return std::nullopt;
    }
    auto point = [&](int number) -> int {
        auto it = pointByNumber.find(number);
        return it == pointByNumber.end() ? -1 : it->second;
    };
    for (const RawSegment& s : rawSegments) {
        const int a = point(s.from), b = point(s.to);
        if (a < 0 || b < 0) {
            ++fig.droppedItems;
            continue;
        }
        fig.segments.push_back({a, b, s.style});
    }
    for (const RawArrow& r : rawArrows) {
        const int p = point(r.point);
        if (p < 0) {
            ++fig.droppedItems;
            continue;
        }
        fig.arrows.push_back({p, r.code, r.style});
    }
    return fig;
}

std::optional<Figure> ParseComposite(std::string_view bytes, std::string* problem) {
    const std::vector<std::string_view> lines = SplitLines(bytes, 2 * kMaxSubFigures + 8);
    if (lines.size() < 2) {
        if (problem) *problem = "図のファイルが短すぎます";
        return std::nullopt;
    }
    Figure fig;
    fig.caption = cp932::ToUtf8(lines[0]);
    const std::vector<double> frame = ReadNumbers(lines[1], 2);
    if (frame.size() < 2 || !(frame[0] > 0.0) || !(frame[1] > 0.0) || frame[0] > 1000.0 ||
        frame[1] > 1000.0) {
        if (problem) *problem = "図の枠の大きさが読めません";
        return std::nullopt;
    }
    fig.width = frame[0];
    fig.height = frame[1];
    for (std::size_t i = 2; i < lines.size() && fig.parts.size() < kMaxSubFigures; i += 2) {
        const std::string_view path = Trim(lines[i]);
        if (path == "END") break;
        if (path.empty()) {
            --i;  // tolerate stray blank lines between entries
            continue;
        }
        Placement p;
        p.path = cp932::ToUtf8(path);
        if (i + 1 < lines.size()) {
            const std::vector<double> at = ReadNumbers(lines[i + 1], 2);
            if (at.size() > 0) p.x = Clamp(at[0]);
            if (at.size() > 1) p.y = Clamp(at[1]);
        }
        fig.parts.push_back(std::move(p));
    }
    if (fig.parts.empty()) {
        if (problem) *problem = "図の部品がありません";
        return std::nullopt;
    }
    return fig;
}

}  // namespace kuvelt::preview
