#include "calc/yaita_choice.h"

#include <cmath>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "model/design.h"

namespace kuvelt {

namespace {

int32_t SectionCount(int32_t yaita) {
    switch (yaita) {
        case 0:
            return gInpSectC.Count();
        case 1:
            return gInpSectLS.Count();
        case 2:
            return gInpSectS.Count();
        default:
            return 0;
    }
}

bool Within(double a, double b) { return std::fabs(a - b) < 0.001; }

}  // namespace

Message SectionMissingMessage() {
    return Message{0, "選択した断面№は登録されていません。必ず登録ﾃﾞｰﾀより選択して下さい。",
                   "断面№ｴﾗｰ", MsgIcon::Information, MsgButtons::OkCancel};
}

Message LengthOutOfRangeQuestion() {
    return Message{0, "矢板長Ｌが登録ﾃﾞｰﾀのLmin～Lmaxの範囲外です。このまま実行しますか？",
                   "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::YesNo};
}

Message LengthTooShortQuestion() {
    return Message{0, "矢板長Ｌが必要矢板長未満です。このまま実行しますか？", "矢板長ｴﾗｰ",
                   MsgIcon::Information, MsgButtons::YesNo};
}

ChoiceProposal ProposeChoice() {
    ChoiceProposal p;
    if (gInpSectC.Count() > 0) {
        p.Yaita = 0;
    } else if (gInpSectLS.Count() > 0) {
        p.Yaita = 1;
    } else {
        p.Yaita = 2;
    }
    p.Sect = 1;
    p.H = gInpJyoken.ELYU - AdoptedVirtualGround();
    p.L = p.H + 1.0;
    if (gInpYaita.InpFlg && gInpYaita.Yaita >= 0 && gInpYaita.Yaita <= 2) {
        p.Yaita = gInpYaita.Yaita;
        p.Sect = gInpYaita.Sect;
        p.L = gInpYaita.L;
    }
    p.D = p.L - p.H;
    return p;
}

ChoiceCheck CheckChoice(int32_t yaita, int32_t sect, double L) {
    ChoiceCheck c;
    // Section numbers below 1 are as unregistered as those beyond the catalogue.
    if (sect < 1 || sect > SectionCount(yaita) || sect > kMaxSections) {
        c.outcome = ChoiceCheck::Outcome::SectionMissing;
        c.refusal = SectionMissingMessage();
        return c;
    }
    if (yaita == 0) {
        // Concrete piles come in manufactured lengths Lmin..Lmax; that range is what the pick is
        // held to (the required length is judged in the report and the result list).
        const CInpSectC& s = *gInpSectC.Item(sect);
        const bool inside = s.Lmin < L && L < s.Lmax;
        if (!inside && !Within(L, s.Lmin) && !Within(L, s.Lmax)) {
            c.questions.push_back(LengthOutOfRangeQuestion());
        }
    } else {
        // A steel pile shorter than its required length lacks the embedment 3/beta below the
        // virtual ground surface.
        const double lreq = RequiredLength(static_cast<PileKind>(yaita), sect);
        if (L < lreq && !Within(L, lreq)) c.questions.push_back(LengthTooShortQuestion());
    }
    if (!c.questions.empty()) c.outcome = ChoiceCheck::Outcome::Questions;
    return c;
}

void StoreChoice(int32_t yaita, int32_t sect, double H, double D, double L) {
    gInpYaita.Yaita = yaita;
    gInpYaita.Sect = sect;
    gInpYaita.H = H;
    gInpYaita.D = D;
    gInpYaita.L = L;
    gInpYaita.InpFlg = true;
    gInpYaita.Proposed = false;
}

}  // namespace kuvelt
