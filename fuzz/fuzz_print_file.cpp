// The preview is handed a combined print file and reads every figure it names, composite files
// naming sub-figure files in turn. The input is the print file followed by the bytes of the files
// it names, each introduced by a line "@@@": the n-th distinct file asked for gets the n-th block
// (cycling), so composites, their parts and repeated names are all reached. Whatever the bytes,
// the document must come out within its bounds, every reference in it must hold and no line of
// information (keep marks and the like) may be printed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "preview/document/document.h"

namespace {

using namespace kuvelt::preview;

using kuvelt::fuzz::Check;

std::vector<std::string_view> Blocks(std::string_view bytes) {
    static constexpr std::string_view kSeparator = "\n@@@\n";
    std::vector<std::string_view> blocks;
    for (;;) {
        const std::size_t at = bytes.find(kSeparator);
        blocks.push_back(bytes.substr(0, at));
        if (at == std::string_view::npos) break;
        bytes.remove_prefix(at + kSeparator.size());
    }
    return blocks;
}

void CheckFigure(const Figure& f) {
    Check(f.parts.size() <= kMaxSubFigures, "too many sub-figures kept");
    int usable = 0;
    for (const Placement& p : f.parts) {
        if (!p.figure) continue;
        ++usable;
        const SubFigure& s = *p.figure;
        const int n = static_cast<int>(s.points.size());
        for (const FigSegment& g : s.segments)
            Check(g.from >= 0 && g.from < n && g.to >= 0 && g.to < n, "segment names no point");
        for (const FigArrow& a : s.arrows) Check(a.at >= 0 && a.at < n, "arrow names no point");
    }
    Check(f.available == (usable > 0), "availability does not match the parts read");
    if (!f.available) Check(!f.problem.empty(), "unavailable figure without a reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> blocks = Blocks(input);

    std::map<std::string, std::size_t> handedOut;
    std::size_t next = 0;
    LoadContext ctx;
    ctx.styles = DefaultStyles();
    ctx.baseFolder = "/report";
    ctx.files = [&](const std::string& path, std::size_t maxBytes) -> std::optional<std::string> {
        Check(maxBytes <= kMaxFigureFileBytes, "figure read beyond its bound");
        if (blocks.size() < 2) return std::nullopt;
        auto it = handedOut.find(path);
        if (it == handedOut.end()) {
            it = handedOut.emplace(path, 1 + next % (blocks.size() - 1)).first;
            ++next;
        }
        const std::string_view b = blocks[it->second];
        if (b.size() > maxBytes) return std::nullopt;
        return std::string(b);
    };

    const Document doc = ParsePrintFile(blocks[0], ctx);
    Check(!doc.pages.empty(), "a document without pages");
    Check(doc.pages.size() <= kMaxPages, "page bound not kept");
    Check(handedOut.size() <= kMaxFigures * (1 + kMaxSubFigures), "figure bound not kept");
    for (const Page& page : doc.pages) {
        Check(page.lines.size() <= static_cast<std::size_t>(kLinesPerPage), "page too long");
        for (const Line& line : page.lines) {
            Check(line.bytes.size() <= kMaxLineBytes, "line bound not kept");
            Check(line.keep >= 0, "negative keep");
            int n = 0;
            Check(line.kind == LineKind::Figure || line.level != 0 ||
                      kuvelt::formats::KindOfLine(line.bytes, &n) ==
                          kuvelt::formats::PrintLineKind::Counted,
                  "an information line is printed");
            (void)LineText(line);
            if (line.kind == LineKind::Figure) {
                Check(line.figure != nullptr, "figure line without a figure");
                CheckFigure(*line.figure);
                Check(line.figureOffsetX >= 0 && line.figureOffsetX <= 300 &&
                          line.figureOffsetY >= 0 && line.figureOffsetY <= 300,
                      "figure offset off the page");
            }
        }
    }
    for (const Bookmark& b : doc.bookmarks) {
        Check(b.level == 1 || b.level == 2, "bookmark level");
        Check(b.page >= 0 && b.page < doc.PageCount(), "bookmark names no page");
        const auto& lines = doc.pages[static_cast<std::size_t>(b.page)].lines;
        Check(b.line >= 0 && static_cast<std::size_t>(b.line) < lines.size(),
              "bookmark names no line");
        Check(lines[static_cast<std::size_t>(b.line)].level == b.level,
              "bookmark does not stand on its heading");
    }
    return 0;
}
