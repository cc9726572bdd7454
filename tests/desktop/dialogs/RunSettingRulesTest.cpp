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
using R = RunSettingRules;
using test::ErrorNumber;

class RunSettingRulesTest : public ::testing::Test {
  protected:
    void Write(const std::string& key, std::string value, const std::string& section = "MSizeSet") {
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

    test::TempFolder folder_;
    ScriptedUi ui_;
    RunSettingRules rules_;
};

TEST_F(RunSettingRulesTest, PresetsEndAtTheFirstMissingKeyAndEmptyCapacitiesGiveWay) {
    EXPECT_EQ(PresetNames(), Names{""});
    Write("0", "CD#650000000");
    Write("1", "DVD#4700000000");
    Write("3", "BD#25000000000");
    EXPECT_EQ(PresetNames(), (Names{"CD", "DVD"}));
    EXPECT_EQ(rules_.Presets()[1].capacity, 4700000000.0);
    // A first preset without a capacity is overwritten by the next one.
    Write("0", "none#0");
    Write("1", "also none#-5");
    Write("2", "DVD#4700000000");
    Write("3", "zero#0");
    EXPECT_EQ(PresetNames(), (Names{"DVD", "zero"}));

    // One that cannot be read fails; the presets before it are still offered.
    Write("0", "DVD#4700000000");
    Write("1", "BD");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 5);
    EXPECT_EQ(rules_.Presets().size(), 1u);
    Write("0", "CD#lots");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 13);
}

TEST_F(RunSettingRulesTest, BoxesTakeDigitsShowPlainNumbersWhileFocusedAndFormatThemAfter) {
    for (const char* typed : {"0", "9", "\b", "", "\x16", "\x7f"})
        EXPECT_TRUE(R::AcceptsTyped(typed)) << typed;
    for (const char* typed : {"a", ",", ".", "-", " ", "１", "ab"})
        EXPECT_FALSE(R::AcceptsTyped(typed)) << typed;

    const std::pair<const char*, const char*> focused[] = {{"650,000,000", "650000000"},
                                                           {"1,234.9", "1234"},
                                                           {"-12.5", "-12"},
                                                           {"1e24", "1000000000000000000000000"},
                                                           {"DVD-R (4.7GB)", "DVD-R (4.7GB)"}};
    for (const auto& [text, shown] : focused)
        EXPECT_EQ(R::FocusedText(text), shown);

    // Counts are capped; sizes from one yotta byte on are refused as typed.
    const struct {
        SettingBox box;
        const char* text;
        const char* left;
        bool refused;
    } left[] = {
        {SettingBox::MinFile, "40000", "32,766", false},
        {SettingBox::MediaNum, "1e30", nullptr, false},
        {SettingBox::MediaSize, "1000000000000000000000000", "1000000000000000000000000", true},
        {SettingBox::DiffSize, "999999999999999", "999,999,999,999,999", false},
        {SettingBox::MediaSize, "DVD", "DVD", false},
        {SettingBox::MediaNum, "", "", false},
    };
    for (const auto& c : left) {
        const LeftBoxText shown = R::LeftText(c.box, c.text);
        EXPECT_EQ(shown.refused, c.refused) << c.text;
        EXPECT_TRUE(!c.left || shown.text == c.left) << c.text << ": " << shown.text;
    }

    EXPECT_EQ(ErrorNumber([] { R::RecordOf({"DVD", "", "1", "1", "0", false}); }), 13);
    EXPECT_EQ(ErrorNumber([] { R::RecordOf({"DVD", "0", "40000", "1", "0", false}); }), 6);
}

TEST_F(RunSettingRulesTest, RulesAreCheckedInOrderAndNameTheirBox) {
    Write("0", "CD#650000000");
    // Each case breaks the rule it names and every rule after it; "cd" is no
    // preset name, which is told as it is looked up.
    const struct {
        std::string mediaSize;
        double diffSize;
        int16_t mediaNum;
        int16_t minFile;
        int message;  // 0: taken
        SettingBox focus;
    } cases[] = {
        {"0", 10, 0, 5, 41035, SettingBox::MediaSize},
        {"1,000", 10, 0, 5, 41036, SettingBox::MediaNum},
        {"1,000", 1000, -1, 5, 41037, SettingBox::MediaSize},
        {"1,000", 999, -1, 5, 41038, SettingBox::MaxFile},
        {"1,000", 999, -1, 2, 41038, SettingBox::MaxFile},
        {"1,000", 999, -1, 1, 0, SettingBox::MediaSize},
        {"CD", 649999999, 1, 1, 0, SettingBox::MediaSize},
        {"cd", 10, 1, 1, 41035, SettingBox::MediaSize},
    };
    ui_.Answer(MsgResult::OK);
    for (const auto& c : cases) {
        const RunSettings settings{c.mediaSize, c.diffSize, c.mediaNum, 2, c.minFile, false, 0, ""};
        const auto refusal = R::Check(settings);
        EXPECT_EQ(refusal ? refusal->message : 0, c.message) << c.mediaSize << " " << c.diffSize;
        EXPECT_EQ(refusal ? refusal->focus : c.focus, c.focus) << c.message;
    }
    EXPECT_EQ(ui_.OnlyBoxText(), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました");
}

TEST_F(RunSettingRulesTest, AutoProposesAThousandthOfTheCapacityRoundedDown) {
    Write("0", "CD-R 74分 (650MB)#681984000");
    rules_.LoadPresets();
    const std::pair<const char*, const char*> cases[] = {{"650,000,000", "650,000"},
                                                         {"999", "0"},
                                                         {"CD-R 74分 (650MB)", "681,984"},
                                                         {"cd-r 74分 (650MB)", "0"},
                                                         {"", "0"}};
    for (const auto& [capacity, tolerance] : cases)
        EXPECT_EQ(rules_.AutoTolerance(capacity), tolerance) << capacity;
}

TEST_F(RunSettingRulesTest, DefaultsAreStoredAsShownAndAnEmptyBoxLeavesItsKey) {
    Write("DiffSize", "12345", "DEFAULT_SET_RUN");
    EXPECT_TRUE(R::StoreDefaults({"DVD", "", "32,766", "1,000", "0", true,
                                  PackingMethod::FewestMedia, true, 3, "/media/burn"}));
    EXPECT_EQ(Stored(), "1 DVD 12345 32,766 1,000 0 1 1 3 /media/burn");
    EXPECT_TRUE(R::StoreDefaults({"", "5", "", "", "", false}));
    EXPECT_EQ(Stored(), "0 DVD 5 32,766 1,000 0 0 0 0 /media/burn");

    std::filesystem::remove(folder_.Settings());
    std::filesystem::create_directory(folder_.Settings());
    EXPECT_FALSE(R::StoreDefaults({"DVD", "5", "1", "1", "0", false}));
}

}  // namespace
}  // namespace zv
