#include "core/db/Database.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <filesystem>

#include "core/db/Statement.h"
#include "core/platform/FileError.h"

namespace zv {

namespace {

std::error_code CodeOf(int resultCode) {
    switch (resultCode & 0xff) {
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

// SQLite gives names such as ":memory:" a meaning of their own, so a relative
// path goes over as "./path" and always means the file.
std::string FileName(const std::string& path) {
    return std::filesystem::path(path).is_absolute() ? path : "./" + path;
}

// A URI that opens the file without looking at any journal beside it, so
// that looking rolls nothing back and removes nothing.
std::string ImmutableUri(const std::string& path) {
    static const char* const digits = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char c : std::filesystem::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '_' || c == '-') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 15];
        }
    }
    return uri + "?immutable=1";
}

}  // namespace

Database::~Database() {
    close();
}

Status Database::open(const std::string& path, OpenMode mode,
                      const std::optional<CostLimits>& limits) {
    close();
    path_ = path;
    if (path.empty())
        return {std::make_error_code(std::errc::invalid_argument), "an empty path names no file"};
    std::error_code ignored;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
    if (mode == OpenMode::Create && exists)
        return {std::make_error_code(std::errc::file_exists), "'" + path + "' is already there"};
    if (mode != OpenMode::Create && !std::filesystem::is_regular_file(path, ignored))
        return {std::make_error_code(std::errc::no_such_file_or_directory),
                "'" + path + "' is no file"};

    int flags = 0;
    std::string name = FileName(path);
    switch (mode) {
        case OpenMode::ReadOnly:
            flags = SQLITE_OPEN_READONLY;
            break;
        case OpenMode::ReadWrite:
            flags = SQLITE_OPEN_READWRITE;
            break;
        case OpenMode::Create:
            flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
        case OpenMode::Inspect:
            flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
            name = ImmutableUri(path);
            break;
    }
    int rc = sqlite3_open_v2(name.c_str(), &connection_, flags, nullptr);
    if (connection_ == nullptr)
        return {std::make_error_code(std::errc::not_enough_memory),
                "cannot open '" + path + "': out of memory"};
    if (rc == SQLITE_OK && limits)
        ApplyCostLimits(connection_, *limits, stepsLeft_);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(connection_, kBusyTimeoutMs);
        rc = sqlite3_exec(connection_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
    }
    if (rc != SQLITE_OK) {
        Status failed = failure("cannot open", rc);
        close();
        // A file made here and left unusable is no one's.
        if (mode == OpenMode::Create)
            std::filesystem::remove(path, ignored);
        return failed;
    }
    return {};
}

void Database::close() {
    sqlite3_close_v2(connection_);
    connection_ = nullptr;
}

Status Database::execute(const std::string& sql) {
    if (connection_ == nullptr)
        return {std::make_error_code(std::errc::bad_file_descriptor),
                "'" + path_ + "' is not open"};
    const int rc = sqlite3_exec(connection_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return failure({}, rc);
    return {};
}

Status Database::prepare(std::string_view sql, Statement& statement) {
    sqlite3_finalize(statement.statement_);
    statement.statement_ = nullptr;
    statement.database_ = this;
    if (connection_ == nullptr)
        return {std::make_error_code(std::errc::bad_file_descriptor),
                "'" + path_ + "' is not open"};
    const int rc = sqlite3_prepare_v2(connection_, sql.data(), static_cast<int>(sql.size()),
                                      &statement.statement_, nullptr);
    if (rc != SQLITE_OK)
        return failure({}, rc);
    return {};
}

Status Database::failure(std::string_view doing, int resultCode) const {
    std::string text = connection_ ? sqlite3_errmsg(connection_) : sqlite3_errstr(resultCode);
    // "disk I/O error" alone does not tell a full disk from a broken one.
    int system = connection_ ? sqlite3_system_errno(connection_) : 0;
    if (system == 0 && connection_ != nullptr &&
        sqlite3_file_control(connection_, "main", SQLITE_FCNTL_LAST_ERRNO, &system) != SQLITE_OK)
        system = 0;
    if (system != 0)
        text += " (" + std::string(std::strerror(system)) + ")";
    return {CodeOf(resultCode),
            (doing.empty() ? "" : std::string(doing) + " ") + "'" + path_ + "': " + text};
}

}  // namespace zv
