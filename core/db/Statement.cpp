#include "core/db/Statement.h"

#include <sqlite3.h>

#include "core/db/Database.h"

namespace zv {

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Status Statement::check(int resultCode) const {
    if (resultCode == SQLITE_OK)
        return {};
    if (database_ == nullptr)
        return {std::make_error_code(std::errc::invalid_argument), "no statement was prepared"};
    return database_->failure({}, resultCode);
}

Status Statement::bind(int index, int64_t value) {
    return check(sqlite3_bind_int64(statement_, index, value));
}

Status Statement::bind(int index, double value) {
    return check(sqlite3_bind_double(statement_, index, value));
}

Status Statement::bind(int index, std::string_view text) {
    return check(sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8));
}

Status Statement::bindNull(int index) {
    return check(sqlite3_bind_null(statement_, index));
}

StepResult Statement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return StepResult::Row;
    if (rc == SQLITE_DONE)
        return StepResult::Done;
    stepFailure_ = check(rc);
    return StepResult::Error;
}

Status Statement::run() {
    StepResult result;
    while ((result = step()) == StepResult::Row) {
    }
    return result == StepResult::Error ? stepFailure_ : Status();
}

Status Statement::reset() {
    stepFailure_ = {};
    return check(sqlite3_reset(statement_));
}

int Statement::columnCount() const {
    return sqlite3_column_count(statement_);
}

ColumnKind Statement::columnKind(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return ColumnKind::Integer;
        case SQLITE_FLOAT:
            return ColumnKind::Real;
        case SQLITE_TEXT:
            return ColumnKind::Text;
        case SQLITE_BLOB:
            return ColumnKind::Blob;
        default:
            return ColumnKind::Null;
    }
}

int64_t Statement::columnInt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Statement::columnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string_view Statement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    const int bytes = sqlite3_column_bytes(statement_, column);
    return text ? std::string_view(text, static_cast<std::size_t>(bytes)) : std::string_view();
}

}  // namespace zv
