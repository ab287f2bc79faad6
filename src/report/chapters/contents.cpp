#include "report/chapters/contents.h"

#include <algorithm>
#include <vector>

#include "formats/print_pages.h"
#include "platform/cp932.h"

namespace kuvelt::print_job {

namespace {

constexpr std::size_t kMaxPages = 10000;  // as the preview lays out
constexpr int kNumberWidth = 4;           // columns of the right-aligned page number
constexpr int kMinLeader = 3;             // dots at least between a title and its number
constexpr std::string_view kCrLf = "\r\n";

struct Entry {
    int level = 1;
    std::string title;  // code page 932, margin blanks removed, cut to fit its line
    int page = 0;       // 1-based, as the footer counts
};

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int Indent(int level) { return level == 1 ? 2 : 6; }

// The headings of laid-out lines that start at or after `from` (a byte offset into `bytes`),
// in document order: the lines the preview makes bookmarks of (a heading mark with a title).
std::vector<Entry> Headings(const formats::PrintLayout& layout, std::string_view bytes,
                            std::size_t from) {
    std::vector<Entry> out;
    for (std::size_t p = 0; p < layout.pages.size(); ++p) {
        for (const formats::PrintLayout::LaidLine& line : layout.pages[p].lines) {
            if (static_cast<std::size_t>(line.bytes.data() - bytes.data()) < from) continue;
            std::string_view text;
            const int level = formats::HeadingLevel(line.bytes, nullptr, &text);
            text = TrimBlanks(text);
            if (level == 0 || text.empty()) continue;
            const std::size_t room = static_cast<std::size_t>(kContentsWidth - Indent(level) -
                                                              kNumberWidth - kMinLeader - 2);
            out.push_back({level, std::string(cp932::Prefix(text, room)), static_cast<int>(p) + 1});
        }
    }
    return out;
}

// The numbered captions ("図-n …", "表-n …" at the start of a line) of laid-out lines that
// start at or after `from`, in document order.
std::vector<Entry> Captions(const formats::PrintLayout& layout, std::string_view bytes,
                            std::size_t from) {
    static const std::string figure = cp932::FromUtf8("図-");
    static const std::string table = cp932::FromUtf8("表-");
    std::vector<Entry> out;
    for (std::size_t p = 0; p < layout.pages.size(); ++p) {
        for (const formats::PrintLayout::LaidLine& line : layout.pages[p].lines) {
            if (static_cast<std::size_t>(line.bytes.data() - bytes.data()) < from) continue;
            const std::string_view text = TrimBlanks(line.bytes);
            const std::string_view rest = text.substr(std::min(text.size(), figure.size()));
            if ((text.substr(0, figure.size()) != figure &&
                 text.substr(0, table.size()) != table) ||
                rest.empty() || rest[0] < '1' || rest[0] > '9')
                continue;
            const std::size_t room = static_cast<std::size_t>(kContentsWidth - Indent(2) -
                                                              kNumberWidth - kMinLeader - 2);
            out.push_back({2, std::string(cp932::Prefix(text, room)), static_cast<int>(p) + 1});
        }
    }
    return out;
}

std::string EntryLine(const Entry& e) {
    std::string line(static_cast<std::size_t>(Indent(e.level)), ' ');
    line += e.title;
    std::string number = std::to_string(e.page);
    if (number.size() < kNumberWidth) number.insert(0, kNumberWidth - number.size(), ' ');
    const int dots =
        kContentsWidth - static_cast<int>(line.size()) - 2 - static_cast<int>(number.size());
    line += ' ';
    line.append(static_cast<std::size_t>(std::max(kMinLeader, dots)), '.');
    line += ' ';
    line += number;
    line += kCrLf;
    return line;
}

// The contents pages: the title, then one line per heading (a blank line before each chapter
// but the first), then the list of figures and tables after a blank line and its title, ending
// with a page break. Their line count depends on the entries alone.
std::string ContentsPages(const std::vector<Entry>& entries, const std::vector<Entry>& captions) {
    std::string out = "?R1" + cp932::FromUtf8(kContentsTitle);
    out += kCrLf;
    out += kCrLf;
    out += kCrLf;
    bool first = true;
    for (const Entry& e : entries) {
        if (e.level == 1 && !first) out += kCrLf;
        first = false;
        out += EntryLine(e);
    }
    if (!captions.empty()) {
        out += kCrLf;
        out += kCrLf;
        out += std::string(static_cast<std::size_t>(Indent(1)), ' ');
        out += cp932::FromUtf8(kCaptionListTitle);
        out += kCrLf;
        out += kCrLf;
        for (const Entry& e : captions) out += EntryLine(e);
    }
    out += formats::kPageBreakByte;
    return out;
}

}  // namespace

std::string InsertContents(std::string_view document) {
    const std::size_t at = document.find(kContentsMark);
    if (at == std::string_view::npos) return std::string(document);
    const std::string_view before = document.substr(0, at);
    const std::string_view after = document.substr(at + kContentsMark.size());

    const formats::PrintLayout first = formats::LayOutPrintFile(after, kMaxPages);
    std::vector<Entry> entries = Headings(first, after, 0);
    if (entries.empty()) return std::string(before) + std::string(after);
    std::vector<Entry> captions = Captions(first, after, 0);

    // First with no page numbers, to learn where every heading falls with the contents' own
    // pages in place; the numbers change no line count, so the pages stay where they were.
    std::string laid = std::string(before) + ContentsPages(entries, captions);
    const std::size_t afterStart = laid.size();
    laid += after;
    const formats::PrintLayout layout = formats::LayOutPrintFile(laid, kMaxPages);
    const std::vector<Entry> placed = Headings(layout, laid, afterStart);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].page = i < placed.size() ? placed[i].page : 0;
    const std::vector<Entry> placedCaptions = Captions(layout, laid, afterStart);
    for (std::size_t i = 0; i < captions.size(); ++i)
        captions[i].page = i < placedCaptions.size() ? placedCaptions[i].page : 0;
    return std::string(before) + ContentsPages(entries, captions) + std::string(after);
}

std::string NumberCaptions(std::string_view document) {
    static_assert(formats::kFigureNumberMark.size() == formats::kTableNumberMark.size());
    std::string out;
    out.reserve(document.size() + 64);
    int figures = 0;
    int tables = 0;
    std::size_t at = 0;
    while (at < document.size()) {
        const std::size_t f = document.find(formats::kFigureNumberMark, at);
        const std::size_t t = document.find(formats::kTableNumberMark, at);
        const std::size_t next = std::min(f, t);
        if (next == std::string_view::npos) break;
        out += document.substr(at, next - at);
        out += cp932::FromUtf8(next == f ? "図-" + std::to_string(++figures) + " "
                                         : "表-" + std::to_string(++tables) + " ");
        at = next + formats::kFigureNumberMark.size();
    }
    out += document.substr(std::min(at, document.size()));
    return out;
}

}  // namespace kuvelt::print_job
