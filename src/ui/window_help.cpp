#include "ui/window_help.h"

#include "ui/frmMenuMain.h"
#include "ui/input_window.h"
#include "ui/ui_services.h"
#include "widgets/user_guide.h"

namespace kuvelt::ui {

int HelpTopicOf(int index) {
    switch (index) {
        case frmMenuMain::kInpJyoken:
            return guide::kTopicConditions;
        case frmMenuMain::kInpJiban:
            return guide::kTopicGround;
        case frmMenuMain::kInpZairyo:
            return guide::kTopicMaterials;
        case frmMenuMain::kInpSectC:
        case frmMenuMain::kInpSectLS:
        case frmMenuMain::kInpSectS:
            return guide::kTopicSections;
        case frmMenuMain::kInpYaita:
            return guide::kTopicChoice;
        case frmMenuMain::kResOutAs:
        case frmMenuMain::kResOutAc:
            return guide::kTopicStability;
        case frmMenuMain::kMenuPrint:
            return guide::kTopicPrint;
        case frmMenuMain::kInpRenban:
            return guide::kTopicNumbering;
        default:
            return guide::kTopicWorkflow;
    }
}

void SetHelp(InputWindow& window, int index) { SetHelpTopic(window, HelpTopicOf(index)); }

void SetHelpTopic(InputWindow& window, int topic) {
    // The guide's path even when it is missing: the help button then says where it belongs.
    window.UsrHelpFile = QString::fromStdString(UserGuideFile());
    window.UsrHelpContextID = topic;
}

}  // namespace kuvelt::ui
