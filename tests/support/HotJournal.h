#pragma once

#include <sqlite3.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace zv::test {

// Leaves the database at `path` as a writer killed in mid-change does: pages of
// the change in the file, their old content in the journal beside it, which
// the next opener must roll back (and which breaks any other file it meets).
inline void LeaveHotJournal(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    // A cache of a few pages makes the change spill into the file before its end.
    sqlite3_exec(db,
                 "PRAGMA cache_size = 2; BEGIN; CREATE TABLE Unfinished (X BLOB);"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                 "INSERT INTO Unfinished SELECT randomblob(2000) FROM n;"
                 "UPDATE MainDB SET PATH = 'unfinished';",
                 nullptr, nullptr, nullptr);
    const std::string file = ReadBytes(path);
    const std::string journal = ReadBytes(path + "-journal");
    sqlite3_close_v2(db);
    WriteBytes(path, file);
    WriteBytes(path + "-journal", journal);
}

}  // namespace zv::test
