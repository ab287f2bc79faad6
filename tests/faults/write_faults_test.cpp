// kuvelt-calc putting its files in place where that fails: targets it must not touch, a disk
// that is read-only or fills up at any point of the write, two runs into one target and runs
// killed halfway. A failure must leave the previous PDF, report folder or design byte for byte
// and, once a run has ended normally, nothing in the temporary folder or beside the target.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "fault_support.h"
#include "formats/pdf_file.h"
#include "platform/files.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;
using kuvelt::test::ProgramRun;
using kuvelt::test::TempDir;
using kuvelt::test::WriteBytes;

const std::string kCalc = "./kuvelt-calc";

using kuvelt::test::Example;

// The temporary folder (TMPDIR) of the runs started while the object lives, kept apart from
// the test's own temporary folders.
class TempArea {
  public:
    TempArea() { current = dir_.path().string(); }
    ~TempArea() { current.clear(); }
    bool Empty() const { return Names().empty(); }
    std::string Names() const {
        std::string names;
        for (const auto& e : FolderContents(current)) names += e.first + " ";
        return names;
    }
    static inline std::string current;

  private:
    TempDir dir_;
};

// kuvelt-calc with the temporary folder of the area (by env, so threads may run it at once).
ProgramRun Calc(const std::string& mode, const std::string& target, const std::string& design) {
    return kuvelt::test::RunProgram("/usr/bin/env", {"TMPDIR=" + TempArea::current, kCalc, mode,
                                                     target, design, "--pick", "auto"});
}

// A folder's contents without its hidden entries (a killed run's leftovers beside a target).
std::map<std::string, std::string> Visible(const std::string& folder) {
    auto c = FolderContents(folder);
    std::erase_if(c, [](const auto& e) { return e.first[0] == '.' || e.first == "filler"; });
    return c;
}

// The chapter files of a report folder, figure names aside, and the number of its entries.
std::map<std::string, std::string> Chapters(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (auto [name, bytes] : FolderContents(folder)) {
        if (!name.ends_with(".prn")) continue;
        for (std::size_t at = bytes.find("~MT"); at != std::string::npos;
             at = bytes.find("~MT", at + 3))
            bytes.erase(at + 3, 6);  // the six random characters of a figure file's name
        out[name] = bytes;
    }
    out["entries"] = std::to_string(FolderContents(folder).size());
    return out;
}

TEST(WriteCommandFault, RefusedTargetsAreLeftAsTheyWere) {
    struct Case {
        const char* name;
        const char* mode;
        std::function<std::string(const std::string& dir)> arrange;  // the target
        int status;
        std::string cause;
    };
    const std::string notFile = "通常のﾌｧｲﾙではありません",
                      input = "読み込んだﾌｧｲﾙ自身には書き込めません",
                      dangling = "ﾘﾝｸ先のﾌｧｲﾙがありません";
    auto link = [](const std::string& to, const std::string& at) {
        fs::create_symlink(to, at);
        return at;
    };
    auto pipe = [](const std::string& at) { return ::mkfifo(at.c_str(), 0666) == 0 ? at : ""; };
    const Case cases[] = {
        {"pdf_on_a_device", "--pdf",
         [](const std::string& d) {
             return ::mknod((d + "/dev").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0
                        ? d + "/dev"
                        : std::string();
         },
         5, notFile},
        {"pdf_on_a_pipe", "--pdf", [&](const std::string& d) { return pipe(d + "/p"); }, 5,
         notFile},
        {"pdf_on_a_folder", "--pdf", [](const std::string& d) { return d + "/report"; }, 5,
         files::SystemErrorText(EISDIR)},
        {"pdf_over_the_design", "--pdf", [](const std::string& d) { return d + "/design.kvt"; }, 5,
         input},
        {"pdf_over_the_design_through_a_link", "--pdf",
         [&](const std::string& d) { return link(d + "/design.kvt", d + "/wall.pdf"); }, 5, input},
        {"pdf_over_a_read_only_file", "--pdf",
         [](const std::string& d) {
             ::chmod((d + "/old.pdf").c_str(), 0444);
             return d + "/old.pdf";
         },
         5, files::SystemErrorText(EACCES)},
        {"pdf_through_a_dangling_link", "--pdf",
         [&](const std::string& d) { return link(d + "/none.pdf", d + "/new.pdf"); }, 5, dangling},
        {"pdf_into_a_vanished_folder", "--pdf",
         [](const std::string& d) { return d + "/gone/x.pdf"; }, 5, files::SystemErrorText(ENOENT)},
        {"design_over_itself", "--write", [](const std::string& d) { return d + "/design.kvt"; }, 3,
         input},
        {"json_on_a_pipe", "--write", [&](const std::string& d) { return pipe(d + "/p.json"); }, 3,
         notFile},
        {"design_through_a_dangling_link", "--write",
         [&](const std::string& d) { return link(d + "/none.kvt", d + "/new.kvt"); }, 3, dangling},
        {"report_into_a_file", "--report", [](const std::string& d) { return d + "/old.pdf"; }, 3,
         files::SystemErrorText(ENOTDIR)},
        {"report_over_the_users_files", "--report", [](const std::string& d) { return d; }, 3,
         "置き換えられないﾌｧｲﾙがあります："},
        {"report_through_a_dangling_link", "--report",
         [&](const std::string& d) { return link(d + "/none", d + "/new"); }, 3, dangling},
    };
    TempArea tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string d = dir.path().string(), design = d + "/design.kvt";
        fs::copy_file(Example("sand-channel.kvt"), design);
        WriteBytes(d + "/old.pdf", "%PDF-1.4 the previous PDF");
        ASSERT_EQ(Calc("--report", d + "/report", design).status, 0);
        const std::string target = c.arrange(d);
        if (target.empty()) continue;  // devices need root
        const auto before = FolderContents(d);
        const ProgramRun run = Calc(c.mode, target, design);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(target + "\nkuvelt-calc: 原因：" + c.cause), std::string::npos)
            << run.err;
        EXPECT_EQ(FolderContents(d), before);
        EXPECT_TRUE(tmp.Empty()) << tmp.Names();
    }
}

TEST(WriteCommandFault, AFullOrReadOnlyDiskAtAnyPointLeavesTheOldFiles) {
    ScratchMount mnt("size=2m");
    KUVELT_NEED_MOUNT(mnt);
    TempArea tmp;
    const std::string design = Example("sand-channel.kvt");
    const struct {
        const char* mode;
        std::string target;
        int failed;
    } targets[] = {{"--report", mnt.file("report"), 3},
                   {"--write", mnt.file("design.json"), 3},
                   {"--pdf", mnt.file("report.pdf"), 5}};
    for (const auto& t : targets) ASSERT_EQ(Calc(t.mode, t.target, design).status, 0);
    const auto whole = Chapters(mnt.file("report"));
    auto expected = Visible(mnt.path());
    ASSERT_TRUE(mnt.SetReadOnly(true));
    for (const auto& t : targets) {
        const ProgramRun run = Calc(t.mode, t.target, design);
        EXPECT_EQ(run.status, t.failed);
        EXPECT_NE(run.err.find("原因：" + files::SystemErrorText(EROFS)), std::string::npos)
            << run.err;
    }
    EXPECT_EQ(Visible(mnt.path()), expected);
    ASSERT_TRUE(mnt.SetReadOnly(false));
    int failures = 0;
    for (std::size_t leave : {0, 4096, 16384, 65536, 131072, 262144, 524288, 1048576}) {
        SCOPED_TRACE(leave);
        ASSERT_TRUE(mnt.Fill(leave));
        for (const auto& t : targets) {
            SCOPED_TRACE(t.mode);
            const ProgramRun run = Calc(t.mode, t.target, Example("clay-embankment.kvt"));
            if (run.status == 0) {  // there was room: the new file is whole
                EXPECT_EQ(Chapters(mnt.file("report")).at("entries"), whole.at("entries"));
                EXPECT_TRUE(
                    formats::PdfIsComplete(kuvelt::test::ReadBytes(mnt.file("report.pdf"))));
                expected = Visible(mnt.path());
                continue;
            }
            ++failures;
            EXPECT_EQ(run.status, t.failed);
            EXPECT_NE(run.err.find(files::SystemErrorText(ENOSPC)), std::string::npos) << run.err;
            EXPECT_EQ(Visible(mnt.path()), expected);
            EXPECT_EQ(FolderContents(mnt.path()).size(), expected.size() + 1) << "only the filler";
        }
        fs::remove(mnt.file("filler"));
    }
    EXPECT_GE(failures, 6);
    EXPECT_TRUE(tmp.Empty()) << tmp.Names();
}

TEST(WriteCommandFault, TwoRunsIntoOneTargetLeaveOneWholeFileOfOneDesign) {
    TempDir dir;
    TempArea tmp;
    const std::string a = Example("sand-channel.kvt"), b = Example("clay-embankment.kvt");
    ASSERT_EQ(Calc("--report", dir.file("a"), a).status, 0);
    ASSERT_EQ(Calc("--report", dir.file("b"), b).status, 0);
    const auto reportA = Chapters(dir.file("a")), reportB = Chapters(dir.file("b"));
    for (const char* mode : {"--report", "--report", "--report", "--pdf", "--pdf"}) {
        const std::string target = dir.file(mode == std::string("--pdf") ? "both.pdf" : "both");
        ProgramRun ra, rb;
        std::thread other([&] { rb = Calc(mode, target, b); });
        ra = Calc(mode, target, a);
        other.join();
        EXPECT_EQ(ra.status, 0) << ra.err;
        EXPECT_EQ(rb.status, 0) << rb.err;
        if (mode == std::string("--report")) {
            const auto got = Chapters(target);
            EXPECT_TRUE(got == reportA || got == reportB) << "a report of one design";
        } else {
            const std::string title = kuvelt::test::RunProgram("/usr/bin/pdfinfo", {target}).out;
            EXPECT_TRUE(title.find("砂質土地盤") != std::string::npos ||
                        title.find("粘性土地盤") != std::string::npos)
                << title;
        }
    }
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "both", "both.pdf"}));
    EXPECT_TRUE(tmp.Empty()) << tmp.Names();
}

// The processes whose parent is `parent`, and whether one has ended (or is a zombie).
std::vector<pid_t> Children(pid_t parent) {
    std::vector<pid_t> out;
    for (const auto& p : fs::directory_iterator("/proc")) {
        std::ifstream stat(p.path() / "stat");
        std::string pid, name, state;
        pid_t ppid = 0;
        if (stat >> pid >> name >> state >> ppid && ppid == parent) out.push_back(std::stoi(pid));
    }
    return out;
}
bool Ends(pid_t pid) {
    for (int i = 0; i < 25; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, state;
        if (!(stat >> id >> name >> state) || state == "Z") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Starts kuvelt-calc without waiting, its output thrown away.
pid_t Start(const std::vector<std::string>& args) {
    std::vector<char*> argv = {const_cast<char*>(kCalc.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("TMPDIR", TempArea::current.c_str(), 1);
        ::execv(kCalc.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

TEST(WriteCommandFault, AKilledRunLeavesTheOldFilesAndNoPreview) {
    TempDir dir;
    TempArea tmp;
    const std::string a = Example("sand-channel.kvt");
    ASSERT_EQ(Calc("--pdf", dir.file("out.pdf"), a).status, 0);
    ASSERT_EQ(Calc("--report", dir.file("report"), a).status, 0);
    auto before = Visible(dir.path().string());
    for (const int signal : {SIGTERM, SIGKILL}) {
        for (const int ms : {100, 400, 800}) {
            for (const char* mode : {"--pdf", "--report"}) {
                SCOPED_TRACE(std::string(mode) + " " + std::to_string(signal) + " after " +
                             std::to_string(ms) + " ms");
                const std::string target =
                    dir.file(mode == std::string("--pdf") ? "out.pdf" : "report");
                const pid_t pid = Start({mode, target, Example("clay-embankment.kvt")});
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                const std::vector<pid_t> previews = Children(pid);
                ::kill(pid, signal);
                ::waitpid(pid, nullptr, 0);
                for (const pid_t p : previews) EXPECT_TRUE(Ends(p)) << "the preview ends with us";
                const auto now = Visible(dir.path().string());
                if (now == before) continue;
                // Killed after the new file was in place: it is whole.
                EXPECT_TRUE(formats::PdfIsComplete(kuvelt::test::ReadBytes(dir.file("out.pdf"))));
                EXPECT_EQ(Chapters(dir.file("report")).size(), 10u);
                before = now;
            }
            if (signal == SIGTERM) {
                EXPECT_TRUE(tmp.Empty()) << "a stopped run cleans up itself";
            }
        }
    }
    // What killed runs left behind goes with the next runs.
    ASSERT_EQ(Calc("--pdf", dir.file("out.pdf"), a).status, 0);
    ASSERT_EQ(Calc("--report", dir.file("report"), a).status, 0);
    EXPECT_TRUE(tmp.Empty()) << tmp.Names();
    EXPECT_EQ(FolderContents(dir.path().string()).size(), Visible(dir.path().string()).size());
}

}  // namespace
}  // namespace kuvelt::faults
