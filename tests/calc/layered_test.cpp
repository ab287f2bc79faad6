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

// A wall whose head stands at the ground surface `elgl`, design ground level 0.0, groundwater at
// `elwl`, 10 m examined, no surcharge; a first layer of sand (γt 18, γ' 9, φ 30°, Kh 3000) over
// the `below` layers.
void Wall(double elgl, double elwl, std::vector<CInpJibanLayer> below) {
    InitData();
    ResetResultStore();
    CInpJyoken& c = gInpJyoken;
    c.ELGL = c.ELYU = elgl;
    c.ELDL = 0.0;
    c.ELWL = elwl;
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
    g.Layers = std::move(below);
}

// One steel section of I = 10000 cm4/m, Z = 1000 cm3/m, E 2.0e8 and every joint efficiency 1
// (EI = 20000 kN·m2).
void OneSteelSection() {
    gInpZairyo.Esy = 2.0e8;
    gInpZairyo.AlphaIs = gInpZairyo.AlphaIz = gInpZairyo.AlphaId = gInpZairyo.AlphaZs = 1.0;
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    gInpSectS.Add("S", 10000, 1000, 10000, 1000);
}

// The sand from the ground surface at 3.0 down to EL -2.0 over clay (γt 16, γ' 6, c = 2z + 10
// from its top, Kh 1500), groundwater at 1.5 in the sand.
void SandOverClay() {
    Wall(3.0, 1.5, {CInpJibanLayer{-2.0, 1, 16, 6, 0, 2, 10, 1500}});
    OneSteelSection();
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

// Three layers: the sand from 4.0 down to 2.5, clay (γt 16, γ' 6, c = z + 10 from its top, Kh
// 2000) down to -6.0, dense sand (γt 19, γ' 10, φ 35°, Kh 8000) below; groundwater at 1.0 in the
// clay; heaving is the check, as clay lies below the design ground level.
// Active side: the sand 0 → 27 × 0.2911 = 7.86 at 2.5. The clay's top takes σv/2 (13.5 against
// 27 − 2 × 10 = 7); σv/2 − 2c = −6.5 + (8 − 2) z is zero at z = 1.083: the branch at 1.42, where
// σv = 27 + 16 × 1.08 = 44.28, c = 11.1, so 22.14 (σv/2) on both sides; 51 − 2 × 11.5 = 28 at the
// water (1.0), 57 − 25 = 32 at ELDL, 93 − 37 = 56 at -6.0 (c 18.5). Dense sand, Ka 0.2393:
// 93 × Ka = 22.25 at -6.0, 133 × Ka = 31.83 at -10.0.
// Passive side, submerged, the clay's cohesion from its own top: 0 + 2 × 12.5 = 25 at ELDL,
// 36 + 2 × 18.5 = 73 at -6.0; the dense sand, Kp 6.3314: 36 × Kp = 227.93, 76 × Kp = 481.19.
// Residual water DH 1.0, Pw 10. Net at ELDL 32 + 10 − 25 = 17, at -6.0 56 + 10 − 73 = −7:
// ELDLX = −6 × 17 / 24 = −4.25.
// Loads above it: 5.90 (Y 7.25), 7.29 (6.39), 11.96 (6.03), 4.65 (5.53), 5.88 (5.39), 14.00
// (4.917), 21.00 (4.583), 36.13 (2.833): P = 106.81, M = 486.32, h0 = 4.553.
// β: 1.75 m of clay below the virtual ground, the dense sand below; with d = 1/β,
// Kh(d) = (2000 × 1.75 + 8000 (d − 1.75)) / d and β⁴ = Kh / 80000: d = 2.22291, β = 0.449861,
// Kh = 3276.46. Mmax (t = 2βh0 + 1 = 5.09652) = −507.96 → −508.0. Lreq = 8.25 + R(3 / 0.4499, 2)
// = 14.92 m. δ with H0 = 8.25: 0.089 + 0.555 + 0.373 = 1.017 m.
// Heaving: W = 1.5 × 18 + 1.5 × 16 + 1.0 × (6 + 10) = 67 above ELDL; c0 = 2.5 + 10 = 12.5 and
// a = 1 of the clay below it; the face above it, clay from 2.5 to 0.0, Σc·h = 28.125:
// F = 2 / 67 × (12.5π + 2√(2 × 1 × 28.125)) = 1.6200.
TEST(Layered, SandClayDenseSandByHand) {
    Wall(4.0, 1.0,
         {CInpJibanLayer{2.5, 1, 16, 6, 0, 1, 10, 2000},
          CInpJibanLayer{-6.0, 0, 19, 10, 35, 0, 0, 8000}});
    OneSteelSection();
    ASSERT_TRUE(CalcMain());
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::EU),
              (std::vector<double>{4.0, 2.5, 1.42, 1.0, 0.0, -6.0}));
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::PaU),
              (std::vector<double>{0, 13.5, 22.14, 28, 32, 22.25}));
    EXPECT_EQ(Column(gSpa->Jiban(), &clsSpJiban::PaL),
              (std::vector<double>{7.86, 22.14, 28, 32, 56, 31.83}));
    EXPECT_EQ(Column(gSpp->Jiban(), &clsSpJiban::PaU), (std::vector<double>{25, 227.93}));
    EXPECT_EQ(Column(gSpp->Jiban(), &clsSpJiban::PaL), (std::vector<double>{73, 481.19}));
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), -4.25);
    EXPECT_DOUBLE_EQ(gPressure->P(), 106.81);
    EXPECT_DOUBLE_EQ(gPressure->M(), 486.32);
    EXPECT_DOUBLE_EQ(gPressure->Y(), 4.553);

    EXPECT_NEAR(gSectChang(kKindSteel, 1, item::kChangBeta), 0.449861, 5e-7);
    EXPECT_NEAR(gSectKh(kKindSteel, 1, kKhChang), 3276.46, 0.005);
    EXPECT_DOUBLE_EQ(gSectChang(kKindSteel, 1, item::kChangMmax), -508.0);
    EXPECT_DOUBLE_EQ(gSectEmbed(kKindSteel, 1, item::kEmbedLreq), 14.92);
    EXPECT_DOUBLE_EQ(gSectDisp(kKindSteel, 1, item::kDisp), 1.017);

    gInpJyoken.Nekiri = 1;
    gInpYaita.L = 15.0;
    ASSERT_TRUE(CalcNekiriAntei());
    EXPECT_NEAR(gNekiriAnteiAc->F(), 1.6200, 5e-5);
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
    Wall(3.5, 2.0, {CInpJibanLayer{-1.5, 0, 18, 9, 30, 0, 0, 20000}});
    gInpJyoken.K0Q = 10.0;
    ASSERT_TRUE(CalcMain());
    const std::vector<CInpJibanLayer> layers = GroundLayers(gInpJiban, gInpJyoken.ELGL);
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
