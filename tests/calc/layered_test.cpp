// Layered ground, the channel water level and the wall friction, worked by hand through the whole
// calculation: earth pressures by layer, the virtual ground, the loads, β averaged over the layers
// and the excavation-bottom check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/calc_main.h"
#include "calc/layer_kh.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "model/design.h"

namespace kuvelt {
namespace {

// Sand (γt 18, γ' 9, φ 30°, Kh 3000) from the ground surface at 3.0 down to EL -2.0 over clay
// (γt 16, γ' 6, c = 2z + 10 from its top, Kh 1500), groundwater at 1.5 in the sand, design ground
// level 0.0, 10 m examined, no surcharge, γw 10, one steel section of I = 10000 cm4/m, Z = 1000
// cm3/m, E 2.0e8 and every joint efficiency 1 (EI = 20000 kN·m2).
void SandOverClay() {
    InitData();
    ResetResultStore();
    CInpJyoken& c = gInpJyoken;
    c.ELGL = c.ELYU = 3.0;
    c.ELDL = 0.0;
    c.ELWL = 1.5;
    c.Z = 10.0;
    c.Keijyo = 0;
    c.K0X = c.K0Q = 0.0;
    CInpJiban& g = gInpJiban;
    g = CInpJiban{};
    g.Kind = 0;
    g.Gt = 18;
    g.Gws = 9;
    g.Gw = 10;
    g.Fai = 30;
    g.Cb = 0;
    g.KH = 3000;
    g.Layers = {CInpJibanLayer{-2.0, 1, 16, 6, 0, 2, 10, 1500}};
    gInpZairyo.Esy = 2.0e8;
    gInpZairyo.AlphaIs = gInpZairyo.AlphaIz = gInpZairyo.AlphaId = gInpZairyo.AlphaZs = 1.0;
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    gInpSectS.Add("S", 10000, 1000, 10000, 1000);
}

std::vector<double> Column(const colSpJiban& j, double clsSpJiban::*m) {
    std::vector<double> v;
    for (const clsSpJiban& l : j) v.push_back(l.*m);
    return v;
}

// Active side, Ka = 0.2911 (φ 30°, δ 15°): 0 at 3.0; 27 × Ka = 7.86 at the water (1.5); 40.5 ×
// Ka = 11.79 at ELDL; 58.5 × Ka = 17.03 on the clay. Clay: σv − 2c = 58.5 − 20 = 38.5 above
// σv/2 = 29.25 at its top, and at -10.0 (σv 106.5, c 26) 54.5 above 53.25: no branch.
// Passive side, submerged (the water stands above ELDL), Kp = 4.8069: 18 × Kp = 86.52 at -2.0;
// clay 18 + 2 × 10 = 38 there, 66 + 52 = 118 at -10.0 (c measured from the clay's top).
// Residual water: DH 1.5, Pw 15. Net: 26.79 at ELDL, 17.03 + 15 − 86.52 = −54.49 at -2.0:
// ELDLX = R(−2 × 26.79 / 81.28, 2) = −0.66.
// Loads above it (WL −0.66): 5.90 (Y 2.66) + 5.90 (1.66) + 20.09 (1.16) + 8.84 (0.44) = 40.73 kN/m,
// M = 15.69 + 9.79 + 23.30 + 3.89 = 52.67, h0 = 52.67 / 40.73 = 1.293 m.
// β: 1.34 m of sand below the virtual ground, clay below; with d = 1/β reaching the clay,
// Kh(d) = (3000 × 1.34 + 1500 (d − 1.34)) / d and β⁴ = Kh / 80000: 1500 d⁴ + 2010 d³ = 80000,
// d = 2.42056, β = 0.413128, Kh = 2330.39. Mmax (t = 2βh0 + 1 = 2.06835) = −72.19 kN·m/m, σ =
// 72.2 N/mm2. Lreq = 3.0 + 0.66 + R(3 / 0.4131, 2) = 3.66 + 7.26 = 10.92 m. δ with H0 = 3.66:
// 0.022 + 0.045 + 0.005 = 0.072 m.
// Boiling (sand below ELDL), L = 8.0: D = 5.0, γ' = (9 × 2 + 6 × 3) / 5 = 7.2, Hw = 1.5,
// F = 2 × 7.2 × 5 / (1.5 × 10) = 4.8; at d = 1.5 (sand only) γ' = 9.
TEST(Layered, SandOverClayByHand) {
    SandOverClay();
    ASSERT_TRUE(CalcMain());
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::EU), (std::vector<double>{3.0, 1.5, 0.0, -2.0}));
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::PaL),
              (std::vector<double>{7.86, 11.79, 17.03, 54.5}));
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::PaU), (std::vector<double>{0, 7.86, 11.79, 38.5}));
    EXPECT_EQ(gSpa->Jiban().Item(3)->Layer, 1);
    EXPECT_EQ(gSpa->Jiban().Item(4)->Layer, 2);
    EXPECT_EQ(Column(gSpp->Jiban(), &clsSpJiban::PaU), (std::vector<double>{0, 38}));
    EXPECT_EQ(Column(gSpp->Jiban(), &clsSpJiban::PaL), (std::vector<double>{86.52, 118}));
    EXPECT_EQ(Column(gSpp->Jiban(), &clsSpJiban::CU), (std::vector<double>{0, 10}));
    EXPECT_EQ(gRWp->Pw(), 15.0);
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), -0.66);
    EXPECT_DOUBLE_EQ(gPressure->P(), 40.73);
    EXPECT_DOUBLE_EQ(gPressure->M(), 52.67);
    EXPECT_DOUBLE_EQ(gPressure->Y(), 1.293);

    EXPECT_NEAR(gSectChang(kKindSteel, 1, item::kChangBeta), 0.413128, 5e-7);
    EXPECT_NEAR(gSectKh(kKindSteel, 1, kKhChang), 2330.39, 0.005);
    EXPECT_DOUBLE_EQ(gSectChang(kKindSteel, 1, item::kChangMmax), -72.2);
    EXPECT_NEAR(gSectStress(kKindSteel, 1, item::kStressValue), 72.2, 1e-9);
    EXPECT_DOUBLE_EQ(gSectEmbed(kKindSteel, 1, item::kEmbedBeta), 0.4131);
    EXPECT_DOUBLE_EQ(gSectEmbed(kKindSteel, 1, item::kEmbedLreq), 10.92);
    EXPECT_DOUBLE_EQ(gSectDisp(kKindSteel, 1, item::kDisp), 0.072);
    EXPECT_EQ(gSectKh(kKindSteel, 1, kKhEmbed), gSectKh(kKindSteel, 1, kKhDisp));

    gInpJyoken.Nekiri = 1;
    gInpYaita.L = 8.0;
    ASSERT_TRUE(CalcNekiriAntei());
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->MeanGws(5.0), 7.2);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->F(), 4.8);
    EXPECT_EQ(gNekiriAnteiAs->MeanGws(1.5), 9.0);
}

// The channel water in front of the sand-over-clay wall (groundwater 1.5 unless given): the
// residual water acts between the groundwater and the channel water, the boiling head is their
// difference, and water standing above the design ground level submerges the passive side.
// ELWF 1.0: DH 0.5, Pw 5, a triangle 1.5-1.0 and 5 down to -10; F = 2 × 7.2 × 5 / (0.5 × 10) =
// 14.4. ELWF 2.0 above the groundwater: no residual water, no head (F 999). Groundwater -1.0
// below ELDL with the channel water at 0.5: the passive sand weighs γ' 9 throughout, 18 × Kp =
// 86.52 at -2.0, where the channel water at ELDL leaves its top metre dry: 27 × Kp = 129.79.
TEST(Layered, ChannelWaterLevel) {
    const struct {
        double ELWF, ELWL;
        double DH;
        bool waterLoad;
        double passiveWater, PpAtClay, F;
    } cases[] = {{kChannelWaterAtDesignGround, 1.5, 1.5, true, 1.5, 86.52, 4.8},
                 {1.0, 1.5, 0.5, true, 1.5, 86.52, 14.4},
                 {2.0, 1.5, -0.5, false, 2.0, 86.52, 999},
                 {0.5, -1.0, -1.5, false, 0.5, 86.52, 999},
                 {kChannelWaterAtDesignGround, -1.0, -1.0, false, -1.0, 129.79, 999}};
    for (const auto& t : cases) {
        SCOPED_TRACE(testing::Message() << t.ELWF << " " << t.ELWL);
        SandOverClay();
        gInpJyoken.ELWF = t.ELWF;
        gInpJyoken.ELWL = t.ELWL;
        ASSERT_TRUE(CalcMain());
        EXPECT_DOUBLE_EQ(gRWp->DH(), t.DH);
        EXPECT_EQ(gRWp->ELLWL, ChannelWaterLevel(gInpJyoken));
        // The residual water: a triangle from the groundwater down to the channel water, the
        // full pressure below it; nothing at all without a head.
        double most = 0.0;
        for (const clsDLLoad& w : gDL->Pw()) {
            most = std::max(most, w.PL);
            if (t.waterLoad && w.EU == gInpJyoken.ELWL) {
                EXPECT_EQ(w.EL, ChannelWaterLevel(gInpJyoken));
            }
        }
        EXPECT_EQ(most, t.waterLoad ? std::fabs(t.DH) * 10 : 0.0);
        EXPECT_EQ(gKhPassive->RWL, t.passiveWater);
        for (const clsSpJiban& j : gSpp->Jiban()) {
            if (j.EL == -2.0) {
                EXPECT_EQ(j.PaL, t.PpAtClay);
            }
        }
        gInpJyoken.Nekiri = 1;
        gInpYaita.L = 8.0;
        ASSERT_TRUE(CalcNekiriAntei());
        EXPECT_NEAR(gNekiriAnteiAs->F(), t.F, 1e-9);
    }
}

// The sand channel (ground 3.5, groundwater 2.0, sand γt 18, γ' 9, φ 30°, q 10, Kh 3000) with
// Kh 20000 from EL -1.5, a layer several times stiffer than the mean over 1/β: every section's β
// of Chang's method solves β = (Kh(1/β) / 4EI)^¼ with Kh the mean of the shares.
TEST(Layered, StiffLayerBelowTheVirtualGroundConverges) {
    InitData();
    ResetResultStore();
    CInpJyoken& c = gInpJyoken;
    c.ELGL = c.ELYU = 3.5;
    c.ELDL = 0.0;
    c.ELWL = 2.0;
    c.Z = 10.0;
    c.Keijyo = 0;
    c.K0X = 0.0;
    c.K0Q = 10.0;
    CInpJiban& g = gInpJiban;
    g.Kind = 0;
    g.Gt = 18;
    g.Gws = 9;
    g.Fai = 30;
    g.Ca = g.Cb = 0;
    g.KH = 3000;
    g.Layers = {CInpJibanLayer{-1.5, 0, 18, 9, 30, 0, 0, 20000}};
    ASSERT_TRUE(CalcMain());
    const std::vector<CInpJibanLayer> layers = GroundLayers(g, c.ELGL);
    const double ELV = AdoptedVirtualGround();
    int sections = 0;
    for (int32_t k = 1; k <= 3; ++k) {
        const double alpha = k == kKindConcrete ? 1.0 : gInpZairyo.AlphaIs;
        for (int32_t s = 1; gSectChang(k, s, item::kChangI) > 0; ++s) {
            const double beta = gSectChang(k, s, item::kChangBeta);
            const double kh = gSectKh(k, s, kKhChang);
            const double EI =
                gSectChang(k, s, item::kChangE) / 1000 * alpha * gSectChang(k, s, item::kChangI);
            const auto G = [&](double b) {
                return std::pow(MeanKhBelow(layers, ELV, 1.0 / b) / (4 * EI), 0.25);
            };
            EXPECT_EQ(kh, MeanKhBelow(layers, ELV, 1.0 / beta));
            EXPECT_NEAR(beta, G(beta), 1e-10);
            // The stiffest sections' 1/β stays above the stiff layer.
            EXPECT_GE(kh, 3000.0);
            EXPECT_LT(kh, 20000.0);
            ++sections;
        }
    }
    EXPECT_EQ(sections, 26);
}

}  // namespace
}  // namespace kuvelt
