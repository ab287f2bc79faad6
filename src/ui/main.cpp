// Kuvelt: the application's entry point. Everything lives in kuvelt_ui; this only creates the
// QApplication with the Japanese standard-dialog texts, starts the main window and opens the
// design file named on the command line.
#include <QApplication>

#include "ui/frmMenuMain.h"
#include "widgets/focus_frame.h"
#include "widgets/qt_texts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kuvelt"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kuvelt"));
    kuvelt::widgets::InstallJapaneseQtTexts(app);
    // Where the keys go is framed clearly in every window.
    kuvelt::widgets::InstallFocusFrame(app);
    kuvelt::ui::frmMenuMain window;
    window.Start();
    // "kuvelt FILE.kvt" (a file manager's double click) opens the design as the Open command does.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) window.OpenDesignFile(args.at(1).toStdString());
    return QApplication::exec();
}
