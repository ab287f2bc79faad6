#include "chapters_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt::test {

void PrintJobFixture::SetUp() {
    basResOutPrn::SetReportTempFolder(tmp.path().string());
    basResOutPrn::ResetPrintJob();
    // Heading numbering as a fresh program has it: a test that sets styles or margins must not
    // change the headings of the next one.
    basResOutPrn::LoadNumbering("/nonexistent/Kuvelt.INI");
}

void PrintJobFixture::TearDown() {
    basResOutPrn::DeleteAllReportFiles();
    basResOutPrn::SetReportTempFolder("");
    basResOutPrn::SetReportDataFolder("");
}

const std::vector<ReportDesign>& ReportDesigns() {
    static const std::vector<ReportDesign> designs = {
        {"SandyHorizontalConcrete",
         [] {
             auto& j = gInpJyoken;
             j.ELGL = 2.0, j.ELYU = 2.2, j.ELDL = 0.5, j.ELWL = 1.0, j.Z = 8;
             j.Keijyo = 0, j.K0X = 1.5, j.K0Q = 10;
             gInpJiban.Kind = 0, gInpJiban.KH = 6000;
         },
         0, 3},
        {"SandySlopeLightSteel",
         [] {
             auto& j = gInpJyoken;
             j.ELGL = 3.0, j.ELYU = 3.0, j.ELDL = 0.0, j.ELWL = 2.0, j.Z = 10;
             j.Keijyo = 1, j.K1m = 3, j.K1Q = 5;
             gInpJiban.Kind = 0, gInpJiban.KH = 4000;
         },
         1, 11},
        {"ClayTrapezoidSteel",
         [] {
             auto& j = gInpJyoken;
             j.ELGL = 4.0, j.ELYU = 4.0, j.ELDL = 0.0, j.ELWL = 3.0, j.Z = 12;
             j.Keijyo = 2, j.K2X1 = 1, j.K2X2 = 2, j.K2Ho = 1, j.K2Gs = 18, j.K2Q = 10;
             auto& g = gInpJiban;
             g.Kind = 1, g.Gt = 17, g.Gws = 7, g.Ca = 2, g.Cb = 15, g.KH = 3000;
         },
         2, 6},
        {"ClayFarCrestConstantCohesion",
         [] {
             auto& j = gInpJyoken;
             j.ELGL = 3.0, j.ELYU = 3.2, j.ELDL = 0.0, j.ELWL = 1.0, j.Z = 10;
             j.Keijyo = 2, j.K2X1 = 3, j.K2X2 = 2, j.K2Ho = 1, j.K2Gs = 18, j.K2Q = 10;
             auto& g = gInpJiban;
             g.Kind = 1, g.Gt = 18, g.Gws = 8, g.Ca = 0, g.Cb = 25, g.KH = 5000;
         },
         2, 3},
        {"SandyWithoutStabilityCheck",
         [] {
             auto& j = gInpJyoken;
             j.ELGL = 3.5, j.ELYU = 3.5, j.ELDL = 0.0, j.ELWL = 2.0, j.Nekiri = 0;
             j.Keijyo = 0, j.K0X = 0, j.K0Q = 10;
             gInpJiban.Kind = 0, gInpJiban.KH = 3000, gInpJiban.Gws = 9;
         },
         2, 8},
    };
    return designs;
}

ReportDesign LayeredDesign() {
    return {"SandClaySandClay",
            [] {
                auto& j = gInpJyoken;
                j.ELGL = 3.0, j.ELYU = 3.2, j.ELDL = 0.0, j.ELWL = 1.5, j.Z = 10, j.ELWF = 0.5;
                j.Keijyo = 0, j.K0X = 1.0, j.K0Q = 10;
                auto& g = gInpJiban;
                g.Kind = 0, g.Gt = 18, g.Gws = 9, g.Fai = 30, g.KH = 4000;
                g.DeltaA = 20, g.DeltaP = 15;
                g.Layers = {CInpJibanLayer{1.5, 1, 17, 7, 0, 2, 20, 2000},
                            CInpJibanLayer{0.0, 0, 19, 10, 0, 0, 0, 4000},
                            CInpJibanLayer{-2.0, 1, 17, 7, 0, 2, 20, 12000}};
                g.Layers[1].Fai = 32;
            },
            2, 8};
}

Results LayeredResults() {
    Results r = SnapshotResults();
    const std::vector<CInpJibanLayer> layers = GroundLayers(gInpJiban, gInpJyoken.ELGL);
    for (colSpJiban* side : {&r.spa->Jiban(), &r.spp->Jiban()}) {
        for (int32_t i = 1; i <= side->Count(); ++i) {
            clsSpJiban& p = *side->Item(i);
            p.Kind = layers[LayerIndexAt(layers, p.EU)].Kind;
        }
    }
    r.spa->Delta = gInpJiban.DeltaA;
    r.spp->Delta = -gInpJiban.DeltaP;
    r.rwp->ELLWL = ChannelWaterLevel(gInpJyoken);
    return r;
}

bool Prepare(const ReportDesign& d) {
    InitData();
    d.setup();
    ResetResultStore();
    if (!CalcMain()) {
        ADD_FAILURE() << d.name << ": the calculation failed";
        return false;
    }
    const int k = d.yaita + 1;
    const double lreq = gSectEmbed(k, d.sect, 2);
    const double h = gInpJyoken.ELGL - gDL->ELDLX();
    const double L = std::ceil(lreq * 2) / 2 + 0.5;
    StoreChoice(*KindOfChoice(d.yaita), d.sect, h, L - h, L);
    CalcNekiriAntei();
    return true;
}

int ForEachExample(const std::function<void(const std::string& name)>& body) {
    std::vector<std::filesystem::path> paths;
    for (const auto& e : std::filesystem::directory_iterator(SourceDir() / "examples")) {
        if (e.path().extension() == ".kvt") paths.push_back(e.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const std::filesystem::path& path : paths) {
        const std::string name = path.filename().string();
        SCOPED_TRACE(name);
        int32_t err = 0;
        if (!ReadData(path.string(), err)) {
            ADD_FAILURE() << "the example does not read: " << err;
            continue;
        }
        ResetResultStore();
        if (!CalcMain()) {
            ADD_FAILURE() << "the example does not calculate";
            continue;
        }
        body(name);
    }
    return static_cast<int>(paths.size());
}

std::string ReadUtf8(const std::string& path) { return cp932::ToUtf8(ReadBytes(path)); }

std::string WithoutOptionalMarks(const std::string& bytes) {
    std::string out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 2;
        const std::string_view line(bytes.data() + at, next - at);
        if (line.rfind(basResOutPrn::kOptionalBlockBegin, 0) != 0 &&
            line.rfind(basResOutPrn::kOptionalBlockEnd, 0) != 0)
            out += line;
        at = next;
    }
    return out;
}

int PageBreaks(const std::string& bytes) {
    return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\x0C'));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int Count(const std::string& text, const std::string& part) {
    int k = 0;
    for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++k;
    return k;
}

std::string RunWriter(Writer writer, const Results& results, bool expectOk) {
    basResOutPrn::CurrentPrintFile = basResOutPrn::NewPrintFile();
    std::string error;
    EXPECT_EQ(writer(results, &error), expectOk) << error;
    return ReadUtf8(basResOutPrn::CurrentPrintFile);
}

std::string RunWriter(Writer writer, bool expectOk) {
    return RunWriter(writer, SnapshotResults(), expectOk);
}

std::string Pic(double v, const char* picture) {
    return basResOutPrn::FormatNumberField(v, picture);
}

void PrintTo(const ReportDesign& d, std::ostream* os) { *os << d.name; }

}  // namespace kuvelt::test
