// kuvelt-calc --report end to end: the chapter, combined and figure files of a design in one
// folder, and the exit status of each kind of failure.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "chapters_test_util.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/print_job.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;

int RunReport(const std::string& program, const std::string& dir, const std::string& design,
              const std::string& errFile) {
    const std::string cmd =
        "'" + program + "' --report '" + dir + "' '" + design + "' >/dev/null 2>'" + errFile + "'";
    const int st = std::system(cmd.c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// The program beside this test executable, in the build's program folder.
std::string Program() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "kuvelt-calc").string();
}

using kuvelt::test::Example;

TEST(ReportMode, WritesEveryFileIntoTheFolder) {
    test::TempDir tmp;
    const std::string dir = tmp.file("out");
    ASSERT_EQ(RunReport(Program(), dir, Example("sand-channel.kvt"), tmp.file("err")), 0)
        << test::ReadBytes(tmp.file("err"));
    // The cover on a page without the running header, the contents, then the rest of the front
    // matter (each part ending with its page break) and the chapters.
    const std::string cover = test::ReadBytes(dir + "/cover.prn");
    EXPECT_FALSE(cover.empty()) << "the cover has lines";
    std::string joined;
    for (const char* part : {"summary", "standards"}) {
        const std::string bytes = test::ReadBytes(dir + "/" + part + ".prn");
        if (!bytes.empty()) joined += bytes + '\x0C';
    }
    for (int i = 1; i <= 5; ++i) {
        const std::string f = dir + "/" + std::to_string(i) + ".prn";
        ASSERT_TRUE(fs::exists(f)) << f;
        if (i > 1) joined += '\x0C';
        // Every part is printed: the figure blocks stay, their marks go.
        for (const std::string& line : print_job::FilterOptionalBlocks(
                 cp932::SplitCrLf(test::ReadBytes(f)), print_job::kAllParts)) {
            joined += line + "\r\n";
        }
    }
    EXPECT_NE(cp932::ToUtf8(joined).find("?R1設計調書\r\n"), std::string::npos);
    EXPECT_NE(cp932::ToUtf8(joined).find("?R1適用基準・計算方法\r\n"), std::string::npos);
    const std::string combined = test::ReadBytes(dir + "/report.prn");
    const std::size_t titleEnd = combined.find("\r\n") + 2;
    EXPECT_EQ(cp932::ToUtf8(combined.substr(0, titleEnd)),
              "?TI;砂質土地盤の水路護岸（H=3.5m、水平載荷）\r\n");
    const std::string head = "?NF;\r\n" + cover + "\x0C";
    EXPECT_EQ(combined.substr(titleEnd, head.size()), head);
    EXPECT_EQ(cp932::ToUtf8(combined.substr(titleEnd + head.size(), 9)), "?R1目次\r\n");
    // The chapters end the report as written, their captions numbered.
    const auto captions = [](const std::string& bytes, const char* pattern) {
        return std::regex_replace(cp932::ToUtf8(bytes), std::regex(pattern), "#");
    };
    const std::string body = captions(joined, "\\?[FT]N;");
    const std::string all = captions(combined, "(図|表)-[0-9]+ ");
    ASSERT_GE(all.size(), body.size());
    EXPECT_EQ(all.substr(all.size() - body.size()), body);
    // The figure line names a composite file inside the folder by its name alone, and so do the
    // composite's sub-figure lines: the folder is whole wherever it is moved.
    const std::string c4 = test::ReadBytes(dir + "/4.prn");
    const auto at = c4.find("?FG;000;000;");
    ASSERT_NE(at, std::string::npos);
    const std::string fig = c4.substr(at + 12, c4.find("\r\n", at) - at - 12);
    EXPECT_EQ(fs::path(fig).parent_path(), fs::path());
    const std::string moved = tmp.file("moved");
    fs::rename(dir, moved);
    const std::string composite = cp932::ToUtf8(test::ReadBytes(moved + "/" + fig));
    const auto sub = composite.find("~MT");
    ASSERT_NE(sub, std::string::npos) << composite;
    EXPECT_EQ(composite.find('/'), std::string::npos) << "no folder in the composite's names";
    EXPECT_TRUE(fs::exists(moved + "/" +
                           composite.substr(sub, composite.find_first_of("\r\n ", sub) - sub)));
    fs::rename(moved, dir);
    EXPECT_FALSE(fs::exists(fs::path(dir) / "Kuvelt.INI"));
}

TEST(ReportMode, ExitStatusPerFailure) {
    test::TempDir tmp;
    // A design whose virtual ground surface lies deeper than the examined depth.
    InitData();
    gInpJyoken.ELGL = 10, gInpJyoken.ELYU = 10, gInpJyoken.ELDL = 0, gInpJyoken.Z = 1;
    int32_t code = 0;
    ASSERT_TRUE(WriteData(tmp.file("deep.kvt"), code));
    test::WriteBytes(tmp.file("junk.kvt"), "not a design\r\n");
    // A program folder without the report format file.
    fs::create_directories(tmp.path() / "bare");
    fs::copy_file(Program(), tmp.path() / "bare" / "kuvelt-calc");
    struct Case {
        const char* name;
        std::string program, design;
        int status;
        const char* message;
    } cases[] = {
        {"Refused", Program(), tmp.file("junk.kvt"), 2, ""},
        {"Missing", Program(), tmp.file("none.kvt"), 2, ""},
        {"CalculationFails", Program(), tmp.file("deep.kvt"), 1, "仮想海底面の算定ｴﾗｰ"},
        {"ChapterFails", (tmp.path() / "bare" / "kuvelt-calc").string(),
         Example("sand-channel.kvt"), 4, "･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ"},
    };
    for (const Case& c : cases) {
        const std::string err = tmp.file(std::string(c.name) + ".err");
        EXPECT_EQ(RunReport(c.program, tmp.file(c.name), c.design, err), c.status) << c.name;
        EXPECT_NE(test::ReadBytes(err).find(c.message), std::string::npos) << c.name;
    }
}

}  // namespace
}  // namespace kuvelt
