#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/RunSettingRules.h"
#include "platform/PlatformError.h"
#include "platform/ScriptedUi.h"
#include "shell/IniAccess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Names = std::vector<std::string>;

class RunSettingRulesTest : public ::testing::Test {
  protected:
    void Write(const std::string& section, const std::string& key, std::string value) {
        ASSERT_TRUE(IniAccess(IniWrite, section, key, value, folder_.Settings()));
    }
    std::string Read(const std::string& key) {
        std::string value;
        IniAccess(IniRead, "DEFAULT_SET_RUN", key, value, folder_.Settings());
        return value;
    }
    Names PresetNames() {
        rules_.LoadPresets();
        Names names;
        for (const SizePreset& preset : rules_.Presets())
            names.push_back(preset.name);
        return names;
    }
    RunSettings Valid() {
        RunSettings settings;
        settings.MediaSize = "1000";
        settings.DiffSize = 10;
        settings.MediaNum = 1;
        settings.MaxFile = 2;
        settings.MinFile = 1;
        return settings;
    }
    int RefusalOf(const RunSettings& settings, SettingBox focus) {
        const auto refusal = RunSettingRules::Check(settings);
        if (!refusal)
            return 0;
        EXPECT_EQ(refusal->focus, focus);
        return refusal->message;
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    RunSettingRules rules_;
};

TEST_F(RunSettingRulesTest, PresetsEndAtTheFirstMissingKeyAndEmptyCapacitiesGiveWay) {
    EXPECT_EQ(PresetNames(), Names{""});

    Write("MSizeSet", "0", "CD#650000000");
    Write("MSizeSet", "1", "DVD#4700000000");
    Write("MSizeSet", "3", "BD#25000000000");
    EXPECT_EQ(PresetNames(), (Names{"CD", "DVD"}));
    EXPECT_EQ(rules_.Presets()[1].capacity, 4700000000.0);

    // A first preset without a capacity is overwritten by the next one.
    Write("MSizeSet", "0", "none#0");
    Write("MSizeSet", "1", "also none#-5");
    Write("MSizeSet", "2", "DVD#4700000000");
    Write("MSizeSet", "3", "zero#0");
    EXPECT_EQ(PresetNames(), (Names{"DVD", "zero"}));
}

TEST_F(RunSettingRulesTest, APresetThatCannotBeReadFails) {
    Write("MSizeSet", "0", "CD");
    try {
        rules_.LoadPresets();
        FAIL() << "a preset without # was taken";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), 5);
    }
    Write("MSizeSet", "0", "CD#lots");
    try {
        rules_.LoadPresets();
        FAIL() << "a capacity that is no number was taken";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), 13);
    }
}

TEST_F(RunSettingRulesTest, NumberBoxesTakeDigitsAndEditingKeysOnly) {
    for (const char* typed : {"0", "7", "9", "\b", "", "\x16", "\x7f"})
        EXPECT_TRUE(RunSettingRules::AcceptsTyped(typed)) << typed;
    for (const char* typed : {"a", ",", ".", "-", " ", "１", "ab"})
        EXPECT_FALSE(RunSettingRules::AcceptsTyped(typed)) << typed;
}

TEST_F(RunSettingRulesTest, FocusShowsPlainWholeNumbersAndLeavingFormatsThem) {
    EXPECT_EQ(RunSettingRules::FocusedText("650,000,000"), "650000000");
    EXPECT_EQ(RunSettingRules::FocusedText("1,234.9"), "1234");
    EXPECT_EQ(RunSettingRules::FocusedText("1e24"), "1000000000000000000000000");
    EXPECT_EQ(RunSettingRules::FocusedText("-12.5"), "-12");
    EXPECT_EQ(RunSettingRules::FocusedText("0.5"), "0");
    EXPECT_EQ(RunSettingRules::FocusedText("DVD-R (4.7GB)"), "DVD-R (4.7GB)");

    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MediaNum, "40000").text, "32,766");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MinFile, "32766").text, "32,766");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MaxFile, "12").text, "12");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::DiffSize, "40000").text, "40,000");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MediaSize, "DVD").text, "DVD");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MediaNum, "").text, "");
}

TEST_F(RunSettingRulesTest, SizesFromOneYottaOnAreRefusedAsTyped) {
    for (const SettingBox box : {SettingBox::MediaSize, SettingBox::DiffSize}) {
        const LeftBoxText yotta = RunSettingRules::LeftText(box, "1000000000000000000000000");
        EXPECT_TRUE(yotta.refused);
        EXPECT_EQ(yotta.text, "1000000000000000000000000");
        const LeftBoxText less = RunSettingRules::LeftText(box, "999999999999999");
        EXPECT_FALSE(less.refused);
        EXPECT_EQ(less.text, "999,999,999,999,999");
    }
    // Counts are capped, never refused.
    EXPECT_FALSE(RunSettingRules::LeftText(SettingBox::MediaNum, "1e30").refused);
}

TEST_F(RunSettingRulesTest, TheRecordTakesTheBoxesAndSwitchesTheAfterRunActionOff) {
    const RunSettings settings =
        RunSettingRules::RecordOf({"DVD", "4,707,319", "32,766", "1,000", "0", true});
    RunSettings expected;
    expected.MediaSize = "DVD";
    expected.DiffSize = 4707319;
    expected.MediaNum = 32766;
    expected.MaxFile = 1000;
    expected.MinFile = 0;
    expected.MaxSpeed = true;
    expected.AfterRun = 0;
    expected.AfterPath = "";
    EXPECT_EQ(settings, expected);

    const auto failure = [](const RunSettingTexts& texts) {
        try {
            RunSettingRules::RecordOf(texts);
        } catch (const PlatformError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(failure({"DVD", "", "1", "1", "0", false}), 13);
    EXPECT_EQ(failure({"DVD", "0", "40000", "1", "0", false}), 6);
}

TEST_F(RunSettingRulesTest, RulesAreCheckedInOrderAndNameTheirBox) {
    EXPECT_EQ(RefusalOf(Valid(), SettingBox::MediaSize), 0);

    RunSettings settings = Valid();
    settings.MediaSize = "0";
    settings.MediaNum = 0;
    settings.MinFile = 5;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaSize), 41035);
    settings.MediaSize = "1,000";
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaNum), 41036);
    settings.MediaNum = -1;
    settings.DiffSize = 1000;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaSize), 41037);
    settings.DiffSize = 999;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MaxFile), 41038);
    settings.MinFile = 2;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MaxFile), 41038);
    settings.MinFile = 1;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaSize), 0);
}

TEST_F(RunSettingRulesTest, ACapacityNameIsLookedUpAmongThePresets) {
    Write("MSizeSet", "0", "CD#650000000");
    RunSettings settings = Valid();
    settings.MediaSize = "CD";
    settings.DiffSize = 649999999;
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaSize), 0);

    settings.MediaSize = "cd";
    ui_.Answer(MsgResult::OK);
    EXPECT_EQ(RefusalOf(settings, SettingBox::MediaSize), 41035);
    EXPECT_EQ(ui_.OnlyBoxText(), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました");
}

TEST_F(RunSettingRulesTest, AutoProposesAThousandthOfTheCapacityRoundedDown) {
    Write("MSizeSet", "0", "CD-R 74分 (650MB)#681984000");
    Write("MSizeSet", "1", "odd#1999999");
    rules_.LoadPresets();
    EXPECT_EQ(rules_.AutoTolerance("650,000,000"), "650,000");
    EXPECT_EQ(rules_.AutoTolerance("650000000"), "650,000");
    EXPECT_EQ(rules_.AutoTolerance("999"), "0");
    EXPECT_EQ(rules_.AutoTolerance("CD-R 74分 (650MB)"), "681,984");
    EXPECT_EQ(rules_.AutoTolerance("odd"), "1,999");
    EXPECT_EQ(rules_.AutoTolerance("cd-r 74分 (650MB)"), "0");
    EXPECT_EQ(rules_.AutoTolerance("0"), "0");
    EXPECT_EQ(rules_.AutoTolerance(""), "0");
}

TEST_F(RunSettingRulesTest, DefaultsAreStoredAsShownAndAnEmptyBoxLeavesItsKey) {
    Write("DEFAULT_SET_RUN", "DiffSize", "12345");
    EXPECT_TRUE(RunSettingRules::StoreDefaults({"DVD", "", "32,766", "1,000", "0", true}));
    EXPECT_EQ(Read("MediaSize"), "DVD");
    EXPECT_EQ(Read("DiffSize"), "12345");
    EXPECT_EQ(Read("MediaNum"), "32,766");
    EXPECT_EQ(Read("MaxFile"), "1,000");
    EXPECT_EQ(Read("MinFile"), "0");
    EXPECT_EQ(Read("MaxSpeed"), "1");
    EXPECT_EQ(Read("AfterRun"), "");

    EXPECT_TRUE(RunSettingRules::StoreDefaults({"", "5", "", "", "", false}));
    EXPECT_EQ(Read("MediaSize"), "DVD");
    EXPECT_EQ(Read("DiffSize"), "5");
    EXPECT_EQ(Read("MaxSpeed"), "0");
}

TEST_F(RunSettingRulesTest, StoringDefaultsFailsWhenTheFileCannotBeWritten) {
    std::filesystem::create_directory(folder_.Settings());
    EXPECT_FALSE(RunSettingRules::StoreDefaults({"DVD", "5", "1", "1", "0", false}));
}

TEST_F(RunSettingRulesTest, HelpComesFromTheSettingsFileOrTheBuiltInTexts) {
    EXPECT_EQ(RunSettingRules::HelpLabels(), (std::vector<int>{3, 5, 7, 9, 11, 15}));
    EXPECT_EQ(RunSettingRules::HelpText(15),
              "検索速度が最大限に上がり検出ﾌｧｲﾙ数が気持ち多くなります。(On:高速 Off:通常)\r\n"
              "これを設定すると、かなり速度は向上しますが検索機能に不具合があり\r\n"
              "あまりお勧めしません。");
    EXPECT_EQ(RunSettingRules::HelpText(7),
              "検索枚数の限度を指定します。(0 ～ 32,766)\r\n"
              "検索回数が減らせる事で検索時間を減らすことが可能ですが、\r\n"
              "基本的に検索枚数が多くなればなるほど検索速度があがっていきます。\r\n"
              "通常は最大の32,766枚で変更しないでください\r\n");
    Write("SettingComments", "7", "枚数の上限です");
    EXPECT_EQ(RunSettingRules::HelpText(7), "枚数の上限です");
    EXPECT_EQ(RunSettingRules::HelpText(9).rfind("1枚のﾒﾃﾞｨｱに入れることの出来る最大ﾌｧｲﾙ数", 0),
              0u);
}

}  // namespace
}  // namespace zv
