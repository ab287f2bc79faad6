#include "report/prn.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "io/settings.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/paths.h"
#include "platform/tempfile.h"
#include "platform/vberror.h"

namespace kuvelt::basResOutPrn {

std::array<std::string, kMaxFiles + 1> PrintFileNames;
int32_t PrintFileCount = 0;
std::array<std::string, kMaxFiles + 1> FigureFileNames;
int32_t FigureFileCount = 0;
std::string CurrentPrintFile;
int32_t LinesPerPage = kChapterLinesPerPage;
int32_t LineCount = 0;

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr char kFormFeed = '\x0C';
constexpr std::string_view kFormatFileName = "Kuvelt.FMT";
// A margin from the settings file is a count of blanks; anything beyond this is a typing
// slip in the settings, not a layout, and must not turn into a gigantic line.
constexpr int32_t kMaxMargin = 255;

std::string gDataFolderOverride;
// The page rule over the lines written since the last reset, as the preview will apply it.
formats::PageCutter gPages;

// The page rule in step with LinesPerPage and LineCount, which chapters and tests may set.
formats::PageCutter& Pages() {
    if (gPages.LinesPerPage() != std::max(1, LinesPerPage)) {
        gPages = formats::PageCutter(LinesPerPage);
        gPages.Restart(LineCount);
    } else if (gPages.LinesOnPage() != LineCount) {
        gPages.Restart(LineCount);
    }
    return gPages;
}

void CountLines(int32_t n, bool blank) {
    formats::PageCutter& pages = Pages();
    for (int32_t i = 0; i < n; ++i) pages.AddLine(blank);
    LineCount = pages.LinesOnPage();
}

std::string KeepMark(int32_t n) {
    return std::string(formats::kKeepMark) + std::to_string(n) + std::string(kCrLf);
}

// Applies a keep mark once it is written.
void CountKeep(int32_t n) {
    formats::PageCutter& pages = Pages();
    pages.Keep(n);
    LineCount = pages.LinesOnPage();
}

bool KeepsWithNext(int32_t level) { return level >= 1 && level <= kKeptHeadingLevels; }
std::string gTempFolderOverride;
std::FILE* gPrintFile = nullptr;

[[noreturn]] void Fail(int32_t code, const std::string& text) { throw PrintFault(code, text); }

std::optional<files::Failure> gWriteFailure;

// A print or figure file that cannot be made or written: the fault of the chapter, and the
// failure of the whole job's files (kept for WriteFailure).
[[noreturn]] void FailWrite(const std::string& text) {
    const int err = errno;
    NoteWriteFailure(err);
    Fail(files::ErrorCodeFromErrno(err), text);
}

void WriteOut(std::string_view bytes) {
    if (gPrintFile == nullptr) Fail(vberr::kBadFileName, "印刷ファイルが開かれていません");
    if (bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), gPrintFile) != bytes.size() ||
        std::fflush(gPrintFile) != 0) {
        FailWrite("印刷ファイルに書き込めません: " + CurrentPrintFile);
    }
}

std::string NewTempFile(std::array<std::string, kMaxFiles + 1>& slots, int32_t& count) {
    if (count + 1 > kMaxFiles) {
        Fail(vberr::kSubscript, "一時ファイルの数が上限(100)を超えました");
    }
    std::string path;
    int32_t err = 0;
    if (!tempfile::Create(std::string(kTempPrefix), path, err, ReportTempFolder())) {
        NoteWriteFailure(errno);
        Fail(err != 0 ? err : vberr::kPathFileAccess,
             "一時ファイルを作成できません: " + ReportTempFolder());
    }
    ++count;
    slots[count] = path;
    // A run that ends with the print menu still open does not leave report files behind.
    static const bool atExit = std::atexit([] { DeleteAllReportFiles(); }) == 0;
    (void)atExit;
    return path;
}

std::string Spaces(int32_t n) { return std::string(std::max(n, 0), ' '); }

int32_t MarginOf(int32_t level) {
    if (level < 1 || level > 5) return 0;
    return std::clamp(LevelMargins[level], 0, kMaxMargin);
}

// Byte offsets of the characters of a UTF-8 text (plus the end offset).
std::vector<std::size_t> CharOffsets(std::string_view s) {
    std::vector<std::size_t> off;
    std::size_t i = 0;
    while (i < s.size()) {
        off.push_back(i);
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
        i = std::min(s.size(), i + len);
    }
    off.push_back(s.size());
    return off;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal number of a column range with blanks around it; "" reads as 0. False when not a
// plain unsigned integer.
bool ReadColumnNumber(std::string_view s, int32_t& out) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    out = 0;
    if (s.empty()) return true;
    if (s.size() > 6) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

// The character index i of the template bytes starts a character (is not the trail byte of a
// two-byte character).
std::vector<bool> CharStarts(std::string_view b) {
    std::vector<bool> start(b.size(), false);
    for (std::size_t i = 0; i < b.size();) {
        start[i] = true;
        i += (cp932::IsLeadByte(static_cast<unsigned char>(b[i])) && i + 1 < b.size()) ? 2 : 1;
    }
    return start;
}

bool IsNumericTail(char c) { return c == '#' || c == ',' || c == '.' || c == '0'; }

struct Field {
    std::size_t start;
    std::size_t width;
};

std::vector<Field> FindNumericFields(std::string_view b) {
    const std::vector<bool> starts = CharStarts(b);
    std::vector<Field> fields;
    std::size_t p = 0;
    while (p < b.size()) {
        // The earliest of "#", "+#" and "\#" at or after p. The three patterns begin with bytes
        // below 0x40 except the backslash, which can also be the second byte of a full-width
        // character; such a byte never begins a field.
        std::size_t at = std::string_view::npos;
        std::size_t lead = 0;
        for (std::size_t i = p; i < b.size(); ++i) {
            if (b[i] == '#') {
                at = i;
                lead = 1;
                break;
            }
            if ((b[i] == '+' || (b[i] == '\\' && starts[i])) && i + 1 < b.size() &&
                b[i + 1] == '#') {
                at = i;
                lead = 2;
                break;
            }
        }
        if (at == std::string_view::npos) break;
        std::size_t end = at + lead;
        while (end < b.size() && IsNumericTail(b[end])) ++end;
        fields.push_back({at, end - at});
        if (fields.size() > static_cast<std::size_t>(kMaxFields)) {
            Fail(vberr::kSubscript, "数値欄が20を超えています");
        }
        p = end;
    }
    return fields;
}

std::vector<Field> FindTextFields(std::string_view b) {
    std::vector<Field> fields;
    std::size_t p = 0;
    while (p < b.size()) {
        const std::size_t amp = b.find('&', p);
        std::size_t start = 0;
        std::size_t width = 0;
        if (amp != std::string_view::npos) {
            const std::size_t close = b.find('&', amp + 1);
            start = amp;
            width = (close == std::string_view::npos ? b.size() : close + 1) - amp;
        } else {
            const std::size_t bang = b.find('!', p);
            if (bang == std::string_view::npos) break;
            start = bang;
            width = 1;
        }
        fields.push_back({start, width});
        if (fields.size() > static_cast<std::size_t>(kMaxFields)) {
            Fail(vberr::kSubscript, "文字欄が20を超えています");
        }
        p = start + width;
    }
    return fields;
}

// The rendered bytes over the field, cut to its width between two characters (a byte left over
// by a double-byte character becomes a blank).
void CopyOver(std::string& line, const Field& f, std::string_view rendered) {
    const std::size_t n = std::min(f.width, rendered.size());
    const std::string_view fits = cp932::Prefix(rendered, n);
    line.replace(f.start, n, std::string(fits) + std::string(n - fits.size(), ' '));
}

}  // namespace

// ---- Module lifecycle ------------------------------------------------------------------------

void ResetPrintJob() {
    // Files still listed belong to an opening that was never closed: nothing can reach them
    // once the slots are reused, so they go now instead of staying in the temporary folder.
    DeleteAllReportFiles();
    gWriteFailure.reset();
    for (auto& s : PrintFileNames) s.clear();
    for (auto& s : FigureFileNames) s.clear();
    PrintFileCount = 0;
    FigureFileCount = 0;
    CurrentPrintFile.clear();
    CurrentLevel = 1;
    LineCount = 0;
    LinesPerPage = kChapterLinesPerPage;
    gPages = formats::PageCutter(LinesPerPage);
}

void DeleteAllReportFiles() {
    ClosePrintFile();
    for (int32_t i = 1; i <= std::min(PrintFileCount, kMaxFiles); ++i) {
        if (!PrintFileNames[i].empty()) files::RemoveFile(PrintFileNames[i]);
        PrintFileNames[i].clear();
    }
    for (int32_t i = 1; i <= std::min(FigureFileCount, kMaxFiles); ++i) {
        if (!FigureFileNames[i].empty()) files::RemoveFile(FigureFileNames[i]);
        FigureFileNames[i].clear();
    }
    PrintFileCount = 0;
    FigureFileCount = 0;
    // The current file is gone: a later page break must not bring it back.
    CurrentPrintFile.clear();
}

// ---- Paths -----------------------------------------------------------------------------------

void SetReportDataFolder(const std::string& folder) { gDataFolderOverride = folder; }

std::string ReportDataFolder() {
    if (!gDataFolderOverride.empty()) return gDataFolderOverride;
    if (!gProgramFolder.empty()) return gProgramFolder;
    return paths::ProgramFolder();
}

std::string ReportFormatFile() {
    if (!gDataFolderOverride.empty()) {
        return paths::Join(gDataFolderOverride, std::string(kFormatFileName));
    }
    if (!gFmtFile.empty()) return gFmtFile;
    return paths::Join(ReportDataFolder(), std::string(kFormatFileName));
}

void SetReportTempFolder(const std::string& folder) { gTempFolderOverride = folder; }

std::string ReportTempFolder() {
    return gTempFolderOverride.empty() ? paths::TempFolder() : gTempFolderOverride;
}

namespace {
std::string gFigureReferenceFolder;
}  // namespace

void SetFigureReferenceFolder(const std::string& folder) { gFigureReferenceFolder = folder; }

std::string FigureReference(const std::string& figurePath) {
    if (gFigureReferenceFolder.empty()) return figurePath;
    std::string folder = gFigureReferenceFolder;
    if (folder.back() != '/') folder += '/';
    if (figurePath.size() > folder.size() && figurePath.compare(0, folder.size(), folder) == 0) {
        return figurePath.substr(folder.size());
    }
    return figurePath;
}

// ---- Files -----------------------------------------------------------------------------------

void NoteWriteFailure(int err) {
    NoteWriteFailure(files::Failure{files::ErrorCodeFromErrno(err), files::SystemErrorText(err)});
}

void NoteWriteFailure(const files::Failure& failure) {
    if (!gWriteFailure) gWriteFailure = failure;
}

std::optional<files::Failure> WriteFailure() { return gWriteFailure; }

std::string NewPrintFile() { return NewTempFile(PrintFileNames, PrintFileCount); }

std::string NewFigureFile() { return NewTempFile(FigureFileNames, FigureFileCount); }

void OpenPrintFile() {
    ClosePrintFile();
    if (CurrentPrintFile.empty()) Fail(vberr::kBadFileName, "印刷ファイルが指定されていません");
    const int fd =
        ::open(CurrentPrintFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) FailWrite("印刷ファイルを開けません: " + CurrentPrintFile);
    gPrintFile = ::fdopen(fd, "ab");
    if (gPrintFile == nullptr) {
        const int e = errno;
        ::close(fd);
        errno = e;
        FailWrite("印刷ファイルを開けません: " + CurrentPrintFile);
    }
}

void ClosePrintFile() noexcept {
    if (gPrintFile != nullptr) {
        std::fclose(gPrintFile);
        gPrintFile = nullptr;
    }
}

bool IsPrintFileOpen() { return gPrintFile != nullptr; }

// ---- Format file -----------------------------------------------------------------------------

int32_t ReadFormatSection(const std::string& fmtPath, std::string_view section,
                          LineLevelSlots& LineLevels, LineTextSlots& LineTexts) {
    std::string bytes;
    int32_t err = 0;
    if (!files::ReadAll(fmtPath, bytes, err)) {
        Fail(err != 0 ? err : vberr::kFileNotFound, "書式ファイルを読めません: " + fmtPath);
    }
    return ParseFormatSection(bytes, section, LineLevels, LineTexts);
}

int32_t ParseFormatSection(std::string_view fileBytes, std::string_view section,
                           LineLevelSlots& LineLevels, LineTextSlots& LineTexts) {
    const std::string name(section);
    bool exact = true;
    const std::string nameBytes = cp932::FromUtf8(section, &exact);
    const std::vector<std::string> lines = cp932::SplitCrLf(fileBytes);

    std::size_t i = 0;
    if (exact) {
        while (i < lines.size() && lines[i] != nameBytes) ++i;
    } else {
        i = lines.size();
    }
    if (i == lines.size()) Fail(vberr::kPastEndOfFile, "書式ファイルに節がありません: " + name);

    int32_t count = 0;
    for (++i; i < lines.size(); ++i) {
        const std::string& raw = lines[i];
        if (raw == "End") return count;
        if (!raw.empty() && raw[0] == '\'') continue;

        const std::string line = cp932::ToUtf8(raw);
        const std::vector<std::size_t> off = CharOffsets(line);
        const std::size_t chars = off.size() - 1;
        auto column = [&](std::size_t first, std::size_t last) {  // 1-based, inclusive
            if (first > chars) return std::string_view();
            last = std::min(last, chars);
            return std::string_view(line).substr(off[first - 1], off[last] - off[first - 1]);
        };
        const std::string where = " (" + name + " " + std::to_string(i + 1) + "行目)";

        int32_t n = 0;
        if (!ReadColumnNumber(column(1, 3), n)) {
            Fail(vberr::kTypeMismatch, "書式ファイルの行番号が数値ではありません" + where);
        }
        if (n < 1 || n > kMaxSectionLines) {
            Fail(vberr::kSubscript, "書式ファイルの行番号が1～50の範囲外です" + where);
        }
        const std::string_view lv = column(5, 5);
        int32_t level = 0;
        if (!lv.empty()) {
            if (lv.size() != 1 || lv[0] < '0' || lv[0] > '9') {
                Fail(vberr::kTypeMismatch, "書式ファイルのレベルが数値ではありません" + where);
            }
            level = lv[0] - '0';
        }
        if (level > 5) Fail(vberr::kSubscript, "書式ファイルのレベルが0～5の範囲外です" + where);

        LineLevels[n] = level;
        LineTexts[n] = std::string(column(6, chars));
        ++count;
    }
    Fail(vberr::kPastEndOfFile, "書式ファイルの節に\"End\"がありません: " + name);
}

// ---- Field rendering -------------------------------------------------------------------------

std::string FormatNumberField(double value, std::string_view field) {
    if (value == 0) value = 0.0;  // no "-0" from a negative zero
    std::string r;
    if (!field.empty() && field[0] == '+') {
        r = numfmt::FormatNumber(value, field.substr(1));
        if (value >= 0) r.insert(r.begin(), '+');
    } else if (!field.empty() && field[0] == '\\') {
        r = numfmt::FormatNumber(value, "\\" + std::string(field));
    } else {
        r = numfmt::FormatNumber(value, field);
    }
    const std::size_t len = cp932::CharCount(field);
    const std::size_t have = cp932::CharCount(r);
    if (have < len) r.insert(0, len - have, ' ');
    return r;
}

std::string FormatTextField(std::string_view text, std::string_view field) {
    const std::size_t w = field.size();
    if (text.empty()) return std::string(w, ' ');
    const bool right = field == "!" || (field.size() >= 2 && field[0] == '&' && field[1] == '>');
    std::string r(text);
    const std::size_t have = cp932::CharCount(text);
    if (have < w) {
        if (right) {
            r.insert(0, w - have, ' ');
        } else {
            r.append(w - have, ' ');
        }
    }
    return r;
}

std::string FillTemplate(std::string_view tmpl, const FieldValueSlots& FieldValues,
                         const FieldTextSlots& FieldTexts) {
    const std::string unfilled = cp932::FromUtf8(tmpl);
    const std::vector<Field> numeric = FindNumericFields(unfilled);
    const std::vector<Field> text = FindTextFields(unfilled);

    std::string line = unfilled;
    for (std::size_t i = 0; i < numeric.size(); ++i) {
        const double v = FieldValues[i + 1];
        if (!std::isfinite(v)) Fail(vberr::kOverflow, "数値欄の値が数値ではありません");
        const std::string_view field(unfilled.data() + numeric[i].start, numeric[i].width);
        CopyOver(line, numeric[i], cp932::FromUtf8(FormatNumberField(v, field)));
    }
    for (std::size_t j = 0; j < text.size(); ++j) {
        const std::string_view field(unfilled.data() + text[j].start, text[j].width);
        CopyOver(line, text[j], cp932::FromUtf8(FormatTextField(FieldTexts[j + 1], field)));
    }
    return line;
}

std::string LineHead(int32_t level) {
    if (level < 0 || level > 5) {
        Fail(vberr::kSubscript, "行のレベルが0～5の範囲外です: " + std::to_string(level));
    }
    if (level == 0) return Spaces(MarginOf(CurrentLevel) + 2);
    std::string head = Spaces(MarginOf(level));
    if (level == 1) head += "?R1";
    if (level == 2) head += "?R2";
    if (NumberMethod != 0) head += cp932::FromUtf8(GetHeadingNumber(level));
    return head;
}

// ---- Writing -----------------------------------------------------------------------------------

namespace {

// A line of `level` with its head: the heading keep mark first when the level keeps with the
// lines after it. The bytes are written at once, so a failure writes nothing of the line.
void WriteLevelLine(int32_t level, std::string head, std::string_view rest, bool lineEnd) {
    std::string bytes = KeepsWithNext(level) ? KeepMark(kHeadingKeepLines) : std::string();
    bytes += head;
    bytes += rest;
    if (lineEnd) bytes += kCrLf;
    WriteOut(bytes);
    if (KeepsWithNext(level)) CountKeep(kHeadingKeepLines);
    CountLines(1, lineEnd && formats::PrintsNothing(head + std::string(rest)));
}

}  // namespace

void PrintLineHead(int32_t level) {
    if (gPrintFile == nullptr) WriteOut({});
    WriteLevelLine(level, LineHead(level), {}, false);
}

void PrintFormatLine(int32_t level, std::string_view text) {
    if (gPrintFile == nullptr) WriteOut({});  // fails before the numbering moves
    std::string head = LineHead(level);
    WriteLevelLine(level, std::move(head), cp932::FromUtf8(text), true);
}

void PrintTemplateLine(int32_t level, std::string_view tmpl, const FieldValueSlots& FieldValues,
                       const FieldTextSlots& FieldTexts) {
    if (gPrintFile == nullptr) WriteOut({});
    const std::string filled = FillTemplate(tmpl, FieldValues, FieldTexts);
    std::string head = LineHead(level);
    WriteLevelLine(level, std::move(head), filled, true);
}

void PrintFigureLine(const std::string& figurePath) {
    std::string bytes = LineHead(0);
    bytes += "?FG;000;000;";
    bytes += cp932::FromUtf8(FigureReference(figurePath));
    bytes += kCrLf;
    WriteOut(bytes);
    CountLines(1, false);
}

void PrintFigureCaption(std::string_view caption) {
    PrintFormatLine(0, std::string(formats::kFigureNumberMark) + std::string(caption));
}

void PrintTableCaption(std::string_view caption) {
    PrintKeepLines(2);
    PrintFormatLine(0, std::string(formats::kTableNumberMark) + std::string(caption));
}

void PrintKeepLines(int32_t n) {
    if (n <= 0) return;
    WriteOut(KeepMark(n));
    CountKeep(n);
}

void PrintContinuedHead(std::string_view head) {
    WriteOut(std::string(formats::kContinuedMark) + LineHead(0) + cp932::FromUtf8(head) +
             std::string(kCrLf));
    Pages().Continue(true);
}

void PrintContinuedEnd() {
    WriteOut(std::string(formats::kContinuedMark) + std::string(kCrLf));
    Pages().Continue(false);
}

void PrintLargeNext() {
    std::string bytes(formats::kLargeMark);
    bytes += kCrLf;
    WriteOut(bytes);
}

void PrintOptionalBlockBegin(int part) {
    std::string bytes(kOptionalBlockBegin);
    bytes += std::to_string(part);
    bytes += kCrLf;
    WriteOut(bytes);
}

void PrintOptionalBlockEnd() {
    std::string bytes(kOptionalBlockEnd);
    bytes += kCrLf;
    WriteOut(bytes);
}

void PrintBlankLines(int32_t n) {
    if (n <= 0) return;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(n) * 2);
    for (int32_t i = 0; i < n; ++i) bytes += kCrLf;
    WriteOut(bytes);
    CountLines(n, true);
}

void NewPageIfShort(int32_t needed, int32_t blanks) {
    if (LinesPerPage - LineCount < needed) {
        PrintPageBreak();
    } else {
        PrintBlankLines(blanks);
    }
}

void PrintPageBreak() {
    WriteOut(std::string_view(&kFormFeed, 1));
    Pages().AddBreak();
    LineCount = 0;
}

void AppendPageBreak() noexcept {
    if (CurrentPrintFile.empty()) return;
    // Appends to an existing file only: a deleted print file is not brought back.
    const int fd = ::open(CurrentPrintFile.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return;
    // A lost page break is a file cut short like any other lost line.
    if (::write(fd, &kFormFeed, 1) != 1) NoteWriteFailure(errno != 0 ? errno : ENOSPC);
    ::close(fd);
}

double Checked(double v) {
    if (!std::isfinite(v)) Fail(vberr::kOverflow, "計算値が数値ではありません");
    return v;
}

// ---- Chapter protocol --------------------------------------------------------------------------

bool RunChapter(const std::function<void()>& body, std::string* error) {
    LinesPerPage = kChapterLinesPerPage;
    bool ok = false;
    try {
        body();
        ok = true;
    } catch (const PrintFault& e) {
        if (error) *error = e.what() + std::string(" (") + std::to_string(e.code()) + ")";
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    } catch (...) {
        if (error) *error = "unknown failure";
    }
    ClosePrintFile();
    return ok;
}

ChapterSection::ChapterSection(ChapterData& data, std::string_view section, bool resetLineCount)
    : data_(data) {
    count_ = ReadFormatSection(ReportFormatFile(), section, data_.LineLevels, data_.LineTexts);
    OpenPrintFile();
    if (resetLineCount) {
        LineCount = 0;
        Pages().Restart(0);
    }
}

ChapterSection::~ChapterSection() { ClosePrintFile(); }

void ChapterSection::Line(int32_t n) {
    if (n < 1 || n > kMaxSectionLines) {
        Fail(vberr::kSubscript, "書式行番号が1～50の範囲外です: " + std::to_string(n));
    }
    PrintFormatLine(data_.LineLevels[n], data_.LineTexts[n]);
}

void ChapterSection::Template(int32_t n) {
    if (n < 1 || n > kMaxSectionLines) {
        Fail(vberr::kSubscript, "書式行番号が1～50の範囲外です: " + std::to_string(n));
    }
    PrintTemplateLine(data_.LineLevels[n], data_.LineTexts[n], data_.FieldValues, data_.FieldTexts);
}

}  // namespace kuvelt::basResOutPrn
