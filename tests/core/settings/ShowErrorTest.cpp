#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/PlatformError.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

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
