#include <gtest/gtest.h>

#include <optional>

#include "core/settings/CapacityText.h"
#include "core/settings/SizeFromText.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(CapacityTextTest, UnitsAreDecimalAndDiscsNameTheSmallerOfTheirKinds) {
    const struct {
        const char* text;
        std::optional<double> bytes;
    } cases[] = {
        {"700M", 700e6},
        {"4.7G", 4.7e9},
        {"4.7GB", 4.7e9},
        {"25GB", 25e9},
        {" 4.7 gb ", 4.7e9},
        {"1,000k", 1e6},
        {"1P", 1e15},
        {"64KiB", 65536},
        {"4GiB", 4294967296},
        {"1.5B", 1},
        {"cd", 737280000},
        {"dvd", 4700372992},
        {"dvd-dl", 8543666176},
        {"bd", 25025314816},
        {"bd-dl", 50050629632},
        {"DVD", std::nullopt},
        {"700", std::nullopt},
        {"1e3", std::nullopt},
        {"G", std::nullopt},
        {"-1G", std::nullopt},
        {"4.7GG", std::nullopt},
        {"7X", std::nullopt},
        {"4.7Gi", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseCapacity(c.text), c.bytes) << c.text;
}

TEST(CapacityTextTest, NumbersAndPresetsComeBeforeUnitsAndDiscs) {
    const std::vector<SizePreset> presets = {{"cd", 1}, {"Mine", 5}};
    EXPECT_EQ(CapacityFromText("cd", presets), 1);
    EXPECT_EQ(CapacityFromText("Mine", presets), 5);
    EXPECT_EQ(CapacityFromText("1,000", presets), 1000);
    EXPECT_EQ(CapacityFromText("bd", presets), 25025314816);
    EXPECT_EQ(CapacityFromText("nothing", presets), std::nullopt);
}

// The desktop's run settings take the same forms, and refuse what no medium is.
TEST(CapacityTextTest, SizeFromTextTakesUnitsAndRefusesWhatNoMediumIs) {
    test::TempFolder folder;
    ScriptedUi ui;
    test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#650000000\n1=Broken\n");
    EXPECT_EQ(SizeFromText("4.7G"), 4.7e9) << "a broken preset ends the presets only";
    EXPECT_EQ(SizeFromText("CD"), 650000000);
    EXPECT_EQ(SizeFromText("99999999999999999999"), 0);
    EXPECT_EQ(SizeFromText("2P"), 0);
    EXPECT_EQ(SizeFromText("1P"), 1e15);
    EXPECT_TRUE(ui.Boxes().empty());
}

}  // namespace
}  // namespace zv
