// The settings file when it cannot be used: a folder, a pipe, a file too large to be settings, a
// vanished folder, a path too long, a read-only mount, a full disk, and for an ordinary user an
// unreadable or read-only file or folder. Reads must give ""/0 (or the stored value where the
// file can still be read), writes must fail quietly, and nothing on disk may change.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "fault_support.h"
#include "io/settings.h"
#include "platform/profile.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;
using kuvelt::test::ReadBytes;
using kuvelt::test::TempDir;
using kuvelt::test::WriteBytes;

const char* const kStored =
    "[FileName]\r\nFileName1=/designs/a.kvt\r\nInitDir=/designs\r\n"
    "[MenuMain]\r\nTop=120\r\n[Chapter]\r\nMethod=2\r\n";
const char* const kProgramFolder = "/opt/kuvelt";

// What the program sees of its settings and whether a write got through, in one line: every
// read and write function of the settings, over the file `ini`.
std::string Probe(const std::string& ini) {
    const std::string savedIni = gIniFile, savedProgram = gProgramFolder;
    gIniFile = ini;
    gProgramFolder = kProgramFolder;
    std::string r;
    r += "str=" + GetIniString("FileName", "FileName1", ini);
    r += " long=" + std::to_string(CPrivateProfile::GetValueLong(ini, "MenuMain", "Top"));
    r += " value=" + CPrivateProfile::GetValueString(ini, "FileName", "InitDir");
    r += " chapter=" + std::to_string(ReadIniLong("Chapter", "Method"));
    r += " top=" + std::to_string(ReadWindowPlacement("MenuMain").top);
    r += " recent=" + ReadFileHistory().entries[0];
    r += " initdir=" + OpenDialogInitialFolder();
    r += " set=" + std::to_string(CPrivateProfile::SetValueString(ini, "MenuMain", "Top", "999"));
    // The writers of the windows and of the file commands ignore failures: they must not crash.
    WriteWindowPlacement("InpSectC", 10, 20, 30, 40);
    WriteIniString("Printer", "MarginTop(mm)", "15");
    StoreInitDir();
    const FileHistory h = UpdateFileHistory("/designs/new.kvt");
    r += " menu1=" + h.entries[0];
    r += " after=" + std::to_string(CPrivateProfile::GetValueLong(ini, "MenuMain", "Top"));
    gIniFile = savedIni;
    gProgramFolder = savedProgram;
    return r;
}

// Reads of a file that cannot be read at all: every default.
const std::string kDefaults = std::string("str= long=0 value= chapter=0 top=0 recent= initdir=") +
                              kProgramFolder + " set=0 menu1=/designs/new.kvt after=0";
// Reads of the stored file that cannot be written: the stored values, and they stay.
const std::string kStoredValues =
    "str=/designs/a.kvt long=120 value=/designs chapter=2 top=120 recent=/designs/a.kvt "
    "initdir=/designs set=0 menu1=/designs/new.kvt after=120";

struct Case {
    const char* name;
    std::function<std::string(const std::string& dir)> arrange;  // returns the settings path
    const std::string& expected;
};

TEST(SettingsFault, UnusableFilesGiveDefaultsAndStayAsTheyAre) {
    const Case cases[] = {
        {"settings_path_is_a_folder",
         [](const std::string& dir) {
             fs::create_directory(dir + "/Kuvelt.INI");
             WriteBytes(dir + "/Kuvelt.INI/inside.txt", kStored);
             return dir + "/Kuvelt.INI";
         },
         kDefaults},
        {"settings_path_is_a_pipe",
         [](const std::string& dir) {
             ::mkfifo((dir + "/Kuvelt.INI").c_str(), 0644);
             return dir + "/Kuvelt.INI";
         },
         kDefaults},
        {"file_too_large_to_be_settings",
         [](const std::string& dir) {
             WriteBytes(dir + "/Kuvelt.INI", kStored + std::string(5u << 20, ';'));
             return dir + "/Kuvelt.INI";
         },
         kDefaults},
        {"folder_vanished", [](const std::string& dir) { return dir + "/gone/Kuvelt.INI"; },
         kDefaults},
        {"folder_part_is_a_file",
         [](const std::string& dir) {
             WriteBytes(dir + "/config", kStored);
             return dir + "/config/Kuvelt.INI";
         },
         kDefaults},
        {"path_of_5000_bytes", [](const std::string& dir) { return LongPath(dir, 5000); },
         kDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string ini = c.arrange(dir.path().string());
        const auto before = FolderContents(dir.path().string());
        EXPECT_EQ(Probe(ini), c.expected);
        EXPECT_EQ(FolderContents(dir.path().string()), before);
    }
}

TEST(SettingsFault, ReadOnlyAndFullFileSystemsKeepTheSettings) {
    struct MountCase {
        const char* name;
        std::function<bool(ScratchMount&)> breakIt;
    };
    const MountCase cases[] = {
        {"read_only_mount", [](ScratchMount& m) { return m.SetReadOnly(true); }},
        {"disk_full", [](ScratchMount& m) { return m.Fill(0); }},
    };
    for (const MountCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt;
        KUVELT_NEED_MOUNT(mnt);
        WriteBytes(mnt.file("Kuvelt.INI"), kStored);
        ASSERT_TRUE(c.breakIt(mnt));
        const auto before = FolderContents(mnt.path());
        EXPECT_EQ(Probe(mnt.file("Kuvelt.INI")), kStoredValues);
        EXPECT_EQ(FolderContents(mnt.path()), before);  // no temporary file left either
    }
}

TEST(SettingsFault, OrdinaryUserCannotReadOrWrite) {
    struct UserCase {
        const char* name;
        mode_t folderMode;
        mode_t fileMode;  // 0: no settings file yet
        const std::string& expected;
    };
    const UserCase cases[] = {
        {"unreadable_file", 0777, 0600, kDefaults},
        {"read_only_file", 0777, 0644, kStoredValues},
        {"read_only_folder", 0555, 0666, kStoredValues},
        {"read_only_folder_without_settings", 0555, 0, kDefaults},
    };
    for (const UserCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = dir.file("config");
        fs::create_directory(folder);
        const std::string ini = folder + "/Kuvelt.INI";
        if (c.fileMode != 0) {
            WriteBytes(ini, kStored);
            ASSERT_EQ(::chmod(ini.c_str(), c.fileMode), 0);
        }
        OpenForOthers(folder);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        const auto before = FolderContents(folder);
        const auto result = RunAsNobody([&] {
            // StoreInitDir writes the working folder: make it one the user may see.
            if (::chdir("/") != 0) return std::string("no chdir");
            return Probe(ini);
        });
        if (!result) GTEST_SKIP() << "cannot act as an ordinary user here";
        EXPECT_EQ(*result, c.expected);
        EXPECT_EQ(FolderContents(folder), before);
        if (c.fileMode != 0) {
            EXPECT_EQ(ReadBytes(ini), kStored);
        }
        ::chmod(folder.c_str(), 0755);
    }
}

}  // namespace
}  // namespace kuvelt::faults
