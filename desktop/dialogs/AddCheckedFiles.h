#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/project/ItemRecord.h"

namespace zv {

class ProjectDocument;

// What the add-files dialog does once the checked files were handed over.
struct AddOutcome {
    // The project's file list is drawn again, with `openGroup` opened (empty for
    // the top level).
    bool redraw = false;
    std::string openGroup;
    // The files went in: the focus moves to the close button.
    bool added = false;
};

// Asks whether several files become one group: the name confirmed, or empty
// to keep them single files. Given the project's list items.
using GroupNameAsker = std::function<std::string(const std::vector<ItemRecord>& items)>;

// Hands the files at `checkedPaths` (the checked rows, top to bottom) to the
// project: into its opened group when the user wants that, as a single item
// when there is one file, else as the group the asker names, into the existing
// group of that name, or as single files. Tells the user when nothing was
// checked or the project refused the files, and how many went in when some
// were in the list already (those are passed over). A file that can no
// longer be opened by its path is passed over too.
AddOutcome AddCheckedFiles(const std::vector<std::string>& checkedPaths, ProjectDocument& target,
                           const GroupNameAsker& askGroupName);

}  // namespace zv
