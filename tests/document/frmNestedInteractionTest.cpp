#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "document/ProjectListView.h"
#include "document/frmNested.h"
#include "platform/ScriptedUi.h"
#include "tests/document/ListViewRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using test::ColumnTexts;
using test::RowTags;
using Texts = std::vector<std::string>;

const QColor kDarkBlue(0, 0, 192);

QPoint RowCentre(const QTreeWidget& view, int row) {
    return view.visualItemRect(view.topLevelItem(row)).center();
}

QColor TextColour(const QTreeWidget& view) {
    return view.palette().color(QPalette::Text);
}

QList<QUrl> Urls(const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    return urls;
}

// A project window with the single files a (1 byte) and b (2) and the group
// "G" of g1 (4) and g2 (8); the list shows, by name: a, b, G.
class frmNestedInteractionTest : public ::testing::Test {
  protected:
    frmNestedInteractionTest() {
        test::WriteBytes(folder_.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n");
        EXPECT_TRUE(window_.AddFiles({File("a", 1), File("b", 2)}, ""));
        EXPECT_TRUE(window_.AddFiles({File("g1", 4), File("g2", 8)}, "G"));
        window_.Document().SetModified(false);
        window_.resize(640, 480);
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
        window_.RenderList(0, "", 0);
    }

    FileRef File(const std::string& name, std::size_t bytes) {
        test::WriteBytes(folder_.File(name), std::string(bytes, 'x'));
        return FileRef::Get(folder_.File(name));
    }

    ProjectListView& List(int index) {
        return *static_cast<ProjectListView*>(window_.ListView(index));
    }

    void Select(int list, std::initializer_list<int> rows) {
        List(list).clearSelection();
        for (const int row : rows)
            List(list).topLevelItem(row)->setSelected(true);
    }

    // Press, release, double click and release, as a mouse sends them.
    void DoubleClick(int list, int row) {
        QWidget* viewport = List(list).viewport();
        const QPoint at = RowCentre(List(list), row);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    // Whether a list takes dragged data as a copy when it comes over it. Qt
    // hands the rest of a drag only to the widget that took its entering.
    bool TakesDrag(int list, QMimeData& data) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, {});
        QApplication::sendEvent(List(list).viewport(), &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }

    // Drops the paths onto a list as a file manager does, and lets the window
    // take them.
    void Drop(int list, const std::vector<std::string>& paths) {
        QMimeData data;
        data.setUrls(Urls(paths));
        if (TakesDrag(list, data)) {
            QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(List(list).viewport(), &drop);
        }
        QCoreApplication::processEvents();
    }

    QLineEdit* Editor() { return List(0).viewport()->findChild<QLineEdit*>(); }

    // A key in the row's editor; Enter ends the editing only once the events
    // that follow it have run, and a closed editor goes away after them.
    void PressInEditor(Qt::Key key) {
        QTest::keyClick(Editor(), key);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    frmNested window_;
};

TEST_F(frmNestedInteractionTest, DoubleClicksOpenFilesAndGroupsAndGoBackUp) {
    DoubleClick(0, 1);
    EXPECT_EQ(ui_.Opened(), (Texts{folder_.File("b")}));
    EXPECT_EQ(window_.GetOpenGroup(), "");

    DoubleClick(0, 2);
    EXPECT_EQ(ui_.Opened().size(), 1u) << "a group starts no program";
    EXPECT_EQ(window_.GetOpenGroup(), "G");
    EXPECT_EQ(ColumnTexts(List(0), 0), (Texts{"..", folder_.File("g1"), folder_.File("g2")}));
    EXPECT_EQ(TextColour(List(0)), kDarkBlue);

    ui_.SetOpenSucceeds(false);
    DoubleClick(0, 2);
    EXPECT_EQ(ui_.Opened().back(), folder_.File("g2"));
    EXPECT_EQ(window_.GetOpenGroup(), "G") << "a failed opening changes nothing";

    DoubleClick(0, 0);
    EXPECT_EQ(window_.GetOpenGroup(), "");
    EXPECT_EQ(RowTags(List(0)), (Texts{folder_.File("a"), folder_.File("b"), "G"}));
    EXPECT_EQ(TextColour(List(0)), QColor(Qt::black));
}

TEST_F(frmNestedInteractionTest, CtrlASelectsEveryRow) {
    List(0).setFocus();
    QTest::keyClick(&List(0), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(List(0).selectedItems().size(), 3);
}

TEST_F(frmNestedInteractionTest, DragsHandOutFilesAndAGroupRowAllItsMembers) {
    Select(0, {2, 0});
    std::unique_ptr<QMimeData> data(List(0).DragData());
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/uri-list")));
    EXPECT_EQ(data->urls(), Urls({folder_.File("a"), folder_.File("g1"), folder_.File("g2")}));

    EXPECT_EQ(window_.CollectSelectedFiles(0, false).size(), 1u);
    window_.RenderList(0, "G", 0);
    Select(0, {0});
    std::unique_ptr<QMimeData> up(List(0).DragData());
    EXPECT_TRUE(up->urls().isEmpty()) << "the \"..\" row stands for no file";
}

TEST_F(frmNestedInteractionTest, TheFileListTakesDroppedFilesAndRefusesFolders) {
    QMimeData files;
    files.setUrls(Urls({folder_.File("a")}));
    QMimeData text;
    text.setText(QStringLiteral("no files"));
    EXPECT_FALSE(TakesDrag(0, text));
    EXPECT_FALSE(TakesDrag(1, files));
    EXPECT_TRUE(TakesDrag(0, files));
    QDragLeaveEvent leave;
    QApplication::sendEvent(List(0).viewport(), &leave);

    File("new", 16);
    std::filesystem::create_directory(folder_.File("sub"));
    ui_.Answer(MsgResult::OK);
    Drop(0, {folder_.File("sub"), folder_.File("new"), folder_.File("missing")});
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "ﾄﾞﾗｲﾌﾞやﾌｫﾙﾀﾞはﾄﾞﾗｯｸﾞ対象外になります");
    EXPECT_EQ(ui_.Boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ui_.Boxes()[0].icon, MsgIcon::None);
    EXPECT_EQ(window_.Document().Items().back().Name, folder_.File("new"));
    EXPECT_EQ(List(0).topLevelItemCount(), 4);
    EXPECT_TRUE(window_.Document().Modified());

    File("other", 1);
    Drop(1, {folder_.File("other")});
    EXPECT_EQ(window_.Document().Items().size(), 4u) << "the result list takes nothing";
}

TEST_F(frmNestedInteractionTest, SeveralDroppedFilesGoWhereTheGroupQuestionSays) {
    std::vector<std::string> asked;
    std::string answer = "Dropped";
    window_.SetGroupNameAsker([&](const std::vector<ItemRecord>& items) {
        asked.push_back(items.back().Name);
        return answer;
    });
    File("c", 1), File("d", 1), File("e", 1), File("f", 1);
    Drop(0, {folder_.File("c"), folder_.File("d")});
    EXPECT_EQ(asked, (Texts{"G"}));
    EXPECT_EQ(window_.Document().Items().back().Name, "Dropped");
    EXPECT_EQ(window_.GetOpenGroup(), "Dropped");
    EXPECT_EQ(ColumnTexts(List(0), 0).front(), "..");

    // The name of a group that exists (confirmed in the question) adds to it.
    answer = "g";
    Drop(0, {folder_.File("e"), folder_.File("f")});
    EXPECT_EQ(window_.Document().Items().size(), 4u);
    EXPECT_EQ(window_.Document().Items()[2].Files.size(), 4u);
}

TEST_F(frmNestedInteractionTest, ADragOutOfTheResultListChecksTheFiles) {
    for (ItemRecord& item : window_.Document().Items())
        item.Medium = 1;
    window_.SelectTab(1);
    std::filesystem::remove(folder_.File("g1"));

    emit List(1).DragFinished(Qt::IgnoreAction);
    EXPECT_FALSE(window_.Document().Modified()) << "nothing was dropped";
    EXPECT_EQ(window_.Document().Items()[2].Files.size(), 2u);

    emit List(1).DragFinished(Qt::MoveAction);
    EXPECT_TRUE(window_.Document().Modified());
    EXPECT_EQ(window_.Document().Items()[2].PathList, folder_.File("g2"));
    EXPECT_EQ(ColumnTexts(List(1), 1).back(), "8");

    // A file whose state cannot be read keeps the list as it is.
    std::filesystem::create_symlink(folder_.File("a"), folder_.File("loop"));
    std::filesystem::remove(folder_.File("a"));
    std::filesystem::rename(folder_.File("loop"), folder_.File("a"));
    std::filesystem::remove(folder_.File("b"));
    ui_.Answer(MsgResult::OK);
    emit List(1).DragFinished(Qt::CopyAction);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "ファイルリストの整合性が取れません\r\n更新に失敗しました");
    EXPECT_EQ(ui_.Boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ui_.Boxes()[0].icon, MsgIcon::None);
    EXPECT_EQ(window_.Document().Items().size(), 3u);
}

TEST_F(frmNestedInteractionTest, RenameEditsTheRowInPlaceAndChecksTheNewName) {
    Select(0, {2});
    window_.RunEditCommand(Command::Rename);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), QStringLiteral("G"));
    Editor()->setText(QString::fromStdString(folder_.File("a")));
    ui_.Answer(MsgResult::OK);
    PressInEditor(Qt::Key_Return);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text,
              "無効なｸﾞﾙｰﾌﾟ名です\r\n"
              "既存のﾌｧｲﾙ・ﾌｫﾙﾀﾞ名や空欄または254文字以上に設定しようとしました");
    EXPECT_EQ(ColumnTexts(List(0), 0).back(), "G");

    window_.StartRename();
    PressInEditor(Qt::Key_Escape);
    window_.StartRename();
    PressInEditor(Qt::Key_Return);
    EXPECT_EQ(ui_.Boxes().size(), 1u) << "an edit left as it was asks nothing";

    window_.StartRename();
    Editor()->setText(QStringLiteral("Holiday's"));
    PressInEditor(Qt::Key_Return);
    EXPECT_EQ(window_.Document().Items()[2].Name, "Holiday's");
    EXPECT_EQ(ColumnTexts(List(0), 0).back(), "Holiday's");
    EXPECT_TRUE(window_.Document().Modified());

    Select(0, {0, 1});
    window_.StartRename();
    EXPECT_EQ(Editor(), nullptr) << "two rows selected";
    window_.SelectTab(1);
    Select(0, {0});
    window_.StartRename();
    EXPECT_EQ(Editor(), nullptr) << "the file list does not show";
}

TEST_F(frmNestedInteractionTest, TheRightButtonOverTheFileListAsksForTheListMenu) {
    QSignalSpy wanted(&window_, &frmNested::ListMenuWanted);
    const QPoint at = RowCentre(List(0), 1);
    QTest::mouseClick(List(0).viewport(), Qt::RightButton, {}, at);
    ASSERT_EQ(wanted.count(), 1);
    EXPECT_EQ(wanted[0][0].toPoint(), List(0).viewport()->mapToGlobal(at));

    window_.SelectTab(1);
    QTest::mouseClick(List(1).viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(wanted.count(), 1) << "the result list has no menu";
}

}  // namespace
}  // namespace zv
