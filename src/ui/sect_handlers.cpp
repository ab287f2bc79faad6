#include "ui/sect_handlers.h"

#include "model/design.h"
#include "ui/frmInpSect.h"
#include "ui/main_handlers.h"
#include "ui/sect_grid_model.h"

namespace kuvelt::ui {

// The grids' columns are the section records' fields (model/design_fields.h).
// A new first row starts from the catalogue's first built-in section.
void objInpSectC_LoadData(frmInpSect& w) {
    colInpSectC usual;
    AddBuiltInConcrete(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectC);
}
void objInpSectC_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectC);
    ConfirmInput(nullptr);
}
void objInpSectLS_LoadData(frmInpSect& w) {
    colInpSectS usual;
    AddBuiltInLightSteel(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectLS);
}
void objInpSectLS_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectLS);
    ConfirmInput(nullptr);
}
void objInpSectS_LoadData(frmInpSect& w) {
    colInpSectS usual;
    AddBuiltInSteel(usual);
    w.model()->SetUsualRow(usual);
    w.model()->LoadCatalogue(gInpSectS);
}
void objInpSectS_SaveData(frmInpSect& w, bool&) {
    w.model()->SaveCatalogue(gInpSectS);
    ConfirmInput(nullptr);
}

}  // namespace kuvelt::ui
