// The preview window "印刷プレビュー": pages of the report on screen, heading bookmarks, print
// and PDF export. Dialogs and message boxes go through PreviewDialogs so tests can answer them.
#pragma once

#include <QApplication>
#include <string>

#include "preview/document/document.h"
#include "preview/render/page_painter.h"

namespace kuvelt::preview {

// Shows the window for a loaded document (or the load failure) and runs the event loop.
int RunPreviewWindow(QApplication& app, const LoadResult& loaded, const std::string& workFolder,
                     const PageSetup& setup);

}  // namespace kuvelt::preview
