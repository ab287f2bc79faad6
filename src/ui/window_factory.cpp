#include "ui/window_factory.h"

#include "model/design.h"
#include "ui/choice_handlers.h"
#include "ui/frmInpHyoshi.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpRenban.h"
#include "ui/frmInpSect.h"
#include "ui/frmInpYaita.h"
#include "ui/frmInpZairyo.h"
#include "ui/frmMenuMain.h"
#include "ui/frmMenuPrint.h"
#include "ui/frmResOut.h"
#include "ui/frmZuStructure.h"
#include "ui/main_handlers.h"
#include "ui/renban_handlers.h"
#include "ui/sect_handlers.h"
#include "ui/stability_handlers.h"
#include "ui/window_help.h"
#include "usecase/design_run.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {

namespace {

template <class W, class Load>
void ConnectLoad(W* w, Load load) {
    QObject::connect(w, &InputWindow::LoadData, w, [w, load] { load(*w); });
}

template <class W, class Save>
void ConnectSave(W* w, Save save) {
    QObject::connect(w, &InputWindow::SaveData, w, [w, save](bool& Cancel) { save(*w, Cancel); });
}

template <class W>
std::unique_ptr<InputWindow> Connected(QWidget* parent) {
    auto* w = new W(parent);
    Connect(w);
    return std::unique_ptr<InputWindow>(w);
}

}  // namespace

std::unique_ptr<InputWindow> CreateMenuWindow(int index, QWidget* parent,
                                              std::shared_ptr<const Results> results) {
    if (!results) results = usecase::NoResults();
    std::unique_ptr<InputWindow> made;
    switch (index) {
        case frmMenuMain::kInpJyoken:
            made = Connected<frmInpJyoken>(parent);
            break;
        case frmMenuMain::kInpJiban:
            made = Connected<frmInpJiban>(parent);
            break;
        case frmMenuMain::kInpZairyo:
            made = Connected<frmInpZairyo>(parent);
            break;
        case frmMenuMain::kInpSectC: {
            auto* w = new frmInpSectC(parent);
            ConnectLoad(w, [](frmInpSect& f) { objInpSectC_LoadData(f); });
            ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectC_SaveData(f, c); });
            made.reset(w);
            made->UsrRecMax = kMaxSections;
            break;
        }
        case frmMenuMain::kInpSectLS:
        case frmMenuMain::kInpSectS: {
            auto* w = new frmInpSectS(parent, index == frmMenuMain::kInpSectLS);
            if (index == frmMenuMain::kInpSectLS) {
                ConnectLoad(w, [](frmInpSect& f) { objInpSectLS_LoadData(f); });
                ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectLS_SaveData(f, c); });
            } else {
                ConnectLoad(w, [](frmInpSect& f) { objInpSectS_LoadData(f); });
                ConnectSave(w, [](frmInpSect& f, bool& c) { objInpSectS_SaveData(f, c); });
            }
            made.reset(w);
            made->UsrRecMax = kMaxSections;
            // One window class serves both catalogues: it shows the pressed button's caption.
            made->UsrCaption = QString::fromUtf8(frmMenuMain::ButtonCaption(index));
            break;
        }
        case frmMenuMain::kInpYaita: {
            auto* w = new frmInpYaita(parent);
            ConnectLoad(w, [results](frmInpYaita& f) { objInpYaita_LoadData(f, results); });
            ConnectSave(w, objInpYaita_SaveData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kResOutAs: {
            auto* w = new frmResOutAs(parent);
            ConnectLoad(w, [results](frmResOutAs& f) { objResOutAs_LoadData(f, *results); });
            made.reset(w);
            break;
        }
        case frmMenuMain::kResOutAc: {
            auto* w = new frmResOutAc(parent);
            ConnectLoad(w, [results](frmResOutAc& f) { objResOutAc_LoadData(f, *results); });
            made.reset(w);
            break;
        }
        case frmMenuMain::kInpRenban: {
            auto* w = new frmInpRenban(parent);
            ConnectLoad(w, objInpRenban_LoadData);
            ConnectSave(w, objInpRenban_SaveData);
            made.reset(w);
            break;
        }
        case frmMenuMain::kMenuPrint:
            // The print menu receives no other settings; it has no help button, but F1 opens
            // its section of the guide.
            made = std::make_unique<frmMenuPrint>(parent);
            break;
        default:
            return nullptr;
    }
    SetHelp(*made, index);
    return made;
}

std::unique_ptr<InputWindow> CreateCoverWindow(QWidget* parent) {
    std::unique_ptr<InputWindow> w = Connected<frmInpHyoshi>(parent);
    SetHelpTopic(*w, guide::kTopicCover);
    return w;
}

std::unique_ptr<InputWindow> CreateStructureWindow(QWidget* parent) {
    auto w = std::make_unique<frmZuStructure>(parent);
    SetHelpTopic(*w, guide::kTopicStructure);
    return w;
}

}  // namespace kuvelt::ui
