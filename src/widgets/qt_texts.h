// Japanese for Qt's own dialogs (print, page setup, file dialogs): Qt's translation and, on top of
// it, the few texts that translation leaves in English ("Pages", "Double Sided Printing" …).
#pragma once

class QCoreApplication;

namespace kuvelt::widgets {

// Installs both translators for the whole run (once; later calls do nothing).
void InstallJapaneseQtTexts(QCoreApplication& app);

}  // namespace kuvelt::widgets
