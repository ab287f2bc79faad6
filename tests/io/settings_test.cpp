#include "io/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using Entries = std::array<std::string, 4>;

// Each test gets its own settings file.
class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        gIniFile = dir_.file("Kuvelt.INI");
        gProgramFolder = dir_.file("program");
    }
    void Store(const Entries& e) {
        for (std::size_t i = 0; i < e.size(); ++i)
            CPrivateProfile::SetValueString(gIniFile, ini::kFileName, ini::kFileNameKeys[i], e[i]);
    }
    Entries Stored() const {
        Entries e;
        for (std::size_t i = 0; i < e.size(); ++i)
            e[i] = CPrivateProfile::GetValueString(gIniFile, "filename", ini::kFileNameKeys[i]);
        return e;
    }

    test::TempDir dir_;
};

struct HistoryCase {
    const char* name;
    Entries before;
    std::string path;
    Entries after;
};

TEST_F(Settings, RecentFileOrderRules) {
    const std::vector<HistoryCase> cases = {
        {"listed_moves_to_top", {"B", "C", "A", "D"}, "A", {"A", "B", "C", "D"}},
        {"new_drops_the_oldest", {"A", "B", "C", "D"}, "E", {"E", "A", "B", "C"}},
        {"top_stays_top", {"A", "B", "C", "D"}, "A", {"A", "B", "C", "D"}},
        {"last_entry_moves_up", {"A", "B", "C", "D"}, "D", {"D", "A", "B", "C"}},
        {"case_differs_is_new",
         {"/w/a.kvt", "B", "", ""},
         "/w/A.kvt",
         {"/w/A.kvt", "/w/a.kvt", "B", ""}},
        {"empty_list", {"", "", "", ""}, "A", {"A", "", "", ""}},
        {"gaps_keep_their_places", {"B", "", "C", ""}, "A", {"A", "B", "", "C"}},
        {"last_of_two_matches_moves", {"A", "B", "A", "C"}, "A", {"A", "A", "B", "C"}},
    };
    for (const auto& c : cases) {
        Store(c.before);
        const FileHistory h = UpdateFileHistory(c.path);
        EXPECT_EQ(Stored(), c.after) << c.name;
        EXPECT_EQ(h.entries, c.after) << c.name;
    }
}

TEST_F(Settings, MenuItemsShowDigitBlankAndPathOnlyWhenFilled) {
    Store({"/w/b.kvt", "", "/w/c.kvt", ""});
    const FileHistory h = UpdateFileHistory("/w/a.kvt");
    EXPECT_EQ(h.captions, (Entries{"&1 /w/a.kvt", "&2 /w/b.kvt", "", "&4 /w/c.kvt"}));
    EXPECT_EQ(h.enabled, (std::array<bool, 4>{true, true, false, true}));

    const FileHistory r = ReadFileHistory();
    EXPECT_EQ(r.captions, h.captions);
    EXPECT_EQ(r.enabled, h.enabled);
}

TEST_F(Settings, NoSettingsFileMeansEmptyMenuAndProgramFolder) {
    const FileHistory h = ReadFileHistory();
    EXPECT_EQ(h.enabled, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(OpenDialogInitialFolder(), gProgramFolder);
    EXPECT_EQ(ReadWindowPlacement(ini::kMenuMain).top, 0);
    EXPECT_FALSE(fs::exists(gIniFile));  // reading never creates the file
}

TEST_F(Settings, LongRecentPathIsStoredAndReadInFull) {
    const std::string path = "/" + std::string(125, 'd') + ".kvt";
    ASSERT_EQ(path.size(), 130u);
    UpdateFileHistory(path);
    EXPECT_EQ(ReadFileHistory().entries[0], path);
    const std::string jp = "/設計/" + std::string(100, 'x') + "水路.kvt";
    UpdateFileHistory(jp);
    EXPECT_EQ(ReadFileHistory().entries, (Entries{jp, path, "", ""}));
}

TEST_F(Settings, InitDirIsTheCurrentWorkingFolder) {
    const fs::path before = fs::current_path();
    const fs::path target = dir_.path() / "designs";
    fs::create_directory(target);
    ASSERT_EQ(chdir(target.c_str()), 0);
    StoreInitDir();
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_EQ(OpenDialogInitialFolder(), target.string());
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir"), target.string());
}

TEST_F(Settings, FailedWritesAreIgnored) {
    gIniFile = dir_.file("missing/folder/Kuvelt.INI");
    const FileHistory h = UpdateFileHistory("/w/a.kvt");
    EXPECT_EQ(h.entries[0], "/w/a.kvt");  // the menu still shows the file just used
    StoreInitDir();
    WriteWindowPosition(ini::kInpJiban, 10, 20);
    EXPECT_EQ(ReadWindowPlacement(ini::kInpJiban).top, 0);
    EXPECT_FALSE(fs::exists(gIniFile));
}

TEST_F(Settings, WindowPlacementRoundTrip) {
    WriteWindowPlacement(ini::kInpSectS, 1200, 2400.5, 9000, 6000);
    const WindowPlacement p = ReadWindowPlacement(ini::kInpSectS);
    EXPECT_EQ(p.top, 1200);
    EXPECT_EQ(p.left, 2400);
    EXPECT_EQ(p.width, 9000);
    EXPECT_EQ(p.height, 6000);
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "InpSectS", "Left"), "2400.5");

    WriteWindowPosition(ini::kMenuPrint, 1234.6, -3, "#0");
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", "Top"), "1235");
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuPrint", "Left"), "-3");
    // Other sections are untouched.
    EXPECT_EQ(ReadWindowPlacement(ini::kInpSectS).width, 9000);
}

TEST(WindowPosition, CentringRule) {
    struct Case {
        const char* name;
        int32_t stored, screen, window;
        bool main;
        int32_t expected;
    };
    const Case cases[] = {
        {"stored_value_used", 500, 10000, 4000, false, 500},
        {"one_is_a_position", 1, 10000, 4000, false, 1},
        {"zero_centres", 0, 10000, 4000, false, 3000},
        {"negative_centres", -20, 10000, 4000, false, 3000},
        {"odd_difference_truncates", 0, 10001, 4000, false, 3000},
        {"window_bigger_than_screen", 0, 4000, 10000, false, 0},
        {"input_window_keeps_far_value", 12000, 10000, 4000, false, 12000},
        {"main_window_off_screen_centres", 10000, 10000, 4000, true, 3000},
        {"main_window_inside", 9999, 10000, 4000, true, 9999},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceOnScreen(c.stored, c.screen, c.window, c.main), c.expected) << c.name;
    }
}

TEST(Paths, InitPathsUsesTheUserFoldersAndCreatesThem) {
    test::TempDir dir;
    const std::string config = dir.file("cfg");
    const std::string data = dir.file("data");
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    const std::string savedData = oldData ? oldData : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    InitPaths();
    const auto restore = [&](const char* name, const char* old, const std::string& saved) {
        if (old)
            setenv(name, saved.c_str(), 1);
        else
            unsetenv(name);
    };
    restore("XDG_CONFIG_HOME", oldConfig, savedConfig);
    restore("XDG_DATA_HOME", oldData, savedData);

    EXPECT_EQ(gIniFile, config + "/Vostrand/Kuvelt.INI");
    EXPECT_EQ(gWorkFolder, data + "/Vostrand/Kuvelt");
    EXPECT_EQ(gProgramFolder, paths::ProgramFolder());
    EXPECT_EQ(gFmtFile, paths::ProgramFolder() + "/Kuvelt.FMT");
    EXPECT_TRUE(fs::is_directory(gWorkFolder));
    EXPECT_TRUE(fs::is_directory(config + "/Vostrand"));
    EXPECT_FALSE(fs::exists(gIniFile));  // created by the first write only
}

}  // namespace
}  // namespace kuvelt
