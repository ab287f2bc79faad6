// The applied standards and method (適用基準・計算方法), one page before the chapters: the method
// of each step as the calculation does it, the rules of the site where the design needs them, the
// methods it follows, then the references. The methods and the references are sections of the
// format file of their own that a user's organisation edits to name what it follows: every line
// they hold is printed as it stands, a line number without text as a blank line. The references
// are what the client requires, so a design may carry its own (表紙の設定), which replace the
// format file's under its first heading; the installed section holds only a line telling the user
// what to write there, which is never printed, and a section with nothing else prints nothing.
#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/format_lines.h"

namespace kuvelt::basResOutStandards {
namespace {

using namespace basResOutPrn;

// A line of the references section that only tells the user what to write there.
constexpr std::string_view kPlaceholderMark = "【記入欄】";

bool IsPlaceholder(std::string_view text) {
    const std::size_t b = text.find_first_not_of(' ');
    return b != std::string_view::npos && text.substr(b).starts_with(kPlaceholderMark);
}

// Every line of the section in line-number order but the placeholders: an empty line number as a
// blank line, and a blank line before each heading but the first line's, so each step reads as
// one block.
void PrintLines(ChapterData& d, ChapterSection& sec, bool first) {
    int32_t last = 0;
    for (int32_t l = 1; l <= kMaxSectionLines; ++l) {
        if (!d.LineTexts[l].empty() && !IsPlaceholder(d.LineTexts[l])) last = l;
    }
    for (int32_t l = 1; l <= last; ++l) {
        if (IsPlaceholder(d.LineTexts[l])) continue;
        if (d.LineTexts[l].empty()) {
            PrintBlankLines(1);
            continue;
        }
        if (d.LineLevels[l] != 0 && (l > 1 || !first)) PrintBlankLines(1);
        chapters::Heading(d, sec, l);
    }
}

void AsWritten(std::string_view section, bool first) {
    ChapterData d;
    ChapterSection sec(d, section, first);
    PrintLines(d, sec, first);
}

// The references: the design's own under the section's first heading, or else the section as
// written when it names any (a heading and the placeholder alone print nothing).
void References() {
    ChapterData d;
    ChapterSection sec(d, fmt::references::kSection);
    int32_t heading = 0;
    bool named = false;
    for (int32_t l = 1; l <= kMaxSectionLines && !named; ++l) {
        if (d.LineTexts[l].empty() || IsPlaceholder(d.LineTexts[l])) continue;
        if (d.LineLevels[l] == 0) {
            named = true;
        } else if (heading == 0) {
            heading = l;
        }
    }
    const std::vector<std::string>& own = gInpHyoshi.SankoBunken;
    if (own.empty()) {
        if (named) PrintLines(d, sec, false);
        return;
    }
    PrintBlankLines(1);
    if (heading != 0) chapters::Heading(d, sec, heading);
    for (const std::string& text : own) PrintFormatLine(0, chapters::BodyText(text));
}

// The rules of a site that departs from one ground with the water in front at the design ground
// level and ±15° wall friction, each only where the design does: the layered rules, the channel
// water's and the friction angles taken.
void Site() {
    namespace line = fmt::standardsSite;
    const bool layered = chapters::Layered();
    const bool channel = chapters::ChannelWaterRaised(ChannelWaterLevel(gInpJyoken));
    const CInpJiban& g = gInpJiban;
    const bool friction = g.DeltaA != CInpJiban{}.DeltaA || g.DeltaP != CInpJiban{}.DeltaP;
    if (!layered && !channel && !friction) return;
    ChapterData d;
    ChapterSection sec(d, line::kSection);
    auto block = [&](int32_t first, int32_t last) {
        PrintBlankLines(1);
        chapters::Heading(d, sec, first);
        for (int32_t l = first + 1; l <= last; ++l) sec.Line(l);
    };
    if (layered) block(line::kLayersHeading, line::kLayersLast);
    if (channel) block(line::kChannelHeading, line::kChannelLast);
    if (friction) {
        PrintBlankLines(1);
        chapters::Heading(d, sec, line::kFrictionHeading);
        chapters::N(d, 1, g.DeltaA);
        chapters::N(d, 2, -g.DeltaP);
        sec.Template(line::kFriction);
    }
}

}  // namespace

bool Write(const Results&, std::string* error) {
    return RunChapter(
        [] {
            const chapters::UnnumberedHeadings unnumbered;
            AsWritten(fmt::standards::kSection, true);
            Site();
            AsWritten(fmt::methods::kSection, false);
            References();
        },
        error);
}

}  // namespace kuvelt::basResOutStandards
