#include "core/project/ProjectStatistics.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;
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
    EXPECT_EQ(ui.OnlyBoxText(), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました");
}

}  // namespace
}  // namespace zv
