#pragma once

#include <cstdint>
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

// The mark the program writes into the header of every database it creates
// (SQLite's application id), so that what a cut-off save left is known as
// its own even when the rest of the file never reached the disk. Files of a
// layout with a version carry a mark of their own, so that a file whose
// version was damaged to 0 does not pass for one written before there was a
// checksum to check.
constexpr int32_t kProjectApplicationId = 0x5A56504B;
constexpr int32_t kVersionedProjectApplicationId = 0x5A565031;

// Whether the regular file at `path` (no link) is a database of this
// program: its header holds one of the program's marks, or it holds a
// MainDB table.
// It is only read, with its journals left alone.
bool IsProjectDatabase(const std::string& path);

// Whether the file at `path` (through links) begins as an SQLite database
// does. Only such a file is opened as one: SQLite would clear away journals
// beside any other file it opens.
bool StartsAsDatabase(const std::string& path);

// Makes room at `side`, a side file of a project that is about to be built
// there: a database of this program is removed with its journals, as is a
// journal of SQLite's left beside no file. Anything else there is the
// user's, and is refused (std::errc::file_exists) and left as it is.
Status ClearSideFile(const std::string& side);

// Puts right what a save or a run of `project` that was cut short left beside
// it: a project that was moved aside and never came back returns to its
// place, and the other side files and their journals are removed. Only files
// that are provably the program's are touched (IsProjectDatabase, beside a
// project file or none), nothing at all beside a file that is no project.
// Nothing is touched while another process saves or runs the project
// (FileError::InUse), nor while this process does.
Status RecoverProjectFile(const std::string& project);

}  // namespace zv
