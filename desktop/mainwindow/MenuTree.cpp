#include "desktop/mainwindow/MenuTree.h"

namespace zv {

namespace {

using C = Command;

// File, View, List, Run, Window and Help, each followed by its items; the list
// menu shows cut and paste (k 66 to 68, added last to the caption table) in
// the middle.
std::vector<MenuEntry> BuildTree() {
    return {
        {0, "hM", 0, -1, "", false, C::None, 0},
        {1, "sm_F", 0, 0, "Ctrl+N", false, C::New, 0},
        {2, "sm_F", 1, 0, "Ctrl+O", false, C::Open, 0},
        {3, "sm_F", 2, 0, "", false, C::Close, 0},
        {4, "sm_F", 3, 0, "", false, C::CloseAll, 0},
        {5, "sm_F", 4, 0, "", false, C::None, 0},
        {6, "sm_F", 5, 0, "Ctrl+S", false, C::Save, 0},
        {7, "sm_F", 6, 0, "", false, C::SaveAs, 0},
        {8, "sm_F", 7, 0, "", true, C::None, 0},
        {9, "sm_F", 8, 0, "", true, C::None, 0},
        {10, "sm_F", 9, 0, "", false, C::None, 0},
        {11, "sm_F", 10, 0, "", false, C::RecentFile, 0},
        {12, "sm_F", 11, 0, "", false, C::RecentFile, 1},
        {13, "sm_F", 12, 0, "", false, C::RecentFile, 2},
        {14, "sm_F", 13, 0, "", false, C::RecentFile, 3},
        {15, "sm_F", 14, 0, "", false, C::RecentFile, 4},
        {16, "sm_F", 15, 0, "", false, C::None, 0},
        {17, "sm_F", 16, 0, "Ctrl+Q", false, C::Exit, 0},

        {18, "hM", 1, -1, "", false, C::None, 0},
        {19, "sm_V", 0, 18, "", false, C::ShowTab, 0},
        {20, "sm_V", 1, 18, "", false, C::ShowTab, 1},
        {21, "sm_V", 2, 18, "", false, C::ShowTab, 2},
        {22, "sm_V", 3, 18, "", false, C::None, 0},
        {23, "sm_VT", 0, 22, "", false, C::ToggleTab, 0},
        {24, "sm_VT", 1, 22, "", false, C::ToggleTab, 1},
        {25, "sm_VT", 2, 22, "", false, C::ToggleTab, 2},
        {26, "sm_V", 4, 18, "", false, C::None, 0},
        {27, "sm_V", 5, 18, "", false, C::None, 0},
        {28, "sm_VS", 0, 27, "", false, C::SizeUnit, 0},
        {29, "sm_VS", 1, 27, "", false, C::SizeUnit, 1},
        {30, "sm_VS", 2, 27, "", false, C::SizeUnit, 2},
        {31, "sm_VS", 3, 27, "", false, C::SizeUnit, 3},
        {32, "sm_V", 6, 18, "", false, C::None, 0},
        {33, "sm_VP", 0, 32, "", false, C::PathMode, 0},
        {34, "sm_VP", 1, 32, "", false, C::PathMode, 1},
        {35, "sm_V", 7, 18, "", true, C::None, 0},
        {36, "sm_V", 8, 18, "F7", true, C::None, 0},

        {37, "hM", 2, -1, "", false, C::None, 0},
        {38, "sm_L", 0, 37, "Ctrl+F", false, C::Add, 0},
        {39, "sm_L", 1, 37, "Del", false, C::Delete, 0},
        {40, "sm_L", 2, 37, "Ctrl+R", false, C::None, 0},
        {41, "sm_L", 3, 37, "", false, C::None, 0},
        {66, "sm_L", 4, 37, "Ctrl+X", false, C::Cut, 0},
        {67, "sm_L", 5, 37, "Ctrl+V", false, C::Paste, 0},
        {68, "sm_L", 6, 37, "", false, C::None, 0},
        {42, "sm_L", 7, 37, "", false, C::None, 0},
        {43, "sm_LG", 0, 42, "F3", false, C::MakeGroup, 0},
        {44, "sm_LG", 1, 42, "Shift+F3", false, C::ReleaseGroup, 0},
        {45, "sm_LG", 2, 42, "F2", false, C::Rename, 0},

        {46, "hM", 3, -1, "", false, C::None, 0},
        {47, "sm_R", 0, 46, "F5", false, C::Run, 0},
        {48, "sm_R", 1, 46, "", false, C::None, 0},
        {49, "sm_R", 2, 46, "F6", false, C::Pause, 0},
        {50, "sm_R", 3, 46, "Shift+F6", false, C::Run, 0},
        {51, "sm_R", 4, 46, "F9", false, C::Stop, 0},
        {52, "sm_R", 5, 46, "", false, C::None, 0},
        {53, "sm_R", 6, 46, "Ctrl+E", false, C::RunOptions, 0},

        // The frame's window list; the program keeps it out of sight.
        {54, "hM", 4, -1, "", true, C::None, 0},
        {55, "sm_W", 0, 54, "", false, C::None, 0},
        {56, "sm_W", 1, 54, "", false, C::None, 0},
        {57, "sm_W", 2, 54, "", false, C::None, 0},

        {58, "hM", 5, -1, "", false, C::None, 0},
        {59, "sm_H", 0, 58, "", true, C::None, 0},
        {60, "sm_H", 1, 58, "", true, C::None, 0},
        {61, "sm_H", 2, 58, "", true, C::None, 0},
        {62, "sm_H", 3, 58, "", true, C::None, 0},
        {63, "sm_H", 4, 58, "", false, C::SupportPage, 0},
        {64, "sm_H", 5, 58, "", false, C::None, 0},
        {65, "sm_H", 6, 58, "", false, C::VersionInformation, 0},
    };
}

}  // namespace

const std::vector<MenuEntry>& MenuTree() {
    static const std::vector<MenuEntry> tree = BuildTree();
    return tree;
}

}  // namespace zv
