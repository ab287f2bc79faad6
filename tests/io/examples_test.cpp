// The example designs in examples/ are built here and must equal, byte for byte, what WriteData
// writes for them. Run with KUVELT_WRITE_EXAMPLES=1 to (re)write the files after a change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "io/design_file.h"
#include "model/design.h"
#include "model/ranges.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;

void Confirmed() {
    gInpJyoken.InpFlg = true;
    gInpJiban.InpFlg = true;
}

// The sheet pile chosen in the choice window: a section and length passing every check (the
// command-line tests check that they do).
void Chosen(int32_t yaita, int32_t sect, double H, double D, double L) {
    gInpYaita = CInpYaita{true, yaita, sect, H, D, L};
}

// A 3.5 m channel wall in sand with groundwater and a horizontal surcharge.
void SandChannel() {
    InitData();
    CInpJyoken& j = gInpJyoken;
    j.Title = "砂質土地盤の水路護岸（H=3.5m、水平載荷）";
    j.ELGL = 3.5;
    j.ELYU = 3.5;
    j.ELDL = 0.0;
    j.ELWL = 2.0;
    j.Z = 10;
    j.Keijyo = 0;
    j.K0X = 0;
    j.K0Q = 10;
    CInpJiban& g = gInpJiban;
    g.Kind = 0;
    g.Gt = 18;
    g.Gws = 9;
    g.Gw = 9.8;
    g.Fai = 30;
    g.Ca = 0;
    g.Cb = 0;
    g.KH = 3000;
    Confirmed();
    Chosen(2, 7, 4.38, 9.62, 14);
}

// Clayey ground behind a trapezoid embankment; cohesion constant with depth.
void ClayEmbankment() {
    InitData();
    CInpJyoken& j = gInpJyoken;
    j.Title = "粘性土地盤・台形盛土背面の水路壁";
    j.ELGL = 3.0;
    j.ELYU = 3.2;
    j.ELDL = 0.0;
    j.ELWL = 1.5;
    j.Z = 10;
    j.Keijyo = 2;
    j.K2X1 = 0.5;
    j.K2X2 = 2.0;
    j.K2Ho = 1.5;
    j.K2Gs = 18;
    j.K2Q = 5;
    j.Fsh = 1.2;
    CInpJiban& g = gInpJiban;
    g.Kind = 1;
    g.Gt = 17;
    g.Gws = 7;
    g.Gw = 9.8;
    g.Fai = 0;
    g.Ca = 0;
    g.Cb = 40;
    g.KH = 2000;
    Confirmed();
    Chosen(2, 8, 3.7, 10.8, 14.5);
}

// Sand behind a constant slope of 1:2 with a surcharge on it.
void SlopeSand() {
    InitData();
    CInpJyoken& j = gInpJyoken;
    j.Title = "一定勾配(1:2)背面の砂質土護岸";
    j.ELGL = 3.0;
    j.ELYU = 3.0;
    j.ELDL = 0.0;
    j.ELWL = 1.0;
    j.Z = 10;
    j.Keijyo = 1;
    j.K1m = 2;
    j.K1Q = 5;
    CInpJiban& g = gInpJiban;
    g.Kind = 0;
    g.Gt = 18;
    g.Gws = 10;
    g.Gw = 9.8;
    g.Fai = 32;
    g.Ca = 0;
    g.Cb = 0;
    g.KH = 4000;
    Confirmed();
    Chosen(2, 4, 3.66, 6.84, 10.5);
}

// Clayey ground whose cohesion grows with depth (Ca > 0).
void ClayIncreasing() {
    InitData();
    CInpJyoken& j = gInpJyoken;
    j.Title = "粘着力が深さとともに増加する粘性土地盤";
    j.ELGL = 4.0;
    j.ELYU = 4.0;
    j.ELDL = 0.5;
    j.ELWL = 2.5;
    j.Z = 12;
    j.Keijyo = 0;
    j.K0X = 0.5;
    j.K0Q = 10;
    CInpJiban& g = gInpJiban;
    g.Kind = 1;
    g.Gt = 16;
    g.Gws = 6;
    g.Gw = 9.8;
    g.Fai = 0;
    g.Ca = 2;
    g.Cb = 20;
    g.KH = 1500;
    Confirmed();
    Chosen(2, 10, 4, 13, 17);
}

// A layered site: sand over a clay whose cohesion grows with depth, a dense sand below, and water
// standing 0.8 m deep in the channel.
void LayeredChannel() {
    SandChannel();
    CInpJyoken& j = gInpJyoken;
    j.Title = "砂と粘土の互層地盤の水路護岸（H=3.0m、前面水位+0.80m）";
    j.ELGL = 3.0;
    j.ELYU = 3.2;
    j.ELDL = 0.0;
    j.ELWL = 2.0;
    j.Z = 12;
    j.ELWF = 0.8;
    gInpJiban.Fai = 30;
    gInpJiban.KH = 3000;
    gInpJiban.Gws = 9;
    gInpJiban.Layers = {CInpJibanLayer{1.0, 1, 16, 6, 0, 1.5, 30, 2000},
                        CInpJibanLayer{-4.0, 0, 19, 10, 35, 0, 0, 10000}};
    Chosen(2, 6, 3.7, 9.3, 13);
}

const std::map<std::string, std::function<void()>>& Builders() {
    static const std::map<std::string, std::function<void()>> b = {
        {"sand-channel.kvt", SandChannel},       {"clay-embankment.kvt", ClayEmbankment},
        {"slope-sand.kvt", SlopeSand},           {"clay-increasing.kvt", ClayIncreasing},
        {"layered-channel.kvt", LayeredChannel},
    };
    return b;
}

TEST(Examples, FilesAreWhatWriteDataWritesForThem) {
    const fs::path folder = test::SourceDir() / "examples";
    const bool regenerate = std::getenv("KUVELT_WRITE_EXAMPLES") != nullptr;
    for (const auto& [name, build] : Builders()) {
        build();
        const std::string path = (folder / name).string();
        if (regenerate) {
            int32_t err = 0;
            ASSERT_TRUE(WriteData(path, err)) << name << " " << err;
        }
        ASSERT_TRUE(fs::exists(path)) << name;
        EXPECT_EQ(test::ReadBytes(path), DesignToBytes()) << name;

        // Inputs a user could have typed, confirmed in the three condition windows.
        for (const DesignField& f : DesignFields()) {
            if (f.record == Record::Yaita || f.type == FieldType::Rows) continue;
            void* r = CurrentRecord(f.record);
            if (f.HasInput()) {
                EXPECT_TRUE(InRange(f, NumberOf(f, r))) << name << " " << f.name;
            }
            if (f.type == FieldType::Text) {
                EXPECT_TRUE(TextFieldAcceptable(f, *static_cast<std::string*>(f.member(r))))
                    << name << " " << f.name;
            }
        }
        EXPECT_TRUE(gInpJyoken.InpFlg && gInpJiban.InpFlg) << name;
        EXPECT_TRUE(PreReadCheck(path)) << name;
    }
}

// Every design file in examples/ has a builder here (found, not listed by hand).
TEST(Examples, EveryExampleFileIsCovered) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".kvt") continue;
        ++n;
        EXPECT_EQ(Builders().count(e.path().filename().string()), 1u) << e.path();
    }
    EXPECT_EQ(n, static_cast<int>(Builders().size()));
}

}  // namespace
}  // namespace kuvelt
