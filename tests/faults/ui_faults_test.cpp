// The windows when a file fails: Save and Save As onto a full or read-only disk, into a folder
// that vanished or onto a path that became a folder; the exit question answered Yes when that
// save fails; the print menu with a read-only temporary folder or a format file missing a
// section. The exact message box (text, title, icon, buttons) is read from the scripted
// services; the previous design file, the design in memory, the file name, the window title, the
// modified flag and the recent-file list must all survive.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/yaita_choice.h"
#include "fault_support.h"
#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/input_window.h"
#include "ui/window_factory.h"

namespace kuvelt::ui {
namespace {

namespace fs = std::filesystem;
using faults::DesignFingerprint;
using faults::ScratchMount;
using kuvelt::test::ReadBytes;
using kuvelt::test::WriteBytes;
using test::UiTestEnv;

// The main window without modal input windows (none is opened by the file commands).
class TestMain : public frmMenuMain {
  protected:
    int RunWindow(InputWindow& w) override {
        ADD_FAILURE() << "unexpected window " << w.windowTitle().toStdString();
        return QDialog::Rejected;
    }
};

std::array<std::string, 4> Recent() {
    std::array<std::string, 4> r;
    for (std::size_t i = 0; i < r.size(); ++i) {
        r[i] = CPrivateProfile::GetValueString(gIniFile, "FileName",
                                               "FileName" + std::to_string(i + 1));
    }
    return r;
}

// What must survive a failed save, taken just before it.
struct Kept {
    std::string design = DesignFingerprint();
    std::string fileName = gFileName;
    bool modified = gModified;
    std::array<std::string, 4> recent = Recent();
    QString title;
    void Expect(const frmMenuMain& w) const {
        EXPECT_EQ(DesignFingerprint(), design);
        EXPECT_EQ(gFileName, fileName);
        EXPECT_EQ(gModified, modified);
        EXPECT_EQ(Recent(), recent);
        EXPECT_EQ(w.windowTitle(), title);
    }
};

struct SaveCase {
    const char* name;
    int32_t code;
    int err;  // the system's error the message names as the cause
    // Breaks the place of the saved design file `path` (on the scratch mount `m`).
    std::function<bool(ScratchMount& m, const std::string& path)> breakIt;
};

const std::vector<SaveCase>& SaveCases() {
    static const std::vector<SaveCase> cases = {
        {"disk_full", 61, ENOSPC, [](ScratchMount& m, const std::string&) { return m.Fill(0); }},
        {"read_only_disk", 70, EROFS,
         [](ScratchMount& m, const std::string&) { return m.SetReadOnly(true); }},
        {"folder_vanished", 76, ENOENT,
         [](ScratchMount&, const std::string& path) {
             return fs::remove_all(fs::path(path).parent_path()) > 0;
         }},
        {"file_became_a_folder", 75, EISDIR,
         [](ScratchMount&, const std::string& path) {
             return fs::remove(path) && fs::create_directory(path);
         }},
    };
    return cases;
}

class UiFault : public ::testing::Test {
  protected:
    void SetUp() override { main.Start(false); }
    // A design saved as <mount>/designs/dam1.kvt, then changed in memory (not yet saved).
    std::string SavedThenChanged(ScratchMount& mnt) {
        const std::string path = mnt.file("designs/dam1.kvt");
        fs::create_directories(fs::path(path).parent_path());
        gInpJyoken.Title = "保存済みの設計";
        env.services.AnswerSave(path);
        EXPECT_TRUE(main.FileSaveAs());
        old = ReadBytes(path);
        faults::MakeLargeDesign("保存前に変えた設計");
        gModified = true;
        return path;
    }
    // The code, the file and the system's words for the cause.
    void ExpectOneMessage(int32_t code, const std::string& path, int err) {
        ASSERT_EQ(env.services.messages().size(), 1u);
        const Message m = env.services.messages()[0];
        EXPECT_EQ(m.text, "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。（ｴﾗｰｺｰﾄﾞ ： " +
                              std::to_string(code) + "）\n\nﾌｧｲﾙ名：" + path + "\n原因：" +
                              files::SystemErrorText(err) +
                              "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞを"
                              "お知らせください。");
        EXPECT_EQ(m.title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
        EXPECT_EQ(m.icon, MsgIcon::Error);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        EXPECT_TRUE(env.services.queueEmpty());
    }
    UiTestEnv env;
    TestMain main;
    std::string old;
};

TEST_F(UiFault, FailedSaveShowsTheCodeAndKeepsEverything) {
    for (const SaveCase& c : SaveCases()) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt("size=256k");
        KUVELT_NEED_MOUNT(mnt);
        const std::string path = SavedThenChanged(mnt);
        ASSERT_TRUE(c.breakIt(mnt, path));
        Kept kept;
        kept.title = main.windowTitle();
        ASSERT_EQ(kept.title, QStringLiteral("dam1.kvt - Kuvelt"));
        env.services.ClearRecord();

        env.services.AnswerMessage(MsgAnswer::Ok);
        EXPECT_FALSE(main.FileSave());
        ExpectOneMessage(c.code, path, c.err);
        kept.Expect(main);
        EXPECT_TRUE(gModified) << "the changes are still unsaved";
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(ReadBytes(path), old);
        }
    }
}

TEST_F(UiFault, FailedSaveAsShowsTheCodeAndKeepsTheOldName) {
    for (const SaveCase& c : SaveCases()) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt("size=256k");
        KUVELT_NEED_MOUNT(mnt);
        const std::string path = SavedThenChanged(mnt);
        ASSERT_TRUE(c.breakIt(mnt, path));
        Kept kept;
        kept.title = main.windowTitle();
        env.services.ClearRecord();

        // Save As onto the same place (the dialog confirmed overwriting it).
        env.services.AnswerSave(path);
        env.services.AnswerMessage(MsgAnswer::Ok);
        EXPECT_FALSE(main.FileSaveAs());
        ASSERT_EQ(env.services.calls.size(), 2u);
        EXPECT_EQ(env.services.calls[0].kind, test::Call::SaveDialog);
        ExpectOneMessage(c.code, path, c.err);
        kept.Expect(main);
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(ReadBytes(path), old);
        }
    }
}

TEST_F(UiFault, NewDesignSavedAsIntoAFullDiskStaysUnnamed) {
    ScratchMount mnt;
    KUVELT_NEED_MOUNT(mnt);
    ASSERT_TRUE(mnt.Fill(0));
    faults::MakeLargeDesign("名前のない設計");
    gModified = true;
    Kept kept;
    kept.title = main.windowTitle();
    env.services.AnswerSave(mnt.file("new.kvt"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(main.FileSaveAs());
    ExpectOneMessage(61, mnt.file("new.kvt"), ENOSPC);
    kept.Expect(main);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kuvelt"));
    EXPECT_EQ(mnt.Entries(), std::vector<std::string>{"filler"});
    EXPECT_FALSE(main.recentAction(1)->isEnabled());
}

// Answering Yes to the exit question asks for the changes to be kept: when they cannot be
// saved, the application must stay open with the design, not end and lose it.
TEST_F(UiFault, ExitDoesNotEndWhenTheAskedForSaveFails) {
    ScratchMount mnt("size=256k");
    KUVELT_NEED_MOUNT(mnt);
    const std::string path = SavedThenChanged(mnt);
    ASSERT_TRUE(mnt.SetReadOnly(true));
    Kept kept;
    kept.title = main.windowTitle();
    env.services.ClearRecord();

    main.show();
    env.services.AnswerMessage(MsgAnswer::Yes);
    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(main.close());
    ASSERT_EQ(env.services.messages().size(), 2u);
    const Message ask = env.services.messages()[0];
    EXPECT_EQ(ask.text,
              "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？\n\n"
              "編集中のﾌｧｲﾙ名：" +
                  path);
    EXPECT_EQ(ask.title, "ｱﾌﾟﾘｹｰｼｮﾝ終了");
    EXPECT_EQ(ask.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(env.services.messages()[1].title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_EQ(env.services.messages()[1].code, 70);
    EXPECT_TRUE(main.isVisible());
    kept.Expect(main);
    EXPECT_EQ(ReadBytes(path), old);
    // The window position is not stored for an exit that did not happen.
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "MenuMain", "Top"), "");
    main.hide();
}

// A recent file whose folder vanished is refused by the pre-read check: the read-failure
// message with code 0, the file and the cause, and the design being edited stays with its name.
TEST_F(UiFault, RecentFileInAVanishedFolderKeepsTheDesign) {
    const std::string folder = env.dir.file("designs");
    fs::create_directory(folder);
    env.services.AnswerSave(folder + "/dam1.kvt");
    ASSERT_TRUE(main.FileSaveAs());
    fs::remove_all(folder);
    faults::MakeLargeDesign("編集中の設計");
    gModified = true;
    main.RefreshMenu();
    const std::string design = DesignFingerprint();
    const auto recent = Recent();
    env.services.ClearRecord();

    env.services.AnswerMessage(MsgAnswer::No);  // the unsaved edits may go
    env.services.AnswerMessage(MsgAnswer::Ok);
    main.FileHistory(1);
    ASSERT_EQ(env.services.messages().size(), 2u);
    EXPECT_EQ(env.services.messages()[0].title, "ﾌｧｲﾙを開く");
    EXPECT_EQ(env.services.messages()[1],
              (Message{0,
                       "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： 0）\n\n"
                       "ﾌｧｲﾙ名：" +
                           folder + "/dam1.kvt\n原因：" + files::SystemErrorText(ENOENT) +
                           "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。",
                       "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ", MsgIcon::Error, MsgButtons::Ok}));
    EXPECT_EQ(DesignFingerprint(), design);
    EXPECT_TRUE(gModified);
    EXPECT_EQ(Recent(), recent);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("*dam1.kvt - Kuvelt"));
}

// Settings failures are silent: a settings file that cannot be used does not stop a save.
TEST_F(UiFault, SaveWorksWhenTheSettingsFileIsUnusable) {
    fs::create_directory(gIniFile);
    WriteBytes(gIniFile + "/inside.txt", "kept");
    const auto settings = faults::FolderContents(gIniFile);
    const std::string path = env.dir.file("dam2.kvt");
    faults::MakeLargeDesign("設定なしで保存する設計");
    gModified = true;
    env.services.AnswerSave(path);
    EXPECT_TRUE(main.FileSaveAs());
    EXPECT_TRUE(env.services.messages().empty());
    EXPECT_EQ(ReadBytes(path), DesignToBytes());
    EXPECT_FALSE(gModified);
    EXPECT_EQ(gFileName, path);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("dam2.kvt - Kuvelt"));
    EXPECT_TRUE(main.FileSave());
    EXPECT_EQ(faults::FolderContents(gIniFile), settings);
    fs::remove_all(gIniFile);
}

// ---- The print menu ------------------------------------------------------------------------

// The five chapters, then the front matter (cover, summary, standards).
const char* const kLine[] = {"･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『外力の計算』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『仮想海底面の算定』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『矢板の設計』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『根切り底面の安定検討』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『表紙』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『設計調書』の印刷ﾌｧｲﾙ生成ｴﾗｰ",
                             "･『適用基準・計算方法』の印刷ﾌｧｲﾙ生成ｴﾗｰ"};

class PrintMenuFault : public ::testing::Test {
  protected:
    void SetUp() override {
        faults::UseReportDataCopies(data.path().string());
        gWorkFolder = env.dir.file("work");
        faults::PrepareEveryChapterDesign();
        if (HasFatalFailure()) return;
        design = DesignFingerprint();
        frmMenuPrint::SetStarter([this](const std::vector<std::string>& argv) {
            started.push_back(argv);
            return true;
        });
    }
    void TearDown() override {
        frmMenuPrint::SetStarter({});
        basResOutPrn::SetReportDataFolder("");
        basResOutPrn::SetReportTempFolder("");
        if (hadTmp) {
            ::setenv("TMPDIR", oldTmp.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    // The user's temporary folder, as the program finds it.
    void UseTmpDir(const std::string& dir) {
        const char* t = std::getenv("TMPDIR");
        hadTmp = t != nullptr;
        if (hadTmp) oldTmp = t;
        ::setenv("TMPDIR", dir.c_str(), 1);
        basResOutPrn::SetReportTempFolder("");
    }
    frmMenuPrint* Open() {
        w = CreateMenuWindow(frmMenuMain::kMenuPrint, nullptr);
        w->Prepare();
        return static_cast<frmMenuPrint*>(w.get());
    }
    UiTestEnv env;
    kuvelt::test::TempDir data;
    std::unique_ptr<InputWindow> w;
    std::vector<std::vector<std::string>> started;
    std::string design, oldTmp;
    bool hadTmp = false;
};

TEST_F(PrintMenuFault, ReadOnlyTemporaryFolderIsReportedAndNothingStarts) {
    ScratchMount mnt;
    KUVELT_NEED_MOUNT(mnt);
    ASSERT_TRUE(mnt.SetReadOnly(true));
    UseTmpDir(mnt.path());
    CPrivateProfile::SetValueString(gIniFile, "MenuPrint", "0", "1");

    env.services.AnswerMessage(MsgAnswer::Ok);
    frmMenuPrint* menu = Open();
    std::string text;
    for (const char* l : kLine) text += std::string("\n") + l;
    ASSERT_EQ(env.services.messages().size(), 1u);
    EXPECT_EQ(env.services.messages()[0],
              (Message{0, text, "Kuvelt", MsgIcon::Error, MsgButtons::Ok}));

    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(menu->PrintPreview());
    ASSERT_EQ(env.services.messages().size(), 2u);
    EXPECT_EQ(env.services.messages()[1],
              (Message{70, "印刷ﾌｧｲﾙを作成できません。（ｴﾗｰｺｰﾄﾞ ： 70）", "検討結果の印刷",
                       MsgIcon::Error, MsgButtons::Ok}));
    EXPECT_TRUE(started.empty()) << "no preview on a report that does not exist";
    EXPECT_EQ(env.services.beeps, 0);
    w->reject();
    EXPECT_EQ(DesignFingerprint(), design);
    EXPECT_TRUE(mnt.Entries().empty());
    EXPECT_TRUE(env.services.queueEmpty());
}

TEST_F(PrintMenuFault, FormatSectionMissingIsReportedAndTheRestPrints) {
    // The format file without the section of the virtual ground surface.
    std::string fmt = ReadBytes(data.file("Kuvelt.FMT"));
    const std::string name = cp932::FromUtf8("\r\n仮想地盤面\r\n");
    const std::size_t at = fmt.find(name);
    ASSERT_NE(at, std::string::npos);
    const std::size_t end = fmt.find("\r\nEnd\r\n", at + 2);
    fmt.erase(at + 2, end + 7 - (at + 2));
    WriteBytes(data.file("Kuvelt.FMT"), fmt);
    kuvelt::test::TempDir temp;
    basResOutPrn::SetReportTempFolder(temp.path().string());

    env.services.AnswerMessage(MsgAnswer::Ok);
    frmMenuPrint* menu = Open();
    ASSERT_EQ(env.services.messages().size(), 1u);
    EXPECT_EQ(env.services.messages()[0],
              (Message{0, std::string("\n") + kLine[2], "Kuvelt", MsgIcon::Error, MsgButtons::Ok}));
    // The other chapters print; the preview gets the combined file.
    menu->CheckCommand(1);
    menu->chkPrintItem[0]->setChecked(true);
    menu->chkPrintItem[3]->setChecked(true);
    EXPECT_TRUE(menu->PrintPreview());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].back(), print_job::CombinedFile());
    const std::string combined = ReadBytes(print_job::CombinedFile());
    EXPECT_NE(combined.find('\x0C'), std::string::npos);
    w->reject();
    EXPECT_EQ(DesignFingerprint(), design);
    EXPECT_TRUE(fs::is_empty(temp.path()));
    EXPECT_TRUE(env.services.queueEmpty());
}

}  // namespace
}  // namespace kuvelt::ui
