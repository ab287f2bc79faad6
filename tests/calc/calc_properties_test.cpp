// Properties the engineering gives the calculation, checked over the example designs and
// generated ones rather than by hand examples: the depth examined only bounds the search for the
// virtual ground; a level or length between centimetres behaves like the centimetres around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

// The example designs, then `generated` valid generated designs: `check` runs on each with the
// design in the current records.
void ForEachDesign(int generated, const std::function<void()>& check) {
    for (const auto& e : std::filesystem::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".kvt") continue;
        SCOPED_TRACE(e.path().filename().string());
        int32_t code = 0;
        ASSERT_TRUE(ReadData(e.path().string(), code)) << code;
        check();
        if (testing::Test::HasFailure()) return;
    }
    int n = 0;
    for (uint64_t index = 0; n < generated; ++index) {
        if (load::FamilyOf(index) != load::Family::Valid) continue;
        const load::GeneratedDesign g = load::GenerateDesign(20261209, index);
        SCOPED_TRACE(testing::Message() << "generated design " << index);
        ++n;
        check();
        if (testing::Test::HasFailure()) return;
    }
}

struct Outcome {
    bool ok = false;
    std::vector<Message> messages;
    double ELDLX = 0;  // the virtual ground, to 0.01 m
};

Outcome Calculate() {
    ResetResultStore();
    Outcome o;
    o.ok = CalcMain(&o.messages);
    if (o.ok) o.ELDLX = gDL->ELDLX();
    return o;
}

// The results a depth examined below the virtual ground must not change: the virtual ground, the
// loads above it and every section's checks.
std::vector<double> Results() {
    std::vector<double> r{gDL->ELDLX(), gPressure->WL, gPressure->P(), gPressure->M(),
                          gPressure->Y()};
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= 30; ++s) {
            for (int32_t i = 1; i <= 5; ++i) r.push_back(gSectChang(k, s, i));
            for (int32_t i = 1; i <= 3; ++i) r.push_back(gSectStress(k, s, i));
            for (int32_t i = 1; i <= 5; ++i) r.push_back(gSectEmbed(k, s, i));
            for (int32_t i = 1; i <= 7; ++i) r.push_back(gSectDisp(k, s, i));
        }
    }
    return r;
}

void ReadExample(const char* name) {
    int32_t code = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / name).string(), code)) << code;
}

// The depth examined Z bounds the search for the virtual ground and nothing else. The clayey
// active pressure max(σv − 2C, σv/2) was evaluated at the ends of a layer only: where the two
// lines cross inside it the interpolated line cut the corner, so the virtual ground, the loads
// and Mmax moved with Z. Hand-worked for clay-increasing with a = 0, b = 18 (ELGL 4.0, ELDL 0.5,
// water 2.5, γ' = 6, q = 8.4, Pw = 19.6): below ELDL σv = 44.4 + 6z, so σv − 36 = σv/2 at
// σv = 72, z = 4.6 m, EL -4.10, where the layer is split. Above it the net pressure is
// (22.2 + 3z) + 19.6 − (36 + 6z) = 5.8 − 3z: zero at z = 1.933, EL -1.43 (not -4.54 at Z = 12,
// -6.22 at Z = 16). The loads above: 3.15 + 12.15 + 16.20 + 41.80 + 5.80 × 1.93 / 2 = 78.90 kN/m
// at h0 = 3.016 m; SP-ⅣW (β = 0.2531) gives Mmax = 288.0 kN·m/m.
TEST(CalcProperties, DepthExaminedBelowTheVirtualGroundChangesNothing) {
    ReadExample("clay-increasing.kvt");
    gInpJiban.Ca = 0;
    gInpJiban.Cb = 18;
    ASSERT_TRUE(Calculate().ok);
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), -1.43);
    EXPECT_DOUBLE_EQ(gPressure->P(), 78.90);
    EXPECT_DOUBLE_EQ(gPressure->Y(), 3.016);
    EXPECT_DOUBLE_EQ(gSectChang(kKindSteel, 10, item::kChangMmax), -288.0);
    for (const clsKh* kh : {&*gKhActive, &*gKhPassive}) {
        int split = 0;
        for (const clsKhJiban& l : kh->Jiban()) split += l.EU == -4.1;
        EXPECT_EQ(split, 1);
    }

    // The same over the examples, this design and generated ones: every Z from just below the
    // virtual ground to 99 m gives the results of Z = 99 m, to the bit for the examples and this
    // design; a generated design's virtual ground stays within the rounding of the deepest
    // layer's end values (see the level sweep below).
    int designs = 0, runs = 0;
    auto sweep = [&](bool exact) {
        gInpJyoken.Z = 99;
        const Outcome deepest = Calculate();
        if (!deepest.ok) return;
        const std::vector<double> want = Results();
        const double depth = gInpJyoken.ELDL - deepest.ELDLX;
        ++designs;
        for (double z = std::ceil((depth + 0.05) * 10) / 10; z < 99; z += exact ? 0.1 : 1.0) {
            SCOPED_TRACE(testing::Message() << "Z = " << z);
            gInpJyoken.Z = z;
            const Outcome o = Calculate();
            ++runs;
            ASSERT_TRUE(o.ok);
            if (exact) {
                ASSERT_EQ(Results(), want);
            } else {
                ASSERT_NEAR(o.ELDLX, deepest.ELDLX, 0.01 + 0.002 * depth + 1e-9);
            }
        }
    };
    sweep(true);
    int examples = 0;
    ForEachDesign(40, [&] { sweep(++examples <= 4); });
    EXPECT_GT(designs, 30);
    EXPECT_GT(runs, 5000);
}

// Every level and length of the design conditions swept every millimetre through windows of
// ±5 cm around the levels it meets (the water 5 mm under the ground surface or 3 mm above the
// design ground level splits layers between centimetres). A value between two centimetres must
// calculate when both of them do, fail as they fail, never fail without the message that says
// why, and find its virtual ground between theirs (one rounding step either side). The layer
// tables used to round such a split to the centimetre, so the pressure lists no longer met at
// the design ground level (ELDL = -0.003: "enlarge the depth examined" even at Z = 99) or lost a
// layer (ELWL = ELGL - 0.005: a failed calculation without a message).
TEST(CalcProperties, LevelsBetweenCentimetresBehaveLikeTheirNeighbours) {
    struct Field {
        const char* name;
        double CInpJyoken::*member;
        double CInpJyoken::*near[3];
        double lowest;  // the sweep stays at or above it (input range, a wall of 1 cm at least)
    };
    const CInpJyoken& c = gInpJyoken;
    const Field fields[] = {
        {"ELGL", &CInpJyoken::ELGL, {&CInpJyoken::ELGL, &CInpJyoken::ELWL}, -999},
        {"ELYU", &CInpJyoken::ELYU, {&CInpJyoken::ELYU, &CInpJyoken::ELGL}, -999},
        {"ELDL", &CInpJyoken::ELDL, {&CInpJyoken::ELDL, &CInpJyoken::ELWL}, -999},
        {"ELWL",
         &CInpJyoken::ELWL,
         {&CInpJyoken::ELWL, &CInpJyoken::ELGL, &CInpJyoken::ELDL},
         -999},
        {"Z", &CInpJyoken::Z, {&CInpJyoken::Z}, 1},
        {"K0X", &CInpJyoken::K0X, {&CInpJyoken::K0X}, 0},
        {"K2X1", &CInpJyoken::K2X1, {&CInpJyoken::K2X1}, 0},
        {"K2X2", &CInpJyoken::K2X2, {&CInpJyoken::K2X2}, 0.01},
        {"K2Ho", &CInpJyoken::K2Ho, {&CInpJyoken::K2Ho}, 0.01},
    };
    int between = 0, calculated = 0, lengths = 0;
    ForEachDesign(12, [&] {
        const CInpJyoken design = c;
        for (const Field& f : fields) {
            for (auto near : f.near) {
                if (near == nullptr) continue;
                std::map<long, Outcome> runs;  // by millimetre
                auto run = [&](long mm) -> const Outcome& {
                    auto it = runs.find(mm);
                    if (it != runs.end()) return it->second;
                    gInpJyoken = design;
                    gInpJyoken.*f.member = mm / 1000.0;
                    return runs[mm] = Calculate();
                };
                const long centre = std::lround(design.*near * 100) * 10;
                for (long mm = centre - 50; mm <= centre + 50; ++mm) {
                    const double v = mm / 1000.0;
                    const bool wall = f.member != &CInpJyoken::ELGL || v > design.ELDL + 0.005;
                    const bool ground = f.member != &CInpJyoken::ELDL || v < design.ELGL - 0.005;
                    if (mm % 10 == 0 || v < f.lowest || !wall || !ground) continue;
                    SCOPED_TRACE(testing::Message() << f.name << " = " << v);
                    const long below = mm - ((mm % 10) + 10) % 10;
                    const Outcome& a = run(below);
                    const Outcome& b = run(below + 10);
                    const Outcome& o = run(mm);
                    ++between;
                    calculated += o.ok;
                    if (!o.ok) {
                        ASSERT_FALSE(o.messages.empty()) << "a failure that does not say why";
                        EXPECT_TRUE((!a.ok && a.messages == o.messages) ||
                                    (!b.ok && b.messages == o.messages));
                        continue;
                    }
                    EXPECT_TRUE(a.ok || b.ok) << "calculates where neither neighbour does";
                    if (!a.ok || !b.ok) continue;
                    // One rounding step, and 0.2 % of the depth below the design ground level:
                    // the rounding of the deepest layer's end values (pressures to 0.01, the
                    // cohesion to 0.1) moves a deep crossing of a flat net pressure a little.
                    const double slack = 0.01 + 0.002 * std::fabs(design.ELDL - o.ELDLX) + 1e-9;
                    EXPECT_GE(o.ELDLX, std::min(a.ELDLX, b.ELDLX) - slack);
                    EXPECT_LE(o.ELDLX, std::max(a.ELDLX, b.ELDLX) + slack);
                }
                if (testing::Test::HasFailure()) return;
            }
        }
        gInpJyoken = design;
        // The length of a stored pile enters the excavation-bottom check only: every millimetre
        // of it has a result there.
        if (!gInpYaita.InpFlg || !Calculate().ok) return;
        const double L = gInpYaita.L;
        for (long mm = std::lround(L * 100) * 10 - 50; mm <= std::lround(L * 100) * 10 + 50; ++mm) {
            gInpYaita.L = mm / 1000.0;
            std::vector<Message> messages;
            EXPECT_TRUE(CalcNekiriAntei(&messages));
            EXPECT_TRUE(messages.empty()) << gInpYaita.L;
            ++lengths;
        }
        gInpYaita.L = L;
    });
    EXPECT_GT(between, 15000);
    EXPECT_GT(calculated, between * 3 / 4);
    EXPECT_GT(lengths, 500);
}

// The value a run hands out is the store as the run left it, item by item, with each flag true
// exactly where the store holds a non-zero flag; a stage the run did not reach is absent.
TEST(CalcProperties, SnapshotHoldsWhatTheStoreHolds) {
    using namespace item;
    int compared = 0;
    ForEachDesign(200, [&] {
        const bool ok = Calculate().ok;
        if (ok && gInpYaita.InpFlg) CalcNekiriAntei();
        const kuvelt::Results r = SnapshotResults();
        EXPECT_EQ(r.sections.Complete(), ok);
        if (!ok) return;
        ASSERT_TRUE(r.dl && r.pressure && r.spa && r.spp);
        EXPECT_EQ(r.dl->ELDLX(), gDL->ELDLX());
        EXPECT_EQ(*r.AdoptedVirtualGround(), AdoptedVirtualGround());
        EXPECT_EQ(r.ComputedVirtualGroundApart(), ComputedVirtualGroundApart());
        EXPECT_EQ(r.pressure->M(), gPressure->M());
        EXPECT_EQ(r.boiling.has_value(), gNekiriAnteiAs.Reached());
        EXPECT_EQ(r.heaving.has_value(), gNekiriAnteiAc.Reached());
        const auto flag = [](bool b) { return b ? 1.0 : 0.0; };
        for (PileKind k : kPileKinds) {
            const int32_t t = TableIndex(k);
            for (int32_t s = 1; s <= 31; ++s) {
                const ChangRow* c = r.sections.Chang(k, s);
                if (!c) {
                    EXPECT_EQ(r.sections.Disp(k, s), nullptr);
                    EXPECT_FALSE(r.sections.Passes(k, s));
                    break;
                }
                const StressRow& st = *r.sections.Stress(k, s);
                const EmbedRow& e = *r.sections.Embed(k, s);
                const DispRow& d = *r.sections.Disp(k, s);
                const std::vector<double> got{c->mmax, c->lm,    c->beta,    c->e1000,
                                              c->i,    st.value, st.modulus, flag(st.exceeds),
                                              e.ell,   e.lreq,   e.beta,     e.e1000,
                                              e.i,     d.delta1, d.delta2,   d.delta3,
                                              d.delta, d.e,      d.i,        d.beta,
                                              c->kh,   e.kh,     d.kh};
                std::vector<double> want;
                for (int32_t i = 1; i <= 5; ++i) want.push_back(gSectChang(t, s, i));
                for (int32_t i = 1; i <= 3; ++i) want.push_back(gSectStress(t, s, i));
                for (int32_t i = 1; i <= 5; ++i) want.push_back(gSectEmbed(t, s, i));
                for (int32_t i = 1; i <= 7; ++i) want.push_back(gSectDisp(t, s, i));
                for (int32_t i = 1; i <= 3; ++i) want.push_back(gSectKh(t, s, i));
                EXPECT_EQ(got, want) << KindCaption(k) << " " << s;
                EXPECT_EQ(r.sections.Passes(k, s), SectionPasses(k, s));
                EXPECT_EQ(r.sections.RequiredLength(k, s), RequiredLength(k, s));
                if (k == PileKind::Concrete) {
                    const ConcreteRow& l = *r.sections.Concrete(s);
                    EXPECT_EQ(
                        (std::vector<double>{l.moment, l.mc, flag(l.momentFails), l.lreq, l.lmin,
                                             l.lmax, flag(l.lengthFails), l.delta, l.deltaA,
                                             flag(l.deltaFails)}),
                        (std::vector<double>{gListC(s, 1), gListC(s, 2), gListC(s, 3), gListC(s, 4),
                                             gListC(s, 5), gListC(s, 6), gListC(s, 7), gListC(s, 8),
                                             gListC(s, 9), gListC(s, 10)}));
                } else {
                    const auto& list = k == PileKind::LightSteel ? gListLS : gListS;
                    const SteelRow& l = *r.sections.Steel(k, s);
                    std::vector<double> want7;
                    for (int32_t i = 1; i <= 7; ++i) want7.push_back(list(s, i));
                    EXPECT_EQ((std::vector<double>{l.sigma, l.sigmaA, flag(l.sigmaFails), l.lreq,
                                                   l.delta, l.deltaA, flag(l.deltaFails)}),
                              want7);
                }
                ++compared;
            }
        }
    });
    EXPECT_GT(compared, 1000);
}

// Every value of the section tables and result lists.
std::vector<double> SectionValues() {
    std::vector<double> r;
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= 30; ++s) {
            for (int32_t i = 1; i <= 5; ++i) r.push_back(gSectChang(k, s, i));
            for (int32_t i = 1; i <= 3; ++i) r.push_back(gSectStress(k, s, i));
            for (int32_t i = 1; i <= 5; ++i) r.push_back(gSectEmbed(k, s, i));
            for (int32_t i = 1; i <= 7; ++i) r.push_back(gSectDisp(k, s, i));
            for (int32_t i = 1; i <= 3; ++i) r.push_back(gSectKh(k, s, i));
        }
    }
    for (int32_t s = 1; s <= 30; ++s) {
        for (int32_t i = 1; i <= 10; ++i) r.push_back(gListC(s, i));
        for (int32_t i = 1; i <= 7; ++i) r.push_back(gListLS(s, i)), r.push_back(gListS(s, i));
    }
    return r;
}

// The excavation-bottom check of a pile 4 m longer than the wall: F, the verdict and the boiling
// table.
std::vector<double> StabilityValues() {
    gInpJyoken.Nekiri = 1;
    gInpYaita.L = gInpJyoken.ELYU - gInpJyoken.ELDL + 4.0;
    EXPECT_TRUE(CalcNekiriAntei());
    if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind != 0) {
        return {gNekiriAnteiAc->F(), double(gNekiriAnteiAc->Hantei())};
    }
    std::vector<double> r{gNekiriAnteiAs->F(), double(gNekiriAnteiAs->Hantei())};
    for (const CDim1x2& p : gNekiriAnteiAs->Ichiran()) r.push_back(p.Value2);
    return r;
}

// The one ground layer of the examples and of generated designs split into 2 to 10 layers of the
// same soil at random centimetres between the ground surface and the bottom of the depth
// examined (the cohesion of each layer going on from the layer above: b = a z + b at its top).
// A new top is a new boundary of both layer tables, where the cohesion is rounded to 0.1, the
// overburden and the pressures to 0.01 as at any boundary, instead of the virtual ground stage
// interpolating the pressure there to 0.1: the virtual ground may move by up to 0.02 m (more
// where the net pressure falls slowly, see below) and P by up to 1 %, nothing else. Given the loads
// (the split design's virtual ground, P and height), the section checks use Kh, EI and those loads
// only: with the same Kh in every layer each β is the uniform ground's closed form, so every
// section value and verdict is that of the one layer to the bit (compared by running the section
// passes of the one-layer design on the split design's loads). The stability check uses no loads:
// boiling (one γ' throughout) is unchanged to the bit, heaving (its overburden and face cohesion
// summed layer by layer) to binary noise.
TEST(CalcProperties, SplittingTheGroundIntoIdenticalLayersChangesOnlyRoundings) {
    std::mt19937 random(20261210);
    int designs = 0, heaving = 0;
    ForEachDesign(60, [&] {
        const CInpJiban one = gInpJiban;
        const Outcome whole = Calculate();
        if (!whole.ok || !one.Layers.empty()) return;
        const double P = gPressure->P();
        const std::vector<double> stability = StabilityValues();
        const bool sandy = LayerBelowDesignGround(one, gInpJyoken).Kind == 0;
        ++designs;
        heaving += !sandy;

        // Tops at distinct centimetres strictly between ELGL and ELDL - Z, descending.
        const long top = std::lround(gInpJyoken.ELGL * 100) - 1;
        const long bottom = std::lround((gInpJyoken.ELDL - gInpJyoken.Z) * 100) + 1;
        std::set<long, std::greater<>> cm;
        const std::size_t count = std::uniform_int_distribution<std::size_t>(1, 9)(random);
        while (cm.size() < count && top > bottom) {
            cm.insert(std::uniform_int_distribution<long>(bottom, top)(random));
        }
        for (long c : cm) {
            CInpJibanLayer l{c / 100.0, one.Kind, one.Gt, one.Gws, one.Fai, one.Ca, 0.0, one.KH};
            l.Cb = one.Ca * (gInpJyoken.ELGL - l.ELU) + one.Cb;
            gInpJiban.Layers.push_back(l);
        }
        SCOPED_TRACE(testing::Message() << cm.size() + 1 << " layers");
        const Outcome split = Calculate();
        ASSERT_TRUE(split.ok);
        // The cohesion rounded to 0.1 at a new boundary moves the net pressure there by up to
        // 4 × 0.05 (2c on both sides), the pressures by 0.01 each: where the net pressure falls
        // slowly (weak clay) that moves the crossing by more than 0.02 m.
        double slope = 0.0;
        for (const clsDLLoad& l : gDL->Pg()) {
            if (l.EU == gDL->ELDLXU() && l.H > 0) slope = std::fabs(l.PU - l.PL) / l.H;
        }
        ASSERT_GT(slope, 0.0);
        EXPECT_NEAR(split.ELDLX, whole.ELDLX, std::max(0.02, 0.01 + 0.22 / slope) + 1e-9);
        EXPECT_NEAR(gPressure->P(), P, 0.01 * std::fabs(P) + 1e-9);
        const std::vector<double> sections = SectionValues();
        const std::vector<double> splitStability = StabilityValues();
        if (sandy) {
            EXPECT_EQ(splitStability, stability);
        } else {
            ASSERT_EQ(splitStability.size(), stability.size());
            EXPECT_NEAR(splitStability[0], stability[0], 1e-12 * stability[0]);
            EXPECT_EQ(splitStability[1], stability[1]);
        }
        gInpJiban = one;
        ASSERT_TRUE(CalcSections());
        EXPECT_EQ(SectionValues(), sections);
    });
    EXPECT_GT(designs, 40);
    EXPECT_GT(heaving, 5);
}

}  // namespace
}  // namespace kuvelt
