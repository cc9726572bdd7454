#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "desktop/projectwindow/ProjectListView.h"
#include "tests/desktop/projectwindow/WindowTest.h"

namespace zv {
namespace {

using namespace test;

constexpr ProjectList kFiles = ProjectList::Files;
constexpr ProjectList kResults = ProjectList::Results;

QList<QUrl> Urls(const Texts& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    return urls;
}

// A shown project window with the single files a (1 byte) and b (2) and the
// group "G" of g1 (4) and g2 (8); the list shows, by name: a, b, G.
class frmNestedInteractionTest : public WindowTest {
  protected:
    frmNestedInteractionTest() {
        EXPECT_TRUE(window_.AddFiles({File("a", 1), File("b", 2)}, ""));
        EXPECT_TRUE(window_.AddFiles({File("g1", 4), File("g2", 8)}, "G"));
        window_.Document().SetModified(false);
        Show(window_);
        window_.RenderList(ProjectList::Files, "", 0);
    }

    ProjectListView& List(ProjectList list) {
        return *static_cast<ProjectListView*>(window_.ListView(list));
    }

    void Select(ProjectList list, std::initializer_list<int> rows) {
        List(list).clearSelection();
        for (const int row : rows)
            List(list).topLevelItem(row)->setSelected(true);
    }

    // Press, release, double click and release, as a mouse sends them.
    void DoubleClick(int row) {
        QWidget* viewport = List(kFiles).viewport();
        const QPoint at = RowCentre(List(kFiles), row);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    // Whether a list takes dragged data as a copy when it comes over it. Qt
    // hands the rest of a drag only to the widget that took its entering.
    bool TakesDrag(ProjectList list, QMimeData& data) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, {});
        QApplication::sendEvent(List(list).viewport(), &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }

    // Drops the paths onto the file list as a file manager does, and lets the
    // window take them.
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

    frmNested window_;
};

TEST_F(frmNestedInteractionTest, DoubleClicksOpenFilesAndGroupsAndGoBackUp) {
    DoubleClick(1);
    EXPECT_EQ(ui_.Opened(), (Texts{F("b")}));
    EXPECT_EQ(window_.GetOpenGroup(), "");

    DoubleClick(2);
    EXPECT_EQ(ui_.Opened().size(), 1u) << "a group starts no program";
    EXPECT_EQ(ColumnTexts(List(kFiles), 0), (Texts{"..", F("g1"), F("g2")}));
    EXPECT_EQ(TextColour(List(kFiles)), kDarkBlue);
    EXPECT_EQ(GroupLabel(), "ｸﾞﾙｰﾌﾟ：G");

    ui_.SetOpenSucceeds(false);
    ui_.Answer(MsgResult::OK);
    DoubleClick(2);
    EXPECT_EQ(ui_.Opened().back(), F("g2"));
    EXPECT_EQ(ui_.Boxes().back().text,
              "次のﾌｧｲﾙまたはｱﾄﾞﾚｽを開くﾌﾟﾛｸﾞﾗﾑが見つかりませんでした\r\n" + F("g2"));
    EXPECT_EQ(window_.GetOpenGroup(), "G") << "a failed opening changes nothing";

    DoubleClick(0);
    EXPECT_EQ(window_.GetOpenGroup(), "");
    EXPECT_EQ(GroupLabel(), "");
    EXPECT_EQ(RowTags(List(kFiles)), (Texts{F("a"), F("b"), "G"}));
}

TEST_F(frmNestedInteractionTest, DragsHandOutFilesAndAGroupRowAllItsMembers) {
    Select(kFiles, {2, 0});
    std::unique_ptr<QMimeData> data(List(kFiles).DragData());
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/uri-list")));
    EXPECT_EQ(data->urls(), Urls({F("a"), F("g1"), F("g2")}));

    EXPECT_EQ(window_.CollectSelectedFiles(kFiles, false).size(), 1u);
    window_.RenderList(ProjectList::Files, "G", 0);
    Select(kFiles, {0});
    std::unique_ptr<QMimeData> up(List(kFiles).DragData());
    EXPECT_TRUE(up->urls().isEmpty()) << "the \"..\" row stands for no file";
}

TEST_F(frmNestedInteractionTest, DroppedFilesJoinTheListAndSeveralGoWhereTheGroupQuestionSays) {
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
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    ExpectBox(ui_.Boxes()[0], "ﾄﾞﾗｲﾌﾞやﾌｫﾙﾀﾞはﾄﾞﾗｯｸﾞ対象外になります", "Zarvopack");
    EXPECT_TRUE(asked.empty()) << "one file is asked nothing";
    EXPECT_EQ(window_.Document().Items().back().Name, F("new"));
    EXPECT_EQ(List(kFiles).topLevelItemCount(), 4);
    EXPECT_TRUE(window_.Document().Modified());

    Drop({F("c"), F("d")});
    EXPECT_EQ(asked, (Texts{F("new")}));
    EXPECT_EQ(window_.Document().Items().back().Name, "Dropped");
    EXPECT_EQ(ColumnTexts(List(kFiles), 0).front(), "..") << "the new group opens";

    Drop({F("e"), F("f")});
    EXPECT_EQ(window_.Document().Items().size(), 5u);
    EXPECT_EQ(window_.Document().Items()[2].Files.size(), 4u);
}

TEST_F(frmNestedInteractionTest, ADragOutOfTheResultListChecksTheFiles) {
    for (ItemRecord& item : window_.Document().Items())
        item.Medium = 1;
    window_.SelectTab(ProjectTab::Result);
    std::filesystem::remove(F("g1"));

    emit List(kResults).DragFinished(Qt::IgnoreAction);
    EXPECT_FALSE(window_.Document().Modified()) << "nothing was dropped";
    EXPECT_EQ(window_.Document().Items()[2].Files.size(), 2u);

    emit List(kResults).DragFinished(Qt::MoveAction);
    EXPECT_TRUE(window_.Document().Modified());
    EXPECT_EQ(window_.Document().Items()[2].PathList, F("g2"));
    EXPECT_EQ(ColumnTexts(List(kResults), 1).back(), "8");

    // A file whose state cannot be read keeps the list as it is.
    std::filesystem::remove(F("a"));
    std::filesystem::create_symlink(F("a"), F("a"));
    std::filesystem::remove(F("b"));
    ui_.Answer(MsgResult::OK);
    emit List(kResults).DragFinished(Qt::CopyAction);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    ExpectBox(ui_.Boxes()[0], "ファイルリストの整合性が取れません\r\n更新に失敗しました",
              "Zarvopack");
    EXPECT_EQ(window_.Document().Items().size(), 3u);
}

TEST_F(frmNestedInteractionTest, RenameEditsTheRowInPlaceAndChecksTheNewName) {
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
    EXPECT_TRUE(window_.Document().Modified());

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
