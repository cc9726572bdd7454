#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/PlatformError.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsValueError.h"
#include "core/settings/ShowError.h"
#include "core/settings/SizeFromText.h"
#include "core/settings/SizePresets.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

class SizeFromTextTest : public ::testing::Test {
  protected:
    void Presets(const std::string& lines) {
        test::WriteBytes(folder.Settings(), "[Other]\n0=Decoy#1\n[MSizeSet]\n" + lines);
    }

    test::TempFolder folder;
    ScriptedUi ui;
};

TEST_F(SizeFromTextTest, NumbersNeedNoSettingsFileAndNamesGiveTheirCapacity) {
    EXPECT_EQ(SizeFromText(" 4,707,319,808 "), 4707319808.0);
    Presets("0=CD#650000000\n1=DVD-R#4707319808\n2=cd#1\n");
    EXPECT_EQ(SizeFromText("DVD-R"), 4707319808.0);
    EXPECT_EQ(SizeFromText("CD"), 650000000);
    EXPECT_EQ(SizeFromText("cd"), 1) << "letter case counts";
}

TEST_F(SizeFromTextTest, UnknownNameShowsTheMessageOnceAndGivesZero) {
    Presets("0=CD#650000000\n1=DVD#4707319808\n3=BD#25025314816\n");
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(SizeFromText("BD"), 0) << "a gap hides the later keys";
    test::ExpectBox(ui.Boxes().at(0), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました", AppTitle());
    EXPECT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ReadSizePresets().size(), 2u);
}

TEST_F(SizeFromTextTest, BrokenPresetGivesZeroWithoutMessage) {
    for (const char* lines : {"0=CD#650000000\n1=NoHash\n2=DVD#4707319808\n", "0=DVD#6.5 MB\n"}) {
        Presets(lines);
        EXPECT_EQ(SizeFromText("DVD"), 0) << lines;
    }
    EXPECT_TRUE(ReadSizePresets().empty());
    Presets("0=CD#650000000\n1=NoHash\n2=DVD#4707319808\n");
    EXPECT_EQ(ReadSizePresets().size(), 1u);
}

TEST_F(SizeFromTextTest, AFileThatCannotBeReadIsNamedAndGivesZero) {
    std::filesystem::create_directory(folder.Settings());
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(SizeFromText("DVD"), 0);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    test::ExpectBox(ui.Boxes()[0],
                    "設定ﾌｧｲﾙを読み込めませんでした\r\n" + folder.Settings() +
                        "\r\n[MSizeSet] 0\r\nIs a directory",
                    "zarvopackｴﾗｰ 70");
    EXPECT_THROW(ReadSizePresets(), SettingsValueError);
}

TEST(ShowErrorTest, CaptionNamesProgramAndNumber) {
    ScriptedUi ui;
    ui.Answer(MsgResult::OK);
    ShowError(PlatformError::TypeMismatch());
    test::ExpectBox(ui.Boxes().at(0), "型が一致しません。", "zarvopackｴﾗｰ 13");
}

TEST(ProgramPathsTest, SettingsFileLiesInTheProgramFolder) {
    EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "/settings_tests"))
        << "the running executable's folder";
    const std::string own = ProgramFolder();
    {
        test::TempFolder folder;
        EXPECT_EQ(SettingsFilePath(), folder.File("zarvopack.dat"));
    }
    EXPECT_EQ(ProgramFolder(), own);
}

}  // namespace
}  // namespace zv
