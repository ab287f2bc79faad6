#include "formats/figure_files.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"

namespace kuvelt::formats {

namespace {

struct Failure {
    std::string text;
};

// One figure file being read: its lines and the rules of the mode. Strict refusals and tolerant
// ones (only for a file that is no figure at all) both end the read with a Failure.
class Reader {
  public:
    Reader(std::string_view bytes, Mode mode, std::size_t tolerantMaxLines)
        : mode_(mode), lines_(bytes, strict() ? SIZE_MAX : tolerantMaxLines) {}

    bool strict() const { return mode_ == Mode::Strict; }

    [[noreturn]] void Fail(const std::string& what) const {
        throw Failure{std::to_string(lines_.number()) + "行目: " + what};
    }
    // A refusal: the strict reason, or the tolerant one.
    [[noreturn]] void Refuse(const std::string& strictWhat, const char* tolerantWhat) const {
        if (strict()) Fail(strictWhat);
        throw Failure{tolerantWhat};
    }

    bool Next(std::string_view& line) { return lines_.Next(line); }

    // A line the file must have: strict refuses its absence; tolerant reports it as false.
    bool Need(std::string_view& line, const char* what) {
        if (lines_.Next(line)) return true;
        if (strict()) {
            throw Failure{std::to_string(lines_.number() + 1) +
                          "行目: ファイルが途中で終わっています: " + what};
        }
        return false;
    }
    // A heading line: without it the file is too short in either mode.
    std::string_view Heading(const char* what) {
        std::string_view line;
        if (!Need(line, what)) throw Failure{"図のファイルが短すぎます"};
        return line;
    }

    // The next record of a block: false at its "END" (consumed) or, tolerant, at the end of the
    // file; strict wants the "END". Tolerant takes an "END" between blanks.
    bool Record(std::string_view& line) {
        if (!Need(line, "END")) return false;
        return !IsEnd(line);
    }
    bool IsEnd(std::string_view line) const {
        return (strict() ? line : Trim(mode_, line)) == "END";
    }

    // Fields of a record: strict splits at every comma (a final comma allowed) and wants exactly
    // `count`; tolerant takes quoted fields and at least `least`.
    bool Fields(std::string_view line, std::size_t count, std::size_t least,
                std::vector<std::string>& f) const {
        if (!strict()) {
            f = SplitFields(mode_, line);
            return f.size() >= least;
        }
        f.clear();
        std::size_t i = 0;
        while (true) {
            const std::size_t c = line.find(',', i);
            const std::size_t end = c == std::string_view::npos ? line.size() : c;
            f.emplace_back(Trim(mode_, line.substr(i, end - i)));
            if (c == std::string_view::npos) break;
            i = c + 1;
        }
        if (f.size() > 1 && f.back().empty()) f.pop_back();
        if (f.size() != count) Fail("項目の数が" + std::to_string(count) + "ではありません");
        return true;
    }

    // A coordinate: strict wants the whole field a finite number; tolerant reads its prefix and
    // clamps it.
    bool Number(std::string_view s, double& v) const {
        if (strict()) {
            if (!numfmt::ParseNumber(s, v) || !std::isfinite(v)) {
                Fail("数値ではありません: " + cp932::ToUtf8(s));
            }
            return true;
        }
        if (!ReadNumber(s, v)) return false;
        v = Clamp(v);
        return true;
    }
    // A number, style or code: strict wants an exact int32; tolerant rounds within ±2e9.
    bool Integer(std::string_view s, int32_t& out) const {
        if (!strict()) return ReadInt(s, out);
        double v = 0;
        Number(s, v);
        if (v != std::floor(v) || v < std::numeric_limits<int32_t>::min() ||
            v > std::numeric_limits<int32_t>::max()) {
            Fail("整数ではありません: " + cp932::ToUtf8(s));
        }
        out = static_cast<int32_t>(v);
        return true;
    }
    // Room for one more record of a kind holding `n`.
    bool Room(std::size_t n) const {
        if (!strict()) return n < kTolerantMaxRecords;
        if (n >= kMaxRecords) Fail("レコードが多すぎます");
        return true;
    }

    // Up to `count` numbers of a line: strict wants exactly `count` (comma-separated for the
    // extents, blank-separated in a composite); tolerant takes what it can read.
    std::vector<double> Numbers(std::string_view line, std::size_t count, bool commas) const {
        if (!strict()) return ReadNumbers(line, count);
        std::vector<std::string> f;
        if (commas) {
            Fields(line, count, count, f);
        } else {
            for (std::size_t i = 0; i < line.size();) {
                while (i < line.size() && IsBlank(mode_, line[i])) ++i;
                const std::size_t start = i;
                while (i < line.size() && !IsBlank(mode_, line[i])) ++i;
                if (i > start) f.emplace_back(line.substr(start, i - start));
            }
            if (f.size() != count) Fail("数値が2つではありません");  // a composite's pairs
        }
        std::vector<double> v(count);
        for (std::size_t k = 0; k < count; ++k) Number(f[k], v[k]);
        return v;
    }

    // A coordinate read by Numbers: tolerant mode clamps it.
    double Coordinate(double v) const { return strict() ? v : Clamp(v); }

    static double Clamp(double v) {
        if (!std::isfinite(v)) return 0.0;
        return std::max(-kMaxCoordinate, std::min(kMaxCoordinate, v));
    }

  private:
    Mode mode_;
    Lines lines_;
};

void ReadHeader(Reader& r, SubFigure& out) {
    out.caption1 = cp932::ToUtf8(r.Heading("見出し1"));
    out.caption2 = cp932::ToUtf8(r.Heading("見出し2"));
    const std::vector<double> ext = r.Numbers(r.Heading("範囲"), 6, true);
    double* const targets[] = {&out.width, &out.height, &out.minX, &out.minY, &out.maxX, &out.maxY};
    for (std::size_t k = 0; k < ext.size(); ++k) *targets[k] = r.Coordinate(ext[k]);
}

void ReadPoints(Reader& r, SubFigure& fig) {
    std::string_view line;
    std::vector<std::string> f;
    while (r.Record(line)) {
        Point p;
        if (!r.Room(fig.points.size()) || !r.Fields(line, 3, 3, f) || !r.Integer(f[0], p.number) ||
            !r.Number(f[1], p.x) || !r.Number(f[2], p.y)) {
            ++fig.droppedItems;
            continue;
        }
        fig.points.push_back(p);
    }
}

void ReadSegments(Reader& r, SubFigure& fig) {
    std::string_view line;
    std::vector<std::string> f;
    while (r.Record(line)) {
        Segment s;
        if (!r.Fields(line, 4, 4, f) || !r.Integer(f[0], s.number) ||
            !r.Integer(f[1], s.startPoint) || !r.Integer(f[2], s.endPoint) ||
            !r.Integer(f[3], s.style) || !r.Room(fig.segments.size())) {
            ++fig.droppedItems;
            continue;
        }
        fig.segments.push_back(s);
    }
}

void ReadArrows(Reader& r, SubFigure& fig) {
    std::string_view line;
    std::vector<std::string> f;
    while (r.Record(line)) {
        Arrow a;
        if (!r.Fields(line, 4, 4, f) || !r.Integer(f[0], a.number) || !r.Integer(f[1], a.point) ||
            !r.Integer(f[2], a.code) || !r.Integer(f[3], a.style) || !r.Room(fig.arrows.size())) {
            ++fig.droppedItems;
            continue;
        }
        fig.arrows.push_back(a);
    }
}

// Two lines per text: the text itself, then X, Y, style, alignment. Tolerant mode reads a
// missing or broken style as 1 and alignment as 3, and keeps at most 512 bytes of the text.
void ReadTexts(Reader& r, SubFigure& fig) {
    std::string_view textLine, position;
    std::vector<std::string> f;
    while (r.Record(textLine)) {
        const bool room = r.Room(fig.texts.size());
        if (!r.Need(position, "文字の位置")) {
            ++fig.droppedItems;
            break;
        }
        Text t;
        if (!r.Fields(position, 4, 2, f) || !r.Number(f[0], t.x) || !r.Number(f[1], t.y) || !room) {
            ++fig.droppedItems;
            continue;
        }
        if (f.size() < 3 || !r.Integer(f[2], t.style)) t.style = 1;
        if (f.size() < 4 || !r.Integer(f[3], t.align)) t.align = 3;
        t.text = cp932::ToUtf8(r.strict() ? textLine : textLine.substr(0, 512));
        fig.texts.push_back(std::move(t));
    }
}

// Segment and arrow references to indices of `points`; tolerant mode drops those naming no
// point.
void ResolvePoints(Mode mode, SubFigure& fig) {
    std::unordered_map<int32_t, int32_t> index;
    for (std::size_t k = 0; k < fig.points.size(); ++k) {
        index[fig.points[k].number] = static_cast<int32_t>(k);
    }
    auto find = [&](int32_t number) {
        const auto it = index.find(number);
        return it == index.end() ? -1 : it->second;
    };
    const bool keep = mode == Mode::Strict;
    std::vector<Segment> segments;
    for (Segment s : fig.segments) {
        s.from = find(s.startPoint);
        s.to = find(s.endPoint);
        if (keep || (s.from >= 0 && s.to >= 0)) {
            segments.push_back(s);
        } else {
            ++fig.droppedItems;
        }
    }
    fig.segments = std::move(segments);
    std::vector<Arrow> arrows;
    for (Arrow a : fig.arrows) {
        a.at = find(a.point);
        if (keep || a.at >= 0) {
            arrows.push_back(a);
        } else {
            ++fig.droppedItems;
        }
    }
    fig.arrows = std::move(arrows);
}

template <typename T, typename Fn>
bool Guard(std::string_view bytes, Mode mode, T& out, std::string* error, Fn fn) {
    if (mode == Mode::Strict && bytes.size() > kMaxFileBytes) {
        if (error) *error = "ファイルが大きすぎます";
        return false;
    }
    T result;
    try {
        fn(result);
        out = std::move(result);
        return true;
    } catch (const Failure& f) {
        if (error) *error = f.text;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    }
    return false;
}

// Lines a tolerant read looks at: four per record of the largest kind, and the headings.
constexpr std::size_t kTolerantSubFigureLines = 4 * kTolerantMaxRecords + 16;
constexpr std::size_t kTolerantCompositeLines = 2 * kTolerantMaxPlacements + 8;

bool ReadFile(const std::string& path, std::string& bytes, std::string* error) {
    int32_t err = 0;
    if (!files::ReadAll(path, bytes, err, kMaxFileBytes)) {
        if (error) *error = "ファイルを読めません (" + std::to_string(err) + "): " + path;
        return false;
    }
    return true;
}

}  // namespace

bool ParseSubFigureHeader(std::string_view bytes, Mode mode, SubFigure& out, std::string* error) {
    return Guard(bytes, mode, out, error, [&](SubFigure& fig) {
        Reader r(bytes, mode, kTolerantSubFigureLines);
        ReadHeader(r, fig);
    });
}

bool ParseSubFigure(std::string_view bytes, Mode mode, SubFigure& out, std::string* error) {
    return Guard(bytes, mode, out, error, [&](SubFigure& fig) {
        Reader r(bytes, mode, kTolerantSubFigureLines);
        ReadHeader(r, fig);
        const std::string points = cp932::FromUtf8("座標情報");
        const std::string segments = cp932::FromUtf8("線分情報");
        const std::string arrows = cp932::FromUtf8("矢印(1)");
        const std::string texts = cp932::FromUtf8("文字情報");
        bool sawPoints = false;
        std::string_view line;
        while (r.Next(line)) {
            const std::string_view trimmed = Trim(mode, line);
            if (trimmed.empty()) continue;
            const std::string_view head = r.strict() ? line : trimmed;
            if (head == points) {
                sawPoints = true;
                ReadPoints(r, fig);
            } else if (head == segments) {
                ReadSegments(r, fig);
            } else if (head == arrows) {
                ReadArrows(r, fig);
            } else if (head == texts) {
                ReadTexts(r, fig);
            } else if (r.strict()) {
                r.Fail("未知のレコードです: " + cp932::ToUtf8(line));
            }  // tolerant: an unknown block is passed over line by line
        }
        if (!sawPoints) r.Refuse("\"座標情報\"がありません", "座標情報がありません");
        ResolvePoints(mode, fig);
    });
}

bool ParseComposite(std::string_view bytes, Mode mode, Composite& out, std::string* error) {
    return Guard(bytes, mode, out, error, [&](Composite& fig) {
        Reader r(bytes, mode, kTolerantCompositeLines);
        fig.caption = cp932::ToUtf8(r.Heading("見出し"));
        const std::vector<double> frame = r.Numbers(r.Heading("枠"), 2, false);
        if (!r.strict() && (frame.size() < 2 || !(frame[0] > 0.0) || !(frame[1] > 0.0) ||
                            frame[0] > kMaxFrame || frame[1] > kMaxFrame)) {
            throw Failure{"図の枠の大きさが読めません"};
        }
        fig.frameWidth = frame[0];
        fig.frameHeight = frame[1];
        std::string_view path, at;
        while (r.strict() || fig.subFigures.size() < kTolerantMaxPlacements) {
            if (!r.Record(path)) break;
            if (!r.strict()) {
                path = Trim(mode, path);
                if (path.empty()) continue;  // stray blank lines between entries
            }
            if (r.strict()) r.Room(fig.subFigures.size());
            Placement p;
            p.path = cp932::ToUtf8(path);
            if (r.Need(at, "配置")) {
                const std::vector<double> xy = r.Numbers(at, 2, false);
                if (xy.size() > 0) p.x = r.Coordinate(xy[0]);
                if (xy.size() > 1) p.y = r.Coordinate(xy[1]);
            }
            fig.subFigures.push_back(std::move(p));
        }
        if (!r.strict() && fig.subFigures.empty()) throw Failure{"図の部品がありません"};
    });
}

bool ReadSubFigure(const std::string& path, Mode mode, SubFigure& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseSubFigure(bytes, mode, out, error);
}

bool ReadComposite(const std::string& path, Mode mode, Composite& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseComposite(bytes, mode, out, error);
}

bool ReadSubFigureHeader(const std::string& path, Mode mode, SubFigure& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseSubFigureHeader(bytes, mode, out, error);
}

}  // namespace kuvelt::formats
