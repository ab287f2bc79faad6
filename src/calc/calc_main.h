// The calculation driver. CalcMain turns the current design into the result store (calc stages,
// section tables and lists); CalcNekiriAntei runs the excavation-bottom stability check for the
// stored sheet-pile choice. Neither shows anything: the messages the user must see are appended
// to `messages` (when given) in the order they arise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

namespace kuvelt {

// True when the whole calculation ran to its end; false when the virtual ground surface was not
// found (its message is appended) or a run-time fault occurred.
bool CalcMain(std::vector<Message>* messages = nullptr);

class clsQqw;

// Fills the surcharge stage from the current design conditions and runs it.
void FillSurcharge(clsQqw& q);

// The surcharge intensity q of the current design (kN/m2), computed afresh: the heaving check
// must never see the surcharge of whatever design or edit was calculated last. A fault of the
// surcharge stage raises CalcFault.
double CurrentSurchargeIntensity();

// ELV, the adopted virtual ground level of the last run (m): the computed level gDL.ELDLX, or
// 0.5 m below the design ground level when the clayey 0.5 m rule applies. Heights of the pile
// head, required lengths and embedments are measured from it.
double AdoptedVirtualGround();

// The computed virtual ground gDL.ELDLX of the last run where the adopted one is another level
// (the clayey 0.5 m rule): the figures and the summary then name both. Nothing when they are one
// level or the run found none.
std::optional<double> ComputedVirtualGroundApart();

// Boiling (sandy ground) or heaving (clayey ground) for CInpYaita.L; true unless the entry
// itself faulted. A failed check appends its message and still returns true.
bool CalcNekiriAntei(std::vector<Message>* messages = nullptr);

// The message a window shows when a calculation it needs has failed, under its own title
// ("使用矢板の決定", "計算結果の印刷").
Message CalcErrorMessage(const std::string& title);

// The message of a run whose virtual ground surface lies deeper than the examined depth; when
// `neverCrosses` (the net pressure below the design ground level does not fall at the bottom of
// the depth examined, so no depth finds a virtual ground) a second line says so.
Message VirtualGroundErrorMessage(bool neverCrosses = false);

}  // namespace kuvelt
