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

// The contents pages: the title, then one line per heading (a blank line before each chapter
// but the first), ending with a page break. Their line count depends on the entries alone.
std::string ContentsPages(const std::vector<Entry>& entries) {
    std::string out = "?R1" + cp932::FromUtf8(kContentsTitle);
    out += kCrLf;
    out += kCrLf;
    out += kCrLf;
    bool first = true;
    for (const Entry& e : entries) {
        if (e.level == 1 && !first) out += kCrLf;
        first = false;
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
        out += line;
        out += kCrLf;
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

    std::vector<Entry> entries = Headings(formats::LayOutPrintFile(after, kMaxPages), after, 0);
    if (entries.empty()) return std::string(before) + std::string(after);

    // First with no page numbers, to learn where every heading falls with the contents' own
    // pages in place; the numbers change no line count, so the pages stay where they were.
    std::string laid = std::string(before) + ContentsPages(entries);
    const std::size_t afterStart = laid.size();
    laid += after;
    const std::vector<Entry> placed =
        Headings(formats::LayOutPrintFile(laid, kMaxPages), laid, afterStart);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].page = i < placed.size() ? placed[i].page : 0;
    return std::string(before) + ContentsPages(entries) + std::string(after);
}

}  // namespace kuvelt::print_job
