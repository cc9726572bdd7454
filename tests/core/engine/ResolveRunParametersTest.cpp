#include <gtest/gtest.h>

#include "core/engine/ResolveRunParameters.h"
#include "core/strings/StringTable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(ResolveRunParametersTest, NumbersAndPresetsResolveToBytesAndNothingStartsNoRun) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#681984000\n");
    RunSettings settings;
    settings.DiffSize = 10;
    settings.MediaNum = 3;
    settings.MaxFile = 7;
    settings.MinFile = 1;
    settings.MaxSpeed = true;
    settings.MediaSize = "1,024";
    RunParameters params;
    ASSERT_TRUE(ResolveRunParameters(settings, "/projects/a b.mtb", params));
    EXPECT_EQ(params.mediaSize, 1024);
    EXPECT_EQ(params.tolerance, 10);
    EXPECT_EQ(params.mediaCount, 3);
    EXPECT_EQ(params.maxItems, 7);
    EXPECT_EQ(params.minItems, 1);
    EXPECT_TRUE(params.fastSearch);
    EXPECT_EQ(params.projectFolder, "/projects");
    EXPECT_EQ(params.projectFileName, "a b.mtb");
    settings.MediaSize = "CD";
    ASSERT_TRUE(ResolveRunParameters(settings, "/p.mtb", params));
    EXPECT_EQ(params.mediaSize, 681984000);

    settings.MediaSize = "0";
    EXPECT_FALSE(ResolveRunParameters(settings, "/p.mtb", params));
    for (const std::string name : {"Cd", ""}) {
        ScriptedUi ui;
        ui.Answer(MsgResult::OK);
        settings.MediaSize = name;
        EXPECT_FALSE(ResolveRunParameters(settings, "/p.mtb", params));
        EXPECT_EQ(ui.OnlyBoxText(), ResString(41004));
    }
}

}  // namespace
}  // namespace zv
