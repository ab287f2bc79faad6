// Shared main of the window tests: one QApplication for the whole run (offscreen platform, its
// screen the 1366 × 768 of the laptops the windows must fit).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "scripted_services.h"

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::filesystem::path screens;
    if (platform.isEmpty() || platform == "offscreen") {
        screens = std::filesystem::temp_directory_path() /
                  ("kuvelt-ui-test-screen-" + std::to_string(::getpid()) + ".json");
        std::ofstream(screens) << R"({"screens": [{"name": "laptop", "x": 0, "y": 0,
            "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screens.c_str());
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        if (argc == 3 && std::strcmp(argv[1], "--file-dialog-probe") == 0) {
            status = kuvelt::ui::test::RunFileDialogProbe(argv[2]);
        } else {
            ::testing::InitGoogleTest(&argc, argv);
            status = RUN_ALL_TESTS();
        }
    }
    if (!screens.empty()) std::filesystem::remove(screens);
    return status;
}
