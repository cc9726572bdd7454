#include <filesystem>

#include "document/DocumentId.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::DocumentTest;
using test::ExpectBox;

std::vector<std::string> Names(const ProjectDocument& project) {
    std::vector<std::string> names;
    for (const ItemRecord& item : project.Items())
        names.push_back(item.Name);
    return names;
}

TEST(DocumentIdTest, DateAndTimeWithoutPaddingThenSecondsOfTheDay) {
    std::tm time{};
    time.tm_year = 124;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_hour = 14;
    time.tm_min = 28;
    time.tm_sec = 33;
    EXPECT_EQ(DocumentIdAt(time, 250), "20243514283352113.25");
    EXPECT_EQ(DocumentIdAt(time, 0), "20243514283352113");
}

TEST_F(DocumentTest, ANewProjectIsUntitledEmptyAndTakesTheDefaults) {
    test::WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n");
    const ProjectDocument first;
    const ProjectDocument second;
    EXPECT_EQ(first.Caption(), "無題1");
    EXPECT_EQ(second.Caption(), "無題2");
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_FALSE(first.Modified());
    EXPECT_EQ(first.GetRunSettings().MediaSize, "700");
    EXPECT_TRUE(first.GetRunSettings().MaxSpeed) << "no MaxSpeed key: fast mode";
    EXPECT_EQ(first.TemporaryProjectPath(), folder.File(first.DocumentId() + ".mtb"));
}

TEST_F(DocumentTest, GroupsTakeThePlaceholderOrGoToTheEnd) {
    ProjectDocument project;
    const FileRef b = MakeFile("b.txt", 20);
    const FileRef c = MakeFile("c.txt", 30);
    Add(project, {MakeFile("a.txt", 10)}, "First");
    EXPECT_EQ(project.Items().size(), 1u);
    Add(project, {b, c}, "Second");
    Add(project, {MakeFile("d.txt", 4)});

    EXPECT_EQ(Names(project), (std::vector<std::string>{"First", "Second", folder.File("d.txt")}));
    EXPECT_EQ(project.Items()[1].Size, 50);
    EXPECT_EQ(project.Items()[1].PathList, b.Path() + "\t" + c.Path());
    EXPECT_EQ(project.GetOpenGroup(), "Second");
    EXPECT_TRUE(project.Modified());
}

TEST_F(DocumentTest, RegisteredFilesAreDroppedByTheirWholePath) {
    ProjectDocument project;
    const FileRef a = MakeFile("a.txt", 2);
    EXPECT_FALSE(project.AddFiles({FileRef(), a}, "G")) << "an empty first slot";
    EXPECT_TRUE(project.IsEmpty());
    EXPECT_FALSE(project.Modified());

    Add(project, {MakeFile("a.txt.bak", 1)});
    Add(project, {a, a}, "G");
    EXPECT_EQ(project.Items()[1].PathList, a.Path()) << "listed twice, added once";
    project.SetModified(false);
    EXPECT_FALSE(project.AddFiles({a}, ""));
    EXPECT_EQ(project.Items().size(), 2u);
    EXPECT_FALSE(project.Modified());
}

TEST_F(DocumentTest, AnAdditionBeyondTheItemLimitIsRefused) {
    ProjectDocument project;
    Add(project, {MakeFile("a.txt", 1)});
    project.Items().assign(kMaxProjectItems - 1, project.Items()[0]);
    const FileRef b = MakeFile("b.txt", 1);
    const FileRef c = MakeFile("c.txt", 1);

    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(project.AddFiles({b, c}, ""));
    ASSERT_EQ(ui.Boxes().size(), 1u);
    ExpectBox(ui.Boxes()[0],
              "ﾘｽﾄに登録できる項目は32,767個までです\r\nこれ以上追加することは出来ません",
              AppTitle());
    EXPECT_EQ(project.Items().size(), 32766u);
    Add(project, {b, c}, "Last");
    EXPECT_EQ(project.Items().size(), 32767u);
}

TEST_F(DocumentTest, AFileThatGoesWhileAddingUndoesTheAddition) {
    ProjectDocument project;
    Add(project, {MakeFile("a.txt", 1)});
    const FileRef gone = MakeFile("gone.txt", 1);
    std::filesystem::remove(gone.Path());

    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(project.AddFiles({MakeFile("b.txt", 1), gone}, "G"));
    ExpectBox(ui.Boxes().at(0), "ファイルが見つかりません。", "zarvopackｴﾗｰ 53");
    EXPECT_EQ(project.Items().size(), 1u) << "no group without members is left";
    EXPECT_EQ(project.GetOpenGroup(), "");
}

}  // namespace
}  // namespace zv
