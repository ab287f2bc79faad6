// kuvelt-calc --report when its files fail: a report folder on a read-only or a full disk, and a
// program folder whose report format file lacks a section. The exit status and the failure lines
// must say what went wrong, and the design file read must stay as it was.
#include <filesystem>
#include <functional>

#include "fault_support.h"
#include "platform/cp932.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;
using kuvelt::test::ReadBytes;
using kuvelt::test::RunProgram;
using kuvelt::test::TempDir;
using kuvelt::test::WriteBytes;

std::string Example() {
    return (kuvelt::test::SourceDir() / "examples" / "sand-channel.kvt").string();
}

// A program folder of its own: the command-line program and the installed data files, with the
// format file changed by `edit`.
std::string ProgramFolderWith(const TempDir& dir, const std::function<void(std::string&)>& edit) {
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path prog = dir.path() / "program";
    fs::create_directory(prog);
    fs::copy_file(bin / "kuvelt-calc", prog / "kuvelt-calc");
    for (const char* f : {"Kuvelt.FMT", "LINE_PRN.DEF", "STR_PRN.DEF"}) {
        fs::copy_file(bin / f, prog / f);
    }
    std::string fmt = ReadBytes((prog / "Kuvelt.FMT").string());
    edit(fmt);
    WriteBytes((prog / "Kuvelt.FMT").string(), fmt);
    return (prog / "kuvelt-calc").string();
}

TEST(ReportCommandFault, ExitStatusAndFailureLines) {
    struct Case {
        const char* name;
        const char* options;  // scratch mount for the report folder
        std::function<bool(ScratchMount&)> breakIt;
        bool formatWithoutSection;
        int status;
        std::vector<std::string> lines;  // on standard error
    };
    const Case cases[] = {
        {"report_folder_on_read_only_disk",
         "size=64k",
         [](ScratchMount& m) { return m.SetReadOnly(true); },
         false,
         3,
         {"計算書のﾌｫﾙﾀﾞを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： 70）",
          "原因：Read-only file system"}},
        // Nothing of the report is kept: a chapter cut short by the disk is no report.
        {"report_folder_on_full_disk",
         "size=64k",
         [](ScratchMount& m) {
             std::filesystem::create_directory(m.file("out"));
             return m.Fill(0);
         },
         false,
         3,
         {"計算書のﾌｫﾙﾀﾞを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： 61）",
          "原因：No space left on device"}},
        {"format_section_missing",
         "size=4m",
         [](ScratchMount&) { return true; },
         true,
         4,
         {"･『仮想海底面の算定』の印刷ﾌｧｲﾙ生成ｴﾗｰ"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string design = dir.file("design.kvt");
        fs::copy_file(Example(), design);
        const std::string before = ReadBytes(design);
        std::string program =
            (fs::read_symlink("/proc/self/exe").parent_path() / "kuvelt-calc").string();
        if (c.formatWithoutSection) {
            program = ProgramFolderWith(dir, [](std::string& fmt) {
                const std::string name = cp932::FromUtf8("\r\n仮想地盤面\r\n");
                const std::size_t at = fmt.find(name);
                const std::size_t end = fmt.find("\r\nEnd\r\n", at + 2);
                fmt.erase(at + 2, end + 7 - (at + 2));
            });
        }
        ScratchMount mnt(c.options);
        KUVELT_NEED_MOUNT(mnt);
        ASSERT_TRUE(c.breakIt(mnt));

        const auto run = RunProgram(program, {"--report", mnt.file("out"), design});
        EXPECT_EQ(run.status, c.status) << run.err;
        for (const std::string& l : c.lines) {
            EXPECT_NE(run.err.find(l), std::string::npos) << l << "\n" << run.err;
        }
        EXPECT_EQ(ReadBytes(design), before);
    }
}

}  // namespace
}  // namespace kuvelt::faults
