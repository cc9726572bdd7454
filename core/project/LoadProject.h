#pragma once

#include <string>

#include "core/project/ProjectDocument.h"

namespace zv {

enum class LoadOutcome {
    Loaded,
    Cancelled,    // the user cancelled at the save question or the missing-file question
    NotAProject,  // the file does not open as a project
    Failed,       // an unexpected failure, already reported to the user
    // The file's items or plan do not match its checksum, and the user chose
    // not to open it read-only.
    ChecksumMismatch,
};

// Loads the project file at `path` into the document: asks to save unsaved
// changes first, asks once about files that have gone (and leaves them out),
// drops items left without members, and takes the file's run settings. The
// file path and caption follow the file; the modified flag stays as it was.
// A file whose contents do not match its checksum is opened only when the
// user agrees, and then read-only: the document refuses to save over it.
// Cancel at the save question leaves the document as it was; anything else
// but Loaded leaves it with an empty project.
LoadOutcome LoadProject(ProjectDocument& document, const std::string& path);

}  // namespace zv
