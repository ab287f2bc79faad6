// The report use cases: the chapters of the current design for the print menu, a report folder
// (kuvelt-calc --report) and a PDF (kuvelt-calc --pdf). Each recalculates the current design
// first, so what is printed is always this design as it stands.
#pragma once

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

struct ReportRun {
    DesignRun design;
    std::vector<Message> messages;   // everything to show, in order (the design run's first)
    std::vector<std::string> files;  // the files written, in order
    Outcome outcome = Outcome::Ok;
};

// Writes "1.prn" … "5.prn", the front matter ("cover.prn", "summary.prn", "standards.prn"),
// "report.prn" (every part of the document) and the figure files into `dir` (created when
// missing). Refused (nothing written) when the design holds no sheet-pile choice and none is
// requested. The heading numbering follows a "Kuvelt.INI" inside `dir` when there is one.
ReportRun WriteReportFolder(const std::string& dir, const PickRequest& pick);

// The report of the current design as a PDF at `pdfPath`: a report folder in a private temporary
// folder, rendered by the preview program of the program folder without a window.
ReportRun MakePdf(const std::string& pdfPath, const PickRequest& pick);

}  // namespace kuvelt::usecase
