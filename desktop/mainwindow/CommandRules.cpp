#include "desktop/mainwindow/CommandRules.h"

#include <initializer_list>

namespace zv {

namespace {

// Positions in `MenuItems` of the items the refreshes touch.
namespace k {
constexpr int New = 1, Open = 2, Close = 3, CloseAll = 4, Save = 6, SaveAs = 7, AppSettings = 9;
constexpr int FirstRecent = 11, Exit = 17;
constexpr int ShowTab = 19, TabsMenu = 22, ToggleTab = 23, SizeMenu = 27, SizeUnit = 28;
constexpr int PathMenu = 32, PathMode = 33, Toolbox = 36;
constexpr int ViewSeparator = 26, ToolboxSeparator = 35;
constexpr int Add = 38, Delete = 39, Refresh = 40, GroupMenu = 42, MakeGroup = 43, Release = 44;
constexpr int Rename = 45, Cut = 66, Paste = 67, ListSeparator = 41, CutSeparator = 68;
constexpr int Run = 47, Pause = 49, Resume = 50, Stop = 51, RunOptions = 53;
}  // namespace k

void DisableAll(MenuStates& states, std::initializer_list<int> items) {
    for (const int item : items)
        states.enabled[item] = false;
}

MenuStates FileRules(const CommandState& s) {
    MenuStates m;
    for (int item = k::New; item <= k::Exit; ++item)
        m.enabled[item] = false;
    if (s.running)
        return m;
    m.enabled[k::New] = m.enabled[k::Open] = m.enabled[k::Exit] = true;
    m.enabled[k::AppSettings] = false;
    if (s.hasWindow) {
        m.enabled[k::Close] = m.enabled[k::CloseAll] = true;
        m.enabled[k::Save] = m.enabled[k::SaveAs] = s.modified;
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
    for (int tab = 0; tab < 3; ++tab) {
        m.enabled[k::ShowTab + tab] = s.tabVisible[tab];
        m.checked[k::ShowTab + tab] = s.currentTab == tab;
        m.checked[k::ToggleTab + tab] = s.tabVisible[tab];
    }
    for (int unit = 0; unit < 4; ++unit)
        m.checked[k::SizeUnit + unit] = s.sizeUnit == unit;
    for (int mode = 0; mode < 2; ++mode)
        m.checked[k::PathMode + mode] = s.pathMode == mode;
    return m;
}

MenuStates ListRules(const CommandState& s) {
    MenuStates m;
    DisableAll(m, {k::Add, k::Delete, k::Refresh, k::ListSeparator, k::Cut, k::Paste,
                   k::CutSeparator, k::GroupMenu, k::MakeGroup, k::Release, k::Rename});
    if (s.running || !s.hasWindow || s.currentTab != 0)
        return m;
    m.enabled[k::Add] = true;
    m.enabled[k::Paste] = s.hasCutMarks;
    if (s.selectionCount <= 0)
        return m;
    m.enabled[k::Delete] = m.enabled[k::Cut] = true;
    if (s.selectionCount >= 2 && s.selectionKind == 1) {
        // Groups do not nest: inside an opened group no new one is made.
        if (!s.groupOpened)
            m.enabled[k::GroupMenu] = m.enabled[k::MakeGroup] = true;
    } else if (s.selectionKind == 2) {
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

MenuStates MenuRules(int menu, const CommandState& state) {
    switch (menu) {
        case FileMenu:
            return FileRules(state);
        case ViewMenu:
            return ViewRules(state);
        case ListMenu:
            return ListRules(state);
        case RunMenu:
            return RunRules(state);
        default:
            return {};
    }
}

std::map<std::string, bool> ToolbarRules(const CommandState& s, bool ignoreActive) {
    std::map<std::string, bool> on;
    for (const char* key : {"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut", "Paste",
                            "Group", "Release", "Start", "Break", "Stop", "Setup"})
        on[key] = false;
    on["New"] = on["Open"] = true;
    if (!s.hasWindow || ignoreActive)
        return on;
    if (s.running) {
        on["Stop"] = true;
        on[s.paused ? "Start" : "Break"] = true;
        return on;
    }
    const bool listTab = s.currentTab == 0;
    on["Path"] = on["Size"] = true;
    on["Add"] = listTab;
    if (s.selectionCount > 0 && listTab) {
        on["Delete"] = on["Cut"] = true;
        on["Release"] = s.selectionKind == 2;
    }
    on["Group"] = listTab && s.selectionKind == 1 && s.selectionCount > 1;
    on["Save"] = s.modified;
    on["Paste"] = s.hasCutMarks;
    on["Start"] = s.itemCount >= 2;
    on["Setup"] = true;
    return on;
}

}  // namespace zv
