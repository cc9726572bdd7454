#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project/CutMarks.h"
#include "core/settings/FileRef.h"

namespace zv {

// One list item of a project: a single file, or a named group of files that a
// run places on one medium together. A fresh record is the placeholder of an
// empty project: one empty file slot, no cut mark.
struct ItemRecord {
    // The member files in member order; a slot may be empty.
    std::vector<FileRef> Files{FileRef()};
    // A group's name, or a single file's full path.
    std::string Name;
    // Total bytes of the members, summed when they were added or loaded.
    double Size = 0;
    // Medium number from the last run; 0 when not placed.
    int32_t Medium = 0;
    CutMarks Cut;
    // The members' full paths joined by a tab.
    std::string PathList;

    // True when the first slot holds a file.
    bool HasFiles() const { return !Files.empty() && !Files.front().IsEmpty(); }
    // A group is an item whose name is not its first member's full path.
    bool IsGroup() const { return !HasFiles() || Name != Files.front().Path(); }
};

}  // namespace zv
