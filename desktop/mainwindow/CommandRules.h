#pragma once

#include <map>

#include "desktop/mainwindow/Command.h"
#include "desktop/mainwindow/CommandState.h"

namespace zv {

// The drop-downs whose items the program enables and checks, by their place
// on the menu bar.
enum class DropDown { File = 0, View = 1, List = 2, Run = 3 };

// What one drop-down's refresh sets, by position k in `MenuItems` (see
// menu_k): the enabled state of each of its items, and the check marks it
// sets. Items it does not name keep their state.
struct MenuStates {
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
};

// The states of the items of one drop-down.
MenuStates MenuRules(DropDown menu, const CommandState& state);

// The enabled state of each tool bar button by the command it gives. With
// ignoreActive the active project window counts as absent (it is just
// closing).
std::map<Command, bool> ToolbarRules(const CommandState& state, bool ignoreActive);

}  // namespace zv
