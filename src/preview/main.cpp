// Preview: shows, prints and exports the calculation report the print menu hands over.
//
// The command line is read before Qt starts, so --help, --version and a wrong command line need
// no display. Standard error carries only the program's own lines, each after "Preview: ": what
// Qt and the libraries under it write there goes nowhere unless --verbose (or KUVELT_VERBOSE)
// asks for it, except a fatal message, which is the reason the program stops and is said as ours.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "io/settings.h"
#include "preview/app/launch.h"
#include "preview/app/preview_window.h"
#include "preview/render/pdf_export.h"
#include "widgets/focus_frame.h"
#include "widgets/qt_texts.h"

#ifndef KUVELT_VERSION
#define KUVELT_VERSION "unknown"
#endif

namespace {

// Where the program's own lines go: standard error, or what it was before the libraries' messages
// were sent away.
std::FILE* gOurs = stderr;

void Say(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        std::fprintf(gOurs, "Preview: %.*s\n", static_cast<int>(line.size()), line.data());
    }
    std::fflush(gOurs);
}

void OnlyFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) Say(message.toStdString());
}

// Standard error from here on reaches /dev/null; the program's own lines keep the real one.
void SendLibraryMessagesAway() {
    const int ours = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::FILE* f = ours >= 0 ? ::fdopen(ours, "w") : nullptr;
    if (f == nullptr || null < 0) {
        if (f == nullptr && ours >= 0) ::close(ours);
        if (null >= 0) ::close(null);
        return;
    }
    std::fflush(stderr);
    ::dup2(null, STDERR_FILENO);
    ::close(null);
    gOurs = f;
    qInstallMessageHandler(OnlyFatalMessages);
}

bool VerboseFromEnvironment() {
    const char* v = std::getenv("KUVELT_VERBOSE");
    return v != nullptr && *v != '\0' && std::string_view(v) != "0";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kuvelt::preview;
    const LaunchOptions opt =
        ParseLaunchArguments(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    switch (opt.mode) {
        case LaunchMode::Help:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case LaunchMode::Version:
            std::printf("Preview %s (Kuvelt)\nQt %s\n", KUVELT_VERSION, qVersion());
            return 0;
        case LaunchMode::Invalid:
            Say(opt.error);
            Say(kUsageHint);
            return kUsageStatus;
        case LaunchMode::Window:
        case LaunchMode::Pdf:
            break;
    }
    if (!opt.verbose && !VerboseFromEnvironment()) SendLibraryMessagesAway();

    QApplication app(argc, argv);
    // The standard buttons and dialogs in Japanese, like the application's.
    kuvelt::widgets::InstallJapaneseQtTexts(app);
    kuvelt::InitPaths();
    const PageSetup setup = ReadPageSetup(kuvelt::gIniFile);
    const LoadResult loaded = LoadDocument(opt.printFile, kuvelt::gProgramFolder);
    if (opt.mode == LaunchMode::Pdf) {
        if (!loaded.ok) {
            Say(loaded.message.text);
            return 1;
        }
        std::string error;
        if (!exportPdf(loaded.document, opt.pdfFile, setup, &error)) {
            Say(error);
            return 1;
        }
        return 0;
    }
    kuvelt::widgets::InstallFocusFrame(app);
    return RunPreviewWindow(app, loaded, opt.workFolder, setup);
}
