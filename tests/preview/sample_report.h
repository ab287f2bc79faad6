// Print files and figure files as the report chapters write them, built by hand for the preview
// tests: a realistic chapter page with headings, a table and the load distribution diagram
// (composite file plus the level scale and the pressure diagram).
#pragma once

#include <string>
#include <vector>

namespace kuvelt::preview::test {

// Joins UTF-8 lines into code page 932 bytes, each line ending CR LF.
std::string PrintBytes(const std::vector<std::string>& utf8Lines);

struct DiagramFiles {
    std::string composite;  // path of the composite file
    std::string levelScale;
    std::string pressure;
};

// Writes the two sub-figure files and the composite file of a load distribution diagram
// (frame 128 x 80 mm) into `folder`.
DiagramFiles WriteLoadDiagram(const std::string& folder);

// Style files as installed beside the program.
void WriteStyleFiles(const std::string& folder);

// A chapter of `pages` pages: level-1 and level-2 headings, tables, a figure line naming
// `figurePath` followed by 27 reserved lines on the first page, page breaks between pages.
std::string ReportBytes(const std::string& figurePath, int pages);

}  // namespace kuvelt::preview::test
