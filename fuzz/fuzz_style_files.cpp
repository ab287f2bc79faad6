// The line and text style files sit next to the program and are edited by hand: loading any
// bytes into the report's tables (the strict reader) must give a table or a PrintFault, and
// whatever loads must be usable for measuring texts. The preview's tolerant reading of the same
// bytes never fails and keeps pens and fonts within the capacities and sane sizes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/style_files.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "report/prnz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kuvelt;
    using namespace kuvelt::basResOutPrnZ;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string path = fuzz::TempPath("STYLE.DEF");
    fuzz::WriteFile(path, bytes);

    try {
        LoadLineStyles(path);
        if (LineStyleCount < 0 || LineStyleCount > kMaxLineStyles) {
            std::fprintf(stderr, "line style count %d\n", LineStyleCount);
            std::abort();
        }
    } catch (const PrintFault&) {
    }

    try {
        LoadTextStyles(path);
        if (TextStyleCount < 0 || TextStyleCount > kMaxTextStyles) {
            std::fprintf(stderr, "text style count %d\n", TextStyleCount);
            std::abort();
        }
        const std::string sample = cp932::ToUtf8(bytes.substr(0, 200));
        for (int32_t s = 0; s <= TextStyleCount + 1; ++s) {
            try {
                (void)FontSizeMm(s);
                (void)TextWidth(s, sample);
                (void)TextWidth(s, "荷重ｱｲｳabc");
            } catch (const PrintFault&) {
            }
        }
    } catch (const PrintFault&) {
    }

    std::vector<formats::LineStyle> pens;
    fuzz::Check(formats::ParseLineStyles(bytes, formats::Mode::Tolerant, pens),
                "tolerant line styles refused");
    fuzz::Check(pens.size() <= formats::kMaxLineStyles, "more than 9 line styles kept");
    for (const formats::LineStyle& p : pens)
        fuzz::Check(p.width >= 0 && p.width <= 500, "line width out of range");
    std::vector<formats::TextStyle> fonts;
    fuzz::Check(formats::ParseTextStyles(bytes, formats::Mode::Tolerant, fonts),
                "tolerant text styles refused");
    fuzz::Check(fonts.size() <= formats::kMaxTextStyles, "more than 2 text styles kept");
    for (const formats::TextStyle& f : fonts)
        fuzz::Check(f.sizeTwips >= 20 && f.sizeTwips <= 2880, "text size out of range");
    return 0;
}
