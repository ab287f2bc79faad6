#include "calc/yaita_choice.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "calc/verdicts.h"
#include "model/design.h"
#include "model/design_checks.h"
#include "model/ranges.h"
#include "platform/numfmt.h"

namespace kuvelt {

int32_t CatalogueCount(PileKind kind) {
    switch (kind) {
        case PileKind::Concrete:
            return gInpSectC.Count();
        case PileKind::LightSteel:
            return gInpSectLS.Count();
        case PileKind::Steel:
            return gInpSectS.Count();
    }
    return 0;
}

std::string SectionName(PileKind kind, int32_t sect) {
    if (kind == PileKind::Concrete) {
        const CInpSectC* c = gInpSectC.Item(sect);
        return c ? c->Name : std::string();
    }
    const CInpSectS* c = (kind == PileKind::LightSteel ? gInpSectLS : gInpSectS).Item(sect);
    return c ? c->Name : std::string();
}

Message SectionMissingMessage() {
    return Message{0, "選択した断面№は登録されていません。必ず登録ﾃﾞｰﾀより選択して下さい。",
                   "断面№ｴﾗｰ", MsgIcon::Information, MsgButtons::OkCancel};
}

Message LengthOutOfRangeQuestion() {
    return Message{0, "矢板長Ｌが登録ﾃﾞｰﾀのLmin～Lmaxの範囲外です。このまま実行しますか？",
                   "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::YesNo};
}

Message LengthTooShortQuestion(double L, double requiredLength) {
    return Message{0,
                   "矢板長Ｌが必要矢板長未満です。このまま実行しますか？\n（Ｌ ＝ " +
                       numfmt::FormatNumber(L, "0.00") + " m，必要矢板長 ＝ " +
                       numfmt::FormatNumber(requiredLength, "0.00") + " m）",
                   "矢板長ｴﾗｰ", MsgIcon::Question, MsgButtons::YesNo};
}

namespace {

ChoiceProposal ProposeChoiceAt(double adoptedVirtualGround) {
    ChoiceProposal p;
    if (gInpSectC.Count() > 0) {
        p.kind = PileKind::Concrete;
    } else if (gInpSectLS.Count() > 0) {
        p.kind = PileKind::LightSteel;
    } else {
        p.kind = PileKind::Steel;
    }
    p.Sect = 1;
    p.H = gInpJyoken.ELYU - adoptedVirtualGround;
    p.L = p.H + 1.0;
    if (const std::optional<PileKind> stored = KindOfChoice(gInpYaita.Yaita);
        gInpYaita.InpFlg && stored) {
        p.kind = *stored;
        p.Sect = gInpYaita.Sect;
        p.L = gInpYaita.L;
    }
    p.D = p.L - p.H;
    return p;
}

}  // namespace

ChoiceProposal ProposeChoice(const Results& results) {
    // A run without loads (the window opens only after one that has them) reads as the store's
    // fresh stage would: the virtual ground at 0.
    return ProposeChoiceAt(results.AdoptedVirtualGround().value_or(0.0));
}

ChoiceProposal ProposeChoice() { return ProposeChoiceAt(AdoptedVirtualGround()); }

double ProposalLength(double requiredLength) {
    // A printed length that is a multiple already is taken as it is (the product carries the
    // binary error of the required length's decimals).
    return std::ceil(AsPrinted(requiredLength, printed::kLength) * 2.0 - 1e-9) / 2.0;
}

double ProposalLength(PileKind kind, int32_t sect, double requiredLength) {
    double L = ProposalLength(requiredLength);
    if (kind == PileKind::Concrete) {
        // Concrete piles come only in their manufactured lengths.
        if (const CInpSectC* c = gInpSectC.Item(sect)) {
            if (L < c->Lmin) L = c->Lmin;
            if (L > c->Lmax) L = c->Lmax;
        }
    }
    return L;
}

double SectionMass(PileKind kind, int32_t sect) {
    if (kind == PileKind::Concrete) {
        const CInpSectC* c = gInpSectC.Item(sect);
        return c ? c->Mass : 0.0;
    }
    const CInpSectS* c = (kind == PileKind::LightSteel ? gInpSectLS : gInpSectS).Item(sect);
    return c ? c->Mass : 0.0;
}

double MassPerMetre(double mass, double L) { return AsPrinted(mass * L, kMassDecimals); }

std::optional<PassingProposal> ProposePassing(const Results& results) {
    const SectionResults& r = results.sections;
    for (PileKind k : kPileKinds) {
        std::optional<PassingProposal> first;
        std::optional<PassingProposal> lightest;
        double least = 0.0;
        const int32_t n = std::min(CatalogueCount(k), kMaxSections);
        for (int32_t s = 1; s <= n; ++s) {
            if (!r.Passes(k, s)) continue;
            const double lreq = r.RequiredLength(k, s);
            const PassingProposal p{k, s, ProposalLength(k, s, lreq), lreq,
                                    ProposalRule::CatalogueOrder};
            if (!first) first = p;
            // A mass of 0 is one not given; a negative one never passes the design's checks.
            const double mass = SectionMass(k, s);
            if (!(mass > 0.0)) continue;
            const double perMetre = MassPerMetre(mass, p.L);
            if (!lightest || perMetre < least) {
                lightest = p;
                lightest->rule = ProposalRule::Lightest;
                least = perMetre;
            }
        }
        if (lightest) return lightest;
        if (first) return first;
    }
    return std::nullopt;
}

ChoiceCheck CheckChoice(PileKind kind, int32_t sect, double L) {
    ChoiceCheck c;
    auto refuse = [&](Message m) {
        c.outcome = ChoiceCheck::Outcome::Refused;
        c.refusal = std::move(m);
        return c;
    };
    // Section numbers below 1 are as unregistered as those beyond the catalogue.
    if (sect < 1 || sect > CatalogueCount(kind) || sect > kMaxSections) {
        return refuse(SectionMissingMessage());
    }
    // The length as the window's field takes it (a command-line pick can hold any number).
    const FieldRange& field = *FindFieldRange("frmInpYaita.numL");
    if (!InRange(field, L)) return refuse(RangeMessage(field));
    // A pile that does not reach below the design ground level has no embedment at all.
    if (std::optional<Message> m = PileLengthRefusal(L, gInpJyoken)) return refuse(*m);
    if (kind == PileKind::Concrete) {
        // Concrete piles come in manufactured lengths Lmin..Lmax; that range is what the pick is
        // held to (the required length is judged in the report and the result list).
        const CInpSectC& s = *gInpSectC.Item(sect);
        if (OutsideAsPrinted(L, printed::kLength, s.Lmin, s.Lmax)) {
            c.questions.push_back(LengthOutOfRangeQuestion());
        }
    } else {
        // A steel pile shorter than its required length, as both are printed, lacks the
        // embedment 3/beta below the virtual ground surface.
        const double lreq = RequiredLength(kind, sect);
        if (ExceedsAsPrinted(lreq, printed::kLength, L)) {
            c.questions.push_back(LengthTooShortQuestion(L, lreq));
        }
    }
    if (!c.questions.empty()) c.outcome = ChoiceCheck::Outcome::Questions;
    return c;
}

void StoreChoice(PileKind kind, int32_t sect, double H, double D, double L) {
    gInpYaita.Yaita = ChoiceValue(kind);
    gInpYaita.Sect = sect;
    gInpYaita.H = H;
    gInpYaita.D = D;
    gInpYaita.L = L;
    gInpYaita.InpFlg = true;
    gInpYaita.Proposed = false;
}

}  // namespace kuvelt
