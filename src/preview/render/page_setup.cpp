#include "io/settings.h"
#include "platform/profile.h"
#include "preview/render/page_painter.h"

namespace kuvelt::preview {

PageSetup ReadPageSetup(const std::string& iniFile) {
    PageSetup s;
    s.marginTopMm =
        MarginFromText(GetIniString(ini::kPrinter, ini::kMarginTop, iniFile), kDefaultMarginTopMm);
    s.marginLeftMm = MarginFromText(GetIniString(ini::kPrinter, ini::kMarginLeft, iniFile),
                                    kDefaultMarginLeftMm);
    return s;
}

}  // namespace kuvelt::preview
