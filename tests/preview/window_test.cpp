#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "formats/pdf_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "preview/app/launch.h"
#include "preview/app/preview_window.h"
#include "preview/app/text_search.h"
#include "sample_report.h"
#include "support/test_support.h"
#include "widgets/qt_texts.h"
#include "widgets/user_guide.h"

namespace kuvelt::preview {
namespace {

// Answers the window's dialogs and records its messages.
class ScriptedDialogs : public PreviewDialogs {
  public:
    bool acceptPrint = true;
    QString printToFile;  // the "printer" is a PDF file
    QString saveAnswer;
    int printDialogs = 0;
    std::vector<Message> messages;

    QString docName;  // the print job's name the last print dialog was given
    bool ChoosePrinter(QWidget*, QPrinter& printer) override {
        ++printDialogs;
        docName = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToFile);
        return acceptPrint;
    }
    QString suggested;  // what the last save dialog offered
    QString SaveFileName(QWidget*, const QString& offered) override {
        suggested = offered;
        return saveAnswer;
    }
    void ShowMessage(QWidget*, const Message& m) override { messages.push_back(m); }
};

int PdfPages(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> p(
        popen(("pdfinfo '" + path + "' 2>/dev/null").c_str(), "r"), pclose);
    char buf[256];
    while (p && fgets(buf, sizeof buf, p.get()))
        if (std::string(buf).rfind("Pages:", 0) == 0) return std::atoi(buf + 6);
    return -1;
}

class Window : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "preview_window_test";
        static char* argv[] = {name, nullptr};
        // Headless unless the run names a platform (the CTest environment may lose it).
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
    }

    std::unique_ptr<PreviewWindow> Open(int pages = 4) {
        const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
        test::WriteStyleFiles(dir.path().string());
        kuvelt::test::WriteBytes(dir.file("r.prn"), test::ReportBytes(f.composite, pages));
        LoadResult r = LoadDocument(dir.file("r.prn"), dir.path().string());
        EXPECT_TRUE(r.ok);
        auto w = std::make_unique<PreviewWindow>(std::move(r.document), dir.path().string(),
                                                 PageSetup{}, dialogs);
        w->show();
        QApplication::processEvents();
        return w;
    }

    static QAction* ActionFor(QWidget& w, const QKeySequence& key) {
        for (QAction* a : w.findChildren<QAction*>())
            if (a->shortcut() == key) return a;
        return nullptr;
    }

    kuvelt::test::TempDir dir;
    ScriptedDialogs dialogs;
};

TEST_F(Window, KeysMoveThroughThePages) {
    auto w = Open(4);
    EXPECT_EQ(w->windowTitle().toStdString(), "印刷プレビュー");
    struct Step {
        QKeySequence key;
        int page;
    } steps[] = {
        {QKeySequence(Qt::Key_PageDown), 1},       {QKeySequence(Qt::Key_PageDown), 2},
        {QKeySequence(Qt::Key_PageUp), 1},         {QKeySequence(Qt::Key_End), 3},
        {QKeySequence(Qt::Key_PageDown), 3},       {QKeySequence(Qt::Key_Home), 0},
        {QKeySequence(Qt::Key_PageUp), 0},         {QKeySequence(Qt::CTRL | Qt::Key_End), 3},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), 0}};
    w->activateWindow();
    w->view()->setFocus();
    for (const Step& s : steps) {
        // The real keys, through the window's shortcuts, as a user presses them.
        const QKeyCombination k = s.key[0];
        QTest::keyClick(w->view(), k.key(), k.keyboardModifiers());
        EXPECT_EQ(w->view()->CurrentPage(), s.page) << s.key.toString().toStdString();
    }
}

TEST_F(Window, BookmarkJumpsToItsPage) {
    auto w = Open(4);
    QTreeWidget* list = w->bookmarks();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem* chapter = list->topLevelItem(0);
    ASSERT_EQ(chapter->childCount(), 4) << "level-2 headings sit under their chapter";
    QTreeWidgetItem* last = chapter->child(3);
    EXPECT_EQ(last->text(0).toStdString(), "4.4 断面の照査 (その3)");
    EXPECT_EQ(last->text(1).toStdString(), "4");
    emit list->itemClicked(last, 0);
    EXPECT_EQ(w->view()->CurrentPage(), 3);
    emit list->itemClicked(chapter, 0);
    EXPECT_EQ(w->view()->CurrentPage(), 0);
}

TEST_F(Window, PrintPaintsTheChosenRange) {
    auto w = Open(4);
    QPrinter all;
    all.setOutputFormat(QPrinter::PdfFormat);
    all.setOutputFileName(QString::fromStdString(dir.file("all.pdf")));
    ASSERT_TRUE(w->printTo(all));
    EXPECT_EQ(PdfPages(dir.file("all.pdf")), 4);
    QPrinter range;
    range.setOutputFormat(QPrinter::PdfFormat);
    range.setOutputFileName(QString::fromStdString(dir.file("range.pdf")));
    range.setPrintRange(QPrinter::PageRange);
    range.setFromTo(2, 3);
    ASSERT_TRUE(w->printTo(range));
    EXPECT_EQ(PdfPages(dir.file("range.pdf")), 2);
}

TEST_F(Window, PrintCommandGoesThroughThePrintDialog) {
    auto w = Open(2);
    dialogs.printToFile = QString::fromStdString(dir.file("printed.pdf"));
    dialogs.acceptPrint = false;
    ActionFor(*w, QKeySequence(Qt::CTRL | Qt::Key_P))->trigger();
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("printed.pdf"))) << "cancelled";
    dialogs.acceptPrint = true;
    w->Print();
    EXPECT_EQ(PdfPages(dir.file("printed.pdf")), 2);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Window, SaveAsPdf) {
    auto w = Open(2);
    dialogs.saveAnswer.clear();
    ActionFor(*w, QKeySequence(Qt::CTRL | Qt::Key_S))->trigger();
    EXPECT_TRUE(dialogs.messages.empty()) << "cancelled: nothing happens";
    dialogs.saveAnswer = QString::fromStdString(dir.file("計算書"));
    w->SavePdf();
    EXPECT_EQ(PdfPages(dir.file("計算書.pdf")), 2) << "the extension is added";
    dialogs.saveAnswer = QString::fromStdString(dir.file("missing/x.pdf"));
    w->SavePdf();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              formats::PdfWriteFailureMessage({76, files::SystemErrorText(ENOENT)},
                                              dir.file("missing/x.pdf"))
                  .text);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing"))) << "nothing made on the way";
    EXPECT_EQ(dialogs.messages[0].title, "印刷プレビュー");
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    // A print file that names no design: the documents folder, never the temporary folder.
    EXPECT_TRUE(dialogs.suggested.endsWith(QStringLiteral("/計算書.pdf")));
    EXPECT_FALSE(dialogs.suggested.startsWith(QString::fromStdString(dir.path().string())));
}

// The PDF is offered beside the design the report is of, with its name.
TEST_F(Window, PdfIsOfferedBesideTheDesign) {
    kuvelt::test::WriteBytes(dir.file("d.prn"),
                             "?TI;x\r\n?DF;/home/user/walls/dam 1.kvt\r\n?R1a\r\nline\r\n");
    LoadResult r = LoadDocument(dir.file("d.prn"), dir.path().string());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.document.designFile, "/home/user/walls/dam 1.kvt");
    ASSERT_EQ(r.document.pages[0].lines.size(), 2u) << "the information lines are not printed";
    PreviewWindow w(std::move(r.document), dir.path().string(), PageSetup{}, dialogs);
    dialogs.saveAnswer.clear();
    w.SavePdf();
    EXPECT_EQ(dialogs.suggested, QStringLiteral("/home/user/walls/dam 1.pdf"));
}

// A design never saved: the print job and the PDF take its title (件名), made a file name.
TEST_F(Window, PrintJobAndPdfAreNamedAfterTheDesign) {
    kuvelt::test::WriteBytes(dir.file("t.prn"),
                             cp932::FromUtf8("?TI;水路 第2案/A:B\r\n?R1a\r\n目次\r\n"));
    LoadResult r = LoadDocument(dir.file("t.prn"), dir.path().string());
    ASSERT_TRUE(r.ok);
    PreviewWindow w(std::move(r.document), dir.path().string(), PageSetup{}, dialogs);
    dialogs.acceptPrint = false;
    w.Print();
    EXPECT_EQ(dialogs.docName, QStringLiteral("水路 第2案/A:B"));
    dialogs.saveAnswer.clear();
    w.SavePdf();
    EXPECT_TRUE(dialogs.suggested.endsWith(QStringLiteral("/水路 第2案_A_B.pdf")))
        << dialogs.suggested.toStdString();
    EXPECT_EQ(FileNameFor(QStringLiteral(" ..")), QStringLiteral("計算書"));
}

TEST_F(Window, ZoomAndGeometryAreKeptInTheWorkFolder) {
    {
        auto w = Open(2);
        w->resize(700, 640);
        w->view()->SetZoomPercent(150);
        QApplication::processEvents();
        ActionFor(*w, QKeySequence(Qt::Key_Escape))->trigger();  // Esc closes
        EXPECT_FALSE(w->isVisible());
    }
    const std::string ini = dir.file("Preview.ini");
    EXPECT_EQ(CPrivateProfile::GetValueLong(ini, "View", "ZoomMode"), 2);
    EXPECT_EQ(CPrivateProfile::GetValueLong(ini, "View", "Zoom"), 150);
    EXPECT_EQ(CPrivateProfile::GetValueLong(ini, "Window", "Width"), 700);
    auto again = Open(2);
    EXPECT_EQ(again->view()->ZoomPercent(), 150);
    EXPECT_EQ(again->width(), 700);
    again->move(40, 30);
    again->close();
    // Where it was; and a size or place the screen has no room for is brought onto it.
    EXPECT_EQ(Open(2)->pos(), QPoint(40, 30));
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    CPrivateProfile::SetValueString(ini, "Window", "Height", "3000");
    CPrivateProfile::SetValueString(ini, "Window", "Top", std::to_string(free.bottom() - 50));
    auto tall = Open(2);
    EXPECT_TRUE(free.contains(tall->frameGeometry())) << tall->frameGeometry().height();
}

TEST_F(Window, FitModesFollowTheWindow) {
    auto w = Open(2);
    w->resize(900, 400);
    QApplication::processEvents();
    w->view()->SetZoomMode(ZoomMode::FitWidth);
    const int wide = w->view()->ZoomPercent();
    w->view()->SetZoomMode(ZoomMode::FitPage);
    EXPECT_LT(w->view()->ZoomPercent(), wide) << "in a wide window a whole sheet is smaller";
    w->view()->SetZoomMode(ZoomMode::FitWidth);
    w->resize(600, 400);
    QApplication::processEvents();
    EXPECT_LT(w->view()->ZoomPercent(), wide) << "fit width follows a narrower window";
}

// ---- Search, zoom ladder, side panel, help ----------------------------------------------------

Document Lines(const std::vector<std::string>& lines) {
    return ParsePrintFile(test::PrintBytes(lines), LoadContext{});
}

TEST(FindText, FoldsWhatAReaderDoesNotTellApartAndCountsColumns) {
    const Document doc =
        Lines({"  鋼矢板 SP-ⅢW  sp-2", "ﾌｧｲﾙ名：ファイル", "ガス カ ｶﾞ", "ooooo", "ＡＢＣ abc",
               "\x0C"
               "矢板長 L = 14.00 m"});
    const struct {
        const char* name;
        const char* query;
        std::vector<TextMatch> matches;
    } cases[] = {
        {"full-width text after blanks", "矢板", {{0, 0, 4, 4}, {1, 0, 0, 4}}},
        {"letters in either case", "SP-", {{0, 0, 9, 3}, {0, 0, 17, 3}}},
        {"half-width katakana finds full-width", "ファイル", {{0, 1, 0, 4}, {0, 1, 8, 8}}},
        {"and the other way round", "ﾌｧｲﾙ", {{0, 1, 0, 4}, {0, 1, 8, 8}}},
        {"a voiced mark in two half-width characters", "ガ", {{0, 2, 0, 2}, {0, 2, 8, 2}}},
        {"a plain kana is not found inside a voiced one", "カ", {{0, 2, 5, 2}}},
        {"full-width letters", "abc", {{0, 4, 0, 6}, {0, 4, 7, 3}}},
        {"matches do not overlap", "oo", {{0, 3, 0, 2}, {0, 3, 2, 2}}},
        {"blank query", "   ", {}},
        {"nothing", "ヒービング", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindText(doc, QString::fromUtf8(c.query)), c.matches) << c.name;
    }
    const std::vector<TextMatch> m = {{0, 5, 0, 2}, {2, 0, 0, 2}, {3, 1, 0, 2}};
    EXPECT_EQ(FirstMatchFrom(m, 0), 0);
    EXPECT_EQ(FirstMatchFrom(m, 1), 1);
    EXPECT_EQ(FirstMatchFrom(m, 3), 2);
    EXPECT_EQ(FirstMatchFrom(m, 4), 0) << "past the last match the search wraps";
    EXPECT_EQ(FirstMatchFrom({}, 0), -1);
}

TEST_F(Window, FindBarSearchesHighlightsAndWraps) {
    auto w = Open(4);
    w->activateWindow();
    w->view()->setFocus();
    QTest::keyClick(w->view(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(w->findBar()->isVisible());
    EXPECT_TRUE(w->findField()->hasFocus());
    // "SP-2" stands on every fifth line of pages 2 to 4: 12 a page.
    w->findField()->setText(QStringLiteral("sp-2"));
    ASSERT_EQ(w->matches().size(), 36u);
    EXPECT_EQ(w->currentMatch(), 0);
    EXPECT_EQ(w->findStatus()->text().toStdString(), "1 / 36 件");
    const TextMatch first = w->matches()[0];
    EXPECT_EQ(first.page, 1);
    EXPECT_EQ(first.columns, 4);

    // The current match is on screen and painted orange under the black text.
    QApplication::processEvents();
    const QRectF box = w->view()->MatchRect(first);
    ASSERT_TRUE(QRectF(w->view()->viewport()->rect()).contains(box));
    const QImage shot = w->view()->viewport()->grab().toImage();
    int orange = 0, all = 0;
    for (int y = int(box.top()) + 3; y < int(box.bottom()) - 3; ++y) {
        for (int x = int(box.left()) + 3; x < int(box.right()) - 3; ++x, ++all) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 120 && c.green() < 200 && c.blue() < 90) ++orange;
        }
    }
    EXPECT_GT(orange, all / 3) << "the current match is highlighted";

    QTest::keyClick(w->findField(), Qt::Key_F3);
    EXPECT_EQ(w->currentMatch(), 1);
    QTest::keyClick(w->findField(), Qt::Key_Return);
    EXPECT_EQ(w->currentMatch(), 2) << "Enter in the field goes on";
    QTest::keyClick(w->findField(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(w->findField(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(w->findField(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(w->currentMatch(), 35) << "back past the first match wraps to the last";
    EXPECT_EQ(w->view()->CurrentPage(), 3);
    EXPECT_FALSE(w->statusBar()->currentMessage().isEmpty()) << "the wrap is said";
    QTest::keyClick(w->findField(), Qt::Key_F3);
    EXPECT_EQ(w->currentMatch(), 0);

    w->findField()->setText(QStringLiteral("ボイリング"));
    EXPECT_TRUE(w->matches().empty());
    EXPECT_EQ(w->findStatus()->text().toStdString(), "見つかりません");
    EXPECT_EQ(w->statusBar()->currentMessage().toStdString(), "「ボイリング」は見つかりません。");

    // Esc in the field closes the bar and its highlights, not the window.
    w->findField()->setText(QStringLiteral("断面"));
    EXPECT_FALSE(w->matches().empty());
    QTest::keyClick(w->findField(), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->findBar()->isVisible());
    EXPECT_TRUE(w->matches().empty());
    // F3 with the bar closed opens it again on the same text.
    QTest::keyClick(w->view(), Qt::Key_F3);
    EXPECT_TRUE(w->findBar()->isVisible());
    EXPECT_FALSE(w->matches().empty());
}

TEST_F(Window, ZoomClimbsTheLadder) {
    const struct {
        int from, direction, to;
    } rows[] = {{100, +1, 125}, {400, +1, 400}, {87, +1, 100}, {100, -1, 75}, {67, -1, 50},
                {33, -1, 25},   {25, -1, 25},   {10, +1, 25},  {87, -1, 75},  {800, -1, 400}};
    for (const auto& r : rows) {
        EXPECT_EQ(NextZoomStep(r.from, r.direction), r.to) << r.from << " " << r.direction;
    }
    auto w = Open(2);
    w->view()->SetZoomPercent(100);
    QAction* in = ActionFor(*w, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    QAction* out = ActionFor(*w, QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ASSERT_TRUE(in && out);
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) {
        in->trigger();
        seen.push_back(w->view()->ZoomPercent());
    }
    for (int i = 0; i < 11; ++i) {
        out->trigger();
        seen.push_back(w->view()->ZoomPercent());
    }
    EXPECT_EQ(seen, (std::vector<int>{125, 150, 200, 300, 400, 400, 300, 200, 150, 125, 100, 75, 67,
                                      50, 33, 25, 25}));
    // The View menu's ladder marks the zoom shown and sets another.
    QActionGroup* ladder = nullptr;
    for (QActionGroup* g : w->findChildren<QActionGroup*>()) ladder = g;
    ASSERT_NE(ladder, nullptr);
    ASSERT_EQ(ladder->actions().size(), qsizetype(std::size(kZoomLadder)));
    EXPECT_EQ(ladder->checkedAction()->data().toInt(), 25);
    ladder->actions()[4]->trigger();
    EXPECT_EQ(w->view()->ZoomPercent(), 75);
    EXPECT_EQ(ladder->checkedAction()->data().toInt(), 75);
}

TEST_F(Window, SidePanelFollowsThePageShown) {
    auto w = Open(4);
    QTreeWidget* headings = w->bookmarks();
    QListView* thumbs = w->thumbnails();
    ASSERT_EQ(w->sidePanel()->count(), 2);
    EXPECT_EQ(w->sidePanel()->tabText(1).toStdString(), "サムネイル");
    ASSERT_EQ(thumbs->model()->rowCount(), 4);
    EXPECT_FALSE(thumbs->model()->index(2, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());
    for (int page : {2, 3, 1}) {
        w->GoToPage(page);
        ASSERT_NE(headings->currentItem(), nullptr);
        // Pages 2 to 4 begin with heading 4.2 to 4.4.
        EXPECT_TRUE(
            headings->currentItem()->text(0).startsWith(QStringLiteral("4.%1 ").arg(page + 1)))
            << page << " " << headings->currentItem()->text(0).toStdString();
        EXPECT_EQ(thumbs->currentIndex().row(), page);
    }
    // A heading chosen stays marked though the next one is in view as well.
    QTreeWidgetItem* chapter = headings->topLevelItem(0);
    emit headings->itemClicked(chapter, 0);
    EXPECT_EQ(headings->currentItem(), chapter);
    // A thumbnail shows its page.
    emit thumbs->clicked(thumbs->model()->index(3, 0));
    EXPECT_EQ(w->view()->CurrentPage(), 3);
    EXPECT_TRUE(headings->currentItem()->text(0).startsWith(QStringLiteral("4.4 ")));
}

TEST_F(Window, EveryCommandIsInTheMenusWithItsKeys) {
    auto w = Open(2);
    QStringList inMenus;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu())
                walk(a->menu());
            else if (!a->objectName().isEmpty())
                inMenus << a->objectName();
        }
    };
    for (QAction* top : w->menuBar()->actions()) walk(top->menu());
    for (QAction* a : w->actions()) {
        EXPECT_TRUE(inMenus.contains(a->objectName())) << a->objectName().toStdString();
        EXPECT_FALSE(a->shortcuts().isEmpty()) << a->objectName().toStdString();
    }
    EXPECT_GE(w->actions().size(), 15);
    // One Alt+letter each among the menus and the toolbar's buttons.
    QSet<QKeySequence> keys;
    QList<QAction*> pressed = w->menuBar()->actions();
    for (QToolBar* bar : w->findChildren<QToolBar*>()) pressed += bar->actions();
    for (QAction* a : pressed) {
        const QKeySequence k = QKeySequence::mnemonic(a->text());
        if (k.isEmpty()) continue;
        EXPECT_FALSE(keys.contains(k)) << a->text().toStdString();
        keys.insert(k);
    }
}

// Every key does what the menu says: none is taken twice (the same key on two actions, or twice
// on one, is ambiguous and does nothing), Ctrl+- zooms out, and the side panel comes back.
TEST_F(Window, KeysAreUniqueAndTheSidePanelComesBack) {
    auto w = Open(2);
    QSet<QKeySequence> keys;
    for (QAction* a : w->actions()) {
        for (const QKeySequence& k : a->shortcuts()) {
            EXPECT_FALSE(keys.contains(k)) << k.toString().toStdString();
            keys.insert(k);
        }
    }
    w->activateWindow();
    w->view()->setFocus();
    w->view()->SetZoomPercent(100);
    QTest::keyClick(w->view(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(w->view()->ZoomPercent(), 75);
    QTest::keyClick(w->view(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(w->view()->ZoomPercent(), 100);
    QWidget* panel = w->sidePanel()->parentWidget();
    panel->close();
    QApplication::processEvents();
    ASSERT_FALSE(panel->isVisible());
    QTest::keyClick(w->view(), Qt::Key_F9);
    QApplication::processEvents();
    EXPECT_TRUE(panel->isVisible()) << "F9, as the View menu shows";
}

// Qt's print dialog as the preview shows it speaks Japanese: no button, label, group or tab of it
// is an English word ("Pages", "Double Sided Printing" were).
TEST_F(Window, PrintDialogHasNoEnglish) {
    widgets::InstallJapaneseQtTexts(*QCoreApplication::instance());
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    QStringList english;
    auto check = [&](QString t) {
        t.remove(QLatin1Char('&'));
        static const QRegularExpression word(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)*$"));
        if (word.match(t).hasMatch() && t.contains(QRegularExpression(QStringLiteral("[a-z]"))))
            english << t;
    };
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) check(b->text());
    for (QLabel* l : dialog.findChildren<QLabel*>()) check(l->text());
    for (QGroupBox* g : dialog.findChildren<QGroupBox*>()) check(g->title());
    for (QTabWidget* t : dialog.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) check(t->tabText(i));
    EXPECT_TRUE(english.isEmpty()) << english.join(QStringLiteral(", ")).toStdString();
}

TEST_F(Window, HelpWithoutTheGuideSaysWhereItBelongs) {
    auto w = Open(1);
    w->SetGuideFile(dir.file("no-guide/index.html"));
    w->activateWindow();
    QTest::keyClick(w->view(), Qt::Key_F1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], guide::MissingGuideMessage(dir.file("no-guide/index.html")));
    EXPECT_NE(dialogs.messages[0].text.find(dir.file("no-guide/index.html")), std::string::npos);
    // With the guide (the build's, beside the programs) the preview's section opens.
    w->SetGuideFile(guide::FindGuide(paths::ProgramFolder()));
    QTest::keyClick(w->view(), Qt::Key_F1);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    auto* help = w->findChild<guide::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
}

struct ArgCase {
    const char* name;
    std::vector<std::string> args;
    LaunchMode mode;
    const char* work;
    const char* print;
    const char* pdf;
    const char* error;
};
class Arguments : public ::testing::TestWithParam<ArgCase> {};
TEST_P(Arguments, Parse) {
    const ArgCase& c = GetParam();
    const LaunchOptions o = ParseLaunchArguments(c.args);
    EXPECT_EQ(o.mode, c.mode);
    EXPECT_EQ(o.workFolder, c.work);
    EXPECT_EQ(o.printFile, c.print);
    EXPECT_EQ(o.pdfFile, c.pdf);
    EXPECT_EQ(o.error, c.error);
}
INSTANTIATE_TEST_SUITE_P(
    CommandLine, Arguments,
    ::testing::Values(
        ArgCase{"Window",
                {"/INI=/home/u/.local/share/Vostrand/Kuvelt", "/tmp/~MT6.tmp"},
                LaunchMode::Window,
                "/home/u/.local/share/Vostrand/Kuvelt",
                "/tmp/~MT6.tmp",
                "",
                ""},
        ArgCase{"QuotedFolderAnyCase",
                {"/ini=\"/a b\"", "/tmp/x"},
                LaunchMode::Window,
                "/a b",
                "/tmp/x",
                "",
                ""},
        ArgCase{"UnquotedPrintFileWithBlanks",
                {"/INI=/w", "/tmp/my", "file.tmp"},
                LaunchMode::Window,
                "/w",
                "/tmp/my file.tmp",
                "",
                ""},
        ArgCase{
            "Pdf", {"--pdf", "out.pdf", "in.prn"}, LaunchMode::Pdf, "", "in.prn", "out.pdf", ""},
        ArgCase{
            "Nothing", {}, LaunchMode::Invalid, "", "", "", "印刷ファイルが指定されていません。"},
        ArgCase{"PdfWithoutOutput",
                {"--pdf"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "出力PDFファイルが指定されていません。"},
        ArgCase{"PdfWithoutInput",
                {"--pdf", "o.pdf"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "印刷ファイルが指定されていません。"},
        ArgCase{"EmptyWorkFolder",
                {"/INI=", "x"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "作業フォルダが指定されていません。"},
        ArgCase{"WindowWithoutPrintFile",
                {"/INI=/w"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "印刷ファイルが指定されていません。"},
        ArgCase{"UnknownOption",
                {"--nonsense", "x"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "不明なオプションです: --nonsense"},
        ArgCase{"AnyOrderAndEndOfOptions",
                {"--pdf=out.pdf", "--", "-in.prn"},
                LaunchMode::Pdf,
                "",
                "-in.prn",
                "out.pdf",
                ""},
        ArgCase{"OptionsAfterThePrintFile",
                {"in.prn", "--verbose", "--pdf", "out.pdf"},
                LaunchMode::Pdf,
                "",
                "in.prn",
                "out.pdf",
                ""},
        ArgCase{"PdfAndWindowTogether",
                {"--pdf", "o.pdf", "/INI=/w", "x"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "--pdf と /INI= は一緒に指定できません。"},
        ArgCase{"HelpBeforeAnythingElse", {"--help", "/INI="}, LaunchMode::Help, "", "", "", ""},
        ArgCase{"BarePrintFile",
                {"/tmp/x"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "作業フォルダ（/INI=）が指定されていません。"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kuvelt::preview
