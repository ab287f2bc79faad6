// The report use cases: the chapters of the current design for the print menu, a report folder
// (kuvelt-calc --report) and a PDF (kuvelt-calc --pdf). Each recalculates the current design
// first, so what is printed is always this design as it stands.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"
#include "report/chapters/print_job.h"
#include "usecase/design_run.h"

namespace kuvelt::usecase {

// The print menu's opening: the whole chain and the stability check, then the five chapters
// into the job's temporary print files. A failed calculation writes nothing and leaves its
// messages in `calc`.
struct PrintRun {
    CalcRun calc;
    print_job::Generation generation;
};
PrintRun PrepareReport(const std::string& iniFile = "");

// The combined file of the chapters a report generated (the print menu's or a report folder's):
// the ticked chapters and parts in the document's order, the title and `designFile` (the design's
// own file, "" for none) named for the preview. The print button and every report folder build
// the document here alike.
struct CombinedReport {
    std::string file;                // the combined file; "" when it was not written
    std::optional<Message> refusal;  // no chapter ticked, or the file could not be written whole
};
CombinedReport CombineReport(const print_job::Ticks& ticks, const print_job::PartTicks& parts,
                             const std::string& designFile);

struct ReportRun {
    DesignRun design;
    std::vector<Message> messages;   // everything to show, in order (the design run's first)
    std::vector<std::string> files;  // the files written, in order
    Outcome outcome = Outcome::Ok;
};

// Writes "1.prn" … "5.prn", the front matter ("cover.prn", "summary.prn", "standards.prn"),
// "report.prn" (every part of the document) and the figure files into `dir`, replacing the
// folder as a whole (files::FolderReplacement): the new report is written into a fresh folder
// beside it and swapped in only when every file was written whole, so a failure leaves the
// previous report as it was (NotWritten, with the folder and the cause) and no file of an
// earlier report stays. A folder holding anything but a report's files is refused. Refused
// (nothing written) when the design holds no sheet-pile choice and none is requested. The
// heading numbering follows a "Kuvelt.INI" inside `dir` when there is one; it is kept.
ReportRun WriteReportFolder(const std::string& dir, const PickRequest& pick);

// The report of the current design as a PDF at `pdfPath`: a report folder in a folder of this
// run in the temporary folder (removed at the end, or by the next run should this one be
// killed), rendered by the preview program of the program folder without a window, then put in
// place whole (files::ReplaceFile, checked as a complete PDF). The target is checked first: a
// folder, device or pipe, one of `inputs` (the design read), a read-only file or a dangling
// link is refused before anything is calculated.
ReportRun MakePdf(const std::string& pdfPath, const PickRequest& pick,
                  const std::vector<std::string>& inputs = {});

}  // namespace kuvelt::usecase
