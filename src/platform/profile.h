// Settings (INI) file access in place of the platform's private-profile functions. Section and
// key names are compared without regard to case; the file is code page 932 text with CR LF
// lines; a missing file, section or key reads as "" (or 0). Nothing here ever throws or reports
// an error to the user: a failed write returns false and changes nothing on disk, because every
// write replaces the whole file through a temporary file in the same folder and a rename.
// Values are read in full (no length cut). Reading is bounded: a settings file larger than
// 4 MiB is treated as missing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kuvelt {

// Value of `key` in `section` of the settings file, or "".
std::string GetIniString(std::string_view section, std::string_view key, const std::string& file);

class CPrivateProfile {
public:
    // The value's leading integer digits (with an optional sign), 0 when missing or not numeric.
    static int32_t GetValueLong(const std::string& strINIFileName, std::string_view strSection,
                                std::string_view strKey);
    static std::string GetValueString(const std::string& strINIFileName,
                                      std::string_view strSection, std::string_view strKey);
    // Writes the value, creating the file, the section or the key as needed.
    static bool SetValueString(const std::string& strINIFileName, std::string_view strSection,
                               std::string_view strKey, std::string_view strValue);
};

}  // namespace kuvelt
