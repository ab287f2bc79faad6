#include "usecase/design_run.h"

#include <cmath>
#include <utility>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/rounding.h"
#include "calc/sections.h"
#include "calc/verdicts.h"
#include "calc/yaita_choice.h"
#include "model/design.h"
#include "model/ranges.h"
#include "platform/numfmt.h"

namespace kuvelt::usecase {

namespace {

const char* ErrorTitle(Purpose p) {
    return p == Purpose::Print ? "計算結果の印刷" : "使用矢板の決定";
}

// The failed checks of a section's result-list row, in the order the lists show them.
std::vector<std::string> FailedChecks(const SectionResults& r, PileKind k, int32_t s) {
    std::vector<std::string> f;
    if (k == PileKind::Concrete) {
        const ConcreteRow* row = r.Concrete(s);
        if (row == nullptr) return f;
        if (row->momentFails) f.emplace_back("曲げﾓｰﾒﾝﾄ");
        if (row->lengthFails) f.emplace_back("必要矢板長（Lmin～Lmax）");
        if (row->deltaFails) f.emplace_back("頭部変位量");
    } else {
        const SteelRow* row = r.Steel(k, s);
        if (row == nullptr) return f;
        if (row->sigmaFails) f.emplace_back("曲げ応力度");
        if (row->deltaFails) f.emplace_back("頭部変位量");
    }
    return f;
}

std::shared_ptr<const Results> Snapshot() {
    return std::make_shared<const Results>(SnapshotResults());
}

// Boiling (sandy ground directly below the design ground level) rather than heaving (clayey).
bool ChecksBoiling() { return LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind == 0; }

// The stability check of the design's ground kind holds a result: it ran without a fault.
bool HasStabilityResult(const Results& r) {
    if (ChecksBoiling()) return r.boiling && r.boiling->Error() == 0;
    return r.heaving && r.heaving->Error() == 0;
}

// The stability check of the chosen pile, when the design asks for one, and the results value
// of the run after it; a fault of the check or of its entry fails the run.
void RunStability(CalcRun& r, std::vector<Message>& messages) {
    r.stability = CalcNekiriAntei(&messages);
    r.results = Snapshot();
    if (gInpJyoken.Nekiri == 0) return;
    if (*r.stability && HasStabilityResult(*r.results)) return;
    r.stabilityFailed = true;
    r.outcome = Worst(r.outcome, Outcome::CalcFailed);
}

}  // namespace

std::shared_ptr<const Results> NoResults() {
    static const auto none = std::make_shared<const Results>();
    return none;
}

CalcRun Calculate(Purpose purpose) {
    // A fresh store: nothing of an earlier design or edit may survive into this run's results.
    ResetResultStore();
    CalcRun r;
    r.refusal =
        RefuseDesign(purpose == Purpose::Choice ? StoredChoice::Ignored : StoredChoice::Checked);
    if (r.refusal) {
        r.messages.push_back(r.refusal->message);
        r.outcome = Outcome::Refused;
        return r;
    }
    r.calculated = CalcMain(&r.messages);
    if (!r.calculated) {
        r.messages.push_back(CalcErrorMessage(ErrorTitle(purpose)));
        r.outcome = Outcome::CalcFailed;
        r.results = Snapshot();
        return r;
    }
    if (purpose != Purpose::Choice && gInpYaita.InpFlg) {
        RunStability(r, r.messages);
    } else {
        r.results = Snapshot();
    }
    return r;
}

StabilityRun CheckStability() {
    StabilityRun r;
    r.refusal = RefuseDesign(StoredChoice::Checked);
    if (r.refusal) {
        r.messages.push_back(r.refusal->message);
        return r;
    }
    r.ran = CalcNekiriAntei(&r.messages);
    // The check of the design's ground kind alone: the chain's stages in the store may be of an
    // earlier edit, and so may a check of the other kind from before the ground changed.
    Results stability;
    Results now = SnapshotResults();
    if (ChecksBoiling()) {
        stability.boiling = std::move(now.boiling);
    } else {
        stability.heaving = std::move(now.heaving);
    }
    r.hasResult = r.ran && HasStabilityResult(stability);
    r.results = std::make_shared<const Results>(std::move(stability));
    return r;
}

PickResult CheckAndStorePick(const Pick& pick, const Ask& ask, bool proposed) {
    PickResult r;
    const ChoiceCheck check = CheckChoice(pick.kind, pick.sect, pick.L);
    if (check.outcome == ChoiceCheck::Outcome::Refused) {
        r.outcome = PickOutcome::Refused;
        r.refusal = check.refusal;
        return r;
    }
    for (const Message& q : check.questions) {
        if (!ask(q)) {
            r.outcome = PickOutcome::Declined;
            r.declined = q;
            return r;
        }
    }
    const double H = gInpJyoken.ELYU - AdoptedVirtualGround();
    StoreChoice(pick.kind, pick.sect, H, pick.L - H, pick.L);
    gInpYaita.Proposed = proposed;
    return r;
}

Proposal ProposePassingPick(const Results& results) {
    const SectionResults& r = results.sections;
    Proposal p;
    if (const std::optional<PassingProposal> passing = ProposePassing(results)) {
        p.pick = Pick{passing->kind, passing->sect, passing->L};
        p.requiredLength = passing->requiredLength;
        p.rule = passing->rule;
        return p;
    }
    // The closest section when none passes: the fewest failed checks, first in window order.
    std::optional<Pick> closest;
    std::size_t closestFailures = 0;
    for (PileKind k : kPileKinds) {
        const int32_t n = std::min(CatalogueCount(k), kMaxSections);
        for (int32_t s = 1; s <= n; ++s) {
            const std::size_t failures = FailedChecks(r, k, s).size();
            if (!closest || failures < closestFailures) {
                closest = Pick{k, s, r.RequiredLength(k, s)};
                closestFailures = failures;
            }
        }
    }
    if (!closest) {
        p.whyNone = "登録された断面がありません。";
        return p;
    }
    std::string failed;
    for (const std::string& f : FailedChecks(r, closest->kind, closest->sect)) {
        if (!failed.empty()) failed += "，";
        failed += f;
    }
    p.closest = Pick{closest->kind, closest->sect, ProposedLength(closest->L)};
    p.whyNone = "全ての照査を満足する断面がありません。最も近い断面は " +
                std::string(KindCaption(closest->kind)) + " №" + std::to_string(closest->sect) +
                " " + SectionName(closest->kind, closest->sect) + "（満足しない照査：" + failed +
                "）です。";
    return p;
}

double ProposedLength(double requiredLength) { return ProposalLength(requiredLength); }

Message NoChoiceMessage() {
    return Message{0, "使用矢板が決定されていません。", "使用矢板の決定", MsgIcon::Information,
                   MsgButtons::Ok};
}

DesignRun RunDesign(const PickRequest& request) {
    DesignRun d;
    d.calc = Calculate(request.how == PickRequest::How::Stored ? Purpose::Batch : Purpose::Choice);
    d.messages = d.calc.messages;
    d.outcome = d.calc.outcome;
    if (!d.calc.calculated) return d;
    if (request.how == PickRequest::How::Stored) return d;

    Pick pick = request.given;
    // What the choice window's length field holds of a typed length.
    pick.L = RoundHalfUp(pick.L, DecimalPlaces(FindFieldRange("frmInpYaita.numL")->editFormat));
    bool proposed = false;
    bool yes = request.yes;
    if (request.how == PickRequest::How::Auto) {
        const Proposal p = ProposePassingPick(*d.calc.results);
        if (!p.pick) {
            d.messages.push_back(
                Message{0, p.whyNone, "使用矢板の決定", MsgIcon::Information, MsgButtons::Ok});
            d.outcome = Outcome::CalcFailed;
            return d;
        }
        pick = *p.pick;
        proposed = true;
        yes = true;  // a proposal satisfies the checks the questions are about
        d.note = "使用矢板をﾌﾟﾛｸﾞﾗﾑが提案しました： " + std::string(KindCaption(pick.kind)) + " №" +
                 std::to_string(pick.sect) + " " + SectionName(pick.kind, pick.sect) + "  Ｌ ＝ " +
                 numfmt::FormatNumber(pick.L, "0.00") + " m（必要矢板長 " +
                 numfmt::FormatNumber(p.requiredLength, "0.00") + " m）";
        if (p.rule == ProposalRule::Lightest) {
            const double mass = SectionMass(pick.kind, pick.sect);
            *d.note += "，合格断面のうち矢板質量が最小（" + numfmt::FormatNumber(mass, "0.0") +
                       " kg/m2 × " + numfmt::FormatNumber(pick.L, "0.00") + " m ＝ " +
                       numfmt::FormatNumber(MassPerMetre(mass, pick.L), "0.0") + " kg/m）";
        }
    }
    const PickResult r = CheckAndStorePick(
        pick, [&](const Message&) { return yes; }, proposed);
    if (r.outcome == PickOutcome::Refused) {
        d.messages.push_back(*r.refusal);
        d.outcome = Outcome::Refused;
        return d;
    }
    if (r.outcome == PickOutcome::Declined) {
        d.messages.push_back(*r.declined);
        d.outcome = Outcome::Refused;
        return d;
    }
    RunStability(d.calc, d.messages);
    d.outcome = Worst(d.outcome, d.calc.outcome);
    return d;
}

}  // namespace kuvelt::usecase
