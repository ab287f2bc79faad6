#include "platform/profile.h"

#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/vberror.h"

namespace kuvelt {
namespace {

constexpr std::size_t kMaxSettingsBytes = 4u << 20;

// The settings file works on its code page 932 bytes, so a line we do not touch is written back
// byte for byte, even when it holds bytes that are not valid code page 932. Only the ASCII
// characters "[", "]", "=" and ";" have a meaning; "[" and "]" can be the second byte of a
// two-byte character, so scans step over two-byte characters.

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Index of the first `c` that is a character of its own (not the second byte of a two-byte
// character), or npos.
std::size_t FindChar(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        if (cp932::IsLeadByte(b) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == c) return i;
    }
    return std::string_view::npos;
}

// Names compare without regard to the case of Latin letters; two-byte characters compare as
// they are.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (cp932::IsLeadByte(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// One line of the file, classified once.
struct Line {
    std::string raw;         // the bytes without the line end
    bool section = false;    // "[name]"
    bool entry = false;      // "key=value" inside a section
    std::string_view name;   // section name or key (into raw)
    std::string_view value;  // value of an entry (into raw)
};

std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string::npos ? bytes.size() : lf;
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back();
        lines.back().raw = bytes.substr(start, stop - start);
        start = lf == std::string::npos ? bytes.size() : lf + 1;
    }
    // Classify after the vector no longer grows: the views point into each line's own string.
    bool inSection = false;
    for (Line& l : lines) {
        std::string_view s = l.raw;
        if (&l == &lines.front() && s.substr(0, 3) == "\xEF\xBB\xBF")
            s.remove_prefix(3);  // editor mark
        s = Trim(s);
        if (!s.empty() && s.front() == '[') {
            std::size_t close = FindChar(s, ']');
            if (close != std::string_view::npos) {
                l.section = true;
                l.name = Trim(s.substr(1, close - 1));
                inSection = true;
                continue;
            }
        }
        if (!inSection || s.empty() || s.front() == ';') continue;
        std::size_t eq = FindChar(s, '=');
        if (eq == std::string_view::npos) continue;
        l.entry = true;
        l.name = Trim(s.substr(0, eq));
        l.value = Trim(s.substr(eq + 1));
    }
    return lines;
}

// Reads the settings file; false when it is missing, unreadable, too large or not a file.
bool ReadSettings(const std::string& file, std::string& bytes, int32_t& err) {
    err = 0;
    return files::ReadAll(file, bytes, err, kMaxSettingsBytes);
}

// Finds the value's line: index into `lines` or -1. The first section of the name and the first
// key of the name in it count, as with the platform's own settings functions.
long FindEntry(const std::vector<Line>& lines, std::string_view section, std::string_view key,
               long* sectionLine) {
    long sec = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].section && SameName(lines[i].name, section)) {
            sec = static_cast<long>(i);
            break;
        }
    }
    if (sectionLine) *sectionLine = sec;
    if (sec < 0) return -1;
    for (std::size_t i = static_cast<std::size_t>(sec) + 1; i < lines.size(); ++i) {
        if (lines[i].section) break;
        if (lines[i].entry && SameName(lines[i].name, key)) return static_cast<long>(i);
    }
    return -1;
}

std::string Lookup(std::string_view section, std::string_view key, const std::string& file) {
    std::string bytes;
    int32_t err = 0;
    if (!ReadSettings(file, bytes, err)) return std::string();
    std::vector<Line> lines = SplitLines(bytes);
    // Names are trimmed as on writing, so a key written as " Top " reads back under the same name.
    long at = FindEntry(lines, cp932::FromUtf8(Trim(section)), cp932::FromUtf8(Trim(key)), nullptr);
    if (at < 0) return std::string();
    return cp932::ToUtf8(lines[static_cast<std::size_t>(at)].value);
}

bool HasLineBreak(std::string_view s) {
    return s.find('\r') != std::string_view::npos || s.find('\n') != std::string_view::npos ||
           s.find('\0') != std::string_view::npos;
}

}  // namespace

std::string GetIniString(std::string_view section, std::string_view key, const std::string& file) {
    try {
        return Lookup(section, key, file);
    } catch (...) {  // out of memory: settings reads never fail loudly
        return std::string();
    }
}

int32_t CPrivateProfile::GetValueLong(const std::string& strINIFileName,
                                      std::string_view strSection, std::string_view strKey) {
    const std::string v = GetIniString(strSection, strKey, strINIFileName);
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) {
        negative = v[i] == '-';
        ++i;
    }
    // Digits beyond the 32-bit range clamp to its ends, so a huge stored position reads as a
    // huge position (which the windows then treat as off-screen) rather than as a wrapped one.
    long long n = 0;
    bool any = false;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
        any = true;
        if (n <= static_cast<long long>(INT32_MAX) + 1) n = n * 10 + (v[i] - '0');
    }
    if (!any) return 0;
    if (negative) n = -n;
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(n);
}

std::string CPrivateProfile::GetValueString(const std::string& strINIFileName,
                                            std::string_view strSection, std::string_view strKey) {
    return GetIniString(strSection, strKey, strINIFileName);
}

bool CPrivateProfile::SetValueString(const std::string& strINIFileName, std::string_view strSection,
                                     std::string_view strKey, std::string_view strValue) {
    // Names and values that would break the line structure are refused rather than written
    // into a file they would corrupt.
    const std::string section = cp932::FromUtf8(Trim(strSection));
    const std::string key = cp932::FromUtf8(Trim(strKey));
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(strValue) || FindChar(section, ']') != std::string::npos ||
        FindChar(key, '=') != std::string::npos || key.front() == '[' || key.front() == ';') {
        return false;
    }
    try {
        std::string old;
        int32_t err = 0;
        bool exists = ReadSettings(strINIFileName, old, err);
        // Only a missing file may be started afresh; rewriting a file we could not read (too
        // large, no permission, a folder) would lose what it holds.
        if (!exists && err != vberr::kFileNotFound) return false;

        std::vector<Line> lines = SplitLines(old);
        const std::string entry = key + "=" + cp932::FromUtf8(strValue);
        long sec = -1;
        long at = FindEntry(lines, section, key, &sec);
        std::vector<std::string> out;
        out.reserve(lines.size() + 2);
        for (const Line& l : lines) out.push_back(l.raw);
        if (at >= 0) {
            const Line& l = lines[static_cast<std::size_t>(at)];
            out[static_cast<std::size_t>(at)] =
                std::string(l.name) + "=" + cp932::FromUtf8(strValue);
        } else if (sec >= 0) {
            // After the section's last non-blank line, so a blank separator stays before the
            // next section.
            std::size_t end = static_cast<std::size_t>(sec) + 1;
            while (end < lines.size() && !lines[end].section) ++end;
            std::size_t pos = end;
            while (pos > static_cast<std::size_t>(sec) + 1 && Trim(lines[pos - 1].raw).empty())
                --pos;
            out.insert(out.begin() + static_cast<long>(pos), entry);
        } else {
            out.push_back("[" + section + "]");
            out.push_back(entry);
        }
        std::string bytes;
        for (const std::string& l : out) {
            bytes += l;
            bytes += "\r\n";
        }
        if (exists && bytes == old) return true;  // nothing changes on disk
        return files::ReplaceFile(strINIFileName, bytes, err);
    } catch (...) {
        return false;
    }
}

}  // namespace kuvelt
