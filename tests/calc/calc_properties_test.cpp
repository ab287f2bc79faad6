// Properties the engineering gives the calculation, checked over the example designs and
// generated ones rather than by hand examples: a level or length between centimetres behaves like
// the centimetres around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
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

}  // namespace
}  // namespace kuvelt
