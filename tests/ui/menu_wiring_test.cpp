// The main menu opens the registration, choice, result, numbering and print windows: each button
// runs its window with the settings of the main window, the choice runs after a successful
// calculation and is followed by the stability check, and a confirmed choice enables printing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <functional>

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "io/design_file.h"
#include "model/design.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpYaita.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/input_window.h"
#include "widgets/screen_fit.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

using test::DrivenMain;

class MenuWiringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.Start(false);
        basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
        basResOutPrn::SetReportTempFolder(env.dir.path().string());
        frmMenuPrint::SetStarter([this](const std::vector<std::string>& argv) {
            started.push_back(argv);
            return true;
        });
    }
    void TearDown() override {
        frmMenuPrint::SetStarter({});
        basResOutPrn::SetReportDataFolder("");
        basResOutPrn::SetReportTempFolder("");
    }
    void LoadExample() {
        test::LoadExample("sand-channel.kvt");
        main.RefreshMenu();
    }
    UiTestEnv env;
    DrivenMain main;
    std::vector<std::vector<std::string>> started;
};

TEST_F(MenuWiringTest, InputButtonsOpenTheirWindowsWithTheirCaptions) {
    const std::pair<int, const char*> buttons[] = {
        {frmMenuMain::kInpSectC, "ｺﾝｸﾘｰﾄ矢板断面の登録"},
        {frmMenuMain::kInpSectLS, "軽量鋼矢板断面の登録"},
        {frmMenuMain::kInpSectS, "鋼矢板断面の登録"},
        {frmMenuMain::kInpRenban, "連番条件設定"}};
    for (const auto& [button, title] : buttons) main.MenuCommand(button);
    ASSERT_EQ(main.titles.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(main.titles[i], buttons[i].second);
    EXPECT_TRUE(env.services.messages().empty());
}

TEST_F(MenuWiringTest, ChoiceThenStabilityThenBoilingWindowAndPrintMenu) {
    LoadExample();
    ASSERT_TRUE(main.menuButton(frmMenuMain::kInpYaita)->isEnabled());
    ResetResultStore();
    main.drive = [](InputWindow& w) {
        auto& y = static_cast<frmInpYaita&>(w);
        y.setKind(2);
        y.numSect->setValue(5);
        y.numL->setValue(13.0);
        return test::PressOk(w);
    };
    main.MenuCommand(frmMenuMain::kInpYaita);
    EXPECT_EQ(main.titles, std::vector<std::string>{"使用矢板の決定"});
    EXPECT_TRUE(gInpYaita.InpFlg);
    EXPECT_TRUE(gModified);
    const Results after = SnapshotResults();
    ASSERT_TRUE(after.boiling) << "the stability check runs after the choice";
    EXPECT_DOUBLE_EQ(after.boiling->D, 13.0 - (gInpJyoken.ELGL - gInpJyoken.ELDL))
        << "for the chosen length";
    EXPECT_TRUE(main.menuButton(frmMenuMain::kResOutAs)->isEnabled());
    EXPECT_TRUE(main.menuButton(frmMenuMain::kMenuPrint)->isEnabled());

    main.drive = nullptr;
    main.MenuCommand(frmMenuMain::kResOutAs);
    main.drive = [](InputWindow& w) {
        auto& p = static_cast<frmMenuPrint&>(w);
        p.CheckCommand(0);
        EXPECT_TRUE(p.PrintPreview());
        w.reject();
        return w.result();
    };
    main.MenuCommand(frmMenuMain::kMenuPrint);
    EXPECT_EQ(main.titles,
              (std::vector<std::string>{"使用矢板の決定", "ボイリングの検討", "検討結果の印刷"}));
    EXPECT_EQ(started.size(), 1u);
    EXPECT_TRUE(env.services.messages().empty());
}

// Every window opened from the main window opens whole on a 1366 × 768 laptop screen (the test's
// screen), frame included, and can shrink to fit 1280 × 720 with a panel; giving each of its
// fields the focus, which puts that field's range in the status line, never makes it wider.
TEST_F(MenuWiringTest, EveryWindowFitsALaptopScreenAndKeepsItsWidth) {
    LoadExample();
    StoreChoice(PileKind::Steel, 7, 0, 0, 14.0);
    main.RefreshMenu();
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(free.size(), QSize(1366, 768));
    main.drive = [&](InputWindow& w) {
        SCOPED_TRACE(U8(w.windowTitle()));
        test::ShowActive(&w);
        EXPECT_TRUE(free.contains(QRect(w.pos(), w.size().grownBy(widgets::FrameMargins(&w)))))
            << w.width() << "x" << w.height() << " at " << w.x() << "," << w.y();
        const QSize least = w.minimumSizeHint().expandedTo(w.minimumSize());
        // Smaller still: a 1280 × 720 screen with a panel holds it.
        EXPECT_LE(least.width(), 1280 - 8);
        EXPECT_LE(least.height(), 720 - 36 - 40);
        const int width = w.width();
        for (QWidget* f : w.findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(f) || !f->isVisible() || !f->isEnabled()) continue;
            f->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            EXPECT_EQ(w.width(), width) << U8(f->objectName()) << " " << U8(f->toolTip());
        }
        w.reject();
        return w.result();
    };
    for (int i = 0; i < frmMenuMain::kButtonCount; ++i) {
        if (i == frmMenuMain::kResOutAc) continue;  // sandy ground: the heaving button is off
        main.MenuCommand(i);
        for (const Message& m : env.services.messages()) ADD_FAILURE() << m.title << ": " << m.text;
        env.services.ClearRecord();
    }
    main.OpenCoverWindow();
    main.action(QStringLiteral("mnuViewStructure"))->trigger();
    EXPECT_EQ(main.titles.size(), std::size_t(frmMenuMain::kButtonCount) + 1);
}

}  // namespace
}  // namespace kuvelt::ui
