// The sheet-pile choice: the proposal the window opens with, the checks of a confirmed pick with
// their exact messages and tolerances, and storing the pick.
#include "calc/yaita_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "model/design.h"

namespace kuvelt {
namespace {

const Message kMissing{0, "選択した断面№は登録されていません。必ず登録ﾃﾞｰﾀより選択して下さい。",
                       "断面№ｴﾗｰ", MsgIcon::Information, MsgButtons::OkCancel};
const Message kOutOfRange{0, "矢板長Ｌが登録ﾃﾞｰﾀのLmin～Lmaxの範囲外です。このまま実行しますか？",
                          "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::YesNo};
const Message kLengthRange{0, "入力範囲：0.00 ～ 99.00", "矢板全長Ｌ(m)", MsgIcon::Information,
                           MsgButtons::Ok};
// The refusal of a length that does not reach below the design ground level.
Message NoEmbedment(const char* length, const char* above, const char* least) {
    return Message{
        0,
        std::string(length) +
            " では矢板が設計地盤面より下に根入れされません（矢板天端から設計地盤面まで " + above +
            "）。矢板全長Ｌは " + least + " 以上として下さい。",
        "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::Ok};
}
// The short-length question, written out for one case: it names both lengths.
Message TooShort(const char* lengths) {
    return Message{0,
                   std::string("矢板長Ｌが必要矢板長未満です。このまま実行しますか？\n") + lengths,
                   "矢板長ｴﾗｰ", MsgIcon::Question, MsgButtons::YesNo};
}

class ChoiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitData();  // concrete 50H (Lmin 2, Lmax 4), 60H, 70H; 11 light steel; 12 steel
        // A low wall, its head 1 m above the design ground level: every length of the cases
        // but the refused ones reaches below it.
        gInpJyoken.ELGL = gInpJyoken.ELYU = 1.0;
        ResetResultStore();
        ResetSectionResults();
        gListC.Redim();
        gListLS.Redim();
        gListS.Redim();
        // Required lengths as the last run would have left them.
        gListC.Set(1, 4, 3.0);
        gListC.Set(2, 4, 4.8);
        gListLS.Set(1, 4, 6.0);
        gListS.Set(1, 4, 8.25);
        gListS.Set(2, 4, 8.254);  // printed 8.25
        gListS.Set(3, 4, 8.255);  // printed 8.26
    }
    void TearDown() override {
        InitData();
        ResetSectionResults();
    }
};

struct PickCase {
    std::string name;
    int32_t yaita, sect;
    double L;
    ChoiceCheck::Outcome outcome;
    std::vector<Message> questions;
};

void PrintTo(const PickCase& c, std::ostream* os) { *os << c.name; }

class ChoicePicks : public ChoiceTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(ChoicePicks, OutcomeAndMessages) {
    const PickCase& c = GetParam();
    // A kind value no catalogue has (a window with no option set) is refused like a section.
    const ChoiceCheck r = CheckChoice(static_cast<PileKind>(c.yaita), c.sect, c.L);
    EXPECT_EQ(r.outcome, c.outcome);
    if (c.outcome == ChoiceCheck::Outcome::Refused) {
        ASSERT_TRUE(r.refusal.has_value());
        EXPECT_EQ(*r.refusal, c.questions.empty() ? kMissing : c.questions.front());
        EXPECT_TRUE(r.questions.empty());
    } else {
        EXPECT_FALSE(r.refusal.has_value());
        EXPECT_EQ(r.questions, c.questions);
    }
}

using O = ChoiceCheck::Outcome;

INSTANTIATE_TEST_SUITE_P(
    Choice, ChoicePicks,
    ::testing::Values(
        PickCase{"SectionBeyondCatalogue", 0, 4, 3.0, O::Refused, {}},
        PickCase{"SectionZero", 0, 0, 3.0, O::Refused, {}},
        PickCase{"SectionNegative", 2, -1, 9.0, O::Refused, {}},
        PickCase{"SteelBeyondCatalogue", 2, 13, 9.0, O::Refused, {}},
        PickCase{"UnknownKind", 3, 1, 9.0, O::Refused, {}},
        // A length the field refuses, and lengths without embedment below the design ground
        // level (head 1.00 m above it: the least length is 1.01 m).
        PickCase{"LengthBeyondTheField", 2, 1, 100.0, O::Refused, {kLengthRange}},
        PickCase{"LengthToTheGroundLevel",
                 0,
                 1,
                 1.0,
                 O::Refused,
                 {NoEmbedment("矢板全長Ｌ 1.00 m", "1.00 m", "1.01 m")}},
        PickCase{"LengthAboveTheGroundLevel",
                 2,
                 1,
                 0.5,
                 O::Refused,
                 {NoEmbedment("矢板全長Ｌ 0.50 m", "1.00 m", "1.01 m")}},
        PickCase{"LeastLength", 1, 4, 1.01, O::Acceptable, {}},
        PickCase{"ConcreteInsideRange", 0, 1, 3.5, O::Acceptable, {}},
        PickCase{"ConcreteAtLmax", 0, 1, 4.0, O::Acceptable, {}},
        PickCase{"ConcreteWithinToleranceAboveLmax", 0, 1, 4.0009, O::Acceptable, {}},
        PickCase{"ConcretePrintedAboveLmax", 0, 1, 4.005, O::Questions, {kOutOfRange}},
        PickCase{"ConcreteAtLmaxAboveRequired", 0, 2, 5.0, O::Acceptable, {}},
        PickCase{"ConcreteJustOutsideLmax", 0, 1, 4.01, O::Questions, {kOutOfRange}},
        PickCase{"ConcreteHalfMetreBeyondLmax", 0, 1, 4.5, O::Questions, {kOutOfRange}},
        // Concrete is held to its manufactured range only, never to the required length.
        PickCase{"ConcreteBelowLmin", 0, 1, 1.5, O::Questions, {kOutOfRange}},
        PickCase{"ConcreteShorterThanRequired", 0, 2, 4.0, O::Acceptable, {}},
        PickCase{"SteelAtRequired", 2, 1, 8.25, O::Acceptable, {}},
        // The required length is judged as printed, to 0.01 m.
        PickCase{"SteelRequiredPrintedAsL", 2, 2, 8.25, O::Acceptable, {}},
        PickCase{"SteelRequiredPrintedAboveL",
                 2,
                 3,
                 8.25,
                 O::Questions,
                 {TooShort("（Ｌ ＝ 8.25 m，必要矢板長 ＝ 8.26 m）")}},
        PickCase{"SteelCentimetreShort",
                 2,
                 1,
                 8.24,
                 O::Questions,
                 {TooShort("（Ｌ ＝ 8.24 m，必要矢板長 ＝ 8.25 m）")}},
        // No manufactured range applies to steel.
        PickCase{"SteelVeryLong", 2, 1, 50.0, O::Acceptable, {}},
        PickCase{"LightSteelShort",
                 1,
                 1,
                 5.0,
                 O::Questions,
                 {TooShort("（Ｌ ＝ 5.00 m，必要矢板長 ＝ 6.00 m）")}},
        PickCase{"LightSteelLongEnough", 1, 1, 6.5, O::Acceptable, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ChoiceTest, EmptyKindHasNoSections) {
    gInpSectLS.Clear();
    const ChoiceCheck r = CheckChoice(PileKind::LightSteel, 1, 6.5);
    EXPECT_EQ(r.outcome, O::Refused);
    EXPECT_EQ(*r.refusal, kMissing);
}

TEST_F(ChoiceTest, ProposalTakesFirstKindWithSections) {
    // H' is the height of the pile head above the adopted virtual ground (a fresh load stage:
    // level 0), not of the ground surface: 3.7 with the head 0.2 m above the surface.
    gInpJyoken.ELGL = 3.5;
    gInpJyoken.ELYU = 3.7;
    ChoiceProposal p = ProposeChoice();
    EXPECT_EQ(p.kind, PileKind::Concrete);
    EXPECT_EQ(p.Sect, 1);
    EXPECT_DOUBLE_EQ(p.H, 3.7);
    EXPECT_DOUBLE_EQ(p.L, 4.7);
    EXPECT_DOUBLE_EQ(p.D, 1.0);
    gInpSectC.Clear();
    EXPECT_EQ(ProposeChoice().kind, PileKind::LightSteel);
    gInpSectLS.Clear();
    EXPECT_EQ(ProposeChoice().kind, PileKind::Steel);
    gInpSectS.Clear();
    EXPECT_EQ(ProposeChoice().kind, PileKind::Steel);
}

TEST_F(ChoiceTest, StoredChoiceReplacesKindSectionAndLength) {
    gInpJyoken.ELGL = 3.5;
    gInpJyoken.ELYU = 3.5;
    gInpYaita = CInpYaita{true, 2, 4, 9.9, 9.9, 12.5};
    ChoiceProposal p = ProposeChoice();
    EXPECT_EQ(p.kind, PileKind::Steel);
    EXPECT_EQ(p.Sect, 4);
    EXPECT_DOUBLE_EQ(p.L, 12.5);
    EXPECT_DOUBLE_EQ(p.H, 3.5);  // always from the last run, never the stored H
    EXPECT_DOUBLE_EQ(p.D, 9.0);
    // A void choice is ignored.
    gInpYaita.InpFlg = false;
    EXPECT_EQ(ProposeChoice().kind, PileKind::Concrete);
}

// The proposal among passing sections, on result lists made by hand. Each section: its mass
// (kg/m2, 0 none), whether it passes every check and its required length. Concrete rows have
// Lmin 2 and Lmax 6 m. The proposal's L is Lreq rounded up to 0.5 m (within Lmin..Lmax).
struct Sect {
    double mass;
    bool passes;
    double lreq;
};
struct Proposed {
    int kind;  // -1: no proposal
    int32_t sect;
    double L;
    ProposalRule rule;
};
struct ProposalCase {
    const char* what;
    std::vector<Sect> concrete, light, steel;
    Proposed want;
};

TEST_F(ChoiceTest, ProposalIsTheLightestPassingSectionOfTheFirstKindThatHasOne) {
    constexpr auto kLight = ProposalRule::Lightest;
    constexpr auto kFirst = ProposalRule::CatalogueOrder;
    // clang-format off
    const std::vector<ProposalCase> cases = {
        // 1200, 1184.5 and 1200 kg/m.
        {"least mass x L, not least mass", {}, {},
         {{120, true, 9.87}, {103, true, 11.2}, {150, true, 8.0}}, {2, 2, 11.5, kLight}},
        {"a failing lighter section is no candidate", {}, {},
         {{50, false, 9.0}, {120, true, 9.0}, {136, true, 9.0}}, {2, 2, 9.0, kLight}},
        {"sections without a mass are passed over", {}, {},
         {{0, true, 5.0}, {150, true, 10.0}, {120, true, 12.0}}, {2, 3, 12.0, kLight}},
        // 136 x 7.5 = 120 x 8.5 = 1020; 1020.40 and 1020.425 both print 1020.4.
        {"a tie goes to the earlier section", {}, {},
         {{0, true, 5.0}, {136, true, 7.5}, {120, true, 8.5}}, {2, 2, 7.5, kLight}},
        {"a tie as printed to 0.1 kg/m too", {}, {},
         {{120.05, true, 8.5}, {102.04, true, 10.0}}, {2, 1, 8.5, kLight}},
        {"no passing section has a mass: the first passing one", {}, {},
         {{120, false, 9.0}, {0, true, 12.0}, {0, true, 8.0}}, {2, 2, 12.0, kFirst}},
        {"no section passes", {{0, false, 3.0}}, {{90, false, 6.0}}, {{120, false, 9.0}},
         {-1, 0, 0, kFirst}},
        {"concrete first even when steel is lighter", {{0, false, 3.0}, {0, true, 3.2}}, {},
         {{50, true, 3.0}}, {0, 2, 3.5, kFirst}},
        {"light steel before steel, the lightest of its own", {{300, false, 3.0}},
         {{60, true, 6.2}, {55, true, 6.8}}, {{50, true, 3.0}}, {1, 2, 7.0, kLight}},
        // 300 x 2.0 = 600 against 250 x 3.0 = 750.
        {"concrete at its shortest length", {{300, true, 1.2}, {250, true, 2.6}}, {}, {},
         {0, 1, 2.0, kLight}},
    };
    // clang-format on
    for (const ProposalCase& c : cases) {
        SCOPED_TRACE(c.what);
        gInpSectC.Clear();
        gInpSectLS.Clear();
        gInpSectS.Clear();
        Results r;
        r.sections.listC.emplace();
        r.sections.listLS.emplace();
        r.sections.listS.emplace();
        for (const Sect& s : c.concrete) {
            gInpSectC.Add("C", 0, 1000, 10, 2, 6)->Mass = s.mass;
            ConcreteRow row;
            row.lreq = s.lreq;
            row.momentFails = !s.passes;
            r.sections.listC->push_back(row);
        }
        for (auto [list, cat, rows] : {std::tuple{&*r.sections.listLS, &gInpSectLS, &c.light},
                                       std::tuple{&*r.sections.listS, &gInpSectS, &c.steel}}) {
            for (const Sect& s : *rows) {
                cat->Add("S", 1000, 100, 1000, 100)->Mass = s.mass;
                SteelRow row;
                row.lreq = s.lreq;
                row.deltaFails = !s.passes;
                list->push_back(row);
            }
        }
        const std::optional<PassingProposal> p = ProposePassing(r);
        ASSERT_EQ(p.has_value(), c.want.kind >= 0);
        if (!p) continue;
        EXPECT_EQ(static_cast<int>(p->kind), c.want.kind);
        EXPECT_EQ(p->sect, c.want.sect);
        EXPECT_DOUBLE_EQ(p->L, c.want.L);
        EXPECT_EQ(p->rule, c.want.rule);
    }
}

TEST_F(ChoiceTest, StoreSetsEveryFieldAndTheFlag) {
    StoreChoice(PileKind::LightSteel, 3, 7.25, 5.25, 12.5);
    EXPECT_EQ(gInpYaita, (CInpYaita{true, 1, 3, 7.25, 5.25, 12.5}));
}

}  // namespace
}  // namespace kuvelt
