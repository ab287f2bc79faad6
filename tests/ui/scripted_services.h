// What every window test shares. Scripted desktop services: every message box, file dialog,
// page-setup dialog, beep and system-information start is recorded with its exact texts, and
// dialogs are answered from a queue. A dialog for which no answer of its kind is queued next fails
// the test (it would have blocked a real user); answers left over at the end fail it too. The
// main window driven by the test instead of a user, the examples as the current design, and
// showing a window and letting its events run headless.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "ui/frmMenuMain.h"
#include "ui/ui_services.h"

namespace kuvelt::ui::test {

struct Call {
    enum Kind { MessageBox, OpenDialog, SaveDialog, PageSetupDialog, SystemInfo, Help } kind;
    Message message;            // MessageBox
    FileDialogRequest request;  // OpenDialog, SaveDialog; Help: initialName = the guide file
    PageMargins margins;        // PageSetupDialog: the margins shown
    int topic = 0;              // Help: the guide's section
};

class ScriptedUiServices : public UiServices {
  public:
    // Installs itself with SetServices; the destructor restores the Qt services.
    ScriptedUiServices();
    ~ScriptedUiServices() override;

    void AnswerMessage(MsgAnswer answer);
    void AnswerOpen(std::optional<std::string> path);
    void AnswerSave(std::optional<std::string> path);
    // nullopt = Cancel; otherwise OK with these margins.
    void AnswerPageSetup(std::optional<PageMargins> margins);
    // Whether a system-information program "exists" (not queued; default false).
    bool systemInfoAvailable = false;
    // Message boxes are also shown for real (and closed by Return at once), so the focus and
    // activation moves of a modal box happen as for a user; the queued answer is returned.
    bool realBoxes = false;

    MsgAnswer ShowMessage(QWidget* parent, const Message& message) override;
    std::optional<std::string> OpenFileName(QWidget* parent,
                                            const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(QWidget* parent,
                                            const FileDialogRequest& request) override;
    bool PageSetup(QWidget* parent, PageMargins& margins) override;
    void Beep() override { ++beeps; }
    bool StartSystemInformation() override;
    // Recorded only (no help window opens); UiServices::ShowHelp is the real one.
    void ShowHelp(QWidget* parent, const std::string& guideFile, int topic) override;

    // Every message box shown so far, in order.
    std::vector<Message> messages() const;
    // Forgets the record (not the queue).
    void ClearRecord() {
        calls.clear();
        beeps = 0;
    }
    bool queueEmpty() const { return answers_.empty(); }

    std::vector<Call> calls;
    int beeps = 0;

  private:
    struct Answer {
        Call::Kind kind;
        MsgAnswer msg = MsgAnswer::Ok;
        std::optional<std::string> path;
        std::optional<PageMargins> margins;
    };
    bool Take(Call::Kind kind, const std::string& what, Answer& out);
    std::deque<Answer> answers_;
};

// The state every window test starts from: settings file in a private folder, a fresh design,
// no file name, not modified, scripted services installed.
class UiTestEnv {
  public:
    UiTestEnv();
    ~UiTestEnv();
    std::string ini() const;
    kuvelt::test::TempDir dir;
    ScriptedUiServices services;

  private:
    std::string savedIni_, savedProgram_, savedCwd_;
};

// The child side of the file-dialog test (started as "<test> --file-dialog-probe FOLDER"): runs
// the Qt open and save dialogs in FOLDER, prints the names they list, one a line, closes each
// after its listing had time to load and returns 0 when both closed as cancelled. A dialog that
// reads the listed files may never return; the parent waits with a time limit.
int RunFileDialogProbe(const std::string& folder);

// The main window whose modal windows the test runs instead of a user. Every window it opens is
// recorded with its title and help section; with `prepare` it is filled first (LoadData), as
// RunModal does; `drive` then answers it and returns the dialog result. Without a drive the window
// is cancelled, or with `strict` it fails the test as a window nobody expected.
class DrivenMain : public frmMenuMain {
  public:
    std::function<int(InputWindow&)> drive;
    bool prepare = true;
    bool strict = false;
    std::vector<std::string> titles;
    std::vector<int> topics;
    int opened() const { return int(titles.size()); }

  protected:
    int RunWindow(InputWindow& w) override;
};

// A drive that confirms: presses OK and returns the window's result.
int PressOk(InputWindow& w);

// Reads examples/`name` as the current design, its conditions entered.
void LoadExample(const char* name);

// Shows the window, makes it the active window and lets pending events run, so focus moves
// work headless.
void ShowActive(QWidget* window);
// Runs queued events (deferred checks, timers of 0 ms).
void Pump();

}  // namespace kuvelt::ui::test
