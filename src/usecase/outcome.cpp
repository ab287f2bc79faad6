#include "usecase/outcome.h"

namespace kuvelt::usecase {

namespace {

constexpr OutcomeInfo kOutcomes[] = {
    {Outcome::Ok, "success"},
    {Outcome::CalcFailed, "calculation failed or no section passes"},
    {Outcome::Refused, "design refused, not read or without a usable sheet-pile choice"},
    {Outcome::NotWritten, "design file, report folder or standard output not written"},
    {Outcome::ChapterFailed, "a report chapter failed"},
    {Outcome::PdfFailed, "the PDF could not be made"},
    {Outcome::Usage, "wrong command line"},
};

}  // namespace

std::span<const OutcomeInfo> Outcomes() { return kOutcomes; }

std::string ExitStatusText() {
    std::string s = "Exit status:";
    bool first = true;
    for (const OutcomeInfo& o : kOutcomes) {
        s += first ? " " : ", ";
        first = false;
        s += std::to_string(ExitStatus(o.outcome));
        s += ' ';
        s += o.meaning;
    }
    s += "; with several files the highest.";
    return s;
}

}  // namespace kuvelt::usecase
