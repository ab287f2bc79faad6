#include "report/figure_read.h"

#include <cmath>
#include <limits>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"

namespace kuvelt::figread {

namespace {

// Lines of the file: CR LF or a lone LF ends a line; a last line without an end is kept.
class Lines {
  public:
    explicit Lines(std::string_view bytes) : bytes_(bytes) {}

    bool Next(std::string_view& line) {
        if (pos_ >= bytes_.size()) return false;
        const std::size_t lf = bytes_.find('\n', pos_);
        const std::size_t end = lf == std::string_view::npos ? bytes_.size() : lf;
        line = bytes_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        ++number_;
        return true;
    }
    std::size_t number() const { return number_; }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

struct Failure {
    std::string text;
};

[[noreturn]] void Fail(const Lines& lines, const std::string& what) {
    throw Failure{std::to_string(lines.number()) + "行目: " + what};
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Comma-separated fields (blanks around them ignored). A trailing empty field after a final
// comma is dropped, so "1, 2, " has two fields.
std::vector<std::string_view> SplitOn(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i <= s.size()) {
        const std::size_t c = s.find(sep, i);
        const std::size_t end = c == std::string_view::npos ? s.size() : c;
        out.push_back(Trim(s.substr(i, end - i)));
        if (c == std::string_view::npos) break;
        i = c + 1;
    }
    if (!out.empty() && out.back().empty() && out.size() > 1) out.pop_back();
    return out;
}

std::vector<std::string_view> SplitBlanks(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

double Number(const Lines& lines, std::string_view s) {
    double v = 0;
    if (!numfmt::ParseNumber(s, v) || !std::isfinite(v)) {
        Fail(lines, "数値ではありません: " + cp932::ToUtf8(s));
    }
    return v;
}

int32_t Integer(const Lines& lines, std::string_view s) {
    const double v = Number(lines, s);
    if (v != std::floor(v) || v < std::numeric_limits<int32_t>::min() ||
        v > std::numeric_limits<int32_t>::max()) {
        Fail(lines, "整数ではありません: " + cp932::ToUtf8(s));
    }
    return static_cast<int32_t>(v);
}

std::vector<std::string_view> Fields(const Lines& lines, std::string_view line, std::size_t count) {
    std::vector<std::string_view> f = SplitOn(line, ',');
    if (f.size() != count) {
        Fail(lines, "項目の数が" + std::to_string(count) + "ではありません");
    }
    return f;
}

std::string_view NeedLine(Lines& lines, const char* what) {
    std::string_view line;
    if (!lines.Next(line)) {
        throw Failure{std::to_string(lines.number() + 1) +
                      "行目: ファイルが途中で終わっています: " + what};
    }
    return line;
}

void CheckCount(const Lines& lines, std::size_t n) {
    if (n >= kMaxRecords) Fail(lines, "レコードが多すぎます");
}

void ParseHeader(Lines& lines, SubFigure& out) {
    out.caption1 = cp932::ToUtf8(NeedLine(lines, "見出し1"));
    out.caption2 = cp932::ToUtf8(NeedLine(lines, "見出し2"));
    const std::vector<std::string_view> f = Fields(lines, NeedLine(lines, "範囲"), 6);
    out.width = Number(lines, f[0]);
    out.height = Number(lines, f[1]);
    out.minX = Number(lines, f[2]);
    out.minY = Number(lines, f[3]);
    out.maxX = Number(lines, f[4]);
    out.maxY = Number(lines, f[5]);
}

template <typename Fn>
bool Guard(std::string_view bytes, std::string* error, Fn fn) {
    if (bytes.size() > kMaxFileBytes) {
        if (error) *error = "ファイルが大きすぎます";
        return false;
    }
    try {
        fn();
        return true;
    } catch (const Failure& f) {
        if (error) *error = f.text;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    }
    return false;
}

bool ReadFile(const std::string& path, std::string& bytes, std::string* error) {
    int32_t err = 0;
    if (!files::ReadAll(path, bytes, err, kMaxFileBytes)) {
        if (error) *error = "ファイルを読めません (" + std::to_string(err) + "): " + path;
        return false;
    }
    return true;
}

}  // namespace

bool ParseSubFigureHeader(std::string_view bytes, SubFigure& out, std::string* error) {
    SubFigure result;
    const bool ok = Guard(bytes, error, [&] {
        Lines lines(bytes);
        ParseHeader(lines, result);
    });
    if (ok) out = std::move(result);
    return ok;
}

bool ParseSubFigure(std::string_view bytes, SubFigure& out, std::string* error) {
    SubFigure result;
    const bool ok = Guard(bytes, error, [&] {
        Lines lines(bytes);
        ParseHeader(lines, result);
        const std::string coord = cp932::FromUtf8("座標情報");
        const std::string segs = cp932::FromUtf8("線分情報");
        const std::string arrows = cp932::FromUtf8("矢印(1)");
        const std::string texts = cp932::FromUtf8("文字情報");
        bool sawPoints = false;
        std::string_view line;
        while (lines.Next(line)) {
            if (Trim(line).empty()) continue;
            if (line == coord) {
                sawPoints = true;
                while (true) {
                    const std::string_view l = NeedLine(lines, "END");
                    if (l == "END") break;
                    CheckCount(lines, result.points.size());
                    const auto f = Fields(lines, l, 3);
                    result.points.push_back(
                        {Integer(lines, f[0]), Number(lines, f[1]), Number(lines, f[2])});
                }
            } else if (line == segs || line == arrows) {
                const bool isSeg = line == segs;
                while (true) {
                    const std::string_view l = NeedLine(lines, "END");
                    if (l == "END") break;
                    const auto f = Fields(lines, l, 4);
                    const int32_t a = Integer(lines, f[0]), b = Integer(lines, f[1]),
                                  c = Integer(lines, f[2]), d = Integer(lines, f[3]);
                    if (isSeg) {
                        CheckCount(lines, result.segments.size());
                        result.segments.push_back({a, b, c, d});
                    } else {
                        CheckCount(lines, result.arrows.size());
                        result.arrows.push_back({a, b, c, d});
                    }
                }
            } else if (line == texts) {
                while (true) {
                    const std::string_view t = NeedLine(lines, "END");
                    if (t == "END") break;
                    CheckCount(lines, result.texts.size());
                    const auto f = Fields(lines, NeedLine(lines, "文字の位置"), 4);
                    result.texts.push_back({cp932::ToUtf8(t), Number(lines, f[0]),
                                            Number(lines, f[1]), Integer(lines, f[2]),
                                            Integer(lines, f[3])});
                }
            } else {
                Fail(lines, "未知のレコードです: " + cp932::ToUtf8(line));
            }
        }
        if (!sawPoints) Fail(lines, "\"座標情報\"がありません");
    });
    if (ok) out = std::move(result);
    return ok;
}

bool ParseComposite(std::string_view bytes, Composite& out, std::string* error) {
    Composite result;
    const bool ok = Guard(bytes, error, [&] {
        Lines lines(bytes);
        result.caption = cp932::ToUtf8(NeedLine(lines, "見出し"));
        auto pair = [&](std::string_view l, double& a, double& b) {
            const auto f = SplitBlanks(l);
            if (f.size() != 2) Fail(lines, "数値が2つではありません");
            a = Number(lines, f[0]);
            b = Number(lines, f[1]);
        };
        pair(NeedLine(lines, "枠"), result.frameWidth, result.frameHeight);
        while (true) {
            const std::string_view path = NeedLine(lines, "END");
            if (path == "END") break;
            CheckCount(lines, result.subFigures.size());
            Placement p;
            p.path = cp932::ToUtf8(path);
            pair(NeedLine(lines, "配置"), p.x, p.y);
            result.subFigures.push_back(std::move(p));
        }
    });
    if (ok) out = std::move(result);
    return ok;
}

bool ReadSubFigure(const std::string& path, SubFigure& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseSubFigure(bytes, out, error);
}

bool ReadComposite(const std::string& path, Composite& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseComposite(bytes, out, error);
}

bool ReadSubFigureHeader(const std::string& path, SubFigure& out, std::string* error) {
    std::string bytes;
    return ReadFile(path, bytes, error) && ParseSubFigureHeader(bytes, out, error);
}

}  // namespace kuvelt::figread
