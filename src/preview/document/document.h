// The preview's document model: a combined print file cut into pages of lines, the heading
// bookmarks, and every figure the print file names, all read into memory when the preview starts
// so the temporary files may vanish while it is open. Lengths are in code page 932 bytes (one
// column each), figure coordinates in mm. Parsing never fails on content: oversized input is cut
// at fixed bounds (and `truncated` is set), a missing or malformed figure becomes an unavailable
// figure with a reason; only an unreadable print file fails the load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/print_pages.h"
#include "platform/message.h"
#include "preview/document/figure.h"

namespace kuvelt::preview {

// Fixed page grid of the report: the chapters count 62 lines a page (the page rule of
// formats/print_pages.h places every line, keep marks included).
inline constexpr int kLinesPerPage = formats::kPrintLinesPerPage;
// Bounds that keep any input (including hostile bytes) within memory and time.
inline constexpr std::size_t kMaxPrintFileBytes = 64u << 20;
inline constexpr std::size_t kMaxLineBytes = 1024;  // a longer line is cut (far off the page)
inline constexpr std::size_t kMaxPages = 10000;
inline constexpr std::size_t kMaxFigures = 500;  // distinct figure files loaded per document
inline constexpr std::size_t kMaxFigureBytesTotal = 64u << 20;  // all figure files together

enum class LineKind { Text, Figure };

struct Line {
    LineKind kind = LineKind::Text;
    int level = 0;       // 1 or 2 for a heading line ("?R1"/"?R2" marker), 0 otherwise
    int keep = 0;        // n of a keep mark ("?KN;n") right before the line, 0 when none
    bool large = false;  // printed large, centred on the page ("?LG;" before it: a title)
    std::string bytes;   // code page 932 text as printed (marker removed), no line end
    // Figure lines: the column where the figure's top-left corner stands, its offsets (mm) and
    // the figure, shared by every line naming the same file.
    int figureColumn = 0;
    double figureOffsetX = 0.0;
    double figureOffsetY = 0.0;
    std::string figurePath;  // UTF-8 path as named in the print file
    std::shared_ptr<const Figure> figure;
};

struct Page {
    std::vector<Line> lines;   // at most kLinesPerPage
    bool noFrame = false;      // without the running header ("?NF;": a cover)
    bool endsAtBreak = false;  // a page break ended it (not a full page or a kept group)
};

struct Bookmark {
    int level = 1;      // 1 or 2
    std::string title;  // UTF-8, margin blanks removed
    int page = 0;       // 0-based page index
    int line = 0;       // 0-based line on that page
};

struct Document {
    std::vector<Page> pages;  // never empty after parsing: an empty file gives one empty page
    std::vector<Bookmark> bookmarks;
    StyleTables styles;      // line and text styles of the figures
    bool truncated = false;  // a bound above cut the input
    std::string sourcePath;  // UTF-8 path of the print file, "" when parsed from bytes
    std::string title;       // UTF-8, from a "?TI;" line ("" when the file names none)
    std::string designFile;  // UTF-8, the design's own file from a "?DF;" line ("" when none)

    int PageCount() const { return static_cast<int>(pages.size()); }
};

// Supplies the bytes of a file named in the print file (figure files); nullopt when it cannot
// be read. `maxBytes` bounds what the supplier may return.
using FileSource =
    std::function<std::optional<std::string>(const std::string& path, std::size_t maxBytes)>;

// The style tables and a way to read figure files: what a print file needs besides its bytes.
struct LoadContext {
    StyleTables styles;
    FileSource files;        // empty: every figure is unavailable ("figure file not readable")
    std::string baseFolder;  // relative figure paths are resolved against it ("" = as given)
};

// Cuts print-file bytes (code page 932, CR LF; a bare LF also ends a line) into pages by the page
// rule of the print files: 62 lines a page, 0C page breaks, keep marks.
Document ParsePrintFile(std::string_view bytes, const LoadContext& context);

// The ordinary file source over the file system (files::ReadAll): nullopt when a file cannot be
// opened, is not a regular file or is larger than asked.
FileSource DiskFiles();

struct LoadResult {
    bool ok = false;
    Document document;
    Message message;  // the failure shown to the user when !ok
};

// Reads the print file and every figure it names, with the style files "LINE_PRN.DEF" and
// "STR_PRN.DEF" from `styleFolder` (missing style files fall back to built-in styles).
LoadResult LoadDocument(const std::string& printFilePath, const std::string& styleFolder);

// The UTF-8 text of a line (for bookmarks, text extraction and tests).
std::string LineText(const Line& line);

}  // namespace kuvelt::preview
