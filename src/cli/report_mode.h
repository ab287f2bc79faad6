// The report mode of kuvelt-calc: reads a design, calculates it as the print command does and
// writes the whole calculation report into a folder — the chapter files "1.prn" … "5.prn" (menu
// order; "5.prn" empty without the stability check), the combined file "report.prn" of every
// available chapter and the figure files they name, all inside the folder. The heading numbering
// follows the "Chapter" section of "Kuvelt.INI" in the folder when there is one, else the
// program's settings file.
#pragma once

#include <iosfwd>
#include <string>

namespace kuvelt::cli {

// Exit status: 0 written, 1 the calculation failed, 2 the design file was refused, 3 the folder
// could not be written, 4 a chapter failed (its failure line on `err`; the files are written).
inline constexpr int kExitCalc = 1;
inline constexpr int kExitChapter = 4;

int RunReportMode(const std::string& dir, const std::string& designPath, std::ostream& out,
                  std::ostream& err);
// The same on the standard streams.
int RunReportMode(const std::string& dir, const std::string& designPath);

}  // namespace kuvelt::cli
