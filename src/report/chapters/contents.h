// The table of contents of a combined report: the chapter and section headings with the pages
// they are printed on.
#pragma once

#include <string>
#include <string_view>

namespace kuvelt::print_job {

// Where the contents go in a combined document: a line of its own (code page 932, CR LF),
// replaced by the contents pages.
inline constexpr std::string_view kContentsMark = "?CT;\r\n";

// The document with its contents mark replaced by the contents pages, or with the mark removed
// when there is nothing to list.
std::string InsertContents(std::string_view document);

}  // namespace kuvelt::print_job
