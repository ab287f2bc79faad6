// The menu-button commands of the main window: open the condition windows, run the
// calculation before the choice and the print menu, the stability check before its result
// windows; the registration, choice, result, numbering and print windows come from
// CreateMenuWindow (window_handlers.h).
#include <QPushButton>
#include <memory>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "model/design.h"
#include "ui/MainHandlers.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"
#include "ui/frmMenuMain.h"
#include "ui/ui_services.h"
#include "ui/window_handlers.h"

namespace kuvelt::ui {

namespace {

Message Information(const std::string& text, const std::string& title) {
    return Message{0, text, title, MsgIcon::Information, MsgButtons::Ok};
}

const char* const kCalcError = "計算ｴﾗｰです。入力ﾃﾞｰﾀ等をご確認下さい。";

}  // namespace

void frmMenuMain::MenuCommand(int index) {
    switch (index) {
        case kInpJyoken:
        case kInpJiban:
        case kInpZairyo:
            OpenConditionWindow(index);
            break;
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

void frmMenuMain::OpenMenuWindow(int index) {
    if (std::unique_ptr<InputWindow> w = CreateMenuWindow(index, this)) RunWindow(*w);
}

void frmMenuMain::OpenConditionWindow(int index) {
    std::unique_ptr<InputWindow> w;
    if (index == kInpJyoken) {
        auto* f = new frmInpJyoken(this);
        Connect(f);
        w.reset(f);
    } else if (index == kInpJiban) {
        auto* f = new frmInpJiban(this);
        Connect(f);
        w.reset(f);
    } else {
        auto* f = new frmInpZairyo(this);
        Connect(f);
        w.reset(f);
    }
    w->UsrCaption.clear();
    w->UsrHelpFile.clear();
    w->UsrHelpContextID = 0;
    RunWindow(*w);
}

void frmMenuMain::RunStability() {
    std::vector<Message> messages;
    CalcNekiriAntei(&messages);
    ShowAll(messages);
}

void frmMenuMain::CommandInpYaita() {
    std::vector<Message> messages;
    const bool ok = CalcMain(&messages);
    ShowAll(messages);
    if (!ok) {
        Show(Information(kCalcError, "使用矢板の決定"));
        return;
    }
    OpenMenuWindow(kInpYaita);
    RunStability();
}

void frmMenuMain::CommandResOut(int index) {
    std::vector<Message> messages;
    const bool ran = CalcNekiriAntei(&messages);
    ShowAll(messages);
    const bool boiling = index == kResOutAs;
    const int32_t error = boiling ? gNekiriAnteiAs->Error() : gNekiriAnteiAc->Error();
    if (!ran || error != 0) {
        Show(NekiriNoResultMessage(boiling ? "ボイリングの検討" : "ヒービングの検討"));
        return;
    }
    OpenMenuWindow(index);
}

void frmMenuMain::CommandMenuPrint() {
    std::vector<Message> messages;
    const bool ok = CalcMain(&messages);
    ShowAll(messages);
    if (!ok) {
        // Without this the button would seem to do nothing at all.
        Show(Information(kCalcError, "計算結果の印刷"));
        return;
    }
    RunStability();
    OpenMenuWindow(kMenuPrint);
}

}  // namespace kuvelt::ui
