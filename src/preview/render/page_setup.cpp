#include "platform/profile.h"
#include "preview/render/page_painter.h"

namespace kuvelt::preview {

PageSetup ReadPageSetup(const std::string& iniFile) {
    PageSetup s;
    s.marginTopMm =
        MarginFromText(GetIniString("Printer", "MarginTop(mm)", iniFile), kDefaultMarginTopMm);
    s.marginLeftMm =
        MarginFromText(GetIniString("Printer", "MarginLeft(mm)", iniFile), kDefaultMarginLeftMm);
    return s;
}

}  // namespace kuvelt::preview
