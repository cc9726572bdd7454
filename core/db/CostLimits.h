#pragma once

#include <cstdint>

struct sqlite3;

namespace zv {

// What the statements on one connection may cost in all, for a file that may
// come from anywhere. A file small enough to mail can otherwise hold a query
// that never ends or values of any size.
struct CostLimits {
    // The longest text, blob or row that a statement may read or make.
    int maxValueBytes = 0;
    // Virtual machine steps over the life of the connection.
    int64_t maxSteps = 0;
};

// Puts the limits on an open connection: SQLite's own length and depth limits,
// no views, triggers or functions with side effects from the file's schema,
// temporary data in memory rather than in files, and a progress handler that
// counts the steps down in `stepsLeft` and stops every statement once they
// are spent. `stepsLeft` must outlive the connection.
void ApplyCostLimits(sqlite3* connection, const CostLimits& limits, int64_t& stepsLeft);

}  // namespace zv
