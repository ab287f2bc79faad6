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
