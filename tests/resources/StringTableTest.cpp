#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/PlatformError.h"
#include "resources/StringTable.h"

namespace zv {
namespace {

TEST(StringTableTest, LineBreaksComeOutAsCarriageReturnLineFeed) {
    EXPECT_EQ(ResString(40024),
              "探索した最小ﾏｯﾁ数が最小ﾌｧｲﾙ数に満たなかった為\r\n"
              "１つのﾒﾃﾞｨｱも探索出来ずに処理を完了しました。\r\n"
              "対策として、最小ファイル数を低く設定することをお勧めします");
    EXPECT_EQ(ResString(40026),
              "ﾃﾞｰﾀﾍﾞｰｽのｵｰﾌﾟﾝに失敗しました\r\nﾌｧｲﾙが正しく取得できませんでした\r\n\r\n"
              "-実行は中止されます- ");
    EXPECT_TRUE(ResString(4007).ends_with("ください\r\n"));
}

TEST(StringTableTest, LeadingAndTrailingBlanksSurvive) {
    const std::vector<std::pair<int, std::string>> expected = {
        {40028, "ﾃﾞｰﾀの取得に失敗しました  "},
        {40045, " "},
        {40051, " "},
        {40075, " "},
        {40084, " 未処理分"},
        {40087, "表示数： "},
        {40088, " 登録数： "},
        {40091, " "},
        {1111, " "},
        {1113, " ﾊﾞｲﾄ"},
        {3303, " "},
        {4114, " "},
        {41005, " GB"},
        {41045, "Version "},
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(ResString(id), text) << "id " << id;
    }
}

TEST(StringTableTest, MissingIdThrowsPlatformError326) {
    for (const int id : {0, -1, 40018, 99999}) {
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
    EXPECT_TRUE(HasResString(40097));
}

TEST(StringTableTest, HoldsTheProgramTextsByteForByte) {
    const std::vector<std::pair<int, std::string>> expected = {
        {1100, "ﾌｨﾙﾀ："},
        {1123, "ﾊﾞｲﾄ"},
        {3100, "ﾌｨﾙﾀ(&S)："},
        {3200, "閉じる(&C)"},
        {3204, "ｷｬﾝｾﾙ"},
        {3300, "場所"},
        {3301, "ﾌｧｲﾙﾘｽﾄ"},
        {4003,
         "ﾒﾃﾞｨｱ1枚分の容量を決定します。(1 - "
         "<∞)\r\nﾌｧｲﾙはこの数値を超えない合計ｻｲｽﾞで検索されます\r\n"
         "初期に登録されているｻｲｽﾞはあくまで理論値ですので、\r\nﾒﾃﾞｨｱ自体の容量とは違う場合がありま"
         "す"},
        {4109, "最大ﾌｧｲﾙ数(&L):"},
        {4201, "閉じる(&C)"},
        {4206, "Auto"},
        {4400, "最速設定(&B)"},
        {40000, "'"},
        {40001, "'を"},
        {40002, "をﾘｽﾄから消去してよろしいですか？"},
        {40013, "「’」、「”」、「..」は名前に使用できません"},
        {40097, "無題"},
        {41000, "ﾘｽﾄ"},
        {41004, "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました"},
        {41021, "エラー"},
        {41028, "ｱｲﾃﾑ数が多すぎます\r\n32,766個以上のｱｲﾃﾑを処理することはできません"},
        {60011, "履歴1"},
        {60015, "履歴5"},
        {60017, "Zarvopackの終了(&X)"},
        {60041, "-"},
        {60047, "Zarvoの実行(&L)..."},
        {60068, "-"},
        {60100, "ﾌｧｲﾙ名"},
        {60104, "更新日"},
        {60110, "項目名"},
        {60111, "ｻｲｽﾞ"},
        {65101, "New"},
        {65201, "新規作成"},
        {65204, "サイズの表示"},
        {65215, "実行オプションの設定"},
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(ResString(id), text) << "id " << id;
    }
}

TEST(StringTableTest, EveryLabelAndMenuEntryHasACaption) {
    for (int k = 0; k <= 23; ++k) {
        EXPECT_TRUE(HasResString(1100 + k)) << "label " << k;
    }
    for (int k = 0; k <= 68; ++k) {
        EXPECT_TRUE(HasResString(60000 + k)) << "menu entry " << k;
    }
    EXPECT_FALSE(HasResString(60069));
}

// The main window reads the layout until the first missing entry; every
// button it creates needs a key and a tooltip.
TEST(StringTableTest, ToolbarLayoutGivesFifteenButtonsAndThreeSeparators) {
    std::vector<int> separators;
    int buttons = 0;
    int i = 0;
    for (; HasResString(65300 + i); ++i) {
        if (ResString(65300 + i) == "0") {
            separators.push_back(i + 1);
            continue;
        }
        ++buttons;
        EXPECT_TRUE(HasResString(65100 + buttons)) << "key of button " << buttons;
        EXPECT_TRUE(HasResString(65200 + buttons)) << "tooltip of button " << buttons;
    }
    EXPECT_EQ(i, 18);
    EXPECT_EQ(buttons, 15);
    EXPECT_EQ(separators, (std::vector<int>{4, 7, 14}));
    EXPECT_EQ(ResString(65100 + 12), "Start");
    EXPECT_EQ(ResString(65200 + 12), "実行開始");
}

}  // namespace
}  // namespace zv
