#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "core/platform/FileLock.h"
#include "core/project/CloseRequest.h"
#include "core/project/LoadProject.h"
#include "core/project/SaveProject.h"
#include "core/settings/DialogFolder.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "tests/core/project/DocumentTest.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"

namespace zv {
namespace {

using namespace test;
namespace fs = std::filesystem;

const std::string kReadOnly = "ﾃﾞｰﾀﾌｧｲﾙは読取専用です\r\nﾌｧｲﾙを書き換えることは出来ません";

class SaveProjectTest : public DocumentTest {
  protected:
    SaveProjectTest() { Add(project, {MakeFile("a.txt", 3), MakeFile("b.txt", 4)}, "Photos"); }

    ProjectDocument project;
};

// The dialog starts in the folder last chosen (else the home folder), a saved
// project's own folder first; a name without an extension gets ".mtb", or the
// Open dialog would hide the file.
TEST_F(SaveProjectTest, AnUntitledProjectAsksForItsFile) {
    const SettingsKey& last = settings_keys::LastFolder;
    ASSERT_TRUE(IniFile(folder.Settings()).Write(last.section, last.name, folder.Path()));
    EXPECT_EQ(DialogStartFolder(""), folder.Path());
    EXPECT_EQ(DialogStartFolder("/tmp/x.mtb"), "/tmp");
    ui.AnswerFile(folder.File("Data"));
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    EXPECT_EQ(ui.FileDialogs().at(0).request.proposedName, folder.File("無題1"));
    EXPECT_EQ(project.FilePath() + "|" + project.Caption(), folder.File("Data.mtb") + "|Data");
    EXPECT_FALSE(project.Modified());
    ui.AnswerFile(folder.File("Other.MTB"));
    ASSERT_TRUE(SaveProject(project, kSaveAs, false));
    EXPECT_EQ(project.Caption(), "Other");

    // A member that has gone since does not stop the next save, which keeps
    // the caption a run gave.
    WriteBytes(folder.File("a.txt"), "12345");
    fs::remove(folder.File("b.txt"));
    project.SetCaption("Run");
    ASSERT_TRUE(SaveProject(project, kSaveToPath, true));
    EXPECT_EQ(project.Caption(), "Run");
    const auto data = ProjectFile::Read(folder.File("Other.MTB"), {});
    ASSERT_EQ(data.value().items.at(0).members.size(), 2u);
    EXPECT_EQ(data->items[0].members[0].size, 5);
    EXPECT_EQ(data->items[0].members[1].size, 4);
}

TEST_F(SaveProjectTest, CancellingAsksUntilTheUserGivesUp) {
    ui.AnswerFile(std::nullopt);
    ui.Answer(MsgResult::No);
    ui.AnswerFile(std::nullopt);
    ui.Answer(MsgResult::Yes);
    EXPECT_FALSE(SaveProject(project, kSaveAs, false));
    ExpectLastBox("保存を取り消しますか？", "保存取消", MsgButtons::YesNo, MsgIcon::None, 1);
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
    const std::string failed = "ﾃﾞｰﾀの更新に失敗しました";
    // The general message names the file and the system's error after it.
    const std::string file = folder.File("p.mtb");
    const std::tuple<Obstacle, std::string, std::string> cases[] = {
        {Obstacle::NoFolder, failed,
         "\r\ncannot lock '" + folder.File("no/p.mtb") + "': No such file or directory"},
        {Obstacle::ReadOnly, kReadOnly, ""},
        {Obstacle::InUse,
         "ﾃﾞｰﾀﾌｧｲﾙは他の実行または保存で使用中です\r\nそちらが終わってから、もう一度行って"
         "ください",
         ""},
        {Obstacle::DiskFull, failed, "\r\ncannot write '" + folder.File("p.mtb.saving")},
    };
    for (const auto& [obstacle, text, cause] : cases) {
        const std::string path = obstacle == Obstacle::NoFolder ? folder.File("no/p.mtb") : file;
        WriteBytes(file, "the file that was there");
        chmod(file.c_str(), obstacle == Obstacle::ReadOnly ? 0444 : 0644);
        project.SetFilePath(path);
        ui.Answer(MsgResult::OK);
        {
            OtherProcess otherSave([&] {
                static FileLock held(path);
                return obstacle != Obstacle::InUse || held.Take().ok();
            });
            FaultyFiles disk(obstacle == Obstacle::DiskFull ? 3 : 1 << 30, ENOSPC);
            EXPECT_FALSE(SaveProject(project, kSaveToPath, false));
        }
        const MessageBoxRequest& box = ui.Boxes().back();
        if (cause.empty())
            EXPECT_EQ(box.text, text);
        else
            EXPECT_EQ(box.text.rfind(text + cause, 0), 0u) << box.text;
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        EXPECT_EQ(ReadBytes(file), "the file that was there") << text;
        EXPECT_EQ(project.FilePath() + project.Caption(), path + "無題1");
        EXPECT_TRUE(project.Modified());
    }
}

// A save whose folder could not be synced once the new file had taken the
// old one's place is a save, and says so with the cause.
TEST_F(SaveProjectTest, ASaveWhoseFolderWasNotSyncedSaysSo) {
    const std::string file = folder.File("p.mtb");
    project.SetFilePath(file);
    const std::string syncFolder = "fsync " + fs::path(folder.Path()).filename().string();
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    std::size_t lastSync = 0;
    {
        FaultyFiles counting(1 << 30, 0);
        ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
        const Texts& calls = counting.Calls();
        lastSync = std::find(calls.rbegin(), calls.rend(), syncFolder).base() - calls.begin();
        ASSERT_GT(lastSync, 0u);
    }
    project.SetModified(true);
    project.Items()[0].Name = "Renamed";
    ui.Answer(MsgResult::OK);
    {
        FaultyFiles disk(static_cast<int>(lastSync), EIO);
        EXPECT_TRUE(SaveProject(project, kSaveToPath, false));
        EXPECT_EQ(disk.FailedCall(), syncFolder);
    }
    const MessageBoxRequest& box = ui.Boxes().back();
    EXPECT_EQ(
        box.text.rfind("保存しましたが、ﾌｫﾙﾀﾞのﾃﾞｨｽｸへの書き込みを確認できませんでした\r\n", 0), 0u)
        << box.text;
    EXPECT_NE(box.text.find(std::strerror(EIO)), std::string::npos) << box.text;
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(ProjectFile::Read(file, {})->items.at(0).name, "Renamed");
}

// Closing is refused during a run, and asks to save first.
TEST_F(SaveProjectTest, ClosingAsksFirstThenEmptiesTheProject) {
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
    ui.Answer(MsgResult::No);
    EXPECT_TRUE(CloseRequest(project));
    EXPECT_TRUE(project.IsEmpty());
}

// "はい" on closing a project whose file cannot be written offers another
// file; the window closes only once the work is in a file. An untitled
// project whose save dialog was given up stays open as well.
TEST_F(SaveProjectTest, ClosingKeepsTheWindowUntilTheSaveSucceeded) {
    const std::string readOnly = folder.File("locked.mtb");
    WriteBytes(readOnly, "the file that was there");
    chmod(readOnly.c_str(), 0444);
    project.SetFilePath(readOnly);
    const std::string copy = folder.File("copy.mtb");
    for (const std::optional<std::string>& elsewhere :
         {std::optional<std::string>(), std::optional(copy)}) {
        ui.Answer(MsgResult::Yes);
        ui.Answer(MsgResult::OK);
        ui.AnswerFile(elsewhere);
        if (!elsewhere)
            ui.Answer(MsgResult::Yes);
        EXPECT_EQ(CloseRequest(project), elsewhere.has_value());
        ExpectBox(ui.Boxes().at(ui.Boxes().size() - (elsewhere ? 1 : 2)), kReadOnly, "ｴﾗｰ",
                  MsgButtons::OK, MsgIcon::Critical);
        EXPECT_EQ(project.IsEmpty(), elsewhere.has_value());
    }
    EXPECT_EQ(ReadBytes(readOnly), "the file that was there");
    EXPECT_EQ(ProjectFile::Read(copy, {}).value().items.size(), 1u);

    ProjectDocument untitled;
    Add(untitled, {MakeFile("c.txt", 5)});
    ui.Answer(MsgResult::Yes);
    ui.AnswerFile(std::nullopt);
    ui.Answer(MsgResult::Yes);
    EXPECT_FALSE(CloseRequest(untitled));
    EXPECT_FALSE(untitled.IsEmpty());
}

class LoadProjectTest : public DocumentTest {
  protected:
    // A row for a file of the folder; the size it stores is never used.
    ProjectMember Row(const std::string& name) { return {folder.File(name), 999}; }
    void Write(const std::vector<ProjectItem>& items) {
        ASSERT_TRUE(ProjectFile::Write(file, items, {"CD", 1, 2, 3, 0, false, 0, ""}));
    }

    std::string file = folder.File("project.mtb");
    ProjectDocument project;
};

TEST_F(LoadProjectTest, MissingFilesAreAskedOnceAndLeftOut) {
    MakeFile("kept.txt", 10);
    Write({{"Gone", 1, {Row("m1.txt"), Row("m2.txt")}},
           {"Thinned", 2, {Row("m3.txt"), Row("kept.txt"), Row("m4.txt")}}});
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::OK);
    ASSERT_EQ(LoadProject(project, file), LoadOutcome::Loaded);
    ExpectBox(ui.Boxes()[0],
              "このファイル情報は失われました。ロードを続行しますか？\r\n" + folder.File("m1.txt") +
                  "\r\n保存されたファイルが存在しないか、名称が変更されています。",
              "ｴﾗｰ", MsgButtons::YesNo, MsgIcon::Critical);
    ExpectLastBox(
        "以降エラーファイルデータは無視します\r\nロードされるデータに含まれる結果情報の整合性"
        "が保たれていない可能性があります");
    ASSERT_EQ(project.Items().size(), 1u) << "the emptied group leaves, the next moves up";
    EXPECT_EQ(project.Items()[0].Name + "|" + project.Items()[0].PathList,
              "Thinned|" + folder.File("kept.txt"));
    EXPECT_EQ(project.Items()[0].Size, 10) << "the size the file has now";
    EXPECT_EQ(project.GetRunSettings().MediaNum, 2);
    EXPECT_TRUE(project.GetRunSettings().MaxSpeed) << "the window's own";
    EXPECT_EQ(project.Caption(), "project");
    Write({{"G", 0, {Row("gone.txt")}}});
    ui.Answer(MsgResult::No);
    EXPECT_EQ(LoadProject(project, file), LoadOutcome::Cancelled);
    EXPECT_TRUE(project.IsEmpty());
}

TEST_F(LoadProjectTest, UnsavedChangesAreOfferedForSaving) {
    MakeFile("other.txt", 1);
    Write({{folder.File("other.txt"), 0, {Row("other.txt")}}});
    const std::string own = folder.File("own.mtb");
    const auto modify = [&] {
        Add(project, {MakeFile("own.txt", 1)});
        project.SetFilePath(own);
        project.SetCaption("own");
    };
    const auto answer = [&](MsgResult result) {
        ui.Answer(result);
        const LoadOutcome outcome = LoadProject(project, file);
        ExpectLastBox(" ownは変更されています\r\n保存しますか？", "ownの保存",
                      MsgButtons::YesNoCancel);
        return outcome;
    };
    modify();
    EXPECT_EQ(answer(MsgResult::Cancel), LoadOutcome::Cancelled);
    EXPECT_EQ(project.Items()[0].Name, folder.File("own.txt")) << "unsaved work is kept";
    EXPECT_EQ(answer(MsgResult::No), LoadOutcome::Loaded);
    EXPECT_FALSE(std::filesystem::exists(own));
    EXPECT_EQ(project.Items()[0].Name, folder.File("other.txt"));
    modify();
    EXPECT_EQ(answer(MsgResult::Yes), LoadOutcome::Loaded);
    EXPECT_TRUE(std::filesystem::exists(own));
    EXPECT_EQ(project.FilePath(), file);
}

TEST_F(LoadProjectTest, FilesThatAreNoProjectLeaveAnEmptyProject) {
    MakeFile("a.txt", 1);
    MakeFile("b.txt", 1);
    // An item without rows leaves a gap in the item numbers.
    Write({{"A", 0, {Row("a.txt")}}, {"B", 0, {Row("b.txt")}}});
    ASSERT_EQ(test::Exec(file, "UPDATE MainDB SET [GROUP] = 2 WHERE [GROUP] = 1"), SQLITE_OK);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(LoadProject(project, file), LoadOutcome::Failed);
    ExpectLastBox(
        "インデックスが有効範囲にありません。\r\nMainDB row 2: GROUP is 2, where item "
        "number 1 comes next",
        "ｴﾗｰ9");
    EXPECT_TRUE(project.IsEmpty());
    test::WriteBytes(folder.File("text.mtb"), "just some text");
    EXPECT_EQ(LoadProject(project, folder.File("text.mtb")), LoadOutcome::NotAProject);
    EXPECT_EQ(LoadProject(project, folder.File("none.mtb")), LoadOutcome::NotAProject);
    EXPECT_EQ(project.FilePath(), "");
}

// A file changed behind the program's back opens only when the user agrees,
// and then read-only: Save asks for another file and refuses its own.
TEST_F(LoadProjectTest, AFileThatDoesNotMatchItsChecksumOpensOnlyReadOnly) {
    MakeFile("a.txt", 1);
    MakeFile("b.txt", 1);
    Write({{"A", 1, {Row("a.txt")}}, {"B", 0, {Row("b.txt")}}});
    ASSERT_EQ(test::Exec(file, "UPDATE [Plan] SET [MEDIUM] = 2"), SQLITE_OK);
    const std::string question = "ﾌｧｲﾙの内容がﾁｪｯｸｻﾑと一致しません。読取専用で開きますか？";
    ui.Answer(MsgResult::No);
    EXPECT_EQ(LoadProject(project, file), LoadOutcome::ChecksumMismatch);
    ExpectLastBox(question, "ｴﾗｰ", MsgButtons::YesNo, MsgIcon::Exclamation, 1);
    EXPECT_TRUE(project.IsEmpty());

    ui.Answer(MsgResult::Yes);
    ASSERT_EQ(LoadProject(project, file), LoadOutcome::Loaded);
    EXPECT_EQ(project.Items()[0].Medium, 2);
    const std::string before = test::ReadBytes(file);
    ui.AnswerFile(file);
    ui.Answer(MsgResult::OK);
    ui.AnswerFile(folder.File("copy.mtb"));
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    ExpectBox(ui.Boxes().at(2),
              "読取専用で開いたﾌｧｲﾙには上書き保存できません。別の名前で保存してください。", "ｴﾗｰ",
              MsgButtons::OK, MsgIcon::Exclamation);
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_EQ(project.FilePath(), folder.File("copy.mtb"));
    EXPECT_FALSE(project.ReadOnly());
}

}  // namespace
}  // namespace zv
