#include "formats/style_files.h"

#include <cmath>
#include <limits>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"

namespace kuvelt::formats {

namespace {

struct Refusal {
    StyleError error;
};

[[noreturn]] void Refuse(int32_t code, std::string text) { throw Refusal{{code, std::move(text)}}; }

constexpr std::size_t kTolerantMaxLines = 1000;

// One style file being read: its name (for strict reasons) and the mode's rules.
class StyleReader {
  public:
    StyleReader(const char* file, Mode mode) : file_(file), mode_(mode) {}

    bool strict() const { return mode_ == Mode::Strict; }
    const char* file() const { return file_; }

    // Calls fn(fields, line number) for each record up to "END" until fn returns false. Strict
    // mode converts each line to UTF-8 before splitting it, refuses a record of fewer than
    // `strictFields` fields and wants the "END"; tolerant mode splits the bytes and skips
    // records of fewer than `tolerantFields`.
    template <typename Fn>
    void ForEachRecord(std::string_view bytes, std::size_t strictFields, std::size_t tolerantFields,
                       Fn fn) const {
        Lines lines(bytes, strict() ? SIZE_MAX : kTolerantMaxLines, strict());
        std::string_view raw;
        lines.Next(raw);  // the heading
        while (lines.Next(raw)) {
            const std::string text = strict() ? cp932::ToUtf8(raw) : std::string(raw);
            if (Trim(mode_, text).empty()) continue;
            const std::vector<std::string> f = SplitFields(mode_, text);
            if (f[0] == "END") return;
            if (f.size() < (strict() ? strictFields : tolerantFields)) {
                if (strict()) {
                    Refuse(vberr::kPastEndOfFile, std::string(file_) + " の" +
                                                      std::to_string(lines.number()) +
                                                      "行目: 項目が足りません");
                }
                continue;
            }
            if (!fn(f, lines.number())) return;
        }
        if (strict()) Refuse(vberr::kPastEndOfFile, std::string(file_) + " に\"END\"がありません");
    }

    // An integer field: strict wants a number (rounded) within 32 bits; tolerant one within
    // ±2e9 (its prefix), false otherwise.
    bool Int(const std::string& text, std::size_t lineNo, int& out) const {
        if (!strict()) return ReadInt(text, out);
        double v = 0;
        if (!numfmt::ParseNumber(text, v)) {
            Refuse(vberr::kTypeMismatch, std::string(file_) + " の" + std::to_string(lineNo) +
                                             "行目: 数値ではありません: " + text);
        }
        const double r = std::round(v);
        if (!(r >= std::numeric_limits<int32_t>::min() &&
              r <= std::numeric_limits<int32_t>::max())) {
            Refuse(vberr::kOverflow, std::string(file_) + " の" + std::to_string(lineNo) +
                                         "行目: 値が大きすぎます: " + text);
        }
        out = static_cast<int>(r);
        return true;
    }
    // An optional field: tolerant mode reads a broken one as `fallback`.
    void IntOr(const std::string& text, std::size_t lineNo, int& out, int fallback) const {
        if (!Int(text, lineNo, out)) out = fallback;
    }

    // A full table: strict refuses the extra style, tolerant stops reading.
    bool Room(std::size_t count, std::size_t capacity, const char* what) const {
        if (count < capacity) return true;
        if (strict()) Refuse(vberr::kSubscript, std::string(file_) + ": " + what);
        return false;
    }

  private:
    const char* file_;
    Mode mode_;
};

template <typename T, typename Fn>
bool Guard(std::vector<T>& out, StyleError* error, Fn fn) {
    std::vector<T> table;
    try {
        fn(table);
    } catch (const Refusal& r) {
        if (error) *error = r.error;
        return false;
    }
    out = std::move(table);
    return true;
}

bool ReadStyleFile(const std::string& path, std::string& bytes, StyleError* error) {
    int32_t err = 0;
    if (files::ReadAll(path, bytes, err, kMaxStyleFileBytes)) return true;
    if (error)
        *error = {err != 0 ? err : vberr::kFileNotFound, "スタイルファイルを読めません: " + path};
    return false;
}

}  // namespace

bool ParseLineStyles(std::string_view bytes, Mode mode, std::vector<LineStyle>& out,
                     StyleError* error) {
    return Guard(out, error, [&](std::vector<LineStyle>& table) {
        const StyleReader r("LINE_PRN.DEF", mode);
        r.ForEachRecord(bytes, 3, 3, [&](const std::vector<std::string>& f, std::size_t lineNo) {
            if (!r.Room(table.size(), kMaxLineStyles, "線種が9を超えています")) return false;
            LineStyle s;
            if (!r.Int(f[1], lineNo, s.type) || !r.Int(f[2], lineNo, s.width)) return true;
            if (!r.strict() && (s.width < 0 || s.width > 500)) s.width = LineStyle{}.width;
            table.push_back(s);
            return true;
        });
    });
}

bool ParseTextStyles(std::string_view bytes, Mode mode, std::vector<TextStyle>& out,
                     StyleError* error) {
    return Guard(out, error, [&](std::vector<TextStyle>& table) {
        const StyleReader r("STR_PRN.DEF", mode);
        r.ForEachRecord(bytes, 7, 4, [&](const std::vector<std::string>& f, std::size_t lineNo) {
            if (!r.Room(table.size(), kMaxTextStyles, "文字スタイルが2を超えています")) {
                return false;
            }
            TextStyle s;
            if (r.strict()) {
                r.Int(f[1], lineNo, s.weight);
                s.family = f[2];
                r.Int(f[3], lineNo, s.sizeTwips);
                r.Int(f[4], lineNo, s.color);
                r.Int(f[5], lineNo, s.italic);
                r.Int(f[6], lineNo, s.spare);
            } else {
                if (!r.Int(f[3], lineNo, s.sizeTwips)) return true;
                r.IntOr(f[1], lineNo, s.weight, 400);
                s.family = cp932::ToUtf8(f[2]);
                if (f.size() > 4) r.IntOr(f[4], lineNo, s.color, 0);
                if (f.size() > 5) r.IntOr(f[5], lineNo, s.italic, 0);
                if (f.size() > 6) r.IntOr(f[6], lineNo, s.spare, 0);
                if (s.sizeTwips < 20 || s.sizeTwips > 2880) s.sizeTwips = TextStyle{}.sizeTwips;
            }
            table.push_back(std::move(s));
            return true;
        });
    });
}

bool ReadLineStyles(const std::string& path, Mode mode, std::vector<LineStyle>& out,
                    StyleError* error) {
    std::string bytes;
    return ReadStyleFile(path, bytes, error) && ParseLineStyles(bytes, mode, out, error);
}

bool ReadTextStyles(const std::string& path, Mode mode, std::vector<TextStyle>& out,
                    StyleError* error) {
    std::string bytes;
    return ReadStyleFile(path, bytes, error) && ParseTextStyles(bytes, mode, out, error);
}

}  // namespace kuvelt::formats
