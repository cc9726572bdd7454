#include "core/db/DatabaseFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/db/Database.h"
#include "core/db/Transaction.h"
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

Status Remove(const std::string& path) {
    if (Files().Unlink(path.c_str()) != 0 && errno != ENOENT)
        return SystemFailure("cannot remove '" + path + "'");
    return {};
}

}  // namespace

Status RecoverDatabase(const std::string& path) {
    if (!HasJournal(path))
        return {};
    // Opening reads the schema, which rolls a hot journal back first; taking
    // the write lock fails while another connection writes.
    Database db;
    Status status = db.open(path, OpenMode::ReadWrite);
    if (status.ok()) {
        Transaction transaction(db);
        status = transaction.begin();
    }
    if (!status.ok())
        return {status.code(), "cannot recover from the journal beside it: " + status.message()};
    return {};
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
