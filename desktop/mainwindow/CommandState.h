#pragma once

#include <array>

#include "core/project/ProjectDocument.h"
#include "core/project/ProjectTab.h"
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
    ProjectTab currentTab = ProjectTab::List;
    // By tab, in tab order.
    std::array<bool, kProjectTabCount> tabVisible{true, true, true};
    // The selection in the list of the current tab and the number of selected
    // rows.
    SelectedRows selection = SelectedRows::Nothing;
    int selectionCount = 0;
    // The lists show the members of an opened group.
    bool groupOpened = false;
    bool modified = false;
    bool hasCutMarks = false;
    // The list's edit history has a step back, a step forward.
    bool canUndo = false;
    bool canRedo = false;
    // Some item has been placed on a medium by a run.
    bool hasResults = false;
    // Number of list items (an empty project has its one placeholder).
    int itemCount = 1;
    SizeUnit sizeUnit = SizeUnit::UnitBytes;
    PathMode pathMode = PathMode::FullPaths;

    // The recent-file entries that have a caption.
    std::array<bool, kRecentFileCount> recentFileShown{};
};

}  // namespace zv
