#pragma once

#include <string>

#include "core/platform/Status.h"

namespace zv {

// The folder this process keeps its temporary work files in: the copies that
// untitled projects run in and the command-line tool's plans that are not
// kept. It is made on first use under a name nobody can foresee, entered by
// this user alone, in their runtime folder ($XDG_RUNTIME_DIR), else their
// cache folder (~/.cache/zarvopack), else the temporary folder; so no other
// user can lay a file or a link in its place beforehand. It goes away with
// the process when it is empty again. Empty when no folder could be made.
std::string ScratchFolder();

// Makes an empty file at `path` that only this user may read or write, so
// that the file a save then puts in its place keeps those permissions. A file
// that is there already is left as it is; a link is not followed.
Status CreatePrivateFile(const std::string& path);

}  // namespace zv
