// Bookmarks (the document outline) and the document information for a PDF file: appended as a
// standard
// incremental update (outline objects, a new catalog under the old object number, a new xref
// section with /Prev), so the bytes the PDF writer produced stay untouched. Works on files with
// a classic xref table; anything else is refused with a reason and the bytes are left as they
// were. Positions are PDF points from the bottom of the page.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kuvelt::preview {

struct OutlineEntry {
    int level = 1;       // 1 top level; 2 under the latest level-1 entry
    std::string title;   // UTF-8
    int page = 0;        // 0-based
    double topPt = 0.0;  // where the view starts on that page
};

// Appends the outline to `pdf`; false (pdf unchanged) with `error` set when the file's structure
// cannot be followed. An empty outline changes nothing and succeeds.
bool AppendPdfOutline(std::string& pdf, const std::vector<OutlineEntry>& entries,
                      std::string* error = nullptr);

// Sets entries of the document information dictionary (key without the slash, such as
// "Subject"; UTF-8 value) by an incremental update of the same kind: the dictionary is written
// anew under its object number with its other entries kept (a new dictionary when the file has
// none). False (pdf unchanged) with `error` set when the structure cannot be followed.
bool SetPdfInfo(std::string& pdf, const std::vector<std::pair<std::string, std::string>>& entries,
                std::string* error = nullptr);

}  // namespace kuvelt::preview
