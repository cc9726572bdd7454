#include <gtest/gtest.h>

#include "core/engine/ResolveRunParameters.h"
#include "core/strings/StringTable.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

class ResolveRunParametersTest : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteBytes(folder.Settings(), "[MSizeSet]\n0=CD#681984000\n"); }
    bool Resolve(const std::string& mediaSize, const std::string& projectFile = "/p.mtb") {
        settings.MediaSize = mediaSize;
        return ResolveRunParameters(settings, projectFile, params);
    }

    test::TempFolder folder;
    RunSettings settings;
    RunParameters params;
};

TEST_F(ResolveRunParametersTest, NumbersAndPresetsResolveToBytes) {
    settings.DiffSize = 10;
    settings.MediaNum = 3;
    settings.MaxFile = 7;
    settings.MinFile = 1;
    settings.MaxSpeed = true;
    ASSERT_TRUE(Resolve("1,024", "/projects/a b.mtb"));
    EXPECT_EQ(params.mediaSize, 1024);
    EXPECT_EQ(params.tolerance, 10);
    EXPECT_EQ(params.mediaCount, 3);
    EXPECT_EQ(params.maxItems, 7);
    EXPECT_EQ(params.minItems, 1);
    EXPECT_TRUE(params.fastSearch);
    EXPECT_EQ(params.projectFolder, "/projects");
    EXPECT_EQ(params.projectFileName, "a b.mtb");

    ASSERT_TRUE(Resolve("CD"));
    EXPECT_EQ(params.mediaSize, 681984000);
}

TEST_F(ResolveRunParametersTest, ASizeThatResolvesToNothingStartsNoRun) {
    EXPECT_FALSE(Resolve("0"));
    for (const std::string name : {"cd", ""}) {
        ScriptedUi ui;
        ui.Answer(MsgResult::OK);
        EXPECT_FALSE(Resolve(name));
        EXPECT_EQ(ui.OnlyBoxText(), ResString(41004));
    }
}

}  // namespace
}  // namespace zv
