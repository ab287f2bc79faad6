#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>

#include "platform/files.h"
#include "platform/profile.h"
#include "preview/app/launch.h"
#include "preview/app/preview_window.h"
#include "sample_report.h"
#include "support/test_support.h"

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

    bool ChoosePrinter(QWidget*, QPrinter& printer) override {
        ++printDialogs;
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
    } steps[] = {{QKeySequence(Qt::Key_PageDown), 1}, {QKeySequence(Qt::Key_PageDown), 2},
                 {QKeySequence(Qt::Key_PageUp), 1},   {QKeySequence(Qt::Key_End), 3},
                 {QKeySequence(Qt::Key_PageDown), 3}, {QKeySequence(Qt::Key_Home), 0},
                 {QKeySequence(Qt::Key_PageUp), 0}};
    for (const Step& s : steps) {
        QAction* a = ActionFor(*w, s.key);
        ASSERT_NE(a, nullptr) << s.key.toString().toStdString();
        a->trigger();
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
    EXPECT_EQ(dialogs.messages[0].text, "PDF ファイルを書き込めません: " + dir.file("missing/x.pdf") +
                                            "\n原因：" + files::SystemErrorText(ENOENT));
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

TEST_F(Window, OpensQuickly) {
    const auto t0 = std::chrono::steady_clock::now();
    auto w = Open(30);
    w->repaint();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    EXPECT_LT(ms, 1000);
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
                {"--help"},
                LaunchMode::Invalid,
                "",
                "",
                "",
                "不明なオプションです: --help"},
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
