#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "document/ListIcons.h"
#include "document/frmNested.h"
#include "platform/ScriptedUi.h"
#include "resources/StringTable.h"
#include "shell/AppState.h"
#include "tests/document/ListViewRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using test::ColumnTexts;
using test::Row;
using test::RowTags;
using Texts = std::vector<std::string>;

const QColor kDarkBlue(0, 0, 192);

template <class Widget>
Widget* Find(const QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

qint64 IconKey(const QTreeWidget& view, int row) {
    return Row(view, row).icon(0).cacheKey();
}

qint64 IconKey(int icon) {
    return ListIconImage(icon).cacheKey();
}

QColor TextColour(const QTreeWidget& view) {
    return view.palette().color(QPalette::Text);
}

void ClickHeader(QTreeWidget& view, int column) {
    QHeaderView* header = view.header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void ClickRow(QTreeWidget& view, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = view.visualItemRect(view.topLevelItem(row));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, rect.center());
}

class frmNestedTest : public ::testing::Test {
  protected:
    // New windows take a plain capacity from the settings file, so the
    // information tab has a size to work with.
    frmNestedTest() { test::WriteBytes(folder_.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n"); }

    std::string MakeFile(const std::string& name, std::size_t bytes) {
        const std::string path = folder_.File(name);
        test::WriteBytes(path, std::string(bytes, 'x'));
        return path;
    }

    FileRef File(const std::string& name, std::size_t bytes) {
        return FileRef::Get(MakeFile(name, bytes));
    }

    void Show(frmNested& window) {
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
};

TEST_F(frmNestedTest, NewWindowIsUntitledEmptyAndBuiltOfItsControls) {
    const int counter = App().untitledCounter;
    frmNested window;
    frmNested next;
    EXPECT_EQ(window.windowTitle().toStdString(), "無題" + std::to_string(counter + 1));
    EXPECT_EQ(next.windowTitle().toStdString(), "無題" + std::to_string(counter + 2));
    EXPECT_EQ(window.GetSizeUnit(), UnitBytes);
    EXPECT_EQ(window.GetPathMode(), FullPaths);
    window.RenderList(0, "", 0);
    EXPECT_EQ(window.ListView(0)->topLevelItemCount(), 0);

    auto* tabs = Find<QTabWidget>(window, "objSTab");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0).toStdString(), "ﾘｽﾄ");
    EXPECT_EQ(tabs->tabText(1).toStdString(), "結果");
    EXPECT_EQ(tabs->tabText(2).toStdString(), "情報");
    EXPECT_EQ(window.CurrentTab(), 0);
    EXPECT_TRUE(tabs->widget(0)->isAncestorOf(Find<QTreeWidget>(window, "objListView(0)")));
    for (const char* name : {"objListView(1)", "objCombo(0)", "objText(1)", "objText(2)",
                             "objLabel(21)", "objLabel(22)", "objLabel(23)"})
        EXPECT_TRUE(tabs->widget(1)->isAncestorOf(Find<QWidget>(window, name))) << name;
    EXPECT_TRUE(Find<QLineEdit>(window, "objText(1)")->isReadOnly());
    EXPECT_TRUE(Find<QLineEdit>(window, "objText(2)")->isReadOnly());
    for (int k = 1; k <= 23; ++k) {
        const std::string name = "objLabel(" + std::to_string(k) + ")";
        auto* label = Find<QLabel>(window, name.c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().toStdString(), ResString(1100 + k)) << name;
        if (k <= 20) {
            EXPECT_TRUE(tabs->widget(2)->isAncestorOf(label)) << name;
        }
    }
    EXPECT_EQ(Find<QLabel>(window, "objLabel(1)")->text().toStdString(), "登録ﾌｧｲﾙ数：");
    EXPECT_EQ(Find<QLabel>(window, "objLabel(23)")->text().toStdString(), "ﾊﾞｲﾄ");

    // The columns split the width the window had when it was made.
    const int width = window.width();
    for (int list = 0; list < 2; ++list) {
        QTreeWidget& view = *window.ListView(list);
        EXPECT_EQ(view.headerItem()->text(0).toStdString(), "項目名");
        EXPECT_EQ(view.headerItem()->text(1).toStdString(), "ｻｲｽﾞ");
        EXPECT_TRUE(view.headerItem()->textAlignment(1) & Qt::AlignRight);
        EXPECT_EQ(view.columnWidth(0), width * 4 / 5);
        EXPECT_EQ(view.columnWidth(1), width / 5);
        EXPECT_FALSE(view.rootIsDecorated());
        EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    }
}

TEST_F(frmNestedTest, ListShowsItemsWithPaddedSizesIconsAndTags) {
    for (int icon = IconFile; icon <= IconGroupCut; ++icon)
        EXPECT_FALSE(ListIconImage(icon).pixmap(16).isNull()) << icon;

    frmNested window;
    const std::string a = MakeFile("a", 5);
    const std::string b = MakeFile("b", 12345);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(a), FileRef::Get(b)}, ""));
    ASSERT_TRUE(window.AddFiles({File("c", 1500), File("d", 1000)}, "G"));
    window.RenderList(0, "", 0);

    const QTreeWidget& list = *window.ListView(0);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{a, b, "G"}));
    EXPECT_EQ(ColumnTexts(list, 1), (Texts{"     5", "12,345", " 2,500"}));
    EXPECT_EQ(RowTags(list), (Texts{a, b, "G"}));
    EXPECT_TRUE(Row(list, 0).textAlignment(1) & Qt::AlignRight);
    EXPECT_EQ(Row(list, 0).Kind(), RowKind::File);
    EXPECT_EQ(Row(list, 2).Kind(), RowKind::Group);
    EXPECT_EQ(IconKey(list, 0), IconKey(IconFile));
    EXPECT_EQ(IconKey(list, 2), IconKey(IconGroup));
    EXPECT_EQ(TextColour(list), QColor(Qt::black));

    window.Document().Items()[0].CutMarks = {-1};
    window.Document().Items()[2].CutMarks = {-1};
    window.RenderList(0, "", 0);
    EXPECT_EQ(IconKey(list, 0), IconKey(IconFileCut));
    EXPECT_EQ(IconKey(list, 1), IconKey(IconFile));
    EXPECT_EQ(IconKey(list, 2), IconKey(IconGroupCut));
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);
}

TEST_F(frmNestedTest, OpenedGroupShowsItsMembersInDarkBlueUntilTheTopLevelReturns) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({File("a", 10)}, ""));
    const std::string c = MakeFile("c", 1500);
    const std::string d = MakeFile("d", 1000);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(c), FileRef::Get(d)}, "G"));
    window.Document().Items()[1].CutMarks = {1};

    // Path display 1 shortens top-level files only; members keep full paths.
    window.SetPathMode(FileNamesOnly);
    const QTreeWidget& list = *window.ListView(0);
    EXPECT_EQ(window.GetOpenGroup(), "G");
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"..", c, d}));
    EXPECT_EQ(ColumnTexts(list, 1), (Texts{"", "1,500", "1,000"}));
    EXPECT_EQ(RowTags(list), (Texts{"", c, d}));
    EXPECT_EQ(Row(list, 0).Kind(), RowKind::Up);
    EXPECT_EQ(Row(list, 1).Kind(), RowKind::File);
    EXPECT_EQ(IconKey(list, 0), IconKey(IconGroup));
    EXPECT_EQ(IconKey(list, 1), IconKey(IconFile));
    EXPECT_EQ(IconKey(list, 2), IconKey(IconFileCut));
    EXPECT_EQ(TextColour(list), kDarkBlue);

    window.RenderList(0, "", 0);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"G", "a"}));
    EXPECT_EQ(TextColour(list), QColor(Qt::black));
    EXPECT_EQ(window.GetOpenGroup(), "");

    window.RenderList(0, "g", 0);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"..", c, d}));
}

TEST_F(frmNestedTest, SizeUnitRedrawsBothListsInKilobytes) {
    frmNested window;
    ASSERT_TRUE(
        window.AddFiles({File("p", 999), File("q", 1500), File("r", 2500), File("s", 12345)}, ""));
    window.SetSizeUnit(UnitKilobytes);
    EXPECT_EQ(window.GetSizeUnit(), UnitKilobytes);
    const Texts kilobytes{" 1 KB", " 2 KB", " 2 KB", "12 KB"};
    EXPECT_EQ(ColumnTexts(*window.ListView(0), 1), kilobytes);
    // Nothing is placed yet, so the result list shows every item as unplaced.
    EXPECT_EQ(ColumnTexts(*window.ListView(1), 1), kilobytes);
}

TEST_F(frmNestedTest, SizeColumnClicksSortUpDownUpAndAnotherColumnStartsAscending) {
    frmNested window;
    const std::string n1 = MakeFile("n1", 300);
    const std::string n2 = MakeFile("n2", 5);
    const std::string n3 = MakeFile("n3", 12345);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(n1), FileRef::Get(n2), FileRef::Get(n3)}, ""));
    Show(window);
    window.RenderList(0, "", 0);
    QTreeWidget& list = *window.ListView(0);
    EXPECT_EQ(RowTags(list), (Texts{n1, n2, n3}));

    ClickHeader(list, 1);
    EXPECT_EQ(RowTags(list), (Texts{n2, n1, n3}));
    ClickHeader(list, 1);
    EXPECT_EQ(RowTags(list), (Texts{n3, n1, n2}));
    ClickHeader(list, 1);
    EXPECT_EQ(RowTags(list), (Texts{n2, n1, n3}));
    ClickHeader(list, 1);

    // A new drawing keeps the order the user chose.
    window.RenderList(0, "", 0);
    EXPECT_EQ(RowTags(list), (Texts{n3, n1, n2}));

    ClickHeader(list, 0);
    EXPECT_EQ(RowTags(list), (Texts{n1, n2, n3}));
}

TEST_F(frmNestedTest, SelectionKindFollowsClicksWithCtrlAndShift) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({File("a", 1), File("b", 2)}, ""));
    ASSERT_TRUE(window.AddFiles({File("c", 3), File("d", 4)}, "G"));
    Show(window);
    window.RenderList(0, "", 0);
    QTreeWidget& list = *window.ListView(0);
    ASSERT_EQ(list.topLevelItemCount(), 3);  // a, b, G
    QSignalSpy changes(&window, &frmNested::StateChanged);

    auto kind = [&window] {
        const SelectionKind selection = window.GetSelectionKind();
        return std::pair(selection.kind, selection.count);
    };
    EXPECT_EQ(kind(), std::pair(0, 0));
    ClickRow(list, 0);
    EXPECT_EQ(kind(), std::pair(1, 1));
    EXPECT_GE(changes.count(), 1);
    ClickRow(list, 1, Qt::ControlModifier);
    EXPECT_EQ(kind(), std::pair(1, 2));
    ClickRow(list, 2, Qt::ControlModifier);
    EXPECT_EQ(kind(), std::pair(3, 3));
    ClickRow(list, 2);
    EXPECT_EQ(kind(), std::pair(2, 1));

    window.RenderList(0, "G", 0);
    ClickRow(list, 0);
    EXPECT_EQ(kind(), std::pair(0, 1));
    ClickRow(list, 2, Qt::ShiftModifier);
    EXPECT_EQ(kind(), std::pair(1, 3));

    window.SelectTab(2);
    EXPECT_EQ(kind(), std::pair(0, 0));
}

TEST_F(frmNestedTest, DisplaySettingKeepsTheGroupTheFileListShows) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({File("a", 10)}, ""));
    ASSERT_TRUE(window.AddFiles({File("c", 20), File("d", 30)}, "G"));
    window.Document().Items()[0].Medium = 1;
    window.Document().Items()[1].Medium = 2;
    window.SelectTab(1);
    window.SelectTab(0);
    window.RenderList(0, "G", 0);

    // The result list shows medium 1, which does not hold the group.
    window.SetSizeUnit(UnitKilobytes);
    EXPECT_EQ(window.GetOpenGroup(), "G");
    EXPECT_EQ(ColumnTexts(*window.ListView(0), 0).front(), "..");
    EXPECT_EQ(RowTags(*window.ListView(1)), (Texts{folder_.File("a")}));
}

TEST_F(frmNestedTest, TabsSwitchWithTheirViewsAndCanBeHidden) {
    frmNested window;
    QSignalSpy changes(&window, &frmNested::StateChanged);
    const int yields = ui_.YieldCount();

    window.SelectTab(2);
    EXPECT_EQ(window.CurrentTab(), 2);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_GT(ui_.YieldCount(), yields);
    EXPECT_EQ(Find<QLabel>(window, "objLabel(17)")->text().toStdString(), "未実行");
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);

    window.SetTabVisible(1, false);
    EXPECT_FALSE(window.IsTabVisible(1));
    EXPECT_TRUE(window.IsTabVisible(0));
    window.SetTabVisible(1, true);
    EXPECT_TRUE(window.IsTabVisible(1));
}

}  // namespace
}  // namespace zv
