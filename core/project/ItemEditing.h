#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// Where a list row's tag leads among a project's items: the item, and the
// member whose full path the tag is, or -1 when the tag stands for the whole
// item (a single file, or a group by its name).
struct ItemPosition {
    int item = -1;
    int member = -1;
};

// The item behind a row's tag: in list order, the first item that has a member
// whose full path equals `name`, or whose name equals `name` in any letter
// case. The whole path has to match, so "/d/a.txt.bak" never stands for
// "/d/a.txt". Nothing when no item matches.
std::optional<ItemPosition> FindItem(const ProjectDocument& document, const std::string& name);

// Takes the items and members named by `names` out of the list, in order: a
// whole item leaves the list, a member leaves its group, and a group left
// without members leaves the list too; a group that keeps members has its size
// and path list made afresh. Stops with false at the first name not found
// (what was taken out by then stays out). Sets the modified flag when every
// name was taken out. Always clears the cut marks.
bool TakeOutItems(ProjectDocument& document, const std::vector<std::string>& names);

// Marks the items and members behind `tags` as cut, in order; stops at the
// first tag that is not found.
void MarkCut(ProjectDocument& document, const std::vector<std::string>& tags);

// Moves the files marked as cut: into the opened group (asking first when
// members of another group come along), or, at the top level, back into the
// list as single files at its end. True when they moved or nothing was
// marked; on false the list is as it was. Always clears the cut marks.
bool PasteCut(ProjectDocument& document);

// After files were dragged away from the list: keeps only the members whose
// files still exist, makes each group's size and path list afresh and leaves
// out items without members. False, with the list as it was, when the state
// of a file cannot be read.
bool KeepExistingMembers(ProjectDocument& document);

}  // namespace zv
