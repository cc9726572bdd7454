#include <gtest/gtest.h>

#include <set>

#include "desktop/mainwindow/CommandRules.h"
#include "desktop/mainwindow/MenuTree.h"
#include "desktop/mainwindow/ToolbarLayout.h"

namespace zv {
namespace {

namespace k = menu_k;
using C = Command;
using Items = std::set<int>;
using Buttons = std::set<Command>;

// The keys of the map that are on.
template <class Key>
std::set<Key> On(const std::map<Key, bool>& items) {
    std::set<Key> on;
    for (const auto& [item, enabled] : items)
        if (enabled)
            on.insert(item);
    return on;
}

Items Enabled(DropDown menu, const CommandState& state) {
    return On(MenuRules(menu, state).enabled);
}

Buttons EnabledButtons(const CommandState& state, bool ignoreActive = false) {
    return On(ToolbarRules(state, ignoreActive));
}

// An unmodified project window on its list tab with two items.
CommandState Window() {
    CommandState state;
    state.hasWindow = true;
    state.itemCount = 2;
    return state;
}

CommandState Selected(SelectedRows rows, int count, CommandState state = Window()) {
    state.selection = rows;
    state.selectionCount = count;
    return state;
}

const Buttons kAlways{C::New, C::Open};
const Buttons kWindow{C::New, C::Open, C::ChooseSizeUnit, C::ChoosePathMode, C::Run, C::RunOptions};

Buttons With(Buttons buttons, std::initializer_list<Command> more) {
    buttons.insert(more);
    return buttons;
}

TEST(CommandRulesTest, ListMenuAndToolBarFollowTheSelection) {
    CommandState opened = Selected(SelectedRows::FilesOnly, 2);
    opened.groupOpened = true;
    CommandState cut = Window();
    cut.hasCutMarks = true;
    CommandState resultTab = Selected(SelectedRows::FilesOnly, 2, cut);
    resultTab.currentTab = ProjectTab::Result;
    const Items edit{k::Add, k::Delete, k::Cut};
    const struct {
        const char* name;
        CommandState state;
        Items list;
        Buttons buttons;
    } cases[] = {
        {"nothing selected", Window(), {k::Add}, With(kWindow, {C::Add})},
        {"one file", Selected(SelectedRows::FilesOnly, 1), edit,
         With(kWindow, {C::Add, C::Delete, C::Cut})},
        {"two files",
         Selected(SelectedRows::FilesOnly, 2),
         {k::Add, k::Delete, k::Cut, k::GroupMenu, k::MakeGroup},
         With(kWindow, {C::Add, C::Delete, C::Cut, C::MakeGroup})},
        // Groups do not nest; the button still offers it.
        {"two members of an opened group", opened, edit,
         With(kWindow, {C::Add, C::Delete, C::Cut, C::MakeGroup})},
        {"one group",
         Selected(SelectedRows::GroupsOnly, 1),
         {k::Add, k::Delete, k::Cut, k::GroupMenu, k::Release, k::Rename},
         With(kWindow, {C::Add, C::Delete, C::Cut, C::ReleaseGroup})},
        {"two groups",
         Selected(SelectedRows::GroupsOnly, 2),
         {k::Add, k::Delete, k::Cut, k::GroupMenu, k::Release},
         With(kWindow, {C::Add, C::Delete, C::Cut, C::ReleaseGroup})},
        {"a file and a group", Selected(SelectedRows::FilesAndGroups, 2), edit,
         With(kWindow, {C::Add, C::Delete, C::Cut})},
        {"cut marks", cut, {k::Add, k::Paste}, With(kWindow, {C::Add, C::Paste})},
        {"the result tab", resultTab, {}, With(kWindow, {C::Paste})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Enabled(DropDown::List, c.state), c.list) << c.name;
        EXPECT_EQ(EnabledButtons(c.state), c.buttons) << c.name;
    }
}

TEST(CommandRulesTest, FileAndRunMenusFollowTheWindowAndTheRun) {
    CommandState modified = Window();
    modified.modified = true;
    modified.recentFileShown[1] = true;
    CommandState oneItem = Window();
    oneItem.itemCount = 1;
    CommandState running = Window();
    running.running = true;
    CommandState paused = running;
    paused.paused = true;
    CommandState results = Window();
    results.hasResults = true;
    const Items file{k::New, k::Open, k::Close, k::CloseAll, k::SaveAs, k::Exit};
    const struct {
        const char* name;
        CommandState state;
        Items file;
        Items run;
        Buttons buttons;
    } cases[] = {
        {"no window", CommandState(), {k::New, k::Open, k::Exit}, {}, kAlways},
        {"modified, a recent file",
         modified,
         {k::New, k::Open, k::Close, k::CloseAll, k::Save, k::SaveAs, k::FirstRecent + 1, k::Exit},
         {k::Run, k::RunOptions},
         With(kWindow, {C::Add, C::Save})},
        {"one item",
         oneItem,
         file,
         {k::RunOptions},
         With(kAlways, {C::ChooseSizeUnit, C::ChoosePathMode, C::Add, C::RunOptions})},
        // Quitting offers to stop the run first.
        {"running", running, {k::Exit}, {k::Pause, k::Stop}, With(kAlways, {C::Pause, C::Stop})},
        {"paused", paused, {k::Exit}, {k::Resume, k::Stop}, With(kAlways, {C::Run, C::Stop})},
        {"results",
         results,
         {k::New, k::Open, k::Close, k::CloseAll, k::SaveAs, k::Export, k::Exit},
         {k::Run, k::RunOptions},
         With(kWindow, {C::Add})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Enabled(DropDown::File, c.state), c.file) << c.name;
        EXPECT_EQ(Enabled(DropDown::Run, c.state), c.run) << c.name;
        EXPECT_EQ(EnabledButtons(c.state), c.buttons) << c.name;
    }
    // A window that is closing counts as gone.
    EXPECT_EQ(EnabledButtons(modified, true), kAlways);
}

// A key in the string table that the program does not know would give a
// button that does nothing.
TEST(CommandRulesTest, EveryToolBarButtonGivesACommandTheRulesKnow) {
    Buttons known, shown;
    for (const auto& [command, enabled] : ToolbarRules(Window(), false))
        known.insert(command);
    for (const ToolbarEntry& entry : ToolbarLayout())
        if (!entry.separator)
            shown.insert(entry.command);
    EXPECT_EQ(shown, known);
}

}  // namespace
}  // namespace zv
