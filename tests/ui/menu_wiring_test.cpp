// The main menu opens the registration, choice, result, numbering and print windows: each button
// runs its window with the settings of the main window, the choice runs after a successful
// calculation and is followed by the stability check, and a confirmed choice enables printing.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>

#include "calc/nekiri.h"
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

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

class DrivenMain : public frmMenuMain {
  public:
    std::function<int(InputWindow&)> drive;
    std::vector<std::string> titles;

  protected:
    int RunWindow(InputWindow& w) override {
        w.Prepare();
        titles.push_back(U8(w.windowTitle()));
        if (!drive) {
            w.reject();
            return QDialog::Rejected;
        }
        return drive(w);
    }
};

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
        int32_t err = 0;
        ASSERT_TRUE(
            ReadData((kuvelt::test::SourceDir() / "examples" / "sand-channel.kvt").string(), err));
        gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
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
    gNekiriAnteiAs->D = -1.0;
    main.drive = [](InputWindow& w) {
        auto& y = static_cast<frmInpYaita&>(w);
        y.setKind(2);
        y.numSect->setValue(5);
        y.numL->setValue(13.0);
        w.PressOk();
        return w.result();
    };
    main.MenuCommand(frmMenuMain::kInpYaita);
    EXPECT_EQ(main.titles, std::vector<std::string>{"使用矢板の決定"});
    EXPECT_TRUE(gInpYaita.InpFlg);
    EXPECT_TRUE(gModified);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->D, 13.0 - (gInpJyoken.ELGL - gInpJyoken.ELDL))
        << "the stability check runs for the chosen length after the choice";
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

}  // namespace
}  // namespace kuvelt::ui
