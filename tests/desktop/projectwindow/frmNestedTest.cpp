#include <QHeaderView>

#include "core/project/EditCommands.h"
#include "desktop/projectwindow/ListIcons.h"
#include "tests/desktop/projectwindow/WindowTest.h"

namespace zv {
namespace {

using namespace test;
using frmNestedTest = WindowTest;

// Whether the rows show these icons, top to bottom.
bool ShowsIcons(const QTreeWidget& view, std::vector<int> icons) {
    bool same = view.topLevelItemCount() == static_cast<int>(icons.size());
    for (int row = 0; same && row < view.topLevelItemCount(); ++row)
        same = view.topLevelItem(row)->icon(0).cacheKey() == ListIconImage(icons[row]).cacheKey();
    return same;
}

void ClickHeader(QTreeWidget& view, int column) {
    QHeaderView* header = view.header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void ClickRow(QTreeWidget& view, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, RowCentre(view, row));
}

TEST_F(frmNestedTest, ListShowsTheRowsAndDisplaySettingsRedrawBothLists) {
    for (int icon = IconFile; icon <= IconGroupCut; ++icon)
        EXPECT_FALSE(ListIconImage(icon).pixmap(16).isNull()) << icon;
    frmNested window;
    const std::string a = MakeFile("a", 5), b = MakeFile("b", 12345);
    const std::string c = MakeFile("c", 1500), d = MakeFile("d", 1000);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(a), FileRef::Get(b)}, ""));
    ASSERT_TRUE(window.AddFiles({FileRef::Get(c), FileRef::Get(d)}, "G"));
    CutCommand(window.Document(), {a, "G"});
    window.RenderList(ProjectList::Files, "", 0);

    const QTreeWidget& list = *window.ListView(ProjectList::Files);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{a, b, "G"}));
    EXPECT_EQ(ColumnTexts(list, 1), (Texts{"     5", "12,345", " 2,500"}));
    EXPECT_EQ(RowTags(list), (Texts{a, b, "G"}));
    EXPECT_TRUE(list.topLevelItem(0)->textAlignment(1) & Qt::AlignRight);
    EXPECT_TRUE(ShowsIcons(list, {IconFileCut, IconFile, IconGroupCut}));
    EXPECT_EQ(TextColour(list), QColor(Qt::black));
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);
    window.SetPathMode(FileNamesOnly);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"G", "a", "b"}));

    CutCommand(window.Document(), {d});
    window.Document().Items()[0].Medium = 1;
    window.SelectTab(ProjectTab::Result);
    window.SelectTab(ProjectTab::List);
    window.RenderList(ProjectList::Files, "g", 0);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"..", c, d})) << "members keep their full paths";
    EXPECT_TRUE(ShowsIcons(list, {IconGroup, IconFile, IconFileCut}));
    EXPECT_EQ(TextColour(list), kDarkBlue);

    // The result list shows medium 1, which does not hold the group the file
    // list goes on showing.
    window.SetSizeUnit(UnitKilobytes);
    EXPECT_EQ(window.GetOpenGroup(), "g");
    EXPECT_EQ(ColumnTexts(list, 1), (Texts{"", "2 KB", "1 KB"}));
    EXPECT_EQ(ColumnTexts(*window.ListView(ProjectList::Results), 1), (Texts{"0 KB"}));

    window.RenderList(ProjectList::Files, "", 0);
    EXPECT_EQ(TextColour(list), QColor(Qt::black));
}

TEST_F(frmNestedTest, SizeColumnClicksSortUpDownUpAndAnotherColumnStartsAscending) {
    frmNested window;
    const std::string n1 = MakeFile("n1", 300), n2 = MakeFile("n2", 5), n3 = MakeFile("n3", 12345);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(n1), FileRef::Get(n2), FileRef::Get(n3)}, ""));
    Show(window);
    window.RenderList(ProjectList::Files, "", 0);
    QTreeWidget& list = *window.ListView(ProjectList::Files);
    for (const Texts& order : {Texts{n2, n1, n3}, Texts{n3, n1, n2}, Texts{n2, n1, n3}}) {
        ClickHeader(list, 1);
        EXPECT_EQ(RowTags(list), order);
    }
    ClickHeader(list, 1);
    window.RenderList(ProjectList::Files, "", 0);
    EXPECT_EQ(RowTags(list), (Texts{n3, n1, n2})) << "a new drawing keeps the order";
    ClickHeader(list, 0);
    EXPECT_EQ(RowTags(list), (Texts{n1, n2, n3}));

    // A wider window gives its room to the names, not to the sizes.
    const int nameWidth = list.columnWidth(0);
    const int sizeWidth = list.columnWidth(1);
    window.resize(1200, 480);
    QCoreApplication::processEvents();
    EXPECT_GT(list.columnWidth(0), nameWidth + 400);
    EXPECT_EQ(list.columnWidth(1), sizeWidth);
}

TEST_F(frmNestedTest, SelectionKindFollowsClicksWithCtrlAndShift) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({File("a", 1), File("b", 2)}, ""));
    ASSERT_TRUE(window.AddFiles({File("c", 3), File("d", 4)}, "G"));
    Show(window);
    window.RenderList(ProjectList::Files, "", 0);
    QTreeWidget& list = *window.ListView(ProjectList::Files);  // a, b, G
    const auto kind = [&window] {
        const SelectionKind selection = window.GetSelectionKind();
        return std::pair(selection.rows, selection.count);
    };
    ClickRow(list, 0);
    ClickRow(list, 2, Qt::ControlModifier);
    EXPECT_EQ(kind(), std::pair(SelectedRows::FilesAndGroups, 2));
    ClickRow(list, 2);
    EXPECT_EQ(kind(), std::pair(SelectedRows::GroupsOnly, 1));

    window.RenderList(ProjectList::Files, "G", 0);
    ClickRow(list, 0);
    EXPECT_EQ(kind(), std::pair(SelectedRows::Nothing, 1)) << "\"..\" is neither";
    ClickRow(list, 2, Qt::ShiftModifier);
    EXPECT_EQ(kind(), std::pair(SelectedRows::FilesOnly, 3));
    window.SelectTab(ProjectTab::Info);
    EXPECT_EQ(kind(), std::pair(SelectedRows::Nothing, 0));
}

}  // namespace
}  // namespace zv
