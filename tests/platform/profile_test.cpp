#include "platform/profile.h"

#include <climits>
#include <filesystem>
#include <string>

#include "platform/cp932.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A settings file as another program (or a hand edit) may leave it: LF-only lines, blanks, a
// comment, a line before the first section, a key without "=", a value holding "=".
const char kTolerant[] =
    "orphan=before any section\n"
    "; comment line\n"
    "\n"
    "  [ MenuMain ]  \n"
    "Top = 1200\n"
    "\tLeft\t=  -300  \n"
    "just a line\n"
    ";Width=1\n"
    "Equation=a=b\n"
    "Empty=\n"
    "[FileName]\r\n"
    "FileName1=/home/u/a.kvt\r\n"
    "[menumain]\n"
    "Top=9999\n";

TEST(GetIniString, ReadsTheUsualTextTolerantly) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    WriteBytes(ini, kTolerant);
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"MenuMain", "Top", "1200"},  // the first section of a name counts
        {"MENUMAIN", "top", "1200"},
        {"MenuMain", "Left", "-300"},
        {"MenuMain", "Equation", "a=b"},
        {"MenuMain", "Empty", ""},
        {"MenuMain", "Width", ""},  // commented out
        {"MenuMain", "just a line", ""},
        {"MenuMain", "orphan", ""},
        {"FileName", "FileName1", "/home/u/a.kvt"},
        {"FileName", "Top", ""},
        {"Absent", "Top", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetIniString(c.section, c.key, ini), c.expected) << c.section << "/" << c.key;
    }
}

TEST(GetIniString, MarkOfATextEditorBeforeTheFirstSection) {
    TempDir t;
    WriteBytes(t.file("Kuvelt.INI"), "\xEF\xBB\xBF[Chapter]\r\nMethod=2\r\n");
    EXPECT_EQ(CPrivateProfile::GetValueLong(t.file("Kuvelt.INI"), "Chapter", "Method"), 2);
}

TEST(GetIniString, MissingOrUnusableFilesReadAsEmpty) {
    TempDir t;
    EXPECT_EQ(GetIniString("MenuMain", "Top", t.file("none.ini")), "");
    EXPECT_EQ(GetIniString("MenuMain", "Top", t.file("nofolder/none.ini")), "");
    EXPECT_EQ(GetIniString("MenuMain", "Top", t.path().string()), "");
    // Over 4 MiB the file is not read at all.
    std::string big = "[MenuMain]\r\nTop=5\r\n";
    big.append((4u << 20) + 1 - big.size(), ';');
    WriteBytes(t.file("big.ini"), big);
    EXPECT_EQ(GetIniString("MenuMain", "Top", t.file("big.ini")), "");
    big.resize(4u << 20);
    WriteBytes(t.file("limit.ini"), big);
    EXPECT_EQ(GetIniString("MenuMain", "Top", t.file("limit.ini")), "5");
}

TEST(GetIniString, LongValuesComeBackInFull) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    const std::string path = "/home/user/" + std::string(300, 'd') + "/設計.kvt";
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "FileName", "FileName1", path));
    EXPECT_EQ(CPrivateProfile::GetValueString(ini, "FileName", "FileName1"), path);
}

TEST(CPrivateProfile, TextIsCodePage932WithCrLfOnDisk) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "FileName", "InitDir", "/データ/ゾーン"));
    EXPECT_EQ(ReadBytes(ini),
              "[FileName]\r\nInitDir=" + cp932::FromUtf8("/データ/ゾーン") + "\r\n");
    EXPECT_EQ(CPrivateProfile::GetValueString(ini, "filename", "INITDIR"), "/データ/ゾーン");
    // "ゾ" ends with the byte of "]" and "ー" with the byte of "[": names holding them still
    // parse as one section.
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "ゾーン", "キー", "値"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "ゾーン", "キー2", "値2"));
    EXPECT_EQ(CPrivateProfile::GetValueString(ini, "ゾーン", "キー"), "値");
    EXPECT_EQ(CPrivateProfile::GetValueString(ini, "ゾーン", "キー2"), "値2");
    EXPECT_EQ(CPrivateProfile::GetValueString(ini, "ゾ", "キー"), "");
}

TEST(CPrivateProfile, WritingKeepsEverythingElseInPlace) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    WriteBytes(ini,
               "; settings\r\n"
               "[MenuMain]\r\n"
               "Top=10\r\n"
               "Left=20\r\n"
               "\r\n"
               "[Chapter]\r\n"
               "Method=1\r\n"
               "raw \x81\x5B\xFF bytes\r\n");
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "menumain", "TOP", "11"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "MenuMain", "Width", "30"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "Printer", "MarginTop(mm)", "5"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "Chapter", "Init", "2"));
    EXPECT_EQ(ReadBytes(ini),
              "; settings\r\n"
              "[MenuMain]\r\n"
              "Top=11\r\n"
              "Left=20\r\n"
              "Width=30\r\n"
              "\r\n"
              "[Chapter]\r\n"
              "Method=1\r\n"
              "raw \x81\x5B\xFF bytes\r\n"
              "Init=2\r\n"
              "[Printer]\r\n"
              "MarginTop(mm)=5\r\n");
}

TEST(CPrivateProfile, LfOnlyFileIsRewrittenWithCrLf) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    WriteBytes(ini, "[A]\nx = 1\ny=2");
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "A", "x", "3"));
    EXPECT_EQ(ReadBytes(ini), "[A]\r\nx=3\r\ny=2\r\n");
}

TEST(CPrivateProfile, CreatesNoFolderAndRefusesUnreadableFiles) {
    TempDir t;
    EXPECT_FALSE(CPrivateProfile::SetValueString(t.file("nofolder/Kuvelt.INI"), "A", "k", "v"));
    EXPECT_FALSE(fs::exists(t.path() / "nofolder"));
    EXPECT_FALSE(CPrivateProfile::SetValueString(t.path().string(), "A", "k", "v"));
    // A file too large to read is not replaced by a file holding one key.
    std::string big(5u << 20, ';');
    WriteBytes(t.file("big.ini"), big);
    EXPECT_FALSE(CPrivateProfile::SetValueString(t.file("big.ini"), "A", "k", "v"));
    EXPECT_EQ(fs::file_size(t.path() / "big.ini"), big.size());
}

TEST(CPrivateProfile, RefusesNamesAndValuesThatWouldBreakTheFile) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "A", "k", "v"));
    const std::string before = ReadBytes(ini);
    const struct {
        const char* name;
        std::string section, key, value;
    } cases[] = {
        {"empty section", "", "k", "v"},
        {"empty key", "A", " ", "v"},
        {"bracket in section", "A]x", "k", "v"},
        {"equals in key", "A", "k=1", "v"},
        {"key like a section", "A", "[B]", "v"},
        {"key like a comment", "A", ";k", "v"},
        {"line feed in value", "A", "k", "v\n[Injected]"},
        {"carriage return in key", "A", "k\r", "v"},
        {"NUL in value", "A", "k", std::string("v\0w", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(CPrivateProfile::SetValueString(ini, c.section, c.key, c.value)) << c.name;
    }
    EXPECT_EQ(ReadBytes(ini), before);
}

TEST(CPrivateProfile, GetValueLongTakesTheLeadingInteger) {
    TempDir t;
    const std::string ini = t.file("Kuvelt.INI");
    const struct {
        const char* value;
        int32_t expected;
    } cases[] = {
        {"12", 12},
        {"-5", -5},
        {"+7", 7},
        {"  42  ", 42},
        {"12abc", 12},
        {"3.9", 3},
        {"1.5E+03", 1},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
        {"-99999999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CPrivateProfile::SetValueString(ini, "Chapter", "Method", c.value));
        EXPECT_EQ(CPrivateProfile::GetValueLong(ini, "Chapter", "Method"), c.expected)
            << '"' << c.value << '"';
    }
    EXPECT_EQ(CPrivateProfile::GetValueLong(ini, "Chapter", "Missing"), 0);
    EXPECT_EQ(CPrivateProfile::GetValueLong(t.file("none.ini"), "Chapter", "Method"), 0);
}

}  // namespace
}  // namespace kuvelt
