// Makes the report format file Kuvelt.FMT (code page 932, CR LF) from its UTF-8 source with LF
// line ends, at build time, through the core's own converter: the file the programs read is
// always the source as written, and nobody converts it by hand.
//
// Usage: make_format_file SOURCE OUT
//        make_format_file --names SOURCE HEADER
//
// The source must convert exactly and read back as written, or the report would print "?" or
// another character than the author typed: a character without a code page 932 form, bytes that
// are not UTF-8 and a CR (an editor's CR LF would become CR CR LF) are refused, each named by line
// and column, and OUT is left as it was. Exit status 0 when OUT was written, 1 otherwise.
//
// The chapters address the lines they print by name. A section's name line and any of its lines
// may end with a tab and "@" and a C++ name ("設計条件<TAB>@jyoken", "  5 0標高…<TAB>@kLevels");
// the mark is the source's only and never reaches Kuvelt.FMT. With --names the tool writes the
// header the chapters include: a namespace of each named section with its name (kSection) and a
// constant of each named line with its number, and the tables of every named section and line
// for the tests.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace {

using namespace kuvelt;

// Length of the UTF-8 sequence a byte starts (1 for a byte that cannot start one, so the walk
// always moves on).
std::size_t SequenceLength(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4) return 4;
    if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
    if (b >= 0xC2) return 2;
    return 1;
}

// The code point of one UTF-8 sequence, or -1 when the bytes are not UTF-8.
long CodePoint(std::string_view ch) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(ch[i]); };
    if (ch.size() == 1) return b(0) < 0x80 ? b(0) : -1;
    if (SequenceLength(b(0)) != ch.size()) return -1;  // cut short by the line's end
    long cp = b(0) & (0x7F >> ch.size());
    for (std::size_t i = 1; i < ch.size(); ++i) {
        if ((b(i) & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    return cp;
}

std::string Describe(std::string_view ch) {
    char text[32];
    const long cp = CodePoint(ch);
    if (cp >= 0) {
        std::snprintf(text, sizeof text, "U+%04lX", cp);
        return "\"" + std::string(ch) + "\" (" + text + ")";
    }
    std::string bytes = "bytes";
    for (unsigned char b : ch) {
        std::snprintf(text, sizeof text, " %02X", b);
        bytes += text;
    }
    return bytes;
}

// The faults of one source line, one message per character; empty when the line is exact.
std::string LineFaults(const std::string& source, int lineNo, std::string_view line) {
    bool exact = false;
    const std::string converted = cp932::FromUtf8(line, &exact);
    bool readBack = false;
    if (exact && cp932::ToUtf8(converted, &readBack) == line && readBack &&
        line.find('\r') == std::string_view::npos) {
        return {};
    }

    std::string faults;
    int column = 1;
    for (std::size_t i = 0; i < line.size(); ++column) {
        std::size_t n =
            std::min(SequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
        if (CodePoint(line.substr(i, n)) < 0) n = 1;  // a stray byte: the next one starts afresh
        const std::string_view ch = line.substr(i, n);
        i += n;
        const std::string where =
            source + ":" + std::to_string(lineNo) + ":" + std::to_string(column) + ": ";
        if (ch == "\r") {
            faults += where + "CR: the source keeps LF line ends (the file gets CR LF)\n";
            continue;
        }
        const std::string one = cp932::FromUtf8(ch, &exact);
        if (CodePoint(ch) < 0) {
            faults += where + Describe(ch) + ": not UTF-8\n";
        } else if (!exact) {
            faults += where + Describe(ch) + " has no code page 932 form\n";
        } else if (cp932::ToUtf8(one) != ch) {
            faults += where + Describe(ch) + " would read back as \"" + cp932::ToUtf8(one) + "\"\n";
        }
    }
    return faults;
}

// A source line and the name it is marked with ("" when none).
struct Marked {
    std::string_view text;
    std::string_view name;
};

Marked SplitMark(std::string_view line) {
    const std::size_t tab = line.find("\t@");
    if (tab == std::string_view::npos) return {line, {}};
    return {line.substr(0, tab), line.substr(tab + 2)};
}

bool Identifier(std::string_view name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

// The header of the names, or the faults of the marks (each named by line) in `faults`.
std::string NamesHeader(const std::string& source, const std::string& text, std::string& faults) {
    std::string spaces, table, sections;
    std::vector<std::string> sectionNames, lineNames;
    std::string section, space;  // the section being read and its namespace ("" when unnamed)
    bool inside = false;
    int lineNo = 1;
    for (std::size_t start = 0; start < text.size(); ++lineNo) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const Marked m = SplitMark(std::string_view(text).substr(start, end - start));
        start = end + 1;
        const std::string where = source + ":" + std::to_string(lineNo) + ": ";
        if (!m.name.empty() && !Identifier(m.name)) {
            faults += where + "\"" + std::string(m.name) + "\" is no C++ name\n";
            continue;
        }
        if (!inside) {
            if (m.text.empty() || m.text[0] == '\'') {
                if (!m.name.empty()) faults += where + "a comment has no name\n";
                continue;
            }
            inside = true;
            section = std::string(m.text);
            space = std::string(m.name);
            lineNames.clear();
            if (space.empty()) continue;
            sections += "    " + space + "::kSection,\n";
            if (std::find(sectionNames.begin(), sectionNames.end(), space) != sectionNames.end())
                faults += where + "section name " + space + " given twice\n";
            sectionNames.push_back(space);
            spaces += "namespace " + space + " {\ninline constexpr std::string_view kSection = \"" +
                      section + "\";\n";
            continue;
        }
        if (m.text == "End") {
            inside = false;
            if (!space.empty()) spaces += "}  // namespace " + space + "\n";
            if (!m.name.empty()) faults += where + "End has no name\n";
            continue;
        }
        if (m.name.empty()) continue;
        if (space.empty()) {
            faults += where + "a line of an unnamed section is named\n";
            continue;
        }
        int number = 0;
        if (m.text.size() < 5 || m.text[0] == '\'' ||
            std::sscanf(std::string(m.text.substr(0, 3)).c_str(), "%d", &number) != 1) {
            faults += where + "only a numbered line is named\n";
            continue;
        }
        const std::string name(m.name);
        if (std::find(lineNames.begin(), lineNames.end(), name) != lineNames.end())
            faults += where + name + " given twice in " + section + "\n";
        lineNames.push_back(name);
        spaces += "inline constexpr int32_t " + name + " = " + std::to_string(number) + ";\n";
        table += "    {\"" + section + "\", \"" + space + "::" + name + "\", " +
                 std::to_string(number) + "},\n";
    }
    return "// Made by tools/make_format_file from data/Kuvelt.FMT.txt: do not edit.\n"
           "#pragma once\n\n#include <cstdint>\n#include <string_view>\n\n"
           "namespace kuvelt::fmt {\n\n" +
           spaces +
           "\n// Every named section.\ninline constexpr std::string_view kSections[] = {\n" +
           sections +
           "};\n\n// Every named line: its section, its name and its number.\n"
           "struct NamedLine {\n    std::string_view section;\n    std::string_view name;\n"
           "    int32_t line;\n};\ninline constexpr NamedLine kNamedLines[] = {\n" +
           table + "};\n\n}  // namespace kuvelt::fmt\n";
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

// Writes a sibling and renames it over OUT, so an interrupted build never leaves half a file.
bool WriteFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.close();
        if (!out) {
            std::filesystem::remove(temp);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) std::filesystem::remove(temp, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    const bool names = argc == 4 && std::string_view(argv[1]) == "--names";
    if (argc != 3 && !names) {
        std::fprintf(stderr,
                     "usage: make_format_file SOURCE OUT\n"
                     "       make_format_file --names SOURCE HEADER\n");
        return 1;
    }
    const std::string source = argv[names ? 2 : 1], target = argv[names ? 3 : 2];
    std::string text;
    if (!ReadFile(source, text)) {
        std::fprintf(stderr, "%s: cannot be read\n", source.c_str());
        return 1;
    }
    std::string out, faults;
    if (names) {
        out = NamesHeader(source, text, faults);
        std::string before;
        if (faults.empty() && ReadFile(target, before) && before == out) return 0;  // no rebuild
    }
    out.reserve(text.size() + text.size() / 16);
    int lineNo = 1;
    for (std::size_t start = 0; !names && start < text.size(); ++lineNo) {
        std::size_t end = text.find('\n', start);
        const bool ended = end != std::string::npos;
        if (!ended) end = text.size();
        const std::string_view line =
            SplitMark(std::string_view(text).substr(start, end - start)).text;
        faults += LineFaults(source, lineNo, line);
        out += cp932::FromUtf8(line);
        if (ended) out += "\r\n";
        start = end + 1;
    }
    if (!faults.empty()) {
        std::fprintf(stderr, "%s%s: not written\n", faults.c_str(), target.c_str());
        return 1;
    }
    if (!WriteFile(target, out)) {
        std::fprintf(stderr, "%s: cannot be written\n", target.c_str());
        return 1;
    }
    return 0;
}
