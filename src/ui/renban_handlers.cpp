#include "ui/renban_handlers.h"

#include <QComboBox>
#include <string>

#include "io/settings.h"
#include "model/ranges.h"
#include "platform/numfmt.h"
#include "ui/fields.h"
#include "ui/frmInpRenban.h"

namespace kuvelt::ui {

void objInpRenban_LoadData(frmInpRenban& w) {
    // A value a control cannot take leaves that control at its default: method "なし", kind
    // "1,2,3,..99" (a stored kind 0 is "none chosen", which would print a level without number).
    // Nothing stored yet shows the numbering the report uses then.
    const HeadingNumbering stored = ReadHeadingNumbering(gIniFile);
    w.setMethod(stored.method);
    const int32_t init = ReadIniLong(ini::kChapter, ini::kInit);
    if (InRange(w.numInit->spec(), init)) w.numInit->setValue(init);
    for (std::size_t k = 0; k < 4; ++k) {
        const int32_t style = stored.styles[k];
        if (style >= 1 && style <= int32_t(StyleEntries().size())) {
            w.cboStyle[k]->setCurrentIndex(style - 1);
        }
        const int32_t margin = stored.margins[k];
        NumField* f = w.numMargin[k];
        if (InRange(f->spec(), margin)) f->setValue(margin);
    }
}

void objInpRenban_SaveData(frmInpRenban& w, bool&) {
    const int m = w.method();
    WriteIniString(ini::kChapter, ini::kMethod, m < 0 ? std::string() : std::to_string(m));
    WriteIniString(ini::kChapter, ini::kInit, numfmt::General(w.numInit->value()));
    for (std::size_t k = 0; k < 4; ++k) {
        WriteIniString(ini::kChapter, ini::kStyleKeys[k],
                       std::to_string(w.cboStyle[k]->currentIndex() + 1));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        WriteIniString(ini::kChapter, ini::kMarginKeys[k],
                       numfmt::General(w.numMargin[k]->value()));
    }
}

}  // namespace kuvelt::ui
