#pragma once

#include <map>
#include <string>

#include "desktop/mainwindow/CommandState.h"

namespace zv {

// The drop-downs whose items the program enables and checks.
enum MenuIndex : int { FileMenu = 0, ViewMenu = 1, ListMenu = 2, RunMenu = 3 };

// What one drop-down's refresh sets, by position k in `MenuItems`: the enabled
// state of each of its items, and the check marks it sets. Items it does not
// name keep their state.
struct MenuStates {
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
};

// The states of the items of menu `menu` (one of MenuIndex).
MenuStates MenuRules(int menu, const CommandState& state);

// The enabled state of each tool bar button by its key. With ignoreActive the
// active project window counts as absent (it is just closing).
std::map<std::string, bool> ToolbarRules(const CommandState& state, bool ignoreActive);

}  // namespace zv
