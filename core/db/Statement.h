#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/Status.h"

struct sqlite3_stmt;

namespace zv {

class Database;

enum class StepResult { Row, Done, Error };

// What a column of the current row holds, as SQLite stored it.
enum class ColumnKind { Integer, Real, Text, Blob, Null };

// One prepared statement of a Database; parameters are numbered from 1 and
// columns from 0, as SQLite numbers them.
class Statement {
  public:
    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Status bind(int index, int64_t value);
    Status bind(int index, int value) { return bind(index, static_cast<int64_t>(value)); }
    Status bind(int index, double value);
    Status bind(int index, std::string_view text);
    Status bindNull(int index);

    // After Error, stepFailure says why.
    StepResult step();
    Status stepFailure() const { return stepFailure_; }
    // Runs a statement that gives no rows to its end.
    Status run();
    // Back to before the first step, keeping the bound values for the next
    // ones to replace.
    Status reset();

    int columnCount() const;
    ColumnKind columnKind(int column) const;
    int64_t columnInt(int column) const;
    double columnDouble(int column) const;
    // Valid until the next step; a text may hold zero bytes.
    std::string_view columnText(int column) const;

  private:
    friend class Database;
    Status check(int resultCode) const;

    sqlite3_stmt* statement_ = nullptr;
    const Database* database_ = nullptr;
    Status stepFailure_;
};

}  // namespace zv
