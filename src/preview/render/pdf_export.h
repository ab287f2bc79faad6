// The report as a PDF file: every page through the page painter on an A4 sheet without margins,
// real text with the fonts embedded (selectable and searchable), the level-1 and level-2
// headings as the file's bookmarks, the design's title as its title and "設計計算書" as its
// subject. The file is written beside the target and renamed over it
// only when complete, so a failed export leaves an existing file as it was.
#pragma once

#include <string>

#include "preview/document/document.h"
#include "preview/render/page_painter.h"

namespace kuvelt::preview {

// Writes `doc` to `path`; false with `error` (UTF-8, for the user) on failure.
bool exportPdf(const Document& doc, const std::string& path, const PageSetup& setup = {},
               std::string* error = nullptr);

}  // namespace kuvelt::preview
