// The installed report format file: the build makes the code page 932 file from its UTF-8 source
// and installs it, every section the chapters read is there with its lines, no line is wider than
// the page, and the number fields hold the values of the input ranges without losing digits.
#include <gtest/gtest.h>

#include <regex>

#include "platform/cp932.h"
#include "report/chapters/chapter_common.h"
#include "report/format_lines.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;

std::string FormatBytes() { return test::ReadBytes((test::ProgramDir() / "Kuvelt.FMT").string()); }

// The UTF-8 source with the line ends of the file made from it and without the names of its
// sections and lines (a tab, "@" and the name at a line's end).
std::string SourceWithCrLf() {
    const std::string source =
        std::regex_replace(test::ReadBytes((test::SourceDir() / "data/Kuvelt.FMT.txt").string()),
                           std::regex("\t@[A-Za-z0-9_]+(\n|$)"), "$1");
    std::string crlf;
    for (char ch : source) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    return crlf;
}

// The file the build made is the source, every character in code page 932 and read back as
// written.
TEST(FormatFile, IsItsUtf8SourceInCodePage932) {
    const std::string fmt = FormatBytes(), crlf = SourceWithCrLf();
    bool exact = false, readBack = false;
    EXPECT_EQ(cp932::FromUtf8(crlf, &exact), fmt);
    EXPECT_TRUE(exact);
    EXPECT_EQ(cp932::ToUtf8(fmt, &readBack), crlf);
    EXPECT_TRUE(readBack);
}

// An installation gets the files of the build's program folder: the format file made from its
// source, the others as they are in the tree.
TEST(FormatFile, InstalledDataFilesAreTheBuilds) {
    test::TempDir prefix;
    const test::ProgramRun r =
        test::RunProgram(KUVELT_CMAKE_COMMAND, {"--install", KUVELT_BUILD_DIR, "--component",
                                                "kuvelt_data", "--prefix", prefix.path().string()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::filesystem::path installed = prefix.path() / "lib" / "kuvelt";
    EXPECT_EQ(test::ReadBytes((installed / "Kuvelt.FMT").string()),
              cp932::FromUtf8(SourceWithCrLf()));
    for (const char* f : {"LINE_PRN.DEF", "STR_PRN.DEF", "kuvelt-design.schema.json"}) {
        EXPECT_EQ(test::ReadBytes((installed / f).string()),
                  test::ReadBytes((test::SourceDir() / "data" / f).string()))
            << f;
    }
}

// A source that would not print as the author wrote it is refused with the place of each fault,
// and the file made from an earlier source stays as it was.
TEST(FormatFile, MakerRefusesWhatWouldNotPrintAsWritten) {
    struct Case {
        const char* name;
        std::string source;
        std::vector<std::string> said;
    } cases[] = {
        {"no code page 932 form", "設計条件\n  1 1Café\nEnd\n", {"src.txt:2:9: "}},
        {"two faults, each named", "é\n設計条件 ☃\n", {"src.txt:1:1: ", "src.txt:2:6: "}},
        {"read back as another character", "  1 0〜 ¥\n", {"src.txt:1:6: ", "src.txt:1:8: "}},
        {"not UTF-8", "End\n\x81\x40\n", {"src.txt:2:1: "}},
        {"CR LF from an editor", "設計条件\r\nEnd\r\n", {"src.txt:1:5: CR", "src.txt:2:4: CR"}},
        {"byte order mark", "\xEF\xBB\xBF設計条件\n", {"src.txt:1:1: "}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir.file("src.txt"), c.source);
        test::WriteBytes(dir.file("out.FMT"), "earlier");
        const test::ProgramRun r =
            test::RunProgram(KUVELT_MAKE_FORMAT_FILE, {dir.file("src.txt"), dir.file("out.FMT")});
        EXPECT_EQ(r.status, 1) << c.name;
        for (const std::string& s : c.said) {
            EXPECT_NE(r.err.find(dir.file(s)), std::string::npos) << c.name << ": " << s << " in\n"
                                                                  << r.err;
        }
        EXPECT_EQ(test::ReadBytes(dir.file("out.FMT")), "earlier") << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << c.name;
    }
}

// The names of sections and lines stay in the source: the file gets the lines without them, the
// header the named constants; a name that is no C++ name, given twice or given to a line without a
// number is refused with its place.
TEST(FormatFile, MakerNamesSectionsAndLines) {
    test::TempDir dir;
    test::WriteBytes(dir.file("src.txt"),
                     "' 注\n表紙\n  1 0表\nEnd\n設計条件\t@jyoken\n  1 1設計条件\t@kTitle\n"
                     "  2 0件名：&  &  \t@kSubject\nEnd\n");
    ASSERT_EQ(test::RunProgram(KUVELT_MAKE_FORMAT_FILE, {dir.file("src.txt"), dir.file("out.FMT")})
                  .status,
              0);
    EXPECT_EQ(cp932::ToUtf8(test::ReadBytes(dir.file("out.FMT"))),
              "' 注\r\n表紙\r\n  1 0表\r\nEnd\r\n設計条件\r\n  1 1設計条件\r\n  2 0件名：&  &  "
              "\r\nEnd\r\n");
    const auto names = [&] {
        return test::RunProgram(KUVELT_MAKE_FORMAT_FILE,
                                {"--names", dir.file("src.txt"), dir.file("names.h")});
    };
    ASSERT_EQ(names().status, 0);
    const std::string header = test::ReadBytes(dir.file("names.h"));
    for (const char* want :
         {"namespace jyoken {\ninline constexpr std::string_view kSection = \"設計条件\";\n"
          "inline constexpr int32_t kTitle = 1;\ninline constexpr int32_t kSubject = 2;\n}",
          "{\"設計条件\", \"jyoken::kSubject\", 2},"})
        EXPECT_NE(header.find(want), std::string::npos) << want << " in\n" << header;
    EXPECT_EQ(header.find("表紙"), std::string::npos) << "an unnamed section has no namespace";
    const struct {
        const char* source;
        const char* said;
    } faults[] = {{"設計条件\t@jyoken\n  1 1設計条件\t@1st\nEnd\n", "src.txt:2: "},
                  {"設計条件\t@jyoken\n  1 1a\t@kA\n  2 1b\t@kA\nEnd\n", "src.txt:3: "},
                  {"設計条件\t@jyoken\n' 注\t@kNote\nEnd\n", "src.txt:2: "},
                  {"設計条件\n  1 1設計条件\t@kTitle\nEnd\n", "src.txt:2: "}};
    for (const auto& f : faults) {
        test::WriteBytes(dir.file("src.txt"), f.source);
        const test::ProgramRun r = names();
        EXPECT_EQ(r.status, 1) << f.source;
        EXPECT_NE(r.err.find(dir.file(f.said)), std::string::npos) << f.source << r.err;
        EXPECT_EQ(test::ReadBytes(dir.file("names.h")), header) << "left as it was";
    }
}

// Section name, the line numbers the chapters write from it.
struct SectionLines {
    const char* name;
    int first, last;
    std::vector<int> unused;
};

const std::vector<SectionLines>& Sections() {
    static const std::vector<SectionLines> s = {
        // The page of the standards and method before the chapters.
        {"適用基準・計算方法", 1, 43, {}},
        {"適用基準_参考とした計算方法", 1, 7, {}},
        {"適用基準_参考文献", 1, 2, {}},
    };
    return s;
}

// The lines the chapters address by name are in their sections, at the numbers the names stand
// for.
TEST(FormatFile, EveryNamedLineIsInItsSection) {
    const std::string bytes = FormatBytes();
    std::size_t named = 0;
    for (const fmt::NamedLine& n : fmt::kNamedLines) {
        LineLevelSlots levels{};
        LineTextSlots texts{};
        levels.fill(-1);
        ParseFormatSection(bytes, n.section, levels, texts);
        EXPECT_GE(levels.at(static_cast<std::size_t>(n.line)), 0) << n.section << " " << n.name;
        ++named;
    }
    EXPECT_GT(named, 50u);
}

TEST(FormatFile, EverySectionHasTheLinesTheChaptersWrite) {
    const std::string fmt = FormatBytes();
    for (const SectionLines& s : Sections()) {
        LineLevelSlots levels{};
        LineTextSlots texts{};
        levels.fill(-1);
        const int n = ParseFormatSection(fmt, s.name, levels, texts);
        const int expected = s.last - s.first + 1 - static_cast<int>(s.unused.size());
        EXPECT_EQ(n, expected) << s.name;
        for (int l = s.first; l <= s.last; ++l) {
            const bool unused = std::find(s.unused.begin(), s.unused.end(), l) != s.unused.end();
            EXPECT_EQ(levels[l] >= 0, !unused) << s.name << " line " << l;
        }
    }
}

// Page width: 100 columns with margins up to 10 and the body indent of 2; a heading carries
// its marker and a number of up to seven columns.
TEST(FormatFile, NoLineIsWiderThanThePage) {
    const std::string bytes = FormatBytes();
    for (const std::string_view name : fmt::kSections) {
        LineLevelSlots levels{};
        LineTextSlots texts{};
        ParseFormatSection(bytes, name, levels, texts);
        for (int l = 1; l <= kMaxSectionLines; ++l) {
            if (texts[l].empty()) continue;
            const std::size_t prefix = levels[l] == 0 ? 12 : 10 + 3 + 7;
            EXPECT_LE(prefix + cp932::ByteLength(texts[l]), 100u) << name << " line " << l;
        }
    }
}

std::string Line(const char* section, int n) {
    LineLevelSlots levels{};
    LineTextSlots texts{};
    ParseFormatSection(FormatBytes(), section, levels, texts);
    return texts[n];
}

// Extreme values of the input ranges and realistic results, filled into their lines: every
// digit must show.
TEST(FormatFile, FieldsHoldTheirValues) {
    struct Case {
        const char* section;
        int line;
        std::vector<double> values;
        std::vector<std::string> texts;
        std::vector<std::string> shown;
    } cases[] = {
        {"設計条件", 5, {-999.99}, {}, {"-999.990 m"}},
        {"設計条件", 9, {1998}, {}, {"1998.00 m"}},
        {"設計条件",
         2,
         {},
         {std::string(38, 'X') + "全角四十文字の件名もすべて表示できること。"},
         {"表示できること。"}},
        {"設計条件", 13, {999}, {}, {"999.0"}},
        {"表紙",
         2,
         {},
         {std::string(40, 'X') + "全角二十文字の件名が表紙にすべて出ること"},
         {"出ること"}},
        {"表紙",
         5,
         {},
         {"全角三十文字の工事名も表紙の一行にすべて書けることを確かめる"},
         {"確かめる"}},
        {"表紙", 10, {}, {"第12版（Ⅲ案）再照査"}, {"再照査"}},
        {"地盤条件", 14, {999999}, {}, {"999999 kN/m^3"}},
        {"地盤条件", 13, {999}, {}, {"999.0 kN/m^2"}},
        {"矢板壁諸元", 9, {86000}, {}, {"86000.0 cm^4/m"}},
        {"矢板壁諸元", 13, {99.99}, {"7 "}, {"99.99×10^7"}},
        {"矢板壁諸元", 19, {}, {"SP-ⅥL(ﾊｯﾄ型)"}, {"SP-ⅥL(ﾊｯﾄ型)"}},
        {"土圧_砂質土2", 12, {-999.999, 2500.5, 24000.25}, {}, {"-999.999", "2500.50", "24000.25"}},
        {"土圧_砂質土3",
         13,
         {99.99, 19.5, 1999.99, 45, 23.4567},
         {},
         {"99.99", "19.50", "1999.99", "45.0", "23.4567"}},
        {"土圧_粘性土2",
         7,
         {-999.99, 2500.5, 999.9, -1997.75, 1250.25, 1250.25},
         {},
         {"-999.99", "2500.50", "999.9", "-1997.75", "1250.25"}},
        {"土圧_粘性土3",
         7,
         {-999.99, 2500.5, 999.9, 4500.25},
         {},
         {"-999.99", "2500.50", "999.9", "4500.25"}},
        {"仮想地盤面",
         16,
         {-999.999, 2500.5, 99.9, 24000.25, -21399.85},
         {},
         {"-999.999", "24000.25", "-21399.85"}},
        {"仮想地盤面", 17, {50}, {}, {"50"}},
        {"矢板の設計_最大曲げﾓｰﾒﾝﾄ_1",
         12,
         {2400.5, 99.99, 12000.25, 99.999, 99.99, 166.659, 1999999.99},
         {"⑳"},
         {"⑳", "2400.50", "12000.25", "166.659", "1999999.99"}},
        {"矢板の設計_最大曲げﾓｰﾒﾝﾄ_1", 16, {99999.99, 9999999.99}, {}, {"99999.99", "9999999.99"}},
        {"矢板の設計_最大曲げﾓｰﾒﾝﾄ_2", 12, {-999999.9}, {}, {"-999999.9"}},
        {"矢板の設計_最大曲げﾓｰﾒﾝﾄ_2",
         24,
         {2.1, 0.00086, 0.8},
         {"11"},
         {"2.10×10^11 kN/m^2", "0.00086000", "0.80"}},
        {"矢板の設計_鋼矢板",
         8,
         {99999.9, 999},
         {"＞", "OUT"},
         {"99999.9", "＞", "999 N/mm^2", "OUT"}},
        {"矢板の設計_矢板根入長", 23, {120.5, 99.99}, {"≦", "OK"}, {"120.50", "≦", "99.99", "OK"}},
        {"矢板頭部",
         8,
         {12.345, 99.999, 555.555, 667.899, 1},
         {"＞", "OUT"},
         {"12.345", "99.999", "555.555", "667.899", "1.000"}},
        {"ﾎﾞｲﾘﾝｸﾞの検討", 7, {999, 9}, {"≧", "OK"}, {"999.000", "9.00", "≧", "OK"}},
        {"設計調書_断面力",
         5,
         {99.9999, -999999.9, 99.999},
         {},
         {"99.9999 1/m", "-999999.9 kN", "99.999 m"}},
        {"設計調書_比較表",
         8,
         {30, 12345.6, 999.9, 199.99, 99.9, 99.9, 123.456},
         {"◎", "SP-ⅥL(ﾊｯﾄ型)", "＊", "＊", "＊", "OUT"},
         {"◎ 30", "SP-ⅥL(ﾊｯﾄ型)", "12345.6＊", "999.9", "199.99＊", "99.9～99.9", "123.456＊"}},
        {"設計調書_比較表",
         14,
         {30, 12345.6, 199.99, 123.456},
         {"◎", "LSP-3A(t=4)", "＊", "＊", "OUT"},
         {"◎ 30", "LSP-3A(t=4)", "12345.6＊", "199.99", "123.456＊", "OUT"}},
    };
    for (const Case& c : cases) {
        FieldValueSlots v{};
        FieldTextSlots t{};
        for (std::size_t i = 0; i < c.values.size(); ++i) v[i + 1] = c.values[i];
        for (std::size_t i = 0; i < c.texts.size(); ++i) t[i + 1] = c.texts[i];
        const std::string tmpl = Line(c.section, c.line);
        ASSERT_FALSE(tmpl.empty()) << c.section << c.line;
        const std::string filled = cp932::ToUtf8(FillTemplate(tmpl, v, t));
        for (const std::string& s : c.shown) {
            EXPECT_NE(filled.find(s), std::string::npos)
                << c.section << " line " << c.line << ": " << s << " in\n"
                << filled;
        }
    }
}

TEST(ChapterHelpers, RowCountsRoundHalvesToEven) {
    struct Case {
        double x;
        int expected;
    } cases[] = {{12.25, 12}, {12.5, 12}, {12.75, 13}, {13.5, 14},
                 {13.25, 13}, {0.5, 0},   {-0.5, 0}};
    for (const Case& c : cases) EXPECT_EQ(chapters::RoundHalfEven(c.x), c.expected) << c.x;
}

TEST(ChapterHelpers, ModulusSplitsIntoMantissaAndExponent) {
    struct Case {
        double x, mantissa;
        const char* exponent;
    } cases[] = {{31000000, 3.1, "7 "},     {0.00052, 5.2, "-4"}, {0, 0, "0 "},
                 {2e11, 2, "11"},           {1000, 1, "3 "},      {-4.5e6, -4.5, "6 "},
                 {9.99999e5, 9.99999, "5 "}};
    for (const Case& c : cases) {
        double m = -1;
        std::string e;
        chapters::SplitExponent(c.x, m, e);
        EXPECT_NEAR(m, c.mantissa, 1e-12) << c.x;
        EXPECT_EQ(e, c.exponent) << c.x;
    }
}

}  // namespace
}  // namespace kuvelt
