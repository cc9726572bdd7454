#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/db/RecordSet.h"
#include "core/db/TableDef.h"

struct sqlite3;

namespace zv {

// The one way to a database file: creates it, adds tables, opens it, runs
// statements. Never throws: every operation returns a success flag or an
// unopened record set and keeps the failure as a code and a message, read with
// LastErr and cleared with ErrClear.
class AccessDB {
  public:
    AccessDB();
    ~AccessDB();
    AccessDB(const AccessDB&) = delete;
    AccessDB& operator=(const AccessDB&) = delete;

    bool DBCreate(const std::string& path, const TableDef& table);
    bool TBCreate(const std::vector<TableDef>& tables);
    // An empty path opens the file of the Path property.
    bool DBOpen(const std::string& path);
    bool DBClose();
    // Runs one statement; an empty statement runs the SQL property again.
    std::shared_ptr<zv::RecordSet> Run(const std::string& statement, int16_t cursorType);

    // Groups the statements that follow into one transaction on the open
    // connection. A failure keeps the code ADTR-99 with the engine's message.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();

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
    std::string GenConnectString(const std::string& path, bool mustExist);
    bool Transact(const char* statement);
    void SetError(const std::string& code, const std::string& message);

    std::string path_;
    sqlite3* connection_ = nullptr;
    std::shared_ptr<zv::RecordSet> recordSet_;
    std::string sql_;
    std::string errorCode_;
    std::string errorMessage_;
};

}  // namespace zv
