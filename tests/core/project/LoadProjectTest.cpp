#include <filesystem>

#include "core/project/LoadProject.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

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
    ASSERT_EQ(ui.Boxes().size(), 2u);
    ExpectBox(ui.Boxes()[0],
              "このファイル情報は失われました。ロードを続行しますか？\r\n" + folder.File("m1.txt") +
                  "\r\n保存されたファイルが存在しないか、名称が変更されています。",
              "ｴﾗｰ", MsgButtons::YesNo, MsgIcon::Critical);
    ExpectLastBox(
        "以降エラーファイルデータは無視します\r\nロードされるデータに含まれる結果情報の整合性"
        "が保たれていない可能性があります");
    ASSERT_EQ(project.Items().size(), 1u) << "the emptied group leaves, the next moves up";
    EXPECT_EQ(project.Items()[0].Name, "Thinned");
    EXPECT_EQ(project.Items()[0].PathList, folder.File("kept.txt"));
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
    Write({{"A", 0, {Row("a.txt")}}, {"Hole", 0, {}}, {"B", 0, {Row("b.txt")}}});
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(LoadProject(project, file), LoadOutcome::Failed);
    ExpectLastBox("インデックスが有効範囲にありません。", "ｴﾗｰ9");
    EXPECT_TRUE(project.IsEmpty());

    test::WriteBytes(folder.File("text.mtb"), "just some text");
    EXPECT_EQ(LoadProject(project, folder.File("text.mtb")), LoadOutcome::NotAProject);
    EXPECT_EQ(LoadProject(project, folder.File("none.mtb")), LoadOutcome::NotAProject);
    EXPECT_EQ(project.FilePath(), "");
}

}  // namespace
}  // namespace zv
