#include "report/prnz.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <vector>

#include "formats/figure_files.h"
#include "formats/style_files.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/paths.h"
#include "platform/vberror.h"
#include "report/prn.h"

namespace kuvelt::basResOutPrnZ {

std::array<ZPoint, kMaxPoints + 1> Points;
int32_t PointCount = 0;
std::array<ZSegment, kMaxSegments + 1> Segments;
int32_t SegmentCount = 0;
std::array<ZArrow, kMaxArrows + 1> Arrows;
int32_t ArrowCount = 0;
std::array<ZText, kMaxTexts + 1> Texts;
int32_t TextCount = 0;
std::array<ZSubFigure, kMaxSubFigures + 1> SubFigures;
int32_t SubFigureCount = 0;

std::array<LineStyle, kMaxLineStyles + 1> LineStyles;
int32_t LineStyleCount = 0;
std::array<TextStyle, kMaxTextStyles + 1> TextStyles;
int32_t TextStyleCount = 0;

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int32_t kZoneWidth = 14;

[[noreturn]] void Fail(int32_t code, const std::string& text) { throw PrintFault(code, text); }

int32_t ErrnoCode() {
    const int32_t code = files::ErrorCodeFromErrno(errno);
    return code != 0 ? code : vberr::kDeviceIO;
}

void CheckFull(int32_t count, int32_t capacity, const char* what) {
    if (count >= capacity) {
        Fail(vberr::kSubscript, std::string("図形バッファが一杯です: ") + what + " (" +
                                    std::to_string(capacity) + ")");
    }
}

// The style tables from what the strict reader gave (at most their capacities).
void SetLineStyles(const std::vector<formats::LineStyle>& read) {
    std::array<LineStyle, kMaxLineStyles + 1> table{};
    int32_t count = 0;
    for (const formats::LineStyle& s : read) table[++count] = {s.type, s.width};
    LineStyles = table;
    LineStyleCount = count;
}

void SetTextStyles(const std::vector<formats::TextStyle>& read) {
    std::array<TextStyle, kMaxTextStyles + 1> table{};
    int32_t count = 0;
    for (const formats::TextStyle& s : read) {
        table[++count] = {s.weight, s.family, s.sizeTwips, s.color, s.italic, s.spare};
    }
    TextStyles = table;
    TextStyleCount = count;
}

// ---- Number rendering -------------------------------------------------------------------------

std::string Num(double v, std::string_view picture) {
    if (!std::isfinite(v)) Fail(vberr::kOverflow, "図形の座標が数値ではありません");
    if (v == 0) v = 0.0;
    return numfmt::FormatNumber(v, picture);
}

void AddLine(std::string& out, std::string_view utf8) {
    out += cp932::FromUtf8(utf8);
    out += kCrLf;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int32_t code = ErrnoCode();
        basResOutPrn::NoteWriteFailure(errno);
        Fail(code, "図形ファイルを作成できません: " + path);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int32_t code = ErrnoCode();
            basResOutPrn::NoteWriteFailure(errno);
            ::close(fd);
            Fail(code, "図形ファイルに書き込めません: " + path);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        const int32_t code = ErrnoCode();
        basResOutPrn::NoteWriteFailure(errno);
        Fail(code, "図形ファイルに書き込めません: " + path);
    }
}

}  // namespace

// ---- Buffer ----------------------------------------------------------------------------------

void ClearDrawing() {
    PointCount = 0;
    SegmentCount = 0;
    ArrowCount = 0;
    TextCount = 0;
}

void ClearAll() {
    ClearDrawing();
    SubFigureCount = 0;
}

int32_t AddPoint(double x, double y) {
    CheckFull(PointCount, kMaxPoints, "座標");
    Points[++PointCount] = {x, y};
    return PointCount;
}

int32_t AddSegment(int32_t startPoint, int32_t endPoint, int32_t style) {
    CheckFull(SegmentCount, kMaxSegments, "線分");
    Segments[++SegmentCount] = {startPoint, endPoint, style};
    return SegmentCount;
}

int32_t AddArrow(int32_t point, int32_t code, int32_t style) {
    CheckFull(ArrowCount, kMaxArrows, "矢印");
    Arrows[++ArrowCount] = {point, code, style};
    return ArrowCount;
}

int32_t AddText(std::string_view text, int32_t style, int32_t align, double x, double y) {
    CheckFull(TextCount, kMaxTexts, "文字");
    Texts[++TextCount] = {std::string(text), style, align, x, y};
    return TextCount;
}

int32_t AddSubFigure(const std::string& path, double x, double y) {
    CheckFull(SubFigureCount, kMaxSubFigures, "子図");
    ZSubFigure s;
    s.Path = path;
    s.X = x;
    s.Y = y;
    SubFigures[++SubFigureCount] = s;
    return SubFigureCount;
}

// ---- Style files ---------------------------------------------------------------------------

void ParseLineStyles(std::string_view fileBytes) {
    std::vector<formats::LineStyle> read;
    formats::StyleError error;
    if (!formats::ParseLineStyles(fileBytes, formats::Mode::Strict, read, &error)) {
        Fail(error.code, error.text);
    }
    SetLineStyles(read);
}

void ParseTextStyles(std::string_view fileBytes) {
    std::vector<formats::TextStyle> read;
    formats::StyleError error;
    if (!formats::ParseTextStyles(fileBytes, formats::Mode::Strict, read, &error)) {
        Fail(error.code, error.text);
    }
    SetTextStyles(read);
}

void LoadLineStyles(const std::string& path) {
    std::vector<formats::LineStyle> read;
    formats::StyleError error;
    if (!formats::ReadLineStyles(path, formats::Mode::Strict, read, &error)) {
        Fail(error.code, error.text);
    }
    SetLineStyles(read);
}

void LoadTextStyles(const std::string& path) {
    std::vector<formats::TextStyle> read;
    formats::StyleError error;
    if (!formats::ReadTextStyles(path, formats::Mode::Strict, read, &error)) {
        Fail(error.code, error.text);
    }
    SetTextStyles(read);
}

std::string LineStyleFile() {
    return paths::Join(basResOutPrn::ReportDataFolder(), "LINE_PRN.DEF");
}

std::string TextStyleFile() { return paths::Join(basResOutPrn::ReportDataFolder(), "STR_PRN.DEF"); }

double FontSizeMm(int32_t style) {
    if (style < 1 || style > TextStyleCount) {
        Fail(vberr::kSubscript, "文字スタイルがありません: " + std::to_string(style));
    }
    return TextStyles[style].Size * 25.4 / 1440.0;
}

double TextWidth(int32_t style, std::string_view text) {
    const double s = FontSizeMm(style);
    const double c = static_cast<double>(cp932::CharCount(text));
    const double d = static_cast<double>(cp932::ByteLength(text)) - c;
    return d * s + (c - d) * s / 2.0;
}

void AddGroundGlyphs(double x0, double y0, int32_t count, double depth) {
    static constexpr double kGlyph[11][2] = {{0, 0},      {-2, -3},    {1, 0},      {-1, -3},
                                             {2, 0},      {1.5, -0.8}, {0.9, -1.6}, {0, -3},
                                             {3.4, -0.9}, {2.9, -1.7}, {2.3, -2.6}};
    static constexpr int kPairs[6][2] = {{1, 2}, {3, 4}, {5, 8}, {5, 9}, {6, 10}, {7, 11}};
    for (int32_t i = 0; i < count; ++i) {
        const double b = x0 + 4.0 * i;
        const int32_t base = PointCount;
        for (const auto& p : kGlyph) AddPoint(b + p[0], y0 + p[1] * depth / 3.0);
        for (const auto& s : kPairs) AddSegment(base + s[0], base + s[1], 1);
    }
}

// ---- Figure files ----------------------------------------------------------------------------

std::string PrintForm(double v) {
    if (!std::isfinite(v)) Fail(vberr::kOverflow, "図形の配置が数値ではありません");
    if (v == 0) v = 0.0;
    return (v < 0 ? "" : " ") + numfmt::General(v) + " ";
}

void AdvanceToNextZone(std::string& line) {
    const std::size_t len = cp932::ByteLength(line);  // column of the next character is len + 1
    const std::size_t next = (len / kZoneWidth + 1) * kZoneWidth;
    line.append(next - len, ' ');
}

std::string BuildFigureFile(std::string_view caption1, std::string_view caption2) {
    // Extents: the points, then every text's anchor and far corner.
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool started = false;
    auto widen = [&](double x, double y) {
        if (!started) {
            minX = maxX = x;
            minY = maxY = y;
            started = true;
            return;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (int32_t k = 1; k <= PointCount; ++k) widen(Points[k].X, Points[k].Y);
    double farX = 0, farY = 0;
    for (int32_t k = 1; k <= TextCount; ++k) {
        const ZText& t = Texts[k];
        if (k == 1) {  // an unknown alignment on the first text has no previous corner
            farX = t.X;
            farY = t.Y;
        }
        if (t.Align == 1 || t.Align == 3) {
            const double w = TextWidth(t.Style, t.Text);
            const double s = FontSizeMm(t.Style);
            if (t.Align == 1) {
                farX = t.X - s;
                farY = t.Y + w;
            } else {
                farX = t.X + w;
                farY = t.Y + s;
            }
        }
        widen(t.X, t.Y);
        widen(farX, farY);
    }

    std::string out;
    AddLine(out, caption1);
    AddLine(out, caption2);
    std::string extents = Num(maxX - minX, "###0.00\\, ") + Num(maxY - minY, "###0.00\\, ") +
                          Num(minX, "###0.00\\, ");
    AdvanceToNextZone(extents);
    extents += Num(minY, "###0.00\\, ") + Num(maxX, "###0.00\\, ") + Num(maxY, "###0.00");
    AddLine(out, extents);

    AddLine(out, "座標情報");
    for (int32_t k = 1; k <= PointCount; ++k) {
        AddLine(out, Num(k, "###0\\, ") + Num(Points[k].X, "###0.000000\\, ") +
                         Num(Points[k].Y, "###0.000000"));
    }
    AddLine(out, "END");
    if (SegmentCount > 0) {
        AddLine(out, "線分情報");
        for (int32_t k = 1; k <= SegmentCount; ++k) {
            const ZSegment& s = Segments[k];
            AddLine(out, Num(k, "###0\\, ") + Num(s.StartPoint, "####0\\, ") +
                             Num(s.EndPoint, "####0\\, ") + Num(s.Style, "####0"));
        }
        AddLine(out, "END");
    }
    if (ArrowCount > 0) {
        AddLine(out, "矢印(1)");
        for (int32_t k = 1; k <= ArrowCount; ++k) {
            const ZArrow& a = Arrows[k];
            AddLine(out, Num(k, "###0\\, ") + Num(a.Point, "####0\\, ") + Num(a.Code, "####0\\, ") +
                             Num(a.Style, "####0"));
        }
        AddLine(out, "END");
    }
    if (TextCount > 0) {
        AddLine(out, "文字情報");
        for (int32_t k = 1; k <= TextCount; ++k) {
            const ZText& t = Texts[k];
            AddLine(out, t.Text);
            AddLine(out, Num(t.X, "###0.000000\\, ") + Num(t.Y, "###0.000000\\, ") +
                             Num(t.Style, "##0\\, ") + Num(t.Align, "##0"));
        }
        AddLine(out, "END");
    }
    return out;
}

void WriteFigureFile(const std::string& path, std::string_view caption1,
                     std::string_view caption2) {
    WriteWhole(path, BuildFigureFile(caption1, caption2));
}

std::string BuildCompositeFile(std::string_view caption, double frameWidth, double frameHeight) {
    std::string out;
    AddLine(out, caption);
    std::string frame = PrintForm(frameWidth);
    AdvanceToNextZone(frame);
    frame += PrintForm(frameHeight);
    AddLine(out, frame);
    for (int32_t k = 1; k <= SubFigureCount; ++k) {
        const ZSubFigure& s = SubFigures[k];
        AddLine(out, basResOutPrn::FigureReference(s.Path));
        std::string place = PrintForm(s.X);
        AdvanceToNextZone(place);
        place += PrintForm(s.Y);
        AddLine(out, place);
    }
    AddLine(out, "END");
    return out;
}

void WriteCompositeFile(const std::string& path, std::string_view caption, double frameWidth,
                        double frameHeight) {
    WriteWhole(path, BuildCompositeFile(caption, frameWidth, frameHeight));
}

void ReadSubFigureExtents() {
    for (int32_t k = 1; k <= SubFigureCount; ++k) {
        ZSubFigure& s = SubFigures[k];
        formats::SubFigure head;
        std::string error;
        if (!formats::ReadSubFigureHeader(s.Path, formats::Mode::Strict, head, &error)) {
            Fail(files::Exists(s.Path) ? vberr::kPathFileAccess : vberr::kFileNotFound,
                 "図形ファイルを読めません: " + s.Path + ": " + error);
        }
        s.Width = head.width;
        s.Height = head.height;
        s.MinX = head.minX;
        s.MinY = head.minY;
        s.MaxX = head.maxX;
        s.MaxY = head.maxY;
    }
}

}  // namespace kuvelt::basResOutPrnZ
