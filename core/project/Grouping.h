#pragma once

#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// The position of the last group among `items` whose name equals `name` in any
// letter case; -1 when there is none. Single files never match, and the scan
// ends at the first item without files (the placeholder of an empty project).
int FindGroup(const std::string& name, const std::vector<ItemRecord>& items);

// Adds files to the group `name`: into the existing group (files already in the
// project are left out), or as a new group at the end of the list. The group
// becomes the opened group. False when nothing was added; an unexpected
// failure is reported and leaves the list as it was. Always clears the cut
// marks.
bool AddToGroup(ProjectDocument& document, const std::string& name, std::vector<FileRef> files);

// Dissolves the group `name` (or, when there is none, the opened group): its
// members come back as single files at the end of the list. False, with the
// list as it was, when there is no such group or the members cannot be added.
bool ReleaseGroup(ProjectDocument& document, const std::string& name);

}  // namespace zv
