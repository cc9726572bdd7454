#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/db/CostLimits.h"
#include "core/platform/Status.h"

struct sqlite3;

namespace zv {

class Statement;

// How long a database that another connection is writing is waited for
// before it is reported as in use.
constexpr int kBusyTimeoutMs = 2000;

enum class OpenMode {
    ReadOnly,
    ReadWrite,
    // A new file; one that is already there is refused.
    Create,
    // Only looks: journals beside the file are neither rolled back nor
    // removed, and the file is taken as it stands on the disk.
    Inspect,
};

// One connection to one SQLite file. Every failure comes back as a Status
// whose message names the file and carries SQLite's own words; its code tells
// a file in use (FileError::InUse), a read-only one, a full disk and any other
// failure apart. Closing (or destroying) the connection rolls back a
// transaction left open.
class Database {
  public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens `path`, reading its schema once so that a file that is no
    // database, or a cut-off one, fails here rather than at its first use.
    // With limits the connection is bounded as for a file from anywhere.
    Status open(const std::string& path, OpenMode mode,
                const std::optional<CostLimits>& limits = std::nullopt);
    void close();
    bool isOpen() const { return connection_ != nullptr; }
    const std::string& path() const { return path_; }

    // Runs statements fixed in the program's text; values go through
    // prepare and bind.
    Status execute(const std::string& sql);
    Status prepare(std::string_view sql, Statement& statement);

    // A failure of the last call on this connection: "DOING 'FILE': " (or
    // "'FILE': " without `doing`) and SQLite's message with the system's
    // error under it.
    Status failure(std::string_view doing, int resultCode) const;

  private:
    sqlite3* connection_ = nullptr;
    std::string path_;
    int64_t stepsLeft_ = 0;
};

}  // namespace zv
