#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/platform/PlatformError.h"
#include "core/strings/StringTable.h"

namespace zv {
namespace {

// Texts whose bytes are easily lost on the way into the program: line
// breaks, blanks at either end, and ASCII right after a multibyte character.
TEST(StringTableTest, TextsComeOutByteForByte) {
    const std::vector<std::pair<int, std::string>> expected = {
        {40026,
         "ﾃﾞｰﾀﾍﾞｰｽのｵｰﾌﾟﾝに失敗しました\r\nﾌｧｲﾙが正しく取得できませんでした\r\n\r\n"
         "-実行は中止されます- "},
        {40028, "ﾃﾞｰﾀの取得に失敗しました  "},
        {40045, " "},
        {40084, " 未処理分"},
        {60011, "履歴1"},
        {41028, "ｱｲﾃﾑ数が多すぎます\r\n32,766個以上のｱｲﾃﾑを処理することはできません"},
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(ResString(id), text) << "id " << id;
    }
    EXPECT_TRUE(ResString(4007).ends_with("ください\r\n"));
}

TEST(StringTableTest, MissingIdThrowsPlatformError326) {
    for (const int id : {0, 40018, 99999}) {
        EXPECT_FALSE(HasResString(id)) << id;
        try {
            ResString(id);
            ADD_FAILURE() << "no error for id " << id;
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), 326);
            EXPECT_EQ(error.Description(),
                      "識別子 " + std::to_string(id) + " のリソースが見つかりません。");
        }
    }
}

TEST(StringTableTest, ReferencesStayValidAcrossCalls) {
    const std::string& first = ResString(40097);
    ResString(60047);
    EXPECT_EQ(&first, &ResString(40097));
}

}  // namespace
}  // namespace zv
