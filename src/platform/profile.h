// Settings (INI) file access in place of the platform's private-profile functions. Section and
// key names are compared without regard to case; the file is code page 932 text with CR LF
// lines; a missing file, section or key reads as "" (or 0). Nothing here ever throws or reports
// an error to the user: a failed write returns false and changes nothing on disk, because every
// write replaces the whole file through a temporary file in the same folder and a rename.
// Values are read in full (no length cut). Reading is bounded: a settings file larger than
// 4 MiB is treated as missing.
// Reading is tolerant: LF-only lines, blank lines and ";" comments are accepted, blanks around
// section names, keys and values are dropped, the value is everything after the first "=" and
// the first section and key of a name count. Writing keeps every other line byte for byte (new
// keys go to the end of their section, new sections to the end of the file), never creates a
// folder, and refuses to rewrite a file that exists but cannot be read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kuvelt {

// Value of `key` in `section` of the settings file, or "".
std::string GetIniString(std::string_view section, std::string_view key, const std::string& file);

class CPrivateProfile {
  public:
    // The value's leading integer digits (with an optional sign), 0 when missing or not numeric;
    // a number beyond the 32-bit range clamps to INT32_MIN or INT32_MAX.
    static int32_t GetValueLong(const std::string& strINIFileName, std::string_view strSection,
                                std::string_view strKey);
    static std::string GetValueString(const std::string& strINIFileName,
                                      std::string_view strSection, std::string_view strKey);
    // Writes the value, creating the file, the section or the key as needed. False, with the
    // file unchanged, when the write fails or when a name is empty or a name or the value would
    // break the line structure (line breaks or NUL anywhere, "]" in a section, "=" in a key, a
    // key starting with "[" or ";").
    static bool SetValueString(const std::string& strINIFileName, std::string_view strSection,
                               std::string_view strKey, std::string_view strValue);
};

}  // namespace kuvelt
