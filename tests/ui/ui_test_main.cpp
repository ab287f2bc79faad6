// Shared main of the window tests: one QApplication for the whole run (offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

#include "scripted_services.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--file-dialog-probe") == 0) {
        return kuvelt::ui::test::RunFileDialogProbe(argv[2]);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
