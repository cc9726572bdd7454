#pragma once

#include <system_error>
#include <type_traits>

namespace zv {

// The kinds of failure of AccessDB, as the codes its LastErr keeps name them.
enum class DbError {
    NoFileName = 1,  // ADGN-01
    FileExists,      // ADGN-02: a new database cannot go where a file is
    FileMissing,     // ADGN-02: the database to open is not there
    CreateFailed,    // ADDC-01
    AlreadyOpen,     // ADDO-02
    OpenFailed,      // ADDO-03
    NotOpen,         // ADTC-01, ADRN-02, and a transaction without a connection
    NoTables,        // ADTC-02
    NoStatement,     // ADRN-01
    Refused,         // the "-99" codes: SQLite or the system refused; the message says why
};

const std::error_category& DbErrorCategory();

inline std::error_code make_error_code(DbError error) {
    return {static_cast<int>(error), DbErrorCategory()};
}

}  // namespace zv

template <>
struct std::is_error_code_enum<zv::DbError> : std::true_type {};
