// Builds the installed user guide from its source: every row of a field table is written from the
// program's own field table (caption, unit, input range as the window's range message states it),
// so the guide never states a range the program does not hold.
//
//   kuvelt-guide-build SOURCE.html.in IMAGES_DIR OUT.html
//
// In the source, a field row is `<tr data-field="NAME">` followed by the description cells; NAME is
// a design field ("CInpJiban.Fai", a section column "CInpSectS.Zd") or a window's own field
// ("frmInpYaita.numL"). `data-caption="…"` gives the caption of a choice that has none of its own
// (or one that says which group a field is in), `data-unit="…"` the unit of a field whose caption
// carries none. The opening tag becomes
// `<tr><td>caption</td><td>unit</td><td>range</td>`. A line break inside Japanese prose is joined.
// An unknown field or a picture missing from IMAGES_DIR fails the build with the source line named;
// OUT is then not written.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "model/ranges.h"
#include "platform/files.h"

namespace kuvelt {
namespace {

struct Failure {
    std::string what;
};

std::string Escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else {
            out += c;
        }
    }
    return out;
}

// The text of a range message after "入力範囲：", as the window says it.
std::string RangeText(std::string message) {
    constexpr std::string_view kLead = "入力範囲：";
    if (message.starts_with(kLead)) message.erase(0, kLead.size());
    return message;
}

std::string BytesText(int32_t bytes) {
    return std::to_string(bytes) + " バイト以内（全角 " + std::to_string(bytes / 2) + " 文字）";
}

std::string ChoiceText(std::span<const std::string_view> captions) {
    std::string out;
    for (std::string_view c : captions) {
        if (!out.empty()) out += "／";
        out += c;
    }
    return out + " から選択";
}

// The choices of a field stored as the index of an option or list entry.
std::optional<std::string> Choices(std::string_view name) {
    if (name == "CInpJyoken.Keijyo") return ChoiceText(kKeijyoCaptions);
    if (name == "CInpJiban.Kind" || name == "CInpJibanLayer.Kind") return ChoiceText(kKindCaptions);
    if (name == "CInpYaita.Yaita") return ChoiceText(kYaitaCaptions);
    if (name == "CInpSectC.Keijyo") return ChoiceText(kSectShapeCaptions);
    if (name == "CInpJyoken.Nekiri") return std::string("チェックあり（行う）／なし（行わない）");
    return std::nullopt;
}

// The unit in the last parentheses of a caption ("地表面(m)" → "m"); none when they hold words
// ("勾配(１：ｍ)", "名称(形式など)").
std::string UnitIn(std::string_view caption) {
    const auto open = caption.rfind('(');
    if (open == std::string_view::npos) return {};
    const auto close = caption.find(')', open);
    if (close == std::string_view::npos) return {};
    const std::string_view inner = caption.substr(open + 1, close - open - 1);
    if (inner.empty()) return {};
    constexpr std::string_view kSigns[] = {"゜", "･", "・"};
    for (std::size_t i = 0; i < inner.size();) {
        const unsigned char c = static_cast<unsigned char>(inner[i]);
        if (c < 0x80) {
            if (!std::isalnum(c) && c != '/') return {};
            ++i;
            continue;
        }
        bool sign = false;
        for (std::string_view s : kSigns) {
            if (inner.substr(i).starts_with(s)) {
                i += s.size();
                sign = true;
                break;
            }
        }
        if (!sign) return {};
    }
    return std::string(inner);
}

struct Row {
    std::string caption;
    std::string unit;
    std::string range;
};

Row Describe(std::string_view name, const std::optional<std::string>& caption,
             const std::optional<std::string>& unit) {
    Row row;
    // A reference of the cover window's list is no field of a record's own.
    const DesignField* d =
        name == ReferenceField().name ? &ReferenceField() : FindDesignField(name);
    const FieldRange* r = d ? static_cast<const FieldRange*>(d) : FindFieldRange(name);
    if (r == nullptr) throw Failure{"unknown field " + std::string(name)};
    row.caption = std::string(r->caption);
    if (!r->group.empty()) row.caption = std::string(r->group) + "　" + row.caption;
    const bool column = d && (d->record == Record::SectC || d->record == Record::SectS ||
                              d->record == Record::Layer);
    if (d && d->type == FieldType::Text) {
        row.range = BytesText(d->maxBytes);
    } else if (std::optional<std::string> choices = Choices(name)) {
        row.range = *choices;
    } else if (column) {
        row.range = RangeText(GridInputHint(*d));
    } else if (!d || d->HasInput()) {
        row.range = RangeText(RangeMessage(*r).text);
    } else {
        throw Failure{"field " + std::string(name) + " is not typed in any window"};
    }
    if (caption) row.caption = *caption;
    if (row.caption.empty()) throw Failure{"field " + std::string(name) + " needs data-caption"};
    row.unit = unit ? *unit : UnitIn(r->caption);
    if (row.unit.empty() && !unit) row.unit = UnitIn(r->group);
    if (row.unit.empty()) row.unit = "－";
    return row;
}

// The value of attribute `key` inside the tag text, if given.
std::optional<std::string> Attribute(std::string_view tag, std::string_view key) {
    const std::string lead = " " + std::string(key) + "=\"";
    const auto at = tag.find(lead);
    if (at == std::string_view::npos) return std::nullopt;
    const auto from = at + lead.size();
    const auto end = tag.find('"', from);
    if (end == std::string_view::npos) throw Failure{"unterminated attribute " + std::string(key)};
    return std::string(tag.substr(from, end - from));
}

// A picture of the guide must be among its images.
std::string CheckedImage(std::string_view tag, const std::string& imagesDir) {
    const std::optional<std::string> src = Attribute(tag, "src");
    constexpr std::string_view kFolder = "images/";
    if (!src || !src->starts_with(kFolder) ||
        !files::Exists(imagesDir + "/" + src->substr(kFolder.size()))) {
        throw Failure{"the picture " + src.value_or("(no src)") + " is not in " + imagesDir};
    }
    return std::string(tag);
}

std::string FieldRow(std::string_view tag) {
    const std::optional<std::string> name = Attribute(tag, "data-field");
    if (!name) throw Failure{"a field row without data-field"};
    const Row row = Describe(*name, Attribute(tag, "data-caption"), Attribute(tag, "data-unit"));
    // The caption as the window shows it: its full-width blanks ("平　形") are not folded.
    return "<tr><td style=\"white-space: pre-wrap\">" + Escape(row.caption) + "</td><td>" +
           Escape(row.unit) + "</td><td>" + Escape(row.range) + "</td>";
}

// Japanese prose is wrapped in the source at any character, and a browser shows a line break
// between two words as a blank: a line break between two non-ASCII characters is dropped (outside
// <pre>, whose lines stay as they are).
std::string JoinWrappedLines(const std::string& html) {
    auto wide = [&](std::size_t at) {
        return at < html.size() && static_cast<unsigned char>(html[at]) >= 0x80;
    };
    std::string out;
    out.reserve(html.size());
    bool pre = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html.compare(i, 4, "<pre") == 0) pre = true;
        if (html.compare(i, 6, "</pre>") == 0) pre = false;
        if (!pre && html[i] == '\n' && i > 0 && wide(i - 1) && wide(i + 1)) continue;
        out += html[i];
    }
    return out;
}

std::string Build(const std::string& source, const std::string& imagesDir) {
    std::string out;
    std::size_t at = 0;
    while (at < source.size()) {
        const std::size_t row = source.find("<tr data-field=", at);
        const std::size_t img = source.find("<img ", at);
        const std::size_t comment = source.find("<!--", at);
        const std::size_t next = std::min({row, img, comment});
        if (next == std::string::npos) break;
        out.append(source, at, next - at);
        if (next == comment) {
            // Comments are copied as they are: they may speak of the rows they do not hold.
            const std::size_t end = source.find("-->", next);
            if (end == std::string::npos) throw Failure{"unterminated comment"};
            out.append(source, next, end + 3 - next);
            at = end + 3;
            continue;
        }
        const std::size_t end = source.find('>', next);
        if (end == std::string::npos) throw Failure{"unterminated tag"};
        const std::string_view tag(source.data() + next, end + 1 - next);
        try {
            out += next == row ? FieldRow(tag) : CheckedImage(tag, imagesDir);
        } catch (Failure& f) {
            std::size_t line = 1;
            for (std::size_t i = 0; i < next; ++i) line += source[i] == '\n';
            f.what = "line " + std::to_string(line) + ": " + f.what;
            throw;
        }
        at = end + 1;
    }
    out.append(source, at);
    return JoinWrappedLines(out);
}

}  // namespace
}  // namespace kuvelt

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kuvelt-guide-build SOURCE.html.in IMAGES_DIR OUT.html\n");
        return 64;
    }
    std::string source;
    int32_t err = 0;
    if (!kuvelt::files::ReadAll(argv[1], source, err)) {
        std::fprintf(stderr, "kuvelt-guide-build: %s: cannot read (error %d)\n", argv[1], err);
        return 1;
    }
    try {
        const std::string html = kuvelt::Build(source, argv[2]);
        if (!kuvelt::files::ReplaceFile(argv[3], html, err)) {
            std::fprintf(stderr, "kuvelt-guide-build: %s: cannot write (error %d)\n", argv[3], err);
            return 1;
        }
    } catch (const kuvelt::Failure& f) {
        std::fprintf(stderr, "kuvelt-guide-build: %s: %s\n", argv[1], f.what.c_str());
        return 1;
    }
    return 0;
}
