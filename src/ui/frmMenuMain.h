// The main window: it is the application. Start-up (paths, position, recent files, a new
// design), the eleven menu buttons with their enabling and highlight colours (RefreshMenu) and
// the cover button below the inputs, the file commands with their dialogs and messages, the
// recent-file items, page setup, the version window, the window title and the exit question. Every
// other window is made by the window factory (window_factory.h), which wires it to its handlers,
// and opened modally from here through RunWindow.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "io/settings.h"
#include "platform/message.h"

class QAction;
class QPushButton;
class QToolBar;

namespace kuvelt {
struct Results;
}
namespace kuvelt::usecase {
struct CalcRun;
}

namespace kuvelt::ui {

class InputWindow;

// One box for a command that failed: `final`, what the command says, with the messages of the
// stages that gave up before it under it as the cause (one that only repeats it is left out).
Message FailureMessage(const std::vector<Message>& causes, const Message& final);

class frmMenuMain : public QMainWindow {
    Q_OBJECT
  public:
    // Button indices of the main menu.
    enum Button {
        kInpJyoken,
        kInpJiban,
        kInpZairyo,
        kInpSectC,
        kInpSectLS,
        kInpSectS,
        kInpYaita,
        kResOutAs,
        kResOutAc,
        kMenuPrint,
        kInpRenban,
        kButtonCount
    };
    static const char* ButtonCaption(int index);
    static const char* ButtonTag(int index);

    explicit frmMenuMain(QWidget* parent = nullptr);

    // Start-up in its order. determinePaths false keeps gIniFile & co. as set (tests).
    void Start(bool determinePaths = true);

    // Opens a design file without a dialog (the command line at start): the Open command's checks
    // and messages, the recent-file list updated. True when it was read.
    bool OpenDesignFile(const std::string& path) { return ReadDesign(path); }

    // Colours and enables the menu buttons from the current design.
    void RefreshMenu();
    // Menu button command i (0..10).
    void MenuCommand(int index);
    // The cover button: the window of the cover's texts.
    void OpenCoverWindow();

    // File commands.
    void FileNew();
    void FileOpen();
    bool FileSaveAs();
    bool FileSave();
    void FileHistory(int item);  // 1..4
    void PageSetup();
    void ShowVersion();
    // The user guide at the workflow (F1, "?" menu).
    void ShowHelp();
    // The exit question; true when the application may end (after saving if asked).
    bool ConfirmExit();

    QPushButton* menuButton(int index) const { return cmdMenu_[std::size_t(index)]; }
    QPushButton* exitButton() const { return cmdExit_; }
    QPushButton* coverButton() const { return cmdHyoshi_; }
    QAction* recentAction(int item) const { return mnuHistory_[std::size_t(item - 1)]; }
    QAction* action(const QString& name) const;  // objectName, e.g. "mnuFileOpen", "tbrSave"
    QToolBar* toolBar() const { return toolBar_; }

  protected:
    // Shows an input window modally (tests drive it instead). Returns the dialog result.
    virtual int RunWindow(InputWindow& window);
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildButtons();
    void ApplyHistory(const kuvelt::FileHistory& history);
    bool ReadDesign(const std::string& path);
    // The title of the current file name and modified flag.
    void UpdateTitle();
    // Before the design is replaced: with unsaved changes asks `question` (save / discard /
    // cancel) titled `title`; true when the design may go (saved, or discarding chosen).
    bool SaveOrDiscard(const std::string& question, const std::string& title);
    // After a successful open or save: the working folder and "InitDir" become the file's folder.
    void RememberFolderOf(const std::string& path);
    void Show(const Message& message);
    void ShowAll(const std::vector<Message>& messages);
    // A calculation's messages: those of a failed one in one box.
    void ShowCalcRun(const usecase::CalcRun& run);
    // The window of a menu button from CreateMenuWindow, run modally; the choice and the result
    // windows show `results`, those of the run the command just made.
    void OpenMenuWindow(int index, std::shared_ptr<const Results> results = nullptr);

    // Menu commands (main_commands.cpp).
    void CommandInpYaita();
    void CommandResOut(int index);
    void CommandMenuPrint();
    // 表示 → 構造図: the cross-section of the design as it stands.
    void OpenStructureWindow();
    void RunStability();

    std::array<QPushButton*, kButtonCount> cmdMenu_{};
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdHyoshi_ = nullptr;
    std::array<QAction*, 4> mnuHistory_{};
    QToolBar* toolBar_ = nullptr;
};

}  // namespace kuvelt::ui
