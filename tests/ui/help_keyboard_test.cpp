// The user guide as the windows open it (its sections, where it is found, a missing guide), the
// focus frame, and the README's workflow walked with the keyboard alone: every command of the main
// window answers its keys, and every control of every window is reached by Tab or by a menu key.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "io/design_file.h"
#include "model/design.h"
#include "platform/paths.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/common/focus_frame.h"
#include "ui/common/user_guide.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/input_window.h"
#include "ui/main_handlers.h"
#include "ui/ui_services.h"
#include "ui/window_handlers.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

std::string SourceGuide() { return (kuvelt::test::SourceDir() / "README.md").string(); }

// ---- The guide ----------------------------------------------------------------------------

TEST(UserGuide, EveryWindowsSectionIsInTheGuideInWorkflowOrder) {
    guide::HelpWindow help;
    ASSERT_TRUE(help.Load(SourceGuide()));
    int previous = -1;
    for (int topic : guide::Topics()) {
        SCOPED_TRACE(topic);
        ASSERT_TRUE(help.ShowTopic(topic));
        const QTextBlock block = help.browser()->textCursor().block();
        EXPECT_TRUE(block.text().trimmed().startsWith(guide::TopicStart(topic)))
            << block.text().toStdString();
        // The guide tells the workflow in the order of the windows.
        EXPECT_GT(block.position(), previous);
        previous = block.position();
    }
    EXPECT_FALSE(help.ShowTopic(999));
    EXPECT_EQ(help.browser()->textCursor().position(), 0) << "an unknown section: the top";

    // Shown, the window has its section at the top of the view.
    help.resize(700, 500);
    test::ShowActive(&help);
    ASSERT_TRUE(help.ShowTopic(guide::kTopicNumbering));
    test::Pump();
    const QTextBlock block = help.browser()->textCursor().block();
    const double top = help.browser()->document()->documentLayout()->blockBoundingRect(block).top();
    EXPECT_GT(help.browser()->verticalScrollBar()->value(), 0);
    EXPECT_NEAR(help.browser()->verticalScrollBar()->value(), top, 2.0);
    // The guide's pictures are found beside it.
    const QVariant picture = help.browser()->loadResource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("docs/images/preview.png")));
    EXPECT_FALSE(picture.toByteArray().isEmpty());
    help.close();
}

TEST(UserGuide, FoundBesideTheProgramOrInTheSourceTreeOfABuild) {
    kuvelt::test::TempDir t;
    const std::string folder = t.path().string();
    // An installed program: only its own folder, and the message names that place.
    EXPECT_EQ(guide::GuideCandidates(folder), std::vector<std::string>{t.file("README.md")});
    EXPECT_EQ(guide::FindGuide(folder), t.file("README.md"));
    kuvelt::test::WriteBytes(t.file("README.md"), "# Guide\n");
    EXPECT_EQ(guide::FindGuide(folder), t.file("README.md"));
    // This test runs from the build tree, whose programs read the source tree's guide.
    const std::string bin = paths::ProgramFolder();
    const std::vector<std::string> here = guide::GuideCandidates(bin);
    ASSERT_EQ(here.size(), 2u);
    EXPECT_EQ(here[1], SourceGuide());
    EXPECT_EQ(guide::FindGuide(bin), SourceGuide());
}

TEST(UserGuide, MissingGuideIsSaidWithItsPlace) {
    UiTestEnv env;
    kuvelt::test::TempDir t;
    std::filesystem::create_directory(t.path() / "folder.md");
    for (const std::string& path : {t.file("README.md"), t.file("folder.md"), std::string()}) {
        SCOPED_TRACE(path);
        env.services.ClearRecord();
        env.services.AnswerMessage(MsgAnswer::Ok);
        QWidget owner;
        env.services.UiServices::ShowHelp(&owner, path, guide::kTopicChoice);
        const std::vector<Message> shown = env.services.messages();
        ASSERT_EQ(shown.size(), 1u);
        const std::string reason =
            path == t.file("folder.md") ? "通常のﾌｧｲﾙではありません" : "ﾌｧｲﾙが見つかりません";
        EXPECT_EQ(shown[0].text, "ﾍﾙﾌﾟ（使い方の説明）を表示できません。\n\nﾌｧｲﾙ名：" + path +
                                     "\n原因：" + reason +
                                     "\n\nKuvelt をｲﾝｽﾄｰﾙし直すと，説明のﾌｧｲﾙ"
                                     "（README.md）がﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞに置かれます。");
        EXPECT_EQ(shown[0].title, "ﾍﾙﾌﾟ");
        EXPECT_EQ(owner.findChild<guide::HelpWindow*>(), nullptr) << "no empty help window";
    }
    // The guide there: one help window per asking window, reused at the next section.
    QWidget owner;
    env.services.ClearRecord();
    env.services.UiServices::ShowHelp(&owner, SourceGuide(), guide::kTopicChoice);
    env.services.UiServices::ShowHelp(&owner, SourceGuide(), guide::kTopicPreview);
    EXPECT_TRUE(env.services.messages().empty());
    const auto windows = owner.findChildren<guide::HelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->browser()->textCursor().block().text().startsWith(
        guide::TopicStart(guide::kTopicPreview)));
}

// ---- The focus frame ------------------------------------------------------------------------

TEST(FocusFrame, FramesTheFocusedWidgetInTheHighlightColour) {
    UiTestEnv env;
    InstallFocusFrame(*qApp);
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setSpacing(12);
    auto* first = new QLineEdit(&window);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    column->addWidget(first);
    column->addWidget(button);
    window.resize(300, 140);
    test::ShowActive(&window);
    const QColor highlight = window.palette().color(QPalette::Active, QPalette::Highlight);
    auto framed = [&](QWidget* w) {
        // The frame's line, 2 px outside the widget, on its left edge and under it.
        const QImage shot = window.grab().toImage();
        const QRect g = w->geometry();
        const QPoint left(g.left() - 2, g.center().y()), below(g.center().x(), g.bottom() + 2);
        return shot.pixelColor(left) == highlight && shot.pixelColor(below) == highlight;
    };
    first->setFocus();
    test::Pump();
    EXPECT_EQ(FocusFrameTarget(), first);
    EXPECT_TRUE(framed(first));
    EXPECT_FALSE(framed(button));
    // Tab moves the frame with the focus; a click-only button is framed as well when keyed to.
    QTest::keyClick(first, Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(FocusFrameTarget(), button);
    EXPECT_TRUE(framed(button));
    EXPECT_FALSE(framed(first));
    // A grid filling its page has no room outside: the frame is drawn on its own edge.
    QWidget page;
    auto* fill = new QVBoxLayout(&page);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QTableView(&page);
    fill->addWidget(grid);
    page.resize(200, 120);
    test::ShowActive(&page);
    grid->setFocus();
    test::Pump();
    const QImage shot = page.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 60), highlight);
    EXPECT_EQ(shot.pixelColor(100, 119), highlight);
}

// ---- The workflow by keyboard -------------------------------------------------------------

// The main window whose modal windows are only recorded.
class RecordingMain : public frmMenuMain {
  public:
    std::vector<std::pair<std::string, int>> opened;  // title, help topic

  protected:
    int RunWindow(InputWindow& w) override {
        opened.emplace_back(w.windowTitle().toStdString(), w.UsrHelpContextID);
        return QDialog::Rejected;
    }
};

void LoadExample(const char* name) {
    int32_t err = 0;
    ASSERT_TRUE(ReadData((kuvelt::test::SourceDir() / "examples" / name).string(), err));
    gInpJyoken.InpFlg = gInpJiban.InpFlg = true;
}

TEST(KeyboardWalk, MainWindowCommandsAnswerTheirKeys) {
    UiTestEnv env;
    RecordingMain main;
    main.Start(false);
    LoadExample("sand-channel.kvt");
    ASSERT_TRUE(usecase::Calculate(usecase::Purpose::Choice).calculated);
    gInpYaita.InpFlg = true;
    main.RefreshMenu();
    test::ShowActive(&main);
    const char keys[] = "JGMCLSDBHPN";
    for (int i = 0; i < frmMenuMain::kButtonCount; ++i) {
        SCOPED_TRACE(i);
        const std::size_t before = main.opened.size();
        QTest::keyClick(&main, Qt::Key(Qt::Key_A + (keys[i] - 'A')), Qt::AltModifier);
        QTest::qWait(220);  // a button's access key clicks it after a short animation
        // Heaving is not the check of sandy ground: its button stays disabled.
        if (i == frmMenuMain::kResOutAc) {
            EXPECT_EQ(main.opened.size(), before);
            continue;
        }
        ASSERT_EQ(main.opened.size(), before + 1);
        EXPECT_EQ(main.opened.back().second, HelpTopicOf(i)) << main.opened.back().first;
    }
    env.services.ClearRecord();
    // The file commands, page setup and the guide; Alt+X ends the program.
    env.services.AnswerOpen(std::nullopt);
    env.services.AnswerSave(std::nullopt);
    env.services.AnswerSave(std::nullopt);
    env.services.AnswerPageSetup(std::nullopt);
    gModified = false;
    for (const QKeySequence& k :
         {QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
          QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
          QKeySequence(Qt::Key_F1)}) {
        QTest::keySequence(&main, k);
    }
    std::vector<test::Call::Kind> kinds;
    for (const test::Call& c : env.services.calls) kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<test::Call::Kind>{
                         test::Call::OpenDialog, test::Call::SaveDialog, test::Call::SaveDialog,
                         test::Call::PageSetupDialog, test::Call::Help}));
    EXPECT_EQ(env.services.calls.back().topic, guide::kTopicWorkflow);
    EXPECT_EQ(env.services.calls.back().request.initialName, UserGuideFile());
    QTest::keyClick(&main, Qt::Key_X, Qt::AltModifier);
    QTest::qWait(220);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(env.services.queueEmpty());
}

// The controls of `window` a keyboard cannot reach: not in the Tab chain, and (a tool button)
// without keys of its own and not in a menu of the window.
std::vector<std::string> Unreachable(QWidget& window) {
    std::set<QWidget*> chain;
    QWidget* w = &window;
    for (int guard = 0; guard < 2000; ++guard) {
        w = w->nextInFocusChain();
        if (w == &window) break;
        if (w->focusPolicy() & Qt::TabFocus) chain.insert(w);
    }
    std::set<QAction*> inMenus;
    for (QMenuBar* bar : window.findChildren<QMenuBar*>()) {
        for (QAction* top : bar->actions()) {
            if (top->menu()) {
                for (QAction* a : top->menu()->actions()) inMenus.insert(a);
            }
        }
    }
    std::vector<std::string> out;
    for (QWidget* c : window.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                             qobject_cast<QAbstractSpinBox*>(c) || qobject_cast<QComboBox*>(c) ||
                             qobject_cast<QAbstractItemView*>(c) || qobject_cast<QTabBar*>(c);
        if (!control || !c->isVisibleTo(&window) || !c->isEnabledTo(&window)) continue;
        // Parts of a composite control (a spin box's field, a grid's headers) go with it; a
        // read-only field only shows a value.
        QWidget* owner = c->parentWidget();
        if (qobject_cast<QAbstractSpinBox*>(owner) || qobject_cast<QComboBox*>(owner) ||
            (owner && qobject_cast<QAbstractItemView*>(owner->parentWidget())) ||
            qobject_cast<QAbstractItemView*>(owner) || c->focusProxy()) {
            continue;
        }
        if (auto* field = qobject_cast<QLineEdit*>(c); field && field->isReadOnly()) continue;
        if (chain.count(c)) continue;
        // Tab stops at the chosen option of a group; the arrows move among the others.
        if (qobject_cast<QRadioButton*>(c)) {
            bool groupReached = false;
            for (QRadioButton* r : owner->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                groupReached = groupReached || chain.count(r) > 0;
            if (groupReached) continue;
        }
        if (auto* tool = qobject_cast<QToolButton*>(c)) {
            QAction* a = tool->defaultAction();
            if (a && (!a->shortcut().isEmpty() || inMenus.count(a))) continue;
            // The same command under another action of a menu.
            bool listed = false;
            for (QAction* m : inMenus) listed = listed || (a && m->text().contains(a->text()));
            if (listed) continue;
        }
        out.push_back(std::string(c->metaObject()->className()) + " '" +
                      c->property("text").toString().toStdString() + "' " +
                      c->objectName().toStdString());
    }
    return out;
}

TEST(KeyboardWalk, EveryControlOfEveryWindowIsReached) {
    UiTestEnv env;
    basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
    basResOutPrn::SetReportTempFolder(env.dir.path().string());
    frmMenuPrint::SetStarter([](const std::vector<std::string>&) { return true; });
    QWidget parent;
    struct Case {
        const char* example;
        int button;
    };
    const Case cases[] = {
        {"sand-channel.kvt", frmMenuMain::kInpJyoken},
        {"sand-channel.kvt", frmMenuMain::kInpJiban},
        {"sand-channel.kvt", frmMenuMain::kInpZairyo},
        {"sand-channel.kvt", frmMenuMain::kInpSectC},
        {"sand-channel.kvt", frmMenuMain::kInpSectS},
        {"sand-channel.kvt", frmMenuMain::kInpYaita},
        {"sand-channel.kvt", frmMenuMain::kResOutAs},
        {"clay-embankment.kvt", frmMenuMain::kResOutAc},
        {"sand-channel.kvt", frmMenuMain::kMenuPrint},
        {"sand-channel.kvt", frmMenuMain::kInpRenban},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(frmMenuMain::ButtonTag(c.button));
        LoadExample(c.example);
        ASSERT_TRUE(usecase::Calculate(usecase::Purpose::Choice).calculated);
        usecase::CheckStability();
        std::unique_ptr<InputWindow> w;
        if (c.button == frmMenuMain::kInpJyoken) {
            auto* f = new frmInpJyoken(&parent);
            Connect(f);
            w.reset(f);
        } else if (c.button == frmMenuMain::kInpJiban) {
            auto* f = new frmInpJiban(&parent);
            Connect(f);
            w.reset(f);
        } else if (c.button == frmMenuMain::kInpZairyo) {
            auto* f = new frmInpZairyo(&parent);
            Connect(f);
            w.reset(f);
        } else {
            w = CreateMenuWindow(c.button, &parent);
        }
        ASSERT_TRUE(w);
        w->Prepare();
        test::ShowActive(w.get());
        env.services.ClearRecord();
        EXPECT_EQ(Unreachable(*w), std::vector<std::string>{});
        // Every button carrying a caption has its own Alt+letter within the window.
        std::set<QKeySequence> keys;
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            if (!b->isVisibleTo(w.get()) || b->text().isEmpty()) continue;
            const QKeySequence k = QKeySequence::mnemonic(b->text());
            if (k.isEmpty()) continue;
            EXPECT_TRUE(keys.insert(k).second) << b->text().toStdString();
        }
        w->reject();
    }
    frmMenuPrint::SetStarter({});
    basResOutPrn::SetReportDataFolder("");
    basResOutPrn::SetReportTempFolder("");
}

}  // namespace
}  // namespace kuvelt::ui
