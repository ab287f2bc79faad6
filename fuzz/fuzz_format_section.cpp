// The report format file is installed next to the program but is a plain text file users can
// edit: reading any of its sections and filling any template line with any values must only
// ever end in a PrintFault, never in a crash, and a filled line keeps the template's byte width.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/cp932.h"
#include "report/prn.h"

namespace {

using namespace kuvelt;
using namespace kuvelt::basResOutPrn;

constexpr double kValues[] = {0.0,
                              -0.0,
                              1.0,
                              -5.5,
                              123.456,
                              0.005,
                              -0.005,
                              99.995,
                              2147483648.0,
                              -2147483649.0,
                              1e15,
                              -1e300,
                              1e308,
                              4.9e-324,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::lowest(),
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};

// Candidate section names: every line that is not a comment, not a numbered line and not "End".
std::vector<std::string> SectionNames(std::string_view bytes) {
    std::vector<std::string> names;
    for (const std::string& line : cp932::SplitCrLf(bytes)) {
        if (line.empty() || line[0] == '\'' || line[0] == ' ' || line == "End") continue;
        if (line[0] >= '0' && line[0] <= '9') continue;
        names.push_back(cp932::ToUtf8(line));
        if (names.size() == 4) break;
    }
    names.emplace_back("設計条件");
    names.emplace_back("");
    return names;
}

void Fill(std::string_view tmpl, const FieldValueSlots& values, const FieldTextSlots& texts) {
    try {
        const std::string filled = FillTemplate(tmpl, values, texts);
        const std::size_t width = cp932::FromUtf8(tmpl).size();
        if (filled.size() != width) {
            std::fprintf(stderr, "filled line is %zu bytes, its template %zu\n", filled.size(),
                         width);
            std::abort();
        }
    } catch (const PrintFault&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Values and texts for the fields, derived from the input so the fuzzer can steer them.
    FieldValueSlots values{};
    FieldTextSlots texts{};
    for (int32_t i = 1; i <= kMaxFields; ++i) {
        const unsigned char b = size > 0 ? data[(static_cast<size_t>(i) * 7) % size] : 0;
        values[i] = kValues[(b + i) % std::size(kValues)];
        const std::size_t from = size > 0 ? (static_cast<size_t>(i) * 13) % size : 0;
        texts[i] = cp932::ToUtf8(bytes.substr(from, b % 40));
    }

    for (const std::string& name : SectionNames(bytes)) {
        ChapterData d;
        try {
            const int32_t n = ParseFormatSection(bytes, name, d.LineLevels, d.LineTexts);
            if (n < 0) std::abort();
        } catch (const PrintFault&) {
            continue;
        }
        for (int32_t line = 1; line <= kMaxSectionLines; ++line) {
            if (d.LineLevels[line] < 0 || d.LineLevels[line] > 5) {
                std::fprintf(stderr, "level %d accepted\n", d.LineLevels[line]);
                std::abort();
            }
            if (!d.LineTexts[line].empty()) Fill(d.LineTexts[line], values, texts);
        }
    }

    // The input itself as a template (invalid UTF-8 included), cut to a line's length.
    Fill(bytes.substr(0, 400), values, texts);

    // The same through the file reader.
    const std::string path = fuzz::TempPath("Kuvelt.FMT");
    fuzz::WriteFile(path, bytes);
    ChapterData d;
    try {
        (void)ReadFormatSection(path, "設計条件", d.LineLevels, d.LineTexts);
    } catch (const PrintFault&) {
    }
    return 0;
}
