// The report when its files fail: a report format file with a section missing, an "End"
// missing or a bad line; style files with too many styles or broken records; the temporary
// folder read-only, full, out of inodes or gone. The print job must name every failed chapter
// in one message, leave the chapters that did not fail complete, refuse to build a combined file
// it cannot write (with the cause), remove its files when closed, and never touch the design or
// the installed data files.
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "calc/calc_main.h"
#include "calc/yaita_choice.h"
#include "fault_support.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;
using kuvelt::test::ReadBytes;
using kuvelt::test::TempDir;
using kuvelt::test::WriteBytes;

// The five chapters, then the front matter (cover, summary, standards) as 5..7.
const char* const kLine[] = {"･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『外力の計算』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『仮想海底面の算定』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『矢板の設計』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『根切り底面の安定検討』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『表紙』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『設計調書』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『適用基準・計算方法』の印刷ﾌｧｲﾙ生成ｴﾗｰ"};

// The message of the print menu when the parts `failed` (chapters 0..4, front matter 5..7)
// could not be made.
Message FailureMessage(const std::vector<int>& failed) {
    std::string text;
    for (int i : failed) text += std::string("\n") + kLine[i];
    return Message{0, text, "Kuvelt", MsgIcon::Error, MsgButtons::Ok};
}

Message CombinedMessage(int32_t code) {
    return Message{code, "印刷ﾌｧｲﾙを作成できません。（ｴﾗｰｺｰﾄﾞ ： " + std::to_string(code) + "）",
                   "検討結果の印刷", MsgIcon::Error, MsgButtons::Ok};
}

// The format file's lines as UTF-8, to edit; and back to its code page 932 bytes.
std::vector<std::string> FormatLines() {
    const std::string bytes = ReadBytes((kuvelt::test::ProgramDir() / "Kuvelt.FMT").string());
    std::vector<std::string> lines;
    for (const std::string& l : cp932::SplitCrLf(bytes)) lines.push_back(cp932::ToUtf8(l));
    return lines;
}
std::string FormatBytes(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += cp932::FromUtf8(l) + "\r\n";
    return out;
}
std::size_t SectionStart(const std::vector<std::string>& lines, const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == name) return i;
    }
    ADD_FAILURE() << "no section " << name;
    return 0;
}
std::size_t SectionEnd(const std::vector<std::string>& lines, std::size_t start) {
    std::size_t i = start;
    while (i < lines.size() && lines[i] != "End") ++i;
    return i;
}

// Edits of the installed format file.
using Edit = std::function<void(std::vector<std::string>&)>;
Edit DropSection(const std::string& name) {
    return [name](std::vector<std::string>& l) {
        const std::size_t s = SectionStart(l, name);
        l.erase(l.begin() + static_cast<long>(s),
                l.begin() + static_cast<long>(SectionEnd(l, s) + 1));
    };
}
Edit InsertLine(const std::string& name, const std::string& line) {
    return [name, line](std::vector<std::string>& l) {
        l.insert(l.begin() + static_cast<long>(SectionStart(l, name) + 1), line);
    };
}
// The file ends inside the section: its "End" and everything after it are gone.
Edit CutAfter(const std::string& name) {
    return [name](std::vector<std::string>& l) { l.resize(SectionEnd(l, SectionStart(l, name))); };
}

// The report's data files in a folder of the test's own, and its temporary files in another.
class ReportFault : public ::testing::Test {
  protected:
    void SetUp() override {
        UseReportDataCopies(data.path().string());
        basResOutPrn::SetReportTempFolder(temp.path().string());
        PrepareEveryChapterDesign();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(print_job::StabilityItemEnabled(SnapshotResults()));
        design = DesignFingerprint();
    }
    void TearDown() override {
        print_job::CloseReport();
        basResOutPrn::SetReportDataFolder("");
        basResOutPrn::SetReportTempFolder("");
    }
    print_job::Generation Generate() {
        // Numbering switched off, so that a chapter's text does not depend on those before it.
        WriteBytes(data.file("no-numbering.INI"), "[Chapter]\r\nMethod=0\r\n");
        return print_job::GenerateReport(SnapshotResults(), data.file("no-numbering.INI"));
    }
    // The job's files of the chapters that did not fail, with the temporary names of the figure
    // files taken out (they differ from run to run).
    static std::string Chapter(int item) {
        std::string text = cp932::ToUtf8(ReadBytes(print_job::ChapterFile(item)));
        for (std::size_t at = text.find("?FG;000;000;"); at != std::string::npos;
             at = text.find("?FG;000;000;", at + 1)) {
            const std::size_t end = text.find("\r\n", at);
            text.replace(at, end - at, "?FG");
        }
        return text;
    }
    std::array<std::string, print_job::kItems> CleanChapters() {
        EXPECT_FALSE(Generate().failure.has_value());
        std::array<std::string, print_job::kItems> out;
        for (int i = 0; i < print_job::kItems; ++i) out[std::size_t(i)] = Chapter(i);
        print_job::CloseReport();
        return out;
    }
    void ExpectNothingLost() {
        EXPECT_EQ(DesignFingerprint(), design);
        print_job::CloseReport();
        EXPECT_TRUE(fs::is_empty(temp.path())) << "print or figure files left behind";
    }
    TempDir data, temp;
    std::string design;
};

struct DataCase {
    const char* name;
    const char* file;  // which data file is changed
    std::function<void(const std::string& path)> change;
    std::vector<int> failed;
};

TEST_F(ReportFault, BrokenDataFilesFailTheirChaptersOnly) {
    const auto clean = CleanChapters();
    const auto fmt = [](Edit e) {
        return [e](const std::string& path) {
            std::vector<std::string> l = FormatLines();
            e(l);
            WriteBytes(path, FormatBytes(l));
        };
    };
    const auto bytes = [](std::string b) {
        return [b](const std::string& path) { WriteBytes(path, cp932::FromUtf8(b)); };
    };
    const std::string lineHead = "\"ｷｰ\",\"種類\",\"太さ\",\"説明\"\r\n";
    std::string tenStyles = lineHead, nineStyles = lineHead;
    for (int i = 1; i <= 10; ++i) {
        const std::string rec = std::to_string(i) + ", 0, 18, \"線\"\r\n";
        tenStyles += rec;
        if (i <= 9) nineStyles += rec;
    }
    tenStyles += "END, 0, 0, \"\"\r\n";
    nineStyles += "END, 0, 0, \"\"\r\n";
    const std::string textHead =
        "\"ｷｰ\",\"太さ\",\"書体\",\"大きさ\",\"色\",\"斜体\",\"予備\",\"説明\"\r\n";
    const std::string textRec = ", 400, \"IPAGothic\", 160, 0, 0, 0, \"\"\r\n";
    const std::string textEnd = "END, 0, \"\", 0, 0, 0, 0, \"\"\r\n";

    const std::vector<DataCase> cases = {
        {"format_section_missing_conditions", "Kuvelt.FMT", fmt(DropSection("設計条件")), {0}},
        {"format_section_missing_virtual_ground",
         "Kuvelt.FMT",
         fmt(DropSection("仮想地盤面")),
         {2}},
        {"format_section_missing_boiling", "Kuvelt.FMT", fmt(DropSection("ﾎﾞｲﾘﾝｸﾞの検討")), {4}},
        {"format_two_sections_missing",
         "Kuvelt.FMT",
         [&](const std::string& p) {
             std::vector<std::string> l = FormatLines();
             DropSection("残留水圧")(l);
             DropSection("矢板頭部")(l);
             WriteBytes(p, FormatBytes(l));
         },
         {1, 3}},
        {"format_end_missing", "Kuvelt.FMT", fmt(CutAfter("ﾎﾞｲﾘﾝｸﾞの検討")), {4, 6, 7}},
        {"format_blank_line_in_section", "Kuvelt.FMT", fmt(InsertLine("設計条件", "")), {0}},
        {"format_line_number_51", "Kuvelt.FMT", fmt(InsertLine("仮想地盤面", " 51 1見出し")), {2}},
        {"format_level_6", "Kuvelt.FMT", fmt(InsertLine("仮想地盤面", "  1 6見出し")), {2}},
        {"format_section_missing_cover", "Kuvelt.FMT", fmt(DropSection("表紙")), {5}},
        {"format_empty_file", "Kuvelt.FMT", bytes(""), {0, 1, 2, 3, 4, 5, 6, 7}},
        {"format_missing",
         "Kuvelt.FMT",
         [](const std::string& p) { fs::remove(p); },
         {0, 1, 2, 3, 4, 5, 6, 7}},
        {"format_is_a_folder",
         "Kuvelt.FMT",
         [](const std::string& p) {
             fs::remove(p);
             fs::create_directory(p);
         },
         {0, 1, 2, 3, 4, 5, 6, 7}},
        // The style files fail every chapter that draws a figure: the 構造図, the 土圧・水圧分布図
        // and the load distribution diagram.
        {"line_styles_ten", "LINE_PRN.DEF", bytes(tenStyles), {0, 1, 3}},
        {"line_styles_without_end",
         "LINE_PRN.DEF",
         bytes(lineHead + "1, 0, 18, \"線\"\r\n"),
         {0, 1, 3}},
        {"line_styles_heading_only", "LINE_PRN.DEF", bytes(lineHead), {0, 1, 3}},
        {"line_styles_empty", "LINE_PRN.DEF", bytes(""), {0, 1, 3}},
        {"line_styles_width_not_a_number",
         "LINE_PRN.DEF",
         bytes(lineHead + "1, 0, thick, \"線\"\r\nEND, 0, 0, \"\"\r\n"),
         {0, 1, 3}},
        {"line_styles_missing",
         "LINE_PRN.DEF",
         [](const std::string& p) { fs::remove(p); },
         {0, 1, 3}},
        {"text_styles_three",
         "STR_PRN.DEF",
         bytes(textHead + "1" + textRec + "2" + textRec + "3" + textRec + textEnd),
         {0, 1, 3}},
        {"text_styles_without_the_diagram_style",
         "STR_PRN.DEF",
         bytes(textHead + "1" + textRec + textEnd),
         {0, 1, 3}},
        {"text_styles_size_not_a_number",
         "STR_PRN.DEF",
         bytes(textHead + "1" + textRec + "2, 400, \"IPAGothic\", big, 0, 0, 0, \"\"\r\n" +
               textEnd),
         {0, 1, 3}},
        {"text_styles_missing",
         "STR_PRN.DEF",
         [](const std::string& p) { fs::remove(p); },
         {0, 1, 3}},
    };
    for (const DataCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = data.file(c.file);
        const std::string original = ReadBytes(path);
        c.change(path);
        const auto installed = FolderContents(data.path().string());

        const print_job::Generation g = Generate();
        ASSERT_TRUE(g.failure.has_value());
        EXPECT_EQ(*g.failure, FailureMessage(c.failed));
        for (int i = 0; i < print_job::kItems; ++i) {
            const bool failed = std::find(c.failed.begin(), c.failed.end(), i) != c.failed.end();
            EXPECT_EQ(g.written[std::size_t(i)], !failed) << "item " << i;
            EXPECT_EQ(g.errors[std::size_t(i)].empty(), !failed) << "item " << i;
            // Numbering is off, so a chapter that did not fail is exactly the clean one.
            if (!failed) {
                EXPECT_EQ(Chapter(i), clean[std::size_t(i)]) << "item " << i;
            }
        }
        EXPECT_EQ(FolderContents(data.path().string()), installed);  // read-only for the job
        ExpectNothingLost();

        fs::remove_all(path);
        WriteBytes(path, original);
    }
    // Nine line styles are what the file may hold: the boundary itself is no failure.
    WriteBytes(data.file("LINE_PRN.DEF"), cp932::FromUtf8(nineStyles));
    EXPECT_FALSE(Generate().failure.has_value());
}

TEST_F(ReportFault, StyleFileReadersGiveTheirCodesAndKeepTheTables) {
    const std::string head = "\"ｷｰ\",\"種類\",\"太さ\",\"説明\"\r\n";
    std::string ten = head;
    for (int i = 1; i <= 10; ++i)
        ten += std::to_string(i) + ", 1, " + std::to_string(i) + ", \"\"\r\n";
    ten += "END, 0, 0, \"\"\r\n";
    const std::pair<const char*, std::pair<std::string, int32_t>> cases[] = {
        {"ten_styles", {ten, 9}},
        {"no_end", {head + "1, 0, 18, \"\"\r\n", 62}},
        {"empty", {"", 62}},
        {"not_a_number", {head + "1, x, 18, \"\"\r\nEND, 0, 0, \"\"\r\n", 13}},
    };
    basResOutPrnZ::LoadLineStyles(data.file("LINE_PRN.DEF"));
    const auto tables = basResOutPrnZ::LineStyles;
    const int32_t count = basResOutPrnZ::LineStyleCount;
    for (const auto& [name, c] : cases) {
        SCOPED_TRACE(name);
        try {
            basResOutPrnZ::ParseLineStyles(cp932::FromUtf8(c.first));
            ADD_FAILURE() << "accepted";
        } catch (const PrintFault& f) {
            EXPECT_EQ(f.code(), c.second) << f.what();
        }
        // A style file that cannot be read leaves the styles read before.
        EXPECT_EQ(basResOutPrnZ::LineStyleCount, count);
        EXPECT_EQ(basResOutPrnZ::LineStyles[1].Width, tables[1].Width);
    }
    try {
        basResOutPrnZ::LoadLineStyles(data.file("missing.DEF"));
        ADD_FAILURE() << "accepted";
    } catch (const PrintFault& f) {
        EXPECT_EQ(f.code(), 53);
    }
}

// ---- The temporary folder ------------------------------------------------------------------

// Points TMPDIR somewhere for one test (the report's own override is cleared, so the job uses
// the user's temporary folder as the program does).
class TmpDirScope {
  public:
    explicit TmpDirScope(const std::string& dir) {
        const char* old = std::getenv("TMPDIR");
        had_ = old != nullptr;
        if (had_) old_ = old;
        ::setenv("TMPDIR", dir.c_str(), 1);
        basResOutPrn::SetReportTempFolder("");
    }
    ~TmpDirScope() {
        if (had_) {
            ::setenv("TMPDIR", old_.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

  private:
    bool had_ = false;
    std::string old_;
};

struct TempCase {
    const char* name;
    const char* options;
    std::function<std::string(ScratchMount&)> arrange;  // returns the temporary folder
    std::vector<int> failed;
    int32_t combinedCode;
};

TEST_F(ReportFault, TemporaryFolderFailuresAreReportedAndNothingIsLeft) {
    const print_job::Ticks all{true, true, true, true, true};
    const TempCase cases[] = {
        {"read_only",
         "size=64k",
         [](ScratchMount& m) { return m.SetReadOnly(true) ? m.path() : ""; },
         {0, 1, 2, 3, 4, 5, 6, 7},
         70},
        {"full",
         "size=64k",
         [](ScratchMount& m) { return m.Fill(0) ? m.path() : ""; },
         {0, 1, 2, 3, 4, 5, 6, 7},
         61},
        // Room for four files only: the first chapter with the two files of its 構造図, and
        // the print file of the second; the figure of the second chapter and every file after it
        // find no inode.
        {"inodes_run_out",
         "size=1m,nr_inodes=5",
         [](ScratchMount& m) { return m.path(); },
         {1, 2, 3, 4, 5, 6, 7},
         61},
        {"vanished",
         "size=64k",
         [](ScratchMount& m) { return m.file("gone"); },
         {0, 1, 2, 3, 4, 5, 6, 7},
         76},
    };
    for (const TempCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt(c.options);
        KUVELT_NEED_MOUNT(mnt);
        const std::string folder = c.arrange(mnt);
        ASSERT_FALSE(folder.empty());
        TmpDirScope scope(folder);
        const auto before = FolderContents(mnt.path());

        const print_job::Generation g = Generate();
        ASSERT_TRUE(g.failure.has_value());
        EXPECT_EQ(*g.failure, FailureMessage(c.failed));
        // No preview may start on a combined file that is missing or stale.
        const auto refusal = print_job::BuildCombinedFile(all);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(*refusal, CombinedMessage(c.combinedCode));
        EXPECT_EQ(DesignFingerprint(), design);
        print_job::CloseReport();
        EXPECT_EQ(FolderContents(mnt.path()), before) << "print or figure files left behind";
    }
}

// The temporary folder fails while the menu is open: the print button must not start the
// preview on the combined file of an earlier press (it would print the wrong chapters).
TEST_F(ReportFault, TemporaryFolderFailingWhileTheMenuIsOpen) {
    struct Case {
        const char* name;
        std::function<bool(ScratchMount&)> breakIt;
        int32_t code;
    };
    const Case cases[] = {
        {"becomes_read_only", [](ScratchMount& m) { return m.SetReadOnly(true); }, 70},
        {"fills_up", [](ScratchMount& m) { return m.Fill(0); }, 61},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt("size=1m");
        KUVELT_NEED_MOUNT(mnt);
        basResOutPrn::SetReportTempFolder(mnt.path());
        ASSERT_FALSE(Generate().failure.has_value());
        const print_job::Ticks first{true, false, false, false, false};
        ASSERT_FALSE(print_job::BuildCombinedFile(first).has_value());
        const std::string earlier = ReadBytes(print_job::CombinedFile());
        ASSERT_TRUE(c.breakIt(mnt));

        const print_job::Ticks second{false, true, true, true, true};
        const auto refusal = print_job::BuildCombinedFile(second);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(*refusal, CombinedMessage(c.code));
        EXPECT_EQ(ReadBytes(print_job::CombinedFile()), earlier);
        EXPECT_EQ(DesignFingerprint(), design);
        print_job::CloseReport();  // deleting may fail here: it is ignored, nothing crashes
        EXPECT_EQ(basResOutPrn::PrintFileCount, 0);
        EXPECT_EQ(basResOutPrn::FigureFileCount, 0);
    }
}

}  // namespace
}  // namespace kuvelt::faults
