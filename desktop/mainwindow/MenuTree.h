#pragma once

#include <string>
#include <vector>

#include "desktop/mainwindow/Command.h"

namespace zv {

// Number of entries of the caption table `MenuItems`.
constexpr int kMenuItemCount = 69;

// One item of the menu bar as the program lays it out.
struct MenuEntry {
    // Position in `MenuItems`; its default caption is string 60000 + k.
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
