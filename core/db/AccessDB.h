#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/db/CostLimits.h"
#include "core/db/DbError.h"
#include "core/db/RecordSet.h"
#include "core/db/TableDef.h"
#include "core/platform/Status.h"

struct sqlite3;

namespace zv {

// The one way to a database file: creates it, adds tables, opens it, runs
// statements. Never throws: every operation that can fail returns a Status
// (its code a DbError) or, for a query, a record set that is not open, and
// also keeps the failure as a code and a message, read with LastErr and
// cleared with ErrClear.
class AccessDB {
  public:
    AccessDB();
    ~AccessDB();
    AccessDB(const AccessDB&) = delete;
    AccessDB& operator=(const AccessDB&) = delete;

    Status DBCreate(const std::string& path, const TableDef& table);
    Status TBCreate(const std::vector<TableDef>& tables);
    // An empty path opens the file of the Path property.
    Status DBOpen(const std::string& path);
    // Closes the connection, which also rolls back a transaction left open.
    void DBClose();
    // Runs one statement; an empty statement runs the SQL property again. A
    // query that fails gives a record set that is not open.
    [[nodiscard]] std::shared_ptr<zv::RecordSet> Run(const std::string& statement,
                                                     int16_t cursorType);
    // Runs a query and hands each row to `visit` as it comes, as a record set
    // of that row alone, so that a query of any length costs the memory of
    // one row. An exception from `visit` ends the query and reaches the
    // caller; the status tells how the query itself went.
    Status Stream(const std::string& statement,
                  const std::function<void(const zv::RecordSet& row)>& visit);
    // Runs one statement that gives no rows (INSERT, DELETE, CREATE, ...) as
    // Run does, and tells how this statement itself went.
    Status Execute(const std::string& statement);

    // Groups the statements that follow into one transaction on the open
    // connection. A failure keeps the code ADTR-99 with the engine's message.
    Status BeginTrans();
    Status CommitTrans();
    Status RollbackTrans();

    // Bounds what this connection may cost from its next DBOpen on, for a
    // file that may come from anywhere; a statement that goes beyond the
    // limits fails as any failing statement does.
    void LimitCost(const CostLimits& limits) { costLimits_ = limits; }

    const std::string& SQL() const { return sql_; }
    void SetPath(const std::string& path) { path_ = path; }
    const std::string& Path() const { return path_; }
    bool IsOpen() const { return connection_ != nullptr; }
    // The record set of the last Run.
    std::shared_ptr<zv::RecordSet> RecordSet() const { return recordSet_; }

    // Returns the code of the last failure and writes its message; both are
    // empty when none has been recorded since the last ErrClear.
    std::string LastErr(std::string& message) const;
    void ErrClear();

    std::string zVersion(int16_t& major, int16_t& minor, int16_t& revision) const;

  private:
    Status GenConnectString(const std::string& path, bool mustExist, std::string& connect);
    Status Perform(const std::string& statement, std::shared_ptr<zv::RecordSet>& result);
    Status Transact(const char* statement);
    // Keeps the failure for LastErr and gives it back as a status.
    Status SetError(const std::string& code, DbError kind, const std::string& message);

    std::string path_;
    sqlite3* connection_ = nullptr;
    std::shared_ptr<zv::RecordSet> recordSet_;
    std::string sql_;
    std::string errorCode_;
    std::string errorMessage_;
    std::optional<CostLimits> costLimits_;
    int64_t stepsLeft_ = 0;
};

}  // namespace zv
