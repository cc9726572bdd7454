#include "core/engine/RunRequests.h"
#include "core/project/ProjectFile.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using Keys = std::vector<std::string>;

// The rules themselves are tested as a table (CommandRulesTest); here the main
// window hands them the state of the real widgets and shows what they say.
class CommandEnablingTest : public test::MainWindowFixture {
  protected:
    void SetUp() override { Start(); }
};

TEST_F(CommandEnablingTest, MenusAndButtonsFollowTheActiveWindowItsSelectionAndTheRun) {
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"}));
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    AddGroup(project, "G1", {"c.txt", "d.txt"});
    project.RenderList(ProjectList::Files, "", 0);
    // Sorted by name: the two files by their full paths, then "G1".
    Select(project, ProjectList::Files, {0, 1});
    OpenMenu(2);
    EXPECT_TRUE(Item("sm_LG(0)")->isEnabled());
    EXPECT_FALSE(Item("sm_LG(1)")->isEnabled());
    Select(project, ProjectList::Files, {2});
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut",
                                      "Release", "Start", "Setup"}));

    project.SelectTab(ProjectTab::Result);
    OpenMenu(2);
    EXPECT_FALSE(Item("sm_L(0)")->isEnabled()) << "no list editing on the result tab";

    RunRequests requests;
    App().running = true;
    App().runRequests = &requests;
    requests.pause = true;
    window_->UpdateToolbar(false);
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open", "Start", "Stop"}));
    OpenMenu(3);
    EXPECT_TRUE(Item("sm_R(3)")->isEnabled());
    EXPECT_FALSE(Item("sm_R(2)")->isEnabled());

    App().running = false;
    project.Document().SetModified(false);
    ASSERT_TRUE(project.parentWidget()->close());
    EXPECT_EQ(EnabledButtons(), (Keys{"New", "Open"})) << "the last window has closed";
}

// A command that fills a window without a click in it (here Open into the
// empty window) brings the shortcut keys up to date at once: F5 once did
// nothing until the Run menu had been opened.
TEST_F(CommandEnablingTest, ShortcutsFollowAWindowFilledByACommand) {
    const std::string path = MakeFile("plan.mtb", 0);
    const std::string a = MakeFile("a", 10);
    const std::string b = MakeFile("b", 20);
    ASSERT_TRUE(ProjectFile::Write(path, {{a, 0, {{a, 10}}}, {b, 0, {{b, 20}}}}, RunSettings{}));
    window_->RunCommand(Command::New);
    EXPECT_FALSE(Item("sm_R(0)")->isEnabled());
    ui_.AnswerFile(path);
    window_->RunCommand(Command::Open);
    EXPECT_TRUE(Item("sm_R(0)")->isEnabled());
}

// The View menu's items act on the active window and show its state; a tab
// shown again is also the one shown.
TEST_F(CommandEnablingTest, ViewMenuFollowsTheWindow) {
    frmNested& project = ProjectWith({"a.txt"});
    for (const char* item : {"sm_VS(1)", "sm_VP(1)", "sm_V(1)", "sm_VT(2)"})
        Item(item)->trigger();
    OpenMenu(1);
    EXPECT_EQ(project.GetSizeUnit(), UnitMegabytes);
    EXPECT_EQ(project.GetPathMode(), FileNamesOnly);
    EXPECT_EQ(project.CurrentTab(), ProjectTab::Result);
    EXPECT_FALSE(project.IsTabVisible(ProjectTab::Info));
    EXPECT_FALSE(Item("sm_V(2)")->isEnabled());
    for (const char* item : {"sm_V(1)", "sm_VS(1)", "sm_VP(1)"})
        EXPECT_TRUE(Item(item)->isChecked()) << item;
    EXPECT_FALSE(Item("sm_VS(3)")->isChecked()) << "the unit a new project starts with";
    Item("sm_VT(2)")->trigger();
    EXPECT_TRUE(project.IsTabVisible(ProjectTab::Info));
    EXPECT_EQ(project.CurrentTab(), ProjectTab::Info);
}

}  // namespace
}  // namespace zv
