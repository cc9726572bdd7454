#include <filesystem>

#include "core/project/DocumentId.h"
#include "core/project/MediumChooser.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

TEST(DocumentIdTest, DateAndTimeWithoutPaddingThenSecondsOfTheDay) {
    std::tm time{};
    time.tm_year = 124, time.tm_mon = 2, time.tm_mday = 5;
    time.tm_hour = 14, time.tm_min = 28, time.tm_sec = 33;
    EXPECT_EQ(DocumentIdAt(time, 250), "20243514283352113.25");
    EXPECT_EQ(DocumentIdAt(time, 0), "20243514283352113");

    // Windows made in the same hundredth of a second must not share the
    // temporary project copy that the id names.
    EXPECT_NE(NewDocumentId(), NewDocumentId());
}

TEST_F(DocumentTest, DefaultRunSettingsReadEveryKeyAsTheDialogWritesThem) {
    WriteBytes(folder.Settings(),
               "[DEFAULT_SET_RUN]\nMediaSize=DVD-R (4.7GB)\nDiffSize=4,707,319\nMediaNum=32,766\n"
               "MaxFile=100\nMinFile=1\nMaxSpeed=0\nAfterRun=2\nAfterPath=/tmp/out\n");
    RunSettings settings;
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings,
              (RunSettings{"DVD-R (4.7GB)", 4707319, 32766, 100, 1, false, 2, "/tmp/out"}));

    // Absent keys keep what the record held; any value but 0 turns fast
    // search on.
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMaxFile=9\nMaxSpeed=-1\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings, (RunSettings{"DVD-R (4.7GB)", 4707319, 32766, 9, 1, true, 2, "/tmp/out"}));
}

TEST_F(DocumentTest, ADefaultThatDoesNotConvertIsReportedAndEndsTheReading) {
    WriteBytes(folder.Settings(),
               "[DEFAULT_SET_RUN]\nMediaSize=700\nDiffSize=5\nMediaNum=40000\nMaxFile=9\n");
    ui.Answer(MsgResult::OK);
    RunSettings settings;
    EXPECT_FALSE(LoadDefaultRunSettings(settings));
    ExpectLastBox(
        "オーバーフローしました。\r\n" + folder.Settings() + "\r\n[DEFAULT_SET_RUN] MediaNum=40000",
        "zarvopackｴﾗｰ 6");
    EXPECT_EQ(settings, (RunSettings{"700", 5, 0, 0, 0, false, 0, ""}));

    // Read to the end, the value that does not convert leaves its field.
    settings = RunSettings{};
    const auto failures = ReadDefaultRunSettings(settings);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Key(), "MediaNum");
    EXPECT_EQ(failures[0].File(), folder.Settings());
    EXPECT_EQ(settings, (RunSettings{"700", 5, 0, 9, 0, true, 0, ""}));
}

TEST_F(DocumentTest, ANewProjectIsUntitledEmptyAndTakesTheDefaults) {
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n");
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
    ExpectLastBox("ﾘｽﾄに登録できる項目は32,767個までです\r\nこれ以上追加することは出来ません");
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
    ExpectLastBox("ファイルが見つかりません。", "zarvopackｴﾗｰ 53");
    EXPECT_EQ(project.Items().size(), 1u) << "no group without members is left";
    EXPECT_EQ(project.GetOpenGroup(), "");
}

TEST_F(DocumentTest, TheMediumChooserListsEveryMediumUpToTheHighestThenTheUnplaced) {
    ProjectDocument project;
    Add(project, {MakeFile("a", 1), MakeFile("b", 1)});
    project.Items()[1].Medium = 3;
    EXPECT_EQ(MediumChooserEntries(project), (Texts{" 1枚目", " 2枚目", " 3枚目", " 未処理分"}));
    EXPECT_EQ(MediumOfEntry(1, " 2枚目"), 2);
    EXPECT_EQ(MediumOfEntry(3, " 未処理分"), 0);
}

}  // namespace
}  // namespace zv
