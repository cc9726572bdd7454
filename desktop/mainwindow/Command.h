#pragma once

namespace zv {

// Everything a menu item or a tool bar button can ask the main window to do.
enum class Command {
    None,  // the item does nothing (separators, submenus, hidden items)
    New,
    Open,
    Close,
    CloseAll,
    Save,
    SaveAs,
    Export,  // the active window's results, in a format the user chooses
    Exit,
    RecentFile,  // argument: the entry; opens its project as Open does
    ShowTab,     // argument: the tab
    ToggleTab,   // argument: the tab
    SizeUnit,    // argument: the unit
    PathMode,    // argument: the mode
    // The tool bar's unit and path buttons pop up those items of the View menu.
    ChooseSizeUnit,
    ChoosePathMode,
    Add,
    Delete,
    Cut,
    Paste,
    MakeGroup,
    ReleaseGroup,
    Rename,
    // The list's edits, one step back or forward again.
    Undo,
    Redo,
    Run,
    Pause,
    Stop,
    RunOptions,
    SupportPage,
    VersionInformation,
};

}  // namespace zv
