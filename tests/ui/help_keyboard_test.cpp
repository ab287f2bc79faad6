// The user guide as the windows open it (its sections, every window's fields with their ranges,
// where it is found, a missing guide), the focus frame, and the workflow walked with the keyboard
// alone: every command of the main window answers its keys, and every control of every window is
// reached by Tab or by a menu key.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>
#include <set>

#include "io/design_file.h"
#include "model/design.h"
#include "platform/paths.h"
#include "report/prn.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpHyoshi.h"
#include "ui/frmInpSect.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/input_window.h"
#include "ui/ui_services.h"
#include "ui/window_factory.h"
#include "ui/window_help.h"
#include "usecase/design_run.h"
#include "widgets/focus_frame.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

// The guide the build wrote beside the programs (the tests run there too).
std::string BuiltGuide() { return guide::FindGuide(paths::ProgramFolder()); }

// The text and the table rows (cell texts) of the guide's section of `topic`: from its heading to
// the next heading of its level.
struct GuideSection {
    QString text;
    std::vector<QStringList> rows;
};
GuideSection SectionOf(guide::HelpWindow& help, int topic) {
    GuideSection out;
    if (!help.ShowTopic(topic)) return out;
    std::set<QTextTable*> tables;
    for (QTextBlock b = help.browser()->textCursor().block(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 2 && !out.text.isEmpty()) break;
        out.text += b.text() + QLatin1Char('\n');
        QTextTable* t = QTextCursor(b).currentTable();
        if (!t || !tables.insert(t).second) continue;
        for (int r = 0; r < t->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < t->columns(); ++c) {
                QTextCursor cell = t->cellAt(r, c).firstCursorPosition();
                cell.setPosition(t->cellAt(r, c).lastCursorPosition().position(),
                                 QTextCursor::KeepAnchor);
                row << cell.selectedText();
            }
            out.rows.push_back(row);
        }
    }
    return out;
}

// Whether the help window's cursor stands at the heading of the section of `topic`.
bool AtSection(guide::HelpWindow& help, int topic) {
    const QTextBlock b = help.browser()->textCursor().block();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().anchorNames().contains(guide::TopicAnchor(topic)))
            return true;
    }
    return false;
}

// "入力範囲：-999.00 ～ +999.00" → "-999.00 ～ +999.00".
QString RangeOf(const std::string& message) {
    return Q(message).remove(QStringLiteral("入力範囲："));
}

// ---- The guide ----------------------------------------------------------------------------

TEST(UserGuide, EveryWindowsSectionIsInTheGuideInWorkflowOrder) {
    guide::HelpWindow help;
    ASSERT_TRUE(help.Load(BuiltGuide()));
    int previous = -1;
    for (int topic : guide::Topics()) {
        SCOPED_TRACE(topic);
        ASSERT_TRUE(help.ShowTopic(topic));
        const QTextBlock block = help.browser()->textCursor().block();
        EXPECT_EQ(block.blockFormat().headingLevel(), 2) << block.text().toStdString();
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
    // The guide's pictures are found beside it, a wide one scaled down to the page.
    const QImage picture = qvariant_cast<QImage>(help.browser()->loadResource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("images/preview.png"))));
    EXPECT_EQ(picture.width(), guide::kGuidePictureWidth);

    // A link to a section goes there and back; a picture's link shows the picture whole.
    emit help.browser()->anchorClicked(QUrl(QStringLiteral("#method")));
    test::Pump();
    EXPECT_GT(help.browser()->verticalScrollBar()->value(), top);
    QAction* back = help.findChild<QAction*>(QStringLiteral("actBack"));
    ASSERT_TRUE(back && back->isEnabled());
    back->trigger();
    EXPECT_EQ(help.browser()->source().fragment(), QString());
    emit help.browser()->anchorClicked(QUrl(QStringLiteral("images/preview.png")));
    auto* view = help.findChild<QScrollArea*>(QStringLiteral("helpPicture"));
    ASSERT_NE(view, nullptr);
    auto* whole = qobject_cast<QLabel*>(view->widget());
    ASSERT_NE(whole, nullptr);
    EXPECT_GT(whole->pixmap().width(), guide::kGuidePictureWidth);
    help.close();
}

// Every field a window lets the user type, choose or tick is in that window's section of the
// guide: a number with its caption and the range the window checks, a text with its byte limit,
// a grid column with its header and range, an option or check box by its caption.
TEST(UserGuide, EveryInputOfEveryWindowIsInItsSectionWithItsRange) {
    UiTestEnv env;
    basResOutPrn::SetReportDataFolder(kuvelt::test::ProgramDir().string());
    basResOutPrn::SetReportTempFolder(env.dir.path().string());
    test::LoadExample("sand-channel.kvt");
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Choice);
    ASSERT_TRUE(run.calculated);
    guide::HelpWindow help;
    ASSERT_TRUE(help.Load(BuiltGuide()));
    QWidget parent;
    std::vector<std::pair<int, std::unique_ptr<InputWindow>>> windows;
    for (int b : {frmMenuMain::kInpJyoken, frmMenuMain::kInpJiban, frmMenuMain::kInpZairyo,
                  frmMenuMain::kInpSectC, frmMenuMain::kInpSectS, frmMenuMain::kInpYaita,
                  frmMenuMain::kMenuPrint, frmMenuMain::kInpRenban}) {
        windows.emplace_back(HelpTopicOf(b), CreateMenuWindow(b, &parent, run.results));
    }
    windows.emplace_back(guide::kTopicCover, std::make_unique<frmInpHyoshi>(&parent));
    auto hasRow = [](const GuideSection& s, const QString& caption, auto&& rangeOk) {
        for (const QStringList& row : s.rows) {
            if (row.size() >= 3 && row[0].contains(caption) && rangeOk(row[2])) return true;
        }
        return false;
    };
    for (auto& [topic, w] : windows) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        w->Prepare();
        const GuideSection s = SectionOf(help, topic);
        ASSERT_FALSE(s.text.isEmpty());
        for (NumField* f : w->findChildren<NumField*>()) {
            if (f->isReadOnly()) continue;
            const QString range = RangeOf(f->rangeMessage().text);
            EXPECT_TRUE(hasRow(s, Q(std::string(f->spec().caption)),
                               [&](const QString& r) { return r == range; }))
                << f->spec().caption << " " << range.toStdString();
        }
        for (TextField* t : w->findChildren<TextField*>()) {
            const DesignField* d = FindTextLimit(t->name());
            ASSERT_NE(d, nullptr);
            const QString bytes = QString::number(d->maxBytes);
            EXPECT_TRUE(hasRow(s, Q(std::string(d->caption)), [&](const QString& r) {
                return r.startsWith(bytes);
            })) << t->name();
        }
        for (SectGridView* grid : w->findChildren<SectGridView*>()) {
            const auto* m = qobject_cast<const SectGridModel*>(grid->model());
            ASSERT_NE(m, nullptr);
            for (int c = 0; c < m->columnCount(); ++c) {
                const GridColumn& col = m->column(c);
                const QString hint = RangeOf(U8(m->Hint(c)));
                EXPECT_TRUE(hasRow(s, Q(std::string(col.caption)), [&](const QString& r) {
                    if (col.kind == CellKind::Text)
                        return r.startsWith(QString::number(col.maxBytes));
                    if (col.kind != CellKind::List) return r == hint;
                    for (std::string_view entry : ListCaptions(col))
                        if (!r.contains(Q(std::string(entry)))) return false;
                    return true;
                })) << col.caption;
            }
        }
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QCheckBox*>(b) && !qobject_cast<QRadioButton*>(b)) continue;
            QString caption = b->text();
            caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
            EXPECT_TRUE(s.text.contains(caption)) << caption.toStdString();
        }
        w->reject();
    }
    basResOutPrn::SetReportDataFolder("");
    basResOutPrn::SetReportTempFolder("");
}

TEST(UserGuide, FoundInTheGuideFolderBesideTheProgram) {
    kuvelt::test::TempDir t;
    // The message of a missing guide names this place.
    EXPECT_EQ(guide::FindGuide(t.path().string()), t.file("guide/index.html"));
    // The build puts the guide beside its programs, as the installation does.
    EXPECT_TRUE(QFileInfo(Q(BuiltGuide())).isFile()) << BuiltGuide();
}

TEST(UserGuide, MissingGuideIsSaidWithItsPlace) {
    UiTestEnv env;
    kuvelt::test::TempDir t;
    std::filesystem::create_directory(t.path() / "folder.html");
    for (const std::string& path : {t.file("index.html"), t.file("folder.html"), std::string()}) {
        SCOPED_TRACE(path);
        env.services.ClearRecord();
        env.services.AnswerMessage(MsgAnswer::Ok);
        QWidget owner;
        env.services.UiServices::ShowHelp(&owner, path, guide::kTopicChoice);
        const std::vector<Message> shown = env.services.messages();
        ASSERT_EQ(shown.size(), 1u);
        const std::string reason =
            path == t.file("folder.html") ? "通常のﾌｧｲﾙではありません" : "ﾌｧｲﾙが見つかりません";
        EXPECT_EQ(shown[0].text, "ﾍﾙﾌﾟ（使い方の説明）を表示できません。\n\nﾌｧｲﾙ名：" + path +
                                     "\n原因：" + reason +
                                     "\n\nKuvelt をｲﾝｽﾄｰﾙし直すと，使い方の説明"
                                     "（guide/index.html）がﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞに置かれます。");
        EXPECT_EQ(shown[0].title, "ﾍﾙﾌﾟ");
        EXPECT_EQ(owner.findChild<guide::HelpWindow*>(), nullptr) << "no empty help window";
    }
    // The guide there: one help window per asking window, reused at the next section.
    QWidget owner;
    env.services.ClearRecord();
    env.services.UiServices::ShowHelp(&owner, BuiltGuide(), guide::kTopicChoice);
    env.services.UiServices::ShowHelp(&owner, BuiltGuide(), guide::kTopicPreview);
    EXPECT_TRUE(env.services.messages().empty());
    const auto windows = owner.findChildren<guide::HelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(AtSection(*windows[0], guide::kTopicPreview));
}

// ---- The focus frame ------------------------------------------------------------------------

TEST(FocusFrame, FramesTheFocusedWidgetInTheHighlightColour) {
    UiTestEnv env;
    widgets::InstallFocusFrame(*qApp);
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
    EXPECT_EQ(widgets::FocusFrameTarget(), first);
    EXPECT_TRUE(framed(first));
    EXPECT_FALSE(framed(button));
    // Tab moves the frame with the focus; a click-only button is framed as well when keyed to.
    QTest::keyClick(first, Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(widgets::FocusFrameTarget(), button);
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

TEST(KeyboardWalk, MainWindowCommandsAnswerTheirKeys) {
    UiTestEnv env;
    // The windows are only recorded, not filled.
    test::DrivenMain main;
    main.prepare = false;
    main.Start(false);
    test::LoadExample("sand-channel.kvt");
    ASSERT_TRUE(usecase::Calculate(usecase::Purpose::Choice).calculated);
    gInpYaita.InpFlg = true;
    main.RefreshMenu();
    test::ShowActive(&main);
    const char keys[] = "JGMCLSDBHPN";
    // The guide's section of each button's window, in button order.
    const int topics[] = {guide::kTopicConditions, guide::kTopicGround,    guide::kTopicMaterials,
                          guide::kTopicSections,   guide::kTopicSections,  guide::kTopicSections,
                          guide::kTopicChoice,     guide::kTopicStability, guide::kTopicStability,
                          guide::kTopicPrint,      guide::kTopicNumbering};
    static_assert(std::size(topics) == frmMenuMain::kButtonCount);
    for (int i = 0; i < frmMenuMain::kButtonCount; ++i) {
        SCOPED_TRACE(i);
        const std::size_t before = main.titles.size();
        QTest::keyClick(&main, Qt::Key(Qt::Key_A + (keys[i] - 'A')), Qt::AltModifier);
        QTest::qWait(220);  // a button's access key clicks it after a short animation
        // Heaving is not the check of sandy ground: its button stays disabled.
        if (i == frmMenuMain::kResOutAc) {
            EXPECT_EQ(main.titles.size(), before);
            continue;
        }
        ASSERT_EQ(main.titles.size(), before + 1);
        EXPECT_EQ(main.topics.back(), topics[i]) << main.titles.back();
    }
    // The cover and the structure window open their own sections of the guide.
    QTest::keyClick(&main, Qt::Key_K, Qt::AltModifier);
    QTest::qWait(220);
    QTest::keySequence(&main, QKeySequence(Qt::CTRL | Qt::Key_G));
    ASSERT_GE(main.topics.size(), 2u);
    EXPECT_EQ(main.topics[main.topics.size() - 2], guide::kTopicCover);
    EXPECT_EQ(main.topics.back(), guide::kTopicStructure);
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
        test::LoadExample(c.example);
        const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Choice);
        ASSERT_TRUE(run.calculated);
        const bool stability =
            c.button == frmMenuMain::kResOutAs || c.button == frmMenuMain::kResOutAc;
        std::unique_ptr<InputWindow> w = CreateMenuWindow(
            c.button, &parent, stability ? usecase::CheckStability().results : run.results);
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
