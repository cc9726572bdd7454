#include <QLineEdit>

#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

// The list commands as the user reaches them: keys, tool bar buttons and the
// mouse, in the real main window.
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
        project.RenderList(ProjectList::Files, "", 0);
        project.ListView(ProjectList::Files)->setFocus();
        return project;
    }

    static Texts Names(const frmNested& project) {
        Texts names;
        for (const ItemRecord& item : project.Document().Items())
            names.push_back(item.Name);
        return names;
    }

    void Key(frmNested& project, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(project.ListView(ProjectList::Files), static_cast<Qt::Key>(key), modifiers);
    }
};

TEST_F(ListEditingTest, DelAsksForTheSelectedRowsAndRemovesThem) {
    frmNested& project = Project();
    Select(project, ProjectList::Files, {0, 2});
    ui_.Answer(MsgResult::Cancel);
    Key(project, Qt::Key_Delete);
    EXPECT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(project.ListView(ProjectList::Files)->topLevelItemCount(), 3);

    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button("Delete"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{folder_.File("b")}));
    EXPECT_EQ(project.ListView(ProjectList::Files)->topLevelItemCount(), 1);
    EXPECT_FALSE(Button("Delete")->isEnabled()) << "nothing selected any more";
}

TEST_F(ListEditingTest, CutAndPasteMoveTheLastCutRowsIntoTheOpenedGroup) {
    frmNested& project = Project();
    Select(project, ProjectList::Files, {0, 2});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(Button("Paste")->isEnabled());

    // A second Cut replaces the marks: only a moves into the group.
    Select(project, ProjectList::Files, {0});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    project.RenderList(ProjectList::Files, "G", 0);
    Key(project, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Names(project), (Texts{folder_.File("b"), "G"}));
    EXPECT_EQ(project.ListView(ProjectList::Files)->topLevelItemCount(), 4)
        << "\"..\" and three members";
    EXPECT_FALSE(Button("Paste")->isEnabled());
}

// F3 makes a group and shows it, F2 renames it in place and the Release
// button dissolves it.
TEST_F(ListEditingTest, GroupKeysAndButtonsMakeRenameAndReleaseAGroup) {
    frmNested& project = Project();
    Select(project, ProjectList::Files, {0, 1});
    ui_.AnswerInput("Pair");
    Key(project, Qt::Key_F3);
    EXPECT_EQ(Names(project), (Texts{"G", "Pair"}));
    EXPECT_EQ(project.GetOpenGroup(), "Pair");
    EXPECT_EQ(project.ListView(ProjectList::Files)->topLevelItem(0)->text(0), QStringLiteral(".."));

    project.RenderList(ProjectList::Files, "", 0);
    Select(project, ProjectList::Files, {1});
    Key(project, Qt::Key_F2);
    auto* editor = project.ListView(ProjectList::Files)->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Holiday"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Names(project), (Texts{"G", "Holiday"}));

    Select(project, ProjectList::Files, {1});
    QTest::mouseClick(Button("Release"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{"G", folder_.File("a"), folder_.File("b")}));
    EXPECT_EQ(project.GetOpenGroup(), "");
}

TEST_F(ListEditingTest, TheRightButtonPopsUpTheListMenu) {
    frmNested& project = Project();
    QTreeWidget& list = *project.ListView(ProjectList::Files);
    const QPoint at = list.visualItemRect(list.topLevelItem(0)).center();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at);
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("hM(2)"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), list.viewport()->mapToGlobal(at));
    EXPECT_TRUE(Item("sm_L(1)")->isEnabled()) << "refreshed for the row under the pointer";
    menu->hide();
}

}  // namespace
}  // namespace zv
