#include "preview/document/document.h"

#include <algorithm>
#include <filesystem>

#include "formats/figure_files.h"
#include "formats/style_files.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace kuvelt::preview {

namespace {

constexpr char kFormFeed = '\x0C';
constexpr std::string_view kFigureMarker = "?FG;";
constexpr std::string_view kTitleMarker = "?TI;";
constexpr std::string_view kDesignMarker = "?DF;";

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

class Builder {
  public:
    Builder(Document& doc, const LoadContext& ctx) : doc_(doc), ctx_(ctx) {
        doc_.pages.emplace_back();
    }

    bool full() const { return full_; }

    void PageBreak() {
        // A break on a page that holds nothing yet (start of the file, or right after a page
        // filled to its last line) does not make an empty page.
        if (!doc_.pages.back().lines.empty()) NewPage();
    }

    void AddLine(std::string_view raw) {
        if (full_) return;
        // "?TI;title": the document's title, a line of information that is not printed.
        if (raw.substr(0, kTitleMarker.size()) == kTitleMarker) {
            doc_.title = TrimBlanks(cp932::ToUtf8(raw.substr(kTitleMarker.size(), 512)));
            return;
        }
        // "?DF;path": the design's own file, where the PDF is offered to go.
        if (raw.substr(0, kDesignMarker.size()) == kDesignMarker) {
            doc_.designFile = TrimBlanks(cp932::ToUtf8(raw.substr(kDesignMarker.size(), 4096)));
            return;
        }
        if (doc_.pages.back().lines.size() >= static_cast<std::size_t>(kLinesPerPage)) NewPage();
        if (full_) return;
        if (raw.size() > kMaxLineBytes) {
            raw = CutLine(raw, kMaxLineBytes);
            doc_.truncated = true;
        }
        Line line;
        std::size_t blanks = 0;
        while (blanks < raw.size() && raw[blanks] == ' ') ++blanks;
        const std::string_view rest = raw.substr(blanks);
        if (rest.size() >= 3 && rest[0] == '?' && rest[1] == 'R' &&
            (rest[2] == '1' || rest[2] == '2')) {
            line.level = rest[2] - '0';
            line.bytes = std::string(raw.substr(0, blanks));
            line.bytes += rest.substr(3);
            std::string title = TrimBlanks(cp932::ToUtf8(rest.substr(3)));
            if (!title.empty()) {
                doc_.bookmarks.push_back({line.level, std::move(title),
                                          static_cast<int>(doc_.pages.size()) - 1,
                                          static_cast<int>(doc_.pages.back().lines.size())});
            }
        } else if (rest.substr(0, kFigureMarker.size()) == kFigureMarker) {
            MakeFigureLine(line, static_cast<int>(blanks), rest.substr(kFigureMarker.size()));
        } else {
            line.bytes = std::string(raw);
        }
        doc_.pages.back().lines.push_back(std::move(line));
    }

    void Finish() {
        if (doc_.pages.size() > 1 && doc_.pages.back().lines.empty()) doc_.pages.pop_back();
    }

  private:
    void NewPage() {
        if (doc_.pages.size() >= kMaxPages) {
            full_ = true;
            doc_.truncated = true;
            return;
        }
        doc_.pages.emplace_back();
    }

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
    bool full_ = false;
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
    Builder b(doc, context);
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size() && !b.full(); ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            std::string_view line = bytes.substr(start, i - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            b.AddLine(line);
            start = i + 1;
        } else if (c == kFormFeed) {
            // What stands before the form feed on its physical line stays on the old page;
            // what follows continues on the new one.
            std::string_view before = bytes.substr(start, i - start);
            if (!before.empty() && before.back() == '\r') before.remove_suffix(1);
            if (!before.empty()) b.AddLine(before);
            b.PageBreak();
            start = i + 1;
        }
    }
    if (start < bytes.size() && !b.full()) {
        std::string_view line = bytes.substr(start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) b.AddLine(line);
    }
    b.Finish();
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
