#include "formats/print_pages.h"

#include <algorithm>

namespace kuvelt::formats {

PageCutter::PageCutter(int linesPerPage) : perPage_(std::max(1, linesPerPage)) {}

PageCutter::Place PageCutter::AddLine(bool blank) {
    int moved = 0;
    const bool started = pending_ || line_ >= perPage_;
    if (started) {
        // A group carried over by a keep stays open on the new page; a full page has ended
        // every group on it (none is longer than the page).
        if (!pending_) {
            groupStart_ = -1;
            moved = FootToCarry(line_, !blank && !seen_.empty() && !seen_.back().blankLine);
        }
        CarryOver(pending_ ? 0 : moved);
        pending_ = false;
    }
    const Place at{page_, line_, moved, started && headed_};
    if (listFrom_ == kListWaiting) listFrom_ = line_;
    const bool afterBlank = line_ == 0 || seen_.empty() || seen_.back().blankLine;
    seen_.push_back({!blank && afterBlank, groupStart_, blank});
    ++line_;
    if (groupStart_ >= 0 && line_ >= groupEnd_) groupStart_ = -1;
    return at;
}

void PageCutter::AddBreak() {
    groupStart_ = -1;
    if (line_ > 0) pending_ = true;
}

int PageCutter::Keep(int lines) {
    if (lines <= 0) return 0;
    lines = std::min(lines, Room());
    if (!pending_ && line_ >= perPage_) {
        // The page is full: the kept lines start the next one whatever they are.
        pending_ = true;
        groupStart_ = -1;
    }
    const int here = pending_ ? 0 : line_;
    if (groupStart_ >= 0 && here < groupEnd_) {
        groupEnd_ = std::max(groupEnd_, std::min(here + lines, groupStart_ + Room()));
    } else {
        groupStart_ = here;
        groupEnd_ = here + lines;
    }
    if (groupStart_ <= Top() || groupEnd_ <= perPage_) return 0;
    // The group does not fit below what the page holds: the page ends where the group starts,
    // or above the line at its foot that opens it.
    const int from = groupStart_ - FootToCarry(groupStart_, false);
    const int moved = here - from;
    groupEnd_ -= from;
    groupStart_ = 0;
    if (moved == 0) {
        pending_ = true;
        return 0;
    }
    CarryOver(moved);
    return moved;
}

void PageCutter::Continue(bool open) { listFrom_ = open ? kListWaiting : kNoList; }

void PageCutter::Restart(int linesOnPage) {
    line_ = std::max(0, linesOnPage);
    pending_ = false;
    groupStart_ = -1;
    listFrom_ = kNoList;
    headed_ = false;
    // Lines written before are not known: none of them opens anything.
    seen_.assign(static_cast<std::size_t>(std::min(line_, perPage_)), Seen{});
}

int PageCutter::FootToCarry(int end, bool splitsParagraph) const {
    end = std::min(end, static_cast<int>(seen_.size()));
    int i = end - 1;
    while (i >= 0 && end - 1 - i < kFootBlankLines && seen_[static_cast<std::size_t>(i)].blankLine)
        --i;
    if (i <= Top() || !seen_[static_cast<std::size_t>(i)].opens) return 0;
    int from = i;
    const int g = seen_[static_cast<std::size_t>(i)].group;
    if (g >= 0 && g < i) {
        // Kept with the lines above it: it goes only with the heading that opens its group.
        if (i - g > kFootHeadingReach || seen_[static_cast<std::size_t>(g)].blankLine) return 0;
        from = g;
    } else {
        // After a one-line paragraph (a label) the first line of a paragraph split by the page
        // takes the label along; a complete one-line paragraph stays with it, as a list of
        // one-line entries stays together.
        int j = i - 1;
        while (j >= 0 && i - 1 - j < kFootBlankLines &&
               seen_[static_cast<std::size_t>(j)].blankLine)
            --j;
        if (j >= 0 && seen_[static_cast<std::size_t>(j)].opens) {
            if (!splitsParagraph) return 0;
            from = j;
        }
    }
    return from <= Top() ? 0 : end - from;
}

void PageCutter::CarryOver(int moved) {
    ++page_;
    const std::size_t keep = static_cast<std::size_t>(std::clamp(moved, 0, perPage_));
    std::vector<Seen> next(seen_.end() - static_cast<std::ptrdiff_t>(std::min(keep, seen_.size())),
                           seen_.end());
    const int shift = static_cast<int>(seen_.size() - next.size());
    // The list goes on below its head when its first line stays on the page left behind.
    headed_ = listFrom_ == kListEarlier || (listFrom_ >= 0 && listFrom_ < shift);
    const int head = headed_ ? 1 : 0;
    for (Seen& s : next) s.group = s.group >= shift ? s.group - shift + head : -1;
    if (!next.empty()) next.front().opens = false;
    if (headed_) {
        next.insert(next.begin(), Seen{});
        listFrom_ = kListEarlier;
        if (groupStart_ >= 0) {
            ++groupStart_;
            ++groupEnd_;
        }
    } else if (listFrom_ >= 0) {
        listFrom_ -= shift;
    }
    seen_ = std::move(next);
    line_ = moved + head;
}

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// The n of "?KN;n": decimal digits only, 0 when there are none or they are not a count.
int KeepCount(std::string_view digits) {
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\r'))
        digits.remove_suffix(1);
    if (digits.empty() || digits.size() > 4) return 0;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

PrintLineKind KindOfLine(std::string_view raw, int* keepLines) {
    if (keepLines) *keepLines = 0;
    if (raw.empty() || raw[0] != '?') return PrintLineKind::Counted;
    if (StartsWith(raw, kTitleMark)) return PrintLineKind::Title;
    if (StartsWith(raw, kDesignFileMark)) return PrintLineKind::DesignFile;
    if (StartsWith(raw, kKeepMark)) {
        if (keepLines) *keepLines = KeepCount(raw.substr(kKeepMark.size()));
        return PrintLineKind::Keep;
    }
    if (StartsWith(raw, kNoFrameMark)) return PrintLineKind::NoFrame;
    if (StartsWith(raw, kLargeMark)) return PrintLineKind::Large;
    if (StartsWith(raw, kContinuedMark)) return PrintLineKind::Continued;
    if (StartsWith(raw, kBlockBeginMark) || StartsWith(raw, kBlockEndMark))
        return PrintLineKind::Block;
    return PrintLineKind::Counted;
}

bool PrintsNothing(std::string_view raw) {
    return raw.find_first_not_of(' ') == std::string_view::npos;
}

int HeadingLevel(std::string_view raw, std::size_t* blanks, std::string_view* text) {
    std::size_t b = 0;
    while (b < raw.size() && raw[b] == ' ') ++b;
    if (blanks) *blanks = b;
    const std::string_view rest = raw.substr(b);
    if (rest.size() >= 3 && rest[0] == '?' && rest[1] == 'R' &&
        (rest[2] == '1' || rest[2] == '2')) {
        if (text) *text = rest.substr(3);
        return rest[2] - '0';
    }
    if (text) *text = rest;
    return 0;
}

namespace {

class Layout {
  public:
    Layout(PrintLayout& out, std::size_t maxPages) : out_(out), maxPages_(maxPages) {
        out_.pages.emplace_back();
    }

    bool full() const { return out_.truncated; }

    void Line(std::string_view raw) {
        if (full()) return;
        int n = 0;
        switch (KindOfLine(raw, &n)) {
            case PrintLineKind::Title:
                out_.title = raw.substr(kTitleMark.size());
                return;
            case PrintLineKind::DesignFile:
                out_.designFile = raw.substr(kDesignFileMark.size());
                return;
            case PrintLineKind::Block:
                return;
            case PrintLineKind::Keep:
                Keep(n);
                return;
            case PrintLineKind::NoFrame:
                noFrame_ = true;
                return;
            case PrintLineKind::Large:
                large_ = true;
                return;
            case PrintLineKind::Continued:
                head_ = raw.substr(kContinuedMark.size());
                cutter_.Continue(!head_.empty());
                return;
            case PrintLineKind::Counted:
                break;
        }
        const PageCutter::Place at = cutter_.AddLine(PrintsNothing(raw));
        if (!PageFor(at.page)) return;
        if (at.moved > 0 && out_.pages.size() >= 2) {
            std::vector<PrintLayout::LaidLine>& from = out_.pages[out_.pages.size() - 2].lines;
            const auto first = from.end() - std::min<std::ptrdiff_t>(at.moved, std::ssize(from));
            out_.pages.back().lines.assign(first, from.end());
            from.erase(first, from.end());
        }
        if (at.headed) AddHead();
        PrintLayout::LaidPage& page = out_.pages.back();
        page.lines.push_back({raw, keep_, large_});
        if (noFrame_) page.noFrame = true;
        keep_ = 0;
        noFrame_ = false;
        large_ = false;
    }

    void Break() {
        if (full()) return;
        if (cutter_.LinesOnPage() > 0) out_.pages.back().endsAtBreak = true;
        cutter_.AddBreak();
    }

  private:
    void Keep(int n) {
        if (n <= 0) return;
        keep_ = std::max(keep_, n);
        const int moved = cutter_.Keep(n);
        if (moved == 0) return;
        if (out_.pages.size() >= maxPages_) {
            out_.truncated = true;
            return;
        }
        std::vector<PrintLayout::LaidLine>& from = out_.pages.back().lines;
        const auto first = from.end() - std::min<std::ptrdiff_t>(moved, std::ssize(from));
        PrintLayout::LaidPage next;
        next.lines.assign(first, from.end());
        from.erase(first, from.end());
        out_.pages.push_back(std::move(next));
        if (cutter_.OpensWithHead()) AddHead();
    }

    // The continued list's head at the top of the page just started.
    void AddHead() {
        std::vector<PrintLayout::LaidLine>& lines = out_.pages.back().lines;
        lines.insert(lines.begin(), {head_, 0, false, true});
    }

    // Makes the cutter's page the last one; false (and the layout stops) past the bound.
    bool PageFor(int page) {
        while (static_cast<int>(out_.pages.size()) <= page) {
            if (out_.pages.size() >= maxPages_) {
                out_.truncated = true;
                return false;
            }
            out_.pages.emplace_back();
        }
        return true;
    }

    PrintLayout& out_;
    std::size_t maxPages_;
    PageCutter cutter_;
    int keep_ = 0;           // the keep mark waiting for its first line
    bool noFrame_ = false;   // a "?NF;" line waiting for its page
    bool large_ = false;     // a "?LG;" line waiting for its line
    std::string_view head_;  // the open continued list's head
};

}  // namespace

PrintLayout LayOutPrintFile(std::string_view bytes, std::size_t maxPages) {
    PrintLayout out;
    Layout layout(out, std::max<std::size_t>(1, maxPages));
    std::size_t start = 0;
    auto lineBefore = [&](std::size_t end) {
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    };
    for (std::size_t i = 0; i < bytes.size() && !layout.full(); ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            layout.Line(lineBefore(i));
            start = i + 1;
        } else if (c == kPageBreakByte) {
            const std::string_view before = lineBefore(i);
            if (!before.empty()) layout.Line(before);
            layout.Break();
            start = i + 1;
        }
    }
    if (start < bytes.size() && !layout.full()) {
        const std::string_view rest = lineBefore(bytes.size());
        if (!rest.empty()) layout.Line(rest);
    }
    return out;
}

}  // namespace kuvelt::formats
