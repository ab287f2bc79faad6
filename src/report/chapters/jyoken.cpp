// Chapter 1, design conditions: the title, the levels, the surcharge of the chosen shape, the
// ground and the chosen sheet pile with its section and material properties. Reads only the
// design records and the section catalogues.
#include <initializer_list>
#include <vector>

#include "model/design.h"
#include "platform/cp932.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/zu_structure.h"
#include "report/format_lines.h"

namespace kuvelt::basResOutJyoken {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

// A value and the line that prints it.
struct Row {
    int32_t line;
    double value;
};

// Each value on its line, a blank line after each.
void Rows(ChapterData& d, ChapterSection& sec, std::initializer_list<Row> rows) {
    for (const Row& r : rows) {
        N(d, 1, r.value);
        sec.Template(r.line);
        PrintBlankLines(1);
    }
}

void Conditions(ChapterData& d) {
    namespace line = fmt::jyoken;
    const CInpJyoken& j = gInpJyoken;
    ChapterSection sec(d, line::kSection, true);
    sec.Line(line::kTitle);
    PrintBlankLines(2);
    S(d, 1, j.Title);
    sec.Template(line::kSubject);
    PrintBlankLines(2);
    sec.Line(line::kShapeHeading);
    PrintBlankLines(1);
    sec.Line(line::kLevelsNote);
    PrintBlankLines(1);
    Rows(d, sec,
         {{line::kBackGroundLevel, j.ELGL},
          {line::kPileTopLevel, j.ELYU},
          {line::kDesignGroundLevel, j.ELDL},
          {line::kWaterLevel, j.ELWL}});
    // The water in the channel, where it does not stand at the design ground level.
    if (chapters::ChannelWaterRaised(ChannelWaterLevel(j))) {
        Rows(d, sec, {{line::kChannelWaterLevel, ChannelWaterLevel(j)}});
    }
    N(d, 1, Checked(j.ELGL - j.ELDL));
    sec.Template(line::kWallHeight);
    PrintBlankLines(2);
    sec.Line(line::kSurchargeHeading);
    PrintBlankLines(1);
    auto row = [&](int32_t l, double v, bool blank) {
        N(d, 1, v);
        sec.Template(l);
        if (blank) PrintBlankLines(1);
    };
    switch (j.Keijyo) {
        case 0:
            row(line::kFlatDistance, j.K0X, true);
            row(line::kFlatLoad, j.K0Q, true);
            break;
        case 1:
            row(line::kSlopeRatio, j.K1m, true);
            row(line::kSlopeLoad, j.K1Q, true);
            break;
        default:
            row(line::kTrapezoidToe, j.K2X1, true);
            row(line::kTrapezoidSlopeWidth, j.K2X2, true);
            row(line::kTrapezoidUnitWeight, j.K2Gs, true);
            row(line::kTrapezoidHeight, j.K2Ho, true);
            row(line::kTrapezoidLoad, j.K2Q, false);
            break;
    }
}

// The layers as a table, one row a layer with its top, soil and values (φ for sandy, the
// cohesion's a and b for clayey layers), then what all layers share.
void LayerTable(ChapterData& d, ChapterSection& sec) {
    namespace line = fmt::jiban;
    const std::vector<CInpJibanLayer> layers = chapters::DesignLayers();
    sec.Line(line::kLayersIntro);
    PrintBlankLines(1);
    PrintTableCaption("土層構成");
    PrintKeepLines(line::kLayerHeaderLast - line::kLayerHeaderFirst + 2 +
                   static_cast<int32_t>(layers.size()));
    for (int32_t l = line::kLayerHeaderFirst; l <= line::kLayerHeaderLast; ++l) sec.Line(l);
    bool clayey = false;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const CInpJibanLayer& l = layers[i];
        N(d, 1, static_cast<double>(i + 1));
        N(d, 2, l.ELU);
        S(d, 1, chapters::SoilName(l.Kind));
        N(d, 3, l.Gt);
        N(d, 4, l.Gws);
        if (l.Kind == 0) {
            N(d, 5, l.Fai);
            N(d, 6, l.KH);
            sec.Template(line::kLayerSandy);
        } else {
            clayey = true;
            N(d, 5, l.Ca);
            N(d, 6, l.Cb);
            N(d, 7, l.KH);
            sec.Template(line::kLayerClayey);
        }
    }
    sec.Line(line::kLayerClosing);
    PrintBlankLines(1);
    N(d, 1, gInpJiban.Gw);
    sec.Template(line::kLayersWaterWeight);
    if (clayey) {
        PrintBlankLines(1);
        sec.Line(line::kLayersCohesion);
    }
}

// The wall friction angles, where they are not the usual 15°.
void WallFriction(ChapterData& d, ChapterSection& sec) {
    namespace line = fmt::jiban;
    const CInpJiban& g = gInpJiban;
    if (g.DeltaA == CInpJiban{}.DeltaA && g.DeltaP == CInpJiban{}.DeltaP) return;
    PrintBlankLines(1);
    N(d, 1, g.DeltaA);
    sec.Template(line::kActiveFriction);
    PrintBlankLines(1);
    N(d, 1, g.DeltaP);
    sec.Template(line::kPassiveFriction);
}

void Ground(ChapterData& d) {
    namespace line = fmt::jiban;
    const CInpJiban& g = gInpJiban;
    ChapterSection sec(d, line::kSection);
    PrintPageBreak();
    sec.Line(line::kTitle);
    PrintBlankLines(1);
    if (chapters::Layered()) {
        LayerTable(d, sec);
        WallFriction(d, sec);
        return;
    }
    if (g.Kind == 0) {
        sec.Line(line::kSandy);
        PrintBlankLines(1);
        Rows(d, sec,
             {{line::kSandyWetWeight, g.Gt},
              {line::kSandySubmergedWeight, g.Gws},
              {line::kSandyWaterWeight, g.Gw},
              {line::kSandyFriction, g.Fai}});
    } else {
        sec.Line(line::kClayey);
        PrintBlankLines(1);
        Rows(d, sec,
             {{line::kClayeyWetWeight, g.Gt},
              {line::kClayeySubmergedWeight, g.Gws},
              {line::kClayeyWaterWeight, g.Gw}});
        sec.Line(line::kCohesion);
        PrintBlankLines(1);
        N(d, 1, g.Ca);
        sec.Template(line::kCohesionIncrease);
        PrintBlankLines(1);
        N(d, 1, g.Cb);
        sec.Template(line::kSurfaceCohesion);
    }
    PrintBlankLines(1);
    N(d, 1, g.KH);
    sec.Template(line::kSubgradeReaction);
    // The pile's tip and its embedment 3/β may reach below the depth examined: say what ground
    // stands there (the layered table says it of its last layer).
    PrintBlankLines(1);
    N(d, 1, Checked(gInpJyoken.ELDL - gInpJyoken.Z));
    N(d, 2, gInpJyoken.Z);
    sec.Template(line::kBelowDepth);
    WallFriction(d, sec);
}

[[noreturn]] void NoSection(int32_t sect) {
    throw PrintFault(vberr::kSubscript,
                     "使用矢板の断面№" + std::to_string(sect) + "が登録されていません");
}

// E as mantissa (slot 1) and exponent (text slot 1), normalised like every modulus of the report.
void Modulus(ChapterData& d, double e) {
    double mant = 0;
    std::string exp;
    chapters::SplitExponent(e, mant, exp);
    N(d, 1, mant);
    S(d, 1, exp);
}

void Pile(ChapterData& d) {
    namespace line = fmt::pile;
    const CInpYaita& y = gInpYaita;
    const CInpZairyo& z = gInpZairyo;
    ChapterSection sec(d, line::kSection);
    PrintBlankLines(2);
    sec.Line(line::kTitle);
    // A value beside its label where the label ends before the value's column, so that each
    // reads as a pair; a longer label stands above its value.
    auto pair = [&](int32_t label, int32_t value) {
        const std::string name = cp932::FromUtf8(d.LineTexts.at(std::size_t(label)));
        const std::string filled =
            FillTemplate(d.LineTexts.at(std::size_t(value)), d.FieldValues, d.FieldTexts);
        const std::size_t column = filled.find_first_not_of(' ');
        if (d.LineLevels.at(std::size_t(label)) != 0 || d.LineLevels.at(std::size_t(value)) != 0 ||
            column == std::string::npos || name.size() + 2 > column) {
            sec.Line(label);
            sec.Template(value);
            return;
        }
        PrintFormatLine(0, cp932::ToUtf8(name + std::string(column - name.size(), ' ') +
                                         filled.substr(column)));
    };
    auto labelled = [&](int32_t label, int32_t value, double v) {
        N(d, 1, v);
        pair(label, value);
    };
    if (y.Yaita == 0) {
        const CInpSectC* c = gInpSectC.Item(y.Sect);
        if (!c) NoSection(y.Sect);
        const double e = c->Keijyo == 0 ? z.EcHira : c->Keijyo == 1 ? z.EcMizo : z.EcNami;
        sec.Line(line::kConcreteHeading);
        sec.Line(line::kConcreteKind);
        sec.Line(line::kConcreteCatalogueNote);
        S(d, 1, c->Name);
        sec.Template(line::kConcreteName);
        labelled(line::kConcreteLengthLabel, line::kConcreteLength, y.L);
        // I in the catalogue's own unit, cm4/m.
        labelled(line::kConcreteInertiaLabel, line::kConcreteInertia, c->Ic);
        labelled(line::kCrackingMomentLabel, line::kCrackingMoment, c->Mc);
        Modulus(d, e);
        pair(line::kConcreteModulusLabel, line::kConcreteModulus);
        sec.Line(line::kConcreteModulusNote);
    } else {
        const bool steel = y.Yaita != 1;
        const CInpSectS* s = (steel ? gInpSectS : gInpSectLS).Item(y.Sect);
        if (!s) NoSection(y.Sect);
        sec.Line(line::kSteelHeading);
        sec.Line(steel ? line::kSteelKind : line::kLightSteelKind);
        S(d, 1, s->Name);
        pair(line::kSteelNameLabel, line::kSteelName);
        S(d, 1, steel ? z.YZai : z.KYZai);
        pair(line::kMaterialLabel, line::kMaterial);
        labelled(line::kSteelLengthLabel, line::kSteelLength, y.L);
        // Section properties in the catalogue's own units, cm4/m and cm3/m.
        labelled(line::kInertiaBeforeLabel, line::kInertiaBefore, s->Id);
        labelled(line::kSectionModulusBeforeLabel, line::kSectionModulusBefore, s->Zd);
        labelled(line::kInertiaAfterLabel, line::kInertiaAfter, s->Io);
        labelled(line::kSectionModulusAfterLabel, line::kSectionModulusAfter, s->Zo);
        labelled(line::kAllowableStressLabel, line::kAllowableStress, steel ? z.YSat : z.KYSat);
        Modulus(d, steel ? z.Esy : z.Esky);
        pair(line::kSteelModulusLabel, line::kSteelModulus);
        sec.Line(line::kPerMetreNote);
        PrintBlankLines(1);
        sec.Line(line::kJointHeading);
        sec.Line(line::kJointIntro);
        sec.Line(line::kJointScope);
        labelled(line::kEmbedmentLabel, line::kEmbedmentFactor, z.AlphaIz);
        sec.Line(line::kStressLabel);
        N(d, 1, z.AlphaIs);
        N(d, 2, z.AlphaZs);
        sec.Template(line::kStressFactors);
        labelled(line::kDisplacementLabel, line::kDisplacementFactor, z.AlphaId);
        sec.Line(line::kCorrosionNote);
    }
    PrintBlankLines(2);
    sec.Line(line::kDisplacementHeading);
    N(d, 1, gInpJyoken.Delta);
    sec.Template(line::kAllowableDisplacement);
}

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            ChapterData d;
            Conditions(d);
            basZuStructure::WriteStructureFigure(results);
            Ground(d);
            Pile(d);
        },
        error);
}

}  // namespace kuvelt::basResOutJyoken
