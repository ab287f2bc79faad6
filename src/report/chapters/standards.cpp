// The applied standards and method (適用基準・計算方法), one page before the chapters: the method
// of each step as the calculation does it, then the references. The references are a section of
// the format file of their own that a user's organisation edits to name what it follows: every
// line it holds is printed as it stands, a line number without text as a blank line.
#include <string_view>

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

}  // namespace

bool Write(const Results&, std::string* error) {
    return RunChapter(
        [] {
            const chapters::UnnumberedHeadings unnumbered;
            AsWritten(fmt::standards::kSection, true);
            AsWritten(fmt::references::kSection, false);
        },
        error);
}

}  // namespace kuvelt::basResOutStandards
