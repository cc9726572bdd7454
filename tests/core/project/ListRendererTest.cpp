#include <filesystem>

#include "core/project/ListRenderer.h"
#include "core/project/ResultListDrag.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

template <class Field>
std::vector<Field> Column(const ListContent& list, Field ListRow::*field) {
    std::vector<Field> column;
    for (const ListRow& row : list.rows)
        column.push_back(row.*field);
    return column;
}

TEST(SizeTextTest, RoundsHalvesToEvenAndNamesTheUnit) {
    EXPECT_EQ(SizeText(999, UnitKilobytes), "1 KB");
    EXPECT_EQ(SizeText(1500, UnitKilobytes), "2 KB");
    EXPECT_EQ(SizeText(2500, UnitKilobytes), "2 KB");
    EXPECT_EQ(SizeText(4.7e12, UnitGigabytes), "4,700 GB");
}

TEST(ResultListDragTest, StartsOutsideTheWindowsBandOrPastTheFirstRow) {
    // The main window at left 1200, top 900, 10200 high; rows 6000 wide.
    const WindowPlace window{1200, 900, 10200};
    EXPECT_FALSE(StartsResultListDrag(1500, 900, window, 6000));
    EXPECT_FALSE(StartsResultListDrag(6000, 11100, window, 6000)) << "edges belong to the band";
    EXPECT_TRUE(StartsResultListDrag(1500, 899, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(1500, 11101, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(1199, 2000, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(6001, 2000, window, 6000));
}

class ListRendererTest : public DocumentTest {
  protected:
    ListRendererTest() {
        Add(project, {MakeFile("small.txt", 5)});
        // A group named like the path of a file.
        Add(project, {MakeFile("g1.txt", 12000), MakeFile("g2.txt", 345)}, small);
        project.SetOpenGroup("");
    }

    std::string small = folder.File("small.txt");
    ProjectDocument project;
};

TEST_F(ListRendererTest, TopLevelRowsArePaddedToTheLongestSize) {
    ListContent list = RenderList(project, 0, "", 0);
    EXPECT_EQ(Column(list, &ListRow::sizeText), (Texts{"     5", "12,345"}));
    EXPECT_EQ(Column(list, &ListRow::tag), (Texts{small, small}));
    EXPECT_EQ(Column(list, &ListRow::icon), (std::vector<int>{IconFile, IconGroup}));

    project.SetPathMode(FileNamesOnly);
    list = RenderList(project, 0, "", 0);
    EXPECT_EQ(Column(list, &ListRow::text), (Texts{"small.txt", small})) << "groups keep names";
}

TEST_F(ListRendererTest, AnOpenedGroupShowsItsMembersWithFullPaths) {
    project.SetPathMode(FileNamesOnly);
    std::filesystem::remove(folder.File("g2.txt"));

    const ListContent list = RenderList(project, 0, folder.File("SMALL.txt"), 0);
    EXPECT_TRUE(list.groupOpened);
    EXPECT_EQ(Column(list, &ListRow::text),
              (Texts{"..", folder.File("g1.txt"), folder.File("g2.txt")}));
    EXPECT_EQ(Column(list, &ListRow::sizeText), (Texts{"", "12,000", "   345"}))
        << "a member that has gone shows its last size";
}

TEST_F(ListRendererTest, AnUnknownGroupFallsBackToTheTopLevel) {
    project.SetOpenGroup("Gone");
    EXPECT_FALSE(RenderList(project, 0, "Gone", 0).groupOpened);
    EXPECT_EQ(project.GetOpenGroup(), "");

    // Another unknown name redraws the group that is open.
    project.SetOpenGroup(small);
    EXPECT_TRUE(RenderList(project, 0, "Elsewhere", 0).groupOpened);
    EXPECT_EQ(project.GetOpenGroup(), small);
}

TEST_F(ListRendererTest, TheResultListShowsOneMediumWithItsTotals) {
    project.Items()[1].Medium = 1;
    const ListContent first = RenderList(project, 1, "", 1);
    EXPECT_EQ(first.rows.size(), 1u);
    EXPECT_EQ(first.itemCount, 1);
    EXPECT_EQ(first.totalSize, 12345);
    EXPECT_EQ(Column(RenderList(project, 1, "", 0), &ListRow::sizeText), (Texts{"5"}));
    EXPECT_TRUE(RenderList(project, 1, "", 2).rows.empty());
    ProjectDocument empty;
    EXPECT_EQ(RenderList(empty, 1, "", 0).itemCount, 0) << "the placeholder is no item";
}

}  // namespace
}  // namespace zv
