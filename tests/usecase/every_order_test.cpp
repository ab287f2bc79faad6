// Whatever a window or a command ran before, and on whichever design, a command shows and prints
// what it gives for the current design alone: each command of the use-case layer is run in every
// order over changing designs (another file, an edit of the surcharge) and compared with the same
// command run on that design from a fresh program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "io/design_file.h"
#include "model/design.h"
#include "report/chapters/print_job.h"
#include "support/test_support.h"
#include "usecase/design_run.h"
#include "usecase/report_run.h"

namespace kuvelt {
namespace {

// What a user can see of the results: the virtual ground, the resultant, every list row, the
// stability check.
std::string StoreFingerprint() {
    std::ostringstream o;
    o.precision(17);
    o << gDL->ELDLX() << ' ' << gPressure->WL << ' ' << gPressure->P() << ' ' << gPressure->Y()
      << '\n';
    for (int32_t s = 1; s <= 30; ++s) {
        for (int32_t i = 1; i <= 10; ++i) o << gListC(s, i) << ' ';
        for (int32_t i = 1; i <= 7; ++i) o << gListLS(s, i) << ' ' << gListS(s, i) << ' ';
    }
    if (gInpJiban.Kind == 0) {
        o << "\nAs " << gNekiriAnteiAs->D << ' ' << gNekiriAnteiAs->F() << ' '
          << gNekiriAnteiAs->Hantei();
    } else {
        o << "\nAc " << gNekiriAnteiAc->Q << ' ' << gNekiriAnteiAc->D << ' ' << gNekiriAnteiAc->F()
          << ' ' << gNekiriAnteiAc->Hantei();
    }
    return o.str();
}

// The chapters as printed, with the names of the temporary figure files taken out.
std::string ChaptersFingerprint() {
    std::string all;
    for (int i = 0; i < print_job::kItems; ++i) all += test::ReadBytes(print_job::ChapterFile(i));
    return std::regex_replace(all, std::regex("~MT[A-Za-z0-9_]+"), "~MT");
}

struct Command {
    const char* name;
    std::function<std::string()> run;  // the fingerprint of what it leaves to be seen
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> c = {
        {"choice",
         [] {
             usecase::Calculate(usecase::Purpose::Choice);
             return StoreFingerprint();
         }},
        {"pick",
         [] {
             // The choice window's road: calculate, confirm a pick, then the stability check.
             usecase::Calculate(usecase::Purpose::Choice);
             usecase::CheckAndStorePick({PileKind::Steel, 9, 15.0},
                                        [](const Message&) { return true; });
             usecase::CheckStability();
             return StoreFingerprint();
         }},
        {"stability",
         [] {
             usecase::CheckStability();
             return StoreFingerprint().substr(StoreFingerprint().rfind('\n'));
         }},
        {"print",
         [] {
             usecase::Calculate(usecase::Purpose::Print);
             return StoreFingerprint();
         }},
        {"report",
         [] {
             const usecase::PrintRun r = usecase::PrepareReport();
             EXPECT_TRUE(r.calc.calculated);
             std::string f = ChaptersFingerprint();
             print_job::CloseReport();
             return f;
         }},
    };
    return c;
}

// The designs a session goes through: two example files and an edit of the first one's
// surcharge that no file holds.
const std::vector<std::pair<std::string, std::function<void()>>>& Designs() {
    static const std::vector<std::pair<std::string, std::function<void()>>> d = {
        {"clay-embankment.kvt", [] {}},
        {"sand-channel.kvt", [] {}},
        {"clay-embankment.kvt", [] { gInpJyoken.K2Q = 25.0; }},
    };
    return d;
}

void MakeCurrent(std::size_t design) {
    const auto& [file, edit] = Designs()[design];
    int32_t code = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / file).string(), code)) << code;
    edit();
}

TEST(EveryOrder, NoResultOfAnEarlierDesignOrEditReachesWhatIsShownOrPrinted) {
    const std::size_t nc = Commands().size(), nd = Designs().size();
    // Alone: each command on each design from a fresh program.
    std::vector<std::vector<std::string>> alone(nc, std::vector<std::string>(nd));
    for (std::size_t c = 0; c < nc; ++c) {
        for (std::size_t d = 0; d < nd; ++d) {
            ResetResultStore();
            MakeCurrent(d);
            alone[c][d] = Commands()[c].run();
        }
    }
    ASSERT_NE(alone[3][0], alone[3][2]) << "the edit must change the results";
    ASSERT_NE(alone[2][0], alone[2][2]) << "the edit must change the heaving check";

    // Every order of the commands, the design changing at every step.
    std::vector<std::size_t> order(nc);
    for (std::size_t i = 0; i < nc; ++i) order[i] = i;
    int sequences = 0;
    do {
        for (std::size_t start = 0; start < nd; ++start) {
            ResetResultStore();
            for (std::size_t step = 0; step < nc; ++step) {
                const std::size_t c = order[step], d = (start + step) % nd;
                MakeCurrent(d);
                EXPECT_EQ(Commands()[c].run(), alone[c][d])
                    << Commands()[c].name << " on design " << d << " at step " << step;
            }
            ++sequences;
        }
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(sequences, 120 * 3);
    InitData();
    ResetResultStore();
}

}  // namespace
}  // namespace kuvelt
