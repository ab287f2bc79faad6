// Settings files are edited by hand: reading any bytes must be safe, and a write through the
// reader's own rules must read back what was written while keeping every other key.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/profile.h"

namespace {

// Keys the programs really read, plus names taken from the input itself.
constexpr std::string_view kKeys[][2] = {
    {"Numbering", "Method"},
    {"Numbering", "Level1"},
    {"Print", "Margin"},
    {"Window", "Left"},
    {"", ""},
    {"a", "b"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kuvelt::CPrivateProfile;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    // Layout: file bytes \x01 section \x01 key \x01 value (the trailing parts are optional).
    const std::string_view fileBytes = kuvelt::fuzz::TakePart(in);
    const std::string section(kuvelt::fuzz::TakePart(in));
    const std::string key(kuvelt::fuzz::TakePart(in));
    const std::string value(in);

    const std::string path = kuvelt::fuzz::TempPath("settings.ini");
    kuvelt::fuzz::WriteFile(path, fileBytes);

    for (const auto& k : kKeys) {
        (void)CPrivateProfile::GetValueString(path, k[0], k[1]);
        (void)CPrivateProfile::GetValueLong(path, k[0], k[1]);
    }
    (void)kuvelt::GetIniString(section, key, path);

    // Names and values that are not exact code page 932 texts are written as "?" and cannot
    // read back as they were; they are still written, only not compared.
    bool exact = true;
    for (const std::string* t : {&section, &key, &value}) {
        bool ok = true;
        (void)kuvelt::cp932::FromUtf8(*t, &ok);
        exact = exact && ok;
    }
    if (CPrivateProfile::SetValueString(path, section, key, value) && exact) {
        const std::string back = CPrivateProfile::GetValueString(path, section, key);
        // Blanks around a value are not part of it when read.
        std::string_view v(value);
        while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
        if (back != v) {
            std::fprintf(stderr, "value written does not read back\n");
            std::abort();
        }
        (void)CPrivateProfile::GetValueLong(path, section, key);
    }
    // A write to another section leaves this key's value alone.
    const std::string kept = CPrivateProfile::GetValueString(path, "Numbering", "Method");
    if (CPrivateProfile::SetValueString(path, "FuzzOther", "K", "1")) {
        if (CPrivateProfile::GetValueString(path, "Numbering", "Method") != kept) {
            std::fprintf(stderr, "a write changed another section's key\n");
            std::abort();
        }
        if (CPrivateProfile::GetValueString(path, "FuzzOther", "K") != "1") {
            std::fprintf(stderr, "new section does not read back\n");
            std::abort();
        }
    }
    return 0;
}
