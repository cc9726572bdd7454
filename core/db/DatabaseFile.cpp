#include "core/db/DatabaseFile.h"

#include <sqlite3.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/FileOps.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

constexpr const char* kJournals[] = {"-journal", "-wal", "-shm"};

bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

bool HasJournal(const std::string& path) {
    return Exists(path + "-journal") || Exists(path + "-wal");
}

std::error_code CodeOf(int sqliteCode) {
    switch (sqliteCode & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return FileError::InUse;
        case SQLITE_READONLY:
            return FileError::ReadOnly;
        case SQLITE_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return std::make_error_code(std::errc::permission_denied);
        default:
            return std::make_error_code(std::errc::io_error);
    }
}

Status Remove(const std::string& path) {
    if (Files().Unlink(path.c_str()) != 0 && errno != ENOENT)
        return SystemFailure("cannot remove '" + path + "'");
    return {};
}

}  // namespace

Status RecoverDatabase(const std::string& path) {
    if (!HasJournal(path))
        return {};
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // Taking the write lock rolls a hot journal back first, and fails
        // while another connection writes.
        rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Status status;
    if (rc != SQLITE_OK) {
        status = Status(CodeOf(rc), "cannot recover '" + path + "' from the journal beside it: " +
                                        (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
    }
    sqlite3_close_v2(db);
    return status;
}

Status ClearJournals(const std::string& path) {
    if (!HasJournal(path))
        return {};
    std::error_code ignored;
    if (fs::is_regular_file(path, ignored)) {
        // Whatever else goes wrong, the file there is about to be replaced
        // and what its journal held goes with it.
        const Status recovered = RecoverDatabase(path);
        if (recovered.code() == FileError::InUse)
            return recovered;
    }
    for (const char* journal : kJournals) {
        const std::string name = path + journal;
        if (!Exists(name))
            continue;
        if (Status status = Remove(name); !status.ok())
            return status;
    }
    return {};
}

Status RemoveDatabaseFile(const std::string& path) {
    std::error_code ignored;
    const fs::file_status type = fs::symlink_status(path, ignored);
    if (fs::exists(type) && !fs::is_directory(type)) {
        if (Status status = Remove(path); !status.ok())
            return status;
    }
    return ClearJournals(path);
}

Status PlaceDatabaseFile(const std::string& from, const std::string& to) {
    if (HasJournal(from)) {
        return {std::make_error_code(std::errc::io_error),
                "'" + from + "' was left in the middle of a change"};
    }
    if (Status status = ClearJournals(to); !status.ok())
        return status;
    return AtomicReplace(from, to);
}

}  // namespace zv
