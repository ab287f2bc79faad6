// kuvelt-calc's and the preview's command lines as a shell or a script meets them: options in
// any order, --help and --version, "-" for standard input and output, only the programs' own
// lines on standard error; the manual pages and the shell completion against the tables the
// programs read their command lines by.
#include "cli/command_line.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/docs/manual.h"
#include "model/design_fields.h"
#include "support/test_support.h"
#include "usecase/outcome.h"

namespace kuvelt {
namespace {

const std::string kCalc = "./kuvelt-calc";
const std::string kPreview = "./Preview";

using kuvelt::test::Lines;

using kuvelt::test::Example;

// One command line: what it prints first on standard output (a prefix of the first line; ""
// nothing at all), its exit status, and lines standard error must hold (after the prefix).
struct LineCase {
    const char* name;
    std::string program;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::vector<std::string> err;
    std::string input = {};
    bool onlyOurs = true;  // every line of standard error is the program's own
};

class CommandLines : public ::testing::Test {
  protected:
    void SetUp() override {
        // Qt complains about this on standard error; the programs must keep it to themselves.
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("KUVELT_VERBOSE");
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    test::TempDir dir;
};

void Check(const LineCase& c) {
    SCOPED_TRACE(c.name);
    const test::ProgramRun r = test::RunProgram(c.program, c.args, c.input);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.out.empty()) {
        EXPECT_EQ(r.out, "");
    } else {
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')).substr(0, c.out.size()), c.out);
    }
    const std::string prefix =
        (c.program == kPreview ? "Preview" : "kuvelt-calc") + std::string(": ");
    const std::vector<std::string> lines = Lines(r.err);
    for (const std::string& line : lines) {
        if (c.onlyOurs) {
            EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
        }
    }
    for (const std::string& e : c.err) {
        EXPECT_TRUE(
            std::any_of(lines.begin(), lines.end(),
                        [&](const std::string& l) { return l.find(e) != std::string::npos; }))
            << e << "\n"
            << r.err;
    }
    if (c.status == 64) {
        ASSERT_FALSE(lines.empty());
        const std::string hint = c.program == kPreview ? "Preview --help で使い方を表示します。"
                                                       : std::string(cli::kUsageHint);
        EXPECT_EQ(lines.back(), prefix + hint);
    }
}

TEST_F(CommandLines, StatusOutputAndOnlyOurMessages) {
    const std::string sand = Example("sand-channel.kvt");
    const std::string json = dir.file("sand.json");
    ASSERT_EQ(test::RunProgram(kCalc, {"--write", json, sand}).status, 0);
    const std::string sandBytes = test::ReadBytes(sand);
    const std::string unchosen = dir.file("unchosen.kvt");
    ASSERT_EQ(
        test::RunProgram(kCalc, {"--write", unchosen, "--set", "gInpYaita.InpFlg=false", sand})
            .status,
        0);
    const std::string kRead =
        "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ: 指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。";
    const std::vector<LineCase> cases = {
        // Options in any order, before or after the mode and the files.
        {"OptionsBeforeTheMode",
         kCalc,
         {"--pick", "auto", "--pdf", dir.file("a.pdf"), sand},
         0,
         dir.file("a.pdf"),
         {"使用矢板をﾌﾟﾛｸﾞﾗﾑが提案しました： 鋼矢板 №7 SP-ⅢW"}},
        {"FileBeforeTheMode", kCalc, {sand, "--json", "--pick", "steel:7:14"}, 0, "{", {}},
        {"ChangeAfterTheFile",
         kCalc,
         {"--summary", sand, "--set", "gInpJyoken.Title=x"},
         0,
         "件名              x",
         {}},
        {"ValueAfterEquals",
         kCalc,
         {"--set=gInpJyoken.Title=y", sand},
         0,
         "件名              y",
         {}},
        {"SweepAloneIsCsv",
         kCalc,
         {sand, "--sweep", "gInpJyoken.ELDL=0:-0.1:-0.1"},
         0,
         "gInpJyoken.ELDL (m),status",
         {}},
        {"EndOfOptions", kCalc, {"--json", "--", "--json"}, 2, "", {kRead}},
        {"Version", kCalc, {"--version"}, 0, "kuvelt-calc 1.", {}},
        {"HelpWinsOverTheRest", kCalc, {sand, "--pdf", "x.pdf", "-h"}, 0, "Usage: kuvelt-calc", {}},
        // Wrong command lines: exit 64 with the reason and the hint, nothing done.
        {"Nothing", kCalc, {}, 64, "", {"no design FILE given (- reads one from standard input)"}},
        {"ModeWithoutFile", kCalc, {"--summary"}, 64, "", {"no design FILE given"}},
        {"UnknownOption", kCalc, {"--nonsense", sand}, 64, "", {"unknown option --nonsense"}},
        {"TwoModes",
         kCalc,
         {"--json", sand, "--pdf", "x.pdf"},
         64,
         "",
         {"two modes, --json and --pdf x.pdf: give one mode"}},
        {"ModeTwice",
         kCalc,
         {"--pdf", "a.pdf", sand, "--pdf", "b.pdf"},
         64,
         "",
         {"the mode is given twice, --pdf a.pdf and --pdf b.pdf: give it once"}},
        {"ValueLeftOut", kCalc, {"--pdf", "--pick", "auto", sand}, 64, "", {"--pdf needs OUT.pdf"}},
        {"FlagWithAValue", kCalc, {"--yes=1", sand}, 64, "", {"--yes takes no value"}},
        {"WriteWithoutItsFile", kCalc, {"--write", sand}, 64, "", {"no design FILE given"}},
        {"WriteTwoFiles",
         kCalc,
         {"--write", "o.kvt", sand, sand},
         64,
         "",
         {"--write takes one FILE, not 2"}},
        {"CsvOptionWithAnotherMode",
         kCalc,
         {"--json", "--columns", "gDL.ELDLX", sand},
         64,
         "",
         {"--columns goes with --csv, not with --json"}},
        {"StandardInputTwice",
         kCalc,
         {"-", "--json", "-"},
         64,
         "",
         {"- (standard input) is given twice"}},
        {"ReportToStandardOutput",
         kCalc,
         {"--report", "-", sand},
         64,
         "",
         {"--report writes a folder"}},
        // Standard input: a design file or a JSON design, told by the first non-blank byte.
        {"DesignFileOnStandardInput", kCalc, {"--json", "-"}, 0, "{", {}, sandBytes},
        {"JsonDesignOnStandardInput",
         kCalc,
         {"-", "--set", "gInpJyoken.Title=標準入力"},
         0,
         "件名              標準入力",
         {},
         " \r\n\t" + test::ReadBytes(json)},
        {"BrokenJsonOnStandardInput",
         kCalc,
         {"--json", "-"},
         2,
         "",
         {"standard input: gInpJyoken.ELDL: 1000 is outside the input range"},
         R"({"gInpJyoken": {"ELDL": 1000}})"},
        {"NoDesignOnStandardInput", kCalc, {"-"}, 2, "", {kRead}, "hello"},
        // Standard output as a file: whole or nothing.
        {"DesignToStandardOutput",
         kCalc,
         {"--write", "-", "-"},
         0,
         sandBytes.substr(0, 20),
         {},
         sandBytes},
        {"PdfToStandardOutput", kCalc, {"-", "--pdf", "-"}, 0, "%PDF-", {}, sandBytes},
        {"NoPdfNothingOut",
         kCalc,
         {"--pdf", "-", unchosen},
         2,
         "",
         {"使用矢板が決定されていません。"}},
        // The preview program under kuvelt-calc: its own lines said as ours, Qt's kept out.
        {"PreviewFailureSaidAsOurs",
         kCalc,
         {"--pdf", dir.file("no/folder/x.pdf"), sand},
         5,
         "",
         {"印刷プレビュー: PDF ファイルを書き込めません", "原因：No such file or directory"}},
        // Qt warns of a runtime folder others may read (see the loop below).
        {"VerboseLetsQtThrough",
         kCalc,
         {"--verbose", "--pdf", dir.file("v.pdf"), sand},
         0,
         dir.file("v.pdf"),
         {"QStandardPaths: wrong permissions on runtime directory"},
         "",
         false},
        // The preview program on its own.
        {"PreviewHelp", kPreview, {"/INI=/w", "x.prn", "--help"}, 0, "使い方: Preview", {}},
        {"PreviewVersion", kPreview, {"--version"}, 0, "Preview 1.", {}},
        {"PreviewUnknownOption",
         kPreview,
         {"--nonsense"},
         64,
         "",
         {"不明なオプションです: --nonsense"}},
        {"PreviewMissingPrintFile",
         kPreview,
         {"--pdf", dir.file("p.pdf"), dir.file("none.prn")},
         1,
         "",
         {"印刷ファイルを読み込めません。"}},
    };
    for (const LineCase& c : cases) {
        const bool preview = c.program == kPreview ||
                             std::find(c.args.begin(), c.args.end(), "--pdf") != c.args.end();
        if (preview && !KUVELT_WITH_PREVIEW) continue;  // a build without the Qt programs
        const bool qtWarns = std::string(c.name) == "VerboseLetsQtThrough";
        if (qtWarns) {
            std::filesystem::create_directories(dir.file("runtime"));
            std::filesystem::permissions(dir.file("runtime"), std::filesystem::perms(0755));
            ::setenv("XDG_RUNTIME_DIR", dir.file("runtime").c_str(), 1);
        }
        Check(c);
        if (qtWarns) ::unsetenv("XDG_RUNTIME_DIR");
    }
    if (!KUVELT_WITH_PREVIEW) return;

    // What goes to standard output is the whole file and nothing else.
    EXPECT_EQ(test::RunProgram(kCalc, {"--write", "-", "-"}, sandBytes).out, sandBytes);
    const std::string pdf = test::RunProgram(kCalc, {"--pdf", "-", sand}).out;
    EXPECT_EQ(pdf.substr(pdf.rfind("%%EOF")), "%%EOF\n");
}

// The committed files hold the lists made from the tables between "BEGIN table: NAME" and
// "END table" lines; false when the markers are missing.
bool ReplaceTable(std::string& text, const std::string& name, const std::string& body) {
    const std::regex begin("(^|\n)[^\n]*BEGIN table: " + name + "\n");
    std::smatch m;
    if (!std::regex_search(text, m, begin)) return false;
    const std::size_t from = static_cast<std::size_t>(m.position(0) + m.length(0));
    const std::size_t end = text.find("END table", from);
    if (end == std::string::npos) return false;
    const std::size_t lineStart = text.rfind('\n', end) + 1;
    text.replace(from, lineStart - from, body);
    return true;
}

// The options an entry line names: "--pdf", "/INI=" (a manual's roff unescaped first).
std::vector<std::string> Names(const std::vector<std::string>& lines) {
    static const std::regex name("(--[a-z-]+|/INI=)");
    std::vector<std::string> names;
    for (std::string l : lines) {
        for (std::size_t p; (p = l.find("\\-")) != std::string::npos;) l.replace(p, 2, "-");
        std::smatch m;
        if (std::regex_search(l, m, name)) names.push_back(m[1]);
    }
    return names;
}

// The line after each ".TP" of a section of a manual page.
std::vector<std::string> Items(const std::string& page, const std::string& section) {
    std::vector<std::string> items;
    const std::vector<std::string> lines = Lines(page);
    bool in = false;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind(".SH ", 0) == 0) in = lines[i] == ".SH " + section;
        if (in && lines[i] == ".TP") items.push_back(lines[i + 1]);
    }
    return items;
}

// The entries of a --help text: its lines indented by two blanks.
std::vector<std::string> HelpEntries(const std::string& help) {
    std::vector<std::string> entries;
    for (const std::string& l : Lines(help)) {
        if (l.size() > 2 && l.rfind("  ", 0) == 0 && l[2] != ' ') entries.push_back(l);
    }
    return entries;
}

TEST(ManualPage, ListsWhatTheProgramsTake) {
    const bool update = std::getenv("KUVELT_UPDATE_DOCS") != nullptr;
    struct Table {
        const char* file;
        const char* name;
        std::string body;
    };
    const std::vector<Table> tables = {
        {"docs/man/kuvelt-calc.1", "modes and options", cli::docs::ManualModesAndOptions()},
        {"docs/man/kuvelt-calc.1", "design fields", cli::docs::ManualDesignFields()},
        {"data/bash-completion/kuvelt-calc", "completion", cli::docs::CompletionTables()},
    };
    for (const Table& t : tables) {
        const std::string path = (test::SourceDir() / t.file).string();
        const std::string text = test::ReadBytes(path);
        std::string made = text;
        ASSERT_TRUE(ReplaceTable(made, t.name, t.body)) << t.file << ": no table " << t.name;
        if (update && made != text) test::WriteBytes(path, made);
        EXPECT_EQ(test::ReadBytes(path), made)
            << "run this test with KUVELT_UPDATE_DOCS=1 to write " << path;
    }

    // The manual pages and --help list the same modes and options.
    const std::string calcPage =
        test::ReadBytes((test::SourceDir() / "docs/man/kuvelt-calc.1").string());
    std::vector<std::string> fromPage = Names(Items(calcPage, "MODES"));
    for (const std::string& n : Names(Items(calcPage, "OPTIONS"))) fromPage.push_back(n);
    const test::ProgramRun help = test::RunProgram(kCalc, {"--help"});
    ASSERT_EQ(help.status, 0);
    EXPECT_EQ(fromPage, Names(HelpEntries(help.out)));
    EXPECT_EQ(fromPage.size(), cli::CommandLineOptions().size());
#if KUVELT_WITH_PREVIEW
    const std::string previewPage =
        test::ReadBytes((test::SourceDir() / "docs/man/kuvelt-preview.1").string());
    const test::ProgramRun previewHelp = test::RunProgram(kPreview, {"--help"});
    ASSERT_EQ(previewHelp.status, 0);
    EXPECT_EQ(Names(Items(previewPage, "OPTIONS")), Names(HelpEntries(previewHelp.out)));
#endif
    // Every exit status is explained, in order.
    std::vector<std::string> statuses;
    for (const usecase::OutcomeInfo& o : usecase::Outcomes())
        statuses.push_back(".B " + std::to_string(usecase::ExitStatus(o.outcome)));
    EXPECT_EQ(Items(calcPage, "EXIT STATUS"), statuses);
}

// What bash offers for `line` with the cursor at its end, the completion file sourced alone.
std::vector<std::string> Complete(const std::string& line) {
    const std::string file = (test::SourceDir() / "data/bash-completion/kuvelt-calc").string();
    const std::string script =
        "source \"$1\"; COMP_LINE=$2; COMP_POINT=${#COMP_LINE}; "
        "if [[ $2 == kuvelt-calc* ]]; then _kuvelt_calc; else _kuvelt_preview; fi 2>/dev/null; "
        "printf '%s\\n' \"${COMPREPLY[@]}\"";
    const test::ProgramRun r =
        test::RunProgram("/bin/bash", {"--norc", "--noprofile", "-c", script, "bash", file, line});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> words;
    for (const std::string& w : Lines(r.out))
        if (!w.empty()) words.push_back(w);
    std::sort(words.begin(), words.end());
    return words;
}

TEST(ShellCompletion, OffersModesOptionsPathsAndKinds) {
    // The row fields of a steel section starting with "Z", and the first Boolean record field.
    std::vector<std::string> zFields;
    for (const DesignField& f : RowFields(Catalogue::Steel))
        if (f.Member().front() == 'Z')
            zFields.push_back("gInpSectS[3]." + std::string(f.Member()) + "=");
    std::sort(zFields.begin(), zFields.end());
    std::string flag;
    for (const DesignField& f : DesignFields()) {
        if (f.type == FieldType::Bool && flag.empty())
            flag = std::string(RecordGlobal(f.record)) + "." + std::string(f.Member());
    }
    ASSERT_FALSE(flag.empty());
    struct Case {
        std::string line;
        std::vector<std::string> words;
    };
    const std::vector<Case> cases = {
        {"kuvelt-calc --s", {"--set", "--summary", "--sweep"}},
        {"kuvelt-calc x.kvt --pi", {"--pick"}},
        {"kuvelt-calc --pick ", {"auto", "concrete:", "light:", "steel:"}},
        {"kuvelt-calc --pick=a", {"auto"}},
        {"kuvelt-calc --set gInpJyoken.ELD", {"gInpJyoken.ELDL="}},
        {"kuvelt-calc --set gInpSectL", {"gInpSectLS["}},
        {"kuvelt-calc --set gInpSectS[3].Z", zFields},
        {"kuvelt-calc --set " + flag + "=", {"false", "true"}},
        {"kuvelt-calc --sweep gInpJyoken.Titl", {}},  // a text cannot be swept
        {"kuvelt-calc --set gInpJyoken.ELDL=-", {}},
        {"kuvelt-calc -- --s", {}},
        {"kuvelt-preview --", {"--", "--help", "--pdf", "--verbose", "--version"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Complete(c.line), c.words) << c.line;
}

}  // namespace
}  // namespace kuvelt
