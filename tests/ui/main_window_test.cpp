// The main window: start-up state, the enabling and highlight rules of the menu buttons, the
// file commands with their dialogs and messages, the recent-file list, page setup, the exit
// question, and the calculation messages around the later windows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "support/test_support.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/figure_view.h"
#include "ui/frmAbout.h"
#include "ui/frmMenuMain.h"
#include "ui/frmResOut.h"
#include "ui/frmZuStructure.h"
#include "ui/input_window.h"
#include "ui/ui_services.h"
#include "usecase/design_run.h"
#include "widgets/message_box.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

using test::DrivenMain;
using test::PressOk;

Message Info(const std::string& text, const std::string& title) {
    return Message{0, text, title, MsgIcon::Information, MsgButtons::Ok};
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.strict = true;
        main.Start(false);
    }
    bool Highlighted(int i) const {
        return main.menuButton(i)->palette().color(QPalette::ButtonText) ==
               QApplication::palette(main.menuButton(i)).color(QPalette::Highlight);
    }
    bool Enabled(int i) const { return main.menuButton(i)->isEnabled(); }
    std::string Path(const std::string& name) const { return env.dir.file(name); }
    std::array<std::string, 4> Recent() const {
        std::array<std::string, 4> r;
        for (int i = 0; i < 4; ++i) {
            r[std::size_t(i)] = CPrivateProfile::GetValueString(gIniFile, "FileName",
                                                                "FileName" + std::to_string(i + 1));
        }
        return r;
    }
    void SaveAs(const std::string& path) {
        env.services.AnswerSave(path);
        ASSERT_TRUE(main.FileSaveAs());
    }
    UiTestEnv env;
    DrivenMain main;
};

TEST_F(MainWindowTest, FreshStartColoursAndEnabling) {
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kuvelt"));
    EXPECT_FALSE(Highlighted(frmMenuMain::kInpJyoken));
    EXPECT_FALSE(Highlighted(frmMenuMain::kInpJiban));
    for (int i : {2, 3, 4, 5}) EXPECT_TRUE(Highlighted(i)) << "button " << i;
    for (int i : {6, 7, 8, 9}) EXPECT_FALSE(Enabled(i)) << "button " << i;
    for (int i : {0, 1, 2, 3, 4, 5, 10}) EXPECT_TRUE(Enabled(i)) << "button " << i;
    EXPECT_TRUE(main.exitButton()->isEnabled());
    for (int i = 1; i <= 4; ++i) {
        EXPECT_FALSE(main.recentAction(i)->isEnabled());
        EXPECT_EQ(main.recentAction(i)->text(), QStringLiteral("&") + QString::number(i));
    }
    EXPECT_FALSE(gModified);
    EXPECT_TRUE(env.services.calls.empty());
}

TEST_F(MainWindowTest, CaptionsTagsAndToolbar) {
    const char* captions[] = {"設計条件の入力",       "地盤条件の入力",
                              "材料条件の入力",       "コンクリート矢板断面の登録",
                              "軽量鋼矢板断面の登録", "鋼矢板断面の登録",
                              "使用断面の決定",       "ボイリングの検討",
                              "ヒービングの検討",     "　　計算結果の印刷",
                              "連番条件設定"};
    const char keys[] = "JGMCLSDBHPN";
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(main.menuButton(i)->text(), QString::fromUtf8(captions[i]) +
                                                  QStringLiteral("(&") + QLatin1Char(keys[i]) +
                                                  QLatin1Char(')'));
        EXPECT_EQ(frmMenuMain::ButtonCaption(i), std::string(captions[i]));
    }
    EXPECT_EQ(main.menuButton(9)->property("tag").toString(), QStringLiteral("MenuPrint"));
    EXPECT_EQ(main.exitButton()->text(), QStringLiteral("  ﾌﾟﾛｸﾞﾗﾑ終了(&X)"));
    const std::pair<const char*, const char*> tools[] = {{"New", "新規作成"},
                                                         {"Open", "ﾌｧｲﾙを開く..."},
                                                         {"SaveAs", "ﾌｧｲﾙに名前を付けて保存..."},
                                                         {"Save", "ﾌｧｲﾙの上書き保存"},
                                                         {"Printer", "ﾍﾟｰｼﾞの設定"}};
    for (const auto& [key, tip] : tools) {
        QAction* a = main.action(QStringLiteral("tbr") + QString::fromUtf8(key));
        ASSERT_NE(a, nullptr) << key;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(tip));
        EXPECT_FALSE(a->icon().isNull()) << key;
    }
}

// Each of the thirteen buttons has its own Alt+letter, none taken by the menu bar's.
TEST_F(MainWindowTest, ButtonsAnswerTheirAccessKeys) {
    QSet<QKeySequence> seen = {QKeySequence::mnemonic(QStringLiteral("ﾌｧｲﾙ(&F)")),
                               QKeySequence::mnemonic(QStringLiteral("&?"))};
    for (int i = 0; i <= 12; ++i) {
        QPushButton* b = i < 11    ? main.menuButton(i)
                         : i == 11 ? main.exitButton()
                                   : main.coverButton();
        const QKeySequence key = QKeySequence::mnemonic(b->text());
        EXPECT_FALSE(key.isEmpty()) << i;
        EXPECT_FALSE(seen.contains(key)) << i << " " << key.toString().toStdString();
        seen.insert(key);
    }
    test::ShowActive(&main);
    main.drive = [](InputWindow& w) {
        w.reject();
        return w.result();
    };
    QTest::keyClick(&main, Qt::Key_G, Qt::AltModifier);
    QTest::qWait(250);  // a button's access key clicks it with an animation
    EXPECT_EQ(main.opened(), 1) << "Alt+G opens the ground conditions";
    QTest::keyClick(&main, Qt::Key_N, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_EQ(main.opened(), 2) << "Alt+N opens the numbering window";
    QTest::keyClick(&main, Qt::Key_K, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_EQ(main.opened(), 3) << "Alt+K opens the cover window";
}

// The cover's texts typed in their window are kept with the design: Cancel changes nothing; OK
// highlights the button once a text is given, marks the design modified and keeps the choice
// valid, and the saved file gives the texts back on opening.
TEST_F(MainWindowTest, CoverTextsConfirmedInTheirWindowAreSavedWithTheDesign) {
    gInpJyoken.InpFlg = gInpJiban.InpFlg = gInpYaita.InpFlg = true;
    main.RefreshMenu();
    ASSERT_EQ(main.coverButton()->text(), QStringLiteral("表紙の設定(&K)"));
    auto highlighted = [&] {
        return main.coverButton()->palette().color(QPalette::ButtonText) ==
               QApplication::palette(main.coverButton()).color(QPalette::Highlight);
    };
    EXPECT_FALSE(highlighted());
    bool ok = false;
    main.drive = [&ok](InputWindow& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("表紙の設定"));
        for (TextField* t : w.findChildren<TextField*>()) {
            if (t->name() == "CInpHyoshi.KojiMei") t->setText(std::string("第2号幹線水路改修工事"));
            if (t->name() == "CInpHyoshi.Han") t->setText(std::string("第1版"));
        }
        if (ok) return PressOk(w);
        w.reject();
        return w.result();
    };
    main.coverButton()->click();
    EXPECT_EQ(gInpHyoshi, CInpHyoshi{});
    EXPECT_FALSE(gModified);
    ok = true;
    main.coverButton()->click();
    EXPECT_EQ(main.opened(), 2);
    EXPECT_TRUE(highlighted());
    EXPECT_TRUE(gModified);
    EXPECT_TRUE(Enabled(frmMenuMain::kMenuPrint)) << "the texts void no result";
    SaveAs(Path("cover.kvt"));
    main.FileNew();
    EXPECT_FALSE(highlighted());
    env.services.AnswerOpen(Path("cover.kvt"));
    main.FileOpen();
    EXPECT_EQ(gInpHyoshi, (CInpHyoshi{"第2号幹線水路改修工事", "", "", "", "", "第1版"}));
    EXPECT_TRUE(highlighted());
    EXPECT_TRUE(env.services.messages().empty());
}

TEST_F(MainWindowTest, ConfirmingTheConditionsEnablesTheChoice) {
    main.drive = PressOk;
    main.MenuCommand(frmMenuMain::kInpJyoken);
    EXPECT_TRUE(Highlighted(frmMenuMain::kInpJyoken));
    EXPECT_TRUE(gModified);
    EXPECT_FALSE(Enabled(frmMenuMain::kInpYaita));
    main.MenuCommand(frmMenuMain::kInpJiban);
    EXPECT_TRUE(Highlighted(frmMenuMain::kInpJiban));
    EXPECT_TRUE(Enabled(frmMenuMain::kInpYaita));
    EXPECT_FALSE(Highlighted(frmMenuMain::kInpYaita));
    EXPECT_EQ(main.opened(), 2);
    EXPECT_TRUE(env.services.calls.empty());
}

TEST_F(MainWindowTest, CancelledWindowChangesNothing) {
    main.drive = [](InputWindow& w) {
        w.reject();
        return w.result();
    };
    main.MenuCommand(frmMenuMain::kInpZairyo);
    EXPECT_FALSE(gModified);
    EXPECT_EQ(gInpZairyo, CInpZairyo{});
}

TEST_F(MainWindowTest, ChoiceButtonNeedsASectionInSomeCatalogue) {
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
    gInpSectC.Clear();
    gInpSectLS.Clear();
    gInpSectS.Clear();
    main.RefreshMenu();
    EXPECT_FALSE(Enabled(frmMenuMain::kInpYaita));
    for (int i : {3, 4, 5}) EXPECT_FALSE(Highlighted(i)) << "button " << i;
    gInpSectLS.Add("SP-1", 1, 1, 1, 1);
    main.RefreshMenu();
    EXPECT_TRUE(Enabled(frmMenuMain::kInpYaita));
    EXPECT_TRUE(Highlighted(frmMenuMain::kInpSectLS));
    EXPECT_FALSE(Highlighted(frmMenuMain::kInpSectC));
    // Disabled after it was highlighted, the button is drawn as grey as every disabled one.
    gInpYaita.InpFlg = true;
    main.RefreshMenu();
    ASSERT_TRUE(Highlighted(frmMenuMain::kInpYaita));
    gInpSectLS.Clear();
    main.RefreshMenu();
    QPushButton* choice = main.menuButton(frmMenuMain::kInpYaita);
    ASSERT_FALSE(choice->isEnabled());
    EXPECT_EQ(choice->palette().color(QPalette::Disabled, QPalette::ButtonText),
              QApplication::palette(choice).color(QPalette::Disabled, QPalette::ButtonText));
}

struct ResultCase {
    const char* name;
    bool chosen;
    int kind;
    int nekiri;
    bool boiling, heaving, print;
    friend void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }
};

class ResultButtonsTest : public MainWindowTest,
                          public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ResultButtonsTest, FollowTheChoiceTheGroundAndTheCheckBox) {
    const ResultCase& c = GetParam();
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
    gInpYaita.InpFlg = c.chosen;
    gInpJiban.Kind = c.kind;
    gInpJyoken.Nekiri = c.nekiri;
    main.RefreshMenu();
    EXPECT_EQ(Enabled(frmMenuMain::kResOutAs), c.boiling);
    EXPECT_EQ(Enabled(frmMenuMain::kResOutAc), c.heaving);
    EXPECT_EQ(Enabled(frmMenuMain::kMenuPrint), c.print);
    EXPECT_TRUE(Enabled(frmMenuMain::kInpYaita));
    EXPECT_EQ(Highlighted(frmMenuMain::kInpYaita), c.chosen);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ResultButtonsTest,
    ::testing::Values(ResultCase{"SandyChecked", true, 0, 1, true, false, true},
                      ResultCase{"ClayeyChecked", true, 1, 1, false, true, true},
                      ResultCase{"SandyNotChecked", true, 0, 0, false, false, true},
                      ResultCase{"ClayeyNotChecked", true, 1, 0, false, false, true},
                      ResultCase{"NoChoice", false, 0, 1, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ConfirmingTheGroundVoidsTheChoice) {
    gInpJyoken.InpFlg = gInpJiban.InpFlg = gInpYaita.InpFlg = true;
    main.RefreshMenu();
    ASSERT_TRUE(Enabled(frmMenuMain::kMenuPrint));
    main.drive = PressOk;
    main.MenuCommand(frmMenuMain::kInpJiban);
    EXPECT_FALSE(gInpYaita.InpFlg);
    for (int i : {7, 8, 9}) EXPECT_FALSE(Enabled(i)) << "button " << i;
}

// New, Open and a recent file replace the design: with unsaved changes each asks the exit's
// question (save / discard / cancel); a save that fails or is cancelled keeps the design.
struct ReplaceCase {
    const char* name;
    int command;  // 0 New, 1 Open, 2 recent file 2
    MsgAnswer answer;
    bool saveFails;
    bool replaced;
    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
};

class ReplaceTest : public MainWindowTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceTest, AsksBeforeUnsavedEditsAreLost) {
    const ReplaceCase& c = GetParam();
    SaveAs(Path("other.kvt"));
    SaveAs(Path("work.kvt"));
    main.drive = [](InputWindow& w) {
        w.findChild<TextField*>()->setText(std::string("編集中"));
        return PressOk(w);
    };
    main.MenuCommand(frmMenuMain::kInpJyoken);
    ASSERT_EQ(gInpJyoken.Title, "編集中");
    EXPECT_EQ(main.windowTitle(), QStringLiteral("*work.kvt - Kuvelt"));
    if (c.saveFails) {
        std::filesystem::remove(Path("work.kvt"));
        std::filesystem::create_directory(Path("work.kvt"));  // a folder now stands in the way
    }
    env.services.ClearRecord();
    env.services.AnswerMessage(c.answer);
    if (c.saveFails) env.services.AnswerMessage(MsgAnswer::Ok);  // the write error
    if (c.command == 0) {
        main.FileNew();
    } else if (c.command == 1) {
        if (c.replaced) env.services.AnswerOpen(Path("other.kvt"));
        main.FileOpen();
    } else {
        main.FileHistory(2);
    }
    const char* questions[] = {"上書き保存してから入力ﾃﾞｰﾀを初期化しますか？",
                               "上書き保存してからﾌｧｲﾙを開きますか？",
                               "上書き保存してからﾌｧｲﾙを開きますか？"};
    const char* titles[] = {"新規作成", "ﾌｧｲﾙを開く", "ﾌｧｲﾙを開く"};
    ASSERT_FALSE(env.services.messages().empty());
    EXPECT_EQ(env.services.messages()[0],
              (Message{0,
                       std::string("現在編集中の入力ﾃﾞｰﾀがあります。") + questions[c.command] +
                           "\n\n編集中のﾌｧｲﾙ名：" + Path("work.kvt"),
                       titles[c.command], MsgIcon::Information, MsgButtons::YesNoCancel}));
    if (!c.replaced) {
        EXPECT_EQ(gInpJyoken.Title, "編集中");
        EXPECT_TRUE(gModified);
        EXPECT_EQ(main.windowTitle(), QStringLiteral("*work.kvt - Kuvelt"));
        return;
    }
    EXPECT_FALSE(gModified);
    EXPECT_EQ(gInpJyoken.Title, c.command == 0 ? CInpJyoken{}.Title : "(未定義)");
    EXPECT_EQ(main.windowTitle(),
              c.command == 0 ? QStringLiteral("Kuvelt") : QStringLiteral("other.kvt - Kuvelt"));
    if (c.answer == MsgAnswer::Yes) {
        gInpJyoken = CInpJyoken{};
        ASSERT_TRUE(PreReadCheck(Path("work.kvt")));
        int32_t code = 0;
        ASSERT_TRUE(ReadData(Path("work.kvt"), code));
        EXPECT_EQ(gInpJyoken.Title, "編集中") << "the edits were saved first";
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ReplaceTest,
    ::testing::Values(ReplaceCase{"NewCancel", 0, MsgAnswer::Cancel, false, false},
                      ReplaceCase{"NewDiscard", 0, MsgAnswer::No, false, true},
                      ReplaceCase{"NewSave", 0, MsgAnswer::Yes, false, true},
                      ReplaceCase{"NewSaveFails", 0, MsgAnswer::Yes, true, false},
                      ReplaceCase{"OpenCancel", 1, MsgAnswer::Cancel, false, false},
                      ReplaceCase{"OpenDiscard", 1, MsgAnswer::No, false, true},
                      ReplaceCase{"OpenSave", 1, MsgAnswer::Yes, false, true},
                      ReplaceCase{"OpenSaveFails", 1, MsgAnswer::Yes, true, false},
                      ReplaceCase{"RecentCancel", 2, MsgAnswer::Cancel, false, false},
                      ReplaceCase{"RecentSave", 2, MsgAnswer::Yes, false, true},
                      ReplaceCase{"RecentSaveFails", 2, MsgAnswer::Yes, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, UnmodifiedDesignIsReplacedWithoutAQuestion) {
    SaveAs(Path("a.kvt"));
    main.FileNew();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kuvelt"));
    env.services.AnswerOpen(Path("a.kvt"));
    main.FileOpen();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("a.kvt - Kuvelt"));
    EXPECT_TRUE(env.services.messages().empty());
}

TEST_F(MainWindowTest, SaveAsSetsTitleFileListAndClearsModified) {
    gModified = true;
    SaveAs(Path("dam1.kvt"));
    const auto& req = env.services.calls.at(0).request;
    EXPECT_EQ(req, (ui::FileDialogRequest{"ﾌｧｲﾙに名前を付けて保存...", "入力ﾃﾞｰﾀ(*.kvt)|*.kvt",
                                          ".kvt", "", ""}));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("dam1.kvt - Kuvelt"));
    EXPECT_EQ(gFileName, Path("dam1.kvt"));
    EXPECT_FALSE(gModified);
    EXPECT_TRUE(std::filesystem::exists(Path("dam1.kvt")));
    EXPECT_EQ(main.recentAction(1)->text(), Q("&1 " + Path("dam1.kvt")));
    EXPECT_TRUE(main.recentAction(1)->isEnabled());
    EXPECT_FALSE(main.recentAction(2)->isEnabled());
    // The next Save As offers the current name.
    env.services.AnswerSave(std::nullopt);
    EXPECT_FALSE(main.FileSaveAs());
    EXPECT_EQ(env.services.calls.back().request.initialName, Path("dam1.kvt"));
    EXPECT_FALSE(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir").empty());
}

TEST_F(MainWindowTest, SaveFailureShowsTheMessageAndKeepsTheState) {
    gModified = true;
    const std::string bad = Path("missing-folder/x.kvt");
    env.services.AnswerSave(bad);
    env.services.AnswerMessage(MsgAnswer::Ok);
    EXPECT_FALSE(main.FileSaveAs());
    const std::vector<Message> shown = env.services.messages();
    ASSERT_EQ(shown.size(), 1u);
    // The code, then the file and the system's words for the cause.
    EXPECT_EQ(shown[0].code, 76);
    EXPECT_NE(shown[0].text.find("（ｴﾗｰｺｰﾄﾞ ： 76）\n\nﾌｧｲﾙ名：" + bad + "\n原因：" +
                                 files::SystemErrorText(ENOENT) + "\n\n"),
              std::string::npos)
        << shown[0].text;
    EXPECT_EQ(shown[0].title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_EQ(shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kuvelt"));
    EXPECT_EQ(gFileName, "");
    EXPECT_TRUE(gModified);
    EXPECT_EQ(Recent()[0], "");
}

TEST_F(MainWindowTest, SaveWithoutAFileNameAsksForOne) {
    env.services.AnswerSave(std::nullopt);
    EXPECT_FALSE(main.FileSave());
    ASSERT_EQ(env.services.calls.size(), 1u);
    EXPECT_EQ(env.services.calls[0].kind, test::Call::SaveDialog);
}

TEST_F(MainWindowTest, OpeningMovesTheFileToTheTopOfTheRecentList) {
    for (const char* n : {"a.kvt", "b.kvt", "c.kvt"}) SaveAs(Path(n));
    EXPECT_EQ(Recent(),
              (std::array<std::string, 4>{Path("c.kvt"), Path("b.kvt"), Path("a.kvt"), ""}));
    gInpJyoken.Title = "changed";
    main.FileHistory(3);
    EXPECT_EQ(gInpJyoken.Title, "(未定義)");
    EXPECT_EQ(main.windowTitle(), QStringLiteral("a.kvt - Kuvelt"));
    EXPECT_EQ(gFileName, Path("a.kvt"));
    EXPECT_EQ(Recent(),
              (std::array<std::string, 4>{Path("a.kvt"), Path("c.kvt"), Path("b.kvt"), ""}));
    EXPECT_EQ(main.recentAction(1)->text(), Q("&1 " + Path("a.kvt")));
    EXPECT_EQ(std::filesystem::path(QDir::currentPath().toStdString()), env.dir.path());
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir"),
              QDir::currentPath().toStdString());

    env.services.AnswerOpen(Path("b.kvt"));
    main.FileOpen();
    EXPECT_EQ(Recent(),
              (std::array<std::string, 4>{Path("b.kvt"), Path("a.kvt"), Path("c.kvt"), ""}));
    EXPECT_EQ(main.recentAction(3)->text(), Q("&3 " + Path("c.kvt")));
}

// "InitDir" remembers only a folder a file was really read from or written to, and a dialog
// never starts in a folder that may not be listed, whatever the settings file says.
TEST_F(MainWindowTest, FileDialogsRememberOnlyFoldersThatServedAFile) {
    const std::string home = DialogStartFolder("/proc");
    ASSERT_TRUE(IsListableFolder(home));
    std::filesystem::create_directory(Path("designs"));
    CPrivateProfile::SetValueString(gIniFile, "FileName", "InitDir", Path("designs"));
    const std::string cwd = QDir::currentPath().toStdString();
    env.services.AnswerOpen(std::nullopt);
    main.FileOpen();
    EXPECT_EQ(env.services.calls.at(0).request,
              (ui::FileDialogRequest{"ﾌｧｲﾙを開く...", "入力ﾃﾞｰﾀ(*.kvt)|*.kvt", ".kvt",
                                     Path("designs"), ""}));
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir"), Path("designs"))
        << "a cancelled dialog remembers nothing";

    // A save into the kernel's files fails: neither the working folder nor "InitDir" moves.
    for (const char* bad : {"/proc/kuvelt.kvt", "/sys/kuvelt.kvt"}) {
        env.services.ClearRecord();
        env.services.AnswerSave(std::string(bad));
        env.services.AnswerMessage(MsgAnswer::Ok);
        EXPECT_FALSE(main.FileSaveAs()) << bad;
        EXPECT_EQ(env.services.messages().at(0).title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
        EXPECT_EQ(QDir::currentPath().toStdString(), cwd) << bad;
        EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir"),
                  Path("designs"));
    }
    // A settings file that already names such a folder (or a file, or nothing that exists).
    const std::string keepProgram = gProgramFolder;
    gProgramFolder = "/sys";
    for (const std::string& stored :
         std::vector<std::string>{"/proc", "/proc/self", "/dev", Path("designs/none"), ""}) {
        CPrivateProfile::SetValueString(gIniFile, "FileName", "InitDir", stored);
        env.services.ClearRecord();
        env.services.AnswerOpen(std::nullopt);
        main.FileOpen();
        EXPECT_EQ(env.services.calls.at(0).request.initialFolder, home) << stored;
    }
    gProgramFolder = keepProgram;
    // A successful save remembers its folder.
    SaveAs(Path("designs/a.kvt"));
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "FileName", "InitDir"), Path("designs"));
}

// A failed open, from the dialog or the recent list, after the edits were to be discarded: the
// file is read into a fresh design, so the design being edited, its file name, its modified mark
// and its buttons stay; the message names the file and why it could not be read.
struct FailedOpenCase {
    const char* name;
    const char* file;
    std::function<std::string(std::string example)> bytes;  // empty: no such file
    int32_t code;
    const char* cause;  // nullptr: the system's text for a missing file
};

class FailedOpenTest : public MainWindowTest,
                       public ::testing::WithParamInterface<FailedOpenCase> {};

TEST_P(FailedOpenTest, KeepsTheDesignAndSaysWhy) {
    const FailedOpenCase& c = GetParam();
    const std::string example =
        kuvelt::test::ReadBytes((kuvelt::test::SourceDir() / "examples/sand-channel.kvt").string());
    if (c.bytes) kuvelt::test::WriteBytes(Path(c.file), c.bytes(example));
    SaveAs(Path("work.kvt"));
    gInpJyoken.InpFlg = gInpJiban.InpFlg = gInpYaita.InpFlg = true;
    gInpJyoken.Title = "編集中";
    gModified = true;
    main.RefreshMenu();
    const std::string design = DesignToBytes();
    const QString title = main.windowTitle();
    std::vector<bool> enabled;
    for (int i = 0; i < frmMenuMain::kButtonCount; ++i) enabled.push_back(Enabled(i));
    // A recent file deleted since it was listed, or one picked in the dialog.
    CPrivateProfile::SetValueString(gIniFile, "FileName", "FileName2", Path(c.file));
    env.services.ClearRecord();
    env.services.AnswerMessage(MsgAnswer::No);  // the edits may go
    if (c.bytes) env.services.AnswerOpen(Path(c.file));
    env.services.AnswerMessage(MsgAnswer::Ok);
    if (c.bytes) {
        main.FileOpen();
    } else {
        main.FileHistory(2);
    }
    const Message expected = ReadFailureMessage(
        files::Failure{c.code, c.cause ? c.cause : files::SystemErrorText(ENOENT)}, Path(c.file));
    EXPECT_EQ(env.services.messages().back().text, expected.text);
    EXPECT_EQ(env.services.messages().back(), expected);
    EXPECT_EQ(DesignToBytes(), design);
    EXPECT_EQ(gFileName, Path("work.kvt"));
    EXPECT_TRUE(gModified);
    EXPECT_EQ(main.windowTitle(), title);
    for (int i = 0; i < frmMenuMain::kButtonCount; ++i) EXPECT_EQ(Enabled(i), enabled[i]) << i;
    EXPECT_EQ(Recent()[0], Path("work.kvt"));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, FailedOpenTest,
    ::testing::Values(
        FailedOpenCase{"Truncated", "cut.kvt", [](std::string b) { return b.substr(0, 700); }, 62,
                       "全ての値を読み込む前に62行目でﾌｧｲﾙが終わっています"},
        FailedOpenCase{"Empty", "empty.kvt", [](std::string) { return std::string(); }, 0,
                       "ﾌｧｲﾙが空です（0ﾊﾞｲﾄ）"},
        FailedOpenCase{"Binary", "image.kvt",
                       [](std::string) { return std::string("\x89PNG\r\n\x1a\n\0\0", 10); }, 0,
                       "ﾃｷｽﾄﾌｧｲﾙではありません"},
        FailedOpenCase{
            "OtherText", "notes.kvt", [](std::string) { return std::string("memo\r\nline\r\n"); },
            0, "Kuvelt の入力ﾃﾞｰﾀﾌｧｲﾙではありません（2～3行目に製品名とﾊﾞｰｼﾞｮﾝがありません）"},
        FailedOpenCase{
            "NewerVersion", "newer.kvt",
            [](std::string b) { return b.replace(b.find("[1.00]"), 6, "[1.01]"); }, 0,
            "ﾊﾞｰｼﾞｮﾝ「1.01」の入力ﾃﾞｰﾀﾌｧｲﾙは読み込めません（読み込めるﾊﾞｰｼﾞｮﾝ：1.00，1.10）"},
        FailedOpenCase{"NotADesignName", "good.kv", [](std::string b) { return b; }, 0,
                       "ﾌｧｲﾙの種類が入力ﾃﾞｰﾀ(*.kvt)ではありません"},
        FailedOpenCase{"NotANumber", "bad.kvt",
                       [](std::string b) { return b.replace(b.find(" 3.5 "), 5, " x "); }, 13,
                       "6行目：数値のはずの項目が数値ではありません"},
        FailedOpenCase{"DeletedRecent", "gone.kvt", nullptr, 0, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

struct ExitCase {
    const char* name;
    MsgAnswer answer;
    bool hasFile;
    bool saveDialogCancelled;
    bool mayEnd;
    bool modifiedAfter;
    friend void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }
};

class ExitTest : public MainWindowTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitTest, AnswersOfTheExitQuestion) {
    const ExitCase& c = GetParam();
    if (c.hasFile) SaveAs(Path("work.kvt"));
    env.services.ClearRecord();
    gModified = true;
    env.services.AnswerMessage(c.answer);
    if (c.answer == MsgAnswer::Yes && !c.hasFile) {
        env.services.AnswerSave(c.saveDialogCancelled ? std::nullopt
                                                      : std::optional(Path("new.kvt")));
    }
    EXPECT_EQ(main.ConfirmExit(), c.mayEnd);
    ASSERT_FALSE(env.services.messages().empty());
    EXPECT_EQ(env.services.messages()[0],
              (Message{0,
                       "現在編集中の入力ﾃﾞｰﾀがあります。上書き保存してから終了しますか？\n\n"
                       "編集中のﾌｧｲﾙ名：" +
                           std::string(c.hasFile ? Path("work.kvt") : ""),
                       "ｱﾌﾟﾘｹｰｼｮﾝ終了", MsgIcon::Information, MsgButtons::YesNoCancel}));
    EXPECT_EQ(gModified, c.modifiedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ExitTest,
    ::testing::Values(ExitCase{"CancelStays", MsgAnswer::Cancel, true, false, false, true},
                      ExitCase{"NoEndsUnsaved", MsgAnswer::No, true, false, true, true},
                      ExitCase{"YesSavesTheFile", MsgAnswer::Yes, true, false, true, false},
                      ExitCase{"YesWithoutFileSavesAs", MsgAnswer::Yes, false, false, true, false},
                      ExitCase{"YesButSaveAsCancelledStays", MsgAnswer::Yes, false, true, false,
                               true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ExitWhoseSaveFailsReturnsToTheWindow) {
    SaveAs(Path("work.kvt"));
    std::filesystem::remove(Path("work.kvt"));
    std::filesystem::create_directory(Path("work.kvt"));  // a folder now stands in the way
    env.services.ClearRecord();
    gModified = true;
    env.services.AnswerMessage(MsgAnswer::Yes);
    env.services.AnswerMessage(MsgAnswer::Ok);
    main.show();
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(env.services.messages().size(), 2u);
    EXPECT_EQ(env.services.messages()[1].title, "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ");
    EXPECT_TRUE(gModified);
}

TEST_F(MainWindowTest, UnmodifiedExitAsksNothingAndStoresThePosition) {
    main.show();
    main.move(150, 90);
    EXPECT_TRUE(main.close());
    EXPECT_TRUE(env.services.calls.empty());
    EXPECT_GT(CPrivateProfile::GetValueLong(gIniFile, "MenuMain", "Top"), 0);
    EXPECT_GT(CPrivateProfile::GetValueLong(gIniFile, "MenuMain", "Left"), 0);
}

// The dialog shows the margins the report prints with: the preview's own until some are stored.
TEST_F(MainWindowTest, PageSetupShowsThePrintedMarginsAndStoresWholeMillimetres) {
    env.services.AnswerPageSetup(std::nullopt);
    main.PageSetup();
    ASSERT_EQ(env.services.calls.size(), 1u);
    EXPECT_EQ(env.services.calls[0].margins, (ui::PageMargins{2000, 2500, 2000, 1500}));
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "Printer", "MarginTop(mm)"), "");
    CPrivateProfile::SetValueString(gIniFile, "Printer", "MarginTop(mm)", "15");
    CPrivateProfile::SetValueString(gIniFile, "Printer", "MarginLeft(mm)", "20");
    env.services.ClearRecord();
    env.services.AnswerPageSetup(ui::PageMargins{2540, 1049, 500, 500});
    main.PageSetup();
    ASSERT_EQ(env.services.calls.size(), 1u);
    EXPECT_EQ(env.services.calls[0].margins, (ui::PageMargins{1500, 2000, 2000, 1500}));
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "Printer", "MarginTop(mm)"), "25");
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "Printer", "MarginLeft(mm)"), "10");
    EXPECT_TRUE(main.isEnabled());
    env.services.AnswerPageSetup(std::nullopt);
    main.PageSetup();
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "Printer", "MarginTop(mm)"), "25");
}

// The real file dialogs, in a child process under a time limit: a folder holding a FIFO, a
// character device and a link to a kernel file that blocks its reader, after the dialog's own
// memory (Qt's settings) was left in /proc. Qt's stock icon provider reads every listed file to
// guess its type and never returns from such a folder.
TEST(FileDialogTest, ListsSpecialFilesWithoutReadingThem) {
    kuvelt::test::TempDir dir, config;
    kuvelt::test::WriteBytes(dir.file("a.kvt"), "x");
    ASSERT_EQ(::mkfifo(dir.file("pipe.kvt").c_str(), 0600), 0);
    if (::geteuid() != 0 ||
        ::mknod(dir.file("null.kvt").c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
        ASSERT_EQ(::symlink("/dev/null", dir.file("null.kvt").c_str()), 0);
    }
    if (::access("/proc/kmsg", R_OK) == 0) {
        ASSERT_EQ(::symlink("/proc/kmsg", dir.file("kmsg.kvt").c_str()), 0);
    }
    kuvelt::test::WriteBytes(config.file("QtProject.conf"),
                             "[FileDialog]\nhistory=file:///proc\nlastVisited=file:///proc\n");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(config.path().string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--file-dialog-probe"), Q(dir.path().string())});
    ASSERT_TRUE(child.waitForStarted(10000));
    const bool finished = child.waitForFinished(30000);
    if (!finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    ASSERT_TRUE(finished) << "the file dialog blocked";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    // Both dialogs listed the design file (Qt hides FIFOs and devices from the list).
    const QString listed = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_EQ(listed.count(QStringLiteral("a.kvt\n")), 2) << listed.toStdString();
}

// Where a dialog may start: ordinary folders the user can list, nothing of the kernel's.
TEST(FileDialogTest, StartFolderIsAnOrdinaryListableFolder) {
    kuvelt::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    kuvelt::test::WriteBytes(dir.file("file.kvt"), "x");
    std::filesystem::create_directory_symlink("/proc", dir.path() / "proc-link");
    std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "sub-link");
    const std::pair<std::string, bool> cases[] = {{dir.path().string(), true},
                                                  {dir.file("sub"), true},
                                                  {dir.file("sub-link"), true},
                                                  {"/", true},
                                                  {"/proc", false},
                                                  {"/proc/self/fd", false},
                                                  {"/sys/kernel", false},
                                                  {"/dev", false},
                                                  {"/dev/shm", false},
                                                  {dir.file("proc-link"), false},
                                                  {dir.file("file.kvt"), false},
                                                  {dir.file("missing"), false},
                                                  {"", false},
                                                  {"/processes-are-not-proc", false}};
    for (const auto& [folder, listable] : cases) {
        EXPECT_EQ(IsListableFolder(folder), listable) << folder;
        const std::string start = DialogStartFolder(folder);
        EXPECT_TRUE(IsListableFolder(start)) << folder;
        if (listable) {
            EXPECT_EQ(start, folder);
        }
    }
    if (::geteuid() != 0) {  // the superuser may list every folder
        std::filesystem::permissions(dir.path() / "sub", std::filesystem::perms::owner_write);
        EXPECT_FALSE(IsListableFolder(dir.file("sub")));
    }
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(Q(dir.file("sub")));
    EXPECT_EQ(DialogStartFolder(""), QDir::currentPath().toStdString());
    QDir::setCurrent(cwd);
}

TEST(VersionTest, LineAndSystemInformation) {
    EXPECT_EQ(VersionLine(2, 1, 5, 2026, 4, 1), "Version 2.1.005(2026/04/01)");
    EXPECT_EQ(CurrentVersionLine(), "Version 1.0.000(2026/12/09)");
    UiTestEnv env;
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    about.PressSystemInfo();
    EXPECT_EQ(env.services.messages(),
              std::vector<Message>{Info("現時点ではｼｽﾃﾑ情報を使用できません", "ﾊﾞｰｼﾞｮﾝ情報")});
    env.services.systemInfoAvailable = true;
    about.PressSystemInfo();
    EXPECT_EQ(env.services.messages().size(), 1u);
}

// A design whose virtual ground surface lies below the examined depth.
void MakeCalculationFail() {
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
    gInpJyoken.ELGL = 10.0;
    gInpJyoken.ELYU = 10.0;
    gInpJyoken.ELWL = 10.0;
    gInpJyoken.Z = 1.0;
    gInpJiban.Fai = 10.0;
}

// A failed calculation says so once: the command's message, the stages' causes under it.
TEST_F(MainWindowTest, FailedCalculationShowsOneMessage) {
    MakeCalculationFail();
    std::vector<Message> core;
    ASSERT_FALSE(CalcMain(&core));
    ASSERT_FALSE(core.empty());
    gInpYaita = CInpYaita{true, 2, 1, 0.0, 0.0, 15.0};  // a choice the choice window takes
    const CInpYaita before = gInpYaita;
    main.RefreshMenu();
    for (int button : {frmMenuMain::kInpYaita, frmMenuMain::kMenuPrint}) {
        env.services.ClearRecord();
        env.services.AnswerMessage(MsgAnswer::Ok);
        main.MenuCommand(button);
        const std::vector<Message> shown = env.services.messages();
        ASSERT_EQ(shown.size(), 1u) << "button " << button;
        EXPECT_EQ(shown[0].title,
                  button == frmMenuMain::kInpYaita ? "使用矢板の決定" : "計算結果の印刷");
        EXPECT_EQ(shown[0].text.rfind("計算ｴﾗｰです。入力ﾃﾞｰﾀ等をご確認下さい。\n\n", 0), 0u);
        for (const Message& m : core) {
            EXPECT_NE(shown[0].text.find(m.title + "：\n" + m.text), std::string::npos) << m.text;
        }
        EXPECT_EQ(gInpYaita, before);
    }
}

// A design the ground window would refuse (γw = 0, which the boiling factor divides by) is not
// checked: the button shows the window's message, naming the field, its value and its range.
TEST_F(MainWindowTest, BoilingOfARefusedDesignSaysWhyAndShowsNoResult) {
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
    gInpYaita = CInpYaita{true, 2, 1, 0.0, 0.0, 8.0};
    gInpJiban.Gw = 0.0;
    main.RefreshMenu();
    ASSERT_TRUE(Enabled(frmMenuMain::kResOutAs));
    env.services.AnswerMessage(MsgAnswer::Ok);
    main.MenuCommand(frmMenuMain::kResOutAs);
    ASSERT_EQ(env.services.messages().size(), 1u);
    EXPECT_EQ(env.services.messages()[0],
              Info("水の単位体積重量γw(kN/m3) 0 は入力範囲外です（入力範囲：0.1 ～ 99.0）。"
                   "地盤条件の入力で修正して下さい。",
                   "水の単位体積重量γw(kN/m3)"));
}

// The heaving button computes from the design as it stands: pressed first, after another
// design's calculation and after an edit of the surcharge, it shows what kuvelt-calc computes
// for that design (the report prints the same factor).
TEST_F(MainWindowTest, HeavingButtonAnswersForTheCurrentDesignWhateverRanBefore) {
    const std::string clay = (kuvelt::test::SourceDir() / "examples/clay-embankment.kvt").string();
    const std::string sand = (kuvelt::test::SourceDir() / "examples/sand-channel.kvt").string();
    QString shown;
    main.drive = [&](InputWindow& w) {
        if (auto* ac = dynamic_cast<frmResOutAc*>(&w)) shown = ac->numFs->text();
        return QDialog::Rejected;
    };
    auto open = [&](const std::string& path) {
        env.services.AnswerOpen(path);
        main.FileOpen();
    };
    // What kuvelt-calc prints for the current design: its whole run from a fresh store.
    auto cli = [] {
        const CInpJyoken keep = gInpJyoken;
        const usecase::DesignRun run = usecase::RunDesign(usecase::PickRequest{});
        EXPECT_EQ(gInpJyoken, keep);
        EXPECT_TRUE(run.calc.results->heaving);
        return Q(numfmt::FormatNumber(run.calc.results->heaving->F(), "##0.00"));
    };
    open(clay);
    const QString expected = cli();
    ResetResultStore();
    main.MenuCommand(frmMenuMain::kResOutAc);
    EXPECT_EQ(shown, expected) << "pressed first";
    EXPECT_EQ(shown, QStringLiteral("3.70"));

    open(sand);
    main.MenuCommand(frmMenuMain::kInpYaita);  // its calculation and its boiling check
    open(clay);
    shown.clear();
    main.MenuCommand(frmMenuMain::kResOutAc);
    EXPECT_EQ(shown, expected) << "after another design";

    gInpJyoken.K2Q = 0.0;  // the crest surcharge removed: a lighter overburden
    const QString edited = cli();
    EXPECT_NE(edited, expected);
    main.MenuCommand(frmMenuMain::kResOutAc);
    EXPECT_EQ(shown, edited) << "after an edit of the surcharge";
}

// The standard buttons of the message boxes and dialogs speak Japanese: Qt's own translations,
// installed with the program's packages, load as the program loads them at start.
TEST(QtTranslations, StandardButtonsInJapanese) {
    QTranslator qtTexts;
    ASSERT_TRUE(qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                             QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qtTexts);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(&qtTexts);
}

// A message box is as wide as its title needs, whatever its text: a short question under a long
// title shows the whole title.
TEST(MessageBoxTest, WideEnoughForItsTitle) {
    for (const char* title :
         {"ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ", "根切り底面の安定検討時の計算ｴﾗｰについてのお知らせ"}) {
        const auto box = widgets::MakeMessageBox(
            nullptr, Message{0, "OK?", title, MsgIcon::Information, MsgButtons::Ok});
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->sizeHint().width(),
                  QFontMetrics(bold).horizontalAdvance(QString::fromUtf8(title)) + 100)
            << title;
    }
}

// 表示 → 構造図 draws the design as it stands: with the virtual ground of a fresh calculation,
// and for a design that does not calculate still the wall and levels, saying what is missing.
TEST_F(MainWindowTest, StructureWindowDrawsTheDesignAsItStands) {
    basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
    struct Restore {
        ~Restore() { basResOutPrn::SetReportDataFolder(""); }
    } restore;
    env.services.AnswerOpen((kuvelt::test::SourceDir() / "examples/sand-channel.kvt").string());
    main.FileOpen();
    struct Seen {
        bool figure = false;
        std::string note;
        bool virtualGround = false;
    } seen;
    main.drive = [&](InputWindow& w) {
        auto* z = dynamic_cast<frmZuStructure*>(&w);
        EXPECT_NE(z, nullptr);
        if (z == nullptr) return QDialog::Rejected;
        seen.figure = z->view()->hasFigure();
        seen.note = z->noteLabel()->text().toStdString();
        seen.virtualGround = false;
        for (const auto& part : z->view()->figure().parts) {
            if (!part.figure) continue;
            for (const auto& t : part.figure->texts)
                seen.virtualGround |= t.text.rfind("仮想地盤面", 0) == 0;
        }
        return QDialog::Rejected;
    };
    main.action(QStringLiteral("mnuViewStructure"))->trigger();
    EXPECT_TRUE(seen.figure);
    EXPECT_EQ(seen.note, "");
    EXPECT_TRUE(seen.virtualGround);

    gInpJyoken.Z = 1.0;  // no virtual ground within the depth examined: the chain stops
    gInpJiban.Fai = 20.0;
    main.action(QStringLiteral("mnuViewStructure"))->trigger();
    EXPECT_TRUE(seen.figure) << "the wall and its levels are drawn all the same";
    EXPECT_EQ(seen.note.rfind("計算できないため", 0), 0u) << seen.note;
    EXPECT_FALSE(seen.virtualGround);
}

}  // namespace
}  // namespace kuvelt::ui
