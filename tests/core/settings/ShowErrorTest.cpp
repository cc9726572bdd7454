#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/PlatformError.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(ShowErrorTest, CaptionNamesProgramAndNumber) {
    ScriptedUi ui;
    ui.Answer(MsgResult::OK);
    ShowError(PlatformError::TypeMismatch());
    EXPECT_EQ(ui.OnlyBoxText(), "型が一致しません。");
    EXPECT_EQ(ui.Boxes()[0].title, "zarvopackｴﾗｰ 13");
    EXPECT_EQ(ui.Boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::None);
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
