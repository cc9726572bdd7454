#include "core/db/AccessDB.h"

#include <sqlite3.h>

#include <cstring>
#include <exception>
#include <filesystem>
#include <utility>

#include "core/db/Database.h"
#include "core/db/DatabaseFile.h"
#include "core/platform/FileError.h"
#include "core/platform/PlatformError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr std::string_view kDataSource = ";Data Source=";

// SQLite's message with the system's error under it: "disk I/O error" alone
// does not tell a full disk from a broken one.
std::string ErrorText(sqlite3* db) {
    std::string text = sqlite3_errmsg(db);
    int system = sqlite3_system_errno(db);
    // SQLite notes the error of the last failed call on the file as well.
    if (system == 0 &&
        sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &system) != SQLITE_OK)
        system = 0;
    if (system != 0)
        text += " (" + std::string(std::strerror(system)) + ")";
    return text;
}

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Prepared = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The file named by the connection text. SQLite gives names such as
// ":memory:" or "file:..." a meaning of their own, so a relative path goes
// over as "./path" and always means the file.
std::string FileOf(const std::string& connectString) {
    std::string file = connectString.substr(connectString.find(kDataSource) + kDataSource.size());
    if (!std::filesystem::path(file).is_absolute()) {
        file.insert(0, "./");
    }
    return file;
}

int Exec(sqlite3* db, const std::string& statement) {
    return sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr);
}

std::string CreateTableStatement(const TableDef& table) {
    std::string statement = "CREATE TABLE [" + table.name + "] (";
    for (const ColumnDef& column : table.columns) {
        if (&column != &table.columns.front()) {
            statement += ", ";
        }
        statement += "[" + column.name + "] ";
        switch (column.type) {
            case ColumnType::WChar:
                statement += "VARCHAR(" + std::to_string(column.definedSize) + ")";
                break;
            case ColumnType::Double:
                statement += "DOUBLE";
                break;
            case ColumnType::Integer:
                statement += "INTEGER";
                break;
        }
    }
    return statement + ")";
}

FieldValue ReadField(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return FieldValue(static_cast<int64_t>(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT:
            return FieldValue(sqlite3_column_double(statement, column));
        case SQLITE_NULL:
            return FieldValue();
        default: {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const int bytes = sqlite3_column_bytes(statement, column);
            return FieldValue(bytes > 0 ? std::string(text, bytes) : std::string());
        }
    }
}

}  // namespace

AccessDB::AccessDB() : recordSet_(std::make_shared<zv::RecordSet>()) {}

AccessDB::~AccessDB() {
    sqlite3_close_v2(connection_);
}

Status AccessDB::DBCreate(const std::string& path, const TableDef& table) {
    std::string connect;
    if (Status status = GenConnectString(path, false, connect); !status.ok()) {
        return status;
    }
    Status result;
    std::string file;
    bool created = false;
    try {
        file = FileOf(connect);
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(file.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        const Connection catalog(raw);
        if (catalog == nullptr) {
            result = SetError("ADDC-01", DbError::CreateFailed, ResString(text_id::DbCreateFailed));
        } else if (rc != SQLITE_OK) {
            result = SetError("ADDC-99", DbError::Refused, ErrorText(catalog.get()));
        } else {
            created = true;
            if (!table.name.empty() &&
                Exec(catalog.get(), CreateTableStatement(table)) != SQLITE_OK) {
                result = SetError("ADDC-99", DbError::Refused, ErrorText(catalog.get()));
            }
        }
    } catch (const std::exception& e) {
        result = SetError("ADDC-99", DbError::Refused, e.what());
    }
    // The file did not exist before this call, so a half-made one is ours to remove.
    if (created && !result.ok()) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    return result;
}

Status AccessDB::TBCreate(const std::vector<TableDef>& tables) {
    if (connection_ == nullptr) {
        return SetError("ADTC-01", DbError::NotOpen, ResString(text_id::DbNotOpen));
    }
    if (tables.empty()) {
        return SetError("ADTC-02", DbError::NoTables, ResString(text_id::DbNoTables));
    }
    try {
        for (const TableDef& table : tables) {
            // SQLite would accept a table without a name; a definition
            // without one cannot be added.
            if (table.name.empty()) {
                throw PlatformError::InvalidCall();
            }
            if (Exec(connection_, CreateTableStatement(table)) != SQLITE_OK) {
                return SetError("ADTC-99", DbError::Refused, ErrorText(connection_));
            }
        }
    } catch (const std::exception& e) {
        return SetError("ADTC-99", DbError::Refused, e.what());
    }
    return Status::Ok();
}

Status AccessDB::DBOpen(const std::string& path) {
    if (connection_ != nullptr) {
        return SetError("ADDO-02", DbError::AlreadyOpen, ResString(text_id::DbAlreadyOpen));
    }
    std::string connect;
    if (Status status = GenConnectString(path, true, connect); !status.ok()) {
        return status;
    }
    try {
        sqlite3* raw = nullptr;
        int rc = sqlite3_open_v2(FileOf(connect).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        Connection connection(raw);
        if (connection == nullptr) {
            return SetError("ADDO-03", DbError::OpenFailed, ResString(text_id::DbOpenFailed));
        }
        if (rc == SQLITE_OK && costLimits_) {
            ApplyCostLimits(connection.get(), *costLimits_, stepsLeft_);
        }
        // Opening alone accepts any file. Reading the schema once makes a file
        // that is no database, or a cut-off one, fail here and not at its first use.
        if (rc == SQLITE_OK) {
            // A file that another connection is writing is waited for a moment.
            sqlite3_busy_timeout(connection.get(), kBusyTimeoutMs);
            rc = Exec(connection.get(), "SELECT count(*) FROM sqlite_master");
        }
        if (rc != SQLITE_OK) {
            Status failure = SetError("ADDO-99", DbError::Refused, ErrorText(connection.get()));
            if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
                return {FileError::InUse, failure.message()};
            }
            return failure;
        }
        connection_ = connection.release();
        return Status::Ok();
    } catch (const std::exception& e) {
        return SetError("ADDO-99", DbError::Refused, e.what());
    }
}

void AccessDB::DBClose() {
    sqlite3_close_v2(connection_);
    connection_ = nullptr;
}

// Both cursor types give the same rows here: a query's rows are read in full
// when it runs, so any row can be reached by its number.
std::shared_ptr<zv::RecordSet> AccessDB::Run(const std::string& statement, int16_t) {
    std::shared_ptr<zv::RecordSet> result;
    // LastErr tells why a query gave a record set that is not open.
    static_cast<void>(Perform(statement, result));
    return result ? result : std::make_shared<zv::RecordSet>();
}

Status AccessDB::Execute(const std::string& statement) {
    std::shared_ptr<zv::RecordSet> rows;
    return Perform(statement, rows);
}

Status AccessDB::Perform(const std::string& statement, std::shared_ptr<zv::RecordSet>& result) {
    Status status;
    try {
        result = std::make_shared<zv::RecordSet>();
        const std::string remembered = sql_;
        if (!statement.empty()) {
            sql_ = statement;
        } else if (sql_.empty()) {
            return SetError("ADRN-01", DbError::NoStatement, ResString(text_id::DbNoStatement));
        }
        if (connection_ == nullptr) {
            return SetError("ADRN-02", DbError::NotOpen, ResString(text_id::DbNotOpen));
        }
        recordSet_ = result;
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(connection_, sql_.c_str(), static_cast<int>(sql_.size()) + 1,
                                    &raw, nullptr);
        const Prepared prepared(raw);
        if (rc == SQLITE_OK && prepared != nullptr) {
            const int columns = sqlite3_column_count(prepared.get());
            std::vector<FieldValue> values;
            while ((rc = sqlite3_step(prepared.get())) == SQLITE_ROW) {
                for (int column = 0; column < columns; ++column) {
                    values.push_back(ReadField(prepared.get(), column));
                }
            }
            if (rc == SQLITE_DONE) {
                rc = SQLITE_OK;
                if (columns > 0) {
                    std::vector<std::string> names;
                    names.reserve(columns);
                    for (int column = 0; column < columns; ++column) {
                        names.emplace_back(sqlite3_column_name(prepared.get(), column));
                    }
                    *result = zv::RecordSet(std::move(names), std::move(values));
                }
            }
        }
        if (rc != SQLITE_OK) {
            status = SetError("ADRN-99", DbError::Refused, ErrorText(connection_));
        }
        // While a failure stays uncleared, the statement that was there before
        // this call is kept.
        if (!errorCode_.empty()) {
            sql_ = remembered;
        }
    } catch (const std::exception& e) {
        status = SetError("ADRN-99", DbError::Refused, e.what());
    }
    return status;
}

Status AccessDB::Stream(const std::string& statement,
                        const std::function<void(const zv::RecordSet& row)>& visit) {
    if (connection_ == nullptr) {
        return SetError("ADRN-02", DbError::NotOpen, ResString(text_id::DbNotOpen));
    }
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(connection_, statement.c_str(),
                                static_cast<int>(statement.size()) + 1, &raw, nullptr);
    const Prepared prepared(raw);
    if (rc == SQLITE_OK && prepared != nullptr) {
        const int columns = sqlite3_column_count(prepared.get());
        std::vector<std::string> names;
        for (int column = 0; column < columns; ++column) {
            names.emplace_back(sqlite3_column_name(prepared.get(), column));
        }
        while ((rc = sqlite3_step(prepared.get())) == SQLITE_ROW) {
            std::vector<FieldValue> values;
            values.reserve(static_cast<std::size_t>(columns));
            for (int column = 0; column < columns; ++column) {
                values.push_back(ReadField(prepared.get(), column));
            }
            visit(zv::RecordSet(names, std::move(values)));
        }
        if (rc == SQLITE_DONE) {
            rc = SQLITE_OK;
        }
    }
    if (rc != SQLITE_OK) {
        return SetError("ADRN-99", DbError::Refused, ErrorText(connection_));
    }
    return Status::Ok();
}

Status AccessDB::BeginTrans() {
    return Transact("BEGIN");
}

Status AccessDB::CommitTrans() {
    return Transact("COMMIT");
}

Status AccessDB::RollbackTrans() {
    return Transact("ROLLBACK");
}

Status AccessDB::Transact(const char* statement) {
    if (connection_ == nullptr) {
        return SetError("ADTR-99", DbError::NotOpen, ResString(text_id::DbNotOpen));
    }
    if (Exec(connection_, statement) != SQLITE_OK) {
        return SetError("ADTR-99", DbError::Refused, ErrorText(connection_));
    }
    return Status::Ok();
}

std::string AccessDB::LastErr(std::string& message) const {
    message = errorMessage_;
    return errorCode_;
}

void AccessDB::ErrClear() {
    errorCode_.clear();
    errorMessage_.clear();
}

std::string AccessDB::zVersion(int16_t& major, int16_t& minor, int16_t& revision) const {
    major = 1;
    minor = 2;
    revision = 5;
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

Status AccessDB::GenConnectString(const std::string& path, bool mustExist, std::string& connect) {
    const std::string remembered = path_;
    Status status;
    try {
        if (!path.empty()) {
            path_ = path;
        }
        if (path_.empty()) {
            status = SetError("ADGN-01", DbError::NoFileName, ResString(text_id::DbNoFileName));
        } else {
            // A folder at the path is not a file.
            const bool exists = std::filesystem::is_regular_file(path_);
            if (exists && !mustExist) {
                status =
                    SetError("ADGN-02", DbError::FileExists,
                             ResString(text_id::DbFileLead) + ResString(text_id::DbFileExistsTail));
            } else if (!exists && mustExist) {
                status = SetError(
                    "ADGN-02", DbError::FileMissing,
                    ResString(text_id::DbFileLead) + ResString(text_id::DbFileMissingTail));
            } else {
                connect = "Provider=Microsoft.Jet.OLEDB." + std::string("4.0") +
                          std::string(kDataSource) + path_;
            }
        }
    } catch (const std::exception& e) {
        status = SetError("ADGN-99", DbError::Refused, e.what());
    }
    if (!status.ok()) {
        path_ = remembered;
    }
    return status;
}

Status AccessDB::SetError(const std::string& code, DbError kind, const std::string& message) {
    errorCode_ = code;
    errorMessage_ = message;
    return {kind, message};
}

}  // namespace zv
