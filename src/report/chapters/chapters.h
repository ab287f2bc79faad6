// The five chapters of the calculation report, each written into CurrentPrintFile from the
// format file's sections: design conditions, external forces, virtual ground surface,
// sheet-pile design (with the load distribution diagram) and excavation-bottom stability
// (boiling for sandy, heaving for clayey ground). Values are those of the current design and the
// result store, in their own units. A chapter never throws: any failure (format file, section
// or line missing, a value that is not a number, a catalogue item missing, a file error) ends
// it, leaves what it wrote in the file and returns false, with the reason in `error`.
#pragma once

#include <string>

namespace kuvelt {

namespace basResOutJyoken {
bool Write(std::string* error = nullptr);
}
namespace basResOutGairyoku {
bool Write(std::string* error = nullptr);
}
namespace basResOutDL {
bool Write(std::string* error = nullptr);
}
namespace basResOutYaita {
bool Write(std::string* error = nullptr);
}
namespace basResOutNekiriAnteiAs {
bool Write(std::string* error = nullptr);
}
namespace basResOutNekiriAnteiAc {
bool Write(std::string* error = nullptr);
}

// The front matter, each into a print file of its own: the cover (title and the project's block),
// the design summary (conditions, the chosen pile, every check, the overall verdict and the
// comparison of the sections of the chosen kind) and the applied standards and method.
namespace basResOutCover {
bool Write(std::string* error = nullptr);
}
namespace basResOutSummary {
bool Write(std::string* error = nullptr);
}
namespace basResOutStandards {
bool Write(std::string* error = nullptr);
}

// The failure line the print menu collects for each chapter (0 design conditions … 4
// excavation-bottom stability), without its leading line feed.
const char* ChapterFailureLine(int item);

}  // namespace kuvelt
