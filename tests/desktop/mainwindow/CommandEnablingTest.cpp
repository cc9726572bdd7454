#include <set>

#include "core/engine/RunRequests.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using Keys = std::vector<std::string>;
using Names = std::set<std::string>;

class CommandEnablingTest : public test::MainWindowFixture {
  protected:
    void SetUp() override { Start(); }

    // The enabled items of a drop-down and its submenus after it was opened
    // (File "sm_F", List "sm_L", Run "sm_R"); hidden items and separators
    // do not count.
    Names EnabledItems(int menu) {
        OpenMenu(menu);
        const QString prefix = QStringLiteral("sm_") + QStringLiteral("FVLR")[menu];
        Names names;
        for (const QAction* item : window_->findChildren<QAction*>())
            if (item->objectName().startsWith(prefix) && item->isVisible() &&
                !item->isSeparator() && item->isEnabled())
                names.insert(item->objectName().toStdString());
        return names;
    }
};

TEST_F(CommandEnablingTest, WithoutProjectWindowOnlyNewOpenAndExitWork) {
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
    EXPECT_EQ(EnabledItems(0), (Names{"sm_F(0)", "sm_F(1)", "sm_F(16)"}));
    EXPECT_EQ(EnabledItems(2), Names{});
    EXPECT_EQ(EnabledItems(3), Names{});
}

TEST_F(CommandEnablingTest, RunNeedsTwoListItemsAndSavingUnsavedChanges) {
    ProjectWith({});
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Size", "Path", "Add", "Setup"}));
    EXPECT_EQ(EnabledItems(3), Names{"sm_R(6)"});

    ProjectWith({"a.txt"});
    EXPECT_FALSE(Button("Start")->isEnabled());
    EXPECT_EQ(EnabledItems(3), Names{"sm_R(6)"});

    frmNested& project = ProjectWith({"b.txt", "c.txt"});
    EXPECT_EQ(EnabledButtons(),
              (Keys{"New", "Open", "Save", "Size", "Path", "Add", "Start", "Setup"}));
    EXPECT_EQ(EnabledItems(3), (Names{"sm_R(0)", "sm_R(6)"}));
    EXPECT_EQ(EnabledItems(0), (Names{"sm_F(0)", "sm_F(1)", "sm_F(2)", "sm_F(3)", "sm_F(5)",
                                      "sm_F(6)", "sm_F(16)"}));

    project.Document().SetModified(false);
    window_->UpdateToolbar(false);
    EXPECT_FALSE(Button("Save")->isEnabled());
    EXPECT_EQ(EnabledItems(0), (Names{"sm_F(0)", "sm_F(1)", "sm_F(2)", "sm_F(3)", "sm_F(16)"}));
}

TEST_F(CommandEnablingTest, SelectionDecidesGroupCommands) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    AddGroup(project, "G1", {"c.txt", "d.txt"});
    AddGroup(project, "G2", {"e.txt", "f.txt"});
    project.Document().SetOpenGroup("");
    project.RenderList(0, "", 0);
    // Sorted by name: the two files by their full paths, then "G1", "G2".
    Select(project, 0, {0});
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)"}));
    Select(project, 0, {0, 1});
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut",
                                      "Group", "Start", "Setup"}));
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)", "sm_L(7)", "sm_LG(0)"}));

    Select(project, 0, {2});
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut",
                                      "Release", "Start", "Setup"}));
    EXPECT_EQ(EnabledItems(2),
              (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)", "sm_L(7)", "sm_LG(1)", "sm_LG(2)"}));
    // Only one group at a time is renamed.
    Select(project, 0, {2, 3});
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)", "sm_L(7)", "sm_LG(1)"}));

    // A group and a file together.
    Select(project, 0, {0, 2});
    EXPECT_FALSE(Button("Group")->isEnabled());
    EXPECT_FALSE(Button("Release")->isEnabled());
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)"}));
}

TEST_F(CommandEnablingTest, NoNewGroupInsideAnOpenedGroup) {
    frmNested& project = ProjectWith({"a.txt"});
    AddGroup(project, "G1", {"c.txt", "d.txt"});
    project.RenderList(0, "G1", 0);
    // Row 0 is "..", then the two members.
    Select(project, 0, {1, 2});
    EXPECT_TRUE(Button("Group")->isEnabled());
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(1)", "sm_L(4)"}));
}

TEST_F(CommandEnablingTest, ResultTabOffersNoListEditing) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().Items()[0].Medium = 1;
    project.Document().Items()[1].Medium = 1;
    project.Document().Items()[1].CutMarks = {-1};
    project.SelectTab(1);
    Select(project, 1, {0, 1});
    EXPECT_EQ(EnabledButtons(),
              (Keys{"New", "Open", "Save", "Size", "Path", "Paste", "Start", "Setup"}));
    EXPECT_EQ(EnabledItems(2), Names{});

    project.SelectTab(0);
    EXPECT_EQ(EnabledItems(2), (Names{"sm_L(0)", "sm_L(5)"}));
}

TEST_F(CommandEnablingTest, DuringRunOnlyRunControlsWork) {
    ProjectWith({"a.txt", "b.txt"});
    RunRequests requests;
    App().running = true;
    App().runRequests = &requests;

    window_->UpdateToolbar(false);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Break", "Stop"}));
    EXPECT_EQ(EnabledItems(0), Names{});
    EXPECT_EQ(EnabledItems(2), Names{});
    EXPECT_EQ(EnabledItems(3), (Names{"sm_R(2)", "sm_R(4)"}));

    requests.pause = true;
    window_->UpdateToolbar(false);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Start", "Stop"}));
    EXPECT_EQ(EnabledItems(3), (Names{"sm_R(3)", "sm_R(4)"}));
}

// The View menu's items act on the active window and show its state.
TEST_F(CommandEnablingTest, ViewMenuFollowsTheWindow) {
    frmNested& project = ProjectWith({"a.txt"});
    Item("sm_VS(1)")->trigger();
    Item("sm_VP(1)")->trigger();
    Item("sm_V(1)")->trigger();
    Item("sm_VT(2)")->trigger();
    OpenMenu(1);
    EXPECT_EQ(project.GetSizeUnit(), 1);
    EXPECT_EQ(project.GetPathMode(), 1);
    EXPECT_FALSE(project.IsTabVisible(2));
    EXPECT_FALSE(Item("sm_V(2)")->isEnabled());
    EXPECT_FALSE(Item("sm_VT(2)")->isChecked());
    EXPECT_TRUE(Item("sm_V(1)")->isChecked());
    EXPECT_FALSE(Item("sm_V(0)")->isChecked());
    EXPECT_TRUE(Item("sm_VS(1)")->isChecked());
    EXPECT_FALSE(Item("sm_VS(3)")->isChecked()) << "the unit a new project starts with";
    EXPECT_TRUE(Item("sm_VP(1)")->isChecked());
    EXPECT_FALSE(Item("sm_VP(0)")->isChecked());

    // Shown again, the tab is also the one shown.
    Item("sm_VT(2)")->trigger();
    EXPECT_TRUE(project.IsTabVisible(2));
    EXPECT_EQ(project.CurrentTab(), 2);
}

TEST_F(CommandEnablingTest, ClosingTheLastWindowLeavesNewAndOpen) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().SetModified(false);
    // A window that is closing counts as gone already.
    window_->UpdateToolbar(true);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
    window_->UpdateToolbar(false);
    ASSERT_TRUE(Button("Start")->isEnabled());

    ASSERT_TRUE(project.parentWidget()->close());
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
}

}  // namespace
}  // namespace zv
