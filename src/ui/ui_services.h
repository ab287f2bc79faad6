// The seams between the windows and the desktop: message boxes, file dialogs, the page-setup
// dialog, the beep and the system-information program. Every window goes through Services(), so
// tests swap in a scripted implementation that records each call and answers from a queue.
// Texts are UTF-8 std::string, like the core's; the Qt implementation converts at the call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

class QWidget;

namespace kuvelt::ui {

// One open-file or save-file dialog. The filter is the classic "description|pattern" pair text,
// e.g. "入力ﾃﾞｰﾀ(*.kvt)|*.kvt"; defaultExt ".kvt" is appended to a typed name without extension.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExt;
    std::string initialFolder;  // "" = the current working folder; vetted by DialogStartFolder
    std::string initialName;    // "" = none
    bool operator==(const FileDialogRequest&) const = default;
};

// Page margins in hundredths of a millimetre (the page-setup dialog's unit).
struct PageMargins {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool operator==(const PageMargins&) const = default;
};

class UiServices {
  public:
    virtual ~UiServices() = default;

    // A modal message box owned by `parent`; returns the button pressed (Esc/close = Cancel for
    // OK/Cancel and Yes/No/Cancel boxes, No for Yes/No boxes, Ok for an OK box).
    virtual MsgAnswer ShowMessage(QWidget* parent, const Message& message) = 0;
    // Open dialog: the file must exist. nullopt when cancelled.
    virtual std::optional<std::string> OpenFileName(QWidget* parent,
                                                    const FileDialogRequest& request) = 0;
    // Save dialog: the folder must exist; overwriting is confirmed. nullopt when cancelled.
    virtual std::optional<std::string> SaveFileName(QWidget* parent,
                                                    const FileDialogRequest& request) = 0;
    // Page-setup dialog with the printer button disabled; true on OK (margins updated).
    virtual bool PageSetup(QWidget* parent, PageMargins& margins) = 0;
    // The system beep of a refused input.
    virtual void Beep() = 0;
    // Starts the desktop's system-information program; false when there is none.
    virtual bool StartSystemInformation() = 0;
    // The user guide `guideFile` at section `topic` (guide::Topic) in the help window of
    // `parent`; a guide that cannot be read is reported through ShowMessage.
    virtual void ShowHelp(QWidget* parent, const std::string& guideFile, int topic);
};

// The user guide beside the program (or the source tree's, for a program in the build tree).
std::string UserGuideFile();

// The services every window uses. Until SetServices is called this is the Qt implementation.
UiServices& Services();
// Replaces the services (tests); nullptr restores the Qt implementation. Not owned.
void SetServices(UiServices* services);

// The Qt implementation: QMessageBox, QFileDialog, QPageSetupDialog, QApplication::beep.
class QtUiServices : public UiServices {
  public:
    MsgAnswer ShowMessage(QWidget* parent, const Message& message) override;
    std::optional<std::string> OpenFileName(QWidget* parent,
                                            const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(QWidget* parent,
                                            const FileDialogRequest& request) override;
    bool PageSetup(QWidget* parent, PageMargins& margins) override;
    void Beep() override;
    bool StartSystemInformation() override;

    // Candidates tried in order by StartSystemInformation (found on PATH).
    static std::vector<std::string> SystemInformationPrograms();
};

// Whether a file dialog may list `folder`: an ordinary directory (after following links) that the
// user can read and enter, outside the kernel's pseudo file systems /proc, /sys and /dev, whose
// files can block every reader (/proc/kmsg) or never end.
bool IsListableFolder(const std::string& folder);
// The folder a file dialog starts in: `wanted` (the current working folder for "") when it is
// listable, otherwise the user's documents folder, otherwise the home folder.
std::string DialogStartFolder(const std::string& wanted);

// "入力ﾃﾞｰﾀ(*.kvt)|*.kvt" -> "入力ﾃﾞｰﾀ(*.kvt)" and "A|*.a" -> "A (*.a)" for QFileDialog (the
// patterns in parentheses, once); several pairs become ";;"-separated entries. Exposed for tests.
std::string QtFilterFromPairs(const std::string& filter);

}  // namespace kuvelt::ui
