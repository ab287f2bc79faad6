#include "report/chapters/chapter_common.h"

#include <algorithm>
#include <cmath>

#include "calc/rounding.h"
#include "report/chapters/chapters.h"
#include "report/numbering.h"

namespace kuvelt {

const char* ChapterFailureLine(int item) {
    switch (item) {
        case 0:
            return "･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        case 1:
            return "･『外力の計算』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        case 2:
            return "･『仮想海底面の算定』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        case 3:
            return "･『矢板の設計』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        case 4:
            return "･『根切り底面の安定検討』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        default:
            return "";
    }
}

namespace chapters {

int32_t RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double r = x - f;
    double n = f;
    if (r > 0.5) {
        n = f + 1;
    } else if (r == 0.5) {
        n = (std::fmod(f, 2.0) == 0.0) ? f : f + 1;
    }
    return static_cast<int32_t>(n);
}

void SplitExponent(double x, double& mantissa, std::string& exponentText) {
    basResOutPrn::Checked(x);
    int e = 0;
    mantissa = 0.0;
    if (x != 0.0) {
        const double a = std::fabs(x);
        e = static_cast<int>(std::floor(std::log10(a)));
        double m = a / std::pow(10.0, e);
        // log10 of an exact power of ten may land a hair below the integer.
        if (m >= 10.0) {
            m /= 10.0;
            ++e;
        } else if (m < 1.0) {
            m *= 10.0;
            --e;
        }
        mantissa = x < 0 ? -m : m;
    }
    exponentText = std::to_string(e);
    if (exponentText.size() < 2) exponentText.append(2 - exponentText.size(), ' ');
}

UnnumberedHeadings::UnnumberedHeadings()
    : method_(basResOutPrn::NumberMethod), level_(basResOutPrn::CurrentLevel) {
    basResOutPrn::NumberMethod = 0;
    basResOutPrn::CurrentLevel = 1;
}

UnnumberedHeadings::~UnnumberedHeadings() {
    basResOutPrn::NumberMethod = method_;
    basResOutPrn::CurrentLevel = level_;
}

void Heading(ChapterData& d, ChapterSection& sec, int32_t n) {
    sec.Line(n);
    const int32_t level = d.LineLevels.at(static_cast<std::size_t>(n));
    if (level >= 1 && level <= 4) basResOutPrn::CurrentLevel = level;
}

Judgement PassLimit(bool fails) { return fails ? Judgement{"＞", "OUT"} : Judgement{"≦", "OK"}; }

Judgement PassFactor(bool passes) { return passes ? Judgement{"≧", "OK"} : Judgement{"＜", "OUT"}; }

namespace {

void SpacedLines(ChapterSection& sec, int32_t first, int32_t last, bool filled,
                 std::initializer_list<Instead> instead) {
    for (int32_t l = first; l <= last; ++l) {
        int32_t n = l;
        for (const Instead& i : instead) {
            if (i.line == l && i.by != 0) n = i.by;
        }
        basResOutPrn::PrintBlankLines(1);
        filled ? sec.Template(n) : sec.Line(n);
    }
}

}  // namespace

std::string BodyText(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    const std::size_t b = text.find_first_not_of(' ');
    if (b != std::string::npos && text[b] == '?') text.replace(b, 1, "？");
    return text;
}

void StartSection() { basResOutPrn::NewPageIfShort(kSectionOpeningLines, 2); }

void SpacedBlock(ChapterSection& sec, int32_t first, int32_t last, bool filled,
                 std::initializer_list<Instead> instead) {
    basResOutPrn::PrintKeepLines(2 * (last - first + 1));
    SpacedLines(sec, first, last, filled, instead);
}

void SymbolList(ChapterSection& sec, int32_t first, int32_t last, bool filled,
                std::initializer_list<Instead> instead, int32_t where) {
    using namespace basResOutPrn;
    // A short list keeps whole; a longer one keeps its first and its last entries together, so
    // that a page never ends, nor continues under the head, with one entry alone.
    const int32_t count = last - first + 1;
    const bool whole = count <= kListKeptEntries + kListTailEntries;
    PrintKeepLines((where != 0 ? 1 : 0) + 2 * (whole ? count : kListKeptEntries));
    PrintContinuedHead(kContinuedHead);
    if (where != 0) sec.Line(where);
    const int32_t tail = whole ? last + 1 : last - kListTailEntries + 1;
    SpacedLines(sec, first, tail - 1, filled, instead);
    if (tail <= last) {
        PrintKeepLines(2 * kListTailEntries);
        SpacedLines(sec, tail, last, filled, instead);
    }
    PrintContinuedEnd();
}

void WriteLayerTable(ChapterSection& sec, int32_t n, const std::function<void(int32_t)>& row,
                     int32_t separatorLine, int32_t closingLine, int32_t headerFirst,
                     int32_t headerLast) {
    using namespace basResOutPrn;
    // A page never takes fewer than one row, so a table that starts on a full page still ends.
    const int32_t first = std::max(1, RoundHalfEven((LinesPerPage - LineCount) / 4.0));
    const int32_t later = std::max(1, RoundHalfEven((LinesPerPage - 7) / 4.0));
    int32_t start = 1;
    int32_t end = std::min(n, first);
    int32_t left = n;
    while (left >= 1) {
        if (start > 1) {
            NewPageIfShort(LinesPerPage, 0);
            for (int32_t l = headerFirst; l <= headerLast; ++l) sec.Line(l);
        }
        for (int32_t i = start; i <= end; ++i) {
            row(i);
            if (i < end) sec.Line(separatorLine);
        }
        sec.Line(closingLine);
        left = n - end;
        start = end + 1;
        end = std::min(n, end + std::min(later, left));
    }
}

std::vector<CInpJibanLayer> DesignLayers() { return GroundLayers(gInpJiban, gInpJyoken.ELGL); }

bool Layered() { return !gInpJiban.Layers.empty(); }

std::string SoilName(int32_t kind) { return kind == 0 ? "砂質土" : "粘性土"; }

int32_t PieceLayer(const clsSpJiban& piece) { return piece.Layer; }

std::size_t StabilityLayerIndex() { return LayerIndexAt(DesignLayers(), gInpJyoken.ELDL); }

int32_t StabilityKind() { return LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind; }

bool ChannelWaterRaised(double channelWater) {
    return std::fabs(channelWater - gInpJyoken.ELDL) >= 0.0005;
}

std::vector<LayerShare> SharesBelow(double top, double depth) {
    return SharesOf(KhPartsBelow(DesignLayers(), top, depth));
}

std::vector<LayerShare> SharesOf(const std::vector<KhPart>& parts) {
    const std::vector<CInpJibanLayer> layers = DesignLayers();
    std::vector<LayerShare> shares;
    for (const KhPart& p : parts)
        shares.push_back({LayerIndexAt(layers, p.top), p.top, p.thickness});
    return shares;
}

void PrintWeightedMean(SectionLines& lines, const std::vector<LayerShare>& shares,
                       double CInpJibanLayer::*value, int32_t row, int32_t total, double mean) {
    const std::vector<CInpJibanLayer> layers = DesignLayers();
    ChapterData& d = lines.d;
    // The sums are of the thicknesses as printed (to the millimetre), so that the reader can
    // form them again; the mean is the calculation's.
    double sum = 0, depth = 0;
    for (const LayerShare& s : shares) {
        const CInpJibanLayer& l = layers[s.layer];
        const double h = RoundHalfUp(s.thickness, 3);
        N(d, 1, static_cast<double>(s.layer + 1));
        S(d, 1, SoilName(l.Kind));
        N(d, 2, s.top);
        N(d, 3, basResOutPrn::Checked(s.top - s.thickness));
        N(d, 4, h);
        N(d, 5, l.*value);
        lines.Template(row);
        sum += l.*value * h;
        depth += h;
    }
    N(d, 1, basResOutPrn::Checked(sum));
    N(d, 2, depth);
    N(d, 3, mean);
    lines.Template(total);
}

SectionLines::SectionLines(std::string_view section) {
    basResOutPrn::ReadFormatSection(basResOutPrn::ReportFormatFile(), section, d.LineLevels,
                                    d.LineTexts);
}

void SectionLines::Line(int32_t n) {
    basResOutPrn::PrintFormatLine(d.LineLevels.at(static_cast<std::size_t>(n)),
                                  d.LineTexts.at(static_cast<std::size_t>(n)));
}

void SectionLines::Template(int32_t n) {
    basResOutPrn::PrintTemplateLine(d.LineLevels.at(static_cast<std::size_t>(n)),
                                    d.LineTexts.at(static_cast<std::size_t>(n)), d.FieldValues,
                                    d.FieldTexts);
}

std::string PieceNumeral(int32_t n) {
    return n <= 20 ? basResOutPrn::CircledNumeral(n) : std::to_string(n);
}

}  // namespace chapters
}  // namespace kuvelt
