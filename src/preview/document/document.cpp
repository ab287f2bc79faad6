#include "preview/document/document.h"

#include <algorithm>
#include <filesystem>

#include "formats/figure_files.h"
#include "formats/print_pages.h"
#include "formats/style_files.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace kuvelt::preview {

namespace {

constexpr std::string_view kFigureMarker = "?FG;";

// Cuts a code page 932 line at a character boundary no later than `max` bytes.
std::string_view CutLine(std::string_view s, std::size_t max) {
    if (s.size() <= max) return s;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = cp932::IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + n > max) break;
        i += n;
    }
    return s.substr(0, i);
}

std::string TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return std::string(s);
}

std::string ResolvePath(const std::string& path, const std::string& base) {
    if (path.empty() || base.empty() || path.front() == '/') return path;
    return (std::filesystem::path(base) / path).string();
}

// Turns the laid-out lines into the document's lines: heading marks into bookmarks, figure lines
// into figures read through the context.
class Builder {
  public:
    Builder(Document& doc, const LoadContext& ctx) : doc_(doc), ctx_(ctx) {}

    void AddLine(std::string_view raw, int keep, bool large, int page) {
        if (raw.size() > kMaxLineBytes) {
            raw = CutLine(raw, kMaxLineBytes);
            doc_.truncated = true;
        }
        std::vector<Line>& lines = doc_.pages[static_cast<std::size_t>(page)].lines;
        Line line;
        line.keep = keep;
        line.large = large;
        std::size_t blanks = 0;
        std::string_view rest;
        line.level = formats::HeadingLevel(raw, &blanks, &rest);
        if (line.level != 0) {
            line.bytes = std::string(raw.substr(0, blanks));
            line.bytes += rest;
            std::string title = TrimBlanks(cp932::ToUtf8(rest));
            if (!title.empty()) {
                doc_.bookmarks.push_back(
                    {line.level, std::move(title), page, static_cast<int>(lines.size())});
            }
        } else if (rest.substr(0, kFigureMarker.size()) == kFigureMarker) {
            MakeFigureLine(line, static_cast<int>(blanks), rest.substr(kFigureMarker.size()));
        } else {
            line.bytes = std::string(raw);
        }
        lines.push_back(std::move(line));
    }

  private:
    // "?FG;x;y;path": x and y are offsets of the figure in mm (the report writes 000).
    void MakeFigureLine(Line& line, int column, std::string_view field) {
        line.kind = LineKind::Figure;
        line.figureColumn = column;
        std::string_view path = field;
        const std::size_t s1 = field.find(';');
        const std::size_t s2 = s1 == std::string_view::npos ? s1 : field.find(';', s1 + 1);
        if (s2 != std::string_view::npos) {
            double x = 0, y = 0;
            if (ReadNumber(field.substr(0, s1), x) && x >= 0 && x <= 300) line.figureOffsetX = x;
            if (ReadNumber(field.substr(s1 + 1, s2 - s1 - 1), y) && y >= 0 && y <= 300)
                line.figureOffsetY = y;
            path = field.substr(s2 + 1);
        }
        line.figurePath = TrimBlanks(cp932::ToUtf8(path));
        line.figure = FigureFor(line.figurePath);
    }

    std::shared_ptr<const Figure> FigureFor(const std::string& path) {
        auto it = figures_.find(path);
        if (it != figures_.end()) return it->second;
        auto fig = std::make_shared<Figure>();
        if (figures_.size() >= kMaxFigures) {
            fig->problem = "図が多すぎるため表示できません";
        } else {
            LoadFigure(*fig, path);
        }
        figures_.emplace(path, fig);
        return fig;
    }

    std::optional<std::string> Read(const std::string& path) {
        if (!ctx_.files || path.empty()) return std::nullopt;
        const std::size_t left =
            kMaxFigureBytesTotal - std::min(kMaxFigureBytesTotal, figureBytes_);
        std::optional<std::string> bytes =
            ctx_.files(ResolvePath(path, ctx_.baseFolder), std::min(kMaxFigureFileBytes, left));
        if (bytes) figureBytes_ += bytes->size();
        return bytes;
    }

    void LoadFigure(Figure& fig, const std::string& path) {
        const std::optional<std::string> bytes = Read(path);
        if (!bytes) {
            fig.problem = "図のファイルを読めません: " + path;
            return;
        }
        std::string why;
        formats::Composite composite;
        if (!formats::ParseComposite(*bytes, formats::Mode::Tolerant, composite, &why)) {
            fig.problem = "図のファイルの形式が正しくありません（" + why + "）: " + path;
            return;
        }
        fig = FigureOf(composite);
        int usable = 0;
        for (Placement& part : fig.parts) {
            const std::optional<std::string> sub = Read(part.path);
            SubFigure s;
            if (!sub) {
                part.problem = "図のファイルを読めません: " + part.path;
            } else if (formats::ParseSubFigure(*sub, formats::Mode::Tolerant, s, &why)) {
                part.figure = std::move(s);
                ++usable;
                continue;
            } else {
                part.problem = "図のファイルの形式が正しくありません（" + why + "）: " + part.path;
            }
            if (fig.problem.empty()) fig.problem = part.problem;
        }
        fig.available = usable > 0;
    }

    Document& doc_;
    const LoadContext& ctx_;
    std::map<std::string, std::shared_ptr<const Figure>> figures_;
    std::size_t figureBytes_ = 0;  // read so far, against kMaxFigureBytesTotal
};

}  // namespace

Document ParsePrintFile(std::string_view bytes, const LoadContext& context) {
    Document doc;
    doc.styles = context.styles;
    if (bytes.size() > kMaxPrintFileBytes) {
        bytes = bytes.substr(0, kMaxPrintFileBytes);
        doc.truncated = true;
    }
    // Where each line prints is the page rule's, the same the report writer and the table of
    // contents follow.
    const formats::PrintLayout layout = formats::LayOutPrintFile(bytes, kMaxPages);
    if (layout.truncated) doc.truncated = true;
    // "?TI;title": the document's title; "?DF;path": the design's own file, where the PDF is
    // offered to go. Lines of information, not printed.
    doc.title = TrimBlanks(cp932::ToUtf8(layout.title.substr(0, 512)));
    doc.designFile = TrimBlanks(cp932::ToUtf8(layout.designFile.substr(0, 4096)));
    doc.pages.resize(layout.pages.size());
    Builder b(doc, context);
    for (std::size_t p = 0; p < layout.pages.size(); ++p) {
        doc.pages[p].noFrame = layout.pages[p].noFrame;
        doc.pages[p].endsAtBreak = layout.pages[p].endsAtBreak;
        doc.pages[p].lines.reserve(layout.pages[p].lines.size());
        for (const formats::PrintLayout::LaidLine& line : layout.pages[p].lines)
            b.AddLine(line.bytes, line.keep, line.large, static_cast<int>(p));
    }
    return doc;
}

namespace {

std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) {
    std::string bytes;
    int32_t err = 0;
    if (path.empty() || !files::ReadAll(path, bytes, err, maxBytes)) return std::nullopt;
    return bytes;
}

}  // namespace

FileSource DiskFiles() { return ReadFile; }

LoadResult LoadDocument(const std::string& printFilePath, const std::string& styleFolder) {
    LoadResult r;
    const std::optional<std::string> bytes = ReadFile(printFilePath, kMaxPrintFileBytes);
    if (!bytes) {
        r.message.text = "印刷ファイルを読み込めません。\n" + printFilePath;
        r.message.title = "印刷プレビュー";
        r.message.icon = MsgIcon::Error;
        return r;
    }
    LoadContext ctx;
    ctx.styles = DefaultStyles();
    // Missing or unusable style files leave the built-in styles.
    std::vector<LineStyle> lines;
    if (formats::ReadLineStyles(styleFolder + "/LINE_PRN.DEF", formats::Mode::Tolerant, lines) &&
        !lines.empty()) {
        ctx.styles.lines = std::move(lines);
        ctx.styles.lineFileRead = true;
    }
    std::vector<TextStyle> texts;
    if (formats::ReadTextStyles(styleFolder + "/STR_PRN.DEF", formats::Mode::Tolerant, texts) &&
        !texts.empty()) {
        ctx.styles.texts = std::move(texts);
        ctx.styles.textFileRead = true;
    }
    ctx.files = DiskFiles();
    ctx.baseFolder = std::filesystem::path(printFilePath).parent_path().string();
    r.document = ParsePrintFile(*bytes, ctx);
    r.document.sourcePath = printFilePath;
    r.ok = true;
    return r;
}

std::string LineText(const Line& line) { return cp932::ToUtf8(line.bytes); }

}  // namespace kuvelt::preview
