#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "core/project/EditCommands.h"
#include "core/project/SaveProject.h"
#include "desktop/projectwindow/ListIcons.h"
#include "desktop/projectwindow/MediaOverview.h"
#include "desktop/projectwindow/ProjectListModel.h"
#include "desktop/projectwindow/ProjectListView.h"
#include "desktop/projectwindow/ProjectWindow.h"
#include "tests/desktop/PlannedByTool.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using namespace test;
using Texts = std::vector<std::string>;

constexpr ProjectList kFiles = ProjectList::Files;
constexpr ProjectList kResults = ProjectList::Results;

// The texts of one column of a list view top to bottom, or with column -1
// the rows' tags.
Texts ColumnTexts(const ProjectListView& view, int column) {
    const ProjectListModel& rows = view.Model();
    Texts texts;
    for (int row = 0; row < rows.rowCount(); ++row) {
        texts.push_back(column < 0 ? rows.Tag(row)
                                   : rows.index(row, column).data().toString().toStdString());
    }
    return texts;
}
Texts RowTags(const ProjectListView& view) {
    return ColumnTexts(view, -1);
}

QList<QUrl> Urls(const Texts& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    return urls;
}

// Project windows over real files in a fresh program folder whose settings
// give new windows a plain capacity; every message box is answered by the test.
class ProjectWindowTest : public ::testing::Test {
  protected:
    ProjectWindowTest() { WriteBytes(folder_.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n"); }

    std::string MakeFile(const std::string& name, std::size_t bytes) {
        WriteBytes(folder_.File(name), std::string(bytes, 'x'));
        return folder_.File(name);
    }
    std::string F(const std::string& name) const { return folder_.File(name); }
    FileRef File(const std::string& name, std::size_t bytes) {
        return FileRef::Get(MakeFile(name, bytes));
    }

    static void Show(ProjectWindow& window) {
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Shows a project planned and saved by the command-line tool on media of
    // 700 bytes without tolerance: a and d on medium 1, b and c on medium 2, e
    // larger than a medium.
    void ShowPlannedProject(ProjectWindow& window) {
        MakeFile("a", 400), MakeFile("b", 300), MakeFile("c", 300), MakeFile("d", 200);
        MakeFile("e", 900);
        PlanWithTool(folder_.Path(), F("planned.mtb"), 700, {"a", "b", "c", "d", "e"});
        Show(window);
        ASSERT_TRUE(window.LoadProject(F("planned.mtb")));
    }

    TempFolder folder_;
    ScriptedUi ui_;
};

void Click(ProjectListView& view, int column, int row = -1, Qt::KeyboardModifiers modifiers = {}) {
    QHeaderView* header = view.header();
    if (row >= 0)
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.RowRect(row).center());
    else
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
}

TEST_F(ProjectWindowTest, ListShowsTheRowsAndDisplaySettingsRedrawBothLists) {
    for (int icon = IconFile; icon <= IconGroupCut; ++icon)
        EXPECT_FALSE(ListIconImage(icon).pixmap(16).isNull()) << icon;
    ProjectWindow window;
    const std::string a = MakeFile("a", 5), b = MakeFile("b", 12345);
    const std::string c = MakeFile("c", 1500), d = MakeFile("d", 1000);
    ASSERT_TRUE(window.AddFiles({FileRef::Get(a), FileRef::Get(b)}, ""));
    ASSERT_TRUE(window.AddFiles({FileRef::Get(c), FileRef::Get(d)}, "G"));
    CutCommand(window.Document(), {a, "G"});
    window.RenderList(ProjectList::Files, "", 0);

    const ProjectListView& list = *window.ListView(ProjectList::Files);
    EXPECT_EQ(RowTags(list), (Texts{a, b, "G"}));
    const int icons[] = {IconFileCut, IconFile, IconGroupCut};
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.Model().index(row, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey(),
                  ListIconImage(icons[row]).cacheKey())
            << row;
    window.SetPathMode(FileNamesOnly);
    EXPECT_EQ(ColumnTexts(list, 0), (Texts{"G", "a", "b"}));

    window.Document().Items()[0].Medium = 1;
    window.SelectTab(ProjectTab::Result);
    window.SelectTab(ProjectTab::List);
    window.RenderList(ProjectList::Files, "g", 0);

    // The result list shows medium 1, which does not hold the group the file
    // list goes on showing.
    window.SetSizeUnit(UnitKilobytes);
    EXPECT_EQ(window.GetOpenGroup(), "g");
    EXPECT_EQ(ColumnTexts(list, 1), (Texts{"", "2 KB", "1 KB"}));
    EXPECT_EQ(ColumnTexts(*window.ListView(ProjectList::Results), 1), (Texts{"0 KB"}));
}

// The entries of the medium chooser, the item count and total of the chosen
// medium, and the tags of its rows.
Texts ResultTab(const ProjectWindow& window) {
    const auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    Texts shown;
    for (int i = 0; i < chooser->count(); ++i)
        shown.push_back(chooser->itemText(i).toStdString());
    for (const char* box : {"objText(1)", "objText(2)"})
        shown.push_back(window.findChild<QLineEdit*>(box)->text().toStdString());
    for (const std::string& tag : RowTags(*window.ListView(ProjectList::Results)))
        shown.push_back(tag);
    return shown;
}

void ClickTab(ProjectWindow& window, ProjectTab tab) {
    auto* bar = window.findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(tab)).center());
}

// The texts of one row of the media overview, column by column.
Texts OverviewRow(const QTreeWidgetItem* row) {
    Texts texts;
    for (int column = 0; column < MediaOverview::ColumnCount; ++column)
        texts.push_back(row->text(column).toStdString());
    return texts;
}

// A project planned by the tool opens with its results: the result tab shows
// every medium at once, the unplaced items in red with their reason; choosing
// a row shows its files below, and the chooser there moves the mark along.
TEST_F(ProjectWindowTest, APlannedProjectShowsEveryMediumAndTheUnplacedLoudly) {
    ProjectWindow window;
    ShowPlannedProject(window);
    ClickTab(window, ProjectTab::Result);
    EXPECT_EQ(ResultTab(window),
              (Texts{" 1枚目", " 2枚目", " 未処理分", "2", "600", F("a"), F("d")}));

    auto* overview = window.findChild<MediaOverview*>(QStringLiteral("objMediaOverview"));
    ASSERT_EQ(overview->topLevelItemCount(), 3);
    for (const int m : {0, 1})
        EXPECT_EQ(OverviewRow(overview->topLevelItem(m)),
                  (Texts{m ? " 2枚目" : " 1枚目", "2", "600", "0", "100", "85.7%", ""}));
    EXPECT_TRUE(overview->isColumnHidden(MediaOverview::FileSystem)) << "no room was left";
    const QTreeWidgetItem* unplaced = overview->topLevelItem(2);
    EXPECT_EQ(OverviewRow(unplaced),
              (Texts{" 未処理分 (どのﾒﾃﾞｨｱにも入っていません)", "1", "900", "", "", "", ""}));
    ASSERT_EQ(unplaced->childCount(), 1);
    EXPECT_EQ(OverviewRow(unplaced->child(0)),
              (Texts{F("e"), "", "900", "", "", "", "ﾒﾃﾞｨｱ1枚より大きいため入りません"}));
    EXPECT_TRUE(unplaced->isExpanded());
    for (const QTreeWidgetItem* row :
         {unplaced, static_cast<const QTreeWidgetItem*>(unplaced->child(0))})
        EXPECT_EQ(row->foreground(0).color(), QColor(192, 0, 0));
    EXPECT_EQ(overview->currentItem(), overview->topLevelItem(0)) << "the medium listed below";

    const std::pair<const QTreeWidgetItem*, Texts> choices[] = {
        {overview->topLevelItem(1), {" 1枚目", " 2枚目", " 未処理分", "2", "600", F("b"), F("c")}},
        {unplaced->child(0), {" 1枚目", " 2枚目", " 未処理分", "1", "900", F("e")}}};
    for (const auto& [row, shown] : choices) {
        QTest::mouseClick(overview->viewport(), Qt::LeftButton, {},
                          overview->visualItemRect(row).center());
        EXPECT_EQ(ResultTab(window), shown);
    }
    auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    QTest::keyClick(chooser, Qt::Key_Home);
    EXPECT_EQ(overview->currentItem(), overview->topLevelItem(0));

    // Choosing a tab lets pending events run and tells the main window.
    QSignalSpy changes(&window, &ProjectWindow::StateChanged);
    const int yields = ui_.YieldCount();
    ClickTab(window, ProjectTab::Info);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_GT(ui_.YieldCount(), yields);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("objLabel(18)"))->text(),
              QStringLiteral("1,400 ﾊﾞｲﾄ"));

    // Results cleared after they were shown: the result list must not keep
    // showing a medium.
    window.SelectTab(ProjectTab::List);
    window.ClearResults();
    window.SelectTab(ProjectTab::Result);
    EXPECT_EQ(window.ChosenMedium(), 0);
    EXPECT_EQ(ResultTab(window),
              (Texts{" 未処理分", "5", "2,100", F("a"), F("b"), F("c"), F("d"), F("e")}));
}

// The caption follows the file saved or loaded and marks unsaved changes.
TEST_F(ProjectWindowTest, SaveAndLoadCarryTheCaption) {
    ProjectWindow window;
    const std::string untitled = window.windowTitle().toStdString();
    ASSERT_TRUE(window.AddFiles({File("a", 10), File("b", 20)}, ""));
    EXPECT_EQ(window.windowTitle().toStdString(), untitled + "*") << "unsaved changes are marked";
    ui_.AnswerFile(F("Proj.MTB"));
    EXPECT_TRUE(window.SaveProject(kSaveToPath, false));
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj");
    window.SetRunSettings(window.GetRunSettings());
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj*");
    window.Document().SetModified(false);
    emit window.StateChanged();
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj");
    // The add-files dialog adds to the document and has the list drawn again.
    ASSERT_TRUE(window.Document().AddFiles({File("c", 30)}, ""));
    window.RenderList(ProjectList::Files, "", 0);
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj*");

    ProjectWindow loaded;
    ASSERT_TRUE(loaded.LoadProject(F("Proj.MTB")));
    EXPECT_EQ(loaded.windowTitle().toStdString(), "Proj");
    EXPECT_EQ(RowTags(*loaded.ListView(ProjectList::Files)), (Texts{F("a"), F("b")}));
    test::WriteBytes(F("junk.mtb"), "no database here");
    // A failed load leaves the window its project, under its own file.
    EXPECT_FALSE(loaded.LoadProject(F("junk.mtb")));
    EXPECT_EQ(RowTags(*loaded.ListView(ProjectList::Files)), (Texts{F("a"), F("b")}));
    EXPECT_EQ(loaded.windowTitle().toStdString() + "|" + loaded.Document().FilePath(),
              "Proj|" + F("Proj.MTB"));
    // Closing tells the main window, which brings its commands up to date.
    QSignalSpy changes(&loaded, &ProjectWindow::StateChanged);
    EXPECT_TRUE(loaded.close());
    EXPECT_EQ(changes.count(), 1);
}

// A shown project window with the single files a (300 bytes) and b (5) and
// the group "G" of g1 (4) and g2 (8); the list shows, by name: a, b, G.
class ProjectWindowInteractionTest : public ProjectWindowTest {
  protected:
    ProjectWindowInteractionTest() {
        EXPECT_TRUE(window_.AddFiles({File("a", 300), File("b", 5)}, ""));
        EXPECT_TRUE(window_.AddFiles({File("g1", 4), File("g2", 8)}, "G"));
        window_.Document().SetModified(false);
        Show(window_);
        window_.RenderList(ProjectList::Files, "", 0);
    }

    ProjectListView& List(ProjectList list) { return *window_.ListView(list); }

    void Select(ProjectList list, std::initializer_list<int> rows) {
        List(list).clearSelection();
        for (const int row : rows)
            List(list).SelectRow(row);
    }

    // Press, release, double click and release, as a mouse sends them.
    void DoubleClick(int row) {
        QWidget* viewport = List(kFiles).viewport();
        const QPoint at = List(kFiles).RowRect(row).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    // Whether a list takes dragged data as a copy (Qt hands the rest of a drag
    // only to the widget that took its entering).
    bool TakesDrag(ProjectList list, QMimeData& data) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, {});
        QApplication::sendEvent(List(list).viewport(), &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }

    // Drops the paths onto the file list as a file manager does.
    void Drop(const Texts& paths) {
        QMimeData data;
        data.setUrls(Urls(paths));
        ASSERT_TRUE(TakesDrag(kFiles, data));
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(List(kFiles).viewport(), &drop);
        QCoreApplication::processEvents();
    }

    QLineEdit* Editor() { return List(kFiles).viewport()->findChild<QLineEdit*>(); }

    // The name of the opened group above the file list, empty while hidden.
    std::string GroupLabel() {
        const auto* label = window_.findChild<QLabel*>(QStringLiteral("objGroupLabel(0)"));
        return label->isVisibleTo(&window_) ? label->text().toStdString() : "";
    }

    // Enter ends the editing only once the events that follow it have run,
    // and a closed editor goes away after them.
    void PressInEditor(Qt::Key key) {
        QTest::keyClick(Editor(), key);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ProjectWindow window_;
};

// By size the rows are b (5), G (12), a (300).
TEST_F(ProjectWindowInteractionTest, SizeClicksSortUpDownUpAndAnotherColumnStartsAscending) {
    ProjectListView& list = List(kFiles);
    const Texts up{F("b"), "G", F("a")};
    for (const Texts& order : {up, Texts(up.rbegin(), up.rend()), up}) {
        Click(list, 1);
        EXPECT_EQ(RowTags(list), order);
    }
    Click(list, 0);
    EXPECT_EQ(RowTags(list), (Texts{F("a"), F("b"), "G"}));
}

TEST_F(ProjectWindowInteractionTest, SelectionKindFollowsClicksWithCtrlAndShift) {
    ProjectListView& list = List(kFiles);
    const auto kind = [this] {
        const SelectionKind selection = window_.GetSelectionKind();
        return std::pair(selection.rows, selection.count);
    };
    Click(list, 0, 0);
    Click(list, 0, 2, Qt::ControlModifier);
    EXPECT_EQ(kind(), std::pair(SelectedRows::FilesAndGroups, 2));
    Click(list, 0, 2);
    EXPECT_EQ(kind(), std::pair(SelectedRows::GroupsOnly, 1));

    window_.RenderList(kFiles, "G", 0);
    Click(list, 0, 0);
    EXPECT_EQ(kind(), std::pair(SelectedRows::Nothing, 1)) << "\"..\" is neither";
    Click(list, 0, 2, Qt::ShiftModifier);
    EXPECT_EQ(kind(), std::pair(SelectedRows::FilesOnly, 3));
    window_.SelectTab(ProjectTab::Info);
    EXPECT_EQ(kind(), std::pair(SelectedRows::Nothing, 0));
}

TEST_F(ProjectWindowInteractionTest, DoubleClicksOpenFilesAndGroupsAndDragsHandOutTheirFiles) {
    // A group row hands out all its members.
    Select(kFiles, {2, 0});
    EXPECT_EQ(std::unique_ptr<QMimeData>(List(kFiles).DragData())->urls(),
              Urls({F("a"), F("g1"), F("g2")}));
    EXPECT_EQ(window_.CollectSelectedFiles(kFiles, false).size(), 1u);

    DoubleClick(1);
    DoubleClick(2);
    EXPECT_EQ(ui_.Opened(), (Texts{F("b")})) << "a group starts no program";
    EXPECT_EQ(ColumnTexts(List(kFiles), 0), (Texts{"..", F("g1"), F("g2")}));
    EXPECT_EQ(GroupLabel(), "ｸﾞﾙｰﾌﾟ：G");
    Select(kFiles, {0});
    EXPECT_TRUE(std::unique_ptr<QMimeData>(List(kFiles).DragData())->urls().isEmpty())
        << "the \"..\" row stands for no file";

    ui_.SetOpenSucceeds(false);
    ui_.Answer(MsgResult::OK);
    DoubleClick(2);
    EXPECT_EQ(ui_.OnlyBoxText(),
              "次のﾌｧｲﾙまたはｱﾄﾞﾚｽを開くﾌﾟﾛｸﾞﾗﾑが見つかりませんでした\r\n" + F("g2"));
    EXPECT_EQ(window_.GetOpenGroup(), "G") << "a failed opening changes nothing";

    DoubleClick(0);
    EXPECT_EQ(GroupLabel(), "");
    EXPECT_EQ(RowTags(List(kFiles)), (Texts{F("a"), F("b"), "G"}));
}

TEST_F(ProjectWindowInteractionTest, DroppedFilesJoinTheListAndSeveralGoWhereTheGroupQuestionSays) {
    QMimeData text;
    text.setText(QStringLiteral("no files"));
    EXPECT_FALSE(TakesDrag(kFiles, text));
    text.setUrls(Urls({F("a")}));
    EXPECT_FALSE(TakesDrag(kResults, text)) << "the result list takes nothing";

    // The first question is answered with a new name, the second with the
    // name of a group that exists, as confirmed in the question.
    Texts asked;
    window_.SetGroupNameAsker([&](const std::vector<ItemRecord>& items) {
        asked.push_back(items.back().Name);
        return std::string(asked.size() == 1 ? "Dropped" : "g");
    });
    MakeFile("new", 16), MakeFile("c", 1), MakeFile("d", 1), MakeFile("e", 1), MakeFile("f", 1);
    std::filesystem::create_directory(F("sub"));
    ui_.Answer(MsgResult::OK);
    Drop({F("sub"), F("new"), F("missing")});
    ExpectBox(ui_.Boxes().at(0), "ﾄﾞﾗｲﾌﾞやﾌｫﾙﾀﾞはﾄﾞﾗｯｸﾞ対象外になります", "Zarvopack");
    EXPECT_TRUE(asked.empty()) << "one file is asked nothing";
    EXPECT_EQ(List(kFiles).Model().rowCount(), 4);

    Drop({F("c"), F("d")});
    EXPECT_EQ(asked, (Texts{F("new")}));
    EXPECT_EQ(window_.Document().Items().back().Name, "Dropped");
    EXPECT_EQ(ColumnTexts(List(kFiles), 0).front(), "..") << "the new group opens";

    Drop({F("e"), F("f")});
    EXPECT_EQ(window_.Document().Items().size(), 5u);
    EXPECT_EQ(window_.Document().Items()[2].Files.size(), 4u);
}

TEST_F(ProjectWindowInteractionTest, ADragOutOfTheResultListChecksTheFiles) {
    for (ItemRecord& item : window_.Document().Items())
        item.Medium = 1;
    window_.SelectTab(ProjectTab::Result);
    std::filesystem::remove(F("g1"));

    emit List(kResults).DragFinished(Qt::IgnoreAction);
    EXPECT_FALSE(window_.Document().Modified()) << "nothing was dropped";
    emit List(kResults).DragFinished(Qt::MoveAction);
    EXPECT_TRUE(window_.Document().Modified());
    EXPECT_EQ(ColumnTexts(List(kResults), 1).back(), "  8") << "g1 has left the group";

    // A file whose state cannot be read keeps the list as it is.
    std::filesystem::remove(F("a"));
    std::filesystem::create_symlink(F("a"), F("a"));
    std::filesystem::remove(F("b"));
    ui_.Answer(MsgResult::OK);
    emit List(kResults).DragFinished(Qt::CopyAction);
    ExpectBox(ui_.Boxes().at(0), "ファイルリストの整合性が取れません\r\n更新に失敗しました",
              "Zarvopack");
    EXPECT_EQ(window_.Document().Items().size(), 3u);
}

TEST_F(ProjectWindowInteractionTest, RenameEditsTheRowInPlaceAndChecksTheNewName) {
    Select(kFiles, {2});
    window_.RunEditCommand(EditCommand::Rename);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), QStringLiteral("G"));
    Editor()->setText(QString::fromStdString(F("a")));
    ui_.Answer(MsgResult::OK);  // the name of a file is refused
    PressInEditor(Qt::Key_Return);
    EXPECT_EQ(ColumnTexts(List(kFiles), 0).back(), "G");

    // An edit cancelled or left as it was asks nothing.
    window_.StartRename();
    PressInEditor(Qt::Key_Escape);
    window_.StartRename();
    PressInEditor(Qt::Key_Return);

    window_.StartRename();
    Editor()->setText(QStringLiteral("Holiday's"));
    PressInEditor(Qt::Key_Return);
    EXPECT_EQ(ColumnTexts(List(kFiles), 0).back(), "Holiday's");

    Select(kFiles, {0, 1});
    window_.StartRename();
    EXPECT_EQ(Editor(), nullptr) << "two rows selected";
    window_.SelectTab(ProjectTab::Result);
    Select(kFiles, {0});
    window_.StartRename();
    EXPECT_EQ(Editor(), nullptr) << "the file list does not show";
}

}  // namespace
}  // namespace zv
