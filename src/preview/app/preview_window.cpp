#include "preview/app/preview_window.h"

#include <QMessageBox>

namespace kuvelt::preview {

int RunPreviewWindow(QApplication& app, const LoadResult& loaded, const std::string& workFolder,
                     const PageSetup& setup) {
    (void)workFolder;
    (void)setup;
    (void)app;
    if (!loaded.ok) {
        QMessageBox::critical(nullptr, QString::fromUtf8(loaded.message.title.c_str()),
                              QString::fromUtf8(loaded.message.text.c_str()));
        return 1;
    }
    return 0;
}

}  // namespace kuvelt::preview
