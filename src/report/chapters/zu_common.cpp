#include "report/chapters/zu_common.h"

#include <cmath>

#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::zu {

using namespace basResOutPrnZ;

void Seg(double x1, double y1, double x2, double y2, int32_t style) {
    const int32_t a = AddPoint(x1, y1);
    const int32_t b = AddPoint(x2, y2);
    AddSegment(a, b, style);
}

std::string LevelText(double z) {
    // A level that rounds to zero is the datum: neither above nor below it.
    if (std::fabs(z) < 0.0005) return "±0.000";
    return numfmt::FormatNumber(z, "+#0.000;-#0.000");
}

std::string NamedLevel(std::string_view name, double z) {
    return std::string(name) + " " + LevelText(z);
}

std::vector<std::string> LevelLabels(const std::vector<std::string>& names, double z, double room) {
    if (names.empty()) return {LevelText(z)};
    std::vector<std::string> texts;
    std::string joined;
    for (const std::string& n : names) {
        const std::string longer = joined.empty() ? n : joined + "・" + n;
        if (!joined.empty() && TextWidth(kTextStyle, NamedLevel(longer, z)) > room) {
            texts.push_back(NamedLevel(joined, z));
            joined = n;
        } else {
            joined = longer;
        }
    }
    texts.push_back(NamedLevel(joined, z));
    return texts;
}

std::string PressureText(double p) { return numfmt::FormatNumber(p, "#0.00") + " kN/m^2"; }

void DownArrow(double x, double y, double length) {
    Seg(x, y + length, x, y, kThin);
    Seg(x - 0.6, y + 1.5, x, y, kThin);
    Seg(x + 0.6, y + 1.5, x, y, kThin);
}

void Dimension(double x0, double y0, double x1, double y1) {
    Seg(x0, y0, x1, y1, kThin);
    const double dx = x1 - x0, dy = y1 - y0;
    const double len = std::hypot(dx, dy);
    if (!(len > 0)) return;
    // Ticks across the line, 1 mm each way.
    const double nx = -dy / len, ny = dx / len;
    Seg(x0 - nx, y0 - ny, x0 + nx, y0 + ny, kThin);
    Seg(x1 - nx, y1 - ny, x1 + nx, y1 + ny, kThin);
}

void WaterMark(double x, double y) {
    Seg(x, y, x - 1.6, y + 2.4, kThin);
    Seg(x - 1.6, y + 2.4, x + 1.6, y + 2.4, kThin);
    Seg(x + 1.6, y + 2.4, x, y, kThin);
}

int32_t FigureLines(double frameHeight) {
    return static_cast<int32_t>(std::ceil(frameHeight / kLinePitchMm)) + 1;
}

void WriteFigureBlock(int part, std::string_view caption, double frameHeight,
                      const std::function<std::string()>& draw) {
    using namespace basResOutPrn;
    // The style files belong to the installation: when they cannot be read, or lack the style of
    // the figures' texts, the chapter fails as it does for the load distribution diagram.
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    FontSizeMm(kTextStyle);
    std::string path, problem;
    try {
        path = draw();
    } catch (const PrintFault& e) {
        switch (e.code()) {
            case vberr::kInvalidCall:
            case vberr::kOverflow:
            case vberr::kSubscript:
            case vberr::kDivisionByZero:
                problem = e.what();
                break;
            default:
                throw;
        }
    }
    const bool wasOpen = IsPrintFileOpen();
    if (!wasOpen) OpenPrintFile();
    const int32_t lines = FigureLines(frameHeight);
    PrintOptionalBlockBegin(part);
    NewPageIfShort(path.empty() ? 3 : lines + 2, 1);
    PrintFigureCaption(caption);
    if (path.empty()) {
        PrintFormatLine(0, "（" + std::string(caption) + "を描けません：" + problem + "）");
    } else {
        PrintFigureLine(path);
        PrintBlankLines(lines);
    }
    PrintOptionalBlockEnd();
    if (!wasOpen) ClosePrintFile();
}

}  // namespace kuvelt::zu
