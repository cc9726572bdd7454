#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/IniAccess.h"
#include "desktop/dialogs/RunSettingRules.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Names = std::vector<std::string>;

using test::ErrorNumber;

class RunSettingRulesTest : public ::testing::Test {
  protected:
    void Write(const std::string& section, const std::string& key, std::string value) {
        ASSERT_TRUE(IniAccess(IniWrite, section, key, value, folder_.Settings()));
    }
    // The stored defaults, blank-separated, the method first.
    std::string Stored() {
        std::string all;
        for (const char* key : {"Method", "MediaSize", "DiffSize", "MediaNum", "MaxFile", "MinFile",
                                "MaxSpeed", "FsAllowance", "AfterRun", "AfterPath"}) {
            std::string value;
            IniAccess(IniRead, "DEFAULT_SET_RUN", key, value, folder_.Settings());
            all += (all.empty() ? "" : " ") + value;
        }
        return all;
    }
    Names PresetNames() {
        rules_.LoadPresets();
        Names names;
        for (const SizePreset& preset : rules_.Presets())
            names.push_back(preset.name);
        return names;
    }
    // Settings that pass every rule: 1,000 bytes, a tolerance of 10, one medium.
    static RunSettings Valid() { return {"1000", 10, 1, 2, 1, false, 0, ""}; }
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
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 5);
    Write("MSizeSet", "0", "CD#lots");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 13);
    // The presets before the broken one are still offered.
    Write("MSizeSet", "0", "DVD#4700000000");
    Write("MSizeSet", "1", "BD");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 5);
    EXPECT_EQ(rules_.Presets().size(), 1u);
    EXPECT_EQ(rules_.Presets()[0].name, "DVD");
}

TEST_F(RunSettingRulesTest, NumberBoxesTakeDigitsAndEditingKeysOnly) {
    for (const char* typed : {"0", "9", "\b", "", "\x16", "\x7f"})
        EXPECT_TRUE(RunSettingRules::AcceptsTyped(typed)) << typed;
    for (const char* typed : {"a", ",", ".", "-", " ", "１", "ab"})
        EXPECT_FALSE(RunSettingRules::AcceptsTyped(typed)) << typed;
}

TEST_F(RunSettingRulesTest, FocusShowsPlainWholeNumbersAndLeavingFormatsThem) {
    EXPECT_EQ(RunSettingRules::FocusedText("650,000,000"), "650000000");
    EXPECT_EQ(RunSettingRules::FocusedText("1,234.9"), "1234");
    EXPECT_EQ(RunSettingRules::FocusedText("-12.5"), "-12");
    EXPECT_EQ(RunSettingRules::FocusedText("1e24"), "1000000000000000000000000");
    EXPECT_EQ(RunSettingRules::FocusedText("DVD-R (4.7GB)"), "DVD-R (4.7GB)");

    // Counts are capped; sizes from one yotta byte on are refused as typed.
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MinFile, "40000").text, "32,766");
    EXPECT_FALSE(RunSettingRules::LeftText(SettingBox::MediaNum, "1e30").refused);
    const LeftBoxText yotta =
        RunSettingRules::LeftText(SettingBox::MediaSize, "1000000000000000000000000");
    EXPECT_TRUE(yotta.refused);
    EXPECT_EQ(yotta.text, "1000000000000000000000000");
    const LeftBoxText less = RunSettingRules::LeftText(SettingBox::DiffSize, "999999999999999");
    EXPECT_FALSE(less.refused);
    EXPECT_EQ(less.text, "999,999,999,999,999");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MediaSize, "DVD").text, "DVD");
    EXPECT_EQ(RunSettingRules::LeftText(SettingBox::MediaNum, "").text, "");
}

TEST_F(RunSettingRulesTest, ABoxThatDoesNotConvertFails) {
    EXPECT_EQ(ErrorNumber([] {
                  RunSettingRules::RecordOf({"DVD", "", "1", "1", "0", false});
              }),
              13);
    EXPECT_EQ(ErrorNumber([] {
                  RunSettingRules::RecordOf({"DVD", "0", "40000", "1", "0", false});
              }),
              6);
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
    rules_.LoadPresets();
    EXPECT_EQ(rules_.AutoTolerance("650,000,000"), "650,000");
    EXPECT_EQ(rules_.AutoTolerance("999"), "0");
    EXPECT_EQ(rules_.AutoTolerance("CD-R 74分 (650MB)"), "681,984");
    EXPECT_EQ(rules_.AutoTolerance("cd-r 74分 (650MB)"), "0");
    EXPECT_EQ(rules_.AutoTolerance(""), "0");
}

TEST_F(RunSettingRulesTest, DefaultsAreStoredAsShownAndAnEmptyBoxLeavesItsKey) {
    Write("DEFAULT_SET_RUN", "DiffSize", "12345");
    EXPECT_TRUE(
        RunSettingRules::StoreDefaults({"DVD", "", "32,766", "1,000", "0", true,
                                        PackingMethod::FewestMedia, true, 3, "/media/burn"}));
    EXPECT_EQ(Stored(), "1 DVD 12345 32,766 1,000 0 1 1 3 /media/burn");
    EXPECT_TRUE(RunSettingRules::StoreDefaults({"", "5", "", "", "", false}));
    EXPECT_EQ(Stored(), "0 DVD 5 32,766 1,000 0 0 0 0 /media/burn");

    std::filesystem::remove(folder_.Settings());
    std::filesystem::create_directory(folder_.Settings());
    EXPECT_FALSE(RunSettingRules::StoreDefaults({"DVD", "5", "1", "1", "0", false}));
}

}  // namespace
}  // namespace zv
