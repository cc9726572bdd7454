#include <gtest/gtest.h>

#include <cstdlib>

#include "core/settings/IniAccess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(IniAccessDeathTest, NeedsAFileAndASectionBeforeAnything) {
    // The threadsafe style runs the statement in a newly started process, where
    // nothing has been selected yet; selecting touches no file.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string value;
            const bool noFile = IniAccess(IniSelect, "A", "", value, "");
            const bool noSection = IniAccess(IniSelect, "", "", value, "/nowhere/zarvopack.dat");
            const bool fileRemembered = IniAccess(IniSelect, "A", "", value, "");
            std::exit(!noFile && !noSection && fileRemembered ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(IniAccessTest, RemembersFileAndSectionAcrossCalls) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[A]\nk=from a\n[B]\nk=from b\n");
    std::string value = "unchanged";

    // An empty key fails, but the section and file it named stay selected.
    EXPECT_FALSE(IniAccess(IniRead, "B", "", value, folder.Settings()));
    EXPECT_EQ(value, "unchanged");
    EXPECT_TRUE(IniAccess(IniRead, "", "k", value, ""));
    EXPECT_EQ(value, "from b");
    EXPECT_TRUE(IniAccess(IniSelect, "A", "", value, ""));
    EXPECT_TRUE(IniAccess(IniRead, "", "k", value, ""));
    EXPECT_EQ(value, "from a");
    value = "kept";
    EXPECT_FALSE(IniAccess(IniRead, "", "missing", value, ""));
    EXPECT_EQ(value, "kept");
}

// Values are written into fields of 256 characters, blank padded; a longer
// one is cut to 256 characters (768 bytes), of which a reader sees 255 bytes.
TEST(IniAccessTest, WritesBlankPaddedFieldsThatReadBackAlone) {
    test::TempFolder folder;
    std::string value = "ﾄﾞﾗｲﾌﾞ 12";
    EXPECT_FALSE(IniAccess(IniRead, "LASTMAINFORM", "TOP", value, folder.Settings()))
        << "no file yet";
    ASSERT_TRUE(IniAccess(IniWrite, "", "TOP", value, ""));
    std::string field256;
    for (int i = 0; i < 256; ++i)
        field256 += "ｱ";
    std::string overlong = field256 + "ｱｱｱｱ";
    ASSERT_TRUE(IniAccess(IniWrite, "", "LONG", overlong, ""));

    EXPECT_EQ(
        test::ReadBytes(folder.Settings()),
        "[LASTMAINFORM]\nTOP=ﾄﾞﾗｲﾌﾞ 12" + std::string(247, ' ') + "\nLONG=" + field256 + "\n");
    std::string read;
    ASSERT_TRUE(IniAccess(IniRead, "", "TOP", read, ""));
    EXPECT_EQ(read, value);
    ASSERT_TRUE(IniAccess(IniRead, "", "LONG", read, ""));
    EXPECT_EQ(read, field256.substr(0, 255));
}

}  // namespace
}  // namespace zv
