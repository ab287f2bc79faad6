#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mount_helper.h"
#include "platform/run_files.h"
#include "platform/vberror.h"
#include "support/test_support.h"

namespace kuvelt::files {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Names in a folder, so a test can prove that no temporary file was left behind.
std::vector<std::string> Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(ErrorCodeFromErrno, MapsEveryFileErrorToItsRunTimeNumber) {
    const struct {
        int err;
        int32_t code;
    } cases[] = {
        {ENOENT, 53}, {EACCES, 70}, {EPERM, 70}, {EROFS, 70},  {ENOTDIR, 76},
        {ENOSPC, 61}, {EDQUOT, 61}, {EIO, 57},   {EINVAL, 52}, {ENAMETOOLONG, 52},
        {EISDIR, 75}, {EMFILE, 75}, {ELOOP, 75}, {EBUSY, 75},  {0, 75},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorCodeFromErrno(c.err), c.code) << "errno " << c.err;
}

TEST(ErrorCodeForPath, MissingParentFolderIsPathNotFound) {
    TempDir t;
    EXPECT_EQ(ErrorCodeForPath(ENOENT, t.file("absent.txt")), 53);
    EXPECT_EQ(ErrorCodeForPath(ENOENT, t.file("nofolder/absent.txt")), 76);
    EXPECT_EQ(ErrorCodeForPath(EACCES, t.file("nofolder/absent.txt")), 70);
}

TEST(ReadAll, ReadsEveryByte) {
    TempDir t;
    std::string bytes("a\0b\r\n\x0c\xff", 7);
    WriteBytes(t.file("f"), bytes);
    std::string out = "old";
    int32_t err = 0;
    ASSERT_TRUE(ReadAll(t.file("f"), out, err));
    EXPECT_EQ(out, bytes);
    EXPECT_EQ(err, 0);
    WriteBytes(t.file("empty"), "");
    ASSERT_TRUE(ReadAll(t.file("empty"), out, err));
    EXPECT_EQ(out, "");
}

TEST(ReadAll, FailuresCarryTheirCodesAndKeepTheOutput) {
    TempDir t;
    WriteBytes(t.file("file"), "0123456789");
    ASSERT_EQ(::mkfifo(t.file("pipe").c_str(), 0600), 0);
    const struct {
        const char* name;
        std::string path;
        std::size_t limit;
        int32_t code;
    } cases[] = {
        {"missing file", t.file("absent"), 100, 53},
        {"missing folder", t.file("absent/x"), 100, 76},
        {"file used as folder", t.file("file/x"), 100, 76},
        {"folder", t.path().string(), 100, 75},
        {"named pipe does not hang", t.file("pipe"), 100, 75},
        {"over the limit", t.file("file"), 9, 57},
        {"empty name", "", 100, 52},
        {"NUL in the name", t.file("file") + std::string("\0x", 2), 100, 52},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        int32_t err = 0;
        EXPECT_FALSE(ReadAll(c.path, out, err, c.limit)) << c.name;
        EXPECT_EQ(err, c.code) << c.name;
        EXPECT_EQ(out, "kept") << c.name;
    }
    std::string out;
    int32_t err = 0;
    EXPECT_TRUE(ReadAll(t.file("file"), out, err, 10)) << "exactly at the limit";
}

TEST(ReplaceFile, CreatesAndReplacesWithoutLeavingTemporaries) {
    TempDir t;
    int32_t err = 0;
    ASSERT_TRUE(ReplaceFile(t.file("a.kvt"), "first", err));
    EXPECT_EQ(ReadBytes(t.file("a.kvt")), "first");
    ASSERT_TRUE(ReplaceFile(t.file("a.kvt"), "", err));
    EXPECT_EQ(ReadBytes(t.file("a.kvt")), "");
    ASSERT_TRUE(ReplaceFile(t.file("a.kvt"), std::string(200000, 'x'), err));
    EXPECT_EQ(ReadBytes(t.file("a.kvt")).size(), 200000u);
    const std::string longest(255, 'n');  // the longest name a folder takes
    ASSERT_TRUE(ReplaceFile(t.file(longest), "y", err)) << err;
    EXPECT_EQ(Listing(t.path()), (std::vector<std::string>{"a.kvt", longest}));
    EXPECT_EQ(err, 0);
}

TEST(ReplaceFile, NewFileFollowsTheUmaskAndOldFileKeepsItsPermissions) {
    TempDir t;
    int32_t err = 0;
    mode_t old = ::umask(022);
    ASSERT_TRUE(ReplaceFile(t.file("new"), "x", err));
    ::umask(old);
    EXPECT_EQ(Mode(t.file("new")), 0644u);
    WriteBytes(t.file("kept"), "old");
    ASSERT_EQ(::chmod(t.file("kept").c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFile(t.file("kept"), "new", err));
    EXPECT_EQ(Mode(t.file("kept")), 0640u);
    EXPECT_EQ(ReadBytes(t.file("kept")), "new");
}

TEST(ReplaceFile, WritesThroughSymbolicLinks) {
    TempDir t;
    fs::create_directory(t.path() / "real");
    WriteBytes(t.file("real/settings.ini"), "old");
    fs::create_symlink("real/settings.ini", t.path() / "relative");
    fs::create_symlink(t.path() / "relative", t.path() / "chained");
    fs::create_symlink(t.path() / "real/later.ini", t.path() / "dangling");
    int32_t err = 0;
    ASSERT_TRUE(ReplaceFile(t.file("relative"), "one", err));
    EXPECT_EQ(ReadBytes(t.file("real/settings.ini")), "one");
    ASSERT_TRUE(ReplaceFile(t.file("chained"), "two", err));
    EXPECT_EQ(ReadBytes(t.file("real/settings.ini")), "two");
    EXPECT_TRUE(fs::is_symlink(t.path() / "relative"));
    EXPECT_TRUE(fs::is_symlink(t.path() / "chained"));
    // A link to nothing makes no file where it points.
    EXPECT_FALSE(ReplaceFile(t.file("dangling"), "made", err));
    EXPECT_EQ(err, 53);
    EXPECT_TRUE(fs::is_symlink(t.path() / "dangling"));
    EXPECT_EQ(Listing(t.path() / "real"), (std::vector<std::string>{"settings.ini"}));
}

TEST(ReplaceFile, RefusesWhatIsNotAFileAndReportsMissingFolders) {
    TempDir t;
    fs::create_directory(t.path() / "dir");
    WriteBytes(t.file("dir/inside"), "stay");
    fs::create_symlink("a", t.path() / "loop1");
    fs::create_symlink("loop1", t.path() / "a");
    const struct {
        const char* name;
        std::string path;
        int32_t code;
    } cases[] = {
        {"folder", t.file("dir"), 75},
        {"missing folder", t.file("nofolder/f"), 76},
        {"link loop", t.file("loop1"), 75},
        {"empty name", "", 52},
        {"NUL in the name", t.file("f") + std::string("\0g", 2), 52},
    };
    for (const auto& c : cases) {
        int32_t err = 0;
        EXPECT_FALSE(ReplaceFile(c.path, "data", err)) << c.name;
        EXPECT_EQ(err, c.code) << c.name;
    }
    EXPECT_EQ(ReadBytes(t.file("dir/inside")), "stay");
    EXPECT_FALSE(fs::exists(t.path() / "nofolder"));
    EXPECT_FALSE(fs::exists(t.path() / "f"));
}

// Every refusal leaves the folder as it was, and is found by the check made before the work as
// by the replacement itself (with the same code and cause), except bytes that are not whole.
TEST(ReplaceFile, RefusesWhatItMustNotTouch) {
    TempDir t;
    WriteBytes(t.file("design.kvt"), "design");
    WriteBytes(t.file("victim"), "victim");
    const std::string design = (t.path() / "." / "design.kvt").string();  // another spelling
    const struct {
        const char* name;
        std::function<std::string(const TempDir&)> arrange;  // the target
        int32_t code;
        std::string reason;
        ReplaceGuard guard;
    } cases[] = {
        {"the input itself",
         [](const TempDir& d) { return d.file("design.kvt"); },
         75,
         "読み込んだﾌｧｲﾙ自身には書き込めません",
         {{design}, {}}},
        {"the input by another name",
         [](const TempDir& d) {
             fs::create_hard_link(d.file("design.kvt"), d.file("hard.pdf"));
             fs::create_symlink("hard.pdf", d.file("soft.pdf"));
             return d.file("soft.pdf");
         },
         75,
         "読み込んだﾌｧｲﾙ自身には書き込めません",
         {{design}, {}}},
        {"read-only file, for root too",
         [](const TempDir& d) {
             ::chmod(d.file("victim").c_str(), 0444);
             return d.file("victim");
         },
         70,
         SystemErrorText(EACCES),
         {}},
        {"dangling link",
         [](const TempDir& d) {
             fs::create_symlink("nothing.pdf", d.file("dangling.pdf"));
             return d.file("dangling.pdf");
         },
         53,
         "ﾘﾝｸ先のﾌｧｲﾙがありません",
         {}},
        {"pipe",
         [](const TempDir& d) {
             ::mkfifo(d.file("pipe").c_str(), 0666);
             return d.file("pipe");
         },
         75,
         "通常のﾌｧｲﾙではありません",
         {}},
        {"device",
         [](const TempDir& d) {
             const bool made = ::mknod(d.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
             return made ? d.file("full") : std::string();  // only root makes devices
         },
         75,
         "通常のﾌｧｲﾙではありません",
         {}},
        {"another user's link in a shared folder",
         [](const TempDir& d) {
             fs::create_directory(d.path() / "shared");
             ::chmod(d.file("shared").c_str(), 01777);
             fs::create_symlink(d.file("victim"), d.path() / "shared/out.pdf");
             const bool foreign = ::lchown(d.file("shared/out.pdf").c_str(), 65534, 65534) == 0;
             return foreign ? d.file("shared/out.pdf") : std::string();  // only root gives away
         },
         70,
         "他のﾕｰｻﾞｰのﾘﾝｸはたどりません",
         {}},
        {"bytes that are not whole",
         [](const TempDir& d) { return d.file("new.pdf"); },
         75,
         "書き込む内容が完全ではありません",
         {{}, [](std::string_view) { return false; }}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = c.arrange(t);
        if (target.empty()) continue;
        const auto before = Listing(t.path());
        Failure checked, replaced;
        EXPECT_EQ(CheckReplaceable(target, checked, c.guard), c.guard.whole != nullptr);
        EXPECT_FALSE(ReplaceFile(target, "new", replaced, c.guard));
        EXPECT_EQ(replaced.code, c.code);
        EXPECT_EQ(replaced.reason, c.reason);
        if (!c.guard.whole) {
            EXPECT_EQ(checked.code, c.code);
        }
        EXPECT_EQ(Listing(t.path()), before);
    }
    EXPECT_EQ(ReadBytes(t.file("design.kvt")), "design");
    EXPECT_EQ(ReadBytes(t.file("victim")), "victim");
}

TEST(ReplaceFile, ReadOnlyFolderLeavesTheOldFile) {
    TempDir t;
    const std::string dir = t.file("ro");
    fs::create_directory(dir);
    std::unique_ptr<test::TinyTmpfs> mnt;
    if (::geteuid() == 0) {
        // Permissions do not stop root: use a file system that is read-only for everybody.
        mnt = std::make_unique<test::TinyTmpfs>(dir, "64k");
        if (!mnt->mounted()) GTEST_SKIP() << "running as root without the right to mount";
    }
    WriteBytes(dir + "/f", "old contents");
    if (mnt) {
        ASSERT_TRUE(mnt->MakeReadOnly());
    } else {
        ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
    }
    int32_t err = 0;
    EXPECT_FALSE(ReplaceFile(dir + "/f", "new contents", err));
    EXPECT_EQ(err, 70);
    EXPECT_EQ(ReadBytes(dir + "/f"), "old contents");
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"f"});
    err = 0;
    EXPECT_FALSE(AppendBytes(dir + "/g", "x", err));
    EXPECT_EQ(err, 70);
}

// Runs `body` as an unprivileged user when we are root (root may write anything), else as we
// are; returns the body's result, or nullopt when no other user can be taken on.
std::optional<bool> AsOrdinaryUser(const std::function<bool()>& body) {
    if (::geteuid() != 0) return body();
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(body() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
    return WEXITSTATUS(status) == 1;
}

TEST(ReplaceFile, ReadOnlyFileIsNotReplaced) {
    TempDir t;
    ASSERT_EQ(::chmod(t.path().c_str(), 0777), 0);  // the folder itself is writable
    WriteBytes(t.file("locked.kvt"), "old");
    ASSERT_EQ(::chmod(t.file("locked.kvt").c_str(), 0444), 0);
    auto refused = AsOrdinaryUser([&] {
        int32_t err = 0;
        return !ReplaceFile(t.file("locked.kvt"), "new", err) && err == 70 &&
               !AppendBytes(t.file("locked.kvt"), "new", err) && err == 70;
    });
    if (!refused) GTEST_SKIP() << "cannot act as an ordinary user";
    EXPECT_TRUE(*refused);
    EXPECT_EQ(ReadBytes(t.file("locked.kvt")), "old");
    EXPECT_EQ(Listing(t.path()), std::vector<std::string>{"locked.kvt"});
}

TEST(ReplaceFile, FullDiskLeavesTheOldFileAndNoTemporary) {
    TempDir t;
    const std::string dir = t.file("small");
    fs::create_directory(dir);
    test::TinyTmpfs mnt(dir, "64k");
    if (!mnt.mounted()) GTEST_SKIP() << "no right to mount a small file system";
    const std::string old(20000, 'o');
    WriteBytes(dir + "/design.kvt", old);
    int32_t err = 0;
    EXPECT_FALSE(ReplaceFile(dir + "/design.kvt", std::string(60000, 'n'), err));
    EXPECT_EQ(err, 61);
    EXPECT_EQ(ReadBytes(dir + "/design.kvt"), old);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"design.kvt"});
    // With room again the same write succeeds.
    EXPECT_TRUE(ReplaceFile(dir + "/design.kvt", std::string(30000, 'n'), err));
    err = 0;
    EXPECT_FALSE(AppendBytes(dir + "/design.kvt", std::string(60000, 'a'), err));
    EXPECT_EQ(err, 61);
}

// What killed runs left is removed by the next run: nothing of a live run, nothing that is not
// ours, no link.
TEST(RunFiles, OnlyLeftoversOfEndedRunsAreRemoved) {
    TempDir t;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = "." + std::to_string(child) + ".0123456789abcdef";
    WriteBytes(t.file(".a" + dead + ".tmp"), "removed");
    fs::create_directories(t.path() / (".b" + dead + ".new") / "sub");
    WriteBytes(t.file(".b" + dead + ".new/sub/f"), "removed with its folder");
    WriteBytes(t.file(".c" + runfiles::UniqueTag() + ".tmp"), "our run lives");
    WriteBytes(t.file(".d" + dead + ".tmp"), "locked by a run in another process namespace");
    const int held = ::open(t.file(".d" + dead + ".tmp").c_str(), O_RDONLY);
    ASSERT_TRUE(runfiles::Hold(held));
    fs::create_symlink(t.file(".c"), t.path() / (".e" + dead + ".tmp"));
    WriteBytes(t.file("f" + dead + ".tmp"), "another name");
    std::vector<std::string> kept = {".c", ".d", ".e", "f"};
    if (::geteuid() == 0) {
        WriteBytes(t.file(".g" + dead + ".tmp"), "another user's");
        ASSERT_EQ(::chown(t.file(".g" + dead + ".tmp").c_str(), 65534, 65534), 0);
        kept.insert(kept.begin() + 3, ".g");
    }
    runfiles::RemoveLeftovers(t.path().string(), ".", ".tmp");
    runfiles::RemoveLeftovers(t.path().string(), ".", ".new");
    ::close(held);
    std::vector<std::string> left;
    for (const std::string& n : Listing(t.path())) left.push_back(n.substr(0, n.find('.', 1)));
    EXPECT_EQ(left, kept);
}

TEST(FolderReplacement, ReplacesTheWholeFolderOrNothing) {
    TempDir t;
    const std::string out = t.file("out");
    const auto report = [](std::string_view name) { return name != "notes.txt"; };
    // Fills a fresh folder with "a" = `text` (and `extra`), and swaps it in when `commit`.
    auto replace = [&](const std::string& target, const std::string& text, bool commit,
                       const char* extra = nullptr) {
        FolderReplacement r;
        Failure f;
        if (!r.Begin(target, report, f)) return f.reason;
        WriteBytes(r.fresh() + "/a", text);
        if (extra) WriteBytes(r.fresh() + "/" + extra, "");
        return commit && !r.Commit(f) ? f.reason : std::string();
    };
    ASSERT_EQ(replace(out, "1", true, "stale"), "");
    ASSERT_EQ(::chmod(out.c_str(), 0750), 0);
    ASSERT_EQ(replace(out, "2", true), "");
    EXPECT_EQ(Listing(out), std::vector<std::string>{"a"}) << "nothing of the first stays";
    EXPECT_EQ(Mode(out), 0750u);
    ASSERT_EQ(replace(out, "3", false), "");
    EXPECT_EQ(ReadBytes(out + "/a"), "2") << "not committed: as it was";
    fs::create_symlink("out", t.path() / "link");
    ASSERT_EQ(replace(t.file("link"), "4", true), "");
    EXPECT_TRUE(fs::is_symlink(t.path() / "link"));
    EXPECT_EQ(ReadBytes(out + "/a"), "4");
    {  // Two at once: each swaps in a whole folder of its own, the last one stays.
        FolderReplacement x, y;
        Failure f;
        ASSERT_TRUE(x.Begin(out, report, f) && y.Begin(out, report, f));
        WriteBytes(x.fresh() + "/a", "x");
        WriteBytes(y.fresh() + "/a", "y");
        ASSERT_TRUE(x.Commit(f) && y.Commit(f));
    }
    EXPECT_EQ(ReadBytes(out + "/a"), "y");
    EXPECT_EQ(Listing(t.path()), (std::vector<std::string>{"link", "out"}));
    WriteBytes(out + "/notes.txt", "the user's");
    WriteBytes(t.file("file"), "a file");
    fs::create_symlink("gone", t.path() / "dangling");
    const std::pair<std::string, std::string> refusals[] = {
        {out, "置き換えられないﾌｧｲﾙがあります：notes.txt"},
        {t.file("file"), SystemErrorText(ENOTDIR)},
        {t.file("dangling"), "ﾘﾝｸ先のﾌｧｲﾙがありません"},
    };
    for (const auto& [target, reason] : refusals) {
        EXPECT_EQ(replace(target, "5", true), reason);
        EXPECT_EQ(Listing(t.path()), (std::vector<std::string>{"dangling", "file", "link", "out"}));
    }
    EXPECT_EQ(ReadBytes(out + "/a"), "y");
}

TEST(AppendBytes, CreatesThenAppends) {
    TempDir t;
    int32_t err = 0;
    ASSERT_TRUE(AppendBytes(t.file("p"), "ab", err));
    ASSERT_TRUE(AppendBytes(t.file("p"), "\x0c", err));
    ASSERT_TRUE(AppendBytes(t.file("p"), "", err));
    EXPECT_EQ(ReadBytes(t.file("p")), "ab\x0c");
    EXPECT_FALSE(AppendBytes(t.path().string(), "x", err));
    EXPECT_EQ(err, 75);
    EXPECT_FALSE(AppendBytes(t.file("none/p"), "x", err));
    EXPECT_EQ(err, 76);
}

TEST(FolderAndFileHelpers, RemoveExistsMakeDirectory) {
    TempDir t;
    WriteBytes(t.file("f"), "x");
    EXPECT_TRUE(Exists(t.file("f")));
    EXPECT_TRUE(Exists(t.path().string()));
    EXPECT_FALSE(Exists(t.file("g")));
    EXPECT_FALSE(Exists(""));
    EXPECT_TRUE(RemoveFile(t.file("f")));
    EXPECT_FALSE(Exists(t.file("f")));
    EXPECT_FALSE(RemoveFile(t.file("f")));
    EXPECT_FALSE(RemoveFile(t.path().string())) << "folders are never removed";
    EXPECT_TRUE(Exists(t.path().string()));

    EXPECT_TRUE(MakeDirectory(t.file("a/b/c")));
    EXPECT_TRUE(fs::is_directory(t.path() / "a/b/c"));
    EXPECT_TRUE(MakeDirectory(t.file("a/b/c")));
    EXPECT_TRUE(MakeDirectory(t.file("a/b/d/")));
    WriteBytes(t.file("file"), "x");
    EXPECT_FALSE(MakeDirectory(t.file("file")));
    EXPECT_FALSE(MakeDirectory(t.file("file/sub")));
    EXPECT_FALSE(MakeDirectory(""));
}

}  // namespace
}  // namespace kuvelt::files
