// The menu-button commands of the main window: run the calculation before the choice and the
// print menu, the stability check before its result windows, and open the window of the button
// from CreateMenuWindow (window_factory.h), the choice and the result windows with the results
// of the run just made.
#include <QPushButton>
#include <memory>

#include "calc/nekiri.h"
#include "ui/frmMenuMain.h"
#include "ui/input_window.h"
#include "ui/ui_services.h"
#include "ui/window_factory.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {

void frmMenuMain::MenuCommand(int index) {
    switch (index) {
        case kInpYaita:
            CommandInpYaita();
            break;
        case kResOutAs:
        case kResOutAc:
            CommandResOut(index);
            break;
        case kMenuPrint:
            CommandMenuPrint();
            break;
        case kInpJyoken:
        case kInpJiban:
        case kInpZairyo:
        case kInpSectC:
        case kInpSectLS:
        case kInpSectS:
        case kInpRenban:
            OpenMenuWindow(index);
            break;
        default:
            return;
    }
    RefreshMenu();
}

void frmMenuMain::OpenMenuWindow(int index, std::shared_ptr<const Results> results) {
    if (std::unique_ptr<InputWindow> w = CreateMenuWindow(index, this, std::move(results)))
        RunWindow(*w);
}

void frmMenuMain::OpenCoverWindow() { RunWindow(*CreateCoverWindow(this)); }

void frmMenuMain::OpenStructureWindow() { RunWindow(*CreateStructureWindow(this)); }

Message FailureMessage(const std::vector<Message>& causes, const Message& final) {
    Message m = final;
    for (const Message& c : causes) {
        // A cause that only says the same again in other words adds nothing.
        if (c == final || c == NekiriCalcErrorMessage()) continue;
        m.text += "\n\n" + c.title + "：\n" + c.text;
    }
    return m;
}

void frmMenuMain::RunStability() { ShowAll(usecase::CheckStability().messages); }

void frmMenuMain::ShowCalcRun(const usecase::CalcRun& run) {
    if (run.calculated || run.messages.empty()) {
        ShowAll(run.messages);
        return;
    }
    // The run's last message is the command's own; the stages' messages before it are why.
    Show(FailureMessage({run.messages.begin(), run.messages.end() - 1}, run.messages.back()));
}

void frmMenuMain::CommandInpYaita() {
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Choice);
    ShowCalcRun(run);
    if (!run.calculated) return;
    OpenMenuWindow(kInpYaita, run.results);
    RunStability();
}

void frmMenuMain::CommandResOut(int index) {
    const usecase::StabilityRun run = usecase::CheckStability();
    if (run.refusal) {  // its message says why, and where to correct it
        ShowAll(run.messages);
        return;
    }
    if (!run.hasResult) {
        Show(FailureMessage(
            run.messages,
            NekiriNoResultMessage(index == kResOutAs ? "ボイリングの検討" : "ヒービングの検討")));
        return;
    }
    ShowAll(run.messages);
    OpenMenuWindow(index, run.results);
}

void frmMenuMain::CommandMenuPrint() {
    // The print menu recalculates as it opens; this run decides whether it may open at all, so
    // the button never seems to do nothing.
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Print);
    ShowCalcRun(run);
    if (!run.calculated) return;
    OpenMenuWindow(kMenuPrint);
}

}  // namespace kuvelt::ui
