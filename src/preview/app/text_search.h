// Text search over the report's pages for the preview's find bar. A match is a place on the page
// grid (page, line, first column, width in columns), so the view can frame it on the sheet
// without asking the painter. Matching folds what a reader does not tell apart: upper and lower
// case, full-width and half-width forms (ﾌｧｲﾙ finds ファイル, Ａ finds A) and composed or
// separate voiced marks. Figures are pictures and are not searched.
#pragma once

#include <QString>
#include <vector>

#include "preview/document/document.h"

namespace kuvelt::preview {

struct TextMatch {
    int page = 0;
    int line = 0;
    int column = 0;   // first column of the match (a single-byte character is one column)
    int columns = 0;  // width of the match in columns
    bool operator==(const TextMatch&) const = default;
};

// Every match of `query` in document order (page, line, column); none for an empty or blank
// query. Matches on one line do not overlap.
std::vector<TextMatch> FindText(const Document& doc, const QString& query);

// The match to show first for a search started on `page`: the first match on that page or
// after it, else the first of all (the search wraps). -1 when there is none.
int FirstMatchFrom(const std::vector<TextMatch>& matches, int page);

}  // namespace kuvelt::preview
