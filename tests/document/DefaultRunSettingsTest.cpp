#include <gtest/gtest.h>

#include "document/DefaultRunSettings.h"
#include "platform/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

RunSettings Load(bool expectOk = true) {
    RunSettings settings;
    EXPECT_EQ(LoadDefaultRunSettings(settings), expectOk);
    return settings;
}

TEST(DefaultRunSettingsTest, WithoutASettingsFileEverythingIsEmptyAndFastSearchOn) {
    test::TempFolder folder;
    RunSettings expected;
    expected.MaxSpeed = true;
    EXPECT_EQ(Load(), expected);
}

TEST(DefaultRunSettingsTest, ReadsEveryKeyAsTheDialogWritesThem) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(),
                     "[DEFAULT_SET_RUN]\nMediaSize=DVD-R (4.7GB)\nDiffSize=4,707,319\n"
                     "MediaNum=32,766\nMaxFile=100\nMinFile=1\nMaxSpeed=0\nAfterRun=2\n"
                     "AfterPath=/tmp/out\n");
    const RunSettings s = Load();
    EXPECT_EQ(s.MediaSize, "DVD-R (4.7GB)");
    EXPECT_EQ(s.DiffSize, 4707319);
    EXPECT_EQ(s.MediaNum, 32766);
    EXPECT_EQ(s.MaxFile, 100);
    EXPECT_EQ(s.MinFile, 1);
    EXPECT_FALSE(s.MaxSpeed);
    EXPECT_EQ(s.AfterRun, 2);
    EXPECT_EQ(s.AfterPath, "/tmp/out");

    for (const std::string on : {"2", "-1"}) {
        test::WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMaxSpeed=" + on + "\n");
        EXPECT_TRUE(Load().MaxSpeed) << on;
    }
}

TEST(DefaultRunSettingsTest, AbsentKeysKeepWhatTheRecordHeld) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMaxFile=9\n");
    RunSettings settings;
    settings.MediaNum = 5;
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings.MediaNum, 5);
    EXPECT_EQ(settings.MaxFile, 9);
}

TEST(DefaultRunSettingsTest, AValueThatDoesNotConvertIsReportedAndEndsTheReading) {
    test::TempFolder folder;
    test::WriteBytes(folder.Settings(),
                     "[DEFAULT_SET_RUN]\nMediaSize=700\nDiffSize=5\nMediaNum=40000\nMaxFile=9\n");
    ScriptedUi ui;
    ui.Answer(MsgResult::OK);
    const RunSettings s = Load(false);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].title, "zarvopackｴﾗｰ 6");
    EXPECT_EQ(ui.Boxes()[0].text, "オーバーフローしました。");
    EXPECT_EQ(s.MediaSize, "700");
    EXPECT_EQ(s.DiffSize, 5);
    EXPECT_EQ(s.MaxFile, 0);
}

}  // namespace
}  // namespace zv
