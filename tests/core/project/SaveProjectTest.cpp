#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "core/platform/FileLock.h"
#include "core/project/CloseRequest.h"
#include "core/project/SaveProject.h"
#include "core/settings/DialogFolder.h"
#include "core/settings/IniAccess.h"
#include "tests/core/project/DocumentTest.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/OtherProcess.h"

namespace zv {
namespace {

using namespace test;

class SaveProjectTest : public DocumentTest {
  protected:
    SaveProjectTest() { Add(project, {MakeFile("a.txt", 3), MakeFile("b.txt", 4)}, "Photos"); }

    ProjectDocument project;
};

TEST_F(SaveProjectTest, AnUntitledProjectAsksForItsFile) {
    // The dialog starts in the folder last chosen (else the home folder); a
    // saved project's own folder comes first.
    std::string last = folder.Path();
    IniAccess(IniWrite, "LASTFOLDER", "PATH", last, folder.Settings());
    EXPECT_EQ(DialogStartFolder(""), folder.Path());
    EXPECT_EQ(DialogStartFolder("/tmp/x.mtb"), "/tmp");
    const std::string target = folder.File("Data.MTB");
    ui.AnswerFile(target);
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    EXPECT_EQ(ui.FileDialogs()[0].request.proposedName, folder.File("無題1"));
    EXPECT_EQ(project.FilePath(), target);
    EXPECT_EQ(project.Caption(), "Data");
    EXPECT_FALSE(project.Modified());

    // A member that has gone since does not stop the next save.
    WriteBytes(folder.File("a.txt"), "12345");
    std::filesystem::remove(folder.File("b.txt"));
    project.SetCaption("Run");
    ASSERT_TRUE(SaveProject(project, kSaveToPath, true));
    EXPECT_EQ(project.Caption(), "Run");
    const auto data = ProjectFile::Read(target, {});
    ASSERT_TRUE(data);
    ASSERT_EQ(data->items.at(0).members.size(), 2u);
    EXPECT_EQ(data->items[0].members[0].size, 5);
    EXPECT_EQ(data->items[0].members[1].size, 4);
}

// A name without an extension gets ".mtb", or the Open dialog would hide the file.
TEST_F(SaveProjectTest, ANameWithoutExtensionGetsTheProjectsOwn) {
    ui.AnswerFile(folder.File("無題1"));
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    EXPECT_EQ(project.FilePath(), folder.File("無題1.mtb"));
    EXPECT_TRUE(std::filesystem::exists(folder.File("無題1.mtb")));
    EXPECT_EQ(project.Caption(), "無題1");
}

TEST_F(SaveProjectTest, CancellingAsksUntilTheUserGivesUp) {
    ui.AnswerFile(std::nullopt);
    ui.Answer(MsgResult::No);
    ui.AnswerFile(std::nullopt);
    ui.Answer(MsgResult::Yes);
    EXPECT_FALSE(SaveProject(project, kSaveAs, false));
    EXPECT_EQ(ui.FileDialogs().size(), 2u);
    ASSERT_EQ(ui.Boxes().size(), 2u);
    for (const MessageBoxRequest& box : ui.Boxes())
        ExpectBox(box, "保存を取り消しますか？", "保存取消", MsgButtons::YesNo, MsgIcon::None, 1);
    EXPECT_EQ(project.FilePath(), "");
}

TEST_F(SaveProjectTest, CancelOnOverwriteProposesTheChosenName) {
    const std::string existing = folder.File("old.mtb");
    WriteBytes(existing, "not yet a project");
    ui.AnswerFile(existing);
    ui.Answer(MsgResult::Cancel);
    ui.AnswerFile(existing);
    ui.Answer(MsgResult::OK);
    ASSERT_TRUE(SaveProject(project, kSaveAs, false));
    EXPECT_EQ(ui.FileDialogs().at(1).request.proposedName, existing);
    ExpectBox(ui.Boxes().at(0), existing + "\r\nﾌｧｲﾙは既に存在します\r\n上書きしますか？", "上書き",
              MsgButtons::OKCancel, MsgIcon::None, 1);
    EXPECT_TRUE(ProjectFile::Read(existing, {}));
}

// A save that cannot be made says why in one box and changes nothing: not
// the file there, not the project's path, caption or modified flag.
TEST_F(SaveProjectTest, AFailedWriteChangesNothing) {
    enum class Obstacle { NoFolder, ReadOnly, InUse, DiskFull };
    const struct {
        Obstacle obstacle;
        const char* text;
    } cases[] = {
        {Obstacle::NoFolder, "ﾃﾞｰﾀの更新に失敗しました"},
        {Obstacle::ReadOnly, "ﾃﾞｰﾀﾌｧｲﾙは読取専用です\r\nﾌｧｲﾙを書き換えることは出来ません"},
        {Obstacle::InUse,
         "ﾃﾞｰﾀﾌｧｲﾙは他の実行または保存で使用中です\r\nそちらが終わってから、もう一度行って"
         "ください"},
        {Obstacle::DiskFull, "ﾃﾞｰﾀの更新に失敗しました"},
    };
    for (const auto& c : cases) {
        const std::string path = c.obstacle == Obstacle::NoFolder
                                     ? folder.File("no/such/folder/p.mtb")
                                     : folder.File("p.mtb");
        WriteBytes(folder.File("p.mtb"), "the file that was there");
        chmod(folder.File("p.mtb").c_str(), c.obstacle == Obstacle::ReadOnly ? 0444 : 0644);
        project.SetFilePath(path);
        ui.Answer(MsgResult::OK);
        const std::size_t boxes = ui.Boxes().size();
        {
            OtherProcess otherSave([&] {
                static FileLock held(path);
                return c.obstacle != Obstacle::InUse || held.Take().ok();
            });
            FaultyFiles disk(c.obstacle == Obstacle::DiskFull ? 3 : 1 << 30, ENOSPC);
            EXPECT_FALSE(SaveProject(project, kSaveToPath, false));
        }
        ASSERT_EQ(ui.Boxes().size(), boxes + 1);
        ExpectBox(ui.Boxes().back(), c.text, "ｴﾗｰ", MsgButtons::OK, MsgIcon::Critical);
        EXPECT_EQ(ReadBytes(folder.File("p.mtb")), "the file that was there") << c.text;
        EXPECT_EQ(project.FilePath(), path);
        EXPECT_EQ(project.Caption(), "無題1");
        EXPECT_TRUE(project.Modified());
    }
}

TEST_F(SaveProjectTest, ClosingAsksFirstThenDeletesTheTemporaryCopyAndEmptiesTheProject) {
    App().running = true;
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(CloseRequest(project));
    ExpectLastBox("実行中は閉じることは出来ません");

    App().running = false;
    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(CloseRequest(project));
    ExpectLastBox(" 無題1は変更されています\r\n保存しますか？", "zarvopackの保存",
                  MsgButtons::YesNoCancel);
    EXPECT_FALSE(project.IsEmpty());

    const std::string temporary = project.TemporaryProjectPath();
    WriteBytes(temporary, "left by a run");
    ui.Answer(MsgResult::No);
    EXPECT_TRUE(CloseRequest(project));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_TRUE(project.IsEmpty());

    // A file the user saved under that name is never a leftover.
    project.SetFilePath(temporary);
    WriteBytes(temporary, "saved by the user");
    EXPECT_TRUE(CloseRequest(project));
    EXPECT_TRUE(std::filesystem::exists(temporary));
}

}  // namespace
}  // namespace zv
