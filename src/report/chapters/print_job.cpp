#include "report/chapters/print_job.h"

#include "formats/print_pages.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/contents.h"
#include "report/numbering.h"
#include "report/prn.h"

namespace kuvelt::print_job {
namespace {

using namespace basResOutPrn;

using Writer = bool (*)(const Results&, std::string*);

// Each chapter gets a fresh print file; a failure to create it counts as the chapter failing.
bool RunInNewFile(Writer writer, const Results& results, bool run, std::string& error) {
    try {
        CurrentPrintFile = NewPrintFile();
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return run ? writer(results, &error) : true;
}

// Why the combined file could not be created when the menu opened (0 when it was), so the
// print button can name the cause instead of a meaningless code 0.
int32_t gCombinedCreateError = 0;

// Slots of the front-matter files and of the combined file in this opening (0: none).
std::array<int32_t, kParts> gPartSlot{};
int32_t gCombinedSlot = 0;

Writer FrontWriter(Part part) {
    switch (part) {
        case kCover:
            return basResOutCover::Write;
        case kSummary:
            return basResOutSummary::Write;
        default:
            return basResOutStandards::Write;
    }
}

std::string SlotFile(int32_t slot) {
    if (slot <= 0 || slot > PrintFileCount) return "";
    return PrintFileNames[static_cast<std::size_t>(slot)];
}

// The layer directly below the design ground level decides: sandy boiling, clayey heaving.
bool StabilityByHeaving() { return chapters::StabilityKind() != 0; }

bool WriteStability(const Results& results, std::string* error) {
    return StabilityByHeaving() ? basResOutNekiriAnteiAc::Write(results, error)
                                : basResOutNekiriAnteiAs::Write(results, error);
}

}  // namespace

Generation GenerateReport(const Results& results, const std::string& iniFile) {
    Generation g;
    ResetPrintJob();
    if (iniFile.empty()) {
        LoadNumbering();
    } else {
        LoadNumbering(iniFile);
    }
    static const Writer writers[kItems] = {basResOutJyoken::Write, basResOutGairyoku::Write,
                                           basResOutDL::Write, basResOutYaita::Write,
                                           WriteStability};
    std::string text;
    for (int i = 0; i < kItems; ++i) {
        const bool run = i < 4 || gInpJyoken.Nekiri == 1;
        g.written[static_cast<std::size_t>(i)] =
            RunInNewFile(writers[i], results, run, g.errors[static_cast<std::size_t>(i)]);
        if (!g.written[static_cast<std::size_t>(i)]) {
            text += "\n";
            text += ChapterFailureLine(i);
        }
    }
    gPartSlot = {};
    for (const Part part : kFrontFiles) {
        std::string error;
        const bool ok = RunInNewFile(FrontWriter(part), results, true, error);
        if (!CurrentPrintFile.empty()) gPartSlot[part] = PrintFileCount;
        g.partWritten[part] = ok;
        if (!ok) {
            text += "\n･『";
            text += kPartCaptions[part];
            text += "』の印刷ﾌｧｲﾙ生成ｴﾗｰ";
        }
    }
    gCombinedCreateError = 0;
    gCombinedSlot = 0;
    try {
        CurrentPrintFile = NewPrintFile();
        gCombinedSlot = PrintFileCount;
    } catch (const PrintFault& e) {
        CurrentPrintFile.clear();
        gCombinedCreateError = e.code();
    } catch (const std::exception&) {
        CurrentPrintFile.clear();
        gCombinedCreateError = vberr::kPathFileAccess;
    }
    if (!text.empty()) {
        g.failure = Message{0, text, kProductTitle, MsgIcon::Error, MsgButtons::Ok};
    }
    g.stabilityEnabled = StabilityItemEnabled(results);
    return g;
}

bool StabilityItemEnabled(const Results& results) {
    if (gInpJyoken.Nekiri != 1) return false;
    if (StabilityByHeaving()) return results.heaving && results.heaving->Error() == 0;
    return results.boiling && results.boiling->Error() == 0;
}

std::string ChapterFile(int item) {
    if (item < 0 || item >= kItems || item + 1 > PrintFileCount) return "";
    return PrintFileNames[static_cast<std::size_t>(item + 1)];
}

std::string PartFile(Part part) {
    if (part < 0 || part >= kParts) return "";
    return SlotFile(gPartSlot[part]);
}

std::string CombinedFile() { return SlotFile(gCombinedSlot); }

std::vector<std::string> FilterOptionalBlocks(const std::vector<std::string>& lines,
                                              const PartTicks& parts) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    bool dropping = false;
    for (const std::string& line : lines) {
        const std::string_view v(line);
        if (v.substr(0, kOptionalBlockBegin.size()) == kOptionalBlockBegin) {
            const std::string_view n = v.substr(kOptionalBlockBegin.size());
            int part = -1;
            if (n.size() == 1 && n[0] >= '0' && n[0] <= '9') part = n[0] - '0';
            // A mark naming no known part keeps its block: better printed than lost.
            dropping = part >= 0 && part < kParts && !parts[static_cast<std::size_t>(part)];
            continue;
        }
        if (v.substr(0, kOptionalBlockEnd.size()) == kOptionalBlockEnd) {
            dropping = false;
            continue;
        }
        if (!dropping) out.push_back(line);
    }
    return out;
}

Ticks ApplyCheckCommand(int command, const Ticks& ticks, const Ticks& enabled) {
    Ticks out = ticks;
    for (int i = 0; i < kItems; ++i) {
        const auto k = static_cast<std::size_t>(i);
        switch (command) {
            case 0:
                out[k] = enabled[k];
                break;
            case 1:
                out[k] = false;
                break;
            case 2:
                out[k] = enabled[k] && !ticks[k];
                break;
            default:
                break;
        }
    }
    return out;
}

std::optional<Message> BuildCombinedFile(const Ticks& ticks, const std::string& designFile,
                                         const PartTicks& parts) {
    bool any = false;
    for (bool t : ticks) any = any || t;
    if (!any) {
        return Message{0, "印刷項目はひとつ以上選択して下さい。", kMenuCaption,
                       MsgIcon::Information, MsgButtons::Ok};
    }
    const std::string combined = CombinedFile();
    int32_t code = 0;
    // Each piece is its file's lines with CR LF; a file that cannot be read adds nothing, like an
    // empty chapter.
    auto piece = [&](const std::string& file) {
        std::string bytes;
        if (!files::ReadAll(file, bytes, code)) bytes.clear();
        std::string out;
        out.reserve(bytes.size() + 64);
        for (const std::string& line : FilterOptionalBlocks(cp932::SplitCrLf(bytes), parts)) {
            out += line;
            out += "\r\n";
        }
        return out;
    };
    std::vector<std::string> front;  // cover, then summary and standards (contents go between)
    bool hasCover = false;           // the first piece is the cover (it wrote something)
    std::string body;
    for (const Part part : kFrontFiles) {
        if (!parts[part]) continue;
        std::string p = piece(PartFile(part));
        if (p.empty()) continue;
        hasCover = hasCover || part == kCover;
        front.push_back(std::move(p));
    }
    bool first = true;
    for (int i = 0; i < kItems; ++i) {
        if (!ticks[static_cast<std::size_t>(i)]) continue;
        if (!first) body += '\x0C';
        first = false;
        body += piece(ChapterFile(i));
    }
    std::string frontBytes;
    for (std::size_t i = 0; i < front.size(); ++i) {
        // The cover shows the title itself: its page goes without running header and footer.
        if (i == 0 && hasCover) frontBytes += std::string(formats::kNoFrameMark) + "\r\n";
        frontBytes += front[i];
        frontBytes += '\x0C';
        if (i == 0 && hasCover && parts[kContents]) frontBytes += kContentsMark;
    }
    if (!hasCover && parts[kContents]) frontBytes.insert(0, kContentsMark);
    // Figures and tables are numbered as this report prints them: a chapter or figure left out
    // is not counted.
    std::string document = NumberCaptions(frontBytes + body);
    if (parts[kContents]) document = InsertContents(document);

    // The document's title for the preview (its window and the PDF's metadata); not printed.
    std::string bytes = "?TI;" + cp932::FromUtf8(gInpJyoken.Title) + "\r\n";
    if (!designFile.empty()) bytes += "?DF;" + cp932::FromUtf8(designFile) + "\r\n";
    bytes += document;
    if (combined.empty()) {
        code = gCombinedCreateError != 0 ? gCombinedCreateError : vberr::kPathFileAccess;
    }
    files::Failure failure;
    if (!combined.empty() && !files::ReplaceFile(combined, bytes, failure)) {
        code = failure.code;
        NoteWriteFailure(failure);
    }
    if (combined.empty() || failure.code != 0) {
        // Starting the preview on a missing or stale combined file would print the wrong report.
        return Message{code,
                       "印刷ﾌｧｲﾙを作成できません。（ｴﾗｰｺｰﾄﾞ ： " + std::to_string(code) + "）",
                       kMenuCaption, MsgIcon::Error, MsgButtons::Ok};
    }
    CurrentPrintFile = combined;
    return std::nullopt;
}

std::vector<std::string> PreviewArguments(const std::string& previewProgram,
                                          const std::string& workFolder,
                                          const std::string& combinedFile) {
    return {previewProgram, "/INI=" + workFolder, combinedFile};
}

void CloseReport() { DeleteAllReportFiles(); }

void ReleaseFiles() {
    for (auto& f : PrintFileNames) f.clear();
    for (auto& f : FigureFileNames) f.clear();
    PrintFileCount = 0;
    FigureFileCount = 0;
    gPartSlot = {};
    gCombinedSlot = 0;
    CurrentPrintFile.clear();
}

}  // namespace kuvelt::print_job
