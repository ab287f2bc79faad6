// The use cases of a design, one sequence for the application's commands and kuvelt-calc alike.
// Each starts from the current design records (never from results of an earlier design or
// edit), and returns what happened: whether results are present, the messages to show in the
// order they arose, and one outcome. Nothing here shows or prints anything.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/pile_kind.h"
#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "model/design_checks.h"
#include "platform/message.h"
#include "usecase/outcome.h"

namespace kuvelt::usecase {

// What the calculation is for: the title of its failure message, and whether the stability
// check of a stored choice follows (before the choice window it follows the choice instead).
enum class Purpose {
    Choice,  // button "使用断面の決定": chain only, failure titled "使用矢板の決定"
    Print,  // button "計算結果の印刷": chain and stability, failure titled "計算結果の印刷"
    Batch,  // kuvelt-calc: chain and stability, failure titled "使用矢板の決定"
};

// The results of a run that calculated nothing.
std::shared_ptr<const Results> NoResults();

struct CalcRun {
    bool calculated = false;        // the whole chain ran to its end: the result store is valid
    std::optional<bool> stability;  // CalcNekiriAntei's result when it ran
    // The design is one the input windows would refuse: nothing was calculated (outcome
    // Refused, the refusal's message the only one).
    std::optional<DesignRefusal> refusal;
    // The stability check ran and failed (a fault of its own or of its entry): the run failed
    // (outcome CalcFailed) although the rest of the result store is valid.
    bool stabilityFailed = false;
    std::vector<Message> messages;
    Outcome outcome = Outcome::Ok;
    // What the run left, for the windows, the chapters and the writers to read: never null; a
    // refused design's holds nothing.
    std::shared_ptr<const Results> results = NoResults();
};

// Empties the result store and, unless the design is refused (RefuseDesign: the stored choice
// is checked for Print and Batch, which use it), runs the whole chain on the current design;
// for Print and Batch then the stability check when a sheet-pile choice is stored.
CalcRun Calculate(Purpose purpose);

struct StabilityRun {
    std::optional<DesignRefusal> refusal;  // the design is refused: nothing ran
    bool ran = false;                      // the entry ran without a fault of its own
    bool hasResult = false;  // the check of this ground kind holds a result (no fault)
    std::vector<Message> messages;
    std::shared_ptr<const Results> results = NoResults();  // the store after the check
};

// Boiling or heaving for the stored choice, from the current design (its surcharge included),
// unless the design (its stored choice included) is refused.
StabilityRun CheckStability();

// A sheet-pile pick: kind, section number in that kind's catalogue, total length (m).
struct Pick {
    PileKind kind = PileKind::Concrete;
    int32_t sect = 1;
    double L = 0.0;
};

enum class PickOutcome { Stored, Refused, Declined };

struct PickResult {
    PickOutcome outcome = PickOutcome::Stored;
    std::optional<Message> refusal;   // Refused: the message to show
    std::optional<Message> declined;  // Declined: the question answered "no"
};

// Asked each question of a pick in order; true is "yes".
using Ask = std::function<bool(const Message& question)>;

// The choice window's confirmation, after a successful Calculate: the checks in order (the
// section, the length's refusals, then its questions), then the pick is stored with
// H' = ELYU - ELV and D = L - H'. The caller marks the design
// changed. `proposed` records that the program, not the user, chose the pile.
PickResult CheckAndStorePick(const Pick& pick, const Ask& ask, bool proposed = false);

// The program's proposal from a calculation's results (ProposePassing of calc/yaita_choice.h: the
// first kind with a passing section, and of its passing sections the lightest per metre of wall,
// or without masses the first), or, when none passes, the section closest to passing.
struct Proposal {
    std::optional<Pick> pick;
    double requiredLength = 0.0;                       // Lreq of the proposed section
    ProposalRule rule = ProposalRule::CatalogueOrder;  // how the proposed section was chosen
    std::string whyNone;          // when no section passes: the closest one and its failures
    std::optional<Pick> closest;  // and that section, L its required length rounded up
};
Proposal ProposePassingPick(const Results& results);

// The length a proposal takes for a required length: the next multiple of 0.5 m at or above the
// required length as it is printed (to 0.01 m), so the printed length check holds.
double ProposedLength(double requiredLength);

// How a command-line run obtains its sheet-pile choice.
struct PickRequest {
    enum class How { Stored, Auto, Given };
    How how = How::Stored;
    Pick given;
    bool yes = false;  // answer the pick's questions "yes"
};

struct DesignRun {
    // Its stability fields and results cover the check after a given or proposed pick too.
    CalcRun calc;
    std::vector<Message> messages;    // the calculation's, the pick's and the stability check's
    std::optional<std::string> note;  // e.g. which pile the program proposed
    Outcome outcome = Outcome::Ok;
    bool needsPick = false;  // refused because no choice is stored or given
};

// The whole run of a command-line design: calculate, take the pick as requested (a given length
// rounded to the 0.01 m the choice window's field holds), then the stability check of the
// chosen pile.
DesignRun RunDesign(const PickRequest& request);

// "使用矢板が決定されていません。": a report is only written for a pile somebody chose.
Message NoChoiceMessage();

}  // namespace kuvelt::usecase
