// Section and key names with blanks around them: the writer stores them trimmed, so the reader
// must look them up trimmed too, or a value written under a padded name is lost on reading
// (found by fuzzing the settings reader and writer together).
#include <gtest/gtest.h>

#include <string>

#include "platform/profile.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

struct NameCase {
    const char* name;
    std::string section;
    std::string key;
};

class ProfileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProfileNames, PaddedNamesWriteAndReadTheSameEntry) {
    const NameCase& c = GetParam();
    test::TempDir t;
    const std::string file = t.file("k.ini");
    test::WriteBytes(file, "[Left]\r\nOther=1\r\n");
    ASSERT_TRUE(CPrivateProfile::SetValueString(file, c.section, c.key, "v 42"));
    EXPECT_EQ(CPrivateProfile::GetValueString(file, c.section, c.key), "v 42");
    EXPECT_EQ(CPrivateProfile::GetValueString(file, "Left", "42"), "v 42");
    EXPECT_EQ(GetIniString(c.section, c.key, file), "v 42");
    EXPECT_EQ(CPrivateProfile::GetValueString(file, c.section, "Other"), "1");
    EXPECT_EQ(test::ReadBytes(file), "[Left]\r\nOther=1\r\n42=v 42\r\n");
}

INSTANTIATE_TEST_SUITE_P(Names, ProfileNames,
                         ::testing::Values(NameCase{"Plain", "Left", "42"},
                                           NameCase{"PaddedKey", "Left", " 42 "},
                                           NameCase{"PaddedSection", "\tLeft ", "42"},
                                           NameCase{"BothPadded", " left", "42\t"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileNames, NumberUnderPaddedKeyReads) {
    test::TempDir t;
    const std::string file = t.file("n.ini");
    test::WriteBytes(file, "[MenuMain]\r\nTop=1200\r\n");
    EXPECT_EQ(CPrivateProfile::GetValueLong(file, " MenuMain ", " Top"), 1200);
    EXPECT_EQ(CPrivateProfile::GetValueString(file, "MenuMain", "  "), "");
}

}  // namespace
}  // namespace kuvelt
