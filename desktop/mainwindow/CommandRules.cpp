#include "desktop/mainwindow/CommandRules.h"

#include <initializer_list>

#include "desktop/mainwindow/MenuTree.h"

namespace zv {

namespace {

namespace k = menu_k;

void DisableAll(MenuStates& states, std::initializer_list<int> items) {
    for (const int item : items)
        states.enabled[item] = false;
}

MenuStates FileRules(const CommandState& s) {
    MenuStates m;
    for (int item = k::New; item <= k::Exit; ++item)
        m.enabled[item] = false;
    m.enabled[k::Export] = false;
    // Quitting during a run asks to stop it.
    m.enabled[k::Exit] = true;
    if (s.running)
        return m;
    m.enabled[k::New] = m.enabled[k::Open] = true;
    m.enabled[k::AppSettings] = false;
    if (s.hasWindow) {
        m.enabled[k::Close] = m.enabled[k::CloseAll] = true;
        m.enabled[k::Save] = s.modified;
        // A copy of an unchanged project can always be saved elsewhere.
        m.enabled[k::SaveAs] = true;
        m.enabled[k::Export] = s.hasResults;
    }
    for (int r = 0; r < kRecentFileCount; ++r)
        m.enabled[k::FirstRecent + r] = s.recentFileShown[r];
    return m;
}

MenuStates ViewRules(const CommandState& s) {
    MenuStates m;
    // The items of the View menu itself; those of its submenus stay enabled.
    DisableAll(m, {k::ShowTab, k::ShowTab + 1, k::ShowTab + 2, k::TabsMenu, k::ViewSeparator,
                   k::SizeMenu, k::PathMenu, k::ToolboxSeparator, k::Toolbox});
    if (!s.running)
        m.enabled[k::Toolbox] = true;
    if (!s.hasWindow)
        return m;
    m.enabled[k::TabsMenu] = m.enabled[k::SizeMenu] = m.enabled[k::PathMenu] = true;
    for (int tab = 0; tab < kProjectTabCount; ++tab) {
        m.enabled[k::ShowTab + tab] = s.tabVisible[tab];
        m.checked[k::ShowTab + tab] = s.currentTab == static_cast<ProjectTab>(tab);
        m.checked[k::ToggleTab + tab] = s.tabVisible[tab];
    }
    for (const SizeUnit unit : {UnitGigabytes, UnitMegabytes, UnitKilobytes, UnitBytes})
        m.checked[k::SizeUnit + static_cast<int>(unit)] = s.sizeUnit == unit;
    for (const PathMode mode : {FullPaths, FileNamesOnly})
        m.checked[k::PathMode + static_cast<int>(mode)] = s.pathMode == mode;
    return m;
}

MenuStates ListRules(const CommandState& s) {
    MenuStates m;
    DisableAll(
        m, {k::Undo, k::Redo, k::UndoSeparator, k::Add, k::Delete, k::Refresh, k::ListSeparator,
            k::Cut, k::Paste, k::CutSeparator, k::GroupMenu, k::MakeGroup, k::Release, k::Rename});
    if (s.running || !s.hasWindow)
        return m;
    // A step back or forward shows on whichever tab is in front.
    m.enabled[k::Undo] = s.canUndo;
    m.enabled[k::Redo] = s.canRedo;
    if (s.currentTab != ProjectTab::List)
        return m;
    m.enabled[k::Add] = true;
    m.enabled[k::Paste] = s.hasCutMarks;
    if (s.selectionCount <= 0)
        return m;
    m.enabled[k::Delete] = m.enabled[k::Cut] = true;
    if (s.selectionCount >= 2 && s.selection == SelectedRows::FilesOnly) {
        // Groups do not nest: inside an opened group no new one is made.
        if (!s.groupOpened)
            m.enabled[k::GroupMenu] = m.enabled[k::MakeGroup] = true;
    } else if (s.selection == SelectedRows::GroupsOnly) {
        m.enabled[k::GroupMenu] = m.enabled[k::Release] = true;
        m.enabled[k::Rename] = s.selectionCount == 1;
    }
    return m;
}

MenuStates RunRules(const CommandState& s) {
    MenuStates m;
    for (int item = k::Run; item <= k::RunOptions; ++item)
        m.enabled[item] = false;
    if (!s.hasWindow)
        return m;
    if (!s.running) {
        m.enabled[k::Run] = s.itemCount >= 2;
        m.enabled[k::RunOptions] = true;
    } else {
        m.enabled[s.paused ? k::Resume : k::Pause] = true;
        m.enabled[k::Stop] = true;
    }
    return m;
}

}  // namespace

MenuStates MenuRules(DropDown menu, const CommandState& state) {
    switch (menu) {
        case DropDown::File:
            return FileRules(state);
        case DropDown::View:
            return ViewRules(state);
        case DropDown::List:
            return ListRules(state);
        case DropDown::Run:
            return RunRules(state);
    }
    return {};
}

std::map<Command, bool> ToolbarRules(const CommandState& s, bool ignoreActive) {
    using C = Command;
    std::map<C, bool> on;
    for (const C command :
         {C::New, C::Open, C::Save, C::ChooseSizeUnit, C::ChoosePathMode, C::Add, C::Delete, C::Cut,
          C::Paste, C::MakeGroup, C::ReleaseGroup, C::Run, C::Pause, C::Stop, C::RunOptions})
        on[command] = false;
    on[C::New] = on[C::Open] = true;
    if (!s.hasWindow || ignoreActive)
        return on;
    if (s.running) {
        on[C::Stop] = true;
        on[s.paused ? C::Run : C::Pause] = true;
        return on;
    }
    const bool listTab = s.currentTab == ProjectTab::List;
    on[C::ChoosePathMode] = on[C::ChooseSizeUnit] = true;
    on[C::Add] = listTab;
    if (s.selectionCount > 0 && listTab) {
        on[C::Delete] = on[C::Cut] = true;
        on[C::ReleaseGroup] = s.selection == SelectedRows::GroupsOnly;
    }
    on[C::MakeGroup] = listTab && s.selection == SelectedRows::FilesOnly && s.selectionCount > 1;
    on[C::Save] = s.modified;
    on[C::Paste] = s.hasCutMarks;
    on[C::Run] = s.itemCount >= 2;
    on[C::RunOptions] = true;
    return on;
}

}  // namespace zv
