#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace zv::test {

// The rows a query gives on the file, read with plain SQLite and a connection
// of its own: one text per row, its fields joined by "|".
inline std::vector<std::string> Rows(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::vector<std::string> rows;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string& row = rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row += (c ? "|" : "") + std::string(text ? text : "");
            }
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The first row, or "" when there is none.
inline std::string Value(const std::string& file, const std::string& sql) {
    const std::vector<std::string> rows = Rows(file, sql);
    return rows.empty() ? "" : rows[0];
}

// What Exec does with its connection afterwards. One kept open goes on holding
// what the statements began (a transaction and its lock) until the process
// ends, as another program's connection would.
enum class AfterExec { Close, KeepOpen };

// Runs statements on the file, which the code under test may have open,
// through a connection of its own; SQLITE_OK when all of them ran.
inline int Exec(const std::string& file, const std::string& sql,
                AfterExec after = AfterExec::Close) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (after == AfterExec::Close)
        sqlite3_close(db);
    return result;
}

}  // namespace zv::test
