// Saving and opening a design when the file system fails for real: a full disk, a disk that
// fills during the write, no free inode, a read-only mount, a read-only folder or file for an
// ordinary user, a vanished folder, a folder or a pipe where the file should be, names and paths
// that are too long. Every failed save must report its code, leave the previous file (and the
// rest of the folder) byte for byte as it was, leave no temporary file, and not touch the
// design in memory.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "fault_support.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/message.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;
using kuvelt::test::ReadBytes;
using kuvelt::test::TempDir;
using kuvelt::test::WriteBytes;

const char* const kWriteTail =
    "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";

// The bytes of the design saved before the failing save (a fresh default design).
std::string OldDesignBytes() {
    InitData();
    gInpJyoken.Title = "前回保存した設計";
    return DesignToBytes();
}

void ExpectWriteMessage(int32_t code, const std::string& shown) {
    const Message m = WriteFailureMessage(code);
    EXPECT_EQ(m.text, "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： " + shown + "）" +
                          kWriteTail);
    EXPECT_EQ(m.title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_EQ(m.icon, MsgIcon::Error);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.code, code);
}

// ---- Failures a root process meets as well --------------------------------------------------

struct SaveCase {
    const char* name;
    int32_t code;
    std::string reason;  // the cause the message names
    // Prepares the folder (the old design file is already at `dir`/"design.kvt") and returns
    // the path the new design is saved to.
    std::function<std::string(const std::string& dir)> arrange;
};

const std::vector<SaveCase>& SaveCases() {
    static const std::vector<SaveCase> cases = {
        {"folder_vanished_after_choosing", 76, files::SystemErrorText(ENOENT),
         [](const std::string& dir) {
             fs::create_directory(dir + "/chosen");
             fs::remove(dir + "/chosen");
             return dir + "/chosen/new.kvt";
         }},
        {"target_is_now_a_folder", 75, files::SystemErrorText(EISDIR),
         [](const std::string& dir) {
             fs::create_directory(dir + "/other.kvt");
             WriteBytes(dir + "/other.kvt/inside.txt", "kept");
             return dir + "/other.kvt";
         }},
        {"folder_part_is_a_file", 76, files::SystemErrorText(ENOTDIR),
         [](const std::string& dir) { return dir + "/design.kvt/new.kvt"; }},
        {"target_is_a_pipe", 75, "通常のﾌｧｲﾙではありません",
         [](const std::string& dir) {
             ::mkfifo((dir + "/pipe.kvt").c_str(), 0644);
             return dir + "/pipe.kvt";
         }},
        {"link_into_a_vanished_folder", 76, "ﾘﾝｸ先のﾌｧｲﾙがありません",
         [](const std::string& dir) {
             fs::create_symlink(dir + "/gone/real.kvt", dir + "/link.kvt");
             return dir + "/link.kvt";
         }},
        {"name_of_4000_bytes", 52, files::SystemErrorText(ENAMETOOLONG),
         [](const std::string& dir) { return dir + "/" + std::string(3996, 'n') + ".kvt"; }},
        {"path_of_5000_bytes", 52, files::SystemErrorText(ENAMETOOLONG),
         [](const std::string& dir) { return LongPath(dir, 5000); }},
        {"empty_path", 52, "ﾌｧｲﾙ名が正しくありません",
         [](const std::string&) { return std::string(); }},
        {"path_with_nul", 52, "ﾌｧｲﾙ名が正しくありません",
         [](const std::string& dir) { return dir + "/design.kvt" + std::string(1, '\0') + "x"; }},
    };
    return cases;
}

TEST(DesignSaveFault, EveryFailureKeepsTheOldFileAndTheDesign) {
    for (const SaveCase& c : SaveCases()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string root = dir.path().string();
        WriteBytes(root + "/design.kvt", OldDesignBytes());
        const std::string target = c.arrange(root);
        MakeLargeDesign("新しい設計");
        const std::string design = DesignFingerprint();
        const auto before = FolderContents(root);

        files::Failure failure;
        EXPECT_FALSE(WriteData(target, failure));
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.reason, c.reason);
        EXPECT_EQ(FolderContents(root), before);  // old file intact, no temporary file left
        EXPECT_EQ(DesignFingerprint(), design);
        // The message names the file (up to a NUL byte) and the cause beside the code.
        const std::string shown = target.substr(0, target.find('\0'));
        const std::string file = shown.empty() ? "" : "ﾌｧｲﾙ名：" + shown + "\n";
        EXPECT_EQ(WriteFailureMessage(failure, target).text,
                  "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： " +
                      std::to_string(c.code) + "）\n\n" + file + "原因：" + c.reason + kWriteTail);
    }
}

TEST(DesignSaveFault, MessagesCarryTheCodeInItsFormat) {
    const std::pair<int32_t, const char*> rows[] = {{52, "52"}, {61, "61"}, {70, "70"},
                                                    {75, "75"}, {76, "76"}, {1004, "1,004"}};
    for (const auto& [code, shown] : rows) {
        SCOPED_TRACE(code);
        ExpectWriteMessage(code, shown);
    }
}

// A path near the system's limit is still a path: the file must be saved, not refused because
// of the temporary name next to it.
TEST(DesignSaveFault, LongButValidPathsAreSaved) {
    for (const std::size_t bytes : {std::size_t{1000}, std::size_t{4000}, std::size_t{4090}}) {
        SCOPED_TRACE(bytes);
        TempDir dir;
        const std::string path = LongPath(dir.path().string(), bytes);
        ASSERT_EQ(path.size(), bytes);
        fs::create_directories(fs::path(path).parent_path());
        MakeLargeDesign("長いパス");
        const std::string bytesOut = DesignToBytes();
        int32_t code = 0;
        EXPECT_TRUE(WriteData(path, code)) << code;
        EXPECT_TRUE(fs::exists(path) && ReadBytes(path) == bytesOut);
        EXPECT_EQ(FolderContents(fs::path(path).parent_path().string()).size(), 1u);
    }
    // A name of 255 bytes, the longest a folder can hold.
    TempDir dir;
    const std::string path = dir.file(std::string(251, 'n') + ".kvt");
    MakeLargeDesign("長い名前");
    int32_t code = 0;
    EXPECT_TRUE(WriteData(path, code)) << code;
    EXPECT_EQ(FolderContents(dir.path().string()).size(), 1u);
}

// ---- A file system of the test's own ------------------------------------------------------

struct MountCase {
    const char* name;
    const char* options;
    int32_t code;
    int err;  // the system's error the message names
    // Breaks the mounted file system after the old design file was written to it.
    std::function<bool(ScratchMount&)> breakIt;
};

TEST(DesignSaveFault, FullAndReadOnlyFileSystemsKeepTheOldFile) {
    const MountCase cases[] = {
        {"disk_full", "size=64k", 61, ENOSPC, [](ScratchMount& m) { return m.Fill(0); }},
        // One free page: the first part of the new file is written, then the disk is full.
        {"disk_fills_during_the_write", "size=64k", 61, ENOSPC,
         [](ScratchMount& m) { return m.Fill(4096); }},
        // Room for the bytes but no inode for the temporary file.
        {"no_free_inode", "size=256k,nr_inodes=3", 61, ENOSPC,
         [](ScratchMount& m) {
             WriteBytes(m.file("other"), "x");
             return true;
         }},
        {"read_only_mount", "size=64k", 70, EROFS,
         [](ScratchMount& m) { return m.SetReadOnly(true); }},
    };
    for (const MountCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt(c.options);
        KUVELT_NEED_MOUNT(mnt);
        const std::string path = mnt.file("design.kvt");
        const std::string old = OldDesignBytes();
        int32_t code = 0;
        ASSERT_TRUE(WriteData(path, code));
        ASSERT_TRUE(c.breakIt(mnt));
        MakeLargeDesign("保存できない設計");
        ASSERT_GT(DesignToBytes().size(), 4096u);  // more than the free page
        const std::string design = DesignFingerprint();
        const auto before = FolderContents(mnt.path());

        files::Failure failure;
        EXPECT_FALSE(WriteData(path, failure));
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.reason, files::SystemErrorText(c.err));
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(FolderContents(mnt.path()), before);
        EXPECT_EQ(DesignFingerprint(), design);
        // The old file still opens as the previous design.
        EXPECT_TRUE(PreReadCheck(path));
        ASSERT_TRUE(ReadData(path, code));
        EXPECT_EQ(gInpJyoken.Title, "前回保存した設計");
    }
}

TEST(DesignSaveFault, SaveSucceedsAgainOnceThereIsRoom) {
    ScratchMount mnt;
    KUVELT_NEED_MOUNT(mnt);
    const std::string path = mnt.file("design.kvt");
    WriteBytes(path, OldDesignBytes());
    ASSERT_TRUE(mnt.Fill(0));
    MakeLargeDesign("後で保存する設計");
    int32_t code = 0;
    ASSERT_FALSE(WriteData(path, code));
    fs::remove(mnt.file("filler"));
    EXPECT_TRUE(WriteData(path, code));
    EXPECT_EQ(ReadBytes(path), DesignToBytes());
    EXPECT_EQ(mnt.Entries(), std::vector<std::string>{"design.kvt"});
}

// ---- An ordinary user ----------------------------------------------------------------------

struct UserCase {
    const char* name;
    int32_t code;
    mode_t folderMode;
    mode_t fileMode;
    bool saveToOldFile;  // else to a new file in the folder
};

// Root ignores permission bits, so these saves run in a child process as an ordinary user. A
// "locked" file is a read-only one: Linux has no mandatory locks, and a read-only file is what
// another program's exclusive use looks like to a writer here.
TEST(DesignSaveFault, ReadOnlyFolderAndFileForAnOrdinaryUser) {
    const UserCase cases[] = {
        {"read_only_folder_new_file", 70, 0555, 0644, false},
        {"read_only_folder_old_file", 70, 0555, 0666, true},
        {"read_only_file", 70, 0777, 0444, true},
        {"file_owned_by_another_user", 70, 0777, 0644, true},
        {"folder_without_search_right", 70, 0700, 0666, true},
    };
    for (const UserCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = dir.file("designs");
        fs::create_directory(folder);
        const std::string old = OldDesignBytes();
        const std::string oldPath = folder + "/design.kvt";
        WriteBytes(oldPath, old);
        OpenForOthers(folder);
        ASSERT_EQ(::chmod(oldPath.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        const std::string target = c.saveToOldFile ? oldPath : folder + "/new.kvt";
        MakeLargeDesign("一般ユーザーの設計");
        const std::string design = DesignFingerprint();
        const auto before = FolderContents(folder);

        const auto result = RunAsNobody([&] {
            files::Failure failure;
            const bool ok = WriteData(target, failure);
            return std::string(ok ? "saved" : "failed") + " " + std::to_string(failure.code) + " " +
                   failure.reason + (DesignFingerprint() == design ? " kept" : " changed");
        });
        if (!result) GTEST_SKIP() << "cannot act as an ordinary user here";
        EXPECT_EQ(*result, "failed " + std::to_string(c.code) + " " +
                               files::SystemErrorText(EACCES) + " kept");
        EXPECT_EQ(FolderContents(folder), before);
        EXPECT_EQ(ReadBytes(oldPath), old);
        ::chmod(folder.c_str(), 0755);
    }
}

// A drop folder (write and search, no listing) takes a save: the replacement works by name
// inside the folder and does not need to read it.
TEST(DesignSaveFault, FolderThatCannotBeListedStillTakesASave) {
    TempDir dir;
    const std::string folder = dir.file("drop");
    fs::create_directory(folder);
    OpenForOthers(folder);
    ASSERT_EQ(::chmod(folder.c_str(), 0333), 0);
    MakeLargeDesign("投函フォルダーの設計");
    const std::string bytes = DesignToBytes();
    const auto result = RunAsNobody([&] {
        int32_t code = 0;
        return std::string(WriteData(folder + "/design.kvt", code) ? "saved" : "failed") + " " +
               std::to_string(code);
    });
    if (!result) GTEST_SKIP() << "cannot act as an ordinary user here";
    EXPECT_EQ(*result, "saved 0");
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(FolderContents(folder), (std::map<std::string, std::string>{{"design.kvt", bytes}}));
}

// ---- Opening --------------------------------------------------------------------------------

TEST(DesignOpenFault, FailedReadsGiveTheirCodeAndAFreshDesign) {
    TempDir dir;
    const std::string root = dir.path().string();
    WriteBytes(root + "/design.kvt", OldDesignBytes());
    InitData();
    const std::string fresh = DesignFingerprint();
    struct Case {
        const char* name;
        std::string path;
        int32_t code;
    };
    ::mkfifo((root + "/pipe.kvt").c_str(), 0644);
    fs::create_directory(root + "/folder.kvt");
    const Case cases[] = {
        {"vanished_file", root + "/gone.kvt", 53},
        {"vanished_folder", root + "/gone/design.kvt", 76},
        {"folder", root + "/folder.kvt", 75},
        {"pipe_does_not_hang", root + "/pipe.kvt", 75},
        {"name_of_4000_bytes", root + "/" + std::string(3996, 'n') + ".kvt", 52},
        {"path_of_5000_bytes", LongPath(root, 5000), 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeLargeDesign("開く前の設計");
        EXPECT_FALSE(PreReadCheck(c.path));  // the Open command refuses it (code 0) ...
        EXPECT_EQ(gInpJyoken.Title, "開く前の設計");
        int32_t code = 0;
        EXPECT_FALSE(ReadData(c.path, code));  // ... and a direct read reports the cause
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(DesignFingerprint(), fresh);
    }
    EXPECT_EQ(ReadBytes(root + "/design.kvt"), OldDesignBytes());
}

TEST(DesignOpenFault, UnreadableFileForAnOrdinaryUser) {
    TempDir dir;
    const std::string path = dir.file("design.kvt");
    const std::string old = OldDesignBytes();
    WriteBytes(path, old);
    OpenForOthers(dir.path().string());
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    MakeLargeDesign("開く前の設計");
    const auto result = RunAsNobody([&] {
        const std::string check = PreReadCheck(path) ? "accepted" : "refused";
        int32_t code = 0;
        const bool ok = ReadData(path, code);
        InitData();
        return check + " " + (ok ? "read" : "failed") + " " + std::to_string(code);
    });
    if (!result) GTEST_SKIP() << "cannot act as an ordinary user here";
    EXPECT_EQ(*result, "refused failed 70");
    EXPECT_EQ(ReadBytes(path), old);
}

}  // namespace
}  // namespace kuvelt::faults
