// The applied standards and method (適用基準・計算方法), one page before the chapters: the method
// of each step as the calculation does it, then the references. The references are a section of
// the format file of their own that a user's organisation edits to name what it follows: every
// line it holds is printed as it stands, a line number without text as a blank line.
#include <string_view>

#include "model/design.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/format_lines.h"

namespace kuvelt::basResOutStandards {
namespace {

using namespace basResOutPrn;

// Every line the section holds, in line-number order: an empty line number as a blank line, and
// a blank line before each heading but the first line's, so each step reads as one block.
void AsWritten(std::string_view section, bool first) {
    ChapterData d;
    ChapterSection sec(d, section, first);
    int32_t last = 0;
    for (int32_t l = 1; l <= kMaxSectionLines; ++l) {
        if (!d.LineTexts[l].empty()) last = l;
    }
    for (int32_t l = 1; l <= last; ++l) {
        if (d.LineTexts[l].empty()) {
            PrintBlankLines(1);
            continue;
        }
        if (d.LineLevels[l] != 0 && (l > 1 || !first)) PrintBlankLines(1);
        chapters::Heading(d, sec, l);
    }
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
            AsWritten(fmt::references::kSection, false);
        },
        error);
}

}  // namespace kuvelt::basResOutStandards
