#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/tempfile.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;

// Sets an environment variable for one test and restores it afterwards.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvVar() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

TEST(Paths, ProgramFolderAndNameComeFromTheRunningExecutable) {
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(paths::ProgramFolder(), exe.parent_path().string());
    EXPECT_EQ(paths::ProgramName(), "platform_test");
    EXPECT_NE(paths::ProgramFolder().back(), '/');
}

TEST(Paths, JoinPutsExactlyOneSlash) {
    const struct {
        const char *dir, *name, *expected;
    } cases[] = {
        {"/tmp", "a", "/tmp/a"},     {"/tmp/", "a", "/tmp/a"}, {"/tmp//", "/a", "/tmp/a"},
        {"/tmp", "a/b", "/tmp/a/b"}, {"/", "a", "/a"},         {"", "a", "a"},
        {"dir", "", "dir"},          {"/", "", "/"},           {"rel", "x.ini", "rel/x.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(paths::Join(c.dir, c.name), c.expected) << c.dir << " + " << c.name;
    }
}

TEST(Paths, UserFoldersFollowXdgWithFallbacks) {
    EnvVar home("HOME", "/home/eng/");
    {
        EnvVar c("XDG_CONFIG_HOME", "/cfg");
        EnvVar d("XDG_DATA_HOME", "/data/");
        EXPECT_EQ(paths::UserConfigFolder(), "/cfg/Vostrand");
        EXPECT_EQ(paths::UserDataFolder(), "/data/Vostrand");
    }
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        EnvVar c("XDG_CONFIG_HOME", unusable);
        EnvVar d("XDG_DATA_HOME", unusable);
        EXPECT_EQ(paths::UserConfigFolder(), "/home/eng/.config/Vostrand");
        EXPECT_EQ(paths::UserDataFolder(), "/home/eng/.local/share/Vostrand");
    }
}

TEST(Paths, TempFolderFromTmpdir) {
    {
        EnvVar t("TMPDIR", nullptr);
        EXPECT_EQ(paths::TempFolder(), "/tmp");
    }
    {
        EnvVar t("TMPDIR", "");
        EXPECT_EQ(paths::TempFolder(), "/tmp");
    }
    EnvVar t("TMPDIR", "/var/tmp/");
    EXPECT_EQ(paths::TempFolder(), "/var/tmp");
}

TEST(TempFile, CreatesUniqueOwnerOnlyFilesWithThePrefix) {
    TempDir t;
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        std::string path;
        int32_t err = 0;
        ASSERT_TRUE(tempfile::Create("~MT", path, err, t.path().string()));
        EXPECT_TRUE(seen.insert(path).second) << "repeated " << path;
        EXPECT_EQ(fs::path(path).parent_path(), t.path());
        EXPECT_EQ(fs::path(path).filename().string().rfind("~MT", 0), 0u) << path;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(st.st_size, 0);
    }
}

TEST(TempFile, DefaultFolderIsTheTemporaryFolder) {
    TempDir t;
    EnvVar tmp("TMPDIR", t.path().c_str());
    std::string path;
    int32_t err = 0;
    ASSERT_TRUE(tempfile::Create("~FG", path, err));
    EXPECT_EQ(fs::path(path).parent_path(), t.path());
}

TEST(TempFile, FailuresCarryTheirCodes) {
    TempDir t;
    const struct {
        const char* name;
        std::string prefix, folder;
        int32_t code;
    } cases[] = {
        {"missing folder", "~MT", t.file("none"), 76},
        {"slash in prefix", "../x", t.path().string(), 52},
        {"NUL in prefix", std::string("~\0T", 3), t.path().string(), 52},
    };
    for (const auto& c : cases) {
        std::string path = "unchanged";
        int32_t err = 0;
        EXPECT_FALSE(tempfile::Create(c.prefix, path, err, c.folder)) << c.name;
        EXPECT_EQ(err, c.code) << c.name;
        EXPECT_EQ(path, "unchanged") << c.name;
    }
}

TEST(ProcessStart, WaitsAndPassesArgumentsUnsplit) {
    TempDir t;
    const std::string out = t.file("out file.txt");
    ASSERT_TRUE(process::Start({"/bin/sh", "-c", "echo x > \"$0\"", out}, true));
    EXPECT_EQ(ReadBytes(out), "x\n");
    // Blanks, quotes and shell characters arrive as one argument each, untouched.
    const std::string tricky = "a b \"c\" 'd' $(e) ; f > g";
    ASSERT_TRUE(process::Start(
        {"sh", "-c", "printf '%s|%s' \"$1\" \"$2\" > \"$0\"", out, tricky, ""}, true));
    EXPECT_EQ(ReadBytes(out), tricky + "|");
    EXPECT_FALSE(fs::exists(t.path() / "g"));
}

TEST(ProcessStart, WaitingGivesTheExitStatus) {
    int status = 0;
    ASSERT_TRUE(process::Start({"/bin/sh", "-c", "exit 3"}, true, &status));
    EXPECT_EQ(status, 3);
    ASSERT_TRUE(process::Start({"/bin/sh", "-c", "kill -9 $$"}, true, &status));
    EXPECT_EQ(status, 128 + 9);
    EXPECT_FALSE(process::Start({"kuvelt-no-such-program"}, true, &status));
    EXPECT_EQ(status, -1);
}

TEST(ProcessStart, OurOpenFilesAreNotHandedOn) {
    TempDir t;
    // A descriptor without close-on-exec, at a number the shell does not use itself.
    int opened = ::open(t.file("held").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(opened, 0);
    const int fd = ::dup2(opened, 57);
    ::close(opened);
    ASSERT_EQ(fd, 57);
    const std::string out = t.file("fds");
    ASSERT_TRUE(process::Start({"/bin/sh", "-c", "ls /proc/self/fd > \"$0\"", out}, true));
    ::close(fd);
    EXPECT_EQ(ReadBytes(out).find(std::to_string(fd) + "\n"), std::string::npos) << ReadBytes(out);
}

TEST(ProcessStart, ProgramsThatCannotStartReturnFalse) {
    TempDir t;
    test::WriteBytes(t.file("not-executable"), "#!/bin/sh\n");
    ::chmod(t.file("not-executable").c_str(), 0644);
    for (bool wait : {true, false}) {
        EXPECT_FALSE(process::Start({t.file("missing")}, wait)) << wait;
        EXPECT_FALSE(process::Start({"kuvelt-no-such-program"}, wait)) << wait;
        EXPECT_FALSE(process::Start({t.path().string()}, wait)) << "a folder, " << wait;
        if (::geteuid() != 0) {
            EXPECT_FALSE(process::Start({t.file("not-executable")}, wait)) << wait;
        }
        EXPECT_FALSE(process::Start({}, wait));
        EXPECT_FALSE(process::Start({""}, wait));
        EXPECT_FALSE(process::Start({"/bin/sh", std::string("-c\0x", 4)}, wait));
    }
}

TEST(ProcessStart, DetachedStartReturnsAtOnceAndLeavesNoChild) {
    TempDir t;
    const std::string out = t.file("done");
    const auto begin = std::chrono::steady_clock::now();
    // The program takes three seconds; returning well before them shows nothing waited for it,
    // however loaded the machine.
    ASSERT_TRUE(process::Start({"/bin/sh", "-c", "sleep 3; echo done > \"$0\"", out}, false));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(2000));
    // The program is not our child: nothing is left to reap, so no zombie can remain.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    for (int i = 0; i < 200 && !files::Exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadBytes(out), "done\n");
}

}  // namespace
}  // namespace kuvelt
