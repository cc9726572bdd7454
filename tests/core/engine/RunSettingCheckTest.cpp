#include <gtest/gtest.h>

#include "core/engine/ResolveRunParameters.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

RunSettings Valid() {
    RunSettings settings;
    settings.MediaSize = "1,024";
    settings.DiffSize = 10;
    settings.MediaNum = 3;
    settings.MaxFile = 7;
    settings.MinFile = 1;
    settings.MaxSpeed = true;
    return settings;
}

TEST(RunSettingCheckTest, CapacitiesResolveAndEachRuleRefusesWithItsField) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#681984000\n1=Huge#2e15\n");
    RunParameters params;
    ASSERT_FALSE(ResolveRunParameters(Valid(), params));
    EXPECT_EQ(params.capacityBytes, 1024);
    EXPECT_EQ(params.tolerance, 10);
    EXPECT_EQ(params.mediaCount, 3);
    EXPECT_EQ(params.maxItems, 7);
    EXPECT_EQ(params.minItems, 1);
    EXPECT_TRUE(params.fastSearch);

    for (const auto& [text, bytes] :
         {std::pair<std::string, double>{"CD", 681984000}, {"4.7G", 4.7e9}, {"dvd", 4700372992}}) {
        RunSettings settings = Valid();
        settings.MediaSize = text;
        ASSERT_FALSE(ResolveRunParameters(settings, params)) << text;
        EXPECT_EQ(params.capacityBytes, bytes) << text;
    }

    using Rule = RunSettingRule;
    using Field = RunSettingField;
    const struct {
        void (*change)(RunSettings&);
        Rule rule;
        Field field;
        int message;
    } cases[] = {
        {[](RunSettings& s) { s.MediaSize = "Cd"; }, Rule::CapacityUnknown, Field::MediaSize,
         41035},
        {[](RunSettings& s) { s.MediaSize = "1e24"; }, Rule::CapacityTooLarge, Field::MediaSize,
         41300},
        {[](RunSettings& s) { s.MediaSize = "Huge"; }, Rule::CapacityTooLarge, Field::MediaSize,
         41300},
        {[](RunSettings& s) { s.MediaSize = "0"; }, Rule::CapacityNotPositive, Field::MediaSize,
         41035},
        {[](RunSettings& s) { s.MediaNum = 0; }, Rule::NoMediaCount, Field::MediaCount, 41036},
        {[](RunSettings& s) { s.DiffSize = -1; }, Rule::NegativeTolerance, Field::Tolerance, 41420},
        {[](RunSettings& s) { s.DiffSize = 1024; }, Rule::ToleranceTooLarge, Field::MediaSize,
         41037},
        {[](RunSettings& s) { s.MinFile = 7; }, Rule::MinItemsNotBelowMax, Field::MaxItems, 41038},
    };
    for (const auto& c : cases) {
        RunSettings settings = Valid();
        c.change(settings);
        const std::optional<RunSettingRefusal> refusal = CheckRunSettings(settings);
        ASSERT_TRUE(refusal) << settings.MediaSize;
        EXPECT_EQ(refusal->rule, c.rule) << settings.MediaSize;
        EXPECT_EQ(refusal->field, c.field) << settings.MediaSize;
        EXPECT_EQ(refusal->message, c.message) << settings.MediaSize;
    }
}

}  // namespace
}  // namespace zv
