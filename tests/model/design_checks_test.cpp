// The site's rules of the design gate: the channel water, the ground layers below the first and
// the wall friction angles, each refused with its message naming the field that RefuseDesign
// and the windows' checks point at.
#include "model/design_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/design.h"

namespace kuvelt {
namespace {

// A new design: ground surface and pile head at +4.00, design ground level ±0.00, 10 m examined
// (down to -10.00), sand with φ 30°.
CInpJibanLayer Layer(double elu, int32_t kind = 0, double fai = 30.0) {
    CInpJibanLayer l;
    l.ELU = elu;
    l.Kind = kind;
    l.Fai = fai;
    return l;
}

std::vector<CInpJibanLayer> Tops(int n) {
    std::vector<CInpJibanLayer> v;
    for (int i = 1; i <= n; ++i) v.push_back(Layer(-0.5 * i));
    return v;
}

struct SiteCase {
    const char* name;
    std::function<void()> edit;
    const char* field;        // what RefuseDesign names; "" when the design is taken
    const char* says;         // part of the message
    const char* groundFocus;  // the ground window's focus when it differs from `field`
};

const SiteCase kCases[] = {
    {"ChannelWaterBelowDesignGround", [] { gInpJyoken.ELWF = -0.5; }, "CInpJyoken.ELWF",
     "前面水位(m) -0.50 が設計地盤面(m) +0.00 より低くなっています。前面水位は設計地盤面以上", ""},
    {"ChannelWaterOnDesignGround", [] { gInpJyoken.ELWF = 0.0; }, "", "", ""},
    {"ChannelWaterOutOfRange", [] { gInpJyoken.ELWF = 1000; }, "CInpJyoken.ELWF",
     "前面水位(m) 1000 は入力範囲外です（入力範囲：-999.00 ～ +999.00）", ""},
    {"LayerTopOnGroundSurface", [] { gInpJiban.Layers = {Layer(4.0)}; }, "gInpJiban.Layers[1].ELU",
     "第2層の上端標高(m) +4.00 が地表面(m) +4.00 以上です。", ""},
    {"LayerTopsNotDescending",
     [] {
         gInpJiban.Layers = {Layer(-1), Layer(-1)};
     },
     "gInpJiban.Layers[2].ELU",
     "第3層の上端標高(m) -1.00 が第2層の上端標高(m) -1.00 以上です。層の上端は上の層の上端より",
     ""},
    {"LayerTopAtExaminedDepth", [] { gInpJiban.Layers = {Layer(-10)}; }, "gInpJiban.Layers[1].ELU",
     "第2層の上端標高(m) -10.00 が検討する深さの下端(m) -10.00（設計地盤面(m) +0.00 － 10.0）以下",
     ""},
    {"LayerTopJustAboveExaminedDepth", [] { gInpJiban.Layers = {Layer(-9.99)}; }, "", "", ""},
    {"TenLayers", [] { gInpJiban.Layers = Tops(9); }, "", "", ""},
    {"ElevenLayers", [] { gInpJiban.Layers = Tops(10); }, "gInpJiban.Layers[10].ELU",
     "地盤の層数 11 が入力できる層数（最大10層）を超えています。", ""},
    {"LayerKind2", [] { gInpJiban.Layers = {Layer(-1, 2)}; }, "gInpJiban.Layers[1].Kind",
     "第2層の土質 2 は選択肢にありません（0：砂質土，1：粘性土）。地盤条件の入力で", ""},
    {"SandyLayerFaiOutOfRange", [] { gInpJiban.Layers = {Layer(-1, 0, 61)}; },
     "gInpJiban.Layers[1].Fai", "第2層のφ(゜) 61 は入力範囲外です（入力範囲：0～60）", ""},
    {"ClayLayerFaiUnchecked", [] { gInpJiban.Layers = {Layer(-1, 1, 61)}; }, "", "", ""},
    {"ClayLayerNegativeCohesion",
     [] {
         gInpJiban.Layers = {Layer(-1, 1)};
         gInpJiban.Layers[0].Cb = -1;
     },
     "gInpJiban.Layers[1].Cb", "第2層のｂ(kN/m2) -1 は入力範囲外です", ""},
    {"LayerWeightless",
     [] {
         gInpJiban.Layers = {Layer(-1), Layer(-2)};
         gInpJiban.Layers[1].Gws = 0;
     },
     "gInpJiban.Layers[2].Gws", "第3層のγws(kN/m3) 0 は入力範囲外です", ""},
    {"ActiveFrictionAboveFai", [] { gInpJiban.DeltaA = 30.1; }, "CInpJiban.DeltaA",
     "主働側の壁面摩擦角δa(゜) 30.1 が土の内部摩擦角φ(゜) 30.0 を超えています。壁面摩擦角は 0 ～ "
     "φ として下さい（既定値 15.0 を除く）。",
     ""},
    {"ActiveFrictionAtFai", [] { gInpJiban.DeltaA = 30; }, "", "", ""},
    {"PassiveFrictionAboveDeeperSandyFai",
     [] {
         gInpJiban.Layers = {Layer(-1, 1, 5), Layer(-2, 0, 25)};
         gInpJiban.DeltaP = 26;
     },
     "CInpJiban.DeltaP", "受働側の壁面摩擦角δp(゜) 26.0 が第3層の内部摩擦角φ(゜) 25.0 を超えて",
     ""},
    {"FrictionOverClayOnly",
     [] {
         gInpJiban.Kind = 1;
         gInpJiban.Fai = 0;
         gInpJiban.DeltaA = 40;
     },
     "", "", ""},
    {"DefaultFrictionAboveLowFai",
     [] {
         gInpJiban.Fai = 10;
         gInpJiban.Layers = {Layer(-1, 0, 12)};
     },
     "", "", ""},
    {"NegativeFriction", [] { gInpJiban.DeltaP = -1; }, "CInpJiban.DeltaP",
     "受働側の壁面摩擦角δp(゜) -1 は入力範囲外です（入力範囲：0.0 ～ 60.0）", ""},
    // 1 : 1.5 rises at 33.69°: the first layer (φ 35°) takes it, the sand below it (30°) not.
    {"SlopeSteeperThanDeeperSand",
     [] {
         gInpJyoken.Keijyo = 1;
         gInpJyoken.K1m = 1.5;
         gInpJiban.Fai = 35;
         gInpJiban.Layers = {Layer(-1, 0, 30)};
     },
     "CInpJyoken.K1m",
     "勾配(１：ｍ) 1.5 の地表面の傾斜角 33.69° が第2層の内部摩擦角φ(゜) 30.0 を超えています。",
     "gInpJiban.Layers[1].Fai"},
    {"SlopeOverDeeperClay",
     [] {
         gInpJyoken.Keijyo = 1;
         gInpJyoken.K1m = 1.5;
         gInpJiban.Fai = 35;
         gInpJiban.Layers = {Layer(-1, 1, 5)};
     },
     "", "", ""},
};

class SiteChecks : public ::testing::TestWithParam<SiteCase> {
  protected:
    void SetUp() override { InitData(); }
    void TearDown() override { InitData(); }
};

TEST_P(SiteChecks, RefusedWithItsMessageAndField) {
    const SiteCase& c = GetParam();
    c.edit();
    const std::optional<DesignRefusal> r = RefuseDesign(StoredChoice::Ignored);
    const std::optional<ConditionConflict> ground = GroundConditionsConflict(gInpJiban, gInpJyoken);
    if (!*c.field) {
        EXPECT_FALSE(r) << r->message.text;
        EXPECT_FALSE(ground) << ground->message.text;
        return;
    }
    ASSERT_TRUE(r);
    EXPECT_EQ(r->field, c.field);
    EXPECT_NE(r->message.text.find(c.says), std::string::npos) << r->message.text;
    // The ground window points at the same field, or at the layer whose φ the slope breaks; a
    // value outside its field's range the field itself refuses as it is typed.
    const std::string focus = *c.groundFocus ? c.groundFocus : c.field;
    const bool ranged = std::string_view(c.says).find("入力範囲外") != std::string_view::npos;
    if (!ranged && (focus.starts_with("gInpJiban") || focus.starts_with("CInpJiban.Delta"))) {
        ASSERT_TRUE(ground);
        EXPECT_EQ(ground->focusField, focus);
    }
}

TEST(SiteDefaults, NewDesignHasTheWaterAtItsDesignGroundLevel) {
    EXPECT_EQ(CInpJyoken{}.ELWF, kChannelWaterAtDesignGround);
}

INSTANTIATE_TEST_SUITE_P(Site, SiteChecks, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kuvelt
