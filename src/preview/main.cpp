// Preview: shows, prints and exports the calculation report the print menu hands over.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "io/settings.h"
#include "preview/app/launch.h"
#include "preview/app/preview_window.h"
#include "preview/render/pdf_export.h"
#include "ui/common/focus_frame.h"
#include "ui/common/qt_texts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The standard buttons and dialogs in Japanese, like the application's.
    kuvelt::ui::InstallJapaneseQtTexts(app);
    std::vector<std::string> args;
    for (const QString& a : QCoreApplication::arguments().mid(1)) args.push_back(a.toStdString());
    using namespace kuvelt::preview;
    const LaunchOptions opt = ParseLaunchArguments(args);
    if (opt.mode == LaunchMode::Invalid) {
        std::fprintf(stderr, "%s\n%s\n", opt.error.c_str(), UsageText().c_str());
        return 2;
    }
    kuvelt::InitPaths();
    const PageSetup setup = ReadPageSetup(kuvelt::gIniFile);
    const LoadResult loaded = LoadDocument(opt.printFile, kuvelt::gProgramFolder);
    if (opt.mode == LaunchMode::Pdf) {
        if (!loaded.ok) {
            std::fprintf(stderr, "%s\n", loaded.message.text.c_str());
            return 1;
        }
        std::string error;
        if (!exportPdf(loaded.document, opt.pdfFile, setup, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    kuvelt::ui::InstallFocusFrame(app);
    return RunPreviewWindow(app, loaded, opt.workFolder, setup);
}
