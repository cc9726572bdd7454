#pragma once

#include <string>

#include "core/platform/Status.h"

namespace zv {

// The files that stand beside a project file P for a while, named after it:
//   P.saving      a save being built (for the command line, a whole run)
//   P.TMP         the work database of a run on P
//   P.saving.TMP  the work database of a run on P.saving
//   P.TMP.TMP     the project itself, moved aside by earlier versions while
//                 a run put its work database in its place
// each with SQLite's journals, and P.lock while P is locked (P.saving.lock
// while the command line runs on P.saving).
std::string SavingPath(const std::string& project);
std::string WorkPath(const std::string& project);

// Puts right what a save or a run of `project` that was cut short left beside
// it: a project that was moved aside and never came back returns to its
// place, and the other side files and their journals are removed. Nothing is
// touched while another process saves or runs the project (FileError::InUse),
// nor while this process does.
Status RecoverProjectFile(const std::string& project);

}  // namespace zv
