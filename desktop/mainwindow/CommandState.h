#pragma once

#include <array>
#include <cstdint>

#include "desktop/mainwindow/RecentFiles.h"

namespace zv {

// What the enabling of menus and tool bar depends on, taken at one moment from
// the run and the active project window.
struct CommandState {
    // A run is in progress, and whether it is paused.
    bool running = false;
    bool paused = false;

    // A project window is active; the fields below describe it.
    bool hasWindow = false;
    int currentTab = 0;
    std::array<bool, 3> tabVisible{true, true, true};
    // The selection in the list of the current tab: 0 nothing, 1 only file
    // entries, 2 only groups, 3 both; and the number of selected rows.
    int selectionKind = 0;
    int selectionCount = 0;
    // The lists show the members of an opened group.
    bool groupOpened = false;
    bool modified = false;
    bool hasCutMarks = false;
    // Number of list items (an empty project has its one placeholder).
    int itemCount = 1;
    int16_t sizeUnit = 3;
    int16_t pathMode = 0;

    // The recent-file entries that have a caption.
    std::array<bool, kRecentFileCount> recentFileShown{};
};

}  // namespace zv
