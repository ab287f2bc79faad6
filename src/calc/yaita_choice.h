// The sheet-pile choice made after a successful calculation: the proposal the choice window
// opens with, the checks of a confirmed pick (with the exact messages the window shows) and
// storing the pick in gInpYaita. Lengths in m. The checks read the result lists of the last
// CalcSections run; nothing here throws or shows anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/pile_kind.h"
#include "platform/message.h"

namespace kuvelt {

struct Results;

struct ChoiceProposal {
    PileKind kind = PileKind::Concrete;
    int32_t Sect = 1;  // section number in that kind's catalogue
    double H = 0.0;    // H' = ELYU - ELV, adopted virtual ground surface to the pile top
    double L = 0.0;    // total pile length
    double D = 0.0;    // L - H', embedment below the virtual ground surface
};

// The first kind that has sections (concrete, else light steel, else steel), section 1,
// H' from the last run's virtual ground surface and L = H' + 1.0; a stored choice
// (gInpYaita.InpFlg) replaces kind, section and L. The first form takes the virtual ground of a
// run's results (what the choice window shows), the second that of the result store.
ChoiceProposal ProposeChoice(const Results& results);
ChoiceProposal ProposeChoice();

// The program's proposal among the sections that pass every check, from a calculation's result
// lists. The kinds keep their order (concrete, light steel, steel): the proposal is of the first
// kind that has a passing section. Among that kind's passing sections that have a mass, it is the
// one with the least material per metre of wall, mass x L with L the length the proposal takes
// (a tie, as printed, goes to the earlier section); when none of them has a mass, the first
// passing one in catalogue order.
enum class ProposalRule {
    Lightest,        // the least mass x L among the passing sections with a mass
    CatalogueOrder,  // no passing section of the kind has a mass: the first passing one
};

struct PassingProposal {
    PileKind kind = PileKind::Concrete;
    int32_t sect = 1;
    double L = 0.0;               // the length the proposal takes, m
    double requiredLength = 0.0;  // Lreq of the section, m
    ProposalRule rule = ProposalRule::CatalogueOrder;
};

// Nothing when no registered section passes.
std::optional<PassingProposal> ProposePassing(const Results& results);

// The length a proposal takes for a section: the next multiple of 0.5 m at or above its required
// length as printed (to 0.01 m), so the printed length check holds; a concrete pile's within its
// Lmin..Lmax (a passing length flag means the required length lies inside them).
double ProposalLength(double requiredLength);
double ProposalLength(PileKind kind, int32_t sect, double requiredLength);

// Masses are printed and compared to 0.1: kg/m2 of wall and kg per metre of wall.
inline constexpr int32_t kMassDecimals = 1;
// The mass per square metre of wall of a registered section, kg/m2 (0: not given, or no such
// section).
double SectionMass(PileKind kind, int32_t sect);
// The material per metre of wall of a section with mass `mass` (kg/m2) and length L (m), kg/m, as
// printed.
double MassPerMetre(double mass, double L);

// What confirming a pick leads to. A refusal (a section that is not registered, a length outside
// the field's range or one that does not reach below the design ground level) is shown and the
// window stays open whatever is pressed; otherwise the questions are asked in order (Yes/No) and
// the first No keeps the window open with nothing stored. With neither, the pick is stored at
// once.
struct ChoiceCheck {
    enum class Outcome { Acceptable, Refused, Questions };
    Outcome outcome = Outcome::Acceptable;
    std::optional<Message> refusal;
    std::vector<Message> questions;
};

ChoiceCheck CheckChoice(PileKind kind, int32_t sect, double L);

// The number of registered sections of a kind (0 for a value no kind has), and the name of a
// section ("" when it is not registered).
int32_t CatalogueCount(PileKind kind);
std::string SectionName(PileKind kind, int32_t sect);

// The messages, one place for the window and the tests.
Message SectionMissingMessage();
Message LengthOutOfRangeQuestion();
// The question names the length and the required length, so the user sees by how much.
Message LengthTooShortQuestion(double L, double requiredLength);

// Stores the pick in gInpYaita and marks it valid (InpFlg). The caller marks the design changed.
void StoreChoice(PileKind kind, int32_t sect, double H, double D, double L);

}  // namespace kuvelt
