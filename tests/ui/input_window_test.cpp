// The window protocol: LoadData before the dependent enabling, SaveData with cancel on OK, the
// range check when the focus leaves a field or OK is pressed, and the stored position.
#include "ui/input_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "io/settings.h"
#include "platform/profile.h"
#include "scripted_services.h"
#include "ui/field_specs.h"
#include "ui/fields.h"
#include "widgets/screen_fit.h"

namespace kuvelt::ui {
namespace {

class TwoFieldWindow : public InputWindow {
  public:
    TwoFieldWindow() : InputWindow("InpJiban", QStringLiteral("試験")) {
        auto* v = new QVBoxLayout(this);
        fai = new NumField(FieldFor("CInpJiban.Fai"), this);
        gt = new NumField(FieldFor("CInpJiban.Gt"), this);
        v->addWidget(fai);
        v->addWidget(gt);
        v->addLayout(MakeButtonRow());
        connect(this, &InputWindow::LoadData, this, [this] {
            log += "L";
            fai->setValue(30.0);
            gt->setValue(18.0);
        });
        connect(this, &InputWindow::SaveData, this, [this](bool& cancel) {
            log += "S";
            cancel = cancelSave;
        });
    }
    void ApplyDependentEnabling() override { log += "E"; }
    NumField* fai;
    NumField* gt;
    std::string log;
    bool cancelSave = false;
};

const Message kFaiRange{0, "入力範囲：0.0 ～ 60.0", "土の内部摩擦角φ(゜)", MsgIcon::Information,
                        MsgButtons::Ok};

class InputWindowTest : public ::testing::Test {
  protected:
    void Open() {
        w.Prepare();
        test::ShowActive(&w);
        w.fai->setFocus(Qt::TabFocusReason);
        test::Pump();
    }
    void Type(NumField* f, const QString& text) {
        f->selectAll();
        QTest::keyClicks(f, text);
    }
    test::UiTestEnv env;
    TwoFieldWindow w;
};

TEST_F(InputWindowTest, OpeningLoadsBeforeDependentEnabling) {
    Open();
    EXPECT_EQ(w.log, "LE");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("試験"));
    EXPECT_FALSE(w.helpButton()->isEnabled());
    w.UsrCaption = QStringLiteral("別名");
    w.UsrHelpFile = QStringLiteral("help.html");
    w.Prepare();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("別名"));
    EXPECT_TRUE(w.helpButton()->isEnabled());
}

TEST_F(InputWindowTest, LeavingAFieldOutOfRangeBeepsShowsTheRangeAndKeepsTheFocus) {
    Open();
    Type(w.fai, QStringLiteral("61"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(w.fai, Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{kFaiRange});
    EXPECT_EQ(env.services.beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), w.fai);
    EXPECT_EQ(w.log, "LE");
}

// With a real box: type a bad value, Tab (the range box), Return (closes it), Tab again. The
// field keeps the focus each time, the window's own focus and the application's agree (the
// focus frame is drawn where the keys go), and nothing moves on until the value is in range.
TEST_F(InputWindowTest, TheRangeBoxCannotBeSlippedPastWithTabAndReturn) {
    Open();
    env.services.realBoxes = true;
    Type(w.fai, QStringLiteral("2000"));
    for (int round = 1; round <= 3; ++round) {
        env.services.AnswerMessage(MsgAnswer::Ok);
        ASSERT_TRUE(QApplication::focusWidget()) << "the keys go nowhere, round " << round;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        test::Pump();
        EXPECT_EQ(env.services.messages().size(), std::size_t(round)) << round;
        EXPECT_EQ(QApplication::focusWidget(), w.fai) << round;
        EXPECT_EQ(w.focusWidget(), w.fai) << round;
        EXPECT_TRUE(w.fai->hasFocus()) << round;
        EXPECT_EQ(w.fai->text(), QStringLiteral("2000.0")) << round;
    }
    // Keys typed now replace the selected value; in range, Tab moves on without a word.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(w.fai->value(), 45);
    EXPECT_EQ(QApplication::focusWidget(), w.gt);
    EXPECT_EQ(env.services.messages().size(), 3u);
    EXPECT_EQ(env.services.messages().back(), kFaiRange);
}

// The focus coming back from outside the window onto another widget (as a window manager may
// restore it after a box) still counts as leaving the bad field.
TEST_F(InputWindowTest, FocusReturningFromOutsideOntoAnotherFieldIsChecked) {
    Open();
    Type(w.fai, QStringLiteral("75"));
    QWidget outside;
    test::ShowActive(&outside);
    EXPECT_TRUE(env.services.calls.empty()) << "another window may take the focus";
    env.services.AnswerMessage(MsgAnswer::Ok);
    w.gt->setFocus(Qt::OtherFocusReason);
    test::ShowActive(&w);
    test::Pump();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{kFaiRange});
    EXPECT_EQ(QApplication::focusWidget(), w.fai);
}

TEST_F(InputWindowTest, LeavingAFieldInRangeSaysNothing) {
    Open();
    Type(w.fai, QStringLiteral("60"));
    QTest::keyClick(w.fai, Qt::Key_Tab);
    test::Pump();
    EXPECT_TRUE(env.services.calls.empty());
    EXPECT_EQ(QApplication::focusWidget(), w.gt);
}

TEST_F(InputWindowTest, EmptiedFieldCountsAsOutOfRange) {
    Open();
    w.fai->selectAll();
    QTest::keyClick(w.fai, Qt::Key_Backspace);
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(w.fai, Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{kFaiRange});
    EXPECT_EQ(QApplication::focusWidget(), w.fai);
}

TEST_F(InputWindowTest, OkWithTheBadFieldFocusedChecksInsteadOfSaving) {
    Open();
    Type(w.fai, QStringLiteral("75"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::mouseClick(w.okButton(), Qt::LeftButton);
    test::Pump();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{kFaiRange});
    EXPECT_EQ(w.log, "LE");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w.fai);
}

TEST_F(InputWindowTest, EnterInTheBadFieldChecksInsteadOfSaving) {
    Open();
    Type(w.fai, QStringLiteral("75"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(w.fai, Qt::Key_Return);
    QTest::qWait(250);  // the default button's animated click
    test::Pump();
    EXPECT_EQ(env.services.messages(), std::vector<Message>{kFaiRange});
    EXPECT_EQ(w.log, "LE");
}

TEST_F(InputWindowTest, OkRefusesAnEnabledBadFieldThatHasNoFocus) {
    Open();
    w.gt->setValue(120.0);  // out of range without being visited (e.g. read from a file)
    env.services.AnswerMessage(MsgAnswer::Ok);
    w.PressOk();
    test::Pump();
    ASSERT_EQ(env.services.messages().size(), 1u);
    EXPECT_EQ(env.services.messages()[0].title, "土の湿潤単位体積重量γt(kN/m3)");
    EXPECT_EQ(w.log, "LE");
    EXPECT_EQ(QApplication::focusWidget(), w.gt);
}

TEST_F(InputWindowTest, DisabledFieldsAreNotChecked) {
    Open();
    w.gt->setValue(120.0);
    w.gt->setEnabled(false);
    w.PressOk();
    EXPECT_EQ(w.log, "LES");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.UsrTag, QStringLiteral("OK"));
}

TEST_F(InputWindowTest, CancelledSaveKeepsTheWindowOpen) {
    Open();
    w.cancelSave = true;
    w.PressOk();
    EXPECT_EQ(w.log, "LES");
    EXPECT_TRUE(w.isVisible());
    w.cancelSave = false;
    w.PressOk();
    EXPECT_EQ(w.log, "LESS");
    EXPECT_FALSE(w.isVisible());
}

TEST_F(InputWindowTest, CancelNeitherSavesNorChecks) {
    Open();
    Type(w.fai, QStringLiteral("99"));
    QTest::mouseClick(w.cancelButton(), Qt::LeftButton);
    test::Pump();
    EXPECT_TRUE(env.services.calls.empty());
    EXPECT_EQ(w.log, "LE");
    EXPECT_EQ(w.UsrTag, QStringLiteral("ｷｬﾝｾﾙ"));
}

TEST_F(InputWindowTest, StoredPositionIsUsedAndClosingStoresIt) {
    CPrivateProfile::SetValueString(gIniFile, "InpJiban", "Top", "300");
    CPrivateProfile::SetValueString(gIniFile, "InpJiban", "Left", "600");
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    w.Prepare();
    EXPECT_EQ(w.pos().y(), int(300 * dpi / 1440.0 + 0.5));
    EXPECT_EQ(w.pos().x(), int(600 * dpi / 1440.0 + 0.5));
    w.move(40, 30);
    w.reject();
    EXPECT_EQ(CPrivateProfile::GetValueLong(gIniFile, "InpJiban", "Top"),
              int(30 * 1440.0 / dpi + 0.5));
    EXPECT_EQ(CPrivateProfile::GetValueLong(gIniFile, "InpJiban", "Left"),
              int(40 * 1440.0 / dpi + 0.5));
}

// A position stored on a monitor that is gone, or one that would leave part of the window off
// the screen (after a change of resolution), opens the whole window on the screen, title bar and
// frame included.
TEST_F(InputWindowTest, PositionOffTheScreenIsBroughtBack) {
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const std::string nearBottom = std::to_string(int((free.height() - 60) * 1440.0 / dpi));
    const std::string nearRight = std::to_string(int((free.width() - 60) * 1440.0 / dpi));
    for (const auto& [top, left] :
         {std::pair<std::string, std::string>{"90000", "200000"}, {nearBottom, nearRight}}) {
        CPrivateProfile::SetValueString(gIniFile, "InpJiban", "Top", top);
        CPrivateProfile::SetValueString(gIniFile, "InpJiban", "Left", left);
        w.Prepare();
        EXPECT_TRUE(free.contains(QRect(w.pos(), w.size().grownBy(widgets::FrameMargins(&w)))))
            << top << " " << left << ": " << w.pos().x() << "," << w.pos().y();
    }
}

TEST_F(InputWindowTest, NoStoredPositionCentres) {
    w.Prepare();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size = w.frameGeometry().size().expandedTo(w.size());
    EXPECT_NEAR(w.pos().y(), (screen.height() - size.height()) / 2, 1);
    EXPECT_NEAR(w.pos().x(), (screen.width() - size.width()) / 2, 1);
}

}  // namespace
}  // namespace kuvelt::ui
