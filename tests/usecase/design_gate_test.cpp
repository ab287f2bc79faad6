// One gate before every calculation: a design the input windows would refuse is refused on every
// road of the use-case layer, naming its field and value, and nothing of it is calculated.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include "calc/result_store.h"
#include "io/design_file.h"
#include "model/design.h"
#include "model/design_checks.h"
#include "model/design_fields.h"
#include "model/ranges.h"
#include "support/test_support.h"
#include "usecase/design_run.h"
#include "usecase/figure_run.h"
#include "usecase/report_run.h"

namespace kuvelt {
namespace {

// sand-channel.kvt: sand (φ 30°), ground surface and pile head at +3.50, design ground level
// ±0.00, horizontal surcharge, steel №7 of 12 chosen with L = 14.00 m.
void SandChannel() {
    int32_t code = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / "sand-channel.kvt").string(), code));
}

struct BadDesign {
    const char* name;
    std::function<void()> edit;
    const char* field;  // the field the refusal names; "" when the design is taken
    const char* says;   // part of the refusal's text
};

const BadDesign kDesigns[] = {
    // What calculated before with OK verdicts or a partial report.
    {"DesignGroundAboveSurface", [] { gInpJyoken.ELDL = 4.0; }, "CInpJyoken.ELDL",
     "設計地盤面(m) +4.00 が地表面(m) +3.50 以上です。"},
    {"FrictionAngle120", [] { gInpJiban.Fai = 120; }, "CInpJiban.Fai",
     "土の内部摩擦角φ(゜) 120 は入力範囲外です（入力範囲：0.0 ～ 60.0）。地盤条件の入力で"},
    {"FrictionAngle1e20", [] { gInpJiban.Fai = 1e20; }, "CInpJiban.Fai", "φ(゜) 1E+20 は"},
    {"JointEfficiencyMinusOne", [] { gInpZairyo.AlphaZs = -1; }, "CInpZairyo.AlphaZs",
     "継手効率α 断面係数 応力度照査時 -1 は入力範囲外です（入力範囲：0.1 ～ 1.0）"},
    {"BoilingFactorZero", [] { gInpJyoken.Fsb = 0; }, "CInpJyoken.Fsb", "入力範囲：1.0 ～ 9.0"},
    {"PileOfAMillionMetres", [] { gInpYaita.L = 1e6; }, "CInpYaita.L",
     "矢板全長Ｌ(m) 1000000 は入力範囲外です（入力範囲：0.00 ～ 99.00）。使用断面の決定で"},
    {"NegativeUnitWeight", [] { gInpJiban.Gt = -18; }, "CInpJiban.Gt", "γt(kN/m3) -18 は"},
    {"ShapeCode99", [] { gInpJyoken.Keijyo = 99; }, "CInpJyoken.Keijyo",
     "矢板壁背面の地表面形状 99 は選択肢にありません（0：水平，1：一定勾配，2：台形）"},
    {"GroundKind2", [] { gInpJiban.Kind = 2; }, "CInpJiban.Kind", "地盤の種類 2 は選択肢に"},
    {"StoredSection99", [] { gInpYaita.Sect = 99; }, "CInpYaita.Sect",
     "使用矢板 鋼矢板 №99 は登録ﾃﾞｰﾀにありません（登録 12 断面）"},
    // The other cross-field checks and codes.
    {"PileHeadBelowSurface", [] { gInpJyoken.ELYU = 3.0; }, "CInpJyoken.ELYU",
     "矢板天端(m) +3.00 が地表面(m) +3.50 より低くなっています。"},
    {"StabilityCheckCode5", [] { gInpJyoken.Nekiri = 5; }, "CInpJyoken.Nekiri", " 5 は選択肢"},
    {"StoredKind7", [] { gInpYaita.Yaita = 7; }, "CInpYaita.Yaita", "使用矢板の種類 7 は"},
    // Zero where the method breaks down: β = 0 from αIs, F from γw, σ against 0, δa = 0.
    {"StressJointEfficiencyZero", [] { gInpZairyo.AlphaIs = 0; }, "CInpZairyo.AlphaIs",
     "入力範囲：0.1 ～ 1.0"},
    {"WeightlessWater", [] { gInpJiban.Gw = 0; }, "CInpJiban.Gw", "入力範囲：0.1 ～ 99.0"},
    {"NoAllowableStress", [] { gInpZairyo.YSat = 0; }, "CInpZairyo.YSat", "入力範囲：1 ～ 999"},
    {"NoAllowableDisplacement", [] { gInpJyoken.Delta = 0; }, "CInpJyoken.Delta",
     "入力範囲：0.01 ～ 1.00"},
    // A constant slope 1 : 1.5 rises at atan(1/1.5) = 33.69°, steeper than φ = 30°: no Coulomb
    // wedge. 1 : 1.7321 rises at 29.9998°, just within φ; clay has no wedge condition.
    {"SlopeSteeperThanFriction",
     [] {
         gInpJyoken.Keijyo = 1;
         gInpJyoken.K1m = 1.5;
     },
     "CInpJyoken.K1m",
     "勾配(１：ｍ) 1.5 の地表面の傾斜角 33.69° が土の内部摩擦角φ(゜) 30.0 を超えて"},
    {"SlopeAsSteepAsFriction",
     [] {
         gInpJyoken.Keijyo = 1;
         gInpJyoken.K1m = 1.7321;
     },
     "", ""},
    {"SlopeOnClay",
     [] {
         gInpJyoken.Keijyo = 1;
         gInpJyoken.K1m = 1;
         gInpJiban.Kind = 1;
         gInpJiban.Cb = 50;
     },
     "", ""},
    // The pile must reach below the design ground level, 3.50 m below its head.
    {"PileWithoutEmbedment", [] { gInpYaita.L = 3.5; }, "CInpYaita.L",
     "矢板全長Ｌ 3.50 m では矢板が設計地盤面より下に根入れされません（矢板天端から設計地盤面まで "
     "3.50 m）。矢板全長Ｌは 3.51 m 以上として下さい。"},
    {"PileJustReachingBelow", [] { gInpYaita.L = 3.51; }, "", ""},
    // The section grids' rules.
    {"ConcreteLminAboveLmax", [] { gInpSectC.Item(1)->Lmin = 5; }, "gInpSectC[0].Lmin",
     "1 行目の Lmin(m) 5 が Lmax(m) 4 を超えています。"},
    {"SteelWithoutModulus", [] { gInpSectS.Item(3)->Zo = 0; }, "gInpSectS[2].Zo",
     "鋼矢板 №3 のＺ(cm3/m) 0 は入力範囲外です（入力範囲：10～9999999.9）"},
    {"ConcreteShape5", [] { gInpSectC.Item(2)->Keijyo = 5; }, "gInpSectC[1].Keijyo",
     "ｺﾝｸﾘｰﾄ矢板 №2 の形状 5 は選択肢にありません"},
    // Fields the windows leave disabled keep what they hold unchecked.
    {"TrapezoidFieldsUnderAHorizontalSurface", [] { gInpJyoken.K2Ho = 0; }, "", ""},
    {"CohesionOfSand", [] { gInpJiban.Cb = -5; }, "", ""},
};

class DesignGate : public ::testing::TestWithParam<BadDesign> {
  protected:
    void SetUp() override { SandChannel(); }
    void TearDown() override {
        InitData();
        ResetResultStore();
    }
};

TEST_P(DesignGate, RefusedOnEveryRoadNamingItsField) {
    const BadDesign& c = GetParam();
    c.edit();
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Print);
    if (!*c.field) {
        EXPECT_FALSE(run.refusal) << run.refusal->message.text;
        return;
    }
    ASSERT_TRUE(run.refusal);
    EXPECT_EQ(run.refusal->field, c.field);
    EXPECT_NE(run.refusal->message.text.find(c.says), std::string::npos)
        << run.refusal->message.text;
    EXPECT_EQ(run.messages, std::vector<Message>{run.refusal->message});
    EXPECT_EQ(run.outcome, usecase::Outcome::Refused);
    EXPECT_FALSE(run.calculated);
    EXPECT_FALSE(gDL.Reached()) << "nothing is calculated";

    // The stored choice is the choice window's to replace: it refuses nothing there.
    const bool choice = std::string(c.field).starts_with("CInpYaita");
    EXPECT_EQ(!usecase::Calculate(usecase::Purpose::Choice).refusal, choice);
    EXPECT_EQ(usecase::CheckStability().refusal->field, c.field);
    EXPECT_EQ(usecase::RunDesign({}).outcome, usecase::Outcome::Refused);

    test::TempDir tmp;
    const usecase::ReportRun report = usecase::WriteReportFolder(tmp.file("report"), {});
    EXPECT_EQ(report.outcome, usecase::Outcome::Refused);
    EXPECT_FALSE(std::filesystem::exists(tmp.file("report")));
    // The cross-section is still drawn, without results, saying why.
    const usecase::StructureView view = usecase::StructureFigure();
    if (!choice) {
        EXPECT_NE(view.note.find(run.refusal->message.text), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, DesignGate, ::testing::ValuesIn(kDesigns),
                         [](const auto& info) { return std::string(info.param.name); });

// Every numeric field of the three condition windows, one display step below its lowest typed
// value, at it, at its maximum and one step above, with the field in force: refused for its range
// outside, never inside (a level may still conflict with another one).
TEST(DesignGateRanges, EveryFieldBelowAtAndAboveItsLimits) {
    int fields = 0, refusals = 0;
    for (const DesignField& f : DesignFields()) {
        if (!f.HasInput() || f.record == Record::Yaita) continue;
        ++fields;
        const double step = std::pow(10.0, -DecimalPlaces(f.displayFormat));
        const double lowest = LowestTypedValue(f);
        for (const double v : {lowest - step, lowest, f.max, f.max + step}) {
            SandChannel();
            // The surcharge shape and ground kind that enable the field, clay first (a slope
            // is not held to φ there).
            [&] {
                for (const int32_t kind : {1, 0}) {
                    for (const int32_t shape : {0, 1, 2}) {
                        if (!FieldInForce(f.name, shape, kind)) continue;
                        gInpJyoken.Keijyo = shape;
                        gInpJiban.Kind = kind;
                        return;
                    }
                }
            }();
            SetNumber(f, CurrentRecord(f.record), v);
            const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Batch);
            const bool inside = v >= lowest && v <= f.max;
            const bool named =
                run.refusal && run.refusal->field == f.name &&
                run.refusal->message.text.find(RangeMessage(f).text) != std::string::npos;
            EXPECT_EQ(named, !inside) << f.name << " = " << v;
            refusals += named;
        }
    }
    EXPECT_EQ(refusals, 2 * fields);
    InitData();
    ResetResultStore();
}

}  // namespace
}  // namespace kuvelt
