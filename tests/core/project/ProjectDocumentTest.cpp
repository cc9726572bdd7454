#include <filesystem>

#include "core/project/AfterRun.h"
#include "core/project/MediumChooser.h"
#include "core/project/ProjectStatistics.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

// Absent keys keep what the record held, but for MaxSpeed (on), Method and
// FsAllowance, which take the behaviour of files made before them.
TEST_F(DocumentTest, DefaultRunSettingsReadEveryKeyAsTheDialogWritesThemOrSayWhatFailed) {
    WriteBytes(folder.Settings(),
               "[DEFAULT_SET_RUN]\nMediaSize=DVD-R (4.7GB)\nDiffSize=4,707,319\nMediaNum=32,766\n"
               "MaxFile=100\nMinFile=1\nMaxSpeed=0\nAfterRun=2\nAfterPath=/tmp/out\nMethod=1\n"
               "MediumTimeLimit=2.5\nFsAllowance=1\n");
    RunSettings settings;
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings, (RunSettings{"DVD-R (4.7GB)", 4707319, 32766, 100, 1, false, 2, "/tmp/out",
                                     PackingMethod::FewestMedia, FileSystemAllowance::Iso9660}));
    EXPECT_EQ(LoadMediumTimeLimit(), 2.5);
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMaxFile=9\nMaxSpeed=-1\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings, (RunSettings{"DVD-R (4.7GB)", 4707319, 32766, 9, 1, true, 2, "/tmp/out"}));
    EXPECT_EQ(LoadMediumTimeLimit(), 0);

    // A value that does not convert is reported and ends the reading; read to
    // the end, it only leaves its field.
    WriteBytes(folder.Settings(),
               "[DEFAULT_SET_RUN]\nMediaSize=700\nDiffSize=5\nMediaNum=40000\nMaxFile=9\n");
    ui.Answer(MsgResult::OK);
    settings = RunSettings{};
    EXPECT_FALSE(LoadDefaultRunSettings(settings));
    ExpectLastBox(
        "オーバーフローしました。\r\n" + folder.Settings() + "\r\n[DEFAULT_SET_RUN] MediaNum=40000",
        "zarvopackｴﾗｰ 6");
    EXPECT_EQ(settings, (RunSettings{"700", 5, 0, 0, 0, false, 0, ""}));
    settings = RunSettings{};
    const auto failures = ReadDefaultRunSettings(settings);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Key() + failures[0].File(), "MediaNum" + folder.Settings());
    EXPECT_EQ(settings, (RunSettings{"700", 5, 0, 9, 0, true, 0, ""}));
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMethod=2\nMediumTimeLimit=soon\n");
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(LoadMediumTimeLimit(), 0);
}

// A new project is untitled and empty; files it holds are dropped by their whole path.
TEST_F(DocumentTest, RegisteredFilesAreDroppedByTheirWholePath) {
    ProjectDocument project;
    EXPECT_EQ(project.Caption() + ProjectDocument().Caption(), "無題1無題2");
    EXPECT_TRUE(project.IsEmpty());
    const FileRef a = MakeFile("a.txt", 2);
    EXPECT_FALSE(project.AddFiles({FileRef(), a}, "G")) << "an empty first slot";
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
    project.Items().resize(kMaxProjectItems - 1);  // empty rows: the count is all it takes
    const std::vector<FileRef> two{MakeFile("b.txt", 1), MakeFile("c.txt", 1)};
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(project.AddFiles(two, ""));
    ExpectLastBox("ﾘｽﾄに登録できる項目は1,000,000個までです\r\nこれ以上追加することは出来ません");
    EXPECT_EQ(project.Items().size(), static_cast<std::size_t>(kMaxProjectItems - 1));
    Add(project, two, "Last");
    EXPECT_EQ(project.Items().size(), static_cast<std::size_t>(kMaxProjectItems));
}

TEST_F(DocumentTest, AFileThatGoesWhileAddingUndoesTheAddition) {
    ProjectDocument project;
    Add(project, {MakeFile("a.txt", 1)});
    const FileRef gone = MakeFile("gone.txt", 1);
    std::filesystem::remove(gone.Path());
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(project.AddFiles({MakeFile("b.txt", 1), gone}, "G"));
    ExpectLastBox("ファイルが見つかりません。", "zarvopackｴﾗｰ 53");
    EXPECT_EQ(Names(project), Texts{folder.File("a.txt")}) << "no group without members is left";
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

using Figures = std::array<std::string, 10>;

TEST_F(DocumentTest, StatisticsCountGroupMembersOneByOne) {
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=1000000\n");
    EXPECT_EQ(ShowStatistics(ProjectDocument()),
              (Figures{"表示数： 0 登録数： 0 ", "0 ", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ",
                       "未実行", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ"}));
    ProjectDocument project;
    Add(project, {MakeFile("big.bin", 1231567)});
    Add(project, {MakeFile("g1.bin", 1000), MakeFile("g2.bin", 2000)}, "G");
    project.Items()[0].Medium = 2;
    project.Items()[1].Medium = 1;
    EXPECT_EQ(
        ShowStatistics(project),
        (Figures{"表示数： 2 登録数： 3 ", "1 ", "1,234,567 ﾊﾞｲﾄ", "1,231,567 ﾊﾞｲﾄ", "1,000 ﾊﾞｲﾄ",
                 "411,522 ﾊﾞｲﾄ", "2 ", "2,000,000 ﾊﾞｲﾄ", "1,234,567 ﾊﾞｲﾄ", "765,433 ﾊﾞｲﾄ"}));

    // Sizes now for the total, the recorded sizes for what was placed.
    WriteBytes(folder.File("g1.bin"), std::string(1500, 'x'));
    const Figures grown = ShowStatistics(project);
    EXPECT_EQ(grown[2] + grown[8], "1,235,067 ﾊﾞｲﾄ1,234,567 ﾊﾞｲﾄ");

    // An unknown preset is resolved (and reported) once.
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=No such preset\n");
    ProjectDocument unknown;
    Add(unknown, {MakeFile("a.bin", 10)});
    unknown.Items()[0].Medium = 1;
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ShowStatistics(unknown)[9], "-10 ﾊﾞｲﾄ");
}

TEST_F(DocumentTest, TheAfterRunActionExportsWhatTheSettingsAsk) {
    WriteBytes(folder.File("a.txt"), "a");
    const std::vector<ProjectItem> placed{{"a", 1, {{folder.File("a.txt"), 1}}}};
    const std::vector<ProjectItem> unplaced{{"a", 0, {{folder.File("a.txt"), 1}}}};
    const std::string out = folder.File("out");
    const struct {
        int16_t action;
        std::string path;
        const std::vector<ProjectItem>& items;
        Texts written;
        const char* error;
    } cases[] = {
        {0, out, placed, {}, nullptr},
        {9, out, placed, {}, nullptr},
        {1, out, unplaced, {}, nullptr},
        {2, "out", placed, {}, "must be given as a full path"},
        {3, out, placed, {}, "more than the medium's capacity of 1000 bytes"},
        {2, out, placed, {out + "/p_01.quoted_path_list"}, nullptr},
        {1, out, placed, {out + "/p_01"}, nullptr},
    };
    for (const auto& c : cases) {
        const RunSettings settings{"1000", 0, 0, 0, 0, false, c.action, c.path};
        try {
            EXPECT_EQ(PerformAfterRun(c.items, "p", settings, false), c.written) << c.action;
            EXPECT_EQ(c.error, nullptr) << c.action;
        } catch (const MediumExportError& error) {
            ASSERT_NE(c.error, nullptr) << c.action << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(std::filesystem::exists(out + "/p_01/SHA256SUMS"));
}

}  // namespace
}  // namespace zv
