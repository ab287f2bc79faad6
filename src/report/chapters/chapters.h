// The five chapters of the calculation report, each written into CurrentPrintFile from the
// format file's sections: design conditions, external forces, virtual ground surface,
// sheet-pile design (with the load distribution diagram) and excavation-bottom stability
// (boiling for sandy, heaving for clayey ground). Values are those of the current design and of
// the results of the run it was calculated by, in their own units; a stage or table the run did
// not reach ends the chapter as a failure. A chapter never throws: any failure (format file,
// section or line missing, a value that is not a number, a catalogue item missing, a file error)
// ends it, leaves what it wrote in the file and returns false, with the reason in `error`.
#pragma once

#include <string>

#include "calc/results.h"

namespace kuvelt {

namespace basResOutJyoken {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutGairyoku {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutDL {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutYaita {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutNekiriAnteiAs {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutNekiriAnteiAc {
bool Write(const Results& results, std::string* error = nullptr);
}

// The front matter, each into a print file of its own: the cover (title and the project's block),
// the design summary (conditions, the chosen pile, every check, the overall verdict and the
// comparison of the sections of the chosen kind) and the applied standards and method.
namespace basResOutCover {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutSummary {
bool Write(const Results& results, std::string* error = nullptr);
}
namespace basResOutStandards {
bool Write(const Results& results, std::string* error = nullptr);
}

// The failure line the print menu collects for each chapter (0 design conditions … 4
// excavation-bottom stability), without its leading line feed.
const char* ChapterFailureLine(int item);

}  // namespace kuvelt
