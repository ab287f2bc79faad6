// The moment, shear and displacement along the pile. One differential test over the examples
// and generated designs checks every registered section against what the rest of the program
// computes independently: the maximum moment and its depth of the section tables, the shear as
// the integral of the loads and the moment as the integral of the shear (by the trapezoid rule on
// the curve's own levels), the deflection's curvature against M / EI, and the head displacement
// against δ when the loads are lumped into the resultant. Then the inputs it must refuse or cut.
#include "calc/distribution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"
#include "support/test_support.h"
#include "usecase/design_run.h"

namespace kuvelt {
namespace {

// The load pressure at level z (kN/m2) of the layer holding it, 0 outside the loads.
double LoadAt(const DistributionInput& in, double z) {
    for (const DistributionLoad& q : in.loads) {
        if (z <= q.EU && z >= q.EL && q.EU > q.EL)
            return q.PU + (q.PL - q.PU) * (q.EU - z) / (q.EU - q.EL);
    }
    return 0.0;
}

struct Checked {
    int sections = 0, withLmOnPile = 0;
};

// Every property of one distribution against the section tables and the loads.
void CheckSection(PileKind kind, int32_t s, double L, Checked& seen) {
    SCOPED_TRACE(testing::Message() << KindCaption(kind) << " No." << s << " L=" << L);
    const auto in = DistributionInputFor(kind, s, L);
    ASSERT_TRUE(in.has_value());
    const ForceDistribution d = ComputeDistribution(*in);
    const int32_t k = TableIndex(kind);
    if (!(in->beta > 0) || !(in->K > 0)) return;  // the section's Chang call failed
    ASSERT_TRUE(d.note.empty()) << d.note;
    ASSERT_GE(d.z.size(), 201u);
    ASSERT_EQ(d.z.front(), in->head);
    ASSERT_EQ(d.z.back(), in->head - L);
    for (std::size_t i = 1; i < d.z.size(); ++i) ASSERT_LT(d.z[i], d.z[i - 1]);
    auto has = [&](double z) {
        for (double v : d.z)
            if (std::fabs(v - z) < 1e-9) return true;
        return false;
    };
    EXPECT_TRUE(has(in->ELV));
    for (const DistributionLoad& q : in->loads) {
        EXPECT_TRUE(has(q.EU)) << q.EU;
        EXPECT_TRUE(has(q.EL)) << q.EL;
    }
    ++seen.sections;
    // Head: no load above it, so neither shear nor moment.
    EXPECT_NEAR(d.S.front(), 0.0, 1e-9);
    EXPECT_NEAR(d.M.front(), 0.0, 1e-9);

    // The largest moment below ELV is the section's Mmax (rounded to 0.1 in the table) at lm,
    // where the shear vanishes.
    const double Mmax = gSectChang(k, s, item::kChangMmax);
    const double lm = gSectChang(k, s, item::kChangLm);
    if (d.lmOnPile) {
        ++seen.withLmOnPile;
        std::size_t at = 0;
        double big = -1;
        for (std::size_t i = 0; i < d.z.size(); ++i) {
            if (d.z[i] <= in->ELV && std::fabs(d.M[i]) > big) big = std::fabs(d.M[i]), at = i;
        }
        // Half of the last printed digit, and the 0.00001 of that digit the rounding helper adds.
        EXPECT_LE(std::fabs(big - std::fabs(Mmax)), 0.05 + 1.1e-6) << big << " vs " << Mmax;
        EXPECT_NEAR(in->ELV - d.z[at], lm, 0.01);
        EXPECT_LE(std::fabs(d.S[at]), 1e-9 * (1 + std::fabs(in->P)));
    }

    // Statics above ELV: S is the integral of the load (exact for a linear load), M the
    // integral of S (trapezoid rule: error dz^3/12 |S''| = dz^3/12 |dp/dz|).
    double maxLoad = 0, maxSlope = 0;
    for (const DistributionLoad& q : in->loads) {
        maxLoad = std::max({maxLoad, std::fabs(q.PU), std::fabs(q.PL)});
        if (q.EU - q.EL > 1e-9)
            maxSlope = std::max(maxSlope, std::fabs(q.PL - q.PU) / (q.EU - q.EL));
    }
    const double EI = in->K;
    std::size_t atELV = 0;
    for (std::size_t i = 1; i < d.z.size(); ++i) {
        const double za = d.z[i - 1], zb = d.z[i];
        if (zb == in->ELV) atELV = i;
        if (zb <= in->ELV + 1e-9) continue;
        const double dz = za - zb;
        const double pMid = LoadAt(*in, (za + zb) / 2);
        EXPECT_NEAR(d.S[i] - d.S[i - 1], pMid * dz, 1e-9 * (1 + std::fabs(d.S[i])));
        EXPECT_NEAR(d.M[i - 1] - d.M[i], (d.S[i] + d.S[i - 1]) / 2 * dz,
                    dz * dz * dz / 12 * maxSlope * 1.01 + 1e-9 * (1 + std::fabs(d.M[i])));
        // Curvature of the deflection (second difference where three levels are evenly
        // spaced, error dz^2/12 |y''''| = dz^2/12 |p| / EI) against -M / EI.
        if (i + 1 < d.z.size() && d.z[i + 1] > in->ELV + 1e-9 &&
            std::fabs((d.z[i] - d.z[i + 1]) - dz) < 1e-9) {
            const double curv = (d.y[i - 1] - 2 * d.y[i] + d.y[i + 1]) / 1000.0 / (dz * dz);
            EXPECT_NEAR(curv, -d.M[i] / EI,
                        dz * dz / 12 * maxLoad / EI * 1.01 + 1e-6 * (std::fabs(d.M[i]) + 1) / EI);
        }
    }
    // At ELV the pile in the ground takes Chang's head shear P and moment -P h0; the cantilever
    // above meets it there up to the rounding of the load table (Pi to 0.01, Yi, h0 to 1 mm).
    ASSERT_GT(atELV, 0u);
    const double h = in->h0 >= 0.001 ? in->h0 : 0.0;
    EXPECT_NEAR(d.S[atELV], in->P, 1e-9 * (1 + std::fabs(in->P)));
    EXPECT_NEAR(d.M[atELV], -in->P * h, 1e-9 * (1 + std::fabs(in->P * h)));
    const double dz = d.z[atELV - 1] - in->ELV;
    const double rows = double(gPressure->Detail().Count());
    EXPECT_NEAR(d.M[atELV - 1] - (d.S[atELV - 1] + d.S[atELV]) / 2 * dz, d.M[atELV],
                rows * 0.01 * (1 + in->head - in->ELV) + 0.001 * std::fabs(in->P) +
                    maxSlope * dz * dz * dz + 0.01 * rows * dz);
    // The deflection line has no kink there: its slope from either side (one-sided steps,
    // corrected by the curvature -M / EI at ELV) agrees to 1 % and the steps' third-order
    // term; a ground-line rotation lost or of the wrong sign would be off by all of it.
    if (d.hasY && atELV + 1 < d.z.size()) {
        const double db = in->ELV - d.z[atELV + 1];
        const double curv = -d.M[atELV] / EI * 1000.0;  // mm/m2
        const double above = (d.y[atELV - 1] - d.y[atELV]) / dz - curv * dz / 2;
        const double below = (d.y[atELV] - d.y[atELV + 1]) / db + curv * db / 2;
        EXPECT_NEAR(
            above, below,
            1000.0 * std::fabs(in->P) / EI * (dz * dz + db * db) + 0.01 * std::fabs(below) + 1e-9);
    }
}

// The program's whole run on the current design, then every registered section at its
// required length (which reaches 3/β below ELV, past lm) and at a short one.
void CheckCurrentDesign(Checked& seen) {
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Batch);
    if (!run.calculated) return;
    for (PileKind kind : kPileKinds) {
        for (int32_t s = 1; s <= CatalogueCount(kind); ++s) {
            const double Lreq = RequiredLength(kind, s);
            if (!(Lreq > 0) || !std::isfinite(Lreq)) continue;
            CheckSection(kind, s, Lreq, seen);
            if (testing::Test::HasFailure()) return;
        }
    }
}

TEST(Distribution, CurvesAgreeWithTheSectionTablesAndTheLoads) {
    Checked seen;
    for (const auto& e : std::filesystem::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".kvt") continue;
        SCOPED_TRACE(e.path().filename().string());
        int32_t code = 0;
        ASSERT_TRUE(ReadData(e.path().string(), code)) << code;
        CheckCurrentDesign(seen);
        if (HasFailure()) return;
    }
    int designs = 0;
    for (uint64_t index = 0; designs < 150; ++index) {
        if (load::FamilyOf(index) != load::Family::Valid) continue;
        const load::GeneratedDesign g = load::GenerateDesign(20261209, index);
        SCOPED_TRACE(testing::Message() << "design " << index << " " << g.what);
        ++designs;
        CheckCurrentDesign(seen);
        if (HasFailure()) return;
    }
    EXPECT_GT(seen.sections, 3000);
    EXPECT_GT(seen.withLmOnPile, 3000);
    InitData();
}

// The head displacement of the curve, with the loads lumped into one thin band at the
// resultant's height, is δ1 + δ2 + δ3 of the displacement check (before rounding).
TEST(Distribution, HeadDisplacementOfALumpedLoadIsDelta) {
    const double P = 60, Y = 1.7, H0 = 4.2, K = 2.0e8 * 2.75e-4 * 0.8, KH = 3000;
    const double b = std::pow(KH * 0.25 / K, 0.25);
    DistributionInput in;
    in.head = 3.0;
    in.ELV = in.head - H0;
    in.L = 15;
    const double band = 1e-4;
    in.loads = {{in.ELV + Y + band / 2, in.ELV + Y - band / 2, P / band, P / band}};
    in.P = P;
    in.h0 = Y;
    in.beta = b;
    in.lm = std::atan(1 / (1 + 2 * b * Y)) / b;
    in.K = K;
    in.betaD = b;
    const ForceDistribution d = ComputeDistribution(in);
    const double d1 = P * (1 + b * Y) / (2 * std::pow(b, 3) * K);
    const double d2 = P * H0 * (1 + 2 * b * Y) / (2 * b * b * K);
    const double d3 = Y * Y * P * (3 * H0 - Y) / (6 * K);
    ASSERT_FALSE(d.y.empty());
    EXPECT_NEAR(d.y.front(), (d1 + d2 + d3) * 1000, 1e-4 * (d1 + d2 + d3) * 1000);
    // The same loads spread over the wall deflect the head more than their resultant: not equal.
    in.loads = {{in.ELV + 2 * Y, in.ELV, 0, P / Y}};
    const ForceDistribution spread = ComputeDistribution(in);
    EXPECT_GT(std::fabs(spread.y.front() - (d1 + d2 + d3) * 1000), 0.01);
}

TEST(Distribution, InputsItCannotDrawSayWhy) {
    DistributionInput ok;
    ok.head = 4;
    ok.ELV = -1;
    ok.L = 12;
    ok.loads = {{3.5, -1, 0, 30}};
    ok.P = 67.5;
    ok.h0 = 1.5;
    ok.beta = 0.4;
    ok.lm = 0.9;
    ok.K = 4.4e4;
    ok.betaD = 0.4;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        void (*edit)(DistributionInput&, double);
        bool points, below, hasY;
    };
    const Case cases[] = {
        {"whole", [](DistributionInput&, double) {}, true, true, true},
        {"shorter than H'", [](DistributionInput& i, double) { i.L = 3.0; }, true, false, false},
        {"tip at ELV", [](DistributionInput& i, double) { i.L = 5.0; }, true, false, false},
        {"no beta", [](DistributionInput& i, double) { i.beta = 0; }, true, false, true},
        {"no rigidity", [](DistributionInput& i, double) { i.K = 0; }, true, true, false},
        {"zero length", [](DistributionInput& i, double) { i.L = 0; }, false, false, false},
        {"head below ELV", [](DistributionInput& i, double) { i.ELV = 5; }, false, false, false},
        {"NaN load", [](DistributionInput& i, double n) { i.P = n; }, false, false, false},
        {"overflowing load", [](DistributionInput& i, double) { i.loads[0].PL = 1e308; }, false,
         false, false},
        {"no load", [](DistributionInput& i, double) { i.loads.clear(), i.P = 0; }, true, true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DistributionInput in = ok;
        c.edit(in, nan);
        const ForceDistribution d = ComputeDistribution(in);
        EXPECT_EQ(!d.z.empty(), c.points);
        EXPECT_EQ(d.below, c.below);
        EXPECT_EQ(d.hasY, c.hasY);
        EXPECT_EQ(d.note.empty(), c.below && c.hasY);
        ASSERT_EQ(d.M.size(), d.z.size());
        ASSERT_EQ(d.S.size(), d.z.size());
        ASSERT_EQ(d.y.size(), d.z.size());
        for (std::size_t i = 0; i < d.z.size(); ++i) {
            // Nothing below ELV unless Chang's part is drawn; what is given is a number.
            if (!d.below && d.z[i] < in.ELV - 1e-6) {
                EXPECT_TRUE(std::isnan(d.M[i]) && std::isnan(d.S[i]));
            } else {
                EXPECT_TRUE(std::isfinite(d.M[i]) && std::isfinite(d.S[i]));
            }
            EXPECT_EQ(std::isfinite(d.y[i]), d.hasY);
        }
    }
    // Shorter than H': the curve stops at the tip with the loads above it.
    DistributionInput shortPile = ok;
    shortPile.L = 3.0;
    const ForceDistribution d = ComputeDistribution(shortPile);
    EXPECT_EQ(d.z.back(), 1.0);
    EXPECT_NE(d.note.find("壁高Ｈ'より短く"), std::string::npos);
    EXPECT_NEAR(d.S.back(), 2.5 * (2.5 / 4.5 * 30) / 2, 1e-9);
}

}  // namespace
}  // namespace kuvelt
