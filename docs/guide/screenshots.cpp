// Retakes the pictures of the user guide: every window opened as the main window opens it, on the
// example designs, laid out at its own size and grabbed into a PNG file of the images folder.
// Settings and report files go to a private temporary folder; nothing of the user's is read or
// changed. Run it through docs/guide/shoot.sh (README.md in this folder says when).
//
//   kuvelt-guide-shots IMAGES_DIR
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

#include "io/design_file.h"
#include "io/settings.h"
#include "model/design.h"
#include "platform/profile.h"
#include "preview/app/preview_window.h"
#include "report/prn.h"
#include "ui/app_state.h"
#include "ui/frmMenuMain.h"
#include "ui/input_window.h"
#include "ui/window_factory.h"
#include "usecase/design_run.h"
#include "usecase/report_run.h"

namespace {

using namespace kuvelt;
using namespace kuvelt::ui;

QString gOut;
int gFailures = 0;

// Lets deferred layouts and redraws (a figure is drawn on the next turn of the event loop) run.
void Settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void Shoot(QWidget& w, const char* name) {
    w.show();
    Settle();
    const QString path = gOut + QLatin1Char('/') + QString::fromUtf8(name);
    if (!w.grab().save(path, "PNG")) {
        std::fprintf(stderr, "kuvelt-guide-shots: cannot write %s\n", path.toUtf8().constData());
        ++gFailures;
        return;
    }
    std::printf("%s  %dx%d\n", name, w.width(), w.height());
    w.hide();
}

bool Load(const char* example) {
    int32_t err = 0;
    const std::string path = std::string(KUVELT_SOURCE_DIR) + "/examples/" + example;
    if (!ReadData(path, err)) {
        std::fprintf(stderr, "kuvelt-guide-shots: cannot read %s (%d)\n", path.c_str(), err);
        return false;
    }
    gFileName = path;
    gModified = false;
    return true;
}

void ShootWindow(std::unique_ptr<InputWindow> w, const char* name) {
    w->Prepare();
    Shoot(*w, name);
    w->reject();
}

// A window of the main menu, as its button opens it, after the calculation the button runs.
void ShootMenuWindow(int button, const char* name) {
    std::shared_ptr<const Results> results;
    if (button == frmMenuMain::kInpYaita || button == frmMenuMain::kMenuPrint) {
        results = usecase::Calculate(usecase::Purpose::Choice).results;
    }
    if (button == frmMenuMain::kResOutAs || button == frmMenuMain::kResOutAc) {
        results = usecase::CheckStability().results;
    }
    ShootWindow(CreateMenuWindow(button, nullptr, results), name);
}

void ShootPreview(const QString& folder) {
    const std::string dir = (folder + QStringLiteral("/report")).toStdString();
    const usecase::ReportRun run = usecase::WriteReportFolder(dir, usecase::PickRequest{});
    if (run.outcome != usecase::Outcome::Ok) {
        std::fprintf(stderr, "kuvelt-guide-shots: the report was not written\n");
        ++gFailures;
        return;
    }
    preview::LoadResult loaded = preview::LoadDocument(dir + "/report.prn", dir);
    if (!loaded.ok) {
        std::fprintf(stderr, "kuvelt-guide-shots: the report was not read\n");
        ++gFailures;
        return;
    }
    // The page of the virtual ground surface: a table and its heading in the side panel.
    int page = 0;
    for (const preview::Bookmark& b : loaded.document.bookmarks) {
        if (b.title.find("仮想地盤面の算定") != std::string::npos) {
            page = b.page;
            break;
        }
    }
    preview::PreviewDialogs dialogs;
    preview::PreviewWindow w(std::move(loaded.document), folder.toStdString(), preview::PageSetup{},
                             dialogs);
    w.resize(1100, 720);
    w.show();
    Settle();
    w.GoToPage(page);
    Shoot(w, "preview.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kuvelt-guide-shots IMAGES_DIR\n");
        return 64;
    }
    QTemporaryDir scratch;
    // The same pictures on every machine: no desktop, no window manager, one laptop screen
    // (1366 × 768 at 96 dpi), the screen every window must fit.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        const QString config = scratch.path() + QStringLiteral("/screen.json");
        QFile f(config);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, )"
                    R"("height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            f.close();
        }
        qputenv("QT_QPA_PLATFORM",
                (QStringLiteral("offscreen:configfile=") + config).toLocal8Bit());
    }
    QApplication app(argc, argv);
    gOut = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gOut);
    const QRect screen = QApplication::primaryScreen()->geometry();
    std::printf("screen %dx%d\n", screen.width(), screen.height());
    gIniFile = (scratch.path() + QStringLiteral("/Kuvelt.INI")).toStdString();
    gProgramFolder = KUVELT_BIN_DIR;
    gWorkFolder = scratch.path().toStdString();
    basResOutPrn::SetReportDataFolder(KUVELT_BIN_DIR);
    basResOutPrn::SetReportTempFolder(scratch.path().toStdString());

    {
        // Start() begins with a new design; the example is read after it.
        frmMenuMain main;
        main.Start(false);
        if (!Load("sand-channel.kvt")) return 1;
        main.RefreshMenu();
        Shoot(main, "main-window.png");
    }
    ShootMenuWindow(frmMenuMain::kInpJyoken, "design-conditions.png");
    {
        // The ground window with a layered ground: dense sand and soft clay below the first layer.
        const CInpJiban oneLayer = gInpJiban;
        gInpJiban.Layers = {CInpJibanLayer{-1.5, 0, 19, 10, 35, 0, 0, 20000},
                            CInpJibanLayer{-5, 1, 17, 7, 0, 1.5, 40, 3000}};
        ShootMenuWindow(frmMenuMain::kInpJiban, "ground-conditions.png");
        gInpJiban = oneLayer;
    }
    ShootMenuWindow(frmMenuMain::kInpZairyo, "materials.png");
    ShootMenuWindow(frmMenuMain::kInpSectC, "sections-concrete.png");
    ShootMenuWindow(frmMenuMain::kInpSectS, "sections-steel.png");
    ShootMenuWindow(frmMenuMain::kInpYaita, "sheet-pile-choice.png");
    ShootMenuWindow(frmMenuMain::kResOutAs, "boiling.png");
    // The print menu as the user left it: every chapter ticked.
    for (int i = 0; i < print_job::kItems; ++i) {
        CPrivateProfile::SetValueString(gIniFile, "MenuPrint", std::to_string(i), "1");
    }
    ShootMenuWindow(frmMenuMain::kMenuPrint, "print-menu.png");
    ShootMenuWindow(frmMenuMain::kInpRenban, "numbering.png");
    {
        gInpHyoshi.KojiMei = "○○川水路改修工事";
        gInpHyoshi.Hachusha = "○○県○○土木事務所";
        gInpHyoshi.Sekkeisha = "○○設計株式会社";
        gInpHyoshi.Hizuke = "令和6年10月1日";
        ShootWindow(CreateCoverWindow(nullptr), "cover.png");
    }
    ShootWindow(CreateStructureWindow(nullptr), "structure.png");
    ShootPreview(scratch.path());
    if (Load("clay-embankment.kvt")) {
        ShootMenuWindow(frmMenuMain::kResOutAc, "heaving.png");
    } else {
        ++gFailures;
    }
    basResOutPrn::SetReportDataFolder("");
    basResOutPrn::SetReportTempFolder("");
    return gFailures == 0 ? 0 : 1;
}
