#include <gtest/gtest.h>

#include "engine/ResolveRunParameters.h"
#include "platform/ScriptedUi.h"
#include "resources/StringTable.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(ResolveRunParametersTest, NumbersAndPresetsResolveToBytes) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#681984000\n");
    RunSettings settings;
    settings.MediaSize = "1,024";
    settings.DiffSize = 10;
    settings.MediaNum = 3;
    settings.MaxFile = 7;
    settings.MinFile = 1;
    settings.MaxSpeed = true;
    settings.AfterRun = 4;

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
    EXPECT_EQ(params.WorkDatabasePath(), "/projects/a b.mtb.TMP");
    EXPECT_EQ(params.BackupPath(), "/projects/a b.mtb.TMP.TMP");

    settings.MediaSize = "CD";
    ASSERT_TRUE(ResolveRunParameters(settings, "/p.mtb", params));
    EXPECT_EQ(params.mediaSize, 681984000);
}

TEST(ResolveRunParametersTest, ASizeThatResolvesToNothingStartsNoRun) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#681984000\n");
    RunParameters params;
    RunSettings settings;
    settings.MediaSize = "0";
    EXPECT_FALSE(ResolveRunParameters(settings, "/p.mtb", params));

    for (const std::string name : {"cd", ""}) {
        ScriptedUi ui;
        ui.Answer(MsgResult::OK);
        settings.MediaSize = name;
        EXPECT_FALSE(ResolveRunParameters(settings, "/p.mtb", params));
        EXPECT_EQ(ui.OnlyBoxText(), ResString(41004));
    }
}

}  // namespace
}  // namespace zv
