// The table of contents of a combined report: the chapter and section headings (the "?R1"/"?R2"
// lines the preview makes its bookmarks of) that follow the contents, each with the page it
// prints on, counted from the document's first page as the footer counts. The pages come from
// the page rule the preview lays the document out by (formats/print_pages.h), with the contents
// in place: their own page count depends only on the number of entries, so placing them with
// blank page numbers and filling the numbers in moves nothing. Never fails.
#pragma once

#include <string>
#include <string_view>

namespace kuvelt::print_job {

// Where the contents go in a combined document: a line of its own (code page 932, CR LF),
// replaced by the contents pages.
inline constexpr std::string_view kContentsMark = "?CT;\r\n";

// The contents' title: a level-1 heading line of the preview without a heading number (it is
// not written through the numbering), standing before every heading the contents list.
inline constexpr std::string_view kContentsTitle = "目次";
// Columns of a contents line, from its first character to the last digit of its page number.
inline constexpr int kContentsWidth = 90;

// The list of figures and tables after the headings: a title line (not a heading) and one line
// per numbered caption with its page.
inline constexpr std::string_view kCaptionListTitle = "図表目次";

// The document (code page 932) with its contents mark replaced by the contents pages, which end
// with a page break, or with the mark removed when no heading follows it.
std::string InsertContents(std::string_view document);

// The document (code page 932) with every caption number mark (formats::kFigureNumberMark,
// kTableNumberMark) replaced by "図-n " or "表-n ", figures and tables each counted from 1 in
// the order they stand. A document without marks comes back as it is.
std::string NumberCaptions(std::string_view document);

}  // namespace kuvelt::print_job
