#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "desktop/dialogs/dlgCheckGroup.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

// The list commands as the user reaches them: keys, tool bar buttons, the
// mouse and files dropped from elsewhere, in the real main window.
class ListEditingTest : public test::MainWindowFixture {
  protected:
    void SetUp() override {
        Start();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    // Files a and b and the group "G" of g1 and g2; the list shows, by name:
    // a, b, G.
    frmNested& Project() {
        frmNested& project = ProjectWith({"a", "b"});
        AddGroup(project, "G", {"g1", "g2"});
        project.RenderList(0, "", 0);
        project.ListView(0)->setFocus();
        return project;
    }

    std::vector<std::string> Names(const frmNested& project) const {
        std::vector<std::string> names;
        for (const ItemRecord& item : project.Document().Items())
            names.push_back(item.Name);
        return names;
    }

    void Key(frmNested& project, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(project.ListView(0), static_cast<Qt::Key>(key), modifiers);
    }

    void Drop(frmNested& project, const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        data.setUrls(urls);
        QWidget* target = project.ListView(0)->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
    }
};

TEST_F(ListEditingTest, DelAsksForTheSelectedRowsAndRemovesThem) {
    frmNested& project = Project();
    Select(project, 0, {0, 2});
    ui_.Answer(MsgResult::Cancel);
    Key(project, Qt::Key_Delete);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "これらの2個の項目ををﾘｽﾄから消去してよろしいですか？");
    EXPECT_EQ(project.ListView(0)->topLevelItemCount(), 3);

    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button("Delete"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{folder_.File("b")}));
    EXPECT_EQ(project.ListView(0)->topLevelItemCount(), 1);
    EXPECT_FALSE(Button("Delete")->isEnabled()) << "nothing selected any more";
}

TEST_F(ListEditingTest, CutAndPasteMoveTheLastCutRowsIntoTheOpenedGroup) {
    frmNested& project = Project();
    Select(project, 0, {0, 2});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(Button("Paste")->isEnabled());

    // A second Cut replaces the marks: only a moves into the group.
    Select(project, 0, {0});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    project.RenderList(0, "G", 0);
    Key(project, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Names(project), (Texts{folder_.File("b"), "G"}));
    EXPECT_EQ(project.ListView(0)->topLevelItemCount(), 4) << "\"..\" and three members";
    EXPECT_FALSE(Button("Paste")->isEnabled());
}

// F3 makes a group and shows it, F2 renames it in place and the Release
// button dissolves it.
TEST_F(ListEditingTest, GroupKeysAndButtonsMakeRenameAndReleaseAGroup) {
    frmNested& project = Project();
    Select(project, 0, {0, 1});
    ui_.AnswerInput("Pair");
    Key(project, Qt::Key_F3);
    EXPECT_EQ(Names(project), (Texts{"G", "Pair"}));
    EXPECT_EQ(project.GetOpenGroup(), "Pair");
    EXPECT_EQ(project.ListView(0)->topLevelItem(0)->text(0), QStringLiteral(".."));

    project.RenderList(0, "", 0);
    Select(project, 0, {1});
    Key(project, Qt::Key_F2);
    auto* editor = project.ListView(0)->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Holiday"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Names(project), (Texts{"G", "Holiday"}));

    Select(project, 0, {1});
    QTest::mouseClick(Button("Release"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{"G", folder_.File("a"), folder_.File("b")}));
    EXPECT_EQ(project.GetOpenGroup(), "");
}

TEST_F(ListEditingTest, TheRightButtonPopsUpTheListMenu) {
    frmNested& project = Project();
    QTreeWidget& list = *project.ListView(0);
    const QPoint at = list.visualItemRect(list.topLevelItem(0)).center();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at);
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("hM(2)"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), list.viewport()->mapToGlobal(at));
    EXPECT_TRUE(Item("sm_L(1)")->isEnabled()) << "refreshed for the row under the pointer";
    menu->hide();
}

TEST_F(ListEditingTest, DroppedFilesAreGroupedThroughTheConfirmationAndFoldersRefused) {
    frmNested& project = Project();
    std::filesystem::create_directory(folder_.File("folder"));
    const std::string c = MakeFile("c", 1);
    const std::string d = MakeFile("d", 1);
    ui_.Answer(MsgResult::OK);
    Drop(project, {c, folder_.File("folder"), d});
    bool confirmed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<dlgCheckGroup*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->parentWidget(), window_.get());
        QTest::mouseClick(dialog->findChild<QRadioButton*>(QStringLiteral("objOption(1)")),
                          Qt::LeftButton);
        dialog->findChild<QLineEdit*>(QStringLiteral("objText(0)"))->setText("Trip");
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("objButton(0)")),
                          Qt::LeftButton);
        confirmed = true;
    });
    QCoreApplication::processEvents();
    ASSERT_TRUE(confirmed);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "ﾄﾞﾗｲﾌﾞやﾌｫﾙﾀﾞはﾄﾞﾗｯｸﾞ対象外になります");
    EXPECT_EQ(Names(project).back(), "Trip");
    EXPECT_EQ(project.Document().Items().back().PathList, c + "\t" + d);
    EXPECT_EQ(project.GetOpenGroup(), "Trip");
}

}  // namespace
}  // namespace zv
