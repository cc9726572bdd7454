#pragma once

#include <string>

#include "core/platform/Status.h"

namespace zv {

// While SQLite writes a database it keeps a journal beside it ("-journal", or
// "-wal" with "-shm"). A journal left by a writer that was cut off is rolled
// back into whatever file next opens under the database's name, so a new
// file must never be put where an old journal lies.

// Opens the database at `path` as SQLite does for any use, which rolls a
// journal left beside it back into it, and ends the connection again; nothing
// to do without a journal. FileError::InUse when another connection is
// writing it.
Status RecoverDatabase(const std::string& path);

// Makes `path` ready to receive a new database file: the file there first
// recovers its own journal, and any journal then still beside it (or beside
// no file at all) is removed. FileError::InUse leaves everything as it is.
Status ClearJournals(const std::string& path);

// Removes what stands at `path` (unless it is a folder) and its journals.
Status RemoveDatabaseFile(const std::string& path);

// Puts the complete database file `from` in the place of `to` in one step
// (AtomicReplace) once `to` has no journal beside it. A `from` that still has a
// journal of its own holds a transaction that never ended and is refused.
Status PlaceDatabaseFile(const std::string& from, const std::string& to);

}  // namespace zv
