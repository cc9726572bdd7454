#pragma once

#include <string>
#include <vector>

#include "desktop/mainwindow/Command.h"

namespace zv {

// Number of entries of the caption table `MenuItems`.
constexpr int kMenuItemCount = 73;

// Positions in `MenuItems` (the k of `MenuEntry`) of the menus and of the items
// the program refers to; an item of a run of similar ones (recent files, tabs,
// units, modes) is the first position plus its argument.
namespace menu_k {
inline constexpr int FileMenu = 0, New = 1, Open = 2, Close = 3, CloseAll = 4, Save = 6;
inline constexpr int SaveAs = 7, AppSettings = 9, RecentSeparator = 10, FirstRecent = 11;
inline constexpr int Exit = 17;
inline constexpr int ViewMenu = 18, ShowTab = 19, TabsMenu = 22, ToggleTab = 23;
inline constexpr int ViewSeparator = 26, SizeMenu = 27, SizeUnit = 28, PathMenu = 32;
inline constexpr int PathMode = 33, ToolboxSeparator = 35, Toolbox = 36;
inline constexpr int ListMenu = 37, Add = 38, Delete = 39, Refresh = 40, ListSeparator = 41;
inline constexpr int GroupMenu = 42, MakeGroup = 43, Release = 44, Rename = 45;
inline constexpr int RunMenu = 46, Run = 47, Pause = 49, Resume = 50, Stop = 51, RunOptions = 53;
inline constexpr int WindowMenu = 54, HelpMenu = 58;
inline constexpr int Cut = 66, Paste = 67, CutSeparator = 68, Export = 69;
inline constexpr int Undo = 70, Redo = 71, UndoSeparator = 72;
}  // namespace menu_k

// One item of the menu bar as the program lays it out.
struct MenuEntry {
    // Position in `MenuItems`; its default caption is string 60000 + k, for
    // the items added after Cut and Paste (the export, undo and redo) the
    // string `MenuCaptions` names.
    int k;
    // The control array the item belongs to ("hM", "sm_F", ...) and its index.
    std::string array;
    int index;
    // k of the menu the item drops down from; -1 for the top-level menus.
    int parent;
    // The shortcut key in QKeySequence's portable text, empty for none.
    std::string shortcut;
    // Never shown.
    bool hidden;
    Command command;
    // The tab, unit or mode the command acts on.
    int argument;

    // "sm_F(10)": the name of the control, and of its widget.
    std::string Name() const { return array + "(" + std::to_string(index) + ")"; }
};

// Every item of the menu bar in display order; a menu's items follow it.
const std::vector<MenuEntry>& MenuTree();

}  // namespace zv
