// The report as a PDF file: every page through the page painter on an A4 sheet without margins,
// real text with the fonts embedded (selectable and searchable), the level-1 and level-2
// headings as the file's bookmarks, the design's title as its title and "設計計算書" as its
// subject. The file is made in memory and put in place whole (files::ReplaceFile): a failed
// export leaves an existing file as it was, and the print file or the design it comes from is
// never the target.
#pragma once

#include <string>

#include "preview/document/document.h"
#include "preview/render/page_painter.h"

namespace kuvelt::preview {

// Writes `doc` to `path`; false with `error` (UTF-8, for the user: the file and the cause, as
// formats::PdfWriteFailureMessage words it) on failure.
bool exportPdf(const Document& doc, const std::string& path, const PageSetup& setup = {},
               std::string* error = nullptr);

}  // namespace kuvelt::preview
