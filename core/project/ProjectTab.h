#pragma once

namespace zv {

// The tabs of a project window, in the order they are shown; the View menu's
// tab items and the settings of which tabs show go by the same order.
enum class ProjectTab { List = 0, Result = 1, Info = 2 };
inline constexpr int kProjectTabCount = 3;

// A project window's two lists: the file list on the list tab and the result
// list on the result tab.
enum class ProjectList { Files = 0, Results = 1 };

// What the selected rows of the current tab's list hold; the ".." row counts
// as neither a file nor a group.
enum class SelectedRows { Nothing = 0, FilesOnly = 1, GroupsOnly = 2, FilesAndGroups = 3 };

}  // namespace zv
