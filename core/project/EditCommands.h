#pragma once

#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// How the file list is to be drawn after an editing command.
enum class ListRedraw {
    None,         // the command stopped before changing anything
    OpenedGroup,  // again, with the opened group (if any) still opened
    TopLevel,     // at the top level
};

// The editing commands of the file list, as the project window runs them.
enum class EditCommand { Delete, Cut, Paste, MakeGroup, ReleaseGroup, Rename };

// The editing commands of the file list. Each takes the tags of the selected
// rows in row order (the ".." row, which stands for no item, left out), asks
// its questions and shows its messages, and says how to draw the list. An
// unexpected failure reaches the caller as a PlatformError.

// Delete: asks, then takes the selected items and members out of the list.
ListRedraw DeleteCommand(ProjectDocument& document, const std::vector<std::string>& tags);
// Cut: the selection becomes the only thing marked as cut.
ListRedraw CutCommand(ProjectDocument& document, const std::vector<std::string>& tags);
// Paste: moves what is marked as cut to where the list now is.
ListRedraw PasteCommand(ProjectDocument& document);
// Make group: asks for a name and binds the selected files into that group,
// which is then opened.
ListRedraw MakeGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags);
// Release group: dissolves each selected group into single files.
ListRedraw ReleaseGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags);
// The end of the editing of a row's text (a name is no part of a plan, so
// results stay): renames the group `rowTag` to
// `text` when the text is acceptable and `selectedRows` is one.
ListRedraw EndRename(ProjectDocument& document, const std::string& rowTag, const std::string& text,
                     int selectedRows);

}  // namespace zv
