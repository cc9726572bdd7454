#include "engine/RunRequests.h"
#include "tests/shell/MainWindowFixture.h"

namespace zv {
namespace {

using Keys = std::vector<std::string>;

class CommandEnablingTest : public test::MainWindowFixture {
  protected:
    void SetUp() override { Start(); }

    // The enabled state of the named menu items after their menu was opened.
    std::vector<bool> EnabledAfterOpening(int menu, std::initializer_list<const char*> names) {
        OpenMenu(menu);
        std::vector<bool> enabled;
        for (const char* name : names)
            enabled.push_back(Item(name)->isEnabled());
        return enabled;
    }
};

TEST_F(CommandEnablingTest, WithoutProjectWindowOnlyNewOpenAndExitWork) {
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
    EXPECT_EQ(EnabledAfterOpening(0, {"sm_F(0)", "sm_F(1)", "sm_F(2)", "sm_F(3)", "sm_F(5)",
                                      "sm_F(6)", "sm_F(8)", "sm_F(16)"}),
              (std::vector<bool>{true, true, false, false, false, false, false, true}));
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(0)", "sm_L(1)", "sm_L(7)"}),
              (std::vector<bool>{false, false, false}));
    EXPECT_EQ(EnabledAfterOpening(3, {"sm_R(0)", "sm_R(6)"}), (std::vector<bool>{false, false}));
}

TEST_F(CommandEnablingTest, RunNeedsTwoListItems) {
    ProjectWith({});
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Size", "Path", "Add", "Setup"}));
    EXPECT_FALSE(EnabledAfterOpening(3, {"sm_R(0)"})[0]);

    ProjectWith({"a.txt"});
    window_->UpdateToolbar(false);
    EXPECT_FALSE(Button("Start")->isEnabled());
    EXPECT_FALSE(EnabledAfterOpening(3, {"sm_R(0)"})[0]);

    ProjectWith({"b.txt", "c.txt"});
    window_->UpdateToolbar(false);
    EXPECT_TRUE(Button("Start")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(3, {"sm_R(0)", "sm_R(2)", "sm_R(3)", "sm_R(4)", "sm_R(6)"}),
              (std::vector<bool>{true, false, false, false, true}));
}

TEST_F(CommandEnablingTest, SavingNeedsUnsavedChanges) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    window_->UpdateToolbar(false);
    EXPECT_TRUE(Button("Save")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(0, {"sm_F(2)", "sm_F(3)", "sm_F(5)", "sm_F(6)"}),
              (std::vector<bool>{true, true, true, true}));

    project.Document().SetModified(false);
    window_->UpdateToolbar(false);
    EXPECT_FALSE(Button("Save")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(0, {"sm_F(2)", "sm_F(5)", "sm_F(6)"}),
              (std::vector<bool>{true, false, false}));
}

TEST_F(CommandEnablingTest, SelectionDecidesGroupCommands) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    ASSERT_TRUE(project.AddFiles(
        {FileRef::Get(MakeFile("c.txt", 10)), FileRef::Get(MakeFile("d.txt", 10))}, "G1"));
    ASSERT_TRUE(project.AddFiles(
        {FileRef::Get(MakeFile("e.txt", 10)), FileRef::Get(MakeFile("f.txt", 10))}, "G2"));
    project.Document().SetOpenGroup("");
    project.RenderList(0, "", 0);
    // Sorted by name: the two files by their full paths, then "G1", "G2".
    ClickRow(project, 0, 0);
    EXPECT_FALSE(Button("Group")->isEnabled());
    EXPECT_TRUE(Button("Cut")->isEnabled());
    ClickRow(project, 0, 1, Qt::ControlModifier);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut",
                                      "Group", "Start", "Setup"}));
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(1)", "sm_L(4)", "sm_L(7)", "sm_LG(0)", "sm_LG(1)",
                                      "sm_LG(2)", "sm_L(2)"}),
              (std::vector<bool>{true, true, true, true, false, false, false}));

    ClickRow(project, 0, 2);
    EXPECT_TRUE(Button("Release")->isEnabled());
    EXPECT_FALSE(Button("Group")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(7)", "sm_LG(0)", "sm_LG(1)", "sm_LG(2)"}),
              (std::vector<bool>{true, false, true, true}));

    ClickRow(project, 0, 3, Qt::ControlModifier);
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(7)", "sm_LG(0)", "sm_LG(1)", "sm_LG(2)"}),
              (std::vector<bool>{true, false, true, false}));

    // A group and a file together.
    ClickRow(project, 0, 0);
    ClickRow(project, 0, 2, Qt::ControlModifier);
    EXPECT_FALSE(Button("Group")->isEnabled());
    EXPECT_FALSE(Button("Release")->isEnabled());
    EXPECT_TRUE(Button("Delete")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(1)", "sm_L(7)"}), (std::vector<bool>{true, false}));
}

TEST_F(CommandEnablingTest, NoNewGroupInsideAnOpenedGroup) {
    frmNested& project = ProjectWith({"a.txt"});
    ASSERT_TRUE(project.AddFiles(
        {FileRef::Get(MakeFile("c.txt", 10)), FileRef::Get(MakeFile("d.txt", 10))}, "G1"));
    project.RenderList(0, "G1", 0);
    // Row 0 is "..", then the two members.
    ClickRow(project, 0, 1);
    ClickRow(project, 0, 2, Qt::ControlModifier);
    EXPECT_TRUE(Button("Group")->isEnabled());
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(1)", "sm_L(7)"}), (std::vector<bool>{true, false}));
}

TEST_F(CommandEnablingTest, ResultTabOffersNoListEditing) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().Items()[0].Medium = 1;
    project.Document().Items()[1].Medium = 1;
    project.Document().Items()[1].CutMarks = {-1};
    project.SelectTab(1);
    ClickRow(project, 1, 0);
    ClickRow(project, 1, 1, Qt::ControlModifier);
    EXPECT_EQ(EnabledButtons(),
              (Keys{"New", "Open", "Save", "Size", "Path", "Paste", "Start", "Setup"}));
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(0)", "sm_L(1)", "sm_L(4)", "sm_L(5)", "sm_L(7)"}),
              (std::vector<bool>{false, false, false, false, false}));

    project.SelectTab(0);
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(0)", "sm_L(5)"}), (std::vector<bool>{true, true}));
}

TEST_F(CommandEnablingTest, DuringRunOnlyRunControlsWork) {
    ProjectWith({"a.txt", "b.txt"});
    RunRequests requests;
    App().running = true;
    App().runRequests = &requests;

    window_->UpdateToolbar(false);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Break", "Stop"}));
    EXPECT_EQ(EnabledAfterOpening(0, {"sm_F(0)", "sm_F(1)", "sm_F(2)", "sm_F(16)"}),
              (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(EnabledAfterOpening(3, {"sm_R(0)", "sm_R(2)", "sm_R(3)", "sm_R(4)", "sm_R(6)"}),
              (std::vector<bool>{false, true, false, true, false}));
    EXPECT_EQ(EnabledAfterOpening(2, {"sm_L(0)"}), (std::vector<bool>{false}));

    requests.pause = true;
    window_->UpdateToolbar(false);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Start", "Stop"}));
    EXPECT_EQ(EnabledAfterOpening(3, {"sm_R(2)", "sm_R(3)", "sm_R(4)"}),
              (std::vector<bool>{false, true, true}));
}

TEST_F(CommandEnablingTest, ViewMenuFollowsTheWindow) {
    frmNested& project = ProjectWith({"a.txt"});
    Item("sm_VS(1)")->trigger();
    Item("sm_VT(2)")->trigger();
    OpenMenu(1);
    EXPECT_EQ(project.GetSizeUnit(), 1);
    EXPECT_FALSE(project.IsTabVisible(2));
    EXPECT_FALSE(Item("sm_V(2)")->isEnabled());
    EXPECT_FALSE(Item("sm_VT(2)")->isChecked());
    EXPECT_TRUE(Item("sm_VT(1)")->isChecked());
    EXPECT_TRUE(Item("sm_V(0)")->isChecked());
    EXPECT_FALSE(Item("sm_V(1)")->isChecked());
    EXPECT_TRUE(Item("sm_VS(1)")->isChecked());
    EXPECT_FALSE(Item("sm_VS(3)")->isChecked());
    EXPECT_TRUE(Item("sm_VP(0)")->isChecked());

    // Shown again, the tab is also the one shown.
    Item("sm_VT(2)")->trigger();
    EXPECT_TRUE(project.IsTabVisible(2));
    EXPECT_EQ(project.CurrentTab(), 2);
}

TEST_F(CommandEnablingTest, ClosingTheLastWindowLeavesNewAndOpen) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().SetModified(false);
    window_->UpdateToolbar(false);
    ASSERT_TRUE(Button("Start")->isEnabled());
    // A window that is closing counts as gone already.
    window_->UpdateToolbar(true);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
    window_->UpdateToolbar(false);

    auto* frame = project.parentWidget();
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
}

}  // namespace
}  // namespace zv
