#include "core/db/CostLimits.h"

#include <sqlite3.h>

#include <initializer_list>

namespace zv {

namespace {

// Steps between two calls of the progress handler.
constexpr int kStepsPerCheck = 1000;
// The program's own statements and tables need far less; a file's schema that
// nests deeper or chains more is no project file.
constexpr int kMaxExpressionDepth = 100;
constexpr int kMaxCompoundSelects = 10;

int CountSteps(void* stepsLeft) {
    auto& left = *static_cast<int64_t*>(stepsLeft);
    left -= kStepsPerCheck;
    return left < 0 ? 1 : 0;
}

}  // namespace

void ApplyCostLimits(sqlite3* connection, const CostLimits& limits, int64_t& stepsLeft) {
    sqlite3_limit(connection, SQLITE_LIMIT_LENGTH, limits.maxValueBytes);
    sqlite3_limit(connection, SQLITE_LIMIT_EXPR_DEPTH, kMaxExpressionDepth);
    sqlite3_limit(connection, SQLITE_LIMIT_COMPOUND_SELECT, kMaxCompoundSelects);
    sqlite3_limit(connection, SQLITE_LIMIT_ATTACHED, 0);
    for (const int option : {SQLITE_DBCONFIG_ENABLE_VIEW, SQLITE_DBCONFIG_ENABLE_TRIGGER,
                             SQLITE_DBCONFIG_TRUSTED_SCHEMA}) {
        sqlite3_db_config(connection, option, 0, nullptr);
    }
    sqlite3_db_config(connection, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // Sorting spills into memory, which the step budget bounds, and a page
    // whose cells do not fit it is refused before it is read.
    sqlite3_exec(connection, "PRAGMA temp_store = MEMORY; PRAGMA cell_size_check = ON", nullptr,
                 nullptr, nullptr);
    stepsLeft = limits.maxSteps;
    sqlite3_progress_handler(connection, kStepsPerCheck, CountSteps, &stepsLeft);
}

}  // namespace zv
