#include "desktop/mainwindow/MenuTree.h"

namespace zv {

namespace {

using C = Command;
namespace k = menu_k;

// File, View, List, Run, Window and Help, each followed by its items; the list
// menu shows undo and redo first and cut and paste in the middle, the File
// menu the export in the middle (all added last to the caption table).
std::vector<MenuEntry> BuildTree() {
    return {
        {k::FileMenu, "hM", 0, -1, "", false, C::None, 0},
        {k::New, "sm_F", 0, k::FileMenu, "Ctrl+N", false, C::New, 0},
        {k::Open, "sm_F", 1, k::FileMenu, "Ctrl+O", false, C::Open, 0},
        {k::Close, "sm_F", 2, k::FileMenu, "Ctrl+F4; Ctrl+W", false, C::Close, 0},
        {k::CloseAll, "sm_F", 3, k::FileMenu, "", false, C::CloseAll, 0},
        {5, "sm_F", 4, k::FileMenu, "", false, C::None, 0},
        {k::Save, "sm_F", 5, k::FileMenu, "Ctrl+S", false, C::Save, 0},
        {k::SaveAs, "sm_F", 6, k::FileMenu, "", false, C::SaveAs, 0},
        {k::Export, "sm_F", 17, k::FileMenu, "", false, C::Export, 0},
        {8, "sm_F", 7, k::FileMenu, "", true, C::None, 0},
        {k::AppSettings, "sm_F", 8, k::FileMenu, "", true, C::None, 0},
        {k::RecentSeparator, "sm_F", 9, k::FileMenu, "", false, C::None, 0},
        {k::FirstRecent, "sm_F", 10, k::FileMenu, "", false, C::RecentFile, 0},
        {k::FirstRecent + 1, "sm_F", 11, k::FileMenu, "", false, C::RecentFile, 1},
        {k::FirstRecent + 2, "sm_F", 12, k::FileMenu, "", false, C::RecentFile, 2},
        {k::FirstRecent + 3, "sm_F", 13, k::FileMenu, "", false, C::RecentFile, 3},
        {k::FirstRecent + 4, "sm_F", 14, k::FileMenu, "", false, C::RecentFile, 4},
        {16, "sm_F", 15, k::FileMenu, "", false, C::None, 0},
        {k::Exit, "sm_F", 16, k::FileMenu, "Ctrl+Q", false, C::Exit, 0},

        {k::ViewMenu, "hM", 1, -1, "", false, C::None, 0},
        {k::ShowTab, "sm_V", 0, k::ViewMenu, "", false, C::ShowTab, 0},
        {k::ShowTab + 1, "sm_V", 1, k::ViewMenu, "", false, C::ShowTab, 1},
        {k::ShowTab + 2, "sm_V", 2, k::ViewMenu, "", false, C::ShowTab, 2},
        {k::TabsMenu, "sm_V", 3, k::ViewMenu, "", false, C::None, 0},
        {k::ToggleTab, "sm_VT", 0, k::TabsMenu, "", false, C::ToggleTab, 0},
        {k::ToggleTab + 1, "sm_VT", 1, k::TabsMenu, "", false, C::ToggleTab, 1},
        {k::ToggleTab + 2, "sm_VT", 2, k::TabsMenu, "", false, C::ToggleTab, 2},
        {k::ViewSeparator, "sm_V", 4, k::ViewMenu, "", false, C::None, 0},
        {k::SizeMenu, "sm_V", 5, k::ViewMenu, "", false, C::None, 0},
        {k::SizeUnit, "sm_VS", 0, k::SizeMenu, "", false, C::SizeUnit, 0},
        {k::SizeUnit + 1, "sm_VS", 1, k::SizeMenu, "", false, C::SizeUnit, 1},
        {k::SizeUnit + 2, "sm_VS", 2, k::SizeMenu, "", false, C::SizeUnit, 2},
        {k::SizeUnit + 3, "sm_VS", 3, k::SizeMenu, "", false, C::SizeUnit, 3},
        {k::PathMenu, "sm_V", 6, k::ViewMenu, "", false, C::None, 0},
        {k::PathMode, "sm_VP", 0, k::PathMenu, "", false, C::PathMode, 0},
        {k::PathMode + 1, "sm_VP", 1, k::PathMenu, "", false, C::PathMode, 1},
        {k::ToolboxSeparator, "sm_V", 7, k::ViewMenu, "", true, C::None, 0},
        {k::Toolbox, "sm_V", 8, k::ViewMenu, "F7", true, C::None, 0},

        {k::ListMenu, "hM", 2, -1, "", false, C::None, 0},
        {k::Undo, "sm_L", 8, k::ListMenu, "Ctrl+Z", false, C::Undo, 0},
        {k::Redo, "sm_L", 9, k::ListMenu, "Ctrl+Y; Ctrl+Shift+Z", false, C::Redo, 0},
        {k::UndoSeparator, "sm_L", 10, k::ListMenu, "", false, C::None, 0},
        {k::Add, "sm_L", 0, k::ListMenu, "Ctrl+F", false, C::Add, 0},
        {k::Delete, "sm_L", 1, k::ListMenu, "Del", false, C::Delete, 0},
        {k::Refresh, "sm_L", 2, k::ListMenu, "Ctrl+R", false, C::None, 0},
        {k::ListSeparator, "sm_L", 3, k::ListMenu, "", false, C::None, 0},
        {k::Cut, "sm_L", 4, k::ListMenu, "Ctrl+X", false, C::Cut, 0},
        {k::Paste, "sm_L", 5, k::ListMenu, "Ctrl+V", false, C::Paste, 0},
        {k::CutSeparator, "sm_L", 6, k::ListMenu, "", false, C::None, 0},
        {k::GroupMenu, "sm_L", 7, k::ListMenu, "", false, C::None, 0},
        {k::MakeGroup, "sm_LG", 0, k::GroupMenu, "F3", false, C::MakeGroup, 0},
        {k::Release, "sm_LG", 1, k::GroupMenu, "Shift+F3", false, C::ReleaseGroup, 0},
        {k::Rename, "sm_LG", 2, k::GroupMenu, "F2", false, C::Rename, 0},

        {k::RunMenu, "hM", 3, -1, "", false, C::None, 0},
        {k::Run, "sm_R", 0, k::RunMenu, "F5", false, C::Run, 0},
        {48, "sm_R", 1, k::RunMenu, "", false, C::None, 0},
        {k::Pause, "sm_R", 2, k::RunMenu, "F6", false, C::Pause, 0},
        {k::Resume, "sm_R", 3, k::RunMenu, "Shift+F6", false, C::Run, 0},
        {k::Stop, "sm_R", 4, k::RunMenu, "F9", false, C::Stop, 0},
        {52, "sm_R", 5, k::RunMenu, "", false, C::None, 0},
        {k::RunOptions, "sm_R", 6, k::RunMenu, "Ctrl+E", false, C::RunOptions, 0},

        // The frame's window list; the program keeps it out of sight.
        {k::WindowMenu, "hM", 4, -1, "", true, C::None, 0},
        {55, "sm_W", 0, k::WindowMenu, "", false, C::None, 0},
        {56, "sm_W", 1, k::WindowMenu, "", false, C::None, 0},
        {57, "sm_W", 2, k::WindowMenu, "", false, C::None, 0},

        {k::HelpMenu, "hM", 5, -1, "", false, C::None, 0},
        {59, "sm_H", 0, k::HelpMenu, "", true, C::None, 0},
        {60, "sm_H", 1, k::HelpMenu, "", true, C::None, 0},
        {61, "sm_H", 2, k::HelpMenu, "", true, C::None, 0},
        {62, "sm_H", 3, k::HelpMenu, "", true, C::None, 0},
        {63, "sm_H", 4, k::HelpMenu, "", false, C::SupportPage, 0},
        {64, "sm_H", 5, k::HelpMenu, "", false, C::None, 0},
        {65, "sm_H", 6, k::HelpMenu, "", false, C::VersionInformation, 0},
    };
}

}  // namespace

const std::vector<MenuEntry>& MenuTree() {
    static const std::vector<MenuEntry> tree = BuildTree();
    return tree;
}

}  // namespace zv
